#include "thumbnailmodel.h"

#include "pdf/pdfservice.h"
#include "reader/readerlog.h"

#include <QTimer>

#include <algorithm>

namespace {

int roundedSide(int pixels)
{
    const int step = ThumbnailModel::SizeStep;
    const int rounded = (std::max(pixels, 0) + step - 1) / step * step;
    return std::clamp(rounded, ThumbnailModel::MinSide, ThumbnailModel::MaxSide);
}

} // namespace

ThumbnailModel::ThumbnailModel(PdfService *service, QObject *parent)
    : QAbstractListModel(parent)
    , m_service(service)
    , m_rows(service->pageCount())
    , m_sizeTimer(new QTimer(this))
{
    m_cache.setMaxCost(CacheBytes);
    m_sizeTimer->setObjectName(QStringLiteral("thumbnailSizeTimer"));
    m_sizeTimer->setSingleShot(true);
    m_sizeTimer->setInterval(SizeDelayMs);
    connect(m_sizeTimer, &QTimer::timeout, this, &ThumbnailModel::updateThumbnailSize);

    connect(m_service, &PdfService::closed, this, [this] {
        m_livePage = -1;
        resetRows(0);
    });
    connect(m_service, &PdfService::loaded, this, [this](int pages) {
        m_requestedSizes.clear();
        resetRows(pages);
    });
    connect(m_service, &PdfService::rendered, this, &ThumbnailModel::onRendered);
    connect(m_service, &PdfService::renderFailed, this,
            [this](const QString &channel, int page, const QString &) { onRenderFailed(channel, page); });
}

ThumbnailModel::~ThumbnailModel() = default;

QString ThumbnailModel::channel(int page)
{
    return QStringLiteral("thumb:%1").arg(page);
}

void ThumbnailModel::resetRows(int rows)
{
    beginResetModel();
    m_rows = std::max(rows, 0);
    m_cache.clear();
    m_renderedSizes.clear();
    m_inFlight.clear();
    m_queue.clear();
    endResetModel();
}

int ThumbnailModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant ThumbnailModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows)
        return {};
    const int page = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return page == m_livePage ? tr("%1  LIVE").arg(page + 1) : QString::number(page + 1);
    case LiveRole:
        return page == m_livePage;
    case Qt::DecorationRole: {
        const QPixmap *pixmap = m_cache.object(page);
        // A picture the cache let go is asked for again, like one of an old size.
        if (!m_inFlight.contains(page) && (!pixmap || m_renderedSizes.value(page) != m_thumbnailSize))
            scheduleRequest(page);
        if (pixmap)
            return *pixmap;
        return {};
    }
    default:
        return {};
    }
}

void ThumbnailModel::scheduleRequest(int page) const
{
    m_inFlight.insert(page);
    m_queue.append(page);
    // Fast scrolling must not flood the render queue: the oldest wishes give way.
    while (m_queue.size() > MaxInFlight) {
        const int oldest = m_queue.takeFirst();
        m_inFlight.remove(oldest);
        m_service->cancel(channel(oldest));
    }
    // Painting never waits on the render queue.
    QTimer::singleShot(0, this, [this, page] { sendRequest(page); });
}

void ThumbnailModel::sendRequest(int page) const
{
    if (page >= m_rows || !m_inFlight.contains(page))
        return;
    m_requestedSizes.insert(page, m_thumbnailSize);
    m_service->render(channel(page), page, m_thumbnailSize, 0, RenderPriority::Thumbnail);
}

void ThumbnailModel::onRendered(const QString &channel, int page, const QImage &image)
{
    if (channel != ThumbnailModel::channel(page) || page < 0 || page >= m_rows)
        return;
    const qint64 bytes = image.sizeInBytes();
    if (bytes <= CacheBytes)
        m_cache.insert(page, new QPixmap(QPixmap::fromImage(image)), bytes);
    else
        m_cache.remove(page);
    m_renderedSizes.insert(page, m_requestedSizes.take(page));
    m_inFlight.remove(page);
    m_queue.removeAll(page);
    const QModelIndex changed = index(page);
    Q_EMIT dataChanged(changed, changed, {Qt::DecorationRole});
}

void ThumbnailModel::onRenderFailed(const QString &channel, int page)
{
    if (channel != ThumbnailModel::channel(page) || page < 0 || page >= m_rows)
        return;
    // Not asked again until the size changes or a document loads; the cell stays empty.
    m_inFlight.insert(page);
    m_queue.removeAll(page);
}

void ThumbnailModel::setLivePage(int page)
{
    const int old = m_livePage;
    m_livePage = page;
    for (const int row : {old, page}) {
        if (row >= 0 && row < m_rows) {
            const QModelIndex changed = index(row);
            Q_EMIT dataChanged(changed, changed);
        }
    }
}

void ThumbnailModel::setViewSize(QObject *view, const QSize &size)
{
    if (!view)
        return;
    if (size.isEmpty()) {
        m_viewSizes.remove(view);
    } else {
        if (!m_viewSizes.contains(view)) {
            // A destroyed view stops counting, as a hidden one does.
            connect(view, &QObject::destroyed, this, [this, view] {
                m_viewSizes.remove(view);
                m_sizeTimer->start();
            });
        }
        m_viewSizes.insert(view, size);
    }
    m_sizeTimer->start();
}

void ThumbnailModel::updateThumbnailSize()
{
    if (m_viewSizes.isEmpty())
        return;
    int width = 0;
    int height = 0;
    for (const QSize &size : std::as_const(m_viewSizes)) {
        width = std::max(width, size.width());
        height = std::max(height, size.height());
    }
    const QSize wanted(roundedSide(width), roundedSide(height));
    if (wanted == m_thumbnailSize)
        return;
    qCDebug(lcReader) << "thumbnail size" << m_thumbnailSize << "->" << wanted;
    m_thumbnailSize = wanted;
    for (const int page : std::as_const(m_queue))
        m_service->cancel(channel(page));
    m_inFlight.clear();
    m_queue.clear();
    Q_EMIT thumbnailSizeChanged(wanted);
    // Cells keep their old pixmaps until the new size arrives.
    if (m_rows > 0)
        Q_EMIT dataChanged(index(0), index(m_rows - 1), {Qt::DecorationRole});
}

double ThumbnailModel::aspectFor(const QSizeF &pagePoints)
{
    if (pagePoints.isEmpty())
        return 16.0 / 9.0;
    return std::clamp(pagePoints.width() / pagePoints.height(), 0.3, 4.0);
}

double ThumbnailModel::pageAspect() const
{
    return aspectFor(m_service->pageSize(0));
}
