#include "filepreview.h"

#include "pdf/pdfservice.h"

namespace {

const QString Channel = QStringLiteral("next-file");

} // namespace

FilePreview::FilePreview(QObject *parent)
    : QObject(parent)
    , m_service(new PdfService(this))
{
    connect(m_service, &PdfService::loaded, this,
            [this] { m_service->render(Channel, 0, m_size, 0, RenderPriority::Next); });
    const auto finish = [this](const QImage &image) {
        m_image = image;
        m_done = true;
        // Only the picture is needed: the document goes, and its memory with it.
        m_service->close();
        Q_EMIT ready(m_path, m_image);
    };
    connect(m_service, &PdfService::rendered, this, [finish](const QString &channel, int, const QImage &image) {
        if (channel == Channel)
            finish(image);
    });
    connect(m_service, &PdfService::renderFailed, this, [finish](const QString &channel) {
        if (channel == Channel)
            finish(QImage());
    });
    connect(m_service, &PdfService::failed, this, [finish] { finish(QImage()); });
}

FilePreview::~FilePreview() = default;

void FilePreview::request(const QString &path, const QSize &size)
{
    if (path == m_path && size == m_size) {
        if (m_done)
            Q_EMIT ready(m_path, m_image);
        return;
    }
    m_path = path;
    m_size = size;
    m_image = QImage();
    m_done = false;
    if (path.isEmpty() || size.isEmpty())
        m_service->close();
    else
        m_service->load(path);
}
