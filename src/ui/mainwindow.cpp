#include "mainwindow.h"

#include "base/appsettings.h"
#include "input/inputrouter.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistpanel.h"
#include "playlist/undohistory.h"
#include "presentation/displaymanager.h"
#include "presentation/filepreview.h"
#include "presentation/logo.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentationlog.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/searchdialog.h"
#include "reader/thumbnailmodel.h"
#include "reader/thumbnailview.h"
#include "timer/countdown.h"
#include "ui/commands.h"
#include "ui/handovernotice.h"
#include "ui/icons.h"
#include "ui/keyhints.h"
#include "ui/plaintextboxes.h"
#include "ui/playlistcontrol.h"
#include "ui/setupdialog.h"
#include "ui/updatecheck.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>

namespace {

// The big page numbers carry their caption in a small block above them (a block, so that a long
// caption and a long number need not fit side by side).
QString captioned(const QString &caption, const QString &text)
{
    return QStringLiteral("<p style='font-size:13px;color:#9FB3C8;margin:0;'>%1</p>").arg(caption) + text;
}

} // namespace

MainWindow::MainWindow(const QString &startDocument, QWidget *parent)
    : QMainWindow(parent)
{
    PlainTextBoxes::install();
    m_pdf = new PdfService(this);
    // Before anything else hears of it: a refused document is known before the operator is
    // asked for a password or told in a box.
    connect(m_pdf, &PdfService::failed, this, &MainWindow::documentFailed);
    m_presentation = new Presentation(m_pdf, this);
    m_router = new InputRouter(this);
    m_displays = new DisplayManager(this);
    m_store = new QSettings(this);
    m_settings = std::make_unique<AppSettings>(*m_store);

    m_countdown = new Countdown(this);
    m_playlist = new Playlist(this);
    m_undo = new UndoHistory(this);
    m_show = new Show({m_pdf, m_presentation, m_playlist, m_countdown, m_undo, m_settings.get()}, this);
    m_output = std::make_unique<OutputWindow>();
    m_thumbnails = new ThumbnailModel(m_pdf, this);
    m_nextFile = new FilePreview(this);
    m_logo = Logo::pixmap();

    setWindowTitle(QStringLiteral("OlvantiVIVuderidazi"));
    fitStartSize();
    setAcceptDrops(true);

    m_router->loadSettings(*m_settings);
    m_countdown->restoreSeconds(m_settings->timerSeconds());
    m_playlist->setEntries(m_settings->playlistFiles(), m_settings->playlistTimes(), m_settings->playlistEndPages());

    m_undo->setSnapshot([this](UndoStep &step) {
        step.files = m_playlist->files();
        step.fileMinutes = m_playlist->fileMinutes();
        step.endPages = m_playlist->endPages();
        step.seconds = m_countdown->durationSeconds();
        step.document = m_show->documentPath();
    });
    connect(m_countdown, &Countdown::durationAboutToChange, m_undo, &UndoHistory::recordTimeStep);
    // Every answer of the engine comes from the event loop, after the window is built; only
    // what the show says at once is wired first.
    if (!startDocument.isEmpty()) {
        connect(m_show, &Show::notice, this, [this](const QString &text, int ms) { statusBar()->showMessage(text, ms); });
        connect(m_show, &Show::documentMissing, this,
                [this](const QString &path) { QTimer::singleShot(0, this, [this, path] { reportMissing(path); }); });
        m_show->openByOperator(startDocument);
        disconnect(m_show, nullptr, this, nullptr);
    }
    connect(m_countdown, &Countdown::durationChanged, this, [this](int seconds) { m_settings->setTimerSeconds(seconds); });
    m_playlistControl = new PlaylistControl({m_show, m_countdown, m_playlist, m_undo, m_settings.get()}, this);

    buildUi();
    restoreGeometry(m_settings->windowGeometry());
    connectServices();
    connectDocuments();

    tellMissingDisplay();
    applyTransition(m_settings->transitionEffect(), SetupDialog::offeredTransitionMs(m_settings->transitionMs()));
    rebuildRecentMenu();
    m_presentation->setFitWidth(m_settings->outputFitWidth());

    m_liveNextSplitter->restoreState(m_settings->presenterHSplit());
    m_presenterSplitter->restoreState(m_settings->presenterVSplit());
    m_nextTimerSplitter->restoreState(m_settings->presenterRSplit());
    if (m_settings->pagesCollapsed())
        setPagesCollapsed(true, false);

    m_modePresenter->setChecked(true);
    onShowChanged(~Show::Changes());
}

MainWindow::~MainWindow()
{
    // Hidden first, while the output window still exists: a scroll view ends its animation
    // when it hides, and the reader follows its page into the output's state.
    hide();
    // The output window holds the mirror view, which renders through the service.
    m_output.reset();
}

bool MainWindow::presenterMode() const
{
    return m_show->presenting();
}

void MainWindow::checkForUpdates(bool automatic)
{
    m_updates->check(automatic);
}

void MainWindow::handleAction(Action action)
{
    if (QAction *command = m_commands->action(action))
        command->trigger();
}

void MainWindow::connectServices()
{
    // The reader page was sized from a stand-in while the document's sizes were arriving.
    connect(m_pdf, &PdfService::pageSizesChanged, m_reader, &ReaderControl::updateReader);
    connect(m_pdf, &PdfService::renderFailed, this,
            [this](const QString &, int page, const QString &message) { onRenderFailed(page, message); });
    // A search is only ever started from the dialog, so it exists when results come.
    connect(m_pdf, &PdfService::searchProgress, this, [this](const QList<SearchHit> &hits) {
        searchDialog()->showPartialResults(hits);
    });
    connect(m_pdf, &PdfService::searchFinished, this, [this](const QList<SearchHit> &hits, bool truncated) {
        searchDialog()->setResults(hits, truncated);
        m_reader->setSearchHits(hits);
    });
    connect(m_pdf, &PdfService::searchHitsUpdated, m_reader, &ReaderControl::setSearchHits);

    connect(m_show, &Show::changed, this, &MainWindow::onShowChanged);
    connect(m_show, &Show::notice, this, [this](const QString &text, int ms) { statusBar()->showMessage(text, ms); });
    connect(m_presentation, &Presentation::previewReady, this, [this](const QImage &image) {
        if (!image.isNull() || m_presentation->previewPage() >= 0 || m_show->entryBeside(1) < 0)
            m_preparedCanvas->setImage(image, false, 1);
    });
    connect(m_nextFile, &FilePreview::ready, this, [this](const QString &path, const QImage &image) {
        // Late: the show may have moved on since it was asked for.
        const int next = m_show->entryBeside(1);
        if (m_presentation->previewPage() < 0 && next >= 0 && m_playlist->files().at(next) == path)
            m_preparedCanvas->setImage(image, false, 1);
    });
    connect(m_outputControl, &OutputControl::documentReady, this, &MainWindow::documentReady);
    connect(m_outputControl, &OutputControl::shownChanged, m_show, &Show::setOutputShown);
    connect(m_outputControl, &OutputControl::statusMessage, this,
            [this](const QString &text, int ms) { statusBar()->showMessage(text, ms); });
    connect(m_playlistControl, &PlaylistControl::statusMessage, this,
            [this](const QString &text, int ms) { statusBar()->showMessage(text, ms); });

    connect(m_router, &InputRouter::triggered, this, &MainWindow::handleAction);
    connect(m_router, &InputRouter::lineStepRequested, m_show, &Show::stepLines);
    connect(m_router, &InputRouter::pageNumberChanged, this, [this](const QString &digits) {
        m_typedPage = digits;
        showLiveMarks();
        if (!digits.isEmpty())
            statusBar()->showMessage(tr("Go to page %1: Enter shows it, Escape cancels.").arg(digits),
                                     InputRouter::PageNumberTimeoutMs);
    });
    connect(m_router, &InputRouter::pageNumberEntered, m_show, [this](int number) { m_show->jumpTo(number - 1); });
    connect(m_reader, &ReaderControl::scrollReadingChanged, m_router, &InputRouter::setScrollMode);

    connect(m_outputControl, &OutputControl::outputSizeUpdated, m_reader, &ReaderControl::syncOutputMirror);
    connect(m_displays, &DisplayManager::changed, this, &MainWindow::tellMissingDisplay);
}

void MainWindow::tellMissingDisplay()
{
    // Once made, the setup dialog tells this itself when it lists the displays.
    if (!m_setup && SetupDialog::preferredDisplayMissing(*m_settings))
        statusBar()->showMessage(SetupDialog::missingDisplayNotice(), SetupDialog::MissingDisplayNoticeMs);
}

void MainWindow::applyTransition(int effect, int ms)
{
    m_liveCanvas->setTransition(PageCanvas::Transition(effect), ms);
    m_output->setTransition(PageCanvas::Transition(effect), ms);
}

void MainWindow::onRenderFailed(int page, const QString &message)
{
    // Every view asks for a page (NEXT, preload, output, reader): the operator hears of it once,
    // without a box that would take the clicker's keys. A failure of the whole document, such
    // as its file changing on disk, says the same for every page and is told once too.
    if (!m_reportedFailures.contains(message)) {
        m_reportedFailures.insert(message);
        qCWarning(lcPresentation).noquote() << "page" << page + 1 << "cannot be shown:" << message;
        statusBar()->showMessage(message, 15000);
    }
}

void MainWindow::onShowChanged(Show::Changes what)
{
    if (!m_mainStack)
        return;
    if (what & Show::ModeChanged)
        showMode();
    if (what & (Show::OutputChanged | Show::ModeChanged))
        showOutputState();
    if (what & (Show::BlackoutChanged | Show::DocumentChanged))
        showBlackout();
    if (what & (Show::BlackoutChanged | Show::OutputChanged))
        showLiveMarks();
    if (what & (Show::LiveChanged | Show::BlackoutChanged | Show::DocumentChanged | Show::EntryChanged))
        showLabels();
    if (what & (Show::LiveChanged | Show::PageChanged | Show::DocumentChanged | Show::EntryChanged | Show::SwitchChanged))
        showNext();
    if (what & (Show::LiveChanged | Show::PageChanged | Show::ModeChanged | Show::OutputChanged | Show::DocumentChanged))
        showLivePage();
}

void MainWindow::showOutputState()
{
    const bool outputShown = m_show->outputShown();
    // A window for screen sharing is no full screen: the button offers full screen then.
    const bool fullScreen = outputShown && !m_output->windowed();
    for (QPushButton *button : {m_fullscreenButton, m_outputHeaderButton}) {
        const QSignalBlocker blocker(button);
        button->setChecked(button == m_fullscreenButton ? fullScreen : outputShown);
    }
    m_fullscreenButton->setText(fullScreen ? tr("EXIT FULLSCREEN") : tr("FULLSCREEN"));
    m_outputHeaderButton->setText(outputShown ? tr("Output ON") : tr("Output OFF"));
    m_outputHeaderButton->setToolTip(m_settings->outputWindowed()
                                         ? tr("Start / stop the presentation in its own window (for screen sharing)")
                                         : tr("Start / stop the presentation on the external screen"));
    if (m_setup)
        m_setup->setOutputShown(outputShown);
}

void MainWindow::showBlackout()
{
    const bool blackout = m_show->blackout();
    const bool hasDocument = m_show->hasPages();
    m_output->setBlackout(blackout);
    m_liveCanvas->setLogo(hasDocument ? QPixmap() : m_logo);
    // The empty start screen says what to do.
    const QString welcome = hasDocument ? QString()
                                        : tr("Nothing is open yet\nOpen a PDF: File > Open PDF... (%1)\n"
                                             "Load a playlist: Playlist > Open playlist...\n"
                                             "Or drag PDFs, playlists and packages into this window")
                                              .arg(QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText));
    m_liveCanvas->setPlaceholderText(welcome);
    m_reader->welcome()->setPlaceholderText(welcome);
    m_reader->welcome()->setVisible(!hasDocument);
    if (!hasDocument)
        m_reader->welcome()->raise();
    {
        const QSignalBlocker blocker(m_blackoutButton);
        m_blackoutButton->setChecked(blackout);
        m_blackoutButton->setText(blackout ? tr("Resume") : tr("Blackout"));
        m_blackoutButton->setIcon(paintedIcon(blackout ? IconKind::BlackoutActive : IconKind::Blackout));
    }
    {
        const QSignalBlocker blocker(m_readerBlackout);
        m_readerBlackout->setChecked(blackout);
        m_readerBlackout->setText(blackout ? tr("Resume") : tr("Blackout"));
    }
}

void MainWindow::showLiveMarks()
{
    // What the operator must not miss about LIVE: a page number being typed, a blackout (the
    // display is blank only when there is an output), and no output at all.
    QString overlay;
    if (!m_typedPage.isEmpty())
        overlay = tr("GO TO PAGE %1").arg(m_typedPage) + QLatin1Char('\n') + tr("Enter shows it, Escape cancels");
    else if (m_show->blackout())
        overlay = tr("BLACKOUT") + (m_show->outputShown() ? QLatin1Char('\n') + tr("external display is blank") : QString());
    m_liveCanvas->setOverlayMessage(overlay);
    m_liveCaption->setText(m_show->outputShown() ? tr("LIVE") : tr("LIVE  -  output off: the audience sees nothing"));
    m_liveCaption->setProperty("outputOff", !m_show->outputShown());
    m_liveCaption->style()->unpolish(m_liveCaption);
    m_liveCaption->style()->polish(m_liveCaption);
}

void MainWindow::showLabels()
{
    m_liveLabel->setText(captioned(m_show->blackout() ? tr("LIVE  -  BLACKOUT") : tr("LIVE"),
                                   QStringLiteral("%1 / %2").arg(m_presentation->livePage() + 1).arg(m_pdf->pageCount())));

    const QString path = m_pdf->filePath();
    if (m_pdf->pageCount() == 0 || path.isEmpty()) {
        m_fileLabel->clear();
        m_fileLabel->setToolTip(QString());
        return;
    }
    const QString name = QFileInfo(path).fileName();
    if (m_playlist->currentIndex() < 0)
        m_fileLabel->setText(name);
    else
        m_fileLabel->setText(tr("FILE %1 / %2  -  %3").arg(m_playlist->currentIndex() + 1).arg(m_playlist->count()).arg(name));
    m_fileLabel->setToolTip(path);
}

void MainWindow::showNext()
{
    QString nextText;
    QString caption = tr("NEXT");
    const int next = m_presentation->previewPage();
    if (next >= 0) {
        nextText = QString::number(next + 1);
        m_preparedCanvas->setPlaceholderText(QString());
    } else if (const int nextFile = m_show->entryBeside(1); nextFile >= 0) {
        // At the end of the talk, or with no file at all after a failed switch: the entry that
        // Next will open, its first page and its name.
        const QString path = m_playlist->files().at(nextFile);
        nextText = tr("FILE %1").arg(nextFile + 1);
        caption = tr("NEXT") + QStringLiteral("  ·  ") + QFileInfo(path).fileName().toHtmlEscaped();
        m_preparedCanvas->setPlaceholderText(QString());
        // Never this file's last picture while the next file's comes.
        if (m_nextFile->path() != path)
            m_preparedCanvas->setImage(QImage(), false, 1);
        m_nextFile->request(path, m_preparedCanvas->renderSize());
    } else {
        nextText = m_show->hasPages() ? tr("END") : QStringLiteral("-");
        m_preparedCanvas->setPlaceholderText(m_show->hasPages() ? tr("END") : QString());
    }
    m_preparedLabel->setText(captioned(caption, nextText));
}

void MainWindow::showLivePage()
{
    const bool audienceFollows = m_show->outputShown() || m_show->presenting();
    m_thumbnails->setLivePage(audienceFollows ? m_presentation->livePage() : m_reader->currentPage());
    scrollPagesStrip();
}

void MainWindow::rerender()
{
    m_reader->updateReader();
    m_presentation->setPreviewSize(m_preparedCanvas->renderSize());
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_pdf->pageCount() > 0)
        saveReadingPosition(m_pdf->filePath());
    // The playlist panel widened the window when it opened; it starts closed next time, so the
    // window is stored without that width (else it would grow at every start).
    if (const int grown = m_playlistPanel->grownWidth(); grown > 0 && windowState() == Qt::WindowNoState)
        resize(width() - grown, height());
    m_settings->setWindowGeometry(saveGeometry());
    m_settings->setPresenterHSplit(m_liveNextSplitter->saveState());
    // A collapsed strip must not overwrite the expanded sizes.
    if (!m_pagesCollapsed)
        m_settings->setPresenterVSplit(m_presenterSplitter->saveState());
    m_settings->setPresenterRSplit(m_nextTimerSplitter->saveState());
    m_router->saveSettings(*m_settings);
    if (const QString reason = m_settings->syncAndCheck(); !reason.isEmpty())
        QMessageBox::warning(this, tr("Settings"), tr("Preferences could not be saved: %1").arg(reason));
    m_output->close();
    event->accept();
}
