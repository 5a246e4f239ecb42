#pragma once

// The arguments of the controls' input events, translated from Qt's events into the codes the
// controls' hosts expect. Not installed.

#include <QtGlobal>

class QKeyEvent;
class QMouseEvent;

namespace Lustrel::InputEvents {

// Button (1 left, 2 right, 4 middle), Shift (1 Shift, 2 Ctrl, 4 Alt) and the position in pixels.
struct MouseArguments
{
    qint16 button = 0;
    qint16 shift = 0;
    float x = 0;
    float y = 0;
};

// For a press or release the button that changed; for a move every button held.
MouseArguments mouseArguments(const QMouseEvent *event);

struct KeyArguments
{
    qint16 keyCode = 0;
    qint16 shift = 0;
};

// The key as a virtual-key code (letters and digits as their upper-case character codes).
KeyArguments keyArguments(const QKeyEvent *event);

// The character a key press types, when it types exactly one with a code below 256 (0 otherwise).
qint16 keyAscii(const QKeyEvent *event);

} // namespace Lustrel::InputEvents
