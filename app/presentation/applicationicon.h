#pragma once

#include <QIcon>

// The program's icon: the desktop theme's "quorvex" when it has one (installed, or a theme's
// own rendering), otherwise the bitmaps built into the program.
QIcon applicationIcon();
