#include "ui/buttons.h"
#include "ui/icons.h"
#include "testenv.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

const QColor kTransparent(0, 0, 0, 0);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kAccent(0xFF, 0x9C, 0x45);
const QColor kScreen(0x0E, 0x19, 0x24);

QImage iconImage(int kind)
{
    return paintedIcon(kind).pixmap(QSize(64, 64), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

// Probes are given in the icons' 64 x 64 logical units.
QColor probe(const QImage &image, QPointF logical)
{
    const QColor c = image.pixelColor((logical * 2).toPoint());
    return c.alpha() == 0 ? kTransparent : c;
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pixmapIsTransparentDoubleDensity_data()
    {
        QTest::addColumn<int>("kind");
        for (int kind = 0; kind <= 8; ++kind)
            QTest::addRow("kind %d", kind) << kind;
    }

    void pixmapIsTransparentDoubleDensity()
    {
        QFETCH(int, kind);
        const QPixmap pixmap = paintedIcon(kind).pixmap(QSize(64, 64), 2.0);
        QCOMPARE(pixmap.size(), QSize(128, 128));
        QCOMPARE(pixmap.devicePixelRatio(), 2.0);
        const QImage image = pixmap.toImage();
        QVERIFY(image.hasAlphaChannel());
        QCOMPARE(probe(image, {1, 1}), kTransparent);
        QCOMPARE(probe(image, {63, 1}), kTransparent);
    }

    void unknownKindIsNull()
    {
        QVERIFY(paintedIcon(-1).isNull());
        QVERIFY(paintedIcon(9).isNull());
    }

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
        QTest::newRow("screen: white frame") << 2 << QPointF(6, 30) << kWhite;
        QTest::newRow("screen: stand line") << 2 << QPointF(32, 56) << kWhite;
        QTest::newRow("screen: square cap reaches past the end") << 2 << QPointF(43.5, 56) << kWhite;
        QTest::newRow("black screen: open interior") << 3 << QPointF(15, 30) << kTransparent;
        QTest::newRow("black screen: accent play mark") << 3 << QPointF(30, 30) << kAccent;
        QTest::newRow("open: folder back") << 4 << QPointF(6, 20) << kWhite;
        QTest::newRow("open: accent front") << 4 << QPointF(32, 42) << kAccent;
        QTest::newRow("open: folder not filled") << 4 << QPointF(40, 25) << kTransparent;
        QTest::newRow("save: frame") << 5 << QPointF(8, 30) << kWhite;
        QTest::newRow("save: accent shutter") << 5 << QPointF(30, 15) << kAccent;
        QTest::newRow("save: body not filled") << 5 << QPointF(14, 30) << kTransparent;
        QTest::newRow("save: label not filled") << 5 << QPointF(32, 46) << kTransparent;
        QTest::newRow("export: tray") << 6 << QPointF(10, 46) << kWhite;
        QTest::newRow("export: accent shaft") << 6 << QPointF(32, 32) << kAccent;
        QTest::newRow("export: accent head points up") << 6 << QPointF(32, 12) << kAccent;
        QTest::newRow("export: gap above tray") << 6 << QPointF(32, 50) << kTransparent;
        QTest::newRow("import: accent shaft") << 7 << QPointF(32, 20) << kAccent;
        QTest::newRow("import: accent head points down") << 7 << QPointF(32, 40) << kAccent;
        QTest::newRow("import: nothing above the shaft") << 7 << QPointF(32, 3) << kTransparent;
        QTest::newRow("back: top stroke") << 8 << QPointF(32, 24) << kWhite;
        QTest::newRow("back: right of the arc") << 8 << QPointF(52, 36) << kWhite;
        QTest::newRow("back: inside the arc") << 8 << QPointF(40, 36) << kTransparent;
        QTest::newRow("back: accent arrow head") << 8 << QPointF(16, 24) << kAccent;
    }

    void probes()
    {
        QFETCH(int, kind);
        QFETCH(QPointF, at);
        QFETCH(QColor, expected);
        QCOMPARE(probe(iconImage(kind), at), expected);
    }

    void blackoutIconsAreBuiltOnce()
    {
        QCOMPARE(paintedIcon(2).cacheKey(), paintedIcon(2).cacheKey());
        QCOMPARE(paintedIcon(3).cacheKey(), paintedIcon(3).cacheKey());
        QVERIFY(paintedIcon(2).cacheKey() != paintedIcon(3).cacheKey());
    }

    void controlButton()
    {
        QWidget row;
        auto *layout = new QHBoxLayout(&row);
        layout->addWidget(new QLabel(QStringLiteral("left")));
        QPushButton *button = makeControlButton(QStringLiteral("nextButton"), QStringLiteral("Next"), 1,
                                                QStringLiteral("Next slide"), layout);
        QCOMPARE(button->objectName(), QStringLiteral("nextButton"));
        QCOMPARE(button->text(), QStringLiteral("Next"));
        QCOMPARE(button->toolTip(), QStringLiteral("Next slide"));
        QCOMPARE(button->property("role").toString(), QStringLiteral("control"));
        QCOMPARE(button->iconSize(), QSize(26, 26));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->icon().isNull());
        QCOMPARE(button->parentWidget(), &row);
        QCOMPARE(layout->stretch(layout->indexOf(button)), 1);
    }

    void iconButton()
    {
        QWidget parent;
        QPushButton *button = makeIconButton(5, QStringLiteral("playlistSaveFile"), QStringLiteral("Save playlist..."),
                                             &parent);
        QCOMPARE(button->parentWidget(), &parent);
        QCOMPARE(button->objectName(), QStringLiteral("playlistSaveFile"));
        QVERIFY(button->text().isEmpty());
        QCOMPARE(button->toolTip(), QStringLiteral("Save playlist..."));
        QCOMPARE(button->accessibleName(), QStringLiteral("Save playlist..."));
        QCOMPARE(button->property("iconOnly"), QVariant(true));
        QCOMPARE(button->iconSize(), QSize(22, 22));
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->icon().isNull());
    }

    void flashPressesWithoutClicking()
    {
        QPushButton button(QStringLiteral("Blackout"));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        QSignalSpy released(&button, &QPushButton::released);
        QElapsedTimer clock;
        clock.start();
        flashButton(&button);
        QVERIFY(button.isDown());
        QTRY_VERIFY(!button.isDown());
        QVERIFY2(clock.elapsed() >= 150, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(clicked.size(), 0);
        QCOMPARE(released.size(), 0);
    }

    void secondFlashExtendsThePress()
    {
        QPushButton button;
        flashButton(&button);
        QElapsedTimer sinceFirst;
        sinceFirst.start();
        QTRY_VERIFY(sinceFirst.elapsed() >= 100);
        QVERIFY(button.isDown());
        QElapsedTimer sinceSecond;
        sinceSecond.start();
        flashButton(&button);
        QTRY_VERIFY(!button.isDown());
        QVERIFY2(sinceSecond.elapsed() >= 150, qPrintable(QString::number(sinceSecond.elapsed())));
    }

    void nonButtonsAreIgnored()
    {
        QLabel label;
        flashButton(&label);
        flashButton(nullptr);
        QVERIFY(label.findChildren<QObject *>().isEmpty());
    }

    void buttonDeletedDuringFlash()
    {
        auto doomed = std::make_unique<QPushButton>();
        QPushButton witness;
        flashButton(doomed.get());
        flashButton(&witness);
        doomed.reset();
        // Once the witness is up again, the deleted button's flash would have ended too.
        QTRY_VERIFY(!witness.isDown());
    }
};

OLVANTI_TEST_MAIN(TestIcons)
#include "tst_icons.moc"
