#include "ui/playlistload.h"

#include "playlist/playlistfile.h"
#include "ui/uilog.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace {

bool isPackage(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("opack"), Qt::CaseInsensitive) == 0;
}

} // namespace

PlaylistLoad::PlaylistLoad(const QString &path, QWidget *window, QObject *owner)
    : QObject(owner)
    , m_path(path)
{
    m_dialog = new QProgressDialog(window);
    // A file name is outside text: shown as it is, never as markup.
    auto *label = new QLabel(m_dialog);
    label->setTextFormat(Qt::PlainText);
    m_dialog->setLabel(label);
    m_dialog->setLabelText(isPackage(path) ? tr("Importing %1...").arg(QFileInfo(path).fileName())
                                           : tr("Reading %1...").arg(QFileInfo(path).fileName()));
    m_dialog->setCancelButtonText(tr("Cancel"));
    m_dialog->setRange(0, 1000);
    m_dialog->setObjectName(QStringLiteral("playlistLoadProgress"));
    m_dialog->setWindowTitle(tr("Playlist"));
    // Not modal: the clicker keeps driving the show while a large file loads.
    m_dialog->setWindowModality(Qt::NonModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setMinimumDuration(std::numeric_limits<int>::max()); // start() shows it, after a delay
    m_dialog->reset();
    connect(m_dialog, &QProgressDialog::canceled, this, &PlaylistLoad::cancel);
}

PlaylistLoad::~PlaylistLoad()
{
    m_cancel = true;
    if (m_thread)
        m_thread->wait();
    delete m_dialog;
}

void PlaylistLoad::start()
{
    m_thread = QThread::create([this] { run(); });
    m_thread->setParent(this);
    connect(m_thread, &QThread::finished, this, [this] {
        if (m_dialog)
            m_dialog->hide();
        Q_EMIT finished(m_entries, m_error);
    });
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &PlaylistLoad::showProgress);
    connect(m_thread, &QThread::finished, poll, &QTimer::stop);
    poll->start(50);
    QTimer::singleShot(DialogDelayMs, m_dialog, [this] {
        if (m_thread->isRunning())
            m_dialog->show();
    });
    m_thread->start();
}

void PlaylistLoad::run()
{
    const auto progress = [this](qint64 done, qint64 total) {
        m_done = done;
        m_total = total;
        return !m_cancel;
    };
    if (isPackage(m_path))
        m_error = PlaylistFile::importPackage(m_path, m_entries, progress);
    else
        m_error = PlaylistFile::readJsonPlaylist(m_path, m_entries, progress);
}

void PlaylistLoad::showProgress()
{
    const qint64 total = m_total;
    if (total > 0 && m_dialog)
        m_dialog->setValue(int(std::clamp(1000.0 * double(m_done) / double(total), 0.0, 1000.0)));
}
