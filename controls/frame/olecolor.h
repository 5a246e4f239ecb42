#pragma once

#include "lustrel_export.h"

#include <QColor>
#include <QtGlobal>

class QPalette;

namespace Lustrel {

// Colours as the controls store them: 0x00BBGGRR names an explicit colour (red in the low byte),
// 0x800000nn names colour nn of the desktop's scheme, looked up in the widget's palette each time
// the control paints, so it follows a change of scheme.
using OleColor = quint32;

// The scheme colours the controls use as defaults, and the rest of the usual set.
namespace SystemColor {
inline constexpr OleColor ScrollBar = 0x80000000;
inline constexpr OleColor Desktop = 0x80000001;
inline constexpr OleColor ActiveTitleBar = 0x80000002;
inline constexpr OleColor InactiveTitleBar = 0x80000003;
inline constexpr OleColor MenuBar = 0x80000004;
inline constexpr OleColor WindowBackground = 0x80000005;
inline constexpr OleColor WindowFrame = 0x80000006;
inline constexpr OleColor MenuText = 0x80000007;
inline constexpr OleColor WindowText = 0x80000008;
inline constexpr OleColor ActiveTitleBarText = 0x80000009;
inline constexpr OleColor ActiveBorder = 0x8000000A;
inline constexpr OleColor InactiveBorder = 0x8000000B;
inline constexpr OleColor ApplicationWorkspace = 0x8000000C;
inline constexpr OleColor Highlight = 0x8000000D;
inline constexpr OleColor HighlightText = 0x8000000E;
inline constexpr OleColor ButtonFace = 0x8000000F;
inline constexpr OleColor ButtonShadow = 0x80000010;
inline constexpr OleColor GrayText = 0x80000011;
inline constexpr OleColor ButtonText = 0x80000012;
inline constexpr OleColor InactiveTitleBarText = 0x80000013;
inline constexpr OleColor ButtonHighlight = 0x80000014;
inline constexpr OleColor ButtonDarkShadow = 0x80000015;
inline constexpr OleColor ButtonLight = 0x80000016;
inline constexpr OleColor InfoText = 0x80000017;
inline constexpr OleColor InfoBackground = 0x80000018;
} // namespace SystemColor

// True for a colour that names an entry of the desktop's scheme.
constexpr bool isSystemColor(OleColor color)
{
    return (color & 0xFF000000u) == 0x80000000u;
}

// The explicit colour value of an RGB colour (0x00BBGGRR).
constexpr OleColor oleColorFromRgb(int red, int green, int blue)
{
    return OleColor(red & 0xFF) | OleColor(green & 0xFF) << 8 | OleColor(blue & 0xFF) << 16;
}

// The colour to draw with: explicit colours as they are, scheme colours from `palette`. An
// unknown scheme entry gives an invalid QColor, which the controls leave undrawn.
LUSTREL_EXPORT QColor resolveOleColor(OleColor color, const QPalette &palette);

// The explicit colour value of `color` (its alpha is dropped).
LUSTREL_EXPORT OleColor oleColorFromQColor(const QColor &color);

} // namespace Lustrel
