#pragma once

// How the controls speak to screen readers and other assistive technologies. Not installed.

class QWidget;

namespace Lustrel::Accessibility {

// Lets Qt's accessibility ask the library for the interfaces of its controls: the bar as a
// progress bar with its value, a marker as a button named by its caption, the glowing caption
// as static text. Calling it again does nothing.
void installFactory();

// Tells assistive technologies that the caption naming `control` changed; nothing when the
// host has given the control an accessible name of its own.
void announceCaptionChange(QWidget *control);

// Tells assistive technologies that the bar now stands at `value`.
void announceValueChange(QWidget *bar, int value);

} // namespace Lustrel::Accessibility
