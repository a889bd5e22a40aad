#include "reader/scrolllayout.h"
#include "reader/scrollspring.h"
#include "testenv.h"

#include <QTest>

#include <cmath>

class ScrollViewLayoutTest : public QObject
{
    Q_OBJECT

private:
    static ScrollLayoutOptions customZoom(double zoom, QSize viewport = QSize(1000, 800))
    {
        ScrollLayoutOptions options;
        options.zoomMode = ScrollLayoutOptions::CustomZoom;
        options.zoom = zoom;
        options.viewport = viewport;
        return options;
    }

private Q_SLOTS:
    void unknownPageSize_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QSize>("unknownSlot");
        QTest::addColumn<QSize>("knownSlot");
        // Zoom 0.75 is exactly one pixel per point.
        QTest::newRow("upright") << 0 << QSize(595, 842) << QSize(300, 400);
        QTest::newRow("quarter turn") << 1 << QSize(842, 595) << QSize(400, 300);
        QTest::newRow("negative turn counts as three") << -1 << QSize(842, 595) << QSize(400, 300);
    }

    void unknownPageSize()
    {
        QFETCH(int, rotation);
        QFETCH(QSize, unknownSlot);
        QFETCH(QSize, knownSlot);
        ScrollLayoutOptions options = customZoom(0.75);
        options.rotation = rotation;
        ScrollLayout layout;
        layout.build({QSizeF(), QSizeF(300, 400), QSizeF(0, 500)}, options);
        QCOMPARE(layout.pageRect(0).size(), unknownSlot);
        QCOMPARE(layout.pageRect(1).size(), knownSlot);
        QCOMPARE(layout.pageRect(2).size(), unknownSlot);
    }

    void loneLastPageOfSpread()
    {
        ScrollLayoutOptions options;
        options.zoomMode = ScrollLayoutOptions::FitWidth;
        options.twoPages = true;
        options.viewport = QSize(1000, 800);
        ScrollLayout layout;
        layout.build(QList<QSizeF>(3, QSizeF(400, 600)), options);

        QCOMPARE(layout.rows().size(), 2);
        QCOMPARE(layout.rows().at(0).count, 2);
        QCOMPARE(layout.rows().at(1).count, 1);
        // Scaled as if it had a partner of its own width...
        QCOMPARE(layout.pageScale(2), layout.pageScale(0));
        QCOMPARE(layout.pageRect(2).size(), layout.pageRect(0).size());
        // ...and centred under the spread above it.
        const QRect left = layout.pageRect(0);
        const QRect right = layout.pageRect(1);
        QCOMPARE(right.left() - left.right() - 1, 6);
        QVERIFY(std::abs(layout.pageRect(2).center().x() - (left.left() + right.right()) / 2) <= 1);
        QVERIFY(std::abs(layout.pageRect(2).center().x() - 500) <= 1);
    }

    void fitPageOnLandscapeViewport()
    {
        ScrollLayoutOptions options;
        options.zoomMode = ScrollLayoutOptions::FitPage;
        options.viewport = QSize(1200, 700);
        ScrollLayout layout;
        layout.build(QList<QSizeF>(3, QSizeF(595, 842)), options);
        for (int page = 0; page < 3; ++page) {
            // Limited by the height less the two margins, not by the width.
            QCOMPARE(layout.pageRect(page).height(), 680);
            QVERIFY(layout.pageRect(page).width() < 1180);
        }
        // Row starts leave the margin above each page.
        QCOMPARE(layout.rowStart(0), 0);
        QCOMPARE(layout.rowStart(1), 680 + 12);
        QCOMPARE(layout.contentHeight(), 3 * 680 + 2 * 12 + 20);
    }

    void springSettles_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("target");
        QTest::newRow("one wheel notch") << 0.0 << 100.0;
        QTest::newRow("long way down") << 0.0 << 3000.0;
        QTest::newRow("short way up") << 500.0 << 380.0;
    }

    void springSettles()
    {
        QFETCH(double, start);
        QFETCH(double, target);
        ScrollSpring spring;
        spring.start(start);
        spring.setTarget(target);
        const double direction = target > start ? 1.0 : -1.0;
        double position = start;
        int ticks = 0;
        bool settled = false;
        while (!settled && ticks < 1000) {
            settled = spring.advance(position, 0.008, 10000.0);
            ++ticks;
            // Critically damped: never beyond the target.
            QVERIFY2((position - target) * direction < 0.3, qPrintable(QString::number(position)));
        }
        QVERIFY(settled);
        QVERIFY2(ticks < 125, qPrintable(QString::number(ticks))); // within a second of 8 ms ticks
        QVERIFY(std::abs(position - target) < 0.3);
    }

    void springStepIsBounded()
    {
        ScrollSpring stalled;
        ScrollSpring capped;
        ScrollSpring tiny;
        ScrollSpring minimal;
        for (ScrollSpring *spring : {&stalled, &capped, &tiny, &minimal}) {
            spring->start(0.0);
            spring->setTarget(1000.0);
        }
        double a = 0.0;
        double b = 0.0;
        double c = 0.0;
        double d = 0.0;
        // A stalled event loop does not make the page jump.
        stalled.advance(a, 10.0, 5000.0);
        capped.advance(b, ScrollSpring::MaxStep, 5000.0);
        QCOMPARE(a, b);
        QVERIFY(a < 1000.0);
        tiny.advance(c, 0.0, 5000.0);
        minimal.advance(d, ScrollSpring::MinStep, 5000.0);
        QCOMPARE(c, d);
        QVERIFY(c > 0.0);
    }

    void springStaysInRange()
    {
        // The range may be shorter than the target, e.g. after the document shrank.
        ScrollSpring spring;
        spring.start(0.0);
        spring.setTarget(1000.0);
        double position = 0.0;
        double highest = 0.0;
        for (int tick = 0; tick < 200; ++tick) {
            QVERIFY(!spring.advance(position, 0.008, 600.0));
            highest = std::max(highest, position);
        }
        QCOMPARE(highest, 600.0);
    }
};

OLVANTI_TEST_MAIN(ScrollViewLayoutTest)
#include "tst_scrollview_layout.moc"
