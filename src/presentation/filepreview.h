#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

class PdfService;

// The first page of another PDF than the open one, for the NEXT view on a talk's last page:
// the next playlist file is loaded with an engine of its own, its first page rendered, and
// the document closed again; the picture is kept until another one is asked for.
class FilePreview final : public QObject
{
    Q_OBJECT

public:
    explicit FilePreview(QObject *parent = nullptr);
    ~FilePreview() override;

    // Emits `ready` at once when that picture is known, else once it is rendered; a newer
    // request replaces an older one.
    void request(const QString &path, const QSize &size);
    QString path() const { return m_path; }

Q_SIGNALS:
    // `image` is null when the file cannot be shown.
    void ready(const QString &path, const QImage &image);

private:
    PdfService *m_service;
    QString m_path;
    QSize m_size;
    QImage m_image;
    bool m_done = false;
};
