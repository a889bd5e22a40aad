#include "ui/keyhints.h"
#include "testenv.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <qpa/qwindowsysteminterface.h>

namespace {

QString constant(const char *text)
{
    return QString::fromLatin1(text);
}

std::function<QString()> always(const char *text)
{
    return [value = constant(text)] { return value; };
}

QList<QKeySequence> keys(const QStringList &portable)
{
    QList<QKeySequence> list;
    for (const QString &text : portable)
        list.append(QKeySequence::fromString(text, QKeySequence::PortableText));
    return list;
}

// Geometry of a widget in the coordinates of `host`.
QRect inHost(const QWidget *widget, const QWidget *host)
{
    return QRect(widget->mapTo(host, QPoint(0, 0)), widget->size());
}

} // namespace

using namespace Qt::StringLiterals;

class TestKeyHints : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_host = std::make_unique<QWidget>();
        m_host->resize(600, 400);
        // The target sits in a nested container so the mapping to the host is exercised.
        auto *container = new QWidget(m_host.get());
        container->setGeometry(50, 60, 400, 300);
        m_target = new QPushButton(QStringLiteral("Target"), container);
        m_target->setGeometry(100, 80, 120, 50);
        m_hints = new KeyHints(m_host.get());
    }

    void cleanup()
    {
        m_host.reset();
    }

    void placements_data()
    {
        QTest::addColumn<int>("placement");
        QTest::newRow("centred above") << 0;
        QTest::newRow("right of") << 1;
        QTest::newRow("top-left corner") << 2;
        QTest::newRow("top-right corner") << 3;
    }

    void placements()
    {
        QFETCH(int, placement);
        QLabel *label = m_hints->registerKeyHint(m_target, always("PgDown"), placement);
        QVERIFY(label);
        QCOMPARE(label->objectName(), QStringLiteral("shortcutHint"));
        QCOMPARE(label->parentWidget(), m_host.get());
        QVERIFY(label->testAttribute(Qt::WA_TransparentForMouseEvents));
        showHost();
        QVERIFY(label->isHidden());

        m_hints->showKeyHints(true);
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), QStringLiteral("PgDown"));
        const QRect target = inHost(m_target, m_host.get());
        const QRect hint = label->geometry();
        switch (placement) {
        case 0:
            QVERIFY(qAbs(hint.center().x() - target.center().x()) <= 1);
            QVERIFY(qAbs(hint.top() + hint.height() / 2 - target.top()) <= 1);
            break;
        case 1:
            QCOMPARE(hint.left(), target.right() + 1 + 4);
            QVERIFY(qAbs(hint.center().y() - target.center().y()) <= 1);
            break;
        case 2:
            QCOMPARE(hint.topLeft(), target.topLeft() + QPoint(6, 0));
            break;
        case 3:
            QCOMPARE(hint.right() + 1, target.right() + 1 - 6);
            QCOMPARE(hint.top(), target.top());
            break;
        }

        m_hints->showKeyHints(false);
        QVERIFY(label->isHidden());
    }

    void clampedAtWindowEdge_data()
    {
        QTest::addColumn<int>("placement");
        QTest::newRow("centred above a narrow control in the corner") << 0;
        QTest::newRow("top-left corner") << 2;
    }

    void clampedAtWindowEdge()
    {
        QFETCH(int, placement);
        auto *corner = new QPushButton(m_host.get());
        corner->setGeometry(0, 0, 12, 30);
        QLabel *label = m_hints->registerKeyHint(corner, always("Shift+Right +10 s"), placement);
        showHost();
        m_hints->showKeyHints(true);
        QVERIFY(label->isVisible());
        QCOMPARE(label->y(), 2);
        QCOMPARE(label->x(), placement == 2 ? 6 : 2);
    }

    void textIsAskedAtEachShow()
    {
        QString text = QStringLiteral("T");
        QLabel *label = m_hints->registerKeyHint(m_target, [&text] { return text; }, 0);
        showHost();
        m_hints->showKeyHints(true);
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), QStringLiteral("T"));

        text.clear();  // the action lost its binding
        m_hints->showKeyHints(true);
        QVERIFY(label->isHidden());
    }

    void hiddenTargetGetsNoHint()
    {
        QLabel *label = m_hints->registerKeyHint(m_target, always("B"), 0);
        showHost();
        m_target->hide();
        m_hints->showKeyHints(true);
        QVERIFY(label->isHidden());
    }

    void deletedTargetDropsItsHint()
    {
        auto *doomed = new QPushButton(m_host.get());
        QPointer<QLabel> label = m_hints->registerKeyHint(doomed, always("R"), 0);
        QLabel *kept = m_hints->registerKeyHint(m_target, always("T"), 0);
        showHost();
        delete doomed;
        m_hints->showKeyHints(true);
        QVERIFY(label.isNull());
        QVERIFY(kept->isVisible());
    }

    void ctrlHoldShowsAndReleaseHides()
    {
        QLabel *label = m_hints->registerKeyHint(m_target, always("B"), 0);
        showHost();
        QTest::keyPress(m_target, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(label->isVisible());
        QTest::keyPress(m_target, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(label->isVisible());
        QTest::keyRelease(m_target, Qt::Key_Control);
        QVERIFY(label->isHidden());
    }

    void deactivationHides_data()
    {
        QTest::addColumn<bool>("otherApplication");
        QTest::newRow("another window of the application") << false;
        QTest::newRow("another application") << true;
    }

    void deactivationHides()
    {
        QFETCH(bool, otherApplication);
        QLabel *label = m_hints->registerKeyHint(m_target, always("B"), 0);
        showHost();
        m_host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
        QTest::keyPress(m_target, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(label->isVisible());

        QWidget other;
        if (otherApplication) {
            QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(nullptr);
        } else {
            other.show();
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
        }
        QTRY_VERIFY(label->isHidden());
    }

    void keyText_data()
    {
        QTest::addColumn<QStringList>("bindings");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare arrow beats page down") << QStringList{u"PgDown"_s, u"Right"_s, u"Down"_s, u"Space"_s}
                                                    << u"Right"_s;
        QTest::newRow("equal weights keep list order") << QStringList{u"Down"_s, u"Right"_s} << u"Down"_s;
        QTest::newRow("modified arrow weighs its text") << QStringList{u"Shift+Up"_s, u"Home"_s} << u"Home"_s;
        QTest::newRow("shortest text wins") << QStringList{u"Esc"_s, u"B"_s} << u"B"_s;
        QTest::newRow("single binding") << QStringList{u"Ctrl+Right"_s} << u"Ctrl+Right"_s;
        QTest::newRow("empty sequence is no binding") << QStringList{QString(), u"PgUp"_s} << u"PgUp"_s;
        QTest::newRow("no binding") << QStringList{} << QString();
    }

    void keyText()
    {
        QFETCH(QStringList, bindings);
        QFETCH(QString, expected);
        QCOMPARE(KeyHints::keyHintText(keys(bindings)), expected);
    }

    void keyTextWithLabel()
    {
        QCOMPARE(KeyHints::keyHintText(keys({u"Shift+Up"_s}), u"+1 min"_s), u"Shift+Up +1 min"_s);
        QCOMPARE(KeyHints::keyHintText({}, u"+1 min"_s), QString());
    }

private:
    void showHost()
    {
        m_host->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));
    }

    std::unique_ptr<QWidget> m_host;
    QPushButton *m_target = nullptr;
    KeyHints *m_hints = nullptr;
};

OLVANTI_TEST_MAIN(TestKeyHints)
#include "tst_keyhints.moc"
