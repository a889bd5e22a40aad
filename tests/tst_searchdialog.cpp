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
        QTRY_COMPARE(requested.size(), 1);
        QCOMPARE(requested.at(0).at(0).toString(), QStringLiteral("marke"));

        // The next keystroke waits again and searches the whole text once more.
        QTest::keyClick(dialog.lineEdit(), Qt::Key_R);
        QTRY_COMPARE(requested.size(), 2);
        QCOMPARE(requested.at(1).at(0).toString(), QStringLiteral("marker"));
    }

    void resultsAreListed_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("status");
        QTest::newRow("line breaks and double spaces on one line") << u"  first\nline  and\t\tthe\r\nnext  "_s << false
            << u"Page 3: first line and the next"_s << u"1 search results"_s;
        QTest::newRow("long context cut to 120, limit reached") << QString(200, u'x') << true
            << u"Page 3: "_s + QString(120, u'x') << u"1 search results (limit reached; refine search)"_s;
    }

    void resultsAreListed()
    {
        QFETCH(QString, context);
        QFETCH(bool, truncated);
        QFETCH(QString, row);
        QFETCH(QString, status);
        SearchDialog dialog;
        QSignalSpy messages(&dialog, &SearchDialog::statusMessage);
        dialog.setResults({SearchHit{2, {}, context}}, truncated);
        QCOMPARE(dialog.resultList()->count(), 1);
        QCOMPARE(dialog.resultList()->item(0)->text(), row);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).at(0).toString(), status);
    }

    void choosingResults()
    {
        SearchDialog dialog;
        QSignalSpy chosen(&dialog, &SearchDialog::hitChosen);
        QSignalSpy messages(&dialog, &SearchDialog::statusMessage);
        const QList<SearchHit> hits{{3, {}, u"a"_s}, {6, {}, u"b"_s}, {8, {}, u"c"_s}};
        dialog.setResults(hits, false);
        QCOMPARE(messages.at(0).at(0).toString(), QStringLiteral("3 search results"));
        QCOMPARE(dialog.hits(), hits);
        QCOMPARE(chosen.size(), 0);

        dialog.resultList()->setCurrentRow(1);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toInt(), 6);
        // The row already current does not navigate again.
        dialog.resultList()->setCurrentRow(1);
        QCOMPARE(chosen.size(), 1);
        dialog.resultList()->setCurrentRow(2);
        QCOMPARE(chosen.last().at(0).toInt(), 8);

        // Hits arriving while a search runs: rows that continue the list keep the selection;
        // another search's hits replace it.
        const QList<SearchHit> more = hits + QList<SearchHit>{{9, {}, u"d"_s}};
        dialog.showPartialResults(more);
        QCOMPARE(dialog.resultList()->count(), 4);
        QCOMPARE(dialog.resultList()->currentRow(), 2);
        dialog.setResults(more, false);
        QCOMPARE(dialog.resultList()->currentRow(), 2);
        QCOMPARE(messages.last().at(0).toString(), QStringLiteral("4 search results"));
        dialog.showPartialResults({{1, {}, u"e"_s}});
        QCOMPARE(dialog.resultList()->item(0)->text(), QStringLiteral("Page 2: e"));
        QCOMPARE(dialog.resultList()->count(), 1);
        QCOMPARE(chosen.size(), 2);

        // The document closed: rows and hits go, the text stays, nothing is chosen.
        dialog.lineEdit()->setText(QStringLiteral("kept"));
        dialog.clearResults();
        QCOMPARE(dialog.resultList()->count(), 0);
        QVERIFY(dialog.hits().isEmpty());
        QCOMPARE(dialog.text(), QStringLiteral("kept"));
        QCOMPARE(chosen.size(), 2);
    }
};

OLVANTI_TEST_MAIN(SearchDialogTest)
#include "tst_searchdialog.moc"
