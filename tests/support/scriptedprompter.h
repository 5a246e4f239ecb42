#pragma once

#include "prompter.h"

#include <QList>
#include <QQueue>

// Answers prompts from a script and keeps every request, so tests read back the exact texts.
// With nothing scripted a message gets its box's escape answer (OK, No or Cancel) and an input
// box is cancelled.
class ScriptedPrompter : public Prompter
{
public:
    void answerNext(MessageAnswer answer) { m_answers.enqueue(answer); }
    void typeNext(const std::optional<QString> &text) { m_texts.enqueue(text); }

    QList<MessageRequest> messages;
    QList<InputRequest> inputs;

    MessageAnswer showMessage(const MessageRequest &request) override;
    std::optional<QString> askText(const InputRequest &request) override;

private:
    QQueue<MessageAnswer> m_answers;
    QQueue<std::optional<QString>> m_texts;
};
