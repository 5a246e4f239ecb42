#include "automationerror.h"

namespace AutomationError {

namespace {

struct Kind
{
    qint32 number;
    const char *name;
};

// The numbers callers may want to tell apart, among them the file errors a save can raise.
constexpr Kind Kinds[] = {
    { ErrorNumber::InvalidArgument, "InvalidArgument" },
    { ErrorNumber::Overflow, "Overflow" },
    { ErrorNumber::OutOfMemory, "OutOfMemory" },
    { ErrorNumber::DivisionByZero, "DivisionByZero" },
    { ErrorNumber::TypeMismatch, "TypeMismatch" },
    { ErrorNumber::InternalError, "InternalError" },
    { 52, "BadFileName" },
    { 53, "FileNotFound" },
    { 57, "DeviceIOError" },
    { 61, "DiskFull" },
    { 70, "PermissionDenied" },
    { 75, "PathFileAccessError" },
    { 76, "PathNotFound" },
    { ErrorNumber::InvalidPropertyValue, "InvalidPropertyValue" },
    { ErrorNumber::TextNotCarried, "TextNotCarried" },
};

} // namespace

QString name(qint32 number)
{
    for (const Kind &kind : Kinds) {
        if (kind.number == number)
            return QStringLiteral("Quorvex.Error.") + QLatin1String(kind.name);
    }
    return QStringLiteral("Quorvex.Error.Failed");
}

QString message(const ErrorRecord &error)
{
    QString text = QStringLiteral("Error %1: %2").arg(error.number).arg(error.description);
    if (!error.source.isEmpty())
        text += QStringLiteral(" (source: %1)").arg(error.source);
    return text;
}

} // namespace AutomationError
