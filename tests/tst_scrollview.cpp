#include "pdfsupport.h"
#include "reader/scrolllayout.h"
#include "reader/scrollview.h"
#include "readersupport.h"
#include "testenv.h"

#include <QScrollBar>
#include <QTest>

#include <cmath>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Zoom 0.75 is one pixel per point, so letter pages are 612 x 792 slots and rows start at
// 804 * k (top margin 10, row gap 12).
constexpr double OnePixelPerPoint = 0.75;

struct Reader
{
    std::unique_ptr<PdfService> service;
    std::unique_ptr<ScrollView> view;

    // Loads a document and builds a view of `viewport` pixels, as the main window does.
    bool open(const QString &path, QSize viewport, bool show = true)
    {
        service = PdfTest::loadedService(path);
        view = std::make_unique<ScrollView>(service.get(), QStringLiteral("scroll"));
        QObject::connect(service.get(), &PdfService::rendered, view.get(),
                         [this](const QString &channel, int page, const QImage &image) {
                             if (channel.startsWith(QLatin1String("scroll:")))
                                 view->setPageImage(page, image);
                         });
        view->resize(viewport.width() + view->verticalScrollBar()->sizeHint().width(), viewport.height());
        view->resetDocument();
        view->setViewMode(2, OnePixelPerPoint, 0, false);
        if (!show)
            return true;
        return showAndWait(view.get()) && view->viewport()->size() == viewport;
    }

    void userScroll(int y) { view->verticalScrollBar()->setValue(y); }
};

} // namespace

Q_DECLARE_METATYPE(ScrollLayoutOptions)

class ScrollViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A screen step down (1) or up (-1) animates to where the rows put it; 0 is a line step down
    // and a wheel notch down while it animates, which extends the step's target.
    void stepScreen_data()
    {
        QTest::addColumn<QString>("row"); // "VIEWPORT-HEIGHT START DIRECTION -> END"
        // Six letter pages: row starts 0, 804, ..., 4020; content 4832 high.
        QTest::newRow("next page start on screen comes to the top") << u"800 704 1 -> 804"_s;
        QTest::newRow("next page start below the screen: 90 %") << u"800 0 1 -> 720"_s;
        QTest::newRow("last row: 90 %") << u"400 4020 1 -> 4380"_s;
        QTest::newRow("last row: limited by the range") << u"400 4100 1 -> 4432"_s;
        QTest::newRow("previous page start on screen") << u"800 900 -1 -> 804"_s;
        QTest::newRow("previous page start too far up: 90 %") << u"800 804 -1 -> 84"_s;
        QTest::newRow("a wheel notch while a line step animates") << u"800 0 0 -> 200"_s;
    }

    void stepScreen()
    {
        QFETCH(QString, row);
        const QStringList n = row.remove(u"-> "_s).split(u' ');
        const int start = n.at(1).toInt(), direction = n.at(2).toInt(), expected = n.at(3).toInt();
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(700, n.at(0).toInt())));
        reader.userScroll(start);
        if (direction == 0) {
            reader.view->stepLines(1);
            QVERIFY(ReaderTest::sendWheel(reader.view->viewport(), -120));
            QVERIFY(reader.view->scrollPosition() < 100.0);
        } else {
            reader.view->stepScreen(direction);
        }
        QVERIFY(reader.view->isAnimating());
        QTRY_VERIFY(!reader.view->isAnimating());
        QCOMPARE(reader.view->scrollPosition(), double(expected));
        QCOMPARE(reader.view->verticalScrollBar()->value(), expected);
    }

    void mirrorRepeatsTheReadersPlacePassivelyInBlack()
    {
        // A thousand letter pages: rows every 804 pixels, content 804008 pixels high.
        const QString doc = TestEnvironment::instance().textDocument(1000);
        Reader reader;
        Reader mirror;
        QVERIFY(reader.open(doc, QSize(700, 800))); // maximum 803208
        QVERIFY(mirror.open(doc, QSize(700, 400), false));
        mirror.view->setMirrorMode(true);
        mirror.view->resize(700, 400); // no scroll bars: maximum 803608

        const auto follow = [&](int y) {
            reader.userScroll(y);
            mirror.view->setPosition(reader.view->position());
            return mirror.view->scrollPosition();
        };
        // 100 pixels into the second-to-last page; applied when the hidden mirror shows.
        QCOMPARE(follow(998 * 804 + 100), 0.0);
        QVERIFY(showAndWait(mirror.view.get()));
        QCOMPARE(mirror.view->position().rowFraction, reader.view->position().rowFraction);
        // Only a reader within a pixel of its end sends the mirror to its own end.
        QCOMPARE(follow(803206), 803206.0);
        QCOMPARE(follow(803207), 803608.0);

        // Passive and black: the background, and the slot of a page whose image is not there yet.
        mirror.view->resetDocument();
        const QImage black = mirror.view->viewport()->grab().toImage();
        QCOMPARE(black.pixelColor(3, 3), QColor(Qt::black));
        QCOMPARE(black.pixelColor(350, 200), QColor(Qt::black));
        QVERIFY(!ReaderTest::sendWheel(mirror.view->viewport(), -120));
    }

    // The current page is the one whose row shows most; goToPage, spreads and zoom keep the place.
    void currentPageAndPlaceFollowScrollingAndViewModes()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(1300, 400), false));
        QSignalSpy changed(reader.view.get(), &ScrollView::currentPageChanged);
        // Asked while hidden, applied when shown.
        reader.view->goToPage(3, false);
        QCOMPARE(reader.view->scrollPosition(), 0.0);
        QVERIFY(showAndWait(reader.view.get()));
        QCOMPARE(reader.view->scrollPosition(), 3 * 804.0);

        // Spreads: page 3 is in the second row, which comes to the top; a row's first page is current.
        reader.view->setViewMode(2, OnePixelPerPoint, 0, true);
        QCOMPARE(reader.view->currentPage(), 3);
        QCOMPARE(reader.view->scrollPosition(), 804.0);
        // Rows 0 and 1 cover 10..802 and 814..1606; a 400-pixel viewport at 608 shows 194 of each.
        reader.userScroll(609);
        QCOMPARE(reader.view->currentPage(), 2);
        reader.view->setViewMode(2, OnePixelPerPoint, 0, false);
        QCOMPARE(reader.view->scrollPosition(), 2 * 804.0);
        reader.userScroll(609);
        QCOMPARE(reader.view->currentPage(), 1);
        reader.userScroll(608);
        QCOMPARE(reader.view->currentPage(), 0); // a tie goes to the upper row

        // A zoom change keeps the relative position within the row.
        reader.userScroll(804 + 402);
        QCOMPARE(reader.view->position().rowFraction, 1.5);
        reader.view->setViewMode(2, 2 * OnePixelPerPoint, 0, false);
        QCOMPARE(reader.view->position().rowFraction, 1.5);
        QVERIFY(reader.view->scrollPosition() > 2000.0);
        QCOMPARE(changed, (QList<QVariantList>{{3}, {2}, {1}, {0}, {1}}));
    }

    void rendersOnlyNearTheScreen()
    {
        Reader reader;
        // Rows every 804 pixels; a 900-pixel viewport shows two of them.
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(30), QSize(700, 900)));
        QSignalSpy failures(reader.service.get(), &PdfService::renderFailed);
        QTRY_COMPARE(reader.view->pageImageCount(), 3);
        QCOMPARE(reader.view->requestedSize(0), QSize(612, 792));

        // Hold the worker so the order of service shows the priorities.
        reader.service->render(QStringLiteral("blocker"), 29, QSize(1000, 1000), 0, RenderPriority::Output);
        QList<int> rendered;
        connect(reader.service.get(), &PdfService::rendered, this, [&rendered](const QString &channel, int page) {
            if (channel.startsWith(QLatin1String("scroll:")))
                rendered.append(page);
        });
        reader.view->goToPage(10, false);
        QTRY_COMPARE(rendered.size(), 4);
        // Visible pages 10 and 11 first (30), then the neighbours 9 and 12 (10).
        QCOMPARE(rendered, QList<int>({10, 11, 9, 12}));
        QCOMPARE(reader.view->pageImageCount(), 4);
        // Images are kept for the requested pages only, late replies included.
        reader.view->goToPage(12, false);
        QTRY_VERIFY(reader.view->hasPageImage(14));
        QCOMPARE(reader.view->pageImageCount(), 4);
        reader.view->setPageImage(10, QImage(8, 8, QImage::Format_RGB32));
        QVERIFY(!reader.view->hasPageImage(10));

        QCOMPARE(failures.size(), 0);
    }

    // Page rects and row starts, in content pixels; zoom 0.75 is one pixel per point. A page of
    // unknown size stands in as A4, turned with the rest.
    void layout_data()
    {
        QTest::addColumn<QList<QSizeF>>("pages");
        QTest::addColumn<ScrollLayoutOptions>("options");
        QTest::addColumn<QList<QRect>>("rects");
        QTest::addColumn<QList<int>>("rowStarts"); // then the content's height
        using O = ScrollLayoutOptions;
        const auto options = [](int zoomMode, int rotation, bool twoPages, QSize viewport) {
            return O{zoomMode, OnePixelPerPoint, rotation, twoPages, 10, 12, 6, viewport};
        };
        const QList<QSizeF> unknown{QSizeF(), QSizeF(300, 400), QSizeF(0, 500)};
        QTest::newRow("unknown sizes upright") << unknown << options(O::CustomZoom, 0, false, {1000, 800})
            << QList<QRect>{{202, 10, 595, 842}, {350, 864, 300, 400}, {202, 1276, 595, 842}} << QList<int>{0, 854, 1266, 2128};
        const QList<QRect> turned{{79, 10, 842, 595}, {300, 617, 400, 300}, {79, 929, 842, 595}};
        QTest::newRow("unknown sizes turned a quarter")
            << unknown << options(O::CustomZoom, 1, false, {1000, 800}) << turned << QList<int>{0, 607, 919, 1534};
        QTest::newRow("negative turn counts as three")
            << unknown << options(O::CustomZoom, -1, false, {1000, 800}) << turned << QList<int>{0, 607, 919, 1534};
        // The lone last page of a spread is scaled as if it had a partner of its own width and
        // centred under the spread above it; 6 pixels between partners.
        QTest::newRow("lone last page of a spread")
            << QList<QSizeF>(3, QSizeF(400, 600)) << options(O::FitWidth, 0, true, {1000, 800})
            << QList<QRect>{{10, 10, 487, 730}, {503, 10, 487, 730}, {256, 752, 487, 730}} << QList<int>{0, 742, 1492};
        // Limited by the height less the two margins, not by the width.
        QTest::newRow("fit page on a landscape viewport")
            << QList<QSizeF>(3, QSizeF(595, 842)) << options(O::FitPage, 0, false, {1200, 700})
            << QList<QRect>{{360, 10, 480, 680}, {360, 702, 480, 680}, {360, 1394, 480, 680}} << QList<int>{0, 692, 1384, 2084};
    }

    void layout()
    {
        QFETCH(QList<QSizeF>, pages);
        QFETCH(ScrollLayoutOptions, options);
        ScrollLayout layout;
        layout.build(pages, options);
        QList<QRect> rects;
        for (int page = 0; page < pages.size(); ++page)
            rects.append(layout.pageRect(page));
        QList<int> rowStarts;
        for (int row = 0; row < layout.rows().size(); ++row)
            rowStarts.append(layout.rowStart(row));
        QTEST(rects, "rects");
        QTEST(rowStarts << layout.contentHeight(), "rowStarts");
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

};

OLVANTI_TEST_MAIN(ScrollViewTest)
#include "tst_scrollview.moc"
