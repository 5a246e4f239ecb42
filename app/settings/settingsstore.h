#pragma once

#include "errorrecord.h"

#include <optional>

class GenerationSettings;

// Where the generation settings live between runs: the per-user key
// "Software\Talvore Software\Mintara" with the subkeys "Seed", "Symbols" and
// "Password Length". The length itself is never stored; it follows from the counts.
class SettingsStore
{
public:
    // What a read found.
    struct ReadOutcome
    {
        // A key was missing (nothing stored yet, or only part of it): those fields kept
        // what the record held.
        bool keyMissing = false;
        // The first value that could not be used; the record kept its own for that field.
        std::optional<ErrorRecord> firstFailure;
    };

    explicit SettingsStore(GenerationSettings &settings);

    // Fills the record from the store, value by value: a value that cannot be used is
    // passed over so that everything else still loads.
    ReadOutcome read();

    // Writes the record, creating the keys it needs. Never fails as a whole: a value that
    // cannot be written (a count that is empty, not a number or outside -32768..32767) is left
    // as the store has it.
    void write();

private:
    GenerationSettings &m_settings;
};
