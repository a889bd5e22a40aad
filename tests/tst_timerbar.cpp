#include "timer/countdown.h"
#include "timer/fitlabel.h"
#include "timer/timerbar.h"
#include "timer/timerlabel.h"
#include "timer/timerpanel.h"
#include "readersupport.h"
#include "testenv.h"

#include <QDateTime>
#include <QFontMetricsF>
#include <QHash>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

using namespace Qt::StringLiterals;
using ReaderTest::sendWheel;

namespace {

const QDate Today(2026, 12, 7);

// A countdown on hand-driven clocks (the wall clock at 16:17:30) that logs the calls of its hooks,
// and a timer bar built on it that colours the 90 s warning and overtime.
struct Harness
{
    Harness()
    {
        countdown.setClock([this] { return now; });
        countdown.setWallClock([this] { return wall; });
        countdown.restoreSeconds(600);
        // The step must be taken before the time changes.
        QObject::connect(&countdown, &Countdown::durationAboutToChange, &countdown, [this](int previous) {
            QCOMPARE(countdown.durationSeconds(), previous);
            recorded.append(previous);
        });
        QObject::connect(&countdown, &Countdown::durationChanged, &countdown, [this](int s) { persisted.append(s); });
        bar->setStyleSheet(u"QWidget#timerBar[warning=\"90\"] QLabel#timer { color:#FF5252; }"
                           "QWidget#timerBar[overtime=\"true\"] QLabel#timer { color:#FFEB3B; }"_s);
        bar->resize(520, 320);
        bar->show();
        // The clock's digit groups are found at its fitted size, set once the bar has been shown.
        QTRY_VERIFY(label->fittedSize() > 0);
        plain = label->palette().color(QPalette::WindowText);
    }

    // One command of a row's script, given through the bar where the operator has a control for
    // it; times in milliseconds, durations in seconds.
    void perform(const QString &command)
    {
        const QString verb = command.section(u' ', 0, 0);
        const QString object = command.section(u' ', 1);
        const auto child = [this](const QString &name) { return bar->findChild<QWidget *>(name); };
        const auto click = [&](const QString &name) { QTest::mouseClick(child(name), Qt::LeftButton); };
        const QString before = label->text();
        const QHash<QString, std::function<void()>> verbs{
            {u"start"_s, [&] { click(u"timerStart"_s); }}, // or pause
            {u"wait"_s, [&] { now += object.toLongLong(), wall += object.toLongLong(), countdown.tick(); }},
            // Time that only the bar's own clock brings to the display.
            {u"pass"_s, [&] {
                now += object.toLongLong();
                QVERIFY(QTest::qWaitFor([&] { return label->text() != before; }));
            }},
            {u"restore"_s, [&] { countdown.restoreSeconds(object.toInt()); }},
            {u"set"_s, [&] { countdown.setTimerSeconds(object.toInt()); }},
            {u"up"_s, [&] { click(u"timerUp"_s); }},
            {u"down"_s, [&] { click(u"timerDown"_s); }},
            {u"wheel"_s, [&] { sendWheel(child(object.section(u' ', 0, 0)), object.section(u' ', 1).toInt()); }},
            {u"click"_s, [&] { // on the clock: left, mid or right; top or bottom
                const int x = object.startsWith(u"left"_s) ? 2 : object.startsWith(u"mid"_s) ? label->width() / 2
                                                                                              : label->width() - 3;
                QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(x, object.endsWith(u"top"_s) ? 25 : label->height() - 25));
            }},
            {u"reset"_s, [&] { click(u"timerReset"_s); }},
            {u"preset"_s, [&] { click(u"timerPreset"_s + object); }},
            {u"file"_s, [&] { countdown.startCountdown(object.toInt()); }},
            {u"until"_s, [&] { countdown.runUntil(QDateTime(Today, QTime::fromString(object, u"HH:mm"_s)).toMSecsSinceEpoch()); }},
        };
        QVERIFY2(verbs.contains(verb), qPrintable(command));
        verbs.value(verb)();
    }

    // What the timer bar shows: "01:30 #ff5252 warning 90 overtime running to time of day".
    QString state() const
    {
        const QColor colour = label->palette().color(QPalette::WindowText);
        const QString warning = bar->property("warning").toString();
        return label->text() + (colour == plain ? QString() : u' ' + colour.name())
               + (warning.isEmpty() ? QString() : u" warning "_s + warning)
               + (bar->property("overtime").toBool() ? u" overtime"_s : QString())
               + (bar->findChild<QPushButton *>(u"timerStart"_s)->text() == u"Pause"_s ? u" running"_s : QString())
               + (countdown.runsToTimeOfDay() ? u" to time of day"_s : QString());
    }

    qint64 now = 1000000;
    qint64 wall = QDateTime(Today, QTime(16, 17, 30)).toMSecsSinceEpoch();
    Countdown countdown;
    QList<int> recorded;
    QList<int> persisted;
    std::unique_ptr<TimerPanel> bar{qobject_cast<TimerPanel *>(buildTimerBar(&countdown))};
    TimerLabel *label = bar->findChild<TimerLabel *>(u"timer"_s);
    QColor plain;
};

// Whether `text` fits a label of `size` at `points` as the operator sees it: bold application font,
// digits as wide and tall as "8", 4 pixels of air on each side, a clock's margin of 18 above and below.
bool fitsLabel(QString text, double points, QSize size, bool clock)
{
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(points);
    const QFontMetricsF metrics(font);
    for (QChar &c : text)
        c = c.isDigit() ? u'8' : c;
    const double height = clock ? metrics.tightBoundingRect(u"8"_s).height() : metrics.height();
    return metrics.horizontalAdvance(text) <= size.width() - 8 && height <= size.height() - (clock ? 36 : 0) - 8;
}

} // namespace

// The countdown and the timer bar that shows and drives it.
class TestTimerBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row runs its commands on a ten-minute countdown and the bar built on it; "|" separates the
    // stages whose displays are compared. Then the durations the operator could undo, the ones
    // written and how often the bar restyled (only a new colour state does).
    void commandsLeaveTheDisplayTheOperatorExpects_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        // Each boundary: the last moment before it and the first one on it.
        QTest::newRow("the first second, each warning, the end and overtime")
            << u"start, wait 999 | wait 1 | wait 508500 | wait 500 | wait 30000 | wait 30000 | wait 29999 | wait 501 | wait 500"_s
            << u"10:00 running | 09:59 running | 01:31 running | 01:30 #ff5252 warning 90 running | 01:00 warning 60 running"
               " | 00:30 warning 30 running | 00:01 warning 30 running | 00:00 #ffeb3b overtime running"
               " | -00:01 #ffeb3b overtime running; restyled 4"_s;
        QTest::newRow("the bar's own clock brings the time") << u"start, pass 1000"_s << u"09:59 running"_s;
        QTest::newRow("zero duration started") << u"restore 0, start"_s << u"00:00 #ffeb3b overtime running; restyled 1"_s;
        QTest::newRow("a pause in overtime goes on from there; a reset clears it")
            << u"restore 10, start, wait 12000, start, wait 30000 | start, wait 1000 | reset"_s
            << u"-00:02 #ffeb3b overtime | -00:03 #ffeb3b overtime running | 00:10; restyled 3"_s;
        // Clamped to what the timer can hold; clamped to the duration it has, nothing happens.
        QTest::newRow("durations clamped: most negative int, above the longest, then the same longest")
            << u"set -2147483648 | set 2147483647 | set 50000"_s
            << u"00:00 | 10:00:00 | 10:00:00; undo 600 0; wrote 0 36000"_s;
        QTest::newRow("a preset stops the countdown even without a change")
            << u"restore 300, start, wait 300000 | preset 5 | preset 10"_s
            << u"00:00 #ffeb3b overtime running | 05:00 | 10:00; undo 300; wrote 600; restyled 2"_s;
        // The wheel counts whole notches over any part of the bar; the arrows are in the rows below.
        QTest::newRow("the wheel keeps what is short of a notch")
            << u"wheel timerReset 60 | wheel timerUp 60 | wheel timer -200, wheel timerStart -40"_s
            << u"10:00 | 11:00 | 09:00; undo 600 660 600; wrote 660 600 540"_s;
        // A click on the clock steps the digit group under it: up in the upper half, down in the lower.
        QTest::newRow("hours") << u"restore 11100, click left top"_s << u"4:05:00; undo 11100; wrote 14700"_s;
        QTest::newRow("minutes of an hour clock") << u"restore 11100, click mid top"_s << u"3:06:00; undo 11100; wrote 11160"_s;
        QTest::newRow("seconds of an hour clock, lower half")
            << u"restore 11100, click right bottom"_s << u"3:04:50; undo 11100; wrote 11090"_s;
        QTest::newRow("minutes of a short clock, lower half") << u"click left bottom"_s << u"09:00; undo 600; wrote 540"_s;
        QTest::newRow("seconds of a short clock") << u"click right top"_s << u"10:10; undo 600; wrote 610"_s;
        QTest::newRow("overtime minutes behind the minus") << u"restore 10, start, wait 15000 | click left top"_s
            << u"-00:05 #ffeb3b overtime running | 00:55 warning 60 running; undo 10; wrote 70; restyled 3"_s;
        // A file's countdown is no step of the operator's and not written; the operator's own
        // change after it is.
        QTest::newRow("a file's countdown of a quarter of an hour")
            << u"restore 1200, file 15 | down"_s << u"15:00 running | 14:00 running; undo 900; wrote 840"_s;
        QTest::newRow("a file's countdown of zero is none")
            << u"restore 1200, file 0 | down"_s << u"20:00 | 19:00; undo 1200; wrote 1140"_s;
        QTest::newRow("a file's countdown beyond ten hours holds ten hours")
            << u"restore 1200, file 601 | down"_s
            << u"10:00:00 running | 9:59:00 running; undo 36000; wrote 35940"_s;
        // Started at 16:17:30 for 16:30 it shows 12:30, however late it was started; a minute
        // more moves the end, a pause holds what is left, a time already gone is refused.
        QTest::newRow("a time of day ends the countdown")
            << u"until 16:30 | wait 30000 | up | start, wait 60000 | until 16:18"_s
            << u"12:30 running to time of day | 12:00 running to time of day | 13:00 running to time of day | 13:00 | 13:00"
               "; undo 750; wrote 810"_s;
    }

    void commandsLeaveTheDisplayTheOperatorExpects()
    {
        QFETCH(QString, script);
        Harness h;
        for (const int minutes : {5, 10, 15, 20, 30, 40, 60}) {
            auto *preset = h.bar->findChild<QPushButton *>(u"timerPreset%1"_s.arg(minutes));
            QVERIFY(preset && preset->text() == QString::number(minutes) && preset->focusPolicy() == Qt::NoFocus);
        }
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
        if (h.bar->restyleCount() > 0)
            shown += u"; restyled %1"_s.arg(h.bar->restyleCount());
        QTEST(shown, "shown");
    }

    void fitLabelPicksLargestFittingSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("clock");
        QTest::newRow("width limits a short clock") << u"10:00"_s << QSize(260, 400) << true;
        QTest::newRow("height limits a short clock") << u"10:00"_s << QSize(1200, 140) << true;
        QTest::newRow("plain text uses the line height") << u"Pause"_s << QSize(900, 90) << false;
    }
    void fitLabelPicksLargestFittingSize()
    {
        QFETCH(QString, text);
        QFETCH(QSize, size);
        QFETCH(bool, clock);
        std::unique_ptr<FitLabel> label(clock ? new TimerLabel : new FitLabel);
        label->setText(text);
        label->resize(size);
        label->show();
        // Fitted once the label's first showing is through.
        QTRY_VERIFY(label->fittedSize() > 0);
        const double fitted = label->fittedSize();
        QVERIFY2(fitsLabel(text, fitted, size, clock), qPrintable(QString::number(fitted)));
        QVERIFY2(!fitsLabel(text, fitted + 1, size, clock), qPrintable(QString::number(fitted)));
        QCOMPARE(label->font().pointSizeF(), fitted);
        // The hint stands for the longest clock at 150 points, whatever size was fitted.
        const double wish = QFontMetricsF(FitLabel::measuringFont(150)).horizontalAdvance(u"88:88:88"_s);
        QVERIFY2(std::abs(label->sizeHint().width() - wish) < wish * 0.03, qPrintable(QString::number(wish)));
    }

    // A held click on the bar's clock repeats after a pause, then faster, until released or hidden.
    void holdingRepeats()
    {
        Harness h;
        TimerLabel &label = *h.label;
        const QPoint seconds(label.width() - 3, label.height() - 25);
        auto *repeat = label.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
        QTest::mousePress(&label, Qt::LeftButton, {}, seconds);
        QCOMPARE(h.persisted, QList<int>{590});
        QCOMPARE(repeat->interval(), 450);
        QTRY_VERIFY_WITH_TIMEOUT(h.persisted.size() >= 5, 10000);
        QCOMPARE(h.persisted.constLast(), 600 - 10 * h.persisted.size());
        QCOMPARE(repeat->interval(), 80);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, seconds);
        QVERIFY(!label.isRepeating());
        // A new press pauses first again.
        h.persisted.clear();
        QTest::mousePress(&label, Qt::LeftButton, {}, seconds);
        QVERIFY(h.persisted.size() == 1 && label.isRepeating() && repeat->interval() == 450);
        label.hide();
        QVERIFY(!label.isRepeating());
    }
};

OLVANTI_TEST_MAIN(TestTimerBar)
#include "tst_timerbar.moc"
