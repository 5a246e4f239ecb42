#pragma once

#include "commandline.h"
#include "consoleprompter.h"
#include "countrules.h"
#include "generationsettings.h"
#include "strengthestimate.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>

class RandomSource;

// `quorvex-cli generate`: the stored settings (read only), the request's overrides applied
// through the same count rules as the window, then every password composed before anything
// is written, so a failure never leaves half a list behind.
class GenerateCommand
{
public:
    explicit GenerateCommand(const GenerateRequest &request);

    // Composes the passwords, UTF-8, each ended by its separator, in pieces to be written in
    // order; stores the settings first when --save was given. Raises
    // ErrorNumber::CommandLineUsage for a request that cannot be met as written and other
    // errors for settings or draws that fail.
    QList<QByteArray> run();

    // The strength of what run() composes, for --entropy.
    StrengthFigure strength() const;

private:
    void loadStoredSettings();
    void applyRequest();
    void checkComposable();
    void prepareExclusion();
    qint32 seed() const;
    int shareCountFor(qint32 seed) const;
    QByteArray composeShare(qint64 count, const GenerationSettings &settings, RandomSource &random) const;
    void replaceExcluded(QString &password, RandomSource &random) const;
    void failIfPrompted();

    GenerateRequest m_request;
    ConsolePrompter m_prompter;
    GenerationSettings m_settings;
    CountRules m_rules { m_settings, m_prompter };
    QString m_excluded;
    // Per class, the characters it may still show once the excluded ones are taken out; only
    // filled for classes that lose some.
    std::array<QString, 4> m_allowed;
    std::array<bool, 4> m_classLosesSome {};
};
