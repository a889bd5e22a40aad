#include "outputwindow.h"

#include <QCloseEvent>

OutputWindow::OutputWindow()
    : PageCanvas(nullptr)
{
    setWindowFlag(Qt::Window);
    setWindowed(false);
}

void OutputWindow::setWindowed(bool windowed)
{
    m_windowed = windowed;
    setWindowTitle(windowed ? tr("Olvanti — audience") : tr("Olvanti - Presentation Output"));
    if (windowed)
        unsetCursor();
    else
        setCursor(Qt::BlankCursor);
}

void OutputWindow::closeEvent(QCloseEvent *event)
{
    PageCanvas::closeEvent(event);
    event->accept();
    Q_EMIT dismissed();
}
