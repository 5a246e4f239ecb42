#pragma once

// The arguments of the controls' input events, translated from Qt's events into the codes the
// controls' hosts expect. Not installed.

#include <QKeyEvent>
#include <QMouseEvent>
#include <utility>

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

// What a control remembers between two mouse events: the release that ends a double click
// raises MouseUp but no second Click.
struct ClickState
{
    bool releaseEndsDoubleClick = false;
};

// Raising the events from a control's handlers. Every control declares the same signals, so one
// template serves all three.
template<typename Control>
void raiseMouseDown(Control *control, const QMouseEvent *event)
{
    const MouseArguments a = mouseArguments(event);
    Q_EMIT control->MouseDown(a.button, a.shift, a.x, a.y);
}

template<typename Control>
void raiseMouseMove(Control *control, const QMouseEvent *event)
{
    const MouseArguments a = mouseArguments(event);
    Q_EMIT control->MouseMove(a.button, a.shift, a.x, a.y);
}

// MouseUp, then Click when the left button is released over the control, except after a double
// click: the order is MouseDown, MouseUp, Click, DblClick, MouseUp.
template<typename Control>
void raiseMouseUp(Control *control, const QMouseEvent *event, ClickState &state)
{
    const bool endsDoubleClick = std::exchange(state.releaseEndsDoubleClick, false);
    const MouseArguments a = mouseArguments(event);
    Q_EMIT control->MouseUp(a.button, a.shift, a.x, a.y);
    if (!endsDoubleClick && event->button() == Qt::LeftButton &&
        control->rect().contains(event->position().toPoint()))
        Q_EMIT control->Click();
}

// The second press of a double click raises DblClick in place of MouseDown.
template<typename Control>
void raiseDblClick(Control *control, const QMouseEvent *event, ClickState &state)
{
    if (event->button() != Qt::LeftButton)
        return;
    state.releaseEndsDoubleClick = true;
    Q_EMIT control->DblClick();
}

// KeyDown, then KeyPress when the key types a character.
template<typename Control>
void raiseKeyDown(Control *control, const QKeyEvent *event)
{
    const KeyArguments a = keyArguments(event);
    Q_EMIT control->KeyDown(a.keyCode, a.shift);
    if (const qint16 ascii = keyAscii(event))
        Q_EMIT control->KeyPress(ascii);
}

template<typename Control>
void raiseKeyUp(Control *control, const QKeyEvent *event)
{
    const KeyArguments a = keyArguments(event);
    Q_EMIT control->KeyUp(a.keyCode, a.shift);
}

} // namespace Lustrel::InputEvents
