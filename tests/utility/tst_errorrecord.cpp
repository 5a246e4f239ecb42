#include "errorrecord.h"

#include <QCoreApplication>
#include <QTest>
#include <new>
#include <stdexcept>

class TestErrorRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldGiveWellKnownNumbersTheirUsualDescription_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("overflow") << 6 << "Overflow";
        QTest::newRow("division by zero") << 11 << "Division by zero";
        QTest::newRow("type mismatch") << 13 << "Type mismatch";
        QTest::newRow("invalid argument") << 5 << "Invalid procedure call or argument";
        QTest::newRow("invalid property value") << 380 << "Invalid property value";
        QTest::newRow("out of memory") << 7 << "Out of memory";
        QTest::newRow("internal error") << 51 << "Internal error";
        QTest::newRow("key not found") << ErrorNumber::KeyNotFound << "The registry key does not exist";
        QTest::newRow("a number of its own has none") << int(ErrorNumber::ComponentBase + 1) << "";
        QTest::newRow("no error has none") << 0 << "";
    }
    void shouldGiveWellKnownNumbersTheirUsualDescription()
    {
        QFETCH(int, number);
        QFETCH(QString, description);
        ErrorRecord caught;
        runTrapped([&] { raiseError(number, QStringLiteral("Here")); },
                   [&](const ErrorRecord &e) { caught = e; });
        QCOMPARE(caught.number, number);
        QCOMPARE(caught.description, description);
        QCOMPARE(caught.source, QStringLiteral("Here"));
    }

    void shouldRunTheBodyAloneWhenNothingFails()
    {
        int handled = 0;
        bool ran = false;
        QVERIFY(runTrapped([&] { ran = true; }, [&](const ErrorRecord &) { ++handled; }));
        QVERIFY(ran);
        QCOMPARE(handled, 0);
    }

    void shouldStopTheBodyAtTheFailingStep()
    {
        QStringList steps;
        const bool completed = runTrapped(
            [&] {
                steps << "first";
                raiseError(ErrorNumber::Overflow);
                steps << "never";
            },
            [&](const ErrorRecord &) { steps << "trap"; });
        QVERIFY(!completed);
        QCOMPARE(steps, QStringList({ "first", "trap" }));
    }

    void shouldFillAMissingSourceAtTheTrap()
    {
        ErrorRecord caught;
        runTrapped([] { raiseError(ErrorNumber::TypeMismatch); }, [&](const ErrorRecord &e) { caught = e; },
                   QStringLiteral("Quorvex"));
        QCOMPARE(caught.source, QStringLiteral("Quorvex"));

        runTrapped([] { raiseError(ErrorNumber::TypeMismatch); }, [&](const ErrorRecord &e) { caught = e; });
        QCOMPARE(caught.source, QCoreApplication::applicationName());
    }

    void shouldTurnForeignExceptionsIntoRecords()
    {
        ErrorRecord caught;
        runTrapped([] { throw std::bad_alloc(); }, [&](const ErrorRecord &e) { caught = e; });
        QCOMPARE(caught.number, ErrorNumber::OutOfMemory);
        runTrapped([] { throw std::runtime_error("broken"); }, [&](const ErrorRecord &e) { caught = e; });
        QCOMPARE(caught.number, ErrorNumber::InternalError);
        QCOMPARE(caught.description, QStringLiteral("broken"));
        runTrapped([] { throw 42; }, [&](const ErrorRecord &e) { caught = e; });
        QCOMPARE(caught.number, ErrorNumber::InternalError);
        QCOMPARE(caught.description, QStringLiteral("Internal error"));
    }

    void shouldKeepAGivenDescription()
    {
        ErrorRecord caught;
        runTrapped(
            [] { raiseError(ErrorNumber::KeyNotFound, QStringLiteral("S"), QStringLiteral("Missing")); },
            [&](const ErrorRecord &e) { caught = e; });
        QCOMPARE(caught.number, qint32(0x8004714A));
        QCOMPARE(caught.number, -2147192502);
        QCOMPARE(caught.description, QStringLiteral("Missing"));
    }
};

QTEST_GUILESS_MAIN(TestErrorRecord)
#include "tst_errorrecord.moc"
