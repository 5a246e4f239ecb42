#pragma once

#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "automationtarget.h"

#include <QObject>
#include <QStringList>
#include <QWidget>

class ActivityGate;
class QEventLoop;

// A main window for the automation tests: the real Advanced Options window and record behind
// it, a plain window to show and hide, and operations that log their calls and act like the
// real ones where the automation object can tell (a run holds the gate busy, the unsaved
// question comes before terminating, a save into a missing folder fails).
class FakeTarget : public QObject, public AutomationTarget
{
    Q_OBJECT

public:
    FakeTarget(ActivityGate &gate, Prompter &prompter, QObject *parent = nullptr);
    ~FakeTarget() override;

    QString memoryName() const override { return m_memoryName; }
    void setMemoryName(const QString &name) override;
    QString passLengthText() const override { return m_passLength; }
    void setPassLengthText(const QString &text) override;
    AdvancedDialogHost &advancedDialog() override { return m_host; }
    Prompter &prompter() override { return m_prompter; }
    QString Generate() override;
    QString Copy() override;
    bool Save(QString &fileName, QString &description) override;
    bool Terminate() override;
    void showWindow() override;
    bool isWindowVisible() const override { return m_window.isVisible(); }
    void setWindowVisible(bool visible) override;

    AdvancedOptions &options() { return m_options; }
    // Every call the automation object made, in order, as "Member(arguments)".
    QStringList calls;
    // Passwords made and not saved since.
    bool unsaved = false;
    // Runs wait in their own event loop until finishRun().
    bool holdRuns = false;
    bool isRunning() const { return m_run != nullptr; }
    void finishRun();
    // The next Copy or Save fails with this error number (0: none).
    qint32 failNext = 0;

Q_SIGNALS:
    void runStarted();
    // Terminate went through: the program would end now.
    void terminated();

private:
    void failIfAsked(const QString &operation);

    ActivityGate &m_gate;
    Prompter &m_prompter;
    AdvancedOptions m_options;
    AdvancedDialogHost m_host;
    QWidget m_window;
    QString m_memoryName;
    QString m_passLength = QStringLiteral("10");
    QEventLoop *m_run = nullptr;
};
