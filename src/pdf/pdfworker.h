#pragma once

#include "searchhit.h"

#include <QCache>
#include <QObject>

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

    // A page's text, for the context of its hits; kept, so that a later search finding hits on
    // the same page does not extract it again. Emptied with the document.
    QString pageText(int page);
    static constexpr qint64 PageTextBytes = 64 * 1024 * 1024;

private:
    QPdfDocument *m_document = nullptr;
    QCache<QString, QList<SearchHit>> m_searchResults{SearchResultBytes};
    QCache<int, QString> m_pageTexts{PageTextBytes};
};
