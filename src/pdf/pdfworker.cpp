#include "pdfworker.h"

#include <QPdfDocument>

PdfWorker::~PdfWorker()
{
    delete m_document;
}

void PdfWorker::setDocument(QPdfDocument *document)
{
    if (document == m_document)
        return;
    delete m_document;
    m_document = document;
}
