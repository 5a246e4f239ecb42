#include "errorof.h"
#include "errorrecord.h"
#include "qtinifile.h"
#include "registrykey.h"
#include "settingsformat.h"
#include "temporarysettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>
#include <memory>

namespace {

const QString ProgramPath = QStringLiteral("Software\\Talvore Software\\Mintara");

// The 32 symbol characters, '/' and '\' among them.
QStringList symbolNames()
{
    return QString::fromLatin1("~`!@#$%^&*()-_+=|\\{}[]:;\"'<>,.?/").split(QString(), Qt::SkipEmptyParts);
}

void enterProgramKey(RegistryKey &key)
{
    key.EnterSubKey(RegistryKey::CurrentUser);
    for (const QString &name : ProgramPath.split(u'\\'))
        key.EnterSubKey(name);
}

} // namespace

class TestRegistryKey : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporarySettings> m_store;

    // Moves the settings file to a place this process has never read, so that the next read
    // parses the bytes on disk instead of answering from Qt's per-file cache; returns them.
    QByteArray moveToAFreshFile()
    {
        QFile file(m_store->programSettingsFile());
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        m_store.reset();
        m_store = std::make_unique<TemporarySettings>();
        m_store->writeProgramSettingsFile(bytes);
        return bytes;
    }

private Q_SLOTS:
    void init() { m_store = std::make_unique<TemporarySettings>(); }
    void cleanup() { m_store.reset(); }

    void shouldReportAMissingKeyWithTheNothingStoredNumber()
    {
        RegistryKey key;
        key.EnterSubKey(RegistryKey::CurrentUser);
        key.EnterSubKey(QStringLiteral("Software")); // always there
        QCOMPARE(errorOf([&] { key.EnterSubKey(QStringLiteral("Talvore Software")); }),
                 ErrorNumber::KeyNotFound);
        QCOMPARE(key.currentPath(), QStringLiteral("Software")); // a failed step does not move
        QCOMPARE(
            errorOf([&] { key.OpenPath(ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess); }),
            ErrorNumber::KeyNotFound);
        QCOMPARE(errorOf([&] { key.EnterSubKey(QStringLiteral("Elsewhere")); }), ErrorNumber::KeyNotFound);
    }

    void shouldCreateTheKeysItIsAskedToAndKeepTheirValues()
    {
        {
            RegistryKey key;
            key.EnterSubKey(RegistryKey::CurrentUser);
            key.EnterSubKey(QStringLiteral("Software"));
            for (const QString &name : { QStringLiteral("Talvore Software"), QStringLiteral("Mintara") }) {
                QVERIFY(errorOf([&] { key.EnterSubKey(name); }) == ErrorNumber::KeyNotFound);
                QVERIFY(key.CreateSubKey(name));
                key.EnterSubKey(name);
            }
            QVERIFY(key.CreateSubKey(QStringLiteral("Password Length")));
            QCOMPARE(key.currentPath(), ProgramPath); // creating does not enter
            key.EnterSubKey(QStringLiteral("Password Length"));
            key.SetValue(QStringLiteral("NumSymbols"), 4);
            key.SetValue(QStringLiteral("Note"), QStringLiteral("text, with a comma"));
        }
        QVERIFY(QFile::exists(m_store->programSettingsFile()));
        moveToAFreshFile();

        RegistryKey key;
        key.OpenPath(ProgramPath, RegistryKey::CurrentUser, RegistryKey::AllAccess);
        QVERIFY(!key.CreateSubKey(QStringLiteral("Password Length"))); // exists: left as it was
        key.EnterSubKey(QStringLiteral("Password Length"));
        QCOMPARE(key.GetValue(QStringLiteral("NumSymbols")).toInt(), 4);
        QCOMPARE(key.GetValue(QStringLiteral("Note")).toString(), QStringLiteral("text, with a comma"));
        QVERIFY(!key.GetValue(QStringLiteral("Missing")).isValid());
    }

    void shouldKeepEverySymbolNameAsADistinctValue()
    {
        const QStringList names = symbolNames();
        QCOMPARE(names.size(), 32);
        {
            RegistryKey key;
            key.EnterSubKey(RegistryKey::CurrentUser);
            key.EnterSubKey(QStringLiteral("Software"));
            key.CreateSubKey(QStringLiteral("Talvore Software"));
            key.EnterSubKey(QStringLiteral("Talvore Software"));
            key.CreateSubKey(QStringLiteral("Mintara"));
            key.EnterSubKey(QStringLiteral("Mintara"));
            key.CreateSubKey(QStringLiteral("Symbols"));
            key.EnterSubKey(QStringLiteral("Symbols"));
            for (int i = 0; i < names.size(); ++i)
                key.SetValue(names[i], i % 2);
        }
        const QByteArray bytes = moveToAFreshFile();
        RegistryKey key;
        enterProgramKey(key);
        key.EnterSubKey(QStringLiteral("Symbols"));
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(key.GetValue(names[i]).toInt() == i % 2, qPrintable(names[i]));

        // The backslash is one value inside "Symbols", not a path to another key.
        const QStringList keys = QtIniFile::read(bytes).keys();
        QCOMPARE(keys.size(), 32);
        for (const QString &name : keys)
            QVERIFY2(name.startsWith(u"Symbols/") && name.count(u'/') == 1, qPrintable(name));
    }

    void shouldEscapeNamesReversibly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("slash") << "/";
        QTest::newRow("backslash") << "\\";
        QTest::newRow("percent") << "%";
        QTest::newRow("escape look-alike") << "%2F";
        QTest::newRow("mixed") << "a/b\\c%d";
        QTest::newRow("plain") << "UseDefault";
    }
    void shouldEscapeNamesReversibly()
    {
        QFETCH(QString, name);
        const QString escaped = RegistryKey::escapedName(name);
        QVERIFY(!escaped.contains(u'/') && !escaped.contains(u'\\'));
        QCOMPARE(RegistryKey::unescapedName(escaped), name);
    }

    void shouldRefuseToWorkWithoutARoot()
    {
        RegistryKey key;
        QVERIFY(errorOf([&] { key.EnterSubKey(QStringLiteral("Software")); }) != 0);
        QVERIFY(errorOf([&] { key.EnterSubKey(quint32(0x80000002)); }) != 0); // another root
        key.EnterSubKey(RegistryKey::CurrentUser);
        QVERIFY(errorOf([&] { key.SetValue(QStringLiteral("x"), 1); }) != 0); // no file at the root
    }

    void shouldNeverOpenSomethingElseInTheFilesPlace()
    {
        // A folder where the settings file belongs can be neither read nor written, not even by root.
        QDir().mkpath(m_store->programSettingsFile());
        RegistryKey key;
        QCOMPARE(errorOf([&] { enterProgramKey(key); }), RegistryKey::FileUnusable);
        key.OpenPath(QStringLiteral("Software\\Talvore Software"), RegistryKey::CurrentUser,
                     RegistryKey::AllAccess);
        QCOMPARE(errorOf([&] { key.CreateSubKey(QStringLiteral("Mintara")); }), RegistryKey::FileUnusable);
    }

    // What is set reaches the disk only with Flush, all at once; an unchanged value not at all.
    void shouldWriteTheFileOnlyWhenFlushedAndChanged()
    {
        m_store->writeProgramSettingsFile(
            "; kept only while nothing is rewritten\n[Seed]\nUseDefault=1\nUserSeed=0\n");
        const auto bytes = [&] {
            QFile file(m_store->programSettingsFile());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = bytes();
        RegistryKey key;
        enterProgramKey(key);
        key.EnterSubKey(QStringLiteral("Seed"));
        key.SetValue(QStringLiteral("UseDefault"), 1); // stored as the text "1"
        key.SetValue(QStringLiteral("UserSeed"), QStringLiteral("0"));
        key.Flush();
        QCOMPARE(bytes(), before);

        key.SetValue(QStringLiteral("UseDefault"), 0);
        key.SetValue(QStringLiteral("UserSeed"), QStringLiteral("42"));
        QCOMPARE(bytes(), before);
        key.Flush();
        QCOMPARE(bytes(), QByteArray("[Seed]\nUseDefault=0\nUserSeed=42\n"));
    }

    // Each line stands on its own: a damaged one is left out and named, the others are read as
    // plain text, never as a serialized type or a list.
    void shouldReadEachLineOnItsOwn_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QStringList>("values"); // "group/name=text"
        QTest::addColumn<QStringList>("problems"); // "line group/name"

        QTest::newRow("as QSettings writes it")
            << QByteArray("[Password%20Length]\nNumSymbols=4\n\n[Symbols]\n%252F=1\n%7E=0\n")
            << QStringList { "Password Length/NumSymbols=4", "Symbols/%2F=1", "Symbols/~=0" }
            << QStringList();
        QTest::newRow("quotes, escapes, comments and blanks")
            << QByteArray(
                   "\xEF\xBB\xBF; note\r\n[a]\r\n x = \" 2, 3 \" ; why\r\ny=a\\tb\\x41\\\"\r\nz=@@at  \n")
            << QStringList { "a/x= 2, 3 ", "a/y=a\tbA\"", "a/z=@at" } << QStringList();
        QTest::newRow("a list is its text")
            << QByteArray("[a]\nx=2, 3\n") << QStringList { "a/x=2, 3" } << QStringList();
        QTest::newRow("no group, and the general one")
            << QByteArray("x=1\n[General]\ny=2\n[%General]\nz=3\n")
            << QStringList { "General/z=3", "x=1", "y=2" } << QStringList();
        QTest::newRow("stray quote costs its own line")
            << QByteArray("[a]\nx=12\"345\ny=2\n[b]\nz=3\n") << QStringList { "a/y=2", "b/z=3" }
            << QStringList { "2 a/x" };
        QTest::newRow("line ends of two characters count once")
            << QByteArray("[a]\r\nx=1\r\ny=\"2\r\nz=3\r\n") << QStringList { "a/x=1", "a/z=3" }
            << QStringList { "3 a/y" };
        QTest::newRow("escape joining lines")
            << QByteArray("[a]\nx=1\\\n[b]\nz=3\n") << QStringList { "b/z=3" } << QStringList { "2 a/x" };
        QTest::newRow("serialized types are not read")
            << QByteArray("[a]\nr=@Rect(1 2 3 4)\nv=@Variant(\\0\\0\\0\\t)\ni=@Invalid()\nt=@Rect(1\n")
            << QStringList { "a/t=@Rect(1" } << QStringList { "2 a/r", "3 a/v", "4 a/i" };
        QTest::newRow("slashes at the ends of a group's name")
            << QByteArray("[\\a\\\\b\\]\nz=1\n") << QStringList { "a/b/z=1" } << QStringList();
        QTest::newRow("open header still names its group")
            << QByteArray("[a\nx=1\nnonsense\n=2\n") << QStringList { "a/x=1" }
            << QStringList { "1 a/", "3 a/", "4 a/" };
    }
    void shouldReadEachLineOnItsOwn()
    {
        QFETCH(QByteArray, file);
        QFETCH(QStringList, values);
        QFETCH(QStringList, problems);
        const SettingsFormat::Reading reading = SettingsFormat::parse(file);
        QStringList read;
        for (auto it = reading.values.cbegin(); it != reading.values.cend(); ++it)
            read << it.key() + u'=' + it.value().toString();
        QCOMPARE(read, values);
        QStringList found;
        for (const SettingsFormat::Problem &problem : reading.problems)
            found << QString::number(problem.line) + u' ' + problem.group + u'/' + problem.name;
        QCOMPARE(found, problems);
    }

    // What is written reads back the same, here and with QSettings' own INI reader.
    void shouldWriteWhatBothReadersReadBack()
    {
        QSettings::SettingsMap values;
        values.insert(QStringLiteral("Seed/UserSeed"), QStringLiteral(" a, \"b\";c=\\ \t\x01\n@"));
        values.insert(QStringLiteral("Seed/At"), QStringLiteral("@Rect(1 2 3 4)"));
        values.insert(QStringLiteral("Symbols/%2F"), 1);
        values.insert(QStringLiteral("general/x"), QString::fromUtf8("\xC3\xA9\xE2\x82\xAC"));
        values.insert(QStringLiteral("top"), QStringLiteral("0"));
        values.insert(QStringLiteral("Seed/Mark"), QString(QChar(0)) + QChar(0xFEFF) + QStringLiteral("1"));
        const QByteArray bytes = SettingsFormat::compose(values);
        const SettingsFormat::Reading reading = SettingsFormat::parse(bytes);
        QVERIFY(reading.problems.isEmpty());
        QCOMPARE(reading.values.size(), values.size());
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            QCOMPARE(reading.values.value(it.key()).toString(), it.value().toString());

        const QSettings::SettingsMap byQt = QtIniFile::read(bytes);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            QCOMPARE(byQt.value(it.key()).toString(), it.value().toString());
    }
};

QTEST_GUILESS_MAIN(TestRegistryKey)
#include "tst_registrykey.moc"
