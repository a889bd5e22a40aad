#pragma once

#include "input/action.h"
#include "show/show.h"

#include <QImage>
#include <QSize>
#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <memory>

class AppSettings;
class Commands;
class Countdown;
class DisplayManager;
class FilePreview;
class HandOverNotice;
class OverviewPage;
class InputRouter;
class KeyHints;
class OutputControl;
class OutputWindow;
class PageCanvas;
class PdfService;
class Playlist;
class PlaylistControl;
class PlaylistPanel;
class Presentation;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QSettings;
class QSplitter;
class QStackedWidget;
class QToolBar;
class QToolButton;
class QVariantAnimation;
class ReaderControl;
class SearchDialog;
class SetupDialog;
class ThumbnailModel;
class ThumbnailView;
class UndoHistory;
class UpdateCheck;

// The operator's window and the owner of every service. Where the show is lives in the show
// model; behaviour lives in the objects the window owns (commands, output control, reader
// control, countdown, playlist, undo history, key hints). The window builds the widgets,
// wires the services and shows what the show model says changed.
class MainWindow final : public QMainWindow
{
    Q_OBJECT

public:
    // `startDocument`, a PDF, starts to load before the window is built, so that its first
    // frame is rendered while the widgets are made.
    explicit MainWindow(const QString &startDocument = QString(), QWidget *parent = nullptr);
    ~MainWindow() override;

    // The one entry point for user-initiated opening (command line, file-open events, drops,
    // the file dialog, the recent list).
    void openPath(const QString &path);
    // Documents a later start of the program handed over (none: it only asks for the window).
    // During a show they wait for the operator instead of replacing what the audience sees.
    void receiveHandOver(const QStringList &paths);
    void checkForUpdates(bool automatic);

    void setPresenterMode(bool presenter);
    bool presenterMode() const;
    void setPagesCollapsed(bool collapsed, bool animate);
    bool pagesCollapsed() const { return m_pagesCollapsed; }

    // Operations behind menus, buttons and keys.
    void showOpenDialog();
    void closeDocument();
    // A key's command, as the input router routes it.
    void handleAction(Action action);
    void showInputDialog();
    void showSetupDialog();
    SetupDialog *setupDialog();
    // The output full screen on a display or as a window for screen sharing, remembered.
    void choosePlacement(bool windowed);
    void showSearchDialog();
    SearchDialog *searchDialog();
    // The grid of every page, over the current view until a page is chosen or it is left.
    void showOverview();
    // The session's time (mainwindow_session.cpp).
    void exportTimingReport();
    void countDownToTimeOfDay();

    PdfService *pdfService() const { return m_pdf; }
    Presentation *presentation() const { return m_presentation; }
    Show *showModel() const { return m_show; }
    Commands *commands() const { return m_commands; }
    OutputWindow *outputWindow() const { return m_output.get(); }
    Countdown *countdown() const { return m_countdown; }
    UndoHistory *undoHistory() const { return m_undo; }
    Playlist *playlist() const { return m_playlist; }
    PlaylistControl *playlistControl() const { return m_playlistControl; }
    PlaylistPanel *playlistPanel() const { return m_playlistPanel; }
    InputRouter *inputRouter() const { return m_router; }
    ReaderControl *reader() const { return m_reader; }
    OutputControl *outputControl() const { return m_outputControl; }
    DisplayManager *displayManager() const { return m_displays; }

Q_SIGNALS:
    void documentReady();
    // The PDF engine refused a document; emitted before the operator is asked or told.
    void documentFailed();

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Layout (mainwindow_layout.cpp)
    void fitStartSize();
    void buildUi();
    void buildHeader();
    QWidget *buildPresenterPage();
    QWidget *buildControlPanel();
    QWidget *buildPagesPanel();
    void applyPagesGeometry();
    void scrollPagesStrip();

    // Wiring and what the show model says changed (mainwindow.cpp)
    void connectServices();
    void onRenderFailed(int page, const QString &message);
    void applyTransition(int effect, int ms);
    void tellMissingDisplay();
    OverviewPage *overview();
    void onShowChanged(Show::Changes what);
    void showMode();
    void showOutputState();
    void showBlackout();
    void showLiveMarks();
    void showLabels();
    void showNext();
    void showLivePage();
    void rerender();
    void showClocks();

    // Documents (mainwindow_documents.cpp)
    // A path that could not be opened: a folder, pipe or device says what it is.
    void reportMissing(const QString &path);
    void connectDocuments();
    void openChosenFiles(const QStringList &paths);
    void onDocumentOpened(int pages);
    void onClosed();
    void saveReadingPosition(const QString &path);
    void rebuildRecentMenu();

    // Menus and key hints (mainwindow_menus.cpp)
    void buildMenus();
    void updateViewMenu();
    void updatePresentationMenu();
    void registerKeyHints();
    void clickButton(const QString &objectName);
    QString bindingHint(Action action) const;

    PdfService *m_pdf = nullptr;
    Presentation *m_presentation = nullptr;
    Show *m_show = nullptr;
    Commands *m_commands = nullptr;
    FilePreview *m_nextFile = nullptr;
    OverviewPage *m_overview = nullptr;
    InputRouter *m_router = nullptr;
    DisplayManager *m_displays = nullptr;
    QSettings *m_store = nullptr;
    std::unique_ptr<AppSettings> m_settings;
    std::unique_ptr<OutputWindow> m_output;
    ThumbnailModel *m_thumbnails = nullptr;
    Countdown *m_countdown = nullptr;
    Playlist *m_playlist = nullptr;
    UndoHistory *m_undo = nullptr;
    PlaylistControl *m_playlistControl = nullptr;
    KeyHints *m_keyHints = nullptr;
    OutputControl *m_outputControl = nullptr;
    ReaderControl *m_reader = nullptr;
    SetupDialog *m_setup = nullptr;
    SearchDialog *m_search = nullptr;
    UpdateCheck *m_updates = nullptr;
    PlaylistPanel *m_playlistPanel = nullptr;
    HandOverNotice *m_handOver = nullptr;

    QToolBar *m_header = nullptr;
    QToolBar *m_readerBar = nullptr;
    QStackedWidget *m_mainStack = nullptr;
    QPushButton *m_modeReader = nullptr;
    QPushButton *m_modePresenter = nullptr;
    QPushButton *m_outputHeaderButton = nullptr;
    QPushButton *m_readerBlackout = nullptr;
    QPushButton *m_fullscreenButton = nullptr;
    QAction *m_fullscreenAction = nullptr;
    QList<QAction *> m_readerItems;
    QPointer<QWidget> m_previousPageButton;
    QPointer<QWidget> m_nextPageButton;
    QWidget *m_thumbnailColumn = nullptr;
    ThumbnailView *m_thumbnailList = nullptr;
    ThumbnailView *m_thumbnailStrip = nullptr;

    QLabel *m_liveLabel = nullptr;
    QLabel *m_preparedLabel = nullptr;
    QLabel *m_fileLabel = nullptr;
    QLabel *m_liveCaption = nullptr;
    QLabel *m_clockStrip = nullptr;
    QTimer m_clockTimer;
    PageCanvas *m_liveCanvas = nullptr;
    PageCanvas *m_preparedCanvas = nullptr;
    QSplitter *m_rootSplitter = nullptr;
    QSplitter *m_liveNextSplitter = nullptr;
    QSplitter *m_nextTimerSplitter = nullptr;
    QSplitter *m_presenterSplitter = nullptr;
    QWidget *m_pagesPanel = nullptr;
    QWidget *m_pagesContainer = nullptr;
    QToolButton *m_pagesToggle = nullptr;
    QWidget *m_timerBar = nullptr;
    QPushButton *m_previousButton = nullptr;
    QPushButton *m_nextButton = nullptr;
    QPushButton *m_blackoutButton = nullptr;

    QMenu *m_recentMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_presentationMenu = nullptr;
    QAction *m_readerModeAction = nullptr;
    QAction *m_presenterModeAction = nullptr;
    QList<QAction *> m_readerMenuActions;
    QAction *m_twoPagesAction = nullptr;
    QAction *m_scrollModeAction = nullptr;
    QAction *m_outputMenuAction = nullptr;
    QAction *m_fullscreenMenuAction = nullptr;
    QAction *m_fullScreenPlacementAction = nullptr;
    QAction *m_windowPlacementAction = nullptr;
    QAction *m_blackoutMenuAction = nullptr;
    QAction *m_startTimerAction = nullptr;
    QAction *m_backAction = nullptr;

    QTimer m_refreshTimer;
    QPixmap m_logo;

    bool m_pagesCollapsed = false;
    QList<int> m_rememberedSizes;
    QVariantAnimation *m_pagesAnimation = nullptr;
    int m_lastShownLive = -2;
    int m_lastShownCurrent = -2;

    // Digits typed for a page number, shown to the operator only.
    QString m_typedPage;
    // Render failures of the open document told to the operator, by message.
    QSet<QString> m_reportedFailures;
};
