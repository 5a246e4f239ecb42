#pragma once

#include <QObject>

// Tells whether the program is in the middle of something that others must wait for: a batch
// run, a modal prompt, an automation call being served. A second run, or a client's call, that
// arrives meanwhile (nested event loops deliver them) waits for idle() instead of re-entering.
class ActivityGate : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool idle READ isIdle NOTIFY idleChanged)

public:
    explicit ActivityGate(QObject *parent = nullptr);

    // Nothing is in progress.
    bool isIdle() const { return m_depth == 0; }
    // How many activities are in progress, nested inside each other.
    int depth() const { return m_depth; }

    // Marks an activity begun and ended; ends pair with begins.
    void begin();
    void end();

    // Holds the gate busy for the lifetime of the object.
    class Busy
    {
    public:
        explicit Busy(ActivityGate &gate)
            : m_gate(gate)
        {
            m_gate.begin();
        }
        ~Busy() { m_gate.end(); }
        Busy(const Busy &) = delete;
        Busy &operator=(const Busy &) = delete;

    private:
        ActivityGate &m_gate;
    };

Q_SIGNALS:
    void idleChanged(bool idle);
    // The last activity ended; waiting work may run now.
    void idle();

private:
    int m_depth = 0;
};
