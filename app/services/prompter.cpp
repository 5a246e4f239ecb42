#include "prompter.h"

#include "applicationtitle.h"

Prompter::~Prompter() = default;

MessageRequest applicationMessage(const QString &text, MessageButtons buttons, MessageIcon icon)
{
    MessageRequest request;
    request.text = text;
    request.title = applicationTitle();
    request.buttons = buttons;
    request.icon = icon;
    return request;
}
