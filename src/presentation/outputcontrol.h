#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class DisplayManager;
class OutputWindow;
class PageCanvas;
class PdfService;
class Presentation;
class QComboBox;
class QScreen;
class QWidget;

// The operator's side of the output: opening and closing the output window on a display,
// following display changes, handing every frame to the output and the LIVE canvas, blackout
// and next/previous with the end-of-presentation notice. What only the main window knows
// (modes, reader page, countdown, playlist) comes in through hooks.
class OutputControl final : public QObject
{
    Q_OBJECT

public:
    enum OutputScreen { ChosenDisplay, OwnScreen };

    // Missing hooks behave as presenter mode with no playlist and no running countdown.
    struct Hooks
    {
        std::function<bool()> presenterMode;
        std::function<int()> readerPage;
        std::function<bool()> timerAutoStart;
        std::function<bool()> countdownRunning;
        std::function<void()> startCountdown;
        std::function<void()> pauseCountdown;
        std::function<bool()> fileSwitchInProgress;
        std::function<bool()> hasNextFile;
        std::function<bool()> hasPreviousFile;
        std::function<void()> switchToNextFile;     // opens the next file at its first page
        std::function<void()> switchToPreviousFile; // opens the previous file at its last page
        std::function<int()> fileChangeDirection;   // +1 / -1 while a file switch awaits its first frame, else 0
        std::function<void()> clearFileChangeDirection;
    };

    OutputControl(PdfService *service, Presentation *presentation, DisplayManager *displays, OutputWindow *output,
                  QObject *parent = nullptr);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }
    void setLiveCanvas(PageCanvas *canvas);
    // The display selector whose current index picks the output screen.
    void setDisplayChoice(QComboBox *choice);
    // Parent of message boxes; the parent object when that is a widget.
    void setDialogParent(QWidget *parent);

    bool endReached() const { return m_endReached; }

    // `window` is the operator's window, for OwnScreen.
    void openOutput(OutputScreen where, QWidget *window = nullptr);
    void setOutputEnabled(bool on);
    void closeOutput();
    void toggleBlackout();
    // The operator picked a display in the selector (now its current item, already stored as
    // the preferred one): an open output moves there.
    void displayChosen();
    void presentationNext();
    void presentationPrevious();
    // Output size in device pixels from the output window, given to the presentation.
    void updateOutputSize();
    // Forgets the end of the presentation once the page is no longer the last one.
    void refreshEndState();

Q_SIGNALS:
    void statusMessage(const QString &text, int ms);
    // The presenter view should show the current state (toggles, labels).
    void refreshRequested();
    // A non-null frame is on the output and the LIVE canvas.
    void documentReady();
    // The output size was recomputed (the output mirror follows it).
    void outputSizeUpdated();

private:
    QWidget *dialogParent() const;
    QScreen *chosenScreen() const;
    void onFrameReady(const QImage &image);
    void onTargetRemoved();
    void onGeometryChanged(QScreen *screen);

    PdfService *m_service = nullptr;
    Presentation *m_presentation = nullptr;
    DisplayManager *m_displays = nullptr;
    OutputWindow *m_output = nullptr;
    QPointer<PageCanvas> m_liveCanvas;
    QPointer<QComboBox> m_displayChoice;
    QPointer<QWidget> m_dialogParent;
    Hooks m_hooks;
    int m_lastShownPage = -1;
    bool m_endReached = false;
};
