#include "inputsupport.h"
#include "testenv.h"
#include "windowtest.h"

#include "input/inputrouter.h"
#include "pdf/pdfservice.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/scrollview.h"
#include "timer/countdown.h"
#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <memory>

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

    void showOutputInReaderMode()
    {
        child<QPushButton>(window(), "modeReader")->click();
        child<QPushButton>(window(), "fullscreenButton")->click();
        QTRY_VERIFY(window().outputWindow()->isVisible());
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
        QVERIFY(openAndWait(*m_window, TestEnvironment::instance().deck(5)));
    }

    void cleanup() { m_window.reset(); }

    void presenterKeysMoveTheLivePage_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("live");
        QTest::newRow("page down, space") << QList<int>{Qt::Key_PageDown, Qt::Key_Space} << 2;
        QTest::newRow("end then home") << QList<int>{Qt::Key_End, Qt::Key_Home} << 0;
        QTest::newRow("left at the start stays") << QList<int>{Qt::Key_Left} << 0;
    }

    void presenterKeysMoveTheLivePage()
    {
        QFETCH(QList<int>, keys);
        QFETCH(int, live);
        for (int key : keys) {
            press(Qt::Key(key));
            QTRY_COMPARE(window().presentation()->pendingPage(), -1);
        }
        QTRY_COMPARE(window().presentation()->livePage(), live);
    }

    void keysFlashAndToggleTheirButtons()
    {
        press(Qt::Key_Right);
        QVERIFY(child<QPushButton>(window(), "nextButton")->isDown());
        press(Qt::Key_B);
        QVERIFY(window().showModel()->blackout());
        QVERIFY(child<QPushButton>(window(), "blackoutButton")->isChecked());
        QVERIFY(child<QPushButton>(window(), "readerBlackout")->isChecked());
        QCOMPARE(child<QPushButton>(window(), "blackoutButton")->text(), QStringLiteral("Resume"));
        press(Qt::Key_B);
        QVERIFY(!window().showModel()->blackout());
        QCOMPARE(child<QPushButton>(window(), "blackoutButton")->text(), QStringLiteral("Blackout"));
        QTRY_VERIFY(!child<QPushButton>(window(), "nextButton")->isDown());
    }

    void timerKeys()
    {
        Countdown *countdown = window().countdown();
        press(Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(countdown->durationSeconds(), 660);
        press(Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(countdown->durationSeconds(), 670);
        press(Qt::Key_Left, Qt::ShiftModifier);
        press(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(countdown->durationSeconds(), 600);
        press(Qt::Key_T);
        QVERIFY(countdown->isRunning());
        press(Qt::Key_T);
        QVERIFY(!countdown->isRunning());
        QVERIFY(countdown->accumulated() > 0);
        press(Qt::Key_R);
        QCOMPARE(countdown->accumulated(), 0);
    }

    void readerKeysTurnReaderPages()
    {
        child<QPushButton>(window(), "modeReader")->click();
        ReaderControl *reader = window().reader();
        press(Qt::Key_Right);
        QCOMPARE(reader->currentPage(), 1);
        press(Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(reader->currentPage(), 2);
        press(Qt::Key_End);
        QCOMPARE(reader->currentPage(), 4);
        press(Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(reader->currentPage(), 3);
        press(Qt::Key_Home);
        QCOMPARE(reader->currentPage(), 0);
        // With the output shown the same keys drive the audience's page, and the reader follows.
        child<QPushButton>(window(), "fullscreenButton")->click();
        QTRY_VERIFY(window().outputWindow()->isVisible());
        press(Qt::Key_Right);
        QTRY_COMPARE(window().presentation()->livePage(), 1);
        QTRY_COMPARE(reader->currentPage(), 1);
        // The tool bar's Next is the Next slide action: at the end it gives the end notice,
        // which pauses the countdown.
        press(Qt::Key_T);
        press(Qt::Key_End);
        QTRY_COMPARE(window().presentation()->livePage(), 4);
        reader->nextPageAction()->trigger();
        QVERIFY(window().showModel()->endReached());
        QVERIFY(!window().countdown()->isRunning());
        // Opening a document starts a new show at once, before it has even loaded.
        window().openPath(window().pdfService()->filePath());
        QVERIFY(!window().showModel()->endReached());
    }

    void clickerKeysLeaveThePageBox()
    {
        QVERIFY(openAndWait(window(), TestEnvironment::instance().deck(20)));
        showOutputInReaderMode();
        auto *box = child<QSpinBox>(window(), "pageBox");
        QTRY_VERIFY(box->isVisible());
        QVERIFY(InputTest::activate(m_window.get(), box));
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("15"));
        press(Qt::Key_Return);
        QTRY_COMPARE(window().presentation()->livePage(), 14);
        QCOMPARE(QApplication::focusWidget(), box);
        press(Qt::Key_PageDown);
        QTRY_COMPARE(window().presentation()->livePage(), 15);
        QTRY_COMPARE(box->value(), 16);
        press(Qt::Key_B);
        QVERIFY(window().showModel()->blackout());
    }

    void escapeClosesADialogBeforeTheOutput()
    {
        showOutputInReaderMode();
        // Arrows move a non-modal dialog's list or combo box; Escape closes the dialog.
        window().showSearchDialog();
        QTest::keyClicks(child<QLineEdit>(window(), "searchText"), QStringLiteral("slide"));
        auto *results = child<QListWidget>(window(), "searchResults");
        QTRY_VERIFY(results->count() >= 3);
        results->setCurrentRow(0);
        QVERIFY(InputTest::activate(results->window(), results));
        press(Qt::Key_Down);
        QCOMPARE(results->currentRow(), 1);
        press(Qt::Key_Escape);
        QVERIFY(!results->window()->isVisible());

        window().showSetupDialog();
        auto *effect = child<QComboBox>(window(), "transitionChoice");
        effect->setCurrentIndex(0);
        QVERIFY(InputTest::activate(effect->window(), effect));
        press(Qt::Key_Down);
        QCOMPARE(effect->currentIndex(), 1);
        // The clicker's other keys drive the show from a dialog too.
        const int live = window().presentation()->livePage();
        press(Qt::Key_PageDown);
        QTRY_COMPARE(window().presentation()->livePage(), live + 1);
        press(Qt::Key_Escape);
        QVERIFY(!effect->window()->isVisible());
        QVERIFY(window().outputWindow()->isVisible());

        QVERIFY(InputTest::activate(m_window.get(), m_window.get()));
        press(Qt::Key_Escape);
        QVERIFY(!window().outputWindow()->isVisible());
        QCOMPARE(child<QPushButton>(window(), "fullscreenButton")->text(), QStringLiteral("FULLSCREEN"));
    }

    void arrowsScrollInScrollReading()
    {
        child<QPushButton>(window(), "modeReader")->click();
        child<QCheckBox>(window(), "scrollMode")->setChecked(true);
        QVERIFY(window().inputRouter()->scrollMode());
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
