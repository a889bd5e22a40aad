#pragma once

#include <QMainWindow>

class PdfService;

// Stand-in operator window: owns the PDF service and reports the first rendered output frame.
// The full window replaces it.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    void openPath(const QString &path);
    void checkForUpdates(bool automatic);

Q_SIGNALS:
    void documentReady();

private:
    PdfService *m_pdf = nullptr;
};
