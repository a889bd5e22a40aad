#include "handovernotice.h"

#include "playlist/playlist.h"
#include "presentation/outputwindow.h"
#include "timer/countdown.h"
#include "ui/mainwindow.h"
#include "ui/playlistcontrol.h"
#include "ui/uilog.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QStatusBar>
#include <QLabel>
#include <QPushButton>

#include <utility>

HandOverNotice::HandOverNotice(MainWindow *window)
    : QWidget(window)
    , m_window(window)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("handOverNotice"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    const auto addButton = [this, layout](const char *name, const QString &text, auto act) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(QString::fromLatin1(name));
        // The clicker's keys stay with the show.
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, act);
        layout->addWidget(button);
    };
    addButton("handOverOpen", tr("Open now"), [this] { open(take()); });
    addButton("handOverAdd", tr("Add to playlist"), [this] { addToPlaylist(); });
    addButton("handOverDismiss", tr("Dismiss"), [this] { take(); });
    hide();
}

void HandOverNotice::receive(const QStringList &paths)
{
    bringWindowForward();
    if (paths.isEmpty())
        return;
    // A box the operator is answering comes first as well; opening now would stack another.
    if (!showRunning() && !QApplication::activeModalWidget()) {
        open(paths);
        return;
    }
    qCInfo(lcUi) << paths.size() << "handed-over documents wait for the operator";
    for (const QString &path : paths) {
        if (m_waiting.size() < MaxWaiting && !m_waiting.contains(path))
            m_waiting.append(path);
    }
    refresh();
}

bool HandOverNotice::showRunning() const
{
    return m_window->outputWindow()->isVisible() || m_window->countdown()->isRunning();
}

void HandOverNotice::bringWindowForward()
{
    // Raised over the audience's full-screen output on the same screen (a mirrored projector
    // is one screen too), the operator's window would be what the audience sees.
    const OutputWindow *output = m_window->outputWindow();
    if (output->isVisible() && output->screen() == m_window->screen()) {
        QApplication::alert(m_window);
        return;
    }
    m_window->raise();
    m_window->activateWindow();
}

void HandOverNotice::open(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    if (paths.size() > 1 && !Playlist::isPlaylistPath(paths.constFirst()))
        m_window->playlistControl()->addFiles(paths);
    m_window->openPath(paths.constFirst());
}

void HandOverNotice::addToPlaylist()
{
    QStringList documents = take();
    documents.removeIf([](const QString &path) { return Playlist::isPlaylistPath(path); });
    m_window->playlistControl()->addFiles(documents);
}

QStringList HandOverNotice::take()
{
    // Out of the status bar while idle: the bar takes the height of every widget it holds,
    // hidden or not, and the operator's window is short on a laptop.
    m_window->statusBar()->removeWidget(this);
    return std::exchange(m_waiting, QStringList());
}

void HandOverNotice::refresh()
{
    const QString first = QFileInfo(m_waiting.constFirst()).fileName();
    const qsizetype more = m_waiting.size() - 1;
    m_text->setText(more == 0 ? tr("Handed over during the show: %1").arg(first)
                              : tr("Handed over during the show: %1 and %2 more").arg(first).arg(more));
    m_text->setToolTip(m_waiting.mid(0, 20).join(QLatin1Char('\n')));
    if (isHidden())
        m_window->statusBar()->addPermanentWidget(this);
    show();
}
