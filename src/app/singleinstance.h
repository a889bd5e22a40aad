#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

class QLocalSocket;

// One running instance per user. A later start hands its documents to the running one and
// ends. The lock and the socket live in a folder only this user can enter.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    // Documents one hand-over carries at most; the rest are left out, with a line in the log.
    static constexpr int MaxPaths = 100;
    static constexpr qint64 MaxMessageBytes = 1 << 20;
    // A client that has not sent its whole message by then is dropped.
    static constexpr int ClientTimeoutMs = 3000;
    // How long a later start tries to reach the running instance before it starts on its own:
    // the running one listens right after it takes the lock.
    static constexpr int ConnectTimeoutMs = 500;

    // One hand-over as the running instance reads it.
    struct Message
    {
        bool valid = false;       // a JSON list on one line; anything else is dropped unanswered
        QStringList paths;        // its absolute paths, at most MaxPaths
        qsizetype ignored = 0;    // absolute paths beyond MaxPaths
    };
    // Reads one line; entries that are no absolute path are passed over.
    static Message readMessage(const QByteArray &line);
    // The line a later start sends for `paths` (absolute ones), newline included.
    static QByteArray writeMessage(const QStringList &paths);

    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when a running instance took `paths` (relative ones are made absolute) and this
    // start should end. Otherwise this process is the running instance from now on, or, when
    // the running one does not answer, starts on its own.
    bool handOver(const QStringList &paths);

    // The folder of the lock and the socket: the user's runtime folder when only the user can
    // enter and write it, else a folder made so in the user's cache location; empty when
    // neither can be had, and then every start runs on its own.
    static QString runtimeFolder();
    // The local socket in that folder; empty without one.
    static QString serverName();

Q_SIGNALS:
    // A later start handed over `paths`, and has been answered; none: it only wants the window
    // in front.
    void handedOver(const QStringList &paths);

private:
    void listen();
    void receive(QLocalSocket *socket);

    QString m_folder;
    QLockFile m_lock;
    QLocalServer m_server;
};
