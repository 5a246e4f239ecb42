#include "reporterror.h"

#include "prompter.h"

QString errorReportText(const ErrorRecord &error, const QString &operation)
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Error #") + QString::number(error.number) + crlf + error.description + crlf +
        crlf + QStringLiteral("Source:\t\t") + error.source + crlf + QStringLiteral("Caused in:\t") +
        operation + crlf;
}

void ReportError(Prompter &prompter, const ErrorRecord &error, const QString &operation)
{
    MessageRequest request;
    request.text = errorReportText(error, operation);
    request.title = QStringLiteral("Error");
    request.buttons = MessageButtons::Ok;
    request.icon = MessageIcon::Exclamation;
    request.helpFile = error.helpFile;
    request.helpContext = error.helpContext;
    prompter.showMessage(request);
}
