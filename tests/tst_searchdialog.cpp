#include "reader/searchdialog.h"
#include "testenv.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class SearchDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typingStartsOneSearch()
    {
        SearchDialog dialog;
        QSignalSpy requested(&dialog, &SearchDialog::searchRequested);
        QTest::keyClicks(dialog.lineEdit(), QStringLiteral("marke"));
        QCOMPARE(requested.size(), 0);
        QTRY_COMPARE(requested, QList<QVariantList>{{u"marke"_s}});
        // The next keystroke waits again and searches the whole text once more.
        QTest::keyClick(dialog.lineEdit(), Qt::Key_R);
        QCOMPARE(requested.size(), 1);
        QTRY_COMPARE(requested, (QList<QVariantList>{{u"marke"_s}, {u"marker"_s}}));
    }

    // A row is "Page N: " and the context on one line, cut to 120 characters.
    void resultsAreListedAndChosen()
    {
        SearchDialog dialog;
        QSignalSpy chosen(&dialog, &SearchDialog::hitChosen);
        QSignalSpy messages(&dialog, &SearchDialog::statusMessage);
        const QList<SearchHit> hits{
            {3, {}, u"  first\nline  and\t\tthe\r\nnext  "_s}, {6, {}, QString(200, u'x')}, {8, {}, u"c"_s}};
        dialog.setResults(hits, false);
        QCOMPARE(messages.at(0).at(0).toString(), QStringLiteral("3 search results"));
        QCOMPARE(dialog.resultList()->item(0)->text(), u"Page 4: first line and the next"_s);
        QCOMPARE(dialog.resultList()->item(1)->text(), u"Page 7: "_s + QString(120, u'x'));

        // Listing chose nothing; each row made current chooses its page.
        dialog.resultList()->setCurrentRow(1);
        dialog.resultList()->setCurrentRow(2);
        QCOMPARE(chosen, (QList<QVariantList>{{6}, {8}}));

        // Hits arriving while a search runs: more of the list keeps the selection, another search's replace it.
        const QList<SearchHit> more = hits + QList<SearchHit>{{9, {}, u"d"_s}};
        dialog.showPartialResults(more);
        QCOMPARE(dialog.resultList()->count(), 4);
        QCOMPARE(dialog.resultList()->currentRow(), 2);
        dialog.setResults(more, true);
        QCOMPARE(dialog.resultList()->currentRow(), 2);
        QCOMPARE(messages.last().at(0).toString(), QStringLiteral("4 search results (limit reached; refine search)"));
        dialog.showPartialResults({{1, {}, u"e"_s}});
        QCOMPARE(dialog.resultList()->item(0)->text(), QStringLiteral("Page 2: e"));
        QCOMPARE(dialog.resultList()->count(), 1);

        // The document closed: rows and hits go, the text stays.
        dialog.lineEdit()->setText(QStringLiteral("kept"));
        dialog.clearResults();
        QCOMPARE(dialog.resultList()->count(), 0);
        QVERIFY(dialog.hits().isEmpty());
        QCOMPARE(dialog.text(), QStringLiteral("kept"));
    }
};

OLVANTI_TEST_MAIN(SearchDialogTest)
#include "tst_searchdialog.moc"
