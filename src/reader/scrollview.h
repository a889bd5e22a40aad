#pragma once

#include "pdf/searchhit.h"
#include "reader/scrolllayout.h"
#include "reader/scrollposition.h"
#include "reader/scrollspring.h"

#include <QAbstractScrollArea>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSize>
#include <QString>

class PdfService;
class QTimer;

// The continuous reader: every page of the document in one column (or in spreads), rendered
// on demand near the visible area and scrolled with a spring. A second instance in mirror
// mode repeats the reader's position on the output display.
class ScrollView final : public QAbstractScrollArea
{
    Q_OBJECT

public:
    ScrollView(PdfService *service, const QString &prefix, QWidget *parent = nullptr);
    ~ScrollView() override;

    QString prefix() const { return m_prefix; }

    void resetDocument();
    void setViewMode(int mode, double zoom, int rotation, bool twoPages);
    void setGaps(int margin, int rowGap, int spreadGap);
    void setMirrorMode(bool on);
    bool mirrorMode() const { return m_mirror; }
    void setHighlights(const QList<SearchHit> &hits);

    void goToPage(int page, bool smooth);
    void stepScreen(int direction);
    void stepLines(int direction);
    void scrollToEdge(bool end, bool smooth);

    ScrollPosition position() const;
    void setPosition(const ScrollPosition &position);

    double scaleForPage(int page) const { return m_layout.pageScale(page); }
    void setPageImage(int page, const QImage &image);
    void cancelRequests();

    // Used instead of the viewport height for step sizes when >= 1 (0 turns it off).
    void setStepLimit(int pixels) { m_stepLimit = pixels; }
    int stepLimit() const { return m_stepLimit; }

    int currentPage() const { return m_currentPage; }
    bool isAnimating() const { return m_animating; }
    // Where a running scroll is heading; the position when idle.
    double target() const { return m_animating ? m_spring.target() : m_position; }
    // Top of the viewport in content pixels, fractional while animating.
    double scrollPosition() const { return m_position; }
    int verticalMaximum() const;

    const ScrollLayout &pageLayout() const { return m_layout; }
    bool hasPageImage(int page) const { return m_images.contains(page); }
    int pageImageCount() const { return int(m_images.size()); }
    // Pixel size of the last request for a page still wanted, or an invalid size.
    QSize requestedSize(int page) const { return m_requested.value(page); }

Q_SIGNALS:
    void currentPageChanged(int page);
    void layoutChanged();
    void positionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QString channel(int page) const;
    void relayout(bool keepCurrentPage);
    void applyLayout(bool keepCurrentPage);
    void requestVisiblePages();
    void updateCurrentPage();
    void setCurrentPage(int page);

    void setScrollPosition(double y);
    void smoothScrollTo(double y, bool explicitPage);
    void stopAnimation();
    void animationTick();
    void onVerticalBarMoved(int value);
    int stepHeight() const;
    double stepBase() const { return target(); }

    PdfService *m_service;
    QString m_prefix;
    int m_zoomMode = ScrollLayoutOptions::FitWidth;
    double m_zoom = 1.0;
    int m_rotation = 0;
    int m_currentPage = 0;
    int m_pendingPage = -1;
    int m_stepLimit = 0;
    int m_margin = 10;
    int m_rowGap = 12;
    int m_spreadGap = 6;
    bool m_twoPages = false;
    bool m_mirror = false;

    ScrollLayout m_layout;
    QHash<int, QImage> m_images;
    QHash<int, QSize> m_requested;
    QHash<int, QList<QRectF>> m_highlights;
    ScrollPosition m_pendingPosition;
    bool m_hasPendingPosition = false;

    double m_position = 0.0;
    ScrollSpring m_spring;
    QTimer *m_timer;
    QElapsedTimer m_clock;
    bool m_animating = false;
    bool m_following = false;
    bool m_explicitPage = false;
    bool m_inRelayout = false;
    bool m_relayoutAgain = false;
    bool m_relayoutAgainKeeps = false;
    bool m_programmatic = false;
};
