#include "eventyield.h"
#include "generationsettings.h"
#include "passwordcomposer.h"
#include "profilestore.h"
#include "randomsource.h"
#include "scriptedprompter.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

struct Outcome
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

std::array<int, 4> classCounts(const QString &password)
{
    std::array<int, 4> counts {};
    for (const QChar c : password) {
        if (c >= u'A' && c <= u'Z')
            ++counts[0];
        else if (c >= u'a' && c <= u'z')
            ++counts[1];
        else if (c >= u'0' && c <= u'9')
            ++counts[2];
        else
            ++counts[3];
    }
    return counts;
}

// A profile name the store has to escape.
const QString Awkward = QStringLiteral("Tab\there, \"quoted\"\\=;#[x]");

// Arguments written as one line, split at blanks.
QStringList words(const char *line)
{
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

// The passwords of a line-separated run.
QStringList linesOf(const QByteArray &out)
{
    QStringList lines = QString::fromUtf8(out).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class tst_QuorvexCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    QString m_configHome;

    void start(QProcess &process, const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_configHome);
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(QUORVEX_CLI), arguments);
    }

    Outcome run(const QStringList &arguments, const QString &stdoutFile = {},
                const std::function<void()> &inChild = {})
    {
        QProcess process;
        if (!stdoutFile.isEmpty())
            process.setStandardOutputFile(stdoutFile);
        if (inChild)
            process.setChildProcessModifier(inChild);
        start(process, arguments);
        process.closeWriteChannel();
        Outcome outcome;
        if (!process.waitForFinished(60000))
            return outcome;
        outcome.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        outcome.out = process.readAllStandardOutput();
        outcome.err = process.readAllStandardError();
        return outcome;
    }

    Outcome generate(const QStringList &arguments)
    {
        return run(QStringList { QStringLiteral("generate") } + arguments);
    }

    QString settingsFile() const
    {
        return m_config.path() + QStringLiteral("/Talvore Software/Mintara.conf");
    }

    static QByteArray bytesOf(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void writeBytes(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    static mode_t modeOf(const QString &path)
    {
        struct stat info;
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Profiles are stored here the way the window stores them.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
    }

    void init()
    {
        m_configHome = m_config.path();
        QFile::remove(settingsFile());
    }

    void shouldPlaceExactCountsInEveryPassword_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("classes");
        const auto row = [](const char *name, const char *arguments, int count, QList<int> classes) {
            QTest::newRow(name) << words(arguments) << count << classes;
        };
        row("stored defaults", "", 1, { 2, 2, 2, 4 });
        row("length 16 alone", "-l 16", 2000, { 4, 4, 4, 4 });
        row("length 7 alone", "--length=7", 500, { 2, 2, 2, 1 });
        row("length 14 alone", "-l14", 500, { 4, 4, 4, 2 });
        row("all four counts", "--upper 5 --lower 0 --digits 3 --symbols 2", 1000, { 5, 0, 3, 2 });
        row("one count over the stored ones", "--digits 6", 500, { 2, 2, 6, 4 });
        row("length with agreeing counts", "-l 20 --upper 8 --symbols 2", 500, { 8, 5, 5, 2 });
        // With a length, the counts not given share what the given ones leave, halves to even.
        row("length, no symbols", "-l 16 --symbols 0", 500, { 5, 5, 6, 0 });
        row("length, one count", "-l 10 --digits 4", 500, { 2, 2, 4, 2 });
        row("length, a half to share", "-l 3 --upper 0 --lower 0", 200, { 0, 0, 2, 1 });
        row("length just filled by counts", "-l 17 --upper 10 --symbols 7", 200, { 10, 0, 0, 7 });
        row("with control characters", "-l 24 --control", 1000, { 6, 6, 6, 6 });
    }

    void shouldPlaceExactCountsInEveryPassword()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, count);
        QFETCH(QList<int>, classes);
        if (count > 1)
            arguments << QStringLiteral("-n") << QString::number(count);
        const Outcome outcome = generate(arguments);
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.err, QByteArray());
        const QStringList passwords = linesOf(outcome.out);
        QCOMPARE(passwords.size(), count);
        const std::array<int, 4> expected { classes[0], classes[1], classes[2], classes[3] };
        for (const QString &password : passwords)
            QCOMPARE(classCounts(password), expected);
    }

    void shouldDrawSymbolsOnlyFromTheChosenSet()
    {
        const Outcome outcome = generate(
            QStringList { QStringLiteral("--symbol-set"), QStringLiteral("#%\\") } + words("-l 12 -n 400"));
        QCOMPARE(outcome.status, 0);
        QSet<QChar> seen;
        for (const QString &password : linesOf(outcome.out)) {
            for (const QChar c : password) {
                if (classCounts(QString(c))[3] == 1)
                    seen.insert(c);
            }
        }
        QCOMPARE(seen, (QSet<QChar> { u'#', u'%', u'\\' }));
    }

    void shouldNeverShowAnExcludedCharacter_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("excluded");
        QTest::addColumn<int>("shown");
        const QString lookAlikes = GenerationSettings::LookAlikeCharacters();
        QTest::newRow("excluded") << words("--exclude O0Il1|#B8") << QStringLiteral("O0Il1|#B8")
                                  << 23 + 25 + 7 + 30;
        QTest::newRow("look-alikes") << words("-B") << lookAlikes << 21 + 23 + 5 + 28;
        // A redraw for an excluded character never brings a look-alike back.
        QTest::newRow("look-alikes and excluded") << words("--no-look-alikes --exclude abc")
                                                  << lookAlikes + QStringLiteral("abc") << 21 + 20 + 5 + 28;
    }

    void shouldNeverShowAnExcludedCharacter()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, excluded);
        QFETCH(int, shown);
        const Outcome outcome = generate(arguments + words("-l 16 -n 3000"));
        QCOMPARE(outcome.status, 0);
        const QStringList passwords = linesOf(outcome.out);
        QCOMPARE(passwords.size(), 3000);
        QSet<QChar> seen;
        for (const QString &password : passwords) {
            QCOMPARE(classCounts(password), (std::array { 4, 4, 4, 4 }));
            for (const QChar c : password)
                seen.insert(c);
        }
        for (const QChar c : excluded)
            QVERIFY2(!seen.contains(c), qPrintable(QString(c)));
        // Everything else still turns up.
        QCOMPARE(seen.size(), shown);
    }

    // Without a user seed a long run is composed in shares side by side; whatever the count,
    // the output is one whole list of independent passwords.
    void shouldComposeEveryShareOfALongRunAlike_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("arguments");
        const QStringList options = words("--symbol-set #%\\~ --exclude O0Il1%");
        for (const int count : { 1, 999, 1000, 1999, 2000, 2001, 4001, 20001 })
            QTest::addRow("%d", count) << count << options;
        QTest::newRow("20001, system seed asked for") << 20001 << words("--seed 0");
    }

    void shouldComposeEveryShareOfALongRunAlike()
    {
        QFETCH(int, count);
        QFETCH(QStringList, arguments);
        const Outcome outcome = generate(arguments + words("-l 16 -n") << QString::number(count));
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.err, QByteArray());
        QVERIFY(outcome.out.endsWith('\n'));
        const QStringList passwords = linesOf(outcome.out);
        QCOMPARE(passwords.size(), count);
        // Shares keyed alike would repeat one another.
        QCOMPARE(QSet<QString>(passwords.begin(), passwords.end()).size(), count);
        const bool limited = arguments.contains(QStringLiteral("--exclude"));
        QSet<QChar> lastHalf;
        for (int i = 0; i < count; ++i) {
            const QString &password = passwords[i];
            QCOMPARE(classCounts(password), (std::array { 4, 4, 4, 4 }));
            for (const QChar c : password) {
                if (limited) {
                    QVERIFY2(!QStringLiteral("O0Il1%").contains(c), qPrintable(password));
                    QVERIFY2(classCounts(QString(c))[3] == 0 || QStringLiteral("#\\~").contains(c),
                             qPrintable(password));
                }
                if (i >= count / 2)
                    lastHalf.insert(c);
            }
        }
        // The last share draws from the same characters as the first.
        if (count >= 1000)
            QCOMPARE(lastHalf.size(), limited ? 24 + 25 + 8 + 3 : 26 + 26 + 10 + 32);
    }

    void shouldSeparateALongRunWithNul()
    {
        const Outcome outcome = generate(words("-0 --control -l 20 -n 5001"));
        QCOMPARE(outcome.status, 0);
        QVERIFY(outcome.out.endsWith('\0'));
        const QList<QByteArray> passwords = outcome.out.chopped(1).split('\0');
        QCOMPARE(passwords.size(), 5001);
        for (const QByteArray &password : passwords)
            QCOMPARE(password.size(), 20);
    }

    void shouldRepeatTheEnginesDrawsForASeed_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<bool>("extended");
        QTest::addColumn<QString>("symbols");
        QTest::newRow("length 16") << words("-l 16") << QStringLiteral("16") << QList<int> { 4, 4, 4, 4 }
                                   << false << QString();
        QTest::newRow("stored defaults")
            << QStringList {} << QStringLiteral("10") << QList<int> { 2, 2, 2, 4 } << false << QString();
        QTest::newRow("extended, two symbols")
            << words("--extended --symbol-set !~ --upper 1 --symbols 9") << QStringLiteral("14")
            << QList<int> { 1, 2, 2, 9 } << true << QStringLiteral("!~");
    }

    void shouldRepeatTheEnginesDrawsForASeed()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, length);
        QFETCH(QList<int>, counts);
        QFETCH(bool, extended);
        QFETCH(QString, symbols);

        for (const qint32 seed : { 1, -17, 2147483647 }) {
            // The window's run: seed once, then one composition per password.
            GenerationSettings settings;
            for (int c = 0; c < 4; ++c)
                settings.setCount(CharacterClass(c), QString::number(counts[c]));
            settings.setPasswordLength(length);
            settings.setExtendedSymbolChars(extended ? 1 : 0);
            if (!symbols.isEmpty()) {
                for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
                    settings.setSymbolSelected(
                        i, symbols.contains(GenerationSettings::SymbolTable()[std::size_t(i)].character));
            }
            RandomSource random;
            ScriptedPrompter prompter;
            EventYield yield;
            PasswordComposer composer(settings, random, prompter, yield);
            random.SetSeed(seed);
            QStringList expected;
            for (int i = 0; i < 50; ++i)
                expected << composer.compose(length);

            const Outcome outcome = generate(arguments + words("-n 50 --seed") << QString::number(seed));
            QCOMPARE(outcome.status, 0);
            QCOMPARE(linesOf(outcome.out), expected);
        }
    }

    // A stored user seed would make every plain run print the same passwords.
    void shouldNeverRepeatAStoredSeedUnasked()
    {
        const Outcome saved = generate(words("--seed 99 -n 5 --save"));
        QCOMPARE(saved.status, 0);
        const Outcome plain = generate(words("-n 5 --save"));
        QCOMPARE(plain.status, 0);
        QVERIFY(plain.out != saved.out);
        QCOMPARE(plain.err,
                 QByteArray("quorvex-cli: the stored user seed is left out: these passwords come from "
                            "the system's random source (--seed N repeats a sequence)\n"));
        // Asked for, it repeats; and a save without --seed kept it for the window.
        QCOMPARE(generate(words("-n 5 --seed 99")).out, saved.out);
        QVERIFY(bytesOf(settingsFile()).contains("UserSeed=99"));
        // Seed 0 is the system's random source: no two runs alike.
        QVERIFY(generate(words("--seed 0 -l 40")).out != generate(words("--seed 0 -l 40")).out);
    }

    void shouldRefuseBadInputWithOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        const auto row = [](const char *name, QStringList arguments, int status, const char *message) {
            QTest::newRow(name) << arguments << status << QString::fromUtf8(message);
        };
        row("letters for the count", { "generate", "-n", "ten" }, 2,
            "--count needs a whole number, not \"ten\"");
        row("count of 0", { "generate", "--count", "0" }, 2, "--count must be at least 1, not 0");
        row("negative count", { "generate", "-n", "-3" }, 2, "--count must be at least 1, not -3");
        row("fractional count", { "generate", "-n", "2.5" }, 2, "--count needs a whole number, not \"2.5\"");
        row("length of 0", { "generate", "-l", "0" }, 2, "--length must be at least 1, not 0");
        row("length beyond 16 bits", { "generate", "-l", "40000" }, 2,
            "--length must be at most 32767, not 40000");
        row("letters for a class count", { "generate", "--digits", "x" }, 2,
            "--digits needs a whole number, not \"x\"");
        row("negative class count", { "generate", "--upper", "-1" }, 2, "--upper must be at least 0, not -1");
        row("counts beyond the length", { "generate", "-l", "16", "--upper", "10", "--symbols", "7" }, 2,
            "the counts given add up to 17, more than --length 16");
        row("counts beyond the length in a long run",
            { "generate", "-n", "50000", "-l", "16", "--upper", "10", "--symbols", "7" }, 2,
            "the counts given add up to 17, more than --length 16");
        row("all four counts short of the length",
            { "generate", "-l", "16", "--upper", "1", "--lower", "1", "--digits", "1", "--symbols", "1" }, 2,
            "the counts add up to 4, but --length is 16");
        row("a class excluded whole in a long run", { "generate", "-n", "50000", "--exclude", "0123456789" },
            2, "digits are wanted but --exclude leaves none");
        row("all counts 0", { "generate", "--upper", "0", "--lower", "0", "--digits", "0", "--symbols", "0" },
            2, "the counts add up to 0: there is nothing to compose");
        row("counts beyond 16 bits", { "generate", "--upper", "30000", "--lower", "30000" }, 2,
            "the counts add up to 60006, more than 32767");
        row("no symbol with symbols wanted", { "generate", "--symbol-set", "" }, 2,
            "symbols are wanted but none is selected (--symbol-set)");
        row("only look-alike symbols", { "generate", "-B", "--symbol-set", "'`" }, 2,
            "symbols are wanted but every one selected is a look-alike (--symbol-set, --look-alikes)");
        row("profiles listed with a command", { "generate", "--list-profiles" }, 2,
            "--list-profiles takes no command and no other option");
        row("unknown profile, none stored", { "generate", "--profile", "Web" }, 2,
            "There is no profile named \"Web\"; no profile is stored.");
        row("unknown symbol", { "generate", "--symbol-set", "#a" }, 2,
            "--symbol-set: \"a\" is not one of the 32 symbols");
        row("a class excluded whole", { "generate", "--exclude", "0123456789" }, 2,
            "digits are wanted but --exclude leaves none");
        row("letters for the seed", { "generate", "--seed", "abc" }, 2,
            "--seed needs a whole number, not \"abc\"");
        row("seed beyond 32 bits", { "generate", "--seed", "2147483648" }, 2,
            "--seed must be at most 2147483647, not 2147483648");
        row("unknown option", { "generate", "--frobnicate" }, 2, "Unknown option 'frobnicate'.");
        row("value missing", { "generate", "-n" }, 2, "Missing value after '-n'.");
        row("no command", {}, 2, "no command given; \"quorvex-cli --help\" lists them");
        row("unknown command", { "make" }, 2, "unknown command \"make\"; the command is \"generate\"");
        row("stray argument", { "generate", "now" }, 2, "unexpected argument \"now\"");
        // A value shown back never spans lines nor acts on the terminal.
        row("line break, backslash, quote, escape and direction in a value",
            { "generate", "-l", "1\n2\\\"\x1b[31m\u202e5" }, 2,
            "--length needs a whole number, not \"1\\n2\\\\\\\"\\e[31m\\u{202e}5\"");
        row("escape sequence as an option", { "generate", "--\x1b]0;x\x07" }, 2,
            "Unknown option '\\e]0;x\\x07'.");
    }

    void shouldRefuseBadInputWithOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, message);
        const Outcome outcome = run(arguments);
        QCOMPARE(outcome.status, status);
        QCOMPARE(outcome.out, QByteArray());
        QCOMPARE(QString::fromUtf8(outcome.err), QStringLiteral("quorvex-cli: ") + message + u'\n');
        QVERIFY(!QFile::exists(settingsFile()));
    }

    void shouldRefuseStoredSettingsThatCannotCompose()
    {
        QCOMPARE(generate(words("--save --symbol-set # --seed 5")).status, 0);
        const QByteArray content =
            bytesOf(settingsFile()).replace("%23=1", "%23=0").replace("UserSeed=5", "UserSeed=seven");
        writeBytes(settingsFile(), content);

        // The stored seed is left out, so only the symbols stand in the way.
        Outcome outcome = generate({});
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.out, QByteArray());
        QCOMPARE(outcome.err,
                 QByteArray("quorvex-cli: the stored settings cannot be used: symbols are wanted but none is "
                            "selected\n"));
        outcome = generate(words("--seed 3"));
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.err,
                 QByteArray("quorvex-cli: the stored settings cannot be used: symbols are wanted but none is "
                            "selected\n"));
        // Options that mend it are enough; the store itself stays as it was.
        QCOMPARE(generate(words("--seed 3 --symbols 0")).status, 0);
        QCOMPARE(bytesOf(settingsFile()), content);
    }

    void shouldLeaveTheStoreAloneUnlessAskedToSave()
    {
        QCOMPARE(generate(words("-l 30")).status, 0);
        QVERIFY(!QFile::exists(settingsFile()));

        QCOMPARE(generate(words("--save --upper 0 --lower 8 --digits 0 --symbols 0 --exclude abc")).status,
                 0);
        QVERIFY(QFile::exists(settingsFile()));
        const Outcome outcome = generate(words("-n 300"));
        QCOMPARE(outcome.status, 0);
        QSet<QChar> seen;
        for (const QString &password : linesOf(outcome.out)) {
            QCOMPARE(classCounts(password), (std::array { 0, 8, 0, 0 }));
            for (const QChar c : password)
                seen.insert(c);
        }
        // The exclusion was for that run only.
        QVERIFY(seen.contains(u'a'));

        // The stored settings left out, and every switch turned off for a run.
        QCOMPARE(generate(words("--save --control --extended")).status, 0);
        const QStringList defaults = linesOf(generate(words("--defaults -n 300")).out);
        const QString switchedOff = generate(words("--no-control --no-extended -n 300 --symbols 30")).out;
        for (const QChar c : defaults.join(QString()) + switchedOff)
            QVERIFY2(c == u'\n' || (c.unicode() >= 32 && c.unicode() < 127), qPrintable(QString(c)));
        for (const QString &password : defaults)
            QCOMPARE(classCounts(password), (std::array { 2, 2, 2, 4 }));
    }

    // Options act in the order given: a later one overrides an earlier one, and the sets of
    // characters add up.
    void shouldGiveAnOptionGivenTwiceItsMeaning_data()
    {
        QTest::addColumn<QStringList>("twice");
        QTest::addColumn<QStringList>("once");
        const auto row = [](const char *name, const char *twice, const char *once) {
            QTest::newRow(name) << words(twice) << words(once);
        };
        row("values: the last one", "-n 2 --count 3 -l 8 --length 12 --digits 1 --digits 5 --seed 1 --seed 2",
            "-n 3 -l 12 --digits 5 --seed 2");
        row("character sets join", "-l 40 --symbol-set # --symbol-set % --exclude abc --exclude xyz",
            "-l 40 --symbol-set #% --exclude abcxyz");
        row("switches on, then off", "--control --no-control --extended --no-extended -B --look-alikes", "");
        row("switches off, then on", "--no-control --control --no-extended --extended --look-alikes -B",
            "--control --extended -B");
        row("switches", "-0 --null --entropy --entropy --defaults --defaults", "-0 --entropy --defaults");
    }
    void shouldGiveAnOptionGivenTwiceItsMeaning()
    {
        QFETCH(QStringList, twice);
        QFETCH(QStringList, once);
        const Outcome expected = generate(words("--seed 7 -n 40") + once);
        QCOMPARE(expected.status, 0);
        const Outcome outcome = generate(words("--seed 7 -n 40") + twice);
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.out, expected.out);
        QCOMPARE(outcome.err, expected.err);
    }

    // A save that cannot reach the disk is no success: it says why before any password.
    void shouldSayWhyASaveFailsBeforeAnyPassword()
    {
        // A config home that is a file: no folder can be made in it, not even by root.
        m_configHome = m_config.path() + QStringLiteral("/home");
        writeBytes(m_configHome, {});
        const Outcome outcome = generate(words("--save -n 3"));
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.out, QByteArray());
        const QByteArray expected =
            "quorvex-cli: --save: the settings were not stored: The settings file \"" +
            QFile::encodeName(m_configHome) +
            "/Talvore Software/Mintara.conf\" cannot be written: the folder \"";
        QVERIFY2(outcome.err.startsWith(expected) && outcome.err.count('\n') == 1, outcome.err.constData());
    }

    // A damaged file costs its damaged values, named in one line. Nothing is written without
    // --save; --save keeps a copy first and makes the folder its owner's.
    void shouldUseWhatADamagedFileStillHolds()
    {
        QCOMPARE(generate(words("--save -l 12 --symbols 3")).status, 0);
        const QString folder = QFileInfo(settingsFile()).absolutePath();
        QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        const QByteArray damaged = bytesOf(settingsFile()).replace("NumSymbols=3", "NumSymbols=3\"");
        writeBytes(settingsFile(), damaged);
        const QByteArray note = "quorvex-cli: the settings file \"" + QFile::encodeName(settingsFile()) +
            "\" holds values that cannot be used, which keep their defaults (a count is "
            "0): \"NumSymbols\" in \"Password Length\"\n";

        Outcome outcome = generate(words("-n 50"));
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.err, note);
        for (const QString &password : linesOf(outcome.out))
            QCOMPARE(classCounts(password), (std::array { 3, 3, 3, 0 }));
        const QString copy = settingsFile() + QStringLiteral(".damaged");
        QVERIFY(!QFileInfo::exists(copy));
        QCOMPARE(bytesOf(settingsFile()), damaged);
        QCOMPARE(modeOf(folder), mode_t(0755));

        outcome = generate(words("--save"));
        QCOMPARE(outcome.status, 0);
        QCOMPARE(outcome.err,
                 note + "quorvex-cli: the damaged settings file was kept as it was in \"" +
                     QFile::encodeName(copy) + "\"\n");
        QCOMPARE(bytesOf(copy), damaged);
        QCOMPARE(modeOf(copy), mode_t(0600));
        QCOMPARE(modeOf(folder), mode_t(0700));
        QCOMPARE(generate({}).err, QByteArray());
    }

    void shouldSeparateWithNulWhenControlCharactersJoin()
    {
        const Outcome outcome =
            generate(words("-0 --control --upper 0 --lower 0 --digits 0 --symbols 30 -n 300"));
        QCOMPARE(outcome.status, 0);
        QVERIFY(outcome.out.endsWith('\0'));
        const QList<QByteArray> passwords = outcome.out.chopped(1).split('\0');
        QCOMPARE(passwords.size(), 300);
        QSet<char> controls;
        for (const QByteArray &password : passwords) {
            QCOMPARE(password.size(), 30);
            for (const char c : password) {
                if (quint8(c) < 32)
                    controls.insert(c);
            }
        }
        // Every control character but the separator turns up, the line feed among them.
        QCOMPARE(controls.size(), 31);
        QVERIFY(controls.contains('\n'));

        // Line by line, the line feed is the one left out.
        const Outcome lines = generate(words("--control -l 40 -n 300"));
        QCOMPARE(lines.status, 0);
        const QList<QByteArray> passwordLines = lines.out.chopped(1).split('\n');
        QCOMPARE(passwordLines.size(), 300);
        for (const QByteArray &password : passwordLines)
            QCOMPARE(password.size(), 40);
        QVERIFY(lines.out.contains('\0'));
    }

    void shouldPrintTheStrengthOnStandardError_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("figure");
        QTest::newRow("defaults") << QStringList {} << QByteArray("entropy: 58.7 bits\n");
        QTest::newRow("user seed") << words("--seed 8")
                                   << QByteArray("entropy: at most 32 bits (user seed)\n");
        // 2 of 31 symbols once the line feed is left out: 2 log2 31.
        QTest::newRow("separator left out")
            << QStringList { QStringLiteral("--control"), QStringLiteral("--symbol-set"), QString(),
                             QStringLiteral("-l"), QStringLiteral("2") }
            << QByteArray("entropy: 9.9 bits\n");
        // The window's own figures for the same settings.
        QTest::newRow("look-alikes left out") << words("-B") << QByteArray("entropy: 55.0 bits\n");
        QTest::newRow("look-alikes left out, extended")
            << words("-B --extended") << QByteArray("entropy: 63.3 bits\n");
        QTest::newRow("long, still exact") << words("-l 1000") << QByteArray("entropy: 6374.1 bits\n");
        QTest::newRow("beyond the window's lengths") << words("-l 20000") << QByteArray("entropy: at least ");
    }

    void shouldPrintTheStrengthOnStandardError()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, figure);
        const Outcome outcome = generate(arguments << QStringLiteral("--entropy"));
        QCOMPARE(outcome.status, 0);
        QVERIFY2(outcome.err.startsWith(figure), outcome.err.constData());
        QCOMPARE(linesOf(outcome.out).size(), 1);
    }

    void shouldFailWhenTheOutputCannotBeWritten()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("no /dev/full");
        for (const char *count : { "10", "30001" }) {
            const Outcome outcome =
                run(words("generate -n") << QString::fromLatin1(count), QStringLiteral("/dev/full"));
            QCOMPARE(outcome.status, 1);
            QCOMPARE(outcome.err,
                     QByteArray("quorvex-cli: cannot write the passwords: No space left on device\n"));
        }
        // Midway: what fits goes out as it is composed, then the run fails.
        QTemporaryDir folder;
        const QString output = folder.filePath(QStringLiteral("passwords"));
        const Outcome outcome = run(words("generate -n 30001"), output, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit { 200000, 200000 };
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        QCOMPARE(outcome.status, 1);
        QCOMPARE(outcome.err, QByteArray("quorvex-cli: cannot write the passwords: File too large\n"));
        QCOMPARE(QFileInfo(output).size(), 200000);
    }

    // A reader that has what it wants (head -1) ends the run at once, quietly; the first
    // passwords come before the last are composed.
    void shouldStopQuietlyWhenTheReaderDoes()
    {
        QProcess process;
        QProcess head;
        process.setStandardOutputProcess(&head);
        head.start(QStringLiteral("head"), words("-n 1"));
        start(process, words("generate -n 100000000"));
        QVERIFY(head.waitForFinished(20000));
        QCOMPARE(head.readAllStandardOutput().count('\n'), 1);
        QVERIFY(process.waitForFinished(20000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(process.readAllStandardError(), QByteArray());
    }

    // A profile is put into the stored settings as choosing it in the window does, whatever
    // its name; the other options apply on top of it, and the store stays as it was.
    void shouldComposeFromANamedProfile_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QList<int>>("classes");
        QTest::addColumn<bool>("lookAlikes");
        QTest::addColumn<QByteArray>("err");
        const auto row = [](const char *name, QStringList arguments, QList<int> classes, bool lookAlikes) {
            QTest::newRow(name) << arguments << 0 << classes << lookAlikes << QByteArray();
        };
        row("profile", words("--profile Short"), { 0, 6, 0, 0 }, false);
        row("an awkward name", { QStringLiteral("--profile"), Awkward }, { 1, 1, 1, 5 }, true);
        row("options after it", words("--profile Short --digits 2 --look-alikes"), { 0, 6, 2, 0 }, true);
        row("options before it", words("--digits 2 --look-alikes --profile Short"), { 0, 6, 2, 0 }, true);
        row("the last profile",
            QStringList { QStringLiteral("--profile"), Awkward } + words("--profile Short"), { 0, 6, 0, 0 },
            false);
        row("defaults after it", words("--profile Short --defaults"), { 2, 2, 2, 4 }, true);
        row("defaults before it", words("--defaults --profile Short"), { 0, 6, 0, 0 }, false);
        QTest::newRow("unknown") << words("--profile Long") << 2 << QList<int>() << false
                                 << QByteArray(
                                        "quorvex-cli: There is no profile named \"Long\". The profiles "
                                        "are \"Damaged\", \"Short\", \"Tab\\there, \"quoted\"\\=;#[x]\".\n");
        QTest::newRow("damaged") << words("--profile Damaged") << 1 << QList<int>() << false
                                 << QByteArray(
                                        "quorvex-cli: The profile \"Damaged\" cannot be used. The value "
                                        "\"PasswordLength\" cannot be used: it is missing\n");
    }

    void shouldComposeFromANamedProfile()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QList<int>, classes);
        QFETCH(bool, lookAlikes);
        QFETCH(QByteArray, err);
        const Profile awkward {
            .length = 8, .counts = { 1, 1, 1, 5 }, .symbols = { true, true }, .clipboardClearSeconds = 30
        };
        ProfileStore::write(QStringLiteral("Short"),
                            { .length = 6, .counts = { 0, 6, 0, 0 }, .leaveOutLookAlikes = true });
        ProfileStore::write(Awkward, awkward);
        ProfileStore::write(QStringLiteral("Damaged"), awkward);
        const QByteArray stored = bytesOf(settingsFile()).replace("Damaged\\PasswordLength=8\n", "");
        writeBytes(settingsFile(), stored);

        const Outcome outcome = generate(arguments + words("-n 300"));
        QCOMPARE(outcome.status, status);
        QCOMPARE(outcome.err, err);
        QCOMPARE(bytesOf(settingsFile()), stored);
        const QStringList passwords = linesOf(outcome.out);
        QCOMPARE(passwords.size(), classes.isEmpty() ? 0 : 300);
        bool anyLookAlike = false;
        for (const QString &password : passwords) {
            QCOMPARE(classCounts(password), (std::array { classes[0], classes[1], classes[2], classes[3] }));
            for (const QChar c : password)
                anyLookAlike = anyLookAlike || GenerationSettings::LookAlikeCharacters().contains(c);
        }
        QCOMPARE(anyLookAlike, lookAlikes);

        // Listed by name as the window lists them; the one that cannot be used is named on
        // standard error.
        const Outcome list = run({ QStringLiteral("--list-profiles") });
        QCOMPARE(list.status, 0);
        QCOMPARE(list.out, QByteArray("Damaged\nShort\nTab\\there, \"quoted\"\\=;#[x]\n"));
        QCOMPARE(list.err,
                 QByteArray("quorvex-cli: the profile \"Damaged\" cannot be used: The value "
                            "\"PasswordLength\" cannot be used: it is missing\n"));
    }

    void shouldShowHelpAndVersion()
    {
        const Outcome help = run({ QStringLiteral("--help") });
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.startsWith("Usage: quorvex-cli generate"));
        for (const QString &option : words(
                 "--count --length --upper --lower --digits --symbols --symbol-set --exclude --control "
                 "--no-control --extended --no-extended --seed --defaults --null --save --entropy --version "
                 "--no-look-alikes --look-alikes --profile --list-profiles"))
            QVERIFY2(help.out.contains(option.toUtf8()), qPrintable(option));
        const Outcome version = run({ QStringLiteral("--version") });
        QCOMPARE(version.status, 0);
        QCOMPARE(version.out, QByteArray("quorvex-cli " QUORVEX_VERSION "\n"));
    }
};

QTEST_GUILESS_MAIN(tst_QuorvexCli)
#include "tst_quorvexcli.moc"
