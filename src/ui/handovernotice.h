#pragma once

#include <QStringList>
#include <QWidget>

class MainWindow;
class QLabel;

// Documents that a later start of the program handed over. Outside a show they open at once,
// as the operator's own open would. During a show (the output on, or the countdown running)
// the audience's frame, the countdown and the clicker stay the operator's: the documents wait
// in this notice in the status bar, without a box, until the operator opens them, adds them
// to the playlist or dismisses them.
class HandOverNotice final : public QWidget
{
    Q_OBJECT

public:
    // More than this many waiting documents are left out.
    static constexpr int MaxWaiting = 100;

    explicit HandOverNotice(MainWindow *window);

    void receive(const QStringList &paths);
    QStringList waiting() const { return m_waiting; }

private:
    bool showRunning() const;
    void bringWindowForward();
    // As a drop of the same files: several go into the playlist, and the first opens.
    void open(const QStringList &paths);
    void addToPlaylist();
    // Empties the notice and hands out what was waiting.
    QStringList take();
    void refresh();

    MainWindow *m_window;
    QStringList m_waiting;
    QLabel *m_text;
};
