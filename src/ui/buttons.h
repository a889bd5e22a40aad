#pragma once

#include "base/iconkind.h"

#include <QPushButton>

class QBoxLayout;
class QObject;
class QString;
class QWidget;

// Classes of their own for the style sheet: a type is matched by name, where a property
// selector would look the property up on every button each time one is polished.
class ControlButton final : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;
};

class IconButton final : public QPushButton
{
    Q_OBJECT

public:
    using QPushButton::QPushButton;
};

// A presenter control button ("previousButton", "nextButton", "blackoutButton"): painted icon,
// text, styled as a ControlButton, no keyboard focus (keys belong to the input router).
// When `row` is given the button is added to it with stretch 1, which also parents it.
QPushButton *makeControlButton(const QString &objectName, const QString &text, IconKind iconKind,
                               const QString &toolTip, QBoxLayout *row = nullptr);

// An icon-only button of the playlist panel; the tooltip doubles as the accessible name because
// there is no text for a screen reader to announce.
QPushButton *makeIconButton(IconKind iconKind, const QString &objectName, const QString &toolTip,
                            QWidget *parent = nullptr);

// Shows a button pressed for 160 ms when a key or menu entry stands for it. Emits no click.
// Anything that is not a button (including null) is ignored. A flash during a flash extends it.
void flashButton(QObject *maybeButton);
