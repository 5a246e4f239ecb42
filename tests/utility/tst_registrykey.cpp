#include "errorof.h"
#include "errorrecord.h"
#include "registrykey.h"
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
        RegistryKey key;
        enterProgramKey(key);
        key.EnterSubKey(QStringLiteral("Symbols"));
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(key.GetValue(names[i]).toInt() == i % 2, qPrintable(names[i]));

        // The backslash is one value inside "Symbols", not a path to another key.
        QSettings raw(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Talvore Software"),
                      QStringLiteral("Mintara"));
        QCOMPARE(raw.childGroups(), QStringList({ QStringLiteral("Symbols") }));
        raw.beginGroup(QStringLiteral("Symbols"));
        QCOMPARE(raw.childKeys().size(), 32);
        QVERIFY(raw.childGroups().isEmpty());
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

    void shouldReportAStoreThatCannotBeWritten()
    {
        // A folder where the settings file belongs cannot be written, not even by root.
        QDir().mkpath(m_store->programSettingsFile());
        RegistryKey key;
        enterProgramKey(key);
        QVERIFY(!key.GetValue(QStringLiteral("UseDefault")).isValid());
        QVERIFY(errorOf([&] { key.SetValue(QStringLiteral("UseDefault"), 0); }) != 0);
    }
};

QTEST_GUILESS_MAIN(TestRegistryKey)
#include "tst_registrykey.moc"
