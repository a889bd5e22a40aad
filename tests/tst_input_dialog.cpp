#include "input/inputdialog.h"
#include "input/inputrouter.h"
#include "inputsupport.h"
#include "modal.h"
#include "testenv.h"

#include <QCheckBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include "base/appsettings.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace InputTest;

class TestInputDialog : public QObject
{
    Q_OBJECT

private:
    template<typename T>
    static T *child(QDialog &dialog, const QString &name)
    {
        auto *widget = dialog.findChild<T *>(name);
        if (!widget)
            qFatal("no child %s", qPrintable(name));
        return widget;
    }
    static QLineEdit *row(QDialog &dialog, Action action)
    {
        return child<QLineEdit>(dialog, u"bindingEdit%1"_qs.arg(int(action)));
    }
    static QKeySequenceEdit *capture(QDialog &dialog, Action action)
    {
        return child<QKeySequenceEdit>(dialog, u"bindingCapture%1"_qs.arg(int(action)));
    }
    static void click(QDialog &dialog, const QString &button) { child<QPushButton>(dialog, button)->click(); }
    static bool open(QDialog &dialog)
    {
        dialog.setModal(true);
        return activate(&dialog, &dialog);
    }

private Q_SLOTS:
    void captureAppendsSingleCombinations()
    {
        InputRouter router;
        auto settings = freshStore();
        AppSettings appSettings(*settings);
        InputDialog dialog(&router, appSettings);
        QVERIFY(open(dialog));
        QKeySequenceEdit *blackoutCapture = capture(dialog, Action::ToggleBlackout);
        QVERIFY(activate(&dialog, blackoutCapture));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QCOMPARE(row(dialog, Action::ToggleBlackout)->text(), u"B; .; X"_qs);
        // A held key, a second press and a key the row already has add nothing.
        QTest::simulateEvent(QApplication::focusWidget(), true, Qt::Key_X, {}, QString(), true);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
        QCOMPARE(row(dialog, Action::ToggleBlackout)->text(), u"B; .; X"_qs);
        // A second key makes a second alternative, never a two-key sequence; the field shows the last.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7, Qt::ShiftModifier);
        QCOMPARE(row(dialog, Action::ToggleBlackout)->text(), u"B; .; X; Shift+F7"_qs);
        QCOMPARE(blackoutCapture->keySequence(), QKeySequence(Qt::SHIFT | Qt::Key_F7));

        row(dialog, Action::ToggleTimer)->clear();
        QVERIFY(activate(&dialog, capture(dialog, Action::ToggleTimer)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
        QCOMPARE(row(dialog, Action::ToggleTimer)->text(), u"X"_qs);
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());

        // The same key in two rows: Save refuses and the dialog stays open.
        const auto box = answerMessageBox(QMessageBox::Ok);
        click(dialog, u"inputSave"_qs);
        QVERIFY(box->answered);
        QCOMPARE(box->title, u"Key mapping"_qs);
        QCOMPARE(box->text, u"Bindings must be unique, single key combinations: X"_qs);
        QVERIFY(dialog.isVisible());
        QVERIFY(settings->allKeys().isEmpty());
    }

    void restoreDefaultsThenCancelKeepsOldBindings()
    {
        InputRouter router;
        router.setBinding(Action::NextSlide, keys(u"Return"_qs));
        router.setIgnoreText(false);
        router.setDebounceMs(300);
        const BindingTable before = router.bindings();
        auto settings = freshStore();
        AppSettings appSettings(*settings);
        InputDialog dialog(&router, appSettings);
        QVERIFY(open(dialog));
        auto *ignoreText = child<QCheckBox>(dialog, u"ignoreTextCheck"_qs);
        auto *interval = child<QSpinBox>(dialog, u"debounceSpin"_qs);
        QCOMPARE(row(dialog, Action::NextSlide)->text(), u"Return"_qs);
        QCOMPARE(ignoreText->isChecked(), false);
        QCOMPARE(interval->value(), 300);

        click(dialog, u"inputRestoreDefaults"_qs);
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());
        QCOMPARE(ignoreText->isChecked(), true);
        QCOMPARE(interval->value(), 140);

        click(dialog, u"inputCancel"_qs);
        QCOMPARE(router.bindings(), before);
        QCOMPARE(router.ignoreText(), false);
        QCOMPARE(router.debounceMs(), 300);
        QVERIFY(settings->allKeys().isEmpty());
    }

    void testModeAppliesEditsOnlyWhenValid()
    {
        InputRouter router;
        QSignalSpy triggered(&router, &InputRouter::triggered);
        auto settings = freshStore();
        AppSettings appSettings(*settings);
        InputDialog dialog(&router, appSettings);
        QVERIFY(open(dialog));
        row(dialog, Action::NextSlide)->setText(u"Return"_qs); // applied before the failing row
        row(dialog, Action::ResetTimer)->setText(u"R; Foo"_qs);

        const auto box = answerMessageBox(QMessageBox::Ok);
        auto *testMode = child<QCheckBox>(dialog, u"testModeCheck"_qs);
        testMode->click();
        QVERIFY(box->answered);
        QCOMPARE(box->text, u"Invalid key:  Foo"_qs);
        QCOMPARE(testMode->isChecked(), false);
        QCOMPARE(router.captureMode(), false);
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());

        QVERIFY(activate(&dialog, row(dialog, Action::ResetTimer)));
        row(dialog, Action::ResetTimer)->setText(u"X"_qs);
        testMode->click();
        QVERIFY(router.captureMode());
        QTRY_COMPARE(QApplication::focusWidget(), testMode);
        auto *lastInput = child<QLabel>(dialog, u"lastInputLabel"_qs);
        QCOMPARE(lastInput->text(), u"Last input: none"_qs);
        QTest::keyClick(testMode, Qt::Key_X);
        QCOMPARE(lastInput->text(), u"Captured: X -> Reset timer"_qs);
        QTest::keyClick(testMode, Qt::Key_Q);
        QCOMPARE(lastInput->text(), u"Captured: Q -> Unassigned"_qs);
        // Escape is bound and Enter would press Save: both are reported, and the dialog stays.
        QTest::keyClick(testMode, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(lastInput->text(), u"Captured: Enter -> Unassigned"_qs);
        QTest::keyClick(testMode, Qt::Key_Escape);
        QCOMPARE(lastInput->text(), u"Captured: Esc -> Exit presentation"_qs);
        QVERIFY(dialog.isVisible());
        QVERIFY(settings->allKeys().isEmpty());
        // Capture fields still get their keys.
        QVERIFY(activate(&dialog, capture(dialog, Action::NextSlide)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(row(dialog, Action::NextSlide)->text(), u"Return; PgUp"_qs);
        QCOMPARE(lastInput->text(), u"Captured: Esc -> Exit presentation"_qs);
        QCOMPARE(triggered.size(), 0);
    }

    void closingEndsTestMode_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("kept");
        QTest::newRow("saved") << u"inputSave"_qs << true;
        QTest::newRow("cancelled") << u"inputCancel"_qs << false;
        QTest::newRow("destroyed while open") << u"destroy"_qs << false;
    }
    void closingEndsTestMode()
    {
        QFETCH(QString, how);
        QFETCH(bool, kept);
        InputRouter router;
        auto settings = freshStore();
        AppSettings appSettings(*settings);
        auto dialog = std::make_unique<InputDialog>(&router, appSettings);
        QVERIFY(open(*dialog));
        row(*dialog, Action::ToggleBlackout)->setText(u"X"_qs);
        row(*dialog, Action::ToggleTimer)->clear();
        child<QCheckBox>(*dialog, u"ignoreTextCheck"_qs)->setChecked(false);
        child<QSpinBox>(*dialog, u"debounceSpin"_qs)->setValue(0);
        auto *testMode = child<QCheckBox>(*dialog, u"testModeCheck"_qs);
        testMode->click();
        QVERIFY(router.captureMode());

        if (how == u"destroy"_qs)
            dialog.reset();
        else
            click(*dialog, how);
        QCOMPARE(router.captureMode(), false);
        QCOMPARE(router.bindings().value(Action::ToggleBlackout), keys(kept ? u"X"_qs : u"B|."_qs));
        QCOMPARE(router.bindings().value(Action::ToggleTimer).isEmpty(), kept);
        QCOMPARE(router.ignoreText(), !kept);
        QCOMPARE(router.debounceMs(), kept ? 0 : 140);
        // A cleared row is stored, so it stays unassigned at the next start.
        const QString timerKey = u"input/keys/%1"_qs.arg(int(Action::ToggleTimer));
        QCOMPARE(settings->contains(timerKey), kept);
        QVERIFY(settings->value(timerKey).toStringList().isEmpty());
        if (dialog) {
            QVERIFY(!dialog->isVisible());
            QCOMPARE(testMode->isChecked(), false);
        }
    }
};

OLVANTI_TEST_MAIN(TestInputDialog)
#include "tst_input_dialog.moc"
