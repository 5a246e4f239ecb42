#pragma once

#include "delayservice.h"

#include <QElapsedTimer>
#include <functional>

// Paces a run as a whole rather than pause by pause: each pause waits until all the pauses
// asked for so far have passed since the run began, so the time the work took in between, and
// a timer that fired late, count toward the next pause instead of adding up. A run of n steps
// then lasts what its pauses say, not that plus n times the work and the timers' lateness.
class RunPacing : public DelayService
{
public:
    // Waits through `inner`; `clock` gives milliseconds since any fixed point (a monotonic
    // clock when empty).
    explicit RunPacing(DelayService &inner, std::function<qint64()> clock = {});

    // Waits what is left of everything asked so far; only lets events run when nothing is.
    void Pause(qint32 milliseconds) override;

    // The pauses asked for so far, in total.
    qint64 askedMs() const { return m_asked; }

private:
    DelayService &m_inner;
    std::function<qint64()> m_clock;
    QElapsedTimer m_timer;
    qint64 m_start = 0;
    qint64 m_asked = 0;
};
