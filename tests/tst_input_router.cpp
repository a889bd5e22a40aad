#include "input/inputrouter.h"
#include "inputsupport.h"
#include "testenv.h"

#include <QApplication>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace InputTest;

namespace {

struct Press
{
    Qt::Key key;
    qint64 at; // clock reading in milliseconds
    Qt::KeyboardModifiers modifiers = {};
    bool autoRepeat = false;
};

Press repeat(Qt::Key key, qint64 at, Qt::KeyboardModifiers modifiers = {})
{
    return {key, at, modifiers, true};
}

using Presses = QList<Press>;
using Actions = QList<Action>;

Actions triggeredActions(const QSignalSpy &spy)
{
    Actions actions;
    for (const QList<QVariant> &arguments : spy)
        actions.append(arguments.at(0).value<Action>());
    return actions;
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
        QTest::addColumn<int>("lines"); // arrow presses that became line steps
        const auto next = Action::NextSlide;
        const auto right = Qt::Key_Right;
        const auto down = Qt::Key_Down;
        QTest::newRow("holding Right: auto-repeat and quick re-press swallowed, 140 ms later routed")
            << false << 140
            << Presses{{right, 0}, repeat(right, 30), {right, 100}, {right, 139}, {right, 140}, repeat(right, 400)}
            << Actions{next, next} << 0;
        QTest::newRow("Right then Space at once: different combinations both route")
            << false << 140 << Presses{{right, 0}, {Qt::Key_Space, 1}} << Actions{next, next} << 0;
        QTest::newRow("interval 0 suppresses nothing but auto-repeat")
            << false << 0 << Presses{{right, 0}, {right, 0}, repeat(right, 0)} << Actions{next, next} << 0;
        QTest::newRow("held Down outside scroll reading is swallowed")
            << false << 140 << Presses{{down, 0}, repeat(down, 300)} << Actions{next} << 0;
        QTest::newRow("scroll reading: held Down steps lines at every repeat")
            << true << 140 << Presses{{down, 0}, repeat(down, 30), repeat(down, 60), {down, 70}} << Actions{} << 4;
        QTest::newRow("scroll reading: Page Down keeps both rules")
            << true << 140
            << Presses{{Qt::Key_PageDown, 0}, repeat(Qt::Key_PageDown, 30), {Qt::Key_PageDown, 60},
                       {Qt::Key_PageDown, 140}}
            << Actions{next, next} << 0;
        QTest::newRow("keypad arrows match plain arrows")
            << false << 140
            << Presses{{right, 0, Qt::KeypadModifier}, {Qt::Key_Left, 1, Qt::KeypadModifier},
                       {right, 2, Qt::KeypadModifier | Qt::ControlModifier}}
            << Actions{next, Action::PreviousSlide, Action::NextReaderPage} << 0;
    }
    void repeatSuppression()
    {
        QFETCH(bool, scrollMode);
        QFETCH(int, debounceMs);
        QFETCH(Presses, presses);
        QFETCH(Actions, expected);
        InputRouter router;
        qint64 now = 0;
        router.setClock([&now] { return now; });
        router.setScrollMode(scrollMode);
        router.setDebounceMs(debounceMs);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy observed(&router, &InputRouter::observed);
        QSignalSpy lines(&router, &InputRouter::lineStepRequested);
        QWidget window;
        window.setFocusPolicy(Qt::StrongFocus);
        QVERIFY(activate(&window, &window));
        for (const Press &p : presses) {
            now = 5000 + p.at;
            QTest::simulateEvent(&window, true, p.key, p.modifiers, QString(), p.autoRepeat);
        }
        QCOMPARE(triggeredActions(triggered), expected);
        QTEST(int(lines.size()), "lines");
        QCOMPARE(observed.size(), expected.size() + lines.size());
    }

    // Digits that no command has type a page number: Enter ends it, Escape and a pause drop it,
    // Backspace takes the last digit; a digit with a command keeps it; the page box keeps its own.
    void digitsTypeAPageNumber_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<bool>("inPageBox");
        QTest::addColumn<QList<int>>("entered");
        QTest::addColumn<Actions>("triggered");
        const int enter = Qt::Key_Return;
        QTest::newRow("digits and Enter") << QList<int>{Qt::Key_2, Qt::Key_5, enter} << false << QList<int>{25} << Actions{};
        QTest::newRow("Escape cancels and ends nothing else")
            << QList<int>{Qt::Key_2, Qt::Key_Escape, enter} << false << QList<int>{} << Actions{};
        QTest::newRow("Backspace takes the last digit")
            << QList<int>{Qt::Key_2, Qt::Key_5, Qt::Key_Backspace, enter} << false << QList<int>{2} << Actions{};
        QTest::newRow("a digit with a command keeps it")
            << QList<int>{Qt::Key_2, Qt::Key_9, enter} << false << QList<int>{2} << Actions{Action::ToggleTimer};
        QTest::newRow("Escape without digits is its command")
            << QList<int>{Qt::Key_Escape} << false << QList<int>{} << Actions{Action::ExitPresentation};
        QTest::newRow("the page box keeps its digits") << QList<int>{Qt::Key_2, enter} << true << QList<int>{} << Actions{};
    }

    void digitsTypeAPageNumber()
    {
        QFETCH(QList<int>, keys);
        QFETCH(bool, inPageBox);
        QFETCH(QList<int>, entered);
        InputRouter router;
        qint64 now = 0;
        router.setClock([&now] { return now; });
        router.setBinding(Action::ToggleTimer, InputTest::keys(u"9"_qs));
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy numbers(&router, &InputRouter::pageNumberEntered);
        QWidget window;
        auto *box = new QSpinBox(&window);
        QVERIFY(activate(&window, inPageBox ? static_cast<QWidget *>(box) : &window));
        for (const int key : keys) {
            now += 1000;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        }
        QList<int> numbersEntered;
        for (const QVariantList &number : std::as_const(numbers))
            numbersEntered.append(number.constFirst().toInt());
        QCOMPARE(numbersEntered, entered);
        QTEST(triggeredActions(triggered), "triggered");
    }

    void aPauseDropsATypedPageNumber()
    {
        InputRouter router;
        router.setPageNumberTimeout(50);
        QSignalSpy digits(&router, &InputRouter::pageNumberChanged);
        QSignalSpy numbers(&router, &InputRouter::pageNumberEntered);
        QWidget window;
        QVERIFY(activate(&window, &window));
        QTest::keyClick(&window, Qt::Key_7);
        QTRY_COMPARE(digits.constLast().constFirst().toString(), QString());
        QTest::keyClick(&window, Qt::Key_Return);
        QVERIFY(numbers.isEmpty());
    }

    void letterTypedIntoField_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("ignoreText");
        QTest::addColumn<bool>("routed");
        QTest::newRow("line edit, ignoring text") << u"lineEdit"_qs << true << false;
        QTest::newRow("line edit, not ignoring text") << u"lineEdit"_qs << false << true;
        QTest::newRow("spin box takes no letters") << u"spinBox"_qs << true << true;
        QTest::newRow("editable combo box, ignoring text") << u"editableCombo"_qs << true << false;
        QTest::newRow("fixed combo box is no text input") << u"fixedCombo"_qs << true << true;
        // Key capture fields always get their keys; in test mode too (see the binding dialog).
        QTest::newRow("key sequence editor, not ignoring text") << u"keySequenceEdit"_qs << false << false;
    }
    void letterTypedIntoField()
    {
        QFETCH(QString, kind);
        QFETCH(bool, ignoreText);
        QFETCH(bool, routed);
        InputRouter router;
        router.setIgnoreText(ignoreText);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QWidget window;
        QWidget *field = nullptr;
        if (kind == u"lineEdit"_qs)
            field = new QLineEdit(&window);
        else if (kind == u"spinBox"_qs)
            field = new QSpinBox(&window);
        else if (kind == u"keySequenceEdit"_qs)
            field = new QKeySequenceEdit(&window);
        else
            field = new QComboBox(&window);
        if (auto *combo = qobject_cast<QComboBox *>(field))
            combo->setEditable(kind == u"editableCombo"_qs);
        QVERIFY(activate(&window, field));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
        QCOMPARE(triggeredActions(triggered), routed ? Actions{Action::ToggleBlackout} : Actions{});
        // A routed key is consumed, not typed.
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            QCOMPARE(edit->text(), routed ? QString() : u"b"_qs);
        if (auto *editor = qobject_cast<QKeySequenceEdit *>(field))
            QCOMPARE(editor->keySequence(), QKeySequence(Qt::Key_B));
    }

    void boundKeysBeatMenuShortcutsButNotOpenMenusOrModalBoxes()
    {
        InputRouter router;
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QMainWindow window;
        QMenu *menu = window.menuBar()->addMenu(u"&Presentation"_qs);
        QAction *menuAction = menu->addAction(u"Blackout"_qs);
        menuAction->setShortcut(QKeySequence(Qt::Key_B));
        QSignalSpy menuTriggered(menuAction, &QAction::triggered);
        auto *central = new QWidget;
        central->setFocusPolicy(Qt::StrongFocus);
        window.setCentralWidget(central);
        QVERIFY(activate(&window, central));
        QTest::keyClick(central, Qt::Key_B);
        QCOMPARE(triggeredActions(triggered), Actions{Action::ToggleBlackout});
        QCOMPARE(menuTriggered.size(), 0);

        // An open menu and a modal box keep their keys.
        menu->popup(window.mapToGlobal(QPoint(10, 10)));
        QTRY_COMPARE(QApplication::activePopupWidget(), menu);
        QTest::keyClick(menu, Qt::Key_T);
        QTest::keyClick(central, Qt::Key_PageDown);
        menu->close();
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QMessageBox box(QMessageBox::Warning, u"Title"_qs, u"Text"_qs, QMessageBox::Ok, &window);
        box.open();
        QTRY_COMPARE(QApplication::activeModalWidget(), &box);
        QTest::keyClick(&box, Qt::Key_T);
        QTest::keyClick(central, Qt::Key_PageDown);
        QCOMPARE(triggered.size(), 1);

        // Once the key is unbound the menu command gets it again.
        box.close();
        QVERIFY(activate(&window, central));
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
        auto *edit = new QLineEdit(&window);
        auto *button = new QPushButton(u"Button"_qs, &window);
        QVERIFY(activate(&window, edit));

        // Unbound: reported and typed; bound: reported, consumed, not performed.
        QTest::keyClick(edit, Qt::Key_X);
        QTest::keyClick(edit, Qt::Key_B);
        QCOMPARE(edit->text(), u"x"_qs);
        // A key the button ignores travels up to the window, and is still reported once.
        QVERIFY(activate(&window, button));
        QTest::keyClick(button, Qt::Key_Y);

        const QList<QList<QVariant>> expected{{u"X"_qs, u"Unassigned"_qs},
                                              {u"B"_qs, u"Blackout / resume output"_qs},
                                              {u"Y"_qs, u"Unassigned"_qs}};
        QCOMPARE(static_cast<const QList<QList<QVariant>> &>(observed), expected);
        QCOMPARE(triggered.size(), 0);
    }
};

OLVANTI_TEST_MAIN(TestInputRouter)
#include "tst_input_router.moc"
