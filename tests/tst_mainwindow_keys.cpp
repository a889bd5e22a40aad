#include "inputsupport.h"
#include "testenv.h"
#include "windowtest.h"

#include "input/inputrouter.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/searchdialog.h"
#include "reader/scrollview.h"
#include "reader/thumbnailview.h"
#include "timer/countdown.h"
#include "ui/commands.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolBar>

#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;
using namespace WindowTest;

// Keys and clicker presses as the operator gives them, through the application's input routing.
class MainWindowKeysTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindow> m_window;
    qint64 m_now = 0;

    MainWindow &window() { return *m_window; }

    // Each press comes a second after the last, so repeat suppression never bites. It goes
    // where the keyboard focus is, as a clicker's does.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        m_now += 1000;
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : m_window.get(), key, modifiers);
    }

private Q_SLOTS:
    void init()
    {
        useProductSettings();
        m_window = std::make_unique<MainWindow>();
        m_window->inputRouter()->setClock([this] { return m_now; });
        m_window->countdown()->setClock([this] { return m_now; });
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        QVERIFY(openAndWait(*m_window, TestEnvironment::instance().deck(20)));
    }

    void cleanup() { m_window.reset(); }

    // Every slide command reached by its key, its menu entry and its button leaves the same
    // show, in both modes with the output on and off. From live page 3 and reader page 3.
    void everyPathOfACommandLeavesTheSameShow_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("presenter");
        QTest::addColumn<bool>("output");
        QTest::addColumn<QString>("expected"); // live page, reader page, blackout
        // Presenter mode (output off and on alike), reader mode with the output off, and on.
        const std::tuple<Action, const char *, const char *, const char *> rows[] = {
            {Action::NextSlide, "4 3", "3 4", "4 4"},
            {Action::PreviousSlide, "2 3", "3 2", "2 2"},
            {Action::FirstSlide, "1 3", "3 1", "1 1"},
            {Action::LastSlide, "20 3", "3 20", "20 20"},
            {Action::NextReaderPage, "3 4", "3 4", "4 4"},
            {Action::PreviousReaderPage, "3 2", "3 2", "2 2"},
            {Action::ToggleBlackout, "3 3 black", "3 3 black", "3 3 black"},
        };
        for (const auto &[command, presenter, readerOff, readerOn] : rows) {
            for (const bool output : {false, true}) {
                const QByteArray name = actionName(command).toLatin1();
                QTest::addRow("%s, presenter, output %s", name.constData(), output ? "on" : "off")
                    << int(command) << true << output << QString::fromLatin1(presenter);
                QTest::addRow("%s, reader, output %s", name.constData(), output ? "on" : "off")
                    << int(command) << false << output << QString::fromLatin1(output ? readerOn : readerOff);
            }
        }
    }

    void everyPathOfACommandLeavesTheSameShow()
    {
        QFETCH(int, command);
        QFETCH(bool, presenter);
        QFETCH(bool, output);
        QFETCH(QString, expected);
        const auto action = Action(command);
        Show *show = window().showModel();
        ReaderControl *reader = window().reader();
        child<QPushButton>(window(), presenter ? "modePresenter" : "modeReader")->click();
        if (output)
            window().outputControl()->openOutput(OutputControl::OwnScreen, m_window.get());
        const auto settle = [&] { return QTest::qWaitFor([&] { return window().presentation()->pendingPage() < 0; }); };
        const auto state = [&] {
            return QStringLiteral("%1 %2%3")
                .arg(window().presentation()->livePage() + 1)
                .arg(reader->currentPage() + 1)
                .arg(show->blackout() ? QStringLiteral(" black") : QString());
        };

        const QKeySequence key = window().inputRouter()->bindings().value(action).constFirst();
        QList<std::pair<QString, std::function<void()>>> paths = {
            {QStringLiteral("key"), [&] { press(key[0].key(), key[0].keyboardModifiers()); }}};
        if (QAction *entry = menuAction(window(), window().commands()->action(action)->text()))
            paths.append({QStringLiteral("menu"), [entry] { entry->trigger(); }});
        // The buttons the operator sees in this mode.
        const auto toolButton = [&](QAction *item) {
            return qobject_cast<QAbstractButton *>(child<QToolBar>(window(), "readerBar")->widgetForAction(item));
        };
        const QMap<Action, QAbstractButton *> buttons{
            {Action::NextSlide, presenter ? child<QPushButton>(window(), "nextButton") : toolButton(reader->nextPageAction())},
            {Action::PreviousSlide,
             presenter ? child<QPushButton>(window(), "previousButton") : toolButton(reader->previousPageAction())},
            {Action::ToggleBlackout, child<QPushButton>(window(), presenter ? "blackoutButton" : "readerBlackout")}};
        QAbstractButton *button = buttons.value(action);
        if (button) {
            QTRY_VERIFY(button->isVisible());
            paths.append({QStringLiteral("button"), [button] { button->click(); }});
        }

        for (const auto &[path, perform] : paths) {
            show->goToPage(2);
            reader->showReaderPage(2);
            show->setBlackout(false);
            QVERIFY(settle());
            perform();
            // A key or a menu entry flashes the command's button.
            QVERIFY2(!button || path == u"button" || button->isDown(), qPrintable(path));
            QVERIFY(settle());
            QCOMPARE(state() + QLatin1Char(' ') + path, expected + QLatin1Char(' ') + path);
            // LIVE marks a blackout, blank for the audience only with an output, and no output.
            QCOMPARE(child<PageCanvas>(window(), "liveCanvas")->overlayMessage(),
                     !show->blackout() ? QString() : output ? u"BLACKOUT\nexternal display is blank"_s : u"BLACKOUT"_s);
            QCOMPARE(child<QLabel>(window(), "liveCaption")->text().contains(u"output off"_s), !output);
        }
    }

    void timerKeys()
    {
        Countdown *countdown = window().countdown();
        // +1 minute, +10 seconds, -10 seconds, -1 minute.
        for (const auto &[key, seconds] : {std::pair(Qt::Key_Up, 660), std::pair(Qt::Key_Right, 670),
                                           std::pair(Qt::Key_Left, 660), std::pair(Qt::Key_Down, 600)}) {
            press(key, Qt::ShiftModifier);
            QCOMPARE(countdown->durationSeconds(), seconds);
        }
        press(Qt::Key_T);
        QVERIFY(countdown->isRunning());
        press(Qt::Key_T);
        QVERIFY(!countdown->isRunning());
        QVERIFY(countdown->accumulated() > 0);
        press(Qt::Key_R);
        QCOMPARE(countdown->accumulated(), 0);
    }

    // A clicker's keys leave the page box and a non-modal dialog the keys they edit with, and
    // drive the show from there.
    void clickerKeysLeaveThePageBoxAndDialogsTheirOwn()
    {
        child<QPushButton>(window(), "modeReader")->click();
        child<QPushButton>(window(), "fullscreenButton")->click();
        // The shown output takes the focus once the window system says so; only then may the
        // test give it back to the operator's window.
        QVERIFY(QTest::qWaitForWindowActive(window().outputWindow()));
        auto *box = child<QSpinBox>(window(), "pageBox");
        QTRY_VERIFY(box->isVisible());
        QVERIFY(InputTest::activate(m_window.get(), box));
        // Only the page typed in full reaches the audience, never page 1 on the way to 15.
        QList<int> shown;
        connect(window().presentation(), &Presentation::frameReady, this,
                [&] { shown << window().presentation()->livePage(); });
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("15"));
        press(Qt::Key_Return);
        QTRY_COMPARE(window().presentation()->livePage(), 14);
        QCOMPARE(shown, QList<int>{14});
        QCOMPARE(QApplication::focusWidget(), box);
        press(Qt::Key_PageDown);
        QTRY_COMPARE(window().presentation()->livePage(), 15);
        QTRY_COMPARE(box->value(), 16);

        // Arrows move a dialog's list or combo box; Escape closes the dialog, not the output.
        window().showSetupDialog();
        auto *effect = child<QComboBox>(window(), "transitionChoice");
        effect->setCurrentIndex(0);
        QVERIFY(InputTest::activate(effect->window(), effect));
        press(Qt::Key_Down);
        QCOMPARE(effect->currentIndex(), 1);
        press(Qt::Key_PageDown);
        QTRY_COMPARE(window().presentation()->livePage(), 16);
        press(Qt::Key_Escape);
        QVERIFY(!effect->window()->isVisible());
        QVERIFY(window().outputWindow()->isVisible());

        // The same in the search dialog's list of hits.
        window().showSearchDialog();
        SearchDialog *search = window().searchDialog();
        search->setResults({{2, {}, u"a"_s}, {5, {}, u"b"_s}}, false);
        QVERIFY(InputTest::activate(search, search->resultList()));
        press(Qt::Key_Down);
        press(Qt::Key_Down);
        QCOMPARE(search->resultList()->currentRow(), 1);
        press(Qt::Key_Escape);
        QVERIFY(!search->isVisible());
        QVERIFY(window().outputWindow()->isVisible());
    }

    // Typed digits and Enter, or the overview's arrows and Enter, take LIVE and the audience
    // straight to the page; the choice on the way shows to the operator only. Escape leaves the
    // overview, and Backspace returns from a jump to where the show was.
    void typedNumbersAndTheOverviewJumpAndBackspaceReturns()
    {
        child<QPushButton>(window(), "outputHeaderButton")->click();
        QTRY_VERIFY(window().outputWindow()->isVisible());
        QList<int> shown;
        connect(window().presentation(), &Presentation::frameReady, this,
                [&] { shown << window().presentation()->livePage(); });
        auto *live = child<PageCanvas>(window(), "liveCanvas");
        press(Qt::Key_1);
        press(Qt::Key_2);
        QVERIFY(live->overlayMessage().contains(QStringLiteral("12")));
        QVERIFY(window().outputWindow()->overlayMessage().isEmpty());
        press(Qt::Key_Return);
        QTRY_COMPARE(window().presentation()->livePage(), 11);
        QVERIFY(live->overlayMessage().isEmpty());
        press(Qt::Key_Backspace);
        QTRY_COMPARE(window().presentation()->livePage(), 0);

        // Given from the output window too, the keys choose in the operator's window.
        QVERIFY(InputTest::activate(window().outputWindow(), window().outputWindow()));
        for (const Qt::Key end : {Qt::Key_Return, Qt::Key_Escape}) {
            press(Qt::Key_O);
            auto *grid = child<ThumbnailView>(window(), "overviewGrid");
            QTRY_COMPARE(QApplication::focusWidget(), grid);
            press(Qt::Key_Right);
            press(Qt::Key_Right);
            QCOMPARE(grid->currentIndex().row(), window().presentation()->livePage() + 2);
            press(end);
            QVERIFY(!grid->isVisible());
            QTRY_COMPARE(window().presentation()->livePage(), 2);
        }
        press(Qt::Key_Backspace);
        QTRY_COMPARE(window().presentation()->livePage(), 0);
        QVERIFY(window().outputWindow()->isVisible());
        QCOMPARE(shown, (QList<int>{11, 0, 2, 0}));
    }

    void arrowsScrollInScrollReading()
    {
        child<QPushButton>(window(), "modeReader")->click();
        child<QCheckBox>(window(), "scrollMode")->setChecked(true);
        ScrollView *view = window().reader()->scrollView();
        QTRY_VERIFY(view->verticalMaximum() > 0);
        const double start = view->target();
        press(Qt::Key_Down);
        const double line = view->target() - start;
        QVERIFY(line > 0);
        press(Qt::Key_PageDown);
        QVERIFY(view->target() - start > 2 * line);
        QCOMPARE(window().reader()->currentPage(), 0);
        // The tool bar's Next takes the same animated screen step as Page Down.
        view->scrollToEdge(false, false);
        window().reader()->nextPageAction()->trigger();
        QVERIFY(view->isAnimating());
        const double screen = view->target();
        view->scrollToEdge(false, false);
        press(Qt::Key_PageDown);
        QCOMPARE(view->target(), screen);
        press(Qt::Key_End);
        QTRY_VERIFY(window().reader()->scrollAtEnd());
        child<QPushButton>(window(), "modePresenter")->click();
        QVERIFY(!window().inputRouter()->scrollMode());
    }
};

OLVANTI_TEST_MAIN(MainWindowKeysTest)
#include "tst_mainwindow_keys.moc"
