#pragma once

#include <QObject>

class GenerationSettings;
class Prompter;

// Keeps the password length and the four class counts in step while they are edited: a new
// length shares itself out over the counts, a new count makes the length their sum. Each rule
// runs from the other's writes too, so two flags stop the echo; both start false, which leaves
// edits alone until a load has switched them on.
class CountRules : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool CanAdjustNumbers READ CanAdjustNumbers WRITE setCanAdjustNumbers)
    Q_PROPERTY(bool CanAdjustLength READ CanAdjustLength WRITE setCanAdjustLength)

public:
    // Runs the rules on every change of `settings`; messages go to `prompter`.
    CountRules(GenerationSettings &settings, Prompter &prompter, QObject *parent = nullptr);

    // Whether a length change may re-derive the counts.
    bool CanAdjustNumbers() const { return m_canAdjustNumbers; }
    void setCanAdjustNumbers(bool can) { m_canAdjustNumbers = can; }
    // Whether a count change may recompute the length.
    bool CanAdjustLength() const { return m_canAdjustLength; }
    void setCanAdjustLength(bool can) { m_canAdjustLength = can; }

    // Upper-case, lower-case and digits each get a quarter of the length (halves to even),
    // symbols the rest. A length that is not a number is pointed out to the user; any other
    // failure is reported as "frmAdvanced.AdjustNumbers()".
    void AdjustNumbers();
    // The length becomes the sum of the counts, each rounded down; nothing happens while a
    // count is not a number.
    void AdjustPasswordLength();

private:
    GenerationSettings &m_settings;
    Prompter &m_prompter;
    bool m_canAdjustNumbers = false;
    bool m_canAdjustLength = false;
};
