#pragma once

#include "prompter.h"

#include <QString>
#include <optional>

// Answers the program's questions without a user: nothing is ever shown or waited for. Every
// question gets its cautious answer (OK, No, Cancel, no text) and the first message is kept,
// so the command can stop with it instead of going on as if all were well.
class ConsolePrompter : public Prompter
{
public:
    MessageAnswer showMessage(const MessageRequest &request) override;
    std::optional<QString> askText(const InputRequest &request) override;

    // The first message asked for, on one line; nothing when none was.
    std::optional<QString> firstMessage() const { return m_firstMessage; }

private:
    void keep(const QString &text);

    std::optional<QString> m_firstMessage;
};
