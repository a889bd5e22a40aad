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

// A page as a hand-written producer makes it: a black square in the top-left corner of the
// unturned page, a quarter of its shorter side on each side, and `word` in a standard font
// near the bottom-left (no text when empty). No background is painted: the page is transparent.
struct BarePage
{
    QSizeF mediaBox = QSizeF(612, 792);
    int rotate = 0; // degrees clockwise, a multiple of 90
    QByteArray word;
};

// How the file is put together, after what real files do that QPdfWriter's never do.
enum class Layout {
    Plain,
    ObjectStreams,       // objects packed into compressed object streams (qpdf)
    Linearized,          // reordered for fast web view (qpdf)
    IncrementalUpdate,   // every page's contents replaced by an appended revision
    InheritedAttributes, // media box, rotation and resources of the first page on the page tree
    BrokenXref,          // the cross-reference table points nowhere; readers must rebuild it
};

QString writeBarePages(const QString &path, const QList<BarePage> &pages, Layout layout = Layout::Plain);

// An AES-256 encrypted copy of `source` made with qpdf; user password `password`.
QString writeEncryptedCopy(const QString &source, const QString &target, const QString &password);

} // namespace PdfGen
