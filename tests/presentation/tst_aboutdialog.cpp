#include "aboutdialog.h"
#include "scriptedprompter.h"
#include "systeminfotool.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// A system-information tool that is there or not, as the test says.
class ScriptedSystemInfoTool : public SystemInfoTool
{
public:
    explicit ScriptedSystemInfoTool(bool installed)
        : installed(installed)
    { }
    bool start() override
    {
        ++starts;
        return installed;
    }
    bool installed;
    int starts = 0;
};

// Receives the pages the desktop is asked to open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

QImage pixmapImage(const QLabel *label)
{
    return label->pixmap().toImage();
}

} // namespace

class TestAboutDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldCaptionTheBoxAfterTheApplication()
    {
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool);
        QCOMPARE(box.objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(box.windowTitle(), QStringLiteral("About Talvore Mintara 2.0"));
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("lblTitle"))->text(),
                 QStringLiteral("Talvore Mintara 2.0"));
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("Contact points are:"));
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Label4"))->text(), QStringLiteral("Web site:"));
        QCOMPARE(box.findChild<QLabel *>(QStringLiteral("Label6"))->text(), QStringLiteral("E-mail:"));
        QVERIFY(box.findChild<QLabel *>(QStringLiteral("Label7"))->text().contains(u'@'));
        QVERIFY(!(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    }

    void shouldOfferTheThreeButtons_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("OK") << "cmdOK"
                            << "OK";
        QTest::newRow("Web site") << "cmdWebsite"
                                  << "&Web site";
        QTest::newRow("System Info") << "cmdSysInfo"
                                     << "&System Info...";
    }
    void shouldOfferTheThreeButtons()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool);
        auto *button = box.findChild<QPushButton *>(name);
        QVERIFY(button);
        QCOMPARE(button->text(), caption);
        QVERIFY(button->isEnabled());
    }

    void shouldStartWithTheFocusOnOk()
    {
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QCOMPARE(QApplication::focusWidget(), box.findChild<QPushButton *>(QStringLiteral("cmdOK")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), box.findChild<QPushButton *>(QStringLiteral("cmdWebsite")));
    }

    void shouldCloseOnOkAndOnEscape_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("OK") << false;
        QTest::newRow("Esc") << true;
    }
    void shouldCloseOnOkAndOnEscape()
    {
        QFETCH(bool, escape);
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        if (escape)
            QTest::keyClick(&box, Qt::Key_Escape);
        else
            QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        QVERIFY(!box.isVisible());
    }

    void shouldSayWhenNoSystemInformationToolIsInstalled()
    {
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(false);
        AboutDialog box(prompter, tool);
        box.show();
        QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);

        QCOMPARE(tool.starts, 1);
        QCOMPARE(prompter.messages.size(), 1);
        const MessageRequest &message = prompter.messages.first();
        QCOMPARE(message.text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(message.title, QStringLiteral("Talvore Mintara 2.0"));
        QCOMPARE(message.buttons, MessageButtons::Ok);
        QCOMPARE(message.icon, MessageIcon::None);
        QVERIFY(box.isVisible()); // the box stays
    }

    void shouldStartTheInstalledToolWithoutAWord()
    {
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool);
        QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        QCOMPARE(tool.starts, 1);
        QVERIFY(prompter.messages.isEmpty());
    }

    void shouldOpenTheProductPageInTheBrowser()
    {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool);
        QTest::mouseClick(box.findChild<QPushButton *>(QStringLiteral("cmdWebsite")), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

        QCOMPARE(catcher.opened, QList<QUrl> { AboutDialog::productPage() });
        QCOMPARE(AboutDialog::productPage().scheme(), QStringLiteral("https"));
        QVERIFY(prompter.messages.isEmpty());
    }

    void shouldShowTheOwnersIcon()
    {
        QWidget owner;
        QPixmap red(64, 64);
        red.fill(Qt::red);
        owner.setWindowIcon(QIcon(red));
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool, &owner);
        const QImage icon = pixmapImage(box.findChild<QLabel *>(QStringLiteral("picIcon")));
        QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() / 2), QColor(Qt::red));
    }

    void shouldShowTheProgramsOwnIconForAnOwnerWithout()
    {
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(true);
        AboutDialog box(prompter, tool);
        const QImage icon = pixmapImage(box.findChild<QLabel *>(QStringLiteral("picIcon")));
        QVERIFY(!icon.isNull());
        // The bundled icon: an opaque tile with a light padlock in its middle.
        QCOMPARE(icon.pixelColor(icon.width() / 2, icon.height() * 3 / 4).alpha(), 255);
    }

    void shouldShowModallyOverItsOwnerOnly()
    {
        QWidget owner;
        auto *ownersButton = new QPushButton(QStringLiteral("Generate"), &owner);
        owner.show();
        QWidget bystander; // the help window, say
        auto *bystandersButton = new QPushButton(QStringLiteral("Back"), &bystander);
        bystander.show();
        QSignalSpy ownerClicks(ownersButton, &QPushButton::clicked);
        QSignalSpy bystanderClicks(bystandersButton, &QPushButton::clicked);
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(false);
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            QCOMPARE(modal->objectName(), QStringLiteral("frmAbout"));
            QCOMPARE(modal->parentWidget(), &owner);
            QCOMPARE(modal->windowModality(), Qt::WindowModal);
            // Through the windows, where the desktop's clicks arrive and blocking applies.
            QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, ownersButton->geometry().center());
            QTest::mouseClick(bystander.windowHandle(), Qt::LeftButton, {},
                              bystandersButton->geometry().center());
            checked = true;
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        showAbout(&owner, prompter, tool);
        QVERIFY(checked);
        QCOMPARE(ownerClicks.size(), 0);
        QCOMPARE(bystanderClicks.size(), 1);
        QCOMPARE(owner.findChildren<AboutDialog *>().size(), 0); // gone once closed
    }

    void shouldSurviveTheOwnerGoingWhileItIsUp()
    {
        auto *owner = new QWidget;
        owner->show();
        ScriptedPrompter prompter;
        ScriptedSystemInfoTool tool(false);
        QTimer::singleShot(0, this, [owner] { delete owner; });
        showAbout(owner, prompter, tool);
    }
};

// The real tool search, over a PATH that holds stand-ins made by the test.
class TestDesktopSystemInfoTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_bin;
    QByteArray m_path;
    QByteArray m_desktop;

    // A program on the PATH that, when it runs, leaves a file named after itself in the folder
    // holding its arguments (moved into place whole, so it is never seen half written).
    void installStandIn(const QString &name)
    {
        QFile script(m_bin.filePath(name));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$@\" > '%1.tmp' && /bin/mv '%1.tmp' '%1.ran'\n")
                         .arg(m_bin.filePath(name))
                         .toUtf8());
        script.close();
        script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_path = qgetenv("PATH");
        m_desktop = qgetenv("XDG_CURRENT_DESKTOP");
    }
    void init()
    {
        QVERIFY(m_bin.isValid());
        for (const QString &file : QDir(m_bin.path()).entryList(QDir::Files))
            QFile::remove(m_bin.filePath(file));
        qputenv("PATH", m_bin.path().toLocal8Bit());
    }
    void cleanupTestCase()
    {
        qputenv("PATH", m_path);
        qputenv("XDG_CURRENT_DESKTOP", m_desktop);
    }

    void shouldTryTheCurrentDesktopsToolFirst_data()
    {
        QTest::addColumn<QString>("desktop");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("KDE") << "KDE"
                             << "kinfocenter"
                             << "hardinfo";
        QTest::newRow("GNOME under a vendor's name") << "ubuntu:GNOME"
                                                     << "gnome-control-center"
                                                     << "hardinfo";
        QTest::newRow("unknown desktop") << "Sway"
                                         << "hardinfo"
                                         << "kinfocenter";
        QTest::newRow("none") << ""
                              << "hardinfo"
                              << "kinfocenter";
    }
    void shouldTryTheCurrentDesktopsToolFirst()
    {
        QFETCH(QString, desktop);
        QFETCH(QString, first);
        QFETCH(QString, second);
        const auto candidates = DesktopSystemInfoTool::candidatesFor(desktop);
        QCOMPARE(candidates.size(), DesktopSystemInfoTool::knownTools().size());
        QCOMPARE(candidates.at(0).program, first);
        QCOMPARE(candidates.at(1).program, second);
    }

    void shouldStartTheFirstInstalledTool()
    {
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        installStandIn(QStringLiteral("hardinfo"));
        installStandIn(QStringLiteral("gnome-control-center"));
        DesktopSystemInfoTool tool;
        QVERIFY(tool.start());
        QTRY_VERIFY(QFile::exists(m_bin.filePath(QStringLiteral("gnome-control-center.ran"))));
        QFile ran(m_bin.filePath(QStringLiteral("gnome-control-center.ran")));
        QVERIFY(ran.open(QIODevice::ReadOnly));
        QCOMPARE(ran.readAll(), QByteArray("info-overview\n"));
        QVERIFY(!QFile::exists(m_bin.filePath(QStringLiteral("hardinfo.ran"))));
    }

    void shouldReportThatNoToolIsInstalled()
    {
        qputenv("XDG_CURRENT_DESKTOP", "KDE");
        DesktopSystemInfoTool tool;
        QVERIFY(!tool.start());
    }
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    int status = 0;
    {
        TestAboutDialog about;
        status |= QTest::qExec(&about, argc, argv);
    }
    {
        TestDesktopSystemInfoTool tool;
        status |= QTest::qExec(&tool, argc, argv);
    }
    return status;
}

#include "tst_aboutdialog.moc"
