#pragma once

#include "generationsettings.h"

#include <QString>
#include <array>

class RegistryKey;

// Where the settings and the profiles live in the store: the program's key, the names of the
// values both keep, and the way to the program's key.
namespace StoreLayout {

inline const QString ProgramPath = QStringLiteral("Software\\Talvore Software\\Mintara");
// Values the settings keep in "Symbols" and a profile beside its other values.
inline const QString NonPrintableValue = QStringLiteral("NonPrintableChars");
inline const QString ExtendedValue = QStringLiteral("ExtendedSymbolChars");
inline const QString LookAlikesValue = QStringLiteral("LeaveOutLookAlikes");

struct CountValue
{
    QString name;
    CharacterClass characterClass;
};

// The counts, in the order they are read and written.
const std::array<CountValue, 4> &countValues();

// The value of symbol `index`: its one character.
QString symbolValueName(int index);

// Makes the program's key the current one, making it and the keys above it when missing. A
// file that is there but cannot be used is not made again over it: that error is raised.
void enterProgramKey(RegistryKey &key);

} // namespace StoreLayout
