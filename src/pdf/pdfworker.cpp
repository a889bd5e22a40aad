#include "pdfworker.h"

#include <QPdfDocument>
#include <QPdfSearchModel>
#include <QPdfSelection>

#include <algorithm>

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
    m_pageTexts.clear();
}

QString PdfWorker::pageText(int page)
{
    if (const QString *known = m_pageTexts.object(page))
        return *known;
    const QString text = m_document ? m_document->getAllText(page).text() : QString();
    if (m_extractions)
        ++*m_extractions;
    m_pageTexts.insert(page, new QString(text), std::max<qsizetype>(1, text.size() * qsizetype(sizeof(QChar))));
    return text;
}

void PdfWorker::storePageText(int page, const QString &text)
{
    if (!m_pageTexts.contains(page))
        m_pageTexts.insert(page, new QString(text), std::max<qsizetype>(1, text.size() * qsizetype(sizeof(QChar))));
}
