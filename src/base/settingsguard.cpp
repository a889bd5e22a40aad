#include "base/settingsguard.h"

#include "base/baselog.h"
#include "storage/safesave.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A key the store writes and reads back as it is.
bool isPlainKey(const QString &key)
{
    return !key.isEmpty() && !key.startsWith(u'/') && !key.endsWith(u'/') && !key.contains(QStringLiteral("//"));
}

// The file's identity: Qt's writer always puts a new file in place, so an unchanged identity
// after a write with changes means nothing was written.
std::optional<std::pair<dev_t, ino_t>> identity(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return std::pair{info.st_dev, info.st_ino};
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

SettingsGuard *SettingsGuard::of(QSettings &store)
{
    auto *guard = store.findChild<SettingsGuard *>(QString(), Qt::FindDirectChildrenOnly);
    return guard ? guard : new SettingsGuard(store);
}

SettingsGuard::SettingsGuard(QSettings &store)
    : QObject(&store)
    , m_store(store)
{
    m_retry.setSingleShot(true);
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        m_dirty = true;
        writeInBackground();
    });
    m_store.installEventFilter(this);
}

SettingsGuard::~SettingsGuard()
{
    if (m_background)
        m_background->wait();
}

bool SettingsGuard::eventFilter(QObject *watched, QEvent *event)
{
    // The store asks for a deferred write once after its first change since the last one.
    if (watched != &m_store || event->type() != QEvent::UpdateRequest)
        return false;
    m_dirty = true;
    m_storeUnsynced = true;
    if (!m_syncing && !m_retry.isActive())
        writeInBackground();
    return true;
}

void SettingsGuard::writeInBackground()
{
    // A write in flight is followed by another once it is done.
    if (m_background || !m_dirty)
        return;
    m_dirty = false;
    const QStringList keys = ownKeys();
    QVariantList values;
    values.reserve(keys.size());
    for (const QString &key : keys)
        values.append(m_store.value(key));
    const QString path = m_store.fileName();
    const QSettings::Format format = m_store.format();
    m_background.reset(QThread::create([this, path, format, keys, values] {
        m_backgroundReason = writeCopy(path, format, keys, values);
    }));
    connect(m_background.get(), &QThread::finished, this, [this] {
        if (finishBackground() && !m_retry.isActive())
            writeInBackground();
    });
    m_background->start();
}

bool SettingsGuard::finishBackground()
{
    if (!m_background)
        return false;
    m_background->wait();
    m_background.reset();
    const QString reason = std::exchange(m_backgroundReason, QString());
    if (!reason.isEmpty()) {
        qCWarning(lcSettings).noquote() << QStringLiteral("The settings could not be saved to %1: %2; the previous file stays in place")
                                         .arg(m_store.fileName(), reason);
        m_dirty = true;
        m_retry.start();
    }
    Q_EMIT backgroundWritten(reason);
    return true;
}

QString SettingsGuard::writeCopy(const QString &path, QSettings::Format format, const QStringList &keys,
                                 const QVariantList &values)
{
    // The store's writer makes the text in a file beside; the checked writer puts it in place,
    // synced and with the permissions the owner gave the file.
    const QString copyPath = path + QStringLiteral(".writing");
    QFile::remove(copyPath);
    {
        QSettings copy(copyPath, format);
        for (qsizetype i = 0; i < keys.size(); ++i)
            copy.setValue(keys.at(i), values.at(i));
        copy.sync();
    }
    QString reason;
    if (!holdsEveryKey(copyPath, keys)) {
        reason = reasonFor(copyPath, QFileInfo(copyPath).size());
    } else {
        // The store's own lock: another process writing the same file waits for the rename.
        QLockFile lock(path + QStringLiteral(".lock"));
        reason = lock.tryLock(5000) ? SafeSave::save(path, contents(copyPath))
                                    : tr("the settings file is locked by another program");
    }
    QFile::remove(copyPath);
    return reason;
}

QStringList SettingsGuard::ownKeys() const
{
    // Keys from the system-wide files are read but never written to the user's file.
    const bool fallbacks = m_store.fallbacksEnabled();
    m_store.setFallbacksEnabled(false);
    const QStringList keys = m_store.allKeys();
    m_store.setFallbacksEnabled(fallbacks);
    return keys;
}

bool SettingsGuard::holdsEveryKey(const QString &path, const QStringList &keys)
{
    // The writer puts each key on a line of its own, escaping line breaks inside values, and
    // only section headers begin with '['; a file cut short loses lines or its last line break.
    // Odd keys a hand-edited file brought in ("/a", "a/") may or may not get a line.
    const qsizetype plain = std::count_if(keys.cbegin(), keys.cend(), isPlainKey);
    const QByteArray bytes = contents(path);
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        return false;
    qsizetype lines = 0;
    for (const QByteArray &line : bytes.split('\n')) {
        if (!line.isEmpty() && !line.startsWith('['))
            ++lines;
    }
    return lines >= plain && lines <= keys.size();
}

QString SettingsGuard::sync()
{
    return write(true);
}

QString SettingsGuard::write(bool retryLater)
{
    // A change whose deferred write is still queued counts as pending now.
    m_syncing = true;
    QCoreApplication::sendPostedEvents(&m_store, QEvent::UpdateRequest);
    finishBackground();
    m_syncing = false;
    m_retry.stop();
    // What the worker wrote the store still counts as its own change.
    const bool changed = std::exchange(m_dirty, false);
    const bool dirty = std::exchange(m_storeUnsynced, false) || changed;
    if (!dirty) {
        m_store.sync();
        return {};
    }

    const QString path = m_store.fileName();
    const QString kept = path + QStringLiteral(".previous");
    const auto before = identity(path);
    QFile::remove(kept);
    QByteArray copy;
    const bool linked = before && ::link(QFile::encodeName(path).constData(), QFile::encodeName(kept).constData()) == 0;
    if (before && !linked)
        copy = contents(path); // a file system without hard links: keep it in memory instead

    // Written again, one value makes the store write even when its changes cancelled out, so
    // an unchanged file after the write means the write failed. The key must be one the store
    // takes as it is: a hand-edited file may hold a key without a name ("=3"), which set again
    // would become another key.
    const QStringList keys = ownKeys();
    const auto plain = std::find_if(keys.cbegin(), keys.cend(), isPlainKey);
    if (plain != keys.cend())
        m_store.setValue(*plain, m_store.value(*plain));
    m_store.sync();
    const auto after = identity(path);
    if ((after != before || plain == keys.cend()) && holdsEveryKey(path, keys)) {
        QFile::remove(kept);
        return {};
    }
    const qint64 written = QFileInfo(path).size();
    const QString restoreError = restore(path, kept, copy, before.has_value());
    if (retryLater)
        markEverything(keys);
    const QString reason = reasonFor(path, written);
    qCWarning(lcSettings).noquote() << QStringLiteral("The settings could not be saved to %1: %2; %3")
                                     .arg(path, reason,
                                          restoreError.isEmpty()
                                              ? QStringLiteral("the previous file is back in place")
                                              : QStringLiteral("the previous file could not be put back: ") + restoreError);
    if (retryLater)
        m_retry.start();
    return reason;
}

QString SettingsGuard::restore(const QString &path, const QString &kept, const QByteArray &copy, bool existed)
{
    const QByteArray target = QFile::encodeName(path);
    if (QFileInfo::exists(kept)) {
        if (::rename(QFile::encodeName(kept).constData(), target.constData()) == 0)
            return {};
        return SafeSave::systemError(errno);
    }
    if (!existed) {
        // There was no file before: an empty start is what it held.
        if (QFileInfo::exists(path) && ::unlink(target.constData()) != 0)
            return SafeSave::systemError(errno);
        return {};
    }
    return SafeSave::save(path, copy);
}

void SettingsGuard::markEverything(const QStringList &keys)
{
    // The store takes its last write for done: setting every value again makes the next
    // write carry them all.
    for (const QString &key : keys)
        m_store.setValue(key, m_store.value(key));
    m_dirty = true;
    m_storeUnsynced = true;
}

QString SettingsGuard::reasonFor(const QString &path, qint64 written)
{
    // The store does not say why; a trial write of rather more than it managed does.
    SafeSave probe(path + QStringLiteral(".probe"));
    if (!probe.open() || !probe.write(QByteArray(written + 65536, '\n')))
        return probe.errorString();
    return tr("the file was not written completely");
}
