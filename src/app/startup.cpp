#include "startup.h"

#include "applog.h"
#include "application.h"
#include "commandline.h"
#include "messagelog.h"
#include "singleinstance.h"
#include "stylesheet.h"
#include "translation.h"
#include "playlist/playlist.h"
#include "ui/mainwindow.h"

#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif

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
    // Lets the desktop match our windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(u"example.olvanti.OlvantiVIVuderidazi"_s);
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

void keepPicturesOutOfTheHeap()
{
#ifdef __GLIBC__
    // A fixed threshold also stops the library from raising it; thumbnails stay in the heap.
    constexpr int PictureBytes = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, PictureBytes);
#endif
}

int runApplication(int argc, char **argv)
{
    keepPicturesOutOfTheHeap();
    Application app(argc, argv);
    setIdentity();
    installTranslators(app);

    QCommandLineParser parser;
    configureParser(parser);
    parser.process(app);
    const LaunchOptions options = launchOptions(parser);
    // A verify run keeps its settings and log apart from the operator's.
    if (options.verify)
        QCoreApplication::setApplicationName(u"OlvantiVIVuderidaziDiagnostics"_s);
    // A verify run checks this build on its own, whatever else is running.
    SingleInstance instance;
    if (!options.verify && instance.handOver(options.documents))
        return 0;

    MessageLog::installForApplication();
    applyApplicationStyle(app);

    // A PDF given at start begins to load and render while the window is being built.
    const QString path = documentToOpen(options, app.pendingOpenPath());
    MainWindow window(Playlist::isPlaylistPath(path) ? QString() : path);
    app.setMainWindow(&window);
    window.show();
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
        window.raise();
        window.activateWindow();
    });

    if (options.verify)
        startVerifyTimers(app, window);
    else
        QTimer::singleShot(UpdateCheckDelayMs, &window, [&window] { window.checkForUpdates(true); });

    if (Playlist::isPlaylistPath(path))
        QTimer::singleShot(0, &window, [&window, path] { window.openPath(path); });

    return app.exec();
}
