#pragma once

#include <QByteArray>
#include <QSettings>

// Qt's own INI reader and writer, each time on a file that no QSettings of this process has
// opened before. Qt keeps what it last read or wrote of a file for the life of the process and
// answers from that while the file's size and time are unchanged: a file written here and read
// back by name here would never be parsed.
namespace QtIniFile {

// Every value as QSettings::IniFormat reads it from `bytes`, by its key.
QSettings::SettingsMap read(const QByteArray &bytes);
// The bytes QSettings::IniFormat writes for `values`.
QByteArray written(const QSettings::SettingsMap &values);

} // namespace QtIniFile
