#include "ui/buttons.h"
#include "ui/icons.h"
#include "testenv.h"

#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QColor kTransparent(0, 0, 0, 0);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kAccent(0xFF, 0x9C, 0x45);
const QColor kScreen(0x0E, 0x19, 0x24);

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Probes are given in the icons' 64 x 64 logical units.
    void probes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("previous: bar") << 0 << QPointF(13, 32) << kWhite;
        QTest::newRow("previous: triangle") << 0 << QPointF(44, 32) << kWhite;
        QTest::newRow("previous: gap between bar and tip") << 0 << QPointF(18.5, 32) << kTransparent;
        QTest::newRow("next: bar") << 1 << QPointF(50, 32) << kWhite;
        QTest::newRow("next: triangle") << 1 << QPointF(20, 32) << kWhite;
        QTest::newRow("screen: dark interior") << 2 << QPointF(32, 30) << kScreen;
        QTest::newRow("screen: square cap reaches past the stand's end") << 2 << QPointF(43.5, 56) << kWhite;
        QTest::newRow("black screen: open interior") << 3 << QPointF(15, 30) << kTransparent;
        QTest::newRow("black screen: accent play mark") << 3 << QPointF(30, 30) << kAccent;
        QTest::newRow("open: accent front") << 4 << QPointF(32, 42) << kAccent;
        QTest::newRow("open: folder not filled") << 4 << QPointF(40, 25) << kTransparent;
        QTest::newRow("save: accent shutter") << 5 << QPointF(30, 15) << kAccent;
        QTest::newRow("save: body not filled") << 5 << QPointF(14, 30) << kTransparent;
        QTest::newRow("export: tray") << 6 << QPointF(10, 46) << kWhite;
        QTest::newRow("export: accent head points up") << 6 << QPointF(32, 12) << kAccent;
        QTest::newRow("export: gap above tray") << 6 << QPointF(32, 50) << kTransparent;
        QTest::newRow("import: accent head points down") << 7 << QPointF(32, 40) << kAccent;
        QTest::newRow("import: nothing above the shaft") << 7 << QPointF(32, 3) << kTransparent;
        QTest::newRow("back: right of the arc") << 8 << QPointF(52, 36) << kWhite;
        QTest::newRow("back: inside the arc") << 8 << QPointF(40, 36) << kTransparent;
        QTest::newRow("back: accent arrow head") << 8 << QPointF(16, 24) << kAccent;
    }

    void probes()
    {
        QFETCH(int, kind);
        QFETCH(QPointF, at);
        QFETCH(QColor, expected);
        const QPixmap pixmap = paintedIcon(kind).pixmap(QSize(64, 64), 2.0);
        QCOMPARE(pixmap.size(), QSize(128, 128));
        const QColor c = pixmap.toImage().convertToFormat(QImage::Format_ARGB32).pixelColor((at * 2).toPoint());
        QCOMPARE(c.alpha() == 0 ? kTransparent : c, expected);
    }

    void blackoutIconsAreBuiltOnce()
    {
        QCOMPARE(paintedIcon(2).cacheKey(), paintedIcon(2).cacheKey());
        QCOMPARE(paintedIcon(3).cacheKey(), paintedIcon(3).cacheKey());
        QVERIFY(paintedIcon(2).cacheKey() != paintedIcon(3).cacheKey());
    }

    void flashPressesBrieflyWithoutClicking()
    {
        QPushButton button(QStringLiteral("Blackout"));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        // A button deleted during its flash must not be touched when the flash ends.
        auto doomed = std::make_unique<QPushButton>();
        flashButton(doomed.get());
        QElapsedTimer clock;
        clock.start();
        flashButton(&button);
        doomed.reset();
        QVERIFY(button.isDown());
        QTRY_VERIFY(!button.isDown());
        QVERIFY2(clock.elapsed() >= 150, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(clicked.size(), 0);
    }

    void nonButtonsAreIgnored()
    {
        QLabel label;
        flashButton(&label);
        flashButton(nullptr);
        QVERIFY(label.findChildren<QObject *>().isEmpty());
    }
};

OLVANTI_TEST_MAIN(TestIcons)
#include "tst_icons.moc"
