// Scrolling of the continuous view: immediate, user and spring-driven moves, steps, the
// wheel, going to a page and the position exchange with the mirror.
#include "scrollview.h"

#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

void ScrollView::setScrollPosition(double y)
{
    m_position = std::clamp(y, 0.0, double(std::max(verticalMaximum(), 0)));
    {
        QScopedValueRollback<bool> programmatic(m_programmatic, true);
        verticalScrollBar()->setValue(int(std::lround(m_position)));
    }
    requestVisiblePages();
    viewport()->update();
    if (!m_animating && !m_explicitPage)
        updateCurrentPage();
    Q_EMIT positionChanged();
}

void ScrollView::onVerticalBarMoved(int value)
{
    if (m_programmatic)
        return;
    stopAnimation();
    m_explicitPage = false;
    m_position = value;
    requestVisiblePages();
    viewport()->update();
    updateCurrentPage();
    Q_EMIT positionChanged();
}

void ScrollView::smoothScrollTo(double y, bool explicitPage)
{
    m_explicitPage = explicitPage;
    y = std::clamp(y, 0.0, double(std::max(verticalMaximum(), 0)));
    if (!isVisible()) {
        setScrollPosition(y);
        return;
    }
    if (!m_animating) {
        if (std::abs(y - m_position) < 0.5)
            return;
        m_spring.start(m_position);
        m_animating = true;
        m_clock.restart();
        m_timer->start();
    }
    // A running scroll is redirected, not restarted.
    m_spring.setTarget(y);
}

void ScrollView::stopAnimation()
{
    m_timer->stop();
    m_spring.stop();
    m_animating = false;
}

void ScrollView::animationTick()
{
    const double dt = m_clock.isValid() ? m_clock.nsecsElapsed() / 1e9 : ScrollSpring::MinStep;
    m_clock.restart();
    double position = m_position;
    if (m_spring.advance(position, dt, verticalMaximum())) {
        stopAnimation();
        setScrollPosition(m_spring.target());
        if (!m_explicitPage)
            updateCurrentPage();
        return;
    }
    setScrollPosition(position);
}

void ScrollView::wheelEvent(QWheelEvent *event)
{
    if (m_mirror) {
        event->ignore();
        return;
    }
    const bool classic = event->pixelDelta().isNull() && event->phase() == Qt::NoScrollPhase;
    if (classic) {
        const QPoint angle = event->angleDelta();
        if (angle.y() != 0 && angle.x() == 0 && !(event->modifiers() & Qt::ShiftModifier)) {
            smoothScrollTo(target() - angle.y() / 120.0 * 100.0, false);
            event->accept();
            return;
        }
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    // Touchpads already deliver smooth pixel motion; follow it directly.
    stopAnimation();
    m_explicitPage = false;
    const QPoint delta = event->pixelDelta().isNull() ? event->angleDelta() : event->pixelDelta();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
    setScrollPosition(m_position - delta.y());
    event->accept();
}

int ScrollView::stepHeight() const
{
    const int height = viewport()->height();
    return m_stepLimit >= 1 && m_stepLimit <= height ? m_stepLimit : height;
}

void ScrollView::stepLines(int direction)
{
    smoothScrollTo(stepBase() + std::max(stepHeight() / 8, 60) * direction, false);
}

void ScrollView::stepScreen(int direction)
{
    if (m_layout.isEmpty())
        return;
    const int limit = stepHeight();
    const double base = stepBase();
    double goal = base + std::max(9 * limit / 10, 40) * direction;
    const int rows = int(m_layout.rows().size());
    if (direction > 0) {
        // The next page start already on screen comes to the top instead of a fixed step.
        for (int row = m_layout.rowAt(base) + 1; row < rows; ++row) {
            const int start = m_layout.rowStart(row);
            if (start > base + 4.0) {
                if (base + limit >= start)
                    goal = start;
                break;
            }
        }
    } else if (direction < 0) {
        for (int row = m_layout.rowAt(base); row >= 0; --row) {
            const int start = m_layout.rowStart(row);
            if (start < base - 4.0) {
                if (start >= base - limit)
                    goal = start;
                break;
            }
        }
    }
    smoothScrollTo(goal, false);
}

void ScrollView::scrollToEdge(bool end, bool smooth)
{
    const double y = end ? verticalMaximum() : 0.0;
    if (smooth) {
        smoothScrollTo(y, false);
        return;
    }
    stopAnimation();
    setScrollPosition(y);
}

void ScrollView::goToPage(int page, bool smooth)
{
    if (m_layout.isEmpty())
        return;
    page = std::clamp(page, 0, m_layout.pageCount() - 1);
    if (!isVisible()) {
        m_pendingPage = page;
        setCurrentPage(page);
        return;
    }
    m_currentPage = page;
    Q_EMIT currentPageChanged(page);
    const double y = std::max(m_layout.rows().at(m_layout.rowOfPage(page)).top - m_margin, 0);
    if (smooth) {
        smoothScrollTo(y, true);
        return;
    }
    stopAnimation();
    m_explicitPage = true;
    setScrollPosition(y);
}

ScrollPosition ScrollView::position() const
{
    ScrollPosition position;
    position.rowFraction = m_layout.fractionAt(m_position);
    const int maximum = verticalMaximum();
    position.atEnd = maximum >= 1 && m_position >= maximum - 1.0;
    const QScrollBar *bar = horizontalScrollBar();
    position.horizontalRatio = bar->maximum() >= 1 ? double(bar->value()) / bar->maximum() : 0.5;
    position.following = m_animating;
    return position;
}

void ScrollView::setPosition(const ScrollPosition &position)
{
    if (!isVisible() || m_layout.isEmpty()) {
        m_pendingPosition = position;
        m_hasPendingPosition = true;
        return;
    }
    m_hasPendingPosition = false;
    stopAnimation();
    m_following = position.following;
    QScrollBar *bar = horizontalScrollBar();
    bar->setValue(int(std::lround(bar->maximum() * position.horizontalRatio)));
    setScrollPosition(position.atEnd ? double(verticalMaximum()) : m_layout.positionOf(position.rowFraction));
}
