#include "input/singlekeyedit.h"

#include <QKeyEvent>

SingleKeyEdit::SingleKeyEdit(QWidget *parent)
    : QKeySequenceEdit(parent)
{
}

void SingleKeyEdit::keyPressEvent(QKeyEvent *event)
{
    // A held key is captured once.
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    QKeySequenceEdit::keyPressEvent(event);
    // A lone modifier records nothing; a real key is the one combination we keep.
    const QKeySequence recorded = keySequence();
    if (recorded.isEmpty())
        return;
    const QKeySequence single(recorded[0]);
    // Finishes the capture (and stops its wait for further keys) while keeping the key shown.
    setKeySequence(QKeySequence());
    setKeySequence(single);
    Q_EMIT captured(single);
}
