#include "advancedoptions.h"
#include "errorof.h"
#include "profilestore.h"
#include "qtinifile.h"
#include "scriptedprompter.h"
#include "temporarysettings.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// The store as the program uses it, through the advanced options' load and save, against files
// made here: hand-edited, damaged, hostile, unwritable, or saved by a process that is killed.
// What is stored is checked by reading the file itself.

namespace {

const QString SymbolNames = QStringLiteral("~`!@#$%^&*()-_+=|\\{}[]:;\"'<>,.?/");
const QString Seed = QStringLiteral("Seed");
const QString Symbols = QStringLiteral("Symbols");
const QString Counts = QStringLiteral("Password Length");
const QString Clipboard = QStringLiteral("Clipboard");

QString percentDecoded(const QString &text)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(text.toUtf8()));
}

// The file's values as "group/name" -> the value's text, read line by line the way the file
// is laid out: "[group]" headers and "name=value" lines, names percent-encoded.
QMap<QString, QString> rawValues(const QByteArray &bytes)
{
    QMap<QString, QString> values;
    QString group;
    for (const QByteArray &line : bytes.split('\n')) {
        if (line.startsWith('[') && line.endsWith(']')) {
            group = percentDecoded(QString::fromUtf8(line.mid(1, line.size() - 2)));
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0)
            continue;
        // A symbol's name is escaped once more, so that '/' and '\' stay names.
        QString name = percentDecoded(percentDecoded(QString::fromUtf8(line.left(equals))));
        QString value = QString::fromUtf8(line.mid(equals + 1));
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        values.insert(group + u'/' + name, value);
    }
    return values;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Symbol i is selected in the first record when i % 3 is not 1, in the second when it is.
bool selectedInFirst(int index)
{
    return index % 3 != 1;
}

// A record whose values differ from each other and from the defaults.
void fillFirstRecord(GenerationSettings &settings)
{
    settings.setUseDefault(false);
    settings.setUserSeed(QStringLiteral("4711"));
    for (int i = 0; i < 32; ++i)
        settings.setSymbolSelected(i, selectedInFirst(i));
    settings.setNonPrintableChars(1);
    settings.setExtendedSymbolChars(2);
    settings.setNumLowercaseChars(QStringLiteral("3"));
    settings.setNumUppercaseChars(QStringLiteral("4"));
    settings.setNumNumbers(QStringLiteral("5"));
    settings.setNumSymbols(QStringLiteral("1"));
}

// Another record that differs from the first in every value.
void fillSecondRecord(GenerationSettings &settings)
{
    settings.setUseDefault(true);
    settings.setUserSeed(QStringLiteral("9999"));
    for (int i = 0; i < 32; ++i)
        settings.setSymbolSelected(i, !selectedInFirst(i));
    settings.setNonPrintableChars(0);
    settings.setExtendedSymbolChars(0);
    settings.setNumLowercaseChars(QStringLiteral("6"));
    settings.setNumUppercaseChars(QStringLiteral("7"));
    settings.setNumNumbers(QStringLiteral("8"));
    settings.setNumSymbols(QStringLiteral("9"));
}

// The first record's groups as the load left them; a group differs when any of its values does.
QStringList groupsDifferingFromFirst(const GenerationSettings &settings)
{
    QStringList differing;
    if (settings.UseDefault() || settings.UserSeed() != QStringLiteral("4711"))
        differing << Seed;
    bool symbolsSame = settings.NonPrintableChars() == 1 && settings.ExtendedSymbolChars() == 2 &&
        !settings.LeaveOutLookAlikes();
    for (int i = 0; i < 32; ++i)
        symbolsSame = symbolsSame && settings.SymbolSelected(i) == selectedInFirst(i);
    if (!symbolsSame)
        differing << Symbols;
    if (settings.NumLowercaseChars() != u"3" || settings.NumUppercaseChars() != u"4" ||
        settings.NumNumbers() != u"5" || settings.NumSymbols() != u"1")
        differing << Counts;
    if (settings.ClipboardClearSeconds() != 0)
        differing << Clipboard;
    return differing;
}

// Serialized nested lists as QSettings' own format once wrote them: type, null flag, count.
QByteArray variantBlob(const QByteArray &stream)
{
    QByteArray escaped;
    escaped.reserve(stream.size() * 4);
    for (const char c : stream)
        escaped += "\\x" + QByteArray::number(uchar(c), 16).rightJustified(2, '0');
    return "@Variant(" + escaped + ")";
}

QByteArray nestedListBlob(int depth)
{
    QByteArray stream;
    stream.reserve(depth * 9 + 9);
    for (int i = 0; i < depth; ++i)
        stream.append("\0\0\0\x09\0\0\0\0\x01", 9);
    stream.append("\0\0\0\x02\0\0\0\0\x07", 9);
    return variantBlob(stream);
}

bool isFifo(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

mode_t modeOf(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return 0;
    return info.st_mode & 07777;
}

// Runs its scope as an ordinary user when the tests run as root, so that file modes apply.
class AsOrdinaryUser
{
public:
    explicit AsOrdinaryUser(const QString &tree)
    {
        if (::geteuid() != 0)
            return;
        constexpr uid_t Nobody = 65534;
        QDirIterator it(tree, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        (void)::lchown(QFile::encodeName(tree).constData(), Nobody, Nobody);
        while (it.hasNext())
            (void)::lchown(QFile::encodeName(it.next()).constData(), Nobody, Nobody);
        m_switched = ::setresgid(Nobody, Nobody, 0) == 0 && ::setresuid(Nobody, Nobody, 0) == 0;
    }
    ~AsOrdinaryUser()
    {
        if (m_switched) {
            (void)!::setresuid(0, 0, 0);
            (void)!::setresgid(0, 0, 0);
        }
    }
    AsOrdinaryUser(const AsOrdinaryUser &) = delete;
    AsOrdinaryUser &operator=(const AsOrdinaryUser &) = delete;

private:
    bool m_switched = false;
};

// The child side of the killed-save test: saves the two records in turn, saying after each.
int saveInTurn(const QString &configHome)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome));
    ScriptedPrompter prompter;
    AdvancedOptions options(prompter);
    for (int n = 0; n < 100000; ++n) {
        if (n % 2 == 0)
            fillFirstRecord(options.settings());
        else
            fillSecondRecord(options.settings());
        options.SaveSettings();
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporarySettings> m_store;
    ScriptedPrompter m_prompter;

    QString file() const { return m_store->programSettingsFile(); }
    QString damagedCopy() const { return file() + QStringLiteral(".damaged"); }
    QString folder() const { return QFileInfo(file()).absolutePath(); }

    // The first record saved, and a profile of it with the look-alikes left out and a clear
    // after 90 seconds.
    Profile saveFirstRecordAndProfile()
    {
        saveFirstRecord();
        AdvancedOptions options(m_prompter);
        options.settings().setLeaveOutLookAlikes(true);
        options.settings().setClipboardClearSeconds(90);
        return Profile::of(options.settings());
    }

    QByteArray saveFirstRecord()
    {
        AdvancedOptions options(m_prompter);
        fillFirstRecord(options.settings());
        options.SaveSettings();
        m_prompter.messages.clear();
        return fileBytes(file());
    }

private Q_SLOTS:
    void init()
    {
        m_store = std::make_unique<TemporarySettings>();
        m_prompter = ScriptedPrompter();
    }
    void cleanup() { m_store.reset(); }

    void shouldStoreEachValueUnderItsOwnGroupAndName()
    {
        saveFirstRecord();
        QMap<QString, QString> expected;
        expected.insert(QStringLiteral("Seed/UseDefault"), QStringLiteral("0"));
        expected.insert(QStringLiteral("Seed/UserSeed"), QStringLiteral("4711"));
        for (int i = 0; i < 32; ++i)
            expected.insert(Symbols + u'/' + SymbolNames[i],
                            selectedInFirst(i) ? QStringLiteral("1") : QStringLiteral("0"));
        expected.insert(QStringLiteral("Symbols/NonPrintableChars"), QStringLiteral("1"));
        expected.insert(QStringLiteral("Symbols/ExtendedSymbolChars"), QStringLiteral("2"));
        expected.insert(QStringLiteral("Password Length/NumLowercaseChars"), QStringLiteral("3"));
        expected.insert(QStringLiteral("Password Length/NumUppercaseChars"), QStringLiteral("4"));
        expected.insert(QStringLiteral("Password Length/NumNumbers"), QStringLiteral("5"));
        expected.insert(QStringLiteral("Password Length/NumSymbols"), QStringLiteral("1"));
        QCOMPARE(rawValues(fileBytes(file())), expected);
    }

    // Texts pass both ways between the store and QSettings' own INI reader and writer, so a
    // file written before keeps loading and a file written now reads the same elsewhere. Each
    // character the format must quote or escape has a row of its own.
    void shouldKeepTextsAsQtsOwnIniFilesDo_data()
    {
        QTest::addColumn<QString>("seed");
        QTest::newRow("plain") << "12345";
        QTest::newRow("comma") << "2, 3";
        QTest::newRow("quotes") << "say \"hi\"";
        QTest::newRow("backslash") << "a\\b";
        QTest::newRow("backslash last") << "ab\\";
        QTest::newRow("semicolon and equals") << "a;b=c";
        QTest::newRow("at sign first") << "@Rect(1 2 3 4)";
        QTest::newRow("blanks around") << "  7  ";
        QTest::newRow("leading blank") << " 7";
        QTest::newRow("trailing blank") << "7 ";
        QTest::newRow("tab and newline") << "a\tb\nc";
        QTest::newRow("carriage return") << "1\r2";
        QTest::newRow("byte order mark first") << QStringLiteral("\uFEFF12");
        QTest::newRow("byte order mark after an escape") << QStringLiteral("\t\uFEFF12");
        QTest::newRow("beyond ASCII") << QString::fromUtf8("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC");
        QTest::newRow("empty") << "";
    }
    void shouldKeepTextsAsQtsOwnIniFilesDo()
    {
        QFETCH(QString, seed);
        const QString key = QStringLiteral("Seed/UserSeed");
        {
            AdvancedOptions options(m_prompter);
            options.settings().setUseDefault(false);
            options.settings().setUserSeed(seed);
            options.SaveSettings();
        }
        const QByteArray saved = fileBytes(file());
        QCOMPARE(QtIniFile::read(saved).value(key).toString(), seed);
        const QByteArray byQt = QtIniFile::written(QtIniFile::read(saved)); // the whole record
        for (const QByteArray &bytes : { saved, byQt }) {
            TemporarySettings other; // a file this process has not read yet, so read from the disk
            other.writeProgramSettingsFile(bytes);
            AdvancedOptions loaded(m_prompter);
            QCOMPARE(loaded.settings().UserSeed(), seed);
            QVERIFY(!loaded.settings().UseDefault());
        }
        QVERIFY(m_prompter.messages.isEmpty());
    }

    // A damaged or hostile value costs its own value at most. The load says so once, naming
    // the value and the file, and keeps a copy of the file as it was before anything writes.
    void shouldLoadAHostileFileAndKeepEverythingElse_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to"); // replaces `from`; with `from` empty, appended
        QTest::addColumn<QString>("named"); // what the report names
        QTest::addColumn<QString>("lost"); // the group whose value is lost, if any

        QTest::newRow("stray quote in the seed")
            << QByteArray("UserSeed=4711") << QByteArray("UserSeed=12\"345") << "\"UserSeed\"" << Seed;
        QTest::newRow("escape at the end of a line")
            << QByteArray("UserSeed=4711") << QByteArray("UserSeed=4711\\") << "\"UserSeed\"" << Seed;
        QTest::newRow("a count serialized as a rectangle")
            << QByteArray("NumLowercaseChars=3") << QByteArray("NumLowercaseChars=@Rect(1 2 3 4)")
            << "\"NumLowercaseChars\"" << Counts;
        QTest::newRow("nested lists in a group never read")
            << QByteArray() << QByteArray("[Other]\nblob=" + nestedListBlob(200000) + "\n") << "\"blob\""
            << QString();
        QTest::newRow("a list claiming four billion entries")
            << QByteArray()
            << QByteArray("[Other]\nblob=" + variantBlob(QByteArray("\0\0\0\x09\0\xff\xff\xff\xff", 9)) +
                          "\n")
            << "\"blob\"" << QString();
        QTest::newRow("section header never closed")
            << QByteArray("[Symbols]") << QByteArray("[Symbols") << "Line " << QString();
        QTest::newRow("a line that is no setting")
            << QByteArray("[Seed]\n") << QByteArray("[Seed]\nthis is not a setting\n") << "line "
            << QString();
        QTest::newRow("five such lines are all named")
            << QByteArray("[Seed]\n") << QByteArray("[Seed]\nx\nx\nx\nx\nx\n")
            << "Line 12 in the group \"Seed\": the line holds no value.\r\nA copy" << QString();
        QTest::newRow("of six, five and a count")
            << QByteArray("[Seed]\n") << QByteArray("[Seed]\nx\nx\nx\nx\nx\nx\n")
            << "Line 12 in the group \"Seed\": the line holds no value.\r\nAnd 1 more lines." << QString();
        // A clipboard time outside 10 to 600 seconds is refused: the clipboard is never cleared.
        for (const char *seconds : { "9", "601", "soon" })
            QTest::addRow("a clipboard time of %s", seconds)
                << QByteArray() << QByteArray("[Clipboard]\nClearAfterSeconds=") + seconds + '\n'
                << "\"ClearAfterSeconds\"" << QString();
    }
    void shouldLoadAHostileFileAndKeepEverythingElse()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, named);
        QFETCH(QString, lost);
        QByteArray damaged = saveFirstRecord();
        QVERIFY(damaged.contains(from));
        damaged = from.isEmpty() ? damaged + to : damaged.replace(from, to);
        m_store->writeProgramSettingsFile(damaged);
        // A link planted at the copy's name is replaced, never written through.
        const QString outside = m_store->path() + QStringLiteral("/outside");
        QFile target(outside);
        QVERIFY(target.open(QIODevice::WriteOnly) && target.write("precious") == 8);
        target.close();
        QCOMPARE(::chmod(QFile::encodeName(outside).constData(), 0644), 0);
        QVERIFY(QFile::link(outside, damagedCopy()));

        AdvancedOptions options(m_prompter);
        const GenerationSettings &settings = options.settings();
        QCOMPARE(groupsDifferingFromFirst(settings), lost.isEmpty() ? QStringList() : QStringList(lost));
        if (lost == Counts) // the damaged count reads as 0; the other three stay
            QCOMPARE(settings.NumLowercaseChars(), QStringLiteral("0"));

        QCOMPARE(m_prompter.messages.size(), 1);
        const QString report = m_prompter.messages.first().text;
        QVERIFY2(report.contains(named), qPrintable(report));
        QVERIFY2(report.contains(u'"' + file() + u'"'), qPrintable(report));
        QVERIFY2(report.contains(u'"' + damagedCopy() + u'"'), qPrintable(report));
        QVERIFY(report.endsWith(QStringLiteral("Caused in:\tfrmAdvanced.LoadSettings()\r\n")));
        QCOMPARE(fileBytes(damagedCopy()), damaged);
        QCOMPARE(modeOf(damagedCopy()), mode_t(0600));
        QVERIFY(!QFileInfo(damagedCopy()).isSymLink());
        QCOMPARE(fileBytes(outside), QByteArray("precious"));
        QCOMPARE(modeOf(outside), mode_t(0644));

        // The next save keeps every good value; the file is whole again.
        QVERIFY(options.VerifyInputAndSaveSettings());
        const QMap<QString, QString> stored = rawValues(fileBytes(file()));
        QCOMPARE(stored.value(QStringLiteral("Password Length/NumUppercaseChars")), QStringLiteral("4"));
        QCOMPARE(stored.value(QStringLiteral("Symbols/ExtendedSymbolChars")), QStringLiteral("2"));
        QCOMPARE(stored.value(QStringLiteral("Symbols/`")), QStringLiteral("0"));
        QCOMPARE(stored.value(QStringLiteral("Seed/UseDefault")), QStringLiteral("0"));
        m_prompter.messages.clear();
        options.unload();
        options.load();
        QVERIFY(m_prompter.messages.isEmpty());
    }

    // Whatever happens to one line of the file, every other group loads as it was.
    void shouldKeepEveryGroupThatADamagedLineIsNotIn()
    {
        const QList<QByteArray> lines = saveFirstRecord().split('\n');
        QStringList groupOfLine;
        QString group;
        for (const QByteArray &line : lines) {
            if (line.startsWith('['))
                group = percentDecoded(QString::fromUtf8(line.mid(1, line.indexOf(']') - 1)));
            groupOfLine << group;
        }
        const QByteArray damage = "\"\"\"\\\\[]=;,@%\nx ";
        QRandomGenerator random(20261207);
        for (int round = 0; round < 300; ++round) {
            QList<QByteArray> changed = lines;
            qsizetype index = 0;
            do
                index = random.bounded(changed.size());
            while (changed[index].isEmpty());
            QByteArray &line = changed[index];
            const qsizetype at = random.bounded(line.size() + 1);
            const char c = damage[random.bounded(damage.size())];
            switch (random.bounded(3)) {
            case 0:
                line.insert(at, c);
                break;
            case 1:
                line.remove(qMin(at, line.size() - 1), 1);
                break;
            default:
                line[qMin(at, line.size() - 1)] = c;
                break;
            }
            const QByteArray bytes = changed.join('\n');

            TemporarySettings home;
            home.writeProgramSettingsFile(bytes);
            ScriptedPrompter prompter;
            AdvancedOptions options(prompter);
            QStringList differing = groupsDifferingFromFirst(options.settings());
            differing.removeAll(groupOfLine[index]);
            QVERIFY2(differing.isEmpty(),
                     qPrintable(QStringLiteral("line %1 became \"%2\", lost %3")
                                    .arg(index + 1)
                                    .arg(QString::fromUtf8(line), differing.join(u", "))));
            if (!prompter.messages.isEmpty())
                QCOMPARE(fileBytes(home.programSettingsFile() + QStringLiteral(".damaged")), bytes);
        }
    }

    // A count that is text but no number it can use is shown as it is; the other three stay,
    // the length is left alone, and a save keeps them all.
    void shouldShowACountThatIsNoUsableNumberAsItsText_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("a list to QSettings") << QByteArray("NumLowercaseChars=3") << QByteArray("2, 3");
        QTest::newRow("1e395 written out")
            << QByteArray("NumSymbols=1") << QByteArray('1' + QByteArray(400, '0') + "e-5");
    }
    void shouldShowACountThatIsNoUsableNumberAsItsText()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, stored);
        const QByteArray name = line.left(line.indexOf('='));
        m_store->writeProgramSettingsFile(saveFirstRecord().replace(line, name + '=' + stored));
        AdvancedOptions options(m_prompter);
        const GenerationSettings &settings = options.settings();
        QMap<QString, QString> counts { { QStringLiteral("NumLowercaseChars"), QStringLiteral("3") },
                                        { QStringLiteral("NumUppercaseChars"), QStringLiteral("4") },
                                        { QStringLiteral("NumNumbers"), QStringLiteral("5") },
                                        { QStringLiteral("NumSymbols"), QStringLiteral("1") } };
        counts.insert(QString::fromLatin1(name), QString::fromLatin1(stored));
        QCOMPARE(settings.NumLowercaseChars(), counts.value(QStringLiteral("NumLowercaseChars")));
        QCOMPARE(settings.NumUppercaseChars(), counts.value(QStringLiteral("NumUppercaseChars")));
        QCOMPARE(settings.NumNumbers(), counts.value(QStringLiteral("NumNumbers")));
        QCOMPARE(settings.NumSymbols(), counts.value(QStringLiteral("NumSymbols")));
        QCOMPARE(settings.PasswordLength(), QStringLiteral("10")); // no sum of counts

        QVERIFY(options.VerifyInputAndSaveSettings());
        const QMap<QString, QString> raw = rawValues(fileBytes(file()));
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            QCOMPARE(raw.value(Counts + u'/' + it.key()), it.value());
    }

    // Only a regular file is ever opened; anything else is reported, left alone, and the
    // program runs on its defaults.
    void shouldLeaveAloneWhatIsNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("named pipe") << "fifo";
        QTest::newRow("directory") << "directory";
        QTest::newRow("device") << "device";
    }
    void shouldLeaveAloneWhatIsNotAFile()
    {
        QFETCH(QString, kind);
        QVERIFY(QDir().mkpath(folder()));
        const QByteArray path = QFile::encodeName(file());
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        else if (kind == u"directory")
            QVERIFY(QDir().mkpath(file()));
        else
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), file()));
        const auto unchanged = [&] {
            if (kind == u"fifo")
                return isFifo(file());
            if (kind == u"directory")
                return QFileInfo(file()).isDir() && QDir(file()).isEmpty();
            return QFileInfo(file()).symLinkTarget() == u"/dev/null";
        };

        AdvancedOptions options(m_prompter);
        QCOMPARE(options.settings().NumSymbols(), QStringLiteral("4"));
        QCOMPARE(m_prompter.messages.size(), 1);
        const QString report = m_prompter.messages.first().text;
        QVERIFY2(report.contains(u'"' + file() + u'"') && report.contains(u"not a regular file"),
                 qPrintable(report));
        QVERIFY(options.VerifyInputAndSaveSettings()); // the run goes on, with what it holds
        QCOMPARE(m_prompter.messages.size(), 1); // said once
        QVERIFY(unchanged());
        QVERIFY(!QFile::exists(damagedCopy()));
        QCOMPARE(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                 QStringList(QStringLiteral("Mintara.conf")));
    }

    // A file far larger than any settings is not read (it would hold the start for minutes
    // and take gigabytes), nor written over, nor copied.
    void shouldLeaveAloneAFileTooLargeForSettings_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::newRow("8 MB is still read") << qint64(8 * 1024 * 1024);
        QTest::newRow("a byte more is not") << qint64(8 * 1024 * 1024 + 1);
        QTest::newRow("64 MB") << qint64(64 * 1024 * 1024);
    }
    void shouldLeaveAloneAFileTooLargeForSettings()
    {
        QFETCH(qint64, size);
        QVERIFY(QDir().mkpath(folder()));
        QFile huge(file());
        QVERIFY(huge.open(QIODevice::WriteOnly));
        huge.write("[Seed]\nUserSeed=1\n;"); // the rest is a comment
        QVERIFY(huge.resize(size)); // sparse: it takes no room on the disk
        huge.close();

        AdvancedOptions options(m_prompter);
        if (size <= 8 * 1024 * 1024) {
            QCOMPARE(options.settings().UserSeed(), QStringLiteral("1"));
            QCOMPARE(m_prompter.messages.size(), 0);
            return;
        }
        QCOMPARE(options.settings().UserSeed(), QStringLiteral("0"));
        QCOMPARE(m_prompter.messages.size(), 1);
        const QString report = m_prompter.messages.first().text;
        QVERIFY2(report.contains(u'"' + file() + u'"') && report.contains(u"far larger than settings"),
                 qPrintable(report));
        QVERIFY(options.VerifyInputAndSaveSettings());
        QCOMPARE(QFileInfo(file()).size(), size);
        QVERIFY(!QFile::exists(damagedCopy()));
    }

    // A save killed at any point leaves either the record before it or the one after it.
    void shouldReachTheDiskWithTheWholeRecordOrNothing()
    {
        QByteArray first;
        QByteArray second;
        {
            AdvancedOptions options(m_prompter);
            fillFirstRecord(options.settings());
            options.SaveSettings();
            first = fileBytes(file());
            fillSecondRecord(options.settings());
            options.SaveSettings();
            second = fileBytes(file());
        }
        QVERIFY(first != second);

        QRandomGenerator random(7);
        for (int round = 0; round < 20; ++round) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            child.start(QCoreApplication::applicationFilePath(),
                        { QStringLiteral("--save-in-turn"), m_store->path() });
            QVERIFY(child.waitForStarted());
            // One save is done: the file is the child's. The bound is generous: a loaded machine
            // can take seconds to start a process and sync a file.
            QVERIFY2(child.waitForReadyRead(60000), qPrintable(QDir(folder()).entryList().join(u", ")));
            // Not a wait for anything: where the kill lands in the next saves is left to chance.
            QThread::usleep(random.bounded(20000));
            child.kill();
            QVERIFY(child.waitForFinished());
            const QByteArray left = fileBytes(file());
            QVERIFY2(left == first || left == second, left.constData());
        }
    }

    void shouldKeepTheFileToItsOwner_data()
    {
        QTest::addColumn<int>("before"); // the file's mode before the save; 0: no file yet
        QTest::addColumn<int>("after");
        QTest::addColumn<int>("folderBefore"); // the folder's mode with the file there
        QTest::newRow("new file") << 0 << 0600 << 0;
        QTest::newRow("readable by all") << 0644 << 0600 << 0755;
        QTest::newRow("readable by the group") << 0640 << 0600 << 0750;
        QTest::newRow("owner only") << 0600 << 0600 << 0700;
    }
    void shouldKeepTheFileToItsOwner()
    {
        QFETCH(int, before);
        QFETCH(int, after);
        QFETCH(int, folderBefore);
        const mode_t mask = ::umask(022);
        if (before != 0) {
            m_store->writeProgramSettingsFile("[Seed]\nUseDefault=1\n");
            QVERIFY(QFile::setPermissions(file(), QFileDevice::Permissions(QFileDevice::ReadOwner)));
            QCOMPARE(::chmod(QFile::encodeName(file()).constData(), mode_t(before)), 0);
            QCOMPARE(::chmod(QFile::encodeName(folder()).constData(), mode_t(folderBefore)), 0);
        }
        {
            AdvancedOptions options(m_prompter);
            fillFirstRecord(options.settings());
            options.SaveSettings();
        }
        ::umask(mask);
        QCOMPARE(modeOf(file()), mode_t(after));
        QCOMPARE(modeOf(folder()), mode_t(0700));
        QCOMPARE(rawValues(fileBytes(file())).value(QStringLiteral("Seed/UserSeed")), QStringLiteral("4711"));
    }

    // A save that cannot reach the disk says which file and why, once; the run goes on with
    // the settings it holds, and the file keeps what it had.
    void shouldReportASaveThatCannotBeWritten_data()
    {
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("why");
        QTest::addColumn<int>("mode"); // the read-only file's
        QTest::newRow("read-only file") << "file"
                                        << "Permission denied" << 0400;
        QTest::newRow("read-only file readable by all") << "file"
                                                        << "Permission denied" << 0444;
        QTest::newRow("read-only folder") << "folder"
                                          << "Permission denied" << 0;
        QTest::newRow("config home cannot hold a folder") << "home"
                                                          << "Not a directory" << 0;
    }
    void shouldReportASaveThatCannotBeWritten()
    {
        QFETCH(QString, place);
        QFETCH(QString, why);
        QFETCH(int, mode);
        QString target = file();
        if (place == u"home") {
            // The config home is a file: no folder can be made in it, not even by root.
            m_store->writeProgramSettingsFile("");
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(file()));
            target = file() + QStringLiteral("/Talvore Software/Mintara.conf");
        } else {
            saveFirstRecord();
        }
        const QByteArray before = fileBytes(file());
        AsOrdinaryUser ordinary(m_store->path());
        if (place == u"file")
            QCOMPARE(::chmod(QFile::encodeName(file()).constData(), mode_t(mode)), 0);
        else if (place == u"folder")
            QVERIFY(QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const mode_t modeBefore = modeOf(file());

        AdvancedOptions options(m_prompter);
        options.settings().setUserSeed(QStringLiteral("31337"));
        QVERIFY(options.VerifyInputAndSaveSettings());
        QVERIFY(options.VerifyInputAndSaveSettings());
        QFile::setPermissions(folder(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QCOMPARE(m_prompter.messages.size(), 1);
        const QString report = m_prompter.messages.first().text;
        QVERIFY2(report.contains(u'"' + target + u'"') && report.contains(why), qPrintable(report));
        QVERIFY(report.contains(QStringLiteral(" The settings stay as they are until the program ends.")));
        QVERIFY(report.endsWith(QStringLiteral("Caused in:\tfrmAdvanced.SaveSettings()\r\n")));
        QCOMPARE(fileBytes(file()), before);
        QCOMPARE(modeOf(file()), modeBefore);
        QCOMPARE(options.settings().UserSeed(), QStringLiteral("31337"));
    }

    void shouldReportAnUnreadableFileAndNotWriteOverIt()
    {
        const QByteArray before = saveFirstRecord();
        AsOrdinaryUser ordinary(m_store->path());
        QVERIFY(QFile::setPermissions(file(), QFileDevice::WriteOwner));
        {
            AdvancedOptions options(m_prompter);
            QCOMPARE(options.settings().UserSeed(), QStringLiteral("0"));
            options.SaveSettings();
        }
        QVERIFY(!m_prompter.messages.isEmpty());
        const QString report = m_prompter.messages.first().text;
        QVERIFY2(report.contains(u'"' + file() + u'"') && report.contains(u"cannot be read"),
                 qPrintable(report));
        QVERIFY(report.endsWith(QStringLiteral("Caused in:\tfrmAdvanced.LoadSettings()\r\n")));
        QVERIFY(QFile::setPermissions(file(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QCOMPARE(fileBytes(file()), before);
    }

    // The clipboard clear and the look-alikes are stored only while on, so that with them off
    // the file is the one older versions wrote.
    void shouldStoreTheNewSettingsOnlyWhileOn_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<bool>("leaveOut");
        QTest::addColumn<QStringList>("added");
        QTest::newRow("both off") << 0 << false << QStringList();
        QTest::newRow("clearing at the soonest")
            << 10 << false << QStringList { "Clipboard/ClearAfterSeconds=10" };
        QTest::newRow("both, clearing at the latest")
            << 600 << true
            << QStringList { "Clipboard/ClearAfterSeconds=600", "Symbols/LeaveOutLookAlikes=1" };
    }
    void shouldStoreTheNewSettingsOnlyWhileOn()
    {
        QFETCH(int, seconds);
        QFETCH(bool, leaveOut);
        QFETCH(QStringList, added);
        const QMap<QString, QString> before = rawValues(saveFirstRecord());
        {
            AdvancedOptions options(m_prompter);
            options.settings().setClipboardClearSeconds(seconds);
            options.settings().setLeaveOutLookAlikes(leaveOut);
            options.SaveSettings();
        }
        QMap<QString, QString> expected = before;
        for (const QString &value : added)
            expected.insert(value.section(u'=', 0, 0), value.section(u'=', 1));
        QCOMPARE(rawValues(fileBytes(file())), expected);

        AdvancedOptions reloaded(m_prompter);
        QCOMPARE(reloaded.settings().ClipboardClearSeconds(), seconds);
        QCOMPARE(reloaded.settings().LeaveOutLookAlikes(), leaveOut);
        reloaded.settings().setClipboardClearSeconds(0);
        reloaded.settings().setLeaveOutLookAlikes(false);
        reloaded.SaveSettings();
        QCOMPARE(rawValues(fileBytes(file())), before);
        // A time of 0 written out means never, as no value does, and is no damage.
        m_store->writeProgramSettingsFile(fileBytes(file()) + "[Clipboard]\nClearAfterSeconds=0\n");
        QCOMPARE(AdvancedOptions(m_prompter).settings().ClipboardClearSeconds(), 0);
        QVERIFY(m_prompter.messages.isEmpty());
    }

    // A profile keeps everything but the seed, under any name, beside the settings, which load
    // as they were; it can be renamed and removed.
    void shouldKeepAProfileUnderAnyName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("plain") << "Work";
        QTest::newRow("slash and backslash") << "a/b\\c";
        QTest::newRow("escapes of the store's own") << "%2F%5C%25";
        QTest::newRow("brackets, equals, semicolon, quote") << "[x] = y; \"z";
        QTest::newRow("line break and tab") << "line\nbreak\tx";
        QTest::newRow("blanks around") << "  padded ";
        QTest::newRow("beyond ASCII")
            << QString::fromUtf8("G\xC3\xA9n\xC3\xA9ral \xE2\x82\xAC \xF0\x9F\x94\x91");
        QTest::newRow("a group's name") << "Seed";
        QTest::newRow("General") << "General";
    }
    void shouldKeepAProfileUnderAnyName()
    {
        QFETCH(QString, name);
        const Profile profile = saveFirstRecordAndProfile();
        Profile other = profile;
        other.length = 20;
        ProfileStore::write(name, profile);
        ProfileStore::write(QStringLiteral("other"), other);
        QCOMPARE(ProfileStore::read(name), profile);
        QCOMPARE(ProfileStore::read(QStringLiteral("other")), other);
        QCOMPARE(ProfileStore::readAll().size(), 2);
        for (const QString &key : rawValues(fileBytes(file())).keys())
            QVERIFY2(key.startsWith(Seed + u'/') ||
                         (!key.endsWith(u"UserSeed") && !key.endsWith(u"UseDefault")),
                     qPrintable(key));

        AdvancedOptions reloaded(m_prompter);
        QCOMPARE(groupsDifferingFromFirst(reloaded.settings()), QStringList()); // no look-alikes, no clear

        const QString renamed = name + u'2';
        ProfileStore::rename(name, renamed);
        QCOMPARE(errorOf([&] { ProfileStore::read(name); }), ErrorNumber::ProfileNotFound);
        QCOMPARE(ProfileStore::read(renamed), profile);
        ProfileStore::remove(renamed);
        QCOMPARE(ProfileStore::readAll().size(), 1);
        QCOMPARE(ProfileStore::readAll().first().name, QStringLiteral("other"));
        QVERIFY(m_prompter.messages.isEmpty());
    }

    // A profile that cannot be used is listed with why and costs nothing else: neither the other
    // profile nor the settings.
    void shouldLetADamagedProfileCostOnlyItself_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("lineDamaged"); // which the settings' load reports too
        QTest::newRow("a count that is no number")
            << QByteArray("bad\\NumSymbols=1") << QByteArray("bad\\NumSymbols=many") << "NumSymbols" << false;
        QTest::newRow("a value missing")
            << QByteArray("bad\\NumNumbers=5\n") << QByteArray() << "NumNumbers" << false;
        QTest::newRow("a clipboard time of 9")
            << QByteArray("bad\\ClipboardClearSeconds=90") << QByteArray("bad\\ClipboardClearSeconds=9")
            << "ClipboardClearSeconds" << false;
        QTest::newRow("a check box of 3")
            << QByteArray("bad\\NonPrintableChars=1") << QByteArray("bad\\NonPrintableChars=3")
            << "NonPrintableChars" << false;
        QTest::newRow("a damaged line") << QByteArray("bad\\PasswordLength=13")
                                        << QByteArray("bad\\PasswordLength=\"13") << "PasswordLength" << true;
    }
    void shouldLetADamagedProfileCostOnlyItself()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, named);
        QFETCH(bool, lineDamaged);
        const Profile profile = saveFirstRecordAndProfile();
        ProfileStore::write(QStringLiteral("bad"), profile);
        ProfileStore::write(QStringLiteral("good"), profile);
        QByteArray bytes = fileBytes(file());
        QVERIFY2(bytes.contains(from), bytes.constData());
        m_store->writeProgramSettingsFile(bytes.replace(from, to));

        const QList<ProfileStore::Entry> entries = ProfileStore::readAll();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].name, QStringLiteral("bad"));
        QVERIFY(!entries[0].profile);
        QVERIFY2(entries[0].problem.contains(u'"' + named + u'"'), qPrintable(entries[0].problem));
        QVERIFY(entries[1].profile && *entries[1].profile == profile);
        QCOMPARE(errorOf([] { ProfileStore::read(QStringLiteral("bad")); }), ErrorNumber::ProfileDamaged);
        qint32 missing = 0;
        QString known;
        runTrapped([] { ProfileStore::read(QStringLiteral("nope")); },
                   [&](const ErrorRecord &error) {
                       missing = error.number;
                       known = error.description;
                   });
        QCOMPARE(missing, ErrorNumber::ProfileNotFound);
        QVERIFY2(known.endsWith(QStringLiteral("The profiles are \"bad\", \"good\".")), qPrintable(known));

        AdvancedOptions loaded(m_prompter);
        QCOMPARE(groupsDifferingFromFirst(loaded.settings()), QStringList());
        QCOMPARE(m_prompter.messages.size(), lineDamaged ? 1 : 0);

        // A profile stored over a damaged line keeps the file as it was in a copy first.
        QFile::remove(damagedCopy());
        const QByteArray damaged = fileBytes(file());
        ProfileStore::write(QStringLiteral("new"), profile);
        QCOMPARE(fileBytes(damagedCopy()), lineDamaged ? damaged : QByteArray());
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--save-in-turn") == 0)
        return saveInTurn(QString::fromLocal8Bit(argv[2]));
    TestSettingsStore test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settingsstore.moc"
