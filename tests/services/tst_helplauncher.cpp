#include "helplauncher.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class TestHelpLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldShipBothTopicsBesideTheExecutable_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("title");
        QTest::newRow("main window") << "main_dialog_box.htm"
                                     << "The main window";
        QTest::newRow("advanced options") << "advanced_options.htm"
                                          << "Advanced options";
    }
    void shouldShipBothTopicsBesideTheExecutable()
    {
        QFETCH(QString, topic);
        QFETCH(QString, title);
        HelpLauncher help;
        QVERIFY(help.ShowHelpTopic(topic) != 0);
        QVERIFY(help.window()->isVisible());
        QCOMPARE(help.window()->parentWidget(), nullptr); // no owner: it stays open on its own
        QCOMPARE(help.browser()->source().fileName(), topic);
        QCOMPARE(help.browser()->documentTitle(), title);
        QVERIFY(help.browser()->toPlainText().size() > 500);
    }

    void shouldReuseTheHelpWindowForTheNextTopic()
    {
        HelpLauncher help;
        help.ShowHelpTopic(QStringLiteral("main_dialog_box.htm"));
        QWidget *first = help.window();
        help.ShowHelpTopic(QStringLiteral("advanced_options.htm"));
        QCOMPARE(help.window(), first);
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("advanced_options.htm"));
    }

    void shouldFollowLinksBetweenThePages()
    {
        HelpLauncher help;
        help.ShowHelpTopic(QStringLiteral("main_dialog_box.htm"));
        help.browser()->setSource(QUrl(QStringLiteral("advanced_options.htm")));
        QCOMPARE(help.browser()->documentTitle(), QStringLiteral("Advanced options"));
    }

    void shouldChangeNothingForAMissingPage_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::newRow("unknown page") << "no_such_page.htm";
        QTest::newRow("empty") << "";
        QTest::newRow("way out of the folder") << "../help/main_dialog_box.htm";
    }
    void shouldChangeNothingForAMissingPage()
    {
        QFETCH(QString, topic);
        HelpLauncher help;
        QCOMPARE(help.ShowHelpTopic(topic), 0);
        QCOMPARE(help.window(), nullptr);

        help.ShowHelpTopic(QStringLiteral("main_dialog_box.htm"));
        QCOMPARE(help.ShowHelpTopic(topic), 0);
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("main_dialog_box.htm"));
    }

    void shouldChangeNothingWhenTheHelpFolderIsMissing()
    {
        QTemporaryDir empty;
        HelpLauncher help(empty.path() + QStringLiteral("/absent"));
        QCOMPARE(help.ShowHelpTopic(QStringLiteral("main_dialog_box.htm")), 0);
        QCOMPARE(help.window(), nullptr);
        QCOMPARE(QApplication::topLevelWidgets().size(), 0);
    }
};

QTEST_MAIN(TestHelpLauncher)
#include "tst_helplauncher.moc"
