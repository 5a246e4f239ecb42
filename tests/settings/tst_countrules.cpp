#include "countrules.h"
#include "generationsettings.h"
#include "scriptedprompter.h"

#include <QTest>

namespace {

QString countsOf(const GenerationSettings &settings)
{
    return QStringList({ settings.NumUppercaseChars(), settings.NumLowercaseChars(), settings.NumNumbers(),
                         settings.NumSymbols() })
        .join(u'/');
}

// A record whose rules run, as after a load.
struct Record
{
    GenerationSettings settings;
    ScriptedPrompter prompter;
    CountRules rules { settings, prompter };

    Record()
    {
        rules.setCanAdjustNumbers(true);
        rules.setCanAdjustLength(true);
    }
};

} // namespace

class TestCountRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldShareTheLengthOutWithSymbolsTakingTheRest_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("counts");
        QTest::newRow("1") << "1"
                           << "0/0/0/1";
        QTest::newRow("2") << "2"
                           << "0/0/0/2";
        QTest::newRow("3") << "3"
                           << "1/1/1/0";
        QTest::newRow("6") << "6"
                           << "2/2/2/0";
        QTest::newRow("7") << "7"
                           << "2/2/2/1";
        QTest::newRow("10") << "10"
                            << "2/2/2/4";
        QTest::newRow("11") << "11"
                            << "3/3/3/2";
        QTest::newRow("12") << "12"
                            << "3/3/3/3";
        QTest::newRow("13") << "13"
                            << "3/3/3/4";
        QTest::newRow("14") << "14"
                            << "4/4/4/2";
        QTest::newRow("18") << "18"
                            << "4/4/4/6";
        QTest::newRow("-10") << "-10"
                             << "-2/-2/-2/-4";
        QTest::newRow("10.5") << "10.5"
                              << "3/3/3/1.5";
        QTest::newRow("largest that fits") << "43690"
                                           << "10922/10922/10922/10924";
        QTest::newRow("smallest that fits") << "-43690"
                                            << "-10922/-10922/-10922/-10924";
        QTest::newRow("0") << "0"
                           << "0/0/0/0";
        QTest::newRow("4") << "4"
                           << "1/1/1/1";
    }
    void shouldShareTheLengthOutWithSymbolsTakingTheRest()
    {
        QFETCH(QString, length);
        QFETCH(QString, counts);
        Record record;
        record.settings.setPasswordLength(QStringLiteral("99"));
        QList<CharacterClass> written;
        connect(&record.settings, &GenerationSettings::countChanged, this,
                [&](CharacterClass c) { written.append(c); });
        record.settings.setPasswordLength(length);
        QCOMPARE(countsOf(record.settings), counts);
        QCOMPARE(record.settings.PasswordLength(), length); // the counts' echo leaves it as typed
        // The boxes are written in this order, so a failure part-way leaves the first ones.
        QCOMPARE(written,
                 QList<CharacterClass>({ CharacterClass::Uppercase, CharacterClass::Lowercase,
                                         CharacterClass::Digit, CharacterClass::Symbol }));
        QVERIFY(record.rules.CanAdjustNumbers() && record.rules.CanAdjustLength());
        QVERIFY(record.prompter.messages.isEmpty());
    }

    void shouldMakeTheLengthTheSumOfTheCountsRoundedDown_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("length");
        QTest::newRow("whole") << "5"
                               << "15";
        QTest::newRow("fraction rounds down") << "2.7"
                                              << "12";
        QTest::newRow("negative fraction rounds toward minus infinity") << "-1.5"
                                                                        << "8";
        QTest::newRow("empty leaves the length") << ""
                                                 << "14";
        QTest::newRow("letters leave the length") << "abc"
                                                  << "14";
    }
    void shouldMakeTheLengthTheSumOfTheCountsRoundedDown()
    {
        QFETCH(QString, count);
        QFETCH(QString, length);
        Record record;
        record.settings.setPasswordLength(QStringLiteral("14"));
        record.settings.setNumUppercaseChars(count);
        QCOMPARE(record.settings.PasswordLength(), length);
        QCOMPARE(record.settings.NumLowercaseChars(), QStringLiteral("4")); // the other counts stay
        QCOMPARE(record.settings.NumSymbols(), QStringLiteral("2"));
        QVERIFY(record.prompter.messages.isEmpty());
    }

    void shouldChangeNothingElseBeforeTheFlagsAreOn()
    {
        GenerationSettings settings;
        ScriptedPrompter prompter;
        CountRules rules(settings, prompter);
        settings.setPasswordLength(QStringLiteral("14"));
        settings.setNumSymbols(QStringLiteral("3"));
        QCOMPARE(countsOf(settings), QStringLiteral("///3"));
        QCOMPARE(settings.PasswordLength(), QStringLiteral("14"));
    }

    void shouldAskForALengthWhenTheLengthIsNotANumber_data()
    {
        QTest::addColumn<QString>("length");
        QTest::newRow("cleared") << "";
        QTest::newRow("letters") << "ten";
    }
    void shouldAskForALengthWhenTheLengthIsNotANumber()
    {
        QFETCH(QString, length);
        Record record;
        record.settings.setPasswordLength(QStringLiteral("14"));
        record.settings.setPasswordLength(length);
        QCOMPARE(record.prompter.messages.size(), 1);
        const MessageRequest &message = record.prompter.messages.first();
        QCOMPARE(
            message.text,
            QStringLiteral(
                "Please specify the length of the password you want to generate (number of characters)."));
        QCOMPARE(message.title, QStringLiteral("Talvore Mintara 2.0"));
        QCOMPARE(message.buttons, MessageButtons::Ok);
        QCOMPARE(message.icon, MessageIcon::Exclamation);
        QCOMPARE(countsOf(record.settings), QStringLiteral("4/4/4/2"));
        QVERIFY(record.rules.CanAdjustLength()); // typing the next digit works again
        record.settings.setPasswordLength(QStringLiteral("7"));
        QCOMPARE(countsOf(record.settings), QStringLiteral("2/2/2/1"));
    }

    void shouldReportOverflowAboveTheLargestLengthAndKeepWhatWasWritten_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("counts");
        // Three counts are written before three times the quarter overflows; the symbols are not.
        QTest::newRow("three quarters too large") << "43691"
                                                  << "10923/10923/10923/";
        QTest::newRow("a quarter too large") << "140000"
                                             << "///";
        QTest::newRow("three quarters too small") << "-43691"
                                                  << "-10923/-10923/-10923/";
    }
    void shouldReportOverflowAboveTheLargestLengthAndKeepWhatWasWritten()
    {
        QFETCH(QString, length);
        QFETCH(QString, counts);
        Record record;
        record.settings.setPasswordLength(length);
        QCOMPARE(record.prompter.messages.size(), 1);
        const MessageRequest &report = record.prompter.messages.first();
        QCOMPARE(report.title, QStringLiteral("Error"));
        QVERIFY2(report.text.startsWith(QStringLiteral("Error #6\r\nOverflow\r\n")), qPrintable(report.text));
        QVERIFY(report.text.endsWith(QStringLiteral("Caused in:\tfrmAdvanced.AdjustNumbers()\r\n")));
        QCOMPARE(countsOf(record.settings), counts);
        QVERIFY(record.rules.CanAdjustLength());
    }
};

QTEST_GUILESS_MAIN(TestCountRules)
#include "tst_countrules.moc"
