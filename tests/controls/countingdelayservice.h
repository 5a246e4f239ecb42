#pragma once

#include "delayservice.h"

#include <QList>
#include <functional>

// Records every pause instead of waiting; an optional hook runs inside the pause, where the
// real service would run the event loop.
class CountingDelayService : public DelayService
{
public:
    QList<qint32> pauses;
    std::function<void()> duringPause;

    void Pause(qint32 milliseconds) override
    {
        pauses.append(milliseconds);
        if (duringPause)
            duringPause();
    }
};
