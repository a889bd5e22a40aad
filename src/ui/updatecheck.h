#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

// The check for a newer version: fetches the version file (OLVANTI_VERSION_URL replaces its
// address) and shows the result in a message box over the window. The automatic run after
// start-up stays silent unless a newer version exists, and sends nothing when the address is
// "off". Every check is independent and has its own network manager, so several may run at once.
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

    // Starts a check and returns at once; false when the automatic run found the check
    // switched off and sent nothing.
    bool check(bool automatic);

    // The transfer time limit of a request; 10000 ms unless a test shortens it.
    void setTransferTimeout(int ms) { m_timeoutMs = ms; }

    static QString currentVersion();
    static QString versionFileAddress();
    static VersionFile parseVersionFile(const QByteArray &body);
    // A version text with at least one numeric segment after an optional leading "v" or "V".
    static bool isValidVersion(const QString &version);
    static bool isNewer(const QString &latest, const QString &current);
    // Line 2 of the file when it is a usable address, else the installer on the default server.
    static QUrl downloadUrl(const VersionFile &file);

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
