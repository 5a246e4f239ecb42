#include "consoleprompter.h"

#include <QRegularExpression>

MessageAnswer ConsolePrompter::showMessage(const MessageRequest &request)
{
    keep(request.text);
    switch (request.buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
        break;
    }
    return MessageAnswer::No;
}

std::optional<QString> ConsolePrompter::askText(const InputRequest &request)
{
    keep(request.prompt);
    return std::nullopt;
}

void ConsolePrompter::keep(const QString &text)
{
    if (m_firstMessage)
        return;
    static const QRegularExpression lineBreaks(QStringLiteral("\\s*[\\r\\n]+\\s*"));
    m_firstMessage = text.trimmed().replace(lineBreaks, QStringLiteral(" "));
}
