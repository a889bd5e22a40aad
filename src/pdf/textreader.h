#pragma once

#include <QDataStream>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QSizeF>

// The text reader: a child process (olvanti-textreader) that reads an open document's page
// sizes, then the text of every page in order, on a core of its own. Owned by the PDF service
// and killed with its document; the engine in this process never loads those pages for it.
class TextReader final : public QObject
{
    Q_OBJECT

public:
    // The records the child writes, each with its page: a size in points, or a page's text.
    enum Record : quint8 { Size = 1, Text = 2 };

    // The child program, beside this one or where it is installed; empty when there is none.
    static QString program();
    // For programs that do not sit beside it, such as the tests: the one path to look at.
    static void setProgram(const QString &path);

    TextReader(const QString &path, const QString &password, QObject *parent = nullptr);
    ~TextReader() override;

    // A stopped child takes no core from a render the operator waits for.
    void setPaused(bool paused);

Q_SIGNALS:
    void sizesRead(int first, const QList<QSizeF> &sizes);
    void textRead(int page, const QString &text);
    // The child has ended, having read everything or not.
    void finished(bool complete);

private:
    void readRecords();

    QProcess m_process;
    QDataStream m_stream;
    bool m_paused = false;
    int m_texts = 0;
    int m_pages = -1;
};
