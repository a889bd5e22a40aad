#include "textreader.h"

#include "pdflog.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

QString &programOverride()
{
    static QString program;
    return program;
}

} // namespace

void TextReader::setProgram(const QString &path)
{
    programOverride() = path;
}

QString TextReader::program()
{
    const QString name = QStringLiteral("olvanti-textreader");
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList candidates = programOverride().isEmpty()
                                       ? QStringList{here + u'/' + name, here + QStringLiteral("/../libexec/olvanti-vivuderidazi/") + name}
                                       : QStringList{programOverride()};
    for (const QString &candidate : candidates) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QString();
}

TextReader::TextReader(const QString &path, const QString &password, QObject *parent)
    : QObject(parent)
    , m_stream(&m_process)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(QProcess::nullDevice());
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &TextReader::readRecords);
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        readRecords();
        const bool complete = status == QProcess::NormalExit && code == 0 && m_pages >= 0 && m_texts == m_pages;
        if (!complete)
            qCWarning(lcPdf, "The text reader ended early (exit code %d); the worker reads on", code);
        Q_EMIT finished(complete);
    });
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            Q_EMIT finished(false);
    });
    m_process.start(program(), {path});
    m_process.write(password.toUtf8() + '\n');
    m_process.closeWriteChannel();
}

TextReader::~TextReader()
{
    disconnect(&m_process, nullptr, this, nullptr);
    setPaused(false);
    m_process.kill();
    m_process.waitForFinished(1000);
}

void TextReader::setPaused(bool paused)
{
#ifdef Q_OS_UNIX
    if (paused == m_paused || m_process.state() != QProcess::Running)
        return;
    m_paused = paused;
    ::kill(pid_t(m_process.processId()), paused ? SIGSTOP : SIGCONT);
#else
    Q_UNUSED(paused);
#endif
}

void TextReader::readRecords()
{
    QList<QSizeF> sizes;
    int first = -1;
    const auto flushSizes = [&] {
        if (!sizes.isEmpty())
            Q_EMIT sizesRead(first, sizes);
        sizes.clear();
    };
    for (;;) {
        m_stream.startTransaction();
        quint8 kind = 0;
        qint32 page = -1;
        m_stream >> kind >> page;
        if (kind == Size) {
            QSizeF size;
            m_stream >> size;
            if (!m_stream.commitTransaction())
                break;
            if (sizes.isEmpty() || page != first + sizes.size()) {
                flushSizes();
                first = page;
            }
            sizes.append(size);
            m_pages = std::max(m_pages, int(page) + 1);
        } else if (kind == Text) {
            QString text;
            m_stream >> text;
            if (!m_stream.commitTransaction())
                break;
            flushSizes();
            ++m_texts;
            Q_EMIT textRead(page, text);
        } else {
            // Nothing whole yet; anything else would be a broken stream.
            if (!m_stream.commitTransaction())
                break;
            m_process.kill();
            break;
        }
    }
    flushSizes();
}
