#pragma once

#include <QString>
#include <exception>
#include <utility>

// A failure as the program reports it: the number a user can look up, its text, which component
// raised it, and the help topic that explains it.
struct ErrorRecord
{
    qint32 number = 0;
    QString description;
    QString source;
    QString helpFile;
    qint32 helpContext = 0;

    friend bool operator==(const ErrorRecord &, const ErrorRecord &) = default;
};

// Error numbers with a meaning of their own.
namespace ErrorNumber {
inline constexpr qint32 InvalidArgument = 5;
inline constexpr qint32 Overflow = 6;
inline constexpr qint32 OutOfMemory = 7;
inline constexpr qint32 DivisionByZero = 11;
inline constexpr qint32 TypeMismatch = 13;
inline constexpr qint32 InternalError = 51;
inline constexpr qint32 InvalidPropertyValue = 380;
// Raised by RegistryKey when a key does not exist, so callers can tell "nothing stored yet".
inline constexpr qint32 KeyNotFound = qint32(0x8004714A);
// First number of the errors that components define for themselves.
inline constexpr qint32 ComponentBase = qint32(0x80040000);
} // namespace ErrorNumber

// The usual description of a well-known number ("Overflow", "Type mismatch", ...), or an empty
// text for a number without one.
QString standardErrorDescription(qint32 number);

// The one way a failure travels from where it happens to the operation that traps it.
class Failure : public std::exception
{
public:
    explicit Failure(ErrorRecord record)
        : m_record(std::move(record))
    { }

    const ErrorRecord &record() const noexcept { return m_record; }
    qint32 number() const noexcept { return m_record.number; }
    const char *what() const noexcept override { return "Failure"; }

private:
    ErrorRecord m_record;
};

// Throws a Failure with the number's usual description unless one is given.
[[noreturn]] void raiseError(qint32 number, const QString &source = {}, const QString &description = {});

// Runs `body` and turns whatever it throws into an ErrorRecord handed to `onError`, so every
// operation that traps its errors does so the same way, once, at its boundary. Returns true
// when the body ran to its end. Errors without a source get `defaultSource`.
template<typename Body, typename Handler>
bool runTrapped(Body &&body, Handler &&onError, const QString &defaultSource = {});

ErrorRecord errorRecordFromCurrentException(const QString &defaultSource);

template<typename Body, typename Handler>
bool runTrapped(Body &&body, Handler &&onError, const QString &defaultSource)
{
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        std::forward<Handler>(onError)(errorRecordFromCurrentException(defaultSource));
        return false;
    }
}
