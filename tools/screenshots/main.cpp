// Photographs the main window in presenter mode (with a playlist) and in reader mode, at the
// sizes of a small laptop screen and of the window's own default, in English and German, on the
// offscreen platform and with settings of its own, so the pictures never depend on the machine.
#include "app/stylesheet.h"
#include "app/translation.h"
#include "pdfgen.h"
#include "playlist/playlistfile.h"
#include "playlist/playlistpanel.h"
#include "presentation/pagecanvas.h"
#include "reader/thumbnailmodel.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTranslator>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs the event loop until `done` holds; false after 30 seconds. What the window queued for
// itself while it was shown (the clock's fit) goes first, as it does before the window's first
// paint: a grab paints at once.
bool waitFor(const std::function<bool()> &done)
{
    const QDeadlineTimer deadline(30000);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (done())
            return true;
    } while (!deadline.hasExpired());
    return false;
}

bool canvasShows(MainWindow &window, const QString &name)
{
    const auto *canvas = window.findChild<PageCanvas *>(name);
    return canvas && !canvas->image().isNull();
}

bool canvasShowsLogo(MainWindow &window)
{
    const auto *canvas = window.findChild<PageCanvas *>(u"liveCanvas"_s);
    return canvas && !canvas->placeholderText().isEmpty();
}

// The canvas shows a page rendered for its present size (a resize renders it again). LIVE is
// not one of them: it shows the output's frame.
bool renderedForItsSize(MainWindow &window, const QString &name)
{
    if (!canvasShows(window, name))
        return false;
    const auto *canvas = window.findChild<PageCanvas *>(name);
    const QSize image = canvas->image().size();
    const QSize target = canvas->renderSize();
    return qAbs(image.width() - target.width()) <= 1 || qAbs(image.height() - target.height()) <= 1;
}

// Every thumbnail of the strip has its picture and LIVE has finished its transition.
bool settled(MainWindow &window)
{
    const auto *thumbnails = window.findChild<ThumbnailModel *>();
    const auto *live = window.findChild<PageCanvas *>(u"liveCanvas"_s);
    if (!thumbnails || thumbnails->requestsInFlight() > 0 || !live || live->progress() < 1.0)
        return false;
    for (int row = 0; row < thumbnails->rowCount(); ++row) {
        if (thumbnails->data(thumbnails->index(row), Qt::DecorationRole).isNull())
            return false;
    }
    return true;
}

QString fail(const QString &message)
{
    QTextStream(stderr) << message << '\n';
    return message;
}

// Photographs one window size in the language installed now, with files and settings in
// `home`; `suffix` ends the file names.
QString photograph(const QTemporaryDir &home, const QString &folder, const QSize &size, const QString &suffix)
{
    // Every picture starts as a first start does.
    QSettings().clear();

    // The demo deck first, as the build writes it, then two more files of the programme.
    const QList<std::pair<QString, PlaylistEntry>> files{
        {QString(), {home.filePath(u"olvanti-demo.pdf"_s), 20}},
        {u"Workshop"_s, {home.filePath(u"workshop.pdf"_s), 45}},
        {u"Questions and answers"_s, {home.filePath(u"questions.pdf"_s), 0}},
    };
    QList<PlaylistEntry> entries;
    for (const auto &[heading, entry] : files) {
        const QString error = PdfGen::writeDeck(entry.path, heading.isEmpty() ? 12 : 4, heading);
        if (!error.isEmpty())
            return fail(error);
        entries.append(entry);
    }
    const QString playlist = home.filePath(u"programme.oplaylist"_s);
    if (const QString error = PlaylistFile::writeJsonPlaylist(playlist, entries); !error.isEmpty())
        return fail(error);

    MainWindow window;
    window.setWindowState(Qt::WindowNoState);
    window.resize(size);
    window.show();
    // The empty start screen once per language, at the laptop size.
    if (size == QSize(1366, 768)) {
        if (!waitFor([&] { return window.isVisible() && canvasShowsLogo(window); })
            || !window.grab().save(QDir(folder).filePath(u"start-screen-%1.png"_s.arg(suffix))))
            return fail(u"cannot photograph the start screen into "_s + folder);
    }
    window.openPath(playlist);
    window.playlistPanel()->setCollapsed(false, false);
    if (!waitFor([&] { return canvasShows(window, u"liveCanvas"_s) && canvasShows(window, u"preparedCanvas"_s); }))
        return fail(u"the demo deck did not show"_s);
    window.handleAction(Action::NextSlide);
    if (!waitFor([&] {
            return settled(window) && canvasShows(window, u"liveCanvas"_s) && renderedForItsSize(window, u"preparedCanvas"_s);
        }))
        return fail(u"the page strip did not fill"_s);
    if (!window.grab().save(QDir(folder).filePath(u"presenter-mode-%1.png"_s.arg(suffix))))
        return fail(u"cannot write into "_s + folder);

    window.findChild<QPushButton *>(u"modeReader"_s)->click();
    // Fit page: done once the page has been fitted to the view's final size.
    const auto *pageArea = window.findChild<QScrollArea *>(u"readerPageArea"_s);
    if (!waitFor([&] {
            return renderedForItsSize(window, u"readerCanvas"_s) && settled(window)
                   && pageArea->horizontalScrollBar()->maximum() == 0 && pageArea->verticalScrollBar()->maximum() == 0;
        }))
        return fail(u"reader mode did not show the page"_s);
    if (!window.grab().save(QDir(folder).filePath(u"reader-mode-%1.png"_s.arg(suffix))))
        return fail(u"cannot write into "_s + folder);
    return QString();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The toolkit reads where settings live once, so the home is set before it starts.
    QTemporaryDir home;
    if (!home.isValid()) {
        fail(u"cannot create a temporary folder"_s);
        return 1;
    }
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(name, QFile::encodeName(home.filePath(QString::fromLatin1(name))));
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: olvanti-screenshots FOLDER\n";
        return 64;
    }
    QCoreApplication::setOrganizationName(u"Olvanti"_s);
    QCoreApplication::setApplicationName(u"OlvantiVIVuderidazi"_s);
    applyApplicationStyle(app);
    for (const auto &[language, code] : {std::pair(QLocale::English, "en"), std::pair(QLocale::German, "de")}) {
        const QList<QTranslator *> installed = app.findChildren<QTranslator *>();
        for (QTranslator *translator : installed) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(QLocale(language));
        installTranslators(app);
        for (const QSize size : {QSize(1366, 768), QSize(1280, 850)}) {
            const QString suffix = u"%1x%2-%3"_s.arg(size.width()).arg(size.height()).arg(QLatin1String(code));
            if (!photograph(home, args.at(1), size, suffix).isEmpty())
                return 1;
        }
    }
    return 0;
}
