#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A session bus of the test's own: a dbus-daemon on a generated configuration, optionally
// with a folder of activation files, gone with the object.
class PrivateBus
{
public:
    // Starts the daemon; `serviceDir` holds activation files when given.
    explicit PrivateBus(const QString &serviceDir = {});
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Whether the daemon runs; why not when it does not.
    bool isRunning() const { return !m_address.isEmpty(); }
    QString error() const { return m_error; }

    QString address() const { return m_address; }
    // A connection of this process to the bus.
    QDBusConnection connection() const;
    // The environment of a process that is to use this bus as its session bus.
    QProcessEnvironment environment() const;

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QString m_connectionName;
    QString m_error;
};
