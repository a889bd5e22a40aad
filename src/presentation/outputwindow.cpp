#include "outputwindow.h"

#include <QCloseEvent>

OutputWindow::OutputWindow()
    : PageCanvas(nullptr)
{
    setWindowTitle(tr("Olvanti - Presentation Output"));
    setWindowFlag(Qt::Window);
    setCursor(Qt::BlankCursor);
}

void OutputWindow::closeEvent(QCloseEvent *event)
{
    PageCanvas::closeEvent(event);
    event->accept();
    Q_EMIT dismissed();
}
