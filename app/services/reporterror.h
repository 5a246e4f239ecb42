#pragma once

#include "errorrecord.h"

#include <QString>

class Prompter;

// The text of the shared error report: number, description, source and the failing operation,
// written as "window.Operation()".
QString errorReportText(const ErrorRecord &error, const QString &operation);

// Shows the shared error report (title "Error", exclamation icon, OK) and returns when the user
// closes it. What happens next is the caller's to decide.
void ReportError(Prompter &prompter, const ErrorRecord &error, const QString &operation);
