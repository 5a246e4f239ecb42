#pragma once

#include <QString>

// The title of the program's windows and of every message box without a title of its own.
inline QString applicationTitle()
{
    return QStringLiteral("Talvore Mintara 2.0");
}

// The id that names the program to the desktop: its launcher, metainfo, theme icon and Wayland
// app id. The D-Bus names are older than it and stay as clients know them.
inline QString applicationId()
{
    return QStringLiteral("org.talvore.Quorvex");
}
