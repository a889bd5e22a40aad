#include "input/inputdialog.h"
#include "input/inputrouter.h"
#include "inputsupport.h"
#include "modal.h"
#include "testenv.h"

#include "base/appsettings.h"

#include <QCheckBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>

using namespace InputTest;

class TestInputDialog : public QObject
{
    Q_OBJECT

private:
    template<typename T>
    T *child(const QString &name) { return m_dialog->findChild<T *>(name); }
    QLineEdit *row(Action action) { return child<QLineEdit>(u"bindingEdit%1"_qs.arg(int(action))); }
    QKeySequenceEdit *capture(Action action) { return child<QKeySequenceEdit>(u"bindingCapture%1"_qs.arg(int(action))); }
    void click(const QString &button) { child<QPushButton>(button)->click(); }

    std::unique_ptr<InputRouter> m_router;
    BindingTable m_before;
    std::unique_ptr<QSettings> m_store;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<InputDialog> m_dialog;

private Q_SLOTS:
    // A modal dialog open on a router whose options are not the defaults.
    void init()
    {
        m_router = std::make_unique<InputRouter>();
        m_router->setBinding(Action::NextSlide, keys(u"Return"_qs));
        m_router->setIgnoreText(false);
        m_router->setDebounceMs(300);
        m_before = m_router->bindings();
        m_store = freshStore();
        m_settings = std::make_unique<AppSettings>(*m_store);
        m_dialog = std::make_unique<InputDialog>(m_router.get(), *m_settings);
        m_dialog->setModal(true);
        QVERIFY(activate(m_dialog.get(), m_dialog.get()));
    }

    void cleanup()
    {
        m_dialog.reset();
        m_settings.reset();
    }

    void captureAppendsSingleCombinations()
    {
        QKeySequenceEdit *blackoutCapture = capture(Action::ToggleBlackout);
        QVERIFY(activate(m_dialog.get(), blackoutCapture));
        // A held key, a second press and a key the row already has add nothing; a second key makes
        // a second alternative, never a two-key sequence, and the field shows the last.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QTest::simulateEvent(QApplication::focusWidget(), true, Qt::Key_X, {}, QString(), true);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7, Qt::ShiftModifier);
        QCOMPARE(row(Action::ToggleBlackout)->text(), u"B; .; X; Shift+F7"_qs);
        QCOMPARE(blackoutCapture->keySequence(), QKeySequence(Qt::SHIFT | Qt::Key_F7));

        row(Action::ToggleTimer)->clear();
        QVERIFY(activate(m_dialog.get(), capture(Action::ToggleTimer)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QCOMPARE(row(Action::ToggleTimer)->text(), u"X"_qs);
        QCOMPARE(m_router->bindings(), m_before);

        // The same key in two rows: Save refuses and the dialog stays open.
        const auto box = answerMessageBox(QMessageBox::Ok);
        click(u"inputSave"_qs);
        QVERIFY(box->answered);
        QCOMPARE(box->text, u"Bindings must be unique, single key combinations: X"_qs);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(m_store->allKeys().isEmpty());
    }

    void testModeAppliesEditsOnlyWhenValid()
    {
        row(Action::NextSlide)->setText(u"F2"_qs); // applied before the failing row
        row(Action::ResetTimer)->setText(u"R; Foo"_qs);

        const auto box = answerMessageBox(QMessageBox::Ok);
        auto *testMode = child<QCheckBox>(u"testModeCheck"_qs);
        testMode->click();
        QVERIFY(box->answered);
        QCOMPARE(box->text, u"Invalid key:  Foo"_qs);
        QCOMPARE(testMode->isChecked(), false);
        QCOMPARE(m_router->captureMode(), false);
        QCOMPARE(m_router->bindings(), m_before);

        QVERIFY(activate(m_dialog.get(), row(Action::ResetTimer)));
        row(Action::ResetTimer)->setText(u"X"_qs);
        testMode->click();
        QTRY_COMPARE(QApplication::focusWidget(), testMode);
        auto *lastInput = child<QLabel>(u"lastInputLabel"_qs);
        QTest::keyClick(testMode, Qt::Key_X);
        QCOMPARE(lastInput->text(), u"Captured: X -> Reset timer"_qs);
        // Escape is bound and Enter would press Save: both are reported, and the dialog stays.
        QTest::keyClick(testMode, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(lastInput->text(), u"Captured: Enter -> Unassigned"_qs);
        QTest::keyClick(testMode, Qt::Key_Escape);
        QCOMPARE(lastInput->text(), u"Captured: Esc -> Exit presentation"_qs);
        QVERIFY(m_dialog->isVisible());
        QVERIFY(m_store->allKeys().isEmpty());
    }

    void closingEndsTestMode_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("kept");
        QTest::newRow("saved") << u"inputSave"_qs << true;
        QTest::newRow("cancelled") << u"inputCancel"_qs << false;
        QTest::newRow("destroyed while open") << u"destroy"_qs << false;
    }
    // The dialog shows the router's options; Restore defaults and test mode apply at once,
    // and only Save keeps what they applied.
    void closingEndsTestMode()
    {
        QFETCH(QString, how);
        QFETCH(bool, kept);
        auto *ignoreText = child<QCheckBox>(u"ignoreTextCheck"_qs);
        auto *interval = child<QSpinBox>(u"debounceSpin"_qs);
        QCOMPARE(row(Action::NextSlide)->text(), u"Return"_qs);
        QCOMPARE(ignoreText->isChecked(), false);
        QCOMPARE(interval->value(), 300);
        click(u"inputRestoreDefaults"_qs);
        QCOMPARE(m_router->bindings(), InputRouter::defaultBindings());
        QCOMPARE(interval->value(), 140);

        row(Action::ToggleBlackout)->setText(u"X"_qs);
        row(Action::ToggleTimer)->clear();
        interval->setValue(0);
        auto *testMode = child<QCheckBox>(u"testModeCheck"_qs);
        testMode->click();

        if (how == u"destroy"_qs)
            m_dialog.reset();
        else
            click(how);
        QCOMPARE(m_router->captureMode(), false);
        BindingTable saved = InputRouter::defaultBindings();
        saved.insert(Action::ToggleBlackout, keys(u"X"_qs));
        saved.insert(Action::ToggleTimer, {});
        QCOMPARE(m_router->bindings(), kept ? saved : m_before);
        QCOMPARE(m_router->ignoreText(), kept);
        QCOMPARE(m_router->debounceMs(), kept ? 0 : 300);
        // A cleared row is stored, so it stays unassigned at the next start.
        QCOMPARE(m_store->contains(u"input/keys/%1"_qs.arg(int(Action::ToggleTimer))), kept);
        if (m_dialog) {
            QVERIFY(!m_dialog->isVisible());
            QCOMPARE(testMode->isChecked(), false);
        }
    }
};

OLVANTI_TEST_MAIN(TestInputDialog)
#include "tst_input_dialog.moc"
