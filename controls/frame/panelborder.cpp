#include "panelborder_p.h"

#include <QPainter>
#include <QPalette>

namespace Lustrel {

void drawPanelBorder(QPainter &painter, const QRect &rect, int appearance, const QPalette &palette)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    if (appearance == 1) {
        painter.setPen(palette.color(QPalette::Active, QPalette::Dark));
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(palette.color(QPalette::Active, QPalette::Midlight));
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    } else {
        painter.setPen(palette.color(QPalette::Active, QPalette::Mid));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

} // namespace Lustrel
