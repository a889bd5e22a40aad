#include "pdf/pdfservice.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "testenv.h"

#include <QSignalSpy>
#include <QTest>
#include <QVariantAnimation>

#include <functional>

namespace {

const QSize CanvasSize(400, 200);

QImage solid(const QColor &colour, const QSize &size = CanvasSize)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool near(QRgb pixel, const QColor &expected, int tolerance = 12)
{
    return qAbs(qRed(pixel) - expected.red()) <= tolerance && qAbs(qGreen(pixel) - expected.green()) <= tolerance
        && qAbs(qBlue(pixel) - expected.blue()) <= tolerance;
}

// Bounding box of the pixels that match.
QRect areaOf(const QImage &image, const std::function<bool(QRgb)> &match)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (match(image.pixel(x, y)))
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

// A shown canvas of CanvasSize; transitions only run on visible canvases.
struct ShownCanvas
{
    PageCanvas canvas;

    ShownCanvas()
    {
        canvas.resize(CanvasSize);
        canvas.show();
    }

    QVariantAnimation *animation() { return canvas.findChild<QVariantAnimation *>(); }

    // Holds the running transition at `ms` of its 1000 ms and paints it.
    QImage frameAt(int ms)
    {
        animation()->pause();
        animation()->setCurrentTime(ms);
        return canvas.grab().toImage();
    }

    // Red page, then an animated change to the blue page held at `ms`.
    QImage transitionAt(PageCanvas::Transition effect, int direction, int ms)
    {
        canvas.setTransition(effect, 1000);
        canvas.setImage(solid(Qt::red), false, 1);
        canvas.setImage(solid(Qt::blue), true, direction);
        return frameAt(ms);
    }
};

} // namespace

class TestPageCanvas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transitionPainting_data()
    {
        QTest::addColumn<PageCanvas::Transition>("effect");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("ms");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("expected");
        using T = PageCanvas::Transition;
        const QColor red(Qt::red), blue(Qt::blue);
        // InOutQuad: 250 ms of 1000 is progress 0.125, 500 ms is 0.5, 750 ms is 0.875.
        QTest::newRow("fade half-way mixes") << T::Fade << 1 << 500 << QPoint(200, 100) << QColor(128, 0, 128);
        QTest::newRow("dip early shows the darkened old page") << T::Dip << 1 << 250 << QPoint(200, 100) << QColor(191, 0, 0);
        QTest::newRow("dip at the middle is black") << T::Dip << 1 << 500 << QPoint(200, 100) << QColor(Qt::black);
        QTest::newRow("slide forward: old leaves to the left") << T::Slide << 1 << 500 << QPoint(100, 100) << red;
        QTest::newRow("slide backward: new enters from the left") << T::Slide << -1 << 500 << QPoint(100, 100) << blue;
        QTest::newRow("wipe forward reveals from the left edge") << T::Wipe << 1 << 500 << QPoint(100, 100) << blue;
        QTest::newRow("wipe forward keeps the old right side") << T::Wipe << 1 << 500 << QPoint(300, 100) << red;
        QTest::newRow("wipe backward reveals from the right edge") << T::Wipe << -1 << 500 << QPoint(300, 100) << blue;
        // At 0.125 the new page is 86.9 % wide (from x = 26) and 12.5 % opaque.
        QTest::newRow("zoom early: outside the small new page") << T::Zoom << 1 << 250 << QPoint(23, 100) << red;
        QTest::newRow("zoom early: inside the small new page") << T::Zoom << 1 << 250 << QPoint(29, 100) << QColor(223, 0, 32);
    }

    void transitionPainting()
    {
        QFETCH(PageCanvas::Transition, effect);
        QFETCH(int, direction);
        QFETCH(int, ms);
        QFETCH(QPoint, at);
        QFETCH(QColor, expected);
        ShownCanvas shown;
        const QColor pixel = shown.transitionAt(effect, direction, ms).pixelColor(at);
        QVERIFY2(near(pixel.rgb(), expected), qPrintable(pixel.name()));
    }

    void frameMidTransitionRestartsFromTheInterruptedTarget()
    {
        ShownCanvas shown;
        shown.transitionAt(PageCanvas::Transition::Slide, 1, 300);
        QVERIFY(shown.canvas.progress() > 0.0);
        shown.canvas.setImage(solid(Qt::green), true, 1);
        QCOMPARE(shown.canvas.progress(), 0.0);
        QCOMPARE(shown.animation()->state(), QAbstractAnimation::Running);
        QCOMPARE(shown.canvas.previousImage().pixel(0, 0), QColor(Qt::blue).rgb());
        const QImage grabbed = shown.frameAt(500);
        QVERIFY(near(grabbed.pixel(100, 100), Qt::blue));
        QVERIFY(near(grabbed.pixel(300, 100), Qt::green));
    }

    void changeIsImmediateWhenItCannotAnimate_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::newRow("effect none") << "none";
        QTest::newRow("negative duration, stored as zero") << "negative";
        QTest::newRow("hidden canvas") << "hidden";
        QTest::newRow("no image yet") << "first";
        QTest::newRow("null new image") << "null";
        QTest::newRow("not asked to animate") << "still";
    }

    void changeIsImmediateWhenItCannotAnimate()
    {
        QFETCH(QString, reason);
        ShownCanvas shown;
        using T = PageCanvas::Transition;
        shown.canvas.setTransition(reason == u"none" ? T::None : T::Fade, reason == u"negative" ? -10 : 1000);
        if (reason != u"first")
            shown.canvas.setImage(solid(Qt::red), false, 1);
        if (reason == u"hidden")
            shown.canvas.hide();
        const QImage next = reason == u"null" ? QImage() : solid(Qt::blue);
        shown.canvas.setImage(next, reason != u"still", 1);
        QCOMPARE(shown.canvas.progress(), 1.0);
        QVERIFY(shown.canvas.previousImage().isNull());
        QCOMPARE(shown.animation()->state(), QAbstractAnimation::Stopped);
    }

    void blackoutPaintsBlackWithTheOverlayBoxOfTwoLines()
    {
        ShownCanvas shown;
        shown.canvas.setImage(solid(Qt::red), false, 1);
        shown.canvas.setBlackout(true);
        const auto grabWith = [&](const QString &text) {
            shown.canvas.setOverlayMessage(text);
            return shown.canvas.grab().toImage();
        };
        const QImage grabbed = grabWith(QStringLiteral("BLACKOUT\nexternal display is blank"));
        QCOMPARE(grabbed.pixel(2, 2), qRgb(0, 0, 0));
        // The dark red box (its fill over black) holds the yellow title; no page shows.
        QVERIFY(areaOf(grabbed, [](QRgb p) { return near(p, QColor(94, 8, 8), 4); }).contains(QPoint(200, 100)));
        QVERIFY(!areaOf(grabbed, [](QRgb p) { return near(p, QColor(0xFF, 0xEB, 0x3B), 30); }).isEmpty());
        QVERIFY(areaOf(grabbed, [](QRgb p) { return near(p, Qt::red, 10); }).isEmpty());
        // A third line is not shown; the second is.
        QCOMPARE(grabWith(QStringLiteral("BLACKOUT\nexternal display is blank\nthird line that would widen the box")), grabbed);
        QVERIFY(grabWith(QStringLiteral("BLACKOUT")) != grabbed);
    }

    void onePlaceholderCharacterSizesLikeTwo()
    {
        PageCanvas canvas;
        canvas.resize(200, 400);
        const auto glyphHeight = [&](const QString &text) {
            canvas.setPlaceholderText(text);
            // The title colour, antialiased against black.
            return areaOf(canvas.grab().toImage(), [](QRgb p) { return qGreen(p) > 60 && qRed(p) < qGreen(p) / 2; }).height();
        };
        const int two = glyphHeight(QStringLiteral("II"));
        QVERIFY(two > 0);
        QCOMPARE(glyphHeight(QStringLiteral("I")), two);
        QVERIFY(glyphHeight(QStringLiteral("III")) < two);
    }

    void highlightBoxesCoverTheGlyphs_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::newRow("upright") << 0;
        QTest::newRow("quarter turn") << 1;
        QTest::newRow("upside down") << 2;
        QTest::newRow("three quarters") << 3;
        QTest::newRow("minus one is three quarters") << -1;
    }

    void highlightBoxesCoverTheGlyphs()
    {
        QFETCH(int, rotation);
        PdfService service;
        service.load(TestEnvironment::instance().textDocument(3));
        QTRY_COMPARE(service.pageCount(), 3);
        QSignalSpy found(&service, &PdfService::searchFinished);
        QSignalSpy updated(&service, &PdfService::searchHitsUpdated);
        QSignalSpy rendered(&service, &PdfService::rendered);
        service.search(QStringLiteral("pagemarker2"));
        service.render(QStringLiteral("reader"), 1, QSize(600, 600), rotation, RenderPriority::Reader);
        QTRY_VERIFY(found.size() == 1 && rendered.size() == 1);
        service.findHitRects(1);
        QTRY_COMPARE(updated.size(), 1);
        const QList<SearchHit> hits = updated.at(0).at(0).value<QList<SearchHit>>();
        QCOMPARE(hits.size(), 1);
        const QImage page = rendered.at(0).at(2).value<QImage>();

        PageCanvas canvas;
        canvas.resize(page.size());
        canvas.setImage(page, false, 1);
        canvas.setHighlights(hits.at(0).rects, service.pageSize(1), rotation);
        // The page is black on white, so anything orange is a box.
        const QRect box = areaOf(canvas.grab().toImage(), [](QRgb p) { return qRed(p) - qBlue(p) > 60; });
        QVERIFY(!box.isEmpty());
        QVERIFY(box.width() * box.height() < page.width() * page.height() / 50);
        // One line of text: long along the reading direction, which turns with the page.
        QCOMPARE(box.width() > box.height(), rotation % 2 == 0);
        // It sits on the word: the ink inside spans nearly the whole box.
        const QRect ink = areaOf(page.copy(box), [](QRgb p) { return qGray(p) < 100; });
        QVERIFY(ink.width() * ink.height() * 4 >= box.width() * box.height() * 3);
    }

    void outputWindowClosedByTheWindowSystemOnlyHides()
    {
        OutputWindow window;
        QCOMPARE(window.cursor().shape(), Qt::BlankCursor);
        QSignalSpy dismissed(&window, &OutputWindow::dismissed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
        QCOMPARE(dismissed.size(), 1);
        QVERIFY(!window.isVisible());
    }
};

OLVANTI_TEST_MAIN(TestPageCanvas)
#include "tst_pagecanvas.moc"
