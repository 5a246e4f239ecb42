#pragma once

#include "errorrecord.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

class GenerationSettings;

namespace ErrorNumber {
// No profile has the name asked for; the description names the ones there are.
inline constexpr qint32 ProfileNotFound = ComponentBase + 1201;
// A profile's name is empty or too long.
inline constexpr qint32 ProfileNameUnusable = ComponentBase + 1202;
// A stored profile holds a value that is missing or cannot be used.
inline constexpr qint32 ProfileDamaged = ComponentBase + 1203;
} // namespace ErrorNumber

// The settings a profile keeps: everything the record holds but the seed, since a stored seed
// would make every password of the profile the same.
struct Profile
{
    qint16 length = 10;
    std::array<qint16, 4> counts {}; // by CharacterClass
    std::array<bool, 32> symbols {};
    int nonPrintableChars = 0;
    int extendedSymbolChars = 0;
    bool leaveOutLookAlikes = false;
    int clipboardClearSeconds = 0;

    // The record as a profile keeps it: length and counts as whole numbers (halves to even), as
    // the stored settings keep them. Raises error 13 or 6 naming the box that cannot be kept.
    static Profile of(const GenerationSettings &settings);
    // Puts the profile into `settings` as typing would: the length, then each count, so the
    // count rules run as for typed values; then the symbols and the switches.
    void applyTo(GenerationSettings &settings) const;

    friend bool operator==(const Profile &, const Profile &) = default;
};

// Named profiles in the settings store, each in a key of its own under "Profiles" beside the
// settings. A name may hold any character (the store escapes it), up to MaxNameLength of them. Every change
// reaches the disk at once and whole.
class ProfileStore
{
public:
    // One stored profile: what it holds, or why it cannot be used.
    struct Entry
    {
        QString name;
        std::optional<Profile> profile;
        QString problem;
    };

    // Every stored profile, sorted by name for people. One that cannot be used comes with
    // why and costs nothing else. Raises only when the store itself cannot be read.
    static QList<Entry> readAll();
    // The profile of that name. Raises ProfileNotFound naming the profiles there are, or
    // ProfileDamaged naming the value that cannot be used.
    static Profile read(const QString &name);
    // Whether a profile of that name is stored, usable or not.
    static bool contains(const QString &name);
    // Stores the profile under `name`, replacing one of that name.
    static void write(const QString &name, const Profile &profile);
    // Stores the profile `from` under `to` (replacing one of that name) and removes `from`, in
    // one write. Raises as read() for `from`.
    static void rename(const QString &from, const QString &to);
    // Removes the profile; nothing happens when there is none.
    static void remove(const QString &name);
    // The most characters a name holds. The name stands before every value of its profile, so
    // a text pasted by mistake would swell the settings file past what a start reads.
    static constexpr qsizetype MaxNameLength = 200;
    // Why no profile can have that name (empty, too long), or nothing when one can.
    static QString nameProblem(const QString &name);
    // Raises ProfileNameUnusable saying why, for a name no profile can have.
    static void requireName(const QString &name);
};
