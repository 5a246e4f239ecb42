#include "stepguide.h"

namespace {

QString tipOf(const QString &title, const QString &text)
{
    return title + QChar(u'\r') + text;
}

} // namespace

void StepGuide::RefreshTips(const QString &memoryName)
{
    const bool caller = !memoryName.isEmpty();
    m_tips = {
        tipOf(QStringLiteral("Number of passwords"),
              QStringLiteral("Specify the number of passwords you want to generate (1 to 10,000).")),
        tipOf(QStringLiteral("Password length"),
              QStringLiteral(
                  "Specify the length of the passwords you want to generate (in the number of characters).")),
        tipOf(QStringLiteral("Generate passwords"),
              QStringLiteral("Click the Generate button. You will see the generated password in the password "
                             "list box.")),
        tipOf(QStringLiteral("Copy passwords to clipboard"),
              caller ? QStringLiteral("Click the Copy button to copy the password to ") + memoryName +
                      QStringLiteral(".")
                     : QStringLiteral(
                           "Click the Copy button to copy all of the selected passwords to the clipboard.")),
        tipOf(QStringLiteral("Finish"),
              caller
                  ? QStringLiteral("Click the Close button to return to ") + memoryName + QStringLiteral(".")
                  : QStringLiteral(
                        "Right-click the edit box where you want to enter the password. Select Paste.")),
    };
}

QString StepGuide::tip(qint16 step) const
{
    if (step < 1 || step > StepCount)
        return {};
    return m_tips[std::size_t(step - 1)];
}

QString StepGuide::titleOf(const QString &tip)
{
    const qsizetype end = tip.indexOf(u'\r');
    return end < 0 ? QString() : tip.left(end + 1);
}

QString StepGuide::textOf(const QString &tip)
{
    const qsizetype end = tip.indexOf(u'\r');
    return tip.mid(end + 1);
}

void StepGuide::moveTo(qint16 step)
{
    m_previous = m_current;
    m_current = step;
}

void StepGuide::reset()
{
    m_previous = 1;
    m_current = 1;
}
