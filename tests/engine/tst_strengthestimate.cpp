#include "generationsettings.h"
#include "strengthestimate.h"

#include <QTest>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

Q_DECLARE_METATYPE(CompositionShape)

namespace {

// Runs the composition process itself over every possible password: at each position a class
// uniformly among those with room, then each character of its pool; the probability of every
// finished password is summed (several paths never meet, but nothing here relies on that) and
// the entropy taken over the passwords.
double bruteForceEntropy(const CompositionShape &shape)
{
    std::map<std::vector<int>, double> passwords;
    std::vector<int> password;
    std::array<int, 4> placed {};
    std::function<void(double)> place = [&](double probability) {
        if (int(password.size()) == shape.length) {
            passwords[password] += probability;
            return;
        }
        int open = 0;
        for (int c = 0; c < 4; ++c)
            open += placed[std::size_t(c)] < shape.capacity[std::size_t(c)] ? 1 : 0;
        for (int c = 0; c < 4; ++c) {
            if (placed[std::size_t(c)] >= shape.capacity[std::size_t(c)])
                continue;
            ++placed[std::size_t(c)];
            const int pool = shape.poolSize[std::size_t(c)];
            for (int character = 0; character < pool; ++character) {
                // Characters of different classes are different characters.
                password.push_back(c * 1000 + character);
                place(probability / open / pool);
                password.pop_back();
            }
            --placed[std::size_t(c)];
        }
    };
    place(1.0);
    double entropy = 0;
    for (const auto &[text, probability] : passwords)
        entropy -= probability * std::log2(probability);
    return entropy;
}

CompositionShape shape(int length, std::array<int, 4> capacity, std::array<int, 4> poolSize)
{
    CompositionShape s;
    s.length = length;
    s.capacity = capacity;
    s.poolSize = poolSize;
    return s;
}

// The counts the window derives from a length: a quarter each (halves to even), symbols the rest.
void setLength(GenerationSettings &settings, int length)
{
    const int quarter = int(std::nearbyint(length / 4.0));
    settings.setNumUppercaseChars(QString::number(quarter));
    settings.setNumLowercaseChars(QString::number(quarter));
    settings.setNumNumbers(QString::number(quarter));
    settings.setNumSymbols(QString::number(length - 3 * quarter));
    settings.setPasswordLength(QString::number(length));
}

void setCounts(GenerationSettings &settings, const char *upper, const char *lower, const char *digits,
               const char *symbols)
{
    settings.setNumUppercaseChars(QLatin1String(upper));
    settings.setNumLowercaseChars(QLatin1String(lower));
    settings.setNumNumbers(QLatin1String(digits));
    settings.setNumSymbols(QLatin1String(symbols));
}

} // namespace

class tst_StrengthEstimate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldMatchBruteForceEnumeration_data()
    {
        QTest::addColumn<CompositionShape>("composition");
        QTest::newRow("one of each, small pools") << shape(4, { 1, 1, 1, 1 }, { 2, 3, 2, 4 });
        QTest::newRow("2/1/1/0, unequal pools") << shape(4, { 2, 1, 1, 0 }, { 3, 2, 5, 7 });
        QTest::newRow("one class only") << shape(3, { 0, 0, 0, 3 }, { 1, 1, 1, 5 });
        QTest::newRow("pool of one") << shape(4, { 2, 0, 1, 1 }, { 1, 1, 3, 1 });
        QTest::newRow("3/2/0/0") << shape(5, { 3, 2, 0, 0 }, { 2, 2, 1, 1 });
        QTest::newRow("capacities beyond the length") << shape(4, { 2, 2, 1, 1 }, { 2, 2, 3, 2 });
        QTest::newRow("fractional counts rounded up") << shape(3, { 3, 1, 1, 0 }, { 2, 3, 2, 1 });
        QTest::newRow("capacity larger than length") << shape(3, { 9, 9, 0, 0 }, { 2, 2, 1, 1 });
    }

    void shouldMatchBruteForceEnumeration()
    {
        QFETCH(CompositionShape, composition);
        const StrengthFigure figure = StrengthEstimate::entropyOf(composition);
        QCOMPARE(figure.kind, StrengthFigure::Kind::Exact);
        QVERIFY2(std::abs(figure.bits - bruteForceEntropy(composition)) < 1e-9,
                 qPrintable(QString::number(figure.bits, 'g', 17) + QStringLiteral(" vs ") +
                            QString::number(bruteForceEntropy(composition), 'g', 17)));
    }

    void shouldAgreeWithTheStateWalkInClosedForm_data()
    {
        QTest::addColumn<CompositionShape>("composition");
        QTest::newRow("default split of 10") << shape(10, { 2, 2, 2, 4 }, { 26, 26, 10, 32 });
        QTest::newRow("default split of 40") << shape(40, { 10, 10, 10, 10 }, { 26, 26, 10, 32 });
        QTest::newRow("uneven 61") << shape(61, { 3, 25, 0, 33 }, { 26, 26, 10, 94 });
        QTest::newRow("two classes") << shape(50, { 0, 20, 30, 0 }, { 26, 26, 10, 32 });
        QTest::newRow("one class") << shape(20, { 0, 0, 20, 0 }, { 26, 26, 10, 32 });
        QTest::newRow("one of each") << shape(4, { 1, 1, 1, 1 }, { 26, 26, 10, 1 });
        QTest::newRow("default split of 140") << shape(140, { 35, 35, 35, 35 }, { 26, 26, 10, 32 });
    }

    void shouldAgreeWithTheStateWalkInClosedForm()
    {
        QFETCH(CompositionShape, composition);
        const StrengthFigure walked = StrengthEstimate::entropyOf(composition);
        const StrengthFigure closed = StrengthEstimate::entropyOf(composition, 0);
        QCOMPARE(walked.kind, StrengthFigure::Kind::Exact);
        QCOMPARE(closed.kind, StrengthFigure::Kind::Exact);
        QVERIFY2(std::abs(walked.bits - closed.bits) < 1e-9 * walked.bits,
                 qPrintable(QString::number(walked.bits, 'g', 17) + QStringLiteral(" vs ") +
                            QString::number(closed.bits, 'g', 17)));
    }

    void shouldGiveHandComputedValuesForDefaultSplits_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<double>("bits");
        QTest::addColumn<QString>("shown");
        // 1/1/1/0: 3! equally likely orders, 26 * 26 * 10 characters.
        QTest::newRow("3") << QStringLiteral("3") << std::log2(6.0 * 26 * 26 * 10) << "15.3 bits";
        // 0/0/0/2: two of the 32 symbols.
        QTest::newRow("2") << QStringLiteral("2") << 10.0 << "10.0 bits";
        // 2/2/2/4: 6 log2 26 + 2 log2 10 + 4 log2 32 for the characters, 13.2574 for the class
        // sequence (below log2 18900 = 14.21: the 18900 arrangements are not equally likely).
        QTest::newRow("10, the default") << QStringLiteral("10") << 58.702997780973620 << "58.7 bits";
        // 3/3/3/2, summed over the 92400 arrangements with their own probabilities.
        QTest::newRow("11") << QStringLiteral("11") << 63.973062851459210 << "64.0 bits"; // rounded
    }

    void shouldGiveHandComputedValuesForDefaultSplits()
    {
        QFETCH(QString, length);
        QFETCH(double, bits);
        QFETCH(QString, shown);
        GenerationSettings settings;
        setLength(settings, length.toInt());
        const StrengthFigure figure = StrengthEstimate::ofSettings(settings);
        QCOMPARE(figure.kind, StrengthFigure::Kind::Exact);
        QVERIFY2(std::abs(figure.bits - bits) < 1e-9, qPrintable(QString::number(figure.bits, 'g', 17)));
        QCOMPARE(figure.text(), shown);
    }

    void shouldBoundTheExactFigureWhenStatesRunOut_data()
    {
        QTest::addColumn<CompositionShape>("composition");
        QTest::newRow("default split of 40") << shape(40, { 10, 10, 10, 10 }, { 26, 26, 10, 32 });
        QTest::newRow("uneven 30") << shape(30, { 3, 12, 0, 15 }, { 26, 26, 10, 94 });
        QTest::newRow("two classes") << shape(30, { 0, 12, 18, 0 }, { 26, 26, 10, 32 });
        QTest::newRow("capacities beyond the length") << shape(25, { 9, 9, 9, 9 }, { 26, 26, 10, 160 });
    }

    void shouldBoundTheExactFigureWhenStatesRunOut()
    {
        QFETCH(CompositionShape, composition);
        const StrengthFigure exact = StrengthEstimate::entropyOf(composition);
        const StrengthFigure bound = StrengthEstimate::entropyOf(composition, 8, 0);
        QCOMPARE(exact.kind, StrengthFigure::Kind::Exact);
        QCOMPARE(bound.kind, StrengthFigure::Kind::Bounded);
        QVERIFY2(bound.bits <= exact.bits + 1e-9 && exact.bits <= bound.upperBits + 1e-9,
                 qPrintable(
                     QStringLiteral("%1 <= %2 <= %3").arg(bound.bits).arg(exact.bits).arg(bound.upperBits)));
        QVERIFY(bound.text().startsWith(QStringLiteral("at least ")));
    }

    void shouldStayExactOverTheUsualLengthsAndBoundOnlyTheLongest()
    {
        for (int length : { 1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  11,  12,   13,   14,
                            15, 16, 17, 18, 19, 20, 24, 32, 64, 100, 150, 1000, 10000 }) {
            GenerationSettings settings;
            setLength(settings, length);
            QCOMPARE(StrengthEstimate::ofSettings(settings).kind, StrengthFigure::Kind::Exact);
        }
        // Past the walk through the states, the closed form still gives the exact figure...
        const CompositionShape longer = shape(2000, { 500, 500, 500, 500 }, { 26, 26, 10, 32 });
        const StrengthFigure exact = StrengthEstimate::entropyOf(longer);
        QCOMPARE(exact.kind, StrengthFigure::Kind::Exact);
        const StrengthFigure bounds = StrengthEstimate::entropyOf(longer, 0, 0);
        QVERIFY(bounds.bits < exact.bits && exact.bits < bounds.upperBits);
        // ...and beyond what the window's length box offers a bound remains.
        const StrengthFigure longest =
            StrengthEstimate::entropyOf(shape(30000, { 7500, 7500, 7500, 7500 }, { 26, 26, 10, 32 }));
        QCOMPARE(longest.kind, StrengthFigure::Kind::Bounded);
        // The characters alone give 15000 log2 26 + 7500 log2 10 + 7500 log2 32; the class
        // sequence adds at most 2 bits a position.
        const double characters = 15000 * std::log2(26.0) + 7500 * std::log2(10.0) + 37500;
        QVERIFY(longest.bits > characters);
        QVERIFY(longest.upperBits > longest.bits);
        QVERIFY(longest.upperBits < characters + 2 * 30000);
    }

    void shouldReadTheShapeFromTheSettings()
    {
        GenerationSettings settings;
        setCounts(settings, "2.5", "2", "0", "4");
        settings.setPasswordLength(QStringLiteral("8.9"));
        settings.setNonPrintableChars(1);
        settings.setExtendedSymbolChars(1);
        settings.setSymbolSelected(3, false);
        const std::optional<CompositionShape> s = StrengthEstimate::shapeOf(settings);
        QVERIFY(s);
        QCOMPARE(s->length, 8);
        QCOMPARE(s->capacity, (std::array { 3, 2, 0, 4 }));
        QCOMPARE(s->poolSize, (std::array { 26, 26, 10, 31 + 32 + 128 }));
        // A class places while its count exceeds what it has placed: 1.2 places two.
        setCounts(settings, "2.5", "1.2", "0", "4");
        QCOMPARE(StrengthEstimate::shapeOf(settings)->capacity, (std::array { 3, 2, 0, 4 }));
    }

    void shouldGiveNoFigureWhenNothingCanBeComposed_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("symbols");
        QTest::addColumn<bool>("anySymbolSelected");
        QTest::addColumn<QString>("reason");
        QTest::newRow("length not a number") << QStringLiteral("ten") << QStringLiteral("4") << true
                                             << QStringLiteral("the password length is not a number");
        QTest::newRow("count not a number") << QStringLiteral("10") << QStringLiteral("x") << true
                                            << QStringLiteral("a character count is not a number");
        QTest::newRow("counts short of the length")
            << QStringLiteral("12") << QStringLiteral("4") << true
            << QStringLiteral("the character counts add up to less than the length");
        QTest::newRow("no symbol selected") << QStringLiteral("10") << QStringLiteral("4") << false
                                            << QStringLiteral("symbols are wanted but none is selected");
    }

    void shouldGiveNoFigureWhenNothingCanBeComposed()
    {
        QFETCH(QString, length);
        QFETCH(QString, symbols);
        QFETCH(bool, anySymbolSelected);
        QFETCH(QString, reason);
        GenerationSettings settings;
        setCounts(settings, "2", "2", "2", "4");
        settings.setNumSymbols(symbols);
        settings.setPasswordLength(length);
        settings.setAllSymbolsSelected(anySymbolSelected);
        const StrengthFigure figure = StrengthEstimate::ofSettings(settings);
        QCOMPARE(figure.kind, StrengthFigure::Kind::Unavailable);
        QCOMPARE(figure.text(), reason);
    }

    void shouldCapAUserSeedAtThirtyTwoBits_data()
    {
        QTest::addColumn<QString>("seed");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("text");
        QTest::newRow("long password") << QStringLiteral("12345") << QStringLiteral("10")
                                       << QStringLiteral("at most 32 bits (user seed)");
        QTest::newRow("very long password")
            << QStringLiteral("-7") << QStringLiteral("400") << QStringLiteral("at most 32 bits (user seed)");
        QTest::newRow("short password") << QStringLiteral("12345") << QStringLiteral("3")
                                        << QStringLiteral("at most 15.3 bits (user seed)");
        QTest::newRow("seed 0 is the system source")
            << QStringLiteral("0") << QStringLiteral("10") << QStringLiteral("58.7 bits");
    }

    void shouldCapAUserSeedAtThirtyTwoBits()
    {
        QFETCH(QString, seed);
        QFETCH(QString, length);
        QFETCH(QString, text);
        GenerationSettings settings;
        setLength(settings, length.toInt());
        settings.setUseDefault(false);
        settings.setUserSeed(seed);
        QCOMPARE(StrengthEstimate::ofSettings(settings).text(), text);
    }
};

QTEST_GUILESS_MAIN(tst_StrengthEstimate)
#include "tst_strengthestimate.moc"
