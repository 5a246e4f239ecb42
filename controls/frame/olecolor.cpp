#include "olecolor.h"

#include "colorcontrast_p.h"

#include <QPalette>

namespace Lustrel {

namespace {

// The least contrast of readable text.
constexpr double ReadableContrast = 4.5;

// An inactive title bar: a grey a quarter of the way from the window towards its text, muted in
// light and dark schemes alike and still standing out from the window.
QColor inactiveTitleBar(const QPalette &palette)
{
    const QColor window = palette.color(QPalette::Active, QPalette::Window).toRgb();
    const QColor text = palette.color(QPalette::Active, QPalette::WindowText).toRgb();
    const auto mix = [](int from, int to) {
        return from + (to - from) / 4;
    };
    const QColor blend(mix(window.red(), text.red()), mix(window.green(), text.green()),
                       mix(window.blue(), text.blue()));
    const int grey = qGray(blend.rgb());
    return QColor(grey, grey, grey);
}

// Its text: the window text when that is readable on the bar, otherwise black or white,
// whichever reads better (one of them always reaches the readable contrast).
QColor inactiveTitleBarText(const QPalette &palette)
{
    const QColor bar = inactiveTitleBar(palette);
    const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
    if (contrastRatio(text, bar) >= ReadableContrast)
        return text;
    return blackOrWhiteOn(bar);
}

// Where each scheme entry lives in a Qt palette. Title bars have no role of their own: the active
// one takes the selection colours, the way current desktops draw a focused title, and the
// inactive one a muted grey with readable text.
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
        out = inactiveTitleBar(palette);
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
        out = inactiveTitleBarText(palette);
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
