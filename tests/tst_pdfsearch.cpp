#include "pdf/pdfservice.h"
#include "pdfgen.h"
#include "testenv.h"

#include <QHash>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString writeOnce(const QString &name, const QList<PdfGen::Page> &pages)
{
    static QHash<QString, QString> written;
    if (written.contains(name))
        return written.value(name);
    const QString path = TestEnvironment::instance().path(name);
    const QString error = PdfGen::writePdf(path, pages);
    if (!error.isEmpty())
        qFatal("%s", qPrintable(error));
    written.insert(name, path);
    return path;
}

// Ten letter pages: "needle" three times on page 2 and once on page 9.
QString needleDocument()
{
    QList<PdfGen::Page> pages(10);
    for (PdfGen::Page &page : pages)
        page.lines = {u"hay only"_s};
    pages[1].lines = {u"a needle here"_s, u"hay needle hay"_s, u"needle"_s};
    pages[8].lines = {u"one more needle"_s};
    return writeOnce(u"needles.pdf"_s, pages);
}

// Wide pages holding `counts[i]` times the word "dense" (fifty to a line, which keeps the
// engine's per-match cost low), followed by `tail` letter pages with the word once each.
QString denseDocument(const QString &name, const QList<int> &counts, int tail)
{
    QList<PdfGen::Page> pages;
    for (int count : counts) {
        PdfGen::Page page;
        page.sizePt = QSizeF(2200, 150);
        for (int left = count; left > 0; left -= 50)
            page.lines.append(QStringList(qMin(left, 50), u"dense"_s).join(QLatin1Char(' ')));
        pages.append(page);
    }
    for (int i = 0; i < tail; ++i) {
        PdfGen::Page page;
        page.lines = {u"only one dense word here"_s};
        pages.append(page);
    }
    return writeOnce(name, pages);
}

QList<SearchHit> hitsOf(const QSignalSpy &spy, qsizetype index)
{
    return spy.at(index).at(0).value<QList<SearchHit>>();
}

QList<int> pagesOf(const QList<SearchHit> &hits)
{
    QList<int> pages;
    for (const SearchHit &hit : hits)
        pages.append(hit.page);
    return pages;
}

} // namespace

class TestPdfSearch final : public QObject
{
    Q_OBJECT

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
    void findsHitsInPageOrder()
    {
        auto service = loadedService(needleDocument());
        QSignalSpy found(service.get(), &PdfService::searchFinished);
        service->search(u"needle"_s);
        QTRY_COMPARE(found.size(), 1);

        const QList<SearchHit> hits = hitsOf(found, 0);
        QCOMPARE(pagesOf(hits), (QList<int>{1, 1, 1, 8}));
        QCOMPARE(found.at(0).at(1).toBool(), false);
        QCOMPARE(service->searchStepCount(), quint64(10));
        for (const SearchHit &hit : hits) {
            QVERIFY(hit.context.contains(u"needle"_s));
            QVERIFY(!hit.rects.isEmpty());
            for (const QRectF &rect : hit.rects)
                QVERIFY(QRectF(0, 0, 612, 792).contains(rect));
        }
        // The three matches on page 2 lie on three different lines, top to bottom.
        QVERIFY(hits.at(0).rects.first().top() < hits.at(1).rects.first().top());
        QVERIFY(hits.at(1).rects.first().top() < hits.at(2).rects.first().top());
    }

    void stopsAtTheHitLimit_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("hits");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<int>("searchedPages");

        QTest::newRow("one below the limit")
            << denseDocument(u"dense-9999.pdf"_s, QList<int>(49, 200) << 199, 0) << 9999 << false << 50;
        QTest::newRow("exactly the limit")
            << denseDocument(u"dense-10000.pdf"_s, QList<int>(50, 200), 0) << 10000 << true << 50;
        // A full scan would find 10950 and visit 1000 pages.
        QTest::newRow("limit reached at a page end on a long document")
            << denseDocument(u"dense-long.pdf"_s, QList<int>(50, 200), 950) << 10000 << true << 50;
        // 58 pages give 9860; the limit falls inside page 59.
        QTest::newRow("limit reached inside a page")
            << denseDocument(u"dense-mid.pdf"_s, QList<int>(60, 170), 940) << 10000 << true << 59;
    }

    void stopsAtTheHitLimit()
    {
        QFETCH(QString, path);
        QFETCH(int, hits);
        QFETCH(bool, truncated);
        QFETCH(int, searchedPages);

        auto service = loadedService(path);
        QSignalSpy found(service.get(), &PdfService::searchFinished);
        service->search(u"dense"_s);
        QTRY_COMPARE_WITH_TIMEOUT(found.size(), 1, 30000);

        const QList<SearchHit> result = hitsOf(found, 0);
        QCOMPARE(result.size(), hits);
        QCOMPARE(found.at(0).at(1).toBool(), truncated);
        QCOMPARE(service->searchStepCount(), quint64(searchedPages));
        QCOMPARE(result.constLast().page, searchedPages - 1);
        const QList<int> pages = pagesOf(result);
        QVERIFY(std::is_sorted(pages.cbegin(), pages.cend()));
    }

    void onlyTheLatestSearchReports()
    {
        auto service = loadedService(TestEnvironment::instance().textDocument(1000));
        QSignalSpy found(service.get(), &PdfService::searchFinished);
        service->search(u"common"_s);
        service->search(u"pagemarker777"_s);
        QTRY_COMPARE(found.size(), 1);
        QCOMPARE(pagesOf(hitsOf(found, 0)), QList<int>{776});

        // A full scan started now would end after any search still running from before.
        service->search(u"pagemarker1000"_s);
        QTRY_COMPARE(found.size(), 2);
        QCOMPARE(pagesOf(hitsOf(found, 1)), QList<int>{999});
    }

    void loadingAnotherDocumentCancelsTheSearch()
    {
        auto service = loadedService(TestEnvironment::instance().textDocument(1000));
        QSignalSpy found(service.get(), &PdfService::searchFinished);
        QSignalSpy loaded(service.get(), &PdfService::loaded);
        service->search(u"common"_s);
        service->load(TestEnvironment::instance().textDocument(5));
        QTRY_COMPARE(loaded.size(), 1);
        service->search(u"common"_s);
        QTRY_COMPARE(found.size(), 1);
        QCOMPARE(pagesOf(hitsOf(found, 0)), (QList<int>{0, 1, 2, 3, 4}));

        service->search(u"pagemarker5"_s);
        QTRY_COMPARE(found.size(), 2);
        QCOMPARE(pagesOf(hitsOf(found, 1)), QList<int>{4});
    }

    void answersEmptyAtOnce_data()
    {
        QTest::addColumn<bool>("withDocument");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty text during a search") << true << QString();
        QTest::newRow("no document") << false << u"common"_s;
    }

    void answersEmptyAtOnce()
    {
        QFETCH(bool, withDocument);
        QFETCH(QString, text);

        auto service = withDocument ? loadedService(TestEnvironment::instance().textDocument(1000))
                                    : std::make_unique<PdfService>();
        QSignalSpy found(service.get(), &PdfService::searchFinished);
        if (withDocument)
            service->search(u"common"_s);
        service->search(text);
        QCOMPARE(found.size(), 1); // inside search()
        QVERIFY(found.at(0).at(0).value<QList<SearchHit>>().isEmpty());
        QCOMPARE(found.at(0).at(1).toBool(), false);
    }

    void renderDuringSearchArrivesFirst()
    {
        auto service = loadedService(TestEnvironment::instance().textDocument(1000));
        QStringList events;
        connect(service.get(), &PdfService::rendered, service.get(),
                [&events](const QString &channel) { events.append(channel); });
        connect(service.get(), &PdfService::searchFinished, service.get(),
                [&events](const QList<SearchHit> &hits) { events.append(u"search %1"_s.arg(hits.size())); });
        service->search(u"common"_s);
        service->render(u"output"_s, 500, QSize(1920, 1080), 0, 100);
        QTRY_COMPARE(events.size(), 2);
        QCOMPARE(events, (QStringList{u"output"_s, u"search 1000"_s}));
        QCOMPARE(service->searchStepCount(), quint64(1000));
    }
};

OLVANTI_TEST_MAIN(TestPdfSearch)
#include "tst_pdfsearch.moc"
