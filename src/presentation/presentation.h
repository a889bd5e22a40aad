#pragma once

#include "pdf/pdfservice.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>

// What the audience sees: the live page, the page being rendered for the output and the last
// committed frame, and the operator's preview of the page after it. Renders on the "output",
// "output2", "preload" and "prepared" channels; the old frame stays until a new one is
// complete, so the audience never sees an empty frame.
class Presentation final : public QObject
{
    Q_OBJECT

public:
    // The next page is preloaded once the output has shown a frame for this long: a render
    // cannot be stopped, so a jump that follows at once must not find one under way.
    static constexpr int PreloadDelayMs = 150;

    static QString outputChannel() { return QStringLiteral("output"); }
    static QString secondPageChannel() { return QStringLiteral("output2"); }
    static QString preloadChannel() { return QStringLiteral("preload"); }
    static QString previewChannel() { return QStringLiteral("prepared"); }

    explicit Presentation(PdfService *service, QObject *parent = nullptr);

    int livePage() const { return m_livePage; }
    int currentPage() const { return m_currentPage; }
    int pendingPage() const { return m_pendingPage; }
    // The page the output shows or is about to show. A page that could not be rendered counts
    // as shown, so that the next step goes past it instead of asking for it again.
    int shownPage() const { return m_currentPage >= 0 ? m_currentPage : m_livePage; }
    bool twoPageOutput() const { return m_twoPageOutput; }
    QSize outputSize() const { return m_outputSize; }
    QImage frame() const { return m_frame; }
    // How the last frame came: whether it should play the transition, and its direction
    // (+1 forward, -1 back).
    bool frameAnimated() const { return m_frameAnimated; }
    int frameDirection() const { return m_frameDirection; }

    // Document closes keep the last frame on the output (a playlist file switch, a password
    // retry within it) until the next frame is committed or the frame is cleared.
    void setKeepFrameOnClose(bool keep) { m_keepFrameOnClose = keep; }
    bool keepFrameOnClose() const { return m_keepFrameOnClose; }
    // Blanks the output now, also a kept frame; blackout stays as it is.
    void clearFrame();

    // The page the next loaded document opens at: a page index, -2 for its last page, -1 for
    // the first. Given after load(); a close forgets it.
    void setStartPage(int page) { m_startPage = page; }
    // What a load of a document that opens at `startPage` (-2: its last page) renders along:
    // the audience's first frame, as showPage() will ask for it.
    PdfService::FirstRender firstRender(int startPage) const;
    // The next frame comes from a crossing into another file in this direction.
    void setCrossingDirection(int direction) { m_crossing = direction; }

    // The preview of the page after the shown one, at this size in device pixels; an empty
    // size stops it. Asked for once the audience's frame is in, so it never delays that frame.
    void setPreviewSize(const QSize &size);
    // The page the preview shows, or -1 at the end of the document or of the talk.
    int previewPage() const;
    // The last page of the talk (later pages are backup slides), -1 for the document's last.
    void setTalkEnd(int page);

    void next();
    void previous();
    void goToPage(int page);
    void setOutputSize(const QSize &size);
    void setTwoPageOutput(bool on);
    // Pages are rendered at the output width and the frame is cut to the output height, so
    // every view of the frame shows the audience's framing.
    void setFitWidth(bool on);
    bool fitWidth() const { return m_fitWidth; }

Q_SIGNALS:
    // The pages changed without a new frame: an output render failed, or the document closed.
    void changed();
    // A new frame for the audience, or a null one when the output goes blank.
    void frameReady(const QImage &image);
    void error(const QString &message);
    void previewReady(const QImage &image);

private:
    void showPage(int page);
    void step(int delta);
    void reshow();
    bool twoPageActive() const;
    QSize pageBox() const;
    QSize pageBox(bool twoPages) const;
    void commit();
    void preloadNext();
    void requestPreview();

    void onLoaded(int pages);
    void onClosed();
    void onRendered(const QString &channel, int page, const QImage &image);
    void onRenderFailed(const QString &channel, int page, const QString &message);

    PdfService *m_service = nullptr;
    int m_livePage = -1;
    int m_currentPage = -1;
    int m_pendingPage = -1;
    int m_startPage = -1;
    int m_crossing = 0;
    int m_framePage = -1; // the live page of the last non-null frame
    bool m_frameAnimated = false;
    int m_frameDirection = 1;
    bool m_keepFrameOnClose = false;
    bool m_twoPageOutput = false;
    bool m_fitWidth = false;
    QImage m_firstImage;
    QImage m_secondImage;
    bool m_firstReady = false;
    bool m_secondReady = false;
    QSize m_outputSize = QSize(1920, 1080);
    QImage m_frame;
    QTimer m_preloadTimer;
    QSize m_previewSize;
    int m_previewPage = -1; // asked for at m_previewAsked
    int m_talkEnd = -1;
    QSize m_previewAsked;
};
