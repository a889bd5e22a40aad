#include "mainwindow.h"

#include "pdf/pdfservice.h"

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_pdf(new PdfService(this))
{
    setWindowTitle(QStringLiteral("OlvantiVIVuderidazi"));
    resize(1280, 850);
    connect(m_pdf, &PdfService::loaded, this, [this] {
        m_pdf->render(QStringLiteral("output"), 0, QSize(1920, 1080), 0, 100);
    });
    connect(m_pdf, &PdfService::rendered, this, [this](const QString &channel, int, const QImage &image) {
        if (channel == QLatin1String("output") && !image.isNull())
            Q_EMIT documentReady();
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::openPath(const QString &path)
{
    m_pdf->load(path);
}

void MainWindow::checkForUpdates(bool automatic)
{
    Q_UNUSED(automatic)
}
