#pragma once

#include "errorrecord.h"

#include <QDBusConnection>
#include <QString>

namespace ErrorNumber {
// The companion application could not be reached, or did not take the text.
inline constexpr qint32 HandoffFailed = ComponentBase + 2001;
// WriteText before OpenByName.
inline constexpr qint32 HandoffNotOpen = ComponentBase + 2002;
} // namespace ErrorNumber

// One hand-off of a text to the companion application Sealmoor, which serves the interface
// org.talvore.Sealmoor.Handoff under its well-known name on the session bus. Make one per
// hand-off: OpenByName ties it to an exchange, WriteText delivers. Failures raise errors.
class HandoffChannel
{
public:
    // The companion's well-known bus name, object path and interface.
    static QString serviceName() { return QStringLiteral("org.talvore.Sealmoor"); }
    static QString objectPath() { return QStringLiteral("/org/talvore/Sealmoor"); }
    static QString interfaceName() { return QStringLiteral("org.talvore.Sealmoor.Handoff"); }

    // Whether the companion runs: some program owns its name on `bus`.
    static bool companionRunning(const QDBusConnection &bus = QDBusConnection::sessionBus());

    // Calls go over `bus` and wait at most `timeoutMs` for the companion's answer.
    explicit HandoffChannel(const QDBusConnection &bus = QDBusConnection::sessionBus(), int timeoutMs = 5000);

    // Ties the channel to the exchange the companion knows as `name`.
    void OpenByName(const QString &name);
    // Hands `text` to the companion under the exchange; returns once it has taken it. A text
    // that D-Bus cannot carry whole (character 0) is refused, never sent cut short.
    void WriteText(const QString &text);

private:
    QDBusConnection m_bus;
    int m_timeoutMs;
    QString m_exchange;
    bool m_open = false;
};
