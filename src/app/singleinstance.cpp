#include "singleinstance.h"

#include "applog.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileOpenEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

constexpr int HandOverTimeoutMs = 5000;
constexpr qint64 MaxRequestBytes = 1 << 20;

QString runtimePath(const QString &name)
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + u'/' + name;
}

} // namespace

SingleInstance::SingleInstance(QObject *parent)
    : QObject(parent)
    , m_lock(runtimePath(u"OlvantiVIVuderidazi.lock"_s))
{
    // Held for the whole life of the running instance; only a dead owner makes it stale.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName()
{
    return runtimePath(u"OlvantiVIVuderidazi.socket"_s);
}

bool SingleInstance::handOver(const QStringList &paths)
{
    if (m_lock.tryLock(0)) {
        listen();
        return false;
    }
    // The owner of the lock may still be on its way to listening.
    QLocalSocket socket;
    const QDeadlineTimer deadline(HandOverTimeoutMs);
    for (;;) {
        socket.connectToServer(serverName());
        if (socket.waitForConnected(int(deadline.remainingTime())))
            break;
        if (deadline.hasExpired()) {
            qCWarning(lcApp) << "The running instance does not answer; starting another one";
            return false;
        }
        QThread::msleep(100);
    }
    QJsonArray absolute;
    for (const QString &path : paths)
        absolute.append(QDir::current().absoluteFilePath(path));
    socket.write(QJsonDocument(absolute).toJson(QJsonDocument::Compact) + '\n');
    // Only the reply says that the documents arrived; without it this start opens them itself.
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == "ok\n";
}

void SingleInstance::listen()
{
    // We hold the lock, so a socket left behind can only be from an instance that died.
    QLocalServer::removeServer(serverName());
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server.listen(serverName())) {
        qCWarning(lcApp).noquote() << "Later starts cannot hand over their documents:" << m_server.errorString();
        return;
    }
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
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
        if (socket->bytesAvailable() > MaxRequestBytes)
            drop();
        return;
    }
    const QJsonDocument request = QJsonDocument::fromJson(socket->readLine());
    if (!request.isArray()) {
        drop();
        return;
    }
    for (const QJsonValue &path : request.array()) {
        if (path.isString() && !path.toString().isEmpty())
            QCoreApplication::postEvent(QCoreApplication::instance(), new QFileOpenEvent(path.toString()));
    }
    emit activationRequested();
    socket->write("ok\n");
    socket->disconnectFromServer();
}
