#include "timer/arrowbutton.h"
#include "timer/countdown.h"
#include "timer/fitlabel.h"
#include "timer/timerbar.h"
#include "timer/timerlabel.h"
#include "timer/timerpanel.h"
#include "testenv.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

// Whether `text` fits a label of `size` at `points`, measured the way the operator sees it:
// bold application font, digits as wide and as tall as "8", 4 pixels of air on each side.
bool fitsLabel(const QString &text, double points, QSize size, int margin, bool digitsOnly)
{
    QFont font = QApplication::font();
    font.setBold(true);
    font.setPointSizeF(points);
    const QFontMetricsF metrics(font);
    QString probe = text;
    for (QChar &c : probe) {
        if (c.isDigit())
            c = u'8';
    }
    const double height = digitsOnly ? metrics.tightBoundingRect(QStringLiteral("8")).height() : metrics.height();
    return metrics.horizontalAdvance(probe) <= size.width() - 8 && height <= size.height() - 2 * margin - 8;
}

void sendWheel(QWidget *target, int angle)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestTimerBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fitLabelPicksLargestFittingSize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("clock");
        QTest::newRow("width limits a short clock") << QStringLiteral("10:00") << QSize(260, 400) << true;
        QTest::newRow("height limits a short clock") << QStringLiteral("10:00") << QSize(1200, 140) << true;
        QTest::newRow("overtime hours in a narrow label") << QStringLiteral("-1:05:00") << QSize(330, 300) << true;
        QTest::newRow("plain text uses the line height") << QStringLiteral("Pause") << QSize(900, 90) << false;
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
        QCOMPARE(label->size(), size);
        const double fitted = label->fittedSize();
        const int margin = clock ? 18 : 0;
        QVERIFY2(fitsLabel(text, fitted, size, margin, clock), qPrintable(QString::number(fitted)));
        QVERIFY2(!fitsLabel(text, fitted + 1.5, size, margin, clock), qPrintable(QString::number(fitted)));
        QCOMPARE(label->font().pointSizeF(), fitted);
        const QString points = QString::number(fitted);
        QCOMPARE(label->styleSheet(), clock ? QStringLiteral("QLabel#timer { font-size:%1pt; }").arg(points)
                                            : QStringLiteral("font-size:%1pt;").arg(points));
    }

    void sizeHintHoldsTheLongestClock()
    {
        TimerLabel label;
        label.setText(QStringLiteral("88:88:88"));
        label.resize(label.sizeHint());
        label.show();
        QVERIFY2(label.fittedSize() >= 149, qPrintable(QString::number(label.fittedSize())));
    }

    void arrowsFollowEverySize()
    {
        TimerLabel label;
        label.setText(QStringLiteral("10:00"));
        label.resize(1000, 120);
        label.show();
        QCOMPARE(label.upButton()->geometry(), QRect(484, 0, 32, 18));
        QCOMPARE(label.downButton()->geometry(), QRect(484, 102, 32, 18));
        const double fitted = label.fittedSize();
        // Height-limited: a little more width keeps the font, but the arrows still move.
        label.resize(1010, 120);
        QCOMPARE(label.fittedSize(), fitted);
        QCOMPARE(label.upButton()->pos(), QPoint(489, 0));
        QCOMPARE(label.downButton()->pos(), QPoint(489, 102));
    }

    void arrowPainting_data()
    {
        QTest::addColumn<bool>("up");
        QTest::addColumn<QPoint>("inside");
        QTest::addColumn<QPoint>("outside");
        QTest::newRow("up points up") << true << QPoint(11, 12) << QPoint(11, 6);
        QTest::newRow("down points down") << false << QPoint(11, 6) << QPoint(11, 12);
    }
    void arrowPainting()
    {
        QFETCH(bool, up);
        QFETCH(QPoint, inside);
        QFETCH(QPoint, outside);
        QWidget back;
        back.setAutoFillBackground(true);
        QPalette palette = back.palette();
        palette.setColor(QPalette::Window, Qt::black);
        back.setPalette(palette);
        back.resize(ArrowButton::Width, ArrowButton::Height);
        auto *arrow = new ArrowButton(up, &back);
        back.show();

        const QImage idle = back.grab().toImage();
        const QColor idleFill = idle.pixelColor(inside);
        // Translucent white over black.
        QVERIFY2(idleFill.red() > 150 && idleFill.red() < 230, qPrintable(idleFill.name()));
        arrow->setDown(true);
        const QImage pressed = back.grab().toImage();
        QCOMPARE(pressed.pixelColor(inside), QColor(Qt::white));
        QCOMPARE(pressed.pixelColor(outside), QColor(Qt::black));
    }

    void digitGroupClicks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("where");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("delta");
        QTest::newRow("hours, upper half") << QStringLiteral("3:05:00") << QStringLiteral("left") << true << 3600;
        QTest::newRow("hours, lower half") << QStringLiteral("3:05:00") << QStringLiteral("left") << false << -3600;
        QTest::newRow("minutes of an hour clock") << QStringLiteral("3:05:00") << QStringLiteral("centre") << true << 60;
        QTest::newRow("seconds of an hour clock, lower half") << QStringLiteral("3:05:00") << QStringLiteral("right") << false << -10;
        QTest::newRow("minutes of a short clock") << QStringLiteral("10:00") << QStringLiteral("left") << true << 60;
        QTest::newRow("seconds of a short clock") << QStringLiteral("10:00") << QStringLiteral("right") << true << 10;
        QTest::newRow("overtime minutes behind the minus") << QStringLiteral("-00:05") << QStringLiteral("left") << false << -60;
        QTest::newRow("right button does nothing") << QStringLiteral("10:00") << QStringLiteral("right button") << true << 0;
        QTest::newRow("no clock, no step") << QStringLiteral("") << QStringLiteral("centre") << true << 0;
    }
    void digitGroupClicks()
    {
        QFETCH(QString, text);
        QFETCH(QString, where);
        QFETCH(bool, upper);
        QFETCH(int, delta);
        TimerLabel label;
        QList<int> calls;
        label.setAdjustCallback([&calls](int delta) { calls.append(delta); });
        label.resize(400, 160);
        label.setText(text);
        label.show();

        int x = label.width() / 2;
        if (where == u"left")
            x = 2;
        else if (where == u"right")
            x = label.width() - 3;
        const int y = upper ? 20 : label.height() - 20;
        const Qt::MouseButton button = where == u"right button" ? Qt::RightButton : Qt::LeftButton;
        QTest::mousePress(&label, button, {}, QPoint(x, y));
        QTest::mouseRelease(&label, button, {}, QPoint(x, y));
        QCOMPARE(calls, delta ? QList<int>{delta} : QList<int>{});
    }

    void holdingRepeats()
    {
        TimerLabel label;
        QElapsedTimer clock;
        QList<qint64> times;
        QList<int> deltas;
        label.setAdjustCallback([&](int delta) {
            times.append(clock.elapsed());
            deltas.append(delta);
        });
        label.resize(400, 160);
        label.setText(QStringLiteral("10:00"));
        label.show();
        const QPoint seconds(label.width() - 3, label.height() - 20);
        clock.start();
        QTest::mousePress(&label, Qt::LeftButton, {}, seconds);
        QCOMPARE(deltas, QList<int>{-10});
        QTRY_VERIFY_WITH_TIMEOUT(deltas.size() >= 5, 10000);
        auto *repeatTimer = label.findChild<QTimer *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(repeatTimer);
        QCOMPARE(repeatTimer->interval(), 80);
        QTest::mouseRelease(&label, Qt::LeftButton, {}, seconds);
        QVERIFY(!label.isRepeating());

        QVERIFY(std::all_of(deltas.cbegin(), deltas.cend(), [](int d) { return d == -10; }));
        // Timers may fire up to 5 % early and any amount late on a busy machine, and a late
        // repeat only delays the ones after it: check each against its earliest moment.
        for (qsizetype i = 1; i < times.size(); ++i) {
            const qint64 earliest = qint64(0.95 * (450 + (i - 1) * 80)) - 1;
            QVERIFY2(times.at(i) - times.at(0) >= earliest, qPrintable(QString::number(times.at(i) - times.at(0))));
        }

        // Hiding the label ends a held press as well.
        QTest::mousePress(&label, Qt::LeftButton, {}, seconds);
        QVERIFY(label.isRepeating());
        label.hide();
        QVERIFY(!label.isRepeating());
    }

    void wheelAdjustsByWholeMinutes_data()
    {
        QTest::addColumn<QList<int>>("angles");
        QTest::addColumn<QList<int>>("adjustments");
        QTest::newRow("two half notches make one minute") << QList<int>{60, 60} << QList<int>{60};
        QTest::newRow("one half notch does nothing") << QList<int>{60} << QList<int>{};
        QTest::newRow("a notch down") << QList<int>{-120} << QList<int>{-60};
        QTest::newRow("remainder is kept") << QList<int>{200, 40} << QList<int>{60, 60};
    }
    void wheelAdjustsByWholeMinutes()
    {
        QFETCH(QList<int>, angles);
        TimerPanel panel;
        auto *layout = new QVBoxLayout(&panel);
        auto *spin = new QSpinBox(&panel);
        spin->setRange(0, 1000);
        spin->setValue(500);
        auto *inner = new QWidget(&panel);
        auto *nested = new QPushButton(QStringLiteral("x"), inner);
        layout->addWidget(spin);
        layout->addWidget(inner);
        panel.watchChildren();
        QList<int> calls;
        panel.setAdjustCallback([&calls](int delta) { calls.append(delta); });
        panel.show();

        // Alternate between the panel, a direct child and a nested one: they share one count.
        QWidget *targets[] = {spin, &panel, nested};
        for (qsizetype i = 0; i < angles.size(); ++i)
            sendWheel(targets[i % 3], angles.at(i));
        QTEST(calls, "adjustments");
        QCOMPARE(spin->value(), 500);
    }

    void restylesOnlyWhenStateChanges()
    {
        TimerPanel panel;
        auto *label = new QLabel(QStringLiteral("10:00"), &panel);
        label->setObjectName(QStringLiteral("timer"));
        panel.setStyleSheet(QStringLiteral(
            "QWidget#timerBar[warning=\"30\"] QLabel#timer { color:#FF5252; }"
            "QWidget#timerBar[overtime=\"true\"] QLabel#timer { color:#FFEB3B; }"));
        panel.show();
        QCOMPARE(panel.property("overtime").metaType(), QMetaType::fromType<bool>());
        QCOMPARE(panel.property("overtime").toBool(), false);
        QCOMPARE(panel.property("warning").toString(), QString());
        const QColor plain = label->palette().color(QPalette::WindowText);

        QVERIFY(!panel.setDisplayState(false, QString()));
        QCOMPARE(panel.restyleCount(), 0);

        QVERIFY(panel.setDisplayState(false, QStringLiteral("30")));
        QCOMPARE(panel.restyleCount(), 1);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0xFF, 0x52, 0x52));
        QVERIFY(!panel.setDisplayState(false, QStringLiteral("30")));
        QCOMPARE(panel.restyleCount(), 1);

        QVERIFY(panel.setDisplayState(true, QString()));
        QCOMPARE(panel.property("overtime").metaType(), QMetaType::fromType<bool>());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0xFF, 0xEB, 0x3B));
        QVERIFY(panel.setDisplayState(false, QString()));
        QCOMPARE(label->palette().color(QPalette::WindowText), plain);
        QCOMPARE(panel.restyleCount(), 3);
    }

    void builtBarDrivesTheCountdown()
    {
        Countdown countdown;
        qint64 now = 0;
        countdown.setClock([&now] { return now; });
        std::unique_ptr<QWidget> bar(buildTimerBar(&countdown));
        bar->resize(520, 320);
        bar->show();
        QCOMPARE(bar->objectName(), QStringLiteral("timerBar"));
        auto *label = bar->findChild<TimerLabel *>(QStringLiteral("timer"));
        auto *start = bar->findChild<QPushButton *>(QStringLiteral("timerStart"));
        auto *reset = bar->findChild<QPushButton *>(QStringLiteral("timerReset"));
        auto *up = label ? label->findChild<ArrowButton *>(QStringLiteral("timerUp")) : nullptr;
        auto *down = label ? label->findChild<ArrowButton *>(QStringLiteral("timerDown")) : nullptr;
        QVERIFY(label && start && reset && up && down);
        QCOMPARE(label->text(), QStringLiteral("10:00"));
        QCOMPARE(start->text(), QStringLiteral("Start"));
        QCOMPARE(reset->text(), QStringLiteral("Reset"));
        for (const int minutes : {5, 10, 15, 20, 30, 40, 60}) {
            auto *preset = bar->findChild<QPushButton *>(QStringLiteral("timerPreset%1").arg(minutes));
            QVERIFY(preset);
            QCOMPARE(preset->text(), QString::number(minutes));
            QCOMPARE(preset->toolTip(), QStringLiteral("Set the presentation time to %1 minutes").arg(minutes));
            QCOMPARE(preset->focusPolicy(), Qt::NoFocus);
        }

        QTest::mouseClick(start, Qt::LeftButton);
        QVERIFY(countdown.isRunning());
        QCOMPARE(start->text(), QStringLiteral("Pause"));
        // The bar's own clock picks up the passing time.
        now += 510000;
        QTRY_COMPARE(label->text(), QStringLiteral("01:30"));
        QCOMPARE(bar->property("warning").toString(), QStringLiteral("90"));
        now += 91000;
        QTRY_COMPARE(label->text(), QStringLiteral("-00:01"));
        QCOMPARE(bar->property("overtime").toBool(), true);
        QCOMPARE(bar->property("warning").toString(), QString());

        QTest::mouseClick(bar->findChild<QPushButton *>(QStringLiteral("timerPreset15")), Qt::LeftButton);
        QCOMPARE(label->text(), QStringLiteral("15:00"));
        QCOMPARE(start->text(), QStringLiteral("Start"));
        QCOMPARE(bar->property("overtime").toBool(), false);

        QTest::mouseClick(up, Qt::LeftButton);
        QCOMPARE(label->text(), QStringLiteral("16:00"));
        QTest::mouseClick(down, Qt::LeftButton);
        QTest::mouseClick(down, Qt::LeftButton);
        QCOMPARE(label->text(), QStringLiteral("14:00"));
        sendWheel(reset, 120);
        QCOMPARE(label->text(), QStringLiteral("15:00"));
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->width() - 3, label->height() - 25));
        QCOMPARE(label->text(), QStringLiteral("14:50"));
        QCOMPARE(countdown.durationSeconds(), 890);

        QTest::mouseClick(start, Qt::LeftButton);
        now += 5000;
        QTest::mouseClick(reset, Qt::LeftButton);
        QVERIFY(!countdown.isRunning());
        QCOMPARE(label->text(), QStringLiteral("14:50"));
    }
};

OLVANTI_TEST_MAIN(TestTimerBar)
#include "tst_timerbar.moc"
