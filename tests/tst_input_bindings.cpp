#include "input/inputrouter.h"
#include "testenv.h"

#include <QSettings>
#include <QTest>

namespace {

const char *const invalidWarning = "Invalid persisted key mapping; restoring defaults";

using Keys = QList<QKeySequence>;

Keys keys(const QString &portable)
{
    Keys list;
    for (const QString &piece : portable.split(QLatin1Char('|'), Qt::SkipEmptyParts))
        list.append(QKeySequence::fromString(piece, QKeySequence::PortableText));
    return list;
}

// A fresh, empty store per test case.
std::unique_ptr<QSettings> freshStore()
{
    static int counter = 0;
    const QString path = TestEnvironment::instance().path(QStringLiteral("bindings-%1.ini").arg(++counter));
    return std::make_unique<QSettings>(path, QSettings::IniFormat);
}

} // namespace

class TestInputBindings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void actionNames_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("name");
        QTest::newRow("0 next slide") << 0 << u"Next slide"_qs;
        QTest::newRow("1 previous slide") << 1 << u"Previous slide"_qs;
        QTest::newRow("4 next reader page") << 4 << u"Go to next reader page"_qs;
        QTest::newRow("5 previous reader page") << 5 << u"Go to previous reader page"_qs;
        QTest::newRow("6 has no action") << 6 << QString();
        QTest::newRow("7 blackout") << 7 << u"Blackout / resume output"_qs;
        QTest::newRow("8 has no action") << 8 << QString();
        QTest::newRow("9 timer") << 9 << u"Start / pause timer"_qs;
        QTest::newRow("12 minus minute") << 12 << u"Timer -1 minute"_qs;
        QTest::newRow("15 reset timer") << 15 << u"Reset timer"_qs;
        QTest::newRow("below range") << -1 << QString();
        QTest::newRow("above range") << 16 << QString();
    }
    void actionNames()
    {
        QFETCH(int, value);
        QFETCH(QString, name);
        QCOMPARE(actionName(static_cast<Action>(value)), name);
    }

    void actionIsRegisteredMetaType()
    {
        InputRouter router;
        const QMetaType type = QMetaType::fromName("Action");
        QVERIFY(type.isValid());
        QCOMPARE(type, QMetaType::fromType<Action>());
    }

    void bindableOrderIsFixed()
    {
        QList<int> values;
        for (const Action action : InputRouter::bindableActions())
            values.append(int(action));
        QCOMPARE(values, (QList<int>{0, 1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13, 14, 15}));
    }

    void defaultsWithEmptyStore()
    {
        QTest::failOnWarning(invalidWarning);
        auto store = freshStore();
        InputRouter router;
        router.setIgnoreText(false);
        router.setDebounceMs(500);
        router.loadSettings(*store);
        QCOMPARE(router.ignoreText(), true);
        QCOMPARE(router.debounceMs(), 140);
        QCOMPARE(router.validationError(), QString());

        const QStringList expected{u"PgDown; Right; Down; Space"_qs, u"PgUp; Left; Up"_qs, u"Home"_qs, u"End"_qs,
                                   u"Ctrl+Right"_qs, u"Ctrl+Left"_qs, u"B"_qs, u"T"_qs, u"Esc"_qs,
                                   u"Shift+Up"_qs, u"Shift+Down"_qs, u"Shift+Right"_qs, u"Shift+Left"_qs, u"R"_qs};
        QStringList actual;
        for (const Action action : InputRouter::bindableActions())
            actual.append(InputRouter::bindingText(router.bindings().value(action)));
        QCOMPARE(actual, expected);
        QCOMPARE(router.bindings().size(), 14);
    }

    void debounceIsClamped_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("loaded");
        QTest::newRow("far above the maximum") << QVariant(5000) << 1000;
        QTest::newRow("maximum kept") << QVariant(1000) << 1000;
        QTest::newRow("negative") << QVariant(-3) << 0;
        QTest::newRow("zero kept") << QVariant(0) << 0;
        QTest::newRow("not a number falls back to the default") << QVariant(u"soon"_qs) << 140;
    }
    void debounceIsClamped()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, loaded);
        auto store = freshStore();
        store->setValue(u"input/debounceMs"_qs, stored);
        InputRouter router;
        router.loadSettings(*store);
        QCOMPARE(router.debounceMs(), loaded);
    }

    void storedBindingsReplaceDefaults_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<Keys>("expected");
        QTest::newRow("empty list leaves blackout unassigned") << 7 << QVariant(QStringList()) << Keys();
        QTest::newRow("list in stored order") << 0 << QVariant(QStringList{u"Return"_qs, u"PgDown"_qs})
                                              << keys(u"Return|PgDown"_qs);
        QTest::newRow("empty strings are dropped") << 1 << QVariant(QStringList{QString(), u"PgUp"_qs})
                                                   << keys(u"PgUp"_qs);
        QTest::newRow("single string") << 15 << QVariant(u"F5"_qs) << keys(u"F5"_qs);
    }
    void storedBindingsReplaceDefaults()
    {
        QFETCH(int, action);
        QFETCH(QVariant, stored);
        QFETCH(Keys, expected);
        QTest::failOnWarning(invalidWarning);
        auto store = freshStore();
        store->setValue(u"input/keys/%1"_qs.arg(action), stored);
        store->sync();
        // Read back through a second store, as at the next start.
        QSettings reread(store->fileName(), QSettings::IniFormat);
        InputRouter router;
        router.loadSettings(reread);

        BindingTable expectedTable = InputRouter::defaultBindings();
        expectedTable.insert(static_cast<Action>(action), expected);
        QCOMPARE(router.bindings(), expectedTable);
    }

    void invalidStoreRestoresDefaults_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QVariant>("stored");
        QTest::newRow("B bound to next slide and blackout") << 0 << QVariant(QStringList{u"B"_qs});
        QTest::newRow("same key twice for one action") << 1 << QVariant(QStringList{u"PgUp"_qs, u"PgUp"_qs});
        QTest::newRow("unknown key name") << 2 << QVariant(QStringList{u"Foo"_qs});
        QTest::newRow("garbage text") << 3 << QVariant(u"%%;;\x01\x7f!!"_qs);
        QTest::newRow("several keys in one binding") << 9 << QVariant(QStringList{u"Ctrl+A, B"_qs});
    }
    void invalidStoreRestoresDefaults()
    {
        QFETCH(int, action);
        QFETCH(QVariant, stored);
        auto store = freshStore();
        store->setValue(u"input/ignoreText"_qs, false);
        store->setValue(u"input/debounceMs"_qs, 300);
        store->setValue(u"input/keys/14"_qs, QStringList{u"F9"_qs}); // valid on its own
        store->setValue(u"input/keys/%1"_qs.arg(action), stored);

        InputRouter router;
        QTest::ignoreMessage(QtWarningMsg, invalidWarning);
        router.loadSettings(*store);
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());
        QCOMPARE(router.ignoreText(), false);
        QCOMPARE(router.debounceMs(), 300);
    }

    void validation_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<Keys>("bound");
        QTest::addColumn<QString>("error");
        QTest::newRow("all unassigned is valid") << -1 << Keys() << QString();
        QTest::newRow("unused key is valid") << 15 << keys(u"R|F5"_qs) << QString();
        QTest::newRow("key of a later action") << 0 << keys(u"B"_qs)
                                               << u"Bindings must be unique, single key combinations: B"_qs;
        QTest::newRow("multi-key sequence")
            << 4 << Keys{QKeySequence(QKeyCombination(Qt::CTRL | Qt::Key_A), QKeyCombination(Qt::Key_B))}
            << u"Bindings must be unique, single key combinations: Ctrl+A, B"_qs;
        QTest::newRow("repeated within one action")
            << 10 << keys(u"Esc|Esc"_qs) << u"Bindings must be unique, single key combinations: Esc"_qs;
        QTest::newRow("unknown key") << 10 << Keys{QKeySequence(Qt::Key_unknown)}
                                     << u"Bindings must be unique, single key combinations: %1"_qs.arg(
                                            QKeySequence(Qt::Key_unknown).toString(QKeySequence::PortableText));
        QTest::newRow("first error in list order wins")
            << 15 << keys(u"Home|T"_qs) << u"Bindings must be unique, single key combinations: Home"_qs;
    }
    void validation()
    {
        QFETCH(int, action);
        QFETCH(Keys, bound);
        QFETCH(QString, error);
        InputRouter router;
        if (action < 0) {
            router.setBindings({});
        } else {
            router.setBinding(static_cast<Action>(action), bound);
        }
        QCOMPARE(router.validationError(), error);
    }

    void unusedNumbersAreNeverReadOrWritten()
    {
        QTest::failOnWarning(invalidWarning);
        auto store = freshStore();
        store->setValue(u"input/keys/6"_qs, u"Foo"_qs);
        store->setValue(u"input/keys/8"_qs, QStringList{u"B"_qs, u"B"_qs});
        InputRouter router;
        router.setBinding(static_cast<Action>(6), keys(u"F1"_qs));
        QCOMPARE(router.bindings().contains(static_cast<Action>(6)), false);
        router.loadSettings(*store);
        QCOMPARE(router.bindings(), InputRouter::defaultBindings());

        auto empty = freshStore();
        router.saveSettings(*empty);
        QStringList written = empty->allKeys();
        written.sort();
        QStringList expected{u"input/debounceMs"_qs, u"input/ignoreText"_qs};
        for (const int value : {0, 1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13, 14, 15})
            expected.append(u"input/keys/%1"_qs.arg(value));
        expected.sort();
        QCOMPARE(written, expected);
    }

    void saveAndLoadRoundTrip()
    {
        QTest::failOnWarning(invalidWarning);
        auto store = freshStore();
        InputRouter saving;
        saving.setBinding(Action::ToggleBlackout, {});
        saving.setBinding(Action::NextSlide, keys(u"PgDown|Return|Ctrl+Space|Shift+Right"_qs));
        saving.setBinding(Action::TimerPlusTenSeconds, keys(u"Alt+Right"_qs));
        saving.setIgnoreText(false);
        saving.setDebounceMs(0);
        saving.saveSettings(*store);
        store->sync();
        QCOMPARE(store->value(u"input/keys/0"_qs).toStringList(),
                 (QStringList{u"PgDown"_qs, u"Return"_qs, u"Ctrl+Space"_qs, u"Shift+Right"_qs}));

        QSettings reread(store->fileName(), QSettings::IniFormat);
        QVERIFY(reread.contains(u"input/keys/7"_qs));
        InputRouter loading;
        loading.loadSettings(reread);
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
        QTest::newRow("unknown key keeps its leading space")
            << u"Right; Foo"_qs << u"Invalid key:  Foo"_qs << Keys();
        QTest::newRow("only semicolons is unassigned") << u";;;"_qs << QString() << Keys();
        QTest::newRow("empty is unassigned") << QString() << QString() << Keys();
        QTest::newRow("double semicolon between keys") << u"PgDown;;Right"_qs << QString() << keys(u"PgDown|Right"_qs);
        QTest::newRow("modifiers") << u"Ctrl+Right; Shift+Up"_qs << QString() << keys(u"Ctrl+Right|Shift+Up"_qs);
        QTest::newRow("multi-key passes parsing") << u"Ctrl+A, B"_qs << QString()
                                                  << Keys{QKeySequence(QKeyCombination(Qt::CTRL | Qt::Key_A), QKeyCombination(Qt::Key_B))};
        QTest::newRow("blank piece is not a key") << u"Right; ;Space"_qs << u"Invalid key:  "_qs << Keys();
        QTest::newRow("first bad piece stops") << u"Bogus1;Bogus2"_qs << u"Invalid key: Bogus1"_qs << Keys();
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

    void bindingText()
    {
        QCOMPARE(InputRouter::bindingText(InputRouter::defaultBindings().value(Action::NextSlide)),
                 u"PgDown; Right; Down; Space"_qs);
        QCOMPARE(InputRouter::bindingText({}), QString());
        // The text form reads back to the same list.
        Keys back;
        const Keys list = keys(u"Ctrl+Alt+Del|Shift+F5|Esc"_qs);
        QCOMPARE(InputRouter::parseBindingText(InputRouter::bindingText(list), &back), QString());
        QCOMPARE(back, list);
    }
};

OLVANTI_TEST_MAIN(TestInputBindings)
#include "tst_input_bindings.moc"
