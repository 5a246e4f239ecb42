#include "automationserver.h"

#include "application.h"
#include "applicationadaptor.h"
#include "applicationfront.h"
#include "callqueue.h"
#include "propertiesadaptor.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>

namespace {

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

    // The own name first: it is what tells this process apart from the others.
    const QString instance = instanceServiceName(QCoreApplication::applicationPid());
    const auto own = bus->registerService(instance, QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    if (QString why = registrationFailure(instance, own); !why.isEmpty()) {
        m_connection.unregisterObject(objectPath());
        return why;
    }
    m_instanceName = instance;

    // The plain name is shared: the first process owns it and the others wait in line.
    const auto shared = bus->registerService(serviceName(), QDBusConnectionInterface::QueueService,
                                             QDBusConnectionInterface::AllowReplacement);
    if (!shared.isValid() || shared.value() == QDBusConnectionInterface::ServiceNotRegistered) {
        const QString why = registrationFailure(serviceName(), shared);
        stop();
        return why;
    }
    m_serving = true;
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
