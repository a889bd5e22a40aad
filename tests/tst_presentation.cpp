#include "pdf/pdfservice.h"
#include "presentation/presentation.h"
#include "testenv.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QString Output = QStringLiteral("output");
const QString Output2 = QStringLiteral("output2");
const QString Preload = QStringLiteral("preload");

// A service and a presentation on a loaded document, its first frame committed.
struct Show
{
    PdfService service;
    Presentation presentation{&service};
    QSignalSpy frames{&presentation, &Presentation::frameReady};
    QSignalSpy rendered{&service, &PdfService::rendered};

    bool open(const QString &path, const QSize &outputSize)
    {
        presentation.setOutputSize(outputSize);
        service.load(path);
        // Loading closes first, which blanks the output.
        frames.clear();
        return QTest::qWaitFor([this] { return frames.size() == 1; }, 10000);
    }

    // Replies delivered on `channel`, as (page, image size).
    QList<QPair<int, QSize>> deliveries(const QString &channel) const
    {
        QList<QPair<int, QSize>> result;
        for (const QList<QVariant> &reply : rendered) {
            if (reply.at(0).toString() == channel)
                result.append({reply.at(1).toInt(), reply.at(2).value<QImage>().size()});
        }
        return result;
    }

    bool preloaded(int page) const
    {
        for (const auto &delivery : deliveries(Preload)) {
            if (delivery.first == page)
                return true;
        }
        return false;
    }
};

bool isBlack(QRgb pixel)
{
    return qRed(pixel) < 16 && qGreen(pixel) < 16 && qBlue(pixel) < 16;
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 240 && qGreen(pixel) > 240 && qBlue(pixel) > 240;
}

} // namespace

class TestPresentation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadingRendersFirstPageWithOutputClosed()
    {
        Show show;
        QSignalSpy changed(&show.presentation, &Presentation::changed);
        QVERIFY(show.open(TestEnvironment::instance().textDocument(3), QSize(640, 480)));
        QCOMPARE(show.presentation.livePage(), 0);
        QCOMPARE(show.presentation.currentPage(), 0);
        QCOMPARE(show.presentation.pendingPage(), -1);
        const QImage frame = show.frames.at(0).at(0).value<QImage>();
        QVERIFY(!frame.isNull());
        QCOMPARE(frame, show.presentation.frame());
        // A letter page fitted into the output size.
        QCOMPARE(frame.size(), PdfService::renderSize(QSizeF(612, 792), QSize(640, 480)));
        QVERIFY(changed.size() >= 2);
    }

    void stepForwardIsServedFromThePreloadedCache()
    {
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().deck(4), QSize(960, 540)));
        QTRY_VERIFY(show.preloaded(1));
        const quint64 jobsBefore = show.service.renderJobCount();
        quint64 jobsAtFrame = 0;
        connect(&show.presentation, &Presentation::frameReady, this,
                [&] { jobsAtFrame = show.service.renderJobCount(); });

        show.presentation.next();
        QCOMPARE(show.presentation.pendingPage(), 1);
        QTRY_COMPARE(show.frames.size(), 2);
        QCOMPARE(show.presentation.livePage(), 1);
        QCOMPARE(jobsAtFrame, jobsBefore);
        QCOMPARE(show.deliveries(Output).constLast(), qMakePair(1, QSize(960, 540)));
        // The following page is preloaded in turn.
        QTRY_VERIFY(show.preloaded(2));
    }

    void navigationClampsToTheDocument_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("expected");
        QTest::newRow("previous at the first page stays") << "previous" << 0 << 0;
        QTest::newRow("next on the last page re-shows it") << "next" << 4 << 4;
        QTest::newRow("jump beyond the end goes to the last page") << "goto 99" << 0 << 4;
    }

    void navigationClampsToTheDocument()
    {
        QFETCH(QString, operation);
        QFETCH(int, from);
        QFETCH(int, expected);
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(5), QSize(320, 240)));
        if (from != 0) {
            show.presentation.goToPage(from);
            QTRY_COMPARE(show.presentation.livePage(), from);
        }
        const qsizetype framesBefore = show.frames.size();
        if (operation == QLatin1String("next"))
            show.presentation.next();
        else if (operation == QLatin1String("previous"))
            show.presentation.previous();
        else
            show.presentation.goToPage(operation.mid(5).toInt());
        QCOMPARE(show.presentation.currentPage(), expected);
        QCOMPARE(show.presentation.pendingPage(), expected);
        QTRY_COMPARE(show.frames.size(), framesBefore + 1);
        QCOMPARE(show.presentation.livePage(), expected);
    }

    void twoPageOutputOnTheLastPageRendersOnePageAtFullSize()
    {
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(7), QSize(1000, 600)));
        show.presentation.setTwoPageOutput(true);
        QTRY_COMPARE(show.frames.size(), 2);
        show.rendered.clear();
        // Both channels are asked for page 5 and 6; the jump to the last page drops the second.
        show.presentation.goToPage(4);
        show.presentation.goToPage(6);
        QTRY_COMPARE(show.frames.size(), 3);
        QCOMPARE(show.presentation.livePage(), 6);
        const QSize full = PdfService::renderSize(QSizeF(612, 792), QSize(1000, 600));
        QCOMPARE(show.deliveries(Output), (QList<QPair<int, QSize>>{{6, full}}));
        QCOMPARE(show.frames.constLast().at(0).value<QImage>().size(), full);
        // Requests are served by priority, so a leftover "output2" would be delivered before this.
        const QString probe = QStringLiteral("probe");
        show.service.render(probe, 0, QSize(50, 50), 0, -100);
        QTRY_COMPARE(show.deliveries(probe).size(), 1);
        QVERIFY(show.deliveries(Output2).isEmpty());
    }

    void twoPageFrameMeetsAtTheCentreOnBlack()
    {
        Show show;
        show.presentation.setTwoPageOutput(true);
        QVERIFY(show.open(TestEnvironment::instance().textDocument(3), QSize(1000, 600)));
        const QImage frame = show.presentation.frame();
        QCOMPARE(frame.size(), QSize(1000, 600));
        const QSize page = show.deliveries(Output).constFirst().second;
        QCOMPARE(show.deliveries(Output2).constFirst().second, page);
        QVERIFY(page.width() < 500);
        const int y = 500; // below the text lines: blank page
        const int firstLeft = 500 - page.width();
        QVERIFY(isBlack(frame.pixel(0, y)));
        QVERIFY(isBlack(frame.pixel(firstLeft - 1, y)));
        QVERIFY(isWhite(frame.pixel(firstLeft, y)));
        QVERIFY(isWhite(frame.pixel(499, y)));
        QVERIFY(isWhite(frame.pixel(500, y)));
        QVERIFY(isWhite(frame.pixel(500 + page.width() - 1, y)));
        QVERIFY(isBlack(frame.pixel(500 + page.width(), y)));
        QVERIFY(isBlack(frame.pixel(999, y)));
    }

    void secondPageFailureShowsTheFirstAlone()
    {
        Show show;
        show.presentation.setTwoPageOutput(true);
        QVERIFY(show.open(TestEnvironment::instance().textDocument(5), QSize(1000, 600)));
        show.presentation.goToPage(2);
        Q_EMIT show.service.renderFailed(Output2, 3, QStringLiteral("Could not render page 4. Previous output retained."));
        QTRY_COMPARE(show.frames.size(), 2);
        QCOMPARE(show.presentation.livePage(), 2);
        QCOMPARE(show.presentation.frame().size(), PdfService::renderSize(QSizeF(612, 792), QSize(500, 600)));
    }

    void imageLargerThanThePageBoxIsIgnored_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("wider than the box") << QSize(641, 100) << false;
        QTest::newRow("taller than the box") << QSize(100, 481) << false;
        QTest::newRow("exactly the box") << QSize(640, 480) << true;
    }

    void imageLargerThanThePageBoxIsIgnored()
    {
        QFETCH(QSize, size);
        QFETCH(bool, accepted);
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(3), QSize(640, 480)));
        show.presentation.goToPage(1);
        QImage stale(size, QImage::Format_RGB32);
        stale.fill(Qt::red);
        // Delivered before the real reply can arrive: it is queued behind this call.
        Q_EMIT show.service.rendered(Output, 1, stale);
        QCOMPARE(show.frames.size(), accepted ? 2 : 1);
        QCOMPARE(show.presentation.pendingPage(), accepted ? -1 : 1);
        if (!accepted) {
            QTRY_COMPARE(show.frames.size(), 2);
            QVERIFY(show.presentation.frame().size() != size);
        }
        QCOMPARE(show.presentation.livePage(), 1);
    }

    void outputFailureKeepsTheFrameAndReports()
    {
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(3), QSize(640, 480)));
        const QImage before = show.presentation.frame();
        QSignalSpy errors(&show.presentation, &Presentation::error);
        show.presentation.showPage(7);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.at(0).at(0).toString(), QStringLiteral("Invalid page requested."));
        QCOMPARE(show.presentation.pendingPage(), -1);
        QCOMPARE(show.presentation.livePage(), 0);
        QCOMPARE(show.presentation.frame(), before);
        QCOMPARE(show.frames.size(), 1);
    }

    void closingTheDocument_data()
    {
        QTest::addColumn<bool>("keepFrame");
        QTest::newRow("without keep frame blanks and clears blackout") << false;
        QTest::newRow("with keep frame nothing visible changes") << true;
    }

    void closingTheDocument()
    {
        QFETCH(bool, keepFrame);
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(3), QSize(640, 480)));
        const QImage before = show.presentation.frame();
        show.presentation.setBlackout(true);
        show.presentation.setKeepFrameOnClose(keepFrame);
        show.service.close();
        QCOMPARE(show.presentation.livePage(), -1);
        QCOMPARE(show.presentation.currentPage(), -1);
        QCOMPARE(show.presentation.keepFrameOnClose(), false);
        QCOMPARE(show.presentation.blackout(), keepFrame);
        QCOMPARE(show.presentation.frame(), keepFrame ? before : QImage());
        QCOMPARE(show.frames.size(), keepFrame ? 1 : 2);
        if (!keepFrame)
            QVERIFY(show.frames.constLast().at(0).value<QImage>().isNull());
    }

};

OLVANTI_TEST_MAIN(TestPresentation)
#include "tst_presentation.moc"
