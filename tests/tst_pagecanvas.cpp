#include "pdfsupport.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "readersupport.h"
#include "testenv.h"

#include <QMetaEnum>
#include <QRegularExpression>
#include <QTest>
#include <QVariantAnimation>

using namespace Qt::StringLiterals;
using namespace ReaderTest;

namespace {

const QSize CanvasSize(400, 200);

QImage solid(const QColor &colour)
{
    QImage image(CanvasSize, QImage::Format_RGB32);
    image.fill(colour);
    return image;
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
        if (animation()->state() == QAbstractAnimation::Running) {
            animation()->pause();
            animation()->setCurrentTime(ms);
        }
        return canvas.grab().toImage();
    }
};

} // namespace

class TestPageCanvas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // "[setup] effect direction ms x -> colour": a change from the red page to the blue one, held at
    // `ms` of its 1000 ms transition, and the colour at (x, 100). One that cannot animate shows at once.
    void pageChangePainting_data()
    {
        QTest::addColumn<QString>("run");
        // InOutQuad: 250 ms of 1000 is progress 0.125, 500 ms is 0.5.
        QTest::newRow("fade half-way mixes") << u"Fade 1 500 200 -> purple"_s;
        QTest::newRow("dip early shows the darkened old page") << u"Dip 1 250 200 -> #bf0000"_s;
        QTest::newRow("dip at the middle is black") << u"Dip 1 500 200 -> black"_s;
        QTest::newRow("slide forward: old leaves to the left") << u"Slide 1 500 100 -> red"_s;
        QTest::newRow("slide backward: new enters from the left") << u"Slide -1 500 100 -> blue"_s;
        QTest::newRow("wipe forward reveals from the left edge") << u"Wipe 1 500 100 -> blue"_s;
        QTest::newRow("wipe forward keeps the old right side") << u"Wipe 1 500 300 -> red"_s;
        QTest::newRow("wipe backward reveals from the right edge") << u"Wipe -1 500 300 -> blue"_s;
        // At 0.125 the new page is 86.9 % wide (from x = 26) and 12.5 % opaque.
        QTest::newRow("zoom early: outside the small new page") << u"Zoom 1 250 23 -> red"_s;
        QTest::newRow("zoom early: inside the small new page") << u"Zoom 1 250 29 -> #df0020"_s;
        // A cut mid-slide (at 300 ms) to a green page: the blue page it interrupted leaves.
        QTest::newRow("a cut mid-transition leaves from its target") << u"cut Slide 1 500 100 -> blue"_s;
        QTest::newRow("a cut mid-transition enters the new page") << u"cut Slide 1 500 300 -> lime"_s;
        QTest::newRow("effect none") << u"None 1 500 200 -> blue"_s;
        QTest::newRow("negative duration, stored as zero") << u"negative Fade 1 500 200 -> blue"_s;
        QTest::newRow("hidden canvas") << u"hidden Fade 1 500 200 -> blue"_s;
        QTest::newRow("no image yet") << u"first Fade 1 500 200 -> blue"_s;
        QTest::newRow("null new image") << u"null Fade 1 500 200 -> black"_s;
        QTest::newRow("not asked to animate") << u"still Fade 1 500 200 -> blue"_s;
    }

    void pageChangePainting()
    {
        QFETCH(QString, run);
        static const QRegularExpression form(u"^(?:(\\w+) )?(\\w+) (-?1) (\\d+) (\\d+) -> (\\S+)$"_s);
        const QRegularExpressionMatch part = form.match(run);
        QVERIFY2(part.hasMatch(), qPrintable(run));
        const QString setup = part.captured(1);
        const auto effect = PageCanvas::Transition(
            QMetaEnum::fromType<PageCanvas::Transition>().keyToValue(part.captured(2).toLatin1().constData()));
        const int direction = part.captured(3).toInt();
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
        const QColor pixel = shown.frameAt(part.captured(4).toInt()).pixelColor(part.captured(5).toInt(), 100);
        QVERIFY2(near(pixel.rgb(), QColor::fromString(part.captured(6))), qPrintable(pixel.name()));
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
        for (int turns : {0, 1, 2, 3, -1}) // -1 is three quarters
            QTest::addRow("%d quarter turns", turns) << turns;
    }

    void highlightBoxesCoverTheGlyphs()
    {
        QFETCH(int, rotation);
        auto service = PdfTest::loadedService(TestEnvironment::instance().textDocument(3));
        QSignalSpy updated(service.get(), &PdfService::searchHitsUpdated);
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        QCOMPARE(PdfTest::searchAll(*service, u"pagemarker2"_s).size(), 1);
        service->render(u"reader"_s, 1, QSize(600, 600), rotation, RenderPriority::Reader);
        service->findHitRects(1);
        QTRY_VERIFY(updated.size() == 1 && rendered.size() == 1);
        const QList<QRectF> rects = updated.at(0).at(0).value<QList<SearchHit>>().at(0).rects;
        const QImage page = rendered.at(0).at(2).value<QImage>();

        PageCanvas canvas;
        canvas.resize(page.size());
        canvas.setImage(page, false, 1);
        canvas.setHighlights(rects, service->pageSize(1), rotation);
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
        QVERIFY(showAndWait(&window));
        QVERIFY(window.close());
        QCOMPARE(dismissed.size(), 1);
        QVERIFY(!window.isVisible());
    }
};

OLVANTI_TEST_MAIN(TestPageCanvas)
#include "tst_pagecanvas.moc"
