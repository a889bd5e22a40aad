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

    // The largest version file taken; a longer body is unexpected content.
    static constexpr qint64 MaxBodyBytes = 65536;

    // The time limit of a request while nothing arrives (10000 ms), and for the whole answer
    // however slowly it comes (20000 ms), unless a test shortens them.
    void setTransferTimeout(int ms) { m_timeoutMs = ms; }
    void setDeadline(int ms) { m_deadlineMs = ms; }

    static QString currentVersion();
    static QString versionFileAddress();
    static bool isConfigured();
    // The "&Help" menu's entry, which says when there is no address to ask.
    static QString menuText();
    static VersionFile parseVersionFile(const QByteArray &body);
    // A dotted number, optionally after one leading "v" or "V", and nothing else.
    static bool isValidVersion(const QString &version);
    static bool isNewer(const QString &latest, const QString &current);
    // Line 2 of the file when it is an absolute http or https address without user information,
    // else the installer for this platform on the server of `versionFile`.
    static QUrl downloadUrl(const VersionFile &file, const QUrl &versionFile);

Q_SIGNALS:
    // A check's reply was handled; `shown` tells whether a result box was opened.
    void finished(bool shown);

private:
    // Why a reply was stopped before its end, if it was.
    enum class Stop { None, TooLarge, Deadline };

    void handleReply(QNetworkReply *reply, QNetworkAccessManager *manager, bool automatic, Stop stop);
    void showNewer(const VersionFile &file);
    void showResult(bool warning, const QString &text, const QString &detail);

    QPointer<QWidget> m_window;
    int m_timeoutMs = 10000;
    int m_deadlineMs = 20000;
};
