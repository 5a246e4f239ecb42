#pragma once

#include "errorrecord.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace ErrorNumber {
// The command line asks for something that cannot be done as written; exit status 2.
inline constexpr qint32 CommandLineUsage = ComponentBase + 1101;
// The settings the run would use cannot compose a password; exit status 1.
inline constexpr qint32 SettingsUnusable = ComponentBase + 1102;
// The passwords or the settings could not be written; exit status 1.
inline constexpr qint32 WriteFailed = ComponentBase + 1103;
} // namespace ErrorNumber

// What `quorvex-cli generate` was asked for. Options left out keep the stored settings.
struct GenerateRequest
{
    qint64 count = 1;
    std::optional<qint16> length;
    // Upper-case, lower-case, digits, symbols: the composer's class order.
    std::array<std::optional<qint16>, 4> counts;
    // The symbols allowed, by their characters; replaces the stored selection.
    std::optional<QString> symbolSet;
    // Characters that never appear in a password.
    QString exclude;
    std::optional<bool> control;
    std::optional<bool> extended;
    std::optional<bool> leaveOutLookAlikes;
    std::optional<qint32> seed;
    // Start from the defaults instead of the stored settings.
    bool defaults = false;
    // Start from the stored settings with this profile put in them; the last of --defaults and
    // --profile given counts.
    std::optional<QString> profile;
    bool nulSeparated = false;
    bool save = false;
    bool entropy = false;

    // Whether any option touches the length or the counts.
    bool setsLengthOrCounts() const;
};

// One run of the program as its arguments describe it.
struct CommandLine
{
    enum class Action { Generate, ListProfiles, Help, Version };
    Action action = Action::Help;
    GenerateRequest request;
};

// Reads the arguments (the program name first). Options act in the order given: a later one
// overrides an earlier one, but for those that add to a set of characters. Anything malformed
// raises ErrorNumber::CommandLineUsage with a one-line description.
CommandLine parseCommandLine(const QStringList &arguments);

// The text --help prints.
QString helpText();
// The text --version prints.
QString versionText();

// `text` with every control and format character written as an escape (\n, \e, \x01, \u{202E}),
// so that a message shows it on one line and it cannot act on the terminal.
QString printable(const QString &text);
// A value the user gave, in quotes for a message: printable(), and its backslashes and quotes
// escaped too, so the text shown reads back as exactly one value.
QString quoted(const QString &text);
