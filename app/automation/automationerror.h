#pragma once

#include "errorrecord.h"

#include <QString>

namespace ErrorNumber {
// A file name the automation object does not take: a relative one.
inline constexpr qint32 BadFileName = 52;
// A reply holds a text that a D-Bus string cannot carry whole (character 0).
inline constexpr qint32 TextNotCarried = ComponentBase + 1301;
} // namespace ErrorNumber

// How a failed call reaches an automation client: a D-Bus error whose name tells the kind of
// failure ("Quorvex.Error.Overflow") and whose message carries the number and description.
namespace AutomationError {

// The source given to a failure that names none: the type library, as clients know it.
inline QString defaultSource()
{
    return QStringLiteral("Quorvex");
}

// "Quorvex.Error." and the kind of the number; "Quorvex.Error.Failed" for one without a kind.
QString name(qint32 number);
// "Error 6: Overflow (source: Quorvex)"; the source part only when there is one.
QString message(const ErrorRecord &error);

} // namespace AutomationError
