#include "errorrecord.h"

#include <QCoreApplication>
#include <new>

QString standardErrorDescription(qint32 number)
{
    switch (number) {
    case ErrorNumber::InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorNumber::Overflow:
        return QStringLiteral("Overflow");
    case ErrorNumber::OutOfMemory:
        return QStringLiteral("Out of memory");
    case ErrorNumber::DivisionByZero:
        return QStringLiteral("Division by zero");
    case ErrorNumber::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrorNumber::InternalError:
        return QStringLiteral("Internal error");
    case ErrorNumber::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case ErrorNumber::KeyNotFound:
        return QStringLiteral("The registry key does not exist");
    default:
        return {};
    }
}

void raiseError(qint32 number, const QString &source, const QString &description)
{
    throw Failure(
        { number, description.isEmpty() ? standardErrorDescription(number) : description, source, {}, 0 });
}

ErrorRecord errorRecordFromCurrentException(const QString &defaultSource)
{
    ErrorRecord record;
    try {
        throw;
    } catch (const Failure &failure) {
        record = failure.record();
    } catch (const std::bad_alloc &) {
        record = { ErrorNumber::OutOfMemory, standardErrorDescription(ErrorNumber::OutOfMemory), {}, {}, 0 };
    } catch (const std::exception &e) {
        record = { ErrorNumber::InternalError, QString::fromLocal8Bit(e.what()), {}, {}, 0 };
    } catch (...) {
        record = {
            ErrorNumber::InternalError, standardErrorDescription(ErrorNumber::InternalError), {}, {}, 0
        };
    }
    if (record.source.isEmpty())
        record.source = defaultSource.isEmpty() ? QCoreApplication::applicationName() : defaultSource;
    return record;
}
