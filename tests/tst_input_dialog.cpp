#include "input/inputdialog.h"
#include "input/inputrouter.h"
#include "testenv.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

using Keys = QList<QKeySequence>;

Keys keys(const QString &portable)
{
    Keys list;
    for (const QString &piece : portable.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        list.append(QKeySequence::fromString(piece, QKeySequence::PortableText));
    return list;
}

std::unique_ptr<QSettings> freshStore()
{
    static int counter = 0;
    const QString path = TestEnvironment::instance().path(QStringLiteral("dialog-%1.ini").arg(++counter));
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

// Answers every message box that comes up and remembers what it said.
class MessageBoxCatcher final : public QObject
{
public:
    MessageBoxCatcher()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            titles.append(box->windowTitle());
            texts.append(box->text());
            box->done(QMessageBox::Ok);
        });
        m_timer.start(10);
    }

    QStringList titles;
    QStringList texts;

private:
    QTimer m_timer;
};

bool showModal(QDialog *dialog)
{
    dialog->setModal(true);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    return QTest::qWaitForWindowActive(dialog);
}

bool focus(QWidget *widget)
{
    widget->setFocus();
    return QTest::qWaitFor([widget] {
        QWidget *focused = QApplication::focusWidget();
        return focused && (focused == widget || widget->isAncestorOf(focused));
    });
}

} // namespace

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
    static bool captureKey(QDialog &dialog, Action action, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        if (!focus(capture(dialog, action)))
            return false;
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        return true;
    }

private Q_SLOTS:
    void initialState()
    {
        InputRouter router;
        router.setIgnoreText(false);
        router.setDebounceMs(300);
        router.setBinding(Action::ToggleBlackout, {});
        auto settings = freshStore();
        InputDialog dialog(&router, *settings);

        QCOMPARE(dialog.windowTitle(), u"Clicker and keyboard"_qs);
        QCOMPARE(dialog.size(), QSize(780, 620));
        auto *form = child<QWidget>(dialog, u"bindingRows"_qs)->findChild<QFormLayout *>();
        QVERIFY(form);
        QCOMPARE(form->rowCount(), 14);
        auto labelOf = [form](int index) {
            return qobject_cast<QLabel *>(form->itemAt(index, QFormLayout::LabelRole)->widget())->text();
        };
        QCOMPARE(labelOf(0), u"Next slide"_qs);
        QCOMPARE(labelOf(6), u"Blackout / resume output"_qs);
        QCOMPARE(labelOf(13), u"Reset timer"_qs);
        QCOMPARE(row(dialog, Action::NextSlide)->text(), u"PgDown; Right; Down; Space"_qs);
        QCOMPARE(row(dialog, Action::ToggleBlackout)->text(), QString());
        QCOMPARE(row(dialog, Action::ExitPresentation)->text(), u"Esc"_qs);

        QCOMPARE(child<QCheckBox>(dialog, u"ignoreTextCheck"_qs)->isChecked(), false);
        auto *spin = child<QSpinBox>(dialog, u"debounceSpin"_qs);
        QCOMPARE(spin->value(), 300);
        QCOMPARE(spin->minimum(), 0);
        QCOMPARE(spin->maximum(), 1000);
        QCOMPARE(spin->suffix(), u" ms"_qs);
        QCOMPARE(child<QCheckBox>(dialog, u"testModeCheck"_qs)->isChecked(), false);
        QCOMPARE(child<QLabel>(dialog, u"lastInputLabel"_qs)->text(), u"Last input: none"_qs);
    }

    void captureAppendsSingleCombinations()
    {
        InputRouter router;
        auto settings = freshStore();
        InputDialog dialog(&router, *settings);
        QVERIFY(showModal(&dialog));

        QVERIFY(captureKey(dialog, Action::ToggleBlackout, Qt::Key_X));
        QCOMPARE(row(dialog, Action::ToggleBlackout)->text(), u"B; X"_qs);
        QCOMPARE(capture(dialog, Action::ToggleBlackout)->keySequence(), QKeySequence(Qt::Key_X));

        // A second key makes a second alternative, never a two-key sequence.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7, Qt::ShiftModifier);
        QCOMPARE(row(dialog, Action::ToggleBlackout)->text(), u"B; X; Shift+F7"_qs);
        QCOMPARE(capture(dialog, Action::ToggleBlackout)->keySequence(), QKeySequence(Qt::SHIFT | Qt::Key_F7));

        row(dialog, Action::ToggleTimer)->clear();
        QVERIFY(captureKey(dialog, Action::ToggleTimer, Qt::Key_X));
        QCOMPARE(row(dialog, Action::ToggleTimer)->text(), u"X"_qs);
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());

        // The same key in two rows: Save refuses and the dialog stays open.
        MessageBoxCatcher catcher;
        child<QPushButton>(dialog, u"inputSave"_qs)->click();
        QCOMPARE(catcher.titles, QStringList{u"Key mapping"_qs});
        QCOMPARE(catcher.texts, QStringList{u"Bindings must be unique, single key combinations: X"_qs});
        QVERIFY(dialog.isVisible());
        QVERIFY(settings->allKeys().isEmpty());

        child<QPushButton>(dialog, u"inputCancel"_qs)->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());
    }

    void save_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<Keys>("saved");
        QTest::newRow("cleared row leaves the action unassigned") << 7 << QString() << QString() << Keys();
        QTest::newRow("empty pieces are skipped")
            << 0 << u"PgDown;;Right"_qs << QString() << keys(u"PgDown|Right"_qs);
        QTest::newRow("key taken by another action")
            << 15 << u"B"_qs << u"Bindings must be unique, single key combinations: B"_qs << Keys();
        QTest::newRow("several keys typed as one binding")
            << 9 << u"Ctrl+A, B"_qs << u"Bindings must be unique, single key combinations: Ctrl+A, B"_qs << Keys();
        QTest::newRow("not a key") << 0 << u"PgDown; Foo"_qs << u"Invalid key:  Foo"_qs << Keys();
    }
    void save()
    {
        QFETCH(int, action);
        QFETCH(QString, text);
        QFETCH(QString, error);
        QFETCH(Keys, saved);
        InputRouter router;
        auto settings = freshStore();
        InputDialog dialog(&router, *settings);
        QVERIFY(showModal(&dialog));

        row(dialog, static_cast<Action>(action))->setText(text);
        child<QCheckBox>(dialog, u"ignoreTextCheck"_qs)->setChecked(false);
        child<QSpinBox>(dialog, u"debounceSpin"_qs)->setValue(0);
        MessageBoxCatcher catcher;
        child<QPushButton>(dialog, u"inputSave"_qs)->click();

        if (!error.isEmpty()) {
            QCOMPARE(catcher.texts, QStringList{error});
            QCOMPARE(catcher.titles, QStringList{u"Key mapping"_qs});
            QVERIFY(dialog.isVisible());
            QVERIFY(settings->allKeys().isEmpty());
            QCOMPARE(router.ignoreText(), true);
            QCOMPARE(router.debounceMs(), 140);
            return;
        }
        QVERIFY(catcher.texts.isEmpty());
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(router.bindings().value(static_cast<Action>(action)), saved);
        QCOMPARE(router.ignoreText(), false);
        QCOMPARE(router.debounceMs(), 0);
        settings->sync();
        QSettings reread(settings->fileName(), QSettings::IniFormat);
        InputRouter restarted;
        restarted.loadSettings(reread);
        QCOMPARE(restarted.bindings(), router.bindings());
        QCOMPARE(restarted.ignoreText(), false);
        QCOMPARE(restarted.debounceMs(), 0);
    }

    void restoreDefaultsThenCancel()
    {
        InputRouter router;
        router.setBinding(Action::NextSlide, keys(u"Return"_qs));
        router.setIgnoreText(false);
        router.setDebounceMs(300);
        const BindingTable before = router.bindings();
        auto settings = freshStore();
        InputDialog dialog(&router, *settings);
        QVERIFY(showModal(&dialog));

        child<QPushButton>(dialog, u"inputRestoreDefaults"_qs)->click();
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());
        QCOMPARE(row(dialog, Action::NextSlide)->text(), u"PgDown; Right; Down; Space"_qs);
        QCOMPARE(child<QCheckBox>(dialog, u"ignoreTextCheck"_qs)->isChecked(), true);
        QCOMPARE(child<QSpinBox>(dialog, u"debounceSpin"_qs)->value(), 140);

        child<QPushButton>(dialog, u"inputCancel"_qs)->click();
        QCOMPARE(router.bindings(), before);
        QCOMPARE(router.ignoreText(), false);
        QCOMPARE(router.debounceMs(), 300);
        QVERIFY(settings->allKeys().isEmpty());
    }

    void testModeWithInvalidRowRestoresSnapshot()
    {
        InputRouter router;
        auto settings = freshStore();
        InputDialog dialog(&router, *settings);
        QVERIFY(showModal(&dialog));
        row(dialog, Action::NextSlide)->setText(u"Return"_qs); // applied before the failing row
        row(dialog, Action::ResetTimer)->setText(u"R; Foo"_qs);

        MessageBoxCatcher catcher;
        auto *testMode = child<QCheckBox>(dialog, u"testModeCheck"_qs);
        testMode->click();
        QCOMPARE(catcher.titles, QStringList{u"Key mapping"_qs});
        QCOMPARE(catcher.texts, QStringList{u"Invalid key:  Foo"_qs});
        QCOMPARE(testMode->isChecked(), false);
        QCOMPARE(router.captureMode(), false);
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());
    }

    void testModeReportsKeysWithoutPerformingThem()
    {
        InputRouter router;
        QSignalSpy triggered(&router, &InputRouter::triggered);
        auto settings = freshStore();
        InputDialog dialog(&router, *settings);
        QVERIFY(showModal(&dialog));
        row(dialog, Action::ToggleBlackout)->setText(u"X"_qs);

        auto *testMode = child<QCheckBox>(dialog, u"testModeCheck"_qs);
        testMode->click();
        QVERIFY(router.captureMode());
        QCOMPARE(router.bindings().value(Action::ToggleBlackout), keys(u"X"_qs));
        QTRY_COMPARE(QApplication::focusWidget(), testMode);

        auto *lastInput = child<QLabel>(dialog, u"lastInputLabel"_qs);
        QTest::keyClick(testMode, Qt::Key_PageDown);
        QCOMPARE(lastInput->text(), u"Captured: PgDown -> Next slide"_qs);
        QTest::keyClick(testMode, Qt::Key_X);
        QCOMPARE(lastInput->text(), u"Captured: X -> Blackout / resume output"_qs);
        QTest::keyClick(testMode, Qt::Key_Q);
        QCOMPARE(lastInput->text(), u"Captured: Q -> Unassigned"_qs);
        // Escape is bound, so it is reported instead of closing the dialog.
        QTest::keyClick(testMode, Qt::Key_Escape);
        QCOMPARE(lastInput->text(), u"Captured: Esc -> Exit presentation"_qs);
        QVERIFY(dialog.isVisible());
        QCOMPARE(triggered.size(), 0);

        // In a row's text a bound key is reported, not typed; an unbound one is typed.
        QLineEdit *timerRow = row(dialog, Action::ToggleTimer);
        QVERIFY(focus(timerRow));
        timerRow->end(false);
        QTest::keyClick(timerRow, Qt::Key_X);
        QTest::keyClick(timerRow, Qt::Key_Semicolon);
        QCOMPARE(timerRow->text(), u"T;"_qs);
        QCOMPARE(lastInput->text(), u"Captured: ; -> Unassigned"_qs);

        // Capture fields still get their keys.
        QVERIFY(captureKey(dialog, Action::NextSlide, Qt::Key_Z));
        QCOMPARE(row(dialog, Action::NextSlide)->text(), u"PgDown; Right; Down; Space; Z"_qs);
        QCOMPARE(lastInput->text(), u"Captured: ; -> Unassigned"_qs);

        testMode->click();
        QCOMPARE(router.captureMode(), false);
        QCOMPARE(triggered.size(), 0);
    }

    void closingEndsTestMode_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("kept");
        QTest::newRow("saved") << u"save"_qs << true;
        QTest::newRow("cancelled") << u"cancel"_qs << false;
        QTest::newRow("window closed") << u"close"_qs << false;
        QTest::newRow("destroyed while open") << u"destroy"_qs << false;
    }
    void closingEndsTestMode()
    {
        QFETCH(QString, how);
        QFETCH(bool, kept);
        InputRouter router;
        auto settings = freshStore();
        auto dialog = std::make_unique<InputDialog>(&router, *settings);
        QVERIFY(showModal(dialog.get()));
        row(*dialog, Action::ToggleBlackout)->setText(u"X"_qs);
        child<QCheckBox>(*dialog, u"testModeCheck"_qs)->click();
        QVERIFY(router.captureMode());

        if (how == u"save"_qs)
            child<QPushButton>(*dialog, u"inputSave"_qs)->click();
        else if (how == u"cancel"_qs)
            child<QPushButton>(*dialog, u"inputCancel"_qs)->click();
        else if (how == u"close"_qs)
            dialog->close();
        else
            dialog.reset();

        QCOMPARE(router.captureMode(), false);
        QCOMPARE(router.bindings().value(Action::ToggleBlackout), kept ? keys(u"X"_qs) : keys(u"B"_qs));
        if (dialog) {
            QVERIFY(!dialog->isVisible());
            QCOMPARE(child<QCheckBox>(*dialog, u"testModeCheck"_qs)->isChecked(), false);
        }
    }

    void runReportsWhetherSaved_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("saved");
        QTest::newRow("save") << u"inputSave"_qs << true;
        QTest::newRow("cancel") << u"inputCancel"_qs << false;
    }
    void runReportsWhetherSaved()
    {
        QFETCH(QString, button);
        QFETCH(bool, saved);
        InputRouter router;
        auto settings = freshStore();
        bool wasModal = false;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<InputDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            wasModal = dialog->isModal();
            dialog->findChild<QLineEdit *>(u"bindingEdit15"_qs)->setText(u"F5"_qs);
            dialog->findChild<QPushButton *>(button)->click();
        });
        answer.start(10);
        QCOMPARE(InputDialog::run(&router, *settings), saved);
        QVERIFY(wasModal);
        QCOMPARE(router.bindings().value(Action::ResetTimer), saved ? keys(u"F5"_qs) : keys(u"R"_qs));
        QCOMPARE(settings->value(u"input/keys/15"_qs).toStringList(), saved ? QStringList{u"F5"_qs} : QStringList());
    }
};

OLVANTI_TEST_MAIN(TestInputDialog)
#include "tst_input_dialog.moc"
