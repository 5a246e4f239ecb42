// quorvex-cli: composes passwords from the command line with the window's engine and settings.

#include "commandline.h"
#include "generatecommand.h"
#include "profilestore.h"

#include <QByteArrayView>
#include <QStringList>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace {

// Writes all of `data` to `fd`. False when nobody reads any more (a closed pipe); raises an error
// saying why on any other failure.
bool writeAll(int fd, QByteArrayView data, const QString &what)
{
    const char *next = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EPIPE)
                return false;
            raiseError(ErrorNumber::WriteFailed, {},
                       QStringLiteral("cannot write %1: %2")
                           .arg(what, QString::fromLocal8Bit(std::strerror(errno))));
        }
        next += written;
        left -= written;
    }
    return true;
}

// One line on standard error; whatever it holds shows as text.
void say(const QString &message)
{
    const QByteArray line = (QStringLiteral("quorvex-cli: ") + printable(message) + u'\n').toUtf8();
    [[maybe_unused]] const ssize_t written =
        ::write(STDERR_FILENO, line.constData(), std::size_t(line.size()));
}

// The profiles' names on standard output, one a line as the window lists them; why one cannot
// be used goes to standard error.
void listProfiles()
{
    QList<ProfileStore::Entry> entries;
    runTrapped([&] { entries = ProfileStore::readAll(); },
               [](const ErrorRecord &error) {
                   raiseError(ErrorNumber::SettingsUnusable, {},
                              QStringLiteral("the profiles cannot be read: ") + error.description);
               });
    QString names;
    for (const ProfileStore::Entry &entry : entries) {
        names += printable(entry.name) + u'\n';
        if (!entry.profile)
            say(QStringLiteral("the profile %1 cannot be used: %2").arg(quoted(entry.name), entry.problem));
    }
    writeAll(STDOUT_FILENO, names.toUtf8(), QStringLiteral("the profiles"));
}

int run(const QStringList &arguments)
{
    const CommandLine line = parseCommandLine(arguments);
    switch (line.action) {
    case CommandLine::Action::Help:
        writeAll(STDOUT_FILENO, helpText().toUtf8(), QStringLiteral("the help"));
        return 0;
    case CommandLine::Action::Version:
        writeAll(STDOUT_FILENO, versionText().toUtf8(), QStringLiteral("the version"));
        return 0;
    case CommandLine::Action::ListProfiles:
        listProfiles();
        return 0;
    case CommandLine::Action::Generate:
        break;
    }

    // Everything that can fail but the output itself fails before the first password.
    GenerateCommand command(line.request);
    for (const QString &note : command.notes())
        say(note);
    if (line.request.save) {
        if (const std::optional<QString> note = command.save())
            say(*note);
    }
    if (line.request.entropy) {
        const QByteArray figure = (QStringLiteral("entropy: ") + command.strength().text() + u'\n').toUtf8();
        [[maybe_unused]] const ssize_t written =
            ::write(STDERR_FILENO, figure.constData(), std::size_t(figure.size()));
    }
    // A reader that stops early (head) has what it wanted: the run ends quietly.
    command.run([](QByteArrayView passwords) {
        return writeAll(STDOUT_FILENO, passwords, QStringLiteral("the passwords"));
    });
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // No QCoreApplication: nothing here runs events, and making one (its event dispatcher
    // above all) would cost more than many thousand passwords. The locale is taken up as it
    // would take it up, for the system's own messages.
    std::setlocale(LC_ALL, "");
    // A closed pipe is found by the write that meets it, which ends the run quietly.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    int status = 0;
    runTrapped([&] { status = run(arguments); },
               [&](const ErrorRecord &error) {
                   QString message = error.description;
                   status = error.number == ErrorNumber::CommandLineUsage ? 2 : 1;
                   if (error.number != ErrorNumber::CommandLineUsage &&
                       error.number != ErrorNumber::SettingsUnusable &&
                       error.number != ErrorNumber::WriteFailed)
                       message = QStringLiteral("%1 (error %2)").arg(message).arg(error.number);
                   say(message);
               });
    return status;
}
