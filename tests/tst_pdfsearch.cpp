#include "pdf/textmatch.h"
#include "pdfsupport.h"
#include "testenv.h"

#include <QFile>
#include <QLoggingCategory>
#include <QPdfDocument>
#include <QPdfSearchModel>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace PdfTest;

namespace {

// Wide pages holding `counts[i]` times the word "dense" (fifty to a line, which keeps the
// engine's per-match cost low), followed by `tail` letter pages with the word once each.
QString denseDocument(const QString &name, const QList<int> &counts, int tail)
{
    QList<PdfGen::Page> pages(counts.size(), PdfGen::Page{QSizeF(2200, 150), {}, {}});
    for (qsizetype i = 0; i < counts.size(); ++i) {
        for (int left = counts.at(i); left > 0; left -= 50)
            pages[i].lines.append(QStringList(qMin(left, 50), u"dense"_s).join(u' '));
    }
    pages.append(QList<PdfGen::Page>(tail, PdfGen::Page{QSizeF(612, 792), {}, {u"only one dense word here"_s}}));
    return fixture(name, pages);
}

// "page context" for each hit.
QStringList summary(const QList<SearchHit> &hits)
{
    QStringList lines;
    for (const SearchHit &hit : hits)
        lines.append(u"%1 %2"_s.arg(hit.page).arg(hit.context));
    return lines;
}

} // namespace

// Whether the text reader runs: the main thread starts it, so it is among that thread's children.
static bool textReaderRunning()
{
    QFile children(u"/proc/self/task/%1/children"_s.arg(QCoreApplication::applicationPid()));
    const QByteArray pids = children.open(QIODevice::ReadOnly) ? children.readAll().trimmed() : QByteArray();
    const QList<QByteArray> list = pids.split(' ');
    return std::any_of(list.cbegin(), list.cend(), [](const QByteArray &pid) {
        QFile comm(u"/proc/%1/comm"_s.arg(QString::fromLatin1(pid)));
        return !pid.isEmpty() && comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "olvanti-textrea";
    });
}

class TestPdfSearch final : public QObject
{
    Q_OBJECT

    static inline QStringList s_logged;

private Q_SLOTS:
    void keptTextCountsAsTheEngine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");

        const QStringList pair{u"first needle"_s, u"here second"_s};
        QTest::newRow("letter case ignored") << QStringList{u"Needle NEEDLE needle"_s} << u"nEEdle"_s << 3;
        QTest::newRow("matches never overlap") << QStringList{u"aaaaa"_s} << u"aa"_s << 2;
        QTest::newRow("words across a line break") << pair << u"needle here"_s << 1;
        QTest::newRow("blanks between words count once") << pair << u"needle   here"_s << 1;
        QTest::newRow("leading blank needs one before") << QStringList{u"aneedle b needle"_s} << u" needle"_s << 1;
        QTest::newRow("trailing blank needs one after") << QStringList{u"needles needle x"_s} << u"needle "_s << 1;
        QTest::newRow("blanks alone") << QStringList{u"a  b c"_s} << u"  "_s << 0;
        QTest::newRow("no word joins what the page keeps apart") << QStringList{u"needlehere"_s} << u"needle here"_s << 0;
        QTest::newRow("cyrillic in any case") << QStringList{u"Руководство и РУКОВОДСТВО"_s} << u"руководство"_s << 2;
        QTest::newRow("punctuation") << QStringList{u"a-b, a-b. (a-b)"_s} << u"a-b"_s << 3;
    }

    void keptTextCountsAsTheEngine()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, text);
        QFETCH(int, count);

        const QString path = fixture(u"match.pdf"_s, {PdfGen::Page{QSizeF(612, 792), {}, lines}});
        QPdfDocument document;
        QCOMPARE(document.load(path), QPdfDocument::Error::None);
        QPdfSearchModel engine;
        engine.setDocument(&document);
        engine.setSearchString(text);
        QCOMPARE(engine.resultsOnPage(0).size(), count);
        QCOMPARE(TextMatch(text).count(document.getAllText(0).text()), count);
    }

    void pagesAreReadOnceAheadOfTheSearch_data()
    {
        QTest::addColumn<bool>("textReader");
        QTest::newRow("by the text reader process") << true;
        QTest::newRow("by the worker when idle") << false;
    }

    void pagesAreReadOnceAheadOfTheSearch()
    {
        QFETCH(bool, textReader);
        const QString path = TestEnvironment::instance().textDocument(300);
        auto service = loadedService(path, textReader);
        // Every page is read in the background; with the reader, none by the worker.
        QTRY_VERIFY_WITH_TIMEOUT(service->allPageSizesKnown(), 20000);
        const quint64 extracted = textReader ? 0 : 300;
        QTRY_COMPARE_WITH_TIMEOUT(service->textExtractionCount(), extracted, 20000);
        QTRY_VERIFY(!textReaderRunning());

        QCOMPARE(searchAll(*service, u"pagemarker"_s).size(), 300);
        QCOMPARE(searchAll(*service, u"pagemarker123"_s).size(), 1);
        QCOMPARE(service->textExtractionCount(), extracted);
    }

    void theTextReaderEndsWithItsDocument()
    {
        auto service = loadedService(TestEnvironment::instance().textDocument(3000));
        QTRY_VERIFY(textReaderRunning());
        service->close();
        QVERIFY(!textReaderRunning());
    }

    void findsHitsInPageOrder()
    {
        // "needle" three times on page 2, in three spellings, and once on page 9.
        QList<PdfGen::Page> pages(10, PdfGen::Page{QSizeF(612, 792), {}, {u"hay only"_s}});
        pages[1].lines = {u"a needle here"_s, u"hay NEEDLE hay"_s, u"Needle"_s};
        pages[8].lines = {u"one more needle"_s};
        const QString path = fixture(u"needles.pdf"_s, pages);
        auto service = loadedService(path);
        // Page text is the operator's business: none of it may reach the log.
        QLoggingCategory::setFilterRules(u"*.debug=true"_s);
        s_logged.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { s_logged.append(text); });
        const QList<SearchHit> hits = searchAll(*service, u"needle"_s);
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        QVERIFY(!s_logged.isEmpty()); // the capture works: the engine does log its search
        QVERIFY2(!s_logged.join(u'\n').contains(u"hay"_s), qPrintable(s_logged.join(u'\n')));

        // Each match once, in its place, spelt as searched; line breaks read as blanks.
        QCOMPARE(summary(hits), (QStringList{u"1 a needle here hay NEEDLE hay Needle"_s,
                                             u"1 a needle here hay needle hay Needle"_s,
                                             u"1 a needle here hay NEEDLE hay needle"_s, u"8 one more needle"_s}));
        // Rectangles come once a hit's page is shown, each page's once.
        QVERIFY(std::all_of(hits.cbegin(), hits.cend(), [](const SearchHit &hit) { return hit.rects.isEmpty(); }));
        QSignalSpy updated(service.get(), &PdfService::searchHitsUpdated);
        for (const int page : {1, 1, 8})
            service->findHitRects(page);
        QTRY_COMPARE(updated.size(), 2);
        QVERIFY(drainWorker(*service));
        QCOMPARE(updated.size(), 2);
        const QList<SearchHit> shown = updated.at(1).at(0).value<QList<SearchHit>>();
        QCOMPARE(summary(shown), summary(hits));
        for (const SearchHit &hit : shown)
            QVERIFY(QRectF(0, 0, 612, 792).contains(hit.rects.value(0)));
        // The three matches on page 2 lie on three different lines, top to bottom.
        QVERIFY(shown.at(0).rects.first().top() < shown.at(1).rects.first().top());
        QVERIFY(shown.at(1).rects.first().top() < shown.at(2).rects.first().top());

        // Each page searched once; asked again, the same answer without searching; a new load forgets it.
        QCOMPARE(searchAll(*service, u"needle"_s), shown);
        QCOMPARE(service->searchStepCount(), quint64(10));
        QSignalSpy loaded(service.get(), &PdfService::loaded);
        service->load(path);
        QVERIFY(loaded.wait());
        QCOMPARE(searchAll(*service, u"needle"_s), hits);
        QCOMPARE(service->searchStepCount(), quint64(20));
    }

    void searchesLookOnlyWhereTheyMust_data()
    {
        QTest::addColumn<QString>("path");
        // One after the other on one document, each with the pages it must look at.
        QTest::addColumn<QString>("searches");
        QTest::addColumn<int>("hits"); // of the last
        QTest::addColumn<bool>("truncated");

        QList<PdfGen::Page> pages(10, PdfGen::Page{QSizeF(612, 792), {}, {u"hay only"_s}});
        pages[2].lines = {u"a needle here and a needle there"_s};
        pages[5].lines = {u"Needle Here"_s};
        pages[7].lines = {u"needles"_s};
        const QString refine = fixture(u"refine.pdf"_s, pages);
        // A longer text is only where a shorter one was found, letter case aside.
        QTest::newRow("a refined search looks only where the shorter text was") << refine
            << u"needle=10, needle her=3, NEEDLE HERE=2, needle there=3, needle where=3, needle where not=0, hay=10"_s
            << 7 << false;
        QTest::newRow("one below the hit limit")
            << denseDocument(u"dense-9999.pdf"_s, QList<int>(49, 200) << 199, 0) << u"dense=50"_s << 9999 << false;
        // A full scan finds 10950 on 1000 pages; cut at the limit, "dense" says nothing of "dense word".
        const QString dense = denseDocument(u"dense-long.pdf"_s, QList<int>(50, 200), 950);
        QTest::newRow("exactly the hit limit at a page end, long document") << dense << u"dense=50"_s << 10000 << true;
        QTest::newRow("a search cut at the limit narrows none after it") << dense << u"dense=50, dense word=1000"_s
                                                                          << 950 << false;
        // 58 pages give 9860; the limit falls inside page 59.
        QTest::newRow("hit limit reached inside a page")
            << denseDocument(u"dense-mid.pdf"_s, QList<int>(60, 170), 940) << u"dense=59"_s << 10000 << true;
    }

    void searchesLookOnlyWhereTheyMust()
    {
        QFETCH(QString, path);
        QFETCH(QString, searches);

        auto service = loadedService(path);
        QList<SearchHit> hits;
        bool truncated = false;
        const QStringList steps = searches.split(u", "_s);
        for (const QString &step : steps) {
            const QString text = step.section(u'=', 0, 0);
            const quint64 before = service->searchStepCount();
            hits = searchAll(*service, text, &truncated);
            QCOMPARE(service->searchStepCount() - before, step.section(u'=', 1).toULongLong());
            // The same answer as a search that knows nothing yet.
            if (step != steps.first())
                QCOMPARE(hits, searchAll(*loadedService(path), text));
        }
        QTEST(int(hits.size()), "hits");
        QTEST(truncated, "truncated");
    }

    void overtakenSearchNeverReports_data()
    {
        QTest::addColumn<QString>("text"); // of the search that overtakes one for "common"
        // With one page the first search's result waits undelivered; with 1000 it has not begun.
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("examined"); // pages examined by both searches

        QTest::newRow("newer search, result waiting") << u"nowhere"_s << 1 << 2;
        QTest::newRow("newer search, nothing searched yet") << u"nowhere"_s << 1000 << 1000;
        QTest::newRow("empty text, result waiting") << QString() << 1 << 1;
        QTest::newRow("empty text, nothing searched yet") << QString() << 1000 << 0;
    }

    void overtakenSearchNeverReports()
    {
        QFETCH(QString, text);
        QFETCH(int, pages);

        auto service = loadedService(TestEnvironment::instance().textDocument(pages));
        Spies spy(service.get());
        {
            const auto hold = pages > 1 ? holdWorker(*service) : nullptr;
            service->search(u"common"_s);
            if (pages == 1)
                QVERIFY(waitForWorker(*service));
            service->search(text);
            QCOMPARE(spy.found.size(), text.isEmpty() ? 1 : 0); // empty text answers at once
        }
        QTRY_COMPARE(spy.found.size(), 1);
        QVERIFY(drainWorker(*service));
        QTEST(int(service->searchStepCount()), "examined");
        QCOMPARE(spy.found.size(), 1);
        QVERIFY(spy.found.at(0).at(0).value<QList<SearchHit>>().isEmpty());
    }

    void renderDuringSearchArrivesFirst()
    {
        // The worker reads every page itself, so the search still reads when its first hits show.
        auto service = loadedService(TestEnvironment::instance().textDocument(1000), false);
        QSignalSpy progress(service.get(), &PdfService::searchProgress);
        QStringList events;
        connect(service.get(), &PdfService::rendered, service.get(),
                [&events](const QString &channel) { events.append(channel); });
        connect(service.get(), &PdfService::searchFinished, service.get(),
                [&events](const QList<SearchHit> &hits) { events.append(u"search %1"_s.arg(hits.size())); });
        service->search(u"common"_s);
        service->render(u"output"_s, 500, QSize(1920, 1080), 0, RenderPriority::Output, RenderShape::Whole);
        QTRY_COMPARE(events.size(), 2);
        QCOMPARE(events, (QStringList{u"output"_s, u"search 1000"_s}));
        QCOMPARE(service->searchStepCount(), quint64(1000));
        // The first pages' hits were shown while the rest was still being read, in page order.
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.at(0).at(0).value<QList<SearchHit>>().value(0).page, 0);
    }
};

OLVANTI_TEST_MAIN(TestPdfSearch)
#include "tst_pdfsearch.moc"
