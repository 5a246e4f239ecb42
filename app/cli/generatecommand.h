#pragma once

#include "commandline.h"
#include "consoleprompter.h"
#include "countrules.h"
#include "generationsettings.h"
#include "strengthestimate.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

class PasswordComposer;
class RandomSource;

// `quorvex-cli generate`: the stored settings (read only, or the defaults), the request's
// overrides applied through the same count rules as the window, and every check made before the
// first password; then the passwords written as they are composed.
class GenerateCommand
{
public:
    // Takes the passwords in pieces, in order; false when nobody reads them any more.
    using Writer = std::function<bool(QByteArrayView passwords)>;

    // Reads the settings and applies the request. Raises ErrorNumber::CommandLineUsage for a
    // request that cannot be met as written and ErrorNumber::SettingsUnusable for settings
    // that cannot compose.
    explicit GenerateCommand(const GenerateRequest &request);

    // What the run has to say besides its passwords, one line each: stored values it could not
    // use, a stored user seed it leaves out, a damaged file it kept a copy of.
    QStringList notes() const { return m_notes; }

    // Stores the settings the run uses (--save); raises ErrorNumber::WriteFailed saying why when
    // they do not reach the disk. Gives a note when a damaged file was copied first.
    std::optional<QString> save();

    // The strength of what run() composes, for --entropy.
    StrengthFigure strength() const;

    // Composes the passwords, UTF-8, each ended by its separator, and hands them to `write` a
    // piece at a time (never two calls at once), so memory stays the same whatever the count.
    // Stops early when `write` says nobody reads. Raises the errors of the draws.
    void run(const Writer &write);

private:
    void loadStoredSettings();
    void applyProfile(const QString &name);
    void applyRequest();
    void applyCounts();
    void checkComposable();
    void prepareExclusion();
    qint32 seed() const;
    int streamCountFor(qint32 seed) const;
    // What every piece of a run shares.
    struct Piece
    {
        QString length;
        bool ascii; // no symbol beyond ASCII
        bool excluding; // some class loses characters to --exclude or the separator
        char separator;
    };
    // Composes `count` passwords into `out` from its start; gives the bytes used.
    qsizetype composeInto(QByteArray &out, qint64 count, const Piece &piece, PasswordComposer &composer,
                          RandomSource &random) const;
    void replaceExcluded(QString &password, RandomSource &random) const;
    void failIfPrompted();

    GenerateRequest m_request;
    ConsolePrompter m_prompter;
    GenerationSettings m_settings;
    CountRules m_rules { m_settings, m_prompter };
    QStringList m_notes;
    bool m_damagedFile = false;
    QString m_excluded;
    // Per class, the characters it may still show once the excluded ones are taken out.
    std::array<QString, 4> m_allowed;
    std::array<bool, 4> m_classLosesSome {};
};
