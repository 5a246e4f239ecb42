#pragma once

// The single-line border that the bar and the glowing caption draw around themselves. Not
// installed.

#include <QRect>

class QPainter;
class QPalette;

namespace Lustrel {

// Width of the border on each side: 1 pixel when there is one, else 0.
inline int panelBorderWidth(int borderStyle)
{
    return borderStyle == 1 ? 1 : 0;
}

// Draws a one-pixel border along the inside of `rect`: sunken (darker top and left edges) for
// appearance 1, a flat line for 0.
void drawPanelBorder(QPainter &painter, const QRect &rect, int appearance, const QPalette &palette);

} // namespace Lustrel
