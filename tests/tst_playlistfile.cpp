#include "playlist/playlist.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistfile_p.h"
#include "playlist/undohistory.h"
#include "fulldisk.h"
#include "playlistsupport.h"
#include "testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

#include <functional>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;
using namespace PlaylistTest;

namespace {

const QString NotPlaylist = u"This is not an Olvanti playlist file."_s;
const QString NotPackage = u"This is not an Olvanti playlist package."_s;
const QString Damaged = u"The package is damaged or incomplete."_s;
const QByteArray Magic("OLVANTIPACK1\n");
const QByteArray OnePdf = R"({"items":[{"name":"a.pdf","size":8}]})";
const QByteArray TwoPdfs = R"({"items":[{"name":"a.pdf","size":8},{"name":"b.pdf","size":8}]})";

QByteArray package(const QByteArray &header, const QByteArray &payload = {})
{
    QByteArray field(4, '\0');
    qToBigEndian(quint32(header.size()), field.data());
    return Magic + field + header + payload;
}

// A valid header of exactly `size` bytes holding one item "a.pdf" of 8 bytes.
QByteArray paddedHeader(qint64 size)
{
    const QByteArray head = R"({"items":[{"name":"a.pdf","size":8}],"pad":")";
    return head + QByteArray(size - head.size() - 2, 'x') + "\"}";
}

// Every file and folder below `root`, relative to it and sorted, hidden ones included.
QStringList tree(const QString &root)
{
    QStringList names;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names.append(QDir(root).relativeFilePath(it.next()));
    names.sort();
    return names;
}

} // namespace

char *toString(const PlaylistEntry &entry)
{
    return QTest::toString(u"(%1, %2)"_s.arg(entry.path).arg(entry.minutes));
}

// The playlist's own state, the history of changes kept for the Back command, its files and packages.
class TestPlaylistFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_root; // each test's own folder
    QString at(const QString &name) const { return m_root->filePath(name); }
    QString put(const QString &name, const QByteArray &bytes)
    {
        writeBytes(at(name), bytes);
        return at(name);
    }

private Q_SLOTS:
    void init() { m_root = std::make_unique<QTemporaryDir>(); }

    // Playlists and packages by their suffix in any case, not by a folder's.
    void playlistPaths()
    {
        QStringList paths{u"/shows/a.oplaylist"_s, u"/shows/A.OPACK"_s, u"/shows/a.pdf"_s, u"/x.opack/a.pdf"_s};
        paths.removeIf([](const QString &path) { return !Playlist::isPlaylistPath(path); });
        QCOMPARE(paths, (QStringList{u"/shows/a.oplaylist"_s, u"/shows/A.OPACK"_s}));
    }

    // Entries are cleaned on the way in, only new existing files are added, the current index follows the document.
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
        QTest::addColumn<QString>("copy"); // the playlist is copied from A to B; "-> X": the files are read in X
        QTest::newRow("folder moved: relative paths lead to the new place") << u"A removed, PDFs in B -> B"_s;
        QTest::newRow("folder copied: stored path wins over relative") << u"A kept, PDFs in B -> A"_s;
        QTest::newRow("PDFs gone everywhere: stored path kept") << u"A removed, no PDFs in B -> A"_s;
    }
    void writtenPlaylistsFindTheirFiles()
    {
        QFETCH(QString, copy);
        const QString a = at(u"A"_s);
        const QString b = at(u"B"_s);
        for (const QString &folder : copy.contains(u"no PDFs"_s) ? QStringList{a} : QStringList{a, b}) {
            writeBytes(folder + u"/talks/one.pdf"_s, "1");
            writeBytes(folder + u"/two.pdf"_s, "2");
        }
        const QString other = at(u"other/c.pdf"_s);
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
                 QString(expected).replace(u"ROOT"_s, m_root->path()));
        writeBytes(b + u"/show.oplaylist"_s, written);
        if (copy.contains(u"A removed"_s))
            QVERIFY(QDir(a).removeRecursively());

        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QCOMPARE(PlaylistFile::readJsonPlaylist(b + u"/show.oplaylist"_s, entries), QString());
        const QString folder = at(copy.section(u"-> "_s, 1));
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

    // The bytes written exactly, then read back whole: a PDF larger than two copy chunks and not
    // a multiple of one, with bytes that differ from chunk to chunk, shows a skipped or repeated chunk.
    void writesExactLayoutAndReadsItBack()
    {
        QByteArray bytes(2 * 1048576 + 5, Qt::Uninitialized);
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 7 + i / 1048576) & 0xff);
        const QString a = put(u"talks/a.pdf"_s, "abc");
        const QString b = put(u"b.pdf"_s, "defg");
        const QString large = put(u"large.pdf"_s, bytes);
        const QString target = at(u"show.opack"_s);
        const QString gone = at(u"gone.pdf"_s);

        int leftOut = -1;
        QCOMPARE(PlaylistFile::buildPackage(target, {{a, 5}, {gone, 7}, {b, 0}, {m_root->path(), 1}, {large, 720}, {a, 600}},
                                            &leftOut),
                 QString());
        QCOMPARE(leftOut, 2); // a missing file and a folder
        const QByteArray header = R"({"items":[{"minutes":5,"name":"a.pdf","size":3},{"name":"b.pdf","size":4},)"
                                  R"({"minutes":600,"name":"large.pdf","size":2097157},{"minutes":600,"name":"a.pdf","size":3}],"version":1})";
        // 0xb1: the header's 177 bytes.
        const QByteArray written = Magic + QByteArray("\x00\x00\x00\xb1", 4) + header + "abc" + "defg" + bytes + "abc";
        QCOMPARE(readBytes(target), written);

        const QString folder = at(u"unpacked/deeper"_s);
        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QCOMPARE(PlaylistFile::readPackage(target, folder, entries), QString());
        QCOMPARE(entries, (QList<PlaylistEntry>{{folder + u"/01_a.pdf"_s, 5}, {folder + u"/02_b.pdf"_s, 0},
                                                {folder + u"/03_large.pdf"_s, 600}, {folder + u"/04_a.pdf"_s, 600}}));
        QCOMPARE(tree(folder).size(), 4);
        const QByteArrayList contents{"abc", "defg", bytes, "abc"};
        for (qsizetype i = 0; i < contents.size(); ++i)
            QCOMPARE(readBytes(entries.at(i).path), contents.at(i));

        // With no existing PDF left the package is not touched.
        QCOMPARE(PlaylistFile::buildPackage(target, {{gone, 0}, {QString(), 3}}, &leftOut),
                 u"There is no existing PDF in the playlist to export."_s);
        QCOMPARE(leftOut, 2);
        QCOMPARE(readBytes(target), written);
        // The most PDFs an import accepts; one more would make a package nobody can open.
        const QString many = at(u"many.opack"_s);
        QCOMPARE(PlaylistFile::buildPackage(many, QList<PlaylistEntry>(10000, {a, 0})), QString());
        QVERIFY(QFile::remove(many));
        QCOMPARE(PlaylistFile::buildPackage(many, QList<PlaylistEntry>(10001, {a, 0})),
                 u"The package could not be written: The playlist has too many files for one package."_s);
        QVERIFY(!QFile::exists(many));
    }

    void fullDiskNeverTakesAFile_data()
    {
        QTest::addColumn<int>("disk"); // a FullDisk::Kind
        QTest::addColumn<bool>("import"); // else an export
        for (const auto &[kind, name] : {std::pair{FullDisk::Kind::Tmpfs, "full disk"}, {FullDisk::Kind::SizeLimit, "file size limit"}})
            for (const bool import : {false, true})
                QTest::addRow("%s: %s", name, import ? "import" : "export") << int(kind) << import;
    }
    void fullDiskNeverTakesAFile()
    {
        QFETCH(int, disk);
        QFETCH(bool, import);
        const QString folder = at(u"full"_s);
        FullDisk full(FullDisk::Kind(disk), folder);
        if (!full.unavailable().isEmpty())
            QSKIP(qPrintable(full.unavailable()));
        TestEnvironment &env = TestEnvironment::instance();
        const QList<PlaylistEntry> pdfs{{env.textDocument(2), 5}, {env.deck(3), 0}, {env.textDocument(3), 0}};
        const QString package = at(u"show.opack"_s);
        QCOMPARE(PlaylistFile::buildPackage(package, pdfs), QString());
        const QString target = folder + (import ? u"/unpacked"_s : u"/show.opack"_s);
        // Any amount of room: the write either fails, naming why, with the old file as it was,
        // or it is whole.
        for (const qint64 room : {qint64(0), qint64(4096), QFileInfo(package).size() / 2, QFileInfo(package).size() + 65536}) {
            if (!import)
                writeBytes(target, "old");
            full.fill(room);
            QList<PlaylistEntry> entries;
            const QString error = import ? PlaylistFile::readPackage(package, target, entries)
                                         : PlaylistFile::buildPackage(target, pdfs);
            full.release();
            if (!error.isEmpty())
                QCOMPARE(error, (import ? u"A PDF could not be unpacked: "_s : u"The package could not be written: "_s) + full.cause());
            if (!import) {
                QCOMPARE(readBytes(target), error.isEmpty() ? readBytes(package) : QByteArray("old"));
                QCOMPARE(tree(folder), QStringList{u"show.opack"_s});
                continue;
            }
            // Only whole PDFs, and all of them after a success.
            const QStringList unpacked = tree(target);
            QCOMPARE(unpacked.size() == pdfs.size(), error.isEmpty());
            for (const QString &name : unpacked)
                QCOMPARE(readBytes(target + u'/' + name), readBytes(pdfs.at(name.left(2).toInt() - 1).path));
        }
    }

    void pdfChangedDuringExportFailsIt_data()
    {
        QTest::addColumn<QByteArray>("rewrite");  // the PDF's bytes after the change
        QTest::newRow("rewritten in place, same size") << QByteArray("REWRITTEN");
        QTest::newRow("grown") << QByteArray("rewritten and longer");
    }
    void pdfChangedDuringExportFailsIt()
    {
        QFETCH(QByteArray, rewrite);
        const QString first = put(u"first.pdf"_s, "first pdf");
        const QString pdf = put(u"a.pdf"_s, "rewritten");
        const QString target = put(u"show.opack"_s, "old package");

        // Changed as another program might, the moment the export's own debug line says it copies it.
        static std::function<void()> change;
        static QtMessageHandler previous = nullptr;
        change = [&] {
            writeBytes(pdf, rewrite);
            // Another minute, so even a file system with coarse times tells the versions apart.
            QFile file(pdf);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(60), QFileDevice::FileModificationTime));
        };
        previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (change && message.startsWith(u"packing"_s) && message.contains(u"/a.pdf"_s))
                std::exchange(change, nullptr)();
            previous(type, context, message);
        });
        const QString error = PlaylistFile::buildPackage(target, {{first, 0}, {pdf, 0}});
        qInstallMessageHandler(previous);
        QCOMPARE(error, u"A PDF changed while it was being exported: %1"_s.arg(pdf));
        QCOMPARE(readBytes(target), QByteArray("old package"));
        QCOMPARE(tree(m_root->path()), (QStringList{u"a.pdf"_s, u"first.pdf"_s, u"show.opack"_s}));
    }

    void importFoldersKeepPackagesApartAndCancelTakesBackItsOwn()
    {
        // Equal sizes, other bytes.
        const QString show = put(u"show/col.lide.opack"_s, package(OnePdf, "contents"));
        const QString twin = put(u"twin/col.lide.opack"_s, package(OnePdf, "CONTENTS"));

        QList<PlaylistEntry> entries;
        QCOMPARE(PlaylistFile::importPackage(show, entries), QString());
        const QString folder = QFileInfo(entries.at(0).path).absolutePath();
        // Per user, named after the package without its last suffix.
        QCOMPARE(folder, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/imports/col.lide"_s);
        // The same package again uses its own copies.
        QCOMPARE(PlaylistFile::importFolder(show), folder);
        // Another package of that name must not overwrite PDFs saved playlists point to.
        QCOMPARE(PlaylistFile::importPackage(twin, entries), QString());
        QCOMPARE(entries, (QList<PlaylistEntry>{{folder + u" (2)/01_a.pdf"_s, 0}}));
        QCOMPARE(PlaylistFile::importFolder(twin), folder + u" (2)"_s);
        QCOMPARE(readBytes(folder + u"/01_a.pdf"_s), QByteArray("contents"));
        // A folder holding anything else is someone else's too.
        writeBytes(folder + u"/notes.txt"_s, "mine");
        QCOMPARE(PlaylistFile::importFolder(show), folder + u" (3)"_s);

        // A cancelled import takes back only what it wrote: an earlier import keeps its files.
        const QString path = put(u"cancel.opack"_s, package(TwoPdfs, "contentsCONTENTS"));
        const QString cancelFolder = PlaylistFile::importFolder(path);
        const auto duringSecond = [](qint64 done, qint64) { return done <= 8; };
        QCOMPARE(PlaylistFile::importPackage(path, entries, duringSecond), PlaylistFile::cancelledText());
        QVERIFY(entries.isEmpty());
        QVERIFY(!QFileInfo::exists(cancelFolder));
        QCOMPARE(PlaylistFile::importPackage(path, entries), QString());
        QCOMPARE(PlaylistFile::importPackage(path, entries, duringSecond), PlaylistFile::cancelledText());
        QCOMPARE(tree(cancelFolder), (QStringList{u"01_a.pdf"_s, u"02_b.pdf"_s}));
        QCOMPARE(readBytes(cancelFolder + u"/02_b.pdf"_s), QByteArray("CONTENTS"));
    }

    void hostilePackages_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("unpacked"); // file name = content, "contents" when not given

        auto withName = [](const QByteArray &jsonName) {
            return package(R"({"items":[{"name":)" + jsonName + R"(,"size":8}]})", "contents");
        };
        auto withSize = [](const QByteArray &size) {
            return package(R"({"items":[{"name":"a.pdf","size":)" + size + "}]}", "contents");
        };

        const QStringList none;
        QTest::newRow("wrong magic") << package(OnePdf).replace("PACK1", "PACK2") << NotPackage << none;
        // Real headers at the limit, valid JSON either way, so only the limit decides.
        QTest::newRow("header of exactly 16 MiB accepted") << package(paddedHeader(16777216), "contents") << QString()
                                                           << QStringList{u"01_a.pdf"_s};
        QTest::newRow("header one byte above 16 MiB") << package(paddedHeader(16777217), "contents") << NotPackage << none;
        QTest::newRow("no items") << package("{\"version\":1}") << NotPackage << none;
        QTest::newRow("second item without size unpacks nothing")
            << package(R"({"items":[{"name":"a.pdf","size":8},{"name":"b.pdf"}]})", "contents") << NotPackage << none;
        QTest::newRow("negative size") << withSize("-1") << NotPackage << none;
        QTest::newRow("cut inside the second PDF: the first is taken back") << package(TwoPdfs, "contentscont") << Damaged << none;
        QTest::newRow("first size larger than the rest") << withSize("9") << Damaged << none;
        QTest::newRow("size beyond 64 bits") << withSize("1e300") << Damaged << none;
        QTest::newRow("smaller size: trailing bytes ignored") << withSize("4") << QString() << QStringList{u"01_a.pdf=cont"_s};
        QTest::newRow("fractional size truncated") << withSize("4.9") << QString() << QStringList{u"01_a.pdf=cont"_s};
        QTest::newRow("duplicate names numbered apart")
            << package(QByteArray(TwoPdfs).replace("b.pdf", "a.pdf"), "contentsCONTENTS") << QString()
            << QStringList{u"01_a.pdf"_s, u"02_a.pdf=CONTENTS"_s};
        QTest::newRow("name climbs out of the folder") << withName(R"("../../x.pdf")") << QString() << QStringList{u"01_x.pdf"_s};
        const QString longName = QString(70, u'x').replace(u"x"_s, u"\U0001F600"_s);
        QTest::newRow("long name shortened, suffix kept") << withName('"' + (longName + u".pdf"_s).toUtf8() + '"') << QString()
                                                          << QStringList{u"01_"_s + longName.left(2 * 62) + u".pdf"_s};
        // Ten thousand pass the limit and fail only at the second PDF.
        QByteArrayList many(10000, R"({"name":"a.pdf","size":8})");
        QTest::newRow("exactly 10000 items") << package("{\"items\":[" + many.join(',') + "]}", "contents") << Damaged << none;
        many.append(R"({"name":"a.pdf","size":0})");
        QTest::newRow("more than 10000 items") << package("{\"items\":[" + many.join(',') + "]}")
                                               << u"The package holds more than 10000 PDFs, more than can be imported."_s << none;
    }
    void hostilePackages()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, unpacked);

        TestEnvironment &env = TestEnvironment::instance();
        const QString sandbox = env.path(u"hostile"_s);
        QDir(sandbox).removeRecursively();
        writeBytes(sandbox + u"/show.opack"_s, bytes);
        const QStringList before = tree(env.path(QString()));

        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        const QString folder = sandbox + u"/unpacked"_s;
        QTEST(PlaylistFile::readPackage(sandbox + u"/show.opack"_s, folder, entries), "error");

        QStringList files;
        QList<PlaylistEntry> expected;
        for (const QString &file : std::as_const(unpacked)) {
            const QString name = file.section(u'=', 0, 0);
            const QString content = file.contains(u'=') ? file.section(u'=', 1) : u"contents"_s;
            files.append(name);
            expected.append({folder + u'/' + name, 0});
            QCOMPARE(readBytes(folder + u'/' + name), content.toUtf8());
        }
        QCOMPARE(tree(folder), files);
        // Nothing appears anywhere else, inside the sandbox or around it.
        QStringList after = tree(env.path(QString()));
        after.removeAll(u"hostile/unpacked"_s);
        for (const QString &name : std::as_const(files))
            after.removeAll(u"hostile/unpacked/"_s + name);
        QCOMPARE(after, before);
        QCOMPARE(entries, expected);
    }

    void refusesToUnpackThroughLink()
    {
        const QString outside = put(u"outside.pdf"_s, "precious");
        const QString link = at(u"unpacked/01_a.pdf"_s);
        QVERIFY(QDir().mkpath(at(u"unpacked"_s)) && QFile::link(outside, link));
        const QString path = put(u"show.opack"_s, package(OnePdf, "contents"));

        QList<PlaylistEntry> entries;
        QCOMPARE(PlaylistFile::readPackage(path, at(u"unpacked"_s), entries),
                 u"A PDF could not be unpacked: %1 is a link to another place."_s.arg(link));
        QCOMPARE(readBytes(outside), QByteArray("precious"));
        QVERIFY(QFileInfo(link).isSymLink());
    }
};

OLVANTI_TEST_MAIN(TestPlaylistFile)
#include "tst_playlistfile.moc"
