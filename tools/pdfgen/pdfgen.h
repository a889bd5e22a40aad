#pragma once

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Writes small PDF documents whose text, page count and page sizes are known exactly.
// QPdfWriter needs a QGuiApplication (fonts); create one before calling these.
namespace PdfGen {

struct Page
{
    QSizeF sizePt = QSizeF(612, 792); // US Letter, in points
    QString title;                    // drawn big near the top; empty for none
    QStringList lines;                // body text, one line each, small type
};

// Returns an empty string on success, else the reason.
QString writePdf(const QString &path, const QList<Page> &pages);

// A text document of `pageCount` letter pages; page i (0-based) carries the line "Page <i+1>"
// and the words "common" and "pagemarker<i+1>".
QString writeTextDocument(const QString &path, int pageCount);

// A 16:9 deck (960 x 540 pt) with big numbered titles and some searchable text.
QString writeDeck(const QString &path, int slideCount, const QString &heading = QString());

// A syntactically valid PDF whose page tree is empty.
QString writeZeroPageDocument(const QString &path);

// Three blank letter pages whose second one refers to an object that does not exist: the
// document loads, but that page cannot be rendered.
QString writeBrokenPageDocument(const QString &path);

// One page of `sizePt` with nothing on it but a black square in the top-left corner, a quarter
// of the page width on each side; no background is painted, so the page itself is transparent.
QString writeBarePage(const QString &path, const QSizeF &sizePt);

// An AES-256 encrypted copy of `source` made with qpdf; user password `password`.
QString writeEncryptedCopy(const QString &source, const QString &target, const QString &password);

} // namespace PdfGen
