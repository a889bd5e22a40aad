#pragma once

#include <QKeySequenceEdit>

// A key capture field that takes exactly one key combination: each press is reported at
// once and ends the capture, so the field never grows into a multi-key sequence.
class SingleKeyEdit final : public QKeySequenceEdit
{
    Q_OBJECT

public:
    explicit SingleKeyEdit(QWidget *parent = nullptr);

Q_SIGNALS:
    void captured(const QKeySequence &key);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
