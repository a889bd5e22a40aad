#include "playlist/playlistfile.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString NotPlaylist = u"This is not an Olvanti playlist file."_s;
const QString WritePrefix = u"The playlist file could not be written: "_s;

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

char *toString(const PlaylistEntry &entry)
{
    return QTest::toString(u"(%1, %2)"_s.arg(entry.path).arg(entry.minutes));
}

class TestPlaylistFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesIndentedJsonWithRelativePaths()
    {
        QTemporaryDir root;
        const QString base = root.path();
        const QString target = base + u"/A/show.oplaylist"_s;
        QDir().mkpath(base + u"/A"_s);
        const QList<PlaylistEntry> entries{{base + u"/A/talks/a.pdf"_s, 5},
                                           {base + u"/A/b.pdf"_s, 0},
                                           {base + u"/other/c.pdf"_s, 720}};
        QCOMPARE(PlaylistFile::writeJsonPlaylist(target, entries), QString());

        QString expected = uR"({
    "format": "OlvantiPlaylist",
    "items": [
        {
            "minutes": 5,
            "path": "ROOT/A/talks/a.pdf",
            "relative": "talks/a.pdf"
        },
        {
            "path": "ROOT/A/b.pdf",
            "relative": "b.pdf"
        },
        {
            "minutes": 600,
            "path": "ROOT/other/c.pdf",
            "relative": "../other/c.pdf"
        }
    ],
    "version": 1
}
)"_s;
        expected.replace(u"ROOT"_s, base);
        QCOMPARE(QString::fromUtf8(readBytes(target)), expected);
    }

    void resolvesEntries_data()
    {
        QTest::addColumn<bool>("keepOriginal");
        QTest::addColumn<bool>("pdfsInCopy");
        QTest::addColumn<QString>("expectedFolder");
        QTest::newRow("folder moved: relative paths lead to the new place") << false << true << u"B"_s;
        QTest::newRow("folder copied: stored path wins over relative") << true << true << u"A"_s;
        QTest::newRow("PDFs gone everywhere: stored path kept") << false << false << u"A"_s;
    }
    void resolvesEntries()
    {
        QFETCH(bool, keepOriginal);
        QFETCH(bool, pdfsInCopy);
        QFETCH(QString, expectedFolder);

        QTemporaryDir root;
        const QString a = root.path() + u"/A"_s;
        writeBytes(a + u"/talks/one.pdf"_s, "1");
        writeBytes(a + u"/two.pdf"_s, "2");
        QCOMPARE(PlaylistFile::writeJsonPlaylist(a + u"/show.oplaylist"_s,
                                                 {{a + u"/talks/one.pdf"_s, 3}, {a + u"/two.pdf"_s, 0}}),
                 QString());

        const QString b = root.path() + u"/B"_s;
        writeBytes(b + u"/show.oplaylist"_s, readBytes(a + u"/show.oplaylist"_s));
        if (pdfsInCopy) {
            writeBytes(b + u"/talks/one.pdf"_s, "1");
            writeBytes(b + u"/two.pdf"_s, "2");
        }
        if (!keepOriginal)
            QVERIFY(QDir(a).removeRecursively());

        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QCOMPARE(PlaylistFile::readJsonPlaylist(b + u"/show.oplaylist"_s, entries), QString());
        const QString expected = root.path() + u'/' + expectedFolder;
        QCOMPARE(entries, (QList<PlaylistEntry>{{expected + u"/talks/one.pdf"_s, 3}, {expected + u"/two.pdf"_s, 0}}));
    }

    void readsContent_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QList<int>>("minutes"); // one per entry read; every entry is /nowhere/<n>.pdf

        auto item = [](int n, const char *minutes) -> QByteArray {
            QByteArray text = "{\"path\": \"/nowhere/" + QByteArray::number(n) + ".pdf\"";
            if (minutes)
                text += ", \"minutes\": " + QByteArray(minutes);
            return text + '}';
        };
        auto playlist = [](const QByteArray &items) -> QByteArray {
            return "{\"format\": \"OlvantiPlaylist\", \"version\": 1, \"items\": [" + items + "]}";
        };

        QTest::newRow("format differs only in case")
            << QByteArray("{\"format\": \"olvantiPlaylist\", \"items\": [" + item(0, nullptr) + "]}") << NotPlaylist
            << QList<int>();
        QTest::newRow("empty object has no format") << QByteArray("{}") << NotPlaylist << QList<int>();
        QTest::newRow("format is not a string") << QByteArray("{\"format\": 1}") << NotPlaylist << QList<int>();
        QTest::newRow("not JSON") << QByteArray("OlvantiPlaylist") << NotPlaylist << QList<int>();
        QTest::newRow("array at the top") << QByteArray("[{\"format\": \"OlvantiPlaylist\"}]") << NotPlaylist
                                          << QList<int>();
        QTest::newRow("empty file") << QByteArray() << NotPlaylist << QList<int>();
        QTest::newRow("right format without items reads empty")
            << QByteArray("{\"format\": \"OlvantiPlaylist\"}") << QString() << QList<int>();
        QTest::newRow("items not an array reads empty")
            << QByteArray("{\"format\": \"OlvantiPlaylist\", \"items\": {\"path\": \"/x.pdf\"}}") << QString()
            << QList<int>();
        QTest::newRow("unknown keys and other versions are ignored")
            << QByteArray("{\"colour\": \"red\", \"version\": 7, \"format\": \"OlvantiPlaylist\", \"items\": "
                          "[{\"path\": \"/nowhere/0.pdf\", \"extra\": [1, 2], \"minutes\": 4}]}")
            << QString() << QList<int>{4};
        QTest::newRow("items without a path are skipped")
            << playlist("3, {}, {\"relative\": \"\"}, {\"path\": \"\"}, " + item(0, nullptr)) << QString()
            << QList<int>{0};
        QTest::newRow("order is kept") << playlist(item(0, "1") + ',' + item(1, "2") + ',' + item(2, "3"))
                                       << QString() << QList<int>{1, 2, 3};
        QTest::newRow("minutes missing") << playlist(item(0, nullptr)) << QString() << QList<int>{0};
        QTest::newRow("minutes 1 kept") << playlist(item(0, "1")) << QString() << QList<int>{1};
        QTest::newRow("minutes 600 kept") << playlist(item(0, "600")) << QString() << QList<int>{600};
        QTest::newRow("minutes 720 limited to 600") << playlist(item(0, "720")) << QString() << QList<int>{600};
        QTest::newRow("minutes 1e20 limited to 600") << playlist(item(0, "1e20")) << QString() << QList<int>{600};
        QTest::newRow("minutes -5 read as none") << playlist(item(0, "-5")) << QString() << QList<int>{0};
        QTest::newRow("minutes 2.5 read as none") << playlist(item(0, "2.5")) << QString() << QList<int>{0};
        QTest::newRow("minutes as text read as none") << playlist(item(0, "\"5\"")) << QString() << QList<int>{0};
    }
    void readsContent()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QFETCH(QList<int>, minutes);

        const QString path = TestEnvironment::instance().path(u"content.oplaylist"_s);
        writeBytes(path, json);
        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QCOMPARE(PlaylistFile::readJsonPlaylist(path, entries), error);
        QList<PlaylistEntry> expected;
        for (int i = 0; i < minutes.size(); ++i)
            expected.append({u"/nowhere/%1.pdf"_s.arg(i), minutes.at(i)});
        QCOMPARE(entries, expected);
    }

    void readsAtMostSixteenMebibytes_data()
    {
        QTest::addColumn<qint64>("fileSize");
        QTest::addColumn<QString>("error");
        QTest::newRow("exactly 16 MiB is read") << qint64(16777216) << QString();
        QTest::newRow("one byte more is cut and refused") << qint64(16777217) << NotPlaylist;
    }
    void readsAtMostSixteenMebibytes()
    {
        QFETCH(qint64, fileSize);
        QFETCH(QString, error);

        // The padding sits inside a string, so a cut anywhere in it breaks the document.
        const QByteArray head = "{\"items\": [{\"path\": \"/nowhere/0.pdf\"}], \"format\": \"OlvantiPlaylist\", \"pad\": \"";
        const QByteArray tail = "\"}";
        const QByteArray json = head + QByteArray(fileSize - head.size() - tail.size(), 'x') + tail;
        QCOMPARE(json.size(), fileSize);
        const QString path = TestEnvironment::instance().path(u"big.oplaylist"_s);
        writeBytes(path, json);

        QList<PlaylistEntry> entries;
        QCOMPARE(PlaylistFile::readJsonPlaylist(path, entries), error);
        QCOMPARE(entries.size(), error.isEmpty() ? 1 : 0);
    }

    void reportsUnreadableFile()
    {
        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        const QString error = PlaylistFile::readJsonPlaylist(TestEnvironment::instance().path(u"absent.oplaylist"_s), entries);
        QVERIFY2(error.startsWith(u"The playlist file could not be read: "_s), qPrintable(error));
        QVERIFY(error.size() > 37); // the device's reason follows
        QVERIFY(entries.isEmpty());
    }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder is a regular file") << u"file as folder"_s;
        QTest::newRow("name too long to swap the new file in") << u"long name"_s;
        QTest::newRow("read-only folder") << u"read-only"_s;
    }
    void failedSaveKeepsOldFile()
    {
        QFETCH(QString, kind);

        QTemporaryDir root;
        QString target;
        QString oldFile;
        if (kind == u"file as folder"_s) {
            oldFile = root.path() + u"/plain"_s;
            target = oldFile + u"/show.oplaylist"_s;
        } else if (kind == u"long name"_s) {
            // 255 bytes is the longest name a folder holds; the save file needs a longer one.
            target = root.path() + u'/' + QString(255 - 10, u'n') + u".oplaylist"_s;
            oldFile = target;
        } else {
            oldFile = root.path() + u"/locked/show.oplaylist"_s;
            target = oldFile;
        }
        writeBytes(oldFile, "old content");
        if (kind == u"read-only"_s) {
            const QString folder = root.path() + u"/locked"_s;
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            QFile probe(folder + u"/probe"_s);
            if (probe.open(QIODevice::WriteOnly)) {
                probe.remove();
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("this user may write into read-only folders");
            }
        }

        const QString error = PlaylistFile::writeJsonPlaylist(target, {{u"/talks/a.pdf"_s, 5}});
        QFile::setPermissions(root.path() + u"/locked"_s, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY2(error.startsWith(WritePrefix), qPrintable(error));
        QCOMPARE(readBytes(oldFile), QByteArray("old content"));
        QCOMPARE(QDir(QFileInfo(oldFile).absolutePath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(oldFile).fileName()});
    }

    void safeEntryName_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("safe");
        QTest::newRow("plain name kept") << u"talk.pdf"_s << u"talk.pdf"_s;
        QTest::newRow("suffix is not forced") << u"notes"_s << u"notes"_s;
        QTest::newRow("name climbs out of the folder") << u"../../x.pdf"_s << u"x.pdf"_s;
        QTest::newRow("absolute name") << u"/etc/cron.d/job"_s << u"job"_s;
        QTest::newRow("parent folder alone") << u".."_s << u"document.pdf"_s;
        QTest::newRow("current folder alone") << u"."_s << u"document.pdf"_s;
        QTest::newRow("ends in parent folder") << u"a/.."_s << u"document.pdf"_s;
        QTest::newRow("empty") << QString() << u"document.pdf"_s;
        QTest::newRow("ends in a slash") << u"folder/"_s << u"document.pdf"_s;
        QTest::newRow("root") << u"/"_s << u"document.pdf"_s;
        QTest::newRow("backslashes climb") << u"..\\..\\x.pdf"_s << u".._.._x.pdf"_s;
        QTest::newRow("drive letter") << u"C:\\talks\\x.pdf"_s << u"C__talks_x.pdf"_s;
        QTest::newRow("control characters") << u"a\tb\nc\u0001.pdf"_s << u"a_b_c_.pdf"_s;
        QTest::newRow("dots inside kept") << u"v1..2.pdf"_s << u"v1..2.pdf"_s;
        QTest::newRow("non-ASCII kept") << u"Größe – ü.pdf"_s << u"Größe – ü.pdf"_s;
    }
    void safeEntryName()
    {
        QFETCH(QString, stored);
        QFETCH(QString, safe);
        QCOMPARE(PlaylistFile::safeEntryName(stored), safe);
    }

    void importFolderIsPerUserAndPerPackage()
    {
        const QString folder = PlaylistFile::importFolder(u"/media/stick/spring show.v2.opack"_s);
        QVERIFY2(folder.startsWith(qEnvironmentVariable("XDG_DATA_HOME") + u'/'), qPrintable(folder));
        QVERIFY2(folder.endsWith(u"/imports/spring show.v2"_s), qPrintable(folder));
    }
};

OLVANTI_TEST_MAIN(TestPlaylistFile)
#include "tst_playlistfile.moc"
