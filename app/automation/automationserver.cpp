#include "automationserver.h"

#include "application.h"
#include "applicationadaptor.h"
#include "applicationfront.h"
#include "callqueue.h"
#include "propertiesadaptor.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <dbus/dbus.h>
#include <limits>

namespace {

// libdbus stops reading a connection while the messages it delivered and that are not freed
// yet take more than 63 MiB, and starts again from the thread that frees the last of them.
// Calls are freed on the main thread, where QtDBus cannot switch its socket notifier back on,
// so one large call would leave the program deaf for good. The bus daemon bounds each message.
void keepReading(const QDBusConnection &connection)
{
    if (auto *raw = static_cast<DBusConnection *>(connection.internalPointer()))
        dbus_connection_set_max_received_size(raw, std::numeric_limits<long>::max());
}

// Why the bus did not give us a name, in words a user can act on.
QString registrationFailure(const QString &name,
                            const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> &reply)
{
    if (!reply.isValid())
        return QStringLiteral("Could not ask the bus for the name %1: %2").arg(name, reply.error().message());
    switch (reply.value()) {
    case QDBusConnectionInterface::ServiceNotRegistered:
        return QStringLiteral("The bus refused the name %1: another process owns it").arg(name);
    case QDBusConnectionInterface::ServiceQueued:
        return QStringLiteral("The name %1 is owned by another process").arg(name);
    case QDBusConnectionInterface::ServiceRegistered:
        break;
    }
    return {};
}

} // namespace

AutomationServer::AutomationServer(AutomationTarget &target, ActivityGate &gate, QDBusConnection connection)
    : m_connection(std::move(connection))
    , m_application(std::make_unique<Application>(target))
    , m_calls(std::make_unique<CallQueue>(gate))
    , m_front(std::make_unique<ApplicationFront>(*m_application, *m_calls))
{
    // Both adaptors belong to the front object and go with it.
    new ApplicationAdaptor(m_front.get());
    new PropertiesAdaptor(m_front.get());
}

AutomationServer::~AutomationServer()
{
    stop();
}

QString AutomationServer::instanceServiceName(qint64 processId)
{
    return serviceName() + QStringLiteral(".instance") + QString::number(processId);
}

QString AutomationServer::start()
{
    if (m_serving)
        return {};
    if (!m_connection.isConnected()) {
        const QString why = m_connection.lastError().message();
        return QStringLiteral("Not connected to the D-Bus session bus%1")
            .arg(why.isEmpty() ? QString() : QStringLiteral(": ") + why);
    }
    QDBusConnectionInterface *bus = m_connection.interface();
    if (!bus)
        return QStringLiteral("The D-Bus connection has no bus daemon to ask for names");

    if (!m_connection.registerObject(objectPath(), m_front.get(), QDBusConnection::ExportAdaptors))
        return QStringLiteral("The object path %1 is already in use in this process").arg(objectPath());

    keepReading(m_connection);

    // The own name tells this process apart from the others. Without it (a process of the same
    // id in another PID namespace owns it) clients still reach this one by the plain name.
    const QString instance = instanceServiceName(QCoreApplication::applicationPid());
    const auto own = bus->registerService(instance, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    QString ownRefused = registrationFailure(instance, own);
    if (ownRefused.isEmpty())
        m_instanceName = instance;

    // The plain name is shared: the first process owns it and the others wait in line. It is
    // never handed over to a process that asks to replace its owner: clients trust it with
    // their files and take passwords from it.
    const auto shared = bus->registerService(serviceName(), QDBusConnectionInterface::QueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
    if (!shared.isValid() || shared.value() == QDBusConnectionInterface::ServiceNotRegistered) {
        const QString why = registrationFailure(serviceName(), shared);
        stop();
        return why;
    }
    m_serving = true;
    if (!ownRefused.isEmpty())
        return ownRefused + QStringLiteral("; serving under %1 alone").arg(serviceName());
    return {};
}

bool AutomationServer::ownsServiceName() const
{
    QDBusConnectionInterface *bus = m_connection.interface();
    if (!m_serving || !bus)
        return false;
    const QDBusReply<QString> owner = bus->serviceOwner(serviceName());
    return owner.isValid() && owner.value() == m_connection.baseService();
}

void AutomationServer::stop()
{
    if (QDBusConnectionInterface *bus = m_connection.interface(); bus && m_connection.isConnected()) {
        if (m_serving)
            bus->unregisterService(serviceName());
        if (!m_instanceName.isEmpty())
            bus->unregisterService(m_instanceName);
    }
    if (m_connection.isConnected() && m_connection.objectRegisteredAt(objectPath()) == m_front.get())
        m_connection.unregisterObject(objectPath());
    m_instanceName.clear();
    m_serving = false;
}
