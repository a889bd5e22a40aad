#pragma once

#include "timer/fitlabel.h"

#include <functional>

class ArrowButton;
class QTimer;

// The clock digits ("timer"). A press on a digit group adjusts the time by that group's
// step (up in the upper half, down in the lower half) and repeats while held; the two
// arrow buttons sit centred above and below the digits.
class TimerLabel final : public FitLabel
{
    Q_OBJECT

public:
    using AdjustCallback = std::function<void(int deltaSeconds)>;

    static constexpr int RepeatDelay = 450;
    static constexpr int RepeatInterval = 80;

    explicit TimerLabel(QWidget *parent = nullptr);

    void setAdjustCallback(AdjustCallback callback);

    ArrowButton *upButton() const { return m_up; }
    ArrowButton *downButton() const { return m_down; }
    bool isRepeating() const;

    // Step of the digit group under x for the current text: 3600, 60, 10 or 0 for none.
    int groupStepAt(int x) const;

    // Fits the font for the current text and places the arrows for the current size.
    void refit();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void placeArrows();
    void repeat();

    AdjustCallback m_adjust;
    QTimer *m_repeatTimer = nullptr;
    int m_repeatStep = 0;
    ArrowButton *m_up = nullptr;
    ArrowButton *m_down = nullptr;
};
