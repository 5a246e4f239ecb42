#include "handoffchannel.h"

#include "dbustext.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

const QString Source = QStringLiteral("HandoffChannel");

} // namespace

bool HandoffChannel::companionRunning(const QDBusConnection &bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    return bus.interface()->isServiceRegistered(serviceName()).value();
}

HandoffChannel::HandoffChannel(const QDBusConnection &bus, int timeoutMs)
    : m_bus(bus)
    , m_timeoutMs(timeoutMs)
{ }

void HandoffChannel::OpenByName(const QString &name)
{
    if (!m_bus.isConnected())
        raiseError(ErrorNumber::HandoffFailed, Source,
                   QStringLiteral("Sealmoor cannot be reached: there is no session bus."));
    m_exchange = name;
    m_open = true;
}

void HandoffChannel::WriteText(const QString &text)
{
    if (!m_open)
        raiseError(ErrorNumber::HandoffNotOpen, Source, QStringLiteral("The hand-off channel is not open."));
    if (const QString why = DBusText::whyNotCarried(text); !why.isEmpty())
        raiseError(ErrorNumber::HandoffFailed, Source,
                   QStringLiteral("The password was not handed to Sealmoor: it holds %1, which cannot "
                                  "travel over D-Bus.")
                       .arg(why));
    QDBusMessage call = QDBusMessage::createMethodCall(serviceName(), objectPath(), interfaceName(),
                                                       QStringLiteral("WriteText"));
    call << m_exchange << text;
    // Waits without running the event loop: nothing else may happen halfway through a copy.
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, m_timeoutMs);
    if (reply.type() == QDBusMessage::ErrorMessage)
        raiseError(ErrorNumber::HandoffFailed, Source,
                   QStringLiteral("Sealmoor did not take the password: %1").arg(reply.errorMessage()));
}
