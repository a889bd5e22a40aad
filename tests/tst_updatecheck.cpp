#include "ui/updatecheck.h"
#include "testenv.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A version file with this content, served without a web server.
QByteArray versionFile(const QByteArray &content)
{
    return "data:text/plain;base64," + content.toBase64();
}

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
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(u"https"_s, &m_browser, "open");
        QDesktopServices::setUrlHandler(u"http"_s, &m_browser, "open");
        // Takes connections and never answers them.
        QVERIFY(m_silentServer.listen(QHostAddress::LocalHost));
        m_silentAddress = "http://127.0.0.1:" + QByteArray::number(m_silentServer.serverPort()) + "/version.txt";
    }

    void init()
    {
        m_window = std::make_unique<QWidget>();
        m_check = new UpdateCheck(m_window.get());
        m_check->setTransferTimeout(500);
    }

    void newerThanCurrent_data()
    {
        QTest::addColumn<QString>("latest");
        QTest::addColumn<bool>("newer");
        QTest::newRow("0.7.1 is newer") << u"0.7.1"_s << true;
        QTest::newRow("0.10 is newer, not 0.1") << u"0.10"_s << true;
        QTest::newRow("0.7.0 is the same") << u"0.7.0"_s << false;
        QTest::newRow("no digits is invalid") << u"latest"_s << false;
    }

    void newerThanCurrent()
    {
        QFETCH(QString, latest);
        QFETCH(bool, newer);
        QCOMPARE(UpdateCheck::isNewer(latest, UpdateCheck::currentVersion()), newer);
    }

    void manualResult_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<bool>("warning");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("detail");  // "*": the network's own words, only their presence is fixed
        const QString failed = u"The latest version could not be determined. Check your internet connection and try again."_s;
        QTest::newRow("same version") << versionFile("0.7\n") << false << u"You have the latest version (v0.7)."_s
                                      << QString();
        QTest::newRow("first line without digits") << versionFile("latest\n0.8\n") << true << failed
                                                   << u"unexpected content of the version file"_s;
        QTest::newRow("newer, text as written") << versionFile("v0.8\nhttps://dl.test/setup.exe") << false
                                                << u"A new version v0.8 is available (you have v0.7)."_s << QString();
        QTest::newRow("blank lines and padding ignored") << versionFile("\n\n  V0.9  \r\n\r\n") << false
                                                         << u"A new version V0.9 is available (you have v0.7)."_s
                                                         << QString();
        QTest::newRow("missing file") << QByteArray("file:///nonexistent/version.txt") << true << failed << u"*"_s;
        QTest::newRow("no answer in time") << m_silentAddress << true << failed << u"*"_s;
    }

    void manualResult()
    {
        QFETCH(QByteArray, address);
        QFETCH(bool, warning);
        QFETCH(QString, text);
        QFETCH(QString, detail);
        qputenv("OLVANTI_VERSION_URL", address);
        QMessageBox *box = manualBox();
        QVERIFY(box);
        QCOMPARE(box->windowTitle(), u"Check for new version"_s);
        QCOMPARE(box->icon(), warning ? QMessageBox::Warning : QMessageBox::Information);
        QCOMPARE(box->text(), text);
        if (detail == u"*"_s)
            QVERIFY(!box->informativeText().isEmpty() && box->informativeText() != u"unexpected content of the version file"_s);
        else
            QCOMPARE(box->informativeText(), detail);
        QVERIFY(box->isVisible());
        QVERIFY(box->testAttribute(Qt::WA_DeleteOnClose));
    }

    void downloadOpensAddress_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("address from the file") << QByteArray("v0.8\nhttps://dl.test/setup-0.8.exe\n")
                                               << QUrl(u"https://dl.test/setup-0.8.exe"_s);
        QTest::newRow("address taken like typed input") << QByteArray("0.8\n  dl.test/setup.exe \n")
                                                        << QUrl(u"http://dl.test/setup.exe"_s);
        QTest::newRow("default installer") << QByteArray("0.8")
                                           << QUrl(u"https://olvanti.example/vivuderidazi/OlvantiVIVuderidazi-0.8.exe"_s);
    }

    void downloadOpensAddress()
    {
        QFETCH(QByteArray, content);
        QFETCH(QUrl, url);
        qputenv("OLVANTI_VERSION_URL", versionFile(content));
        m_browser.opened.clear();
        QPointer<QMessageBox> box = manualBox();
        QVERIFY(box);
        auto *download = box->findChild<QPushButton *>(u"downloadUpdate"_s);
        QVERIFY(download);
        QCOMPARE(download->text(), u"Download v0.8"_s);
        QCOMPARE(box->buttonRole(download), QMessageBox::AcceptRole);
        download->click();
        QCOMPARE(m_browser.opened, QList<QUrl>{url});
        QTRY_VERIFY(box.isNull());
    }

    void automaticIsSilentUnlessNewer_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<bool>("shown");
        QTest::newRow("same version") << versionFile("0.7") << false;
        QTest::newRow("unreadable file") << versionFile("latest") << false;
        QTest::newRow("no answer in time") << m_silentAddress << false;
        QTest::newRow("newer") << versionFile("0.7.1") << true;
    }

    void automaticIsSilentUnlessNewer()
    {
        QFETCH(QByteArray, address);
        QFETCH(bool, shown);
        qputenv("OLVANTI_VERSION_URL", address);
        QSignalSpy finished(m_check, &UpdateCheck::finished);
        QVERIFY(m_check->check(true));
        QVERIFY(finished.wait(15000));
        QCOMPARE(finished.at(0).at(0).toBool(), shown);
        QCOMPARE(m_window->findChildren<QMessageBox *>().size(), shown ? 1 : 0);
        QTRY_VERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());  // each check cleans up
    }

    void offStopsOnlyTheAutomaticRun()
    {
        qputenv("OLVANTI_VERSION_URL", "off");
        QVERIFY(!m_check->check(true));
        QVERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());
        QMessageBox *box = manualBox();
        QVERIFY(box);
        QCOMPARE(box->icon(), QMessageBox::Warning);
        QVERIFY(!box->informativeText().isEmpty());
    }

private:
    // Runs a manual check to its end; the result box it opened.
    QMessageBox *manualBox()
    {
        QSignalSpy finished(m_check, &UpdateCheck::finished);
        if (!m_check->check(false) || !finished.wait(15000) || !finished.at(0).at(0).toBool())
            return nullptr;
        return m_window->findChild<QMessageBox *>();
    }

    UrlCatcher m_browser;
    QTcpServer m_silentServer;
    QByteArray m_silentAddress;
    std::unique_ptr<QWidget> m_window;
    UpdateCheck *m_check = nullptr;
};

OLVANTI_TEST_MAIN(TestUpdateCheck)
#include "tst_updatecheck.moc"
