#pragma once

#include <QtGlobal>

// Waits about the given time while the thread's event loop keeps running, so windows repaint
// and answer during the wait. Tests derive from it to count pauses without waiting.
class DelayService
{
public:
    DelayService() = default;
    virtual ~DelayService();
    DelayService(const DelayService &) = delete;
    DelayService &operator=(const DelayService &) = delete;

    // The instance shared by everything on the calling thread, made on first use.
    static DelayService &forCurrentThread();

    // Returns after about `milliseconds`; 0 or less only lets pending events run.
    virtual void Pause(qint32 milliseconds);
};
