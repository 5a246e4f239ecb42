#include "advancedoptions.h"

#include "errorrecord.h"
#include "numbers.h"
#include "prompter.h"
#include "reporterror.h"
#include "settingsstore.h"

namespace {

const QString SelectAll = QStringLiteral("Select All");
const QString UnselectAll = QStringLiteral("Unselect All");

QString lines(std::initializer_list<QString> parts)
{
    QStringList list(parts);
    return list.join(QStringLiteral("\r\n"));
}

QString zeroLengthMessage()
{
    return lines({
        QStringLiteral("You specified a password length of zero."),
        QString(),
        QStringLiteral("Do you want to reset the password length to the default value of 10 characters?"),
        QStringLiteral("If you click \"Yes\", the password length will be reset to 10 characters."),
        QStringLiteral("If you click \"No\", you would be allowed to change the password length manually."),
    });
}

QString noSymbolsMessage()
{
    return lines({
        QStringLiteral("No symbols are selected but you want Mintara to generate passwords with symbols. "),
        QString(),
        QStringLiteral("Do you want to generate passwords with symbols?"),
        QStringLiteral("If you click \"Yes\", all symbols would be selected and used."),
        QStringLiteral("If you click \"No\", the number of symbols to be used would be set to zero."),
        QStringLiteral("If you click \"Cancel\", you will be allowed to do the necessary adjustments."),
    });
}

QString adjustSymbolsMessage()
{
    return lines({
        QStringLiteral(
            "If you want symbols to be generated, please select one or more symbols in the Symbols page."),
        QStringLiteral(
            "If you don't want symbols to be generated, please specify \"0\" in the text box labelled "
            "\"Symbols:\" in the Combination page."),
    });
}

} // namespace

AdvancedOptions::AdvancedOptions(Prompter &prompter, QObject *parent)
    : QObject(parent)
    , m_prompter(prompter)
    , m_rules(m_settings, prompter)
    , m_selectSymbolsCaption(UnselectAll)
    , m_selectSymbolsToolTip(QStringLiteral("Unselects all symbols"))
{ }

GenerationSettings &AdvancedOptions::settings()
{
    ensureLoaded();
    return m_settings;
}

void AdvancedOptions::ensureLoaded()
{
    if (!m_loaded)
        load();
}

void AdvancedOptions::load()
{
    // Flags off first, so putting the defaults back runs no rule.
    m_rules.setCanAdjustNumbers(false);
    m_rules.setCanAdjustLength(false);
    m_settings.resetToDefaults();
    setSelectSymbolsCaption(UnselectAll, QStringLiteral("Unselects all symbols"));
    m_loaded = true;
    LoadSettings();
    Q_EMIT loadedChanged(true);
}

void AdvancedOptions::unload()
{
    if (!m_loaded)
        return;
    discard();
    // A run holding the record may be waiting in the event loop right now.
    load();
}

void AdvancedOptions::discard()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    Q_EMIT unloaded();
    Q_EMIT loadedChanged(false);
}

void AdvancedOptions::LoadSettings()
{
    const SettingsStore::ReadOutcome outcome = SettingsStore(m_settings).read();

    // Half of the 32 buttons decides which way the button points. With nothing stored yet the
    // load ends before this step, and the button keeps the window's own text.
    if (!outcome.keyMissing) {
        if (double(GenerationSettings::SymbolCount) / 2 > m_settings.selectedSymbolCount())
            setSelectSymbolsCaption(SelectAll, QStringLiteral("Select all symbols"));
        else
            setSelectSymbolsCaption(UnselectAll, QStringLiteral("Unselect all symbols"));
    }

    // Store what was missing straight away, so the keys exist whatever happens next.
    if (outcome.keyMissing)
        SaveSettings();

    bool anyCountEmpty = false;
    for (const CharacterClass c : { CharacterClass::Lowercase, CharacterClass::Uppercase,
                                    CharacterClass::Digit, CharacterClass::Symbol })
        anyCountEmpty = anyCountEmpty || m_settings.count(c).isEmpty();
    if (anyCountEmpty) {
        m_rules.setCanAdjustNumbers(true);
        m_rules.AdjustNumbers();
    }
    m_rules.setCanAdjustLength(true);
    m_rules.AdjustPasswordLength();

    // The counts only exist now; a first start stores them too, so the next start reads them.
    if (outcome.keyMissing)
        SaveSettings();

    if (outcome.report) {
        // A file that cannot be used at all is not reported again by every save after this.
        m_lastStoreReport = outcome.report->description;
        ReportError(m_prompter, *outcome.report, QStringLiteral("frmAdvanced.LoadSettings()"));
    }
}

void AdvancedOptions::SaveSettings()
{
    const std::optional<ErrorRecord> failure = SettingsStore(m_settings).write();
    if (!failure) {
        m_lastStoreReport.clear();
        return;
    }
    if (failure->description == m_lastStoreReport)
        return; // said once already; the settings stay in memory
    m_lastStoreReport = failure->description;
    ErrorRecord shown = *failure;
    shown.description += QStringLiteral(" The settings stay as they are until the program ends.");
    ReportError(m_prompter, shown, QStringLiteral("frmAdvanced.SaveSettings()"));
}

bool AdvancedOptions::VerifyInputAndSaveSettings()
{
    ensureLoaded();
    bool ok = false;
    runTrapped(
        [&] { ok = verify(); },
        [&](const ErrorRecord &error) {
            ok = false;
            if (error.number == ErrorNumber::TypeMismatch) {
                m_prompter.showMessage(applicationMessage(
                    QStringLiteral("Please enter the length of the password you want to generate (specify "
                                   "in the number of characters)."),
                    MessageButtons::Ok, MessageIcon::Exclamation));
            } else {
                ReportError(m_prompter, error, QStringLiteral("frmAdvanced.VerifyInputAndSaveSettings()"));
            }
        });
    return ok;
}

bool AdvancedOptions::verify()
{
    for (;;) {
        if (Numbers::read(m_settings.PasswordLength()) == 0) {
            const MessageAnswer answer = m_prompter.showMessage(
                applicationMessage(zeroLengthMessage(), MessageButtons::YesNo, MessageIcon::Exclamation));
            if (answer != MessageAnswer::Yes)
                return false;
            m_settings.setPasswordLength(QStringLiteral("10"));
        }

        if (m_settings.selectedSymbolCount() >= 1) {
            SaveSettings();
            return true;
        }

        if (Numbers::read(m_settings.NumSymbols()) > 0) {
            const MessageAnswer answer = m_prompter.showMessage(applicationMessage(
                noSymbolsMessage(), MessageButtons::YesNoCancel, MessageIcon::Exclamation));
            if (answer == MessageAnswer::Yes) {
                m_settings.setAllSymbolsSelected(true);
            } else if (answer == MessageAnswer::No) {
                m_settings.setNumSymbols(QStringLiteral("0"));
                // Dropping the symbols can leave nothing to generate: ask about the length again
                // rather than store a zero length as if it could be used.
                if (Numbers::tryRead(m_settings.PasswordLength()) == 0.0)
                    continue;
            } else {
                m_prompter.showMessage(
                    applicationMessage(adjustSymbolsMessage(), MessageButtons::Ok, MessageIcon::Information));
                return false;
            }
        }

        SaveSettings();
        return true;
    }
}

void AdvancedOptions::clickSelectSymbols()
{
    ensureLoaded();
    if (m_selectSymbolsCaption == UnselectAll) {
        m_settings.setAllSymbolsSelected(false);
        setSelectSymbolsCaption(SelectAll, QStringLiteral("Select all symbols"));
    } else if (m_selectSymbolsCaption == SelectAll) {
        m_settings.setAllSymbolsSelected(true);
        setSelectSymbolsCaption(UnselectAll, QStringLiteral("Unselect all symbols"));
    }
}

QString AdvancedOptions::symbolToolTip(bool selected)
{
    return selected ? QStringLiteral("Click to unselect this symbol")
                    : QStringLiteral("Click to select this symbol");
}

void AdvancedOptions::setSelectSymbolsCaption(const QString &caption, const QString &toolTip)
{
    if (caption == m_selectSymbolsCaption && toolTip == m_selectSymbolsToolTip)
        return;
    m_selectSymbolsCaption = caption;
    m_selectSymbolsToolTip = toolTip;
    Q_EMIT selectSymbolsCaptionChanged(caption);
}
