#include "activitygate.h"

#include <QSignalSpy>
#include <QTest>

class tst_ActivityGate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldSignalIdleOnlyWhenTheOutermostActivityEnds();
};

void tst_ActivityGate::shouldSignalIdleOnlyWhenTheOutermostActivityEnds()
{
    ActivityGate gate;
    QSignalSpy idle(&gate, &ActivityGate::idle);
    QSignalSpy changed(&gate, &ActivityGate::idleChanged);
    QVERIFY(gate.isIdle());
    {
        ActivityGate::Busy outer(gate);
        {
            ActivityGate::Busy inner(gate);
            QCOMPARE(gate.depth(), 2);
        }
        QVERIFY(!gate.isIdle());
        QCOMPARE(idle.count(), 0);
    }
    QVERIFY(gate.isIdle());
    QCOMPARE(idle.count(), 1);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).toBool(), false);
    QCOMPARE(changed.at(1).at(0).toBool(), true);
}

QTEST_GUILESS_MAIN(tst_ActivityGate)
#include "tst_activitygate.moc"
