#include "pdf/pdfservice.h"
#include "pdfgen.h"
#include "pdfsupport.h"
#include "testenv.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace PdfTest;

namespace {

QImage imageOf(const QSignalSpy &rendered, qsizetype index)
{
    return rendered.at(index).at(2).value<QImage>();
}

// Mean difference of grey per pixel between two pictures of one size.
double meanGreyDifference(const QImage &a, const QImage &b)
{
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto *rowA = reinterpret_cast<const QRgb *>(a.constScanLine(y));
        const auto *rowB = reinterpret_cast<const QRgb *>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            sum += std::abs(qGray(rowA[x]) - qGray(rowB[x]));
    }
    return double(sum) / (double(a.width()) * a.height());
}

} // namespace

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
        QTest::newRow("letter page limited by height") << QSizeF(612, 792) << QSize(800, 600) << QSize(463, 600);
        QTest::newRow("small page grows to the target") << QSizeF(100, 50) << QSize(1000, 1000) << QSize(1000, 500);
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

    void readsFilesAsProducersWriteThem_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("turns"); // quarter turns clockwise asked of the renderer
        QTest::addColumn<QSizeF>("points");
        QTest::addColumn<QSize>("imageSize");
        QTest::addColumn<int>("inkedCorner"); // clockwise from top-left
        QTest::addColumn<QString>("word");

        using PdfGen::Layout;
        const auto write = [](const QString &name, const QList<PdfGen::BarePage> &pages, Layout layout) {
            return fixture(name, [&](const QString &path) { return PdfGen::writeBarePages(path, pages, layout); });
        };
        const QSizeF letter(612, 792);
        const QString packed = write(u"object-streams.pdf"_s, {{letter, 0, "firstpacked"}, {letter, 0, "secondpacked"}},
                                     Layout::ObjectStreams);
        const QString linear = write(u"linearized.pdf"_s, {{letter, 0, "one"}, {letter, 0, "two"}, {letter, 0, "linear"}},
                                     Layout::Linearized);
        const QString updated = write(u"updated.pdf"_s, {{letter, 0, "revised"}}, Layout::IncrementalUpdate);
        const QString turned = write(u"turned.pdf"_s,
                                     {{QSizeF(400, 300), 90, "rightturn"},
                                      {QSizeF(400, 300), 180, "upsidedown"},
                                      {QSizeF(400, 300), 270, "leftturn"}},
                                     Layout::Plain);
        const QString inherited = write(u"inherited.pdf"_s,
                                        {{QSizeF(500, 250), 90, "inheritedone"}, {QSizeF(500, 250), 90, "inheritedtwo"}},
                                        Layout::InheritedAttributes);
        const QString huge = write(u"huge.pdf"_s, {{QSizeF(14400, 14400), 0, "huge"}}, Layout::Plain);
        const QString tiny = write(u"tiny.pdf"_s, {{QSizeF(4, 6), 0, "tiny"}}, Layout::Plain);
        const QString broken = write(u"broken-xref.pdf"_s, {{letter, 0, "repaired"}}, Layout::BrokenXref);

        QTest::newRow("object streams") << packed << 1 << 0 << letter << QSize(231, 300) << 0 << u"secondpacked"_s;
        QTest::newRow("linearized") << linear << 2 << 0 << letter << QSize(231, 300) << 0 << u"linear"_s;
        QTest::newRow("incremental update wins") << updated << 0 << 0 << letter << QSize(231, 300) << 0 << u"revised"_s;
        QTest::newRow("page turned a quarter") << turned << 0 << 0 << QSizeF(300, 400) << QSize(225, 300) << 1 << u"rightturn"_s;
        QTest::newRow("page turned a half") << turned << 1 << 0 << QSizeF(400, 300) << QSize(300, 225) << 2 << u"upsidedown"_s;
        QTest::newRow("page turned three quarters")
            << turned << 2 << 0 << QSizeF(300, 400) << QSize(225, 300) << 3 << u"leftturn"_s;
        QTest::newRow("box and rotation inherited from the page tree")
            << inherited << 1 << 0 << QSizeF(250, 500) << QSize(150, 300) << 1 << u"inheritedtwo"_s;
        QTest::newRow("huge media box") << huge << 0 << 0 << QSizeF(14400, 14400) << QSize(300, 300) << 0 << u"huge"_s;
        QTest::newRow("tiny media box") << tiny << 0 << 0 << QSizeF(4, 6) << QSize(200, 300) << 0 << u"tiny"_s;
        // The renderer's own turns add to the page's.
        QTest::newRow("render turn 5 acts as 1") << turned << 1 << 5 << QSizeF(400, 300) << QSize(225, 300) << 3
                                                 << u"upsidedown"_s;
        QTest::newRow("render turn -1 acts as 3") << turned << 0 << -1 << QSizeF(300, 400) << QSize(300, 225) << 0
                                                  << u"rightturn"_s;
        QTest::newRow("broken cross-reference repaired") << broken << 0 << 0 << letter << QSize(231, 300) << 0 << u"repaired"_s;
    }

    void readsFilesAsProducersWriteThem()
    {
        QFETCH(QString, path);
        QFETCH(int, page);
        QFETCH(int, turns);
        QFETCH(int, inkedCorner);
        QFETCH(QString, word);

        auto service = loadedService(path);
        // Sizes other than the first page's arrive after the load.
        QTRY_VERIFY(service->allPageSizesKnown());
        QTEST(service->pageSize(page), "points");
        Spies spy(service.get());
        service->render(u"reader"_s, page, QSize(300, 300), turns, RenderPriority::Reader);
        QTRY_COMPARE(spy.rendered.size(), 1);
        const QImage image = imageOf(spy.rendered, 0);
        QTEST(image.size(), "imageSize");
        // The square drawn in the top-left corner of the unturned page shows where the top went;
        // the page paints no background, and what the engine leaves transparent arrives white.
        QVERIFY(!image.hasAlphaChannel());
        const int right = image.width() - 3;
        const int bottom = image.height() - 3;
        const QList<QPoint> corners{{2, 2}, {right, 2}, {right, bottom}, {2, bottom}};
        for (int corner = 0; corner < 4; ++corner)
            QCOMPARE(image.pixel(corners.at(corner)), corner == inkedCorner ? qRgb(0, 0, 0) : qRgb(255, 255, 255));

        service->search(word);
        QTRY_COMPARE(spy.found.size(), 1);
        const auto hits = spy.found.at(0).at(0).value<QList<SearchHit>>();
        QCOMPARE(hits.size(), 1);
        QCOMPARE(hits.at(0).page, page);
    }

    void onlyTheNewestWishOfAChannelIsDelivered_data()
    {
        QTest::addColumn<bool>("cancelled"); // else replaced by a newer request
        QTest::addColumn<bool>("firstInFlight");
        // Page 3 asked for again afterwards: whether the cache has it then.
        QTest::addColumn<QSize>("target");
        QTest::addColumn<int>("turns");
        QTest::addColumn<bool>("cached");

        const QSize same(300, 400);
        QTest::newRow("waiting request replaced") << false << false << same << 0 << false;
        QTest::newRow("reply in flight of a replaced request") << false << true << same << 0 << true;
        QTest::newRow("waiting request cancelled") << true << false << same << 0 << false;
        QTest::newRow("reply in flight of a cancelled request") << true << true << same << 0 << true;
        // The cache is keyed by the picture's size and turns, not by the target asked for.
        QTest::newRow("kept picture, other target, same image size") << false << true << QSize(300, 500) << 0 << true;
        QTest::newRow("kept picture, other image size") << false << true << QSize(250, 400) << 0 << false;
        QTest::newRow("kept picture, other rotation") << false << true << same << 2 << false;
        QTest::newRow("kept picture, same rotation reduced to quarter turns") << false << true << same << 4 << true;
    }

    void onlyTheNewestWishOfAChannelIsDelivered()
    {
        QFETCH(bool, cancelled);
        QFETCH(bool, firstInFlight);
        QFETCH(QSize, target);
        QFETCH(int, turns);
        QFETCH(bool, cached);

        auto service = loadedService(TestEnvironment::instance().textDocument(12));
        Spies spy(service.get());
        QStringList delivered;
        if (!firstInFlight) {
            service->render(u"blocker"_s, 0, QSize(300, 400), 0, RenderPriority::Output);
            delivered << u"blocker"_s;
        }
        service->render(u"reader"_s, 3, QSize(300, 400), 0, RenderPriority::Reader);
        if (cancelled)
            service->cancel(u"reader"_s);
        // Served after whatever was in flight, so its arrival means the void reply came back.
        delivered << (cancelled ? u"reader2"_s : u"reader"_s);
        service->render(delivered.constLast(), 4, QSize(300, 400), 0, RenderPriority::Reader);

        QTRY_COMPARE(spy.rendered.size(), delivered.size());
        QVERIFY(drainWorker(*service));
        QCOMPARE(channels(spy.rendered), delivered);
        QCOMPARE(spy.rendered.constLast().at(1).toInt(), 4);
        // Either way two pages went to the worker: page 3 never did when it was still waiting.
        QCOMPARE(service->renderJobCount(), quint64(2));

        // A finished picture of page 3 was kept in the cache; a waiting request was never made.
        service->render(u"prepared"_s, 3, target, turns, RenderPriority::Next);
        QCOMPARE(spy.rendered.size(), delivered.size()); // even from the cache the image comes later
        QTRY_COMPARE(channels(spy.rendered).constLast(), u"prepared"_s);
        QCOMPARE(service->renderJobCount(), quint64(cached ? 2 : 3));
    }

    void servesByPriorityThenRequestOrder()
    {
        const QStringList requested{u"thumb:5"_s, u"scroll:2"_s, u"reader"_s, u"output"_s, u"scroll:1"_s};
        const QList<RenderPriority> priorities{RenderPriority::Thumbnail, RenderPriority::Reader, RenderPriority::Reader,
                                               RenderPriority::Output, RenderPriority::Reader};
        auto service = loadedService(TestEnvironment::instance().textDocument(12));
        Spies spy(service.get());
        // The blocker is in flight at once, so everything after it waits and is chosen by the queue.
        service->render(u"blocker"_s, 0, QSize(300, 400), 0, RenderPriority(-100));
        for (qsizetype i = 0; i < requested.size(); ++i)
            service->render(requested.at(i), int(i) + 1, QSize(300, 400), 0, priorities.at(i));

        QTRY_COMPARE(spy.rendered.size(), requested.size() + 1);
        QCOMPARE(channels(spy.rendered),
                 (QStringList{u"blocker"_s, u"output"_s, u"scroll:2"_s, u"reader"_s, u"scroll:1"_s, u"thumb:5"_s}));
    }

    void largeReaderPicturesComeInBandsAfterTheOutput_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("turns");
        QTest::addColumn<double>("tolerance"); // mean grey difference to the whole-page picture

        QStringList lines;
        for (int line = 0; line < 60; ++line)
            lines.append(u"Line %1 of a page dense with text, so that any band out of place shows"_s.arg(line));
        const QString dense = fixture(u"dense.pdf"_s, [&](const QString &path) {
            return PdfGen::writePdf(path, {PdfGen::Page{QSizeF(612, 792), u"Bands"_s, lines}});
        });
        // The size producers give A4, in fractions of a point.
        const QString a4 = fixture(u"fractional.pdf"_s, [](const QString &path) {
            return PdfGen::writeBarePages(path, {{QSizeF(595.276, 841.89), 0, "fractional"}});
        });
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
        QCOMPARE(channels(spy.rendered), (QStringList{u"output"_s, u"reader"_s}));
        const QImage whole = imageOf(spy.rendered, 0);
        const QImage banded = imageOf(spy.rendered, 1);
        QCOMPARE(banded.size(), whole.size());
        QCOMPARE(banded.format(), QImage::Format_RGB32);
        const double difference = meanGreyDifference(banded, whole);
        QVERIFY2(difference <= tolerance, qPrintable(u"mean grey difference %1"_s.arg(difference)));
    }

    void cacheIsBoundedByBytesLeastRecentlyUsedFirst()
    {
        // Each 4000 x 4000 image takes 64,000,000 bytes: two fit in 128 MiB, three do not.
        auto service = loadedService(fixture(u"squares.pdf"_s, [](const QString &path) {
            return PdfGen::writePdf(path, QList<PdfGen::Page>(3, PdfGen::Page{QSizeF(100, 100), {}, {}}));
        }));
        Spies spy(service.get());
        // The worker jobs made so far once `page` has been shown at its bounded size, else 0.
        const auto jobsAfterShowing = [&](int page) {
            spy.rendered.clear(); // the spy would keep evicted images alive
            service->render(u"output"_s, page, QSize(5000, 5000), 0, RenderPriority::Output, RenderShape::Whole);
            const bool shown = spy.rendered.wait(10000) && imageOf(spy.rendered, 0).size() == QSize(4000, 4000);
            return shown ? service->renderJobCount() : 0;
        };
        QCOMPARE(jobsAfterShowing(0), quint64(1));
        QCOMPARE(jobsAfterShowing(1), quint64(2));
        QCOMPARE(jobsAfterShowing(0), quint64(2)); // hit; now the most recently used
        QCOMPARE(jobsAfterShowing(2), quint64(3)); // makes room by evicting page 1
        QCOMPARE(jobsAfterShowing(0), quint64(3));
        QCOMPARE(jobsAfterShowing(2), quint64(3));
        QCOMPARE(jobsAfterShowing(1), quint64(4));
    }
};

OLVANTI_TEST_MAIN(TestPdfRender)
#include "tst_pdfrender.moc"
