#include "ui/appsettings.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QStandardPaths>
#include <QVariantMap>

#include <algorithm>

namespace {

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

} // namespace

AppSettings::AppSettings(QSettings &store)
    : m_store(store)
{
}

int AppSettings::timerSeconds() const
{
    const int seconds = m_store.contains(key("timer/seconds"))
        ? m_store.value(key("timer/seconds")).toInt()
        : m_store.value(key("timer/minutes"), 10).toInt() * 60;
    return std::clamp(seconds, 0, kMaxTimerSeconds);
}

void AppSettings::setTimerSeconds(int seconds)
{
    m_store.setValue(key("timer/seconds"), std::clamp(seconds, 0, kMaxTimerSeconds));
}

bool AppSettings::timerAutoStart() const
{
    return m_store.value(key("timer/autoStart"), false).toBool();
}

void AppSettings::setTimerAutoStart(bool on)
{
    m_store.setValue(key("timer/autoStart"), on);
}

QStringList AppSettings::playlistFiles() const
{
    return m_store.value(key("playlist/files")).toStringList();
}

void AppSettings::setPlaylistFiles(const QStringList &files)
{
    m_store.setValue(key("playlist/files"), files);
}

QMap<QString, int> AppSettings::playlistTimes() const
{
    QMap<QString, int> minutes;
    const QVariantMap stored = m_store.value(key("playlist/times")).toMap();
    for (auto it = stored.constBegin(); it != stored.constEnd(); ++it) {
        const int value = it.value().toInt();
        if (value > 0)
            minutes.insert(it.key(), std::min(value, kMaxPlaylistMinutes));
    }
    return minutes;
}

void AppSettings::setPlaylistTimes(const QMap<QString, int> &minutesByPath)
{
    QVariantMap stored;
    for (auto it = minutesByPath.constBegin(); it != minutesByPath.constEnd(); ++it)
        stored.insert(it.key(), it.value());
    m_store.setValue(key("playlist/times"), stored);
}

QString AppSettings::playlistDir() const
{
    return m_store
        .value(key("playlist/dir"), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
        .toString();
}

void AppSettings::setPlaylistDir(const QString &dir)
{
    m_store.setValue(key("playlist/dir"), dir);
}

QByteArray AppSettings::windowGeometry() const
{
    return m_store.value(key("window/geometry")).toByteArray();
}

void AppSettings::setWindowGeometry(const QByteArray &state)
{
    m_store.setValue(key("window/geometry"), state);
}

QByteArray AppSettings::presenterHSplit() const
{
    return m_store.value(key("presenter/hsplit")).toByteArray();
}

void AppSettings::setPresenterHSplit(const QByteArray &state)
{
    m_store.setValue(key("presenter/hsplit"), state);
}

QByteArray AppSettings::presenterVSplit() const
{
    return m_store.value(key("presenter/vsplit")).toByteArray();
}

void AppSettings::setPresenterVSplit(const QByteArray &state)
{
    m_store.setValue(key("presenter/vsplit"), state);
}

QByteArray AppSettings::presenterRSplit() const
{
    return m_store.value(key("presenter/rsplit")).toByteArray();
}

void AppSettings::setPresenterRSplit(const QByteArray &state)
{
    m_store.setValue(key("presenter/rsplit"), state);
}

bool AppSettings::pagesCollapsed() const
{
    return m_store.value(key("presenter/pagesCollapsed"), false).toBool();
}

void AppSettings::setPagesCollapsed(bool collapsed)
{
    m_store.setValue(key("presenter/pagesCollapsed"), collapsed);
}

bool AppSettings::readerScroll() const
{
    return m_store.value(key("reader/scroll"), false).toBool();
}

void AppSettings::setReaderScroll(bool on)
{
    m_store.setValue(key("reader/scroll"), on);
}

QString AppSettings::outputDisplay() const
{
    return m_store.value(key("output/display"), QString()).toString();
}

void AppSettings::setOutputDisplay(const QString &identity)
{
    m_store.setValue(key("output/display"), identity);
}

bool AppSettings::outputFitWidth() const
{
    return m_store.value(key("output/fitWidth"), false).toBool();
}

void AppSettings::setOutputFitWidth(bool fitWidth)
{
    m_store.setValue(key("output/fitWidth"), fitWidth);
}

int AppSettings::transitionEffect() const
{
    return std::clamp(m_store.value(key("transition/effect"), 1).toInt(), 0, kEffectCount - 1);
}

int AppSettings::transitionMs() const
{
    return std::clamp(m_store.value(key("transition/ms"), 400).toInt(), 0, kMaxTransitionMs);
}

void AppSettings::setTransition(int effect, int ms)
{
    m_store.setValue(key("transition/effect"), effect);
    m_store.setValue(key("transition/ms"), ms);
}

QStringList AppSettings::recent() const
{
    QStringList paths = m_store.value(key("recent")).toStringList();
    paths.removeDuplicates();
    if (paths.size() > kMaxRecent)
        paths.resize(kMaxRecent);
    return paths;
}

void AppSettings::setRecent(const QStringList &paths)
{
    m_store.setValue(key("recent"), paths);
}

QStringList AppSettings::pushRecent(const QString &path)
{
    QStringList paths = recent();
    paths.removeAll(path);
    paths.prepend(path);
    if (paths.size() > kMaxRecent)
        paths.resize(kMaxRecent);
    setRecent(paths);
    return paths;
}

QString AppSettings::positionKey(const QString &path)
{
    const QByteArray digest = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("positions/") + QString::fromLatin1(digest.toHex());
}

int AppSettings::position(const QString &path) const
{
    return std::max(0, m_store.value(positionKey(path), 0).toInt());
}

void AppSettings::setPosition(const QString &path, int page)
{
    m_store.setValue(positionKey(path), std::max(0, page));
}

bool AppSettings::syncAndCheck()
{
    m_store.sync();
    return m_store.status() == QSettings::NoError;
}
