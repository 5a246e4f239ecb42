#pragma once

#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

// Reading numbers from text and narrowing them to the program's integer widths. Integer is
// signed 16-bit, Long signed 32-bit. Every conversion the program makes from typed or stored
// text goes through here, so a bad value always fails the same way: error 13 for text that is
// not a number, error 6 for a value that does not fit.
namespace Numbers {

// The text as a decimal number: blanks around it, an optional sign, digits with an optional
// point and exponent. Anything else, the empty text included, gives nothing.
std::optional<double> tryRead(QStringView text);

// As tryRead, but raises error 13 (type mismatch) instead of giving nothing, and error 6
// (overflow) for a number too large for a double.
double read(QStringView text);

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4); error 6 outside
// -32768..32767 (Integer) or the 32-bit range (Long), and for a value that is not a number.
qint16 toInteger(double value);
qint32 toLong(double value);

// Narrows a whole number that must already be in range; error 6 otherwise.
qint16 narrowToInteger(qint64 value);

// Rounded down, toward minus infinity (2.7 -> 2, -1.5 -> -2).
double roundDown(double value);

// The shortest decimal text that reads back as the same number ("10", "1.5", "-4").
QString toText(double value);

// Conversions of a stored value (text, number, truth value or nothing at all). A missing value
// reads as 0, false or the empty text.
bool variantToBoolean(const QVariant &value);
qint16 variantToInteger(const QVariant &value);
QString variantToText(const QVariant &value);

} // namespace Numbers
