#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QStringList>

class QLocalSocket;

// One running instance per user. A later start hands its documents to the running one, which
// opens them as platform file-open requests, and ends.
class SingleInstance final : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when a running instance took `paths` (relative ones are made absolute) and this
    // start should end. Otherwise this process is the running instance from now on, or, when
    // the running one does not answer, starts on its own.
    bool handOver(const QStringList &paths);

    // The local socket, in the user's runtime folder.
    static QString serverName();

Q_SIGNALS:
    // A later start wants the window in front; its documents are already posted.
    void activationRequested();

private:
    void listen();
    void receive(QLocalSocket *socket);

    QLockFile m_lock;
    QLocalServer m_server;
};
