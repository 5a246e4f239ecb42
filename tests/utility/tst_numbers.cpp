#include "errorof.h"
#include "errorrecord.h"
#include "numbers.h"

#include <QTest>
#include <cmath>
#include <limits>

class TestNumbers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldReadDecimalText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("whole") << "10" << 10.0;
        QTest::newRow("blanks around") << "  42\t" << 42.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("minus sign") << "-10" << -10.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "3." << 3.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("signed exponent") << "25E-1" << 2.5;
        QTest::newRow("plus exponent") << "1.5e+2" << 150.0;
        QTest::newRow("leading zeros") << "007" << 7.0;
        QTest::newRow("negative zero") << "-0" << 0.0;
        QTest::newRow("tiny underflows to zero") << "1e-400" << 0.0;
    }
    void shouldReadDecimalText()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Numbers::read(text), expected);
        QCOMPARE(Numbers::tryRead(text), std::optional<double>(expected));
    }

    void shouldRefuseTextThatIsNotANumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("letters") << "abc";
        QTest::newRow("digits then letters") << "12abc";
        QTest::newRow("inner blank") << "1 2";
        QTest::newRow("two points") << "1.2.3";
        QTest::newRow("sign alone") << "-";
        QTest::newRow("point alone") << ".";
        QTest::newRow("exponent without digits") << "1e";
        QTest::newRow("exponent alone") << "e5";
        QTest::newRow("two signs") << "+-1";
        QTest::newRow("hexadecimal") << "0x10";
        QTest::newRow("thousands separator") << "1,000";
        QTest::newRow("infinity") << "inf";
        QTest::newRow("not a number") << "nan";
        QTest::newRow("full-width digits") << QString::fromUtf8("\xEF\xBC\x91");
        QTest::newRow("newline inside") << "1\n";
    }
    void shouldRefuseTextThatIsNotANumber()
    {
        QFETCH(QString, text);
        QCOMPARE(Numbers::tryRead(text), std::nullopt);
        QCOMPARE(errorOf([&] { Numbers::read(text); }), ErrorNumber::TypeMismatch);
    }

    // Out of a double's range is decided by the value, not by the sign of its exponent.
    void shouldTellTooLargeFromTooSmallByTheValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("overflows");
        const QString zeros(400, u'0');
        QTest::newRow("1e400") << "1e400" << true;
        QTest::newRow("-1e400") << "-1e400" << true;
        QTest::newRow("400 zeros then e-5 is 1e395") << (u'1' + zeros + QStringLiteral("e-5")) << true;
        QTest::newRow("negative 1e395") << (QStringLiteral("-1") + zeros + QStringLiteral("e-5")) << true;
        QTest::newRow("huge exponent") << "1e99999999999999999999" << true;
        QTest::newRow("point, 400 zeros, 1") << (QStringLiteral("0.") + zeros + u'1') << false;
        QTest::newRow("point, 400 zeros, 1, e+5")
            << (QStringLiteral("0.") + zeros + QStringLiteral("1e+5")) << false;
        QTest::newRow("1e-400") << "1e-400" << false;
        QTest::newRow("huge negative exponent") << "-1e-99999999999999999999" << false;
    }
    void shouldTellTooLargeFromTooSmallByTheValue()
    {
        QFETCH(QString, text);
        QFETCH(bool, overflows);
        if (overflows) {
            QCOMPARE(errorOf([&] { Numbers::read(text); }), ErrorNumber::Overflow);
            QCOMPARE(Numbers::tryRead(text), std::nullopt);
        } else {
            QCOMPARE(Numbers::read(text), 0.0);
        }
    }

    void shouldReadLongTextsThatFitExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const QString zeros(400, u'0');
        QTest::newRow("400 leading zeros") << (zeros + u'7') << 7.0;
        QTest::newRow("400 zeros then e-400") << (u'3' + zeros + QStringLiteral("e-400")) << 3.0;
        QTest::newRow("tiny mantissa, large exponent")
            << (QStringLiteral("0.") + zeros + QStringLiteral("25e402")) << 25.0;
    }
    void shouldReadLongTextsThatFitExactly()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Numbers::read(text), expected);
    }

    void shouldRoundHalvesToEvenWhenNarrowing_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("3.5") << 3.5 << 4;
        QTest::newRow("2.4") << 2.4 << 2;
        QTest::newRow("2.6") << 2.6 << 3;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("-3.5") << -3.5 << -4;
        QTest::newRow("top") << 32767.0 << 32767;
        QTest::newRow("bottom") << -32768.0 << -32768;
        QTest::newRow("rounds down into range") << 32767.4 << 32767;
        QTest::newRow("bottom half rounds to even inside") << -32768.5 << -32768;
    }
    void shouldRoundHalvesToEvenWhenNarrowing()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(int(Numbers::toInteger(value)), expected);
        QCOMPARE(Numbers::toLong(value), qint32(expected));
    }

    void shouldReportIntegerOverflow_data()
    {
        QTest::addColumn<double>("value");
        QTest::newRow("one above") << 32768.0;
        QTest::newRow("one below") << -32769.0;
        QTest::newRow("rounds up out of range") << 32767.5;
        QTest::newRow("40000") << 40000.0;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    }
    void shouldReportIntegerOverflow()
    {
        QFETCH(double, value);
        QCOMPARE(errorOf([&] { Numbers::toInteger(value); }), ErrorNumber::Overflow);
    }

    void shouldKeepLongToThirtyTwoBits()
    {
        QCOMPARE(Numbers::toLong(2147483647.0), 2147483647);
        QCOMPARE(Numbers::toLong(-2147483648.0), qint32(-2147483647 - 1));
        QCOMPARE(errorOf([] { Numbers::toLong(2147483648.0); }), ErrorNumber::Overflow);
        QCOMPARE(errorOf([] { Numbers::toLong(-2147483649.0); }), ErrorNumber::Overflow);
        QCOMPARE(errorOf([] { Numbers::narrowToInteger(32768); }), ErrorNumber::Overflow);
        QCOMPARE(Numbers::narrowToInteger(-32768), qint16(-32768));
    }

    void shouldRoundDownTowardMinusInfinity_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("2.7") << 2.7 << 2.0;
        QTest::newRow("-1.5") << -1.5 << -2.0;
        QTest::newRow("-0.1") << -0.1 << -1.0;
        QTest::newRow("whole") << 5.0 << 5.0;
    }
    void shouldRoundDownTowardMinusInfinity()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(Numbers::roundDown(value), expected);
    }

    void shouldWriteShortestText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole") << 10.0 << "10";
        QTest::newRow("negative") << -4.0 << "-4";
        QTest::newRow("half") << 1.5 << "1.5";
        QTest::newRow("negative zero") << -0.0 << "0";
        QTest::newRow("tenth") << 0.1 << "0.1";
        QTest::newRow("huge") << 1e20 << "1E+20";
    }
    void shouldWriteShortestText()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(Numbers::toText(value), expected);
        QCOMPARE(Numbers::read(Numbers::toText(value)), value);
    }

    void shouldConvertStoredValues_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<int>("integer"); // the value, or the error number when integerFails
        QTest::addColumn<int>("boolean"); // 0, 1, or the error number, negated
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("integerFails");
        QTest::newRow("missing") << QVariant() << 0 << 0 << "" << false;
        QTest::newRow("text one") << QVariant(QStringLiteral("1")) << 1 << 1 << "1" << false;
        QTest::newRow("text zero") << QVariant(QStringLiteral("0")) << 0 << 0 << "0" << false;
        QTest::newRow("text fraction") << QVariant(QStringLiteral("2.5")) << 2 << 1 << "2.5" << false;
        QTest::newRow("text word") << QVariant(QStringLiteral("abc")) << 13 << -13 << "abc" << true;
        QTest::newRow("text true") << QVariant(QStringLiteral("True")) << 13 << 1 << "True" << true;
        QTest::newRow("text too big") << QVariant(QStringLiteral("99999")) << 6 << 1 << "99999" << true;
        QTest::newRow("empty text") << QVariant(QString()) << 13 << -13 << "" << true;
        QTest::newRow("number") << QVariant(3) << 3 << 1 << "3" << false;
        QTest::newRow("truth value") << QVariant(true) << -1 << 1 << "True" << false;
    }
    void shouldConvertStoredValues()
    {
        QFETCH(QVariant, stored);
        QFETCH(int, integer);
        QFETCH(int, boolean);
        QFETCH(QString, text);
        QFETCH(bool, integerFails);
        qint32 error = errorOf([&] { Numbers::variantToInteger(stored); });
        if (integerFails)
            QCOMPARE(error, integer);
        else
            QCOMPARE(int(Numbers::variantToInteger(stored)), integer);
        error = errorOf([&] { Numbers::variantToBoolean(stored); });
        if (boolean < 0)
            QCOMPARE(error, -boolean);
        else
            QCOMPARE(int(Numbers::variantToBoolean(stored)), boolean);
        QCOMPARE(Numbers::variantToText(stored), text);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
