#include "application.h"

#include "ui/mainwindow.h"

#include <QFileOpenEvent>

Application::Application(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

Application::~Application() = default;

MainWindow *Application::mainWindow() const
{
    return m_mainWindow;
}

void Application::setMainWindow(MainWindow *window)
{
    m_mainWindow = window;
}

bool Application::event(QEvent *event)
{
    if (routeFileOpen(event, m_mainWindow, m_pendingOpenPath))
        return true;
    return QApplication::event(event);
}

bool routeFileOpen(QEvent *event, MainWindow *mainWindow, QString &pendingOpenPath)
{
    if (event->type() != QEvent::FileOpen)
        return false;
    const QString path = static_cast<QFileOpenEvent *>(event)->file();
    if (mainWindow)
        mainWindow->openPath(path);
    else
        pendingOpenPath = path;
    return true;
}
