#include "aboutdialog.h"
#include "activitygate.h"
#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "applicationicon.h"
#include "applicationtitle.h"
#include "automationserver.h"
#include "callqueue.h"
#include "delayservice.h"
#include "filedialogservice.h"
#include "frmmain.h"
#include "gatedprompter.h"
#include "helplauncher.h"
#include "mainwindowautomation.h"
#include "randomsource.h"
#include "widgetprompter.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// On the terminal the program goes by its command; the application name places the settings.
constexpr const char *CommandName = "quorvex";

// Answers --help and --version and refuses an option it does not know, as a command does on
// the terminal; the exit status when the program ends here.
std::optional<int> answerCommandLine(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(applicationTitle() +
                                     QStringLiteral(": makes random passwords and copies or saves them."));
    parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    if (!parser.parse(QCoreApplication::arguments())) {
        std::fprintf(stderr, "%s: %s\n", CommandName, qUtf8Printable(parser.errorText()));
        return EXIT_FAILURE;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", CommandName, qUtf8Printable(QCoreApplication::applicationVersion()));
        return EXIT_SUCCESS;
    }
    parser.process(app); // the help, with or without Qt's own options; prints and exits
    return std::nullopt;
}

// --help and --version answer on the terminal, also where there is no display to open.
bool answersOnTerminal(int argc, char *argv[])
{
    for (int index = 1; index < argc; ++index) {
        const QByteArray arg(argv[index]);
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // These two names place the settings store, so they stay what they have always been.
    QCoreApplication::setOrganizationName(QStringLiteral("Talvore Software"));
    QCoreApplication::setApplicationName(QStringLiteral("Mintara"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEX_VERSION));
    if (answersOnTerminal(argc, argv)) {
        QCoreApplication terminal(argc, argv);
        return answerCommandLine(terminal).value_or(EXIT_SUCCESS);
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(applicationId());
    QGuiApplication::setWindowIcon(applicationIcon());
    if (const std::optional<int> status = answerCommandLine(app))
        return *status;

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
    QObject::connect(&window, &frmMain::aboutRequested, &window, [&] { showAbout(&window, prompter); });

    // Other programs drive this window over D-Bus; without a session bus the window still works.
    MainWindowAutomation automationTarget(window);
    AutomationServer automation(automationTarget, gate);
    if (const QString problem = automation.start(); !problem.isEmpty()) {
        if (automation.isServing())
            qWarning("Quorvex: %s", qUtf8Printable(problem));
        else
            qWarning("Quorvex: automation is not available: %s", qUtf8Printable(problem));
    }

    // The main window decides when the program ends, also while the help window is open.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &frmMain::unloaded, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    // However the window went, calls still waiting are not served on the way out.
    QObject::connect(&window, &frmMain::unloaded, &automation.calls(), &CallQueue::close);
    window.show();
    return app.exec();
}
