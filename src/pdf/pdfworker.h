#pragma once

#include "searchhit.h"

#include <QCache>
#include <QObject>

#include <atomic>
#include <memory>

class QPdfDocument;

// Lives on the PDF thread and owns the open document; the only object that touches it.
// Jobs are function objects posted to it by PdfService.
class PdfWorker final : public QObject
{
    Q_OBJECT

public:
    PdfWorker() = default;
    ~PdfWorker() override;

    QPdfDocument *document() const { return m_document; }
    // Takes ownership; deletes the previous document and every search model made over it.
    void setDocument(QPdfDocument *document);

    // Finished searches of the open document by text, so asking again costs nothing; emptied
    // with the document.
    QCache<QString, QList<SearchHit>> &searchResults() { return m_searchResults; }
    static constexpr qint64 SearchResultBytes = 64 * 1024 * 1024;

    // A page's text, read from the engine once and kept, so that every later search, its hits
    // and their contexts, is answered from memory. Emptied with the document.
    QString pageText(int page);
    bool hasPageText(int page) const { return m_pageTexts.contains(page); }
    // A page's text read elsewhere, by the text reader process.
    void storePageText(int page, const QString &text);
    // Whether the kept texts have reached their bound, beyond which reading ahead stops.
    bool pageTextsFull() const { return m_pageTexts.totalCost() >= PageTextBytes - PageTextBytes / 16; }
    static constexpr qint64 PageTextBytes = 64 * 1024 * 1024;
    // Counts every page whose text the engine extracts.
    void setExtractionCounter(std::shared_ptr<std::atomic<quint64>> counter) { m_extractions = std::move(counter); }

private:
    QPdfDocument *m_document = nullptr;
    QCache<QString, QList<SearchHit>> m_searchResults{SearchResultBytes};
    QCache<int, QString> m_pageTexts{PageTextBytes};
    std::shared_ptr<std::atomic<quint64>> m_extractions;
};
