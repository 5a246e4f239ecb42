#include "generatecommand.h"

#include "eventyield.h"
#include "numbers.h"
#include "passwordcomposer.h"
#include "profilestore.h"
#include "randomsource.h"
#include "settingsstore.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
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

// A run of fewer passwords than this a stream is done sooner on one thread than a second thread
// with its own key could start and finish its part.
constexpr qint64 MinimumShare = 1000;
// Past a few cores the process start and the output dominate a run.
constexpr int MostStreams = 4;
// The passwords composed before they are written: enough that a write costs little next to
// composing them, few enough that they stay in the cache and the first ones go out at once.
constexpr qint64 PieceBytes = 128 * 1024;

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
    if (!m_request.defaults) {
        // As the window loads them, except that nothing is written, not even the copy of a
        // damaged file: --save keeps that before it writes.
        const SettingsStore::ReadOutcome outcome =
            SettingsStore(m_settings).read(SettingsStore::DamagedFile::LeaveAlone);
        if (!outcome.unusableValues.isEmpty()) {
            m_notes << QStringLiteral("the settings file \"%1\" holds values that cannot be used, which keep "
                                      "their defaults (a count is 0): %2")
                           .arg(outcome.fileName, outcome.unusableValues.join(QStringLiteral(", ")));
        } else if (outcome.damagedLines > 0) {
            m_notes << QStringLiteral("the settings file \"%1\" has %2 that cannot be read; no value used "
                                      "here is on them")
                           .arg(outcome.fileName,
                                outcome.damagedLines == 1
                                    ? QStringLiteral("a line")
                                    : QStringLiteral("%1 lines").arg(outcome.damagedLines));
        } else if (outcome.report) {
            m_notes << outcome.report->description + QStringLiteral(" The defaults are used.");
        }
        // A password tool never repeats itself unasked: only --seed seeds a run.
        if (!m_request.seed && !m_settings.UseDefault()) {
            const std::optional<double> stored = Numbers::tryRead(m_settings.UserSeed());
            if (!stored || Numbers::roundDown(*stored) != 0)
                m_notes << QStringLiteral("the stored user seed is left out: these passwords come from the "
                                          "system's random source (--seed N repeats a sequence)");
        }
    }
    bool anyCountEmpty = false;
    for (int c = 0; c < ClassCount; ++c)
        anyCountEmpty = anyCountEmpty || m_settings.count(CharacterClass(c)).isEmpty();
    if (anyCountEmpty) {
        m_rules.setCanAdjustNumbers(true);
        m_rules.AdjustNumbers();
    }
    m_rules.setCanAdjustLength(true);
    m_rules.AdjustPasswordLength();
    if (m_request.profile)
        applyProfile(*m_request.profile);
    failIfPrompted();
}

void GenerateCommand::applyProfile(const QString &name)
{
    Profile profile;
    runTrapped(
        [&] { profile = ProfileStore::read(name); },
        [&](const ErrorRecord &error) {
            // An unknown name is a mistake in the command; a profile or a store that
            // cannot be read is a fault of the settings.
            if (error.number == ErrorNumber::ProfileNotFound)
                usageError(error.description);
            if (error.number == ErrorNumber::ProfileDamaged)
                settingsError(error.description);
            settingsError(
                QStringLiteral("the profile %1 cannot be read: %2").arg(quoted(name), error.description));
        });
    profile.applyTo(m_settings);
}

void GenerateCommand::applyRequest()
{
    applyCounts();
    failIfPrompted();

    if (m_request.symbolSet) {
        const auto &table = GenerationSettings::SymbolTable();
        for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
            m_settings.setSymbolSelected(i, m_request.symbolSet->contains(table[std::size_t(i)].character));
    }
    if (m_request.control)
        m_settings.setNonPrintableChars(*m_request.control ? 1 : 0);
    if (m_request.extended)
        m_settings.setExtendedSymbolChars(*m_request.extended ? 1 : 0);
    if (m_request.leaveOutLookAlikes)
        m_settings.setLeaveOutLookAlikes(*m_request.leaveOutLookAlikes);
    if (m_request.seed) {
        // Seed 0 is the window's system option; the stored user seed stays for later.
        m_settings.setUseDefault(*m_request.seed == 0);
        if (*m_request.seed != 0)
            m_settings.setUserSeed(QString::number(*m_request.seed));
    }
}

void GenerateCommand::applyCounts()
{
    // Without a length each count given replaces its stored one and the length follows the sum.
    if (!m_request.length) {
        for (int c = 0; c < ClassCount; ++c) {
            if (m_request.counts[std::size_t(c)])
                m_settings.setCount(CharacterClass(c), QString::number(*m_request.counts[std::size_t(c)]));
        }
        return;
    }
    const qint64 length = *m_request.length;
    qint64 given = 0;
    int open = 0;
    for (const std::optional<qint16> &count : m_request.counts) {
        given += count.value_or(0);
        open += count ? 0 : 1;
    }
    if (open == 0 && given != length)
        usageError(QStringLiteral("the counts add up to %1, but --length is %2").arg(given).arg(length));
    if (given > length)
        usageError(
            QStringLiteral("the counts given add up to %1, more than --length %2").arg(given).arg(length));
    // The rest is shared as the window shares a length over the four classes: each class not
    // given takes the nearest whole share (halves to even), the last of them what is left.
    const qint64 rest = length - given;
    const qint64 share = open > 0 ? Numbers::toInteger(double(rest) / open) : 0;
    int sharing = 0;
    for (int c = 0; c < ClassCount; ++c) {
        const std::optional<qint16> &count = m_request.counts[std::size_t(c)];
        const qint64 value = count ? *count : ++sharing < open ? share : rest - (open - 1) * share;
        m_settings.setCount(CharacterClass(c), QString::number(value));
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
            refuse(QStringLiteral("the count of %1 is %2, not a whole number of 0 or more")
                       .arg(QLatin1String(ClassNames[c]), quoted(text)));
        sum += *value;
    }
    if (sum < 1)
        refuse(QStringLiteral("the counts add up to 0: there is nothing to compose"));
    if (sum > std::numeric_limits<qint16>::max())
        refuse(QStringLiteral("the counts add up to %1, more than 32767").arg(sum));
}

void GenerateCommand::prepareExclusion()
{
    m_excluded = m_request.exclude;
    // The separator inside a password would split it in two.
    m_excluded += m_request.nulSeparated ? QChar(u'\0') : QChar(u'\n');

    for (int c = 0; c < ClassCount; ++c) {
        const QString &pool = m_settings.classPool(CharacterClass(c));
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
            bool anySelected = false;
            for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
                anySelected = anySelected || m_settings.SymbolSelected(i);
            const bool onlyLookAlikes = m_settings.LeaveOutLookAlikes() && anySelected;
            const QString message = onlyLookAlikes
                ? QStringLiteral("symbols are wanted but every one selected is a look-alike")
                : QStringLiteral("symbols are wanted but none is selected");
            if (m_request.symbolSet || m_request.counts[3] || m_request.length ||
                m_request.leaveOutLookAlikes)
                usageError(message +
                           (onlyLookAlikes ? QStringLiteral(" (--symbol-set, --look-alikes)")
                                           : QStringLiteral(" (--symbol-set)")));
            settingsError(QStringLiteral("the stored settings cannot be used: ") + message);
        }
        usageError(
            QStringLiteral("%1 are wanted but --exclude leaves none").arg(QLatin1String(ClassNames[c])));
    }
}

qint32 GenerateCommand::seed() const
{
    return m_request.seed.value_or(0);
}

std::optional<QString> GenerateCommand::save()
{
    QString copy;
    const std::optional<ErrorRecord> failure =
        SettingsStore(m_settings).write(SettingsStore::DamagedFile::KeepCopy, &copy);
    if (failure)
        raiseError(ErrorNumber::WriteFailed, {},
                   QStringLiteral("--save: the settings were not stored: ") + failure->description);
    if (copy.isEmpty())
        return std::nullopt;
    return QStringLiteral("the damaged settings file was kept as it was in \"%1\"").arg(copy);
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

void GenerateCommand::run(const Writer &write)
{
    const qint32 seed = this->seed();
    const QString &pool = m_settings.symbolPool();
    const Piece piece { m_settings.PasswordLength(),
                        std::all_of(pool.begin(), pool.end(), [](QChar c) { return c.unicode() < 0x80; }),
                        std::find(m_classLosesSome.begin(), m_classLosesSome.end(), true) !=
                            m_classLosesSome.end(),
                        m_request.nulSeparated ? '\0' : '\n' };
    const qint64 perPiece = std::max<qint64>(1, PieceBytes / (piece.length.toLongLong() + 1));

    std::atomic<qint64> left { m_request.count };
    std::atomic<bool> stop { false };
    std::mutex writing;
    std::exception_ptr failure;
    // How many passwords the next piece holds; 0 when the run is done or stopped.
    const auto take = [&]() -> qint64 {
        qint64 now = left.load();
        while (now > 0 && !left.compare_exchange_weak(now, now - std::min(now, perPiece))) { }
        return stop || now <= 0 ? 0 : std::min(now, perPiece);
    };
    const auto stream = [&](const GenerationSettings &settings, RandomSource &random) {
        try {
            ConsolePrompter prompter; // compose() raises its errors rather than asking
            EventYield yield(-1); // no window waits on this process
            PasswordComposer composer(settings, random, prompter, yield);
            QByteArray out;
            for (qint64 count = take(); count > 0; count = take()) {
                const qsizetype used = composeInto(out, count, piece, composer, random);
                const std::lock_guard<std::mutex> lock(writing);
                if (stop)
                    return;
                if (!write(QByteArrayView(out.constData(), used))) {
                    stop = true;
                    return;
                }
            }
        } catch (...) {
            const std::lock_guard<std::mutex> lock(writing);
            if (!failure)
                failure = std::current_exception();
            stop = true;
        }
    };

    // Without a user seed the passwords are independent draws, so a long run is composed in
    // streams side by side, each with a key of its own from the system, its own copy of the
    // settings and its own composer: they share nothing that changes, and every password is
    // drawn just as on one thread. Whole pieces go out in the order they are done.
    struct Stream
    {
        GenerationSettings settings;
        RandomSource random; // keyed afresh from the system as it is made
    };
    std::vector<std::unique_ptr<Stream>> others;
    std::vector<std::thread> threads;
    for (int i = 1; i < streamCountFor(seed); ++i) {
        others.push_back(std::make_unique<Stream>());
        others.back()->settings.copyFrom(m_settings);
        try {
            threads.emplace_back(stream, std::cref(others.back()->settings), std::ref(others.back()->random));
        } catch (const std::system_error &) {
            others.pop_back(); // no thread to be had: the streams running take its part
            break;
        }
    }
    // The window's run when seeded: seed once, then one composition per password.
    RandomSource random;
    random.SetSeed(seed);
    stream(m_settings, random);
    for (std::thread &thread : threads)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

int GenerateCommand::streamCountFor(qint32 seed) const
{
    // A user seed stands for one stream, drawn in order as the window draws it.
    if (seed != 0)
        return 1;
    const qint64 cores = std::clamp(QThread::idealThreadCount(), 1, MostStreams);
    return int(std::clamp(m_request.count / MinimumShare, qint64(1), cores));
}

qsizetype GenerateCommand::composeInto(QByteArray &out, qint64 count, const Piece &piece,
                                       PasswordComposer &composer, RandomSource &random) const
{
    // Written straight into a buffer sized for the piece when the characters are ASCII, with
    // room for the widest password to spare; it grows only for wider characters.
    const qint64 characters = piece.length.toLongLong();
    const qint64 longest = 3 * characters + 1;
    const qint64 expected = count * (piece.ascii ? characters + 1 : longest) + longest;
    if (out.size() < expected)
        out.resize(qsizetype(expected));
    qsizetype used = 0;
    for (qint64 i = 0; i < count; ++i) {
        QString password = composer.compose(piece.length);
        if (piece.excluding)
            replaceExcluded(password, random);
        const qsizetype room = 3 * password.size() + 1;
        if (out.size() - used < room)
            out.resize(std::max(out.size() * 2, used + room));
        char *end = writeUtf8(out.data() + used, password);
        *end++ = piece.separator;
        used = end - out.constData();
    }
    return used;
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
