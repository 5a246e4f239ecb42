#pragma once

#include "automationtarget.h"

class frmMain;

// Lets an automation client act on the main window: every member passes straight through.
class MainWindowAutomation : public AutomationTarget
{
public:
    explicit MainWindowAutomation(frmMain &window);

    QString memoryName() const override;
    void setMemoryName(const QString &name) override;
    QString passLengthText() const override;
    void setPassLengthText(const QString &text) override;
    AdvancedDialogHost &advancedDialog() override;
    Prompter &prompter() override;
    QString Generate() override;
    QString Copy() override;
    bool Save(QString &fileName, QString &description) override;
    bool Terminate() override;
    void showWindow() override;
    bool isWindowVisible() const override;
    void setWindowVisible(bool visible) override;

private:
    frmMain &m_window;
};
