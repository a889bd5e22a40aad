#pragma once

#include "input/action.h"

// Textual forms and validation of key bindings. The operator reads and types the toolkit's
// native key names, translated as the toolkit translates them ("Bild ab" under German); the
// portable names are read too. Stored settings always keep the portable names.

// Native texts joined by "; "; empty for an empty list.
QString bindingText(const QList<QKeySequence> &keys);

// Splits at ';' (empty pieces skipped) and parses each trimmed piece, as a native name and
// else as a portable one. Returns an empty text
// and fills `out` on success, else "Invalid key: %1" with the piece as typed (`out` untouched).
// Sequences of several combinations pass here and are refused by validateBindings().
QString parseBindingText(const QString &text, QList<QKeySequence> *out);

// First problem over the bindable actions in order: a sequence that is not one known key
// combination, or one bound twice anywhere. Empty when the table is usable.
QString validateBindings(const BindingTable &table);

// Whether any combination carries the key code the toolkit gives to names it does not know.
bool isUnknownKey(const QKeySequence &sequence);
