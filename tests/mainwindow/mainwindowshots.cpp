// Hand-run: saves pictures of the main window before, during and after a run of 10,000
// passwords (copied, with the clipboard's clear due), of its glowing caption at eight phases of
// the pulse, and of the three pages of the Advanced Options window with a profile chosen, in the
// desktop's palette or a dark one (--dark). Writes into the folder given as the first argument
// (default: the current one).
#include "activitygate.h"
#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "advancedoptionsdialog.h"
#include "controlpacing_p.h"
#include "darkpalette.h"
#include "delayservice.h"
#include "filedialogservice.h"
#include "frmmain.h"
#include "profilechoice.h"
#include "profilestore.h"
#include "randomsource.h"
#include "scriptedprompter.h"
#include "temporarysettings.h"
#include "xglowlabel.h"

#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>

namespace {

// The caption's corner of the banner at every 19th step of the pulse, one above the other.
QImage captionPhases(Lustrel::XGlowLabel &glow)
{
    struct NoPause : DelayService
    {
        void Pause(qint32) override { }
    } noPause;
    Lustrel::ControlPacing::setDelayService(glow, &noPause);
    QWidget *banner = glow.parentWidget();
    const QRect area = glow.geometry().adjusted(-8, -8, 8, 8);
    constexpr int Phases = 8;
    QImage strip(area.width(), area.height() * Phases, QImage::Format_ARGB32);
    QPainter painter(&strip);
    for (int phase = 0; phase < Phases; ++phase) {
        for (int tick = 0; tick < 152 / Phases; ++tick)
            glow.Tick();
        painter.drawPixmap(0, phase * area.height(), banner->grab(area));
    }
    Lustrel::ControlPacing::setDelayService(glow, nullptr);
    return strip;
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
    // The caption's phases are taken first, one by one: no beat of the pulse may be pausing then.
    auto *glow = window.findChild<Lustrel::XGlowLabel *>(QStringLiteral("XGlowLabel1"));
    const qint32 pulse = glow->Interval();
    glow->setInterval(0);
    window.show();
    window.activateWindow();

    QTimer::singleShot(300, &window, [&] {
        window.grab().save(prefix + QStringLiteral("before.png"));
        captionPhases(*glow).save(prefix + QStringLiteral("caption.png"));
        glow->setInterval(pulse);
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
        QCoreApplication::processEvents(); // the strength figure follows the choice
        auto *tabs = dialog->findChild<QTabWidget *>(QStringLiteral("ssTab"));
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            dialog->grab().save(prefix + QStringLiteral("advanced-%1.png").arg(page));
        }
        app.exit(0);
    });
    return app.exec();
}
