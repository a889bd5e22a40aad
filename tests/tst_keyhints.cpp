#include "ui/keyhints.h"
#include "testenv.h"

#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

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
        m_target = new QPushButton(u"Target"_s, container);
        m_target->setGeometry(100, 80, 120, 50);
        m_hints = new KeyHints(m_host.get());
    }

    // The hint's point at `hintAnchor` (fractions of its size) lands on the target's point at
    // `targetAnchor`, moved by `offset`; half a pixel is left for centring.
    void placements_data()
    {
        QTest::addColumn<int>("placement");
        QTest::addColumn<QPointF>("hintAnchor");
        QTest::addColumn<QPointF>("targetAnchor");
        QTest::addColumn<QPointF>("offset");
        QTest::newRow("centred above") << 0 << QPointF(0.5, 0.5) << QPointF(0.5, 0) << QPointF(0, 0);
        QTest::newRow("right of") << 1 << QPointF(0, 0.5) << QPointF(1, 0.5) << QPointF(4, 0);
        QTest::newRow("top-left corner") << 2 << QPointF(0, 0) << QPointF(0, 0) << QPointF(6, 0);
        QTest::newRow("top-right corner") << 3 << QPointF(1, 0) << QPointF(1, 0) << QPointF(-6, 0);
    }

    void placements()
    {
        QFETCH(int, placement);
        QFETCH(QPointF, hintAnchor);
        QFETCH(QPointF, targetAnchor);
        QFETCH(QPointF, offset);
        QLabel *label = m_hints->registerKeyHint(m_target, [] { return u"PgDown"_s; }, placement);
        QVERIFY(label->testAttribute(Qt::WA_TransparentForMouseEvents));
        QVERIFY(showAndWait(m_host.get()));
        QVERIFY(label->isHidden());

        m_hints->showKeyHints(true);
        QCOMPARE(label->text(), u"PgDown"_s);
        const auto point = [](const QRect &r, QPointF f) { return QPointF(r.x() + f.x() * r.width(), r.y() + f.y() * r.height()); };
        const QRect target(m_target->mapTo(m_host.get(), QPoint(0, 0)), m_target->size());
        const QPointF miss = point(label->geometry(), hintAnchor) - point(target, targetAnchor) - offset;
        QVERIFY2(qAbs(miss.x()) <= 0.5 && qAbs(miss.y()) <= 0.5, qPrintable(u"off by %1, %2"_s.arg(miss.x()).arg(miss.y())));
    }

    // Ctrl shows the hints until it is released or the application is left. A hint needs text
    // and a live, visible target; one that would leave the window stays two pixels inside it.
    void ctrlShowsTheHintsThatHaveTextAndALiveVisibleTarget()
    {
        QString text = u"T"_s;
        QLabel *label = m_hints->registerKeyHint(m_target, [&text] { return text; }, 0);
        auto *corner = new QPushButton(m_host.get());
        corner->setGeometry(0, 0, 12, 30);
        QLabel *above = m_hints->registerKeyHint(corner, [] { return u"Shift+Right +10 s"_s; }, 0);
        auto *hidden = new QPushButton(m_host.get());
        QLabel *hiddenLabel = m_hints->registerKeyHint(hidden, [] { return u"B"_s; }, 0);
        auto *doomed = new QPushButton(m_host.get());
        QPointer<QLabel> doomedLabel = m_hints->registerKeyHint(doomed, [] { return u"R"_s; }, 0);
        m_host->show();
        m_host->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
        hidden->hide();
        delete doomed;
        QTest::keyPress(m_target, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(label->isVisible() && above->isVisible());
        QCOMPARE(above->pos(), QPoint(2, 2));
        QVERIFY(hiddenLabel->isHidden());
        QVERIFY(doomedLabel.isNull());
        QTest::keyPress(m_target, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(label->isVisible());
        QTest::keyRelease(m_target, Qt::Key_Control);
        QVERIFY(label->isHidden() && above->isHidden());

        text.clear(); // the action lost its binding: the text is asked again at each show
        QTest::keyPress(m_target, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(label->isHidden() && above->isVisible());
        QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(nullptr);
        QTRY_VERIFY(above->isHidden());
    }

    void keyText_data()
    {
        QTest::addColumn<QString>("bindings");  // portable texts, "; " between bindings
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("expected");
        QTest::newRow("bare arrow beats page down") << u"PgDown; Right; Down; Space"_s << QString() << u"Right"_s;
        QTest::newRow("equal weights keep list order") << u"Down; Right"_s << QString() << u"Down"_s;
        QTest::newRow("modified arrow weighs its text") << u"Shift+Up; Home"_s << QString() << u"Home"_s;
        QTest::newRow("empty sequence is no binding") << u"; PgUp"_s << QString() << u"PgUp"_s;
        QTest::newRow("label after the key") << u"Shift+Up"_s << u"+1 min"_s << u"Shift+Up +1 min"_s;
        QTest::newRow("label without a key") << QString() << u"+1 min"_s << QString();
    }

    void keyText()
    {
        QFETCH(QString, bindings);
        QFETCH(QString, label);
        const QList<QKeySequence> keys = QKeySequence::listFromString(bindings, QKeySequence::PortableText);
        QTEST(label.isNull() ? KeyHints::keyHintText(keys) : KeyHints::keyHintText(keys, label), "expected");
    }

private:
    std::unique_ptr<QWidget> m_host;
    QPushButton *m_target = nullptr;
    KeyHints *m_hints = nullptr;
};

OLVANTI_TEST_MAIN(TestKeyHints)
#include "tst_keyhints.moc"
