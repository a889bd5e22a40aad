#pragma once

#include "input/action.h"

// Textual forms and validation of key bindings. Key names are always the toolkit's portable
// text, so stored settings and edit fields read the same on every platform.

// Portable texts joined by "; "; empty for an empty list.
QString bindingText(const QList<QKeySequence> &keys);

// Splits at ';' (empty pieces skipped) and parses each trimmed piece. Returns an empty text
// and fills `out` on success, else "Invalid key: %1" with the piece as typed (`out` untouched).
// Sequences of several combinations pass here and are refused by validateBindings().
QString parseBindingText(const QString &text, QList<QKeySequence> *out);

// First problem over the bindable actions in order: a sequence that is not one known key
// combination, or one bound twice anywhere. Empty when the table is usable.
QString validateBindings(const BindingTable &table);

// Whether any combination carries the key code the toolkit gives to names it does not know.
bool isUnknownKey(const QKeySequence &sequence);
