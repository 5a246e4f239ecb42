#include "processidquery.h"

#include <unistd.h>

qint32 ProcessIdQuery::ProcessIdOfWindows() const
{
    // Process ids on Linux stay below 2^22, well inside a Long.
    return qint32(::getpid());
}
