#include "startup.h"

#include "applog.h"
#include "application.h"
#include "commandline.h"
#include "messagelog.h"
#include "singleinstance.h"
#include "stylesheet.h"
#include "translation.h"
#include "base/regularfile.h"
#include "playlist/playlist.h"
#include "presentation/logo.h"
#include "presentation/presentation.h"
#include "ui/icons.h"
#include "ui/mainwindow.h"

#include <QCommandLineParser>
#include <QFontDatabase>
#include <QIcon>
#include <QTimer>

#include <fontconfig/fontconfig.h>

#include <chrono>
#include <cstdio>
#include <future>
#include <optional>
#include <thread>

#include <unistd.h>

#ifdef __GLIBC__
#include <malloc.h>
#include <pthread.h>
#include <sched.h>
#endif

using namespace Qt::StringLiterals;

namespace {

constexpr int UpdateCheckDelayMs = 1500;
constexpr int FirstPaintWaitMs = 100;
constexpr int VerifyTimeoutMs = 20000;
constexpr int VerifyTimeoutExitCode = 2;
constexpr int VerifyRefusedExitCode = 3;

void setIdentity()
{
    QCoreApplication::setOrganizationName(u"Olvanti"_s);
    QCoreApplication::setOrganizationDomain(u"olvanti.example"_s);
    QCoreApplication::setApplicationName(u"OlvantiVIVuderidazi"_s);
    QCoreApplication::setApplicationVersion(u"0.7"_s);
}

void setWindowIdentity(const QImage &icon)
{
    // The title bar's size; the desktop's larger pictures come from the installed icon theme.
    QApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    // Lets the desktop match our windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(u"example.olvanti.OlvantiVIVuderidazi"_s);
}

// Before any window system is asked: help and version are answered without one, and a verify
// run goes offscreen when no display answers. Options of the window system itself (-platform
// and the like) are unknown here; such a start goes on to the full application, which knows them.
void answerWithoutWindows(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser early;
    configureParser(early);
    // Options the parser does not know may be the window system's; a fault in our own (a
    // missing value) is told and ends the start here, with or without a display.
    const bool parsed = early.parse(arguments);
    if (!parsed && !early.unknownOptionNames().isEmpty())
        return;
    if (!parsed || early.isSet(u"help"_s) || early.isSet(u"help-all"_s) || early.isSet(u"version"_s)) {
        QCoreApplication core(argc, argv);
        setIdentity();
        installTranslators(core);
        QCommandLineParser parser;
        configureParser(parser);
        parser.process(core); // prints and ends the process, with 1 for a faulty command line
    }
    if (early.isSet(u"verify"_s) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // The toolkit tries these in turn: the displays there seem to be, then none at all.
        QByteArray platforms;
        if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
            platforms += "wayland;";
        if (qEnvironmentVariableIsSet("DISPLAY"))
            platforms += "xcb;";
        qputenv("QT_QPA_PLATFORM", platforms + "offscreen");
    }
}

int refuseVerify()
{
    qCCritical(lcApp).noquote() << QCoreApplication::translate("Startup", "Diagnostic PDF could not be opened");
    return VerifyRefusedExitCode;
}

void startVerifyTimers(Application &app, MainWindow &window)
{
    // The frame is the whole answer. Nothing of a diagnostic run is kept (its settings are
    // its own, its log is written line by line), so it ends at once instead of taking the
    // window apart.
    QObject::connect(&window, &MainWindow::documentReady, &app, [] {
        std::fflush(nullptr);
        ::_exit(0);
    });
    // A file the engine refuses, or whose first page it cannot render, will never show a
    // frame: no use waiting for the time-out. Exiting also ends the box that tells the
    // operator, which nobody would answer here.
    QObject::connect(&window, &MainWindow::documentFailed, &app, [] { QCoreApplication::exit(refuseVerify()); });
    QObject::connect(window.presentation(), &Presentation::error, &app,
                     [] { QCoreApplication::exit(refuseVerify()); });
    // Precise: a coarse timer may fire up to a second early, and the check promises 20 seconds.
    QTimer::singleShot(VerifyTimeoutMs, Qt::PreciseTimer, &app, [] {
        qCCritical(lcApp).noquote() << QCoreApplication::translate("Startup", "Diagnostic PDF rendering timed out");
        QCoreApplication::exit(VerifyTimeoutExitCode);
    });
}

// A new thread is queued behind the busy thread that made it, often for milliseconds before
// the scheduler moves it to an idle core; put on another core, it starts at once.
void startOnAnotherCore(std::jthread &thread)
{
#ifdef __GLIBC__
    const int here = sched_getcpu();
    cpu_set_t others;
    if (here < 0 || sched_getaffinity(0, sizeof others, &others) != 0)
        return;
    CPU_CLR(here, &others);
    if (CPU_COUNT(&others) > 0)
        pthread_setaffinity_np(thread.native_handle(), sizeof others, &others);
#else
    Q_UNUSED(thread)
#endif
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
    answerWithoutWindows(argc, argv);
    // Reading the system's font configuration and then its font list takes milliseconds the
    // window would otherwise wait for at its first text: another core does both from the start,
    // the list once the application exists. Nothing may read fonts before: a second reader
    // would read the configuration whole again.
    std::optional<Application> application; // outlives the reading, which is joined first
    std::promise<void> made;
    std::promise<void> read;
    std::future<void> fontsRead = read.get_future();
    std::jthread reading([applicationMade = made.get_future(), &read] {
        FcInit();
        applicationMade.wait();
        QFontDatabase::families();
        read.set_value();
    });
    startOnAnotherCore(reading);
    Application &app = application.emplace(argc, argv);
    made.set_value();
    setIdentity();
    installTranslators(app);

    QCommandLineParser parser;
    configureParser(parser);
    // A faulty command line, help or version end the program inside process(): the reading
    // is joined first, so that no font is read while the program's statics go.
    if (!parser.parse(QCoreApplication::arguments()) || parser.isSet(u"help"_s) || parser.isSet(u"help-all"_s)
        || parser.isSet(u"version"_s))
        reading.join();
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
    // A folder, pipe or device would only be found out at the time-out, if at all.
    if (options.verify) {
        if (const QString refused = RegularFile::refusal(options.verifyPath); !refused.isEmpty()) {
            qCCritical(lcApp).noquote() << refused;
            return refuseVerify();
        }
    }
    // Painted and decoded on other cores while the window is built; only a start that goes on
    // to build the window needs them.
    Logo::prepare();
    prepareIcons();
    std::future<QImage> windowIcon = std::async(std::launch::async, [] { return QImage(u":/app-icon.png"_s); });
    applyApplicationLook();

    // A PDF given at start begins to load and render while the window is being built.
    const QString path = documentToOpen(options, app.pendingOpenPath());
    // Only milliseconds remain of the reading. A thread that sleeps on them is woken a
    // millisecond late here (its core has gone idle), so this one stays awake, giving way.
    while (fontsRead.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        std::this_thread::yield();
    const QString startDocument = Playlist::isPlaylistPath(path) ? QString() : path;
    MainWindow window(startDocument);
    // In force while the window is built, the sheet would polish a panel again each time it
    // is put into its place; set afterwards, it polishes each widget once.
    app.setStyleSheet(applicationStyleSheet());
    app.setMainWindow(&window);
    setWindowIdentity(windowIcon.get());
    // The window's first paint waits a moment for the first frame, so that it shows the slide
    // instead of the placeholder just before it, and the frame does not wait behind it.
    if (!startDocument.isEmpty()) {
        window.setUpdatesEnabled(false);
        const auto paint = [&window] { window.setUpdatesEnabled(true); };
        QObject::connect(&window, &MainWindow::documentReady, &window, paint, Qt::SingleShotConnection);
        QObject::connect(&window, &MainWindow::documentFailed, &window, paint, Qt::SingleShotConnection);
        QTimer::singleShot(FirstPaintWaitMs, &window, paint);
    }
    window.show();
    // Queued: whatever the window does with them, the socket has long been answered.
    QObject::connect(&instance, &SingleInstance::handedOver, &window, &MainWindow::receiveHandOver,
                     Qt::QueuedConnection);

    if (options.verify)
        startVerifyTimers(app, window);
    else
        QTimer::singleShot(UpdateCheckDelayMs, &window, [&window] { window.checkForUpdates(true); });

    if (Playlist::isPlaylistPath(path))
        QTimer::singleShot(0, &window, [&window, path] { window.openPath(path); });

    return app.exec();
}
