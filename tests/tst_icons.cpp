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

#include <algorithm>
#include <memory>

namespace {

QImage image(int kind)
{
    return paintedIcon(IconKind(kind)).pixmap(QSize(64, 64), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool hasColour(const QImage &image, QRgb colour)
{
    const auto *pixels = reinterpret_cast<const QRgb *>(image.constBits());
    return std::find(pixels, pixels + image.width() * image.height(), colour) != pixels + image.width() * image.height();
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void kinds_data()
    {
        QTest::addColumn<int>("kind");
        for (int kind = 0; kind < IconKindCount; ++kind)
            QTest::addRow("kind %d", kind) << kind;
    }

    // Drawn for double-density screens, in white with the accent from kind 3 on; only the
    // blackout screen is filled dark. No two kinds look alike; Next mirrors Previous.
    void kinds()
    {
        QFETCH(int, kind);
        const QImage icon = image(kind);
        QCOMPARE(icon.size(), QSize(128, 128));
        QVERIFY(hasColour(icon, qRgba(0, 0, 0, 0)));
        QVERIFY(hasColour(icon, qRgb(0xFF, 0xFF, 0xFF)));
        QCOMPARE(hasColour(icon, qRgb(0xFF, 0x9C, 0x45)), kind >= 3);
        QCOMPARE(hasColour(icon, qRgb(0x0E, 0x19, 0x24)), kind == 2);
        for (int other = 0; other < kind; ++other)
            QVERIFY2(image(other) != icon, qPrintable(QString::number(other)));
        // Next (kind 1) is Previous mirrored.
        const QImage mirrored = kind == 1 ? image(0).mirrored(true, false) : QImage();
        for (int y = 0; y < mirrored.height(); ++y) {
            for (int x = 0; x < 128; ++x)
                QVERIFY2(std::abs(qAlpha(icon.pixel(x, y)) - qAlpha(mirrored.pixel(x, y))) <= 8,
                         qPrintable(QStringLiteral("at %1, %2").arg(x).arg(y)));
        }
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
