#include "playlistsupport.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString DataDir = QStringLiteral(OLVANTI_SOURCE_DIR "/data/");
const QString AppId = u"example.olvanti.OlvantiVIVuderidazi"_s;

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Term ("-h, --help", "--verify pdf") and description of each entry of the help's option and
// argument lists, descriptions unwrapped.
QMap<QString, QString> helpEntries()
{
    QProcess app;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LC_ALL"_s, u"C"_s);
    environment.remove(u"LANGUAGE"_s);
    app.setProcessEnvironment(environment);
    app.start(QString::fromLocal8Bit(OLVANTI_APP_PATH), {u"--help"_s});
    if (!app.waitForFinished(60000))
        return {};
    QMap<QString, QString> entries;
    QString term;
    static const QRegularExpression entry(u"^  (\\S.*?)  +(.*)$"_s);
    static const QRegularExpression continuation(u"^   +(\\S.*)$"_s);
    for (const QString &line : QString::fromUtf8(app.readAllStandardOutput()).split(u'\n')) {
        if (const auto match = entry.match(line); match.hasMatch()) {
            term = match.captured(1).remove(u'<').remove(u'>');
            entries[term] = match.captured(2);
        } else if (const auto more = continuation.match(line); more.hasMatch() && !term.isEmpty()) {
            entries[term] += u' ' + more.captured(1);
        }
    }
    return entries;
}

// The same from the ".TP" paragraphs of the man page's options and arguments: the term line in
// plain text, then the paragraph's text.
QMap<QString, QString> manEntries()
{
    QMap<QString, QString> entries;
    const QString page = readText(DataDir + u"olvanti-vivuderidazi.1"_s).replace(u"\\-"_s, u"-"_s);
    static const QRegularExpression argument(u"\"([^\"]*)\"|(\\S+)"_s);
    const QString listed = page.section(u"\n.SH OPTIONS\n"_s, 1).section(u"\n.SH ENVIRONMENT"_s, 0, 0);
    for (const QString &paragraph : listed.split(u".TP\n"_s).mid(1)) {
        QStringList lines = paragraph.split(u'\n', Qt::SkipEmptyParts);
        // ".B a b" sets words apart, ".BR a b" (two fonts) runs them together.
        const QString request = lines.first().section(u' ', 0, 0);
        QStringList parts;
        for (auto it = argument.globalMatch(lines.takeFirst().section(u' ', 1)); it.hasNext();) {
            const auto match = it.next();
            parts.append(match.hasCaptured(1) ? match.captured(1) : match.captured(2));
        }
        lines.removeIf([](const QString &line) { return line.startsWith(u'.'); }); // the next section's heading
        entries[parts.join(request.size() == 2 ? u" "_s : QString())] = lines.join(u' ');
    }
    return entries;
}

} // namespace

class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Installed where this process's MIME database looks, before its first use.
        const QString packages = qEnvironmentVariable("XDG_DATA_HOME") + u"/mime/packages"_s;
        QVERIFY(QDir().mkpath(packages));
        QVERIFY(QFile::copy(DataDir + u"olvanti-vivuderidazi.mime.xml"_s, packages + u"/olvanti-vivuderidazi.xml"_s));
    }

    // The man page documents every option and argument of the help with the help's own words.
    void manPageFollowsTheHelp()
    {
        const QMap<QString, QString> help = helpEntries();
        const QMap<QString, QString> man = manEntries();
        QVERIFY(help.contains(u"--verify pdf"_s) && help.contains(u"document"_s));
        QCOMPARE(man.keys(), help.keys());
        for (auto it = help.cbegin(); it != help.cend(); ++it)
            QVERIFY2(man.value(it.key()).startsWith(it.value()), qPrintable(it.key()));
    }

    // The package carries the copyright file; the man page names every exit status.
    void installedFilesAndExitStatus()
    {
        const QString root = TestEnvironment::instance().path(u"installed"_s);
        QProcess install;
        install.start(u"cmake"_s, {u"--install"_s, QStringLiteral(OLVANTI_BUILD_DIR), u"--prefix"_s, root});
        QVERIFY(install.waitForFinished(120000) && install.exitCode() == 0);
        // Where the desktop finds the program, its helper, its entry, metadata, types and icons.
        const QString app = u"olvanti-vivuderidazi"_s;
        QStringList expected{u"bin/"_s + app, u"libexec/%1/olvanti-textreader"_s.arg(app),
                             u"share/applications/"_s + AppId + u".desktop"_s, u"share/metainfo/"_s + AppId + u".metainfo.xml"_s,
                             u"share/mime/packages/%1.xml"_s.arg(app), u"share/icons/hicolor/scalable/apps/%1.svg"_s.arg(app),
                             u"share/man/man1/%1.1"_s.arg(app), u"share/doc/%1/copyright"_s.arg(app)};
        for (const int size : {16, 32, 48, 64, 128, 256})
            expected << u"share/icons/hicolor/%1x%1/apps/%2.png"_s.arg(size).arg(app);
        for (const QString &file : std::as_const(expected))
            QVERIFY2(QFileInfo(root + u'/' + file).size() > 0, qPrintable(file));
        QVERIFY(QFileInfo(root + u"/bin/"_s + app).isExecutable());
        QVERIFY(readText(DataDir + u"olvanti-vivuderidazi.1"_s).section(u".SH EXIT STATUS"_s, 1).contains(u".B 3\n"_s));
    }

    void metadataValidates_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry") << u"desktop-file-validate"_s << QStringList{DataDir + AppId + u".desktop"_s};
        QTest::newRow("AppStream metadata")
            << u"appstreamcli"_s << QStringList{u"validate"_s, u"--no-net"_s, DataDir + AppId + u".metainfo.xml"_s};
    }

    void metadataValidates()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QProcess validator;
        validator.setProcessChannelMode(QProcess::MergedChannels);
        validator.start(program, arguments);
        QVERIFY2(validator.waitForFinished(60000), qPrintable(program + u" did not run"_s));
        QVERIFY2(validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0,
                 validator.readAll().constData());
    }

    void fileTypesAreRecognised_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("type");
        const QByteArray package = QByteArray("OLVANTIPACK1\n\0\0\0\2{}", 19);
        QTest::newRow("playlist by its suffix") << u"talk.oplaylist"_s << QByteArray("{\"items\":[]}") << u"application/x-olvanti-playlist"_s;
        QTest::newRow("package by its suffix") << u"talk.opack"_s << QByteArray("anything") << u"application/x-olvanti-package"_s;
        QTest::newRow("package by its magic under another name") << u"talk.bin"_s << package << u"application/x-olvanti-package"_s;
        QTest::newRow("another format version is no package")
            << u"other.bin"_s << QByteArray(package).replace("PACK1", "PACK2") << u"application/octet-stream"_s;
    }

    void fileTypesAreRecognised()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, type);
        const QString path = TestEnvironment::instance().path(name);
        PlaylistTest::writeBytes(path, content);
        QCOMPARE(QMimeDatabase().mimeTypeForFile(path).name(), type);
    }

    // Every type the entry offers to open is one the MIME database knows, ours included.
    void desktopEntryOpensKnownTypes()
    {
        static const QRegularExpression mimeLine(u"^MimeType=(.*)$"_s, QRegularExpression::MultilineOption);
        const QStringList types = mimeLine.match(readText(DataDir + AppId + u".desktop"_s)).captured(1).split(u';', Qt::SkipEmptyParts);
        QCOMPARE(types.size(), 3);
        for (const QString &type : types)
            QVERIFY2(QMimeDatabase().mimeTypeForName(type).isValid(), qPrintable(type));
    }
};

OLVANTI_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
