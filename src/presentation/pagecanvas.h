#pragma once

#include <QImage>
#include <QList>
#include <QPixmap>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QWidget>

class QPainter;
class QVariantAnimation;

// Shows one rendered page image scaled into a black field, with an animated change from the
// previous image, search-hit boxes, a placeholder text, a logo or both (the text under the
// logo) when there is no image, and a boxed overlay message over everything.
class PageCanvas : public QWidget
{
    Q_OBJECT

public:
    enum class Transition { None, Fade, Dip, Slide, Wipe, Zoom };
    Q_ENUM(Transition)

    static constexpr int MaxTransitionMs = 3000;

    explicit PageCanvas(QWidget *parent = nullptr);
    ~PageCanvas() override;

    // The six effect labels in value order; an index into this list is a Transition value.
    static QStringList transitionNames();

    // Boxes for `rects` (page points of the unrotated page of `pageSize`) over a page image
    // drawn into `target` turned by `rotation` quarter turns clockwise.
    static void drawHighlights(QPainter *painter, const QRectF &target, const QList<QRectF> &rects,
                               const QSizeF &pageSize, int rotation);

    void setImage(const QImage &image, bool animate, int direction);
    void setTransition(Transition effect, int ms);
    void setBlackout(bool on);
    void setAlignTop(bool on);
    void setPlaceholderText(const QString &text);
    void setOverlayMessage(const QString &text);
    void setLogo(const QPixmap &logo);
    void setHighlights(const QList<QRectF> &rects, const QSizeF &pageSize, int rotation);

    QImage image() const { return m_image; }
    QImage previousImage() const { return m_previousImage; }
    Transition transition() const { return m_effect; }
    int duration() const { return m_duration; }
    int direction() const { return m_direction; }
    // 0.0 when a transition starts, rising with the eased animation; 1.0 when none runs.
    // The canvas's QVariantAnimation child drives it: pausing that animation and setting its
    // current time holds a transition frame (the tests and benchmarks paint frames that way).
    double progress() const { return m_progress; }
    bool blackout() const { return m_blackout; }
    bool alignTop() const { return m_alignTop; }
    QString placeholderText() const { return m_placeholderText; }
    QString overlayMessage() const { return m_overlayMessage; }

    // The canvas size in device pixels, each side rounded: the size to render its pages at.
    QSize renderSize() const;
    // Where `image` is drawn on this canvas, in device-independent pixels.
    QRectF imageRect(const QImage &image) const;

Q_SIGNALS:
    void resized();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void paintTransition(QPainter &painter) const;
    void paintPlaceholder(QPainter &painter, const QRect &area) const;
    void paintLogo(QPainter &painter) const;
    void paintOverlay(QPainter &painter) const;

    QImage m_image;
    QImage m_previousImage;
    QVariantAnimation *m_animation = nullptr;
    Transition m_effect = Transition::None;
    int m_duration = 0;
    int m_direction = 1;
    double m_progress = 1.0;
    QList<QRectF> m_highlights;
    QString m_placeholderText;
    QString m_overlayMessage;
    QPixmap m_logo;
    QSizeF m_pageSize;
    int m_rotation = 0;
    bool m_blackout = false;
    bool m_alignTop = false;
};
