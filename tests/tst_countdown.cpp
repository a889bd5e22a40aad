#include "timer/countdown.h"
#include "testenv.h"

#include <QDateTime>
#include <QHash>
#include <QTest>

#include <functional>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

const QDate Today(2026, 12, 7);

// A countdown on hand-driven clocks (the wall clock at 16:17:30) that logs the calls of its hooks.
struct Harness
{
    explicit Harness(int seconds = 600)
    {
        countdown.setClock([this] { return now; });
        countdown.setWallClock([this] { return wall; });
        countdown.restoreSeconds(seconds);
        // The step must be taken before the time changes.
        QObject::connect(&countdown, &Countdown::durationAboutToChange, &countdown, [this](int previous) {
            QCOMPARE(countdown.durationSeconds(), previous);
            recorded.append(previous);
        });
        QObject::connect(&countdown, &Countdown::durationChanged, &countdown,
                         [this](int seconds) { persisted.append(seconds); });
    }

    // One command of a row's script; times in milliseconds, durations in seconds.
    void perform(const QString &command)
    {
        const QString verb = command.section(u' ', 0, 0);
        const QString object = command.section(u' ', 1);
        const QHash<QString, std::function<void()>> verbs{
            {u"start"_s, [&] { countdown.toggleTimer(); }}, // or pause
            {u"wait"_s, [&] { now += object.toLongLong(), wall += object.toLongLong(), countdown.tick(); }},
            {u"restore"_s, [&] { countdown.restoreSeconds(object.toInt()); }},
            {u"set"_s, [&] { countdown.setTimerSeconds(object.toInt()); }},
            {u"adjust"_s, [&] { countdown.adjust(object.toInt()); }},
            {u"reset"_s, [&] { countdown.resetTimer(); }},
            {u"preset"_s, [&] { countdown.applyPreset(object.toInt()); }},
            {u"file"_s, [&] { countdown.startCountdown(object.toInt()); }},
            {u"until"_s, [&] { countdown.runUntil(QDateTime(Today, QTime::fromString(object, u"HH:mm"_s)).toMSecsSinceEpoch()); }},
        };
        QVERIFY2(verbs.contains(verb), qPrintable(command));
        verbs.value(verb)();
    }

    // What the timer bar shows: "01:30 warning 90 overtime running to time of day".
    QString state() const
    {
        return countdown.text() + (countdown.warning().isEmpty() ? QString() : u" warning "_s + countdown.warning())
               + (countdown.overtimeShown() ? u" overtime"_s : QString())
               + (countdown.startText() == u"Pause"_s ? u" running"_s : QString())
               + (countdown.runsToTimeOfDay() ? u" to time of day"_s : QString());
    }

    qint64 now = 1000000;
    qint64 wall = QDateTime(Today, QTime(16, 17, 30)).toMSecsSinceEpoch();
    Countdown countdown;
    QList<int> recorded;
    QList<int> persisted;
};

} // namespace

class TestCountdown : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row runs its commands on a ten-minute countdown; "|" separates the stages whose
    // displays are compared. Then the durations the operator could undo and the ones written.
    void commandsLeaveTheDisplayTheOperatorExpects_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        // Each boundary: the last moment before it and the first one on it.
        QTest::newRow("the first second, each warning, the end and overtime")
            << u"start, wait 999 | wait 1 | wait 508500 | wait 500 | wait 30000 | wait 30000 | wait 29999 | wait 501 | wait 500"_s
            << u"10:00 running | 09:59 running | 01:31 running | 01:30 warning 90 running | 01:00 warning 60 running"
               " | 00:30 warning 30 running | 00:01 warning 30 running | 00:00 overtime running | -00:01 overtime running"_s;
        QTest::newRow("zero duration started") << u"restore 0, start"_s << u"00:00 overtime running"_s;
        QTest::newRow("3 hours 5 minutes") << u"restore 11100, start"_s << u"3:05:00 running"_s;
        QTest::newRow("a pause in overtime goes on from there; a reset clears it")
            << u"restore 10, start, wait 12000, start, wait 30000 | start, wait 1000 | reset"_s
            << u"-00:02 overtime | -00:03 overtime running | 00:10"_s;
        // Clamped to what the timer can hold; clamped to the duration it has, nothing happens.
        QTest::newRow("durations clamped: most negative int, above the longest, then the same longest")
            << u"set -2147483648 | set 2147483647 | set 50000"_s
            << u"00:00 | 10:00:00 | 10:00:00; undo 600 0; wrote 0 36000"_s;
        QTest::newRow("a preset stops the countdown even without a change")
            << u"restore 300, start, wait 100000, preset 5 | preset 10"_s << u"05:00 | 10:00; undo 300; wrote 600"_s;
        // A file's countdown is no step of the operator's and not written; the operator's own
        // change after it is.
        QTest::newRow("a file's countdown of a quarter of an hour")
            << u"restore 1200, file 15 | adjust -60"_s << u"15:00 running | 14:00 running; undo 900; wrote 840"_s;
        QTest::newRow("a file's countdown of zero is none")
            << u"restore 1200, file 0 | adjust -60"_s << u"20:00 | 19:00; undo 1200; wrote 1140"_s;
        QTest::newRow("a file's countdown beyond ten hours holds ten hours")
            << u"restore 1200, file 601 | adjust -60"_s
            << u"10:00:00 running | 9:59:00 running; undo 36000; wrote 35940"_s;
        // Started at 16:17:30 for 16:30 it shows 12:30, however late it was started; a minute
        // more moves the end, a pause holds what is left, a time already gone is refused.
        QTest::newRow("a time of day ends the countdown")
            << u"until 16:30 | wait 30000 | set 810 | start, wait 60000 | until 16:18"_s
            << u"12:30 running to time of day | 12:00 running to time of day | 13:00 running to time of day | 13:00 | 13:00"
               "; undo 750; wrote 810"_s;
    }

    void commandsLeaveTheDisplayTheOperatorExpects()
    {
        QFETCH(QString, script);
        Harness h;
        QStringList states;
        for (const QString &part : script.split(u'|')) {
            for (const QString &command : part.split(u','))
                h.perform(command.trimmed());
            states << h.state();
        }
        QString shown = states.join(u" | "_s);
        for (const auto &[name, seconds] : {std::pair{u"undo"_s, h.recorded}, {u"wrote"_s, h.persisted}}) {
            for (qsizetype i = 0; i < seconds.size(); ++i)
                shown += (i ? u" "_s : u"; "_s + name + u' ') + QString::number(seconds.at(i));
        }
        QTEST(shown, "shown");
    }
};

OLVANTI_TEST_MAIN(TestCountdown)
#include "tst_countdown.moc"
