#include "pdfservice.h"

#include "pdflog.h"
#include "pdfsource.h"
#include "pdfworker.h"
#include "textreader.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPdfDocument>

#include <algorithm>

// Debug lines (one per delivered picture) only when asked for, as the benchmark does.
Q_LOGGING_CATEGORY(lcPdf, "olvanti.pdf", QtInfoMsg)

namespace {

QString loadErrorMessage(int code)
{
    switch (QPdfDocument::Error(code)) {
    case QPdfDocument::Error::FileNotFound:
        return PdfService::tr("The file was not found or cannot be read.");
    case QPdfDocument::Error::IncorrectPassword:
        return PdfService::tr("PDF requires a valid password.");
    case QPdfDocument::Error::UnsupportedSecurityScheme:
        return PdfService::tr("Unsupported PDF encryption.");
    default:
        return PdfService::tr("The PDF is damaged, unsupported, or contains no pages.");
    }
}

} // namespace

PdfService::PdfService(QObject *parent)
    : QObject(parent)
    , m_worker(new PdfWorker)
    , m_loadGeneration(std::make_shared<std::atomic<quint64>>(0))
    , m_searchGeneration(std::make_shared<std::atomic<quint64>>(0))
    , m_searchSteps(std::make_shared<std::atomic<quint64>>(0))
    , m_textExtractions(std::make_shared<std::atomic<quint64>>(0))
    , m_readerActive(std::make_shared<std::atomic<bool>>(false))
{
    m_worker->setExtractionCounter(m_textExtractions);
    qRegisterMetaType<SearchHit>("SearchHit");
    qRegisterMetaType<QList<SearchHit>>("QList<SearchHit>");
    m_cache.setMaxCost(CacheBytes);
    m_thread.setObjectName(QStringLiteral("PdfWorker"));
    m_worker->moveToThread(&m_thread);
    // The worker, and with it the document, dies on its own thread once the loop has ended.
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start(QThread::InheritPriority);
}

PdfService::~PdfService()
{
    m_reader.reset();
    // Running jobs see the new generations at their next check and stop.
    ++*m_loadGeneration;
    ++*m_searchGeneration;
    m_thread.quit();
    m_thread.wait();
}

void PdfService::postToWorker(std::function<void()> job)
{
    QMetaObject::invokeMethod(m_worker, std::move(job), Qt::QueuedConnection);
}

void PdfService::load(const QString &path, const QString &password, const FirstRender &first)
{
    close();
    const quint64 generation = m_loadGeneration->load();
    m_filePath = QFileInfo(path).absoluteFilePath();
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    const QString file = m_filePath;
    // Sizes and text come from the text reader process where there is one.
    m_readerPlanned = m_readerEnabled && !TextReader::program().isEmpty();
    m_password = password;
    postToWorker([this, worker, counter, generation, file, password, first, reader = m_readerPlanned] {
        if (counter->load() != generation)
            return;
        auto *document = new QPdfDocument(worker);
        // A close or another load refuses the source's further reads, which ends the engine's
        // load however much of the file is left.
        auto *source = new PdfSource(file, [counter, generation] { return counter->load() == generation; }, document);
        worker->setDocument(document, source);
        document->setPassword(password);
        QString refusal;
        QPdfDocument::Error error = QPdfDocument::Error::FileNotFound;
        if (source->openFile(&refusal)) {
            document->load(source);
            source->loadEnded();
            error = document->error();
        }
        LoadReply reply;
        reply.pages = error == QPdfDocument::Error::None ? document->pageCount() : 0;
        reply.errorCode = int(error);
        reply.refusal = refusal;
        const int pages = reply.pages;
        // Only the first page's size before the reply: the first frame must not wait for the
        // page tree of a long document. The rest follow in steps between render jobs.
        reply.firstSize = pages > 0 ? document->pagePointSize(0) : QSizeF();
        if (pages > 0 && !first.channel.isEmpty() && !first.target.isEmpty()) {
            const int page = first.page == -2 ? pages - 1 : std::clamp(first.page, 0, pages - 1);
            const QSizeF points = page == 0 ? reply.firstSize : document->pagePointSize(page);
            const QSize size = points.isValid() ? renderSize(points, first.target) : QSize();
            if (!size.isEmpty() && counter->load() == generation) {
                const QImage image = renderWhole(document, page, size, 0);
                if (!image.isNull() && !worker->sourceChanged()) {
                    reply.rendered = image;
                    reply.renderedPage = page;
                    reply.renderedPoints = points;
                }
            }
        }
        QMetaObject::invokeMethod(
            this, [this, generation, reply, first] { onLoadReply(generation, reply, first); }, Qt::QueuedConnection);
        if (pages > 1 && !reader)
            collectPageSizes(generation, 1);
    });
}

void PdfService::onLoadReply(quint64 generation, const LoadReply &reply, const FirstRender &first)
{
    if (m_loadGeneration->load() != generation)
        return;
    if (reply.errorCode == int(QPdfDocument::Error::None) && reply.pages > 0) {
        m_pageSizes = QList<QSizeF>(reply.pages);
        storeSizes(0, {reply.firstSize});
        // The page rendered with the load: its size is known and its picture waits in the
        // cache for the request that follows `loaded`. It counts as the render job it was.
        if (reply.renderedPage >= 0) {
            storeSizes(reply.renderedPage, {reply.renderedPoints});
            m_cache.insert(cacheKey(reply.renderedPage, reply.rendered.size(), 0), new QImage(reply.rendered),
                           reply.rendered.sizeInBytes());
            ++m_renderJobs;
            Q_EMIT renderStarted(first.channel, reply.renderedPage);
        }
        // What the consumers ask for on `loaded` waits until all have asked; then the
        // audience's picture goes out at once, ahead of the first paint of the windows waiting
        // in the event loop. No consumer is inside render() then.
        m_announcingLoad = true;
        Q_EMIT loaded(pageCount());
        m_announcingLoad = false;
        m_deliverHitNow = reply.renderedPage >= 0;
        pump();
        m_deliverHitNow = false;
        return;
    }
    m_password.clear();
    qCWarning(lcPdf, "PDF load failed (engine code %d)", reply.errorCode);
    Q_EMIT failed(reply.refusal.isEmpty() ? loadErrorMessage(reply.errorCode) : reply.refusal,
                  reply.errorCode == int(QPdfDocument::Error::IncorrectPassword));
}

void PdfService::startTextReader()
{
    m_readerPlanned = false;
    m_reader = std::make_unique<TextReader>(m_filePath, m_password);
    m_password.clear();
    m_readerActive->store(true);
    const quint64 generation = m_loadGeneration->load();
    connect(m_reader.get(), &TextReader::sizesRead, this,
            [this, generation](int first, const QList<QSizeF> &sizes) { onPageSizes(generation, first, sizes); });
    connect(m_reader.get(), &TextReader::textRead, this, [this, generation](int page, const QString &text) {
        PdfWorker *worker = m_worker;
        const Generation counter = m_loadGeneration;
        postToWorker([worker, counter, generation, page, text] {
            if (counter->load() == generation)
                worker->storePageText(page, text);
        });
    });
    connect(m_reader.get(), &TextReader::finished, this, [this, generation] { onTextReaderFinished(generation); });
}

void PdfService::onTextReaderFinished(quint64 generation)
{
    if (generation != m_loadGeneration->load())
        return;
    m_readerActive->store(false);
    const qsizetype unknown = std::find_if(m_pageSizes.cbegin(), m_pageSizes.cend(), [](const QSizeF &size) {
                                  return !size.isValid();
                              }) - m_pageSizes.cbegin();
    if (unknown < m_pageSizes.size())
        postToWorker([this, generation, unknown] { collectPageSizes(generation, int(unknown)); });
    // Text it did not read is read in the background here.
    pump();
}

void PdfService::collectPageSizes(quint64 generation, int first)
{
    // Runs on the worker; it reads only what is fixed after construction.
    QPdfDocument *document = m_worker->document();
    if (m_loadGeneration->load() != generation || !document)
        return;
    QElapsedTimer clock;
    clock.start();
    const int pages = document->pageCount();
    QList<QSizeF> sizes;
    for (int page = first; page < pages && (sizes.isEmpty() || !clock.hasExpired(SizeStepMs)); ++page)
        sizes.append(document->pagePointSize(page));
    QMetaObject::invokeMethod(
        this, [this, generation, first, sizes] { onPageSizes(generation, first, sizes); }, Qt::QueuedConnection);
    // Queued behind whatever was posted meanwhile, so render jobs wait for one step at most.
    if (const int next = first + int(sizes.size()); next < pages)
        postToWorker([this, generation, next] { collectPageSizes(generation, next); });
}

void PdfService::onPageSizes(quint64 generation, int first, const QList<QSizeF> &sizes)
{
    if (m_loadGeneration->load() != generation || first + sizes.size() > m_pageSizes.size())
        return;
    if (storeSizes(first, sizes))
        Q_EMIT pageSizesChanged();
}

bool PdfService::storeSizes(int first, const QList<QSizeF> &sizes)
{
    const QSizeF oldStandIn = m_standInSize;
    int standInCount = m_sizeCounts.value({m_standInSize.width(), m_standInSize.height()});
    bool changed = false;
    for (qsizetype i = 0; i < sizes.size(); ++i) {
        // A page the engine cannot measure counts as known and empty: it cannot be rendered.
        const QSizeF size = sizes.at(i).isValid() ? sizes.at(i) : QSizeF(0, 0);
        QSizeF &slot = m_pageSizes[first + i];
        if (slot.isValid())
            continue;
        slot = size;
        ++m_knownSizes;
        changed = changed || size != oldStandIn;
        const int count = ++m_sizeCounts[{size.width(), size.height()}];
        if (count > standInCount) {
            m_standInSize = size;
            standInCount = count;
        }
    }
    return changed || m_standInSize != oldStandIn;
}

QSizeF PdfService::pageSize(int page) const
{
    if (page < 0 || page >= m_pageSizes.size())
        return QSizeF();
    const QSizeF &size = m_pageSizes.at(page);
    return size.isValid() ? size : m_standInSize;
}

void PdfService::close()
{
    ++*m_loadGeneration;
    ++*m_searchGeneration;
    m_pageSizes.clear();
    m_knownSizes = 0;
    m_sizeCounts.clear();
    m_standInSize = QSizeF();
    m_filePath.clear();
    m_changeReported = false;
    // A job in flight keeps the busy flag; its stale reply clears it.
    m_pending.clear();
    m_latest.clear();
    m_banding.reset();
    m_cache.clear();
    m_searching = false;
    m_hits.clear();
    m_pagesWithoutRects.clear();
    m_nextText = 0;
    m_readerPlanned = false;
    m_reader.reset();
    m_readerActive->store(false);
    m_password.clear();
    PdfWorker *worker = m_worker;
    postToWorker([worker] { worker->setDocument(nullptr); });
    Q_EMIT closed();
}

void PdfService::extractTextInBackground()
{
    if (m_renderBusy || !m_pending.isEmpty() || m_banding)
        return;
    // Started once the first renders are done, so the first frame never shares the machine with it.
    if (m_readerPlanned)
        startTextReader();
    if (m_textBusy || m_searching || m_nextText >= pageCount() || m_readerActive->load())
        return;
    m_textBusy = true;
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    const quint64 generation = counter->load();
    postToWorker([this, worker, counter, generation, first = m_nextText] {
        int next = first;
        bool full = false;
        if (const QPdfDocument *document = worker->document(); document && counter->load() == generation) {
            // Pages a search has read already are passed over.
            while (next < document->pageCount() && worker->hasPageText(next))
                ++next;
            full = worker->pageTextsFull();
            if (next < document->pageCount() && !full)
                worker->pageText(next++);
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, next, full] {
                // A step of a closed document still held the flag; its reply clears it.
                m_textBusy = false;
                if (generation == m_loadGeneration->load())
                    m_nextText = full ? pageCount() : next;
                pump();
            },
            Qt::QueuedConnection);
    });
}
