#include "app/application.h"
#include "app/commandline.h"
#include "app/stylesheet.h"
#include "testenv.h"
#include "ui/mainwindow.h"

#include <QCommandLineParser>
#include <QFileOpenEvent>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestApp : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void styleSheetReachesWidgets_data()
    {
        QTest::addColumn<QString>("barProperty");
        QTest::addColumn<QVariant>("barValue");
        QTest::addColumn<QString>("labelName");
        QTest::addColumn<QColor>("text");

        QTest::newRow("plain label is white") << QString() << QVariant() << QString() << QColor(u"#FFFFFF"_s);
        QTest::newRow("live label is orange") << QString() << QVariant() << u"liveLabel"_s << QColor(u"#FF9C45"_s);
        QTest::newRow("overtime timer is yellow") << u"overtime"_s << QVariant(true) << u"timer"_s << QColor(u"#FFEB3B"_s);
        QTest::newRow("30 s warning timer is red") << u"warning"_s << QVariant(u"30"_s) << u"timer"_s << QColor(u"#FF5252"_s);
    }

    void styleSheetReachesWidgets()
    {
        QFETCH(QString, barProperty);
        QFETCH(QVariant, barValue);
        QFETCH(QString, labelName);
        QFETCH(QColor, text);
        QTest::failOnWarning(QRegularExpression(u"style ?sheet"_s, QRegularExpression::CaseInsensitiveOption));
        QWidget bar;
        bar.setStyleSheet(applicationStyleSheet());
        bar.setObjectName(u"timerBar"_s);
        if (!barProperty.isEmpty())
            bar.setProperty(barProperty.toLatin1().constData(), barValue);
        auto *label = new QLabel(u"12:00"_s, &bar);
        label->setObjectName(labelName);
        label->ensurePolished();
        QCOMPARE(label->palette().color(QPalette::WindowText), text);
    }

    void fileOpenWithTheWindowOpensAtOnce()
    {
        MainWindow window;
        QSignalSpy ready(&window, &MainWindow::documentReady);
        QString pending;
        QFileOpenEvent request(TestEnvironment::instance().deck(2));

        QVERIFY(routeFileOpen(&request, &window, pending));

        QVERIFY(pending.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(ready.size(), 1, 20000);
    }

    void documentChoice_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("request"); // file-open request that arrives before the window exists
        QTest::addColumn<QString>("opened");

        QTest::newRow("first positional argument") << QStringList({u"a.pdf"_s, u"b.pdf"_s}) << QString() << u"a.pdf"_s;
        QTest::newRow("file-open request wins over the argument") << QStringList({u"a.pdf"_s}) << u"/req.pdf"_s << u"/req.pdf"_s;
        QTest::newRow("verify ignores the positional argument")
            << QStringList({u"--verify"_s, u"check.pdf"_s, u"a.pdf"_s}) << QString() << u"check.pdf"_s;
        QTest::newRow("verify ignores a file-open request")
            << QStringList({u"a.pdf"_s, u"--verify=check.pdf"_s}) << u"/req.pdf"_s << u"check.pdf"_s;
    }

    void documentChoice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, request);
        QFETCH(QString, opened);
        QString pending;
        if (!request.isEmpty()) {
            QFileOpenEvent event(request);
            QVERIFY(routeFileOpen(&event, nullptr, pending));
        }
        QEvent other(QEvent::ApplicationActivate);
        QVERIFY(!routeFileOpen(&other, nullptr, pending));
        QCommandLineParser parser;
        configureParser(parser);
        QVERIFY2(parser.parse(QStringList(u"olvanti"_s) + arguments), qPrintable(parser.errorText()));

        QCOMPARE(documentToOpen(launchOptions(parser), pending), opened);
    }
};

OLVANTI_TEST_MAIN(TestApp)
#include "tst_app.moc"
