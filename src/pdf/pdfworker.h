#pragma once

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

private:
    QPdfDocument *m_document = nullptr;
};
