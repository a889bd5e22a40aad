#include "ui/updatecheck.h"
#include "testenv.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// A web server on the loopback interface that answers every request with one fixed response,
// or never answers while the response is empty.
class VersionServer : public QTcpServer
{
    Q_OBJECT
public:
    QByteArray response;

    bool start() { return listen(QHostAddress(QHostAddress::LocalHost)); }
    QByteArray address() const { return "http://127.0.0.1:" + QByteArray::number(serverPort()) + "/vivuderidazi/version.txt"; }
    void serve(const QByteArray &body, const QByteArray &status = "200 OK")
    {
        response = "HTTP/1.1 " + status + "\r\nContent-Type: text/plain\r\nContent-Length: "
            + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (response.isEmpty() || !socket->peek(socket->bytesAvailable()).contains("\r\n\r\n"))
                return;
            socket->readAll();
            socket->write(response);
            socket->disconnectFromHost();
        });
    }
};

// Stands in for the desktop's handler of every scheme a hostile file might name.
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
    void initTestCase()
    {
        for (const QString &scheme : Schemes)
            QDesktopServices::setUrlHandler(scheme, &m_browser, "open");
        QVERIFY(m_server.start());
    }

    void cleanupTestCase()
    {
        for (const QString &scheme : Schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init()
    {
        qputenv("OLVANTI_VERSION_URL", m_server.address());
        m_server.response.clear();
        m_window = std::make_unique<QWidget>();
        m_check = new UpdateCheck(m_window.get());
        // Longer than the whole answer's limit, so a silent server runs into that one.
        m_check->setTransferTimeout(5000);
        m_check->setDeadline(1500);
    }

    void manualResult_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("status"); // empty: the server never answers
        QTest::addColumn<bool>("warning");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("detail");  // "*": the network's own words, only their presence is fixed
        const QString failed = u"The latest version could not be determined. Check your internet connection and try again."_s;
        const QString unexpected = u"unexpected content of the version file"_s;
        QTest::newRow("same version") << "0.7\n"_ba << "200 OK"_ba << false << u"You have the latest version (v0.7)."_s
                                      << QString();
        QTest::newRow("newer, text as written") << "v0.8\nhttps://dl.test/setup"_ba << "200 OK"_ba << false
                                                << u"A new version v0.8 is available (you have v0.7)."_s << QString();
        QTest::newRow("blank lines and padding ignored") << "\n\n  V0.9  \r\n\r\n"_ba << "200 OK"_ba << false
                                                         << u"A new version V0.9 is available (you have v0.7)."_s
                                                         << QString();
        QTest::newRow("first line without digits") << "latest\n0.8\n"_ba << "200 OK"_ba << true << failed << unexpected;
        QTest::newRow("words after the version") << "0.8 is out, click here"_ba << "200 OK"_ba << true << failed
                                                 << unexpected;
        QTest::newRow("dot without a number") << "0.8."_ba << "200 OK"_ba << true << failed << unexpected;
        QTest::newRow("0.10 is newer, not 0.1") << "0.10"_ba << "200 OK"_ba << false
                                               << u"A new version 0.10 is available (you have v0.7)."_s << QString();
        QTest::newRow("0.7.0 is the same") << "0.7.0"_ba << "200 OK"_ba << false << u"You have the latest version (v0.7)."_s
                                           << QString();
        QTest::newRow("digits of another script") << "\u0660.\u0668"_ba << "200 OK"_ba << true << failed << unexpected;
        // The reason phrase reaches the box as part of the network's error text.
        QTest::newRow("server error with markup") << "0.9"_ba << "500 <a href=\"olvanti:run\">Click <b>here</b></a>"_ba
                                                  << true << failed << u"*"_s;
        QTest::newRow("no answer within the whole answer's limit") << QByteArray() << QByteArray() << true << failed
                                                                   << u"no complete answer within 1.5 s"_s;
        const QByteArray padding(65536 - 4, '\n');
        QTest::newRow("64 KiB taken") << "0.8\n"_ba + padding << "200 OK"_ba << false
                                      << u"A new version 0.8 is available (you have v0.7)."_s << QString();
        QTest::newRow("a byte more is not a version file") << "0.8\n"_ba + padding + '\n' << "200 OK"_ba << true
                                                           << failed << unexpected;
    }

    void manualResult()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, status);
        QFETCH(bool, warning);
        QFETCH(QString, text);
        QFETCH(QString, detail);
        if (!status.isEmpty())
            m_server.serve(body, status);
        // The automatic check speaks only of a newer version, and each check cleans up.
        const bool newer = text.startsWith(u"A new"_s);
        QSignalSpy finished(m_check, &UpdateCheck::finished);
        QVERIFY(m_check->check(true));
        QVERIFY(finished.wait(15000));
        QCOMPARE(finished.at(0).at(0).toBool(), newer);
        QCOMPARE(m_window->findChildren<QMessageBox *>().size(), newer ? 1 : 0);
        QTRY_VERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());
        qDeleteAll(m_window->findChildren<QMessageBox *>());

        QMessageBox *box = manualBox();
        QVERIFY(box);
        QCOMPARE(box->icon(), warning ? QMessageBox::Warning : QMessageBox::Information);
        QCOMPARE(box->text(), text);
        if (detail == u"*"_s)
            QVERIFY(!box->informativeText().isEmpty() && box->informativeText() != u"unexpected content of the version file"_s);
        else
            QCOMPARE(box->informativeText(), detail);
        QVERIFY(box->isVisible());
        // Remote text is shown as it is: no markup, no links.
        for (const QLabel *label : box->findChildren<QLabel *>())
            QVERIFY(label->textFormat() == Qt::PlainText && !label->openExternalLinks());
    }

    void downloadOpensOnlyWebAddresses_data()
    {
        QTest::addColumn<QByteArray>("line2");
        QTest::addColumn<QString>("url");  // empty: the installer beside the version file
        QTest::newRow("https address") << "https://dl.test/setup-0.8"_ba << u"https://dl.test/setup-0.8"_s;
        QTest::newRow("http address, scheme in capitals") << "HTTP://dl.test/setup"_ba << u"http://dl.test/setup"_s;
        QTest::newRow("local file") << "file:///usr/bin/xterm"_ba << QString();
        QTest::newRow("bare path") << "/usr/bin/xterm"_ba << QString();
        QTest::newRow("web scheme without host") << "https:///setup"_ba << QString();
        QTest::newRow("name and password for another server") << "https://user:pw@dl.test/setup"_ba << QString();
    }

    void downloadOpensOnlyWebAddresses()
    {
        QFETCH(QByteArray, line2);
        QFETCH(QString, url);
        m_server.serve("v0.8\n" + line2 + "\n");
        m_browser.opened.clear();
        QPointer<QMessageBox> box = manualBox();
        QVERIFY(box);
        auto *download = box->findChild<QPushButton *>(u"downloadUpdate"_s);
        QVERIFY(download);
        QCOMPARE(download->text(), u"Download v0.8"_s);
        download->click();
        const QString installer = "http://127.0.0.1:"_L1 + QString::number(m_server.serverPort())
            + "/vivuderidazi/OlvantiVIVuderidazi-0.8.tar.gz"_L1;
        QCOMPARE(m_browser.opened, QList<QUrl>{QUrl(url.isEmpty() ? installer : url)});
        QTRY_VERIFY(box.isNull());
    }

    void withoutAddressNothingIsSent_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<bool>("manualSends");
        QTest::addColumn<QString>("menu");
        QTest::newRow("switched off") << "off"_ba << true << u"Check for new version..."_s;
        QTest::newRow("not configured") << QByteArray() << false << u"Check for new version (not configured)"_s;
    }

    void withoutAddressNothingIsSent()
    {
        QFETCH(QByteArray, address);
        QFETCH(bool, manualSends);
        QFETCH(QString, menu);
        // An empty variable stands in for any address set at configure time.
        qputenv("OLVANTI_VERSION_URL", address);
        QCOMPARE(UpdateCheck::menuText(), menu);
        QVERIFY(!m_check->check(true));
        QVERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());
        // By hand a switched-off address is asked all the same, and the failure reported.
        const QMessageBox *box = manualBox();
        QCOMPARE(box && box->icon() == QMessageBox::Warning && !box->informativeText().isEmpty(), manualSends);
        QVERIFY(manualSends || m_window->findChildren<QNetworkAccessManager *>().isEmpty());
    }

private:
    const QStringList Schemes{u"https"_s, u"http"_s, u"file"_s, u"smb"_s, u"olvanti"_s};

    // Runs a manual check to its end; the result box it opened.
    QMessageBox *manualBox()
    {
        QSignalSpy finished(m_check, &UpdateCheck::finished);
        if (!m_check->check(false) || !finished.wait(15000) || !finished.at(0).at(0).toBool())
            return nullptr;
        return m_window->findChild<QMessageBox *>();
    }

    UrlCatcher m_browser;
    VersionServer m_server;
    std::unique_ptr<QWidget> m_window;
    UpdateCheck *m_check = nullptr;
};

OLVANTI_TEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
