#include "playlist/playlist.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistfile_p.h"
#include "playlist/undohistory.h"
#include "playlistsupport.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace PlaylistTest;

const QString NotPlaylist = u"This is not an Olvanti playlist file."_s;

// The playlist's own state, the history of changes kept for the Back command, and its files.
class TestPlaylistFile : public QObject
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

    // Written indented, paths relative to the playlist's folder beside the stored ones, no countdown
    // as no "minutes", a longer one as the longest; read from a copy of the playlist in another folder.
    void writtenPlaylistsFindTheirFiles_data()
    {
        QTest::addColumn<bool>("keepOriginal");
        QTest::addColumn<bool>("pdfsInCopy");
        QTest::addColumn<QString>("expectedFolder");
        QTest::newRow("folder moved: relative paths lead to the new place") << false << true << u"B"_s;
        QTest::newRow("folder copied: stored path wins over relative") << true << true << u"A"_s;
        QTest::newRow("PDFs gone everywhere: stored path kept") << false << false << u"A"_s;
    }
    void writtenPlaylistsFindTheirFiles()
    {
        QFETCH(bool, keepOriginal);
        QFETCH(bool, pdfsInCopy);
        QFETCH(QString, expectedFolder);

        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        const QString b = root.path() + u"/B"_s;
        for (const QString &folder : pdfsInCopy ? QStringList{a, b} : QStringList{a}) {
            writeBytes(folder + u"/talks/one.pdf"_s, "1");
            writeBytes(folder + u"/two.pdf"_s, "2");
        }
        const QString other = root.path() + u"/other/c.pdf"_s;
        QCOMPARE(PlaylistFile::writeJsonPlaylist(a + u"/show.oplaylist"_s, {{a + u"/talks/one.pdf"_s, 3}, {a + u"/two.pdf"_s, 0}, {other, 720}}),
                 QString());
        const QByteArray written = readBytes(a + u"/show.oplaylist"_s);
        QVERIFY2(written.startsWith("{\n    \"format\": \"OlvantiPlaylist\",\n    \"items\": [\n        {\n"), written.constData());
        const QString expected = uR"({"format":"OlvantiPlaylist","items":[)"
                                 uR"({"minutes":3,"path":"ROOT/A/talks/one.pdf","relative":"talks/one.pdf"},)"
                                 uR"({"path":"ROOT/A/two.pdf","relative":"two.pdf"},)"
                                 uR"({"minutes":600,"path":"ROOT/other/c.pdf","relative":"../other/c.pdf"}],)"
                                 uR"("version":1})"_s;
        QCOMPARE(QString::fromUtf8(QJsonDocument::fromJson(written).toJson(QJsonDocument::Compact)),
                 QString(expected).replace(u"ROOT"_s, root.path()));
        writeBytes(b + u"/show.oplaylist"_s, written);
        if (!keepOriginal)
            QVERIFY(QDir(a).removeRecursively());

        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QCOMPARE(PlaylistFile::readJsonPlaylist(b + u"/show.oplaylist"_s, entries), QString());
        const QString folder = root.path() + u'/' + expectedFolder;
        QCOMPARE(entries, (QList<PlaylistEntry>{{folder + u"/talks/one.pdf"_s, 3}, {folder + u"/two.pdf"_s, 0}, {other, 600}}));
    }

    void readsContent_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        // One per entry read. Every entry is written "../nowhere/<n>.pdf", as by hand: relative to
        // the playlist's folder, whatever the working folder.
        QTest::addColumn<QList<int>>("minutes");

        // A playlist whose items have the given "minutes" texts, or none where empty.
        auto playlist = [](const QList<QByteArray> &minutes) -> QByteArray {
            QByteArrayList items;
            for (qsizetype n = 0; n < minutes.size(); ++n) {
                const QByteArray countdown = minutes.at(n).isEmpty() ? QByteArray() : ", \"minutes\": " + minutes.at(n);
                items.append("{\"path\": \"../nowhere/" + QByteArray::number(n) + ".pdf\"" + countdown + '}');
            }
            return "{\"format\": \"OlvantiPlaylist\", \"version\": 1, \"items\": [" + items.join(',') + "]}";
        };

        const QList<int> none;
        QTest::newRow("format differs only in case") << playlist({""}).replace("Olvanti", "olvanti") << NotPlaylist << none;
        QTest::newRow("not JSON") << QByteArray("OlvantiPlaylist") << NotPlaylist << none;
        QTest::newRow("array at the top") << QByteArray("[{\"format\": \"OlvantiPlaylist\"}]") << NotPlaylist << none;
        QTest::newRow("right format without items reads empty") << QByteArray("{\"format\": \"OlvantiPlaylist\"}") << QString() << none;
        QTest::newRow("unknown keys, other versions and items without a path are ignored")
            << QByteArray("{\"colour\": \"red\", \"version\": 7, \"format\": \"OlvantiPlaylist\", \"items\": [3, {}, "
                          "{\"path\": \"\", \"relative\": \"\"}, {\"path\": \"../nowhere/0.pdf\", \"extra\": [1]}]}")
            << QString() << QList<int>{0};
        QTest::newRow("paths holding a NUL are dropped")
            << QByteArray("{\"format\": \"OlvantiPlaylist\", \"items\": [{\"path\": \"rel/x\\u0000.pdf\"}, "
                          "{\"path\": \"/nowhere/x\\u0000.pdf\"}, {\"path\": \"../nowhere/0.pdf\"}]}")
            << QString() << QList<int>{0};
        QTest::newRow("order and countdowns kept, limited to 600, the rest read as none")
            << playlist({"1", "", "600", "601", "0", "-5", "2.5", "\"5\""}) << QString() << QList<int>{1, 0, 600, 600, 0, 0, 0, 0};
    }
    void readsContent()
    {
        QFETCH(QByteArray, json);
        QFETCH(QList<int>, minutes);

        const QString path = TestEnvironment::instance().path(u"list/content.oplaylist"_s);
        writeBytes(path, json);
        QVERIFY(!QDir::current().absolutePath().startsWith(TestEnvironment::instance().path(QString())));
        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QTEST(PlaylistFile::readJsonPlaylist(path, entries), "error");
        QList<PlaylistEntry> expected;
        for (int i = 0; i < minutes.size(); ++i)
            expected.append({TestEnvironment::instance().path(u"nowhere/%1.pdf"_s.arg(i)), minutes.at(i)});
        QCOMPARE(entries, expected);
    }

    // PDFs unpacked from a package and its import folder are named after what the package says: never
    // "", "." or "..", which would put files beside or above the other imports, nothing that climbs out.
    void packageFolderName_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("safe");
        QTest::newRow("package \".opack\"") << QString() << u"package"_s;
        QTest::newRow("package \"..opack\"") << u"."_s << u"package"_s;
        QTest::newRow("package \"...opack\"") << u".."_s << u"package"_s;
        QTest::newRow("PDF name ends in a slash") << u"folder/"_s << u"document.pdf"_s;
        QTest::newRow("PDF name of the parent folder") << u".."_s << u"document.pdf"_s;
        QTest::newRow("backslashes climb") << u"..\\..\\x.pdf"_s << u".._.._x.pdf"_s;
        QTest::newRow("drive letter") << u"C:\\talks\\x.pdf"_s << u"C__talks_x.pdf"_s;
        QTest::newRow("control characters") << u"a\tb\nc\u0001.pdf"_s << u"a_b_c_.pdf"_s;
        QTest::newRow("dots inside and non-ASCII kept") << u"Größe v1..2.pdf"_s << u"Größe v1..2.pdf"_s;
    }
    void packageFolderName()
    {
        QFETCH(QString, stored);
        QFETCH(QString, safe);
        QCOMPARE(safe == u"package"_s ? PlaylistFileDetail::safeName(stored, safe) : PlaylistFile::safeEntryName(stored), safe);
    }
};

OLVANTI_TEST_MAIN(TestPlaylistFile)
#include "tst_playlistfile.moc"
