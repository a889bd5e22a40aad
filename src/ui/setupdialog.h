#pragma once

#include "base/appsettings.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QPushButton;
class QSpinBox;

// The setup dialog: full screen or window, output display, window size, output on/off, output
// scaling, page transition and the automatic timer start. Every change is written to the store at once and announced by a
// signal; the dialog has no OK or Cancel and only hides when closed.
//
// The constructor fills the display choice and applies the stored transition, but nothing is
// connected yet at that moment: the owner connects the signals and then calls
// refillDisplays() and applyTransition() to receive the initial state.
class SetupDialog final : public QDialog
{
    Q_OBJECT

public:
    SetupDialog(AppSettings &settings, QWidget *parent);
    ~SetupDialog() override;

    // What the dialog would tell when it lists the displays, for an owner that has not made it.
    static constexpr int MissingDisplayNoticeMs = 15000;
    static bool preferredDisplayMissing(const AppSettings &settings);
    static QString missingDisplayNotice();
    // A transition's length as the duration control offers it.
    static int offeredTransitionMs(int ms);

    // Lists the screens again (selection: the stored preferred screen, else the second, else
    // the first) and reports a stored preference that is not attached through statusMessage.
    void refillDisplays();
    // Writes the current effect and duration and emits transitionChanged.
    void applyTransition();
    // Mirrors the output window: checked and "Output ON" while it is shown. Emits nothing.
    void setOutputShown(bool shown);
    // Shows full screen or window as chosen elsewhere (the menu). Emits nothing.
    void showPlacement(bool windowed);

    // The selector whose index is the screen index the output opens on.
    QComboBox *displayChoice() const { return m_displayChoice; }
    int selectedScreenIndex() const;
    bool autoStartTimer() const;
    int transitionEffect() const;
    int transitionMs() const;

Q_SIGNALS:
    // The operator picked a screen; "output/display" already holds its identity.
    void displayChosen(const QString &identity);
    // "output/windowed" and "output/windowSize" already written.
    void placementChosen(bool windowed);
    void windowSizeChosen(int preset);
    void outputToggleClicked(bool checked);
    // "output/fitWidth" already written.
    void fitWidthChanged(bool fitWidth);
    // "transition/effect" and "transition/ms" already written.
    void transitionChanged(int effect, int ms);
    void statusMessage(const QString &text, int timeoutMs);

private:
    QFormLayout *buildScreenSection();
    QFormLayout *buildTransitionSection();

    AppSettings &m_settings;
    QComboBox *m_placement = nullptr;
    QComboBox *m_displayChoice = nullptr;
    QComboBox *m_windowSize = nullptr;
    QPushButton *m_outputToggle = nullptr;
    QComboBox *m_scaling = nullptr;
    QComboBox *m_effect = nullptr;
    QSpinBox *m_duration = nullptr;
    QCheckBox *m_autoStart = nullptr;
};
