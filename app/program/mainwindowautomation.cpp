#include "mainwindowautomation.h"

#include "frmmain.h"

MainWindowAutomation::MainWindowAutomation(frmMain &window)
    : m_window(window)
{ }

QString MainWindowAutomation::memoryName() const
{
    return m_window.memoryName();
}

void MainWindowAutomation::setMemoryName(const QString &name)
{
    m_window.setMemoryName(name);
}

QString MainWindowAutomation::passLengthText() const
{
    return m_window.passLengthText();
}

void MainWindowAutomation::setPassLengthText(const QString &text)
{
    m_window.setPassLengthText(text);
}

AdvancedDialogHost &MainWindowAutomation::advancedDialog()
{
    return m_window.advancedDialog();
}

Prompter &MainWindowAutomation::prompter()
{
    return m_window.prompter();
}

QString MainWindowAutomation::Generate()
{
    return m_window.Generate();
}

QString MainWindowAutomation::Copy()
{
    return m_window.Copy();
}

bool MainWindowAutomation::Save(QString &fileName, QString &description)
{
    return m_window.Save(fileName, description);
}

bool MainWindowAutomation::Terminate()
{
    return m_window.Terminate();
}

void MainWindowAutomation::showWindow()
{
    m_window.showWindow();
}

bool MainWindowAutomation::isWindowVisible() const
{
    return m_window.isVisible();
}

void MainWindowAutomation::setWindowVisible(bool visible)
{
    m_window.setVisible(visible);
}
