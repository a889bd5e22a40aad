#include "testenv.h"

#include "playlist/playlist.h"
#include "playlist/undohistory.h"

#include <QSignalSpy>
#include <QTest>

// The playlist's own state and the history of changes kept for the Back command.
class PlaylistModelTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void playlistPaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("playlist");
        QTest::newRow("playlist file") << QStringLiteral("/shows/a.oplaylist") << true;
        QTest::newRow("package, upper case") << QStringLiteral("/shows/A.OPACK") << true;
        QTest::newRow("pdf") << QStringLiteral("/shows/a.pdf") << false;
        QTest::newRow("suffix only in the folder") << QStringLiteral("/x.opack/a.pdf") << false;
    }

    void playlistPaths()
    {
        QFETCH(QString, path);
        QFETCH(bool, playlist);
        QCOMPARE(Playlist::isPlaylistPath(path), playlist);
    }

    // Entries are cleaned on the way in, only new existing files are added, and the current
    // index follows the open document.
    void entriesAddingAndTheCurrentFile()
    {
        const QString a = TestEnvironment::instance().textDocument(1);
        const QString b = TestEnvironment::instance().textDocument(2);
        Playlist list;
        list.setEntries({a, QStringLiteral("/b.pdf"), a, QString()},
                        {{a, 700}, {QStringLiteral("/b.pdf"), 0}, {QStringLiteral("/gone.pdf"), 5}});
        QCOMPARE(list.files(), QStringList({a, QStringLiteral("/b.pdf")}));
        QCOMPARE(list.minutesFor(a), 600);
        QCOMPARE(list.fileMinutes().size(), 1);

        const QStringList fresh = list.newFiles({a, b, b, TestEnvironment::instance().path(QStringLiteral("none.pdf"))});
        QCOMPARE(fresh, QStringList({b}));
        list.append(fresh);
        QSignalSpy changed(&list, &Playlist::changed);
        list.setCurrentDocument(b);
        QCOMPARE(list.currentIndex(), 2);
        list.setCurrentDocument(QStringLiteral("/elsewhere.pdf"));
        QCOMPARE(list.currentIndex(), -1);
        QCOMPARE(changed.size(), 2);
    }

    void timeStepsCoalesceWithinTwoSeconds_data()
    {
        // ms before each time step; -1 records a document step instead, -2 takes the last step back
        QTest::addColumn<QList<int>>("gaps");
        QTest::addColumn<int>("steps");
        QTest::newRow("burst") << QList<int>{0, 500, 500, 1999} << 1;
        QTest::newRow("two seconds apart") << QList<int>{0, 2000} << 2;
        QTest::newRow("three seconds apart") << QList<int>{0, 3000, 100} << 2;
        QTest::newRow("another step breaks a burst") << QList<int>{0, -1, 100} << 3;
        QTest::newRow("taking a step back ends a burst") << QList<int>{0, 3000, -2, 100} << 2;
    }

    void timeStepsCoalesceWithinTwoSeconds()
    {
        QFETCH(QList<int>, gaps);
        qint64 now = 0;
        UndoHistory history;
        history.setClock([&now] { return now; });
        for (int i = 0; i < gaps.size(); ++i) {
            if (gaps.at(i) < 0) {
                gaps.at(i) == -1 ? history.recordStep(UndoStep::Document, QStringLiteral("Open a.pdf")) : void(history.takeLast());
                continue;
            }
            now += gaps.at(i);
            history.recordTimeStep(600 + 60 * i);
        }
        QTEST(history.size(), "steps");
        // The first step of a burst keeps the time from before the burst.
        QCOMPARE(history.steps().first().seconds, 600);
    }
};

OLVANTI_TEST_MAIN(PlaylistModelTest)
#include "tst_playlistmodel.moc"
