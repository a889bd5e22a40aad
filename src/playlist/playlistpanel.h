#pragma once

#include <QWidget>

#include <functional>

class Playlist;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;
class QVariantAnimation;

// The playlist column at the left edge of the window: the files of the show with the current
// one marked, and the buttons that edit them. Collapses to a narrow strip during a show.
class PlaylistPanel final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CollapsedWidth = 30;

    // Makes an icon-only button (painted icon kind, object name, tool tip).
    using IconButtonFactory = std::function<QPushButton *(int kind, const QString &objectName, const QString &toolTip)>;

    PlaylistPanel(Playlist *playlist, const IconButtonFactory &iconButton, QWidget *parent = nullptr);

    bool isCollapsed() const { return m_collapsed; }
    void setCollapsed(bool collapsed, bool animated);
    int expandedWidth() const { return m_expandedWidth; }

    void refresh();
    QListWidget *list() const { return m_list; }

Q_SIGNALS:
    void entryActivated(int row);

private:
    void applyFinalState();
    void setSplitterWidth(int width);

    Playlist *m_playlist;
    QToolButton *m_toggle = nullptr;
    QLabel *m_title = nullptr;
    QWidget *m_verticalTitle = nullptr;
    QWidget *m_body = nullptr;
    QListWidget *m_list = nullptr;
    QVariantAnimation *m_animation = nullptr;
    bool m_collapsed = false;
    int m_expandedWidth = 260;
};
