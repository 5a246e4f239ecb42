#include "widgetprompter.h"

#include "helplauncher.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Message texts use CR LF between lines; a label only wants the line feed.
QString displayText(const QString &text)
{
    QString shown = text;
    // CR LF and a lone CR both break the line: some messages are built with CR alone.
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// Modal to its owner only; with no owner there is nothing else to be modal to.
void setModalTo(QDialog &dialog, QWidget *owner)
{
    dialog.setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
}

} // namespace

WidgetPrompter::WidgetPrompter(HelpLauncher *help)
    : m_help(help)
{ }

void WidgetPrompter::setParentWindow(QWidget *parent)
{
    m_parent = parent;
}

QWidget *WidgetPrompter::owner() const
{
    // A question asked while a modal window of the program is up belongs to that window, or
    // it would stay usable behind the question.
    QWidget *modal = QApplication::activeModalWidget();
    if (!m_parent)
        return modal;
    for (QWidget *w = modal; w; w = w->parentWidget()) {
        if (w == m_parent)
            return modal;
    }
    return m_parent;
}

MessageAnswer WidgetPrompter::showMessage(const MessageRequest &request)
{
    QWidget *parent = owner();
    QMessageBox box(boxIcon(request.icon), request.title, displayText(request.text), QMessageBox::NoButton,
                    parent);
    setModalTo(box, parent);
    box.setTextFormat(Qt::PlainText);
    switch (request.buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    QPushButton *help = nullptr;
    if (m_help && !request.helpFile.isEmpty() && m_help->hasTopic(request.helpFile))
        help = box.addButton(QMessageBox::Help);

    for (;;) {
        box.exec();
        if (help && box.clickedButton() == help) {
            m_help->ShowHelpTopic(request.helpFile);
            continue; // the help button must not answer the question
        }
        break;
    }
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        // Closed from the title bar: the box's escape answer.
        return request.buttons == MessageButtons::Ok   ? MessageAnswer::Ok
            : request.buttons == MessageButtons::YesNo ? MessageAnswer::No
                                                       : MessageAnswer::Cancel;
    }
}

std::optional<QString> WidgetPrompter::askText(const InputRequest &request)
{
    QWidget *parent = owner();
    QInputDialog input(parent);
    setModalTo(input, parent);
    input.setWindowTitle(request.title);
    input.setLabelText(displayText(request.prompt));
    input.setTextEchoMode(QLineEdit::Normal);
    input.setTextValue(request.defaultText);
    if (input.exec() != QDialog::Accepted)
        return std::nullopt;
    return input.textValue();
}
