#include "outputcontrol.h"

#include "displaymanager.h"
#include "outputwindow.h"
#include "pdf/pdfservice.h"
#include "presentation.h"
#include "presentationlog.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWindow>

namespace {

template<typename Result>
Result call(const std::function<Result()> &hook, Result fallback)
{
    return hook ? hook() : fallback;
}

void call(const std::function<void()> &hook)
{
    if (hook)
        hook();
}

} // namespace

OutputControl::OutputControl(PdfService *service, Presentation *presentation, DisplayManager *displays,
                             OutputWindow *output, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_presentation(presentation)
    , m_displays(displays)
    , m_output(output)
{
    connect(m_presentation, &Presentation::frameReady, this, &OutputControl::onFrameReady);
    connect(m_presentation, &Presentation::changed, this, &OutputControl::refreshEndState);
    // Every load starts by closing the previous document: opening one forgets the end notice.
    connect(m_service, &PdfService::closed, this, [this] { m_endReached = false; });
    connect(m_displays, &DisplayManager::targetRemoved, this, &OutputControl::onTargetRemoved);
    connect(m_displays, &DisplayManager::geometryChanged, this, &OutputControl::onGeometryChanged);
    connect(m_output, &PageCanvas::resized, this, &OutputControl::updateOutputSize);
    // Queued: the window has finished hiding when the toggles are refreshed.
    connect(m_output, &OutputWindow::dismissed, this, &OutputControl::refreshRequested, Qt::QueuedConnection);
}

void OutputControl::setLiveCanvas(PageCanvas *canvas)
{
    m_liveCanvas = canvas;
}

void OutputControl::setDisplayChoice(QComboBox *choice)
{
    m_displayChoice = choice;
}

void OutputControl::setDialogParent(QWidget *parent)
{
    m_dialogParent = parent;
}

QWidget *OutputControl::dialogParent() const
{
    if (m_dialogParent)
        return m_dialogParent;
    return qobject_cast<QWidget *>(parent());
}

QScreen *OutputControl::chosenScreen() const
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    const int index = m_displayChoice ? m_displayChoice->currentIndex() : -1;
    return index >= 0 && index < screens.size() ? screens.at(index) : nullptr;
}

void OutputControl::openOutput(OutputScreen where, QWidget *window)
{
    if (m_service->pageCount() == 0) {
        Q_EMIT statusMessage(tr("Open a PDF before starting output."), 5000);
        return;
    }
    QScreen *screen = nullptr;
    if (where == OwnScreen) {
        screen = window ? window->screen() : nullptr;
        if (!screen)
            screen = QGuiApplication::primaryScreen();
    } else {
        screen = chosenScreen();
    }
    if (!screen) {
        QMessageBox::warning(dialogParent(), tr("Output display"), tr("No output display is available."));
        return;
    }

    m_output->hide();
    m_output->winId();
    m_output->windowHandle()->setScreen(screen);
    m_output->setGeometry(screen->geometry());
    m_displays->setTarget(DisplayManager::screenIdentity(screen));
    m_output->showFullScreen();
    qCInfo(lcPresentation, "Output opened on %s", qPrintable(DisplayManager::screenIdentity(screen)));

    updateOutputSize();
    if (!call(m_hooks.presenterMode, true))
        m_presentation->goToPage(call(m_hooks.readerPage, -1));
    if (call(m_hooks.timerAutoStart, false) && !call(m_hooks.countdownRunning, false))
        call(m_hooks.startCountdown);
    Q_EMIT refreshRequested();
}

void OutputControl::setOutputEnabled(bool on)
{
    const bool visible = m_output->isVisible();
    if (on && !visible) {
        openOutput(ChosenDisplay);
    } else if (!on && visible) {
        const auto answer = QMessageBox::question(
            dialogParent(), tr("Stop presentation"),
            tr("Do you really want to stop the presentation on the full-screen display?"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes)
            closeOutput();
    }
    // The toggle shows the real state, also after a refused or failed change.
    Q_EMIT refreshRequested();
}

void OutputControl::closeOutput()
{
    m_output->hide();
    Q_EMIT refreshRequested();
}

void OutputControl::toggleBlackout()
{
    m_presentation->setBlackout(!m_presentation->blackout());
}

void OutputControl::displayChosen()
{
    if (m_output->isVisible())
        openOutput(ChosenDisplay);
}

void OutputControl::updateOutputSize()
{
    m_presentation->setOutputSize(m_output->renderSize());
    Q_EMIT outputSizeUpdated();
}

void OutputControl::onFrameReady(const QImage &image)
{
    const int live = m_presentation->livePage();
    const int fileDirection = call(m_hooks.fileChangeDirection, 0);
    const bool animate = !image.isNull() && m_lastShownPage >= 0 && (live != m_lastShownPage || fileDirection != 0);
    const int direction = fileDirection != 0 ? fileDirection : (live < m_lastShownPage ? -1 : 1);
    m_output->setImage(image, animate, direction);
    if (m_liveCanvas)
        m_liveCanvas->setImage(image, animate, direction);
    m_lastShownPage = image.isNull() ? -1 : live;
    if (!image.isNull()) {
        call(m_hooks.clearFileChangeDirection);
        Q_EMIT documentReady();
    }
}

void OutputControl::onTargetRemoved()
{
    // The target stays set after a close; its later removal means nothing then.
    if (!m_output->isVisible())
        return;
    qCWarning(lcPresentation, "Output display removed; output closed");
    closeOutput();
    Q_EMIT statusMessage(tr("Output display disconnected. Output closed safely; select a display and reopen."), 20000);
}

void OutputControl::onGeometryChanged(QScreen *screen)
{
    if (!m_output->isVisible() || m_output->screen() != screen)
        return;
    m_output->setGeometry(screen->geometry());
    updateOutputSize();
}

void OutputControl::presentationNext()
{
    if (call(m_hooks.fileSwitchInProgress, false))
        return;
    // Without a document (a playlist switch that failed) the playlist still goes on.
    const int count = m_service->pageCount();
    if (count > 0 && m_presentation->shownPage() + 1 < count) {
        m_presentation->next();
        return;
    }
    if (call(m_hooks.hasNextFile, false)) {
        call(m_hooks.switchToNextFile);
        return;
    }
    if (count == 0 || m_endReached)
        return;
    m_endReached = true;
    if (call(m_hooks.countdownRunning, false))
        call(m_hooks.pauseCountdown);
    Q_EMIT statusMessage(tr("End of presentation. Press Previous to go back."), 15000);
    Q_EMIT refreshRequested();
}

void OutputControl::presentationPrevious()
{
    if (call(m_hooks.fileSwitchInProgress, false))
        return;
    const bool hasPages = m_service->pageCount() > 0;
    if (hasPages && m_presentation->shownPage() > 0)
        m_presentation->previous();
    else if (call(m_hooks.hasPreviousFile, false))
        call(m_hooks.switchToPreviousFile);
    else if (hasPages)
        m_presentation->previous();
}

void OutputControl::refreshEndState()
{
    if (m_presentation->shownPage() != m_service->pageCount() - 1)
        m_endReached = false;
}
