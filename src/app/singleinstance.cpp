#include "singleinstance.h"

#include "applog.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int ReplyTimeoutMs = 5000;

QString socketIn(const QString &folder)
{
    return folder.isEmpty() ? QString() : folder + u"/OlvantiVIVuderidazi.socket"_s;
}

// A real folder (no link) of this user that no one else may enter, and that we can write.
bool isPrivateFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    return QDir::isAbsolutePath(path) && QDir::cleanPath(path) != u"/"_s && ::lstat(native.constData(), &info) == 0
           && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0
           && ::access(native.constData(), W_OK | X_OK) == 0;
}

// Our own folder in the cache location, made private when it is ours but open to others.
QString ownRuntimeFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return QString();
    const QString folder = cache + u"/olvanti-vivuderidazi-runtime"_s;
    const QByteArray native = QFile::encodeName(folder);
    QDir().mkpath(cache);
    ::mkdir(native.constData(), 0700);
    struct stat info;
    if (!isPrivateFolder(folder) && ::lstat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::geteuid())
        ::chmod(native.constData(), 0700);
    return isPrivateFolder(folder) ? folder : QString();
}

} // namespace

SingleInstance::Message SingleInstance::readMessage(const QByteArray &line)
{
    Message message;
    const QJsonDocument request = QJsonDocument::fromJson(line);
    if (!request.isArray())
        return message;
    message.valid = true;
    const QJsonArray entries = request.array();
    for (const QJsonValue &entry : entries) {
        const QString path = entry.toString();
        // A relative path would be taken from this process's folder, not the sender's.
        if (!QDir::isAbsolutePath(path) || path.contains(QChar::Null))
            continue;
        if (message.paths.size() < MaxPaths)
            message.paths.append(path);
        else
            ++message.ignored;
    }
    return message;
}

QByteArray SingleInstance::writeMessage(const QStringList &paths)
{
    return QJsonDocument(QJsonArray::fromStringList(paths)).toJson(QJsonDocument::Compact) + '\n';
}

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
    , m_folder(runtimeFolder())
    , m_lock(m_folder + u"/OlvantiVIVuderidazi.lock"_s)
{
    // Held for the whole life of the running instance; only a dead owner makes it stale.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::runtimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    // Missing, shared, someone else's or read-only: the lock and the socket go elsewhere.
    return isPrivateFolder(runtime) ? runtime : ownRuntimeFolder();
}

QString SingleInstance::serverName()
{
    return socketIn(runtimeFolder());
}

bool SingleInstance::handOver(const QStringList &paths)
{
    if (m_folder.isEmpty()) {
        qCWarning(lcApp) << "No private runtime folder; this start runs on its own";
        return false;
    }
    if (m_lock.tryLock(0)) {
        listen();
        return false;
    }
    QLocalSocket socket;
    const QDeadlineTimer connectDeadline(ConnectTimeoutMs);
    for (;;) {
        socket.connectToServer(socketIn(m_folder));
        if (socket.waitForConnected(int(connectDeadline.remainingTime())))
            break;
        if (connectDeadline.hasExpired()) {
            qCWarning(lcApp) << "The running instance does not answer; starting another one";
            return false;
        }
        QThread::msleep(50);
    }
    QStringList absolute;
    for (const QString &path : paths)
        absolute.append(QDir::current().absoluteFilePath(path));
    if (absolute.size() > MaxPaths) {
        qCWarning(lcApp) << absolute.size() - MaxPaths << "documents beyond the first" << MaxPaths << "are not handed over";
        absolute.resize(MaxPaths);
    }
    socket.write(writeMessage(absolute));
    // Only the reply says that the documents arrived; without it this start opens them itself.
    const QDeadlineTimer replyDeadline(ReplyTimeoutMs);
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(int(replyDeadline.remainingTime())))
            return false;
    }
    return socket.readLine() == "ok\n";
}

void SingleInstance::listen()
{
    // We hold the lock, so a socket left behind can only be from an instance that died.
    QLocalServer::removeServer(socketIn(m_folder));
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(socketIn(m_folder))) {
        qCWarning(lcApp).noquote() << "Later starts cannot hand over their documents:" << m_server.errorString();
        return;
    }
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
            // A client that connects and says nothing holds nothing for long.
            QTimer::singleShot(ClientTimeoutMs, socket, [socket] {
                socket->abort();
                socket->deleteLater();
            });
        }
    });
}

void SingleInstance::receive(QLocalSocket *socket)
{
    const auto drop = [socket] {
        socket->abort();
        socket->deleteLater();
    };
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > MaxMessageBytes)
            drop();
        return;
    }
    // A longer line is cut here and then fails to parse, which is the intended refusal.
    const Message message = readMessage(socket->readLine(MaxMessageBytes + 1));
    if (!message.valid) {
        drop();
        return;
    }
    if (message.ignored > 0)
        qCWarning(lcApp) << message.ignored << "more documents of one hand-over were left out";
    socket->write("ok\n");
    socket->disconnectFromServer();
    Q_EMIT handedOver(message.paths);
}
