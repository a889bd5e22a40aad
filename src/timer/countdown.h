#pragma once

#include "base/limits.h"

#include <QObject>
#include <QString>

#include <functional>

// The presentation countdown, without widgets. It counts down from a duration, keeps
// counting into overtime and computes what the timer bar shows; `displayChanged` tells
// the bar when any of that changed. Time comes from an injectable monotonic clock.
class Countdown final : public QObject
{
    Q_OBJECT

public:
    using Clock = std::function<qint64()>; // monotonic milliseconds
    using WallClock = std::function<qint64()>; // milliseconds since the epoch

    // What a talk's countdown was when the show left it, to resume it there.
    struct State
    {
        qint64 duration = DefaultDuration;
        qint64 elapsed = 0;
        bool running = false;
    };

    static constexpr qint64 DefaultDuration = 600000;

    explicit Countdown(QObject *parent = nullptr);
    ~Countdown() override;

    void setClock(Clock clock);
    void setWallClock(WallClock clock);

    // Start-up value from the settings: clamped, no undo step, nothing written.
    void restoreSeconds(int seconds);

    qint64 duration() const { return m_duration; }
    int durationSeconds() const { return int(m_duration / 1000); }
    qint64 accumulated() const { return m_accumulated; }
    bool isRunning() const { return m_running; }
    bool isApplyingCountdown() const { return m_applyingCountdown; }

    qint64 elapsed() const;
    qint64 remaining() const;
    bool isActive() const;
    bool isOvertime() const;
    int shownSeconds() const;

    // What the last tick computed.
    QString text() const { return m_text; }
    QString warning() const { return m_warning; }
    bool overtimeShown() const { return m_overtimeShown; }
    QString startText() const;

    static QString formatClock(int seconds);

    void setTimerSeconds(int seconds);
    void toggleTimer();
    void resetTimer();
    void applyPreset(int minutes);
    void startCountdown(int minutes);
    void stopAndReset();
    void adjust(int deltaSeconds);
    // A talk's own countdown set but not started, before the show begins.
    void prepareCountdown(int minutes);
    State state() const { return {m_duration, elapsed(), m_running}; }
    // Back to a state taken earlier: no undo step, nothing written.
    void restoreState(const State &state);
    // Counts down to a time of day (milliseconds since the epoch, within the day to come):
    // what it shows is always the time left until then, whatever the start delay.
    void runUntil(qint64 endMs);
    bool runsToTimeOfDay() const { return m_endAt > 0; }
    qint64 endAt() const { return m_endAt; }
    void tick();

Q_SIGNALS:
    void displayChanged();
    // The operator is about to change the duration, or has changed it (a file's countdown
    // being applied says neither: it is no step to undo and no preference to keep).
    void durationAboutToChange(int previousSeconds);
    void durationChanged(int seconds);

private:
    qint64 now() const;
    // Applies a duration set by the show, not by the operator: no undo step, nothing written.
    void setDurationQuietly(qint64 duration);
    void computeDisplay();

    Clock m_clock;
    WallClock m_wallClock;
    qint64 m_endAt = 0;

    qint64 m_duration = DefaultDuration;
    qint64 m_accumulated = 0;
    bool m_running = false;
    qint64 m_segmentStart = 0;
    bool m_segmentStarted = false;
    bool m_applyingCountdown = false;

    QString m_text;
    QString m_warning;
    bool m_overtimeShown = false;
    bool m_startShowsPause = false;
};
