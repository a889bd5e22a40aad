#include "timer/countdown.h"
#include "testenv.h"

#include <QSignalSpy>
#include <QTest>

#include <climits>

namespace {

// A countdown on a hand-driven clock that logs the calls of its hooks.
struct Harness
{
    explicit Harness(int seconds = 600)
    {
        countdown.setClock([this] { return now; });
        countdown.restoreSeconds(seconds);
        countdown.setTimeStepRecorder([this](int previous) {
            // The step must be taken before the time changes.
            QCOMPARE(countdown.durationSeconds(), previous);
            recorded.append(previous);
        });
        countdown.setSecondsPersister([this](int seconds) { persisted.append(seconds); });
    }
    void advance(qint64 ms)
    {
        now += ms;
        countdown.tick();
    }

    qint64 now = 1000000;
    Countdown countdown;
    QList<int> recorded;
    QList<int> persisted;
};

} // namespace

class TestCountdown : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatClock_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << QStringLiteral("00:00");
        QTest::newRow("last value without hours") << 3599 << QStringLiteral("59:59");
        QTest::newRow("one hour, hours unpadded") << 3600 << QStringLiteral("1:00:00");
        QTest::newRow("longest duration") << 36000 << QStringLiteral("10:00:00");
    }
    void formatClock()
    {
        QFETCH(int, seconds);
        QTEST(Countdown::formatClock(seconds), "text");
    }

    void runningDisplay_data()
    {
        QTest::addColumn<int>("duration");
        QTest::addColumn<qint64>("remaining");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<bool>("overtime");
        const QString none;
        QTest::newRow("just started") << 600 << qint64(599999) << QStringLiteral("10:00") << none << false;
        QTest::newRow("end of the first second") << 600 << qint64(599001) << QStringLiteral("10:00") << none << false;
        QTest::newRow("after the first second") << 600 << qint64(599000) << QStringLiteral("09:59") << none << false;
        QTest::newRow("90.5 s left, no warning yet") << 600 << qint64(90500) << QStringLiteral("01:31") << none << false;
        QTest::newRow("90 s shown") << 600 << qint64(90000) << QStringLiteral("01:30") << QStringLiteral("90") << false;
        QTest::newRow("just above 60 s") << 600 << qint64(60001) << QStringLiteral("01:01") << QStringLiteral("90") << false;
        QTest::newRow("60 s shown") << 600 << qint64(60000) << QStringLiteral("01:00") << QStringLiteral("60") << false;
        QTest::newRow("30 s shown") << 600 << qint64(30000) << QStringLiteral("00:30") << QStringLiteral("30") << false;
        QTest::newRow("last millisecond") << 600 << qint64(1) << QStringLiteral("00:01") << QStringLiteral("30") << false;
        QTest::newRow("half a second over") << 600 << qint64(-500) << QStringLiteral("00:00") << none << true;
        QTest::newRow("one second over") << 600 << qint64(-1000) << QStringLiteral("-00:01") << none << true;
        QTest::newRow("an hour over") << 600 << qint64(-3601000) << QStringLiteral("-1:00:01") << none << true;
        QTest::newRow("zero duration started") << 0 << qint64(0) << QStringLiteral("00:00") << none << true;
        QTest::newRow("3 hours 5 minutes") << 11100 << qint64(11100000) << QStringLiteral("3:05:00") << none << false;
    }
    void runningDisplay()
    {
        QFETCH(int, duration);
        QFETCH(qint64, remaining);
        Harness h(duration);
        h.countdown.toggleTimer();
        h.advance(duration * 1000 - remaining);
        QTEST(h.countdown.text(), "text");
        QTEST(h.countdown.warning(), "warning");
        QTEST(h.countdown.overtimeShown(), "overtime");
    }

    void pausedKeepsWarningsResetClearsThem()
    {
        Harness h(20);
        QCOMPARE(h.countdown.warning(), QString());
        h.countdown.toggleTimer();
        h.now += 5000;
        h.countdown.toggleTimer();
        h.advance(60000);
        QCOMPARE(h.countdown.text(), QStringLiteral("00:15"));
        QCOMPARE(h.countdown.warning(), QStringLiteral("30"));
        h.countdown.resetTimer();
        QCOMPARE(h.countdown.text(), QStringLiteral("00:20"));
        QCOMPARE(h.countdown.warning(), QString());
    }

    void pauseInOvertimeContinuesOvertime()
    {
        Harness h(10);
        h.countdown.toggleTimer();
        h.now += 12000;
        h.countdown.toggleTimer();
        h.advance(30000);
        QCOMPARE(h.countdown.text(), QStringLiteral("-00:02"));
        h.countdown.toggleTimer();
        h.advance(1000);
        QCOMPARE(h.countdown.text(), QStringLiteral("-00:03"));
        QVERIFY(h.countdown.overtimeShown());
    }

    void setTimerSecondsClamps_data()
    {
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("stored");
        QTest::newRow("negative becomes zero") << -5 << 0;
        QTest::newRow("most negative int") << INT_MIN << 0;
        QTest::newRow("above the longest duration") << INT_MAX << 36000;
    }
    void setTimerSecondsClamps()
    {
        QFETCH(int, requested);
        QFETCH(int, stored);
        Harness h;
        h.countdown.setTimerSeconds(requested);
        QCOMPARE(h.countdown.duration(), qint64(stored) * 1000);
        QCOMPARE(h.recorded, QList<int>{600});
        QCOMPARE(h.persisted, QList<int>{stored});
    }

    void unchangedTimeDoesNothing_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("requested");
        QTest::newRow("same value") << 600 << 600;
        QTest::newRow("clamped to the same maximum") << 36000 << 50000;
    }
    void unchangedTimeDoesNothing()
    {
        QFETCH(int, start);
        QFETCH(int, requested);
        Harness h(start);
        QSignalSpy shown(&h.countdown, &Countdown::displayChanged);
        h.countdown.setTimerSeconds(requested);
        QVERIFY(h.recorded.isEmpty());
        QVERIFY(h.persisted.isEmpty());
        QCOMPARE(shown.size(), 0);
    }

    void adjustMovesRemainingTime()
    {
        Harness h;
        h.countdown.toggleTimer();
        h.now += 100000;
        h.countdown.adjust(60);
        QCOMPARE(h.countdown.text(), QStringLiteral("09:20"));
        h.countdown.adjust(-700);
        QCOMPARE(h.countdown.text(), QStringLiteral("-01:40"));
        QCOMPARE(h.recorded, (QList<int>{600, 660}));
        QCOMPARE(h.persisted, (QList<int>{660, 0}));
    }

    void presetStopsAndShowsFullDuration()
    {
        Harness h;
        h.countdown.toggleTimer();
        h.advance(100000);
        h.countdown.applyPreset(5);
        QVERIFY(!h.countdown.isRunning());
        QCOMPARE(h.countdown.text(), QStringLiteral("05:00"));
        QCOMPARE(h.countdown.startText(), QStringLiteral("Start"));
        QCOMPARE(h.recorded, QList<int>{600});
        // The same preset again still stops the countdown but records nothing.
        h.countdown.toggleTimer();
        h.now += 250000;
        h.countdown.applyPreset(5);
        QCOMPARE(h.countdown.text(), QStringLiteral("05:00"));
        QCOMPARE(h.recorded.size(), 1);
    }

    void fileCountdownLeavesStoredTimeAlone()
    {
        Harness h(1200);
        h.countdown.startCountdown(15);
        QCOMPARE(h.countdown.text(), QStringLiteral("15:00"));
        QCOMPARE(h.countdown.startText(), QStringLiteral("Pause"));
        QVERIFY(h.recorded.isEmpty());
        QVERIFY(h.persisted.isEmpty());
        h.advance(1000);
        QCOMPARE(h.countdown.text(), QStringLiteral("14:59"));
        // The operator's own changes are recorded and stored again afterwards.
        h.countdown.adjust(60);
        QCOMPARE(h.recorded, QList<int>{900});
        QCOMPARE(h.persisted, QList<int>{960});
    }

    void fileCountdownMinutes_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero means no countdown") << 0 << false << QStringLiteral("10:00");
        QTest::newRow("beyond ten hours holds ten hours") << 601 << true << QStringLiteral("10:00:00");
    }
    void fileCountdownMinutes()
    {
        QFETCH(int, minutes);
        Harness h;
        h.countdown.startCountdown(minutes);
        QTEST(h.countdown.isRunning(), "running");
        QTEST(h.countdown.text(), "text");
        QVERIFY(h.countdown.duration() <= 36000000);
    }

    void displayChangedOnlyWhenSomethingShownChanges()
    {
        Harness h;
        QSignalSpy shown(&h.countdown, &Countdown::displayChanged);
        h.countdown.toggleTimer();
        QCOMPARE(shown.size(), 1); // "Pause"
        h.advance(400);
        h.advance(400);
        QCOMPARE(shown.size(), 1);
        h.advance(400);
        QCOMPARE(shown.size(), 2);
    }
};

OLVANTI_TEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
