#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>

// Rings once, a set time from now, on the event loop of its thread, and tells the wall-clock
// time it rings at. Tests derive from it to move time on by hand instead of waiting.
class AlarmClock : public QObject
{
    Q_OBJECT

public:
    explicit AlarmClock(QObject *parent = nullptr);
    ~AlarmClock() override;

    // The wall-clock time now.
    virtual QDateTime now() const;

    // Rings `milliseconds` from now, replacing a time set before.
    void set(qint64 milliseconds);
    // Rings no more.
    void cancel();
    bool isSet() const { return m_ringsAt.isValid(); }
    // When it rings; invalid while not set.
    QDateTime ringsAt() const { return m_ringsAt; }

Q_SIGNALS:
    // The time set has come; the alarm is no longer set.
    void rang();

protected:
    // Starts or stops the wait itself; the time it ends at is already set.
    virtual void startWaiting(qint64 milliseconds);
    virtual void stopWaiting();
    // Rings now: for the wait's end.
    void ring();

private:
    QTimer m_timer;
    QDateTime m_ringsAt;
};
