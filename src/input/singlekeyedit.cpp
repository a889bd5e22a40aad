#include "input/singlekeyedit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

SingleKeyEdit::SingleKeyEdit(QWidget *parent)
    : QKeySequenceEdit(parent)
{
    // Wide enough for the field's hint in every language ("Press shortcut" is longer in German).
    if (auto *field = findChild<QLineEdit *>()) {
        field->ensurePolished();
        QStyleOptionFrame option;
        option.initFrom(field);
        const QFontMetrics metrics = field->fontMetrics();
        // The line edit's own text margins come on top of the style's frame and padding.
        const QSize text(metrics.horizontalAdvance(field->placeholderText()) + 4, metrics.height());
        field->setMinimumWidth(field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field).width());
    }
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
