#pragma once

#include "prompter.h"

#include <QPointer>

class QWidget;
class HelpLauncher;

// The prompts as real Qt dialogs: QMessageBox for messages, QInputDialog for text. A message
// that names a help page gets a Help button that opens it without closing the box.
class WidgetPrompter : public Prompter
{
public:
    explicit WidgetPrompter(HelpLauncher *help = nullptr);

    // The window the dialogs are shown over; none centres them on the screen.
    void setParentWindow(QWidget *parent);

    MessageAnswer showMessage(const MessageRequest &request) override;
    std::optional<QString> askText(const InputRequest &request) override;

private:
    QPointer<QWidget> m_parent;
    HelpLauncher *m_help;
};
