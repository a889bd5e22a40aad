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

OutputControl::OutputControl(PdfService *service, Presentation *presentation, DisplayManager *displays,
                             OutputWindow *output, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_presentation(presentation)
    , m_displays(displays)
    , m_output(output)
{
    connect(m_presentation, &Presentation::frameReady, this, &OutputControl::onFrameReady);
    connect(m_displays, &DisplayManager::targetRemoved, this, &OutputControl::onTargetRemoved);
    connect(m_displays, &DisplayManager::geometryChanged, this, &OutputControl::onGeometryChanged);
    connect(m_output, &PageCanvas::resized, this, &OutputControl::updateOutputSize);
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
    Q_EMIT shownChanged(true);
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
    Q_EMIT shownChanged(isShown());
}

void OutputControl::closeOutput()
{
    m_output->hide();
    Q_EMIT shownChanged(false);
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
