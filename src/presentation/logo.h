#pragma once

#include <QPixmap>

// The product's logo, decoded once for every canvas and the header. Decoding it takes a
// millisecond or more; a start that calls prepare() early has it decoded on another core
// while the window is being built.
namespace Logo {

constexpr int HeaderHeight = 30;

void prepare();
QPixmap pixmap();
// The logo `HeaderHeight` logical pixels high for a screen of `ratio`.
QPixmap header(qreal ratio);

} // namespace Logo
