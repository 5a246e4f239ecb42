#include "../controls/countingdelayservice.h"
#include "runpacing.h"

#include <QTest>

class TestRunPacing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each step: the work before a pause (ms of clock), the pause asked, how long the inner
    // pause really took; and what the inner service is asked for.
    void shouldWaitOnlyWhatIsLeftOfThePace_data()
    {
        QTest::addColumn<QList<int>>("work");
        QTest::addColumn<QList<int>>("asked");
        QTest::addColumn<QList<int>>("lateBy");
        QTest::addColumn<QList<int>>("waited");

        QTest::newRow("no work, punctual timers") << QList<int> { 0, 0, 0 } << QList<int> { 5, 1, 200 }
                                                  << QList<int> { 0, 0, 0 } << QList<int> { 5, 1, 200 };
        QTest::newRow("work counts toward the pause") << QList<int> { 3, 3, 3 } << QList<int> { 5, 5, 5 }
                                                      << QList<int> { 0, 0, 0 } << QList<int> { 2, 2, 2 };
        QTest::newRow("slow work leaves nothing to wait, then catches up")
            << QList<int> { 4, 4, 0 } << QList<int> { 1, 1, 200 } << QList<int> { 0, 0, 0 }
            << QList<int> { 0, 0, 194 };
        QTest::newRow("a late timer shortens the next pause")
            << QList<int> { 0, 0, 0 } << QList<int> { 1, 1, 1 } << QList<int> { 4, 0, 0 }
            << QList<int> { 1, 0, 0 };
        QTest::newRow("negative asks add nothing")
            << QList<int> { 0, 0 } << QList<int> { -5, 3 } << QList<int> { 0, 0 } << QList<int> { 0, 3 };
    }
    void shouldWaitOnlyWhatIsLeftOfThePace()
    {
        QFETCH(QList<int>, work);
        QFETCH(QList<int>, asked);
        QFETCH(QList<int>, lateBy);
        QFETCH(QList<int>, waited);

        qint64 now = 1000;
        CountingDelayService inner;
        int step = 0;
        inner.duringPause = [&] {
            now += inner.pauses.constLast() + lateBy[step];
        };
        RunPacing pacing(inner, [&now] { return now; });
        qint64 total = 0;
        for (step = 0; step < asked.size(); ++step) {
            now += work[step];
            pacing.Pause(asked[step]);
            total += qMax(0, asked[step]);
        }
        QCOMPARE(inner.pauses, waited);
        QCOMPARE(pacing.askedMs(), total);
    }
};

QTEST_GUILESS_MAIN(TestRunPacing)
#include "tst_runpacing.moc"
