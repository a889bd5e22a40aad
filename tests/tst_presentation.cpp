#include "pdf/pdfservice.h"
#include "presentation/presentation.h"
#include "testenv.h"

#include <QSignalSpy>
#include <QTest>

namespace {

const QString Output = QStringLiteral("output");
const QString Output2 = QStringLiteral("output2");
const QSizeF Letter(612, 792);

using Delivery = QPair<int, QSize>;

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

    QList<Delivery> deliveries(const QString &channel) const
    {
        QList<Delivery> result;
        for (const QList<QVariant> &reply : rendered) {
            if (reply.at(0).toString() == channel)
                result.append({reply.at(1).toInt(), reply.at(2).value<QImage>().size()});
        }
        return result;
    }
};

} // namespace

class TestPresentation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The operator jumps again as soon as the first frame is up, from the event loop; once the
    // show rests, the page after the live one is preloaded, and the next step takes it from the cache.
    void aJumpRightAfterAFrameFindsNoPreloadUnderWay()
    {
        Show show;
        QList<Delivery> preloadedBeforeTheJumpLanded{Delivery(-1, QSize())};
        quint64 jobsAtFrame = 0;
        connect(&show.presentation, &Presentation::frameReady, this, [&] {
            jobsAtFrame = show.service.renderJobCount();
            if (show.presentation.livePage() == 0)
                QMetaObject::invokeMethod(this, [&] { show.presentation.goToPage(8); }, Qt::QueuedConnection);
            else if (show.presentation.livePage() == 8)
                preloadedBeforeTheJumpLanded = show.deliveries(QStringLiteral("preload"));
        });
        QVERIFY(show.open(TestEnvironment::instance().textDocument(12), QSize(960, 540)));
        QTRY_COMPARE(show.presentation.livePage(), 8);
        // No preload of the page after the first stood between the jump and its frame.
        QCOMPARE(preloadedBeforeTheJumpLanded, QList<Delivery>());
        const Delivery preloaded(9, QSize(417, 540));
        QTRY_COMPARE(show.deliveries(QStringLiteral("preload")), QList<Delivery>{preloaded});
        const quint64 jobsBefore = show.service.renderJobCount();
        show.presentation.next();
        QCOMPARE(show.presentation.pendingPage(), 9);
        QTRY_COMPARE(show.frames.size(), 3);
        QCOMPARE(jobsAtFrame, jobsBefore);
        QCOMPARE(show.deliveries(Output).constLast(), preloaded);
    }

    // Two pages meet at the centre on black; the last page is one page at full size, its
    // second page's request dropped, and a second page that fails leaves the first alone.
    void twoPageOutputMeetsAtTheCentreAndFallsBackToOnePage()
    {
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(7), QSize(1000, 600)));
        show.presentation.setTwoPageOutput(true);
        QTRY_COMPARE(show.frames.size(), 2);
        const QImage frame = show.presentation.frame();
        QCOMPARE(frame.size(), QSize(1000, 600));
        const int width = show.deliveries(Output).constLast().second.width();
        QCOMPARE(show.deliveries(Output2).constLast().second.width(), width);
        QVERIFY(width < 500);
        // Along a row below the text: black, first page, second page from the centre, black.
        const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
        QList<QRgb> seen;
        for (int x : {0, 499 - width, 500 - width, 499, 500, 499 + width, 500 + width, 999})
            seen << frame.pixel(x, 500);
        QCOMPARE(seen, (QList<QRgb>{black, black, white, white, white, white, black, black}));

        // Both channels are asked for page 5 and 6; the jump to the last page drops the second.
        show.rendered.clear();
        show.presentation.goToPage(4);
        show.presentation.goToPage(6);
        QTRY_COMPARE(show.frames.size(), 3);
        const QSize full = PdfService::renderSize(Letter, QSize(1000, 600));
        QCOMPARE(show.deliveries(Output), QList<Delivery>{Delivery(6, full)});
        QCOMPARE(show.frames.constLast().at(0).value<QImage>().size(), full);
        // Requests are served by priority, so a leftover "output2" would be delivered before this.
        const QString probe = QStringLiteral("probe");
        show.service.render(probe, 0, QSize(50, 50), 0, RenderPriority(-100));
        QTRY_COMPARE(show.deliveries(probe).size(), 1);
        QVERIFY(show.deliveries(Output2).isEmpty());

        show.presentation.goToPage(2);
        Q_EMIT show.service.renderFailed(Output2, 3, QStringLiteral("Could not render page 4. Previous output retained."));
        QTRY_COMPARE(show.frames.size(), 4);
        QCOMPARE(show.presentation.livePage(), 2);
        QCOMPARE(show.presentation.frame().size(), PdfService::renderSize(Letter, QSize(500, 600)));
    }

    // A reply larger than the page box, wider or taller by a pixel, is stale (an older size).
    void imageLargerThanThePageBoxIsIgnored()
    {
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(3), QSize(640, 480)));
        show.presentation.goToPage(1);
        // Delivered before the real reply can arrive: it is queued behind this call.
        for (const QSize size : {QSize(641, 480), QSize(640, 481)}) {
            QImage stale(size, QImage::Format_RGB32);
            stale.fill(Qt::red);
            Q_EMIT show.service.rendered(Output, 1, stale);
        }
        QCOMPARE(show.frames.size(), 1);
        QCOMPARE(show.presentation.pendingPage(), 1);
        QTRY_COMPARE(show.frames.size(), 2);
        QCOMPARE(show.presentation.frame().size(), PdfService::renderSize(Letter, QSize(640, 480)));
    }

    void closingTheDocument_data()
    {
        QTest::addColumn<bool>("keepFrame");
        QTest::newRow("without keep frame the output blanks") << false;
        QTest::newRow("a kept frame stays until the next frame") << true;
    }

    void closingTheDocument()
    {
        QFETCH(bool, keepFrame);
        Show show;
        QVERIFY(show.open(TestEnvironment::instance().textDocument(3), QSize(640, 480)));
        const QImage before = show.presentation.frame();
        show.presentation.setKeepFrameOnClose(keepFrame);
        // A playlist switch whose password is asked again closes twice.
        show.service.close();
        show.service.close();
        QCOMPARE(show.presentation.livePage(), -1);
        QCOMPARE(show.presentation.frame(), keepFrame ? before : QImage());
        QCOMPARE(show.frames.size(), keepFrame ? 1 : 3);
        QVERIFY(keepFrame || show.frames.constLast().at(0).value<QImage>().isNull());

        show.service.load(TestEnvironment::instance().textDocument(3));
        QTRY_COMPARE(show.presentation.livePage(), 0);
        QVERIFY(!show.presentation.keepFrameOnClose());
    }
};

OLVANTI_TEST_MAIN(TestPresentation)
#include "tst_presentation.moc"
