#include "alarmclock.h"

AlarmClock::AlarmClock(QObject *parent)
    : QObject(parent)
{
    m_timer.setSingleShot(true);
    // A coarse timer may end 5% late: half a minute on the longest wait.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &AlarmClock::ring);
}

AlarmClock::~AlarmClock() = default;

QDateTime AlarmClock::now() const
{
    return QDateTime::currentDateTime();
}

void AlarmClock::set(qint64 milliseconds)
{
    m_ringsAt = now().addMSecs(milliseconds);
    startWaiting(milliseconds);
}

void AlarmClock::cancel()
{
    m_ringsAt = QDateTime();
    stopWaiting();
}

void AlarmClock::startWaiting(qint64 milliseconds)
{
    m_timer.start(std::chrono::milliseconds(qMax<qint64>(0, milliseconds)));
}

void AlarmClock::stopWaiting()
{
    m_timer.stop();
}

void AlarmClock::ring()
{
    if (!isSet())
        return;
    m_ringsAt = QDateTime();
    Q_EMIT rang();
}
