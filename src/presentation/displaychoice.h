#pragma once

#include <QString>

class QComboBox;

// Fills the output display selector: one item per screen in the application's screen order
// (so an item index is a screen index), the screen identity as item data, and the preferred
// screen selected, else the second screen, else the first. Signals of the box stay blocked
// while it is filled. Returns true when a preferred screen was given but is not attached; the
// caller then asks the operator to choose a replacement.
bool fillDisplayChoice(QComboBox *choice, const QString &preferredIdentity);

// The screen index the selector would select, -1 without screens; `missing` tells whether a
// preferred screen was given but is not attached.
int chosenDisplayIndex(const QString &preferredIdentity, bool *missing = nullptr);
