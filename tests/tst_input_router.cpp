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
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace InputTest;

const char *const invalidWarning = "Invalid persisted key mapping; restoring defaults";

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
    // Read back as at the next start, then saved and read back again: the same both times.
    void loadStoredBindings()
    {
        QFETCH(int, action);
        QFETCH(QVariant, stored);
        QFETCH(bool, valid);
        QFETCH(Keys, loaded);
        auto store = freshStore();
        store->setValue(u"input/ignoreText"_qs, false);
        store->setValue(u"input/debounceMs"_qs, 0);
        store->setValue(u"input/keys/14"_qs, QStringList{u"F9"_qs}); // valid on its own
        // Keys for the unused numbers are never read, however broken.
        store->setValue(u"input/keys/6"_qs, u"Foo"_qs);
        store->setValue(u"input/keys/8"_qs, QStringList{u"B"_qs, u"B"_qs});
        store->setValue(u"input/keys/%1"_qs.arg(action), stored);
        if (valid)
            QTest::failOnWarning(invalidWarning);
        else
            QTest::ignoreMessage(QtWarningMsg, invalidWarning);
        BindingTable expected = InputRouter::defaultBindings();
        if (valid) {
            expected.insert(Action::TimerMinusTenSeconds, keys(u"F9"_qs));
            expected.insert(static_cast<Action>(action), loaded);
        }
        for (int round = 0; round < 2; ++round) {
            store->sync();
            QSettings reread(store->fileName(), QSettings::IniFormat);
            InputRouter router;
            router.loadSettings(AppSettings(reread));
            QCOMPARE(router.bindings(), expected);
            // A refused table never costs the options.
            QCOMPARE(router.ignoreText(), false);
            QCOMPARE(router.debounceMs(), 0);
            store = freshStore();
            AppSettings settings(*store);
            router.saveSettings(settings);
            // The two options and one key per bindable action, never 6, 8 or 19.
            QCOMPARE(store->allKeys().size(), 19);
            for (int value = 0; value <= 19; ++value)
                QCOMPARE(store->contains(u"input/keys/%1"_qs.arg(value)), value != 6 && value != 8 && value != 19);
        }
    }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // the keys, '|' between them, or the error
        QTest::newRow("spaces and empty pieces") << u" Right ;; Space;"_qs << u"Right|Space"_qs;
        QTest::newRow("unknown key keeps its leading space") << u"Right; Foo"_qs << u"Invalid key:  Foo"_qs;
        QTest::newRow("only semicolons is unassigned") << u";;;"_qs << QString();
        QTest::newRow("modifiers, as written by the text form")
            << InputRouter::bindingText(keys(u"Ctrl+Alt+Del|Shift+F5"_qs)) << u"Ctrl+Alt+Del|Shift+F5"_qs;
        QTest::newRow("multi-key passes parsing") << u"Ctrl+A, B"_qs << u"Ctrl+A, B"_qs;
        QTest::newRow("unknown name after a known one") << u"C,rl+Left@"_qs << u"Invalid key: C,rl+Left@"_qs;
        QTest::newRow("control character is not a key")
            << u",,"_qs + QChar(0) + u",l+l"_qs << u"Invalid key: ,,"_qs + QChar(0) + u",l+l"_qs;
        QTest::newRow("blank piece is not a key") << u"Right; ;Space"_qs << u"Invalid key:  "_qs;
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const Keys untouched = keys(u"F12"_qs);
        Keys out = untouched;
        const bool valid = !expected.startsWith(u"Invalid key:"_qs);
        QCOMPARE(InputRouter::parseBindingText(text, &out), valid ? QString() : expected);
        QCOMPARE(out, valid ? keys(expected) : untouched);
    }

    // Where a press goes, in a window whose menu has B and Q as shortcuts (B is bound, Q is not)
    // and 9 starts the timer. A row's words, in order: "text" (text is not ignored), "test" (test
    // mode), "scroll" (scroll reading), "interval0"; the focused child, or a menu or a box open;
    // then the presses: "Key", "Key@ms" (the clock; else as before), "Key*" (auto-repeat), "pause".
    // Out come the commands, line steps, page numbers, the menu's shortcut, test mode's reports
    // and what the line edit got.
    void keysReachTheirOwner_data()
    {
        QTest::addColumn<QString>("presses");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *presses, const char *expected) {
            QTest::newRow(name) << QString::fromUtf8(presses) << QString::fromUtf8(expected);
        };
        const char *const b = "Blackout / resume output";
        row("line edit, ignoring text", "lineEdit B", "typed b");
        row("line edit, not ignoring text", "text lineEdit B", b);
        row("spin box takes no letters", "spinBox B", b);
        row("editable combo box, ignoring text", "editableCombo B", "");
        // It takes no shortcut of its own, so B beats the menu's.
        row("fixed combo box is no text input", "fixedCombo B", b);
        // Key capture fields always get their keys, in test mode too.
        row("key sequence editor in test mode, not ignoring text", "test text keySequenceEdit B", "");
        row("an unbound key reaches the menu's shortcut", "Q", "menu");
        row("an open menu keeps its keys", "menu PgDown", "");
        row("a modal box keeps its keys", "box PgDown", "");
        row("test mode: a bound key is reported, not performed", "test lineEdit B", "B -> Blackout / resume output");
        row("test mode: an unbound key is reported and typed", "test lineEdit X", "X -> Unassigned, typed x");
        // It travels up to the window, and is still reported once.
        row("test mode: a key the button ignores", "test button Y", "Y -> Unassigned");
        // Repeats are swallowed (auto-repeat always, the same combination within the interval),
        // except held arrows that step lines in scroll reading.
        row("holding Right: auto-repeat and quick re-press swallowed, 140 ms later routed",
            "Right Right*@30 Right@100 Right@139 Right@140 Right*@400", "Next slide, Next slide");
        row("Right then Space at once: different combinations both route", "Right Space@1", "Next slide, Next slide");
        row("interval 0 suppresses nothing but auto-repeat", "interval0 Right Right Right*", "Next slide, Next slide");
        row("held Down outside scroll reading is swallowed", "Down Down*@300", "Next slide");
        row("scroll reading: held Down steps lines at every repeat", "scroll Down Down*@30 Down*@60 Down@70",
            "line, line, line, line");
        row("scroll reading: Page Down keeps both rules", "scroll PgDown PgDown*@30 PgDown@60 PgDown@140",
            "Next slide, Next slide");
        row("keypad arrows match plain arrows", "Num+Right Num+Left@1 Ctrl+Num+Right@2",
            "Next slide, Previous slide, Go to next reader page");
        // Digits that no command has type a page number: Enter ends it, Escape and a pause drop
        // it, Backspace takes the last digit.
        row("Escape cancels and ends nothing else", "2 Esc Return", "");
        row("a pause drops the digits", "7 pause Return", "");
        row("Backspace takes the last digit", "2 5 Backspace Return", "page 2");
        row("a digit with a command keeps it", "2 9 Return", "Start / pause timer, page 2");
        row("Escape without digits is its command", "Esc", "Exit presentation");
        row("the page box keeps its digits", "spinBox 2 Return", "");
    }
    void keysReachTheirOwner()
    {
        QFETCH(QString, presses);
        const QStringList words = presses.split(u' ', Qt::SkipEmptyParts);
        const QStringList options{u"text"_qs, u"test"_qs, u"scroll"_qs, u"interval0"_qs};
        InputRouter router;
        router.setIgnoreText(!words.contains(options.at(0)));
        router.setCaptureMode(words.contains(options.at(1)));
        router.setScrollMode(words.contains(options.at(2)));
        router.setDebounceMs(words.contains(options.at(3)) ? 0 : 140);
        qint64 now = 5000;
        router.setClock([&now] { return now; });
        router.setBinding(Action::ToggleTimer, keys(u"9"_qs));
        // Short only where a row pauses, so that no other row depends on the machine's speed.
        if (presses.contains(u"pause"_qs))
            router.setPageNumberTimeout(50);
        QStringList out;
        connect(&router, &InputRouter::triggered, this, [&out](Action action) { out << actionName(action); });
        connect(&router, &InputRouter::lineStepRequested, this, [&out] { out << u"line"_qs; });
        connect(&router, &InputRouter::pageNumberEntered, this, [&out](int page) { out << u"page %1"_qs.arg(page); });
        connect(&router, &InputRouter::observed, this, [&](const QString &key, const QString &action) {
            if (router.captureMode())
                out << key + u" -> "_qs + action;
        });
        QSignalSpy triggered(&router, &InputRouter::triggered);
        QSignalSpy lines(&router, &InputRouter::lineStepRequested);
        QSignalSpy observed(&router, &InputRouter::observed);
        QSignalSpy digits(&router, &InputRouter::pageNumberChanged);

        QMainWindow window;
        QMenu *menu = window.menuBar()->addMenu(u"&Presentation"_qs);
        QAction *menuAction = menu->addAction(u"Blackout"_qs);
        menuAction->setShortcuts({QKeySequence(Qt::Key_B), QKeySequence(Qt::Key_Q)});
        connect(menuAction, &QAction::triggered, this, [&out] { out << u"menu"_qs; });
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
        QVERIFY(activate(&window, central));
        QMessageBox box(QMessageBox::Warning, u"Title"_qs, u"Text"_qs, QMessageBox::Ok, &window);
        bool held = false; // an open menu or box: the press is sent to the window below it
        const QRegularExpression press(u"([^*@]+)(\\*?)(?:@(\\d+))?"_qs);
        for (const QString &word : words) {
            const QRegularExpressionMatch m = press.match(word);
            const QKeyCombination key = QKeySequence::fromString(m.captured(1), QKeySequence::PortableText)[0];
            if (fields.contains(word)) {
                QVERIFY(activate(&window, fields.value(word)));
            } else if (word == u"menu"_qs || word == u"box"_qs) {
                word == u"menu"_qs ? menu->popup(window.mapToGlobal(QPoint(10, 10))) : box.open();
                QTRY_VERIFY(QApplication::activePopupWidget() == menu || QApplication::activeModalWidget() == &box);
                held = true;
            } else if (word == u"pause"_qs) {
                QTRY_COMPARE(digits.constLast().constFirst().toString(), QString());
            } else if (!options.contains(word)) {
                QVERIFY2(key.key() != Qt::Key_unknown && key.key() != 0, qPrintable(word));
                if (!m.captured(3).isEmpty())
                    now = 5000 + m.captured(3).toInt();
                QWidget *target = held ? central : QApplication::focusWidget();
                if (m.captured(2).isEmpty())
                    QTest::keyClick(target, key.key(), key.keyboardModifiers());
                else
                    QTest::simulateEvent(target, true, key.key(), key.keyboardModifiers(), QString(), true);
            }
        }
        if (!edit->text().isEmpty())
            out << u"typed "_qs + edit->text();
        QTEST(out.join(u", "_qs), "expected");
        // Outside test mode every routed press is reported, once.
        if (!router.captureMode())
            QCOMPARE(observed.size(), triggered.size() + lines.size());
    }
};

OLVANTI_TEST_MAIN(TestInputRouter)
#include "tst_input_router.moc"
