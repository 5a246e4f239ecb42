#include "generatecommand.h"

#include "eventyield.h"
#include "numbers.h"
#include "passwordcomposer.h"
#include "randomsource.h"
#include "settingsstore.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr int ClassCount = 4;
const char *const ClassNames[] = { "upper-case letters", "lower-case letters", "digits", "symbols" };

// Nothing to yield to: no window waits on this process.
class NoYield : public EventYield
{
protected:
    void yieldNow() override { }
};

[[noreturn]] void usageError(const QString &message)
{
    raiseError(ErrorNumber::CommandLineUsage, {}, message);
}

[[noreturn]] void settingsError(const QString &message)
{
    raiseError(ErrorNumber::SettingsUnusable, {}, message);
}

QString classPool(int characterClass, const GenerationSettings &settings)
{
    QString pool;
    const auto range = [&pool](char16_t first, char16_t last) {
        for (char16_t c = first; c <= last; ++c)
            pool += QChar(c);
    };
    switch (CharacterClass(characterClass)) {
    case CharacterClass::Uppercase:
        range(u'A', u'Z');
        break;
    case CharacterClass::Lowercase:
        range(u'a', u'z');
        break;
    case CharacterClass::Digit:
        range(u'0', u'9');
        break;
    case CharacterClass::Symbol:
        pool = settings.symbolPool();
        break;
    }
    return pool;
}

int classOf(QChar c)
{
    if (c >= u'A' && c <= u'Z')
        return 0;
    if (c >= u'a' && c <= u'z')
        return 1;
    if (c >= u'0' && c <= u'9')
        return 2;
    return 3;
}

void appendUtf8(QByteArray &out, const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(char(u));
        } else if (u < 0x800) {
            out.append(char(0xC0 | (u >> 6)));
            out.append(char(0x80 | (u & 0x3F)));
        } else {
            // Passwords hold only characters of the Basic Multilingual Plane.
            out.append(char(0xE0 | (u >> 12)));
            out.append(char(0x80 | ((u >> 6) & 0x3F)));
            out.append(char(0x80 | (u & 0x3F)));
        }
    }
}

} // namespace

GenerateCommand::GenerateCommand(const GenerateRequest &request)
    : m_request(request)
{
    loadStoredSettings();
    applyRequest();
    checkComposable();
    prepareExclusion();
}

void GenerateCommand::loadStoredSettings()
{
    // As the window loads them, except that nothing is written back: a first run leaves the
    // store as it found it.
    const SettingsStore::ReadOutcome outcome = SettingsStore(m_settings).read();
    if (outcome.report)
        settingsError(QStringLiteral("the stored settings hold a value that cannot be used: %1")
                          .arg(outcome.report->description));
    bool anyCountEmpty = false;
    for (int c = 0; c < ClassCount; ++c)
        anyCountEmpty = anyCountEmpty || m_settings.count(CharacterClass(c)).isEmpty();
    if (anyCountEmpty) {
        m_rules.setCanAdjustNumbers(true);
        m_rules.AdjustNumbers();
    }
    m_rules.setCanAdjustLength(true);
    m_rules.AdjustPasswordLength();
    failIfPrompted();
}

void GenerateCommand::applyRequest()
{
    // In the order a user of the window would go: the length shares itself out, then each
    // count given replaces its share and the length follows the sum.
    if (m_request.length)
        m_settings.setPasswordLength(QString::number(*m_request.length));
    for (int c = 0; c < ClassCount; ++c) {
        if (m_request.counts[std::size_t(c)])
            m_settings.setCount(CharacterClass(c), QString::number(*m_request.counts[std::size_t(c)]));
    }
    failIfPrompted();

    if (m_request.symbolSet) {
        const auto &table = GenerationSettings::SymbolTable();
        for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
            m_settings.setSymbolSelected(i, m_request.symbolSet->contains(table[std::size_t(i)].character));
    }
    if (m_request.control)
        m_settings.setNonPrintableChars(1);
    if (m_request.extended)
        m_settings.setExtendedSymbolChars(1);
    if (m_request.seed) {
        m_settings.setUseDefault(false);
        m_settings.setUserSeed(QString::number(*m_request.seed));
    }
}

void GenerateCommand::checkComposable()
{
    const bool fromOptions = m_request.setsLengthOrCounts();
    const auto refuse = [&](const QString &message) {
        if (fromOptions)
            usageError(message);
        settingsError(QStringLiteral("the stored settings cannot be used: ") + message);
    };

    double sum = 0;
    for (int c = 0; c < ClassCount; ++c) {
        const QString text = m_settings.count(CharacterClass(c));
        const std::optional<double> value = Numbers::tryRead(text);
        if (!value || *value != std::floor(*value) || *value < 0)
            refuse(QStringLiteral("the count of %1 is \"%2\", not a whole number of 0 or more")
                       .arg(QLatin1String(ClassNames[c]), text));
        sum += *value;
    }
    if (m_request.length && sum != *m_request.length)
        usageError(
            QStringLiteral("the counts add up to %1, but --length is %2").arg(sum).arg(*m_request.length));
    if (sum < 1)
        refuse(QStringLiteral("the counts add up to 0: there is nothing to compose"));
    if (sum > std::numeric_limits<qint16>::max())
        refuse(QStringLiteral("the counts add up to %1, more than 32767").arg(sum));

    if (!m_settings.UseDefault())
        seed();
}

void GenerateCommand::prepareExclusion()
{
    m_excluded = m_request.exclude;
    // The separator inside a password would split it in two.
    m_excluded += m_request.nulSeparated ? QChar(u'\0') : QChar(u'\n');

    for (int c = 0; c < ClassCount; ++c) {
        const QString pool = classPool(c, m_settings);
        QString allowed;
        for (const QChar character : pool) {
            if (!m_excluded.contains(character))
                allowed += character;
        }
        m_classLosesSome[std::size_t(c)] = allowed.size() != pool.size();
        m_allowed[std::size_t(c)] = allowed;
        const bool wanted = *Numbers::tryRead(m_settings.count(CharacterClass(c))) > 0;
        if (!wanted || !allowed.isEmpty())
            continue;
        if (c == 3 && pool.isEmpty()) {
            const QString message = QStringLiteral("symbols are wanted but none is selected");
            if (m_request.symbolSet || m_request.counts[3] || m_request.length)
                usageError(message + QStringLiteral(" (--symbol-set)"));
            settingsError(QStringLiteral("the stored settings cannot be used: ") + message);
        }
        usageError(
            QStringLiteral("%1 are wanted but --exclude leaves none").arg(QLatin1String(ClassNames[c])));
    }
}

qint32 GenerateCommand::seed() const
{
    if (m_settings.UseDefault())
        return 0;
    qint32 value = 0;
    runTrapped([&] { value = Numbers::toLong(Numbers::roundDown(Numbers::read(m_settings.UserSeed()))); },
               [&](const ErrorRecord &) {
                   settingsError(QStringLiteral("the stored user seed \"%1\" is not a whole number within "
                                                "32 bits; give one with --seed")
                                     .arg(m_settings.UserSeed()));
               });
    return value;
}

StrengthFigure GenerateCommand::strength() const
{
    QString whyNot;
    std::optional<CompositionShape> shape = StrengthEstimate::shapeOf(m_settings, &whyNot);
    if (!shape) {
        StrengthFigure none;
        none.reason = whyNot;
        return none;
    }
    for (int c = 0; c < ClassCount; ++c)
        shape->poolSize[std::size_t(c)] = int(m_allowed[std::size_t(c)].size());
    const StrengthFigure figure = StrengthEstimate::entropyOf(*shape);
    return seed() != 0 ? StrengthEstimate::limitedBySeed(figure) : figure;
}

QByteArray GenerateCommand::run()
{
    // The window's run: seed once, then one composition per password.
    RandomSource random;
    random.SetSeed(seed());
    NoYield yield;
    PasswordComposer composer(m_settings, random, m_prompter, yield);
    const QString length = m_settings.PasswordLength();
    const bool excluding =
        std::find(m_classLosesSome.begin(), m_classLosesSome.end(), true) != m_classLosesSome.end();
    const char separator = m_request.nulSeparated ? '\0' : '\n';

    QByteArray out;
    // Room for ASCII passwords up to a size worth taking at once; beyond it the buffer grows.
    out.reserve(qsizetype(std::min<qint64>(m_request.count * (length.toInt() + 1), qint64(1) << 28)));
    for (qint64 i = 0; i < m_request.count; ++i) {
        QString password = composer.compose(length);
        if (excluding)
            replaceExcluded(password, random);
        appendUtf8(out, password);
        out.append(separator);
    }

    if (m_request.save)
        SettingsStore(m_settings).write();
    return out;
}

void GenerateCommand::replaceExcluded(QString &password, RandomSource &random) const
{
    // A character drawn uniformly from a pool and, when excluded, drawn again uniformly from
    // what the pool allows, is uniform over what it allows; the class order is untouched.
    for (QChar &character : password) {
        const int c = classOf(character);
        if (!m_classLosesSome[std::size_t(c)] || !m_excluded.contains(character))
            continue;
        const QString &allowed = m_allowed[std::size_t(c)];
        character = allowed[random.RandomBetween(0, qint32(allowed.size()) - 1)];
    }
}

void GenerateCommand::failIfPrompted()
{
    if (const std::optional<QString> message = m_prompter.firstMessage())
        settingsError(*message);
}
