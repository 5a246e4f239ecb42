#pragma once

#include "advancedoptionsdialog.h"

#include <QObject>
#include <QPointer>

class AdvancedOptions;
class HelpLauncher;
class QWidget;

// Keeps the Advanced Options window coming and going the way the program expects: made on
// first use (which loads the record), thrown away when it closes (which unloads the record,
// so the next use starts from the store again). The record itself stays with AdvancedOptions
// throughout, so a batch run reading it is never left holding a dead object.
//
// The main window uses it like this: at start, dialog() once and take
// options.settings().PasswordLength() into its own length box; before showing, set the
// record's length from its own box when they differ, then exec(); take the length carried
// by lengthAccepted() (or read it after exec() returned true); at its final close, unload().
class AdvancedDialogHost : public QObject
{
    Q_OBJECT

public:
    AdvancedDialogHost(AdvancedOptions &options, HelpLauncher *help = nullptr, QObject *parent = nullptr);
    ~AdvancedDialogHost() override;

    // The window, made hidden when there is none.
    AdvancedOptionsDialog *dialog();
    // Whether a window exists now (loaded, shown or not).
    bool hasDialog() const { return !m_dialog.isNull(); }

    // Shows the window modal to `owner` only (to the whole program without one), so windows
    // without an owner, such as the help, stay usable; true when OK closed it.
    bool exec(QWidget *owner);

    // At the program's end: closes the window, if any, and forgets the edits.
    void unload();

Q_SIGNALS:
    // OK closed the window with this password length.
    void lengthAccepted(const QString &length);

private:
    void release();

    AdvancedOptions &m_options;
    HelpLauncher *m_help;
    QPointer<AdvancedOptionsDialog> m_dialog;
};
