#pragma once

#include <QPushButton>
#include <QWidget>

#include <functional>

// The timer bar's buttons, a type of their own so that the style sheet's overtime look is
// looked for only on them.
class TimerButton final : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;
};

// The timer bar's frame ("timerBar"). The style sheet colours it through the dynamic
// properties "overtime" and "warning"; the mouse wheel anywhere over it adjusts the time
// by whole minutes.
class TimerPanel final : public QWidget
{
    Q_OBJECT

public:
    using AdjustCallback = std::function<void(int deltaSeconds)>;

    explicit TimerPanel(QWidget *parent = nullptr);

    void setAdjustCallback(AdjustCallback callback);

    // Routes the wheel events of every widget now inside the panel to the panel.
    void watchChildren();

    // Sets "overtime" and "warning" and restyles the panel and its children, only when
    // either differs from what is shown. Returns whether it restyled.
    bool setDisplayState(bool overtime, const QString &warning);
    int restyleCount() const { return m_restyleCount; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void handleWheel(QWheelEvent *event);

    AdjustCallback m_adjust;
    int m_wheelAngle = 0;
    int m_restyleCount = 0;
};
