#pragma once

class QIcon;

// The painted icon set of the presenter controls and the playlist panel, drawn at 64 x 64
// logical units on a 128 x 128 pixmap (device pixel ratio 2) so it stays sharp on dense screens.
// Kinds: 0 previous, 1 next, 2 blackout (output showing), 3 blackout (output black),
// 4 open playlist, 5 save playlist, 6 export package, 7 import package, 8 back (undo).
// Any other kind gives a null icon. The two blackout icons are built once and shared for the
// rest of the process, since the blackout button swaps them on every toggle.
QIcon paintedIcon(int kind);
