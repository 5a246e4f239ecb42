// A Quorvex process for the automation tests: the real automation server over a FakeTarget,
// with a test-only object at /Test through which the client in the test process scripts the
// prompts, holds runs and reads back what the windows hold.

#include "activitygate.h"
#include "automationserver.h"
#include "callqueue.h"
#include "faketarget.h"
#include "prompter.h"
#include "temporarysettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDBusConnection>
#include <QEventLoop>
#include <QLineEdit>
#include <QQueue>
#include <QRadioButton>
#include <QVariantMap>
#include <cstdio>

namespace {

QString iconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QStringLiteral("Critical");
    case MessageIcon::Question:
        return QStringLiteral("Question");
    case MessageIcon::Exclamation:
        return QStringLiteral("Exclamation");
    case MessageIcon::Information:
        return QStringLiteral("Information");
    case MessageIcon::None:
        break;
    }
    return QStringLiteral("None");
}

} // namespace

// A message box the way the main window shows one: modal (a nested event loop) with the gate
// held busy. Answers given in advance are used at once; otherwise the box stays open until
// the test answers it.
class ControlledPrompter : public QObject, public Prompter
{
    Q_OBJECT

public:
    explicit ControlledPrompter(ActivityGate &gate)
        : m_gate(gate)
    { }

    QStringList messages;
    bool isOpen() const { return m_box != nullptr; }

    void answer(MessageAnswer answer)
    {
        m_answers.enqueue(answer);
        if (m_box)
            m_box->quit();
    }

    MessageAnswer showMessage(const MessageRequest &request) override
    {
        messages << iconName(request.icon) + u'|' + request.title + u'|' + request.text;
        ActivityGate::Busy busy(m_gate);
        if (m_answers.isEmpty()) {
            QEventLoop box;
            m_box = &box;
            box.exec();
            m_box = nullptr;
        }
        return m_answers.dequeue();
    }

    std::optional<QString> askText(const InputRequest &) override { return std::nullopt; }

private:
    ActivityGate &m_gate;
    QEventLoop *m_box = nullptr;
    QQueue<MessageAnswer> m_answers;
};

// What the test process may do and read in this one.
class TestControl : public QObject
{
    Q_OBJECT

public:
    TestControl(FakeTarget &target, ControlledPrompter &prompter, AutomationServer &server)
        : m_target(target)
        , m_prompter(prompter)
        , m_server(server)
    { }

public Q_SLOTS:
    void HoldRuns(bool hold) { m_target.holdRuns = hold; }
    bool Running() const { return m_target.isRunning(); }
    void FinishRun() { m_target.finishRun(); }
    void SetUnsaved(bool unsaved) { m_target.unsaved = unsaved; }
    void FailNext(int number) { m_target.failNext = number; }
    QStringList Calls() const { return m_target.calls; }
    QStringList Messages() const { return m_prompter.messages; }
    bool BoxOpen() const { return m_prompter.isOpen(); }
    void Answer(const QString &answer)
    {
        static const QMap<QString, MessageAnswer> answers = {
            { QStringLiteral("Ok"), MessageAnswer::Ok },
            { QStringLiteral("Cancel"), MessageAnswer::Cancel },
            { QStringLiteral("Yes"), MessageAnswer::Yes },
            { QStringLiteral("No"), MessageAnswer::No },
        };
        m_prompter.answer(answers.value(answer, MessageAnswer::Cancel));
    }
    int Waiting() const { return m_server.calls().waiting(); }
    bool OwnsServiceName() const { return m_server.ownsServiceName(); }
    QString PassLengthText() const { return m_target.passLengthText(); }
    void TypePassLength(const QString &text) { m_target.setPassLengthText(text); }
    QString MemoryName() const { return m_target.memoryName(); }
    void TypeSeed(const QString &text)
    {
        dialog()->findChild<QLineEdit *>(QStringLiteral("txtSeed"))->setText(text);
    }
    // The seed and character controls of the Advanced Options window, and the record's fields.
    QVariantMap Dialog()
    {
        QWidget *window = dialog();
        const auto *seed = window->findChild<QLineEdit *>(QStringLiteral("txtSeed"));
        const auto checkState = [window](const char *name) {
            return int(window->findChild<QCheckBox *>(QLatin1String(name))->checkState());
        };
        const GenerationSettings &record = m_target.options().settings();
        return {
            { QStringLiteral("optSeed_0"),
              window->findChild<QRadioButton *>(QStringLiteral("optSeed_0"))->isChecked() },
            { QStringLiteral("optSeed_1"),
              window->findChild<QRadioButton *>(QStringLiteral("optSeed_1"))->isChecked() },
            { QStringLiteral("txtSeed"), seed->text() },
            { QStringLiteral("txtSeedEnabled"), seed->isEnabled() },
            { QStringLiteral("chkNonPrintChars"), checkState("chkNonPrintChars") },
            { QStringLiteral("chkSymbolChars"), checkState("chkSymbolChars") },
            { QStringLiteral("UseDefault"), record.UseDefault() },
            { QStringLiteral("UserSeed"), record.UserSeed() },
            { QStringLiteral("NonPrintableChars"), record.NonPrintableChars() },
            { QStringLiteral("ExtendedSymbolChars"), record.ExtendedSymbolChars() },
            { QStringLiteral("DialogVisible"), window->isVisible() },
        };
    }

private:
    QWidget *dialog() { return m_target.advancedDialog().dialog(); }

    FakeTarget &m_target;
    ControlledPrompter &m_prompter;
    AutomationServer &m_server;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TemporarySettings store;
    ActivityGate gate;
    ControlledPrompter prompter(gate);
    FakeTarget target(gate, prompter);
    AutomationServer server(target, gate);
    if (const QString why = server.start(); !why.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 2;
    }
    QObject::connect(&target, &FakeTarget::terminated, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    TestControl control(target, prompter, server);
    QDBusConnection::sessionBus().registerObject(QStringLiteral("/Test"), &control,
                                                 QDBusConnection::ExportAllSlots);
    return app.exec();
}

#include "fakeserver.moc"
