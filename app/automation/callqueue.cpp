#include "callqueue.h"

#include "activitygate.h"
#include "automationerror.h"
#include "dbustext.h"
#include "errorrecord.h"

#include <QDBusConnectionInterface>
#include <QDBusVariant>
#include <QTimer>

namespace {

// Whether the caller has left the bus, and with it its call: no cancel exists in D-Bus, but a
// client that timed out and ended (busctl --timeout) has closed its connection.
bool callerHasLeft(const QDBusConnection &connection, const QDBusMessage &call)
{
    QDBusConnectionInterface *bus = connection.interface();
    if (!bus || call.service().isEmpty())
        return false;
    const QDBusReply<bool> present = bus->isServiceRegistered(call.service());
    return present.isValid() && !present.value();
}

// Why a value of a reply (a text, a variant, the map of GetAll) cannot travel whole, if so.
QString whyNotCarried(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QString>())
        return DBusText::whyNotCarried(value.toString());
    if (value.metaType() == QMetaType::fromType<QDBusVariant>())
        return whyNotCarried(qvariant_cast<QDBusVariant>(value).variant());
    if (value.metaType() == QMetaType::fromType<QVariantMap>()) {
        for (const QVariant &item : value.toMap()) {
            if (QString why = whyNotCarried(item); !why.isEmpty())
                return why;
        }
    }
    return {};
}

// Raises rather than let QtDBus send a text cut short at character 0.
void requireCarried(const QDBusMessage &call, const QVariantList &arguments)
{
    for (const QVariant &argument : arguments) {
        if (const QString why = whyNotCarried(argument); !why.isEmpty())
            raiseError(ErrorNumber::TextNotCarried, {},
                       QStringLiteral("%1 ran, but the text it returns holds %2, which a D-Bus string cannot "
                                      "carry; rather than cut it short, it is not sent.")
                           .arg(call.member(), why));
    }
}

} // namespace

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
    if (m_closed || !m_gate.isIdle())
        return;
    while (!m_calls.isEmpty() && callerHasLeft(m_calls.head().connection, m_calls.head().message))
        m_calls.dequeue();
    if (m_calls.isEmpty())
        return;
    const Call call = m_calls.dequeue();
    {
        ActivityGate::Busy busy(m_gate);
        std::optional<QDBusMessage> reply;
        const bool ran = runTrapped(
            [&] {
                if (std::optional<QVariantList> arguments = call.work()) {
                    requireCarried(call.message, *arguments);
                    reply = call.message.createReply(*arguments);
                }
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
