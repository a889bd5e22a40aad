#pragma once

// Where a scroll view stands, in terms another view with different sizes can apply: the
// output mirror repeats the reader's position with it.
struct ScrollPosition
{
    // Row index plus the fraction of the way to the next row's start.
    double rowFraction = 0.0;
    // Within a pixel of the vertical maximum: the receiver goes to its own end. A ratio would
    // not do: in a long document 0.1 % of the range is more than a page.
    bool atEnd = false;
    // Horizontal value over its maximum; 0.5 (centred) when the view cannot scroll sideways.
    double horizontalRatio = 0.5;
    // The source was animating, so the receiver paints at fractional positions too.
    bool following = false;
};
