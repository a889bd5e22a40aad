#include "pdf/pdfservice.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "testenv.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVariantAnimation>

namespace {

const QSize CanvasSize(400, 200);

QImage solid(const QColor &colour, const QSize &size = CanvasSize)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool near(QRgb pixel, int red, int green, int blue, int tolerance = 12)
{
    return qAbs(qRed(pixel) - red) <= tolerance && qAbs(qGreen(pixel) - green) <= tolerance
        && qAbs(qBlue(pixel) - blue) <= tolerance;
}

bool isDark(QRgb pixel)
{
    return qGray(pixel) < 100;
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

    // Holds the running transition at `ms` of its 1000 ms.
    void freezeAt(int ms)
    {
        animation()->pause();
        animation()->setCurrentTime(ms);
    }

    // Red page, then an animated change to the blue page held at `ms`.
    QImage transitionAt(PageCanvas::Transition effect, int direction, int ms)
    {
        canvas.setTransition(effect, 1000);
        canvas.setImage(solid(Qt::red), false, 1);
        canvas.setImage(solid(Qt::blue), true, direction);
        freezeAt(ms);
        return canvas.grab().toImage();
    }
};

QRect changedArea(const QImage &a, const QImage &b)
{
    QRect area;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QRect areaOfColour(const QImage &image, const std::function<bool(QRgb)> &match)
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

bool isPlaceholderTitle(QRgb pixel)
{
    return qGreen(pixel) > 60 && qRed(pixel) < qGreen(pixel) / 2;
}

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
        const QColor red(255, 0, 0), blue(0, 0, 255), black(0, 0, 0), mixed(128, 0, 128);
        // InOutQuad: 250 ms of 1000 is progress 0.125, 500 ms is 0.5, 750 ms is 0.875.
        QTest::newRow("fade half-way mixes") << T::Fade << 1 << 500 << QPoint(200, 100) << mixed;
        QTest::newRow("dip early shows the darkened old page") << T::Dip << 1 << 250 << QPoint(200, 100) << QColor(191, 0, 0);
        QTest::newRow("dip at the middle is black") << T::Dip << 1 << 500 << QPoint(200, 100) << black;
        QTest::newRow("dip late shows the new page rising") << T::Dip << 1 << 750 << QPoint(200, 100) << QColor(0, 0, 191);
        QTest::newRow("slide forward: old leaves to the left") << T::Slide << 1 << 500 << QPoint(100, 100) << red;
        QTest::newRow("slide forward: new enters from the right") << T::Slide << 1 << 500 << QPoint(300, 100) << blue;
        QTest::newRow("slide backward: new enters from the left") << T::Slide << -1 << 500 << QPoint(100, 100) << blue;
        QTest::newRow("slide backward: old leaves to the right") << T::Slide << -1 << 500 << QPoint(300, 100) << red;
        QTest::newRow("slide forward early: old still fills the left") << T::Slide << 1 << 250 << QPoint(340, 100) << red;
        QTest::newRow("wipe forward reveals from the left edge") << T::Wipe << 1 << 500 << QPoint(100, 100) << blue;
        QTest::newRow("wipe forward keeps the old right side") << T::Wipe << 1 << 500 << QPoint(300, 100) << red;
        QTest::newRow("wipe backward reveals from the right edge") << T::Wipe << -1 << 500 << QPoint(300, 100) << blue;
        QTest::newRow("wipe backward keeps the old left side") << T::Wipe << -1 << 500 << QPoint(100, 100) << red;
        // At 0.5 the new page is 92.5 % of the canvas: from x = 15 to 385.
        QTest::newRow("zoom: old page alone outside the grown page") << T::Zoom << 1 << 500 << QPoint(10, 100) << red;
        QTest::newRow("zoom: new page fades in at the centre") << T::Zoom << 1 << 500 << QPoint(200, 100) << mixed;
        QTest::newRow("zoom: grown page reaches its 92.5 % edge") << T::Zoom << 1 << 500 << QPoint(17, 100) << mixed;
        // At 0.125 the new page is 86.9 % wide (from x = 26) and 12.5 % opaque.
        QTest::newRow("zoom early: outside the small new page") << T::Zoom << 1 << 250 << QPoint(23, 100) << red;
        QTest::newRow("zoom early: inside the small new page") << T::Zoom << 1 << 250 << QPoint(29, 100) << QColor(223, 0, 32);
        QTest::newRow("zoom late: nearly full size") << T::Zoom << 1 << 750 << QPoint(8, 100) << QColor(32, 0, 223);
    }

    void transitionPainting()
    {
        QFETCH(PageCanvas::Transition, effect);
        QFETCH(int, direction);
        QFETCH(int, ms);
        QFETCH(QPoint, at);
        QFETCH(QColor, expected);
        ShownCanvas shown;
        const QImage grabbed = shown.transitionAt(effect, direction, ms);
        const QRgb pixel = grabbed.pixel(at);
        QVERIFY2(near(pixel, expected.red(), expected.green(), expected.blue()),
                 qPrintable(QStringLiteral("pixel %1,%2,%3").arg(qRed(pixel)).arg(qGreen(pixel)).arg(qBlue(pixel))));
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
        shown.freezeAt(500);
        const QImage grabbed = shown.canvas.grab().toImage();
        QVERIFY(near(grabbed.pixel(100, 100), 0, 0, 255));
        QVERIFY(near(grabbed.pixel(300, 100), 0, 255, 0));
    }

    void transitionDurationIsClamped_data()
    {
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("stored");
        QTest::newRow("above the limit") << 5000 << 3000;
        QTest::newRow("at the limit") << 3000 << 3000;
        QTest::newRow("negative") << -10 << 0;
        QTest::newRow("one millisecond") << 1 << 1;
    }

    void transitionDurationIsClamped()
    {
        QFETCH(int, ms);
        QFETCH(int, stored);
        ShownCanvas shown;
        shown.canvas.setTransition(PageCanvas::Transition::Wipe, ms);
        QCOMPARE(shown.canvas.duration(), stored);
        QCOMPARE(shown.canvas.transition(), PageCanvas::Transition::Wipe);
        shown.canvas.setImage(solid(Qt::red), false, 1);
        shown.canvas.setImage(solid(Qt::blue), true, 1);
        QCOMPARE(shown.canvas.previousImage().isNull(), stored == 0);
    }

    void changeIsImmediateWhenItCannotAnimate_data()
    {
        QTest::addColumn<QString>("reason");
        QTest::newRow("effect none") << "none";
        QTest::newRow("zero duration") << "zero";
        QTest::newRow("hidden canvas") << "hidden";
        QTest::newRow("no image yet") << "first";
        QTest::newRow("null new image") << "null";
        QTest::newRow("not asked to animate") << "still";
    }

    void changeIsImmediateWhenItCannotAnimate()
    {
        QFETCH(QString, reason);
        ShownCanvas shown;
        shown.canvas.setTransition(reason == QLatin1String("none") ? PageCanvas::Transition::None
                                                                   : PageCanvas::Transition::Fade,
                                   reason == QLatin1String("zero") ? 0 : 1000);
        if (reason != QLatin1String("first"))
            shown.canvas.setImage(solid(Qt::red), false, 1);
        if (reason == QLatin1String("hidden"))
            shown.canvas.hide();
        const QImage next = reason == QLatin1String("null") ? QImage() : solid(Qt::blue);
        shown.canvas.setImage(next, reason != QLatin1String("still"), 1);
        QCOMPARE(shown.canvas.progress(), 1.0);
        QVERIFY(shown.canvas.previousImage().isNull());
        QCOMPARE(shown.animation()->state(), QAbstractAnimation::Stopped);
        QCOMPARE(shown.canvas.image(), next);
    }

    void blackoutPaintsBlackWithTheOverlayBox()
    {
        ShownCanvas shown;
        shown.canvas.setImage(solid(Qt::red), false, 1);
        shown.canvas.setBlackout(true);
        shown.canvas.setOverlayMessage(QStringLiteral("BLACKOUT\nexternal display is blank"));
        const QImage grabbed = shown.canvas.grab().toImage();
        QVERIFY(near(grabbed.pixel(2, 2), 0, 0, 0, 0));
        const QRect box = areaOfColour(grabbed, [](QRgb p) { return near(p, 94, 8, 8, 4); });
        QVERIFY(!box.isEmpty());
        QVERIFY(box.contains(QPoint(200, 100)));
        QVERIFY(areaOfColour(grabbed, [](QRgb p) { return near(p, 255, 0, 0, 10); }).isEmpty());
        QVERIFY(!areaOfColour(grabbed, [](QRgb p) { return near(p, 0xFF, 0xEB, 0x3B, 30); }).isEmpty());
    }

    void overlayShowsTwoLinesAtMost()
    {
        ShownCanvas shown;
        shown.canvas.setImage(solid(Qt::darkGray), false, 1);
        const auto grabWith = [&](const char *text) {
            shown.canvas.setOverlayMessage(QString::fromLatin1(text));
            return shown.canvas.grab().toImage();
        };
        const QImage one = grabWith("TITLE");
        const QImage two = grabWith("TITLE\nsecond");
        const QImage three = grabWith("TITLE\nsecond\nthird line that would widen the box");
        QVERIFY(one != two);
        QCOMPARE(three, two);
    }

    void onePlaceholderCharacterSizesLikeTwo()
    {
        PageCanvas canvas;
        canvas.resize(200, 400);
        const auto glyphHeight = [&](const char *text) {
            canvas.setPlaceholderText(QString::fromLatin1(text));
            return areaOfColour(canvas.grab().toImage(), isPlaceholderTitle).height();
        };
        const int one = glyphHeight("I");
        const int two = glyphHeight("II");
        const int three = glyphHeight("III");
        QVERIFY(one > 0);
        QCOMPARE(one, two);
        QVERIFY(three < two);
    }

    void scaling_data()
    {
        QTest::addColumn<bool>("fitWidth");
        QTest::addColumn<bool>("alignTop");
        QTest::addColumn<QColor>("top");
        QTest::addColumn<QColor>("bottom");
        QTest::addColumn<bool>("blackSides");
        const QColor green(0, 255, 0), blue(0, 0, 255), yellow(255, 255, 0);
        QTest::newRow("fit page shows the whole page with black sides") << false << false << green << yellow << true;
        QTest::newRow("fit width centred cuts top and bottom") << true << false << blue << blue << false;
        QTest::newRow("fit width aligned top cuts only the bottom") << true << true << green << blue << false;
    }

    void scaling()
    {
        QFETCH(bool, fitWidth);
        QFETCH(bool, alignTop);
        QFETCH(QColor, top);
        QFETCH(QColor, bottom);
        QFETCH(bool, blackSides);
        // A portrait page: green top band, yellow bottom band, blue between.
        QImage page = solid(Qt::blue, QSize(100, 200));
        {
            QPainter painter(&page);
            painter.fillRect(0, 0, 100, 20, Qt::green);
            painter.fillRect(0, 180, 100, 20, Qt::yellow);
        }
        PageCanvas canvas;
        canvas.resize(CanvasSize);
        canvas.setFitWidth(fitWidth);
        canvas.setAlignTop(alignTop);
        canvas.setImage(page, false, 1);
        const QImage grabbed = canvas.grab().toImage();
        QVERIFY(near(grabbed.pixel(200, 1), top.red(), top.green(), top.blue()));
        QVERIFY(near(grabbed.pixel(200, 198), bottom.red(), bottom.green(), bottom.blue()));
        QCOMPARE(near(grabbed.pixel(2, 100), 0, 0, 0, 0), blackSides);
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
        QSignalSpy loaded(&service, &PdfService::loaded);
        service.load(TestEnvironment::instance().textDocument(3));
        QTRY_COMPARE(loaded.size(), 1);
        QSignalSpy found(&service, &PdfService::searchFinished);
        service.search(QStringLiteral("pagemarker2"));
        QTRY_COMPARE(found.size(), 1);
        const QList<SearchHit> hits = found.at(0).at(0).value<QList<SearchHit>>();
        QCOMPARE(hits.size(), 1);
        QSignalSpy rendered(&service, &PdfService::rendered);
        service.render(QStringLiteral("reader"), 1, QSize(600, 600), rotation, 30);
        QTRY_COMPARE(rendered.size(), 1);
        const QImage page = rendered.at(0).at(2).value<QImage>();

        PageCanvas canvas;
        canvas.resize(page.size());
        canvas.setImage(page, false, 1);
        const QImage plain = canvas.grab().toImage();
        canvas.setHighlights(hits.at(0).rects, service.pageSize(1), rotation);
        const QRect box = changedArea(plain, canvas.grab().toImage());
        QVERIFY(!box.isEmpty());
        QVERIFY(box.width() * box.height() < page.width() * page.height() / 50);
        // One line of text: long along the reading direction, which turns with the page.
        QCOMPARE(box.width() > box.height(), rotation % 2 == 0);
        int dark = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x)
                dark += isDark(plain.pixel(x, y)) ? 1 : 0;
        }
        QVERIFY2(dark > 30, qPrintable(QString::number(dark)));
    }

    void outputWindowClosedByTheWindowSystemOnlyHides()
    {
        OutputWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Olvanti - Presentation Output"));
        QVERIFY(window.isWindow());
        QCOMPARE(window.cursor().shape(), Qt::BlankCursor);
        QSignalSpy dismissed(&window, &OutputWindow::dismissed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
        QCOMPARE(dismissed.size(), 1);
        QVERIFY(!window.isVisible());
        // Still usable: it shows again.
        window.show();
        QVERIFY(window.isVisible());
    }
};

OLVANTI_TEST_MAIN(TestPageCanvas)
#include "tst_pagecanvas.moc"
