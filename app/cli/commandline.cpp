#include "commandline.h"

#include "generationsettings.h"
#include "numbers.h"

#include <QCommandLineParser>
#include <cmath>
#include <limits>

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
        usageError(QStringLiteral("%1 needs a whole number, not \"%2\"").arg(option, text));
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
            usageError(QStringLiteral("--symbol-set: \"%1\" is not one of the 32 symbols").arg(c));
    }
    return characters;
}

} // namespace

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
    const QCommandLineOption count({ QStringLiteral("n"), QStringLiteral("count") }, {}, QStringLiteral("N"));
    const QCommandLineOption length({ QStringLiteral("l"), QStringLiteral("length") }, {},
                                    QStringLiteral("N"));
    const QCommandLineOption upper(QStringLiteral("upper"), {}, QStringLiteral("N"));
    const QCommandLineOption lower(QStringLiteral("lower"), {}, QStringLiteral("N"));
    const QCommandLineOption digits(QStringLiteral("digits"), {}, QStringLiteral("N"));
    const QCommandLineOption symbols(QStringLiteral("symbols"), {}, QStringLiteral("N"));
    const QCommandLineOption symbolSet(QStringLiteral("symbol-set"), {}, QStringLiteral("CHARS"));
    const QCommandLineOption exclude(QStringLiteral("exclude"), {}, QStringLiteral("CHARS"));
    const QCommandLineOption control(QStringLiteral("control"));
    const QCommandLineOption extended(QStringLiteral("extended"));
    const QCommandLineOption seed(QStringLiteral("seed"), {}, QStringLiteral("N"));
    const QCommandLineOption nul(QStringList { QStringLiteral("0"), QStringLiteral("null") });
    const QCommandLineOption save(QStringLiteral("save"));
    const QCommandLineOption entropy(QStringLiteral("entropy"));
    parser.addOptions({ help, version, count, length, upper, lower, digits, symbols, symbolSet, exclude,
                        control, extended, seed, nul, save, entropy });
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

    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        usageError(QStringLiteral("no command given; \"quorvex-cli --help\" lists them"));
    if (positional.first() != QLatin1String("generate"))
        usageError(
            QStringLiteral("unknown command \"%1\"; the command is \"generate\"").arg(positional.first()));
    if (positional.size() > 1)
        usageError(QStringLiteral("unexpected argument \"%1\"").arg(positional.at(1)));

    line.action = CommandLine::Action::Generate;
    GenerateRequest &request = line.request;
    constexpr qint64 IntegerMax = std::numeric_limits<qint16>::max();
    if (parser.isSet(count))
        request.count = wholeNumber(QStringLiteral("--count"), parser.value(count), 1,
                                    std::numeric_limits<qint32>::max());
    if (parser.isSet(length))
        request.length = qint16(wholeNumber(QStringLiteral("--length"), parser.value(length), 1, IntegerMax));
    const std::pair<const QCommandLineOption *, const char *> countOptions[] = {
        { &upper, "--upper" }, { &lower, "--lower" }, { &digits, "--digits" }, { &symbols, "--symbols" }
    };
    for (std::size_t c = 0; c < 4; ++c) {
        const auto &[option, name] = countOptions[c];
        if (parser.isSet(*option))
            request.counts[c] =
                qint16(wholeNumber(QLatin1String(name), parser.value(*option), 0, IntegerMax));
    }
    if (parser.isSet(symbolSet))
        request.symbolSet = checkedSymbolSet(parser.value(symbolSet));
    request.exclude = parser.values(exclude).join(QString());
    request.control = parser.isSet(control);
    request.extended = parser.isSet(extended);
    if (parser.isSet(seed))
        request.seed =
            qint32(wholeNumber(QStringLiteral("--seed"), parser.value(seed),
                               std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
    request.nulSeparated = parser.isSet(nul);
    request.save = parser.isSet(save);
    request.entropy = parser.isSet(entropy);
    return line;
}

QString helpText()
{
    return QStringLiteral(R"(Usage: quorvex-cli generate [OPTION]...
Composes passwords as the Quorvex window does, from its stored settings; the options override
them for this run (and store them with --save).

  -n, --count N        how many passwords (default 1)
  -l, --length N       characters per password; alone, it shares itself out over the four
                       classes as the window does; with counts, they must add up to it
      --upper N        upper-case letters per password
      --lower N        lower-case letters per password
      --digits N       digits per password
      --symbols N      symbols per password
      --symbol-set CHARS
                       the symbols allowed, by their characters, out of
                       ~`!@#$%^&*()-_+=|\{}[]:;"'<>,.?/
      --exclude CHARS  characters that never appear
      --control        control characters (codes 0 to 31) join the symbols
      --extended       extended characters (codes 128 to 255) join the symbols
      --seed N         draw from the sequence of seed N (0: the system's random source)
  -0, --null           end each password with NUL instead of a line feed
      --save           store the settings used, for the window and later runs
      --entropy        print the strength of the settings (Shannon entropy) on standard error
  -h, --help           show this help
      --version        show the version

The separator never appears inside a password: with --control, line feeds (or NUL with -0)
are left out of the symbols.
Exit status: 0 done, 1 the settings cannot be used or the output failed, 2 a usage error.
)");
}

QString versionText()
{
    return QStringLiteral("quorvex-cli " QUORVEX_VERSION "\n");
}
