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

    void entriesAreCleanedOnTheWayIn()
    {
        Playlist list;
        list.setEntries({QStringLiteral("/a.pdf"), QStringLiteral("/b.pdf"), QStringLiteral("/a.pdf"), QString()},
                        {{QStringLiteral("/a.pdf"), 700}, {QStringLiteral("/b.pdf"), 0}, {QStringLiteral("/gone.pdf"), 5}});
        QCOMPARE(list.files(), QStringList({QStringLiteral("/a.pdf"), QStringLiteral("/b.pdf")}));
        QCOMPARE(list.minutesFor(QStringLiteral("/a.pdf")), 600);
        QCOMPARE(list.fileMinutes().size(), 1);
    }

    void currentIndexFollowsTheDocument()
    {
        Playlist list;
        list.setEntries({QStringLiteral("/a.pdf"), QStringLiteral("/b.pdf"), QStringLiteral("/c.pdf")}, {});
        QSignalSpy changed(&list, &Playlist::changed);
        list.setCurrentDocument(QStringLiteral("/b.pdf"));
        QCOMPARE(list.currentIndex(), 1);
        list.setCurrentDocument(QStringLiteral("/elsewhere.pdf"));
        QCOMPARE(list.currentIndex(), -1);
        QCOMPARE(changed.size(), 2);
    }

    void onlyNewExistingFilesAreAdded()
    {
        const QString a = TestEnvironment::instance().textDocument(1);
        const QString b = TestEnvironment::instance().textDocument(2);
        Playlist list;
        list.setEntries({a}, {});
        const QStringList fresh = list.newFiles({a, b, b, TestEnvironment::instance().path(QStringLiteral("none.pdf"))});
        QCOMPARE(fresh, QStringList({b}));
        list.append(fresh);
        QCOMPARE(list.files(), QStringList({a, b}));
    }

    void timeStepsCoalesceWithinTwoSeconds_data()
    {
        QTest::addColumn<QList<int>>("gaps"); // ms before each time step; -1 records a document step instead
        QTest::addColumn<int>("steps");
        QTest::newRow("burst") << QList<int>{0, 500, 500, 1999} << 1;
        QTest::newRow("two seconds apart") << QList<int>{0, 2000} << 2;
        QTest::newRow("three seconds apart") << QList<int>{0, 3000, 100} << 2;
        QTest::newRow("another step breaks a burst") << QList<int>{0, -1, 100} << 3;
    }

    void timeStepsCoalesceWithinTwoSeconds()
    {
        QFETCH(QList<int>, gaps);
        qint64 now = 0;
        UndoHistory history;
        history.setClock([&now] { return now; });
        for (int i = 0; i < gaps.size(); ++i) {
            if (gaps.at(i) < 0) {
                history.recordStep(UndoStep::Document, QStringLiteral("Open a.pdf"));
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
