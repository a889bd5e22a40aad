#include "pdfgen.h"

#include <QFile>
#include <QFont>
#include <QMap>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>

namespace PdfGen {

namespace {

QPageLayout layoutFor(const QSizeF &sizePt)
{
    return QPageLayout(QPageSize(sizePt, QPageSize::Point, QString(), QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

void drawPage(QPainter &painter, const Page &page, double dotsPerPoint)
{
    const QSizeF size = page.sizePt * dotsPerPoint;
    painter.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    double y = size.height() * 0.08;
    if (!page.title.isEmpty()) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(qMax(1, int(qMin(size.width(), size.height()) * 0.22)));
        painter.setFont(font);
        painter.setPen(QColor(0x1B, 0x2C, 0x3D));
        const QRectF titleRect(0, y, size.width(), font.pixelSize() * 1.3);
        painter.drawText(titleRect, Qt::AlignCenter, page.title);
        y = titleRect.bottom() + font.pixelSize() * 0.2;
    }
    QFont body(QStringLiteral("DejaVu Sans"));
    body.setPixelSize(qMax(1, int(12 * dotsPerPoint)));
    painter.setFont(body);
    painter.setPen(Qt::black);
    const double lineHeight = body.pixelSize() * 1.4;
    for (const QString &line : page.lines) {
        painter.drawText(QPointF(36 * dotsPerPoint, y + body.pixelSize()), line);
        y += lineHeight;
    }
}


using Objects = QMap<int, QByteArray>;

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 2);
}

// Appends the objects, a cross-reference section listing them and the trailer; `previous` is
// the offset of the previous revision's section, or -1 for the first revision. Returns the
// offset of the new section.
qsizetype appendRevision(QByteArray &out, const Objects &objects, int size, qsizetype previous)
{
    QByteArray table = "xref\n";
    if (previous < 0)
        table += "0 1\n0000000000 65535 f \n";
    for (auto it = objects.cbegin(); it != objects.cend(); ++it) {
        table += QByteArray::number(it.key()) + " 1\n" + QByteArray::number(out.size()).rightJustified(10, '0')
                 + " 00000 n \n";
        out += QByteArray::number(it.key()) + " 0 obj\n" + it.value() + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += table + "trailer\n<< /Size " + QByteArray::number(size) + " /Root 1 0 R";
    if (previous >= 0)
        out += " /Prev " + QByteArray::number(previous);
    out += " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return xref;
}

QString save(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QStringLiteral("cannot write %1").arg(path);
    return QString();
}

QString runQpdf(const QStringList &arguments)
{
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), arguments);
    if (!qpdf.waitForFinished(60000))
        return QStringLiteral("qpdf did not run: %1").arg(qpdf.errorString());
    if (qpdf.exitStatus() != QProcess::NormalExit || qpdf.exitCode() != 0)
        return QStringLiteral("qpdf failed: %1").arg(QString::fromLocal8Bit(qpdf.readAllStandardError()));
    return QString();
}

QByteArray contentStream(const BarePage &page, const QByteArray &word)
{
    const double width = page.mediaBox.width();
    const double height = page.mediaBox.height();
    const double side = qMin(width, height) / 4;
    QByteArray content = "0 0 0 rg 0 " + number(height - side) + ' ' + number(side) + ' ' + number(side) + " re f\n";
    if (!word.isEmpty())
        content += "BT /F1 " + number(side / 2) + " Tf " + number(width * 0.1) + ' ' + number(height * 0.1) + " Td ("
                   + word + ") Tj ET\n";
    return "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream";
}

QByteArray pageAttributes(const BarePage &page)
{
    return "/MediaBox [0 0 " + number(page.mediaBox.width()) + ' ' + number(page.mediaBox.height()) + "] /Rotate "
           + QByteArray::number(page.rotate) + " /Resources << /Font << /F1 3 0 R >> >>";
}

} // namespace

QString writePdf(const QString &path, const QList<Page> &pages)
{
    if (pages.isEmpty())
        return QStringLiteral("no pages given");
    QPdfWriter writer(path);
    writer.setResolution(288);
    writer.setCreator(QStringLiteral("olvanti pdfgen"));
    writer.setPageLayout(layoutFor(pages.first().sizePt));
    const double dotsPerPoint = writer.resolution() / 72.0;
    QPainter painter;
    if (!painter.begin(&writer))
        return QStringLiteral("cannot write %1").arg(path);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(layoutFor(pages.at(i).sizePt));
            writer.newPage();
        }
        drawPage(painter, pages.at(i), dotsPerPoint);
    }
    if (!painter.end())
        return QStringLiteral("cannot finish %1").arg(path);
    return QString();
}

QString writeTextDocument(const QString &path, int pageCount)
{
    QList<Page> pages;
    pages.reserve(pageCount);
    for (int i = 0; i < pageCount; ++i) {
        Page page;
        page.lines = {QStringLiteral("Page %1").arg(i + 1),
                      QStringLiteral("common text pagemarker%1").arg(i + 1)};
        pages.append(page);
    }
    return writePdf(path, pages);
}

QString writeDeck(const QString &path, int slideCount, const QString &heading)
{
    QList<Page> pages;
    for (int i = 0; i < slideCount; ++i) {
        Page page;
        page.sizePt = QSizeF(960, 540);
        page.title = QString::number(i + 1);
        page.lines = {heading.isEmpty() ? QStringLiteral("Olvanti demo deck") : heading,
                      QStringLiteral("Slide %1 of %2").arg(i + 1).arg(slideCount),
                      QStringLiteral("Searchable words: presenter clicker countdown slide%1").arg(i + 1)};
        pages.append(page);
    }
    return writePdf(path, pages);
}

QString writeZeroPageDocument(const QString &path)
{
    QByteArray out = "%PDF-1.4\n";
    appendRevision(out, {{1, "<< /Type /Catalog /Pages 2 0 R >>"}, {2, "<< /Type /Pages /Kids [] /Count 0 >>"}}, 3, -1);
    return save(path, out);
}

QString writeBrokenPageDocument(const QString &path)
{
    QByteArray out = "%PDF-1.4\n";
    appendRevision(out, {{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                         {2, "<< /Type /Pages /Kids [3 0 R 9 0 R 4 0 R] /Count 3 >>"},
                         {3, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>"},
                         {4, "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>"}},
                   5, -1);
    return save(path, out);
}

QString writeBarePages(const QString &path, const QList<BarePage> &pages, Layout layout)
{
    if (pages.isEmpty())
        return QStringLiteral("no pages given");
    // Objects: 1 catalogue, 2 page tree, 3 font, then each page followed by its contents.
    const auto pageObject = [](qsizetype i) { return int(4 + 2 * i); };
    const bool inherit = layout == Layout::InheritedAttributes;
    const QByteArray inherited = pageAttributes(pages.first());
    QByteArray kids;
    Objects objects{{1, "<< /Type /Catalog /Pages 2 0 R >>"},
                    {3, "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"}};
    Objects revised;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const BarePage &page = pages.at(i);
        const QByteArray attributes = pageAttributes(page);
        const QByteArray own = inherit && attributes == inherited ? QByteArray() : ' ' + attributes;
        kids += QByteArray::number(pageObject(i)) + " 0 R ";
        objects.insert(pageObject(i), "<< /Type /Page /Parent 2 0 R" + own + " /Contents "
                                          + QByteArray::number(pageObject(i) + 1) + " 0 R >>");
        if (layout == Layout::IncrementalUpdate && !page.word.isEmpty()) {
            objects.insert(pageObject(i) + 1, contentStream(page, "superseded"));
            revised.insert(pageObject(i) + 1, contentStream(page, page.word));
        } else {
            objects.insert(pageObject(i) + 1, contentStream(page, page.word));
        }
    }
    objects.insert(2, "<< /Type /Pages /Kids [" + kids + "] /Count " + QByteArray::number(pages.size())
                          + (inherit ? ' ' + inherited : QByteArray()) + " >>");

    QByteArray out = "%PDF-1.4\n";
    const int size = pageObject(pages.size());
    const qsizetype first = appendRevision(out, objects, size, -1);
    if (!revised.isEmpty())
        appendRevision(out, revised, size, first);
    if (layout == Layout::BrokenXref)
        out.insert(out.indexOf('\n') + 1, "% a line added after the offsets were counted\n");
    if (const QString error = save(path, out); !error.isEmpty())
        return error;
    if (layout == Layout::ObjectStreams)
        return runQpdf({QStringLiteral("--object-streams=generate"), QStringLiteral("--replace-input"), path});
    if (layout == Layout::Linearized)
        return runQpdf({QStringLiteral("--linearize"), QStringLiteral("--replace-input"), path});
    return QString();
}

QString writeEncryptedCopy(const QString &source, const QString &target, const QString &password)
{
    return runQpdf({QStringLiteral("--encrypt"), password, password + QStringLiteral("-owner"), QStringLiteral("256"),
                    QStringLiteral("--"), source, target});
}

} // namespace PdfGen
