#pragma once

#include "base/iconkind.h"

#include <QWidget>

#include <functional>

class Playlist;
class PlaylistDelegate;
class QLabel;
class PlaylistModel;
class QListView;
class QPushButton;
class QToolButton;
class QVariantAnimation;
class UndoHistory;

// The playlist column at the left edge of the window: the files of the show with the current
// one marked, the buttons that edit them and a countdown chip per row. Collapses to a narrow
// strip during a show. The panel only asks; the operations themselves belong to its owner.
class PlaylistPanel final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CollapsedWidth = 30;
    static constexpr int MinimumExpandedWidth = 160;
    static constexpr int MinimumRememberedWidth = 180;
    static constexpr int AnimationMs = 200;

    // What the panel's buttons ask for.
    enum class Command { Add, OpenFile, SaveFile, Export, Import, Back, MoveUp, MoveDown, Remove, Clear };
    Q_ENUM(Command)

    // Makes an icon-only button (painted icon kind, object name, tool tip).
    using IconButtonFactory = std::function<QPushButton *(IconKind kind, const QString &objectName, const QString &toolTip)>;

    PlaylistPanel(Playlist *playlist, UndoHistory *history, const IconButtonFactory &iconButton,
                  QWidget *parent = nullptr);

    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed, bool animated);
    int expandedWidth() const { return m_expandedWidth; }
    // What the window has grown by for the panel so far; collapsing gives back no more.
    int grownWidth() const { return m_grownWidth; }

    void refresh();
    void refreshBackButton();
    QListView *list() const { return m_list; }
    int selectedRow() const;
    // A row outside the list clears the selection.
    void selectRow(int row);
    // The paths in the order the rows show them (after a drag, before the playlist follows).
    QStringList rowPaths() const;
    // The row that was selected when the last drag and drop began.
    int rowBeforeMove() const { return m_rowBeforeMove; }

    // The presentation time in seconds, which a new countdown proposes.
    void setPresentationSeconds(std::function<int()> seconds) { m_presentationSeconds = std::move(seconds); }
    void openFileCountdownDialog(int row);

Q_SIGNALS:
    void commandRequested(PlaylistPanel::Command command);
    void entryActivated(int row);
    // Rows were dragged to a new order; sent once the list has finished the move.
    void reorderRequested();
    // From the file's dialog: minutes 0 means no countdown, end page 0 the document's last page.
    void entrySettingsChosen(const QString &path, int minutes, int endPage);
    void statusMessage(const QString &text, int ms);

private:
    QPushButton *commandButton(QPushButton *button, Command command);
    void applyFinalState();
    void animateWidth(int width);
    void growWindow(int delta);
    void setSplitterWidth(int width);

    Playlist *m_playlist;
    UndoHistory *m_history;
    PlaylistDelegate *m_delegate = nullptr;
    QToolButton *m_toggle = nullptr;
    QLabel *m_title = nullptr;
    QWidget *m_verticalTitle = nullptr;
    QWidget *m_body = nullptr;
    QPushButton *m_back = nullptr;
    PlaylistModel *m_model = nullptr;
    QListView *m_list = nullptr;
    QVariantAnimation *m_animation = nullptr;
    std::function<int()> m_presentationSeconds;
    bool m_collapsed = true;
    int m_expandedWidth = 260;
    int m_grownWidth = 0;
    int m_animatedWidth = 0;
    int m_rowBeforeMove = -1;
};
