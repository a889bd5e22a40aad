#include "pdf/pdfservice.h"
#include "reader/scrollview.h"
#include "testenv.h"

#include "pdfgen.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <memory>

namespace {

// Zoom 0.75 is one pixel per point, so letter pages are 612 x 792 slots and rows start at
// 804 * k (top margin 10, row gap 12).
constexpr double OnePixelPerPoint = 0.75;

QString mixedDocument()
{
    const QString path = TestEnvironment::instance().path(QStringLiteral("mixed.pdf"));
    if (!QFile::exists(path)) {
        QList<PdfGen::Page> pages(3);
        pages[0].sizePt = QSizeF(612, 792);
        pages[1].sizePt = QSizeF(792, 612);
        pages[2].sizePt = QSizeF(300, 400);
        const QString error = PdfGen::writePdf(path, pages);
        if (!error.isEmpty())
            qWarning() << error;
    }
    return path;
}

struct Reader
{
    PdfService service;
    std::unique_ptr<ScrollView> view;

    // Loads a document and builds a view of `viewport` pixels, as the main window does.
    bool open(const QString &path, QSize viewport, bool show = true)
    {
        QSignalSpy loaded(&service, &PdfService::loaded);
        service.load(path);
        if (!loaded.wait(20000))
            return false;
        view = std::make_unique<ScrollView>(&service, QStringLiteral("scroll"));
        QObject::connect(&service, &PdfService::rendered, view.get(),
                         [this](const QString &channel, int page, const QImage &image) {
                             if (channel.startsWith(QLatin1String("scroll:")))
                                 view->setPageImage(page, image);
                         });
        view->resize(viewport.width() + view->verticalScrollBar()->sizeHint().width(), viewport.height());
        view->resetDocument();
        view->setViewMode(2, OnePixelPerPoint, 0, false);
        if (!show)
            return true;
        view->show();
        return QTest::qWaitForWindowExposed(view.get()) && view->viewport()->size() == viewport;
    }

    void userScroll(int y) { view->verticalScrollBar()->setValue(y); }
};

QList<int> scrollPages(const QSignalSpy &spy)
{
    QList<int> pages;
    for (const QList<QVariant> &arguments : spy) {
        if (arguments.at(0).toString().startsWith(QLatin1String("scroll:")))
            pages.append(arguments.at(1).toInt());
    }
    return pages;
}

void sendWheel(QWidget *target, QPoint angle, QPoint pixels = QPoint(), Qt::ScrollPhase phase = Qt::NoScrollPhase,
               bool *accepted = nullptr)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), pixels, angle, Qt::NoButton, Qt::NoModifier, phase, false);
    QApplication::sendEvent(target, &event);
    if (accepted)
        *accepted = event.isAccepted();
}

} // namespace

class ScrollViewTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mixedPageSizesFillTheWidth()
    {
        Reader reader;
        QVERIFY(reader.open(mixedDocument(), QSize(820, 500)));
        reader.view->setViewMode(1, 1.0, 0, false);
        const ScrollLayout &layout = reader.view->pageLayout();
        QCOMPARE(layout.rows().size(), 3);
        for (int page = 0; page < 3; ++page)
            QVERIFY2(std::abs(layout.pageRect(page).width() - 800) <= 1, qPrintable(QString::number(page)));
        // Landscape second page: lower than it is wide, at its own scale.
        QVERIFY(layout.pageRect(1).height() < layout.pageRect(1).width());
        QVERIFY(reader.view->scaleForPage(2) > reader.view->scaleForPage(0));
        QCOMPARE(layout.pageRect(1).top(), layout.pageRect(0).bottom() + 1 + 12);
        QCOMPARE(reader.view->scaleForPage(3), 1.0);
    }

    void currentPageFollowsTheLargerRow_data()
    {
        QTest::addColumn<bool>("twoPages");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("page");
        // Rows 0 and 1 cover 10..802 and 814..1606; a 400-pixel viewport at 608 shows 194 of each.
        QTest::newRow("tie goes to the upper row") << false << 608 << 0;
        QTest::newRow("lower row shows more") << false << 609 << 1;
        QTest::newRow("tie in spreads") << true << 608 << 0;
        QTest::newRow("lower spread shows more") << true << 609 << 2;
    }

    void currentPageFollowsTheLargerRow()
    {
        QFETCH(bool, twoPages);
        QFETCH(int, y);
        QFETCH(int, page);
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(1300, 400)));
        reader.view->setViewMode(2, OnePixelPerPoint, 0, twoPages);
        reader.userScroll(1000);
        QCOMPARE(reader.view->currentPage(), twoPages ? 2 : 1);
        QSignalSpy changed(reader.view.get(), &ScrollView::currentPageChanged);
        reader.userScroll(y);
        QCOMPARE(reader.view->currentPage(), page);
        QCOMPARE(changed.size(), page == (twoPages ? 2 : 1) ? 0 : 1);
    }

    void stepScreen_data()
    {
        QTest::addColumn<int>("viewportHeight");
        QTest::addColumn<int>("stepLimit");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("expected");
        // Six letter pages: row starts 0, 804, ..., 4020; content 4832 high.
        QTest::newRow("next page start on screen comes to the top") << 800 << 0 << 704 << 1 << 804;
        QTest::newRow("next page start below the screen: 90 %") << 800 << 0 << 0 << 1 << 720;
        QTest::newRow("last row: 90 %") << 400 << 0 << 4020 << 1 << 4380;
        QTest::newRow("last row: limited by the range") << 400 << 0 << 4100 << 1 << 4432;
        QTest::newRow("previous page start on screen") << 800 << 0 << 900 << -1 << 804;
        QTest::newRow("previous page start too far up: 90 %") << 800 << 0 << 804 << -1 << 84;
        QTest::newRow("step limit replaces the height") << 800 << 300 << 0 << 1 << 270;
        QTest::newRow("step limit beyond the height is ignored") << 800 << 900 << 704 << 1 << 804;
    }

    void stepScreen()
    {
        QFETCH(int, viewportHeight);
        QFETCH(int, stepLimit);
        QFETCH(int, start);
        QFETCH(int, direction);
        QFETCH(int, expected);
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(700, viewportHeight)));
        reader.view->setStepLimit(stepLimit);
        reader.userScroll(start);
        reader.view->stepScreen(direction);
        QCOMPARE(reader.view->target(), double(expected));
        QVERIFY(reader.view->isAnimating());
        QTRY_VERIFY(!reader.view->isAnimating());
        QCOMPARE(reader.view->scrollPosition(), double(expected));
        QCOMPARE(reader.view->verticalScrollBar()->value(), expected);
    }

    void wheelNotchWhileAnimatingExtendsTheTarget()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(700, 800)));
        reader.view->stepLines(1);
        QCOMPARE(reader.view->target(), 100.0);
        sendWheel(reader.view->viewport(), QPoint(0, -120));
        QVERIFY(reader.view->isAnimating());
        QVERIFY(reader.view->scrollPosition() < 100.0);
        QCOMPARE(reader.view->target(), 200.0);
        sendWheel(reader.view->viewport(), QPoint(0, 240));
        QCOMPARE(reader.view->target(), 0.0);
        QTRY_VERIFY(!reader.view->isAnimating());
        QCOMPARE(reader.view->scrollPosition(), 0.0);
    }

    void touchpadScrollsAtOnce()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(700, 800)));
        reader.userScroll(900);
        bool accepted = false;
        sendWheel(reader.view->viewport(), QPoint(0, -40), QPoint(0, -50), Qt::ScrollUpdate, &accepted);
        QVERIFY(accepted);
        QVERIFY(!reader.view->isAnimating());
        QCOMPARE(reader.view->scrollPosition(), 950.0);
        QCOMPARE(reader.view->currentPage(), 1);
    }

    void goToPageWhileHidden()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(700, 800), false));
        QSignalSpy changed(reader.view.get(), &ScrollView::currentPageChanged);
        reader.view->goToPage(3, false);
        QCOMPARE(reader.view->scrollPosition(), 0.0);
        reader.view->show();
        QVERIFY(QTest::qWaitForWindowExposed(reader.view.get()));
        QCOMPARE(reader.view->scrollPosition(), 3 * 804.0);
        QCOMPARE(reader.view->currentPage(), 3);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toInt(), 3);
    }

    void setPosition_data()
    {
        QTest::addColumn<bool>("hiddenFirst");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("expected");
        // Content 4832 high in an 800-pixel viewport: maximum 4032.
        QTest::newRow("ratio near one goes to the bottom") << false << 1.0 << 0.9995 << 4032.0;
        QTest::newRow("fraction places the row") << false << 2.5 << 0.3 << 1608.0 + 402.0;
        QTest::newRow("applied when shown") << true << 1.0 << 0.9995 << 4032.0;
    }

    void setPosition()
    {
        QFETCH(bool, hiddenFirst);
        QFETCH(double, fraction);
        QFETCH(double, ratio);
        QFETCH(double, expected);
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(700, 800), !hiddenFirst));
        ScrollPosition position;
        position.rowFraction = fraction;
        position.verticalRatio = ratio;
        reader.view->setPosition(position);
        if (hiddenFirst) {
            QCOMPARE(reader.view->scrollPosition(), 0.0);
            reader.view->show();
            QVERIFY(QTest::qWaitForWindowExposed(reader.view.get()));
        }
        QCOMPARE(reader.view->scrollPosition(), expected);
    }

    void viewModeChangesKeepThePlace()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(6), QSize(1300, 800)));
        reader.view->goToPage(3, false);
        QCOMPARE(reader.view->scrollPosition(), 3 * 804.0);

        // Spreads: page 3 is in the second row, which comes to the top.
        reader.view->setViewMode(2, OnePixelPerPoint, 0, true);
        QCOMPARE(reader.view->currentPage(), 3);
        QCOMPARE(reader.view->scrollPosition(), 804.0);
        reader.view->setViewMode(2, OnePixelPerPoint, 0, false);
        QCOMPARE(reader.view->scrollPosition(), 3 * 804.0);

        // A zoom change keeps the relative position within the row.
        reader.userScroll(804 + 402);
        QCOMPARE(reader.view->position().rowFraction, 1.5);
        reader.view->setViewMode(2, 2 * OnePixelPerPoint, 0, false);
        QCOMPARE(reader.view->position().rowFraction, 1.5);
        QVERIFY(reader.view->scrollPosition() > 2000.0);
    }

    void rendersOnlyNearTheScreen()
    {
        Reader reader;
        // Rows every 804 pixels; a 900-pixel viewport shows two of them.
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(30), QSize(700, 900)));
        QSignalSpy failures(&reader.service, &PdfService::renderFailed);
        QTRY_COMPARE(reader.view->pageImageCount(), 3);
        QCOMPARE(reader.view->requestedSize(0), QSize(612, 792));

        // Hold the worker so the order of service shows the priorities.
        reader.service.render(QStringLiteral("blocker"), 29, QSize(1000, 1000), 0, 100);
        QSignalSpy rendered(&reader.service, &PdfService::rendered);
        reader.view->goToPage(10, false);
        QTRY_COMPARE(scrollPages(rendered).size(), 4);
        // Visible pages 10 and 11 first (30), then the neighbours 9 and 12 (10).
        QCOMPARE(scrollPages(rendered), QList<int>({10, 11, 9, 12}));
        QCOMPARE(reader.view->pageImageCount(), 4);
        QVERIFY(!reader.view->hasPageImage(0));
        QVERIFY(!reader.view->requestedSize(0).isValid());

        // Moving within the same pages asks for nothing again; a low sentinel comes last.
        const quint64 jobs = reader.service.renderJobCount();
        rendered.clear();
        reader.userScroll(10 * 804 + 30);
        reader.service.render(QStringLiteral("sentinel"), 0, QSize(50, 50), 0, -100);
        QTRY_COMPARE(rendered.size(), 1);
        QCOMPARE(rendered.at(0).at(0).toString(), QStringLiteral("sentinel"));
        QCOMPARE(reader.service.renderJobCount(), jobs + 1);

        // Never beyond the last page.
        rendered.clear();
        reader.view->scrollToEdge(true, false);
        QTRY_COMPARE(scrollPages(rendered).size(), 3);
        QList<int> last = scrollPages(rendered);
        std::sort(last.begin(), last.end());
        QCOMPARE(last, QList<int>({27, 28, 29}));
        QCOMPARE(failures.size(), 0);
    }

    void mirrorMode()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(3), QSize(700, 500)));
        ScrollView &view = *reader.view;
        const QImage reader0 = view.viewport()->grab().toImage();
        QCOMPARE(reader0.pixelColor(3, 3), view.palette().color(QPalette::Window));

        view.setMirrorMode(true);
        QVERIFY(view.testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(view.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(view.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(view.focusPolicy(), Qt::NoFocus);
        const QImage mirror = view.viewport()->grab().toImage();
        QCOMPARE(mirror.pixelColor(3, 3), QColor(Qt::black));
        bool accepted = true;
        sendWheel(view.viewport(), QPoint(0, -120), QPoint(), Qt::NoScrollPhase, &accepted);
        QVERIFY(!accepted);
        QVERIFY(!view.isAnimating());

        view.setMirrorMode(false);
        QVERIFY(!view.testAttribute(Qt::WA_TransparentForMouseEvents));
        QCOMPARE(view.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(view.focusPolicy(), Qt::StrongFocus);
    }

    void emptySlotsAndHighlights()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(3), QSize(700, 900)));
        ScrollView &view = *reader.view;
        QTRY_VERIFY(view.hasPageImage(0));
        const QRect slot = view.pageLayout().pageRect(0);
        const QPoint mark = slot.topLeft() + QPoint(150, 625);
        QCOMPARE(view.viewport()->grab().toImage().pixelColor(mark), QColor(Qt::white));

        SearchHit hit;
        hit.page = 0;
        hit.rects = {QRectF(100, 600, 200, 50)};
        view.setHighlights({hit});
        const QColor marked = view.viewport()->grab().toImage().pixelColor(mark);
        QVERIFY2(marked.red() > 230 && marked.blue() < 200, qPrintable(marked.name()));

        // A page whose image is gone paints as an empty white slot, the mirror's as black.
        view.resetDocument();
        const QColor empty = view.viewport()->grab().toImage().pixelColor(mark);
        QCOMPARE(empty, QColor(Qt::white));
        view.setMirrorMode(true);
        QCOMPARE(view.viewport()->grab().toImage().pixelColor(view.pageLayout().pageRect(0).center()),
                 QColor(Qt::black));
    }

    void closingTheDocumentEmptiesTheView()
    {
        Reader reader;
        QVERIFY(reader.open(TestEnvironment::instance().textDocument(3), QSize(700, 500)));
        QSignalSpy failures(&reader.service, &PdfService::renderFailed);
        reader.service.close();
        QVERIFY(reader.view->pageLayout().isEmpty());
        reader.view->goToPage(2, false);
        reader.view->stepScreen(1);
        reader.userScroll(300);
        QCOMPARE(reader.view->currentPage(), 0);
        QCOMPARE(reader.view->scrollPosition(), 0.0);
        QCOMPARE(failures.size(), 0);
    }
};

OLVANTI_TEST_MAIN(ScrollViewTest)
#include "tst_scrollview.moc"
