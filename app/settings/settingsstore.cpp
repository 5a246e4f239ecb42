#include "settingsstore.h"

#include "generationsettings.h"
#include "numbers.h"
#include "registrykey.h"

namespace {

const QString ProgramPath = QStringLiteral("Software\\Talvore Software\\Mintara");
const QString SeedKey = QStringLiteral("Seed");
const QString SymbolsKey = QStringLiteral("Symbols");
const QString LengthKey = QStringLiteral("Password Length");

struct CountValue
{
    QString name;
    CharacterClass characterClass;
};

// The order the counts are read and written in.
const CountValue CountValues[] = {
    { QStringLiteral("NumLowercaseChars"), CharacterClass::Lowercase },
    { QStringLiteral("NumUppercaseChars"), CharacterClass::Uppercase },
    { QStringLiteral("NumNumbers"), CharacterClass::Digit },
    { QStringLiteral("NumSymbols"), CharacterClass::Symbol },
};

QString symbolValueName(int index)
{
    return QString(GenerationSettings::SymbolTable()[std::size_t(index)].character);
}

// A step that may fail on its own without stopping the ones after it.
template<typename Body>
bool attempt(Body &&body)
{
    return runTrapped(std::forward<Body>(body), [](const ErrorRecord &) {});
}

} // namespace

SettingsStore::SettingsStore(GenerationSettings &settings)
    : m_settings(settings)
{ }

SettingsStore::ReadOutcome SettingsStore::read()
{
    ReadOutcome outcome;
    const auto step = [&](auto &&body) {
        return runTrapped(body, [&](const ErrorRecord &error) {
            if (error.number == ErrorNumber::KeyNotFound)
                outcome.keyMissing = true;
            else if (!outcome.firstFailure)
                outcome.firstFailure = error;
        });
    };

    RegistryKey key;
    const bool seedFound = step([&] {
        key.EnterSubKey(RegistryKey::CurrentUser);
        for (const QString &name : ProgramPath.split(u'\\'))
            key.EnterSubKey(name);
        key.EnterSubKey(SeedKey);
    });
    if (seedFound) {
        step([&] {
            m_settings.setUseDefault(Numbers::variantToBoolean(key.GetValue(QStringLiteral("UseDefault"))));
        });
        step([&] {
            m_settings.setUserSeed(Numbers::variantToText(key.GetValue(QStringLiteral("UserSeed"))));
        });
    }

    const bool symbolsFound = step([&] {
        key.OpenPath(ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess);
        key.EnterSubKey(SymbolsKey);
    });
    if (symbolsFound) {
        for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
            step([&] {
                m_settings.setSymbolSelected(i, Numbers::variantToBoolean(key.GetValue(symbolValueName(i))));
            });
        step([&] {
            m_settings.setNonPrintableChars(
                Numbers::variantToInteger(key.GetValue(QStringLiteral("NonPrintableChars"))));
        });
        step([&] {
            m_settings.setExtendedSymbolChars(
                Numbers::variantToInteger(key.GetValue(QStringLiteral("ExtendedSymbolChars"))));
        });
    }

    const bool countsFound = step([&] {
        key.OpenPath(ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess);
        key.EnterSubKey(LengthKey);
    });
    if (countsFound) {
        for (const CountValue &count : CountValues)
            step([&] {
                m_settings.setCount(count.characterClass, Numbers::variantToText(key.GetValue(count.name)));
            });
    }
    return outcome;
}

void SettingsStore::write()
{
    RegistryKey key;
    // The program's own key is made on the way when it is missing.
    if (!attempt([&] { key.EnterSubKey(RegistryKey::CurrentUser); }))
        return;
    for (const QString &name : ProgramPath.split(u'\\')) {
        if (!attempt([&] { key.EnterSubKey(name); })) {
            if (!attempt([&] {
                    key.CreateSubKey(name);
                    key.EnterSubKey(name);
                }))
                return;
        }
    }

    // From here each value stands alone. A section whose key cannot be reached is passed
    // over, so its values never land in another key.
    const auto enterSection = [&](const QString &section) {
        return attempt([&] {
            key.OpenPath(ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess);
            key.CreateSubKey(section);
            key.EnterSubKey(section);
        });
    };

    if (enterSection(SeedKey)) {
        attempt([&] { key.SetValue(QStringLiteral("UseDefault"), m_settings.UseDefault() ? 1 : 0); });
        attempt([&] { key.SetValue(QStringLiteral("UserSeed"), m_settings.UserSeed()); });
    }

    if (enterSection(SymbolsKey)) {
        for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
            attempt([&] { key.SetValue(symbolValueName(i), m_settings.SymbolSelected(i) ? 1 : 0); });
        attempt([&] { key.SetValue(QStringLiteral("NonPrintableChars"), m_settings.NonPrintableChars()); });
        attempt(
            [&] { key.SetValue(QStringLiteral("ExtendedSymbolChars"), m_settings.ExtendedSymbolChars()); });
    }

    if (enterSection(LengthKey)) {
        for (const CountValue &count : CountValues) {
            attempt([&] {
                const qint16 value =
                    Numbers::toInteger(Numbers::read(m_settings.count(count.characterClass)));
                key.SetValue(count.name, int(value));
            });
        }
    }
}
