#include "pdfgen.h"

#include <QFile>
#include <QFont>
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


// Writes numbered objects with an exact cross-reference table; object 1 is the catalogue.
QString writeObjects(const QString &path, const QList<QByteArray> &objects)
{
    QByteArray out = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        out += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
           + QByteArray::number(xref) + "\n%%EOF\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size())
        return QStringLiteral("cannot write %1").arg(path);
    return QString();
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
    // Hand-assembled so that the cross-reference offsets are exact.
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [] /Count 0 >>",
    };
    return writeObjects(path, objects);
}

QString writeBrokenPageDocument(const QString &path)
{
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R 9 0 R 4 0 R] /Count 3 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] >>",
    };
    return writeObjects(path, objects);
}

QString writeBarePage(const QString &path, const QSizeF &sizePt)
{
    const QByteArray width = QByteArray::number(sizePt.width(), 'f', 2);
    const QByteArray height = QByteArray::number(sizePt.height(), 'f', 2);
    const double side = sizePt.width() / 4;
    const QByteArray content = "0 0 0 rg 0 " + QByteArray::number(sizePt.height() - side, 'f', 2) + ' '
                               + QByteArray::number(side, 'f', 2) + ' ' + QByteArray::number(side, 'f', 2) + " re f\n";
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + width + ' ' + height + "] /Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(content.size()) + " >>\nstream\n" + content + "endstream",
    };
    return writeObjects(path, objects);
}

QString writeEncryptedCopy(const QString &source, const QString &target, const QString &password)
{
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), {QStringLiteral("--encrypt"), password, password + QStringLiteral("-owner"),
                                        QStringLiteral("256"), QStringLiteral("--"), source, target});
    if (!qpdf.waitForFinished(60000))
        return QStringLiteral("qpdf did not run: %1").arg(qpdf.errorString());
    if (qpdf.exitStatus() != QProcess::NormalExit || qpdf.exitCode() != 0)
        return QStringLiteral("qpdf failed: %1").arg(QString::fromLocal8Bit(qpdf.readAllStandardError()));
    return QString();
}

} // namespace PdfGen
