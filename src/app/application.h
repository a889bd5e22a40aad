#pragma once

#include <QApplication>
#include <QPointer>
#include <QString>

class MainWindow;

// The application object. Files the platform asks us to open go to the main window, or wait
// in the pending open path while the window does not exist yet.
class Application final : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    ~Application() override;

    MainWindow *mainWindow() const;
    void setMainWindow(MainWindow *window);
    QString pendingOpenPath() const { return m_pendingOpenPath; }

protected:
    bool event(QEvent *event) override;

private:
    QPointer<MainWindow> m_mainWindow;
    QString m_pendingOpenPath;
};

// Handles a platform file-open request: opens it in `mainWindow` when there is one, otherwise
// stores it in `pendingOpenPath`. Returns false, touching nothing, for any other event.
bool routeFileOpen(QEvent *event, MainWindow *mainWindow, QString &pendingOpenPath);
