#pragma once

#include <QFile>
#include <QIODevice>

#include <functional>

// The bytes of a document as the engine reads them on the worker. A load that is no longer
// wanted is refused the rest of the file, so a huge or damaged one that the engine would chew
// on for minutes lets go of the worker at once. It also notices when the file under an open
// document is cut or rewritten, after which pages not read yet would come out wrong or blank.
class PdfSource final : public QIODevice
{
    Q_OBJECT

public:
    // `wanted` is asked before every read until the load has ended, on the thread that reads.
    PdfSource(const QString &path, std::function<bool()> wanted, QObject *parent = nullptr);
    ~PdfSource() override;

    // Opens the file read-only when it is a regular file; otherwise false with the reason in
    // `error`, empty when the engine's own message for a missing file fits.
    bool openFile(QString *error);
    // The engine has read what it loads with; from now on every read is served.
    void loadEnded() { m_wanted = nullptr; }

    bool isSequential() const override { return false; }
    // The size when opened: the engine's view of the file for the whole document.
    qint64 size() const override { return m_size; }

    // True once the file's size or modification time differs from when it was opened, or a
    // read came back short.
    bool changedOnDisk();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 maxSize) override;

private:
    QString m_path;
    std::function<bool()> m_wanted;
    QFile m_file;
    qint64 m_size = 0;
    qint64 m_modified = 0; // nanoseconds
    bool m_changed = false;
    int m_refusedReads = 0;
};
