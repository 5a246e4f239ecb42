#pragma once

class QColor;

namespace Lustrel {

// The contrast ratio of two colours, from 1 (the same) to 21 (black and white), as the web's
// accessibility guidelines define it.
double contrastRatio(const QColor &a, const QColor &b);
// Black or white, whichever stands out more from `background`.
QColor blackOrWhiteOn(const QColor &background);

} // namespace Lustrel
