#include "pdfservice.h"

#include "pdflog.h"
#include "pdfworker.h"

#include <QFileInfo>
#include <QPdfDocument>

Q_LOGGING_CATEGORY(lcPdf, "olvanti.pdf")

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
{
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

void PdfService::load(const QString &path, const QString &password)
{
    close();
    const quint64 generation = m_loadGeneration->load();
    m_filePath = QFileInfo(path).absoluteFilePath();
    PdfWorker *worker = m_worker;
    const Generation counter = m_loadGeneration;
    const QString file = m_filePath;
    postToWorker([this, worker, counter, generation, file, password] {
        if (counter->load() != generation)
            return;
        auto *document = new QPdfDocument(worker);
        worker->setDocument(document);
        document->setPassword(password);
        const QPdfDocument::Error error = document->load(file);
        QList<QSizeF> sizes;
        if (error == QPdfDocument::Error::None) {
            const int pages = document->pageCount();
            sizes.reserve(pages);
            for (int page = 0; page < pages; ++page) {
                if (counter->load() != generation)
                    return;
                sizes.append(document->pagePointSize(page));
            }
        }
        QMetaObject::invokeMethod(
            this, [this, generation, sizes, code = int(error)] { onLoadReply(generation, sizes, code); },
            Qt::QueuedConnection);
    });
}

void PdfService::onLoadReply(quint64 generation, const QList<QSizeF> &sizes, int errorCode)
{
    if (m_loadGeneration->load() != generation)
        return;
    if (errorCode == int(QPdfDocument::Error::None) && !sizes.isEmpty()) {
        m_pageSizes = sizes;
        Q_EMIT loaded(pageCount());
        pump();
        return;
    }
    qCWarning(lcPdf, "PDF load failed (engine code %d)", errorCode);
    Q_EMIT failed(loadErrorMessage(errorCode), errorCode == int(QPdfDocument::Error::IncorrectPassword));
}

void PdfService::close()
{
    ++*m_loadGeneration;
    ++*m_searchGeneration;
    m_pageSizes.clear();
    m_filePath.clear();
    // A job in flight keeps the busy flag; its stale reply clears it.
    m_pending.clear();
    m_latest.clear();
    m_cache.clear();
    PdfWorker *worker = m_worker;
    postToWorker([worker] { worker->setDocument(nullptr); });
    Q_EMIT closed();
}
