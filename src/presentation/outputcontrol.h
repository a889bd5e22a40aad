#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

class DisplayManager;
class OutputWindow;
class PageCanvas;
class PdfService;
class Presentation;
class QComboBox;
class QScreen;
class QWidget;

// The operator's side of the output window: opening and closing it on a display, following
// display changes and handing every frame to the output and the LIVE canvas.
class OutputControl final : public QObject
{
    Q_OBJECT

public:
    enum OutputScreen { ChosenDisplay, OwnScreen };

    OutputControl(PdfService *service, Presentation *presentation, DisplayManager *displays, OutputWindow *output,
                  QObject *parent = nullptr);

    void setLiveCanvas(PageCanvas *canvas);
    // The display selector whose current index picks the output screen.
    void setDisplayChoice(QComboBox *choice);
    // Parent of message boxes; the parent object when that is a widget.
    void setDialogParent(QWidget *parent);

    bool isShown() const;

    // `window` is the operator's window, for OwnScreen.
    void openOutput(OutputScreen where, QWidget *window = nullptr);
    void setOutputEnabled(bool on);
    void closeOutput();
    // The operator picked a display in the selector (now its current item, already stored as
    // the preferred one): an open output moves there.
    void displayChosen();
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
};
