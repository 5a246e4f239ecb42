#include "applicationtitle.h"
#include "eventyield.h"
#include "generationsettings.h"
#include "passwordcomposer.h"
#include "scriptedprompter.h"
#include "scriptedrandomsource.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <cmath>

namespace {

const QString LengthMessage = QStringLiteral(
    "Please enter the length of the password you want to generate (specify in the number of characters).");

void setCounts(GenerationSettings &settings, const QString &upper, const QString &lower,
               const QString &digits, const QString &symbols)
{
    settings.setNumUppercaseChars(upper);
    settings.setNumLowercaseChars(lower);
    settings.setNumNumbers(digits);
    settings.setNumSymbols(symbols);
}

std::array<int, 4> classCounts(const QString &password, const QString &pool)
{
    std::array<int, 4> counts {};
    for (const QChar c : password) {
        if (c >= u'A' && c <= u'Z')
            ++counts[0];
        else if (c >= u'a' && c <= u'z')
            ++counts[1];
        else if (c >= u'0' && c <= u'9')
            ++counts[2];
        else if (pool.contains(c))
            ++counts[3];
    }
    return counts;
}

// Everything a composer needs, with scripted prompts and a scripted, seeded random source.
struct Fixture
{
    GenerationSettings settings;
    ScriptedRandomSource random { 2024 };
    ScriptedPrompter prompter;
    EventYield yield;
    PasswordComposer composer { settings, random, prompter, yield };

    Fixture()
    {
        setCounts(settings, QStringLiteral("2"), QStringLiteral("2"), QStringLiteral("2"),
                  QStringLiteral("4"));
    }
};

} // namespace

class TestPasswordComposer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldPlaceExactlyTheCountOfEveryClass_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QStringList>("counts");
        QTest::newRow("default 10") << "10" << QStringList { "2", "2", "2", "4" };
        QTest::newRow("16 even") << "16" << QStringList { "4", "4", "4", "4" };
        QTest::newRow("letters only") << "8" << QStringList { "4", "4", "0", "0" };
        QTest::newRow("symbols only") << "5" << QStringList { "0", "0", "0", "5" };
    }
    void shouldPlaceExactlyTheCountOfEveryClass()
    {
        QFETCH(QString, length);
        QFETCH(QStringList, counts);
        Fixture f;
        setCounts(f.settings, counts[0], counts[1], counts[2], counts[3]);
        const QString pool = f.settings.symbolPool();
        for (int i = 0; i < 2000; ++i) {
            const QString password = f.composer.GenerateOnePassword(length);
            QCOMPARE(password.size(), length.toInt());
            const auto placed = classCounts(password, pool);
            for (int c = 0; c < 4; ++c) {
                QCOMPARE(placed[c], counts[c].toInt());
            }
        }
        QVERIFY(f.prompter.messages.isEmpty());
    }

    void shouldDrawWithTheExactBoundsInOrder()
    {
        Fixture f;
        setCounts(f.settings, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                  QStringLiteral("1"));
        // class 3 -> position 1; class 0 -> 'A'; class 0 again is full, rejected; class 1 -> 'z'; class 2 ->
        // '5'
        f.random.script({ 3, 1, 0, 65, 0, 1, 122, 2, 53 });
        QCOMPARE(f.composer.GenerateOnePassword(QStringLiteral("4")), QStringLiteral("~Az5"));
        const QList<QPair<qint32, qint32>> expected = {
            { 0, 3 }, { 1, 32 }, { 0, 3 }, { 65, 90 }, { 0, 3 }, { 0, 3 }, { 97, 122 }, { 0, 3 }, { 48, 57 },
        };
        QCOMPARE(f.random.draws, expected);
    }

    void shouldTakeSymbolPositionsFromThePoolInItsOrder()
    {
        Fixture f;
        f.settings.setAllSymbolsSelected(false);
        f.settings.setSymbolSelected(0, true);
        f.settings.setSymbolSelected(2, true);
        f.settings.setNonPrintableChars(1);
        setCounts(f.settings, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                  QStringLiteral("3"));
        f.random.script({ 3, 2, 3, 1, 3, 34 });
        QCOMPARE(f.composer.GenerateOnePassword(QStringLiteral("3")),
                 QStringLiteral("!~") + QChar(char16_t(31)));
        QCOMPARE(f.random.draws[1], qMakePair(1, 34));
    }

    void shouldGiveEqualPasswordsForEqualSeeds()
    {
        Fixture a;
        Fixture b;
        a.random.SetSeed(777);
        b.random.SetSeed(777);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(a.composer.GenerateOnePassword(QStringLiteral("10")),
                     b.composer.GenerateOnePassword(QStringLiteral("10")));
    }

    void shouldNotRepeatWhenSeededFromTheSystem()
    {
        Fixture f;
        RandomSource real;
        PasswordComposer composer(f.settings, real, f.prompter, f.yield);
        real.SetSeed(0);
        const QString first = composer.GenerateOnePassword(QStringLiteral("10"));
        QCOMPARE(first.size(), 10);
        real.SetSeed(0);
        QVERIFY(composer.GenerateOnePassword(QStringLiteral("10")) != first);
    }

    // Within a class every character is equally likely: a chi-square test over a fixed seed,
    // so it cannot flake. The 0.1% critical values for 25, 9 and 31 degrees of freedom.
    void shouldChooseCharactersUniformlyWithinAClass()
    {
        Fixture f;
        f.random.SetSeed(31337);
        setCounts(f.settings, QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("4"),
                  QStringLiteral("4"));
        const QString pool = f.settings.symbolPool();
        QHash<QChar, int> seen;
        const int passwords = 20000;
        for (int i = 0; i < passwords; ++i) {
            for (const QChar c : f.composer.GenerateOnePassword(QStringLiteral("16")))
                ++seen[c];
        }
        const auto chiSquare = [&](const QString &alphabet) {
            const double expected = passwords * 4.0 / alphabet.size();
            double sum = 0;
            for (const QChar c : alphabet)
                sum += std::pow(seen.value(c) - expected, 2) / expected;
            return sum;
        };
        QVERIFY(chiSquare(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")) < 52.62);
        QVERIFY(chiSquare(QStringLiteral("abcdefghijklmnopqrstuvwxyz")) < 52.62);
        QVERIFY(chiSquare(QStringLiteral("0123456789")) < 27.88);
        QVERIFY(chiSquare(pool) < 61.10);
    }

    void shouldMakeAnEmptyPasswordWithoutDrawingForLengthsBelowOne_data()
    {
        QTest::addColumn<QString>("length");
        QTest::newRow("zero") << "0";
        QTest::newRow("negative") << "-5";
        QTest::newRow("below one after rounding down") << "0.9";
    }
    void shouldMakeAnEmptyPasswordWithoutDrawingForLengthsBelowOne()
    {
        QFETCH(QString, length);
        Fixture f;
        QSignalSpy failed(&f.composer, &PasswordComposer::compositionFailed);
        QCOMPARE(f.composer.GenerateOnePassword(length), QString());
        QVERIFY(f.random.draws.isEmpty());
        QVERIFY(f.prompter.messages.isEmpty());
        QCOMPARE(failed.count(), 0);
    }

    void shouldShowTheLengthMessageForTextThatIsNotANumber_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("badCount");
        QTest::newRow("letters as length") << "abc"
                                           << "2";
        QTest::newRow("empty length") << ""
                                      << "2";
        QTest::newRow("letters as a count") << "10"
                                            << "x";
        QTest::newRow("empty count") << "10"
                                     << "";
    }
    void shouldShowTheLengthMessageForTextThatIsNotANumber()
    {
        QFETCH(QString, length);
        QFETCH(QString, badCount);
        Fixture f;
        f.settings.setNumNumbers(badCount);
        QSignalSpy failed(&f.composer, &PasswordComposer::compositionFailed);
        QCOMPARE(f.composer.GenerateOnePassword(length), QString());
        QCOMPARE(f.prompter.messages.size(), 1);
        const MessageRequest &message = f.prompter.messages.first();
        QCOMPARE(message.text, LengthMessage);
        QCOMPARE(message.title, applicationTitle());
        QCOMPARE(message.icon, MessageIcon::Exclamation);
        QCOMPARE(message.buttons, MessageButtons::Ok);
        QCOMPARE(failed.count(), 1);
    }

    void shouldReportOtherFailuresNamingTheOperation_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QStringList>("counts");
        QTest::addColumn<int>("symbolsSelected");
        QTest::addColumn<qint32>("error");
        QTest::newRow("length 40000")
            << "40000" << QStringList { "2", "2", "2", "4" } << 32 << ErrorNumber::Overflow;
        QTest::newRow("counts cannot fill")
            << "10" << QStringList { "1", "1", "1", "1" } << 32 << ErrorNumber::CountsCannotFillLength;
        QTest::newRow("all counts zero")
            << "3" << QStringList { "0", "0", "0", "0" } << 32 << ErrorNumber::CountsCannotFillLength;
        QTest::newRow("symbols wanted, none selected")
            << "10" << QStringList { "2", "2", "2", "4" } << 0 << ErrorNumber::NoSymbolsToDraw;
    }
    void shouldReportOtherFailuresNamingTheOperation()
    {
        QFETCH(QString, length);
        QFETCH(QStringList, counts);
        QFETCH(int, symbolsSelected);
        QFETCH(qint32, error);
        Fixture f;
        setCounts(f.settings, counts[0], counts[1], counts[2], counts[3]);
        f.settings.setAllSymbolsSelected(symbolsSelected == 32);
        QSignalSpy failed(&f.composer, &PasswordComposer::compositionFailed);
        QCOMPARE(f.composer.GenerateOnePassword(length), QString());
        QCOMPARE(f.prompter.messages.size(), 1);
        const MessageRequest &report = f.prompter.messages.first();
        QCOMPARE(report.title, QStringLiteral("Error"));
        QVERIFY2(report.text.startsWith(QStringLiteral("Error #") + QString::number(error) +
                                        QStringLiteral("\r\n")),
                 qPrintable(report.text));
        QVERIFY(report.text.endsWith(QStringLiteral("Caused in:\tfrmMain.GenerateOnePassword()\r\n")));
        QCOMPARE(failed.count(), 1);
    }

    void shouldLetAClassWithAFractionalCountTakeOneMore()
    {
        Fixture f;
        setCounts(f.settings, QStringLiteral("2.5"), QStringLiteral("0"), QStringLiteral("0"),
                  QStringLiteral("0"));
        QCOMPARE(f.composer.GenerateOnePassword(QStringLiteral("3")).size(), 3); // 0, 1 and 2 are below 2.5
        QVERIFY(f.prompter.messages.isEmpty());
        f.composer.GenerateOnePassword(QStringLiteral("4"));
        QCOMPARE(f.prompter.messages.size(), 1); // a fourth has no room
    }

    void shouldStopAtTheLengthWhenCountsAddUpToMore()
    {
        Fixture f;
        setCounts(f.settings, QStringLiteral("5"), QStringLiteral("5"), QStringLiteral("5"),
                  QStringLiteral("5"));
        for (int i = 0; i < 200; ++i)
            QCOMPARE(f.composer.GenerateOnePassword(QStringLiteral("6")).size(), 6);
    }

    void shouldUseTheOneSelectedSymbolForEverySymbol()
    {
        Fixture f;
        f.settings.setAllSymbolsSelected(false);
        f.settings.setSymbolSelected(17, true);
        for (int i = 0; i < 100; ++i) {
            const QString password = f.composer.GenerateOnePassword(QStringLiteral("10"));
            QCOMPARE(password.count(u'\\'), 4);
        }
    }

    void shouldNeverPlaceControlCharactersWithoutSymbols()
    {
        Fixture f;
        f.settings.setNonPrintableChars(1);
        f.settings.setExtendedSymbolChars(1);
        setCounts(f.settings, QStringLiteral("4"), QStringLiteral("4"), QStringLiteral("4"),
                  QStringLiteral("0"));
        for (int i = 0; i < 500; ++i) {
            for (const QChar c : f.composer.GenerateOnePassword(QStringLiteral("12")))
                QVERIFY(c.unicode() >= 32 && c.unicode() < 128);
        }
    }

    void shouldDrawFromTheHundredAndSixtyExtraCharactersAlone()
    {
        Fixture f;
        f.settings.setAllSymbolsSelected(false);
        f.settings.setNonPrintableChars(1);
        f.settings.setExtendedSymbolChars(1);
        setCounts(f.settings, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                  QStringLiteral("40"));
        const QString password = f.composer.GenerateOnePassword(QStringLiteral("40"));
        QCOMPARE(password.size(), 40);
        for (const QChar c : password)
            QVERIFY(f.settings.symbolPool().contains(c));
        for (const auto &draw : f.random.draws) {
            if (draw.first == 1)
                QCOMPARE(draw.second, 160);
        }
    }

    void shouldReadCountsAfreshAtEveryDraw()
    {
        Fixture f;
        setCounts(f.settings, QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                  QStringLiteral("200"));
        // Events that run between draws change the counts, as a user could meanwhile.
        struct ChangingYield : EventYield
        {
            GenerationSettings *settings = nullptr;
            ChangingYield()
                : EventYield(0)
            { }
            void yieldNow() override
            {
                settings->setNumSymbols(QStringLiteral("0"));
                settings->setNumNumbers(QStringLiteral("200"));
            }
        } yield;
        yield.settings = &f.settings;
        PasswordComposer composer(f.settings, f.random, f.prompter, yield);
        const QString password = composer.GenerateOnePassword(QStringLiteral("200"));
        QCOMPARE(password.size(), 200);
        const qsizetype firstDigit = password.indexOf(QRegularExpression(QStringLiteral("[0-9]")));
        QVERIFY(firstDigit > 0);
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9]+$")).match(password.mid(firstDigit)).hasMatch());
        QVERIFY(f.prompter.messages.isEmpty());
    }

    // A class draw outside 0..3 is thrown back like a full class, whichever way it misses.
    void shouldRejectClassDrawsOutsideZeroToThree_data()
    {
        QTest::addColumn<qint32>("drawn");
        QTest::newRow("4") << 4;
        QTest::newRow("-1") << -1;
        QTest::newRow("largest") << qint32(2147483647);
    }
    void shouldRejectClassDrawsOutsideZeroToThree()
    {
        QFETCH(qint32, drawn);
        Fixture f;
        setCounts(f.settings, QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("0"),
                  QStringLiteral("0"));
        f.random.script({ drawn, 0, 65 });
        QCOMPARE(f.composer.GenerateOnePassword(QStringLiteral("1")), QStringLiteral("A"));
        const QList<QPair<qint32, qint32>> expected = { { 0, 3 }, { 0, 3 }, { 65, 90 } };
        QCOMPARE(f.random.draws, expected);
        QVERIFY(f.prompter.messages.isEmpty());
    }

    // Every class draw, taken or thrown back, gives the event loop its chance; the yield
    // itself decides how often events really run (here: every 64th chance).
    void shouldOfferTheEventLoopAChanceAtEveryClassDraw()
    {
        struct CountingYield : EventYield
        {
            int yields = 0;
            CountingYield()
                : EventYield(0)
            { }
            void yieldNow() override { ++yields; }
        } yield;
        Fixture f;
        PasswordComposer composer(f.settings, f.random, f.prompter, yield);
        setCounts(f.settings, QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"),
                  QStringLiteral("61"));
        for (int i = 0; i < 20; ++i)
            QCOMPARE(composer.GenerateOnePassword(QStringLiteral("64")).size(), 64);
        const auto classDraws = f.random.draws.count(qMakePair(0, 3));
        QVERIFY(classDraws > 20 * 64 + 64); // some were thrown back
        QCOMPARE(yield.yields, classDraws / 64);
    }

    // With several problems, the one met first is reported, once, and nothing composed before
    // it survives: the length is read before any draw, a count when its class is drawn.
    void shouldReportTheFirstProblemItMeets_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QStringList>("counts");
        QTest::addColumn<bool>("symbolsSelected");
        QTest::addColumn<QList<qint32>>("script");
        QTest::addColumn<qint32>("error");
        QTest::addColumn<int>("draws");
        QTest::newRow("length too large before counts that cannot fill")
            << "40000" << QStringList { "0", "0", "0", "0" } << true << QList<qint32>()
            << ErrorNumber::Overflow << 0;
        QTest::newRow("length not a number before missing symbols")
            << "abc" << QStringList { "2", "2", "2", "4" } << false << QList<qint32>()
            << ErrorNumber::TypeMismatch << 0;
        QTest::newRow("missing symbols after a letter was placed")
            << "2" << QStringList { "1", "0", "0", "1" } << false << QList<qint32> { 0, 65, 3 }
            << ErrorNumber::NoSymbolsToDraw << 3;
        QTest::newRow("a bad count once its class is drawn")
            << "2" << QStringList { "1", "x", "0", "1" } << true << QList<qint32> { 0, 65, 1 }
            << ErrorNumber::TypeMismatch << 3;
        QTest::newRow("no room left at the first refused draw")
            << "3" << QStringList { "1", "0", "0", "0" } << true << QList<qint32> { 0, 65, 0 }
            << ErrorNumber::CountsCannotFillLength << 3;
    }
    void shouldReportTheFirstProblemItMeets()
    {
        QFETCH(QString, length);
        QFETCH(QStringList, counts);
        QFETCH(bool, symbolsSelected);
        QFETCH(QList<qint32>, script);
        QFETCH(qint32, error);
        QFETCH(int, draws);
        Fixture f;
        setCounts(f.settings, counts[0], counts[1], counts[2], counts[3]);
        f.settings.setAllSymbolsSelected(symbolsSelected);
        for (const qint32 result : script)
            f.random.script({ result });
        QSignalSpy failed(&f.composer, &PasswordComposer::compositionFailed);
        QCOMPARE(f.composer.GenerateOnePassword(length), QString());
        QCOMPARE(f.random.draws.size(), draws);
        QCOMPARE(failed.count(), 1);
        QCOMPARE(f.prompter.messages.size(), 1);
        const QString text = f.prompter.messages.first().text;
        if (error == ErrorNumber::TypeMismatch)
            QCOMPARE(text, LengthMessage);
        else
            QVERIFY2(text.startsWith(QStringLiteral("Error #%1\r\n").arg(error)), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestPasswordComposer)
#include "tst_passwordcomposer.moc"
