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
    bool control = false;
    bool extended = false;
    std::optional<qint32> seed;
    bool nulSeparated = false;
    bool save = false;
    bool entropy = false;

    // Whether any option touches the length or the counts.
    bool setsLengthOrCounts() const;
};

// One run of the program as its arguments describe it.
struct CommandLine
{
    enum class Action { Generate, Help, Version };
    Action action = Action::Help;
    GenerateRequest request;
};

// Reads the arguments (the program name first). Anything malformed raises
// ErrorNumber::CommandLineUsage with a one-line description.
CommandLine parseCommandLine(const QStringList &arguments);

// The text --help prints.
QString helpText();
// The text --version prints.
QString versionText();
