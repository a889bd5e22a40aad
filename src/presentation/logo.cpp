#include "logo.h"

#include <QImage>

#include <future>

namespace {

QImage decode()
{
    // In the form a pixmap keeps, so that handing it over copies and converts nothing.
    return QImage(QStringLiteral(":/logo.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

std::future<QImage> &decoding()
{
    static std::future<QImage> pending;
    return pending;
}

} // namespace

void Logo::prepare()
{
    if (!decoding().valid())
        decoding() = std::async(std::launch::async, decode);
}

QPixmap Logo::pixmap()
{
    // Kept as an image: a pixmap must not outlive the application, a static would.
    static const QImage image = decoding().valid() ? decoding().get() : decode();
    return QPixmap::fromImage(image);
}
