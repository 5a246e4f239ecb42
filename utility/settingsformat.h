#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QSettings>
#include <QString>

// The settings file's own format for QSettings: the INI layout QSettings writes ("[group]"
// headers, "name=value" lines, names percent-encoded), so a file written before still loads and
// QSettings keeps its locking and atomic replace. Unlike QSettings' INI reader it keeps every
// value as plain text, never decoding serialized Qt types ("@Variant(...)", "@Rect(...)") nor
// splitting a value at its commas into a list, and it reads line by line: a damaged line costs
// its own value, never a value on another line.
namespace SettingsFormat {

// A line that could not be used.
struct Problem
{
    int line = 0; // from 1
    QString group; // the group it stood in, "" before the first header
    QString name; // the value's name, "" when the line named none
    QString what; // what is wrong with it
};

// What one reading found: the values as "group/name" -> text, and the lines left out.
struct Reading
{
    QSettings::SettingsMap values;
    QList<Problem> problems;
};

// The format, registered with QSettings on first use (file extension "conf").
QSettings::Format format();

// Reads a whole file; never fails as a whole.
Reading parse(QByteArrayView data);
// Writes the values as QSettings' INI writer lays them out.
QByteArray compose(const QSettings::SettingsMap &values);

// What the last reading of the named file left out, as long as the file has not changed
// since (QSettings does not read an unchanged file again).
QList<Problem> problemsOf(const QString &fileName);

} // namespace SettingsFormat
