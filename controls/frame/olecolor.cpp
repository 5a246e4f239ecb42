#include "olecolor.h"

#include <QPalette>

namespace Lustrel {

namespace {

// Where each scheme entry lives in a Qt palette. Title bars have no role of their own: the active
// one takes the selection colours, the way current desktops draw a focused title, and the
// inactive one the muted mid tones.
bool paletteColor(quint32 index, const QPalette &palette, QColor &out)
{
    const auto active = [&](QPalette::ColorRole role) {
        return palette.color(QPalette::Active, role);
    };
    switch (index) {
    case 0x00: // scroll bar
    case 0x0F: // button face
        out = active(QPalette::Button);
        return true;
    case 0x01: // desktop
    case 0x0C: // application workspace
    case 0x10: // button shadow
        out = active(QPalette::Dark);
        return true;
    case 0x02: // active title bar
    case 0x0D: // selection highlight
    case 0x1B: // gradient of the active title bar
    case 0x1D: // menu highlight
        out = active(QPalette::Highlight);
        return true;
    case 0x03: // inactive title bar
    case 0x1C: // gradient of the inactive title bar
        out = active(QPalette::Mid);
        return true;
    case 0x04: // menu
    case 0x05: // window background
        out = active(QPalette::Base);
        return true;
    case 0x06: // window frame
    case 0x15: // 3-D dark shadow
        out = active(QPalette::Shadow);
        return true;
    case 0x07: // menu text
    case 0x08: // window text
        out = active(QPalette::Text);
        return true;
    case 0x09: // active title bar text
    case 0x0E: // selected text
        out = active(QPalette::HighlightedText);
        return true;
    case 0x0A: // active border
    case 0x0B: // inactive border
    case 0x1E: // menu bar
        out = active(QPalette::Window);
        return true;
    case 0x11: // grey text
        out = palette.color(QPalette::Disabled, QPalette::Text);
        return true;
    case 0x12: // button text
        out = active(QPalette::ButtonText);
        return true;
    case 0x13: // inactive title bar text
        // The window colour stands out from the mid tone of the inactive bar in light and dark
        // schemes alike.
        out = active(QPalette::Window);
        return true;
    case 0x14: // button highlight
        out = active(QPalette::Light);
        return true;
    case 0x16: // 3-D light
        out = active(QPalette::Midlight);
        return true;
    case 0x17: // tooltip text
        out = active(QPalette::ToolTipText);
        return true;
    case 0x18: // tooltip background
        out = active(QPalette::ToolTipBase);
        return true;
    case 0x1A: // hot-tracked item
        out = active(QPalette::Link);
        return true;
    default:
        return false;
    }
}

} // namespace

QColor resolveOleColor(OleColor color, const QPalette &palette)
{
    if (isSystemColor(color)) {
        QColor resolved;
        if (!paletteColor(color & 0x00FFFFFFu, palette, resolved))
            return {};
        return resolved;
    }
    // The high byte of other values selects palette variants on the old platform; the low three
    // bytes are the colour either way.
    return QColor(int(color & 0xFF), int(color >> 8 & 0xFF), int(color >> 16 & 0xFF));
}

OleColor oleColorFromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return oleColorFromRgb(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace Lustrel
