#include "testenv.h"

#include "pdf/textreader.h"
#include "pdfgen.h"
#include "playlistsupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>

namespace {

TestEnvironment *s_instance = nullptr;

QString generated(const QString &file, const std::function<QString(const QString &)> &write)
{
    static QHash<QString, QString> made;
    const auto it = made.constFind(file);
    if (it != made.constEnd())
        return it.value();
    const QString path = TestEnvironment::instance().path(file);
    const QString error = write(path);
    if (!error.isEmpty())
        qFatal("cannot generate fixture %s: %s", qPrintable(file), qPrintable(error));
    made.insert(file, path);
    return path;
}

} // namespace

TestEnvironment::TestEnvironment()
{
    if (!m_home.isValid())
        qFatal("cannot create a temporary home for the test");
    // Settings, data, caches and sockets live under the temporary home, private as a runtime folder must be.
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString dir = m_home.path() + QLatin1Char('/') + QString::fromLatin1(name).toLower();
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv(name, QFile::encodeName(dir));
    }
    QDir().mkpath(m_home.path() + QStringLiteral("/files"));
    s_instance = this;
}

TestEnvironment::~TestEnvironment()
{
    s_instance = nullptr;
}

TestEnvironment &TestEnvironment::instance()
{
    Q_ASSERT(s_instance);
    return *s_instance;
}

QString TestEnvironment::path(const QString &name) const
{
    return m_home.path() + QStringLiteral("/files/") + name;
}

QString TestEnvironment::textDocument(int pageCount)
{
    return generated(QStringLiteral("text-%1.pdf").arg(pageCount),
                     [pageCount](const QString &p) { return PdfGen::writeTextDocument(p, pageCount); });
}

QString TestEnvironment::deck(int slideCount)
{
    return generated(QStringLiteral("deck-%1.pdf").arg(slideCount),
                     [slideCount](const QString &p) { return PdfGen::writeDeck(p, slideCount); });
}

QString TestEnvironment::zeroPageDocument()
{
    return generated(QStringLiteral("zero-pages.pdf"), [](const QString &p) { return PdfGen::writeZeroPageDocument(p); });
}

QString TestEnvironment::encryptedDocument(const QString &password)
{
    const QString plain = textDocument(3);
    return generated(QStringLiteral("encrypted-%1.pdf").arg(password), [&](const QString &p) {
        return PdfGen::writeEncryptedCopy(plain, p, password);
    });
}

QString TestEnvironment::damagedDocument()
{
    return generated(QStringLiteral("damaged.pdf"), [](const QString &p) {
        PlaylistTest::writeBytes(p, "%PDF-1.4\nthis is not a PDF body at all\n%%EOF\n");
        return QString();
    });
}

QString TestEnvironment::brokenPageDocument()
{
    return generated(QStringLiteral("broken-page.pdf"), [](const QString &p) { return PdfGen::writeBrokenPageDocument(p); });
}

bool showAndWait(QWidget *widget)
{
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
}

ProgramRun runProgram(const QString &program, const QStringList &arguments, const QStringList &changes)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &change : changes) {
        if (change.contains(u'='))
            environment.insert(change.section(u'=', 0, 0), change.section(u'=', 1));
        else
            environment.remove(change);
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

int runIsolatedTest(int argc, char **argv, QObject *(*makeTest)(), const char *screensJson)
{
    TestEnvironment environment;
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty())
        platform = "offscreen";
    if (screensJson && platform.startsWith("offscreen")) {
        const QString config = environment.path(QStringLiteral("screens.json"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly) || file.write(QByteArray("{\"screens\": ") + screensJson + "}") <= 0)
            qFatal("cannot write the screen configuration");
        file.close();
        platform = "offscreen:configfile=" + QFile::encodeName(config);
    }
    qputenv("QT_QPA_PLATFORM", platform);
    // Settings and data go to the XDG folders set above (QStandardPaths' test mode would put
    // them in one shared folder under the real home instead).
    QApplication app(argc, argv);
    // The PDF service's text reader is built beside the program, not beside the tests.
    TextReader::setProgram(QStringLiteral(OLVANTI_TEXT_READER));
    QTEST_SET_MAIN_SOURCE_PATH
    std::unique_ptr<QObject> test(makeTest());
    return QTest::qExec(test.get(), argc, argv);
}
