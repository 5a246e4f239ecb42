#include "errorof.h"
#include "errorrecord.h"
#include "randomsource.h"

#include <QSet>
#include <QTest>
#include <vector>

class TestRandomSource : public QObject
{
    Q_OBJECT

private:
    static std::vector<qint32> draws(RandomSource &source, int n, qint32 low, qint32 high)
    {
        std::vector<qint32> out;
        for (int i = 0; i < n; ++i)
            out.push_back(source.RandomBetween(low, high));
        return out;
    }

private Q_SLOTS:
    void shouldRepeatTheSequenceOfAUserSeed()
    {
        RandomSource a;
        RandomSource b;
        a.SetSeed(12345);
        b.SetSeed(12345);
        QCOMPARE(draws(a, 5000, 0, 1000), draws(b, 5000, 0, 1000));

        // Seeding again starts the sequence over, whatever was drawn before.
        a.SetSeed(12345);
        const auto first = draws(a, 100, 1, 6);
        draws(a, 3000, 0, 9);
        a.SetSeed(12345);
        QCOMPARE(draws(a, 100, 1, 6), first);
    }

    void shouldGiveDifferentSeedsDifferentSequences()
    {
        RandomSource a;
        RandomSource b;
        a.SetSeed(1);
        b.SetSeed(2);
        QVERIFY(draws(a, 64, 0, 1 << 30) != draws(b, 64, 0, 1 << 30));
        a.SetSeed(-1);
        b.SetSeed(1);
        QVERIFY(draws(a, 64, 0, 1 << 30) != draws(b, 64, 0, 1 << 30));
    }

    void shouldNotRepeatWhenSeededFromTheSystem()
    {
        RandomSource a;
        a.SetSeed(0);
        const auto first = draws(a, 32, 0, 1 << 30);
        a.SetSeed(0);
        QVERIFY(draws(a, 32, 0, 1 << 30) != first);
        RandomSource b; // unseeded: also from the system
        QVERIFY(draws(b, 32, 0, 1 << 30) != first);
    }

    void shouldStayWithinBothBounds_data()
    {
        QTest::addColumn<qint32>("low");
        QTest::addColumn<qint32>("high");
        QTest::newRow("class") << 0 << 3;
        QTest::newRow("upper-case") << 65 << 90;
        QTest::newRow("single value") << 7 << 7;
        QTest::newRow("negative") << -5 << 5;
        QTest::newRow("full range") << qint32(-2147483647 - 1) << qint32(2147483647);
        QTest::newRow("upper half") << 0 << qint32(2147483647);
    }
    void shouldStayWithinBothBounds()
    {
        QFETCH(qint32, low);
        QFETCH(qint32, high);
        RandomSource source;
        source.SetSeed(99);
        QSet<qint32> seen;
        for (int i = 0; i < 20000; ++i) {
            const qint32 value = source.RandomBetween(low, high);
            QVERIFY(value >= low && value <= high);
            seen.insert(value);
        }
        if (qint64(high) - low < 100) // small ranges: every value, both bounds included, turns up
            QCOMPARE(seen.size(), qsizetype(qint64(high) - low + 1));
    }

    void shouldRefuseBoundsTheWrongWayRound()
    {
        RandomSource source;
        QCOMPARE(errorOf([&] { source.RandomBetween(3, 2); }), ErrorNumber::InvalidArgument);
    }

    // A range that does not divide 2^32 is where modulo bias would show: with range 3 * 2^30,
    // taking the word modulo the range makes the first third twice as likely as the rest.
    void shouldDrawWithoutModuloBias()
    {
        RandomSource source;
        source.SetSeed(4242);
        const qint32 low = qint32(-2147483647 - 1);
        const qint32 top = qint32(low + 3LL * (1LL << 30) - 1);
        const qint64 third = 1LL << 30;
        int counts[3] = { 0, 0, 0 };
        const int n = 120000;
        for (int i = 0; i < n; ++i)
            ++counts[(qint64(source.RandomBetween(low, top)) - low) / third];
        for (const int count : counts)
            QVERIFY2(qAbs(count - n / 3) < 1500, qPrintable(QString::number(count)));
    }
};

QTEST_GUILESS_MAIN(TestRandomSource)
#include "tst_randomsource.moc"
