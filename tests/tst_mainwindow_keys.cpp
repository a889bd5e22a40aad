#include "inputsupport.h"
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

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QMenu>
#include <QLabel>
#include <QSpinBox>
#include <QToolBar>

#include <memory>
#include <tuple>

using namespace Qt::StringLiterals;
using namespace WindowTest;

// Keys, clicker presses and menu entries as the operator gives them, through the application's input routing.
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

        const QKeySequence key = window().inputRouter()->bindings().value(action).constFirst();
        QList<std::pair<QString, std::function<void()>>> paths = {
            {QStringLiteral("key"), [&] { press(key[0].key(), key[0].keyboardModifiers()); }}};
        if (QAction *entry = menuAction(window(), window().commands()->action(action)->text()))
            paths.append({QStringLiteral("menu"), [entry] { entry->trigger(); }});
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
            const QString state = u"%1 %2%3 "_s.arg(window().presentation()->livePage() + 1).arg(reader->currentPage() + 1)
                                      .arg(show->blackout() ? u" black"_s : QString());
            QCOMPARE(state + path, expected + u' ' + path);
            // LIVE marks a blackout, blank for the audience only with an output, and no output.
            QCOMPARE(child<PageCanvas>(window(), "liveCanvas")->overlayMessage(),
                     !show->blackout() ? QString() : output ? u"BLACKOUT\nexternal display is blank"_s : u"BLACKOUT"_s);
            QCOMPARE(child<QLabel>(window(), "liveCaption")->text().contains(u"output off"_s), !output);
        }
    }

    // Each row presses its keys one a second where the focus is, from page 1 in presenter mode:
    // "@step" is a step of the operator's, "name=value" checks what the window shows. "shown:X"
    // is whether the widget X is visible, "entry:X" the check of the menu entry X as its menu
    // shows it, "enabled:X" whether the entry or widget X can be chosen; a button's name is its check.
    void pressesReachTheirOwner_data()
    {
        QTest::addColumn<QString>("script");
        QTest::newRow("timer keys: a minute and ten seconds up and down, start, pause and reset")
            << u"Shift+Up timer=660 Shift+Right timer=670 Shift+Left timer=660 Shift+Down timer=600 "
               "T running=yes T running=no spent=1000 R spent=0"_s;
        QTest::newRow("typed digits show on LIVE only; Enter takes the audience there, Backspace back")
            << u"@output 1 2 typing=12 audience= Return live=12 typing= Backspace live=1 frames=12,1"_s;
        QTest::newRow("the overview, from the output window too: arrows choose, Return jumps, Esc keeps")
            << u"@output @fromoutput O focus=overviewGrid Right Right grid=3 Return grid=hidden live=3 O focus=overviewGrid "
               "Right Right grid=5 Esc grid=hidden live=3 Backspace live=1 output=yes frames=3,1"_s;
        // Only the page typed in full reaches the audience, never page 1 on the way to 15.
        QTest::newRow("the page box keeps its digits and Enter; the clicker goes on from there")
            << u"@fullscreen @box 1 5 Return live=15 frames=15 focus=pageBox PgDown live=16 box=16"_s;
        QTest::newRow("a dialog's combo box keeps its arrows, Esc closes the dialog; the clicker drives the show")
            << u"@fullscreen @setup Down combo=1 PgDown live=2 Esc shown:setupDialog=no output=yes"_s;
        QTest::newRow("a dialog's list keeps its arrows and Esc closes the dialog, not the output")
            << u"@fullscreen @search Down Down hits=1 Esc shown:searchDialog=no output=yes"_s;
        QTest::newRow("each mode entry clicks its button and is checked with it; the View menu's zoom follows")
            << u"@menu:PDF_Reader modeReader=on entry:PDF_Reader=on enabled:Zoom_in=yes shown:fullscreenButton=yes "
               "@menu:Presenter modePresenter=on entry:Presenter=on enabled:Zoom_in=no shown:fullscreenButton=no"_s;
        QTest::newRow("the reader's entries click its box and button, and follow them")
            << u"@menu:PDF_Reader @menu:Two_pages twoPages=on entry:Two_pages=on @menu:Full_screen_output "
               "fullscreenButton=on entry:Full_screen_output=on output=yes @click:twoPages entry:Two_pages=off"_s;
        QTest::newRow("the blackout entry's text follows the state") << u"@menu:Blackout blackoutEntry=Resume"_s;
        QTest::newRow("Exit from the menu ends the output only when given twice")
            << u"@output @menu:Exit_presentation output=yes @menu:Exit_presentation output=no"_s;
        QTest::newRow("the Back entry follows the playlist's Back button, to nothing left to undo")
            << u"enabled:Back_(undo_last_change)=yes enabled:playlistBack=yes @click:playlistBack "
               "enabled:Back_(undo_last_change)=no enabled:playlistBack=no"_s;
        QTest::newRow("Ctrl+comma opens the setup dialog") << u"Ctrl+, shown:setupDialog=yes"_s;
    }

    void pressesReachTheirOwner()
    {
        QFETCH(QString, script);
        MainWindow &w = window();
        const auto opened = [](QAction *entry) {
            for (QObject *menu : entry->associatedObjects()) {
                if (qobject_cast<QMenu *>(menu))
                    Q_EMIT static_cast<QMenu *>(menu)->aboutToShow(); // which refreshes its entries
            }
            return entry;
        };
        QStringList frames; // the pages the audience was shown since the operator's last step
        connect(w.presentation(), &Presentation::frameReady, this,
                [&] { frames << QString::number(w.presentation()->livePage() + 1); });
        const auto yes = [](bool value) { return value ? u"yes"_s : u"no"_s; };
        const auto number = [](qint64 value) { return QString::number(value); };
        auto *box = child<QSpinBox>(w, "pageBox");
        auto *live = child<PageCanvas>(w, "liveCanvas");
        const QHash<QString, std::function<QString()>> probes{
            {u"live"_s, [&] { return number(w.presentation()->livePage() + 1); }},
            {u"frames"_s, [&] { return frames.join(u','); }},
            {u"box"_s, [&] { return number(box->value()); }},
            {u"focus"_s, [&] { return QApplication::focusWidget()->objectName(); }},
            // The number being typed, from LIVE's mark "GO TO PAGE 12".
            {u"typing"_s, [&] { return live->overlayMessage().section(u'\n', 0, 0).mid(11); }},
            {u"audience"_s, [&] { return w.outputWindow()->overlayMessage(); }},
            {u"output"_s, [&] { return yes(w.outputWindow()->isVisible()); }},
            {u"grid"_s, [&] {
                 // Made when the overview first opens.
                 const auto *grid = w.findChild<ThumbnailView *>(u"overviewGrid"_s);
                 return grid && grid->isVisible() ? number(grid->currentIndex().row() + 1) : u"hidden"_s;
             }},
            {u"combo"_s, [&] { return number(child<QComboBox>(w, "transitionChoice")->currentIndex()); }},
            {u"hits"_s, [&] { return number(w.searchDialog()->resultList()->currentRow()); }},
            {u"timer"_s, [&] { return number(w.countdown()->durationSeconds()); }},
            {u"running"_s, [&] { return yes(w.countdown()->isRunning()); }},
            {u"spent"_s, [&] { return number(w.countdown()->accumulated()); }},
            {u"blackoutEntry"_s, [&] { return opened(w.commands()->action(Action::ToggleBlackout))->text(); }},
        };
        const auto probe = [&](const QString &name) {
            const QString what = name.section(u':', 1).replace(u'_', u' ');
            QAction *entry = what.isEmpty() ? nullptr : menuAction(w, what);
            QWidget *widget = w.findChild<QWidget *>(what);
            return name.startsWith(u"entry:")     ? (opened(entry)->isChecked() ? u"on"_s : u"off"_s)
                   : name.startsWith(u"enabled:") ? yes(entry ? opened(entry)->isEnabled() : widget->isEnabled())
                   : name.startsWith(u"shown:")   ? yes(widget->isVisible())
                   : probes.contains(name)        ? probes.value(name)()
                   : child<QAbstractButton>(w, qPrintable(name))->isChecked() ? u"on"_s : u"off"_s;
        };
        // The output's first frame at its size is in before the operator goes on.
        const auto outputRests = [&] {
            QTRY_VERIFY(w.outputWindow()->isVisible() && w.presentation()->pendingPage() < 0
                        && w.presentation()->outputSize() == w.outputWindow()->renderSize());
        };
        const QHash<QString, std::function<void()>> steps{
            {u"@output"_s, [&] { child<QPushButton>(w, "outputHeaderButton")->click(), outputRests(); }},
            // Reader mode with the output full screen on the operator's own screen, which takes
            // the focus once the window system says so; only then may the test give it back.
            {u"@fullscreen"_s, [&] {
                 child<QPushButton>(w, "modeReader")->click();
                 child<QPushButton>(w, "fullscreenButton")->click();
                 QVERIFY(QTest::qWaitForWindowActive(w.outputWindow()));
                 outputRests();
             }},
            {u"@fromoutput"_s, [&] { QVERIFY(InputTest::activate(w.outputWindow(), w.outputWindow())); }},
            {u"@box"_s, [&] { QVERIFY(InputTest::activate(&w, box)); box->selectAll(); }},
            {u"@setup"_s, [&] {
                 w.showSetupDialog();
                 auto *effect = child<QComboBox>(w, "transitionChoice");
                 effect->setCurrentIndex(0);
                 QVERIFY(InputTest::activate(effect->window(), effect));
             }},
            {u"@search"_s, [&] {
                 w.showSearchDialog();
                 w.searchDialog()->setResults({{2, {}, u"a"_s}, {5, {}, u"b"_s}}, false);
                 QVERIFY(InputTest::activate(w.searchDialog(), w.searchDialog()->resultList()));
             }},
        };
        for (const QString &token : script.split(u' ', Qt::SkipEmptyParts)) {
            if (steps.contains(token)) {
                steps.value(token)();
                frames.clear();
            } else if (token.startsWith(u"@menu:")) {
                opened(menuAction(w, token.mid(6).replace(u'_', u' ')))->trigger();
            } else if (token.startsWith(u"@click:")) {
                child<QAbstractButton>(w, qPrintable(token.mid(7)))->click();
            } else if (const QString name = token.section(u'=', 0, 0); name != token) {
                QTRY_COMPARE(name + u'=' + probe(name), token); // pages, focus and modes settle in the event loop
            } else {
                const QKeyCombination key = QKeySequence::fromString(token)[0];
                QVERIFY2(key.key() != Qt::Key_unknown, qPrintable(u"unknown step "_s + token));
                press(key.key(), key.keyboardModifiers());
            }
            if (QTest::currentTestFailed())
                return;
        }
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
