#include "timer/fitlabel.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace {

constexpr double MinPointSize = 10.0;
constexpr double MaxPointSize = 600.0;
constexpr double HintPointSize = 150.0;
constexpr int Padding = 4;

QEvent::Type fitEvent()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

QString probeText(const QString &text)
{
    QString probe = text;
    for (QChar &c : probe) {
        if (c.isDigit())
            c = u'8';
    }
    return probe;
}

} // namespace

FitLabel::FitLabel(QWidget *parent)
    : FitLabel(0, false, parent)
{
}

FitLabel::FitLabel(int reservedMargin, bool digitsOnly, QWidget *parent)
    : QLabel(parent)
    , m_reservedMargin(reservedMargin)
    , m_digitsOnly(digitsOnly)
{
    setAlignment(Qt::AlignCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(80, 30);
}

QFont FitLabel::measuringFont(double pointSize)
{
    QFont font = QApplication::font();
    font.setWeight(QFont::Bold);
    font.setPointSizeF(pointSize);
    return font;
}

double FitLabel::textHeight(const QFont &font) const
{
    const QFontMetricsF metrics(font);
    return m_digitsOnly ? metrics.tightBoundingRect(QStringLiteral("8")).height() : metrics.height();
}

bool FitLabel::fitsAt(const QString &text, double pointSize) const
{
    const QFont font = measuringFont(pointSize);
    const QSizeF space = textSpace();
    return QFontMetricsF(font).horizontalAdvance(probeText(text)) <= space.width()
        && textHeight(font) <= space.height();
}

QSizeF FitLabel::textSpace() const
{
    return QSizeF(width() - 2 * Padding, height() - (m_reservedMargin * 2 + 2 * Padding));
}

QSize FitLabel::sizeHint() const
{
    // Sized for the longest clock text at a large size, independent of the fitted font,
    // so refitting never changes the layout. Measured in the application's bold font,
    // which the window has loaded anyway, and scaled up: a hint needs no font of its own.
    QFont font = QApplication::font();
    font.setWeight(QFont::Bold);
    const double pixels = QFontInfo(font).pixelSize();
    const double scale = pixels > 0 ? HintPointSize * logicalDpiY() / 72.0 / pixels : 1.0;
    const double advance = QFontMetricsF(font).horizontalAdvance(QStringLiteral("88:88:88")) * scale;
    return QSize(int(std::ceil(advance)) + 2 * Padding,
                 int(std::ceil(textHeight(font) * scale)) + (m_reservedMargin + Padding) * 2);
}

QSize FitLabel::minimumSizeHint() const
{
    return QSize(80, m_reservedMargin * 2 + 30);
}

void FitLabel::fitFont()
{
    // A label not on screen is fitted once it is shown: a window being built resizes it
    // several times.
    if (!isVisible()) {
        m_fitPending = true;
        return;
    }
    m_fitPending = false;
    // Each size measured loads a font of its own. Text grows nearly in proportion to its
    // size, so one measurement at the size the hint uses comes within a step or two of the
    // largest fitting size, and those steps settle it. Small sizes measure a little less
    // than in proportion (whole pixels), so the search starts one step above the estimate.
    const QString current = text();
    const QFont reference = measuringFont(HintPointSize);
    const double advance = QFontMetricsF(reference).horizontalAdvance(probeText(current));
    const QSizeF space = textSpace();
    double scale = space.height() / textHeight(reference);
    if (advance > 0)
        scale = std::min(scale, space.width() / advance);
    double size = std::clamp(std::floor(HintPointSize * scale) + 1, MinPointSize, MaxPointSize);
    while (size > MinPointSize && !fitsAt(current, size))
        --size;
    while (size < MaxPointSize && fitsAt(current, size + 1))
        ++size;
    if (size == m_fittedSize)
        return;
    m_fittedSize = size;
    const QString number = QString::number(size, 'g');
    const QString name = objectName();
    setStyleSheet(name.isEmpty() ? QStringLiteral("font-size:%1pt;").arg(number)
                                 : QStringLiteral("QLabel#%1 { font-size:%2pt; }").arg(name, number));
}

void FitLabel::fitLater()
{
    m_fitPending = true;
    if (m_fitQueued)
        return;
    m_fitQueued = true;
    // Behind the queued work of the moment, the audience's frames among it, and still ahead
    // of the paint that waits behind that work too.
    QCoreApplication::postEvent(this, new QEvent(fitEvent()), Qt::LowEventPriority);
}

bool FitLabel::event(QEvent *event)
{
    if (event->type() == fitEvent()) {
        m_fitQueued = false;
        if (m_fitPending)
            fitFont();
        return true;
    }
    if (event->type() == QEvent::Paint)
        m_painted = true;
    return QLabel::event(event);
}

void FitLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    if (m_fitPending)
        fitLater();
}

void FitLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    // A window being shown for the first time resizes the label more than once: it is fitted
    // once that is over, before its first paint. Later, a new size is fitted at once, so no
    // paint shows the old size.
    const QWindow *shownOn = window()->windowHandle();
    if (m_painted && shownOn && shownOn->isExposed())
        fitFont();
    else
        fitLater();
}
