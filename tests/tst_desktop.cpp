#include "app/application.h"
#include "app/commandline.h"
#include "app/singleinstance.h"
#include "app/stylesheet.h"
#include "app/translation.h"
#include "playlistsupport.h"
#include "testenv.h"
#include "ui/buttons.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFileOpenEvent>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLocalSocket>
#include <QLocale>
#include <QLockFile>
#include <QMenuBar>
#include <QMimeDatabase>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString DataDir = QStringLiteral(OLVANTI_SOURCE_DIR "/data/");
const QString AppId = u"example.olvanti.OlvantiVIVuderidazi"_s;

QString configDir() { return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/Olvanti"_s; }
QString dataDir() { return qEnvironmentVariable("XDG_DATA_HOME") + u"/Olvanti"_s; }

QString readText(const QString &path)
{
    return QString::fromUtf8(PlaylistTest::readBytes(path));
}

// What the program prints for --help when `language` is the system's only language setting.
QString helpText(const QString &language)
{
    return QString::fromUtf8(runProgram(QString::fromLocal8Bit(OLVANTI_APP_PATH), {u"--help"_s},
                                        {u"LANGUAGE"_s, u"LC_ALL"_s, u"LC_MESSAGES"_s, u"LANG="_s + language}).out);
}

// Term ("-h, --help", "--verify pdf") and unwrapped description of each option and argument of the help.
QMap<QString, QString> helpEntries()
{
    QMap<QString, QString> entries;
    QString term;
    static const QRegularExpression entry(u"^  (\\S.*?)  +(.*)$"_s);
    static const QRegularExpression continuation(u"^   +(\\S.*)$"_s);
    for (const QString &line : helpText(u"C"_s).split(u'\n')) {
        if (const auto match = entry.match(line); match.hasMatch()) {
            term = match.captured(1).remove(u'<').remove(u'>');
            entries[term] = match.captured(2);
        } else if (const auto more = continuation.match(line); more.hasMatch() && !term.isEmpty()) {
            entries[term] += u' ' + more.captured(1);
        }
    }
    return entries;
}

// The same from the ".TP" paragraphs of the man page: the term line in plain text, then the paragraph.
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

struct SourceText
{
    QString context;
    QString source;
    QString comment;
};

// Every text the sources hand to tr() today, as the translation tools find it.
QList<SourceText> scanSources()
{
    const QString ts = TestEnvironment::instance().path(u"scanned.ts"_s);
    const QStringList arguments{u"-silent"_s, u"-locations"_s, u"none"_s, QStringLiteral(OLVANTI_SOURCE_DIR "/src"), u"-ts"_s, ts};
    if (runProgram(QString::fromLocal8Bit(OLVANTI_LUPDATE_PATH), arguments).code != 0)
        return {};
    QList<SourceText> texts;
    QString context;
    QXmlStreamReader xml(PlaylistTest::readBytes(ts));
    while (xml.readNextStartElement() || !xml.atEnd()) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == "name"_L1)
            context = xml.readElementText();
        else if (xml.name() == "source"_L1)
            texts.append({context, xml.readElementText(), QString()});
        else if (xml.name() == "comment"_L1 && !texts.isEmpty())
            texts.last().comment = xml.readElementText();
    }
    return texts;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(u"%(\\d+|n)"_s);
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

int mnemonics(QString text)
{
    return int(text.remove(u"&&"_s).count(u'&'));
}

QImage image(int kind)
{
    return paintedIcon(IconKind(kind)).pixmap(QSize(64, 64), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasColour(const QImage &image, QRgb colour)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
    return std::find(pixels, pixels + image.width() * image.height(), colour) != pixels + image.width() * image.height();
}

} // namespace

// The program as the desktop, a script or the command line start it: its files, look, language, exit codes
// and the hand-over of documents to a running instance (this process; the real executable is the later start).
class TestDesktop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Installed where this process's MIME database looks, before its first use.
        PlaylistTest::writeBytes(qEnvironmentVariable("XDG_DATA_HOME") + u"/mime/packages/olvanti-vivuderidazi.xml"_s,
                                 PlaylistTest::readBytes(DataDir + u"olvanti-vivuderidazi.mime.xml"_s));
        QVERIFY(!m_running.handOver({}));
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
        QCOMPARE(runProgram(u"cmake"_s, {u"--install"_s, QStringLiteral(OLVANTI_BUILD_DIR), u"--prefix"_s, root}).code, 0);
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
        QTest::addColumn<QStringList>("command");
        QTest::newRow("desktop entry") << QStringList{u"desktop-file-validate"_s, DataDir + AppId + u".desktop"_s};
        QTest::newRow("AppStream metadata")
            << QStringList{u"appstreamcli"_s, u"validate"_s, u"--no-net"_s, DataDir + AppId + u".metainfo.xml"_s};
    }

    void metadataValidates()
    {
        QFETCH(QStringList, command);
        const ProgramRun run = runProgram(command.first(), command.mid(1));
        QVERIFY2(run.code == 0, qPrintable(command.first() + u": "_s + QString::fromUtf8(run.out + run.err)));
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
        const QString path = TestEnvironment::instance().path(name);
        PlaylistTest::writeBytes(path, content);
        QTEST(QMimeDatabase().mimeTypeForFile(path).name(), "type");
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

    void styleSheetReachesWidgets_data()
    {
        QTest::addColumn<QString>("row"); // "[TIMER BAR PROPERTY=VALUE] LABEL NAME -> TEXT COLOUR"
        QTest::newRow("plain label is white") << u"label -> #FFFFFF"_s;
        QTest::newRow("live label is orange") << u"liveLabel -> #FF9C45"_s;
        QTest::newRow("overtime timer is yellow") << u"overtime=true timer -> #FFEB3B"_s;
        QTest::newRow("30 s warning timer is red") << u"warning=30 timer -> #FF5252"_s;
    }

    void styleSheetReachesWidgets()
    {
        QFETCH(QString, row);
        const QStringList words = row.section(u" -> "_s, 0, 0).split(u' ');
        QTest::failOnWarning(QRegularExpression(u"style ?sheet"_s, QRegularExpression::CaseInsensitiveOption));
        QWidget bar;
        bar.setStyleSheet(applicationStyleSheet());
        bar.setObjectName(u"timerBar"_s);
        if (words.size() > 1)
            bar.setProperty(words.first().section(u'=', 0, 0).toLatin1().constData(), words.first().section(u'=', 1));
        auto *label = new QLabel(u"12:00"_s, &bar);
        label->setObjectName(words.last());
        label->ensurePolished();
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(row.section(u" -> "_s, 1)));
    }

    void iconKinds_data()
    {
        QTest::addColumn<int>("kind");
        for (int kind = 0; kind < IconKindCount; ++kind)
            QTest::addRow("kind %d", kind) << kind;
    }

    // Double density, white, accent from kind 3 on, only blackout filled dark; all differ; Next mirrors Previous.
    void iconKinds()
    {
        QFETCH(int, kind);
        const QImage icon = image(kind);
        QCOMPARE(icon.size(), QSize(128, 128));
        QVERIFY(hasColour(icon, qRgba(0, 0, 0, 0)));
        QVERIFY(hasColour(icon, qRgb(0xFF, 0xFF, 0xFF)));
        QCOMPARE(hasColour(icon, qRgb(0xFF, 0x9C, 0x45)), kind >= 3);
        QCOMPARE(hasColour(icon, qRgb(0x0E, 0x19, 0x24)), kind == 2);
        for (int other = 0; other < kind; ++other)
            QVERIFY2(image(other) != icon, qPrintable(QString::number(other)));
        const QImage mirrored = kind == 1 ? image(0).mirrored(true, false) : QImage();
        for (int y = 0; y < mirrored.height(); ++y) {
            for (int x = 0; x < 128; ++x)
                QVERIFY2(std::abs(qAlpha(icon.pixel(x, y)) - qAlpha(mirrored.pixel(x, y))) <= 8,
                         qPrintable(QStringLiteral("at %1, %2").arg(x).arg(y)));
        }
    }

    void flashPressesBrieflyWithoutClicking()
    {
        QLabel label;
        flashButton(&label); // not a button: ignored
        flashButton(nullptr);
        QPushButton button(QStringLiteral("Blackout"));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        // A button deleted during its flash must not be touched when the flash ends.
        auto doomed = std::make_unique<QPushButton>();
        flashButton(doomed.get());
        QElapsedTimer clock;
        clock.start();
        flashButton(&button);
        doomed.reset();
        QVERIFY(button.isDown());
        QTRY_VERIFY(!button.isDown());
        QVERIFY2(clock.elapsed() >= 150, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(clicked.size(), 0);
    }

    void fileOpenWithTheWindowOpensAtOnce()
    {
        MainWindow window;
        QSignalSpy ready(&window, &MainWindow::documentReady);
        QString pending;
        QFileOpenEvent request(TestEnvironment::instance().deck(2));

        QVERIFY(routeFileOpen(&request, &window, pending));

        QVERIFY(pending.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 20000);
    }

    void documentChoice_data()
    {
        QTest::addColumn<QString>("row"); // "ARGUMENTS [@FILE-OPEN REQUEST BEFORE THE WINDOW] -> OPENED"
        QTest::newRow("first positional argument") << u"a.pdf b.pdf -> a.pdf"_s;
        QTest::newRow("file-open request wins over the argument") << u"a.pdf @/req.pdf -> /req.pdf"_s;
        QTest::newRow("verify ignores the positional argument") << u"--verify check.pdf a.pdf -> check.pdf"_s;
        QTest::newRow("verify ignores a file-open request") << u"a.pdf --verify=check.pdf @/req.pdf -> check.pdf"_s;
    }

    void documentChoice()
    {
        QFETCH(QString, row);
        QStringList arguments = row.section(u" -> "_s, 0, 0).split(u' ');
        QString pending;
        if (arguments.last().startsWith(u'@')) {
            QFileOpenEvent event(arguments.takeLast().mid(1));
            QVERIFY(routeFileOpen(&event, nullptr, pending));
        }
        QEvent other(QEvent::ApplicationActivate);
        QVERIFY(!routeFileOpen(&other, nullptr, pending));
        QCommandLineParser parser;
        configureParser(parser);
        QVERIFY2(parser.parse(QStringList(u"olvanti"_s) + arguments), qPrintable(parser.errorText()));

        QCOMPARE(documentToOpen(launchOptions(parser), pending), row.section(u" -> "_s, 1));
    }

    // Runs as a script starts them without a display: none is needed, only the diagnostics are left behind.
    void everyRunEndsWithItsOwnCode_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output"); // a "[2]" line on stderr and in the diagnostics log
        TestEnvironment &env = TestEnvironment::instance();
        const QString pipe = env.path(u"verify-pipe.pdf"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        // The broken page first: the document loads, but its first frame can never be made.
        const QString brokenFirst = env.path(u"broken-first.pdf"_s);
        PlaylistTest::writeBytes(brokenFirst, PlaylistTest::readBytes(env.brokenPageDocument())
                                                  .replace("[3 0 R 9 0 R 4 0 R]", "[9 0 R 3 0 R 4 0 R]"));
        const QByteArray refused("[2] Diagnostic PDF could not be opened\n");
        QTest::newRow("help") << QStringList{u"--help"_s} << 0 << QByteArray("Olvanti PDF reader and presentation system");
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << QByteArray("OlvantiVIVuderidazi 0.7\n");
        QTest::newRow("no value: a parse error, not a crash") << QStringList{u"--verify"_s} << 1
                                                              << QByteArray("Missing value after '--verify'.");
        // Answered once the window system's own options are taken, with the application made.
        QTest::newRow("version after a window system option")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"--version"_s} << 0 << QByteArray("OlvantiVIVuderidazi 0.7\n");
        QTest::newRow("unknown option after a window system option")
            << QStringList{u"-platform"_s, u"offscreen"_s, u"--bogus"_s} << 1 << QByteArray("Unknown option 'bogus'.");
        // Code 2 would mean it sat out the time-out; its own code means it stopped at the refusal.
        QTest::newRow("damaged file") << QStringList{u"--verify"_s, env.damagedDocument()} << 3 << refused;
        QTest::newRow("pipe") << QStringList{u"--verify"_s, pipe} << 3 << refused;
        QTest::newRow("first page cannot be rendered") << QStringList{u"--verify"_s, brokenFirst} << 3 << refused;
        // The valid positional document must not rescue a missing one.
        QTest::newRow("missing file times out")
            << QStringList{u"--verify"_s, env.path(u"no-such-file.pdf"_s), env.deck(3)} << 2
            << QByteArray("[2] Diagnostic PDF rendering timed out\n");
    }

    void everyRunEndsWithItsOwnCode()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, output);
        // The real executable, started in this test's own home from a clean slate.
        QDir(configDir()).removeRecursively();
        QDir(dataDir()).removeRecursively();
        QElapsedTimer clock;
        clock.start();
        const ProgramRun app = runProgram(QString::fromLocal8Bit(OLVANTI_APP_PATH), arguments,
                                          {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s});
        const qint64 elapsed = clock.elapsed();

        QTEST(app.code, "exitCode");
        // Nothing is torn down under a thread still at work.
        QVERIFY2(!app.err.contains("QMutex"), app.err.constData());
        const bool logged = output.startsWith("[2]");
        QVERIFY2((logged ? app.err : app.out + app.err).contains(output), app.err.constData());
        if (logged) {
            QFile log(dataDir() + u"/OlvantiVIVuderidaziDiagnostics/logs/presenter.log"_s);
            QVERIFY(log.open(QIODevice::ReadOnly) && log.readAll().contains(output));
        }
        if (app.code == 2)
            QVERIFY2(elapsed >= 20000, qPrintable(QString::number(elapsed)));
        // Nothing left in the organisation's folders but the diagnostics identity's own files.
        QStringList traces = QDir(configDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                             + QDir(dataDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        traces.removeIf([](const QString &name) { return name.startsWith(u"OlvantiVIVuderidaziDiagnostics"_s); });
        QCOMPARE(traces, QStringList());
    }

    void laterStartHandsOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QList<QVariantList>>("handedOver"); // the paths of each hand-over
        QTest::newRow("several documents in order, relative ones made absolute")
            << QStringList{u"/b.opack"_s, u"a.oplaylist"_s}
            << QList<QVariantList>{{QStringList{u"/b.opack"_s, TestEnvironment::instance().path(u"a.oplaylist"_s)}}};
        QTest::newRow("no document brings the window to the front") << QStringList() << QList<QVariantList>{{QStringList()}};
        QTest::newRow("verify run stays on its own")
            << QStringList{u"--verify"_s, TestEnvironment::instance().deck(2)} << QList<QVariantList>();
    }

    void laterStartHandsOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QList<QVariantList>, handedOver);
        QSignalSpy received(&m_running, &SingleInstance::handedOver);
        QProcess later;
        QSignalSpy finished(&later, &QProcess::finished);
        later.setWorkingDirectory(TestEnvironment::instance().path(QString()));
        later.start(QString::fromLocal8Bit(OLVANTI_APP_PATH), arguments);

        // The later start waits for our answer, so this event loop has to keep running.
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QCOMPARE(received, handedOver);
    }

    void eachClientIsAnsweredOrDroppedAndServiceGoesOn_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QVariant>("handed"); // the paths handed over; none: the client is dropped unanswered
        QTest::newRow("not JSON") << QByteArray("open /etc/passwd\n") << QVariant();
        QTest::newRow("JSON object instead of a list") << QByteArray("{\"path\":\"/a.pdf\"}\n") << QVariant();
        QTest::newRow("endless line") << QByteArray((1 << 20) + 2, 'x') << QVariant();
        QTest::newRow("half a message, then silence") << QByteArray("[\"/a.pdf\"") << QVariant();
        QStringList flood;
        for (int i = 0; i < 20000; ++i)
            flood.append(u"/nowhere/missing-%1.pdf"_s.arg(i));
        QTest::newRow("a flood of paths: the first hundred absolute ones")
            << SingleInstance::writeMessage(flood + QStringList{u"relative.pdf"_s}) << QVariant(flood.mid(0, 100));
    }

    void eachClientIsAnsweredOrDroppedAndServiceGoesOn()
    {
        QFETCH(QByteArray, request);
        QFETCH(QVariant, handed);
        QSignalSpy received(&m_running, &SingleInstance::handedOver);
        if (handed.isValid())
            QTest::ignoreMessage(QtWarningMsg, "19900 more documents of one hand-over were left out");
        QLocalSocket client;
        QSignalSpy gone(&client, &QLocalSocket::disconnected);
        client.connectToServer(SingleInstance::serverName());
        QVERIFY(client.waitForConnected(5000));
        client.write(request);
        QTRY_COMPARE_WITH_TIMEOUT(gone.size(), 1, SingleInstance::ClientTimeoutMs + 2000);
        QCOMPARE(client.readAll(), handed.isValid() ? QByteArray("ok\n") : QByteArray());
        QCOMPARE(received, handed.isValid() ? QList<QVariantList>{{handed}} : QList<QVariantList>());
        QLocalSocket next;
        next.connectToServer(SingleInstance::serverName());
        next.write(SingleInstance::writeMessage({u"/talk.pdf"_s}));
        QTRY_VERIFY(next.canReadLine());
        QCOMPARE(next.readLine(), QByteArray("ok\n"));
    }

    // Neither the runtime folder nor the temporary one the toolkit falls back to can be had.
    void unusableRuntimeFolderFallsBackToAPrivateOne()
    {
        const QByteArray runtimeBefore = qgetenv("XDG_RUNTIME_DIR");
        const QByteArray tmpBefore = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(TestEnvironment::instance().path(u"no/such/folder"_s)));
        qputenv("TMPDIR", QFile::encodeName(TestEnvironment::instance().deck(1)));
        const auto restore = qScopeGuard([&] {
            qputenv("XDG_RUNTIME_DIR", runtimeBefore);
            tmpBefore.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpBefore);
        });
        const QString folder = SingleInstance::runtimeFolder();
        QVERIFY2(folder.startsWith(qEnvironmentVariable("XDG_CACHE_HOME") + u'/'), qPrintable(folder));
        struct stat info;
        QCOMPARE(::stat(QFile::encodeName(folder).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0700u);

        // The lock is held but nobody listens: the start gives up and runs on its own.
        QLockFile held(folder + u"/OlvantiVIVuderidazi.lock"_s);
        QVERIFY(held.tryLock(0));
        SingleInstance later;
        QTest::ignoreMessage(QtWarningMsg, "The running instance does not answer; starting another one");
        QVERIFY(!later.handOver({u"/talk.pdf"_s}));
    }

    // New texts in the sources fail here until they are translated.
    void everySourceTextHasAGermanTranslation()
    {
        const QList<SourceText> texts = scanSources();
        QVERIFY(texts.size() > 200);
        QTranslator german;
        QVERIFY(german.load(u":/i18n/olvanti_de.qm"_s));

        QStringList faults;
        for (const SourceText &text : texts) {
            const QString translated = german.translate(text.context.toUtf8().constData(), text.source.toUtf8().constData(),
                                                        text.comment.isEmpty() ? nullptr : text.comment.toUtf8().constData());
            const QString fault = translated.isEmpty() ? u"is not translated"_s
                : placeholders(translated) != placeholders(text.source) ? u"loses or adds a placeholder"_s
                : mnemonics(translated) != mnemonics(text.source) ? u"loses or adds a keyboard shortcut"_s
                : translated.front().isSpace() != text.source.front().isSpace()
                        || translated.back().isSpace() != text.source.back().isSpace()
                    ? u"loses or adds the spacing at its ends"_s
                    : QString();
            if (!fault.isEmpty())
                faults.append(text.context + u": \""_s + text.source + u"\" "_s + fault);
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }

    void germanLocaleShowsGermanMenus()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        installTranslators(*qApp);
        MainWindow window;
        QStringList titles;
        for (const QAction *menu : window.menuBar()->actions())
            titles.append(menu->text());

        QCOMPARE(titles, QStringList({u"&Datei"_s, u"&Bearbeiten"_s, u"&Ansicht"_s, u"&Wiedergabeliste"_s,
                                      u"P&räsentation"_s, u"&Einstellungen"_s, u"&Hilfe"_s}));
    }

    // The executable itself picks the language from the environment before it prints anything.
    void executableFollowsTheSystemLanguage_data()
    {
        QTest::addColumn<QString>("row"); // "LANG -> TEXT THE HELP SHOWS"
        QTest::newRow("German") << u"de_DE.UTF-8 -> Olvanti PDF-Leser und Präsentationssystem"_s;
        QTest::newRow("no catalogue keeps English") << u"fr_FR.UTF-8 -> Olvanti PDF reader and presentation system"_s;
    }

    void executableFollowsTheSystemLanguage()
    {
        QFETCH(QString, row);
        QVERIFY2(helpText(row.section(u" -> "_s, 0, 0)).contains(row.section(u" -> "_s, 1)), qPrintable(row));
    }

private:
    SingleInstance m_running;
};

OLVANTI_TEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
