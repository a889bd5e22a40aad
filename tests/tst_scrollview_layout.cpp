#include "pdf/pdfservice.h"
#include "pdfsupport.h"
#include "reader/scrolllayout.h"
#include "reader/scrollview.h"
#include "testenv.h"

#include <QTest>

#include <cmath>

class ScrollViewLayoutTest : public QObject
{
    Q_OBJECT

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
        ScrollLayoutOptions options;
        options.zoomMode = ScrollLayoutOptions::CustomZoom;
        options.zoom = 0.75;
        options.rotation = rotation;
        options.viewport = QSize(1000, 800);
        ScrollLayout layout;
        layout.build({QSizeF(), QSizeF(300, 400), QSizeF(0, 500)}, options);
        QCOMPARE(layout.pageRect(0).size(), unknownSlot);
        QCOMPARE(layout.pageRect(1).size(), knownSlot);
        QCOMPARE(layout.pageRect(2).size(), unknownSlot);
    }

    void slotsFollowSizesArrivingAfterLoad()
    {
        PdfService service;
        ScrollView view(&service, QStringLiteral("scroll"));
        view.resize(600, 500);
        view.show();
        QSize standInSlot;
        connect(&service, &PdfService::loaded, this, [&] {
            view.resetDocument();
            view.goToPage(30, false);
            standInSlot = view.pageLayout().pageRect(20).size();
        });
        service.load(PdfTest::mixedSizeDocument());
        QTRY_VERIFY(service.pageCount() > 0 && service.allPageSizesKnown());
        // Laid out at first as the first page (portrait letter), now as the pages are.
        QVERIFY(std::abs(standInSlot.width() * 792.0 / standInSlot.height() - 612.0) < 3.0);
        const QRect odd = view.pageLayout().pageRect(20);
        QVERIFY(std::abs(odd.width() * 400.0 / odd.height() - 300.0) < 3.0);
        const QRect wide = view.pageLayout().pageRect(30);
        QVERIFY(std::abs(wide.width() * 540.0 / wide.height() - 960.0) < 3.0);
        QCOMPARE(view.currentPage(), 30);
    }

    void loneLastPageOfSpread()
    {
        ScrollLayoutOptions options;
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
};

OLVANTI_TEST_MAIN(ScrollViewLayoutTest)
#include "tst_scrollview_layout.moc"
