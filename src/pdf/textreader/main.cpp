// Reads a PDF's page sizes and the text of its pages for the PDF service, in a process of its
// own: the engine serialises all work within one process, so this lets a second core extract
// text while the show's worker renders, and whatever the engine keeps of the pages it read
// goes away with this process. The password, if any, comes on the first line of standard
// input; the records go to standard output (see textreader.h).
#include "pdf/textreader.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 2)
        return 2;
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return 2;
    const QString password = QString::fromUtf8(input.readLine()).chopped(1);
    QPdfDocument document;
    document.setPassword(password);
    if (document.load(arguments.at(1)) != QPdfDocument::Error::None)
        return 1;
    QFile output;
    if (!output.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 2;
    QDataStream stream(&output);
    const int pages = document.pageCount();
    // Sizes first: they are quick, and the views wait for them.
    for (int page = 0; page < pages; ++page)
        stream << quint8(TextReader::Size) << qint32(page) << document.pagePointSize(page);
    for (int page = 0; page < pages && stream.status() == QDataStream::Ok; ++page)
        stream << quint8(TextReader::Text) << qint32(page) << document.getAllText(page).text();
    return stream.status() == QDataStream::Ok ? 0 : 1;
}
