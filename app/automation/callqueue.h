#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QQueue>
#include <QTimer>
#include <QVariantList>
#include <functional>
#include <optional>

class ActivityGate;

// Serves automation calls one at a time, in the order they arrived, and never while the
// program is busy: a call that comes in during a run, a message box or another call (their
// nested event loops deliver it) has its reply delayed and waits for the gate to go idle.
// A call holds the gate busy while it is served, so a click waits for it the same way. A call
// whose caller has left the bus by its turn is dropped unserved; a reply whose text D-Bus
// cannot carry whole goes back as an error instead.
class CallQueue : public QObject
{
    Q_OBJECT

public:
    // Serves one call: the reply's arguments, or nothing when no reply is to go back because
    // the program is ending. A Failure it raises becomes the client's error reply.
    using Work = std::function<std::optional<QVariantList>()>;

    explicit CallQueue(ActivityGate &gate, QObject *parent = nullptr);

    // Takes a call whose reply the caller has delayed; serves it in its turn.
    void enqueue(const QDBusConnection &connection, const QDBusMessage &call, Work work);
    // Calls waiting for their turn.
    int waiting() const { return int(m_calls.size()); }
    // The program is ending: nothing more is served; waiting callers learn it from the bus.
    void close();

private:
    struct Call
    {
        QDBusConnection connection;
        QDBusMessage message;
        Work work;
    };

    void scheduleServe();
    void serveNext();

    ActivityGate &m_gate;
    QQueue<Call> m_calls;
    QTimer m_serveTimer;
    bool m_closed = false;
};
