#include "pdf/pdfservice.h"
#include "reader/thumbnaildelegate.h"
#include "reader/thumbnailmodel.h"
#include "reader/thumbnailview.h"
#include "testenv.h"

#include "pdfgen.h"

#include <QElapsedTimer>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

namespace {

QString wideFirstPageDocument()
{
    const QString path = TestEnvironment::instance().path(QStringLiteral("wide.pdf"));
    if (!QFile::exists(path)) {
        QList<PdfGen::Page> pages(2);
        pages[0].sizePt = QSizeF(1000, 100);
        const QString error = PdfGen::writePdf(path, pages);
        if (!error.isEmpty())
            qWarning() << error;
    }
    return path;
}

bool load(PdfService &service, const QString &path)
{
    QSignalSpy loaded(&service, &PdfService::loaded);
    service.load(path);
    return loaded.wait(20000);
}

// A cell painted by the delegate alone, 166 x 132 like the initial cell.
QImage paintCell(bool live, bool selected, const QPixmap &pixmap = QPixmap())
{
    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), live, ThumbnailModel::LiveRole);
    if (!pixmap.isNull())
        model.setData(model.index(0, 0), pixmap, Qt::DecorationRole);
    QStyleOptionViewItem option;
    option.rect = QRect(0, 0, 166, 132);
    if (selected)
        option.state |= QStyle::State_Selected;
    QImage image(166, 132, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    ThumbnailDelegate delegate;
    delegate.paint(&painter, option, model.index(0, 0));
    return image;
}

int countNear(const QImage &image, const QRect &area, const QColor &colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 24 && std::abs(c.green() - colour.green()) < 24
                && std::abs(c.blue() - colour.blue()) < 24)
                ++count;
        }
    }
    return count;
}

} // namespace

class ThumbnailTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aspect_data()
    {
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<double>("aspect");
        QTest::newRow("very wide page clamped") << QSizeF(1000, 100) << 4.0;
        QTest::newRow("very tall page clamped") << QSizeF(100, 1000) << 0.3;
        QTest::newRow("unknown size") << QSizeF() << 16.0 / 9.0;
        QTest::newRow("square") << QSizeF(500, 500) << 1.0;
    }

    void aspect()
    {
        QFETCH(QSizeF, page);
        QFETCH(double, aspect);
        QCOMPARE(ThumbnailModel::aspectFor(page), aspect);
    }

    void cellsFitTheView_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("wideDocument");
        QTest::addColumn<QSize>("viewport");
        QTest::addColumn<QSize>("cell");
        QTest::addColumn<QSize>("thumbnail");
        // List: image 186 wide; strip: image 114 high; cells add 14 across and 36 down.
        QTest::newRow("list, wide first page") << 2 << true << QSize(200, 400) << QSize(200, 82) << QSize(192, 64);
        QTest::newRow("list, no pages") << 2 << false << QSize(200, 400) << QSize(200, 140) << QSize(192, 128);
        QTest::newRow("strip, wide first page") << 1 << true << QSize(1000, 150) << QSize(470, 150) << QSize(512, 128);
        QTest::newRow("strip, no pages") << 1 << false << QSize(1000, 150) << QSize(216, 150) << QSize(256, 128);
    }

    void cellsFitTheView()
    {
        QFETCH(int, mode);
        QFETCH(bool, wideDocument);
        QFETCH(QSize, viewport);
        QFETCH(QSize, cell);
        QFETCH(QSize, thumbnail);
        PdfService service;
        if (wideDocument)
            QVERIFY(load(service, wideFirstPageDocument()));
        ThumbnailModel model(&service);
        ThumbnailView view(&model, mode);
        const int frame = 2 * view.frameWidth();
        const int bar = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
        view.resize(viewport + QSize(frame, frame) + (mode == ThumbnailView::Strip ? QSize(0, bar) : QSize(bar, 0)));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCOMPARE(view.viewport()->size(), viewport);
        QTRY_COMPARE(view.thumbnailDelegate()->cellSize(), cell);
        QCOMPARE(view.gridSize(), cell);
        QTRY_COMPARE(model.thumbnailSize(), thumbnail);
    }

    void thumbnailSize_data()
    {
        QTest::addColumn<QList<QSize>>("views");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("narrow view asks for the minimum") << QList<QSize>{{50, 40}} << QSize(64, 64);
        QTest::newRow("wide view is capped") << QList<QSize>{{1500, 900}} << QSize(1024, 960);
        QTest::newRow("rounded up in steps of 64") << QList<QSize>{{129, 64}} << QSize(192, 64);
        QTest::newRow("largest of each side over the views")
            << QList<QSize>{{100, 300}, {400, 50}} << QSize(448, 320);
    }

    void thumbnailSize()
    {
        QFETCH(QList<QSize>, views);
        QFETCH(QSize, expected);
        PdfService service;
        ThumbnailModel model(&service);
        QSignalSpy changed(&model, &ThumbnailModel::thumbnailSizeChanged);
        QList<QObject *> owners;
        for (const QSize &size : views) {
            owners.append(new QObject(&model));
            model.setViewSize(owners.last(), size);
        }
        QElapsedTimer sinceLast;
        sinceLast.start();
        QCOMPARE(model.thumbnailSize(), QSize(192, 128));
        QTRY_COMPARE(changed.size(), 1);
        QVERIFY2(sinceLast.elapsed() >= 180, qPrintable(QString::number(sinceLast.elapsed())));
        QCOMPARE(model.thumbnailSize(), expected);
        QCOMPARE(changed.at(0).at(0).toSize(), expected);

        // Withdrawn or destroyed views leave the size as it was.
        auto *timer = model.findChild<QTimer *>(QStringLiteral("thumbnailSizeTimer"));
        QVERIFY(timer);
        model.setViewSize(owners.first(), QSize());
        qDeleteAll(owners);
        QVERIFY(timer->isActive());
        QTRY_VERIFY(!timer->isActive());
        QCOMPARE(model.thumbnailSize(), expected);
        QCOMPARE(changed.size(), 1);
    }

    void requestsInFlightStayBounded()
    {
        PdfService service;
        QVERIFY(load(service, TestEnvironment::instance().textDocument(150)));
        ThumbnailModel model(&service);
        ThumbnailView view(&model, 2);
        view.resize(200, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY(view.thumbnailDelegate()->cellSize().height() > 200);
        QTRY_COMPARE(model.requestsInFlight(), 0);

        QSignalSpy rendered(&service, &PdfService::rendered);
        int most = 0;
        // Scroll through without giving the event loop a chance, as a fast fling does.
        for (int row = 0; row < 150; row += 2) {
            view.scrollTo(model.index(row), QAbstractItemView::PositionAtTop);
            view.viewport()->repaint();
            QVERIFY(model.requestsInFlight() <= ThumbnailModel::MaxInFlight);
            most = std::max(most, model.requestsInFlight());
        }
        QCOMPARE(most, ThumbnailModel::MaxInFlight);
        QTRY_COMPARE(model.requestsInFlight(), 0);
        QList<int> pages;
        for (const QList<QVariant> &arguments : std::as_const(rendered))
            pages.append(arguments.at(1).toInt());
        QVERIFY(pages.size() <= ThumbnailModel::MaxInFlight);
        QVERIFY(!pages.contains(5));
        QVERIFY(pages.contains(149));

        // A cancelled page is asked for again when it is painted again.
        view.scrollTo(model.index(5), QAbstractItemView::PositionAtTop);
        view.viewport()->repaint();
        QTRY_VERIFY(model.index(5).data(Qt::DecorationRole).value<QPixmap>().width() > 0);
    }

    void liveMark()
    {
        PdfService service;
        QVERIFY(load(service, TestEnvironment::instance().textDocument(5)));
        ThumbnailModel model(&service);
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.rowCount(model.index(0)), 0);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

        model.setLivePage(2);
        QCOMPARE(model.index(2).data().toString(), QStringLiteral("3  LIVE"));
        QCOMPARE(model.index(2).data(ThumbnailModel::LiveRole).toBool(), true);
        QCOMPARE(model.index(1).data().toString(), QStringLiteral("2"));
        QCOMPARE(model.index(1).data(ThumbnailModel::LiveRole).toBool(), false);

        changed.clear();
        model.setLivePage(4);
        QCOMPARE(changed.size(), 2);
        QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 2);
        QCOMPARE(changed.at(1).at(0).toModelIndex().row(), 4);

        // A live page outside the rows marks nothing.
        changed.clear();
        model.setLivePage(9);
        QCOMPARE(changed.size(), 1);
        for (int row = 0; row < 5; ++row)
            QVERIFY(!model.index(row).data(ThumbnailModel::LiveRole).toBool());
        QVERIFY(!model.index(7).data().isValid());
        QVERIFY(!model.index(1).data(Qt::ToolTipRole).isValid());

        // Closing drops the mark and the rows.
        model.setLivePage(1);
        service.close();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.livePage(), -1);
    }

    void delegatePainting_data()
    {
        QTest::addColumn<bool>("live");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("background");
        QTest::addColumn<QColor>("number");
        const QColor liveCard(0x4A, 0x33, 0x20);
        const QColor orange(0xFF, 0x9C, 0x45);
        QTest::newRow("live") << true << false << liveCard << orange;
        QTest::newRow("live wins over selected") << true << true << liveCard << orange;
        QTest::newRow("selected") << false << true << QColor(0x36, 0x52, 0x69) << QColor(Qt::white);
        QTest::newRow("plain") << false << false << QColor(0x15, 0x23, 0x31) << QColor(Qt::white);
    }

    void delegatePainting()
    {
        QFETCH(bool, live);
        QFETCH(bool, selected);
        QFETCH(QColor, background);
        QFETCH(QColor, number);
        const QImage cell = paintCell(live, selected);
        const QColor orange(0xFF, 0x9C, 0x45);
        // Card 3 px in, frame 2 px further in, image area from 9 px.
        QCOMPARE(cell.pixelColor(83, 60), background);
        const QColor frame = cell.pixelColor(5, 66);
        if (live)
            QCOMPARE(frame, orange);
        else if (selected)
            QCOMPARE(frame, QColor(Qt::white));
        else
            QVERIFY(frame != orange && frame != QColor(Qt::white) && frame != background);

        // The badge sits 4 px inside the image area, orange with dark lettering.
        const QRect badge(13, 13, 30, 16);
        QCOMPARE(cell.pixelColor(14, 20) == orange, live);
        if (live)
            QVERIFY(countNear(cell, badge, QColor(0x15, 0x23, 0x31)) > 0);
        // The page number in the band at the bottom.
        QVERIFY(countNear(cell, QRect(60, 105, 46, 22), number) > 0);
    }

    void delegateDrawsThePixmapFitted()
    {
        QPixmap red(100, 50);
        red.fill(Qt::red);
        const QImage cell = paintCell(false, false, red);
        // The 148 x 96 image area holds the pixmap at 148 x 74, centred.
        QCOMPARE(cell.pixelColor(83, 57), QColor(Qt::red));
        QCOMPARE(cell.pixelColor(83, 16), QColor(0x15, 0x23, 0x31));
    }

    void stripCellsSettleWhenTheContentNearlyFits()
    {
        // Six 16:9 pages whose cells just overflow the strip: a scroll bar that appeared with the
        // content would shrink the cells until it went away again, and so on.
        PdfService service;
        QVERIFY(load(service, TestEnvironment::instance().deck(6)));
        ThumbnailModel model(&service);
        ThumbnailView view(&model, ThumbnailView::Strip);
        view.resize(1345, 166);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QTRY_VERIFY(view.gridSize().isValid());
        const QSize settled = view.gridSize();
        for (int row = 0; row < model.rowCount(); ++row) {
            const QRect cell = view.visualRect(model.index(row, 0));
            QCOMPARE(cell.size(), settled);
            QCOMPARE(cell.left() + view.horizontalScrollBar()->value(), row * settled.width());
        }
        QTest::qWait(50);
        QCOMPARE(view.gridSize(), settled);
    }

    void stripWheelScrollsSideways()
    {
        PdfService service;
        QVERIFY(load(service, TestEnvironment::instance().deck(20)));
        ThumbnailModel model(&service);
        ThumbnailView strip(&model, 1);
        strip.resize(400, 150);
        strip.show();
        QVERIFY(QTest::qWaitForWindowExposed(&strip));
        QTRY_VERIFY(strip.horizontalScrollBar()->maximum() > 240);
        const QPointF at(50, 50);
        QWheelEvent down(at, strip.viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(strip.viewport(), &down);
        QVERIFY(down.isAccepted());
        QCOMPARE(strip.horizontalScrollBar()->value(), 120);
        QWheelEvent up(at, strip.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 60), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
        QApplication::sendEvent(strip.viewport(), &up);
        QCOMPARE(strip.horizontalScrollBar()->value(), 60);
    }

    void revealPage()
    {
        PdfService service;
        QVERIFY(load(service, TestEnvironment::instance().deck(30)));
        ThumbnailModel model(&service);
        ThumbnailView list(&model, 2);
        list.resize(220, 400);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QTRY_VERIFY(list.verticalScrollBar()->maximum() > 0);

        list.revealPage(20, true);
        const QRect port = list.viewport()->rect();
        QTRY_VERIFY(std::abs(list.visualRect(model.index(20)).center().y() - port.center().y()) <= 2);
        const int centred = list.verticalScrollBar()->value();
        // Already in view: not centred again.
        list.revealPage(21, false);
        QCOMPARE(list.verticalScrollBar()->value(), centred);
        // Out of range: ignored.
        list.revealPage(30, true);
        QCOMPARE(list.verticalScrollBar()->value(), centred);
    }
};

OLVANTI_TEST_MAIN(ThumbnailTest)
#include "tst_thumbnail.moc"
