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
// settings are read as they stand at every draw; the event loop runs now and then meanwhile.
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
    QChar drawCharacter(int characterClass, const QString &pool);
    void requireRoomLeft(const qint16 (&placed)[4]) const;

    const GenerationSettings &m_settings;
    RandomSource &m_random;
    Prompter &m_prompter;
    EventYield &m_yield;
};
