#include "callqueue.h"

#include "activitygate.h"
#include "automationerror.h"
#include "errorrecord.h"

#include <QTimer>

CallQueue::CallQueue(ActivityGate &gate, QObject *parent)
    : QObject(parent)
    , m_gate(gate)
{
    m_serveTimer.setSingleShot(true);
    m_serveTimer.setInterval(0);
    connect(&m_serveTimer, &QTimer::timeout, this, &CallQueue::serveNext);
    connect(&m_gate, &ActivityGate::idle, this, &CallQueue::scheduleServe);
}

void CallQueue::enqueue(const QDBusConnection &connection, const QDBusMessage &call, Work work)
{
    m_calls.enqueue({ connection, call, std::move(work) });
    scheduleServe();
}

void CallQueue::close()
{
    m_closed = true;
}

void CallQueue::scheduleServe()
{
    // Never from inside the signal or the call that made the gate idle, but from the event
    // loop once whatever ended has unwound. A timer, not a posted call: a run or message box
    // nested inside the handling of a posted event may not be woken for the bus messages that
    // arrive meanwhile (seen with the GLib event loop), and the bus must keep being read.
    m_serveTimer.start();
}

void CallQueue::serveNext()
{
    if (m_closed || m_calls.isEmpty() || !m_gate.isIdle())
        return;
    const Call call = m_calls.dequeue();
    {
        ActivityGate::Busy busy(m_gate);
        std::optional<QDBusMessage> reply;
        const bool ran = runTrapped(
            [&] {
                if (std::optional<QVariantList> arguments = call.work())
                    reply = call.message.createReply(*arguments);
            },
            [&](const ErrorRecord &error) {
                reply = call.message.createErrorReply(AutomationError::name(error.number),
                                                      AutomationError::message(error));
            },
            AutomationError::defaultSource());
        if (ran && !reply)
            m_closed = true; // the program is ending: leave the rest unanswered
        if (reply)
            call.connection.send(*reply);
    }
    // The gate's idle signal schedules the next call; a gate that stays busy defers it.
}
