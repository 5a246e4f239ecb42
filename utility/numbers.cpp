#include "numbers.h"

#include "errorrecord.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace Numbers {

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

enum class ParseResult { Ok, NotANumber, TooLarge };

// An exponent beyond this reads as this: no double comes near it, and adding the position of
// the first digit (at most the text's length) cannot overflow.
constexpr qint64 ExponentCeiling = qint64(1) << 40;

ParseResult parse(QStringView text, double &value)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    // Check the shape first; the conversion below then only sees ASCII.
    qsizetype i = begin;
    bool negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype mantissaBegin = i;
    qsizetype digits = 0;
    // The power of ten of the first digit that is not 0, before the exponent is applied.
    bool significant = false;
    qint64 integerDigits = 0;
    while (i < end && isDigit(text[i])) {
        significant = significant || text[i] != u'0';
        if (significant)
            ++integerDigits;
        ++i;
        ++digits;
    }
    qint64 leadingPower = integerDigits - 1;
    if (i < end && text[i] == u'.') {
        ++i;
        qint64 fractionZeros = 0;
        while (i < end && isDigit(text[i])) {
            if (!significant) {
                if (text[i] == u'0')
                    ++fractionZeros;
                else {
                    significant = true;
                    leadingPower = -fractionZeros - 1;
                }
            }
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return ParseResult::NotANumber;
    qint64 exponent = 0;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            negativeExponent = text[i] == u'-';
            ++i;
        }
        qsizetype exponentDigits = 0;
        while (i < end && isDigit(text[i])) {
            // Far beyond any double either way; stop growing so it cannot wrap.
            if (exponent < ExponentCeiling)
                exponent = exponent * 10 + (text[i].unicode() - u'0');
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return ParseResult::NotANumber;
        if (negativeExponent)
            exponent = -exponent;
    }
    if (i != end)
        return ParseResult::NotANumber;

    std::string ascii;
    ascii.reserve(std::size_t(end - mantissaBegin));
    for (qsizetype k = mantissaBegin; k < end; ++k) {
        const char c = char(text[k].unicode());
        if (c == '+') // from_chars takes no plus sign in the exponent's place either way
            continue;
        ascii.push_back(c);
    }
    double magnitude = 0;
    const auto [ptr, ec] = std::from_chars(ascii.data(), ascii.data() + ascii.size(), magnitude);
    if (ec == std::errc::result_out_of_range) {
        // Out of range is either too large or too small, told apart by the value's power of ten
        // (1 followed by 400 zeros and e-5 is large, 0. followed by 400 zeros and a 1 is small).
        // A tiny number is simply zero.
        if (significant && leadingPower + exponent > 0)
            return ParseResult::TooLarge;
        magnitude = 0;
    } else if (ec != std::errc() || ptr != ascii.data() + ascii.size()) {
        return ParseResult::NotANumber;
    }
    value = negative ? -magnitude : magnitude;
    return ParseResult::Ok;
}

template<typename T>
T roundToWidth(double value)
{
    const double rounded = std::nearbyint(value); // the default rounding mode sends halves to even
    if (!(rounded >= double(std::numeric_limits<T>::min()) &&
          rounded <= double(std::numeric_limits<T>::max())))
        raiseError(ErrorNumber::Overflow);
    return T(rounded);
}

} // namespace

std::optional<double> tryRead(QStringView text)
{
    double value = 0;
    if (parse(text, value) != ParseResult::Ok)
        return std::nullopt;
    return value;
}

double read(QStringView text)
{
    double value = 0;
    switch (parse(text, value)) {
    case ParseResult::Ok:
        return value;
    case ParseResult::TooLarge:
        raiseError(ErrorNumber::Overflow);
    case ParseResult::NotANumber:
        break;
    }
    raiseError(ErrorNumber::TypeMismatch);
}

qint16 toInteger(double value)
{
    return roundToWidth<qint16>(value);
}

qint32 toLong(double value)
{
    return roundToWidth<qint32>(value);
}

qint16 narrowToInteger(qint64 value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        raiseError(ErrorNumber::Overflow);
    return qint16(value);
}

double roundDown(double value)
{
    return std::floor(value);
}

QString toText(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    if (std::nearbyint(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    return text.toUpper();
}

bool variantToBoolean(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QString: {
        const QString text = value.toString();
        const QString trimmed = text.trimmed();
        if (trimmed.compare(u"true", Qt::CaseInsensitive) == 0)
            return true;
        if (trimmed.compare(u"false", Qt::CaseInsensitive) == 0)
            return false;
        return read(text) != 0;
    }
    default:
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            raiseError(ErrorNumber::TypeMismatch);
        return number != 0;
    }
}

qint16 variantToInteger(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? -1 : 0;
    case QMetaType::QString:
        return toInteger(read(value.toString()));
    default:
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            raiseError(ErrorNumber::TypeMismatch);
        return toInteger(number);
    }
}

QString variantToText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Double:
    case QMetaType::Float:
        return toText(value.toDouble());
    default:
        if (value.canConvert<QString>())
            return value.toString();
        raiseError(ErrorNumber::TypeMismatch);
    }
}

} // namespace Numbers
