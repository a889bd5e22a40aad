#include "modal.h"
#include "playlistsupport.h"
#include "screens.h"
#include "windowtest.h"

#include "app/stylesheet.h"
#include "app/translation.h"
#include "input/inputdialog.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistpanel.h"
#include "playlist/undohistory.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/scrollview.h"
#include "reader/searchdialog.h"
#include "base/appsettings.h"
#include "timer/countdown.h"
#include "ui/playlistcontrol.h"
#include "ui/setupdialog.h"

#include <QScrollArea>
#include <QApplication>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QInputDialog>
#include <QFile>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QToolBar>
#include <QTranslator>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <sys/stat.h>

using namespace WindowTest;
using namespace Qt::StringLiterals;

namespace {

const QJsonObject Laptop = TestScreens::screen(u"Laptop"_s, 0, 1366, 768);
const QJsonObject Projector = TestScreens::screen(u"Projector"_s, 1366, 1920, 1080);

bool showOnProjector(MainWindow &window, const QString &path)
{
    if (!openAndWait(window, path))
        return false;
    child<QPushButton>(window, "outputHeaderButton")->click();
    return QTest::qWaitFor([&] { return !window.outputWindow()->image().isNull(); }, 10000);
}

std::function<void(QDialog *)> typed(const QString &password)
{
    return [password](QDialog *dialog) { static_cast<QInputDialog *>(dialog)->setTextValue(password), dialog->accept(); };
}

void dropUrls(MainWindow &window, const QList<QUrl> &urls, bool *enterAccepted = nullptr)
{
    QMimeData data;
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    if (enterAccepted)
        *enterAccepted = enter.isAccepted();
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
}

// True when the widget's picture has pixels that are neither black nor the window colour.
bool paintsSomething(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() + c.green() + c.blue() > 120)
                return true;
        }
    }
    return false;
}

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

class MainWindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { applyApplicationStyle(*qApp); }

    void init()
    {
        useProductSettings();
        QVERIFY(TestScreens::apply({Laptop, Projector}));
    }

    // Presenter mode with nothing open, fitted to the laptop with the strip and NEXT in view,
    // then a document and a playlist in it.
    void thePresenterViewFromTheStartToAPlaylist()
    {
        MainWindow window;
        QVERIFY(showAndWait(&window));
        QVERIFY(window.screen()->availableGeometry().contains(window.frameGeometry()));
        for (QWidget *bottom : {child<QWidget>(window, "thumbnailStrip"), static_cast<QWidget *>(window.statusBar())})
            QVERIFY(window.rect().contains(QRect(bottom->mapTo(&window, QPoint()), bottom->size())));
        const QSize next = child<QWidget>(window, "preparedCanvas")->size();
        QVERIFY2(next.width() >= 320 && next.height() >= 180, qPrintable(u"%1 x %2"_s.arg(next.width()).arg(next.height())));
        QVERIFY(child<QPushButton>(window, "modePresenter")->isChecked());
        QVERIFY2(paintsSomething(child<PageCanvas>(window, "liveCanvas")), "the LIVE canvas shows the logo");
        QVERIFY(!child<QMenu>(window, "recentMenu") || !child<QMenu>(window, "recentMenu")->isEnabled());

        child<QPushButton>(window, "modeReader")->click();
        auto *welcome = child<PageCanvas>(window, "readerWelcome");
        QVERIFY(welcome->isVisible());
        QTRY_COMPARE(welcome->geometry(), window.reader()->pageArea()->viewport()->rect());
        QVERIFY(paintsSomething(welcome));

        child<QPushButton>(window, "modePresenter")->click();
        const QString deck = TestEnvironment::instance().deck(4);
        QVERIFY(openAndWait(window, deck));

        QCOMPARE(window.windowTitle(), QStringLiteral("deck-4.pdf - OlvantiVIVuderidazi"));
        auto *prepared = child<PageCanvas>(window, "preparedCanvas");
        QTRY_VERIFY(!prepared->image().isNull());
        QVERIFY(child<PageCanvas>(window, "readerWelcome")->isHidden()); // not merely off screen with the reader

        // The last page has no NEXT page.
        window.presentation()->goToPage(3);
        QTRY_COMPARE(prepared->placeholderText(), QStringLiteral("END"));
        QVERIFY(prepared->image().isNull());

        // In a playlist, NEXT on the last page is the next file's first page and its name.
        const QString other = copyOf(TestEnvironment::instance().textDocument(2), QStringLiteral("after.pdf"));
        window.playlistControl()->addFiles({deck, other});
        QTRY_VERIFY(child<QLabel>(window, "preparedLabel")->text().contains(QLatin1String("after.pdf")));
        QTRY_VERIFY(!prepared->image().isNull());
        QVERIFY(prepared->image().height() > prepared->image().width()); // the portrait page of after.pdf
    }

    // The reader's page is kept per document, under the path it was opened by, limited to the
    // document; reopening the open file records no undo step, nor a second recent entry.
    void readingPositionsArePerDocument()
    {
        const QString doc = copyOf(TestEnvironment::instance().textDocument(10), QStringLiteral("positions.pdf"));
        QSettings().setValue(AppSettings::positionKey(doc), 25);
        MainWindow window;
        QVERIFY(openAndWait(window, doc));
        QCOMPARE(window.reader()->currentPage(), 9);
        // In presenter mode the audience starts at page 1, not at the reader's place.
        QTRY_COMPARE(window.presentation()->livePage(), 0);
        child<QPushButton>(window, "modeReader")->click();
        child<QSpinBox>(window, "pageBox")->setValue(5);
        const int steps = window.undoHistory()->size();
        QSignalSpy loaded(window.pdfService(), &PdfService::loaded);
        window.openPath(doc);
        QTRY_COMPARE(loaded.size(), 1);
        QCOMPARE(window.undoHistory()->size(), steps);
        QCOMPARE(window.reader()->currentPage(), 4);

        const QString link = TestEnvironment::instance().path(QStringLiteral("positions-link.pdf"));
        QFile::remove(link);
        QVERIFY(QFile::link(doc, link));
        QVERIFY(openAndWait(window, link));
        QCOMPARE(window.reader()->currentPage(), 0);

        // Each path once, the last opened first.
        const auto storedRecent = [] { return QSettings().value(u"recent"_s).toStringList(); };
        QCOMPARE(storedRecent(), QStringList({link, doc}));
        auto *menu = child<QMenu>(window, "recentMenu");
        QVERIFY(menu->isEnabled());
        QSignalSpy ready(&window, &MainWindow::documentReady);
        menu->actions().at(1)->trigger();
        QTRY_VERIFY(!ready.isEmpty());
        QCOMPARE(storedRecent(), QStringList({doc, link}));
        QCOMPARE(window.reader()->currentPage(), 4);
    }

    void dropsAddLocalDocumentsToThePlaylist()
    {
        MainWindow window;
        window.show();
        const QUrl web(QStringLiteral("https://example.org/talk.pdf"));
        bool accepted = true;
        dropUrls(window, {web}, &accepted);
        QVERIFY(!accepted);
        dropUrls(window, {QUrl::fromLocalFile(QDir::tempPath())}, &accepted);
        QVERIFY(!accepted);
        QCOMPARE(window.pdfService()->filePath(), QString());
        QCOMPARE(window.undoHistory()->size(), 0);

        const QString first = copyOf(TestEnvironment::instance().textDocument(2), QStringLiteral("drop-a.pdf"));
        const QString second = copyOf(TestEnvironment::instance().textDocument(3), QStringLiteral("drop-b.pdf"));
        QSignalSpy ready(&window, &MainWindow::documentReady);
        dropUrls(window, {QUrl::fromLocalFile(first), web, QUrl::fromLocalFile(second)}, &accepted);
        QVERIFY(accepted);
        QTRY_VERIFY(!ready.isEmpty());
        QCOMPARE(window.pdfService()->filePath(), first);
        QCOMPARE(QSettings().value(QStringLiteral("playlist/files")).toStringList(), QStringList({first, second}));
    }

    void passwordDialogRetriesUntilCancelled()
    {
        MainWindow window;
        window.show();
        const QString locked = TestEnvironment::instance().encryptedDocument(QStringLiteral("secret"));
        // A wrong password fails again and brings the dialog back, until it is cancelled.
        auto dialogs = answerInputDialogs({typed(u"wrong"_s), [](QDialog *dialog) { dialog->reject(); }});
        window.openPath(locked);
        QTRY_VERIFY(dialogs->answered);
        QCOMPARE(window.pdfService()->pageCount(), 0);
    }

    void badFilesLeaveTheCurrentDocument()
    {
        MainWindow window;
        TestEnvironment &env = TestEnvironment::instance();
        const QString doc = env.textDocument(2);
        QVERIFY(openAndWait(window, doc));
        const int steps = window.undoHistory()->size();
        // A pipe that nobody writes to would hold the window in its open for good.
        const QString pipe = QStringLiteral("\"%1\" is a pipe, socket or device, not a file that can be opened.");
        for (const char *name : {"pipe.oplaylist", "pipe.pdf"})
            QCOMPARE(::mkfifo(QFile::encodeName(env.path(QString::fromLatin1(name))).constData(), 0600), 0);
        // The box's title and text; a damaged file replaces the document (the service closed it).
        const std::pair<QString, QString> refusals[] = {
            {env.path(QStringLiteral("nowhere.pdf")),
             QStringLiteral("Missing document: The document no longer exists. Use Open to select another file.")},
            {env.path(QStringLiteral("pipe.oplaylist")), QStringLiteral("Playlist: ") + pipe.arg(QStringLiteral("pipe.oplaylist"))},
            {env.path(QStringLiteral("pipe.pdf")), QStringLiteral("Cannot open PDF: ") + pipe.arg(QStringLiteral("pipe.pdf"))},
            {env.path(QStringLiteral("show.oplaylist")), QStringLiteral("Playlist: ")},
            {env.damagedDocument(), QStringLiteral("Cannot open PDF: The PDF is damaged, unsupported, or contains no pages.")}};
        for (const auto &[path, message] : refusals) {
            auto box = answerMessageBox(QMessageBox::Ok);
            window.openPath(path);
            QTRY_VERIFY(box->answered);
            const QString shown = box->title + QStringLiteral(": ") + box->text;
            QVERIFY2(shown.startsWith(message), qPrintable(shown));
            if (path == env.damagedDocument())
                QCOMPARE(window.windowTitle(), QStringLiteral("OlvantiVIVuderidazi"));
            else
                QVERIFY(window.pdfService()->filePath() == doc && window.pdfService()->pageCount() == 2
                        && window.undoHistory()->size() == steps);
        }
    }

    void closingWithPagesCollapsedKeepsTheStoredSplit()
    {
        {
            MainWindow window;
            QVERIFY(showAndWait(&window));
            window.close();
            const QByteArray stored = QSettings().value(QStringLiteral("presenter/vsplit")).toByteArray();
            QVERIFY(!stored.isEmpty());
            window.show();
            child<QSplitter>(window, "presenterSplitter")->setSizes({400, 400});
            window.setPagesCollapsed(true, false);
            window.close();
            QCOMPARE(QSettings().value(QStringLiteral("presenter/vsplit")).toByteArray(), stored);
        }
        {
            // Reopened collapsed; expanding brings back a usable height.
            MainWindow window;
            QVERIFY(showAndWait(&window));
            QVERIFY(window.pagesCollapsed());
            QVERIFY(!child<QWidget>(window, "thumbnailStrip")->isVisible());
            window.setPagesCollapsed(false, false);
            QTRY_VERIFY(child<QWidget>(window, "thumbnailStrip")->isVisible());
            QVERIFY(child<QWidget>(window, "pagesPanel")->height() > 60);
        }
    }

    // The settings folder would be below a regular file.
    void unwritableSettingsAreReportedAtClose()
    {
        const QString folder = TestEnvironment::instance().path(QStringLiteral("folder below a file"));
        PlaylistTest::writeBytes(folder, {});
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder + QStringLiteral("/config"));
        {
            MainWindow window;
            window.show();
            auto box = answerMessageBox(QMessageBox::Ok);
            window.close();
            QTRY_VERIFY(box->answered);
            QCOMPARE(box->text, QStringLiteral("Preferences could not be saved: Not a directory"));
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, qEnvironmentVariable("XDG_CONFIG_HOME"));
    }

    void destroyedWhileTheReaderScrolls()
    {
        auto window = std::make_unique<MainWindow>();
        QVERIFY(openAndWait(*window, TestEnvironment::instance().deck(5)));
        child<QPushButton>(*window, "modeReader")->click();
        child<QCheckBox>(*window, "scrollMode")->setChecked(true);
        ScrollView *view = window->reader()->scrollView();
        QTRY_VERIFY(view->verticalMaximum() > 0);
        // Hiding ends the scroll on the next page, which the reader then follows.
        view->stepScreen(1);
        QVERIFY(view->isAnimating());
        window.reset();
    }

    // The output on a second display, as an operator with a laptop and a projector drives it.
    void anUnrenderablePageDoesNotTrapTheClicker()
    {
        MainWindow window;
        QSignalSpy messages(window.statusBar(), &QStatusBar::messageChanged);
        QVERIFY(showOnProjector(window, TestEnvironment::instance().brokenPageDocument()));
        auto modal = closeNextModal();
        const QImage first = window.outputWindow()->image();
        window.handleAction(Action::NextSlide);
        QTRY_COMPARE(window.presentation()->pendingPage(), -1);
        QCOMPARE(window.presentation()->livePage(), 0);
        QCOMPARE(window.outputWindow()->image(), first);

        window.handleAction(Action::NextSlide);
        QTRY_COMPARE(window.presentation()->livePage(), 2);
        // The NEXT view, the preload and the output all failed on it: one message.
        QCOMPARE(messages.count(QVariantList{QStringLiteral("Invalid render dimensions.")}), 1);
        QVERIFY2(!modal->answered, qPrintable(modal->text));
    }

    // The setup dialog is made only when first opened; until then the window tells a missing
    // preferred display itself, and the output goes where the dialog would have chosen.
    void aMissingPreferredDisplayIsToldWithoutTheSetupDialog()
    {
        QSettings store;
        AppSettings(store).setOutputDisplay(QStringLiteral("Gone|||"));
        MainWindow window;
        QCOMPARE(window.statusBar()->currentMessage(), SetupDialog::missingDisplayNotice());
        QVERIFY(!window.findChild<SetupDialog *>());
        QVERIFY(showOnProjector(window, TestEnvironment::instance().deck(2)));
        QCOMPARE(window.outputWindow()->screen()->name(), QStringLiteral("Projector"));
        window.statusBar()->clearMessage();
        QVERIFY(TestScreens::apply({Laptop}));
        QTRY_COMPARE(window.statusBar()->currentMessage(), SetupDialog::missingDisplayNotice());
        QCOMPARE(window.setupDialog()->displayChoice()->currentText(), QStringLiteral("Laptop (1366 x 768, 1x)"));
    }

    void aHandOverWaitsDuringAShow_data()
    {
        QTest::addColumn<int>("output");     // 1 on the projector; 0 full screen on the operator's own; -1 off
        QTest::addColumn<QString>("answer"); // the operator's button in the notice; empty: opened at once
        QTest::newRow("output on the projector, then Open now") << 1 << QStringLiteral("handOverOpen");
        QTest::newRow("full screen on the operator's own screen, then Add to playlist") << 0 << QStringLiteral("handOverAdd");
        QTest::newRow("countdown running, then Dismiss") << -1 << QStringLiteral("handOverDismiss");
        QTest::newRow("no show: opened at once") << -1 << QString();
    }

    void aHandOverWaitsDuringAShow()
    {
        QFETCH(int, output);
        QFETCH(QString, answer);
        MainWindow window;
        const QString live = TestEnvironment::instance().deck(3);
        QVERIFY(openAndWait(window, live));
        auto *fullscreen = child<QPushButton>(window, "fullscreenButton");
        if (output == 0) {
            child<QPushButton>(window, "modeReader")->click();
            fullscreen->click();
            QCOMPARE(window.outputWindow()->screen(), window.screen());
            QCOMPARE(fullscreen->text(), QStringLiteral("EXIT FULLSCREEN"));
        } else if (output == 1) {
            child<QPushButton>(window, "outputHeaderButton")->click();
        }
        if (output >= 0) {
            window.outputWindow()->windowHandle()->requestActivate();
            QTRY_COMPARE(QGuiApplication::focusWindow(), window.outputWindow()->windowHandle());
        } else if (!answer.isEmpty()) {
            window.countdown()->toggleTimer();
        }
        const bool counting = window.countdown()->isRunning();
        const QImage frame = window.outputWindow()->image();
        auto modal = closeNextModal();

        const QString handed = TestEnvironment::instance().textDocument(2);
        window.receiveHandOver({handed, TestEnvironment::instance().path(QStringLiteral("missing.pdf"))});
        QWindowSystemInterface::flushWindowSystemEvents();
        // Raised over the output on its own screen, the operator's window is what the audience would see.
        if (output >= 0)
            QCOMPARE(QGuiApplication::focusWindow() == window.windowHandle(), output == 1);
        if (!answer.isEmpty()) {
            QCOMPARE(window.pdfService()->filePath(), live);
            QCOMPARE(window.outputWindow()->image(), frame);
            QCOMPARE(window.countdown()->isRunning(), counting);
            QVERIFY(child<QWidget>(window, "handOverNotice")->isVisible());
            child<QPushButton>(window, answer.toLatin1().constData())->click();
        }
        const bool opened = answer.isEmpty() || answer == QStringLiteral("handOverOpen");
        QTRY_COMPARE(window.pdfService()->filePath(), opened ? handed : live);
        QCOMPARE(window.playlist()->files(), answer == QStringLiteral("handOverDismiss") ? QStringList() : QStringList{handed});
        // Leaving full screen does not ask.
        if (output == 0) {
            fullscreen->click();
            QVERIFY(!window.outputWindow()->isVisible());
        }
        QVERIFY2(!modal->answered, qPrintable(modal->text));
    }

    // A crossing into a file that asks for a password keeps the blacked-out frame through the
    // prompt: the audience never sees an empty output.
    void anEncryptedEntryKeepsTheBlackedOutFrame()
    {
        MainWindow window;
        const QString locked = copyOf(TestEnvironment::instance().encryptedDocument(), QStringLiteral("locked.pdf"));
        QVERIFY(showOnProjector(window, TestEnvironment::instance().textDocument(1)));
        window.playlistControl()->addFiles({window.pdfService()->filePath(), locked});
        child<QPushButton>(window, "blackoutButton")->click();
        QSignalSpy frames(window.presentation(), &Presentation::frameReady);
        auto password = answerInputDialog(typed(u"secret"_s));
        child<QPushButton>(window, "nextButton")->click();
        QTRY_COMPARE(window.pdfService()->filePath(), locked);
        QTRY_VERIFY(!frames.isEmpty());
        QVERIFY(password->answered);
        for (const QVariantList &frame : std::as_const(frames))
            QVERIFY(!frame.constFirst().value<QImage>().isNull());
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

    // The last case: the language it sets stays.
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
        child<QPushButton>(window, "outputHeaderButton")->click(); // on, on the projector
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

OLVANTI_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
