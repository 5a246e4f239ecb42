#pragma once

#include <QString>
#include <array>

// The five steps the main window walks a user through, and which one is current. Each tip is
// the step's title, a carriage return, then the text; a caller name, when there is one, makes
// the last two steps speak of returning the password to that caller.
class StepGuide
{
public:
    static constexpr qint16 StepCount = 5;

    // Builds the tips for the caller `memoryName` (empty: no caller).
    void RefreshTips(const QString &memoryName);

    // The tip of `step` (1 to 5) as built by RefreshTips; empty outside 1 to 5.
    QString tip(qint16 step) const;
    // The tip's title with its carriage return, and the text after it.
    static QString titleOf(const QString &tip);
    static QString textOf(const QString &tip);

    qint16 CurrentStep() const { return m_current; }
    qint16 PreviousStep() const { return m_previous; }
    // Makes `step` current; the one current until now becomes the previous.
    void moveTo(qint16 step);
    // Back to step 1, with no other step before it.
    void reset();

private:
    std::array<QString, StepCount> m_tips;
    qint16 m_current = 1;
    qint16 m_previous = 1;
};
