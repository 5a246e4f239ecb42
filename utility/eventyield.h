#pragma once

#include <QElapsedTimer>

// Lets the event loop run now and then during long work on the user-interface thread. Calling
// it is cheap: the clock is only read every few calls and events only run when the interval has
// passed, so a tight loop stays fast while the window still repaints and answers.
class EventYield
{
public:
    // A negative interval never yields, nor reads the clock: for work on a thread of its own.
    explicit EventYield(int intervalMs = 15);
    virtual ~EventYield();

    // Called often from long work; runs pending events when the interval has passed.
    void operator()()
    {
        if (++m_calls < CallsPerClockRead)
            return;
        m_calls = 0;
        if (m_intervalMs >= 0 && m_clock.elapsed() >= m_intervalMs)
            yieldNow();
    }

protected:
    // Runs pending events and restarts the interval.
    virtual void yieldNow();

private:
    static constexpr int CallsPerClockRead = 64;
    int m_intervalMs;
    int m_calls = 0;
    QElapsedTimer m_clock;
};
