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
    void styleSheetHoldsItsRulesInOrder()
    {
        const QString sheet = applicationStyleSheet();
        // Every rule is "selector { declarations }", glued to the next one.
        static const QRegularExpression rule(u"([^{}]+) \\{ ([^{}]+;) \\}"_s);
        qsizetype covered = 0;
        int rules = 0;
        for (auto it = rule.globalMatch(sheet); it.hasNext(); ++rules) {
            const QRegularExpressionMatch match = it.next();
            QCOMPARE(match.capturedStart(), covered);
            QCOMPARE(match.captured(1).trimmed(), match.captured(1));
            covered = match.capturedEnd();
        }
        QCOMPARE(covered, sheet.size());
        QCOMPARE(rules, 51);
        QVERIFY(sheet.startsWith(u"QWidget { background:#1B2C3D; color:#FFFFFF; font-size:13px; }QToolBar,QMenuBar,QStatusBar { "_s));
        QVERIFY(sheet.endsWith(u" }QScrollBar::add-page,QScrollBar::sub-page { background:transparent; }"_s));
        // Neighbours in the middle: the checked mode buttons, then the switch; timer warnings 90, 60, 30.
        QVERIFY(sheet.contains(u"QPushButton#modeReader:checked,QPushButton#modePresenter:checked { background:qlineargradient(x1:0,y1:0,x2:0,y2:1,stop:0 #FFB36B,stop:1 #FF8A24); color:#152331; }QWidget#modeSwitch { "_s));
        QVERIFY(sheet.contains(u"QWidget#timerBar[warning=\"90\"] QLabel#timer { color:#FFD54F; }QWidget#timerBar[warning=\"60\"] QLabel#timer { color:#FF9C45; }QWidget#timerBar[warning=\"30\"] QLabel#timer { color:#FF5252; }QLabel#liveLabel { "_s));
    }

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
