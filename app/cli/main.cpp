// quorvex-cli: composes passwords from the command line with the window's engine and settings.

#include "commandline.h"
#include "generatecommand.h"

#include <QStringList>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <unistd.h>

namespace {

// Writes all of `data` to `fd`; raises an error saying why when it cannot.
void writeAll(int fd, const QByteArray &data)
{
    const char *next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, std::size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            raiseError(ErrorNumber::SettingsUnusable, {},
                       QStringLiteral("cannot write the passwords: %1")
                           .arg(QString::fromLocal8Bit(std::strerror(errno))));
        }
        next += written;
        left -= written;
    }
}

int run(const QStringList &arguments)
{
    const CommandLine line = parseCommandLine(arguments);
    switch (line.action) {
    case CommandLine::Action::Help:
        writeAll(STDOUT_FILENO, helpText().toUtf8());
        return 0;
    case CommandLine::Action::Version:
        writeAll(STDOUT_FILENO, versionText().toUtf8());
        return 0;
    case CommandLine::Action::Generate:
        break;
    }

    GenerateCommand command(line.request);
    const QList<QByteArray> passwords = command.run();
    if (line.request.entropy) {
        const StrengthFigure strength = command.strength();
        writeAll(STDERR_FILENO, (QStringLiteral("entropy: ") + strength.text() + u'\n').toUtf8());
    }
    for (const QByteArray &piece : passwords)
        writeAll(STDOUT_FILENO, piece);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // No QCoreApplication: nothing here runs events, and making one (its event dispatcher
    // above all) would cost more than many thousand passwords. The locale is taken up as it
    // would take it up, for the system's own messages.
    std::setlocale(LC_ALL, "");
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    int status = 0;
    runTrapped([&] { status = run(arguments); },
               [&](const ErrorRecord &error) {
                   QString message = error.description;
                   if (error.number == ErrorNumber::CommandLineUsage)
                       status = 2;
                   else
                       status = 1;
                   if (error.number != ErrorNumber::CommandLineUsage &&
                       error.number != ErrorNumber::SettingsUnusable)
                       message = QStringLiteral("%1 (error %2)").arg(message).arg(error.number);
                   const QByteArray line = (QStringLiteral("quorvex-cli: ") + message + u'\n').toUtf8();
                   [[maybe_unused]] const ssize_t written =
                       ::write(STDERR_FILENO, line.constData(), std::size_t(line.size()));
               });
    return status;
}
