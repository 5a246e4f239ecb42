#pragma once

#include <QString>

class AdvancedDialogHost;
class Prompter;

// What the Application object acts on: the program's one main window, its hidden Advanced
// Options window and its prompts. The main window implements it; tests give a stand-in.
class AutomationTarget
{
public:
    virtual ~AutomationTarget();

    // The caller's name kept on the main window; empty by default.
    virtual QString memoryName() const = 0;
    virtual void setMemoryName(const QString &name) = 0;

    // The text of the main window's length box, txtPassLen.
    virtual QString passLengthText() const = 0;
    virtual void setPassLengthText(const QString &text) = 0;

    // The Advanced Options window; its dialog() loads it hidden when it is not loaded.
    virtual AdvancedDialogHost &advancedDialog() = 0;
    // Where the main window's message boxes go.
    virtual Prompter &prompter() = 0;

    // The batch run, with its own traps and messages; the first password when it completes.
    virtual QString Generate() = 0;
    // Copies the selected passwords; raises Failure. The first password.
    virtual QString Copy() = 0;
    // Saves the list, asking for what is empty; raises Failure. Both texts as the save left them.
    virtual bool Save(QString &fileName, QString &description) = 0;
    // Closes the main window, asking about unsaved passwords: false when the user cancelled,
    // true when the program is ending.
    virtual bool Terminate() = 0;

    // Shows the main window non-modally.
    virtual void showWindow() = 0;
    virtual bool isWindowVisible() const = 0;
    virtual void setWindowVisible(bool visible) = 0;
};
