#include "filedialogservice.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

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

    void shouldAskModallyToItsOwnerAndReturnTheChoice_data()
    {
        QTest::addColumn<bool>("accept");
        QTest::newRow("a file chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void shouldAskModallyToItsOwnerAndReturnTheChoice()
    {
        QFETCH(bool, accept);
        QTemporaryDir dir;
        QWidget owner;
        owner.show();
        QString seenTitle;
        QStringList seenFilters;
        QString seenFilter;
        Qt::WindowModality seenModality = Qt::NonModal;
        QWidget *seenParent = nullptr;
        QTimer::singleShot(0, &owner, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            seenTitle = dialog->windowTitle();
            seenFilters = dialog->nameFilters();
            seenFilter = dialog->selectedNameFilter();
            seenModality = dialog->windowModality();
            seenParent = dialog->parentWidget();
            if (!accept) {
                dialog->reject();
                return;
            }
            dialog->selectFile(dir.filePath(QStringLiteral("passwords")));
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog keeps its accept() protected
        });

        WidgetFileDialogService service;
        QString fileName;
        QString fileTitle;
        bool accepted = !accept;
        service.ShowSaveDialog(fileName, fileTitle, true,
                               QStringLiteral("Text files (*.txt):*.txt|All files (*.*):*.*"), 1, dir.path(),
                               QStringLiteral("Save Password To"), QString(), &owner, 0, accepted);

        QCOMPARE(seenTitle, QStringLiteral("Save Password To"));
        QCOMPARE(seenFilters, (QStringList { "Text files (*.txt)", "All files (*)" }));
        QCOMPARE(seenFilter, QStringLiteral("Text files (*.txt)"));
        QCOMPARE(seenModality, Qt::WindowModal);
        QCOMPARE(seenParent, &owner);
        QCOMPARE(accepted, accept);
        // A name typed without an extension gets the chosen filter's.
        QCOMPARE(fileName, accept ? dir.filePath(QStringLiteral("passwords.txt")) : QString());
        QCOMPARE(fileTitle, accept ? QStringLiteral("passwords.txt") : QString());
    }
};

QTEST_MAIN(TestFileDialogService)
#include "tst_filedialogservice.moc"
