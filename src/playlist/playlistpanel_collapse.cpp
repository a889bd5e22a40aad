#include "playlistpanel.h"

#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <QVariantAnimation>

void PlaylistPanel::setCollapsed(bool collapsed, bool animated)
{
    if (collapsed == m_collapsed && m_animation)
        return;
    const bool running = m_animation && m_animation->state() == QAbstractAnimation::Running;
    if (collapsed && !m_collapsed && !running)
        m_expandedWidth = std::max(MinimumRememberedWidth, width());
    m_collapsed = collapsed;
    m_toggle->setArrowType(collapsed ? Qt::RightArrow : Qt::LeftArrow);
    m_toggle->setToolTip(collapsed ? tr("Show PLAYLIST") : tr("Hide PLAYLIST"));

    if (!m_animation) {
        m_animation = new QVariantAnimation(this);
        m_animation->setDuration(AnimationMs);
        m_animation->setEasingCurve(QEasingCurve::OutCubic);
        connect(m_animation, &QVariantAnimation::valueChanged, this,
                [this](const QVariant &value) { animateWidth(value.toInt()); });
        connect(m_animation, &QVariantAnimation::finished, this, &PlaylistPanel::applyFinalState);
    }
    m_animation->stop();
    if (!animated || !window()->isVisible()) {
        applyFinalState();
        return;
    }
    m_body->show();
    m_title->show();
    m_verticalTitle->hide();
    m_body->setMinimumWidth(m_expandedWidth - 4);
    setFixedWidth(width());
    m_animatedWidth = width();
    m_animation->setStartValue(width());
    m_animation->setEndValue(collapsed ? CollapsedWidth : m_expandedWidth);
    m_animation->start();
}

void PlaylistPanel::applyFinalState()
{
    m_body->setMinimumWidth(0);
    m_body->setVisible(!m_collapsed);
    m_title->setVisible(!m_collapsed);
    m_verticalTitle->setVisible(m_collapsed);
    if (m_collapsed) {
        setFixedWidth(CollapsedWidth);
    } else {
        setMinimumWidth(MinimumExpandedWidth);
        setMaximumWidth(QWIDGETSIZE_MAX);
    }
    setSplitterWidth(m_collapsed ? CollapsedWidth : m_expandedWidth);
    refresh();
}

void PlaylistPanel::animateWidth(int width)
{
    const int delta = width - m_animatedWidth;
    m_animatedWidth = width;
    growWindow(delta);
    setFixedWidth(width);
    setSplitterWidth(width);
}

// The window grows with the panel so the reading area keeps its size, as far as the screen
// has room, and gives back only what it took.
void PlaylistPanel::growWindow(int delta)
{
    QWidget *host = window();
    if (host == this || delta == 0 || host->isMaximized() || host->isFullScreen())
        return;
    QScreen *screen = host->screen();
    int grow = 0;
    if (delta > 0) {
        const int room = screen ? std::max(0, screen->availableGeometry().width() - host->width()) : 0;
        grow = std::min(delta, room);
    } else {
        grow = -std::min(-delta, m_grownWidth);
    }
    if (grow == 0)
        return;
    m_grownWidth += grow;
    host->resize(host->width() + grow, host->height());
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const int overflow = host->frameGeometry().right() - available.right();
    if (overflow > 0)
        host->move(std::max(available.left(), host->x() - overflow), host->y());
}

void PlaylistPanel::setSplitterWidth(int width)
{
    auto *splitter = qobject_cast<QSplitter *>(parentWidget());
    if (!splitter || splitter->count() < 3 || splitter->widget(0) != this)
        return;
    QList<int> sizes = splitter->sizes();
    const int total = sizes.at(0) + sizes.at(2);
    sizes[0] = width;
    sizes[2] = std::max(1, total - width);
    splitter->setSizes(sizes);
}
