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

    // Holds the running transition, if any, at `ms` of its 1000 ms and paints it.
    QImage frameAt(int ms)
    {
        if (animation()->state() != QAbstractAnimation::Running)
            return canvas.grab().toImage();
        animation()->pause();
        animation()->setCurrentTime(ms);
        return canvas.grab().toImage();
    }
};

} // namespace

class TestPageCanvas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A change from the red page to the blue one held at `ms` of its 1000 ms transition, and the
    // colour at `at`. A change that cannot animate shows the new page at once.
    void pageChangePainting_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<PageCanvas::Transition>("effect");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("ms");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("expected");
        using T = PageCanvas::Transition;
        const auto row = [](const char *name, const char *setup, T effect, int direction, int ms, QPoint at,
                            const QColor &expected) {
            QTest::newRow(name) << QString::fromLatin1(setup) << effect << direction << ms << at << expected;
        };
        const QColor red(Qt::red), blue(Qt::blue), black(Qt::black);
        const QPoint middle(200, 100), left(100, 100), right(300, 100);
        // InOutQuad: 250 ms of 1000 is progress 0.125, 500 ms is 0.5.
        row("fade half-way mixes", "", T::Fade, 1, 500, middle, QColor(128, 0, 128));
        row("dip early shows the darkened old page", "", T::Dip, 1, 250, middle, QColor(191, 0, 0));
        row("dip at the middle is black", "", T::Dip, 1, 500, middle, black);
        row("slide forward: old leaves to the left", "", T::Slide, 1, 500, left, red);
        row("slide backward: new enters from the left", "", T::Slide, -1, 500, left, blue);
        row("wipe forward reveals from the left edge", "", T::Wipe, 1, 500, left, blue);
        row("wipe forward keeps the old right side", "", T::Wipe, 1, 500, right, red);
        row("wipe backward reveals from the right edge", "", T::Wipe, -1, 500, right, blue);
        // At 0.125 the new page is 86.9 % wide (from x = 26) and 12.5 % opaque.
        row("zoom early: outside the small new page", "", T::Zoom, 1, 250, QPoint(23, 100), red);
        row("zoom early: inside the small new page", "", T::Zoom, 1, 250, QPoint(29, 100), QColor(223, 0, 32));
        // A cut mid-slide (at 300 ms) to a green page: the blue page it interrupted leaves.
        row("a cut mid-transition leaves from its target", "cut", T::Slide, 1, 500, left, blue);
        row("a cut mid-transition enters the new page", "cut", T::Slide, 1, 500, right, Qt::green);
        row("effect none", "", T::None, 1, 500, middle, blue);
        row("negative duration, stored as zero", "negative", T::Fade, 1, 500, middle, blue);
        row("hidden canvas", "hidden", T::Fade, 1, 500, middle, blue);
        row("no image yet", "first", T::Fade, 1, 500, middle, blue);
        row("null new image", "null", T::Fade, 1, 500, middle, black);
        row("not asked to animate", "still", T::Fade, 1, 500, middle, blue);
    }

    void pageChangePainting()
    {
        QFETCH(QString, setup);
        QFETCH(PageCanvas::Transition, effect);
        QFETCH(int, direction);
        QFETCH(int, ms);
        QFETCH(QPoint, at);
        QFETCH(QColor, expected);
        ShownCanvas shown;
        shown.canvas.setTransition(effect, setup == u"negative" ? -10 : 1000);
        if (setup != u"first")
            shown.canvas.setImage(solid(Qt::red), false, 1);
        if (setup == u"hidden")
            shown.canvas.hide();
        if (setup == u"cut") {
            shown.canvas.setImage(solid(Qt::blue), true, direction);
            shown.frameAt(300);
        }
        shown.canvas.setImage(setup == u"null" ? QImage() : solid(setup == u"cut" ? Qt::green : Qt::blue),
                              setup != u"still", direction);
        const bool immediate = effect == PageCanvas::Transition::None || (!setup.isEmpty() && setup != u"cut");
        QCOMPARE(shown.animation()->state() == QAbstractAnimation::Running, !immediate);
        QCOMPARE(shown.canvas.progress(), immediate ? 1.0 : 0.0);
        const QColor pixel = shown.frameAt(ms).pixelColor(at);
        QVERIFY2(near(pixel.rgb(), expected), qPrintable(pixel.name()));
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
