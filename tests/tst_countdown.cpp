#include "timer/countdown.h"
#include "testenv.h"

#include <QSignalSpy>
#include <QDateTime>
#include <QTest>

#include <climits>

using namespace Qt::StringLiterals;

namespace {

// A countdown on a hand-driven clock that logs the calls of its hooks.
struct Harness
{
    explicit Harness(int seconds = 600)
    {
        countdown.setClock([this] { return now; });
        countdown.restoreSeconds(seconds);
        // The step must be taken before the time changes.
        QObject::connect(&countdown, &Countdown::durationAboutToChange, &countdown, [this](int previous) {
            QCOMPARE(countdown.durationSeconds(), previous);
            recorded.append(previous);
        });
        QObject::connect(&countdown, &Countdown::durationChanged, &countdown,
                         [this](int seconds) { persisted.append(seconds); });
    }
    void advance(qint64 ms) { now += ms; countdown.tick(); }

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
    // Started at 16:17:30 for 16:30 it shows 12:30, however late it was started; a pause holds
    // what is left, a minute more moves the end.
    void aTimeOfDayEndsTheCountdown()
    {
        Harness h;
        qint64 wall = QDateTime(QDate(2026, 12, 7), QTime(16, 17, 30)).toMSecsSinceEpoch();
        h.countdown.setWallClock([&wall] { return wall; });
        h.countdown.runUntil(QDateTime(QDate(2026, 12, 7), QTime(16, 30)).toMSecsSinceEpoch());
        QCOMPARE(h.countdown.text(), u"12:30"_s);
        wall += 30000;
        h.advance(30000);
        QCOMPARE(h.countdown.text(), u"12:00"_s);
        h.countdown.setTimerSeconds(h.countdown.durationSeconds() + 60);
        QCOMPARE(h.countdown.text(), u"13:00"_s);
        h.countdown.toggleTimer();
        wall += 60000;
        h.advance(60000);
        QCOMPARE(h.countdown.text(), u"13:00"_s);
        QVERIFY(!h.countdown.runsToTimeOfDay());
        // A time already gone is refused.
        h.countdown.runUntil(wall - 1000);
        QVERIFY(!h.countdown.runsToTimeOfDay());
    }

    void runningDisplay_data()
    {
        QTest::addColumn<int>("duration");
        QTest::addColumn<qint64>("remaining");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("warning");
        QTest::addColumn<bool>("overtime");
        const QString none;
        QTest::newRow("end of the first second") << 600 << qint64(599001) << u"10:00"_s << none << false;
        QTest::newRow("after the first second") << 600 << qint64(599000) << u"09:59"_s << none << false;
        QTest::newRow("90.5 s left, no warning yet") << 600 << qint64(90500) << u"01:31"_s << none << false;
        QTest::newRow("90 s shown") << 600 << qint64(90000) << u"01:30"_s << u"90"_s << false;
        QTest::newRow("60 s shown") << 600 << qint64(60000) << u"01:00"_s << u"60"_s << false;
        QTest::newRow("30 s shown") << 600 << qint64(30000) << u"00:30"_s << u"30"_s << false;
        QTest::newRow("last millisecond") << 600 << qint64(1) << u"00:01"_s << u"30"_s << false;
        QTest::newRow("half a second over") << 600 << qint64(-500) << u"00:00"_s << none << true;
        QTest::newRow("one second over") << 600 << qint64(-1000) << u"-00:01"_s << none << true;
        QTest::newRow("zero duration started") << 0 << qint64(0) << u"00:00"_s << none << true;
        QTest::newRow("3 hours 5 minutes") << 11100 << qint64(11100000) << u"3:05:00"_s << none << false;
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

    void pauseInOvertimeContinuesAndResetClears()
    {
        Harness h(10);
        h.countdown.toggleTimer();
        h.now += 12000;
        h.countdown.toggleTimer();
        h.advance(30000);
        QCOMPARE(h.countdown.text(), u"-00:02"_s);
        QVERIFY(h.countdown.overtimeShown());
        h.countdown.toggleTimer();
        h.advance(1000);
        QCOMPARE(h.countdown.text(), u"-00:03"_s);
        QVERIFY(h.countdown.overtimeShown());
        h.countdown.resetTimer();
        QCOMPARE(h.countdown.text(), u"00:10"_s);
        QVERIFY(!h.countdown.overtimeShown());
    }

    void setTimerSecondsClamps_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("requested");
        QTest::addColumn<int>("stored");
        QTest::newRow("negative becomes zero") << 600 << -5 << 0;
        QTest::newRow("most negative int") << 600 << INT_MIN << 0;
        QTest::newRow("above the longest duration") << 600 << INT_MAX << 36000;
        QTest::newRow("same value does nothing") << 600 << 600 << 600;
        QTest::newRow("clamped to the same maximum does nothing") << 36000 << 50000 << 36000;
    }
    void setTimerSecondsClamps()
    {
        QFETCH(int, start);
        QFETCH(int, requested);
        QFETCH(int, stored);
        Harness h(start);
        QSignalSpy shown(&h.countdown, &Countdown::displayChanged);
        h.countdown.setTimerSeconds(requested);
        QCOMPARE(h.countdown.duration(), qint64(stored) * 1000);
        const bool changed = stored != start;
        QCOMPARE(h.recorded, changed ? QList<int>{start} : QList<int>{});
        QCOMPARE(h.persisted, changed ? QList<int>{stored} : QList<int>{});
        QCOMPARE(shown.size(), changed ? 1 : 0);
    }

    void presetStopsEvenWithoutChange()
    {
        Harness h(300);
        h.countdown.toggleTimer();
        h.advance(100000);
        h.countdown.applyPreset(5);
        QVERIFY(!h.countdown.isRunning());
        QCOMPARE(h.countdown.text(), u"05:00"_s);
        QVERIFY(h.recorded.isEmpty());
        h.countdown.applyPreset(10);
        QCOMPARE(h.countdown.text(), u"10:00"_s);
        QCOMPARE(h.recorded, QList<int>{300});
    }

    void fileCountdownLeavesStoredTimeAlone_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<bool>("running");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("a quarter of an hour") << 15 << true << u"15:00"_s << 900;
        QTest::newRow("zero means no countdown") << 0 << false << u"20:00"_s << 1200;
        QTest::newRow("beyond ten hours holds ten hours") << 601 << true << u"10:00:00"_s << 36000;
    }
    void fileCountdownLeavesStoredTimeAlone()
    {
        QFETCH(int, minutes);
        QFETCH(bool, running);
        QFETCH(int, seconds);
        Harness h(1200);
        h.countdown.startCountdown(minutes);
        QTEST(h.countdown.text(), "text");
        QCOMPARE(h.countdown.startText(), running ? u"Pause"_s : u"Start"_s);
        // Nothing was recorded for the file's countdown; the operator's own changes are again.
        h.countdown.adjust(-60);
        QCOMPARE(h.recorded, QList<int>{seconds});
        QCOMPARE(h.persisted, QList<int>{seconds - 60});
    }
};

OLVANTI_TEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
