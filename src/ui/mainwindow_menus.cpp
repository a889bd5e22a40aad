#include "mainwindow.h"

#include "base/appsettings.h"
#include "input/inputrouter.h"
#include "playlist/playlistpanel.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "timer/countdown.h"
#include "ui/aboutdialog.h"
#include "ui/commands.h"
#include "ui/keyhints.h"
#include "ui/updatecheck.h"

#include <QAbstractButton>
#include <QActionGroup>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

namespace {

QAction *addEntry(QMenu *menu, const QString &text, QObject *context, std::function<void()> effect,
                  const QKeySequence &shortcut = QKeySequence())
{
    QAction *action = menu->addAction(text);
    action->setMenuRole(QAction::NoRole);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    QObject::connect(action, &QAction::triggered, context, std::move(effect));
    return action;
}

} // namespace

void MainWindow::clickButton(const QString &objectName)
{
    if (auto *button = findChild<QAbstractButton *>(objectName))
        button->click();
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();

    QMenu *file = bar->addMenu(tr("&File"));
    addEntry(file, tr("&Open PDF..."), this, [this] { showOpenDialog(); }, QKeySequence::Open);
    m_recentMenu = file->addMenu(tr("Recent documents"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m_recentMenu->menuAction()->setMenuRole(QAction::NoRole);
    addEntry(file, tr("Close document"), this, [this] { closeDocument(); }, QKeySequence::Close);
    file->addSeparator();
    addEntry(file, tr("Quit"), this, [this] { close(); }, QKeySequence::Quit);

    QMenu *edit = bar->addMenu(tr("&Edit"));
    QAction *find = addEntry(edit, tr("Search..."), this, [this] { showSearchDialog(); }, QKeySequence::Find);
    find->setObjectName(QStringLiteral("findAction"));
    m_backAction = addEntry(edit, tr("Back (undo last change)"), this,
                            [this] { clickButton(QStringLiteral("playlistBack")); });
    connect(edit, &QMenu::aboutToShow, this, [this] {
        auto *back = findChild<QAbstractButton *>(QStringLiteral("playlistBack"));
        m_backAction->setEnabled(back && back->isEnabled());
    });

    m_viewMenu = bar->addMenu(tr("&View"));
    auto *modes = new QActionGroup(this);
    m_readerModeAction = addEntry(m_viewMenu, tr("PDF Reader"), this, [this] { clickButton(QStringLiteral("modeReader")); });
    m_presenterModeAction = addEntry(m_viewMenu, tr("Presenter"), this,
                                     [this] { clickButton(QStringLiteral("modePresenter")); });
    m_presenterModeAction->setObjectName(QStringLiteral("presenterModeAction"));
    for (QAction *action : {m_readerModeAction, m_presenterModeAction}) {
        action->setCheckable(true);
        modes->addAction(action);
    }
    m_viewMenu->addSeparator();
    QAction *playlistAction = addEntry(m_viewMenu, tr("Show / hide playlist"), this,
                                       [this] { m_playlistPanel->setCollapsed(!m_playlistPanel->isCollapsed(), true); });
    playlistAction->setObjectName(QStringLiteral("playlistAction"));
    addEntry(m_viewMenu, tr("Show / hide PAGES"), this, [this] { setPagesCollapsed(!m_pagesCollapsed, true); });
    m_viewMenu->addSeparator();
    m_readerMenuActions = {
        addEntry(m_viewMenu, tr("Zoom in"), this, [this] { m_reader->zoomIn(); }, QKeySequence::ZoomIn),
        addEntry(m_viewMenu, tr("Zoom out"), this, [this] { m_reader->zoomOut(); }, QKeySequence::ZoomOut),
        addEntry(m_viewMenu, tr("Fit page"), this, [this] { m_reader->setZoomMode(ReaderControl::FitPage); }),
        addEntry(m_viewMenu, tr("Fit width"), this, [this] { m_reader->setZoomMode(ReaderControl::FitWidth); }),
        addEntry(m_viewMenu, tr("Rotate page"), this, [this] { m_reader->rotate(); }),
    };
    m_twoPagesAction = addEntry(m_viewMenu, tr("Two pages"), this,
                                [this] { m_reader->twoPagesBox()->setChecked(m_twoPagesAction->isChecked()); });
    m_scrollModeAction = addEntry(m_viewMenu, tr("Scroll mode"), this,
                                  [this] { m_reader->scrollBox()->setChecked(m_scrollModeAction->isChecked()); });
    for (QAction *action : {m_twoPagesAction, m_scrollModeAction}) {
        action->setCheckable(true);
        m_readerMenuActions << action;
    }
    // The menu entries and the tool bar check boxes follow each other both ways.
    m_twoPagesAction->setChecked(m_reader->twoPagesBox()->isChecked());
    m_scrollModeAction->setChecked(m_reader->scrollBox()->isChecked());
    connect(m_reader->twoPagesBox(), &QCheckBox::toggled, m_twoPagesAction, &QAction::setChecked);
    connect(m_reader->scrollBox(), &QCheckBox::toggled, m_scrollModeAction, &QAction::setChecked);
    connect(m_viewMenu, &QMenu::aboutToShow, this, &MainWindow::updateViewMenu);

    QMenu *playlist = bar->addMenu(tr("&Playlist"));
    const QList<std::pair<QString, QString>> playlistEntries = {
        {tr("Add PDFs..."), QStringLiteral("playlistAdd")},
        {tr("Open playlist..."), QStringLiteral("playlistOpenFile")},
        {tr("Save playlist..."), QStringLiteral("playlistSaveFile")},
        {tr("Export with PDFs..."), QStringLiteral("playlistExport")},
        {tr("Import package..."), QStringLiteral("playlistImport")},
        {QString(), QString()},
        {tr("Move up"), QStringLiteral("playlistUp")},
        {tr("Move down"), QStringLiteral("playlistDown")},
        {tr("Remove"), QStringLiteral("playlistRemove")},
        {tr("Clear"), QStringLiteral("playlistClear")},
    };
    for (const auto &[text, button] : playlistEntries) {
        if (text.isEmpty())
            playlist->addSeparator();
        else
            addEntry(playlist, text, this, [this, name = button] { clickButton(name); });
    }

    m_presentationMenu = bar->addMenu(tr("P&resentation"));
    m_outputMenuAction = addEntry(m_presentationMenu, tr("Output on external screen"), this,
                                  [this] { clickButton(QStringLiteral("outputHeaderButton")); });
    m_fullscreenMenuAction = addEntry(m_presentationMenu, tr("Full screen output"), this,
                                      [this] { clickButton(QStringLiteral("fullscreenButton")); });
    m_outputMenuAction->setCheckable(true);
    m_fullscreenMenuAction->setCheckable(true);
    QMenu *placement = m_presentationMenu->addMenu(tr("Show output"));
    placement->menuAction()->setMenuRole(QAction::NoRole);
    auto *placements = new QActionGroup(this);
    m_fullScreenPlacementAction = addEntry(placement, tr("Full screen on a display"), this, [this] { choosePlacement(false); });
    m_windowPlacementAction = addEntry(placement, tr("In a window (for screen sharing)"), this, [this] { choosePlacement(true); });
    for (QAction *action : {m_fullScreenPlacementAction, m_windowPlacementAction}) {
        action->setCheckable(true);
        placements->addAction(action);
    }
    m_presentationMenu->addAction(m_commands->action(Action::SwapDisplay));
    m_presentationMenu->addSeparator();
    // The same actions the keys and the buttons trigger.
    for (const Action command : {Action::PreviousSlide, Action::NextSlide, Action::FirstSlide, Action::LastSlide,
                                 Action::ShowOverview, Action::ReturnFromJump, Action::ToggleBlackout,
                                 Action::ExitPresentation})
        m_presentationMenu->addAction(m_commands->action(command));
    m_blackoutMenuAction = m_commands->action(Action::ToggleBlackout);
    m_presentationMenu->addSeparator();
    QMenu *timer = m_presentationMenu->addMenu(tr("Timer"));
    timer->menuAction()->setMenuRole(QAction::NoRole);
    m_startTimerAction = m_commands->action(Action::ToggleTimer);
    timer->addAction(m_startTimerAction);
    timer->addAction(m_commands->action(Action::ResetTimer));
    timer->addSeparator();
    for (const Action command : {Action::TimerPlusMinute, Action::TimerMinusMinute, Action::TimerPlusTenSeconds,
                                 Action::TimerMinusTenSeconds})
        timer->addAction(m_commands->action(command));
    timer->addSeparator();
    addEntry(timer, tr("Count down to a time of day..."), this, [this] { countDownToTimeOfDay(); });
    m_presentationMenu->addSeparator();
    addEntry(m_presentationMenu, tr("Export timing report..."), this, [this] { exportTimingReport(); });
    connect(m_presentationMenu, &QMenu::aboutToShow, this, &MainWindow::updatePresentationMenu);

    QMenu *settings = bar->addMenu(tr("&Settings"));
    QAction *setup = addEntry(settings, tr("Setup..."), this, [this] { showSetupDialog(); },
                              QKeySequence(Qt::CTRL | Qt::Key_Comma));
    setup->setObjectName(QStringLiteral("setupAction"));
    addEntry(settings, tr("Clicker and keyboard..."), this, [this] { showInputDialog(); });

    QMenu *help = bar->addMenu(tr("&Help"));
    QAction *about = addEntry(help, tr("About OlvantiVIVuderidazi"), this, [this] { showAboutDialog(this); });
    QAction *check = addEntry(help, UpdateCheck::menuText(), this, [this] { checkForUpdates(false); });
    check->setEnabled(UpdateCheck::isConfigured());
    about->setMenuRole(QAction::AboutRole);
    check->setMenuRole(QAction::ApplicationSpecificRole);

    updateViewMenu();
}

void MainWindow::updateViewMenu()
{
    const bool presenter = presenterMode();
    m_readerModeAction->setChecked(!presenter);
    m_presenterModeAction->setChecked(presenter);
    for (QAction *action : std::as_const(m_readerMenuActions))
        action->setEnabled(!presenter);
}

void MainWindow::updatePresentationMenu()
{
    m_outputMenuAction->setChecked(m_outputHeaderButton->isChecked());
    const bool windowed = m_settings->outputWindowed();
    m_outputMenuAction->setText(windowed ? tr("Output in a window") : tr("Output on external screen"));
    m_fullScreenPlacementAction->setChecked(!windowed);
    m_windowPlacementAction->setChecked(windowed);
    m_fullscreenMenuAction->setChecked(m_fullscreenButton->isChecked());
    m_blackoutMenuAction->setText(m_show->blackout() ? tr("Resume") : tr("Blackout"));
    m_startTimerAction->setText(m_countdown->isRunning() ? tr("Pause timer") : tr("Start timer"));
}

QString MainWindow::bindingHint(Action action) const
{
    return KeyHints::keyHintText(m_router->bindings().value(action));
}

void MainWindow::registerKeyHints()
{
    const auto hint = [this](Action action) { return [this, action] { return bindingHint(action); }; };
    const auto labelled = [this](Action action, const QString &label) {
        return [this, action, label] {
            const QString key = bindingHint(action);
            return key.isEmpty() ? QString() : key + QLatin1Char(' ') + label;
        };
    };
    m_keyHints->registerKeyHint(m_previousButton, hint(Action::PreviousSlide), 0);
    m_keyHints->registerKeyHint(m_previousPageButton, hint(Action::PreviousSlide), 0);
    m_keyHints->registerKeyHint(m_nextButton, hint(Action::NextSlide), 0);
    m_keyHints->registerKeyHint(m_nextPageButton, hint(Action::NextSlide), 0);
    m_keyHints->registerKeyHint(m_blackoutButton, hint(Action::ToggleBlackout), 0);
    m_keyHints->registerKeyHint(m_readerBlackout, hint(Action::ToggleBlackout), 0);
    m_keyHints->registerKeyHint(findChild<QWidget *>(QStringLiteral("timerStart")), hint(Action::ToggleTimer), 0);
    m_keyHints->registerKeyHint(findChild<QWidget *>(QStringLiteral("timerReset")), hint(Action::ResetTimer), 0);
    m_keyHints->registerKeyHint(m_outputHeaderButton, hint(Action::ExitPresentation), 0);
    QWidget *timer = findChild<QWidget *>(QStringLiteral("timer"));
    m_keyHints->registerKeyHint(timer->findChild<QWidget *>(QStringLiteral("timerUp")),
                                labelled(Action::TimerPlusMinute, tr("+1 min")), 1);
    m_keyHints->registerKeyHint(timer->findChild<QWidget *>(QStringLiteral("timerDown")),
                                labelled(Action::TimerMinusMinute, tr("−1 min")), 1);
    m_keyHints->registerKeyHint(timer, labelled(Action::TimerMinusTenSeconds, tr("−10 s")), 2);
    m_keyHints->registerKeyHint(timer, labelled(Action::TimerPlusTenSeconds, tr("+10 s")), 3);
}
