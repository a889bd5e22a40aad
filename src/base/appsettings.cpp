#include "base/appsettings.h"

#include "base/baselog.h"
#include "base/settingsfilecheck.h"
#include "base/settingsguard.h"

#include <QCryptographicHash>
#include <QSettings>
#include <QStandardPaths>
#include <QVariantMap>

#include <algorithm>
#include <limits>
#include <optional>

Q_LOGGING_CATEGORY(lcSettings, "olvanti.settings")

namespace {

QString key(const char *name)
{
    return QString::fromLatin1(name);
}

// A stored whole number; none when the value is missing or not a number at all. Callers
// clamp; 64 bits leave room to multiply without overflow.
std::optional<qint64> number(const QVariant &value)
{
    bool ok = false;
    const qint64 result = value.toLongLong(&ok);
    return ok ? std::optional(result) : std::nullopt;
}

// A stored switch, or `fallback` when the value is missing or reads as neither state.
bool flag(const QVariant &value, bool fallback)
{
    const QString text = value.toString().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return fallback;
}

int clamped(qint64 value, int low, int high)
{
    return int(std::clamp(value, qint64(low), qint64(high)));
}

// A stored map of paths to numbers: entries of 0 or less, or unreadable, are dropped.
QMap<QString, int> positiveNumbers(const QVariant &stored, int maximum)
{
    QMap<QString, int> numbers;
    const QVariantMap map = stored.toMap();
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qint64 value = number(it.value()).value_or(0);
        if (value > 0)
            numbers.insert(it.key(), clamped(value, 1, maximum));
    }
    return numbers;
}

QVariantMap toVariantMap(const QMap<QString, int> &numbers)
{
    QVariantMap map;
    for (auto it = numbers.constBegin(); it != numbers.constEnd(); ++it)
        map.insert(map.cend(), it.key(), it.value()); // in key order: no search
    return map;
}

} // namespace

AppSettings::AppSettings(QSettings &store)
    : m_store(store)
    , m_guard(SettingsGuard::of(store))
{
    // Values its reader would take apart unsafely leave the file before anything is read.
    QString error;
    if (const QStringList removed = SettingsFileCheck::removeUnsafeValues(m_store.fileName(), &error); !removed.isEmpty()) {
        qCWarning(lcSettings).noquote() << "The settings file" << m_store.fileName() << "held damaged values, now taken out"
                                        << "(the file as it was is kept with \".damaged\" appended):" << removed.join(u", ");
        m_store.sync(); // reads the file again
    } else if (!error.isEmpty()) {
        qCWarning(lcSettings).noquote() << "The settings file" << m_store.fileName()
                                        << "holds damaged values that could not be taken out:" << error;
    }
    // The store reads what it can of a damaged file and writes a clean one at the next sync.
    if (m_store.status() == QSettings::FormatError)
        qCWarning(lcSettings).noquote() << "The settings file" << m_store.fileName()
                                        << "has a format error; unreadable preferences take their defaults";
}

AppSettings::~AppSettings()
{
    if (m_guard)
        m_guard->finish();
}

int AppSettings::timerSeconds() const
{
    // An unreadable duration counts as absent, so the older minutes key still serves.
    if (const std::optional<qint64> seconds = number(m_store.value(key("timer/seconds"))))
        return clamped(*seconds, 0, Limits::MaxTimerSeconds);
    const qint64 minutes = number(m_store.value(key("timer/minutes"))).value_or(10);
    return clamped(std::clamp(minutes, qint64(0), qint64(Limits::MaxTimerSeconds)) * 60, 0, Limits::MaxTimerSeconds);
}

void AppSettings::setTimerSeconds(int seconds)
{
    m_store.setValue(key("timer/seconds"), std::clamp(seconds, 0, Limits::MaxTimerSeconds));
}

bool AppSettings::timerAutoStart() const
{
    return flag(m_store.value(key("timer/autoStart")), false);
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
    return positiveNumbers(m_store.value(key("playlist/times")), Limits::MaxEntryMinutes);
}

void AppSettings::setPlaylistTimes(const QMap<QString, int> &minutesByPath)
{
    m_store.setValue(key("playlist/times"), toVariantMap(minutesByPath));
}

QMap<QString, int> AppSettings::playlistEndPages() const
{
    return positiveNumbers(m_store.value(key("playlist/endPages")), std::numeric_limits<int>::max());
}

void AppSettings::setPlaylistEndPages(const QMap<QString, int> &endPages)
{
    m_store.setValue(key("playlist/endPages"), toVariantMap(endPages));
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
    return flag(m_store.value(key("presenter/pagesCollapsed")), false);
}

void AppSettings::setPagesCollapsed(bool collapsed)
{
    m_store.setValue(key("presenter/pagesCollapsed"), collapsed);
}

bool AppSettings::readerScroll() const
{
    return flag(m_store.value(key("reader/scroll")), false);
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
    return flag(m_store.value(key("output/fitWidth")), false);
}

void AppSettings::setOutputFitWidth(bool fitWidth)
{
    m_store.setValue(key("output/fitWidth"), fitWidth);
}

bool AppSettings::outputWindowed() const
{
    return flag(m_store.value(key("output/windowed")), false);
}

void AppSettings::setOutputWindowed(bool windowed)
{
    m_store.setValue(key("output/windowed"), windowed);
}

int AppSettings::outputWindowSize() const
{
    return clamped(number(m_store.value(key("output/windowSize"))).value_or(0), 0, Limits::OutputWindowSizes - 1);
}

void AppSettings::setOutputWindowSize(int preset)
{
    m_store.setValue(key("output/windowSize"), std::clamp(preset, 0, Limits::OutputWindowSizes - 1));
}

int AppSettings::transitionEffect() const
{
    return clamped(number(m_store.value(key("transition/effect"))).value_or(1), 0, Limits::TransitionCount - 1);
}

int AppSettings::transitionMs() const
{
    return clamped(number(m_store.value(key("transition/ms"))).value_or(400), 0, Limits::MaxTransitionMs);
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
    if (paths.size() > Limits::MaxRecent)
        paths.resize(Limits::MaxRecent);
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
    if (paths.size() > Limits::MaxRecent)
        paths.resize(Limits::MaxRecent);
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
    return clamped(number(m_store.value(positionKey(path))).value_or(0), 0, std::numeric_limits<int>::max());
}

void AppSettings::setPosition(const QString &path, int page)
{
    m_store.setValue(positionKey(path), std::max(0, page));
}

bool AppSettings::inputIgnoreText() const
{
    return flag(m_store.value(key("input/ignoreText")), true);
}

void AppSettings::setInputIgnoreText(bool ignore)
{
    m_store.setValue(key("input/ignoreText"), ignore);
}

int AppSettings::inputDebounceMs() const
{
    return clamped(number(m_store.value(key("input/debounceMs"))).value_or(140), 0, Limits::MaxDebounceMs);
}

void AppSettings::setInputDebounceMs(int ms)
{
    m_store.setValue(key("input/debounceMs"), std::clamp(ms, 0, Limits::MaxDebounceMs));
}

std::optional<QStringList> AppSettings::inputKeys(int action) const
{
    const QVariant value = m_store.value(QStringLiteral("input/keys/%1").arg(action));
    if (!value.isValid())
        return std::nullopt;
    // One stored entry may come back as a single string rather than a list.
    if (value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList)
        return value.toStringList();
    return value.canConvert<QString>() ? QStringList{value.toString()} : QStringList();
}

void AppSettings::setInputKeys(int action, const QStringList &keys)
{
    // An empty list is written too, so an unassigned action stays unassigned.
    m_store.setValue(QStringLiteral("input/keys/%1").arg(action), keys);
}

QString AppSettings::syncAndCheck()
{
    return m_guard ? m_guard->sync() : QString();
}
