#include "ui/aboutdialog.h"
#include "ui/updatecheck.h"
#include "modal.h"
#include "playlistsupport.h"
#include "testenv.h"

#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QNetworkAccessManager>
#include <QPlainTextEdit>
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

    QByteArray address() const { return "http://127.0.0.1:" + QByteArray::number(serverPort()) + "/vivuderidazi/"; }
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

// The Help menu: the about dialog, the notices and the check for a new version.
class TestHelpMenu : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    // Stands in for the desktop's handler of every scheme a hostile file might name.
    void open(const QUrl &url) { m_opened.append(url); }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString &scheme : Schemes)
            QDesktopServices::setUrlHandler(scheme, this, "open");
        QVERIFY(m_server.listen(QHostAddress(QHostAddress::LocalHost)));
    }

    void cleanupTestCase()
    {
        for (const QString &scheme : Schemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init()
    {
        qputenv("OLVANTI_VERSION_URL", m_server.address() + "version.txt");
        m_server.response.clear();
        m_opened.clear();
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
        // "latest", "failed: DETAIL" (*: the network's words) or "new VERSION / BUTTON / OPENED": the
        // download button and what it opens, a web address or "~", the installer beside the version file
        QTest::addColumn<QString>("result");
        const QByteArray ok = "200 OK";
        const QString unexpected = u"failed: unexpected content of the version file"_s;
        const QString installer = u"new v0.8 / Download v0.8 / ~"_s;
        QTest::newRow("same version") << "0.7\n"_ba << ok << u"latest"_s;
        QTest::newRow("newer, text as written") << "v0.8\nhttps://dl.test/setup"_ba << ok
                                                << u"new v0.8 / Download v0.8 / https://dl.test/setup"_s;
        QTest::newRow("blank lines and padding ignored") << "\n\n  V0.9  \r\n\r\n"_ba << ok
                                                         << u"new V0.9 / Download v0.9 / ~"_s;
        QTest::newRow("first line without digits") << "latest\n0.8\n"_ba << ok << unexpected;
        QTest::newRow("words after the version") << "0.8 is out, click here"_ba << ok << unexpected;
        QTest::newRow("dot without a number") << "0.8."_ba << ok << unexpected;
        QTest::newRow("0.10 is newer, not 0.1") << "0.10"_ba << ok << u"new 0.10 / Download v0.10 / ~"_s;
        QTest::newRow("0.7.0 is the same") << "0.7.0"_ba << ok << u"latest"_s;
        QTest::newRow("digits of another script") << "\u0660.\u0668"_ba << ok << unexpected;
        // The reason phrase reaches the box as part of the network's error text.
        QTest::newRow("server error with markup") << "0.9"_ba << "500 <a href=\"olvanti:run\">Click <b>here</b></a>"_ba
                                                  << u"failed: *"_s;
        QTest::newRow("no answer within the whole answer's limit") << QByteArray() << QByteArray()
                                                                   << u"failed: no complete answer within 1.5 s"_s;
        const QByteArray padding(65536 - 4, '\n');
        QTest::newRow("64 KiB taken") << "0.8\n"_ba + padding << ok << u"new 0.8 / Download v0.8 / ~"_s;
        QTest::newRow("a byte more is not a version file") << "0.8\n"_ba + padding + '\n' << ok << unexpected;
        QTest::newRow("http address, scheme in capitals") << "v0.8\nHTTP://dl.test/setup"_ba << ok
                                                          << u"new v0.8 / Download v0.8 / http://dl.test/setup"_s;
        QTest::newRow("local file") << "v0.8\nfile:///usr/bin/xterm\n"_ba << ok << installer;
        QTest::newRow("bare path") << "v0.8\n/usr/bin/xterm\n"_ba << ok << installer;
        QTest::newRow("web scheme without host") << "v0.8\nhttps:///setup\n"_ba << ok << installer;
        QTest::newRow("name and password for another server") << "v0.8\nhttps://u:pw@dl.test/setup\n"_ba << ok << installer;
    }

    void manualResult()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, status);
        QFETCH(QString, result);
        if (!status.isEmpty())
            m_server.serve(body, status);
        // The automatic check speaks only of a newer version, and each check cleans up.
        const QStringList parts = result.split(u" / "_s); // a newer version: its text, button and address
        const bool newer = parts.size() == 3;
        QSignalSpy finished(m_check, &UpdateCheck::finished);
        QVERIFY(m_check->check(true));
        QVERIFY(finished.wait(15000));
        QCOMPARE(finished.at(0).at(0).toBool(), newer);
        QCOMPARE(m_window->findChildren<QMessageBox *>().size(), newer ? 1 : 0);
        QTRY_VERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());
        qDeleteAll(m_window->findChildren<QMessageBox *>());

        QPointer<QMessageBox> box = manualBox();
        QVERIFY(box);
        const bool failed = result.startsWith(u"failed: "_s);
        QCOMPARE(box->icon(), failed ? QMessageBox::Warning : QMessageBox::Information);
        QCOMPARE(box->text(), failed  ? u"The latest version could not be determined. "
                                         "Check your internet connection and try again."_s
                              : newer ? u"A new version %1 is available (you have v0.7)."_s.arg(parts[0].mid(4))
                                      : u"You have the latest version (v0.7)."_s);
        const QString detail = result.section(u": "_s, 1);
        if (detail == u"*"_s)
            QVERIFY(!box->informativeText().isEmpty() && !box->informativeText().startsWith(u"unexpected content"_s));
        else
            QCOMPARE(box->informativeText(), detail);
        QVERIFY(box->isVisible());
        // Remote text is shown as it is: no markup, no links.
        for (const QLabel *label : box->findChildren<QLabel *>())
            QVERIFY(label->textFormat() == Qt::PlainText && !label->openExternalLinks());
        if (!newer)
            return;
        auto *download = box->findChild<QPushButton *>(u"downloadUpdate"_s);
        QCOMPARE(download->text(), parts[1]);
        download->click();
        const QString installer = QString::fromLatin1(m_server.address() + "OlvantiVIVuderidazi-")
                                  + parts[1].section(u'v', 1) + u".tar.gz"_s;
        QCOMPARE(m_opened, QList<QUrl>{QUrl(parts[2] == u"~"_s ? installer : parts[2])});
        QTRY_VERIFY(box.isNull());
    }

    void withoutAddressNothingIsSent_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QString>("menu");
        QTest::newRow("switched off") << "off"_ba << u"Check for new version..."_s;
        QTest::newRow("not configured") << QByteArray() << u"Check for new version (not configured)"_s;
    }

    void withoutAddressNothingIsSent()
    {
        QFETCH(QByteArray, address);
        // An empty variable stands in for any address set at configure time.
        qputenv("OLVANTI_VERSION_URL", address);
        QTEST(UpdateCheck::menuText(), "menu");
        QVERIFY(!m_check->check(true));
        QVERIFY(m_window->findChildren<QNetworkAccessManager *>().isEmpty());
        // By hand a switched-off address is asked all the same, and the failure reported.
        const bool manualSends = !address.isEmpty();
        const QMessageBox *box = manualBox();
        QCOMPARE(box && box->icon() == QMessageBox::Warning && !box->informativeText().isEmpty(), manualSends);
        QVERIFY(manualSends || m_window->findChildren<QNetworkAccessManager *>().isEmpty());
    }

    void locateNotices_data()
    {
        QTest::addColumn<QString>("row"); // "PRESENT -> FOUND" in an installation; N: the notices, D/: its doc folder
        QTest::newRow("bundle resources first") << u"Resources/N N bin/N -> Resources/N"_s;
        QTest::newRow("parent before the executable's folder") << u"N bin/N -> N"_s;
        QTest::newRow("next to the executable") << u"bin/N D/N -> bin/N"_s;
        QTest::newRow("installed documentation") << u"D/N -> D/N"_s;
        QTest::newRow("nowhere") << u"-> "_s;
    }

    void locateNotices()
    {
        QFETCH(QString, row);
        QTemporaryDir top;
        QVERIFY(QDir(top.path()).mkpath(u"bin"_s));
        row.replace(u"D/"_s, u"share/doc/olvanti-vivuderidazi/"_s).replace(u"N"_s, u"THIRD-PARTY-NOTICES.txt"_s);
        for (const QString &file : row.section(u"->"_s, 0, 0).split(u' ', Qt::SkipEmptyParts))
            PlaylistTest::writeBytes(top.filePath(file), "notices");
        const QString found = row.section(u"-> "_s, 1);
        QCOMPARE(locateNoticesFile(top.filePath(u"bin"_s)),
                 found.isEmpty() ? QString() : QDir::cleanPath(top.filePath(found)));
    }

    void noticesViewerShowsTheShippedFile_data()
    {
        QTest::addColumn<bool>("shipped");
        QTest::newRow("the file shipped with the build") << true;
        QTest::newRow("no file: a box says so") << false;
    }

    // The about dialog runs modally, logo to details in this order; the notices, found from the build
    // folder as from an installation, open modally over it, which stays; both go when closed.
    void noticesViewerShowsTheShippedFile()
    {
        QFETCH(bool, shipped);
        const QString content = QString::fromUtf8(PlaylistTest::readBytes(OLVANTI_BUILD_DIR "/THIRD-PARTY-NOTICES.txt"_L1));
        for (const char *part : {"GNU LESSER GENERAL PUBLIC LICENSE", "Version 3, 29 June 2007", "Qt PDF", "PDFium",
                                 "Apache License", "FreeType", "HarfBuzz", "Unicode, Inc.", "libpng", "Jean-loup Gailly"})
            QVERIFY2(content.contains(QLatin1String(part)), part);
        const QString absent = TestEnvironment::instance().path(u"absent.txt"_s);
        qputenv("OLVANTI_NOTICES_FILE", shipped ? QByteArray() : QFile::encodeName(absent));

        QWidget window;
        QStringList seen;
        const auto answer = watchModal([&seen](QWidget *modal, ModalAnswer &) {
            if (modal->objectName() != u"aboutDialog"_s) {
                const auto *view = modal->findChild<QPlainTextEdit *>(u"noticesText"_s);
                const auto *box = qobject_cast<QMessageBox *>(modal);
                seen << (view && view->isReadOnly() ? view->toPlainText() : box ? box->text() : QString());
                modal->close();
                return false;
            }
            if (!seen.isEmpty()) {
                modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Close)->click();
                return true;
            }
            for (int i = 0; i < 4; ++i)
                seen << modal->layout()->itemAt(i)->widget()->objectName();
            seen << modal->findChild<QLabel *>(u"aboutDetails"_s)->text();
            // Queued: a click from here would run the viewer while this watch waits for it.
            QMetaObject::invokeMethod(modal->findChild<QPushButton *>(u"aboutNotices"_s), &QPushButton::click,
                                      Qt::QueuedConnection);
            return false;
        });
        showAboutDialog(&window);
        QVERIFY(answer->answered);
        const QString missing = u"The file THIRD-PARTY-NOTICES.txt was not found next to the application."_s;
        QCOMPARE(seen, (QStringList{u"aboutLogo"_s, u"aboutName"_s, u"aboutText"_s, u"aboutDetails"_s,
                                    u"Version 0.7  \u00B7  2026  \u00B7  olvanti.example"_s, shipped ? content : missing}));
        QVERIFY(window.findChildren<QDialog *>().isEmpty());
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

    QList<QUrl> m_opened;
    VersionServer m_server;
    std::unique_ptr<QWidget> m_window;
    UpdateCheck *m_check = nullptr;
};

OLVANTI_TEST_MAIN(TestHelpMenu)
#include "tst_updatecheck.moc"
