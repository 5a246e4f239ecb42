#include "strengthlabel.h"

#include "generationsettings.h"
#include "strengthestimate.h"

StrengthLabel::StrengthLabel(const GenerationSettings &settings, QWidget *parent)
    : QLabel(parent)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("lblStrength"));
    m_pending.setSingleShot(true);
    m_pending.setInterval(0);
    connect(&m_pending, &QTimer::timeout, this, &StrengthLabel::refresh);
    connect(&settings, &GenerationSettings::passwordLengthChanged, this, &StrengthLabel::scheduleRefresh);
    connect(&settings, &GenerationSettings::countChanged, this, &StrengthLabel::scheduleRefresh);
    connect(&settings, &GenerationSettings::symbolSelectedChanged, this, &StrengthLabel::scheduleRefresh);
    connect(&settings, &GenerationSettings::nonPrintableCharsChanged, this, &StrengthLabel::scheduleRefresh);
    connect(&settings, &GenerationSettings::extendedSymbolCharsChanged, this,
            &StrengthLabel::scheduleRefresh);
    connect(&settings, &GenerationSettings::useDefaultChanged, this, &StrengthLabel::scheduleRefresh);
    connect(&settings, &GenerationSettings::userSeedChanged, this, &StrengthLabel::scheduleRefresh);
    connect(&settings, &GenerationSettings::leaveOutLookAlikesChanged, this, &StrengthLabel::scheduleRefresh);
    refresh();
}

void StrengthLabel::refresh()
{
    m_pending.stop();
    const StrengthFigure figure = StrengthEstimate::ofSettings(m_settings);
    if (figure.kind == StrengthFigure::Kind::Unavailable) {
        setText(QStringLiteral("Strength: unknown"));
        setToolTip(QStringLiteral("No password can be made: %1.").arg(figure.reason));
        return;
    }
    setText(QStringLiteral("Strength: ") + figure.text());
    switch (figure.kind) {
    case StrengthFigure::Kind::Exact:
        setToolTip(QStringLiteral("The Shannon entropy of one password"));
        break;
    case StrengthFigure::Kind::Bounded:
        setToolTip(QStringLiteral("The Shannon entropy of one password lies between %1 and %2 bits")
                       .arg(figure.bits, 0, 'f', 1)
                       .arg(figure.upperBits, 0, 'f', 1));
        break;
    default:
        setToolTip(QStringLiteral("The passwords follow from the seed, one of 2^32 numbers"));
        break;
    }
}

void StrengthLabel::scheduleRefresh()
{
    m_pending.start();
}
