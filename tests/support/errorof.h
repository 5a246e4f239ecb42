#pragma once

#include "errorrecord.h"

#include <utility>

// The number of the error that `call` raises, or 0 when it runs to its end.
template<typename F>
qint32 errorOf(F &&call)
{
    qint32 number = 0;
    runTrapped(std::forward<F>(call), [&](const ErrorRecord &e) { number = e.number; });
    return number;
}
