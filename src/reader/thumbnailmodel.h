#pragma once

#include <QAbstractListModel>
#include <QCache>
#include <QHash>
#include <QList>
#include <QPixmap>
#include <QSet>
#include <QSize>

class PdfService;
class QTimer;

// Page thumbnails for the reader column and the presenter strip. Rendered lazily: only the
// rows a view paints are requested, at one size that suits every visible view, with a
// bounded number of requests outstanding and a byte-bounded pixmap cache.
class ThumbnailModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int LiveRole = Qt::UserRole + 1;
    static constexpr int MaxInFlight = 48;
    static constexpr qint64 CacheBytes = 67108864;
    static constexpr int SizeDelayMs = 200;
    static constexpr int SizeStep = 64;
    static constexpr int MinSide = 64;
    static constexpr int MaxSide = 1024;

    ThumbnailModel(PdfService *service, QObject *parent = nullptr);
    ~ThumbnailModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    void setLivePage(int page);
    int livePage() const { return m_livePage; }

    // The image size a view's cells want, in device pixels; an empty size withdraws the view.
    void setViewSize(QObject *view, const QSize &size);
    QSize thumbnailSize() const { return m_thumbnailSize; }

    // Width over height of the first page, bounded so that odd pages still give usable cells.
    double pageAspect() const;
    static double aspectFor(const QSizeF &pagePoints);

    // Requests made and not yet answered.
    int requestsInFlight() const { return int(m_queue.size()); }

Q_SIGNALS:
    void thumbnailSizeChanged(const QSize &size);

private:
    void resetRows(int rows);
    void onRendered(const QString &channel, int page, const QImage &image);
    void onRenderFailed(const QString &channel, int page);
    void updateThumbnailSize();
    void scheduleRequest(int page) const;
    void sendRequest(int page) const;
    static QString channel(int page);

    PdfService *m_service;
    int m_rows = 0;
    int m_livePage = -1;
    QSize m_thumbnailSize{192, 128};
    QTimer *m_sizeTimer;
    QHash<QObject *, QSize> m_viewSizes;
    QHash<int, QSize> m_renderedSizes;
    // Painting asks for thumbnails through the const data(); the bookkeeping of those
    // requests is not part of the model's visible state.
    mutable QCache<int, QPixmap> m_cache;
    mutable QHash<int, QSize> m_requestedSizes;
    mutable QSet<int> m_inFlight;
    mutable QList<int> m_queue;
};
