// The reference for the time to the first frame: the least a Qt PDF program does to show a
// page, as a whole process. Loads the PDF, renders its first page at WIDTH x HEIGHT pixels
// with white behind it, and exits 0; 1 when it cannot.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfDocumentRenderOptions>
#include <QStringList>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4)
        return 1;
    QPdfDocument document;
    if (document.load(arguments.at(1)) != QPdfDocument::Error::None || document.pageCount() < 1)
        return 1;
    const QSize size(arguments.at(2).toInt(), arguments.at(3).toInt());
    QPdfDocumentRenderOptions options;
    options.setRenderFlags(QPdfDocumentRenderOptions::RenderFlag::Annotations);
    QImage image = document.render(0, size, options);
    if (image.isNull())
        return 1;
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    painter.fillRect(image.rect(), Qt::white);
    return 0;
}
