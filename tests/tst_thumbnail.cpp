#include "pdfsupport.h"
#include "reader/thumbnaildelegate.h"
#include "reader/thumbnailmodel.h"
#include "reader/thumbnailview.h"
#include "readersupport.h"
#include "testenv.h"

#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTest>

using namespace Qt::StringLiterals;

class ThumbnailTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pageAspectIsBounded()
    {
        QCOMPARE(ThumbnailModel::aspectFor(QSizeF(1000, 100)), 4.0);
        QCOMPARE(ThumbnailModel::aspectFor(QSizeF(100, 1000)), 0.3);
        QCOMPARE(ThumbnailModel::aspectFor(QSizeF()), 16.0 / 9.0);
    }

    void thumbnailSize_data()
    {
        QTest::addColumn<QList<QSize>>("views");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("narrow view asks for the minimum") << QList<QSize>{{50, 40}} << QSize(64, 64);
        QTest::newRow("wide view is capped") << QList<QSize>{{1500, 900}} << QSize(1024, 960);
        QTest::newRow("largest side over the views, rounded up to 64")
            << QList<QSize>{{100, 300}, {400, 50}} << QSize(448, 320);
    }

    void thumbnailSize()
    {
        QFETCH(QList<QSize>, views);
        PdfService service;
        ThumbnailModel model(&service);
        QSignalSpy changed(&model, &ThumbnailModel::thumbnailSizeChanged);
        for (const QSize &size : views)
            model.setViewSize(new QObject(&model), size);
        QCOMPARE(model.thumbnailSize(), QSize(192, 128));
        QTRY_COMPARE(changed.size(), 1);
        QTEST(model.thumbnailSize(), "expected");
    }

    void scrollingALongList()
    {
        auto service = PdfTest::loadedService(TestEnvironment::instance().textDocument(150));
        ThumbnailModel model(service.get());
        ThumbnailView view(&model, 2);
        view.resize(200, 300);
        QVERIFY(showAndWait(&view));
        QTRY_VERIFY(view.thumbnailDelegate()->cellSize().height() > 200);
        QTRY_COMPARE(model.requestsInFlight(), 0);

        int most = 0;
        // Scroll through without giving the event loop a chance, as a fast fling does.
        for (int row = 0; row < 150; row += 2) {
            view.scrollTo(model.index(row), QAbstractItemView::PositionAtTop);
            view.viewport()->repaint();
            most = std::max(most, model.requestsInFlight());
        }
        QCOMPARE(most, ThumbnailModel::MaxInFlight);
        QTRY_COMPARE(model.requestsInFlight(), 0);

        // A cancelled page is asked for again when it is painted again.
        view.scrollTo(model.index(5), QAbstractItemView::PositionAtTop);
        view.viewport()->repaint();
        QTRY_VERIFY(model.index(5).data(Qt::DecorationRole).value<QPixmap>().width() > 0);

        // Selecting and revealing a page, as the reader does, animates from where the list was.
        const int before = view.verticalScrollBar()->value();
        view.setCurrentIndex(model.index(100));
        view.revealPage(100, true);
        QCOMPARE(view.verticalScrollBar()->value(), before);
        QTRY_VERIFY(view.viewport()->rect().contains(view.visualRect(model.index(100)).center()));
    }

    void evictedThumbnailsAreRequestedAgain()
    {
        auto service = PdfTest::loadedService(TestEnvironment::instance().textDocument(30));
        ThumbnailModel model(service.get());
        // At the largest size about twenty thumbnails fill the cache.
        QObject view;
        model.setViewSize(&view, QSize(1024, 1024));
        QTRY_COMPARE(model.thumbnailSize(), QSize(1024, 1024));
        for (int page = 0; page < 30; ++page)
            QTRY_VERIFY(!model.index(page).data(Qt::DecorationRole).value<QPixmap>().isNull());
        QTRY_VERIFY_WITH_TIMEOUT(!model.index(0).data(Qt::DecorationRole).value<QPixmap>().isNull(), 2000);
    }

    void liveMark()
    {
        auto service = PdfTest::loadedService(TestEnvironment::instance().textDocument(5));
        ThumbnailModel model(service.get());
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        // Each row's label, with "*" where the live role is set, then "#row" for each row reported changed.
        const auto mark = [&](int page) {
            changed.clear();
            model.setLivePage(page);
            QStringList rows;
            for (int row = 0; row < model.rowCount(); ++row) {
                const QModelIndex index = model.index(row);
                rows << index.data().toString() + (index.data(ThumbnailModel::LiveRole).toBool() ? u"*"_s : QString());
            }
            for (const QVariantList &change : std::as_const(changed))
                rows << u"#%1"_s.arg(change.at(0).toModelIndex().row());
            return rows.join(u',');
        };
        QCOMPARE(mark(2), u"1,2,3  LIVE*,4,5,#2"_s);
        QCOMPARE(mark(4), u"1,2,3,4,5  LIVE*,#2,#4"_s);
        QCOMPARE(mark(5), u"1,2,3,4,5,#4"_s); // one past the last row marks nothing
    }

    void delegatePainting_data()
    {
        QTest::addColumn<QString>("row"); // "STATE -> CARD FRAME NUMBER": the colours painted
        QTest::newRow("live") << u"live -> #4a3320 #ff9c45 #ff9c45"_s;
        QTest::newRow("live wins over selected") << u"live selected -> #4a3320 #ff9c45 #ff9c45"_s;
        QTest::newRow("selected") << u"selected -> #365269 #ffffff #ffffff"_s;
        // The plain frame is a line of 1 px, half over the card.
        QTest::newRow("plain") << u"plain -> #152331 #213344 #ffffff"_s;
    }

    void delegatePainting()
    {
        QFETCH(QString, row);
        const bool live = row.startsWith(u"live"_s), selected = row.contains(u"selected -"_s);
        const QStringList colours = row.section(u" -> "_s, 1).split(u' ');
        const QColor number(colours.at(2));
        // A cell painted by the delegate alone, 166 x 132 like the initial cell.
        QStandardItemModel model(1, 1);
        model.setData(model.index(0, 0), live, ThumbnailModel::LiveRole);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 166, 132);
        if (selected)
            option.state |= QStyle::State_Selected;
        QImage cell(166, 132, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        QPainter painter(&cell);
        ThumbnailDelegate().paint(&painter, option, model.index(0, 0));
        painter.end();
        // Card 3 px in, frame 2 px further in, image area from 9 px.
        QCOMPARE(cell.pixelColor(83, 60), QColor(colours.at(0)));
        QCOMPARE(cell.pixelColor(5, 66), QColor(colours.at(1)));
        // The badge sits 4 px inside the image area.
        QCOMPARE(cell.pixelColor(14, 20) == QColor(0xFF, 0x9C, 0x45), live);
        // The page number in the bottom band, above the frame: antialiased, so any pixel near its colour.
        QVERIFY(!ReaderTest::areaOf(cell.copy(60, 105, 46, 18), [&](QRgb p) { return ReaderTest::near(p, number, 23); })
                     .isEmpty());
    }

    void stripCellsSettleAndScrollSideways()
    {
        // Six 16:9 pages whose cells just overflow the strip: a scroll bar that appeared with the
        // content would shrink the cells until it went away again, and so on.
        auto service = PdfTest::loadedService(TestEnvironment::instance().deck(6));
        ThumbnailModel model(service.get());
        ThumbnailView view(&model, ThumbnailView::Strip);
        view.resize(1345, 166);
        QVERIFY(showAndWait(&view));
        QTRY_VERIFY(view.gridSize().isValid());
        const QSize settled = view.gridSize();
        for (int row = 0; row < model.rowCount(); ++row) {
            const QRect cell = view.visualRect(model.index(row, 0));
            QCOMPARE(cell.size(), settled);
            QCOMPARE(cell.left() + view.horizontalScrollBar()->value(), row * settled.width());
        }
        QTest::qWait(50);
        QCOMPARE(view.gridSize(), settled);

        // The wheel scrolls the strip sideways, by the pixels it turned.
        view.resize(400, 166);
        QTRY_VERIFY(view.horizontalScrollBar()->maximum() > 240);
        view.horizontalScrollBar()->setValue(0);
        QVERIFY(ReaderTest::sendWheel(view.viewport(), -120));
        QCOMPARE(view.horizontalScrollBar()->value(), 120);
        ReaderTest::sendWheel(view.viewport(), 60);
        QCOMPARE(view.horizontalScrollBar()->value(), 60);
    }
};

OLVANTI_TEST_MAIN(ThumbnailTest)
#include "tst_thumbnail.moc"
