#include "outputcontrol.h"

#include "base/appsettings.h"
#include "displaychoice.h"
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

// The free window's size until the operator gives it one.
constexpr QSize FreeWindowStart(960, 540);

} // namespace

QList<QSize> OutputControl::windowSizes()
{
    return {QSize(1280, 720), QSize(1920, 1080), QSize()};
}

OutputControl::OutputControl(PdfService *service, Presentation *presentation, DisplayManager *displays,
                             OutputWindow *output, AppSettings *settings, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_presentation(presentation)
    , m_displays(displays)
    , m_output(output)
    , m_settings(settings)
{
    m_resizeRest.setSingleShot(true);
    m_resizeRest.setInterval(ResizeRestMs);
    connect(m_presentation, &Presentation::frameReady, this, &OutputControl::onFrameReady);
    connect(m_displays, &DisplayManager::targetRemoved, this, &OutputControl::onTargetRemoved);
    connect(m_displays, &DisplayManager::targetReturned, this, &OutputControl::onTargetReturned);
    connect(m_displays, &DisplayManager::geometryChanged, this, &OutputControl::onGeometryChanged);
    // While an edge is dragged the canvas shows the last frame scaled; the page is rendered
    // once for the size the window comes to rest at.
    connect(m_output, &PageCanvas::resized, &m_resizeRest, qOverload<>(&QTimer::start));
    connect(&m_resizeRest, &QTimer::timeout, this, &OutputControl::updateOutputSize);
    // Queued: the window has finished hiding when the show hears of it.
    connect(m_output, &OutputWindow::dismissed, this, [this] { Q_EMIT shownChanged(isShown()); }, Qt::QueuedConnection);
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

bool OutputControl::isShown() const
{
    return m_output->isVisible();
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
    // The selector, once the setup dialog has made it, else what it would select.
    const int index = m_displayChoice ? m_displayChoice->currentIndex() : chosenDisplayIndex(m_settings->outputDisplay());
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
    m_awaitedDisplay.clear();
    showOn(screen, where == ChosenDisplay && m_settings->outputWindowed());
}

void OutputControl::showOn(QScreen *screen, bool windowed)
{
    hideOutput();
    m_output->winId();
    m_output->windowHandle()->setScreen(screen);
    m_output->setWindowed(windowed);
    if (windowed) {
        m_output->setWindowState(Qt::WindowNoState);
        m_output->setGeometry(windowGeometry(screen));
        m_output->show();
    } else {
        m_output->setGeometry(screen->geometry());
        m_displays->setTarget(DisplayManager::screenIdentity(screen));
        m_output->showFullScreen();
    }
    qCInfo(lcPresentation, "Output opened %s on %s", windowed ? "as a window" : "full screen",
           qPrintable(DisplayManager::screenIdentity(screen)));

    m_resizeRest.stop();
    updateOutputSize();
    Q_EMIT shownChanged(true);
}

void OutputControl::hideOutput()
{
    if (m_output->isVisible() && m_output->windowed())
        m_lastWindow = m_output->geometry();
    m_output->hide();
}

QRect OutputControl::windowGeometry(QScreen *screen) const
{
    QSize size = windowSizes().value(m_settings->outputWindowSize());
    if (size.isEmpty())
        size = m_lastWindow.isValid() ? m_lastWindow.size() : FreeWindowStart;
    // Where it was, when that is on this screen; else in the middle of the screen.
    QRect rect(QPoint(), size);
    if (m_lastWindow.isValid() && screen->geometry().contains(m_lastWindow.center()))
        rect.moveCenter(m_lastWindow.center());
    else
        rect.moveCenter(screen->availableGeometry().center());
    return rect;
}

void OutputControl::setOutputEnabled(bool on)
{
    const bool visible = m_output->isVisible();
    if (on && !visible) {
        openOutput(ChosenDisplay);
    } else if (!on && visible) {
        const QString question = m_output->windowed()
            ? tr("Do you really want to stop the presentation in the output window?")
            : tr("Do you really want to stop the presentation on the full-screen display?");
        const auto answer = QMessageBox::question(dialogParent(), tr("Stop presentation"), question,
                                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer == QMessageBox::Yes)
            closeOutput();
    }
    // The toggle shows the real state, also after a refused or failed change.
    Q_EMIT shownChanged(isShown());
}

void OutputControl::closeOutput()
{
    m_awaitedDisplay.clear();
    hideOutput();
    Q_EMIT shownChanged(false);
}

void OutputControl::displayChosen()
{
    if (m_output->isVisible())
        openOutput(ChosenDisplay);
}

void OutputControl::placementChosen()
{
    if (m_output->isVisible())
        openOutput(ChosenDisplay);
}

void OutputControl::windowSizeChosen()
{
    const QSize size = windowSizes().value(m_settings->outputWindowSize());
    if (m_output->isVisible() && m_output->windowed() && !size.isEmpty())
        m_output->resize(size);
}

void OutputControl::swapDisplay()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() < 2) {
        Q_EMIT statusMessage(tr("Only one display is connected."), 5000);
        return;
    }
    QScreen *from = m_output->isVisible() ? m_output->screen() : chosenScreen();
    const int index = (int(screens.indexOf(from)) + 1) % int(screens.size());
    QScreen *to = screens.at(index);
    // The selector lists the screens in the application's order.
    if (m_displayChoice)
        m_displayChoice->setCurrentIndex(index);
    m_settings->setOutputDisplay(DisplayManager::screenIdentity(to));
    m_awaitedDisplay.clear();
    if (!m_output->isVisible()) {
        Q_EMIT statusMessage(tr("The output will open on %1.").arg(to->name()), 5000);
        return;
    }
    showOn(to, m_output->windowed());
    Q_EMIT statusMessage(tr("Output moved to %1.").arg(to->name()), 5000);
}

void OutputControl::updateOutputSize()
{
    m_presentation->setOutputSize(m_output->renderSize());
    Q_EMIT outputSizeUpdated();
}

void OutputControl::onFrameReady(const QImage &image)
{
    const bool animate = !image.isNull() && m_presentation->frameAnimated();
    const int direction = m_presentation->frameDirection();
    m_output->setImage(image, animate, direction);
    if (m_liveCanvas)
        m_liveCanvas->setImage(image, animate, direction);
    if (!image.isNull())
        Q_EMIT documentReady();
}

void OutputControl::onTargetRemoved()
{
    // The target stays set after a close; its later removal means nothing then. A window is
    // moved to another screen by the system and stays open.
    if (!m_output->isVisible() || m_output->windowed())
        return;
    qCWarning(lcPresentation, "Output display removed; output closed until it comes back");
    m_awaitedDisplay = m_displays->target();
    hideOutput();
    Q_EMIT shownChanged(false);
    Q_EMIT statusMessage(tr("Output display disconnected. Output closed safely; it opens again when the display "
                            "comes back, or select another display."),
                         20000);
}

void OutputControl::onTargetReturned(QScreen *screen)
{
    if (m_awaitedDisplay.isEmpty() || DisplayManager::screenIdentity(screen) != m_awaitedDisplay)
        return;
    m_awaitedDisplay.clear();
    // As it was before the display went, whatever the output shows now.
    if (m_output->isVisible())
        return;
    qCInfo(lcPresentation, "Output display is back; output reopened");
    showOn(screen, false);
    Q_EMIT statusMessage(tr("Output display reconnected; the output is shown there again."), 10000);
}

void OutputControl::onGeometryChanged(QScreen *screen)
{
    if (!m_output->isVisible() || m_output->windowed() || m_output->screen() != screen)
        return;
    m_output->setGeometry(screen->geometry());
    updateOutputSize();
}
