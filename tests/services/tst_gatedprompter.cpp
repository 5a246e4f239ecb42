#include "activitygate.h"
#include "gatedprompter.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Answers Yes and a text, noting whether the gate was busy while it was asked.
class WatchingPrompter : public Prompter
{
public:
    explicit WatchingPrompter(ActivityGate &gate)
        : m_gate(gate)
    { }
    QList<bool> busyWhileAsked;

    MessageAnswer showMessage(const MessageRequest &) override
    {
        busyWhileAsked << !m_gate.isIdle();
        return MessageAnswer::Yes;
    }
    std::optional<QString> askText(const InputRequest &) override
    {
        busyWhileAsked << !m_gate.isIdle();
        return QStringLiteral("typed");
    }

private:
    ActivityGate &m_gate;
};

} // namespace

class TestGatedPrompter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldHoldTheGateBusyOnlyWhileAsking()
    {
        ActivityGate gate;
        WatchingPrompter inner(gate);
        GatedPrompter prompter(inner, gate);
        QSignalSpy idle(&gate, &ActivityGate::idle);

        QCOMPARE(prompter.showMessage({}), MessageAnswer::Yes);
        QCOMPARE(prompter.askText({}), std::optional<QString>(QStringLiteral("typed")));

        QCOMPARE(inner.busyWhileAsked, (QList<bool> { true, true }));
        QVERIFY(gate.isIdle());
        QCOMPARE(idle.count(), 2);
    }
};

QTEST_GUILESS_MAIN(TestGatedPrompter)
#include "tst_gatedprompter.moc"
