#include "mainwindow.h"

#include "input/inputrouter.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/undohistory.h"
#include "presentation/displaymanager.h"
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
#include "ui/appsettings.h"
#include "ui/icons.h"
#include "ui/keyhints.h"
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
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>

namespace {

// The big page numbers carry their caption in a small block above them.
QString captioned(const QString &caption, const QString &text)
{
    return QStringLiteral("<div style='font-size:13px;color:#9FB3C8;'>%1</div>").arg(caption) + text;
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    m_pdf = new PdfService(this);
    m_presentation = new Presentation(m_pdf, this);
    m_router = new InputRouter(this);
    m_displays = new DisplayManager(this);
    m_store = new QSettings(this);
    m_settings = std::make_unique<AppSettings>(*m_store);

    m_countdown = new Countdown(this);
    m_playlist = new Playlist(this);
    m_undo = new UndoHistory(this);
    m_output = std::make_unique<OutputWindow>();
    m_thumbnails = new ThumbnailModel(m_pdf, this);
    m_logo = QPixmap(QStringLiteral(":/logo.png"));

    setWindowTitle(QStringLiteral("OlvantiVIVuderidazi"));
    resize(1280, 850);
    setAcceptDrops(true);

    m_router->loadSettings(*m_store);
    m_countdown->restoreSeconds(m_settings->timerSeconds());
    m_playlist->setEntries(m_settings->playlistFiles(), m_settings->playlistTimes());

    m_undo->setSnapshot([this](UndoStep &step) {
        step.files = m_playlist->files();
        step.fileMinutes = m_playlist->fileMinutes();
        step.seconds = m_countdown->durationSeconds();
        step.document = m_documentPath;
    });
    m_countdown->setTimeStepRecorder([this](int previousSeconds) { m_undo->recordTimeStep(previousSeconds); });
    m_countdown->setSecondsPersister([this](int seconds) { m_settings->setTimerSeconds(seconds); });
    m_playlistControl =
        new PlaylistControl({m_pdf, m_presentation, m_countdown, m_playlist, m_undo, m_settings.get()}, this);
    m_playlistControl->setHooks({
        .currentDocument = [this] { return m_documentPath; },
        .openDocument = [this](const QString &path, bool resetTimer) { openDocument(path, resetTimer); },
        .closeDocument = [this] { closeDocument(); },
        .refreshPresenter = [this] { refreshView(); },
    });

    buildUi();
    restoreGeometry(m_settings->windowGeometry());
    connectServices();

    m_setup->refillDisplays();
    m_setup->applyTransition();
    rebuildRecentMenu();
    m_output->setFitWidth(m_settings->outputFitWidth());
    m_presentation->setFitWidth(m_settings->outputFitWidth());

    m_liveNextSplitter->restoreState(m_settings->presenterHSplit());
    m_presenterSplitter->restoreState(m_settings->presenterVSplit());
    m_nextTimerSplitter->restoreState(m_settings->presenterRSplit());
    if (m_settings->pagesCollapsed())
        setPagesCollapsed(true, false);

    m_modePresenter->setChecked(true);
    refreshView();
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
    return m_modePresenter && m_modePresenter->isChecked();
}

void MainWindow::checkForUpdates(bool automatic)
{
    m_updates->check(automatic);
}

void MainWindow::connectServices()
{
    connect(m_pdf, &PdfService::loaded, this, &MainWindow::onLoaded);
    // The reader page was sized from a stand-in while the document's sizes were arriving.
    connect(m_pdf, &PdfService::pageSizesChanged, m_reader, &ReaderControl::updateReader);
    connect(m_pdf, &PdfService::closed, this, &MainWindow::onClosed);
    connect(m_pdf, &PdfService::failed, this, &MainWindow::onFailed);
    connect(m_pdf, &PdfService::rendered, this, &MainWindow::onRendered);
    connect(m_pdf, &PdfService::renderFailed, this, &MainWindow::onRenderFailed);
    connect(m_pdf, &PdfService::searchProgress, m_search, &SearchDialog::showPartialResults);
    connect(m_pdf, &PdfService::searchFinished, this, [this](const QList<SearchHit> &hits, bool truncated) {
        m_search->setResults(hits, truncated);
        m_reader->setSearchHits(hits);
    });
    connect(m_pdf, &PdfService::searchHitsUpdated, m_reader, &ReaderControl::setSearchHits);

    connect(m_presentation, &Presentation::changed, this, &MainWindow::refreshView);
    connect(m_outputControl, &OutputControl::documentReady, this, &MainWindow::documentReady);
    connect(m_outputControl, &OutputControl::statusMessage, this,
            [this](const QString &text, int ms) { statusBar()->showMessage(text, ms); });
    connect(m_outputControl, &OutputControl::refreshRequested, this, &MainWindow::refreshView);
    connect(m_playlistControl, &PlaylistControl::statusMessage, this,
            [this](const QString &text, int ms) { statusBar()->showMessage(text, ms); });

    connect(m_router, &InputRouter::triggered, this, [this](Action action) {
        m_fromArrowKey = m_router->lastKey() == Qt::Key_Up || m_router->lastKey() == Qt::Key_Down;
        handleAction(action);
        m_fromArrowKey = false;
    });

    connect(m_outputControl, &OutputControl::outputSizeUpdated, m_reader, &ReaderControl::syncOutputMirror);
    connect(m_displays, &DisplayManager::changed, m_setup, &SetupDialog::refillDisplays);
}

void MainWindow::onRendered(const QString &channel, int page, const QImage &image)
{
    if (channel == QLatin1String("prepared")) {
        m_preparedCanvas->setImage(image, false, 1);
        return;
    }
    m_reader->deliver(channel, page, image);
}

void MainWindow::onRenderFailed(const QString &channel, int page, const QString &message)
{
    // Every view asks for a page (NEXT, preload, output, reader): the operator hears of it once,
    // without a box that would take the clicker's keys.
    if (!m_failedPages.contains(page)) {
        m_failedPages.insert(page);
        qCWarning(lcPresentation).noquote() << "page" << page + 1 << "cannot be shown:" << message;
        statusBar()->showMessage(message, 15000);
    }
    if (channel == QLatin1String("prepared"))
        clearPrepared();
    else
        m_reader->deliverFailure(channel);
}

void MainWindow::rerender()
{
    m_reader->updateReader();
    refreshView();
}

void MainWindow::refreshView()
{
    if (!m_mainStack)
        return;
    const bool presenter = presenterMode();
    const bool outputShown = m_output->isVisible();
    const bool hasDocument = m_pdf->pageCount() > 0;

    m_reader->applyReaderMode();
    m_presentation->setTwoPageOutput(!presenter && outputShown && m_reader->twoPages());

    if (!presenter && outputShown && hasDocument && !m_reader->scrollMode()) {
        const int shown = m_presentation->shownPage();
        if (shown >= 0 && shown != m_reader->currentPage())
            m_reader->showReaderPage(shown);
    }

    for (QPushButton *button : {m_fullscreenButton, m_outputHeaderButton}) {
        const QSignalBlocker blocker(button);
        button->setChecked(outputShown);
    }
    m_fullscreenButton->setText(outputShown ? tr("EXIT FULLSCREEN") : tr("FULLSCREEN"));
    m_outputHeaderButton->setText(outputShown ? tr("Output ON") : tr("Output OFF"));

    const int livePage = m_presentation->livePage();
    m_thumbnails->setLivePage(outputShown || presenter ? livePage : m_reader->currentPage());
    scrollPagesStrip();

    m_output->setBlackout(m_presentation->blackout());
    m_liveCanvas->setLogo(hasDocument ? QPixmap() : m_logo);
    m_reader->welcome()->setVisible(!hasDocument);
    if (!hasDocument)
        m_reader->welcome()->raise();
    m_liveCanvas->setOverlayMessage(m_presentation->blackout()
                                        ? tr("BLACKOUT") + QLatin1Char('\n') + tr("external display is blank")
                                        : QString());
    refreshLabels();
    refreshNext();

    const bool blackout = m_presentation->blackout();
    {
        const QSignalBlocker blocker(m_blackoutButton);
        m_blackoutButton->setChecked(blackout);
        m_blackoutButton->setText(blackout ? tr("Resume") : tr("Blackout"));
        m_blackoutButton->setIcon(paintedIcon(blackout ? 3 : 2));
    }
    {
        const QSignalBlocker blocker(m_readerBlackout);
        m_readerBlackout->setChecked(blackout);
        m_readerBlackout->setText(blackout ? tr("Resume") : tr("Blackout"));
    }
    if (presenter) {
        const QSignalBlocker blocker(m_reader->pageBox());
        m_reader->pageBox()->setValue(std::max(1, m_presentation->currentPage() + 1));
    }
    m_setup->setOutputShown(outputShown);
    m_outputControl->refreshEndState();
}

void MainWindow::refreshLabels()
{
    m_liveLabel->setText(captioned(m_presentation->blackout() ? tr("LIVE  -  BLACKOUT") : tr("LIVE"),
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

void MainWindow::refreshNext()
{
    const int pages = m_pdf->pageCount();
    QString nextText;
    if (pages == 0) {
        nextText = QStringLiteral("-");
        m_preparedCanvas->setPlaceholderText(QString());
    } else {
        const int next = m_presentation->shownPage() + 1;
        if (next < pages) {
            nextText = QString::number(next + 1);
            m_preparedCanvas->setPlaceholderText(QString());
            // Every refresh would otherwise ask again for the page the canvas already has.
            const QSize size = m_preparedCanvas->renderSize();
            if (m_preparedPage != next || m_preparedSize != size) {
                m_preparedPage = next;
                m_preparedSize = size;
                m_pdf->render(QStringLiteral("prepared"), next, size, 0, 40);
            }
        } else {
            m_pdf->cancel(QStringLiteral("prepared"));
            clearPrepared();
            m_preparedCanvas->setPlaceholderText(tr("END"));
            const int nextFile = m_playlistControl->entryBeside(1);
            nextText = nextFile >= 0 ? tr("FILE %1").arg(nextFile + 1) : tr("END");
        }
    }
    m_preparedLabel->setText(captioned(tr("NEXT"), nextText));
}

void MainWindow::clearPrepared()
{
    m_preparedCanvas->setImage(QImage(), false, 1);
    m_preparedPage = -1;
    m_preparedSize = QSize();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_pdf->pageCount() > 0)
        saveReadingPosition();
    m_settings->setWindowGeometry(saveGeometry());
    m_settings->setPresenterHSplit(m_liveNextSplitter->saveState());
    // A collapsed strip must not overwrite the expanded sizes.
    if (!m_pagesCollapsed)
        m_settings->setPresenterVSplit(m_presenterSplitter->saveState());
    m_settings->setPresenterRSplit(m_nextTimerSplitter->saveState());
    m_router->saveSettings(*m_store);
    if (!m_settings->syncAndCheck()) {
        QMessageBox::warning(this, tr("Settings"), tr("Preferences could not be saved. Check filesystem permissions."));
    }
    m_output->close();
    event->accept();
}
