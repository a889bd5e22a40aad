#include "timer/countdown.h"

#include "timer/timerlog.h"

#include <QDateTime>

#include <algorithm>
#include <chrono>

Q_LOGGING_CATEGORY(lcTimer, "olvanti.timer")

namespace {

qint64 steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int clampSeconds(qint64 seconds)
{
    return int(std::clamp<qint64>(seconds, 0, Limits::MaxTimerSeconds));
}

// Counting down rounds up (the full duration stays for the whole first second),
// overtime counts whole seconds already passed.
int secondsShown(qint64 remaining)
{
    return int(remaining > 0 ? (remaining + 999) / 1000 : -remaining / 1000);
}

} // namespace

Countdown::Countdown(QObject *parent)
    : QObject(parent)
    , m_clock(steadyMilliseconds)
    , m_wallClock(&QDateTime::currentMSecsSinceEpoch)
{
    computeDisplay();
}

Countdown::~Countdown() = default;

void Countdown::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(steadyMilliseconds);
}

void Countdown::setWallClock(WallClock clock)
{
    m_wallClock = clock ? std::move(clock) : WallClock(&QDateTime::currentMSecsSinceEpoch);
}

void Countdown::restoreSeconds(int seconds)
{
    m_duration = qint64(clampSeconds(seconds)) * 1000;
    tick();
}

qint64 Countdown::now() const
{
    return m_clock();
}

qint64 Countdown::elapsed() const
{
    return m_accumulated + (m_running ? now() - m_segmentStart : 0);
}

qint64 Countdown::remaining() const
{
    // To a time of day, what is left is the time until then; a pause does not move the end.
    if (m_endAt > 0)
        return m_endAt - m_wallClock();
    return m_duration - elapsed();
}

bool Countdown::isActive() const
{
    return m_running || m_accumulated > 0;
}

bool Countdown::isOvertime() const
{
    return isActive() && remaining() < 1;
}

int Countdown::shownSeconds() const
{
    return secondsShown(remaining());
}

QString Countdown::startText() const
{
    return m_startShowsPause ? tr("Pause") : tr("Start");
}

QString Countdown::formatClock(int seconds)
{
    seconds = std::max(seconds, 0);
    const int hours = seconds / 3600;
    const int minutes = (seconds / 60) % 60;
    const int secs = seconds % 60;
    const QChar zero(u'0');
    if (hours > 0)
        return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes, 2, 10, zero).arg(secs, 2, 10, zero);
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, zero).arg(secs, 2, 10, zero);
}

void Countdown::setTimerSeconds(int seconds)
{
    const int clamped = clampSeconds(seconds);
    const int previous = durationSeconds();
    if (clamped == previous)
        return;
    if (!m_applyingCountdown)
        Q_EMIT durationAboutToChange(previous);
    // Counting to a time of day, a minute more moves the end by a minute.
    if (m_endAt > 0 && !m_applyingCountdown)
        m_endAt += qint64(clamped - previous) * 1000;
    m_duration = qint64(clamped) * 1000;
    qCDebug(lcTimer) << "presentation time" << previous << "->" << clamped << "s";
    if (!m_applyingCountdown)
        Q_EMIT durationChanged(clamped);
    tick();
}

void Countdown::toggleTimer()
{
    if (m_endAt > 0 && m_running) {
        // A pause holds what is left; the time of day no longer applies.
        m_accumulated = m_duration - remaining();
        m_endAt = 0;
        m_running = false;
        tick();
        return;
    }
    if (m_running)
        m_accumulated += now() - m_segmentStart;
    else
        m_segmentStart = now();
    m_running = !m_running;
    tick();
}

void Countdown::resetTimer()
{
    m_endAt = 0;
    m_running = false;
    m_accumulated = 0;
    tick();
}

void Countdown::applyPreset(int minutes)
{
    m_running = false;
    m_accumulated = 0;
    tick();
    setTimerSeconds(clampSeconds(qint64(minutes) * 60));
}

void Countdown::startCountdown(int minutes)
{
    if (minutes < 1)
        return;
    // A playlist file's countdown never exceeds the longest duration the timer can hold.
    const int seconds = clampSeconds(qint64(minutes) * 60);
    m_endAt = 0;
    m_applyingCountdown = true;
    setTimerSeconds(seconds);
    m_applyingCountdown = false;
    m_duration = qint64(seconds) * 1000;
    m_accumulated = 0;
    m_segmentStart = now();
    m_running = true;
    qCDebug(lcTimer) << "file countdown started:" << minutes << "min";
    tick();
}

void Countdown::setDurationQuietly(qint64 duration)
{
    m_applyingCountdown = true;
    setTimerSeconds(int(duration / 1000));
    m_applyingCountdown = false;
    m_duration = std::clamp<qint64>(duration, 0, qint64(Limits::MaxTimerSeconds) * 1000);
}

void Countdown::prepareCountdown(int minutes)
{
    if (minutes < 1)
        return;
    m_endAt = 0;
    m_running = false;
    m_accumulated = 0;
    setDurationQuietly(qint64(clampSeconds(qint64(minutes) * 60)) * 1000);
    tick();
}

void Countdown::restoreState(const State &state)
{
    m_endAt = 0;
    setDurationQuietly(state.duration);
    m_accumulated = state.elapsed;
    m_running = state.running;
    m_segmentStart = now();
    tick();
}

void Countdown::runUntil(qint64 endMs)
{
    const qint64 left = endMs - m_wallClock();
    if (left <= 0)
        return;
    setDurationQuietly(std::min<qint64>(left, qint64(Limits::MaxTimerSeconds) * 1000));
    m_endAt = endMs;
    m_accumulated = 0;
    m_segmentStart = now();
    m_running = true;
    tick();
}

void Countdown::stopAndReset()
{
    // Opening a document starts its time from the full duration, like a reset.
    resetTimer();
}

void Countdown::adjust(int deltaSeconds)
{
    setTimerSeconds(clampSeconds(qint64(durationSeconds()) + deltaSeconds));
}

void Countdown::tick()
{
    const QString text = m_text;
    const QString warning = m_warning;
    const bool overtime = m_overtimeShown;
    const bool pause = m_startShowsPause;
    computeDisplay();
    if (text != m_text || warning != m_warning || overtime != m_overtimeShown || pause != m_startShowsPause)
        Q_EMIT displayChanged();
}

void Countdown::computeDisplay()
{
    const qint64 left = remaining();
    const bool active = isActive();
    const bool overtime = active && left < 1;
    const int shown = secondsShown(left);

    m_text = formatClock(shown);
    if (left <= 0 && shown >= 1)
        m_text.prepend(u'-');
    m_overtimeShown = overtime;
    m_startShowsPause = m_running;

    m_warning.clear();
    if (active && !overtime) {
        if (shown <= 30)
            m_warning = QStringLiteral("30");
        else if (shown <= 60)
            m_warning = QStringLiteral("60");
        else if (shown <= 90)
            m_warning = QStringLiteral("90");
    }
}
