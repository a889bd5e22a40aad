#include "input/inputrouter.h"
#include "testenv.h"

#include <QComboBox>
#include <QDialog>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QVBoxLayout>

namespace {

struct Press
{
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    bool autoRepeat;
    qint64 at; // clock reading in milliseconds
};

using Presses = QList<Press>;
using Actions = QList<Action>;

Press press(Qt::Key key, qint64 at, Qt::KeyboardModifiers modifiers = {})
{
    return {key, modifiers, false, at};
}

Press repeat(Qt::Key key, qint64 at, Qt::KeyboardModifiers modifiers = {})
{
    return {key, modifiers, true, at};
}

Actions triggeredActions(const QSignalSpy &spy)
{
    Actions actions;
    for (const QList<QVariant> &arguments : spy)
        actions.append(arguments.at(0).value<Action>());
    return actions;
}

// Shows a window, makes it active and gives `focus` the keyboard focus.
bool activate(QWidget *window, QWidget *focus)
{
    window->show();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window))
        return false;
    focus->setFocus();
    return QTest::qWaitFor([focus] { return QApplication::focusWidget() == focus; });
}

} // namespace

Q_DECLARE_METATYPE(Presses)

class TestInputRouter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void repeatSuppression_data()
    {
        QTest::addColumn<bool>("scrollMode");
        QTest::addColumn<int>("debounceMs");
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<Actions>("expected");
        QTest::addColumn<int>("lastKey");

        const auto next = Action::NextSlide;
        QTest::newRow("holding Right: auto-repeat and quick re-press swallowed, 140 ms later routed")
            << false << 140
            << Presses{press(Qt::Key_Right, 0), repeat(Qt::Key_Right, 30), repeat(Qt::Key_Right, 60),
                       press(Qt::Key_Right, 100), press(Qt::Key_Right, 139), press(Qt::Key_Right, 140)}
            << Actions{next, next} << int(Qt::Key_Right);
        QTest::newRow("Right then Space at once: different combinations both route")
            << false << 140 << Presses{press(Qt::Key_Right, 0), press(Qt::Key_Space, 1)} << Actions{next, next}
            << int(Qt::Key_Space);
        QTest::newRow("another key in between does not reopen the interval")
            << false << 140
            << Presses{press(Qt::Key_Right, 0), press(Qt::Key_Left, 10), press(Qt::Key_Right, 20)}
            << Actions{next, Action::PreviousSlide, next} << int(Qt::Key_Right);
        QTest::newRow("interval 0 suppresses nothing but auto-repeat")
            << false << 0
            << Presses{press(Qt::Key_Right, 0), press(Qt::Key_Right, 0), repeat(Qt::Key_Right, 0)}
            << Actions{next, next} << int(Qt::Key_Right);
        QTest::newRow("held Down outside scroll reading is swallowed")
            << false << 140 << Presses{press(Qt::Key_Down, 0), repeat(Qt::Key_Down, 30)} << Actions{next}
            << int(Qt::Key_Down);
        QTest::newRow("scroll reading: held Down routes every repeat")
            << true << 140
            << Presses{press(Qt::Key_Down, 0), repeat(Qt::Key_Down, 30), repeat(Qt::Key_Down, 60),
                       press(Qt::Key_Down, 70)}
            << Actions{next, next, next, next} << int(Qt::Key_Down);
        QTest::newRow("scroll reading: held keypad Up routes every repeat")
            << true << 140
            << Presses{press(Qt::Key_Up, 0, Qt::KeypadModifier), repeat(Qt::Key_Up, 30, Qt::KeypadModifier)}
            << Actions{Action::PreviousSlide, Action::PreviousSlide} << int(Qt::Key_Up);
        QTest::newRow("scroll reading: Page Down keeps both rules")
            << true << 140
            << Presses{press(Qt::Key_PageDown, 0), repeat(Qt::Key_PageDown, 30), press(Qt::Key_PageDown, 60),
                       press(Qt::Key_PageDown, 140)}
            << Actions{next, next} << int(Qt::Key_PageDown);
        QTest::newRow("scroll reading: Shift+Down keeps both rules")
            << true << 140
            << Presses{press(Qt::Key_Down, 0, Qt::ShiftModifier), repeat(Qt::Key_Down, 30, Qt::ShiftModifier)}
            << Actions{Action::TimerMinusMinute} << int(Qt::Key_Down);
        QTest::newRow("keypad arrows match plain arrows")
            << false << 140
            << Presses{press(Qt::Key_Right, 0, Qt::KeypadModifier), press(Qt::Key_Left, 1, Qt::KeypadModifier),
                       press(Qt::Key_Right, 2, Qt::KeypadModifier | Qt::ControlModifier)}
            << Actions{next, Action::PreviousSlide, Action::NextReaderPage} << int(Qt::Key_Right);
        QTest::newRow("unbound keys route nothing")
            << false << 140 << Presses{press(Qt::Key_X, 0), press(Qt::Key_Right, 1, Qt::AltModifier)} << Actions{}
            << int(Qt::Key_unknown);
    }
    void repeatSuppression()
    {
        QFETCH(bool, scrollMode);
        QFETCH(int, debounceMs);
        QFETCH(Presses, presses);
        QFETCH(Actions, expected);
        QFETCH(int, lastKey);

        InputRouter router;
        qint64 now = 0;
        router.setClock([&now] { return now; });
        router.setScrollMode(scrollMode);
        router.setDebounceMs(debounceMs);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy observed(&router, &InputRouter::observed);

        QWidget window;
        window.setFocusPolicy(Qt::StrongFocus);
        QVERIFY(activate(&window, &window));
        for (const Press &p : presses) {
            now = 5000 + p.at;
            QTest::simulateEvent(&window, true, p.key, p.modifiers, QString(), p.autoRepeat);
        }
        QCOMPARE(triggeredActions(triggered), expected);
        QCOMPARE(observed.size(), expected.size());
        QCOMPARE(router.lastKey(), lastKey);
    }

    void observedReportsNativeTextAndName()
    {
        InputRouter router;
        QSignalSpy observed(&router, &InputRouter::observed);
        QWidget window;
        window.setFocusPolicy(Qt::StrongFocus);
        QVERIFY(activate(&window, &window));
        QTest::keyClick(&window, Qt::Key_PageDown);
        // Through the window, as the platform delivers it.
        QTest::keyClick(window.windowHandle(), Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(observed.size(), 2);
        QCOMPARE(observed.at(0), (QList<QVariant>{u"PgDown"_qs, u"Next slide"_qs}));
        QCOMPARE(observed.at(1), (QList<QVariant>{u"Shift+Up"_qs, u"Timer +1 minute"_qs}));
    }

    void textInputs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("ignoreText");
        QTest::addColumn<bool>("routed");
        QTest::newRow("line edit, ignoring text") << u"lineEdit"_qs << true << false;
        QTest::newRow("line edit, not ignoring text") << u"lineEdit"_qs << false << true;
        QTest::newRow("plain text edit, ignoring text") << u"plainTextEdit"_qs << true << false;
        QTest::newRow("spin box, ignoring text") << u"spinBox"_qs << true << false;
        QTest::newRow("editable combo box, ignoring text") << u"editableCombo"_qs << true << false;
        QTest::newRow("fixed combo box, ignoring text") << u"fixedCombo"_qs << true << true;
        QTest::newRow("button, ignoring text") << u"button"_qs << true << true;
    }
    void textInputs()
    {
        QFETCH(QString, kind);
        QFETCH(bool, ignoreText);
        QFETCH(bool, routed);

        InputRouter router;
        router.setIgnoreText(ignoreText);
        QSignalSpy triggered(&router, &InputRouter::triggered);

        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        QWidget *field = nullptr;
        if (kind == u"lineEdit"_qs) {
            field = new QLineEdit;
        } else if (kind == u"plainTextEdit"_qs) {
            field = new QPlainTextEdit;
        } else if (kind == u"spinBox"_qs) {
            field = new QSpinBox;
        } else if (kind.endsWith(u"Combo"_qs)) {
            auto *combo = new QComboBox;
            combo->addItems({u"one"_qs, u"two"_qs});
            combo->setEditable(kind == u"editableCombo"_qs);
            field = combo;
        } else {
            field = new QPushButton(u"Button"_qs);
        }
        layout->addWidget(field);
        QVERIFY(activate(&window, field));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
        QCOMPARE(triggeredActions(triggered), routed ? Actions{Action::ToggleBlackout} : Actions{});
    }

    void typedLetterReachesLineEditOnlyWhenIgnoringText()
    {
        InputRouter router;
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit;
        layout->addWidget(edit);
        QVERIFY(activate(&window, edit));

        QTest::keyClicks(edit, u"bx"_qs);
        QCOMPARE(edit->text(), u"bx"_qs);
        QCOMPARE(triggered.size(), 0);

        router.setIgnoreText(false);
        QTest::keyClicks(edit, u"bx"_qs);
        QCOMPARE(edit->text(), u"bxx"_qs);
        QCOMPARE(triggeredActions(triggered), Actions{Action::ToggleBlackout});
    }

    void popupBlocksBoundKeys()
    {
        InputRouter router;
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QWidget window;
        window.setFocusPolicy(Qt::StrongFocus);
        QVERIFY(activate(&window, &window));

        QMenu menu;
        menu.addAction(u"Item"_qs);
        menu.popup(window.mapToGlobal(QPoint(10, 10)));
        QTRY_COMPARE(QApplication::activePopupWidget(), &menu);
        QTest::keyClick(&menu, Qt::Key_T);
        QTest::keyClick(&menu, Qt::Key_Right);
        QCOMPARE(triggered.size(), 0);

        menu.close();
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QTest::keyClick(&window, Qt::Key_T);
        QCOMPARE(triggeredActions(triggered), Actions{Action::ToggleTimer});
    }

    void modalWindowBlocksBoundKeys_data()
    {
        QTest::addColumn<bool>("messageBox");
        QTest::newRow("message box") << true;
        QTest::newRow("dialog") << false;
    }
    void modalWindowBlocksBoundKeys()
    {
        QFETCH(bool, messageBox);
        InputRouter router;
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QWidget window;
        window.setFocusPolicy(Qt::StrongFocus);
        QVERIFY(activate(&window, &window));

        std::unique_ptr<QDialog> modal;
        if (messageBox)
            modal = std::make_unique<QMessageBox>(QMessageBox::Warning, u"Title"_qs, u"Text"_qs);
        else
            modal = std::make_unique<QDialog>();
        modal->setModal(true);
        modal->show();
        QTRY_COMPARE(QApplication::activeModalWidget(), modal.get());
        QTest::keyClick(modal.get(), Qt::Key_B);
        QTest::keyClick(&window, Qt::Key_PageDown);
        QCOMPARE(triggered.size(), 0);

        modal->close();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(activate(&window, &window));
        QTest::keyClick(&window, Qt::Key_B);
        QCOMPARE(triggeredActions(triggered), Actions{Action::ToggleBlackout});
    }

    void boundKeyBeatsMenuShortcut()
    {
        InputRouter router;
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QMainWindow window;
        QAction *menuAction = window.menuBar()->addMenu(u"&Presentation"_qs)->addAction(u"Blackout"_qs);
        menuAction->setShortcut(QKeySequence(Qt::Key_B));
        QSignalSpy menuTriggered(menuAction, &QAction::triggered);
        auto *central = new QWidget;
        central->setFocusPolicy(Qt::StrongFocus);
        window.setCentralWidget(central);
        QVERIFY(activate(&window, central));

        QTest::keyClick(central, Qt::Key_B);
        QCOMPARE(triggeredActions(triggered), Actions{Action::ToggleBlackout});
        QCOMPARE(menuTriggered.size(), 0);

        // Once the key is unbound the menu command gets it again.
        router.setBinding(Action::ToggleBlackout, {});
        QTest::keyClick(central, Qt::Key_B);
        QCOMPARE(menuTriggered.size(), 1);
        QCOMPARE(triggered.size(), 1);
    }

    void testModeReportsWithoutTriggering()
    {
        InputRouter router;
        router.setCaptureMode(true);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy observed(&router, &InputRouter::observed);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *edit = new QLineEdit;
        auto *button = new QPushButton(u"Button"_qs);
        layout->addWidget(edit);
        layout->addWidget(button);
        QVERIFY(activate(&window, edit));

        // Unbound: reported once and typed; bound: reported, consumed, not performed.
        QTest::keyClick(edit, Qt::Key_X);
        QTest::keyClick(edit, Qt::Key_B);
        QCOMPARE(edit->text(), u"x"_qs);
        QCOMPARE(triggered.size(), 0);
        QCOMPARE(observed.size(), 2);
        QCOMPARE(observed.at(0), (QList<QVariant>{u"X"_qs, u"Unassigned"_qs}));
        QCOMPARE(observed.at(1), (QList<QVariant>{u"B"_qs, u"Blackout / resume output"_qs}));

        // A key the button ignores travels up to the window: still one report.
        button->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(button, Qt::Key_Y);
        QCOMPARE(observed.size(), 3);
        QCOMPARE(observed.at(2), (QList<QVariant>{u"Y"_qs, u"Unassigned"_qs}));
        // Through the window, as the platform delivers it: still one report.
        QTest::keyClick(window.windowHandle(), Qt::Key_Z);
        QCOMPARE(observed.size(), 4);
        QCOMPARE(observed.at(3), (QList<QVariant>{u"Z"_qs, u"Unassigned"_qs}));
        observed.removeLast();

        // Auto-repeat and quick re-presses of a bound key are swallowed without a report.
        QTest::simulateEvent(button, true, Qt::Key_B, {}, QString(), true);
        QCOMPARE(observed.size(), 3);

        // Test mode runs inside modal dialogs.
        QDialog modal(&window);
        modal.setModal(true);
        modal.show();
        QTRY_COMPARE(QApplication::activeModalWidget(), &modal);
        QTest::keyClick(&modal, Qt::Key_PageDown);
        QCOMPARE(observed.size(), 4);
        QCOMPARE(observed.at(3), (QList<QVariant>{u"PgDown"_qs, u"Next slide"_qs}));
        QCOMPARE(triggered.size(), 0);
    }

    void keySequenceEditorGetsEveryKey_data()
    {
        QTest::addColumn<bool>("testMode");
        QTest::newRow("normal") << false;
        QTest::newRow("test mode") << true;
    }
    void keySequenceEditorGetsEveryKey()
    {
        QFETCH(bool, testMode);
        InputRouter router;
        router.setCaptureMode(testMode);
        router.setIgnoreText(false);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy observed(&router, &InputRouter::observed);
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *editor = new QKeySequenceEdit;
        layout->addWidget(editor);
        QVERIFY(activate(&window, editor));

        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown);
        QCOMPARE(triggered.size(), 0);
        QCOMPARE(observed.size(), 0);
        QCOMPARE(editor->keySequence(), QKeySequence(Qt::Key_PageDown));
    }
};

OLVANTI_TEST_MAIN(TestInputRouter)
#include "tst_input_router.moc"
