#include "reader/searchdialog.h"
#include "testenv.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

SearchHit hit(int page, const QString &context)
{
    SearchHit result;
    result.page = page;
    result.rects = {QRectF(10, 10, 40, 12)};
    result.context = context;
    return result;
}

} // namespace

class SearchDialogTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typingStartsOneSearch()
    {
        SearchDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QSignalSpy requested(&dialog, &SearchDialog::searchRequested);
        auto *delay = dialog.findChild<QTimer *>(QStringLiteral("searchDelay"));
        QVERIFY(delay);

        QTest::keyClicks(dialog.lineEdit(), QStringLiteral("marke"));
        QCOMPARE(requested.size(), 0);
        QVERIFY(delay->isActive());
        QTRY_COMPARE(requested.size(), 1);
        QCOMPARE(requested.at(0).at(0).toString(), QStringLiteral("marke"));
        QVERIFY(!delay->isActive());

        // Each keystroke restarts the wait.
        QTest::keyClick(dialog.lineEdit(), Qt::Key_R);
        QVERIFY(delay->isActive());
        QTRY_COMPARE(requested.size(), 2);
        QCOMPARE(requested.at(1).at(0).toString(), QStringLiteral("marker"));
        QCOMPARE(requested.size(), 2);
    }

    void resultsAreListed_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("row");
        QTest::newRow("line breaks and double spaces on one line")
            << QStringLiteral("  first\nline  and\t\tthe\r\nnext  ") << 2
            << QStringLiteral("Page 3: first line and the next");
        QTest::newRow("long context cut to 120")
            << QString(200, QLatin1Char('x')) << 0 << QStringLiteral("Page 1: ") + QString(120, QLatin1Char('x'));
        QTest::newRow("placeholders in the text stay text")
            << QStringLiteral("%1 and %2") << 4 << QStringLiteral("Page 5: %1 and %2");
    }

    void resultsAreListed()
    {
        QFETCH(QString, context);
        QFETCH(int, page);
        QFETCH(QString, row);
        SearchDialog dialog;
        dialog.setResults({hit(page, context)}, false);
        QCOMPARE(dialog.resultList()->count(), 1);
        QCOMPARE(dialog.resultList()->item(0)->text(), row);
    }

    void statusText_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("truncated");
        QTest::addColumn<QString>("status");
        QTest::newRow("none") << 0 << false << QStringLiteral("0 search results");
        QTest::newRow("some") << 3 << false << QStringLiteral("3 search results");
        QTest::newRow("limit reached")
            << 4 << true << QStringLiteral("4 search results (limit reached; refine search)");
    }

    void statusText()
    {
        QFETCH(int, count);
        QFETCH(bool, truncated);
        QFETCH(QString, status);
        SearchDialog dialog;
        QSignalSpy messages(&dialog, &SearchDialog::statusMessage);
        QList<SearchHit> hits;
        for (int i = 0; i < count; ++i)
            hits.append(hit(i, QStringLiteral("text")));
        dialog.setResults(hits, truncated);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.at(0).at(0).toString(), status);
        QCOMPARE(dialog.hits(), hits);
    }

    void choosingResults()
    {
        SearchDialog dialog;
        QSignalSpy chosen(&dialog, &SearchDialog::hitChosen);
        dialog.setResults({hit(3, QStringLiteral("a")), hit(6, QStringLiteral("b")), hit(8, QStringLiteral("c"))},
                          false);
        QCOMPARE(chosen.size(), 0);

        dialog.resultList()->setCurrentRow(1);
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toInt(), 6);
        // The row already current does not navigate again.
        dialog.resultList()->setCurrentRow(1);
        QCOMPARE(chosen.size(), 1);
        dialog.resultList()->setCurrentRow(2);
        QCOMPARE(chosen.last().at(0).toInt(), 8);

        // The document closed: rows and hits go, the text stays, nothing is chosen.
        dialog.lineEdit()->setText(QStringLiteral("kept"));
        dialog.clearResults();
        QCOMPARE(dialog.resultList()->count(), 0);
        QVERIFY(dialog.hits().isEmpty());
        QCOMPARE(dialog.text(), QStringLiteral("kept"));
        QCOMPARE(chosen.size(), 2);
    }

    void clearingTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("searches");
        QTest::newRow("text held: the empty text is searched") << QStringLiteral("old") << true;
        QTest::newRow("already empty: nothing happens") << QString() << false;
    }

    void clearingTheText()
    {
        QFETCH(QString, text);
        QFETCH(bool, searches);
        SearchDialog dialog;
        dialog.lineEdit()->setText(text);
        auto *delay = dialog.findChild<QTimer *>(QStringLiteral("searchDelay"));
        delay->stop();
        QSignalSpy requested(&dialog, &SearchDialog::searchRequested);
        dialog.clearText();
        QVERIFY(dialog.text().isEmpty());
        QCOMPARE(delay->isActive(), searches);
        if (searches) {
            QTRY_COMPARE(requested.size(), 1);
            QCOMPARE(requested.at(0).at(0).toString(), QString());
        }
    }

    void activateSearch()
    {
        QWidget owner;
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        auto *dialog = new SearchDialog(&owner);
        QCOMPARE(dialog->objectName(), QStringLiteral("searchDialog"));
        dialog->lineEdit()->setText(QStringLiteral("previous words"));
        dialog->activateSearch();
        QVERIFY(dialog->isVisible());
        QTRY_VERIFY(dialog->lineEdit()->hasFocus());
        QCOMPARE(dialog->lineEdit()->selectedText(), QStringLiteral("previous words"));
        // Typing replaces the old text.
        QTest::keyClicks(dialog->lineEdit(), QStringLiteral("new"));
        QCOMPARE(dialog->text(), QStringLiteral("new"));
    }
};

OLVANTI_TEST_MAIN(SearchDialogTest)
#include "tst_searchdialog.moc"
