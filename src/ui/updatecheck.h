#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

// The check for a newer version: fetches the version file (the address set at configure time,
// or OLVANTI_VERSION_URL) and shows the result in a message box over the window. Without an
// address nothing is sent. The automatic run after start-up stays silent unless a newer version
// exists, and sends nothing when the address is "off". Every check is independent and has its
// own network manager, so several may run at once.
class UpdateCheck final : public QObject
{
    Q_OBJECT

public:
    // What a version file says: line 1 (the version, as written) and line 2 (a download
    // address, empty when absent).
    struct VersionFile
    {
        QString version;
        QString downloadText;
    };

    explicit UpdateCheck(QWidget *window);
    ~UpdateCheck() override;

    // Starts a check and returns at once; false when nothing was sent (no address, or the
    // automatic run found the check switched off).
    bool check(bool automatic);

    // The transfer time limit of a request; 10000 ms unless a test shortens it.
    void setTransferTimeout(int ms) { m_timeoutMs = ms; }

    static QString currentVersion();
    static QString versionFileAddress();
    static bool isConfigured();
    // The "&Help" menu's entry, which says when there is no address to ask.
    static QString menuText();
    static VersionFile parseVersionFile(const QByteArray &body);
    // A dotted number, optionally after one leading "v" or "V", and nothing else.
    static bool isValidVersion(const QString &version);
    static bool isNewer(const QString &latest, const QString &current);
    // Line 2 of the file when it is an absolute http or https address, else the installer for
    // this platform on the server of `versionFile`.
    static QUrl downloadUrl(const VersionFile &file, const QUrl &versionFile);

Q_SIGNALS:
    // A check's reply was handled; `shown` tells whether a result box was opened.
    void finished(bool shown);

private:
    void handleReply(QNetworkReply *reply, QNetworkAccessManager *manager, bool automatic);
    void showNewer(const VersionFile &file);
    void showResult(bool warning, const QString &text, const QString &detail);

    QPointer<QWidget> m_window;
    int m_timeoutMs = 10000;
};
