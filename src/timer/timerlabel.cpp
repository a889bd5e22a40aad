#include "timer/timerlabel.h"

#include "timer/arrowbutton.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <limits>

namespace {

constexpr int ReservedMargin = ArrowButton::Height;

// Where each digit group of a clock text such as "-1:05:00" ends (one past its last digit).
QList<qsizetype> digitGroupEnds(const QString &text)
{
    QList<qsizetype> ends;
    const qsizetype start = text.startsWith(u'-') ? 1 : 0;
    qsizetype begin = start;
    for (qsizetype i = start; i <= text.size(); ++i) {
        if (i == text.size() || text.at(i) == u':') {
            if (i > begin)
                ends.append(i);
            begin = i + 1;
        }
    }
    return ends;
}

} // namespace

TimerLabel::TimerLabel(QWidget *parent)
    : FitLabel(ReservedMargin, true, parent)
    , m_repeatTimer(new QTimer(this))
    , m_up(new ArrowButton(true, this))
    , m_down(new ArrowButton(false, this))
{
    setObjectName(QStringLiteral("timer"));
    setMinimumSize(110, 66);
    connect(m_repeatTimer, &QTimer::timeout, this, &TimerLabel::repeat);
    placeArrows();
}

void TimerLabel::setAdjustCallback(AdjustCallback callback)
{
    m_adjust = std::move(callback);
}

bool TimerLabel::isRepeating() const
{
    return m_repeatTimer->isActive();
}

int TimerLabel::groupStepAt(int x) const
{
    const QString shown = text();
    const QList<qsizetype> ends = digitGroupEnds(shown);
    QList<int> steps;
    if (ends.size() == 3)
        steps = {3600, 60, 10};
    else if (ends.size() == 2)
        steps = {60, 10};
    else
        return 0;

    // Measured in the shown text, minus sign included, as it is painted centred.
    const QFontMetricsF metrics(measuringFont(fittedSize() > 0 ? fittedSize() : 150.0));
    const double x0 = (width() - metrics.horizontalAdvance(shown)) / 2;
    const double halfColon = metrics.horizontalAdvance(QStringLiteral(":")) / 2;
    for (qsizetype i = 0; i < ends.size(); ++i) {
        // Each zone reaches half a colon past its digits; the last one to the right edge.
        const bool last = i == ends.size() - 1;
        const double zoneEnd = last ? std::numeric_limits<double>::infinity()
                                    : x0 + metrics.horizontalAdvance(shown.left(ends.at(i))) + halfColon;
        if (x < zoneEnd)
            return steps.at(i);
    }
    return 0;
}

void TimerLabel::refit()
{
    fitFont();
    placeArrows();
}

void TimerLabel::mousePressEvent(QMouseEvent *event)
{
    const int step = event->button() == Qt::LeftButton ? groupStepAt(qRound(event->position().x())) : 0;
    if (step == 0) {
        FitLabel::mousePressEvent(event);
        return;
    }
    m_repeatStep = event->position().y() < height() / 2.0 ? step : -step;
    if (m_adjust)
        m_adjust(m_repeatStep);
    m_repeatTimer->start(RepeatDelay);
    event->accept();
}

void TimerLabel::mouseReleaseEvent(QMouseEvent *event)
{
    m_repeatTimer->stop();
    FitLabel::mouseReleaseEvent(event);
}

void TimerLabel::hideEvent(QHideEvent *event)
{
    m_repeatTimer->stop();
    FitLabel::hideEvent(event);
}

void TimerLabel::resizeEvent(QResizeEvent *event)
{
    FitLabel::resizeEvent(event);
    // Also when the font size stayed: the arrows follow every change of the size.
    placeArrows();
}

void TimerLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    const QFontMetricsF metrics(font());
    const QString shown = text();
    // The baseline comes from the digit height, so the digits stay centred between the
    // arrows whatever ascent and descent the font has.
    const double x = (width() - metrics.horizontalAdvance(shown)) / 2;
    const double baseline = (height() + metrics.tightBoundingRect(QStringLiteral("8")).height()) / 2;
    painter.drawText(QPointF(x, baseline), shown);
}

void TimerLabel::placeArrows()
{
    const int x = (width() - ArrowButton::Width) / 2;
    m_up->move(x, 0);
    m_down->move(x, height() - ArrowButton::Height);
}

void TimerLabel::repeat()
{
    m_repeatTimer->setInterval(RepeatInterval);
    if (m_adjust)
        m_adjust(m_repeatStep);
}
