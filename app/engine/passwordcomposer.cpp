#include "passwordcomposer.h"

#include "applicationtitle.h"
#include "eventyield.h"
#include "generationsettings.h"
#include "numbers.h"
#include "prompter.h"
#include "randomsource.h"
#include "reporterror.h"

namespace {

const QString Operation = QStringLiteral("frmMain.GenerateOnePassword()");

double countOf(const GenerationSettings &settings, int characterClass)
{
    const std::optional<double> count = settings.countValue(CharacterClass(characterClass));
    if (!count)
        raiseError(ErrorNumber::TypeMismatch);
    return *count;
}

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
    const qint16 length = Numbers::toInteger(Numbers::roundDown(Numbers::read(lengthText)));
    const QString pool = m_settings.symbolPool();
    qint16 placed[4] = { 0, 0, 0, 0 };

    QString password;
    password.reserve(qMax<qint16>(length, 0));
    for (qint16 position = 1; position <= length; ++position) {
        for (;;) {
            const qint32 drawn = m_random.RandomBetween(0, 3);
            if (quint32(drawn) <= 3 && countOf(m_settings, drawn) > placed[drawn]) {
                password += drawCharacter(drawn, pool);
                ++placed[drawn];
                m_yield();
                break;
            }
            requireRoomLeft(placed);
            m_yield();
        }
    }
    return password;
}

QChar PasswordComposer::drawCharacter(int characterClass, const QString &pool)
{
    switch (CharacterClass(characterClass)) {
    case CharacterClass::Uppercase:
        return QChar(char16_t(m_random.RandomBetween(65, 90)));
    case CharacterClass::Lowercase:
        return QChar(char16_t(m_random.RandomBetween(97, 122)));
    case CharacterClass::Digit:
        return QChar(char16_t(m_random.RandomBetween(48, 57)));
    case CharacterClass::Symbol:
        break;
    }
    if (pool.isEmpty())
        raiseError(ErrorNumber::NoSymbolsToDraw, {},
                   QStringLiteral("The passwords need symbols, but no symbol is selected."));
    const qint16 position = Numbers::narrowToInteger(m_random.RandomBetween(1, qint32(pool.size())));
    return pool[position - 1];
}

void PasswordComposer::requireRoomLeft(const qint16 (&placed)[4]) const
{
    for (int characterClass = 0; characterClass < 4; ++characterClass) {
        if (countOf(m_settings, characterClass) > placed[characterClass])
            return;
    }
    raiseError(ErrorNumber::CountsCannotFillLength, {},
               QStringLiteral("The character counts add up to less than the password length, so the password "
                              "cannot be completed."));
}
