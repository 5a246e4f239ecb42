#pragma once

#include "alarmclock.h"

// An alarm clock whose time only moves when a test moves it.
class ManualAlarmClock : public AlarmClock
{
public:
    QDateTime now() const override { return m_now; }

    // Moves the time on, ringing when the time set is reached.
    void advance(qint64 milliseconds)
    {
        m_now = m_now.addMSecs(milliseconds);
        if (isSet() && ringsAt() <= m_now)
            ring();
    }

protected:
    void startWaiting(qint64) override { }
    void stopWaiting() override { }

private:
    QDateTime m_now = QDateTime(QDate(2024, 5, 1), QTime(14, 30, 0));
};
