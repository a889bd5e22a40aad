#include "logo.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <future>

namespace {

struct Pictures
{
    QImage logo;
    // For the header, at the ratio of the screen the window starts on as a rule.
    QImage header;
    qreal headerRatio = 0;
};

QImage scaledLogo(const QImage &logo, int height, qreal ratio)
{
    QImage scaled = logo.scaledToHeight(qRound(height * ratio), Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(ratio);
    return scaled;
}

Pictures decode(qreal headerRatio)
{
    Pictures pictures;
    // In the form a pixmap keeps, so that handing it over copies and converts nothing.
    pictures.logo = QImage(QStringLiteral(":/logo.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (headerRatio > 0) {
        pictures.header = scaledLogo(pictures.logo, Logo::HeaderHeight, headerRatio);
        pictures.headerRatio = headerRatio;
    }
    return pictures;
}

std::future<Pictures> &decoding()
{
    static std::future<Pictures> pending;
    return pending;
}

const Pictures &pictures()
{
    // Kept as images: a pixmap must not outlive the application, a static would.
    static const Pictures decoded = decoding().valid() ? decoding().get() : decode(0);
    return decoded;
}

} // namespace

void Logo::prepare()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    if (decoding().valid())
        return;
    decoding() = std::async(std::launch::async, decode, ratio);
    // A start that ends before the logo is taken lets the decoding end while the application
    // still exists, not under the program's statics as they go.
    qAddPostRoutine([] {
        if (decoding().valid())
            decoding().wait();
    });
}

QPixmap Logo::pixmap()
{
    return QPixmap::fromImage(pictures().logo);
}

QPixmap Logo::header(qreal ratio)
{
    const Pictures &decoded = pictures();
    return QPixmap::fromImage(decoded.headerRatio == ratio ? decoded.header
                                                           : scaledLogo(decoded.logo, HeaderHeight, ratio));
}
