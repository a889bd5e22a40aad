#include "timer/countdown.h"

#include "timer/timerlog.h"

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
{
    computeDisplay();
}

Countdown::~Countdown() = default;

void Countdown::setClock(Clock clock)
{
    m_clock = clock ? std::move(clock) : Clock(steadyMilliseconds);
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
    m_duration = qint64(clamped) * 1000;
    qCDebug(lcTimer) << "presentation time" << previous << "->" << clamped << "s";
    if (!m_applyingCountdown)
        Q_EMIT durationChanged(clamped);
    tick();
}

void Countdown::toggleTimer()
{
    if (m_running)
        m_accumulated += now() - m_segmentStart;
    else
        m_segmentStart = now();
    m_running = !m_running;
    tick();
}

void Countdown::resetTimer()
{
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
