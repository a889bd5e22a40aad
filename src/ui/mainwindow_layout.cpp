#include "mainwindow.h"

#include "input/inputrouter.h"
#include "pdf/pdfservice.h"
#include "playlist/playlist.h"
#include "playlist/playlistpanel.h"
#include "presentation/displaymanager.h"
#include "presentation/logo.h"
#include "presentation/outputcontrol.h"
#include "presentation/outputwindow.h"
#include "presentation/pagecanvas.h"
#include "presentation/presentation.h"
#include "reader/readercontrol.h"
#include "reader/searchdialog.h"
#include "reader/thumbnailmodel.h"
#include "reader/thumbnailview.h"
#include "timer/countdown.h"
#include "timer/timerbar.h"
#include "base/appsettings.h"
#include "ui/buttons.h"
#include "ui/commands.h"
#include "ui/keyhints.h"
#include "ui/overviewpage.h"
#include "ui/playlistcontrol.h"
#include "ui/setupdialog.h"
#include "ui/updatecheck.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {

QPushButton *headerButton(const QString &objectName, const QString &text, const QString &toolTip, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setCheckable(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setToolTip(toolTip);
    return button;
}

QSplitter *splitter(Qt::Orientation orientation, const QString &objectName)
{
    auto *result = new QSplitter(orientation);
    result->setObjectName(objectName);
    result->setChildrenCollapsible(false);
    return result;
}

} // namespace

void MainWindow::fitStartSize()
{
    const QSize preferred(1280, 850);
    const QScreen *where = screen();
    const QRect available = where ? where->availableGeometry() : QRect(QPoint(), preferred);
    // The window system's title bar is not known before the window is shown.
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    resize(preferred.boundedTo(available.size()));
    if (preferred.width() > available.width() || preferred.height() + titleBar > available.height())
        setWindowState(Qt::WindowMaximized);
}

void MainWindow::buildUi()
{
    auto *version = new QLabel(tr("v0.7"), this);
    version->setObjectName(QStringLiteral("versionLabel"));
    statusBar()->addPermanentWidget(version);

    m_reader = new ReaderControl(m_pdf, m_show, m_presentation, m_thumbnails, m_settings.get(), this);
    m_outputControl = new OutputControl(m_pdf, m_presentation, m_displays, m_output.get(), m_settings.get(), this);
    m_commands = new Commands(m_show, m_outputControl, m_countdown, this);
    buildHeader();

    m_rootSplitter = splitter(Qt::Horizontal, QStringLiteral("rootSplitter"));
    m_playlistPanel = new PlaylistPanel(m_playlist, m_undo, [](IconKind kind, const QString &name, const QString &toolTip) {
        return makeIconButton(kind, name, toolTip);
    });
    m_playlistPanel->setPresentationSeconds([this] { return m_countdown->durationSeconds(); });
    m_playlistControl->setPanel(m_playlistPanel);
    m_rootSplitter->addWidget(m_playlistPanel);

    m_thumbnailColumn = new QWidget;
    auto *column = new QVBoxLayout(m_thumbnailColumn);
    column->addWidget(new QLabel(tr("PAGES")));
    m_thumbnailList = new ThumbnailView(m_thumbnails, ThumbnailView::List);
    m_thumbnailList->setObjectName(QStringLiteral("thumbnails"));
    column->addWidget(m_thumbnailList, 3);
    m_rootSplitter->addWidget(m_thumbnailColumn);
    m_reader->setThumbnailView(m_thumbnailList);

    m_mainStack = new QStackedWidget;
    m_mainStack->setObjectName(QStringLiteral("mainStack"));
    m_mainStack->addWidget(m_reader->createReaderPage(m_output.get()));
    m_mainStack->addWidget(buildPresenterPage());
    connect(m_commands, &Commands::overviewRequested, this, &MainWindow::showOverview);
    m_rootSplitter->addWidget(m_mainStack);
    m_rootSplitter->setStretchFactor(0, 0);
    m_rootSplitter->setStretchFactor(1, 0);
    m_rootSplitter->setStretchFactor(2, 1);
    m_rootSplitter->setSizes({30, 205, 1075});
    setCentralWidget(m_rootSplitter);

    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(120);
    connect(&m_refreshTimer, &QTimer::timeout, this, &MainWindow::rerender);

    connect(m_preparedCanvas, &PageCanvas::resized, &m_refreshTimer, qOverload<>(&QTimer::start));
    connect(m_reader, &ReaderControl::viewportResized, &m_refreshTimer, qOverload<>(&QTimer::start));
    connect(m_modePresenter, &QPushButton::toggled, this, &MainWindow::setPresenterMode);
    connect(m_thumbnailStrip, &ThumbnailView::clicked, m_show,
            [this](const QModelIndex &index) { m_show->jumpTo(index.row()); });

    m_outputControl->setDialogParent(this);
    m_updates = new UpdateCheck(this);
    buildMenus();

    // The reader's tool bar arrows step as the slide commands do, and flash for them.
    m_previousPageButton = m_readerBar->widgetForAction(m_reader->previousPageAction());
    m_nextPageButton = m_readerBar->widgetForAction(m_reader->nextPageAction());
    m_commands->bindAction(Action::PreviousSlide, m_reader->previousPageAction());
    m_commands->bindAction(Action::NextSlide, m_reader->nextPageAction());
    m_commands->addFlash(Action::PreviousReaderPage, qobject_cast<QAbstractButton *>(m_previousPageButton.data()));
    m_commands->addFlash(Action::NextReaderPage, qobject_cast<QAbstractButton *>(m_nextPageButton.data()));
    const std::pair<Action, const char *> timerButtons[] = {{Action::ToggleTimer, "timerStart"},
                                                            {Action::ResetTimer, "timerReset"},
                                                            {Action::TimerPlusMinute, "timerUp"},
                                                            {Action::TimerMinusMinute, "timerDown"}};
    for (const auto &[command, name] : timerButtons)
        m_commands->addFlash(command, findChild<QAbstractButton *>(QString::fromLatin1(name)));

    // The key hints watch the whole application for the Ctrl key themselves.
    m_keyHints = new KeyHints(this);
    connect(m_keyHints, &KeyHints::firstShowing, this, &MainWindow::registerKeyHints);
}

void MainWindow::buildHeader()
{
    m_header = addToolBar(tr("Document"));
    m_header->setMovable(false);
    QAction *open = m_header->addAction(tr("Open"));
    connect(open, &QAction::triggered, this, &MainWindow::showOpenDialog);

    auto *modeSwitch = new QWidget(m_header);
    modeSwitch->setObjectName(QStringLiteral("modeSwitch"));
    modeSwitch->setAttribute(Qt::WA_StyledBackground, true);
    auto *modeLayout = new QHBoxLayout(modeSwitch);
    modeLayout->setContentsMargins(3, 3, 3, 3);
    modeLayout->setSpacing(2);
    auto *modes = new QButtonGroup(modeSwitch);
    modes->setExclusive(true);
    m_modeReader = new QPushButton(tr("PDF Reader"), modeSwitch);
    m_modeReader->setObjectName(QStringLiteral("modeReader"));
    m_modePresenter = new QPushButton(tr("PRESENTER"), modeSwitch);
    m_modePresenter->setObjectName(QStringLiteral("modePresenter"));
    for (QPushButton *button : {m_modeReader, m_modePresenter}) {
        button->setCheckable(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setCursor(Qt::PointingHandCursor);
        modes->addButton(button);
        modeLayout->addWidget(button);
    }
    m_modeReader->setChecked(true);
    m_header->addWidget(modeSwitch);
    m_header->addSeparator();

    m_outputHeaderButton = headerButton(QStringLiteral("outputHeaderButton"), tr("Output OFF"),
                                        tr("Start / stop the presentation on the external screen"), m_header);
    m_header->addWidget(m_outputHeaderButton);
    connect(m_outputHeaderButton, &QPushButton::clicked, m_outputControl, &OutputControl::setOutputEnabled);
    m_commands->addFlash(Action::ExitPresentation, m_outputHeaderButton);

    m_readerBlackout = headerButton(QStringLiteral("readerBlackout"), tr("Blackout"),
                                    tr("Blank / restore the full-screen output"), m_header);
    m_readerItems << m_header->addWidget(m_readerBlackout);
    m_commands->bindButton(Action::ToggleBlackout, m_readerBlackout);

    m_fullscreenButton = headerButton(QStringLiteral("fullscreenButton"), tr("FULLSCREEN"),
                                      tr("Show the current slide full screen on the output display; navigate with "
                                         "the keys or a clicker"),
                                      m_header);
    m_fullscreenAction = m_header->addWidget(m_fullscreenButton);
    connect(m_fullscreenButton, &QPushButton::clicked, this, [this](bool checked) {
        if (checked)
            m_outputControl->openOutput(OutputControl::OwnScreen, this);
        else
            m_outputControl->closeOutput();
        // A refused open leaves the toggle as the output really is.
        showOutputState();
    });

    auto *spacer = new QWidget(m_header);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_header->addWidget(spacer);

    auto *logo = new QLabel(m_header);
    logo->setObjectName(QStringLiteral("headerLogo"));
    logo->setPixmap(Logo::header(devicePixelRatioF()));
    logo->setContentsMargins(0, 0, 6, 0);
    m_header->addWidget(logo);

    // The reading controls have a row of their own in reader mode, so that every control stays
    // in view on a laptop screen, in every language.
    addToolBarBreak();
    m_readerBar = addToolBar(tr("Reader"));
    m_readerBar->setObjectName(QStringLiteral("readerBar"));
    m_readerBar->setMovable(false);
    const QList<QAction *> readerItems = m_reader->addToolBarItems(m_readerBar);
    m_readerBar->removeAction(readerItems.constFirst()); // its leading separator
    m_reader->scrollBox()->setChecked(m_settings->readerScroll());
}

QWidget *MainWindow::buildPresenterPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_presenterSplitter = splitter(Qt::Vertical, QStringLiteral("presenterSplitter"));
    layout->addWidget(m_presenterSplitter, 1);

    auto *upper = new QWidget;
    auto *upperLayout = new QVBoxLayout(upper);
    upperLayout->setContentsMargins(0, 0, 0, 0);
    upperLayout->setSpacing(6);
    m_liveNextSplitter = splitter(Qt::Horizontal, QStringLiteral("liveNextSplitter"));
    upperLayout->addWidget(m_liveNextSplitter, 1);

    auto *liveColumn = new QWidget;
    auto *liveLayout = new QVBoxLayout(liveColumn);
    liveLayout->setContentsMargins(0, 0, 0, 0);
    m_liveCaption = new QLabel(tr("LIVE"));
    m_liveCaption->setObjectName(QStringLiteral("liveCaption"));
    // Its warning without an output may wrap; it must not widen the window.
    m_liveCaption->setWordWrap(true);
    m_liveCanvas = new PageCanvas;
    m_liveCanvas->setObjectName(QStringLiteral("liveCanvas"));
    m_liveCanvas->setAlignTop(true);
    liveLayout->addWidget(m_liveCaption);
    liveLayout->addWidget(m_liveCanvas, 1);
    m_outputControl->setLiveCanvas(m_liveCanvas);

    m_nextTimerSplitter = splitter(Qt::Vertical, QStringLiteral("nextTimerSplitter"));
    auto *nextColumn = new QWidget;
    auto *nextLayout = new QVBoxLayout(nextColumn);
    nextLayout->setContentsMargins(0, 0, 0, 0);
    auto *nextCaption = new QLabel(tr("NEXT"));
    nextCaption->setObjectName(QStringLiteral("nextCaption"));
    m_preparedCanvas = new PageCanvas;
    m_preparedCanvas->setObjectName(QStringLiteral("preparedCanvas"));
    m_preparedCanvas->setAlignTop(true);
    nextLayout->addWidget(nextCaption);
    nextLayout->addWidget(m_preparedCanvas, 1);
    m_nextTimerSplitter->addWidget(nextColumn);
    m_nextTimerSplitter->addWidget(buildControlPanel());
    m_nextTimerSplitter->setStretchFactor(0, 1);
    m_nextTimerSplitter->setStretchFactor(1, 1);
    // NEXT first: the countdown's own wish (a clock of 150 points) would leave NEXT a sliver.
    m_nextTimerSplitter->setSizes({300, 340});

    m_liveNextSplitter->addWidget(liveColumn);
    m_liveNextSplitter->addWidget(m_nextTimerSplitter);
    m_liveNextSplitter->setStretchFactor(0, 3);
    m_liveNextSplitter->setStretchFactor(1, 2);
    m_liveNextSplitter->setSizes({600, 450});

    m_presenterSplitter->addWidget(upper);
    m_presenterSplitter->addWidget(buildPagesPanel());
    m_presenterSplitter->setStretchFactor(0, 3);
    m_presenterSplitter->setStretchFactor(1, 1);
    m_presenterSplitter->setSizes({660, 160});
    return page;
}

QWidget *MainWindow::buildControlPanel()
{
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("controlPanel"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    m_fileLabel = new QLabel;
    m_fileLabel->setObjectName(QStringLiteral("fileLabel"));
    m_fileLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_fileLabel);

    auto *numbers = new QHBoxLayout;
    m_liveLabel = new QLabel;
    m_liveLabel->setObjectName(QStringLiteral("liveLabel"));
    m_preparedLabel = new QLabel;
    m_preparedLabel->setObjectName(QStringLiteral("preparedLabel"));
    for (QLabel *label : {m_liveLabel, m_preparedLabel}) {
        label->setAlignment(Qt::AlignCenter);
        numbers->addWidget(label, 1);
    }
    layout->addLayout(numbers);

    // The time of day and the talk's and the programme's time, above the countdown.
    m_clockStrip = new QLabel;
    m_clockStrip->setObjectName(QStringLiteral("clockStrip"));
    m_clockStrip->setAlignment(Qt::AlignCenter);
    m_clockStrip->setWordWrap(true);
    layout->addWidget(m_clockStrip);
    m_clockTimer.setInterval(1000);
    connect(&m_clockTimer, &QTimer::timeout, this, &MainWindow::showClocks);
    m_clockTimer.start();

    m_timerBar = buildTimerBar(m_countdown);
    layout->addWidget(m_timerBar, 1);

    auto *navigation = new QHBoxLayout;
    navigation->setSpacing(6);
    m_previousButton = makeControlButton(QStringLiteral("previousButton"), tr("Previous"), IconKind::Previous,
                                         tr("Previous slide (or the last slide of the previous file)"), navigation);
    m_nextButton = makeControlButton(QStringLiteral("nextButton"), tr("Next"), IconKind::Next,
                                     tr("Next slide (or the next file of the playlist)"), navigation);
    m_blackoutButton = makeControlButton(QStringLiteral("blackoutButton"), tr("Blackout"), IconKind::Blackout,
                                         tr("Toggle blackout on the output"), navigation);
    m_blackoutButton->setCheckable(true);
    layout->addLayout(navigation);

    m_commands->bindButton(Action::PreviousSlide, m_previousButton);
    m_commands->bindButton(Action::NextSlide, m_nextButton);
    m_commands->bindButton(Action::ToggleBlackout, m_blackoutButton);
    return panel;
}

QWidget *MainWindow::buildPagesPanel()
{
    m_pagesPanel = new QWidget;
    m_pagesPanel->setObjectName(QStringLiteral("pagesPanel"));
    auto *layout = new QVBoxLayout(m_pagesPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto *header = new QHBoxLayout;
    m_pagesToggle = new QToolButton;
    m_pagesToggle->setObjectName(QStringLiteral("pagesToggle"));
    m_pagesToggle->setArrowType(Qt::DownArrow);
    m_pagesToggle->setAutoRaise(true);
    m_pagesToggle->setToolTip(tr("Hide PAGES"));
    connect(m_pagesToggle, &QToolButton::clicked, this, [this] { setPagesCollapsed(!m_pagesCollapsed, true); });
    header->addWidget(m_pagesToggle);
    header->addWidget(new QLabel(tr("PAGES  |  LIVE")));
    header->addStretch();
    layout->addLayout(header);

    m_pagesContainer = new QWidget;
    auto *containerLayout = new QVBoxLayout(m_pagesContainer);
    containerLayout->setContentsMargins(0, 0, 0, 0);
    m_thumbnailStrip = new ThumbnailView(m_thumbnails, ThumbnailView::Strip);
    m_thumbnailStrip->setObjectName(QStringLiteral("thumbnailStrip"));
    m_thumbnailStrip->setFocusPolicy(Qt::NoFocus);
    containerLayout->addWidget(m_thumbnailStrip);
    layout->addWidget(m_pagesContainer, 1);
    return m_pagesPanel;
}

void MainWindow::setPresenterMode(bool presenter)
{
    m_show->setMode(presenter ? Show::Mode::Presenter : Show::Mode::Reader);
}

void MainWindow::showMode()
{
    const bool presenter = m_show->presenting();
    for (QPushButton *button : {m_modePresenter, m_modeReader}) {
        const QSignalBlocker blocker(button);
        button->setChecked(presenter == (button == m_modePresenter));
    }
    m_mainStack->setCurrentIndex(presenter ? 1 : 0);
    for (QAction *item : std::as_const(m_readerItems))
        item->setVisible(!presenter);
    m_fullscreenAction->setVisible(!presenter);
    m_readerBar->setVisible(!presenter);
    m_thumbnailColumn->setVisible(!presenter);
    if (presenter) {
        scrollPagesStrip();
    } else {
        m_thumbnailList->revealPage(m_reader->currentPage(), true);
        m_reader->updateReader();
    }
    m_refreshTimer.start();
}

void MainWindow::scrollPagesStrip()
{
    if (!presenterMode())
        return;
    const int live = m_presentation->livePage();
    const int current = m_presentation->currentPage();
    const bool centred = !m_pagesCollapsed;
    if (live != m_lastShownLive)
        m_thumbnailStrip->revealPage(live, centred);
    else if (current != m_lastShownCurrent)
        m_thumbnailStrip->revealPage(current, centred);
    m_lastShownLive = live;
    m_lastShownCurrent = current;
}

void MainWindow::setPagesCollapsed(bool collapsed, bool animate)
{
    if (collapsed == m_pagesCollapsed)
        return;
    const bool animating = m_pagesAnimation && m_pagesAnimation->state() == QAbstractAnimation::Running;
    if (collapsed && !animating)
        m_rememberedSizes = m_presenterSplitter->sizes();
    m_pagesCollapsed = collapsed;
    m_pagesToggle->setArrowType(collapsed ? Qt::UpArrow : Qt::DownArrow);
    m_pagesToggle->setToolTip(collapsed ? tr("Show PAGES") : tr("Hide PAGES"));
    m_settings->setPagesCollapsed(collapsed);

    const int collapsedHeight = m_pagesToggle->sizeHint().height() + 6;
    const bool usable = m_rememberedSizes.size() == 2 && m_rememberedSizes.at(1) > collapsedHeight;
    const int expandedHeight = usable ? m_rememberedSizes.at(1) : 200;

    if (!animate || !isVisible()) {
        applyPagesGeometry();
        return;
    }
    m_pagesContainer->show();
    m_pagesContainer->setMinimumHeight(expandedHeight - collapsedHeight);
    const int from = m_pagesPanel->height();
    m_pagesPanel->setFixedHeight(from);
    if (!m_pagesAnimation) {
        m_pagesAnimation = new QVariantAnimation(this);
        m_pagesAnimation->setDuration(200);
        m_pagesAnimation->setEasingCurve(QEasingCurve::OutCubic);
    }
    m_pagesAnimation->disconnect(this);
    m_pagesAnimation->stop();
    m_pagesAnimation->setStartValue(from);
    m_pagesAnimation->setEndValue(collapsed ? collapsedHeight : expandedHeight);
    connect(m_pagesAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { m_pagesPanel->setFixedHeight(value.toInt()); });
    connect(m_pagesAnimation, &QVariantAnimation::finished, this, &MainWindow::applyPagesGeometry);
    m_pagesAnimation->start();
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // A collapsed strip is as tall as its toggle, whose size the style sheet set after the
    // window was built decides.
    const bool animating = m_pagesAnimation && m_pagesAnimation->state() == QAbstractAnimation::Running;
    if (event->type() == QEvent::StyleChange && m_pagesCollapsed && !animating)
        m_pagesPanel->setMaximumHeight(m_pagesToggle->sizeHint().height() + 6);
}

void MainWindow::applyPagesGeometry()
{
    m_pagesContainer->setMinimumHeight(0);
    m_pagesPanel->setMinimumHeight(0);
    const int collapsedHeight = m_pagesToggle->sizeHint().height() + 6;
    if (m_pagesCollapsed) {
        m_pagesContainer->hide();
        m_pagesPanel->setMaximumHeight(collapsedHeight);
    } else {
        m_pagesPanel->setMaximumHeight(QWIDGETSIZE_MAX);
        m_pagesContainer->show();
        if (m_rememberedSizes.size() == 2 && m_rememberedSizes.at(1) > collapsedHeight)
            m_presenterSplitter->setSizes(m_rememberedSizes);
    }
    m_lastShownLive = -2;
    m_lastShownCurrent = -2;
    scrollPagesStrip();
}

SetupDialog *MainWindow::setupDialog()
{
    // Made on first use, like the search dialog: its five choosers and their popup lists were
    // a quarter of the window's widgets, all styled before the first frame. Until then the
    // stored settings hold what it would show.
    if (m_setup)
        return m_setup;
    m_setup = new SetupDialog(*m_settings, this);
    connect(m_setup, &SetupDialog::statusMessage, this,
            [this](const QString &text, int ms) { statusBar()->showMessage(text, ms); });
    connect(m_setup, &SetupDialog::displayChosen, m_outputControl, [this] { m_outputControl->displayChosen(); });
    connect(m_setup, &SetupDialog::placementChosen, this, &MainWindow::choosePlacement);
    connect(m_setup, &SetupDialog::windowSizeChosen, m_outputControl, [this] { m_outputControl->windowSizeChosen(); });
    connect(m_setup, &SetupDialog::outputToggleClicked, m_outputControl, &OutputControl::setOutputEnabled);
    connect(m_setup, &SetupDialog::fitWidthChanged, m_presentation, &Presentation::setFitWidth);
    connect(m_setup, &SetupDialog::transitionChanged, this, &MainWindow::applyTransition);
    connect(m_displays, &DisplayManager::changed, m_setup, &SetupDialog::refillDisplays);
    m_outputControl->setDisplayChoice(m_setup->displayChoice());
    m_setup->setOutputShown(m_outputControl->isShown());
    return m_setup;
}

OverviewPage *MainWindow::overview()
{
    if (m_overview)
        return m_overview;
    m_overview = new OverviewPage(m_thumbnails, m_show, m_playlist);
    m_mainStack->addWidget(m_overview);
    connect(m_overview, &OverviewPage::finished, this, [this] {
        m_mainStack->setCurrentIndex(m_show->presenting() ? 1 : 0);
        setFocus();
    });
    return m_overview;
}

SearchDialog *MainWindow::searchDialog()
{
    // Made on first use: the first frame of a show does not wait for a dialog it never shows.
    if (m_search)
        return m_search;
    m_search = new SearchDialog(this);
    connect(m_search, &SearchDialog::searchRequested, this, [this](const QString &text) {
        statusBar()->showMessage(tr("Searching..."));
        m_pdf->search(text);
    });
    connect(m_search, &SearchDialog::statusMessage, this,
            [this](const QString &text) { statusBar()->showMessage(text); });
    connect(m_search, &SearchDialog::hitChosen, this, [this](int page) {
        m_show->setMode(Show::Mode::Reader);
        m_show->jumpTo(page);
    });
    return m_search;
}
