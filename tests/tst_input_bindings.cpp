#include "input/inputrouter.h"
#include "inputsupport.h"
#include "testenv.h"

#include "base/appsettings.h"

#include <QSettings>
#include <QTest>

using namespace InputTest;

namespace {
const char *const invalidWarning = "Invalid persisted key mapping; restoring defaults";
}

class TestInputBindings : public QObject
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
        QCOMPARE(router.bindings().size(), 17);
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
        QCOMPARE(InputRouter::bindingText({}), QString());
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
        QTest::newRow("garbage text") << 3 << QVariant(u"%%;;\x01\x7f!!"_qs) << false << Keys();
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
        QVERIFY(loading.bindings().value(Action::ToggleBlackout).isEmpty());
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
};

OLVANTI_TEST_MAIN(TestInputBindings)
#include "tst_input_bindings.moc"
