#include "applicationtitle.h"
#include "eventyield.h"
#include "generationsettings.h"
#include "passwordcomposer.h"
#include "scriptedprompter.h"
#include "scriptedrandomsource.h"

#include <QCryptographicHash>
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

    // The draws a seed gives are part of the program's promise (equal seeds, equal passwords,
    // across versions too): these digests were recorded before the composer was made faster.
    void shouldComposeTheRecordedPasswordsForASeed_data()
    {
        QTest::addColumn<qint32>("seed");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QStringList>("counts");
        QTest::addColumn<int>("symbols"); // how many of the first symbols stay selected
        QTest::addColumn<int>("extras"); // 1: control characters, 2: extended, 3: both
        QTest::addColumn<QString>("first"); // 12 characters, as percent-encoded UTF-8
        QTest::addColumn<QByteArray>("digest");
        QTest::newRow("default 10")
            << 1 << "10" << QStringList { "2", "2", "2", "4" } << 32 << 0 << "WmmM%277%2B%3D%5B5"
            << QByteArray("c8470e660d328d49411bf48a56990469474e216919ab0850f354578b6d71a8cd");
        QTest::newRow("16 even") << 777 << "16" << QStringList { "4", "4", "4", "4" } << 32 << 0
                                 << "LWgcmU%3Eu5Y2~"
                                 << QByteArray(
                                        "55efe128294d27a52d77c180d117f438cc8868498ae42c836c6074e93ffc4970");
        QTest::newRow("fractional, extras")
            << 31337 << "12" << QStringList { "2.5", "3", "0", "6.7" } << 5 << 3
            << "g%1C%C2%B5%CB%9CFgw%C2%A1%E2%80%9D%C3%A8%E2%80%9CE"
            << QByteArray("9e00c29d801d12f71be9c77f6279e239518c3bf3b1fd05300e6d490b71951a8d");
        QTest::newRow("counts above the length")
            << 42 << "6" << QStringList { "5", "5", "5", "5" } << 32 << 0 << "%28wZ~7~"
            << QByteArray("d73a2fbd83b03a24b619dd81b7ff5a967fa64600d1e9e5252a58e96c014b3a17");
        QTest::newRow("extended symbols only")
            << -9 << "40" << QStringList { "0", "0", "0", "40" } << 0 << 2
            << "%C2%B6%C3%86%C3%AA%C2%A7%C5%93%C3%95%C3%B8%C6%92%C5%A1%E2%80%A1%C3%9F%C2%81"
            << QByteArray("54b503d119f8c73f1d8f3bf57db9e0a59290731473b2208406e01ca8aa65aa51");
        QTest::newRow("letters only, long")
            << 2147483647 << "300" << QStringList { "150", "150", "0", "0" } << 32 << 0 << "UkKOtnZAxVRB"
            << QByteArray("91164f278c7c503d6415239ddac107447ca0413ae87e59a2d77ab6e8e12af107");
    }
    void shouldComposeTheRecordedPasswordsForASeed()
    {
        QFETCH(qint32, seed);
        QFETCH(QString, length);
        QFETCH(QStringList, counts);
        QFETCH(int, symbols);
        QFETCH(int, extras);
        QFETCH(QString, first);
        QFETCH(QByteArray, digest);
        GenerationSettings settings;
        setCounts(settings, counts[0], counts[1], counts[2], counts[3]);
        for (int i = 0; i < GenerationSettings::SymbolCount; ++i)
            settings.setSymbolSelected(i, i < symbols);
        settings.setNonPrintableChars(extras & 1);
        settings.setExtendedSymbolChars(extras >> 1 & 1);
        RandomSource random;
        random.SetSeed(seed);
        ScriptedPrompter prompter;
        EventYield yield;
        PasswordComposer composer(settings, random, prompter, yield);

        QCryptographicHash hash(QCryptographicHash::Sha256);
        QString firstPassword;
        for (int i = 0; i < 500; ++i) {
            const QString password = composer.GenerateOnePassword(length);
            if (i == 0)
                firstPassword = password;
            hash.addData(QByteArrayView(reinterpret_cast<const char *>(password.utf16()),
                                        password.size() * qsizetype(sizeof(char16_t))));
            hash.addData("\n");
        }
        QVERIFY(prompter.messages.isEmpty());
        // The first password's start says where a difference begins.
        QCOMPARE(QString::fromLatin1(firstPassword.left(12).toUtf8().toPercentEncoding("~")), first);
        QCOMPARE(hash.result().toHex(), digest);
    }

    // The plain source is drawn from inline, any other through RandomBetween(): a source that
    // only passes its draws on gives the same passwords.
    void shouldComposeAlikeThroughASourceThatOverridesTheDraw_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QStringList>("counts");
        QTest::addColumn<int>("extras");
        QTest::newRow("16 even") << "16" << QStringList { "4", "4", "4", "4" } << 0;
        QTest::newRow("fractional, extras") << "12" << QStringList { "2.5", "3", "0", "6.7" } << 3;
        QTest::newRow("counts above the length") << "6" << QStringList { "5", "5", "5", "5" } << 0;
    }
    void shouldComposeAlikeThroughASourceThatOverridesTheDraw()
    {
        QFETCH(QString, length);
        QFETCH(QStringList, counts);
        QFETCH(int, extras);
        Fixture f;
        setCounts(f.settings, counts[0], counts[1], counts[2], counts[3]);
        f.settings.setNonPrintableChars(extras & 1);
        f.settings.setExtendedSymbolChars(extras >> 1 & 1);
        RandomSource plain;
        PasswordComposer composer(f.settings, plain, f.prompter, f.yield);
        plain.SetSeed(31);
        f.random.SetSeed(31);
        for (int i = 0; i < 300; ++i)
            QCOMPARE(composer.compose(length), f.composer.compose(length));
        QVERIFY(f.random.draws.size() > 300 * length.toDouble());
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
        // A count its 16-bit counter can never reach used to run on for ever with a wrapping
        // counter; it is an overflow, found at its first reading.
        QTest::newRow("count 40000 at length 32767")
            << "32767" << QStringList { "40000", "-7233", "0", "0" } << 32 << ErrorNumber::Overflow;
        QTest::newRow("count 40000 at length 10")
            << "10" << QStringList { "2", "2", "40000", "-39994" } << 32 << ErrorNumber::Overflow;
        QTest::newRow("count -40000")
            << "10" << QStringList { "40010", "-40000", "0", "0" } << 32 << ErrorNumber::Overflow;
        // Too large to be a number at all: the overflow a fresh read gives, not the length message.
        QTest::newRow("count 1e400") << "10" << QStringList { "2", "1e400", "2", "4" } << 32
                                     << ErrorNumber::Overflow;
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

    // The position counter used to be 16-bit: after position 32767 it wrapped, so the longest
    // length ended with "counts add up to less" and an empty password.
    void shouldComposeLength32767WithoutWrappingThePosition()
    {
        Fixture f;
        setCounts(f.settings, QStringLiteral("8192"), QStringLiteral("8192"), QStringLiteral("8192"),
                  QStringLiteral("8191"));
        const QString password = f.composer.GenerateOnePassword(QStringLiteral("32767"));
        QVERIFY2(f.prompter.messages.isEmpty(), qPrintable(f.prompter.messages.value(0).text));
        QCOMPARE(password.size(), 32767);
        const auto placed = classCounts(password, f.settings.symbolPool());
        QCOMPARE(placed, (std::array<int, 4> { 8192, 8192, 8192, 8191 }));
    }

    // Every length the window accepts composes or ends with a report: one class taking the
    // whole of the longest length, and counts that leave the last position without room.
    void shouldComposeOrReportAtTheLongestLength_data()
    {
        QTest::addColumn<QStringList>("counts");
        QTest::addColumn<qint32>("error");
        QTest::newRow("one class") << QStringList { "0", "0", "32767", "0" } << 0;
        QTest::newRow("one short") << QStringList { "8192", "8192", "8192", "8190" }
                                   << ErrorNumber::CountsCannotFillLength;
    }
    void shouldComposeOrReportAtTheLongestLength()
    {
        QFETCH(QStringList, counts);
        QFETCH(qint32, error);
        Fixture f;
        setCounts(f.settings, counts[0], counts[1], counts[2], counts[3]);
        const QString password = f.composer.GenerateOnePassword(QStringLiteral("32767"));
        if (error == 0) {
            QCOMPARE(password.size(), 32767);
            QVERIFY(f.prompter.messages.isEmpty());
        } else {
            QVERIFY(password.isEmpty());
            QCOMPARE(f.prompter.messages.size(), 1);
            QVERIFY(f.prompter.messages.first().text.startsWith(QStringLiteral("Error #") +
                                                                QString::number(error)));
        }
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
        // However small the fraction, it is room for one more.
        setCounts(f.settings, QStringLiteral("2.2"), QStringLiteral("0"), QStringLiteral("0"),
                  QStringLiteral("0"));
        QCOMPARE(f.composer.GenerateOnePassword(QStringLiteral("3")).size(), 3);
        QCOMPARE(f.prompter.messages.size(), 1);
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

    // A composer off the user-interface thread is given a yield that never runs events.
    void shouldNeverYieldWithANegativeInterval()
    {
        struct CountingYield : EventYield
        {
            int yields = 0;
            CountingYield()
                : EventYield(-1)
            { }
            void yieldNow() override { ++yields; }
        } yield;
        Fixture f;
        setCounts(f.settings, QStringLiteral("160"), QStringLiteral("160"), QStringLiteral("160"),
                  QStringLiteral("160"));
        PasswordComposer composer(f.settings, f.random, f.prompter, yield);
        for (int i = 0; i < 20; ++i)
            QCOMPARE(composer.compose(QStringLiteral("640")).size(), 640);
        QCOMPARE(yield.yields, 0);
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
