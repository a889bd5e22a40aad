#include "screens.h"
#include "windowtest.h"

#include "app/stylesheet.h"
#include "app/translation.h"
#include "base/appsettings.h"
#include "input/inputdialog.h"
#include "playlist/playlistpanel.h"
#include "reader/searchdialog.h"

#include <QApplication>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QToolBar>
#include <QTranslator>

using namespace WindowTest;
using namespace Qt::StringLiterals;

namespace {

// The room the style leaves for a button's text beside its icon, or a label's whole width.
QRect textRoom(QWidget *widget)
{
    QStyleOptionButton option;
    option.initFrom(widget);
    auto *button = qobject_cast<QPushButton *>(widget);
    return !button ? widget->rect()
                   : widget->style()->subElementRect(QStyle::SE_PushButtonContents, &option, widget)
                         .adjusted(button->icon().isNull() ? 0 : button->iconSize().width() + 4, 0, 0, 0);
}

// Why a widget's text is wider than its rectangle; empty when it fits.
QString cut(QWidget *widget)
{
    widget->ensurePolished();
    const QFontMetrics metrics = widget->fontMetrics();
    int needed = 0;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        needed = metrics.horizontalAdvance(button->text().remove(u'&'));
    else if (auto *label = qobject_cast<QLabel *>(widget))
        needed = label->sizeHint().width();
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        needed = edit->minimumSizeHint().width() - metrics.maxWidth() + metrics.horizontalAdvance(edit->placeholderText());
    const int room = textRoom(widget).width();
    return needed <= room ? QString() : u"%1 needs %2 px, has %3"_s.arg(widget->objectName()).arg(needed).arg(room);
}

} // namespace

// The operator's window on a laptop screen and at its default size, in English and German.
class MainWindowLayoutTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { applyApplicationStyle(*qApp); }

    void init() { useProductSettings(); }

    void firstStartFitsALaptopWithNextInView()
    {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        for (QWidget *bottom : {child<QWidget>(window, "thumbnailStrip"), static_cast<QWidget *>(window.statusBar())})
            QVERIFY(window.rect().contains(QRect(bottom->mapTo(&window, QPoint()), bottom->size())));
        const QSize next = child<QWidget>(window, "preparedCanvas")->size();
        QVERIFY2(next.width() >= 320 && next.height() >= 180, qPrintable(u"%1 x %2"_s.arg(next.width()).arg(next.height())));
    }

    void theWindowDoesNotGrowFromStartToStart()
    {
        QVERIFY(TestScreens::apply({TestScreens::screen(u"Desk"_s, 0, 1920, 1200)}));
        QList<int> widths;
        for (int start = 0; start < 2; ++start) {
            MainWindow window;
            window.show();
            widths << window.width();
            // The panel widens the window while it is open.
            window.playlistPanel()->setCollapsed(false, true);
            QTRY_VERIFY(window.playlistPanel()->grownWidth() > 0 && window.playlistPanel()->maximumWidth() == QWIDGETSIZE_MAX);
            window.close();
        }
        QCOMPARE(widths.constLast(), widths.constFirst());
    }

    void nothingIsCutAt1280x850_data()
    {
        QTest::addColumn<QLocale::Language>("language");
        QTest::addColumn<QString>("pageDown"); // key names as the system's language has them
        QTest::addColumn<QString>("shift");
        QTest::newRow("English") << QLocale::English << u"PgDown"_s << u"Shift+"_s;
        QTest::newRow("German") << QLocale::German << u"Bild ab"_s << u"Umschalt+"_s;
    }

    void nothingIsCutAt1280x850()
    {
        QFETCH(QLocale::Language, language);
        qDeleteAll(qApp->findChildren<QTranslator *>());
        QLocale::setDefault(QLocale(language));
        installTranslators(*qApp);
        // A font set for a state (":checked") is drawn in a rectangle sized for the plain one.
        for (const QString &rule : applicationStyleSheet().split(u'}')) {
            const bool state = rule.section(u'{', 0, 0).contains(QRegularExpression(u"[^:]:[a-z]"_s));
            QVERIFY2(!state || !rule.section(u'{', 1).contains(u"font"_s), qPrintable(rule));
        }
        MainWindow window;
        window.setWindowState(Qt::WindowNoState);
        window.resize(1280, 850);
        window.show();
        QVERIFY(openAndWait(window, TestEnvironment::instance().deck(4)));
        QStringList faults;
        const auto check = [&](const QList<QWidget *> &widgets) {
            for (QWidget *widget : widgets) {
                if (const QString why = cut(widget); !why.isEmpty())
                    faults << why + u" for \""_s + widget->property("text").toString() + u'"';
            }
        };
        QList<QWidget *> shown;
        for (const char *name : {"outputHeaderButton", "modeReader", "modePresenter", "previousButton", "nextButton",
                                 "blackoutButton", "timerStart", "timerReset", "liveLabel", "preparedLabel", "fileLabel"})
            shown << child<QWidget>(window, name);
        check(shown);
        child<QPushButton>(window, "outputHeaderButton")->click(); // on, on the only screen
        child<QPushButton>(window, "blackoutButton")->click();
        check(shown);

        // The Ctrl hints cover neither each other nor a button's text, and stay in the window.
        QApplication::setActiveWindow(&window);
        QTest::keyPress(&window, Qt::Key_Control);
        QList<QRect> hints;
        QString texts;
        for (QLabel *hint : window.findChildren<QLabel *>(u"shortcutHint"_s)) {
            const QRect at = hint->geometry();
            if (!hint->isVisible())
                continue;
            if (!window.rect().contains(at) || std::any_of(hints.cbegin(), hints.cend(), [&](QRect o) { return o.intersects(at); }))
                faults << u"the hint "_s + hint->text() + u" meets another or leaves the window"_s;
            for (QWidget *button : std::as_const(shown)) {
                const QRect room = textRoom(button).translated(button->mapTo(&window, QPoint()));
                const int line = button->fontMetrics().height();
                if (qobject_cast<QPushButton *>(button) && QRect(room.x(), room.center().y() - line / 2, room.width(), line).intersects(at))
                    faults << u"the hint "_s + hint->text() + u" covers "_s + button->objectName();
            }
            hints << at;
            texts += hint->text();
        }
        QFETCH(QString, shift);
        QVERIFY2(texts.contains(shift), qPrintable(texts));
        QTest::keyRelease(&window, Qt::Key_Control);

        // Reader mode: every control of both tool bars in view, none behind the overflow button.
        child<QPushButton>(window, "modeReader")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        for (QToolBar *bar : window.findChildren<QToolBar *>()) {
            for (QAction *action : bar->actions()) {
                QWidget *widget = bar->widgetForAction(action);
                if (action->isVisible() && !action->isSeparator() && (!widget || !widget->isVisible()))
                    faults << u"hidden in the tool bar: "_s + action->text();
            }
        }
        check({child<QWidget>(window, "readerBlackout"), child<QWidget>(window, "fullscreenButton")});

        // The clicker dialog names keys as the system's language does, and reads them back.
        QFETCH(QString, pageDown);
        QSettings store;
        AppSettings settings(store);
        InputDialog keys(window.inputRouter(), settings, &window);
        keys.show();
        QVERIFY(child<QLineEdit>(keys, "bindingEdit0")->text().startsWith(pageDown));
        for (QKeySequenceEdit *capture : keys.findChildren<QKeySequenceEdit *>())
            check({capture->findChild<QLineEdit *>()});

        // A search hit's whole context is shown.
        window.showSearchDialog();
        window.findChild<SearchDialog *>()->setResults({{0, {}, u"presenter clicker countdown "_s.repeated(4)}}, false);
        auto *results = child<QListWidget>(window, "searchResults");
        const QRect row = results->visualRect(results->model()->index(0, 0));
        if (results->fontMetrics().boundingRect(row.adjusted(4, 0, -4, 1000), Qt::TextWordWrap, results->item(0)->text()).height() > row.height())
            faults << u"a search hit's context is cut"_s;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
        child<QPushButton>(keys, "inputSave")->click();
        QCOMPARE(keys.result(), int(QDialog::Accepted));
    }
};

OLVANTI_TEST_MAIN_WITH_SCREENS(MainWindowLayoutTest,
                               R"([{"name":"Laptop","x":0,"y":0,"width":1366,"height":768,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}])")
#include "tst_mainwindow_layout.moc"
