#include "ui/updatecheck.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QVersionNumber>
#include <QWidget>

namespace {

Q_LOGGING_CATEGORY(lcUpdate, "olvanti.ui")

const char *const kVersion = "0.7";
const char *const kDefaultVersionAddress = "https://olvanti.example/vivuderidazi/version.txt";

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

const QString &downloadTemplate()
{
    static const QString address = QStringLiteral("https://olvanti.example/vivuderidazi/OlvantiVIVuderidazi-%1.exe");
    return address;
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
                                                             : QString::fromLatin1(kDefaultVersionAddress);
}

bool UpdateCheck::check(bool automatic)
{
    const QString address = versionFileAddress();
    // Switching the automatic check off must not cost a request; the manual one still tries
    // and then reports the unusable address.
    if (automatic && address == QLatin1String("off"))
        return false;

    auto *manager = new QNetworkAccessManager(m_window ? static_cast<QObject *>(m_window.data()) : this);
    QNetworkRequest request{QUrl(address)};
    request.setTransferTimeout(m_timeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, QString(QStringLiteral("OlvantiVIVuderidazi/") + currentVersion()));
    QNetworkReply *reply = manager->get(request);
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, manager, automatic] { handleReply(reply, manager, automatic); });
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
    return !versionNumber(version).isNull();
}

bool UpdateCheck::isNewer(const QString &latest, const QString &current)
{
    const QVersionNumber newest = versionNumber(latest);
    if (newest.isNull())
        return false;
    // Trailing zeros carry no meaning here: 0.7.0 is the release 0.7, not a later one.
    return QVersionNumber::compare(newest.normalized(), versionNumber(current).normalized()) > 0;
}

QUrl UpdateCheck::downloadUrl(const VersionFile &file)
{
    if (!file.downloadText.isEmpty()) {
        const QUrl given = QUrl::fromUserInput(file.downloadText);
        if (given.isValid())
            return given;
    }
    return QUrl(downloadTemplate().arg(withoutPrefix(file.version)));
}

void UpdateCheck::handleReply(QNetworkReply *reply, QNetworkAccessManager *manager, bool automatic)
{
    const bool networkError = reply->error() != QNetworkReply::NoError;
    // An aborted reply (time-out) has no body left to read.
    const VersionFile file = networkError ? VersionFile() : parseVersionFile(reply->readAll());
    const bool good = !networkError && isValidVersion(file.version);
    const QString detail = networkError ? reply->errorString() : tr("unexpected content of the version file");
    reply->deleteLater();
    manager->deleteLater();

    const bool newer = good && isNewer(file.version, currentVersion());
    if (!good)
        qCInfo(lcUpdate).noquote() << "Update check failed:" << detail;
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
    QPushButton *download = box->addButton(tr("Download v%1").arg(withoutPrefix(file.version)),
                                           QMessageBox::AcceptRole);
    download->setObjectName(QStringLiteral("downloadUpdate"));
    box->addButton(tr("Later"), QMessageBox::RejectRole);
    const QUrl url = downloadUrl(file);
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
    box->addButton(QMessageBox::Ok);
    box->open();
}
