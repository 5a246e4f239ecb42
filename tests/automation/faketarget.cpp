#include "faketarget.h"

#include "activitygate.h"
#include "errorrecord.h"
#include "prompter.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>

FakeTarget::FakeTarget(ActivityGate &gate, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_gate(gate)
    , m_prompter(prompter)
    , m_options(prompter)
    , m_host(m_options)
{
    m_window.setObjectName(QStringLiteral("frmMain"));
    // The main window loads the Advanced Options window hidden at its start.
    m_host.dialog();
}

FakeTarget::~FakeTarget() = default;

void FakeTarget::setMemoryName(const QString &name)
{
    calls << QStringLiteral("setMemoryName(%1)").arg(name);
    m_memoryName = name;
}

void FakeTarget::setPassLengthText(const QString &text)
{
    calls << QStringLiteral("setPassLengthText(%1)").arg(text);
    m_passLength = text;
}

QString FakeTarget::Generate()
{
    calls << QStringLiteral("Generate()");
    ActivityGate::Busy busy(m_gate);
    if (holdRuns) {
        QEventLoop run;
        m_run = &run;
        Q_EMIT runStarted();
        run.exec();
        m_run = nullptr;
    }
    unsaved = true;
    // Tells the test which length the run saw at its end.
    return QStringLiteral("first of %1").arg(m_passLength);
}

void FakeTarget::finishRun()
{
    if (m_run)
        m_run->quit();
}

QString FakeTarget::Copy()
{
    calls << QStringLiteral("Copy()");
    failIfAsked(QStringLiteral("frmMain"));
    return QStringLiteral("first");
}

bool FakeTarget::Save(QString &fileName, QString &description)
{
    calls << QStringLiteral("Save(%1|%2)").arg(fileName, description);
    failIfAsked(QStringLiteral("frmMain"));
    // What is empty the real window asks for through its dialogs.
    if (fileName.isEmpty())
        fileName = QDir::tempPath() + QStringLiteral("/chosen.txt");
    if (description.isEmpty())
        description = QStringLiteral("typed description");
    if (!QFileInfo(QFileInfo(fileName).path()).isDir())
        raiseError(76, QStringLiteral("frmMain"), QStringLiteral("Path not found"));
    unsaved = false;
    return true;
}

bool FakeTarget::Terminate()
{
    calls << QStringLiteral("Terminate()");
    if (unsaved) {
        const MessageAnswer answer = m_prompter.showMessage(applicationMessage(
            QStringLiteral("Save the passwords?"), MessageButtons::YesNoCancel, MessageIcon::Question));
        if (answer == MessageAnswer::Cancel)
            return false;
        if (answer == MessageAnswer::Yes) {
            QString fileName, description;
            Save(fileName, description);
        }
    }
    Q_EMIT terminated();
    return true;
}

void FakeTarget::showWindow()
{
    calls << QStringLiteral("showWindow()");
    m_window.show();
}

void FakeTarget::setWindowVisible(bool visible)
{
    calls << QStringLiteral("setWindowVisible(%1)").arg(visible);
    m_window.setVisible(visible);
}

void FakeTarget::failIfAsked(const QString &operation)
{
    if (const qint32 number = std::exchange(failNext, 0))
        raiseError(number, operation);
}
