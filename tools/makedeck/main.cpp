#include "pdfgen.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: olvanti-makedeck OUTPUT.pdf\n";
        return 64;
    }
    const QString error = PdfGen::writeDeck(args.at(1), 12);
    if (!error.isEmpty()) {
        QTextStream(stderr) << error << '\n';
        return 1;
    }
    return 0;
}
