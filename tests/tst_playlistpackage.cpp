#include "playlist/playlistfile.h"
#include "testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

const QString NotPackage = u"This is not an Olvanti playlist package."_s;
const QString Damaged = u"The package is damaged or incomplete."_s;
const QByteArray Magic("OLVANTIPACK1\n");

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

QByteArray bigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

// A package by hand; `length` overrides the header length field when given.
QByteArray package(const QByteArray &header, const QByteArray &payload = {}, qint64 length = -1)
{
    return Magic + bigEndian(quint32(length >= 0 ? length : header.size())) + header + payload;
}

// A valid header of exactly `size` bytes holding one item "a.pdf" of 8 bytes.
QByteArray paddedHeader(qint64 size)
{
    const QByteArray head = R"({"items":[{"name":"a.pdf","size":8}],"pad":")";
    const QByteArray tail = R"("})";
    return head + QByteArray(size - head.size() - tail.size(), 'x') + tail;
}

// Every file and folder below `root`, relative to it, hidden ones included.
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

// Bytes that differ from chunk to chunk, so a skipped or repeated chunk shows.
QByteArray pattern(qint64 size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 1048576) & 0xff);
    return bytes;
}

} // namespace

char *toString(const PlaylistEntry &entry)
{
    return QTest::toString(u"(%1, %2)"_s.arg(entry.path).arg(entry.minutes));
}

class TestPlaylistPackage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesExactLayoutAndCountsMissing()
    {
        QTemporaryDir root;
        const QString a = root.path() + u"/talks/a.pdf"_s;
        const QString b = root.path() + u"/b.pdf"_s;
        writeBytes(a, "abc");
        writeBytes(b, "defg");
        const QString target = root.path() + u"/show.opack"_s;

        int leftOut = -1;
        QCOMPARE(PlaylistFile::buildPackage(target,
                                            {{a, 5}, {root.path() + u"/gone.pdf"_s, 7}, {b, 0}, {root.path(), 1}},
                                            &leftOut),
                 QString());
        QCOMPARE(leftOut, 2); // a missing file and a folder

        const QByteArray header =
            R"({"items":[{"minutes":5,"name":"a.pdf","size":3},{"name":"b.pdf","size":4}],"version":1})";
        QCOMPARE(header.size(), 87);
        QCOMPARE(readBytes(target),
                 QByteArray("OLVANTIPACK1\n") + QByteArray("\x00\x00\x00\x57", 4) + header + "abc" + "defg");
    }

    void roundTripKeepsPdfsAndCountdowns()
    {
        TestEnvironment &env = TestEnvironment::instance();
        QTemporaryDir root;
        const QString text = env.textDocument(2);
        const QString deck = env.deck(3);
        // Larger than two chunks and not a multiple of one.
        const QString large = root.path() + u"/large.pdf"_s;
        writeBytes(large, pattern(2 * 1048576 + 5));
        const QString target = root.path() + u"/show.opack"_s;

        int leftOut = -1;
        QCOMPARE(PlaylistFile::buildPackage(target, {{text, 0}, {deck, 15}, {large, 720}, {text, 600}}, &leftOut),
                 QString());
        QCOMPARE(leftOut, 0);

        const QString folder = root.path() + u"/unpacked/deeper"_s;
        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        QCOMPARE(PlaylistFile::readPackage(target, folder, entries), QString());
        const QList<PlaylistEntry> expected{{folder + u"/01_text-2.pdf"_s, 0},
                                            {folder + u"/02_deck-3.pdf"_s, 15},
                                            {folder + u"/03_large.pdf"_s, 600},
                                            {folder + u"/04_text-2.pdf"_s, 600}};
        QCOMPARE(entries, expected);
        QCOMPARE(readBytes(expected[0].path), readBytes(text));
        QCOMPARE(readBytes(expected[1].path), readBytes(deck));
        QCOMPARE(readBytes(expected[2].path), readBytes(large));
        QCOMPARE(readBytes(expected[3].path), readBytes(text));
        QCOMPARE(tree(folder), (QStringList{u"01_text-2.pdf"_s, u"02_deck-3.pdf"_s, u"03_large.pdf"_s, u"04_text-2.pdf"_s}));
    }

    void importingAgainReplacesEarlierCopies()
    {
        QTemporaryDir root;
        const QString pdf = root.path() + u"/a.pdf"_s;
        const QString target = root.path() + u"/show.opack"_s;
        const QString folder = root.path() + u"/unpacked"_s;
        QList<PlaylistEntry> entries;

        writeBytes(pdf, "first version");
        QCOMPARE(PlaylistFile::buildPackage(target, {{pdf, 0}}), QString());
        QCOMPARE(PlaylistFile::readPackage(target, folder, entries), QString());
        writeBytes(pdf, "second");
        QCOMPARE(PlaylistFile::buildPackage(target, {{pdf, 0}}), QString());
        QCOMPARE(PlaylistFile::readPackage(target, folder, entries), QString());

        QCOMPARE(tree(folder), QStringList{u"01_a.pdf"_s});
        QCOMPARE(readBytes(folder + u"/01_a.pdf"_s), QByteArray("second"));
    }

    void failedExportKeepsOldPackage_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error"); // exact, or a prefix ending in ": "
        QTest::newRow("no PDF of the playlist exists") << u"none exists"_s
                                                       << u"There is no existing PDF in the playlist to export."_s;
        QTest::newRow("folder is a regular file") << u"file as folder"_s << u"The package could not be written: "_s;
        QTest::newRow("name too long to swap the new file in") << u"long name"_s
                                                               << u"The package could not be written: "_s;
    }
    void failedExportKeepsOldPackage()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);

        QTemporaryDir root;
        const QString pdf = root.path() + u"/pdfs/a.pdf"_s;
        writeBytes(pdf, "pdf bytes");
        QString oldFile = root.path() + u"/show.opack"_s;
        QString target = oldFile;
        QList<PlaylistEntry> entries{{pdf, 0}};
        if (kind == u"none exists"_s)
            entries = {{root.path() + u"/gone.pdf"_s, 0}, {QString(), 3}};
        else if (kind == u"file as folder"_s)
            target = oldFile + u"/show.opack"_s;
        else
            target = oldFile = root.path() + u'/' + QString(255 - 6, u'n') + u".opack"_s;
        writeBytes(oldFile, "old package");

        int leftOut = -1;
        const QString result = PlaylistFile::buildPackage(target, entries, &leftOut);
        if (error.endsWith(u": "_s))
            QVERIFY2(result.startsWith(error) && result.size() > error.size(), qPrintable(result));
        else
            QCOMPARE(result, error);
        QCOMPARE(leftOut, kind == u"none exists"_s ? 2 : 0);
        QCOMPARE(readBytes(oldFile), QByteArray("old package"));
        QStringList expected{u"pdfs"_s, u"pdfs/a.pdf"_s, QFileInfo(oldFile).fileName()};
        expected.sort();
        QCOMPARE(tree(root.path()), expected);
    }

    void refusesHeaderReadersWouldRefuse()
    {
        QTemporaryDir root;
        // Each item of this name takes about 280 header bytes; 70000 of them pass 16 MiB.
        const QString pdf = root.path() + u'/' + QString(240, u'p') + u".pdf"_s;
        writeBytes(pdf, QByteArray());
        const QList<PlaylistEntry> entries(70000, PlaylistEntry{pdf, 600});
        const QString target = root.path() + u"/show.opack"_s;
        QCOMPARE(PlaylistFile::buildPackage(target, entries),
                 u"The package could not be written: The playlist has too many files for one package."_s);
        QVERIFY(!QFile::exists(target));
    }

    void readsCountdownsAndNumbersNames()
    {
        // Item 100 gets three digits; zero-byte items keep the package small.
        QByteArray items;
        const QList<QByteArray> minutes{"720", "-5", "2.5", "\"5\"", "7", "600", "1"};
        for (int i = 0; i < 100; ++i) {
            items += (i ? "," : "") + QByteArray("{\"name\":\"x.pdf\",\"size\":0");
            if (i < minutes.size())
                items += ",\"minutes\":" + minutes.at(i);
            items += '}';
        }
        QTemporaryDir root;
        const QString path = root.path() + u"/many.opack"_s;
        writeBytes(path, package("{\"items\":[" + items + "]}"));

        QList<PlaylistEntry> entries;
        const QString folder = root.path() + u"/unpacked"_s;
        QCOMPARE(PlaylistFile::readPackage(path, folder, entries), QString());
        QCOMPARE(entries.size(), 100);
        QList<int> read;
        for (int i = 0; i < minutes.size() + 1; ++i)
            read.append(entries.at(i).minutes);
        QCOMPARE(read, (QList<int>{600, 0, 0, 0, 7, 600, 1, 0}));
        QCOMPARE(entries.at(0).path, folder + u"/01_x.pdf"_s);
        QCOMPARE(entries.at(8).path, folder + u"/09_x.pdf"_s);
        QCOMPARE(entries.at(9).path, folder + u"/10_x.pdf"_s);
        QCOMPARE(entries.at(98).path, folder + u"/99_x.pdf"_s);
        QCOMPARE(entries.at(99).path, folder + u"/100_x.pdf"_s);
        QCOMPARE(tree(folder).size(), 100);
    }

    void hostilePackages_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QStringList>("unpacked"); // file name = content

        const QByteArray one = R"({"items":[{"name":"a.pdf","size":8}]})";
        const QByteArray two = R"({"items":[{"name":"a.pdf","size":8},{"name":"b.pdf","size":8}]})";
        auto withName = [](const QByteArray &jsonName) {
            return package(R"({"items":[{"name":)" + jsonName + R"(,"size":8}]})", "contents");
        };
        const QString outside = TestEnvironment::instance().path(u"hostile/outside.pdf"_s);

        QTest::newRow("empty file") << QByteArray() << NotPackage << QStringList();
        QTest::newRow("wrong magic") << QByteArray("OLVANTIPACK2\n" + bigEndian(one.size()) + one + "contents")
                                     << NotPackage << QStringList();
        QTest::newRow("length field cut short") << QByteArray(Magic + QByteArray(2, '\0')) << NotPackage << QStringList();
        QTest::newRow("zero-length header") << package(QByteArray(), one, 0) << NotPackage << QStringList();
        // Real headers at the limit, valid JSON either way, so only the limit decides.
        QTest::newRow("header of exactly 16 MiB accepted") << package(paddedHeader(16777216), "contents") << QString()
                                                           << QStringList{u"01_a.pdf"_s};
        QTest::newRow("header one byte above 16 MiB") << package(paddedHeader(16777217), "contents") << NotPackage
                                                      << QStringList();
        QTest::newRow("header length beyond the end of the file") << package(one, "contents", 100) << NotPackage
                                                                  << QStringList();
        QTest::newRow("header is not JSON") << package("{\"items\":[") << NotPackage << QStringList();
        QTest::newRow("header is an array") << package("[{\"name\":\"a.pdf\",\"size\":0}]") << NotPackage
                                            << QStringList();
        QTest::newRow("no items") << package("{\"version\":1}") << NotPackage << QStringList();
        QTest::newRow("empty items") << package("{\"items\":[]}") << NotPackage << QStringList();
        QTest::newRow("second item without size unpacks nothing")
            << package(R"({"items":[{"name":"a.pdf","size":8},{"name":"b.pdf"}]})", "contents") << NotPackage
            << QStringList();
        QTest::newRow("negative size") << package(R"({"items":[{"name":"a.pdf","size":-1}]})") << NotPackage
                                       << QStringList();
        QTest::newRow("size as text") << package(R"({"items":[{"name":"a.pdf","size":"8"}]})", "contents")
                                      << NotPackage << QStringList();
        QTest::newRow("cut inside the second PDF") << package(two, "contentscont") << Damaged
                                                   << QStringList{u"01_a.pdf"_s};
        QTest::newRow("first size larger than the rest") << package(R"({"items":[{"name":"a.pdf","size":9}]})",
                                                                    "contents")
                                                         << Damaged << QStringList();
        QTest::newRow("huge declared size")
            << package(R"({"items":[{"name":"a.pdf","size":9000000000000000000}]})", "contents") << Damaged
            << QStringList();
        QTest::newRow("size beyond 64 bits") << package(R"({"items":[{"name":"a.pdf","size":1e300}]})", "contents")
                                             << Damaged << QStringList();
        QTest::newRow("smaller size: trailing bytes ignored") << package(R"({"items":[{"name":"a.pdf","size":4}]})",
                                                                         "contents")
                                                              << QString() << QStringList{u"01_a.pdf=cont"_s};
        QTest::newRow("fractional size truncated") << package(R"({"items":[{"name":"a.pdf","size":4.9}]})",
                                                              "contents")
                                                   << QString() << QStringList{u"01_a.pdf=cont"_s};
        QTest::newRow("duplicate names numbered apart") << package(QByteArray(two).replace("b.pdf", "a.pdf"), "contentsCONTENTS")
                                                        << QString()
                                                        << QStringList{u"01_a.pdf"_s, u"02_a.pdf=CONTENTS"_s};
        QTest::newRow("name climbs out of the folder") << withName(R"("../../x.pdf")") << QString()
                                                       << QStringList{u"01_x.pdf"_s};
        QTest::newRow("name is the parent folder") << withName(R"("..")") << QString()
                                                   << QStringList{u"01_document.pdf"_s};
        QTest::newRow("absolute name") << withName('"' + outside.toUtf8() + '"') << QString()
                                       << QStringList{u"01_outside.pdf"_s};
    }
    void hostilePackages()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QFETCH(QStringList, unpacked);

        TestEnvironment &env = TestEnvironment::instance();
        const QString scratch = env.path(QString());
        const QString sandbox = env.path(u"hostile"_s);
        QDir(sandbox).removeRecursively();
        const QString packagePath = sandbox + u"/show.opack"_s;
        writeBytes(packagePath, bytes);
        const QStringList scratchBefore = tree(scratch);

        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};
        const QString folder = sandbox + u"/unpacked"_s;
        QCOMPARE(PlaylistFile::readPackage(packagePath, folder, entries), error);

        QStringList expectedFiles;
        QList<PlaylistEntry> expectedEntries;
        for (const QString &file : std::as_const(unpacked)) {
            const QString name = file.section(u'=', 0, 0);
            const QString content = file.contains(u'=') ? file.section(u'=', 1) : u"contents"_s;
            expectedFiles.append(name);
            expectedEntries.append({folder + u'/' + name, 0});
            QCOMPARE(readBytes(folder + u'/' + name), content.toUtf8());
        }
        QCOMPARE(tree(folder), expectedFiles);
        // Nothing appears anywhere else, inside the sandbox or around it.
        QStringList scratchAfter = tree(scratch);
        scratchAfter.removeAll(u"hostile/unpacked"_s);
        for (const QString &name : std::as_const(expectedFiles))
            scratchAfter.removeAll(u"hostile/unpacked/"_s + name);
        QCOMPARE(scratchAfter, scratchBefore);
        if (error.isEmpty())
            QCOMPARE(entries, expectedEntries);
    }

    void refusesToUnpackThroughLink()
    {
        QTemporaryDir root;
        const QString outside = root.path() + u"/outside.pdf"_s;
        writeBytes(outside, "precious");
        const QString folder = root.path() + u"/unpacked"_s;
        QDir().mkpath(folder);
        QVERIFY(QFile::link(outside, folder + u"/01_a.pdf"_s));
        const QString path = root.path() + u"/show.opack"_s;
        writeBytes(path, package(R"({"items":[{"name":"a.pdf","size":8}]})", "contents"));

        QList<PlaylistEntry> entries;
        QCOMPARE(PlaylistFile::readPackage(path, folder, entries),
                 u"A PDF could not be unpacked: %1 is a link to another place."_s.arg(folder + u"/01_a.pdf"_s));
        QCOMPARE(readBytes(outside), QByteArray("precious"));
        QVERIFY(QFileInfo(folder + u"/01_a.pdf"_s).isSymLink());
    }

    void reportsUnusableLocations()
    {
        QTemporaryDir root;
        const QString path = root.path() + u"/show.opack"_s;
        writeBytes(path, package(R"({"items":[{"name":"a.pdf","size":8}]})", "contents"));
        const QString plain = root.path() + u"/plain"_s;
        writeBytes(plain, "a file");
        QList<PlaylistEntry> entries{{u"/stale.pdf"_s, 1}};

        QCOMPARE(PlaylistFile::readPackage(path, plain + u"/unpacked"_s, entries),
                 u"The folder for the unpacked PDFs could not be created: %1"_s.arg(plain + u"/unpacked"_s));
        QVERIFY(entries.isEmpty());

        const QString error = PlaylistFile::readPackage(root.path() + u"/absent.opack"_s, root.path(), entries);
        QVERIFY2(error.startsWith(u"The package could not be read: "_s) && error.size() > 32, qPrintable(error));

        // A folder standing where a PDF goes.
        QDir().mkpath(root.path() + u"/unpacked/01_a.pdf"_s);
        const QString blocked = PlaylistFile::readPackage(path, root.path() + u"/unpacked"_s, entries);
        QVERIFY2(blocked.startsWith(u"A PDF could not be unpacked: "_s) && blocked.size() > 29, qPrintable(blocked));
    }
};

OLVANTI_TEST_MAIN(TestPlaylistPackage)
#include "tst_playlistpackage.moc"
