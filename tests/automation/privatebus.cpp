#include "privatebus.h"

#include <QFile>

PrivateBus::PrivateBus(const QString &serviceDir)
{
    const QString serviceLine = serviceDir.isEmpty()
        ? QString()
        : QStringLiteral("  <servicedir>%1</servicedir>\n").arg(serviceDir.toHtmlEscaped());
    const QString config =
        QStringLiteral("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                       " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                       "<busconfig>\n"
                       "  <type>session</type>\n"
                       "  <listen>unix:dir=%1</listen>\n"
                       "%2"
                       // As large as a desktop's session bus takes them.
                       "  <limit name=\"max_incoming_bytes\">1000000000</limit>\n"
                       "  <limit name=\"max_outgoing_bytes\">1000000000</limit>\n"
                       "  <limit name=\"max_message_size\">1000000000</limit>\n"
                       "  <policy context=\"default\">\n"
                       "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
                       "    <allow eavesdrop=\"true\"/>\n"
                       "    <allow own=\"*\"/>\n"
                       "  </policy>\n"
                       "</busconfig>\n")
            .arg(m_dir.path().toHtmlEscaped(), serviceLine);
    const QString configFile = m_dir.filePath(QStringLiteral("bus.conf"));
    QFile file(configFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
        m_error = QStringLiteral("cannot write %1").arg(configFile);
        return;
    }
    file.close();

    // Programs the bus starts run without a display, like the tests.
    QProcessEnvironment daemonEnvironment = QProcessEnvironment::systemEnvironment();
    daemonEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    m_daemon.setProcessEnvironment(daemonEnvironment);
    m_daemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   { QStringLiteral("--config-file=") + configFile, QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1") });
    if (!m_daemon.waitForStarted(10000)) {
        m_error = QStringLiteral("dbus-daemon does not start: %1").arg(m_daemon.errorString());
        return;
    }
    while (!m_daemon.canReadLine()) {
        if (!m_daemon.waitForReadyRead(10000)) {
            m_error = QStringLiteral("dbus-daemon gave no address");
            return;
        }
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    m_connectionName = QStringLiteral("private-bus-") + QString::number(quintptr(this));
}

PrivateBus::~PrivateBus()
{
    if (!m_connectionName.isEmpty())
        QDBusConnection::disconnectFromBus(m_connectionName);
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
}

QDBusConnection PrivateBus::connection() const
{
    return QDBusConnection::connectToBus(m_address, m_connectionName);
}

QProcessEnvironment PrivateBus::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}
