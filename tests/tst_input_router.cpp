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

#include <algorithm>

using namespace InputTest;

namespace {

const char *const invalidWarning = "Invalid persisted key mapping; restoring defaults";

struct Press
{
    Qt::Key key;
    qint64 at = 0; // clock reading in milliseconds
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
    // An empty store gives the defaults; a stored interval is limited to 0..1000 ms.
    void defaultsAndTheStoredInterval_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("empty store") << QVariant() << 140;
        QTest::newRow("far above the maximum") << QVariant(5000) << 1000;
        QTest::newRow("negative") << QVariant(-3) << 0;
        QTest::newRow("not a number falls back to the default") << QVariant(u"soon"_qs) << 140;
    }
    void defaultsAndTheStoredInterval()
    {
        QFETCH(QVariant, stored);
        QTest::failOnWarning(invalidWarning);
        auto store = freshStore();
        if (stored.isValid())
            store->setValue(u"input/debounceMs"_qs, stored);
        InputRouter router; // registers the meta type
        QCOMPARE(QMetaType::fromName("Action"), QMetaType::fromType<Action>());
        router.setIgnoreText(false);
        router.setDebounceMs(500);
        router.loadSettings(AppSettings(*store));
        QCOMPARE(router.ignoreText(), true);
        QTEST(router.debounceMs(), "loaded");
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

    // Repeats are swallowed (auto-repeat always, the same combination within the interval),
    // except held arrows that step lines in scroll reading. Digits that no command has type a
    // page number: Enter ends it, Escape and a pause drop it, Backspace takes the last digit.
    void pressesBecomeCommands_data()
    {
        QTest::addColumn<Presses>("presses");
        QTest::addColumn<Actions>("expected");
        QTest::addColumn<int>("lines"); // arrow presses that became line steps
        QTest::addColumn<QList<QVariantList>>("entered"); // page numbers
        QTest::addColumn<bool>("scrollMode");
        QTest::addColumn<int>("debounceMs");
        QTest::addColumn<bool>("inPageBox");
        const auto row = [](const char *name, const Presses &presses, const Actions &expected, int lines = 0,
                            const QList<QVariantList> &entered = {}, bool scrollMode = false, int debounceMs = 140,
                            bool inPageBox = false) {
            QTest::newRow(name) << presses << expected << lines << entered << scrollMode << debounceMs << inPageBox;
        };
        const auto next = Action::NextSlide;
        const auto right = Qt::Key_Right;
        const auto down = Qt::Key_Down;
        const auto pageDown = Qt::Key_PageDown;
        const Press enter{Qt::Key_Return}, escape{Qt::Key_Escape}, pause{Qt::Key(0)};
        row("holding Right: auto-repeat and quick re-press swallowed, 140 ms later routed",
            {{right, 0}, repeat(right, 30), {right, 100}, {right, 139}, {right, 140}, repeat(right, 400)}, {next, next});
        row("Right then Space at once: different combinations both route", {{right, 0}, {Qt::Key_Space, 1}}, {next, next});
        row("interval 0 suppresses nothing but auto-repeat", {{right, 0}, {right, 0}, repeat(right, 0)}, {next, next}, 0,
            {}, false, 0);
        row("held Down outside scroll reading is swallowed", {{down, 0}, repeat(down, 300)}, {next});
        row("scroll reading: held Down steps lines at every repeat",
            {{down, 0}, repeat(down, 30), repeat(down, 60), {down, 70}}, {}, 4, {}, true);
        row("scroll reading: Page Down keeps both rules",
            {{pageDown, 0}, repeat(pageDown, 30), {pageDown, 60}, {pageDown, 140}}, {next, next}, 0, {}, true);
        row("keypad arrows match plain arrows",
            {{right, 0, Qt::KeypadModifier}, {Qt::Key_Left, 1, Qt::KeypadModifier},
             {right, 2, Qt::KeypadModifier | Qt::ControlModifier}},
            {next, Action::PreviousSlide, Action::NextReaderPage});
        row("Escape cancels and ends nothing else", {{Qt::Key_2}, escape, enter}, {});
        row("a pause drops the digits", {{Qt::Key_7}, pause, enter}, {});
        row("Backspace takes the last digit", {{Qt::Key_2}, {Qt::Key_5}, {Qt::Key_Backspace}, enter}, {}, 0, {{2}});
        // 9 is bound to start the timer here.
        row("a digit with a command keeps it", {{Qt::Key_2}, {Qt::Key_9}, enter}, {Action::ToggleTimer}, 0, {{2}});
        row("Escape without digits is its command", {escape}, {Action::ExitPresentation});
        row("the page box keeps its digits", {{Qt::Key_2}, enter}, {}, 0, {}, false, 140, true);
    }
    void pressesBecomeCommands()
    {
        QFETCH(Presses, presses);
        QFETCH(bool, scrollMode);
        QFETCH(int, debounceMs);
        QFETCH(bool, inPageBox);
        InputRouter router;
        qint64 now = 0;
        router.setClock([&now] { return now; });
        router.setScrollMode(scrollMode);
        router.setDebounceMs(debounceMs);
        router.setBinding(Action::ToggleTimer, keys(u"9"_qs));
        // Short only where a row pauses, so that no other row depends on the machine's speed.
        if (std::any_of(presses.cbegin(), presses.cend(), [](const Press &p) { return p.key == 0; }))
            router.setPageNumberTimeout(50);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy observed(&router, &InputRouter::observed);
        QSignalSpy lines(&router, &InputRouter::lineStepRequested);
        QSignalSpy digits(&router, &InputRouter::pageNumberChanged);
        QSignalSpy numbers(&router, &InputRouter::pageNumberEntered);
        QWidget window;
        window.setFocusPolicy(Qt::StrongFocus);
        auto *box = new QSpinBox(&window);
        QVERIFY(activate(&window, inPageBox ? static_cast<QWidget *>(box) : &window));
        for (const Press &p : presses) {
            now = 5000 + p.at;
            if (p.key == 0)
                QTRY_COMPARE(digits.constLast().constFirst().toString(), QString());
            else
                QTest::simulateEvent(QApplication::focusWidget(), true, p.key, p.modifiers, QString(), p.autoRepeat);
        }
        QTEST(triggeredActions(triggered), "expected");
        QTEST(int(lines.size()), "lines");
        QTEST(QList<QVariantList>(numbers), "entered");
        QCOMPARE(observed.size(), triggered.size() + lines.size());
    }

    // Where a press goes. The window's menu has B and Q as shortcuts; B is bound, Q is not. The
    // fixed combo box takes no shortcut of its own, so its row shows that B beats the menu's.
    void keysReachTheirOwner_data()
    {
        QTest::addColumn<QString>("focus"); // the focused child, or a menu or box open
        QTest::addColumn<bool>("ignoreText");
        QTest::addColumn<bool>("testMode");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("menuTriggered");
        QTest::addColumn<QString>("typed"); // into the line edit
        QTest::addColumn<QString>("reported");
        const QString b = u"B -> Blackout / resume output"_qs;
        const auto row = [](const char *name, const char *focus, bool ignoreText, bool testMode, Qt::Key key, int menu,
                            const QString &typed, const QString &reported) {
            QTest::newRow(name) << QString::fromLatin1(focus) << ignoreText << testMode << int(key) << menu << typed
                                << reported;
        };
        row("line edit, ignoring text", "lineEdit", true, false, Qt::Key_B, 0, u"b"_qs, QString());
        row("line edit, not ignoring text", "lineEdit", false, false, Qt::Key_B, 0, QString(), b);
        row("spin box takes no letters", "spinBox", true, false, Qt::Key_B, 0, QString(), b);
        row("editable combo box, ignoring text", "editableCombo", true, false, Qt::Key_B, 0, QString(), QString());
        row("fixed combo box is no text input", "fixedCombo", true, false, Qt::Key_B, 0, QString(), b);
        // Key capture fields always get their keys; in test mode too (see the binding dialog).
        row("key sequence editor, not ignoring text", "keySequenceEdit", false, false, Qt::Key_B, 0, QString(),
            QString());
        row("an unbound key reaches the menu's shortcut", "window", true, false, Qt::Key_Q, 1, QString(), QString());
        row("an open menu keeps its keys", "menu", true, false, Qt::Key_PageDown, 0, QString(), QString());
        row("a modal box keeps its keys", "box", true, false, Qt::Key_PageDown, 0, QString(), QString());
        row("test mode: a bound key is reported, not performed", "lineEdit", true, true, Qt::Key_B, 0, QString(), b);
        row("test mode: an unbound key is reported and typed", "lineEdit", true, true, Qt::Key_X, 0, u"x"_qs,
            u"X -> Unassigned"_qs);
        // It travels up to the window, and is still reported once.
        row("test mode: a key the button ignores", "button", true, true, Qt::Key_Y, 0, QString(),
            u"Y -> Unassigned"_qs);
    }
    void keysReachTheirOwner()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        InputRouter router;
        QFETCH(bool, ignoreText);
        router.setIgnoreText(ignoreText);
        QFETCH(bool, testMode);
        router.setCaptureMode(testMode);
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QStringList reported;
        connect(&router, &InputRouter::observed, this,
                [&reported](const QString &key, const QString &action) { reported << key + u" -> "_qs + action; });
        QMainWindow window;
        QMenu *menu = window.menuBar()->addMenu(u"&Presentation"_qs);
        QAction *menuAction = menu->addAction(u"Blackout"_qs);
        menuAction->setShortcuts({QKeySequence(Qt::Key_B), QKeySequence(Qt::Key_Q)});
        QSignalSpy menuTriggered(menuAction, &QAction::triggered);
        auto *central = new QWidget;
        central->setFocusPolicy(Qt::StrongFocus);
        window.setCentralWidget(central);
        auto *edit = new QLineEdit(central);
        auto *editableCombo = new QComboBox(central);
        editableCombo->setEditable(true);
        const QMap<QString, QWidget *> fields{{u"lineEdit"_qs, edit},
                                              {u"spinBox"_qs, new QSpinBox(central)},
                                              {u"editableCombo"_qs, editableCombo},
                                              {u"fixedCombo"_qs, new QComboBox(central)},
                                              {u"keySequenceEdit"_qs, new QKeySequenceEdit(central)},
                                              {u"button"_qs, new QPushButton(u"Button"_qs, central)}};
        QVERIFY(activate(&window, fields.value(focus, central)));
        QMessageBox box(QMessageBox::Warning, u"Title"_qs, u"Text"_qs, QMessageBox::Ok, &window);
        if (focus == u"menu"_qs) {
            menu->popup(window.mapToGlobal(QPoint(10, 10)));
            QTRY_COMPARE(QApplication::activePopupWidget(), menu);
        } else if (focus == u"box"_qs) {
            box.open();
            QTRY_COMPARE(QApplication::activeModalWidget(), &box);
        }
        QTest::keyClick(fields.contains(focus) ? QApplication::focusWidget() : central, Qt::Key(key));
        // A routed press is reported, and performed outside test mode.
        QCOMPARE(triggered.size(), testMode ? 0 : reported.size());
        QTEST(int(menuTriggered.size()), "menuTriggered");
        QTEST(edit->text(), "typed");
        QTEST(reported.join(u"; "_qs), "reported");
    }
};

OLVANTI_TEST_MAIN(TestInputRouter)
#include "tst_input_router.moc"
