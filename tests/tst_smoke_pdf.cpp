#include "pdf/pdfservice.h"
#include "testenv.h"

#include <QSignalSpy>
#include <QTest>

class SmokePdf : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadRenderSearch()
    {
        PdfService service;
        QSignalSpy loaded(&service, &PdfService::loaded);
        service.load(TestEnvironment::instance().textDocument(5));
        QTRY_COMPARE(loaded.size(), 1);
        QCOMPARE(loaded.at(0).at(0).toInt(), 5);
        QSignalSpy rendered(&service, &PdfService::rendered);
        service.render(QStringLiteral("reader"), 2, QSize(600, 800), 0, 30);
        QTRY_COMPARE(rendered.size(), 1);
        const QImage image = rendered.at(0).at(2).value<QImage>();
        qDebug() << image.size() << image.format();
        QSignalSpy found(&service, &PdfService::searchFinished);
        service.search(QStringLiteral("pagemarker3"));
        QTRY_COMPARE(found.size(), 1);
        const auto hits = found.at(0).at(0).value<QList<SearchHit>>();
        QCOMPARE(hits.size(), 1);
        QCOMPARE(hits.at(0).page, 2);
        qDebug() << hits.at(0).rects << hits.at(0).context;
        service.search(QStringLiteral("common"));
        QTRY_COMPARE(found.size(), 2);
        QCOMPARE(found.at(1).at(0).value<QList<SearchHit>>().size(), 5);
    }
};

OLVANTI_TEST_MAIN(SmokePdf)
#include "tst_smoke_pdf.moc"
