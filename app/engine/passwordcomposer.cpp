#include "passwordcomposer.h"

#include "applicationtitle.h"
#include "eventyield.h"
#include "generationsettings.h"
#include "numbers.h"
#include "prompter.h"
#include "randomsource.h"
#include "reporterror.h"

#include <cmath>
#include <typeinfo>

namespace {

const QString Operation = QStringLiteral("frmMain.GenerateOnePassword()");

} // namespace

PasswordComposer::PasswordComposer(const GenerationSettings &settings, RandomSource &random,
                                   Prompter &prompter, EventYield &yield, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_random(random)
    , m_prompter(prompter)
    , m_yield(yield)
{ }

QString PasswordComposer::GenerateOnePassword(const QString &lengthText)
{
    QString password;
    const bool done =
        runTrapped([&] { password = compose(lengthText); },
                   [&](const ErrorRecord &error) {
                       if (error.number == ErrorNumber::TypeMismatch) {
                           m_prompter.showMessage(applicationMessage(
                               QStringLiteral("Please enter the length of the password you want to "
                                              "generate (specify in the number of characters)."),
                               MessageButtons::Ok, MessageIcon::Exclamation));
                       } else {
                           ReportError(m_prompter, error, Operation);
                       }
                   });
    if (done)
        return password;
    Q_EMIT compositionFailed();
    return {};
}

QString PasswordComposer::compose(const QString &lengthText)
{
    const qint16 length = readLength(lengthText);
    if (length < 1)
        return {};
    // A copy, not a reference: the selection may change while events run, and the pool of
    // this password is the one it started with.
    const QString pool = m_settings.symbolPool();

    // What a character of each class is drawn with: the bounds of the draw and the characters
    // the results stand for, from the lowest bound up. A table rather than a switch, because
    // the class changes at random from one character to the next.
    static constexpr char16_t Uppercase[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    static constexpr char16_t Lowercase[] = u"abcdefghijklmnopqrstuvwxyz";
    static constexpr char16_t Digits[] = u"0123456789";
    const auto positionIn = [](const QString &characters) {
        return CharacterDraw { 1, qint32(characters.size()),
                               reinterpret_cast<const char16_t *>(characters.utf16()) };
    };
    // Without the look-alikes, a letter or digit is a position in what its class has left, drawn
    // like a symbol; with them, the code itself, so every seeded draw stays what it always was.
    const bool reduced = m_settings.LeaveOutLookAlikes();
    const QString letters[3] = { reduced ? m_settings.classPool(CharacterClass::Uppercase) : QString(),
                                 reduced ? m_settings.classPool(CharacterClass::Lowercase) : QString(),
                                 reduced ? m_settings.classPool(CharacterClass::Digit) : QString() };
    const CharacterDraw draws[4] = {
        reduced ? positionIn(letters[0]) : CharacterDraw { 65, 90, Uppercase },
        reduced ? positionIn(letters[1]) : CharacterDraw { 97, 122, Lowercase },
        reduced ? positionIn(letters[2]) : CharacterDraw { 48, 57, Digits },
        positionIn(pool),
    };

    QString password(length, Qt::Uninitialized);
    char16_t *next = reinterpret_cast<char16_t *>(password.data());
    // The plain source draws inline, which saves a call per draw; any other (a scripted one)
    // through its own RandomBetween(). Both draw the same numbers.
    if (typeid(m_random) == typeid(RandomSource))
        place(next, length, draws, [this](qint32 low, qint32 high) { return m_random.between(low, high); });
    else
        place(next, length, draws,
              [this](qint32 low, qint32 high) { return m_random.RandomBetween(low, high); });
    return password;
}

template<typename Draw>
inline void PasswordComposer::place(char16_t *next, qint16 length, const CharacterDraw (&draws)[4], Draw draw)
{
    int placed[4] = { 0, 0, 0, 0 };
    // The position runs in a wider type than the length, so the last one (32767) ends the loop.
    for (int position = 0; position < length; ++position) {
        for (;;) {
            const qint32 drawn = draw(0, 3);
            if (quint32(drawn) <= 3 && hasRoom(drawn, placed)) {
                *next++ = drawCharacter(draws[drawn], draw);
                ++placed[drawn];
                m_yield();
                break;
            }
            if (!roomLeftAsRead(placed)) [[unlikely]]
                requireRoomLeft(placed);
            m_yield();
        }
    }
}

template<typename Draw>
inline char16_t PasswordComposer::drawCharacter(const CharacterDraw &draw, Draw drawBetween)
{
    if (draw.high < draw.low) [[unlikely]] // only the symbols, with an empty pool
        raiseError(ErrorNumber::NoSymbolsToDraw, {},
                   QStringLiteral("The passwords need symbols, but no symbol is selected."));
    const qint32 result = drawBetween(draw.low, draw.high);
    const quint32 offset = quint32(result) - quint32(draw.low);
    if (offset > quint32(draw.high - draw.low)) [[unlikely]]
        raiseError(ErrorNumber::InternalError);
    return draw.characters[offset];
}

qint16 PasswordComposer::readLength(const QString &lengthText)
{
    if (m_lengthRead && lengthText == m_lengthText)
        return m_length;
    m_lengthRead = false;
    m_length = Numbers::toInteger(Numbers::roundDown(Numbers::read(lengthText)));
    m_lengthText = lengthText;
    m_lengthRead = true;
    return m_length;
}

inline bool PasswordComposer::hasRoom(int characterClass, const int (&placed)[4])
{
    if (m_counts.revision != m_settings.countsRevision()) [[unlikely]]
        readCounts();
    if (!m_counts.usable[characterClass]) [[unlikely]]
        raiseCountError(characterClass);
    return placed[characterClass] < m_counts.limit[characterClass];
}

inline bool PasswordComposer::roomLeftAsRead(const int (&placed)[4]) const
{
    // Without a count in error the answer needs no order.
    return m_counts.revision == m_settings.countsRevision() && m_counts.allUsable &&
        ((placed[0] < m_counts.limit[0]) | (placed[1] < m_counts.limit[1]) | (placed[2] < m_counts.limit[2]) |
         (placed[3] < m_counts.limit[3]));
}

void PasswordComposer::readCounts()
{
    for (int characterClass = 0; characterClass < 4; ++characterClass) {
        const std::optional<double> count = m_settings.countValue(CharacterClass(characterClass));
        // A placed counter holds -32768..32767: a count beyond that could only be met by a
        // counter that wraps, so it is an overflow.
        m_counts.usable[characterClass] = count && *count >= -32768 && *count <= 32767;
        m_counts.limit[characterClass] = m_counts.usable[characterClass] ? int(std::ceil(*count)) : 0;
    }
    m_counts.allUsable = m_counts.usable[0] && m_counts.usable[1] && m_counts.usable[2] && m_counts.usable[3];
    m_counts.revision = m_settings.countsRevision();
}

void PasswordComposer::raiseCountError(int characterClass) const
{
    m_settings.readCount(CharacterClass(characterClass)); // raises what reading the text raises
    raiseError(ErrorNumber::Overflow);
}

void PasswordComposer::requireRoomLeft(const int (&placed)[4])
{
    // With a count in error, the classes are asked in turn so the error is the one the first
    // class without room before it raises.
    for (int characterClass = 0; characterClass < 4; ++characterClass) {
        if (hasRoom(characterClass, placed))
            return;
    }
    raiseError(ErrorNumber::CountsCannotFillLength, {},
               QStringLiteral("The character counts add up to less than the password length, so the password "
                              "cannot be completed."));
}
