// A stand-in for the companion application Sealmoor, for the copy tests: owns the companion's
// name on the session bus, serves the hand-off interface and writes every call it takes to
// standard output as "WriteText <exchange> <text>", both percent-encoded. With --fail it
// answers every call with an error instead.
#include "handoffchannel.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QTextStream>
#include <cstdio>

class Companion : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.talvore.Sealmoor.Handoff")

public:
    explicit Companion(bool failing)
        : m_failing(failing)
    { }

public Q_SLOTS:
    void WriteText(const QString &exchange, const QString &text)
    {
        std::printf("WriteText %s %s\n", exchange.toUtf8().toPercentEncoding().constData(),
                    text.toUtf8().toPercentEncoding().constData());
        std::fflush(stdout);
        if (m_failing)
            sendErrorReply(QStringLiteral("org.talvore.Sealmoor.Error.Refused"),
                           QStringLiteral("The exchange is closed."));
    }

private:
    bool m_failing;
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    Companion companion(app.arguments().contains(QStringLiteral("--fail")));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.registerObject(HandoffChannel::objectPath(), &companion, QDBusConnection::ExportAllSlots)) {
        std::fprintf(stderr, "cannot serve the hand-off: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    if (!bus.registerService(HandoffChannel::serviceName())) {
        std::fprintf(stderr, "cannot own %s: %s\n", qPrintable(HandoffChannel::serviceName()),
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

#include "sealmoorcompanion.moc"
