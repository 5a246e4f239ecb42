#include "prompter.h"
#include "reporterror.h"
#include "scriptedprompter.h"

#include <QTest>

class TestReportError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldLayOutTheReportExactly_data()
    {
        QTest::addColumn<qint32>("number");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("overflow")
            << 6 << "Overflow"
            << "Quorvex"
            << "frmMain.Generate()"
            << "Error #6\r\nOverflow\r\n\r\nSource:\t\tQuorvex\r\nCaused in:\tfrmMain.Generate()\r\n";
        QTest::newRow("negative number")
            << qint32(0x8004714A) << "Missing"
            << "Utility.RegistryKey"
            << "frmAdvanced.LoadSettings()"
            << "Error #-2147192502\r\nMissing\r\n\r\nSource:\t\tUtility.RegistryKey\r\n"
               "Caused in:\tfrmAdvanced.LoadSettings()\r\n";
        QTest::newRow("empty description and source") << 13 << ""
                                                      << ""
                                                      << "frmMain.GenerateOnePassword()"
                                                      << "Error #13\r\n\r\n\r\nSource:\t\t\r\nCaused in:\t"
                                                         "frmMain.GenerateOnePassword()\r\n";
        QTest::newRow("large number, no grouping")
            << 1234567 << "X"
            << "S"
            << "a.b()"
            << "Error #1234567\r\nX\r\n\r\nSource:\t\tS\r\nCaused in:\ta.b()\r\n";
    }
    void shouldLayOutTheReportExactly()
    {
        QFETCH(qint32, number);
        QFETCH(QString, description);
        QFETCH(QString, source);
        QFETCH(QString, operation);
        QFETCH(QString, expected);
        ScriptedPrompter prompter;
        ReportError(prompter, { number, description, source, {}, 0 }, operation);
        QCOMPARE(prompter.messages.size(), 1);
        const MessageRequest &box = prompter.messages.first();
        QCOMPARE(box.text, expected);
        QCOMPARE(box.title, QStringLiteral("Error"));
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QCOMPARE(box.buttons, MessageButtons::Ok);
    }

    void shouldAttachTheErrorsHelpTopic()
    {
        ScriptedPrompter prompter;
        ReportError(prompter, { 6, "Overflow", "Q", "advanced_options.htm", 42 }, "x.y()");
        QCOMPARE(prompter.messages.first().helpFile, QStringLiteral("advanced_options.htm"));
        QCOMPARE(prompter.messages.first().helpContext, 42);
        ReportError(prompter, { 6, "Overflow", "Q", {}, 0 }, "x.y()");
        QVERIFY(prompter.messages.last().helpFile.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReportError)
#include "tst_reporterror.moc"
