#pragma once

#include "pdf/searchhit.h"
#include "show/show.h"

#include <QList>
#include <QObject>
#include <QPointer>

class AppSettings;
class PageCanvas;
class PdfService;
class Presentation;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QStackedWidget;
class QToolBar;
class QWidget;
class ScrollView;
class ThumbnailModel;
class ThumbnailView;

// Reader mode: single pages (or spreads) on two canvases, or one continuous scroll view,
// with zoom, fit, rotation, the page box, the thumbnails' reader marks and the output mirror.
// It is the show's reader: the show turns its pages when the audience does not follow.
class ReaderControl final : public QObject, public Show::Reader
{
    Q_OBJECT

public:
    enum ZoomMode { FitPage = 0, FitWidth = 1, CustomZoom = 2 };

    ReaderControl(PdfService *service, Show *show, Presentation *presentation, ThumbnailModel *thumbnails,
                  AppSettings *settings, QObject *parent);
    void setThumbnailView(ThumbnailView *view);

    // Adds the reader's tool bar items in their order and returns them (they are hidden in
    // presenter mode). The window adds its output buttons after them.
    QList<QAction *> addToolBarItems(QToolBar *toolBar);
    // The reader page: single-page area and continuous view in one stack.
    QWidget *createReaderPage(QWidget *outputWindow);

    int currentPage() const { return m_currentPage; }
    bool scrollMode() const { return m_scrollMode; }
    bool twoPages() const;

    QAction *previousPageAction() const { return m_previousAction; }
    QAction *nextPageAction() const { return m_nextAction; }
    QSpinBox *pageBox() const { return m_pageBox; }
    QCheckBox *twoPagesBox() const { return m_twoPagesBox; }
    QCheckBox *scrollBox() const { return m_scrollBox; }
    QComboBox *zoomModeBox() const { return m_zoomModeBox; }
    PageCanvas *welcome() const { return m_welcome; }
    ScrollView *scrollView() const { return m_scrollView; }
    QScrollArea *pageArea() const { return m_pageArea; }

    void updateReader();
    void showReaderPage(int page, bool smooth = false, bool centredReveal = true);

    // The show's reader.
    int readerPage() const override { return m_currentPage; }
    void moveReaderTo(int page, bool smooth) override { showReaderPage(page, smooth); }
    bool scrolling() const override { return m_scrollMode; }
    bool twoPageSpread() const override { return twoPages(); }
    bool scrollAtTop() const override;
    bool scrollAtEnd() const override;
    void stepScreens(int direction) override;
    void stepLines(int direction) override;
    void scrollToEdge(bool last) override;
    void applyReaderMode();
    void syncOutputMirror();

    void zoomIn();
    void zoomOut();
    void setZoomMode(int mode);
    void rotate();

    // Document life: called by the window's load and close handling.
    void documentLoaded(int pages);
    void documentClosed();
    void setSearchHits(const QList<SearchHit> &hits);

    // The page area's viewport and the welcome canvas that covers it.
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    // The single-page viewport changed size; the window coalesces the re-render.
    void viewportResized();
    // Reading in one continuous scroll began or ended (held arrow keys repeat there).
    void scrollReadingChanged(bool on);

private:
    void onScrollPageChanged(int page);
    void onShowChanged(Show::Changes what);
    // Rendered images and failures on "reader", "reader2", "scroll:N" and "out:N".
    void deliver(const QString &channel, int page, const QImage &image);
    void deliverFailure(const QString &channel);
    // The page box and the thumbnail selection show the current page.
    void showCurrentPage(bool centredReveal);
    void updateZoomLabel(double scale);
    bool hasDocument() const;

    PdfService *m_service;
    Show *m_show;
    Presentation *m_presentation;
    ThumbnailModel *m_thumbnails;
    AppSettings *m_settings;
    QPointer<ThumbnailView> m_thumbnailView;
    QPointer<QWidget> m_outputWindow;
    bool m_routerScrolling = false;

    int m_currentPage = 0;
    int m_rotation = 0;
    double m_zoom = 1.0;
    bool m_scrollMode = false;
    QList<SearchHit> m_hits;

    QAction *m_previousAction = nullptr;
    QAction *m_nextAction = nullptr;
    QSpinBox *m_pageBox = nullptr;
    QLabel *m_pageCountLabel = nullptr;
    QComboBox *m_zoomModeBox = nullptr;
    QLabel *m_zoomLabel = nullptr;
    QCheckBox *m_twoPagesBox = nullptr;
    QCheckBox *m_scrollBox = nullptr;

    QStackedWidget *m_stack = nullptr;
    QScrollArea *m_pageArea = nullptr;
    QWidget *m_container = nullptr;
    PageCanvas *m_canvas[2] = {nullptr, nullptr};
    PageCanvas *m_welcome = nullptr;
    ScrollView *m_scrollView = nullptr;
    QPointer<ScrollView> m_mirror;
};
