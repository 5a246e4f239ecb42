#include "profilestore.h"

#include "generationsettings.h"
#include "numbers.h"
#include "registrykey.h"
#include "storelayout.h"

#include <algorithm>

namespace {

const QString ProfilesKey = QStringLiteral("Profiles");
const QString LengthValue = QStringLiteral("PasswordLength");
using StoreLayout::ExtendedValue;
using StoreLayout::LookAlikesValue;
using StoreLayout::NonPrintableValue;
const QString ClipboardValue = QStringLiteral("ClipboardClearSeconds");

const char *const CountBoxes[] = { "upper-case letters", "lower-case letters", "digits", "symbols" };

qint16 wholeNumber(const QString &text, const QString &what)
{
    qint16 value = 0;
    runTrapped(
        [&] { value = Numbers::toInteger(Numbers::read(text)); },
        [&](const ErrorRecord &error) {
            raiseError(
                error.number, {},
                QStringLiteral("The %1 \"%2\" is no whole number from -32768 to 32767.").arg(what, text));
        });
    return value;
}

// The profiles' key as the current key; false when no profile has been stored yet.
bool enterProfiles(RegistryKey &key)
{
    return runTrapped(
        [&] {
            key.OpenPath(StoreLayout::ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess);
            key.EnterSubKey(ProfilesKey);
        },
        [](const ErrorRecord &error) {
            if (error.number != ErrorNumber::KeyNotFound)
                throw Failure(error);
        });
}

// The profiles' key as the current key, made when missing. The file is about to be written out
// whole again: lines it could not read are kept in a copy first, as a save of the settings does.
void enterOrMakeProfiles(RegistryKey &key)
{
    StoreLayout::enterProgramKey(key);
    if (!key.damage().isEmpty())
        key.keepCopy();
    key.CreateSubKey(ProfilesKey);
    key.EnterSubKey(ProfilesKey);
}

[[noreturn]] void raiseNotFound(const QString &name, const QStringList &known)
{
    QStringList quoted;
    for (const QString &other : known)
        quoted << u'"' + other + u'"';
    raiseError(ErrorNumber::ProfileNotFound, {},
               known.isEmpty()
                   ? QStringLiteral("There is no profile named \"%1\"; no profile is stored.").arg(name)
                   : QStringLiteral("There is no profile named \"%1\". The profiles are %2.")
                         .arg(name, quoted.join(QStringLiteral(", "))));
}

void sortForPeople(QStringList &names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int order = QString::localeAwareCompare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
}

// The profile in the current key. Raises ProfileDamaged naming the first value that is missing
// or cannot be used.
Profile readProfile(const RegistryKey &key)
{
    const auto get = [&](const QString &name, auto convert) {
        decltype(convert(QVariant())) result {};
        runTrapped(
            [&] {
                const QVariant stored = key.GetValue(name);
                if (!stored.isValid())
                    raiseError(ErrorNumber::ProfileDamaged, {}, QStringLiteral("it is missing"));
                result = convert(stored);
            },
            [&](const ErrorRecord &error) {
                raiseError(ErrorNumber::ProfileDamaged, {},
                           QStringLiteral("The value \"%1\" cannot be used: %2")
                               .arg(name,
                                    error.description.isEmpty() ? standardErrorDescription(error.number)
                                                                : error.description));
            });
        return result;
    };
    const auto checkBox = [](const QVariant &stored) {
        return GenerationSettings::checkBoxValue(Numbers::variantToInteger(stored));
    };

    Profile profile;
    profile.length = get(LengthValue, Numbers::variantToInteger);
    for (const StoreLayout::CountValue &count : StoreLayout::countValues())
        profile.counts[std::size_t(count.characterClass)] = get(count.name, Numbers::variantToInteger);
    for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
        profile.symbols[std::size_t(i)] = get(StoreLayout::symbolValueName(i), Numbers::variantToBoolean);
    profile.nonPrintableChars = get(NonPrintableValue, checkBox);
    profile.extendedSymbolChars = get(ExtendedValue, checkBox);
    profile.leaveOutLookAlikes = get(LookAlikesValue, Numbers::variantToBoolean);
    profile.clipboardClearSeconds = get(ClipboardValue, [](const QVariant &stored) {
        const int seconds = Numbers::variantToInteger(stored);
        if (!GenerationSettings::isClipboardClearSeconds(seconds))
            raiseError(ErrorNumber::InvalidPropertyValue);
        return seconds;
    });
    return profile;
}

// Stores the profile as the subkey `name` of the current key (the profiles' key).
void writeProfile(RegistryKey &key, const QString &name, const Profile &profile)
{
    key.DeleteSubKey(name); // no value of an older profile stays behind
    key.CreateSubKey(name);
    key.EnterSubKey(name);
    key.SetValue(LengthValue, int(profile.length));
    for (const StoreLayout::CountValue &count : StoreLayout::countValues())
        key.SetValue(count.name, int(profile.counts[std::size_t(count.characterClass)]));
    for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
        key.SetValue(StoreLayout::symbolValueName(i), profile.symbols[std::size_t(i)] ? 1 : 0);
    key.SetValue(NonPrintableValue, profile.nonPrintableChars);
    key.SetValue(ExtendedValue, profile.extendedSymbolChars);
    key.SetValue(LookAlikesValue, profile.leaveOutLookAlikes ? 1 : 0);
    key.SetValue(ClipboardValue, profile.clipboardClearSeconds);
}

} // namespace

Profile Profile::of(const GenerationSettings &settings)
{
    Profile profile;
    profile.length = wholeNumber(settings.PasswordLength(), QStringLiteral("password length"));
    for (int c = 0; c < 4; ++c)
        profile.counts[std::size_t(c)] =
            wholeNumber(settings.count(CharacterClass(c)),
                        QStringLiteral("number of %1").arg(QLatin1String(CountBoxes[c])));
    for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
        profile.symbols[std::size_t(i)] = settings.SymbolSelected(i);
    profile.nonPrintableChars = settings.NonPrintableChars();
    profile.extendedSymbolChars = settings.ExtendedSymbolChars();
    profile.leaveOutLookAlikes = settings.LeaveOutLookAlikes();
    profile.clipboardClearSeconds = settings.ClipboardClearSeconds();
    return profile;
}

void Profile::applyTo(GenerationSettings &settings) const
{
    settings.setPasswordLength(QString::number(length));
    for (const StoreLayout::CountValue &count : StoreLayout::countValues())
        settings.setCount(count.characterClass, QString::number(counts[std::size_t(count.characterClass)]));
    for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
        settings.setSymbolSelected(i, symbols[std::size_t(i)]);
    settings.setNonPrintableChars(nonPrintableChars);
    settings.setExtendedSymbolChars(extendedSymbolChars);
    settings.setLeaveOutLookAlikes(leaveOutLookAlikes);
    settings.setClipboardClearSeconds(clipboardClearSeconds);
}

QList<ProfileStore::Entry> ProfileStore::readAll()
{
    RegistryKey key;
    if (!enterProfiles(key))
        return {};
    QStringList names = key.SubKeyNames();
    sortForPeople(names);
    QList<Entry> entries;
    for (const QString &name : names) {
        Entry entry { name, std::nullopt, {} };
        runTrapped(
            [&] {
                enterProfiles(key);
                key.EnterSubKey(name);
                entry.profile = readProfile(key);
            },
            [&](const ErrorRecord &error) { entry.problem = error.description; });
        entries << entry;
    }
    return entries;
}

Profile ProfileStore::read(const QString &name)
{
    RegistryKey key;
    const bool any = enterProfiles(key);
    QStringList names = any ? key.SubKeyNames() : QStringList();
    if (!names.contains(name)) {
        sortForPeople(names);
        raiseNotFound(name, names);
    }
    key.EnterSubKey(name);
    Profile profile;
    runTrapped([&] { profile = readProfile(key); },
               [&](const ErrorRecord &error) {
                   raiseError(
                       error.number, {},
                       QStringLiteral("The profile \"%1\" cannot be used. %2").arg(name, error.description));
               });
    return profile;
}

bool ProfileStore::contains(const QString &name)
{
    RegistryKey key;
    return enterProfiles(key) && key.SubKeyNames().contains(name);
}

void ProfileStore::write(const QString &name, const Profile &profile)
{
    requireName(name);
    RegistryKey key;
    enterOrMakeProfiles(key);
    writeProfile(key, name, profile);
    key.Flush();
}

void ProfileStore::rename(const QString &from, const QString &to)
{
    requireName(to);
    if (from == to)
        return;
    const Profile profile = read(from);
    RegistryKey key;
    enterOrMakeProfiles(key);
    writeProfile(key, to, profile);
    enterProfiles(key);
    key.DeleteSubKey(from);
    key.Flush();
}

void ProfileStore::remove(const QString &name)
{
    RegistryKey key;
    if (!enterProfiles(key) || name.isEmpty())
        return;
    key.DeleteSubKey(name);
    key.Flush();
}

QString ProfileStore::nameProblem(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("A profile needs a name.");
    if (name.size() > MaxNameLength)
        return QStringLiteral("A profile's name holds at most %1 characters.").arg(MaxNameLength);
    return {};
}

void ProfileStore::requireName(const QString &name)
{
    const QString problem = nameProblem(name);
    if (!problem.isEmpty())
        raiseError(ErrorNumber::ProfileNameUnusable, {}, problem);
}
