#pragma once

#include <QString>
#include <optional>

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// A message box as the program asks for it. Lines are separated by CR LF.
struct MessageRequest
{
    QString text;
    QString title;
    MessageButtons buttons = MessageButtons::Ok;
    MessageIcon icon = MessageIcon::None;
    QString helpFile;
    qint32 helpContext = 0;
};

// An input box: a prompt, a title and the text it starts with.
struct InputRequest
{
    QString prompt;
    QString title;
    QString defaultText;
};

// A message box titled with the application title.
MessageRequest applicationMessage(const QString &text, MessageButtons buttons, MessageIcon icon);

// Every question and notice the program puts to the user goes through here, so the windows can
// show real dialogs while tests script the answers and read back the texts.
class Prompter
{
public:
    virtual ~Prompter();

    // Shows the message modally and returns the button the user chose.
    virtual MessageAnswer showMessage(const MessageRequest &request) = 0;
    // Asks for a line of text; nothing when the user cancels.
    virtual std::optional<QString> askText(const InputRequest &request) = 0;
};
