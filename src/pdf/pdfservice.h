#pragma once

#include "searchhit.h"

#include <QCache>
#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>
#include <QObject>
#include <QSize>
#include <QSizeF>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class PdfWorker;
class QPdfDocument;
class TextReader;

// Who waits for a picture, most urgent first.
enum class RenderPriority : int {
    Output = 100,       // the audience's page
    OutputSecond = 90,  // the second page of the audience's two-page frame
    Next = 40,          // the operator's preview of the next page
    Reader = 30,        // the reader's page, and the pages a scroll view shows
    ReaderSecond = 20,  // the second page of the reader's spread
    ScrollAhead = 10,   // scroll-view pages just outside the view
    Preload = -10,      // the page after the audience's, ahead of the next step
    Thumbnail = -20,
};

// The audience's pictures are wanted whole and at once; anything else that is large may come
// in bands, so that an audience request waits for one band at most.
enum class RenderShape { Whole, Bands };

// The only way to a PDF document. Lives on the UI thread; loading, rendering and searching
// run as jobs on one worker thread and come back as signals. Stale work is recognised by
// generation counters shared with the jobs.
class PdfService final : public QObject
{
    Q_OBJECT

public:
    using Generation = std::shared_ptr<std::atomic<quint64>>;

    struct RenderRequest
    {
        QString channel;
        QString key;
        int page = -1;
        int rotation = 0;
        RenderPriority priority = RenderPriority::Reader;
        RenderShape shape = RenderShape::Bands;
        QSize size; // empty while the page's size is unknown: the worker fits it into `target`
        QSize target;
        quint64 number = 0;
        quint64 generation = 0;
    };

    static constexpr qint64 CacheBytes = 134217728;
    static constexpr int MaxRenderSide = 8192;
    static constexpr qint64 MaxRenderArea = 16000000;
    // Pictures that may come in bands and are larger than this are made in bands of at most
    // BandArea pixels, one worker job each, so an output request waits for one band at most.
    static constexpr qint64 BandingArea = 4000000;
    static constexpr qint64 BandArea = 2000000;
    // Bands of a page slow to draw get fewer rows, so that one takes about this long.
    static constexpr int BandMs = 20;
    static constexpr int SearchHitLimit = 10000;
    // Longest stretch the worker spends collecting page sizes before it looks at other jobs.
    static constexpr int SizeStepMs = 4;

    explicit PdfService(QObject *parent = nullptr);
    ~PdfService() override;

    int pageCount() const { return int(m_pageSizes.size()); }
    // The page's size in points. Sizes after the first arrive in steps after `loaded`; until
    // a page's has, the most common size seen so far stands in for it.
    QSizeF pageSize(int page) const;
    bool pageSizeKnown(int page) const { return page >= 0 && page < m_pageSizes.size() && m_pageSizes.at(page).isValid(); }
    bool allPageSizesKnown() const { return m_knownSizes == m_pageSizes.size(); }
    QString filePath() const { return m_filePath; }

    // A load, like a close, abandons a load still under way: the engine is refused the rest of
    // the file, so the worker is free again at once, however large or damaged the file.
    // The page a caller will ask for first, fitted into `target` unturned: the worker renders
    // it right after the load, before the load is reported, so the first frame waits for no
    // turn of the window's thread. Page -2 is the last page. A different request later only
    // makes it a page cached in vain.
    struct FirstRender
    {
        QString channel;
        int page = -1;
        QSize target;
    };
    void load(const QString &path, const QString &password, const FirstRender &first);
    void load(const QString &path, const QString &password = QString()) { load(path, password, FirstRender()); }
    // Whether later loads hand page sizes and text extraction to the text reader process where
    // it is installed (the default), or leave everything to the worker.
    void setTextReaderEnabled(bool enabled) { m_readerEnabled = enabled; }
    void close();

    // Each channel holds at most one waiting request; a newer one replaces it.
    void render(const QString &channel, int page, const QSize &target, int rotation, RenderPriority priority,
                RenderShape shape = RenderShape::Bands);
    void cancel(const QString &channel);

    void search(const QString &text);
    // Finds the rectangles of the last finished search's hits on `page`, which are left out
    // until a page is shown; `searchHitsUpdated` brings them. Does nothing when they are known.
    void findHitRects(int page);

    // The image size for a page of `pagePoints` (already turned for the rotation) fitted
    // into `target`, within the side and area bounds; empty when no image can be made.
    static QSize renderSize(const QSizeF &pagePoints, const QSize &target);
    // Every delivered page is opaque on white, whatever the engine left transparent; in place,
    // with no second picture.
    static void opaqueOnWhite(QImage &image);
    static int normalizedRotation(int rotation) { return ((rotation % 4) + 4) % 4; }

    // Render jobs handed to the worker since construction (cache hits are not counted).
    quint64 renderJobCount() const { return m_renderJobs; }
    // Pages examined by search steps since construction, cancelled searches included.
    quint64 searchStepCount() const { return m_searchSteps->load(); }
    // Pages whose text the engine extracted since construction, for searches or ahead of them.
    quint64 textExtractionCount() const { return m_textExtractions->load(); }
    // The thread that owns the document, for diagnostics and tests; post nothing that touches
    // the document to it.
    QThread *workerThread() { return &m_thread; }

Q_SIGNALS:
    void loaded(int pages);
    // Sizes that arrived after `loaded` changed what pageSize() answers for some page.
    void pageSizesChanged();
    void closed();
    void failed(const QString &message, bool passwordRequired);
    void rendered(const QString &channel, int page, const QImage &image);
    void renderFailed(const QString &channel, int page, const QString &message);
    void searchFinished(const QList<SearchHit> &hits, bool truncated);
    // The hits of the running search so far, sent as pages are searched; `searchFinished` still ends it.
    void searchProgress(const QList<SearchHit> &hits);
    // The finished search's hits again, with the rectangles of one more page filled in.
    void searchHitsUpdated(const QList<SearchHit> &hits);
    // A render job went to the worker (cache hits do not); for diagnostics and tests.
    void renderStarted(const QString &channel, int page);

private:
    // `refusal` says why a path that is no regular file was not read; empty otherwise.
    struct LoadReply
    {
        int pages = 0;
        QSizeF firstSize;
        int errorCode = 0;
        QString refusal;
        int renderedPage = -1; // the FirstRender's page, with its size and picture
        QSizeF renderedPoints;
        QImage rendered;
    };
    void onLoadReply(quint64 generation, const LoadReply &reply, const FirstRender &first);
    static QString cacheKey(int page, const QSize &size, int turns);
    // A whole page as every render job makes it, for jobs and loads alike.
    static QImage renderWhole(QPdfDocument *document, int page, const QSize &size, int rotation);
    void startTextReader();
    // Sizes the text reader could not give are read by the worker.
    void onTextReaderFinished(quint64 generation);
    // On the worker: reads sizes from `first` on for a few milliseconds, then queues itself.
    void collectPageSizes(quint64 generation, int first);
    void onPageSizes(quint64 generation, int first, const QList<QSizeF> &sizes);
    // Records sizes of pages not measured yet and keeps the stand-in the most common size;
    // true when the views must hear of it.
    bool storeSizes(int first, const QList<QSizeF> &sizes);
    // Sets the request's image size and cache key from the page's known size.
    void fitToPage(RenderRequest &request) const;
    void pump();
    // `measured` is the page's size when the worker had to read it for this render; `changed`
    // says that the file under the document was cut or rewritten, so no page is made any more.
    void onRenderReply(const RenderRequest &request, const QImage &image, bool fromCache, const QSizeF &measured,
                       bool changed = false);
    // A large render in progress, band by band; the worker fills `image` until the last band.
    struct Banding
    {
        RenderRequest request;
        std::shared_ptr<QImage> image;
        int nextRow = 0;
        int rows = 0; // of the next band; 0 until the first band has been timed
    };
    bool startsBanding(const RenderRequest &request) const;
    void postBand();
    void onBandReply(const RenderRequest &request, const QImage &image, bool finished, bool changed, int rows,
                     qint64 nanoseconds);
    void onSearchReply(quint64 loadGeneration, quint64 searchGeneration, const QList<SearchHit> &hits, bool finished);
    void onHitRects(quint64 loadGeneration, quint64 searchGeneration, int page, const QList<SearchHit> &hits);
    // While the worker has nothing else to do, the text of the pages is read ahead of any
    // search, one page per job.
    void extractTextInBackground();
    void postToWorker(std::function<void()> job);

    QThread m_thread;
    PdfWorker *m_worker = nullptr;
    Generation m_loadGeneration;
    Generation m_searchGeneration;
    QList<QSizeF> m_pageSizes; // invalid where not yet known
    qsizetype m_knownSizes = 0;
    QHash<std::pair<double, double>, int> m_sizeCounts;
    QSizeF m_standInSize;
    QString m_filePath;
    QCache<QString, QImage> m_cache;
    QHash<QString, RenderRequest> m_pending;
    QHash<QString, quint64> m_latest;
    quint64 m_requestCounter = 0;
    bool m_renderBusy = false;
    // Requests wait while `loaded` is emitted; the next cache hit after it is delivered at
    // once rather than from the event loop.
    bool m_announcingLoad = false;
    bool m_deliverHitNow = false;
    bool m_changeReported = false; // the open document's file was found changed, and logged
    std::optional<Banding> m_banding;
    quint64 m_renderJobs = 0;
    std::shared_ptr<std::atomic<quint64>> m_searchSteps; // shared with the search steps
    std::shared_ptr<std::atomic<quint64>> m_textExtractions; // shared with the worker
    QString m_searchText;
    bool m_searching = false;
    QList<SearchHit> m_hits; // of the last finished search
    QSet<int> m_pagesWithoutRects;
    int m_nextText = 0; // the next page whose text is read in the background
    bool m_textBusy = false;
    bool m_readerEnabled = true;
    bool m_readerPlanned = false; // for the document being loaded
    QString m_password; // until the text reader has it
    std::unique_ptr<TextReader> m_reader;
    std::shared_ptr<std::atomic<bool>> m_readerActive; // shared with the search steps
};
