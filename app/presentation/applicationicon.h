#pragma once

#include <QIcon>

// The program's icon: the desktop theme's icon named by the application id when it has one
// (installed, or a theme's own rendering), otherwise the bitmaps built into the program.
QIcon applicationIcon();
