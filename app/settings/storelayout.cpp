#include "storelayout.h"

#include "registrykey.h"

namespace StoreLayout {

const std::array<CountValue, 4> &countValues()
{
    static const std::array<CountValue, 4> values = { {
        { QStringLiteral("NumLowercaseChars"), CharacterClass::Lowercase },
        { QStringLiteral("NumUppercaseChars"), CharacterClass::Uppercase },
        { QStringLiteral("NumNumbers"), CharacterClass::Digit },
        { QStringLiteral("NumSymbols"), CharacterClass::Symbol },
    } };
    return values;
}

QString symbolValueName(int index)
{
    return QString(GenerationSettings::SymbolTable()[std::size_t(index)].character);
}

void enterProgramKey(RegistryKey &key)
{
    key.EnterSubKey(RegistryKey::CurrentUser);
    for (const QString &name : ProgramPath.split(u'\\')) {
        std::optional<ErrorRecord> missing;
        if (runTrapped([&] { key.EnterSubKey(name); }, [&](const ErrorRecord &error) { missing = error; }))
            continue;
        if (missing->number != ErrorNumber::KeyNotFound)
            throw Failure(*missing);
        key.CreateSubKey(name);
        key.EnterSubKey(name);
    }
}

} // namespace StoreLayout
