#pragma once

// Reading and writing property values in the types the controls save them as, with the
// conversions and overflow rule of the utility layer. Not installed.

#include "olecolor.h"

#include <QFont>
#include <QString>

class QWidget;

namespace Lustrel {

class PropertyBag;

namespace PropertyValues {

// The widened value as an Integer; error 6 when it does not fit.
qint16 toInteger(qint64 value);

// The font a new control takes: its parent's, or the application's for a control without one.
QFont ambientFont(const QWidget *control);

// The control's own enabled flag, whatever the state of the window or frame it sits in.
bool ownEnabled(const QWidget *control);

// Gives the control `font`; a font equal to the ambient one makes it follow its parent again.
void applyFont(QWidget *control, const QFont &font);

// Each reads `key` with its default and converts it; a value that does not fit its type fails
// with error 6, one of another kind with error 13.
bool readBoolean(const PropertyBag &bag, const QString &key, bool defaultValue);
qint16 readInteger(const PropertyBag &bag, const QString &key, qint16 defaultValue);
qint32 readLong(const PropertyBag &bag, const QString &key, qint32 defaultValue);
OleColor readColor(const PropertyBag &bag, const QString &key, OleColor defaultValue);
QString readText(const PropertyBag &bag, const QString &key, const QString &defaultValue);
QFont readFont(const PropertyBag &bag, const QString &key, const QFont &defaultValue);

void writeBoolean(PropertyBag &bag, const QString &key, bool value, bool defaultValue);
void writeInteger(PropertyBag &bag, const QString &key, qint16 value, qint16 defaultValue);
void writeLong(PropertyBag &bag, const QString &key, qint32 value, qint32 defaultValue);
// Colours are saved as Long: the bit pattern of the colour value.
void writeColor(PropertyBag &bag, const QString &key, OleColor value, OleColor defaultValue);
void writeText(PropertyBag &bag, const QString &key, const QString &value, const QString &defaultValue);
void writeFont(PropertyBag &bag, const QString &key, const QFont &value, const QFont &defaultValue);

} // namespace PropertyValues
} // namespace Lustrel
