#include "activitygate.h"
#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "applicationtitle.h"
#include "delayservice.h"
#include "filedialogservice.h"
#include "frmmain.h"
#include "gatedprompter.h"
#include "helplauncher.h"
#include "randomsource.h"
#include "widgetprompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // These two names place the settings store, so they stay what they have always been.
    QCoreApplication::setOrganizationName(QStringLiteral("Talvore Software"));
    QCoreApplication::setApplicationName(QStringLiteral("Mintara"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvex"));
    QGuiApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("quorvex"), QIcon(QStringLiteral(":/mainwindow/icons/quorvex.svg"))));

    QCommandLineParser parser;
    parser.setApplicationDescription(applicationTitle() +
                                     QStringLiteral(": makes random passwords and copies or saves them."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    HelpLauncher help;
    WidgetPrompter widgetPrompter(&help);
    ActivityGate gate;
    GatedPrompter prompter(widgetPrompter, gate);
    AdvancedOptions options(prompter);
    AdvancedDialogHost advancedDialog(options, &help);
    WidgetFileDialogService fileDialogs;

    frmMain window(gate,
                   { options, advancedDialog, prompter, RandomSource::processInstance(),
                     DelayService::forCurrentThread(), fileDialogs, &help });
    widgetPrompter.setParentWindow(&window);

    // The main window decides when the program ends, also while the help window is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &frmMain::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    window.show();
    return app.exec();
}
