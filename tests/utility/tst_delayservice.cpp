#include "delayservice.h"
#include "eventyield.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <QTimer>

// Counts the times it let events run instead of running them.
class CountingYield : public EventYield
{
public:
    using EventYield::EventYield;
    int yields = 0;

protected:
    void yieldNow() override
    {
        ++yields;
        EventYield::yieldNow();
    }
};

class TestDelayService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldKeepTheEventLoopRunningDuringAPause()
    {
        int fired = 0;
        QTimer timer;
        timer.setInterval(5);
        connect(&timer, &QTimer::timeout, this, [&] { ++fired; });
        timer.start();
        QElapsedTimer clock;
        clock.start();
        DelayService::forCurrentThread().Pause(120);
        QVERIFY(clock.elapsed() >= 100);
        QVERIFY2(fired >= 3, "timers fire while the pause lasts");
    }

    void shouldOnlyRunPendingEventsForZeroOrLess()
    {
        bool delivered = false;
        QMetaObject::invokeMethod(
            this, [&] { delivered = true; }, Qt::QueuedConnection);
        DelayService::forCurrentThread().Pause(0);
        QVERIFY(delivered);
        delivered = false;
        QMetaObject::invokeMethod(
            this, [&] { delivered = true; }, Qt::QueuedConnection);
        DelayService::forCurrentThread().Pause(-50);
        QVERIFY(delivered);
    }

    void shouldGiveEachThreadItsOwnService()
    {
        DelayService *mine = &DelayService::forCurrentThread();
        QCOMPARE(&DelayService::forCurrentThread(), mine);
        DelayService *theirs = nullptr;
        QThread *thread = QThread::create([&] { theirs = &DelayService::forCurrentThread(); });
        thread->start();
        thread->wait();
        delete thread;
        QVERIFY(theirs != nullptr);
        QVERIFY(theirs != mine);
    }

    void shouldYieldOnlyAfterTheIntervalHasPassed()
    {
        CountingYield yield(1000 * 60);
        for (int i = 0; i < 100000; ++i)
            yield();
        QCOMPARE(yield.yields, 0);

        CountingYield often(0);
        for (int i = 0; i < 64 * 10; ++i)
            often();
        QCOMPARE(often.yields, 10); // the clock is read once every 64 calls

        // Each yield starts the interval over: a tight loop yields at most once per interval.
        CountingYield throttled(20);
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 100)
            throttled();
        QVERIFY(throttled.yields >= 1);
        QVERIFY2(throttled.yields <= clock.elapsed() / 20, qPrintable(QString::number(throttled.yields)));
    }

    void shouldDeliverEventsWhenItYields()
    {
        bool delivered = false;
        QMetaObject::invokeMethod(
            this, [&] { delivered = true; }, Qt::QueuedConnection);
        EventYield yield(0);
        for (int i = 0; i < 64; ++i)
            yield();
        QVERIFY(delivered);
    }
};

QTEST_GUILESS_MAIN(TestDelayService)
#include "tst_delayservice.moc"
