#include "delayservice.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

DelayService::~DelayService() = default;

DelayService &DelayService::forCurrentThread()
{
    thread_local DelayService instance;
    return instance;
}

void DelayService::Pause(qint32 milliseconds)
{
    if (milliseconds <= 0 || !QCoreApplication::instance()) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents();
        else if (milliseconds > 0)
            QThread::msleep(ulong(milliseconds));
        return;
    }
    // A nested loop rather than sleeping: paint events and input keep being delivered.
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
