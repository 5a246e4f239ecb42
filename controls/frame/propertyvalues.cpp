#include "errorrecord.h"
#include "numbers.h"
#include "propertybag.h"
#include "propertyvalues_p.h"

#include <QApplication>
#include <QWidget>
#include <cmath>

namespace Lustrel::PropertyValues {

qint16 toInteger(qint64 value)
{
    return Numbers::narrowToInteger(value);
}

QFont ambientFont(const QWidget *control)
{
    if (const QWidget *parent = control->parentWidget())
        return parent->font();
    return QApplication::font(control);
}

bool ownEnabled(const QWidget *control)
{
    return !control->testAttribute(Qt::WA_ForceDisabled);
}

void applyFont(QWidget *control, const QFont &font)
{
    control->setFont(font == ambientFont(control) ? QFont() : font);
}

namespace {

double readNumber(const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        return Numbers::read(value.toString());
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        raiseError(ErrorNumber::TypeMismatch);
    return number;
}

} // namespace

bool readBoolean(const PropertyBag &bag, const QString &key, bool defaultValue)
{
    return Numbers::variantToBoolean(bag.ReadProperty(key, defaultValue));
}

qint16 readInteger(const PropertyBag &bag, const QString &key, qint16 defaultValue)
{
    return Numbers::variantToInteger(bag.ReadProperty(key, QVariant::fromValue(defaultValue)));
}

qint32 readLong(const PropertyBag &bag, const QString &key, qint32 defaultValue)
{
    return Numbers::toLong(readNumber(bag.ReadProperty(key, QVariant::fromValue(defaultValue))));
}

OleColor readColor(const PropertyBag &bag, const QString &key, OleColor defaultValue)
{
    const QVariant stored = bag.ReadProperty(key, QVariant::fromValue(qint32(defaultValue)));
    // Saved as a signed Long, but a host may well keep the unsigned value: take either.
    const double number = std::nearbyint(readNumber(stored));
    if (!(number >= -2147483648.0 && number <= 4294967295.0))
        raiseError(ErrorNumber::Overflow);
    return number < 0 ? OleColor(qint32(number)) : OleColor(quint32(number));
}

QString readText(const PropertyBag &bag, const QString &key, const QString &defaultValue)
{
    return Numbers::variantToText(bag.ReadProperty(key, defaultValue));
}

QFont readFont(const PropertyBag &bag, const QString &key, const QFont &defaultValue)
{
    const QVariant stored = bag.ReadProperty(key, defaultValue);
    if (stored.typeId() == QMetaType::QFont)
        return stored.value<QFont>();
    if (stored.typeId() == QMetaType::QString) {
        QFont font;
        if (font.fromString(stored.toString()))
            return font;
    }
    raiseError(ErrorNumber::TypeMismatch);
}

void writeBoolean(PropertyBag &bag, const QString &key, bool value, bool defaultValue)
{
    bag.WriteProperty(key, value, defaultValue);
}

void writeInteger(PropertyBag &bag, const QString &key, qint16 value, qint16 defaultValue)
{
    bag.WriteProperty(key, QVariant::fromValue(value), QVariant::fromValue(defaultValue));
}

void writeLong(PropertyBag &bag, const QString &key, qint32 value, qint32 defaultValue)
{
    bag.WriteProperty(key, QVariant::fromValue(value), QVariant::fromValue(defaultValue));
}

void writeColor(PropertyBag &bag, const QString &key, OleColor value, OleColor defaultValue)
{
    writeLong(bag, key, qint32(value), qint32(defaultValue));
}

void writeText(PropertyBag &bag, const QString &key, const QString &value, const QString &defaultValue)
{
    bag.WriteProperty(key, value, defaultValue);
}

void writeFont(PropertyBag &bag, const QString &key, const QFont &value, const QFont &defaultValue)
{
    bag.WriteProperty(key, value, defaultValue);
}

} // namespace Lustrel::PropertyValues
