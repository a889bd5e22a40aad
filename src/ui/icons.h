#pragma once

#include "base/iconkind.h"

class QIcon;

// The painted icon set of the presenter controls and the playlist panel, drawn at 64 x 64
// logical units on a 128 x 128 pixmap (device pixel ratio 2) so it stays sharp on dense screens.
// The two blackout icons are built once and shared for the
// rest of the process, since the blackout button swaps them on every toggle.
QIcon paintedIcon(IconKind kind);
// Starts painting the whole set on another core, for the window being built meanwhile.
void prepareIcons();
