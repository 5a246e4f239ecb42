#include "commandline.h"

#include "generationsettings.h"
#include "numbers.h"

#include <QCommandLineParser>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

[[noreturn]] void usageError(const QString &message)
{
    raiseError(ErrorNumber::CommandLineUsage, {}, message);
}

// A whole number from `low` to `high` given to `option`.
qint64 wholeNumber(const QString &option, const QString &text, qint64 low, qint64 high)
{
    const std::optional<double> value = Numbers::tryRead(text);
    if (!value || *value != std::floor(*value))
        usageError(QStringLiteral("%1 needs a whole number, not %2").arg(option, quoted(text)));
    if (*value < double(low))
        usageError(QStringLiteral("%1 must be at least %2, not %3").arg(option).arg(low).arg(text.trimmed()));
    if (*value > double(high))
        usageError(QStringLiteral("%1 must be at most %2, not %3").arg(option).arg(high).arg(text.trimmed()));
    return qint64(*value);
}

QString checkedSymbolSet(const QString &characters)
{
    for (const QChar c : characters) {
        bool known = false;
        for (const GenerationSettings::Symbol &symbol : GenerationSettings::SymbolTable())
            known = known || symbol.character == c;
        if (!known)
            usageError(
                QStringLiteral("--symbol-set: %1 is not one of the 32 symbols").arg(quoted(QString(c))));
    }
    return characters;
}

constexpr qint64 IntegerMax = std::numeric_limits<qint16>::max();

// One option of `generate`: its names, the name of its value (none for a switch), and what it
// does to the request, given the option as written for messages and its value. The options act
// in the order given, so a later one overrides an earlier one unless its action adds to what is
// there.
struct GenerateOption
{
    using Apply = std::function<void(GenerateRequest &request, const QString &option, const QString &value)>;
    QStringList names;
    QString valueName;
    Apply apply;
};

using Request = GenerateRequest;

GenerateOption::Apply count(int characterClass)
{
    return [characterClass](Request &r, const QString &o, const QString &v) {
        r.counts[std::size_t(characterClass)] = qint16(wholeNumber(o, v, 0, IntegerMax));
    };
}

template<typename Field>
GenerateOption::Apply turn(Field Request::*field, bool on)
{
    return [field, on](Request &r, const QString &, const QString &) {
        r.*field = on;
    };
}

const std::vector<GenerateOption> &generateOptions()
{
    const auto name = [](const char *text) {
        return QString::fromLatin1(text);
    };
    static const std::vector<GenerateOption> options {
        { { name("n"), name("count") },
          name("N"),
          [](Request &r, const QString &o, const QString &v) {
              r.count = wholeNumber(o, v, 1, std::numeric_limits<qint32>::max());
          } },
        { { name("l"), name("length") },
          name("N"),
          [](Request &r, const QString &o, const QString &v) {
              r.length = qint16(wholeNumber(o, v, 1, IntegerMax));
          } },
        { { name("upper") }, name("N"), count(0) },
        { { name("lower") }, name("N"), count(1) },
        { { name("digits") }, name("N"), count(2) },
        { { name("symbols") }, name("N"), count(3) },
        // Sets of characters add up: one argument need not hold both kinds of quote.
        { { name("symbol-set") },
          name("CHARS"),
          [](Request &r, const QString &, const QString &v) {
              r.symbolSet = r.symbolSet.value_or(QString()) + checkedSymbolSet(v);
          } },
        { { name("exclude") },
          name("CHARS"),
          [](Request &r, const QString &, const QString &v) {
              r.exclude += v;
          } },
        { { name("control") }, {}, turn(&Request::control, true) },
        { { name("no-control") }, {}, turn(&Request::control, false) },
        { { name("extended") }, {}, turn(&Request::extended, true) },
        { { name("no-extended") }, {}, turn(&Request::extended, false) },
        { { name("B"), name("no-look-alikes") }, {}, turn(&Request::leaveOutLookAlikes, true) },
        { { name("look-alikes") }, {}, turn(&Request::leaveOutLookAlikes, false) },
        { { name("seed") },
          name("N"),
          [](Request &r, const QString &o, const QString &v) {
              r.seed = qint32(
                  wholeNumber(o, v, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
          } },
        // What the run starts from: the last of these two counts.
        { { name("defaults") },
          {},
          [](Request &r, const QString &, const QString &) {
              r.defaults = true;
              r.profile.reset();
          } },
        { { name("profile") },
          name("NAME"),
          [](Request &r, const QString &, const QString &v) {
              r.defaults = false;
              r.profile = v;
          } },
        { { name("0"), name("null") }, {}, turn(&Request::nulSeparated, true) },
        { { name("save") }, {}, turn(&Request::save, true) },
        { { name("entropy") }, {}, turn(&Request::entropy, true) },
    };
    return options;
}

QString escaped(const QString &text, bool quotesAndBackslashes)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (quotesAndBackslashes && (u == u'\\' || u == u'"')) {
            out += u'\\';
            out += c;
            continue;
        }
        switch (c.category()) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Other_Surrogate:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            break;
        default:
            out += c;
            continue;
        }
        if (u == u'\n')
            out += QStringLiteral("\\n");
        else if (u == u'\r')
            out += QStringLiteral("\\r");
        else if (u == u'\t')
            out += QStringLiteral("\\t");
        else if (u == 0x1B)
            out += QStringLiteral("\\e");
        else if (u <= 0xFF)
            out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u{%1}").arg(int(u), 4, 16, QLatin1Char('0'));
    }
    return out;
}

} // namespace

QString printable(const QString &text)
{
    return escaped(text, false);
}

QString quoted(const QString &text)
{
    return u'"' + escaped(text, true) + u'"';
}

bool GenerateRequest::setsLengthOrCounts() const
{
    bool any = length.has_value();
    for (const std::optional<qint16> &count : counts)
        any = any || count.has_value();
    return any;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
    const QCommandLineOption help(QStringList { QStringLiteral("h"), QStringLiteral("help") });
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption listProfiles(QStringLiteral("list-profiles"));
    parser.addOptions({ help, version, listProfiles });
    const std::vector<GenerateOption> &options = generateOptions();
    std::vector<QCommandLineOption> parserOptions;
    for (const GenerateOption &option : options) {
        parserOptions.emplace_back(option.names, QString(), option.valueName);
        parser.addOption(parserOptions.back());
    }
    parser.addPositionalArgument(QStringLiteral("command"), {});

    if (!parser.parse(arguments))
        usageError(parser.errorText());

    CommandLine line;
    if (parser.isSet(help))
        return line;
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    if (parser.isSet(listProfiles)) {
        const QStringList names = parser.optionNames();
        if (!parser.positionalArguments().isEmpty() ||
            names.count(QStringLiteral("list-profiles")) != names.size())
            usageError(QStringLiteral("--list-profiles takes no command and no other option"));
        line.action = CommandLine::Action::ListProfiles;
        return line;
    }

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        usageError(QStringLiteral("no command given; \"quorvex-cli --help\" lists them"));
    if (positional.first() != QLatin1String("generate"))
        usageError(QStringLiteral("unknown command %1; the command is \"generate\"")
                       .arg(quoted(positional.first())));
    if (positional.size() > 1)
        usageError(QStringLiteral("unexpected argument %1").arg(quoted(positional.at(1))));

    line.action = CommandLine::Action::Generate;
    // In the order given; each option takes its values in turn.
    std::vector<qsizetype> taken(options.size(), 0);
    for (const QString &name : parser.optionNames()) {
        for (std::size_t i = 0; i < options.size(); ++i) {
            if (!options[i].names.contains(name))
                continue;
            const QString value = options[i].valueName.isEmpty()
                ? QString()
                : parser.values(parserOptions[i]).value(taken[i]++);
            options[i].apply(line.request, QStringLiteral("--") + options[i].names.last(), value);
            break;
        }
    }
    return line;
}

QString helpText()
{
    return QStringLiteral(R"(Usage: quorvex-cli generate [OPTION]...
       quorvex-cli --list-profiles
Composes passwords as the Quorvex window does, from its stored settings; the options override
them for this run (and store them with --save). --list-profiles prints the names of the
profiles saved in the window's Advanced Options, one a line.

  -n, --count N        how many passwords (default 1)
  -l, --length N       characters per password; the counts not given share what the given
                       ones leave, as the window shares a length
      --upper N        upper-case letters per password
      --lower N        lower-case letters per password
      --digits N       digits per password
      --symbols N      symbols per password; without --length, counts not given keep their
                       stored values and the length is the sum
      --symbol-set CHARS
                       the symbols allowed, by their characters, out of
                       ~`!@#$%^&*()-_+=|\{}[]:;"'<>,.?/
      --exclude CHARS  characters that never appear
      --control, --no-control
                       whether control characters (codes 0 to 31) join the symbols
      --extended, --no-extended
                       whether extended characters (codes 128 to 255) join the symbols
  -B, --no-look-alikes, --look-alikes
                       whether look-alike characters are left out of every class:
                       0 O o 1 l I i | 5 S 2 Z 8 B ' ` " and the extended characters
                       drawn like them
      --seed N         draw from the sequence of seed N (0: the system's random source);
                       without it a run never repeats, whatever seed is stored
      --defaults       start from the default settings, not the stored ones
      --profile NAME   start from the stored settings with the profile NAME put in them,
                       as choosing it in the window does (its clipboard time is not used:
                       nothing is copied here)
  -0, --null           end each password with NUL instead of a line feed
      --save           store the settings used, for the window and later runs
      --entropy        print the strength of the settings (Shannon entropy) on standard error
  -h, --help           show this help
      --version        show the version

Options act in the order given: a later one overrides an earlier one (-l 8 -l 12 is -l 12,
--no-control after --control leaves them out), but --symbol-set and --exclude add up.
--defaults and --profile choose what the run starts from, wherever they stand; the last of
them given counts, and every other option applies on top of it.
The separator never appears inside a password: with --control, line feeds (or NUL with -0)
are left out of the symbols.
Exit status: 0 done (also when the reader of the output stops early), 1 the settings cannot
be used (a profile among them) or the passwords or settings could not be written, 2 a usage
error (an unknown profile among them).
)");
}

QString versionText()
{
    return QStringLiteral("quorvex-cli " QUORVEX_VERSION "\n");
}
