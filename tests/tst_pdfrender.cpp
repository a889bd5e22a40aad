#include "pdf/pdfservice.h"
#include "pdfgen.h"
#include "testenv.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString InvalidPage = u"Invalid page requested."_s;
const QString InvalidSize = u"Invalid render dimensions."_s;

// Page indexes of the shapes document.
enum ShapePage { WidePage, VeryWidePage, SquarePage, SquarePage2, SquarePage3, TitledPortrait, ShapeCount };

QString shapesDocument()
{
    static const QString path = [] {
        const QString file = TestEnvironment::instance().path(u"shapes.pdf"_s);
        QList<PdfGen::Page> pages(ShapeCount);
        pages[WidePage].sizePt = QSizeF(200, 100);
        pages[VeryWidePage].sizePt = QSizeF(1000, 10);
        pages[SquarePage].sizePt = pages[SquarePage2].sizePt = pages[SquarePage3].sizePt = QSizeF(100, 100);
        // A big title near the top edge shows which way the page was turned.
        pages[TitledPortrait].sizePt = QSizeF(400, 600);
        pages[TitledPortrait].title = u"T"_s;
        const QString error = PdfGen::writePdf(file, pages);
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
        return file;
    }();
    return path;
}

QString barePageDocument()
{
    static const QString path = [] {
        const QString file = TestEnvironment::instance().path(u"bare.pdf"_s);
        const QString error = PdfGen::writeBarePage(file, QSizeF(400, 300));
        if (!error.isEmpty())
            qFatal("%s", qPrintable(error));
        return file;
    }();
    return path;
}

// Which edge of the image the dark pixels crowd towards.
QString inkSide(const QImage &image)
{
    double sumX = 0, sumY = 0;
    qint64 count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 128) {
                sumX += x;
                sumY += y;
                ++count;
            }
        }
    }
    if (count == 0)
        return u"none"_s;
    const double dx = sumX / count / image.width() - 0.5;
    const double dy = sumY / count / image.height() - 0.5;
    if (qAbs(dx) > qAbs(dy))
        return dx > 0 ? u"right"_s : u"left"_s;
    return dy > 0 ? u"bottom"_s : u"top"_s;
}

QStringList channels(const QSignalSpy &spy)
{
    QStringList result;
    for (const QList<QVariant> &arguments : spy)
        result.append(arguments.at(0).toString());
    return result;
}

} // namespace

class TestPdfRender final : public QObject
{
    Q_OBJECT

    // A service with `path` loaded.
    static std::unique_ptr<PdfService> loadedService(const QString &path)
    {
        auto service = std::make_unique<PdfService>();
        QSignalSpy loaded(service.get(), &PdfService::loaded);
        service->load(path);
        if (!loaded.wait(10000))
            qFatal("cannot load %s", qPrintable(path));
        return service;
    }

private Q_SLOTS:
    void computesRenderSize_data()
    {
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QSize>("expected");

        QTest::newRow("letter page limited by width") << QSizeF(612, 792) << QSize(600, 800) << QSize(600, 776);
        QTest::newRow("letter page limited by height") << QSizeF(612, 792) << QSize(800, 600) << QSize(463, 600);
        QTest::newRow("slide filling the target") << QSizeF(960, 540) << QSize(1920, 1080) << QSize(1920, 1080);
        QTest::newRow("small page grows to the target") << QSizeF(100, 50) << QSize(1000, 1000) << QSize(1000, 500);
        QTest::newRow("side bound on a very wide page") << QSizeF(1000, 10) << QSize(100000, 100000)
                                                        << QSize(8192, 81);
        QTest::newRow("side bound on a very tall page") << QSizeF(10, 1000) << QSize(100000, 100000)
                                                        << QSize(81, 8192);
        QTest::newRow("area bound on a 2:1 page") << QSizeF(200, 100) << QSize(100000, 100000) << QSize(5656, 2828);
        QTest::newRow("area bound on a square page") << QSizeF(100, 100) << QSize(5000, 5000) << QSize(4000, 4000);
        QTest::newRow("exactly the area bound") << QSizeF(100, 100) << QSize(4000, 4000) << QSize(4000, 4000);
        QTest::newRow("exactly the side bound") << QSizeF(8192, 1) << QSize(8192, 8192) << QSize(8192, 1);
        QTest::newRow("thin side kept at one pixel") << QSizeF(10000, 1) << QSize(100, 100) << QSize(100, 1);
        QTest::newRow("empty target") << QSizeF(612, 792) << QSize(0, 0) << QSize();
        QTest::newRow("zero-width target") << QSizeF(612, 792) << QSize(0, 800) << QSize();
        QTest::newRow("negative target") << QSizeF(612, 792) << QSize(-600, -800) << QSize();
        QTest::newRow("null target") << QSizeF(612, 792) << QSize() << QSize();
        QTest::newRow("page without width") << QSizeF(0, 792) << QSize(600, 800) << QSize();
        QTest::newRow("infinite page") << QSizeF(qInf(), 792) << QSize(600, 800) << QSize();
        QTest::newRow("page height not a number") << QSizeF(612, qQNaN()) << QSize(600, 800) << QSize();
    }

    void computesRenderSize()
    {
        QFETCH(QSizeF, page);
        QFETCH(QSize, target);
        QFETCH(QSize, expected);
        const QSize size = PdfService::renderSize(page, target);
        QCOMPARE(size, expected);
        QVERIFY(qint64(size.width()) * size.height() <= PdfService::MaxRenderArea);
    }

    void deliversImageOfBoundedSize_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QSize>("expected");

        QTest::newRow("area bound") << int(WidePage) << QSize(100000, 100000) << QSize(5656, 2828);
        QTest::newRow("side bound") << int(VeryWidePage) << QSize(100000, 100000) << QSize(8192, 81);
        QTest::newRow("square area bound") << int(SquarePage) << QSize(5000, 5000) << QSize(4000, 4000);
    }

    void deliversImageOfBoundedSize()
    {
        QFETCH(int, page);
        QFETCH(QSize, target);
        QFETCH(QSize, expected);

        auto service = loadedService(shapesDocument());
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        service->render(u"output"_s, page, target, 0, 100);
        QTRY_COMPARE(rendered.size(), 1);
        QCOMPARE(rendered.at(0).at(0).toString(), u"output"_s);
        QCOMPARE(rendered.at(0).at(1).toInt(), page);
        QCOMPARE(rendered.at(0).at(2).value<QImage>().size(), expected);
    }

    void appliesRotation_data()
    {
        QTest::addColumn<int>("rotation");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("titleSide");

        const QSize upright(400, 600);
        const QSize turned(600, 400);
        QTest::newRow("upright") << 0 << upright << u"top"_s;
        QTest::newRow("quarter turn clockwise") << 1 << turned << u"right"_s;
        QTest::newRow("half turn") << 2 << upright << u"bottom"_s;
        QTest::newRow("three quarter turns") << 3 << turned << u"left"_s;
        QTest::newRow("full turn is upright") << 4 << upright << u"top"_s;
        QTest::newRow("5 acts as 1") << 5 << turned << u"right"_s;
        QTest::newRow("-1 acts as 3") << -1 << turned << u"left"_s;
        QTest::newRow("-2 acts as 2") << -2 << upright << u"bottom"_s;
    }

    void appliesRotation()
    {
        QFETCH(int, rotation);
        QFETCH(QSize, size);
        QFETCH(QString, titleSide);

        auto service = loadedService(shapesDocument());
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        service->render(u"reader"_s, TitledPortrait, QSize(600, 600), rotation, 30);
        QTRY_COMPARE(rendered.size(), 1);
        const QImage image = rendered.at(0).at(2).value<QImage>();
        QCOMPARE(image.size(), size);
        QCOMPARE(inkSide(image), titleSide);
    }

    void imagesAreOpaqueOnWhite()
    {
        // The bare page paints no background: whatever the engine leaves transparent must
        // arrive white, not black.
        auto service = loadedService(barePageDocument());
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        service->render(u"output"_s, 0, QSize(400, 300), 0, 100);
        QTRY_COMPARE(rendered.size(), 1);
        const QImage image = rendered.at(0).at(2).value<QImage>();
        QCOMPARE(image.size(), QSize(400, 300));
        QCOMPARE(image.format(), QImage::Format_RGB32);
        QVERIFY(!image.hasAlphaChannel());
        QCOMPARE(image.pixel(10, 10), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(200, 150), qRgb(255, 255, 255));
        QCOMPARE(image.pixel(399, 299), qRgb(255, 255, 255));
    }

    void deliversOnlyTheNewestRequestOfAChannel_data()
    {
        QTest::addColumn<bool>("firstInFlight");
        QTest::newRow("waiting request replaced") << false;
        QTest::newRow("reply in flight discarded") << true;
    }

    void deliversOnlyTheNewestRequestOfAChannel()
    {
        QFETCH(bool, firstInFlight);

        auto service = loadedService(TestEnvironment::instance().textDocument(12));
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        QSignalSpy failed(service.get(), &PdfService::renderFailed);
        const QSize target(300, 400);
        if (!firstInFlight)
            service->render(u"blocker"_s, 0, target, 0, 100);
        service->render(u"reader"_s, 3, target, 0, 30);
        service->render(u"reader"_s, 4, target, 0, 30);

        QTRY_VERIFY(channels(rendered).contains(u"reader"_s));
        QCOMPARE(channels(rendered).count(u"reader"_s), 1);
        const auto delivered = rendered.constLast();
        QCOMPARE(delivered.at(1).toInt(), 4);
        QCOMPARE(failed.size(), 0);
        // Either way two pages went to the worker: page 3 never did when it was still
        // waiting, and page 4 waited for the superseded page 3 when that was in flight.
        QCOMPARE(service->renderJobCount(), quint64(2));

        // A superseded page was kept in the cache; a waiting one was never made.
        service->render(u"prepared"_s, 3, target, 0, 40);
        QTRY_VERIFY(channels(rendered).contains(u"prepared"_s));
        QCOMPARE(service->renderJobCount(), quint64(firstInFlight ? 2 : 3));
    }

    void servesByPriorityThenRequestOrder_data()
    {
        QTest::addColumn<QStringList>("requested");
        QTest::addColumn<QList<int>>("priorities");
        QTest::addColumn<QStringList>("served");

        QTest::newRow("output before a thumbnail asked earlier")
            << QStringList{u"thumb:5"_s, u"output"_s} << QList<int>{-20, 100}
            << QStringList{u"output"_s, u"thumb:5"_s};
        QTest::newRow("every consumer in its place")
            << QStringList{u"thumb:1"_s, u"preload"_s, u"scroll:3"_s, u"reader2"_s, u"reader"_s, u"prepared"_s,
                           u"output2"_s, u"output"_s}
            << QList<int>{-20, -10, 10, 20, 30, 40, 90, 100}
            << QStringList{u"output"_s, u"output2"_s, u"prepared"_s, u"reader"_s, u"reader2"_s, u"scroll:3"_s,
                           u"preload"_s, u"thumb:1"_s};
        QTest::newRow("equal priorities in request order")
            << QStringList{u"scroll:2"_s, u"reader"_s, u"scroll:1"_s} << QList<int>{30, 30, 30}
            << QStringList{u"scroll:2"_s, u"reader"_s, u"scroll:1"_s};
        QTest::newRow("mixed") << QStringList{u"a"_s, u"b"_s, u"c"_s, u"d"_s} << QList<int>{10, 30, 10, 30}
                               << QStringList{u"b"_s, u"d"_s, u"a"_s, u"c"_s};
    }

    void servesByPriorityThenRequestOrder()
    {
        QFETCH(QStringList, requested);
        QFETCH(QList<int>, priorities);
        QFETCH(QStringList, served);

        auto service = loadedService(TestEnvironment::instance().textDocument(12));
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        // The blocker is in flight at once, so everything after it waits and is chosen by the queue.
        service->render(u"blocker"_s, 0, QSize(300, 400), 0, -100);
        for (qsizetype i = 0; i < requested.size(); ++i)
            service->render(requested.at(i), int(i) + 1, QSize(300, 400), 0, priorities.at(i));

        QTRY_COMPARE(rendered.size(), requested.size() + 1);
        QCOMPARE(channels(rendered), QStringList{u"blocker"_s} + served);
    }

    void cacheHitNeedsNoWorkerJob_data()
    {
        QTest::addColumn<int>("firstRotation");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<int>("rotation");
        QTest::addColumn<bool>("cached");

        QTest::newRow("same request on another channel") << 0 << QSize(600, 800) << 0 << true;
        QTest::newRow("other target, same image size") << 0 << QSize(600, 900) << 0 << true;
        QTest::newRow("other image size") << 0 << QSize(500, 800) << 0 << false;
        QTest::newRow("other rotation") << 0 << QSize(600, 800) << 2 << false;
        QTest::newRow("rotation 5 then 1") << 5 << QSize(600, 800) << 1 << true;
        QTest::newRow("rotation -1 then 3") << -1 << QSize(600, 800) << 3 << true;
        QTest::newRow("rotation 4 then 0") << 4 << QSize(600, 800) << 0 << true;
        QTest::newRow("rotation 1 then 3") << 1 << QSize(600, 800) << 3 << false;
    }

    void cacheHitNeedsNoWorkerJob()
    {
        QFETCH(int, firstRotation);
        QFETCH(QSize, target);
        QFETCH(int, rotation);
        QFETCH(bool, cached);

        auto service = loadedService(TestEnvironment::instance().textDocument(5));
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        service->render(u"reader"_s, 2, QSize(600, 800), firstRotation, 30);
        QTRY_COMPARE(rendered.size(), 1);
        QCOMPARE(service->renderJobCount(), quint64(1));

        service->render(u"prepared"_s, 2, target, rotation, 40);
        // Even from the cache the image comes later, never inside render().
        QCOMPARE(rendered.size(), 1);
        QTRY_COMPARE(rendered.size(), 2);
        QCOMPARE(rendered.at(1).at(0).toString(), u"prepared"_s);
        QCOMPARE(rendered.at(1).at(1).toInt(), 2);
        QCOMPARE(service->renderJobCount(), quint64(cached ? 1 : 2));
        if (cached)
            QCOMPARE(rendered.at(1).at(2).value<QImage>(), rendered.at(0).at(2).value<QImage>());
    }

    void cacheIsBoundedByBytesLeastRecentlyUsedFirst()
    {
        // Each 4000 x 4000 image takes 64,000,000 bytes: two fit in 128 MiB, three do not.
        auto service = loadedService(shapesDocument());
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        const QSize target(5000, 5000);
        const auto show = [&](int page) {
            const qsizetype before = rendered.size();
            service->render(u"output"_s, page, target, 0, 100);
            return QTest::qWaitFor([&] { return rendered.size() > before; }, 10000);
        };
        QVERIFY(show(SquarePage));
        QVERIFY(show(SquarePage2));
        QCOMPARE(service->renderJobCount(), quint64(2));
        rendered.clear(); // the spy would keep the evicted images alive

        QVERIFY(show(SquarePage)); // hit; now the most recently used
        QCOMPARE(service->renderJobCount(), quint64(2));
        QVERIFY(show(SquarePage3)); // makes room by evicting SquarePage2
        QCOMPARE(service->renderJobCount(), quint64(3));
        rendered.clear();
        QVERIFY(show(SquarePage));
        QCOMPARE(service->renderJobCount(), quint64(3));
        QVERIFY(show(SquarePage3));
        QCOMPARE(service->renderJobCount(), quint64(3));
        QVERIFY(show(SquarePage2));
        QCOMPARE(service->renderJobCount(), quint64(4));
    }

    void loadEmptiesTheCache()
    {
        auto service = loadedService(TestEnvironment::instance().textDocument(5));
        QSignalSpy loaded(service.get(), &PdfService::loaded);
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        service->render(u"reader"_s, 1, QSize(300, 400), 0, 30);
        QTRY_COMPARE(rendered.size(), 1);

        service->load(TestEnvironment::instance().textDocument(5));
        QTRY_COMPARE(loaded.size(), 1);
        service->render(u"reader"_s, 1, QSize(300, 400), 0, 30);
        QTRY_COMPARE(rendered.size(), 2);
        QCOMPARE(service->renderJobCount(), quint64(2));
    }

    void cancelDropsTheChannelQuietly_data()
    {
        QTest::addColumn<bool>("inFlight");
        QTest::newRow("render in flight") << true;
        QTest::newRow("request waiting") << false;
    }

    void cancelDropsTheChannelQuietly()
    {
        QFETCH(bool, inFlight);

        auto service = loadedService(TestEnvironment::instance().textDocument(5));
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        QSignalSpy failed(service.get(), &PdfService::renderFailed);
        if (!inFlight)
            service->render(u"blocker"_s, 0, QSize(300, 400), 0, 100);
        service->render(u"thumb:2"_s, 1, QSize(300, 400), 0, -20);
        service->cancel(u"thumb:2"_s);
        // Served after whatever was in flight, so its arrival means the cancelled reply came back.
        service->render(u"reader"_s, 3, QSize(300, 400), 0, 30);

        QTRY_VERIFY(channels(rendered).contains(u"reader"_s));
        QVERIFY(!channels(rendered).contains(u"thumb:2"_s));
        QCOMPARE(failed.size(), 0);
        QCOMPARE(service->renderJobCount(), quint64(2));

        // The finished image of the cancelled render was kept; a waiting one was never made.
        service->render(u"thumb:2"_s, 1, QSize(300, 400), 0, -20);
        QTRY_VERIFY(channels(rendered).contains(u"thumb:2"_s));
        QCOMPARE(service->renderJobCount(), quint64(inFlight ? 2 : 3));
    }

    void closeDiscardsPendingAndInFlightRequests()
    {
        const QString path = TestEnvironment::instance().textDocument(5);
        auto service = loadedService(path);
        QSignalSpy rendered(service.get(), &PdfService::rendered);
        QSignalSpy failed(service.get(), &PdfService::renderFailed);
        QSignalSpy loaded(service.get(), &PdfService::loaded);
        service->render(u"output"_s, 0, QSize(300, 400), 0, 100);
        service->render(u"preload"_s, 1, QSize(300, 400), 0, -10);
        service->close();
        service->load(path);
        QTRY_COMPARE(loaded.size(), 1);
        // Stale replies arrive before `loaded`, so by now they have been dropped.
        service->render(u"reader"_s, 2, QSize(300, 400), 0, 30);
        QTRY_COMPARE(rendered.size(), 1);
        QCOMPARE(rendered.at(0).at(0).toString(), u"reader"_s);
        QCOMPARE(failed.size(), 0);
    }

    void refusesInvalidRequests_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QSize>("target");
        QTest::addColumn<QString>("message");

        QTest::newRow("page before the first") << -1 << QSize(300, 400) << InvalidPage;
        QTest::newRow("page after the last") << 5 << QSize(300, 400) << InvalidPage;
        QTest::newRow("empty target") << 0 << QSize(0, 0) << InvalidSize;
        QTest::newRow("zero-height target") << 0 << QSize(300, 0) << InvalidSize;
        QTest::newRow("negative target") << 0 << QSize(-300, -400) << InvalidSize;
        QTest::newRow("null target") << 4 << QSize() << InvalidSize;
    }

    void refusesInvalidRequests()
    {
        QFETCH(int, page);
        QFETCH(QSize, target);
        QFETCH(QString, message);

        auto service = loadedService(TestEnvironment::instance().textDocument(5));
        QSignalSpy failed(service.get(), &PdfService::renderFailed);
        service->render(u"reader"_s, page, target, 0, 30);
        QCOMPARE(failed.size(), 1); // at once, inside render()
        QCOMPARE(failed.at(0).at(0).toString(), u"reader"_s);
        QCOMPARE(failed.at(0).at(1).toInt(), page);
        QCOMPARE(failed.at(0).at(2).toString(), message);
        QCOMPARE(service->renderJobCount(), quint64(0));
    }

    void refusesRequestsWithoutADocument()
    {
        PdfService service;
        QSignalSpy failed(&service, &PdfService::renderFailed);
        QSignalSpy rendered(&service, &PdfService::rendered);
        QSignalSpy loaded(&service, &PdfService::loaded);
        service.render(u"output"_s, 0, QSize(300, 400), 0, 100);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.at(0).at(2).toString(), InvalidPage);

        service.load(TestEnvironment::instance().textDocument(5));
        service.render(u"output"_s, 0, QSize(300, 400), 0, 100);
        QCOMPARE(failed.size(), 2);
        QCOMPARE(failed.at(1).at(2).toString(), InvalidPage);
        QTRY_COMPARE(loaded.size(), 1);
        QCOMPARE(service.renderJobCount(), quint64(0));
        QCOMPARE(rendered.size(), 0);
    }
};

OLVANTI_TEST_MAIN(TestPdfRender)
#include "tst_pdfrender.moc"
