#pragma once

#include "prompter.h"

#include <QPointer>

class QWidget;
class HelpLauncher;

// The prompts as real Qt dialogs: QMessageBox for messages, QInputDialog for text. A message
// that names a help page gets a Help button that opens it without closing the box. Each is
// modal to the window it is asked over only, so the help window (which has no owner) stays
// usable beside it.
class WidgetPrompter : public Prompter
{
public:
    explicit WidgetPrompter(HelpLauncher *help = nullptr);

    // The program's window the dialogs are shown over; without one they block the whole
    // program. A modal window of its own over it (the Advanced Options window) takes its place.
    void setParentWindow(QWidget *parent);
    // The window the next dialog is owned by.
    QWidget *owner() const;

    MessageAnswer showMessage(const MessageRequest &request) override;
    std::optional<QString> askText(const InputRequest &request) override;

private:
    QPointer<QWidget> m_parent;
    HelpLauncher *m_help;
};
