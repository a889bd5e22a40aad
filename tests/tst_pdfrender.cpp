#include "pdfsupport.h"
#include "testenv.h"

#include <QPainter>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace PdfTest;

class TestPdfRender final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void computesRenderSize_data()
    {
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QSize>("expected");

        const QSize huge(100000, 100000);
        QTest::newRow("side bound on a very wide page") << QSizeF(1000, 10) << huge << QSize(8192, 81);
        QTest::newRow("side bound on a very tall page") << QSizeF(10, 1000) << huge << QSize(81, 8192);
        QTest::newRow("area bound on a 2:1 page") << QSizeF(200, 100) << huge << QSize(5656, 2828);
        QTest::newRow("thin side kept at one pixel") << QSizeF(10000, 1) << QSize(100, 100) << QSize(100, 1);
        QTest::newRow("empty target") << QSizeF(612, 792) << QSize(0, 800) << QSize();
        QTest::newRow("page without width") << QSizeF(0, 792) << QSize(600, 800) << QSize();
        QTest::newRow("infinite page") << QSizeF(qInf(), 792) << QSize(600, 800) << QSize();
    }

    void computesRenderSize()
    {
        QFETCH(QSizeF, page);
        QFETCH(QSize, target);
        QTEST(PdfService::renderSize(page, target), "expected");
    }

    // Every alpha against every colour value, in both formats the engine may give, in rows of one
    // alpha and in rows of all: the same pixels as the painter's white "destination over".
    void whiteGoesBehindAsThePainterPutsIt()
    {
        for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
            QImage image(260, 512, format);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const int value = x % 256;
                    const int alpha = y < 256 ? y : (x + y) % 256;
                    // Premultiplied colours stay within their alpha.
                    const int top = format == QImage::Format_ARGB32 ? 255 : alpha;
                    const int red = std::min(value, top);
                    image.setPixel(x, y, qRgba(red, (value * 7) % (top + 1), top - red, alpha));
                }
            }
            QImage painted = image.copy();
            {
                QPainter painter(&painted);
                painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
                painter.fillRect(painted.rect(), Qt::white);
            }
            PdfService::opaqueOnWhite(image);
            QCOMPARE(image.format(), QImage::Format_RGB32);
            QCOMPARE(image, painted.convertToFormat(QImage::Format_RGB32));
        }
    }

    void readsFilesAsProducersWriteThem_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("word"); // on the page
        // "page turns: points -> picture size, corner": the page's size, and the picture's when the
        // renderer turns it clockwise by `turns` quarters, with the inked corner clockwise from top-left.
        QTest::addColumn<QString>("shape");

        using PdfGen::Layout;
        const QSizeF letter(612, 792);
        const QString packed =
            fixture(u"packed.pdf"_s, {{letter, 0, "firstpacked"}, {letter, 0, "secondpacked"}}, Layout::ObjectStreams);
        const QString linear =
            fixture(u"linear.pdf"_s, {{letter, 0, "one"}, {letter, 0, "two"}, {letter, 0, "linear"}}, Layout::Linearized);
        const QString updated = fixture(u"updated.pdf"_s, {{letter, 0, "revised"}}, Layout::IncrementalUpdate);
        const QSizeF wide(400, 300);
        const QString turned = fixture(u"turned.pdf"_s, {{wide, 90, "rightturn"}, {wide, 180, "upsidedown"},
                                       {wide, 270, "leftturn"}}, Layout::Plain);
        const QString inherited = fixture(u"inherited.pdf"_s, {{QSizeF(500, 250), 90, "inheritedone"},
                                          {QSizeF(500, 250), 90, "inheritedtwo"}}, Layout::InheritedAttributes);
        const QString huge = fixture(u"huge.pdf"_s, {{QSizeF(14400, 14400), 0, "huge"}}, Layout::Plain);
        const QString tiny = fixture(u"tiny.pdf"_s, {{QSizeF(4, 6), 0, "tiny"}}, Layout::Plain);
        const QString broken = fixture(u"broken-xref.pdf"_s, {{letter, 0, "repaired"}}, Layout::BrokenXref);

        QTest::newRow("object streams") << packed << u"secondpacked"_s << u"1 0: 612x792 -> 231x300 0"_s;
        QTest::newRow("linearized") << linear << u"linear"_s << u"2 0: 612x792 -> 231x300 0"_s;
        QTest::newRow("incremental update wins") << updated << u"revised"_s << u"0 0: 612x792 -> 231x300 0"_s;
        QTest::newRow("page turned a quarter") << turned << u"rightturn"_s << u"0 0: 300x400 -> 225x300 1"_s;
        QTest::newRow("page turned a half") << turned << u"upsidedown"_s << u"1 0: 400x300 -> 300x225 2"_s;
        QTest::newRow("page turned three quarters") << turned << u"leftturn"_s << u"2 0: 300x400 -> 225x300 3"_s;
        QTest::newRow("box and rotation inherited from the page tree")
            << inherited << u"inheritedtwo"_s << u"1 0: 250x500 -> 150x300 1"_s;
        QTest::newRow("huge media box") << huge << u"huge"_s << u"0 0: 14400x14400 -> 300x300 0"_s;
        QTest::newRow("tiny media box") << tiny << u"tiny"_s << u"0 0: 4x6 -> 200x300 0"_s;
        // The renderer's own turns add to the page's.
        QTest::newRow("render turn 5 acts as 1") << turned << u"upsidedown"_s << u"1 5: 400x300 -> 225x300 3"_s;
        QTest::newRow("render turn -1 acts as 3") << turned << u"rightturn"_s << u"0 -1: 300x400 -> 300x225 0"_s;
        QTest::newRow("broken cross-reference repaired") << broken << u"repaired"_s << u"0 0: 612x792 -> 231x300 0"_s;
    }

    void readsFilesAsProducersWriteThem()
    {
        QFETCH(QString, path);
        QFETCH(QString, word);
        QFETCH(QString, shape);
        static const QRegularExpression form(u"^(\\d+) (-?\\d+): (\\d+)x(\\d+) -> (\\d+)x(\\d+) (\\d)$"_s);
        const QRegularExpressionMatch match = form.match(shape);
        QVERIFY2(match.hasMatch(), qPrintable(shape));
        const auto number = [&match](int field) { return match.captured(field).toInt(); };
        const int page = number(1);

        auto service = loadedService(path);
        // Sizes other than the first page's arrive after the load.
        QTRY_VERIFY(service->allPageSizesKnown());
        QCOMPARE(service->pageSize(page), QSizeF(number(3), number(4)));
        Spies spy(service.get());
        service->render(u"reader"_s, page, QSize(300, 300), number(2), RenderPriority::Reader);
        QTRY_COMPARE(spy.rendered.size(), 1);
        const QImage image = spy.rendered.at(0).at(2).value<QImage>();
        QCOMPARE(image.size(), QSize(number(5), number(6)));
        // The square drawn in the top-left corner of the unturned page shows where the top went;
        // the page paints no background, and what the engine leaves transparent arrives white.
        QVERIFY(!image.hasAlphaChannel());
        const QPoint far(image.width() - 3, image.height() - 3);
        const QList<QPoint> corners{{2, 2}, {far.x(), 2}, far, {2, far.y()}};
        for (int corner = 0; corner < 4; ++corner)
            QCOMPARE(image.pixel(corners.at(corner)), corner == number(7) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));

        const QList<SearchHit> hits = searchAll(*service, word);
        QCOMPARE(hits.size(), 1);
        QCOMPARE(hits.at(0).page, page);
    }

    // "script => log". A script of requests on pages of 100 x 100 points: "channel:page" asks at the
    // reader's priority for 300 x 400, ":priority", ":WxH" and ":turns" may follow; "-channel" cancels
    // its waiting request; "|" lets the worker finish. The log has "channel:page" for each picture
    // delivered and, after each "|" and at the end, "#" and the render jobs made so far.
    void renderRequestsAreServedAsWanted_data()
    {
        QTest::addColumn<QString>("run");
        // The first request goes to the worker at once; the rest wait and are chosen by the queue.
        QTest::newRow("by priority, then in request order") << u"first:0 thumb:1:Thumbnail scrollA:2 reader:3 "
            "output:4:Output scrollB:5 => first:0 output:4 scrollA:2 reader:3 scrollB:5 thumb:1 #6"_s;
        // A replaced or cancelled waiting request never reaches the worker; one there already is kept, undelivered.
        QTest::newRow("waiting request replaced") << u"first:0 reader:3 reader:4 | again:3:Next => "
                                                     "first:0 reader:4 #2 again:3 #3"_s;
        QTest::newRow("in flight, replaced") << u"reader:3 reader:4 | again:3:Next => reader:4 #2 again:3 #2"_s;
        QTest::newRow("waiting request cancelled") << u"first:0 reader:3 -reader other:4 | again:3:Next => "
                                                      "first:0 other:4 #2 again:3 #3"_s;
        QTest::newRow("in flight, cancelled") << u"reader:3 -reader other:4 | again:3:Next => other:4 #2 again:3 #2"_s;
        // The cache is keyed by the picture's size and turns, not by the target asked for.
        QTest::newRow("cached: other target, same image size")
            << u"reader:3 | again:3:Next:300x500 => reader:3 #1 again:3 #1"_s;
        QTest::newRow("not cached: other image size") << u"reader:3 | again:3:Next:250x400 => reader:3 #1 again:3 #2"_s;
        QTest::newRow("not cached: other rotation") << u"reader:3 | again:3:Next:300x400:2 => reader:3 #1 again:3 #2"_s;
        QTest::newRow("cached: a full turn more") << u"reader:3 | again:3:Next:300x400:4 => reader:3 #1 again:3 #1"_s;
        // A 4000 x 4000 picture takes 64,000,000 bytes: two fit in 128 MiB, three do not; the least recently used goes.
        QTest::newRow("cache bounded by bytes, least recently used first")
            << u"p:0::5000x5000 | p:1::5000x5000 | p:0::5000x5000 | p:2::5000x5000 | p:0::5000x5000 | "
               "p:2::5000x5000 | p:1::5000x5000 => p:0 #1 p:1 #2 p:0 #2 p:2 #3 p:0 #3 p:2 #3 p:1 #4"_s;
    }

    void renderRequestsAreServedAsWanted()
    {
        QFETCH(QString, run);
        static const QHash<QString, RenderPriority> priorities{{u"Output"_s, RenderPriority::Output},
            {u"Next"_s, RenderPriority::Next}, {u"Thumbnail"_s, RenderPriority::Thumbnail}};
        const QList<PdfGen::Page> squares(6, PdfGen::Page{QSizeF(100, 100), {}, {}});
        auto service = loadedService(fixture(u"squares.pdf"_s, squares));
        QStringList log;
        connect(service.get(), &PdfService::rendered, this,
                [&log](const QString &channel, int page) { log << u"%1:%2"_s.arg(channel).arg(page); });
        // Each drain ends at least one job: ten outlast the longest script.
        const auto finish = [&] {
            for (int i = 0; i < 10; ++i)
                QVERIFY(drainWorker(*service));
            log << u"#%1"_s.arg(service->renderJobCount());
        };
        for (const QString &step : run.section(u" => "_s, 0, 0).split(u' ')) {
            const QStringList part = step.split(u':');
            const QStringList size = part.value(3).split(u'x');
            const qsizetype delivered = log.size();
            if (step == u"|"_s)
                finish();
            else if (step.startsWith(u'-'))
                service->cancel(step.mid(1));
            else
                service->render(part.at(0), part.at(1).toInt(),
                                size.size() == 2 ? QSize(size.at(0).toInt(), size.at(1).toInt()) : QSize(300, 400),
                                part.value(4).toInt(), priorities.value(part.value(2), RenderPriority::Reader),
                                RenderShape::Whole);
            // Even from the cache a picture comes later, never from inside the request.
            if (step != u"|"_s)
                QCOMPARE(log.size(), delivered);
        }
        finish();
        QCOMPARE(log.join(u' '), run.section(u" => "_s, 1));
    }

    void largeReaderPicturesComeInBandsAfterTheOutput_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("turns");
        QTest::addColumn<double>("tolerance"); // mean grey difference to the whole-page picture

        QStringList lines;
        for (int line = 0; line < 60; ++line)
            lines.append(u"Line %1 of a page dense with text, so that any band out of place shows"_s.arg(line));
        const QString dense = fixture(u"dense.pdf"_s, {PdfGen::Page{QSizeF(612, 792), u"Bands"_s, lines}});
        // The size producers give A4, in fractions of a point.
        const QString a4 =
            fixture(u"fractional.pdf"_s, {{QSizeF(595.276, 841.89), 0, "fractional"}}, PdfGen::Layout::Plain);
        QTest::newRow("whole points") << dense << 0 << 0.01;
        QTest::newRow("turned a quarter") << dense << 1 << 0.1;
        QTest::newRow("fractional points") << a4 << 0 << 0.1;
    }

    void largeReaderPicturesComeInBandsAfterTheOutput()
    {
        QFETCH(QString, path);
        QFETCH(int, turns);
        QFETCH(double, tolerance);

        auto service = loadedService(path);
        Spies spy(service.get());
        // Far above the banding bound on the reader's channel; the output's is made whole.
        const QSize target(4000, 4000);
        service->render(u"reader"_s, 0, target, turns, RenderPriority::Reader);
        service->render(u"output"_s, 0, target, turns, RenderPriority::Output, RenderShape::Whole);
        QTRY_COMPARE_WITH_TIMEOUT(spy.rendered.size(), 2, 20000);
        QCOMPARE(spy.rendered.at(0).at(0).toString(), u"output"_s);
        QCOMPARE(spy.rendered.at(1).at(0).toString(), u"reader"_s);
        const QImage whole = spy.rendered.at(0).at(2).value<QImage>();
        const QImage banded = spy.rendered.at(1).at(2).value<QImage>();
        QCOMPARE(banded.size(), whole.size());
        QCOMPARE(banded.format(), QImage::Format_RGB32);
        qint64 sum = 0; // of the grey differences, pixel by pixel
        for (int y = 0; y < whole.height(); ++y) {
            for (int x = 0; x < whole.width(); ++x)
                sum += std::abs(qGray(whole.pixel(x, y)) - qGray(banded.pixel(x, y)));
        }
        const double difference = double(sum) / (double(whole.width()) * whole.height());
        QVERIFY2(difference <= tolerance, qPrintable(u"mean grey difference %1"_s.arg(difference)));
    }
};

OLVANTI_TEST_MAIN(TestPdfRender)
#include "tst_pdfrender.moc"
