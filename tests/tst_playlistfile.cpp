#include "playlist/playlistfile.h"
#include "playlist/playlistfile_p.h"
#include "playlistsupport.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace PlaylistTest;

namespace {

const QString NotPlaylist = u"This is not an Olvanti playlist file."_s;

} // namespace

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

        const QByteArray written = readBytes(target);
        QVERIFY2(written.startsWith("{\n    \"format\": \"OlvantiPlaylist\",\n    \"items\": [\n        {\n"),
                 written.constData());
        // No countdown writes no "minutes"; longer ones are stored as the longest.
        const QString expected = uR"({"format":"OlvantiPlaylist","items":[)"
                                 uR"({"minutes":5,"path":"ROOT/A/talks/a.pdf","relative":"talks/a.pdf"},)"
                                 uR"({"path":"ROOT/A/b.pdf","relative":"b.pdf"},)"
                                 uR"({"minutes":600,"path":"ROOT/other/c.pdf","relative":"../other/c.pdf"}],)"
                                 uR"("version":1})"_s;
        QCOMPARE(QString::fromUtf8(QJsonDocument::fromJson(written).toJson(QJsonDocument::Compact)),
                 QString(expected).replace(u"ROOT"_s, base));
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
        const QString b = root.path() + u"/B"_s;
        for (const QString &folder : pdfsInCopy ? QStringList{a, b} : QStringList{a}) {
            writeBytes(folder + u"/talks/one.pdf"_s, "1");
            writeBytes(folder + u"/two.pdf"_s, "2");
        }
        QCOMPARE(PlaylistFile::writeJsonPlaylist(a + u"/show.oplaylist"_s,
                                                 {{a + u"/talks/one.pdf"_s, 3}, {a + u"/two.pdf"_s, 0}}),
                 QString());
        writeBytes(b + u"/show.oplaylist"_s, readBytes(a + u"/show.oplaylist"_s));
        if (!keepOriginal)
            QVERIFY(QDir(a).removeRecursively());

        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QCOMPARE(PlaylistFile::readJsonPlaylist(b + u"/show.oplaylist"_s, entries), QString());
        const QString expected = root.path() + u'/' + expectedFolder;
        QCOMPARE(entries, (QList<PlaylistEntry>{{expected + u"/talks/one.pdf"_s, 3}, {expected + u"/two.pdf"_s, 0}}));
    }

    void handWrittenRelativePathsMeanThePlaylistsFolder()
    {
        QTemporaryDir root;
        writeBytes(root.path() + u"/show/talks/a.pdf"_s, "1");
        writeBytes(root.path() + u"/show/list.oplaylist"_s,
                   R"({"format":"OlvantiPlaylist","items":[{"path":"talks/a.pdf"},{"path":"../gone.pdf"}]})");
        const QString started = QDir::currentPath();
        QDir::setCurrent(QDir::rootPath());
        QList<PlaylistEntry> entries;
        const QString error = PlaylistFile::readJsonPlaylist(root.path() + u"/show/list.oplaylist"_s, entries);
        QDir::setCurrent(started);
        QCOMPARE(error, QString());
        QCOMPARE(entries, (QList<PlaylistEntry>{{root.path() + u"/show/talks/a.pdf"_s, 0}, {root.path() + u"/gone.pdf"_s, 0}}));
    }

    void readsContent_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QList<int>>("minutes"); // one per entry read; every entry is /nowhere/<n>.pdf

        // A playlist whose items have the given "minutes" texts, or none where empty.
        auto playlist = [](const QList<QByteArray> &minutes) -> QByteArray {
            QByteArrayList items;
            for (qsizetype n = 0; n < minutes.size(); ++n) {
                const QByteArray countdown = minutes.at(n).isEmpty() ? QByteArray() : ", \"minutes\": " + minutes.at(n);
                items.append("{\"path\": \"/nowhere/" + QByteArray::number(n) + ".pdf\"" + countdown + '}');
            }
            return "{\"format\": \"OlvantiPlaylist\", \"version\": 1, \"items\": [" + items.join(',') + "]}";
        };

        QTest::newRow("format differs only in case") << playlist({""}).replace("Olvanti", "olvanti")
                                                     << NotPlaylist << QList<int>();
        QTest::newRow("not JSON") << QByteArray("OlvantiPlaylist") << NotPlaylist << QList<int>();
        QTest::newRow("array at the top") << QByteArray("[{\"format\": \"OlvantiPlaylist\"}]") << NotPlaylist
                                          << QList<int>();
        QTest::newRow("right format without items reads empty")
            << QByteArray("{\"format\": \"OlvantiPlaylist\"}") << QString() << QList<int>();
        QTest::newRow("unknown keys, other versions and items without a path are ignored")
            << QByteArray("{\"colour\": \"red\", \"version\": 7, \"format\": \"OlvantiPlaylist\", \"items\": [3, {}, "
                          "{\"path\": \"\", \"relative\": \"\"}, {\"path\": \"/nowhere/0.pdf\", \"extra\": [1]}]}")
            << QString() << QList<int>{0};
        QTest::newRow("paths holding a NUL are dropped")
            << QByteArray("{\"format\": \"OlvantiPlaylist\", \"items\": [{\"path\": \"rel/x\\u0000.pdf\"}, "
                          "{\"path\": \"/nowhere/x\\u0000.pdf\"}, {\"path\": \"/nowhere/0.pdf\"}]}")
            << QString() << QList<int>{0};
        QTest::newRow("order and countdowns kept") << playlist({"1", "", "600"}) << QString() << QList<int>{1, 0, 600};
        QTest::newRow("minutes 720 limited to 600") << playlist({"720"}) << QString() << QList<int>{600};
        QTest::newRow("minutes -5 read as none") << playlist({"-5"}) << QString() << QList<int>{0};
        QTest::newRow("minutes 2.5 read as none") << playlist({"2.5"}) << QString() << QList<int>{0};
        QTest::newRow("minutes as text read as none") << playlist({"\"5\""}) << QString() << QList<int>{0};
    }
    void readsContent()
    {
        QFETCH(QByteArray, json);
        QFETCH(QList<int>, minutes);

        const QString path = TestEnvironment::instance().path(u"content.oplaylist"_s);
        writeBytes(path, json);
        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QTEST(PlaylistFile::readJsonPlaylist(path, entries), "error");
        QList<PlaylistEntry> expected;
        for (int i = 0; i < minutes.size(); ++i)
            expected.append({u"/nowhere/%1.pdf"_s.arg(i), minutes.at(i)});
        QCOMPARE(entries, expected);
    }

    void safeEntryName_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("safe");
        QTest::newRow("ends in a slash") << u"folder/"_s << u"document.pdf"_s;
        QTest::newRow("the parent folder") << u".."_s << u"document.pdf"_s;
        QTest::newRow("backslashes climb") << u"..\\..\\x.pdf"_s << u".._.._x.pdf"_s;
        QTest::newRow("drive letter") << u"C:\\talks\\x.pdf"_s << u"C__talks_x.pdf"_s;
        QTest::newRow("control characters") << u"a\tb\nc\u0001.pdf"_s << u"a_b_c_.pdf"_s;
        QTest::newRow("dots inside and non-ASCII kept") << u"Größe v1..2.pdf"_s << u"Größe v1..2.pdf"_s;
    }
    void safeEntryName()
    {
        QFETCH(QString, stored);
        QTEST(PlaylistFile::safeEntryName(stored), "safe");
    }

    // The folder a package is imported into, named after the package: never "", "." or "..",
    // which would put its files beside or above the other imports.
    void packageFolderName_data()
    {
        QTest::addColumn<QString>("baseName"); // of "name.opack"
        QTest::addColumn<QString>("folder");
        QTest::newRow(".opack") << QString() << u"package"_s;
        QTest::newRow("..opack") << u"."_s << u"package"_s;
        QTest::newRow("...opack") << u".."_s << u"package"_s;
        QTest::newRow("a name with a folder in it") << u"a/.."_s << u"package"_s;
    }
    void packageFolderName()
    {
        QFETCH(QString, baseName);
        QTEST(PlaylistFileDetail::safeName(baseName, u"package"_s), "folder");
    }
};

OLVANTI_TEST_MAIN(TestPlaylistFile)
#include "tst_playlistfile.moc"
