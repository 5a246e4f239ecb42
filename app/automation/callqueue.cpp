#include "callqueue.h"

#include "activitygate.h"
#include "automationerror.h"
#include "errorrecord.h"

CallQueue::CallQueue(ActivityGate &gate, QObject *parent)
    : QObject(parent)
    , m_gate(gate)
{
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
    // Never from inside the signal or the call that made the gate idle: from the event loop,
    // where whatever ended has fully unwound.
    QMetaObject::invokeMethod(this, &CallQueue::serveNext, Qt::QueuedConnection);
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
    Q_EMIT served(call.message.member());
    // The gate's idle signal schedules the next call; a gate that stays busy defers it.
}
