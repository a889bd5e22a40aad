#include "input/inputrouter.h"
#include "inputsupport.h"
#include "testenv.h"

#include "base/appsettings.h"

#include <QApplication>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace InputTest;

namespace {

const char *const invalidWarning = "Invalid persisted key mapping; restoring defaults";

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
    void defaultsWithEmptyStore()
    {
        QTest::failOnWarning(invalidWarning);
        auto store = freshStore();
        InputRouter router; // registers the meta type
        QCOMPARE(QMetaType::fromName("Action"), QMetaType::fromType<Action>());
        router.setIgnoreText(false);
        router.setDebounceMs(500);
        router.loadSettings(AppSettings(*store));
        QCOMPARE(router.ignoreText(), true);
        QCOMPARE(router.debounceMs(), 140);
        QList<int> values;
        QStringList texts;
        for (const Action action : InputRouter::bindableActions()) {
            values.append(int(action));
            texts.append(InputRouter::bindingText(router.bindings().value(action)));
        }
        // The numbers name the stored keys, so neither they nor the order may change.
        QCOMPARE(values, (QList<int>{0, 1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));
        // The first one is the edit text of Next slide.
        QCOMPARE(texts, (QStringList{u"PgDown; Right; Down; Space"_qs, u"PgUp; Left; Up"_qs, u"Home"_qs, u"End"_qs,
                                     u"Ctrl+Right"_qs, u"Ctrl+Left"_qs, u"B; ."_qs, u"T"_qs, u"Esc"_qs, u"Shift+Up"_qs,
                                     u"Shift+Down"_qs, u"Shift+Right"_qs, u"Shift+Left"_qs, u"R"_qs, u"Backspace"_qs,
                                     u"O"_qs, QString()}));
        for (const int unnamed : {-1, 6, 8, 19})
            QCOMPARE(actionName(static_cast<Action>(unnamed)), QString());
    }

    void debounceIsClamped_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("far above the maximum") << QVariant(5000) << 1000;
        QTest::newRow("negative") << QVariant(-3) << 0;
        QTest::newRow("not a number falls back to the default") << QVariant(u"soon"_qs) << 140;
    }
    void debounceIsClamped()
    {
        QFETCH(QVariant, stored);
        auto store = freshStore();
        store->setValue(u"input/debounceMs"_qs, stored);
        InputRouter router;
        router.loadSettings(AppSettings(*store));
        QTEST(router.debounceMs(), "loaded");
    }

    void loadStoredBindings_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<Keys>("loaded");
        QTest::newRow("empty list leaves blackout unassigned") << 7 << QVariant(QStringList()) << true << Keys();
        QTest::newRow("list in stored order")
            << 0 << QVariant(QStringList{u"Return"_qs, u"PgDown"_qs}) << true << keys(u"Return|PgDown"_qs);
        QTest::newRow("empty strings are dropped")
            << 1 << QVariant(QStringList{QString(), u"PgUp"_qs}) << true << keys(u"PgUp"_qs);
        QTest::newRow("single string") << 15 << QVariant(u"F5"_qs) << true << keys(u"F5"_qs);
        QTest::newRow("B bound to next slide and blackout") << 0 << QVariant(QStringList{u"B"_qs}) << false << Keys();
        QTest::newRow("unknown key name") << 2 << QVariant(QStringList{u"Foo"_qs}) << false << Keys();
        QTest::newRow("several keys in one binding") << 9 << QVariant(QStringList{u"Ctrl+A, B"_qs}) << false << Keys();
    }
    void loadStoredBindings()
    {
        QFETCH(int, action);
        QFETCH(QVariant, stored);
        QFETCH(bool, valid);
        QFETCH(Keys, loaded);
        auto store = freshStore();
        store->setValue(u"input/ignoreText"_qs, false);
        store->setValue(u"input/debounceMs"_qs, 300);
        store->setValue(u"input/keys/14"_qs, QStringList{u"F9"_qs}); // valid on its own
        store->setValue(u"input/keys/%1"_qs.arg(action), stored);
        store->sync();
        // Read back through a second store, as at the next start.
        QSettings reread(store->fileName(), QSettings::IniFormat);
        InputRouter router;
        if (valid)
            QTest::failOnWarning(invalidWarning);
        else
            QTest::ignoreMessage(QtWarningMsg, invalidWarning);
        router.loadSettings(AppSettings(reread));

        BindingTable expected = InputRouter::defaultBindings();
        if (valid) {
            expected.insert(Action::TimerMinusTenSeconds, keys(u"F9"_qs));
            expected.insert(static_cast<Action>(action), loaded);
        }
        QCOMPARE(router.bindings(), expected);
        // A refused table never costs the options.
        QCOMPARE(router.ignoreText(), false);
        QCOMPARE(router.debounceMs(), 300);
    }

    void saveWritesEveryBindableActionAndLoadsBack()
    {
        QTest::failOnWarning(invalidWarning);
        auto store = freshStore();
        InputRouter saving;
        saving.setBinding(Action::ToggleBlackout, {});
        saving.setBinding(Action::NextSlide, keys(u"PgDown|Return|Ctrl+Space|Shift+Right"_qs));
        saving.setBinding(Action::TimerPlusTenSeconds, keys(u"Alt+Right"_qs));
        saving.setIgnoreText(false);
        saving.setDebounceMs(0);
        AppSettings settings(*store);
        saving.saveSettings(settings);
        // The two options and one key per bindable action, never 6 or 8.
        QCOMPARE(store->allKeys().size(), 19);
        for (int value = 0; value <= 19; ++value)
            QCOMPARE(store->contains(u"input/keys/%1"_qs.arg(value)), value != 6 && value != 8 && value != 19);
        QCOMPARE(store->value(u"input/keys/0"_qs).toStringList(),
                 (QStringList{u"PgDown"_qs, u"Return"_qs, u"Ctrl+Space"_qs, u"Shift+Right"_qs}));

        // Keys for the unused numbers are never read, however broken.
        store->setValue(u"input/keys/6"_qs, u"Foo"_qs);
        store->setValue(u"input/keys/8"_qs, QStringList{u"B"_qs, u"B"_qs});
        store->sync();
        QSettings reread(store->fileName(), QSettings::IniFormat);
        InputRouter loading;
        loading.loadSettings(AppSettings(reread));
        QCOMPARE(loading.bindings(), saving.bindings());
        QCOMPARE(loading.ignoreText(), false);
        QCOMPARE(loading.debounceMs(), 0);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("error");
        QTest::addColumn<Keys>("parsed");
        QTest::newRow("spaces and empty pieces") << u" Right ;; Space;"_qs << QString() << keys(u"Right|Space"_qs);
        QTest::newRow("unknown key keeps its leading space") << u"Right; Foo"_qs << u"Invalid key:  Foo"_qs << Keys();
        QTest::newRow("only semicolons is unassigned") << u";;;"_qs << QString() << Keys();
        QTest::newRow("modifiers, as written by the text form")
            << InputRouter::bindingText(keys(u"Ctrl+Alt+Del|Shift+F5"_qs)) << QString()
            << keys(u"Ctrl+Alt+Del|Shift+F5"_qs);
        QTest::newRow("multi-key passes parsing")
            << u"Ctrl+A, B"_qs << QString()
            << Keys{QKeySequence(QKeyCombination(Qt::CTRL | Qt::Key_A), QKeyCombination(Qt::Key_B))};
        QTest::newRow("unknown name after a known one") << u"C,rl+Left@"_qs << u"Invalid key: C,rl+Left@"_qs << Keys();
        QTest::newRow("control character is not a key")
            << u",,"_qs + QChar(0) + u",l+l"_qs << u"Invalid key: ,,"_qs + QChar(0) + u",l+l"_qs << Keys();
        QTest::newRow("blank piece is not a key") << u"Right; ;Space"_qs << u"Invalid key:  "_qs << Keys();
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, error);
        QFETCH(Keys, parsed);
        const Keys untouched = keys(u"F12"_qs);
        Keys out = untouched;
        QCOMPARE(InputRouter::parseBindingText(text, &out), error);
        QCOMPARE(out, error.isEmpty() ? parsed : untouched);
    }

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
        QTest::addColumn<QList<int>>("keys"); // 0: a pause
        QTest::addColumn<bool>("inPageBox");
        QTest::addColumn<QList<QVariantList>>("entered");
        QTest::addColumn<Actions>("triggered");
        const int enter = Qt::Key_Return;
        const QList<QVariantList> none;
        QTest::newRow("digits and Enter") << QList<int>{Qt::Key_2, Qt::Key_5, enter} << false << QList<QVariantList>{{25}}
                                          << Actions{};
        QTest::newRow("Escape cancels and ends nothing else")
            << QList<int>{Qt::Key_2, Qt::Key_Escape, enter} << false << none << Actions{};
        QTest::newRow("a pause drops the digits") << QList<int>{Qt::Key_7, 0, enter} << false << none << Actions{};
        QTest::newRow("Backspace takes the last digit")
            << QList<int>{Qt::Key_2, Qt::Key_5, Qt::Key_Backspace, enter} << false << QList<QVariantList>{{2}} << Actions{};
        QTest::newRow("a digit with a command keeps it")
            << QList<int>{Qt::Key_2, Qt::Key_9, enter} << false << QList<QVariantList>{{2}} << Actions{Action::ToggleTimer};
        QTest::newRow("Escape without digits is its command")
            << QList<int>{Qt::Key_Escape} << false << none << Actions{Action::ExitPresentation};
        QTest::newRow("the page box keeps its digits") << QList<int>{Qt::Key_2, enter} << true << none << Actions{};
    }

    void digitsTypeAPageNumber()
    {
        QFETCH(QList<int>, keys);
        QFETCH(bool, inPageBox);
        InputRouter router;
        qint64 now = 0;
        router.setClock([&now] { return now; });
        router.setBinding(Action::ToggleTimer, InputTest::keys(u"9"_qs));
        // Short only where a row pauses, so that no other row depends on the machine's speed.
        if (keys.contains(0))
            router.setPageNumberTimeout(50);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy digits(&router, &InputRouter::pageNumberChanged);
        QSignalSpy numbers(&router, &InputRouter::pageNumberEntered);
        QWidget window;
        auto *box = new QSpinBox(&window);
        QVERIFY(activate(&window, inPageBox ? static_cast<QWidget *>(box) : &window));
        for (const int key : keys) {
            now += 1000;
            if (key == 0)
                QTRY_COMPARE(digits.constLast().constFirst().toString(), QString());
            else
                QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        }
        QTEST(QList<QVariantList>(numbers), "entered");
        QTEST(triggeredActions(triggered), "triggered");
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
