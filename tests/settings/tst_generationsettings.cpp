#include "errorof.h"
#include "errorrecord.h"
#include "generationsettings.h"
#include "numbers.h"

#include <QSignalSpy>
#include <QTest>

class TestGenerationSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldStartWithTheFreshDialogDefaults()
    {
        const GenerationSettings settings;
        QCOMPARE(settings.PasswordLength(), QStringLiteral("10"));
        for (int c = 0; c < 4; ++c) {
            QVERIFY(settings.count(CharacterClass(c)).isEmpty());
            QCOMPARE(settings.countValue(CharacterClass(c)), std::nullopt);
        }
        QCOMPARE(settings.selectedSymbolCount(), 32);
        QCOMPARE(settings.NonPrintableChars(), 0);
        QCOMPARE(settings.ExtendedSymbolChars(), 0);
        QVERIFY(settings.UseDefault());
        QCOMPARE(settings.UserSeed(), QStringLiteral("0"));
        QVERIFY(!settings.LeaveOutLookAlikes());
        QCOMPARE(settings.ClipboardClearSeconds(), 0);
    }

    void shouldHoldTheFixedSymbolTable()
    {
        const auto &table = GenerationSettings::SymbolTable();
        const QString expected = QStringLiteral("~`!@#$%^&*()-_+=|\\{}[]:;\"'<>,.?/");
        QCOMPARE(int(table.size()), 32);
        for (int i = 0; i < 32; ++i)
            QCOMPARE(table[std::size_t(i)].character, expected[i]);
        QCOMPARE(table[8].caption, QStringLiteral("&&"));
        QCOMPARE(table[17].caption, QStringLiteral("\\"));
    }

    void shouldBuildThePoolInTableOrderThenControlThenExtended()
    {
        GenerationSettings settings;
        settings.setAllSymbolsSelected(false);
        settings.setSymbolSelected(0, true);
        settings.setSymbolSelected(2, true);
        settings.setNonPrintableChars(1);
        const QString pool = settings.symbolPool();
        QCOMPARE(pool.size(), 34);
        QCOMPARE(pool[0], QChar(u'~'));
        QCOMPARE(pool[1], QChar(u'!'));
        for (int code = 0; code < 32; ++code)
            QCOMPARE(pool[2 + code].unicode(), char16_t(code));
    }

    void shouldAddTheAmpersandOnce()
    {
        GenerationSettings settings;
        settings.setAllSymbolsSelected(false);
        settings.setSymbolSelected(8, true);
        QCOMPARE(settings.symbolPool(), QStringLiteral("&"));
    }

    void shouldMapExtendedCodesToWindows1252()
    {
        GenerationSettings settings;
        settings.setAllSymbolsSelected(false);
        settings.setNonPrintableChars(1);
        settings.setExtendedSymbolChars(1);
        const QString pool = settings.symbolPool();
        QCOMPARE(pool.size(), 160);
        QCOMPARE(pool.mid(32, 1), QString(QChar(0x20AC))); // 128: euro sign
        QCOMPARE(pool[32 + 1].unicode(), char16_t(0x81)); // unassigned: same code point
        QCOMPARE(pool[32 + 0x99 - 128].unicode(), char16_t(0x2122)); // trade mark sign
        QCOMPARE(pool[32 + 0x9F - 128].unicode(), char16_t(0x0178));
        QCOMPARE(pool[32 + 0xE9 - 128].unicode(), char16_t(0xE9)); // Latin-1 from 160 on
        QCOMPARE(pool.back().unicode(), char16_t(0xFF));
    }

    void shouldRebuildThePoolAfterEveryChange()
    {
        GenerationSettings settings;
        QCOMPARE(settings.symbolPool().size(), 32);
        settings.setSymbolSelected(31, false);
        QCOMPARE(settings.symbolPool().size(), 31);
        settings.setExtendedSymbolChars(1);
        QCOMPARE(settings.symbolPool().size(), 31 + 128);
        settings.setExtendedSymbolChars(0);
        settings.setNonPrintableChars(2); // greyed counts as set
        QCOMPARE(settings.symbolPool().size(), 31 + 32);
    }

    // Each class keeps its order and loses exactly the look-alikes; taking them back gives the
    // whole class again.
    void shouldLeaveTheLookAlikesOutOfEveryClass_data()
    {
        QTest::addColumn<int>("characterClass");
        QTest::addColumn<int>("extras"); // 1: control characters, 2: extended
        QTest::addColumn<int>("whole");
        QTest::addColumn<int>("left");
        QTest::newRow("upper-case") << 0 << 0 << 26 << 21;
        QTest::newRow("lower-case") << 1 << 0 << 26 << 23;
        QTest::newRow("digits") << 2 << 0 << 10 << 5;
        QTest::newRow("symbols") << 3 << 0 << 32 << 28;
        QTest::newRow("symbols and control, which all stay") << 3 << 1 << 64 << 60;
        QTest::newRow("symbols and extended") << 3 << 2 << 160 << 28 + 90;
    }
    void shouldLeaveTheLookAlikesOutOfEveryClass()
    {
        QFETCH(int, characterClass);
        QFETCH(int, extras);
        QFETCH(int, whole);
        QFETCH(int, left);
        GenerationSettings settings;
        settings.setNonPrintableChars(extras & 1);
        settings.setExtendedSymbolChars(extras >> 1);
        const QString all = settings.classPool(CharacterClass(characterClass));
        QCOMPARE(all.size(), whole);
        settings.setLeaveOutLookAlikes(true);
        const QString kept = settings.classPool(CharacterClass(characterClass));
        QCOMPARE(kept.size(), left);
        qsizetype next = 0;
        for (const QChar c : all) {
            const bool lookAlike = GenerationSettings::LookAlikeCharacters().contains(c);
            QVERIFY(!QStringLiteral("0Oo1lIi|5S2Z8B'`\"\u2019\u00D8").contains(c) || lookAlike);
            if (!lookAlike)
                QCOMPARE(kept[next++], c);
        }
        settings.setLeaveOutLookAlikes(false);
        QCOMPARE(settings.classPool(CharacterClass(characterClass)), all);
    }

    void shouldReadCountsAsTheyAreTyped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isNumber");
        QTest::addColumn<double>("value");
        QTest::newRow("whole") << "4" << true << 4.0;
        QTest::newRow("fraction") << "2.5" << true << 2.5;
        QTest::newRow("negative") << "-2" << true << -2.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("too large for a number") << "1e400" << false << 0.0;
    }
    void shouldReadCountsAsTheyAreTyped()
    {
        QFETCH(QString, text);
        QFETCH(bool, isNumber);
        QFETCH(double, value);
        GenerationSettings settings;
        settings.setNumSymbols(QStringLiteral("7"));
        settings.setNumSymbols(text);
        QCOMPARE(settings.NumSymbols(), text);
        QCOMPARE(settings.countValue(CharacterClass::Symbol).has_value(), isNumber);
        if (isNumber)
            QCOMPARE(*settings.countValue(CharacterClass::Symbol), value);
    }

    // The cached reading keeps the error of the read, not only "is a number or not": a count
    // too large for a double is an overflow, as a fresh read of its text is.
    void shouldRaiseWhatAFreshReadRaisesForACount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("error");
        QTest::newRow("number") << "2.5" << 0;
        QTest::newRow("1e400") << "1e400" << ErrorNumber::Overflow;
        QTest::newRow("-1e400") << "-1e400" << ErrorNumber::Overflow;
        QTest::newRow("letters") << "x" << ErrorNumber::TypeMismatch;
        QTest::newRow("empty") << "" << ErrorNumber::TypeMismatch;
    }
    void shouldRaiseWhatAFreshReadRaisesForACount()
    {
        QFETCH(QString, text);
        QFETCH(qint32, error);
        GenerationSettings settings;
        settings.setNumNumbers(QStringLiteral("3"));
        const quint64 before = settings.countsRevision();
        settings.setNumNumbers(text);
        QVERIFY(settings.countsRevision() != before);
        QCOMPARE(errorOf([&] { settings.readCount(CharacterClass::Digit); }), error);
        QCOMPARE(errorOf([&] { Numbers::read(text); }), error);
        if (error == 0)
            QCOMPARE(settings.readCount(CharacterClass::Digit), 2.5);
    }

    void shouldNotifyEachFieldOnARealChangeOnly()
    {
        GenerationSettings settings;
        QSignalSpy length(&settings, &GenerationSettings::passwordLengthChanged);
        QSignalSpy upper(&settings, &GenerationSettings::numUppercaseCharsChanged);
        QSignalSpy lower(&settings, &GenerationSettings::numLowercaseCharsChanged);
        QSignalSpy anyCount(&settings, &GenerationSettings::countChanged);
        QSignalSpy symbol(&settings, &GenerationSettings::symbolSelectedChanged);
        QSignalSpy seed(&settings, &GenerationSettings::userSeedChanged);
        QSignalSpy useDefault(&settings, &GenerationSettings::useDefaultChanged);

        settings.setPasswordLength(QStringLiteral("10")); // unchanged
        settings.setPasswordLength(QStringLiteral("12"));
        settings.setNumUppercaseChars(QStringLiteral("3"));
        settings.setNumUppercaseChars(QStringLiteral("3"));
        settings.setSymbolSelected(5, true); // already selected
        settings.setSymbolSelected(5, false);
        settings.setUserSeed(QStringLiteral("77"));
        settings.setUseDefault(false);

        QCOMPARE(length.count(), 1);
        QCOMPARE(length.at(0).at(0).toString(), QStringLiteral("12"));
        QCOMPARE(upper.count(), 1);
        QCOMPARE(lower.count(), 0);
        QCOMPARE(anyCount.count(), 1);
        QCOMPARE(anyCount.at(0).at(0).value<CharacterClass>(), CharacterClass::Uppercase);
        QCOMPARE(symbol.count(), 1);
        QCOMPARE(symbol.at(0).at(0).toInt(), 5);
        QCOMPARE(seed.count(), 1);
        QCOMPARE(useDefault.count(), 1);
    }

    void shouldCopyEveryField()
    {
        GenerationSettings source;
        source.setPasswordLength(QStringLiteral("21"));
        source.setNumUppercaseChars(QStringLiteral("7"));
        source.setNumLowercaseChars(QStringLiteral("x"));
        source.setNumNumbers(QStringLiteral("2.5"));
        source.setNumSymbols(QStringLiteral("6"));
        source.setSymbolSelected(0, false);
        source.setSymbolSelected(31, false);
        source.setNonPrintableChars(2);
        source.setExtendedSymbolChars(1);
        source.setUseDefault(false);
        source.setUserSeed(QStringLiteral("-5"));
        source.setLeaveOutLookAlikes(true);
        source.setClipboardClearSeconds(45);

        GenerationSettings copy;
        QSignalSpy symbol(&copy, &GenerationSettings::symbolSelectedChanged);
        copy.symbolPool(); // a pool built before the copy must not outlive it
        copy.copyFrom(source);
        QCOMPARE(copy.PasswordLength(), QStringLiteral("21"));
        for (int c = 0; c < 4; ++c) {
            QCOMPARE(copy.count(CharacterClass(c)), source.count(CharacterClass(c)));
            QCOMPARE(copy.countValue(CharacterClass(c)), source.countValue(CharacterClass(c)));
        }
        QCOMPARE(errorOf([&] { copy.readCount(CharacterClass::Lowercase); }), ErrorNumber::TypeMismatch);
        QCOMPARE(copy.symbolPool(), source.symbolPool());
        QCOMPARE(symbol.count(), 2);
        QCOMPARE(copy.NonPrintableChars(), 2);
        QCOMPARE(copy.ExtendedSymbolChars(), 1);
        QVERIFY(!copy.UseDefault());
        QCOMPARE(copy.UserSeed(), QStringLiteral("-5"));
        QVERIFY(copy.LeaveOutLookAlikes());
        QCOMPARE(copy.ClipboardClearSeconds(), 45);
    }

    void shouldRefuseCheckBoxValuesOutsideZeroToTwo_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("0") << 0 << true;
        QTest::newRow("1") << 1 << true;
        QTest::newRow("2") << 2 << true;
        QTest::newRow("3") << 3 << false;
        QTest::newRow("-1") << -1 << false;
    }
    void shouldRefuseCheckBoxValuesOutsideZeroToTwo()
    {
        QFETCH(int, value);
        QFETCH(bool, accepted);
        GenerationSettings settings;
        qint32 number = 0;
        runTrapped([&] { settings.setNonPrintableChars(value); },
                   [&](const ErrorRecord &e) { number = e.number; });
        QCOMPARE(number, accepted ? 0 : ErrorNumber::InvalidPropertyValue);
        QCOMPARE(settings.NonPrintableChars(), accepted ? value : 0);
        runTrapped([&] { settings.setExtendedSymbolChars(value); },
                   [&](const ErrorRecord &e) { number = e.number; });
        QCOMPARE(settings.ExtendedSymbolChars(), accepted ? value : 0);
    }

    void shouldRefuseASymbolIndexOutsideTheTable()
    {
        GenerationSettings settings;
        qint32 number = 0;
        runTrapped([&] { settings.setSymbolSelected(32, false); },
                   [&](const ErrorRecord &e) { number = e.number; });
        QCOMPARE(number, 9);
        QCOMPARE(settings.selectedSymbolCount(), 32);
    }
};

QTEST_GUILESS_MAIN(TestGenerationSettings)
#include "tst_generationsettings.moc"
