#include "startup.h"

#include "applog.h"
#include "application.h"
#include "commandline.h"
#include "messagelog.h"
#include "stylesheet.h"
#include "ui/mainwindow.h"

#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

constexpr int UpdateCheckDelayMs = 1500;
constexpr int VerifyTimeoutMs = 20000;
constexpr int VerifyTimeoutExitCode = 2;
constexpr int VerifyRefusedExitCode = 3;

void setIdentity()
{
    QCoreApplication::setOrganizationName(u"Olvanti"_s);
    QCoreApplication::setOrganizationDomain(u"olvanti.example"_s);
    QCoreApplication::setApplicationName(u"OlvantiVIVuderidazi"_s);
    QCoreApplication::setApplicationVersion(u"0.7"_s);
    QApplication::setWindowIcon(QIcon(u":/app-icon.png"_s));
}

// Translations are embedded under ":/i18n"; the source texts are English, so a missing
// catalogue for the user's language simply leaves them as they are.
void installTranslator(QCoreApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(), u"olvanti"_s, u"_"_s, u":/i18n"_s))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void startVerifyTimers(Application &app, MainWindow &window)
{
    QObject::connect(&window, &MainWindow::documentReady, &app, [] { QCoreApplication::exit(0); });
    // A file the engine refuses will never render: no use waiting for the time-out. Exiting
    // also ends the box that tells the operator, which nobody would answer here.
    QObject::connect(&window, &MainWindow::documentFailed, &app, [] {
        qCCritical(lcApp).noquote() << QCoreApplication::translate("Startup", "Diagnostic PDF could not be opened");
        QCoreApplication::exit(VerifyRefusedExitCode);
    });
    // Precise: a coarse timer may fire up to a second early, and the check promises 20 seconds.
    QTimer::singleShot(VerifyTimeoutMs, Qt::PreciseTimer, &app, [] {
        qCCritical(lcApp).noquote() << QCoreApplication::translate("Startup", "Diagnostic PDF rendering timed out");
        QCoreApplication::exit(VerifyTimeoutExitCode);
    });
}

} // namespace

int runApplication(int argc, char **argv)
{
    Application app(argc, argv);
    setIdentity();
    installTranslator(app);

    QCommandLineParser parser;
    configureParser(parser);
    parser.process(app);
    const LaunchOptions options = launchOptions(parser);
    // A verify run keeps its settings and log apart from the operator's.
    if (options.verify)
        QCoreApplication::setApplicationName(u"OlvantiVIVuderidaziDiagnostics"_s);

    MessageLog::installForApplication();
    QApplication::setStyle(u"Fusion"_s);
    app.setStyleSheet(applicationStyleSheet());

    MainWindow window;
    app.setMainWindow(&window);
    window.show();

    if (options.verify)
        startVerifyTimers(app, window);
    else
        QTimer::singleShot(UpdateCheckDelayMs, &window, [&window] { window.checkForUpdates(true); });

    const QString path = documentToOpen(options, app.pendingOpenPath());
    if (!path.isEmpty())
        QTimer::singleShot(0, &window, [&window, path] { window.openPath(path); });

    return app.exec();
}
