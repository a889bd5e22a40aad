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

QImage image(int kind)
{
    return paintedIcon(kind).pixmap(QSize(64, 64), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasColour(const QImage &image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (std::find(line, line + image.width(), colour) != line + image.width())
            return true;
    }
    return false;
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("accent");
        QTest::addColumn<bool>("screenFill");
        QTest::newRow("previous") << 0 << false << false;
        QTest::newRow("next") << 1 << false << false;
        QTest::newRow("blackout: dark screen") << 2 << false << true;
        QTest::newRow("resume: open screen with a play mark") << 3 << true << false;
        QTest::newRow("open playlist") << 4 << true << false;
        QTest::newRow("save playlist") << 5 << true << false;
        QTest::newRow("export") << 6 << true << false;
        QTest::newRow("import") << 7 << true << false;
        QTest::newRow("back") << 8 << true << false;
    }

    void kinds()
    {
        QFETCH(int, kind);
        const QImage icon = image(kind);
        // Drawn for double-density screens and still visible at the icon buttons' size.
        QCOMPARE(icon.size(), QSize(128, 128));
        QVERIFY(!paintedIcon(kind).pixmap(QSize(22, 22)).toImage().isNull());
        QVERIFY(hasColour(icon, qRgba(0, 0, 0, 0)));
        QVERIFY(hasColour(icon, qRgb(0xFF, 0xFF, 0xFF)));
        QTEST(hasColour(icon, qRgb(0xFF, 0x9C, 0x45)), "accent");
        QTEST(hasColour(icon, qRgb(0x0E, 0x19, 0x24)), "screenFill");
        for (int other = 0; other <= 8; ++other)
            QVERIFY2(other == kind || image(other) != icon, qPrintable(QString::number(other)));
    }

    void previousMirrorsNext()
    {
        const QImage previous = image(0);
        const QImage mirrored = image(1).mirrored(true, false);
        int worst = 0;
        for (int y = 0; y < 128; ++y) {
            for (int x = 0; x < 128; ++x)
                worst = std::max(worst, std::abs(qAlpha(previous.pixel(x, y)) - qAlpha(mirrored.pixel(x, y))));
        }
        QVERIFY2(worst <= 8, qPrintable(QString::number(worst)));
    }

    void blackoutIconsAreBuiltOnce()
    {
        QCOMPARE(paintedIcon(2).cacheKey(), paintedIcon(2).cacheKey());
        QCOMPARE(paintedIcon(3).cacheKey(), paintedIcon(3).cacheKey());
        QVERIFY(paintedIcon(2).cacheKey() != paintedIcon(3).cacheKey());
    }

    void flashPressesBrieflyWithoutClicking()
    {
        QLabel label;
        flashButton(&label); // not a button: ignored
        flashButton(nullptr);
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
};

OLVANTI_TEST_MAIN(TestIcons)
#include "tst_icons.moc"
