#pragma once

#include <QWidget>

class Playlist;
class QLabel;
class QListWidget;
class Show;
class ThumbnailModel;
class ThumbnailView;

// Every page of the open talk in a grid, and the programme's other talks beside it. Arrows
// and the mouse choose; Enter (or a double click) takes the choice to the show, Escape goes
// back. The audience sees nothing change until then. The pages are the thumbnails' pictures,
// asked for as the grid shows them, so a long document opens its grid at once.
class OverviewPage final : public QWidget
{
    Q_OBJECT

public:
    OverviewPage(ThumbnailModel *thumbnails, Show *show, Playlist *playlist, QWidget *parent = nullptr);

    // Fills the talks, selects `page` and takes the keyboard.
    void start(int page);

Q_SIGNALS:
    void finished();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void choosePage(int page);
    void chooseTalk(int row);

    Show *m_show;
    Playlist *m_playlist;
    QLabel *m_title;
    ThumbnailView *m_grid;
    QListWidget *m_talks;
};
