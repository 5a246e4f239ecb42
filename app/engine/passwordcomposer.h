#pragma once

#include "errorrecord.h"

#include <QObject>
#include <QString>

class EventYield;
class GenerationSettings;
class Prompter;
class RandomSource;

namespace ErrorNumber {
// The counts leave no class that may take another character before the length is reached.
inline constexpr qint32 CountsCannotFillLength = ComponentBase + 1001;
// A symbol was due but the symbol pool is empty.
inline constexpr qint32 NoSymbolsToDraw = ComponentBase + 1002;
} // namespace ErrorNumber

// Composes one password from the generation settings: each position takes a class chosen
// uniformly among the classes that still have room, then a character of that class. The
// counts are read as they stand at every draw; the event loop runs now and then meanwhile.
// A count is held against a 16-bit counter, so one outside -32768..32767 is error 6.
class PasswordComposer : public QObject
{
    Q_OBJECT

public:
    PasswordComposer(const GenerationSettings &settings, RandomSource &random, Prompter &prompter,
                     EventYield &yield, QObject *parent = nullptr);

    // One password as long as `lengthText` reads (rounded down). On failure the user is told
    // (a length message for text that is not a number, the error report otherwise),
    // compositionFailed() is emitted and the result is empty.
    QString GenerateOnePassword(const QString &lengthText);

    // The same composition without any message: failures are raised as errors.
    QString compose(const QString &lengthText);

Q_SIGNALS:
    // A composition ended on an error; the caller puts its window back the way it was.
    void compositionFailed();

private:
    // The counts as last read from the record, read again whenever the record says a count
    // changed: the same values as reading at every draw, without the cost.
    struct Counts
    {
        quint64 revision = 0; // none read yet: the record's revisions start at 1
        bool allUsable = false;
        bool usable[4] = {};
        // The fewest placed characters a class has no room beyond: a count rounded up, as a
        // whole number of placed characters is below a count exactly when it is below that.
        int limit[4] = {};
    };

    qint16 readLength(const QString &lengthText);
    bool hasRoom(int characterClass, const int (&placed)[4]);
    void readCounts();
    [[noreturn]] void raiseCountError(int characterClass) const;
    // The bounds a character of one class is drawn with, and the characters from the low one up.
    struct CharacterDraw
    {
        qint32 low;
        qint32 high;
        const char16_t *characters;
    };
    // Fills `length` characters from `next` on, drawing with `draw(low, high)`.
    template<typename Draw>
    void place(char16_t *next, qint16 length, const CharacterDraw (&draws)[4], Draw draw);
    template<typename Draw>
    char16_t drawCharacter(const CharacterDraw &draw, Draw drawBetween);
    // Whether some class has room, from the counts as last read when none is in error; false
    // also when that needs a fresh read, which requireRoomLeft() makes.
    bool roomLeftAsRead(const int (&placed)[4]) const;
    // Raises the error the first class without room raises, or that no class has room.
    void requireRoomLeft(const int (&placed)[4]);

    const GenerationSettings &m_settings;
    RandomSource &m_random;
    Prompter &m_prompter;
    EventYield &m_yield;
    // The last length text that read well, and what it read as: a batch asks for the same
    // length every time.
    QString m_lengthText;
    qint16 m_length = 0;
    bool m_lengthRead = false;
    Counts m_counts;
};
