#pragma once

// Where a scroll view stands, in terms another view with different sizes can apply: the
// output mirror repeats the reader's position with it.
struct ScrollPosition
{
    // Row index plus the fraction of the way to the next row's start.
    double rowFraction = 0.0;
    // Position over the vertical maximum; 0 when the view cannot scroll.
    double verticalRatio = 0.0;
    // Horizontal value over its maximum; 0.5 (centred) when the view cannot scroll sideways.
    double horizontalRatio = 0.5;
    // The source was animating, so the receiver paints at fractional positions too.
    bool following = false;
};
