#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QTimer>

class AppSettings;
class DisplayManager;
class OutputWindow;
class PageCanvas;
class PdfService;
class Presentation;
class QComboBox;
class QScreen;
class QWidget;

// The operator's side of the output window: opening and closing it full screen on a display or
// as a normal window (for screen sharing), following display changes (a lost display closes it,
// the same display coming back reopens it) and handing every frame to the output and the LIVE
// canvas. Full screen or window is one path: only the placement differs.
class OutputControl final : public QObject
{
    Q_OBJECT

public:
    enum OutputScreen { ChosenDisplay, OwnScreen };

    // The windowed output's size presets in the order the settings store them; an empty size
    // is the free one (the window keeps the size the operator gives it).
    static QList<QSize> windowSizes();
    // Resizing the windowed output renders once the size has rested this long.
    static constexpr int ResizeRestMs = 120;

    OutputControl(PdfService *service, Presentation *presentation, DisplayManager *displays, OutputWindow *output,
                  AppSettings *settings, QObject *parent = nullptr);

    void setLiveCanvas(PageCanvas *canvas);
    // The display selector whose current index picks the output screen.
    void setDisplayChoice(QComboBox *choice);
    // Parent of message boxes; the parent object when that is a widget.
    void setDialogParent(QWidget *parent);

    bool isShown() const;

    // `window` is the operator's window, for OwnScreen (always full screen). On the chosen
    // display the output is full screen or a window as the settings say.
    void openOutput(OutputScreen where, QWidget *window = nullptr);
    void setOutputEnabled(bool on);
    void closeOutput();
    // The operator picked a display in the selector (now its current item, already stored as
    // the preferred one): an open output moves there.
    void displayChosen();
    // Full screen or window was chosen ("output/windowed" already written): an open output
    // changes to it on the chosen display.
    void placementChosen();
    // A window size was chosen ("output/windowSize" already written): an open window takes it.
    void windowSizeChosen();
    // Moves the output to the next display (the other one of two) and makes that the chosen
    // one; with the output closed only the choice changes.
    void swapDisplay();
    // Output size in device pixels from the output window, given to the presentation.
    void updateOutputSize();

Q_SIGNALS:
    void statusMessage(const QString &text, int ms);
    // The output window opened or closed; also sent after a refused or failed change, so a
    // toggle can show the real state again.
    void shownChanged(bool shown);
    // A non-null frame is on the output and the LIVE canvas.
    void documentReady();
    // The output size was recomputed (the output mirror follows it).
    void outputSizeUpdated();

private:
    QWidget *dialogParent() const;
    QScreen *chosenScreen() const;
    void showOn(QScreen *screen, bool windowed);
    void hideOutput();
    QRect windowGeometry(QScreen *screen) const;
    void onFrameReady(const QImage &image);
    void onTargetRemoved();
    void onTargetReturned(QScreen *screen);
    void onGeometryChanged(QScreen *screen);

    PdfService *m_service = nullptr;
    Presentation *m_presentation = nullptr;
    DisplayManager *m_displays = nullptr;
    OutputWindow *m_output = nullptr;
    AppSettings *m_settings = nullptr;
    QPointer<PageCanvas> m_liveCanvas;
    QPointer<QComboBox> m_displayChoice;
    QPointer<QWidget> m_dialogParent;
    QTimer m_resizeRest;
    // Where the windowed output last was, so it opens there again.
    QRect m_lastWindow;
    // The display whose loss closed the output; it reopens there when that display comes back,
    // unless the operator opened or closed the output meanwhile.
    QString m_awaitedDisplay;
};
