#include "countrules.h"

#include "errorrecord.h"
#include "generationsettings.h"
#include "numbers.h"
#include "prompter.h"
#include "reporterror.h"

#include <cmath>

namespace {

constexpr CharacterClass AllClasses[] = { CharacterClass::Uppercase, CharacterClass::Lowercase,
                                          CharacterClass::Digit, CharacterClass::Symbol };

} // namespace

CountRules::CountRules(GenerationSettings &settings, Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_prompter(prompter)
{
    connect(&m_settings, &GenerationSettings::passwordLengthChanged, this, &CountRules::AdjustNumbers);
    connect(&m_settings, &GenerationSettings::countChanged, this, &CountRules::AdjustPasswordLength);
}

void CountRules::AdjustNumbers()
{
    if (!m_canAdjustNumbers)
        return;
    m_canAdjustLength = false;
    runTrapped(
        [&] {
            const qint16 quarter = Numbers::toInteger(Numbers::read(m_settings.PasswordLength()) / 4);
            const QString quarterText = QString::number(quarter);
            m_settings.setNumUppercaseChars(quarterText);
            m_settings.setNumLowercaseChars(quarterText);
            m_settings.setNumNumbers(quarterText);
            // Read again: the writes above may have run other rules that changed it.
            const double length = Numbers::read(m_settings.PasswordLength());
            const qint16 threeQuarters = Numbers::narrowToInteger(3 * qint64(quarter));
            m_settings.setNumSymbols(Numbers::toText(length - threeQuarters));
        },
        [&](const ErrorRecord &error) {
            if (error.number == ErrorNumber::TypeMismatch) {
                m_prompter.showMessage(
                    applicationMessage(QStringLiteral("Please specify the length of the password you want to "
                                                      "generate (number of characters)."),
                                       MessageButtons::Ok, MessageIcon::Exclamation));
            } else {
                ReportError(m_prompter, error, QStringLiteral("frmAdvanced.AdjustNumbers()"));
            }
        });
    m_canAdjustLength = true;
}

void CountRules::AdjustPasswordLength()
{
    if (!m_canAdjustLength)
        return;
    m_canAdjustNumbers = false;
    double sum = 0;
    bool allNumbers = true;
    for (const CharacterClass c : AllClasses) {
        const std::optional<double> count = m_settings.countValue(c);
        if (!count) {
            allNumbers = false;
            break;
        }
        sum += Numbers::roundDown(*count);
    }
    // Counts near the limit of a double can add up to infinity, which is no length either.
    if (allNumbers && std::isfinite(sum))
        m_settings.setPasswordLength(Numbers::toText(sum));
    m_canAdjustNumbers = true;
}
