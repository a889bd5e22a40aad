#pragma once

#include "base/iconkind.h"

class QBoxLayout;
class QObject;
class QPushButton;
class QString;
class QWidget;

// A presenter control button ("previousButton", "nextButton", "blackoutButton"): painted icon,
// text, role "control" for the style sheet, no keyboard focus (keys belong to the input router).
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
