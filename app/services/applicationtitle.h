#pragma once

#include <QString>

// The title of the program's windows and of every message box without a title of its own.
inline QString applicationTitle()
{
    return QStringLiteral("Talvore Mintara 2.0");
}
