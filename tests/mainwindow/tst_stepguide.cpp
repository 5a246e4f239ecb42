#include "stepguide.h"

#include <QTest>

class TestStepGuide : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldBuildEachTipFromTitleAndText_data()
    {
        QTest::addColumn<QString>("memoryName");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");

        const QString alone;
        const QString caller = QStringLiteral("Sealmoor");
        QTest::newRow("1") << alone << 1 << "Number of passwords"
                           << "Specify the number of passwords you want to generate (1 to 10,000).";
        QTest::newRow("2") << alone << 2 << "Password length"
                           << "Specify the length of the passwords you want to generate (in the number of "
                              "characters).";
        QTest::newRow("3")
            << alone << 3 << "Generate passwords"
            << "Click the Generate button. You will see the generated password in the password list "
               "box.";
        QTest::newRow("4 without caller")
            << alone << 4 << "Copy passwords to clipboard"
            << "Click the Copy button to copy all of the selected passwords to the "
               "clipboard.";
        QTest::newRow("5 without caller")
            << alone << 5 << "Finish"
            << "Right-click the edit box where you want to enter the password. Select "
               "Paste.";
        QTest::newRow("1 with caller")
            << caller << 1 << "Number of passwords"
            << "Specify the number of passwords you want to generate (1 to 10,000).";
        QTest::newRow("4 with caller") << caller << 4 << "Copy passwords to clipboard"
                                       << "Click the Copy button to copy the password to Sealmoor.";
        QTest::newRow("5 with caller") << caller << 5 << "Finish"
                                       << "Click the Close button to return to Sealmoor.";
    }
    void shouldBuildEachTipFromTitleAndText()
    {
        QFETCH(QString, memoryName);
        QFETCH(int, step);
        QFETCH(QString, title);
        QFETCH(QString, text);
        StepGuide guide;
        guide.RefreshTips(memoryName);
        const QString tip = guide.tip(qint16(step));
        QCOMPARE(tip, title + u'\r' + text);
        QCOMPARE(StepGuide::titleOf(tip), title + u'\r');
        QCOMPARE(StepGuide::textOf(tip), text);
    }

    void shouldGiveNothingOutsideTheFiveSteps()
    {
        StepGuide guide;
        guide.RefreshTips({});
        QCOMPARE(guide.tip(0), QString());
        QCOMPARE(guide.tip(6), QString());
        // A tip without a carriage return is all text and no title.
        QCOMPARE(StepGuide::titleOf(QStringLiteral("plain")), QString());
        QCOMPARE(StepGuide::textOf(QStringLiteral("plain")), QStringLiteral("plain"));
    }

    void shouldRememberTheStepBefore()
    {
        StepGuide guide;
        QCOMPARE(guide.CurrentStep(), qint16(1));
        guide.moveTo(3);
        guide.moveTo(5);
        QCOMPARE(guide.CurrentStep(), qint16(5));
        QCOMPARE(guide.PreviousStep(), qint16(3));
        guide.reset();
        QCOMPARE(guide.CurrentStep(), qint16(1));
        QCOMPARE(guide.PreviousStep(), qint16(1));
    }
};

QTEST_GUILESS_MAIN(TestStepGuide)
#include "tst_stepguide.moc"
