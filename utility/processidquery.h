#pragma once

#include <QtGlobal>

// Which process owns the program's windows. A process on this desktop cannot be asked about
// another's windows, and the program only asks about its own main window, so the answer is the
// running process, read from the system on each call (it stays right after a fork).
class ProcessIdQuery
{
public:
    // The id of the process that owns this program's windows.
    qint32 ProcessIdOfWindows() const;
};
