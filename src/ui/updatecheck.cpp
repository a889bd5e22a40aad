#include "ui/updatecheck.h"

#include "ui/plaintextboxes.h"
#include "ui/uilog.h"
#include "versionurl.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QVersionNumber>
#include <QWidget>

#include <memory>

namespace {

const char *const kVersion = "0.7";
// Set at configure time; empty means the check is not configured.
const char *const kConfiguredAddress = ConfiguredVersionUrl;

#if defined(Q_OS_WIN)
const char *const kInstallerSuffix = ".exe";
#elif defined(Q_OS_MACOS)
const char *const kInstallerSuffix = ".dmg";
#else
const char *const kInstallerSuffix = ".tar.gz";
#endif

QString withoutPrefix(QString version)
{
    version = version.trimmed();
    if (version.startsWith(QLatin1Char('v'), Qt::CaseInsensitive))
        version.remove(0, 1);
    return version;
}

QVersionNumber versionNumber(const QString &version)
{
    return QVersionNumber::fromString(withoutPrefix(version));
}

} // namespace

UpdateCheck::UpdateCheck(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

UpdateCheck::~UpdateCheck() = default;

QString UpdateCheck::currentVersion()
{
    return QString::fromLatin1(kVersion);
}

QString UpdateCheck::versionFileAddress()
{
    return qEnvironmentVariableIsSet("OLVANTI_VERSION_URL") ? qEnvironmentVariable("OLVANTI_VERSION_URL")
                                                             : QString::fromUtf8(kConfiguredAddress);
}

bool UpdateCheck::isConfigured()
{
    return !versionFileAddress().isEmpty();
}

QString UpdateCheck::menuText()
{
    return isConfigured() ? tr("Check for new version...") : tr("Check for new version (not configured)");
}

bool UpdateCheck::check(bool automatic)
{
    const QString address = versionFileAddress();
    // Switching the automatic check off must not cost a request; the manual one still tries
    // and then reports the unusable address. Without an address there is nobody to ask.
    if (address.isEmpty() || (automatic && address == QLatin1String("off")))
        return false;

    auto *manager = new QNetworkAccessManager(m_window ? static_cast<QObject *>(m_window.data()) : this);
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(m_timeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString(QStringLiteral("OlvantiVIVuderidazi/") + currentVersion()));
    // Never more than a version file's worth in memory, whatever the server sends.
    QNetworkReply *reply = manager->get(request);
    reply->setReadBufferSize(MaxBodyBytes + 1);
    auto stop = std::make_shared<Stop>(Stop::None);
    const auto stopWith = [reply, stop](Stop why) {
        if (*stop == Stop::None && reply->isRunning()) {
            *stop = why;
            reply->abort();
        }
    };
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, stopWith] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > MaxBodyBytes)
            stopWith(Stop::TooLarge);
    });
    connect(reply, &QNetworkReply::readyRead, reply, [reply, stopWith] {
        if (reply->bytesAvailable() > MaxBodyBytes)
            stopWith(Stop::TooLarge);
    });
    // The transfer limit restarts with every byte, so a server dripping its answer would hold
    // the check open for good.
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, [stopWith] { stopWith(Stop::Deadline); });
    deadline->start(m_deadlineMs);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, manager, automatic, stop] { handleReply(reply, manager, automatic, *stop); });
    return true;
}

UpdateCheck::VersionFile UpdateCheck::parseVersionFile(const QByteArray &body)
{
    QStringList lines;
    for (const QString &line : QString::fromUtf8(body).trimmed().split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty())
            lines.append(trimmed);
    }
    VersionFile file;
    if (!lines.isEmpty())
        file.version = lines.at(0);
    if (lines.size() >= 2)
        file.downloadText = lines.at(1);
    return file;
}

bool UpdateCheck::isValidVersion(const QString &version)
{
    // Only a bare dotted number: whatever else a server sends is not a version.
    static const QRegularExpression plain(QStringLiteral("^[vV]?[0-9]+(\\.[0-9]+)*$"));
    return plain.match(version).hasMatch();
}

bool UpdateCheck::isNewer(const QString &latest, const QString &current)
{
    // "1.2.3-beta" would read as 1.2.3: only a plain version can be newer.
    const QVersionNumber newest = isValidVersion(latest) ? versionNumber(latest) : QVersionNumber();
    if (newest.isNull())
        return false;
    // Trailing zeros carry no meaning here: 0.7.0 is the release 0.7, not a later one.
    return QVersionNumber::compare(newest.normalized(), versionNumber(current).normalized()) > 0;
}

QUrl UpdateCheck::downloadUrl(const VersionFile &file, const QUrl &versionFile)
{
    // The address goes to the desktop's handler, which would also run local files or other
    // programs' schemes: only a complete web address is taken.
    const QUrl given(file.downloadText, QUrl::StrictMode);
    const QString scheme = given.scheme();
    // A name and password in the address would go to whatever server it names.
    if (given.isValid() && (scheme == QLatin1String("https") || scheme == QLatin1String("http"))
        && !given.host().isEmpty() && given.userInfo().isEmpty())
        return given;
    QUrl installer = versionFile.adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo);
    installer.setPath(QStringLiteral("/vivuderidazi/OlvantiVIVuderidazi-") + withoutPrefix(file.version)
                      + QLatin1String(kInstallerSuffix));
    return installer;
}

void UpdateCheck::handleReply(QNetworkReply *reply, QNetworkAccessManager *manager, bool automatic, Stop stop)
{
    const bool networkError = stop == Stop::None && reply->error() != QNetworkReply::NoError;
    // An aborted reply (time-out) has no body left to read; a stopped one is not read either.
    const QByteArray body = stop == Stop::None && !networkError ? reply->read(MaxBodyBytes + 1) : QByteArray();
    const bool tooLarge = stop == Stop::TooLarge || body.size() > MaxBodyBytes;
    const VersionFile file = networkError || stop != Stop::None || tooLarge ? VersionFile() : parseVersionFile(body);
    const bool good = !networkError && isValidVersion(file.version);
    QString detail = tr("unexpected content of the version file");
    if (networkError)
        detail = reply->errorString();
    else if (stop == Stop::Deadline)
        detail = tr("no complete answer within %1 s").arg(m_deadlineMs / 1000.0);
    reply->deleteLater();
    manager->deleteLater();

    const bool newer = good && isNewer(file.version, currentVersion());
    if (!good)
        qCInfo(lcUi).noquote() << "Update check failed:" << detail;
    const bool show = !automatic || newer;
    if (show && m_window) {
        if (newer)
            showNewer(file);
        else if (good)
            showResult(false, tr("You have the latest version (v%1).").arg(currentVersion()), QString());
        else
            showResult(true,
                       tr("The latest version could not be determined. Check your internet connection and try again."),
                       detail);
    }
    Q_EMIT finished(show && m_window);
}

void UpdateCheck::showNewer(const VersionFile &file)
{
    auto *box = new QMessageBox(m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(tr("Check for new version"));
    box->setIcon(QMessageBox::Information);
    box->setText(tr("A new version %1 is available (you have v%2).").arg(file.version, currentVersion()));
    PlainTextBoxes::apply(box);
    QPushButton *download = box->addButton(tr("Download v%1").arg(withoutPrefix(file.version)),
                                           QMessageBox::AcceptRole);
    download->setObjectName(QStringLiteral("downloadUpdate"));
    box->addButton(tr("Later"), QMessageBox::RejectRole);
    const QUrl url = downloadUrl(file, QUrl(versionFileAddress()));
    connect(download, &QPushButton::clicked, box, [url] { QDesktopServices::openUrl(url); });
    box->open();
}

void UpdateCheck::showResult(bool warning, const QString &text, const QString &detail)
{
    auto *box = new QMessageBox(m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(tr("Check for new version"));
    box->setIcon(warning ? QMessageBox::Warning : QMessageBox::Information);
    box->setText(text);
    box->setInformativeText(detail);
    PlainTextBoxes::apply(box);
    box->addButton(QMessageBox::Ok);
    box->open();
}
