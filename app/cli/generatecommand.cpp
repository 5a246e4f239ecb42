#include "generatecommand.h"

#include "eventyield.h"
#include "numbers.h"
#include "passwordcomposer.h"
#include "randomsource.h"
#include "settingsstore.h"

#include <QThread>
#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <system_error>
#include <thread>
#include <vector>

namespace {

constexpr int ClassCount = 4;
const char *const ClassNames[] = { "upper-case letters", "lower-case letters", "digits", "symbols" };

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

// Writes `text` as UTF-8 from `out` on and returns where it ends; `out` has room for three
// bytes a character.
char *writeUtf8(char *out, const QString &text)
{
    // Passwords are ASCII but for control and extended characters: narrowed in one pass then.
    const char16_t *characters = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    char16_t all = 0;
    for (qsizetype i = 0; i < size; ++i)
        all |= characters[i];
    if (all < 0x80) {
        for (qsizetype i = 0; i < size; ++i)
            out[i] = char(characters[i]);
        return out + size;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *out++ = char(u);
        } else if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3F));
        } else {
            // Passwords hold only characters of the Basic Multilingual Plane.
            *out++ = char(0xE0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
            *out++ = char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

// A run of fewer passwords than this a share is done sooner on one thread than a second thread
// with its own key could start and finish its part.
constexpr qint64 MinimumShare = 1000;
// Past a few cores the process start and the output dominate a run.
constexpr int MostShares = 4;

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

QList<QByteArray> GenerateCommand::run()
{
    const qint32 seed = this->seed();
    const int shareCount = shareCountFor(seed);
    QList<QByteArray> pieces(shareCount);
    if (shareCount == 1) {
        // The window's run: seed once, then one composition per password.
        RandomSource random;
        random.SetSeed(seed);
        pieces[0] = composeShare(m_request.count, m_settings, random);
    } else {
        // Without a user seed the passwords are independent draws, so the run splits into shares
        // composed side by side, each with a key of its own from the system, its own copy of the
        // settings and its own composer: they share nothing that changes, and every password is
        // drawn just as on one thread. The shares are written in order.
        struct Share
        {
            qint64 count = 0;
            GenerationSettings settings;
            RandomSource random; // keyed afresh from the system as it is made
            QByteArray passwords;
            std::exception_ptr failure;
        };
        std::vector<std::unique_ptr<Share>> shares;
        for (int i = 0; i < shareCount; ++i) {
            auto share = std::make_unique<Share>();
            share->count = m_request.count / shareCount + (i < m_request.count % shareCount ? 1 : 0);
            share->settings.copyFrom(m_settings);
            shares.push_back(std::move(share));
        }
        const auto compose = [&](int i) {
            Share &share = *shares[std::size_t(i)];
            try {
                share.passwords = composeShare(share.count, share.settings, share.random);
            } catch (...) {
                share.failure = std::current_exception();
            }
        };
        std::vector<std::thread> threads;
        std::vector<int> leftOver;
        for (int i = 1; i < shareCount; ++i) {
            try {
                threads.emplace_back(compose, i);
            } catch (const std::system_error &) {
                leftOver.push_back(i); // no thread to be had: composed here instead
            }
        }
        compose(0);
        for (const int i : leftOver)
            compose(i);
        for (std::thread &thread : threads)
            thread.join();
        for (int i = 0; i < shareCount; ++i) {
            Share &share = *shares[std::size_t(i)];
            if (share.failure)
                std::rethrow_exception(share.failure);
            pieces[i] = std::move(share.passwords);
        }
    }

    if (m_request.save)
        SettingsStore(m_settings).write();
    return pieces;
}

int GenerateCommand::shareCountFor(qint32 seed) const
{
    // A user seed stands for one stream, drawn in order as the window draws it.
    if (seed != 0)
        return 1;
    const qint64 cores = std::clamp(QThread::idealThreadCount(), 1, MostShares);
    return int(std::clamp(m_request.count / MinimumShare, qint64(1), cores));
}

QByteArray GenerateCommand::composeShare(qint64 count, const GenerationSettings &settings,
                                         RandomSource &random) const
{
    ConsolePrompter prompter; // compose() raises its errors rather than asking
    EventYield yield(-1); // no window waits on this process
    PasswordComposer composer(settings, random, prompter, yield);
    const QString length = settings.PasswordLength();
    const bool excluding =
        std::find(m_classLosesSome.begin(), m_classLosesSome.end(), true) != m_classLosesSome.end();
    const char separator = m_request.nulSeparated ? '\0' : '\n';

    // Written straight into a buffer sized for the whole share when the characters are ASCII, with
    // room for the widest password to spare; it grows only for wider characters.
    const QString &pool = settings.symbolPool();
    const bool ascii = std::all_of(pool.begin(), pool.end(), [](QChar c) { return c.unicode() < 0x80; });
    const qint64 longest = 3 * qint64(length.toInt()) + 1;
    const qint64 expected = count * (ascii ? qint64(length.toInt()) + 1 : longest);
    QByteArray out;
    out.resize(qsizetype(std::min<qint64>(expected, qint64(1) << 28) + longest));
    qsizetype used = 0;
    for (qint64 i = 0; i < count; ++i) {
        QString password = composer.compose(length);
        if (excluding)
            replaceExcluded(password, random);
        const qsizetype room = 3 * password.size() + 1;
        if (out.size() - used < room)
            out.resize(std::max(out.size() * 2, used + room));
        char *end = writeUtf8(out.data() + used, password);
        *end++ = separator;
        used = end - out.constData();
    }
    out.truncate(used);
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
