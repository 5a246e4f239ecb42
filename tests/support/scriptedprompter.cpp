#include "scriptedprompter.h"

MessageAnswer ScriptedPrompter::showMessage(const MessageRequest &request)
{
    messages.append(request);
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    switch (request.buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        break;
    }
    return MessageAnswer::Cancel;
}

std::optional<QString> ScriptedPrompter::askText(const InputRequest &request)
{
    inputs.append(request);
    if (!m_texts.isEmpty())
        return m_texts.dequeue();
    return std::nullopt;
}
