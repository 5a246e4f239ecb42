// Hand-run: saves pictures of the main window before, during and after a run of 10,000
// passwords (copied, with the clipboard's clear due), and of the three pages of the Advanced
// Options window with a profile chosen, in the desktop's palette or a dark one (--dark). Writes
// into the folder given as the first argument (default: the current one).
#include "activitygate.h"
#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "advancedoptionsdialog.h"
#include "delayservice.h"
#include "filedialogservice.h"
#include "frmmain.h"
#include "profilechoice.h"
#include "profilestore.h"
#include "randomsource.h"
#include "scriptedprompter.h"
#include "temporarysettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>

namespace {

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2e, 0x33));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Base, QColor(0x1f, 0x22, 0x26));
    dark.setColor(QPalette::AlternateBase, QColor(0x2b, 0x2e, 0x33));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Button, QColor(0x36, 0x3a, 0x40));
    dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x7f, 0xd0));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Light, QColor(0x4a, 0x4f, 0x57));
    dark.setColor(QPalette::Midlight, QColor(0x40, 0x44, 0x4b));
    dark.setColor(QPalette::Mid, QColor(0x30, 0x33, 0x38));
    dark.setColor(QPalette::Dark, QColor(0x1a, 0x1c, 0x1f));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::ToolTipBase, QColor(0x36, 0x3a, 0x40));
    dark.setColor(QPalette::ToolTipText, QColor(0xe6, 0xe6, 0xe6));
    for (QPalette::ColorRole role : { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        dark.setColor(QPalette::Disabled, role, QColor(0x80, 0x84, 0x8a));
    return dark;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    const QStringList args = app.arguments().mid(1);
    const bool dark = args.contains(QStringLiteral("--dark"));
    QString folder = QStringLiteral(".");
    for (const QString &arg : args) {
        if (!arg.startsWith(QStringLiteral("--")))
            folder = arg;
    }
    if (dark)
        QApplication::setPalette(darkPalette());
    const QString prefix = folder + (dark ? QStringLiteral("/dark-") : QStringLiteral("/light-"));

    TemporarySettings store;
    ScriptedPrompter prompter;
    ActivityGate gate;
    AdvancedOptions options(prompter);
    AdvancedDialogHost host(options);
    WidgetFileDialogService fileDialogs;
    frmMain window(gate,
                   { options, host, prompter, RandomSource::processInstance(),
                     DelayService::forCurrentThread(), fileDialogs, nullptr });
    options.settings().setClipboardClearSeconds(45);
    window.show();
    window.activateWindow();

    QTimer::singleShot(300, &window, [&] {
        window.grab().save(prefix + QStringLiteral("before.png"));
        window.findChild<QLineEdit *>(QStringLiteral("txtNumPass"))->setText(QStringLiteral("10000"));
        window.findChild<QLineEdit *>(QStringLiteral("txtPassLen"))->setText(QStringLiteral("16"));
        QTimer::singleShot(350, &window, [&] { window.grab().save(prefix + QStringLiteral("during.png")); });
        window.findChild<QPushButton *>(QStringLiteral("cmdGenerate"))->click();
        QCoreApplication::processEvents(); // the layout makes room for the clipboard's notice
        window.grab().save(prefix + QStringLiteral("after.png"));
        // The step guide with a caller, at its last step.
        window.setMemoryName(QStringLiteral("Sealmoor"));
        window.RefreshTips();
        window.findChild<QPushButton *>(QStringLiteral("cmdClose"))->setFocus();
        window.grab().save(prefix + QStringLiteral("finish.png"));

        Profile profile = Profile::of(options.settings());
        profile.leaveOutLookAlikes = true;
        ProfileStore::write(QStringLiteral("Web accounts"), profile);
        ProfileStore::write(QStringLiteral("Wi-Fi"), profile);
        AdvancedOptionsDialog *dialog = host.dialog();
        dialog->profiles().reload();
        dialog->profiles().choose(QStringLiteral("Web accounts"));
        dialog->show();
        auto *tabs = dialog->findChild<QTabWidget *>(QStringLiteral("ssTab"));
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            dialog->grab().save(prefix + QStringLiteral("advanced-%1.png").arg(page));
        }
        app.exit(0);
    });
    return app.exec();
}
