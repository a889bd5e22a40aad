#pragma once

#include <QAbstractButton>

// The small painted triangle above ("timerUp") or below ("timerDown") the clock digits.
class ArrowButton final : public QAbstractButton
{
    Q_OBJECT

public:
    static constexpr int Width = 32;
    static constexpr int Height = 18;

    explicit ArrowButton(bool up, QWidget *parent = nullptr);

    bool isUp() const { return m_up; }

    QSize sizeHint() const override { return QSize(Width, Height); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_up = true;
};
