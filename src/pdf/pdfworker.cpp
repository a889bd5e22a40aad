#include "pdfworker.h"

#include <QPdfDocument>
#include <QPdfSearchModel>

PdfWorker::~PdfWorker()
{
    setDocument(nullptr);
}

void PdfWorker::setDocument(QPdfDocument *document)
{
    if (document == m_document)
        return;
    // A search model keeps a plain pointer to its document and scans it from a timer of its
    // own, so none may outlive the document. Searches over it are stale by now anyway.
    qDeleteAll(findChildren<QPdfSearchModel *>(Qt::FindDirectChildrenOnly));
    delete m_document;
    m_document = document;
    m_searchResults.clear();
}
