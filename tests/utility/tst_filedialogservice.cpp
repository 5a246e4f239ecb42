#include "filedialogservice.h"

#include <QTest>

class TestFileDialogService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldTurnTheFilterIntoNameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::addColumn<QStringList>("suffixes");

        QTest::newRow("the save dialog's own")
            << "Text files (*.txt):*.txt|All files (*.*):*.*"
            << QStringList { "Text files (*.txt)", "All files (*)" } << QStringList { "txt", "" };
        QTest::newRow("description without its pattern")
            << "Logs:*.log" << QStringList { "Logs (*.log)" } << QStringList { "log" };
        QTest::newRow("several patterns")
            << "Text:*.txt;*.text" << QStringList { "Text (*.txt *.text)" } << QStringList { "" };
        QTest::newRow("entry without a pattern")
            << "Anything" << QStringList { "Anything (*)" } << QStringList { "" };
        QTest::newRow("empty entries are dropped")
            << "|Text:*.txt||" << QStringList { "Text (*.txt)" } << QStringList { "txt" };
    }
    void shouldTurnTheFilterIntoNameFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QFETCH(QStringList, suffixes);
        const QStringList made = FileDialogService::nameFilters(filter);
        QCOMPARE(made, nameFilters);
        QStringList madeSuffixes;
        for (const QString &nameFilter : made)
            madeSuffixes << FileDialogService::suffixOf(nameFilter);
        QCOMPARE(madeSuffixes, suffixes);
    }
};

QTEST_GUILESS_MAIN(TestFileDialogService)
#include "tst_filedialogservice.moc"
