#include "pagecanvas.h"

#include <QEasingCurve>
#include <QVariantAnimation>

#include <algorithm>

PageCanvas::PageCanvas(QWidget *parent)
    : QWidget(parent)
    , m_animation(new QVariantAnimation(this))
{
    qRegisterMetaType<PageCanvas::Transition>("PageCanvas::Transition");
    setMinimumSize(80, 60);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(false);
    // Every pixel is painted, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_progress = value.toDouble();
        update();
    });
    connect(m_animation, &QVariantAnimation::finished, this, [this] {
        m_progress = 1.0;
        m_previousImage = QImage();
        update();
    });
}

PageCanvas::~PageCanvas() = default;

QStringList PageCanvas::transitionNames()
{
    return {tr("None"), tr("Fade"), tr("Dip to black"), tr("Slide"), tr("Wipe"), tr("Zoom")};
}

void PageCanvas::setImage(const QImage &image, bool animate, int direction)
{
    const bool transition = animate && m_effect != Transition::None && m_duration >= 1 && isVisible()
        && !m_image.isNull() && !image.isNull();
    m_animation->stop();
    if (transition) {
        // A cut mid-transition drops the page being left: the interrupted target becomes the old page.
        m_previousImage = m_image;
        m_progress = 0.0;
        m_direction = direction < 0 ? -1 : 1;
        m_image = image;
        m_animation->setDuration(m_duration);
        m_animation->start();
    } else {
        m_previousImage = QImage();
        m_progress = 1.0;
        m_image = image;
    }
    update();
}

void PageCanvas::setTransition(Transition effect, int ms)
{
    m_effect = effect;
    m_duration = std::clamp(ms, 0, MaxTransitionMs);
}

void PageCanvas::setBlackout(bool on)
{
    m_blackout = on;
    update();
}

void PageCanvas::setAlignTop(bool on)
{
    m_alignTop = on;
    update();
}

void PageCanvas::setPlaceholderText(const QString &text)
{
    m_placeholderText = text;
    update();
}

void PageCanvas::setOverlayMessage(const QString &text)
{
    if (text == m_overlayMessage)
        return;
    m_overlayMessage = text;
    update();
}

void PageCanvas::setLogo(const QPixmap &logo)
{
    m_logo = logo;
    update();
}

void PageCanvas::setHighlights(const QList<QRectF> &rects, const QSizeF &pageSize, int rotation)
{
    m_highlights = rects;
    m_pageSize = pageSize;
    m_rotation = rotation;
    update();
}

QSize PageCanvas::renderSize() const
{
    const qreal ratio = devicePixelRatioF();
    return QSize(qRound(width() * ratio), qRound(height() * ratio));
}

QRectF PageCanvas::imageRect(const QImage &image) const
{
    const QSizeF canvas = size();
    QSizeF scaled = QSizeF(image.size());
    if (scaled.isEmpty())
        return QRectF();
    // Every frame comes framed as the audience sees it (fit width is cut in the frame), so it
    // always fits whole: an old frame is never shown stretched to a new framing.
    scaled.scale(canvas, Qt::KeepAspectRatio);
    const double left = (canvas.width() - scaled.width()) * 0.5;
    const double top = m_alignTop ? 0.0 : (canvas.height() - scaled.height()) * 0.5;
    return QRectF(QPointF(left, top), scaled);
}

void PageCanvas::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Q_EMIT resized();
}
