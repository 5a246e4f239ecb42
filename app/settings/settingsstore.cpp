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

SettingsStore::ReadOutcome SettingsStore::read(DamagedFile damaged)
{
    ReadOutcome outcome;
    std::optional<ErrorRecord> firstFailure;
    bool valueFailed = false;
    RegistryKey key;

    // A step that walks to a key.
    const auto step = [&](auto &&body) {
        return runTrapped(body, [&](const ErrorRecord &error) {
            if (error.number == ErrorNumber::KeyNotFound)
                outcome.keyMissing = true;
            else if (!firstFailure)
                firstFailure = error;
        });
    };
    // A step that reads one value; its failure names the value so that a user can find it.
    const auto value = [&](const QString &group, const QString &name, auto &&body) {
        return runTrapped(body, [&](const ErrorRecord &error) {
            valueFailed = true;
            outcome.unusableValues << QStringLiteral("\"%1\" in \"%2\"").arg(name, group);
            if (firstFailure)
                return;
            firstFailure = error;
            if (error.number != RegistryKey::ValueDamaged)
                firstFailure->description +=
                    QStringLiteral("\r\nThe value \"%1\" in the group \"%2\" of the settings file \"%3\" "
                                   "cannot be used.")
                        .arg(name, group, key.fileName());
        });
    };

    const bool seedFound = step([&] {
        key.EnterSubKey(RegistryKey::CurrentUser);
        for (const QString &name : ProgramPath.split(u'\\'))
            key.EnterSubKey(name);
        key.EnterSubKey(SeedKey);
    });
    if (seedFound) {
        value(SeedKey, QStringLiteral("UseDefault"), [&] {
            m_settings.setUseDefault(Numbers::variantToBoolean(key.GetValue(QStringLiteral("UseDefault"))));
        });
        value(SeedKey, QStringLiteral("UserSeed"), [&] {
            m_settings.setUserSeed(Numbers::variantToText(key.GetValue(QStringLiteral("UserSeed"))));
        });
    }

    const bool symbolsFound = step([&] {
        key.OpenPath(ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess);
        key.EnterSubKey(SymbolsKey);
    });
    if (symbolsFound) {
        for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
            value(SymbolsKey, symbolValueName(i), [&] {
                m_settings.setSymbolSelected(i, Numbers::variantToBoolean(key.GetValue(symbolValueName(i))));
            });
        value(SymbolsKey, QStringLiteral("NonPrintableChars"), [&] {
            m_settings.setNonPrintableChars(
                Numbers::variantToInteger(key.GetValue(QStringLiteral("NonPrintableChars"))));
        });
        value(SymbolsKey, QStringLiteral("ExtendedSymbolChars"), [&] {
            m_settings.setExtendedSymbolChars(
                Numbers::variantToInteger(key.GetValue(QStringLiteral("ExtendedSymbolChars"))));
        });
    }

    const bool countsFound = step([&] {
        key.OpenPath(ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess);
        key.EnterSubKey(LengthKey);
    });
    if (countsFound) {
        for (const CountValue &count : CountValues) {
            // A count that cannot be read is 0 rather than empty: an empty one would derive
            // all four again from the length and lose the three that were read.
            if (!value(LengthKey, count.name, [&] {
                    m_settings.setCount(count.characterClass,
                                        Numbers::variantToText(key.GetValue(count.name)));
                }))
                m_settings.setCount(count.characterClass, QStringLiteral("0"));
        }
    }

    // Lines that could not be read, wherever they stood, and the copy kept before any write.
    QStringList damage;
    runTrapped([&] { damage = key.damage(); }, [](const ErrorRecord &) {});
    outcome.fileName = key.fileName();
    outcome.damagedLines = damage.size();
    if (!firstFailure && damage.isEmpty())
        return outcome;
    ErrorRecord report = firstFailure.value_or(
        ErrorRecord { RegistryKey::ValueDamaged, {}, QStringLiteral("Utility.RegistryKey"), {}, 0 });
    QStringList parts;
    if (firstFailure && firstFailure->number != RegistryKey::ValueDamaged)
        parts << firstFailure->description;
    if (!damage.isEmpty()) {
        constexpr qsizetype Shown = 5;
        parts << QStringLiteral("The settings file \"%1\" could not be read in full:").arg(key.fileName());
        parts << damage.mid(0, Shown);
        if (damage.size() > Shown)
            parts << QStringLiteral("And %1 more lines.").arg(damage.size() - Shown);
    }
    if (valueFailed)
        parts << QStringLiteral("Values that could not be used keep their defaults; a count is 0.");
    if ((valueFailed || !damage.isEmpty()) && damaged == DamagedFile::KeepCopy) {
        runTrapped(
            [&] {
                parts
                    << QStringLiteral("A copy of the file as it was is kept in \"%1\".").arg(key.keepCopy());
            },
            [&](const ErrorRecord &error) { parts << error.description; });
    }
    report.description = parts.join(QStringLiteral("\r\n"));
    outcome.report = report;
    return outcome;
}

std::optional<ErrorRecord> SettingsStore::write(DamagedFile damaged, QString *copyKept)
{
    std::optional<ErrorRecord> failure;
    const auto fail = [&](const ErrorRecord &error) {
        if (!failure)
            failure = error;
    };
    RegistryKey key;
    // The program's own key is made on the way when it is missing; a file that is there but
    // cannot be used is not made again over it.
    if (!runTrapped([&] { key.EnterSubKey(RegistryKey::CurrentUser); }, fail))
        return failure;
    for (const QString &name : ProgramPath.split(u'\\')) {
        std::optional<ErrorRecord> missing;
        if (runTrapped([&] { key.EnterSubKey(name); }, [&](const ErrorRecord &error) { missing = error; }))
            continue;
        if (missing->number != ErrorNumber::KeyNotFound)
            return missing;
        if (!runTrapped(
                [&] {
                    key.CreateSubKey(name);
                    key.EnterSubKey(name);
                },
                fail))
            return failure;
    }

    // A file about to be written out whole again loses the lines it could not read; they are
    // kept first, or nothing is written.
    if (damaged == DamagedFile::KeepCopy &&
        !runTrapped(
            [&] {
                if (!key.damage().isEmpty()) {
                    const QString copy = key.keepCopy();
                    if (copyKept)
                        *copyKept = copy;
                }
            },
            fail))
        return failure;

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

    // The whole record reaches the disk here, or none of it.
    runTrapped([&] { key.Flush(); }, fail);
    return failure;
}
