#pragma once

#include "errorrecord.h"

#include <QStringList>
#include <optional>

class GenerationSettings;

// Where the generation settings live between runs: the per-user key
// "Software\Talvore Software\Mintara" with the subkeys "Seed", "Symbols" and
// "Password Length". The length itself is never stored; it follows from the counts.
class SettingsStore
{
public:
    // What to do with a settings file that cannot be read in full.
    enum class DamagedFile {
        KeepCopy, // keep it as it is in "<file>.damaged" beside it
        LeaveAlone, // write nothing because of it
    };

    // What a read found.
    struct ReadOutcome
    {
        // A key was missing (nothing stored yet, or only part of it): those fields kept
        // what the record held.
        bool keyMissing = false;
        // What the load has to tell, once: the first value that could not be used (the record
        // kept its own for that field; a count reads as 0 so the other three still hold), the
        // lines of the file that could not be read, and where a copy of the file was kept; or
        // why the file could not be used at all. Every value is named with its group and file.
        std::optional<ErrorRecord> report;
        // The same, piece by piece: the file, every value that could not be used as
        // "name" in "group", and how many of the file's lines could not be read.
        QString fileName;
        QStringList unusableValues;
        qsizetype damagedLines = 0;
    };

    explicit SettingsStore(GenerationSettings &settings);

    // Fills the record from the store, value by value: a value that cannot be used is
    // passed over so that everything else still loads. When the file cannot be used in full,
    // a copy of it is kept beside it before anything writes, unless told to leave it alone.
    ReadOutcome read(DamagedFile damaged = DamagedFile::KeepCopy);

    // Writes the record, creating the keys it needs, to the disk at once. A value that cannot
    // be written (a count that is empty, not a number or outside -32768..32767) is left as the
    // store has it. Told to, it first keeps a copy of a file that cannot be read in full, and
    // writes nothing when it cannot; `copyKept` then names the copy. Gives why the record could
    // not reach the disk, naming the file.
    std::optional<ErrorRecord> write(DamagedFile damaged = DamagedFile::LeaveAlone,
                                     QString *copyKept = nullptr);

private:
    GenerationSettings &m_settings;
};
