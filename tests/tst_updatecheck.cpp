#include "ui/updatecheck.h"
#include "testenv.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Serves one canned answer to every request on 127.0.0.1 and keeps the request heads.
class VersionServer final : public QObject
{
public:
    VersionServer()
    {
        if (!m_server.listen(QHostAddress::LocalHost))
            qFatal("cannot listen on 127.0.0.1");
        connect(&m_server, &QTcpServer::newConnection, this, &VersionServer::accept);
    }

    QString url() const
    {
        return u"http://127.0.0.1:%1/vivuderidazi/version.txt"_s.arg(m_server.serverPort());
    }

    void answer(int status, const QByteArray &body)
    {
        m_status = status;
        m_body = body;
    }

    void stayQuiet() { m_quiet = true; }

    QList<QByteArray> requests;

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            auto head = std::make_shared<QByteArray>();
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket, head] {
                head->append(socket->readAll());
                if (!head->contains("\r\n\r\n"))
                    return;
                requests.append(*head);
                if (m_quiet)
                    return;
                const QByteArray reason = m_status == 200 ? "OK" : "Not Found";
                socket->write("HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reason + "\r\nContent-Type: text/plain\r\n"
                              + "Content-Length: " + QByteArray::number(m_body.size()) + "\r\nConnection: close\r\n\r\n"
                              + m_body);
                socket->disconnectFromHost();
            });
        }
    }

    QTcpServer m_server;
    int m_status = 200;
    QByteArray m_body;
    bool m_quiet = false;
};

class EnvironmentGuard final
{
public:
    EnvironmentGuard(const char *name, const QByteArray &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentGuard()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

// Stands in for the desktop's browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

class TestUpdateCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_server = std::make_unique<VersionServer>();
        m_address = std::make_unique<EnvironmentGuard>("OLVANTI_VERSION_URL", m_server->url().toUtf8());
        m_check = new UpdateCheck(m_window.get());
    }

    void cleanup()
    {
        m_window.reset();
        m_address.reset();
        m_server.reset();
    }

    void newerThanCurrent_data()
    {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<bool>("newer");
        QTest::newRow("0.7.1 is newer") << u"0.7.1"_s << true;
        QTest::newRow("0.10 is newer, not 0.1") << u"0.10"_s << true;
        QTest::newRow("0.7.0 is the same") << u"0.7.0"_s << false;
        QTest::newRow("0.7 is the same") << u"0.7"_s << false;
        QTest::newRow("older") << u"0.6.9"_s << false;
        QTest::newRow("leading v") << u"v0.8"_s << true;
        QTest::newRow("leading capital V") << u"V0.8"_s << true;
        QTest::newRow("no digits is invalid") << u"latest"_s << false;
        QTest::newRow("empty") << QString() << false;
    }

    void newerThanCurrent()
    {
        QFETCH(QString, latest);
        QFETCH(bool, newer);
        QCOMPARE(UpdateCheck::currentVersion(), u"0.7"_s);
        QCOMPARE(UpdateCheck::isNewer(latest, UpdateCheck::currentVersion()), newer);
    }

    void manualResult_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("detail");
        const QString latest = u"You have the latest version (v0.7)."_s;
        const QString failed = u"The latest version could not be determined. Check your internet connection and try again."_s;
        const QString unexpected = u"unexpected content of the version file"_s;
        QTest::newRow("same version") << 200 << QByteArray("0.7\n") << false << latest << QString();
        QTest::newRow("same version with zero patch") << 200 << QByteArray("0.7.0") << false << latest << QString();
        QTest::newRow("first line without digits") << 200 << QByteArray("latest\n0.8\n") << true << failed << unexpected;
        QTest::newRow("empty file") << 200 << QByteArray("\n \n") << true << failed << unexpected;
        QTest::newRow("newer") << 200 << QByteArray("0.10") << false
                               << u"A new version 0.10 is available (you have v0.7)."_s << QString();
        QTest::newRow("newer, text as written") << 200 << QByteArray("v0.8\nhttps://dl.test/setup.exe") << false
                                                << u"A new version v0.8 is available (you have v0.7)."_s << QString();
        QTest::newRow("blank lines and padding ignored") << 200 << QByteArray("\n\n  V0.9  \r\n\r\n") << false
                                                         << u"A new version V0.9 is available (you have v0.7)."_s
                                                         << QString();
        // The network's own words are the detail; only their presence is fixed here.
        QTest::newRow("server error") << 404 << QByteArray("0.9") << true << failed << u"*"_s;
    }

    void manualResult()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, warning);
        QFETCH(QString, text);
        QFETCH(QString, detail);
        m_server->answer(status, body);
        QMessageBox *box = manualBox();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), u"Check for new version"_s);
        QCOMPARE(box->icon(), warning ? QMessageBox::Warning : QMessageBox::Information);
        QCOMPARE(box->text(), text);
        if (detail == u"*"_s) {
            QVERIFY(!box->informativeText().isEmpty());
            QVERIFY(box->informativeText() != u"unexpected content of the version file"_s);
        } else {
            QCOMPARE(box->informativeText(), detail);
        }
        QVERIFY(box->isVisible());
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
    }

    void downloadOpensAddress_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("address from the file") << QByteArray("v0.8\nhttps://dl.test/setup-0.8.exe\n") << u"Download v0.8"_s
                                               << QUrl(u"https://dl.test/setup-0.8.exe"_s);
        QTest::newRow("address taken like typed input") << QByteArray("0.8\n  dl.test/setup.exe \n") << u"Download v0.8"_s
                                                        << QUrl(u"http://dl.test/setup.exe"_s);
        QTest::newRow("default installer") << QByteArray("0.8") << u"Download v0.8"_s
                                           << QUrl(u"https://olvanti.example/vivuderidazi/OlvantiVIVuderidazi-0.8.exe"_s);
    }

    void downloadOpensAddress()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, label);
        QFETCH(QUrl, url);
        UrlCatcher browser;
        QDesktopServices::setUrlHandler(u"https"_s, &browser, "open");
        QDesktopServices::setUrlHandler(u"http"_s, &browser, "open");
        m_server->answer(200, body);
        QPointer<QMessageBox> box = manualBox();
        QVERIFY(box);
        auto *download = box->findChild<QPushButton *>(u"downloadUpdate"_s);
        QVERIFY(download);
        QCOMPARE(download->text(), label);
        QCOMPARE(box->buttonRole(download), QMessageBox::AcceptRole);
        QStringList others;
        for (QAbstractButton *button : box->buttons())
            if (button != download)
                others << button->text();
        QCOMPARE(others, QStringList{u"Later"_s});

        download->click();
        QDesktopServices::unsetUrlHandler(u"https"_s);
        QDesktopServices::unsetUrlHandler(u"http"_s);
        QCOMPARE(browser.opened, QList<QUrl>{url});
        QTRY_VERIFY(box.isNull());
    }

    void automaticIsSilentUnlessNewer_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("shown");
        QTest::newRow("same version") << 200 << QByteArray("0.7") << false;
        QTest::newRow("unreadable file") << 200 << QByteArray("latest") << false;
        QTest::newRow("server error") << 404 << QByteArray("0.8") << false;
        QTest::newRow("newer") << 200 << QByteArray("0.7.1") << true;
    }

    void automaticIsSilentUnlessNewer()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, shown);
        m_server->answer(status, body);
        const Outcome outcome = runCheck(true);
        QVERIFY(outcome.finished);
        QCOMPARE(outcome.shown, shown);
        QCOMPARE(m_window->findChildren<QMessageBox *>().size(), shown ? 1 : 0);
    }

    void requestIdentifiesTheProduct()
    {
        m_server->answer(200, "0.7");
        QVERIFY(manualBox());
        QCOMPARE(m_server->requests.size(), 1);
        const QByteArray head = m_server->requests.first();
        QVERIFY2(head.startsWith("GET /vivuderidazi/version.txt HTTP/1.1\r\n"), head.constData());
        QVERIFY2(head.contains("\r\nUser-Agent: OlvantiVIVuderidazi/0.7\r\n"), head.constData());
    }

    void eachCheckCleansUp()
    {
        m_server->answer(200, "0.7");
        QSignalSpy finished(m_check, &UpdateCheck::finished);
        QVERIFY(m_check->check(false));
        QVERIFY(m_check->check(false));
        QTRY_COMPARE(finished.size(), 2);
        QCOMPARE(m_window->findChildren<QMessageBox *>().size(), 2);
        QTRY_VERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());
    }

    void offStopsOnlyTheAutomaticRun()
    {
        const EnvironmentGuard off("OLVANTI_VERSION_URL", "off");
        QVERIFY(!m_check->check(true));
        QVERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());

        QMessageBox *box = manualBox();
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QVERIFY(!box->informativeText().isEmpty());
        QVERIFY(m_server->requests.isEmpty());
    }

    void timeout_data()
    {
        QTest::addColumn<bool>("automatic");
        QTest::newRow("manual run warns") << false;
        QTest::newRow("automatic run stays silent") << true;
    }

    void timeout()
    {
        QFETCH(bool, automatic);
        m_server->stayQuiet();
        m_check->setTransferTimeout(300);
        const Outcome outcome = runCheck(automatic);
        QVERIFY(outcome.finished);
        QCOMPARE(m_server->requests.size(), 1);
        QCOMPARE(outcome.shown, !automatic);
        QCOMPARE(m_window->findChildren<QMessageBox *>().size(), automatic ? 0 : 1);
        if (outcome.box)
            QCOMPARE(outcome.box->icon(), QMessageBox::Warning);
    }

private:
    struct Outcome
    {
        bool sent = false;
        bool finished = false;
        bool shown = false;
        QMessageBox *box = nullptr;
    };

    // Runs one check to its end and picks up the result box, if any.
    Outcome runCheck(bool automatic)
    {
        Outcome outcome;
        QSignalSpy finished(m_check, &UpdateCheck::finished);
        outcome.sent = m_check->check(automatic);
        if (!outcome.sent)
            return outcome;
        outcome.finished = finished.wait(15000);
        if (!outcome.finished)
            return outcome;
        outcome.shown = finished.at(0).at(0).toBool();
        const QList<QMessageBox *> boxes = m_window->findChildren<QMessageBox *>();
        outcome.box = boxes.isEmpty() ? nullptr : boxes.last();
        return outcome;
    }

    // A manual check that must end with a result box.
    QMessageBox *manualBox()
    {
        const Outcome outcome = runCheck(false);
        return outcome.finished && outcome.shown ? outcome.box : nullptr;
    }

    std::unique_ptr<QWidget> m_window;
    std::unique_ptr<VersionServer> m_server;
    std::unique_ptr<EnvironmentGuard> m_address;
    UpdateCheck *m_check = nullptr;
};

OLVANTI_TEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
