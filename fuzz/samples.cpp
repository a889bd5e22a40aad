// Writes the sample inputs of every harness into <folder>/<harness>/, made by the program's own
// writers and the PDF fixture generator, so the fuzzers start from well-formed files.
#include "fuzzsupport.h"

#include "app/singleinstance.h"
#include "base/appsettings.h"
#include "input/bindings.h"
#include "input/inputrouter.h"
#include "pdfgen.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistfile_p.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QtEndian>

#include <cstdio>

namespace {

QString g_root;

QString samplePath(const QString &harness, const QString &name)
{
    QDir().mkpath(g_root + u'/' + harness);
    return g_root + u'/' + harness + u'/' + name;
}

void check(const QString &error, const QString &what)
{
    if (error.isEmpty())
        return;
    std::fprintf(stderr, "%s: %s\n", qPrintable(what), qPrintable(error));
    std::exit(1);
}

void writeBytes(const QString &harness, const QString &name, const QByteArray &bytes)
{
    const QString path = samplePath(harness, name);
    Fuzz::writeFile(path, reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
}

// A package written by hand, for the names and sizes the writer never produces.
QByteArray package(const QJsonArray &items, const QByteArray &payload)
{
    const QByteArray header = QJsonDocument(QJsonObject{{QStringLiteral("items"), items}}).toJson(QJsonDocument::Compact);
    QByteArray length(4, '\0');
    qToBigEndian<quint32>(quint32(header.size()), length.data());
    return PlaylistFileDetail::PackageMagic.toByteArray() + length + header + payload;
}

void pdfSamples()
{
    const auto pdf = [](const QString &name) { return samplePath(QStringLiteral("pdf"), name); };
    check(PdfGen::writeTextDocument(pdf(QStringLiteral("text.pdf")), 3), QStringLiteral("text.pdf"));
    check(PdfGen::writeDeck(pdf(QStringLiteral("deck.pdf")), 2), QStringLiteral("deck.pdf"));
    check(PdfGen::writeZeroPageDocument(pdf(QStringLiteral("zero-pages.pdf"))), QStringLiteral("zero-pages.pdf"));
    check(PdfGen::writeBarePages(pdf(QStringLiteral("bare.pdf")), {PdfGen::BarePage{QSizeF(72, 720), 0, {}}}), QStringLiteral("bare.pdf"));
    check(PdfGen::writePdf(pdf(QStringLiteral("mixed.pdf")),
                           {{QSizeF(300, 200), QStringLiteral("wide"), {QStringLiteral("one line")}},
                            {QSizeF(20, 3000), QString(), {}}}),
          QStringLiteral("mixed.pdf"));
}

void playlistSamples()
{
    const QString pdf = samplePath(QStringLiteral("playlistfile"), QStringLiteral("a.pdf"));
    check(PdfGen::writeTextDocument(pdf, 1), QStringLiteral("a.pdf"));
    check(PlaylistFile::writeJsonPlaylist(samplePath(QStringLiteral("playlistfile"), QStringLiteral("list.json")),
                                          {{pdf, 10}, {QStringLiteral("/nowhere/b.pdf"), 0},
                                           {QStringLiteral("/nowhere/c.pdf"), Limits::MaxEntryMinutes}}),
          QStringLiteral("list.json"));
    QFile::remove(pdf);
    writeBytes(QStringLiteral("playlistfile"), QStringLiteral("odd.json"),
               R"({"format":"OlvantiPlaylist","version":1,"items":[{"path":"","relative":"../a.pdf","minutes":1e308},)"
               R"({"relative":"a.pdf","minutes":-1.5},{"path":"rel/x.pdf","minutes":"7"},[],null]})");

    const QString first = samplePath(QStringLiteral("package"), QStringLiteral("first.pdf"));
    const QString second = samplePath(QStringLiteral("package"), QStringLiteral("second.pdf"));
    check(PdfGen::writeTextDocument(first, 1), QStringLiteral("first.pdf"));
    check(PdfGen::writeBarePages(second, {PdfGen::BarePage{QSizeF(100, 100), 0, {}}}), QStringLiteral("second.pdf"));
    check(PlaylistFile::buildPackage(samplePath(QStringLiteral("package"), QStringLiteral("two.olvpack")),
                                     {{first, 5}, {second, 0}}),
          QStringLiteral("two.olvpack"));
    QFile::remove(first);
    QFile::remove(second);
    // The same as the earlier import the harness puts in place, so the import reuses its folder.
    writeBytes(QStringLiteral("package"), QStringLiteral("earlier.olvpack"),
               package({QJsonObject{{QStringLiteral("name"), QStringLiteral("a.pdf")}, {QStringLiteral("size"), 7}}}, "earlier"));
    writeBytes(QStringLiteral("package"), QStringLiteral("names.olvpack"),
               package({QJsonObject{{QStringLiteral("name"), QStringLiteral("../../up.pdf")}, {QStringLiteral("size"), 3}},
                        QJsonObject{{QStringLiteral("name"), QStringLiteral("/abs/..")}, {QStringLiteral("size"), 0}},
                        QJsonObject{{QStringLiteral("name"), QStringLiteral("a\\b:c")}, {QStringLiteral("size"), 2.5}}},
                       "PDF12"));
}

void settingsSamples()
{
    const QString path = samplePath(QStringLiteral("settings"), QStringLiteral("store.ini"));
    {
        QSettings store(path, QSettings::IniFormat);
        AppSettings settings(store);
        settings.setTimerSeconds(900);
        settings.setPlaylistFiles({QStringLiteral("/talks/a.pdf"), QStringLiteral("/talks/b, c.pdf")});
        settings.setPlaylistTimes({{QStringLiteral("/talks/a.pdf"), 15}});
        settings.setPlaylistEndPages({{QStringLiteral("/talks/b, c.pdf"), 7}});
        settings.setWindowGeometry(QByteArray("\x01\xd9\xd0\xcb\0\n=", 7));
        settings.setTransition(3, 700);
        settings.pushRecent(QStringLiteral("/talks/a.pdf"));
        settings.setPosition(QStringLiteral("/talks/a.pdf"), 4);
        InputRouter router;
        router.saveSettings(settings);
        check(settings.syncAndCheck(), QStringLiteral("store.ini"));
    }
    writeBytes(QStringLiteral("settings"), QStringLiteral("odd.ini"),
               "[timer]\nminutes=99999999999\nseconds=@Invalid()\n[%General]\nrecent=a, a, \"b\\n\"\n"
               "[playlist]\ntimes=@Variant(\\0\\0\\0\\b\\0\\0\\0\\x1)\n[transition\neffect=-3\n");
}

void textSamples()
{
    const BindingTable defaults = defaultBindingTable();
    int n = 0;
    for (const QList<QKeySequence> &keys : defaults)
        writeBytes(QStringLiteral("bindings"), QString::number(++n), bindingText(keys).toUtf8());
    writeBytes(QStringLiteral("bindings"), QStringLiteral("combined"), "Ctrl+Shift+F5; ;Meta+Alt+Space;Ctrl+K, Ctrl+L");

    writeBytes(QStringLiteral("versionfile"), QStringLiteral("newer"), "0.8\nhttps://olvanti.example/get.exe\n");
    writeBytes(QStringLiteral("versionfile"), QStringLiteral("same"), "v0.7.0\n");
    writeBytes(QStringLiteral("versionfile"), QStringLiteral("spaced"), "\r\n  V1.2.3-beta \r\n\n  ftp://x y \n tail");

    writeBytes(QStringLiteral("handover"), QStringLiteral("two"),
               SingleInstance::writeMessage({QStringLiteral("/home/a/talk.pdf"), QStringLiteral("/tmp/b c.oplaylist")}));
    writeBytes(QStringLiteral("handover"), QStringLiteral("odd"), R"(["rel.pdf",7,null,"","/x\u0000y","/ok.pdf",["/n"]])");
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 64;
    }
    Fuzz::start();
    g_root = QString::fromLocal8Bit(argv[1]);
    pdfSamples();
    playlistSamples();
    settingsSamples();
    textSamples();
    return 0;
}
