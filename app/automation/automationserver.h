#pragma once

#include <QDBusConnection>
#include <QString>
#include <memory>

class ActivityGate;
class Application;
class ApplicationFront;
class AutomationTarget;
class CallQueue;

// Serves the Application object of this process on a bus: object /Application, interface
// Quorvex._Application, under the name Quorvex.Application.instance<pid> of its own and in
// the queue for Quorvex.Application, which passes to the next process in line when its owner
// ends. main() makes one over the main window and calls start().
class AutomationServer
{
public:
    AutomationServer(AutomationTarget &target, ActivityGate &gate,
                     QDBusConnection connection = QDBusConnection::sessionBus());
    ~AutomationServer();
    AutomationServer(const AutomationServer &) = delete;
    AutomationServer &operator=(const AutomationServer &) = delete;

    // Puts the object on the bus and asks for both names. An empty text when it serves under
    // both, otherwise why not: without the plain name (or no bus) nothing stays registered;
    // without its own name it serves and queues for the plain name all the same.
    QString start();
    // Whether start() put the object on the bus, under one name or both.
    bool isServing() const { return m_serving; }
    // Whether the plain name is this process's now (rather than waiting in the queue).
    bool ownsServiceName() const;

    // The names and the path clients use.
    static QString serviceName() { return QStringLiteral("Quorvex.Application"); }
    static QString instanceServiceName(qint64 processId);
    static QString objectPath() { return QStringLiteral("/Application"); }

    // The calls waiting for their turn, for the main window's status and the tests.
    CallQueue &calls() { return *m_calls; }

private:
    void stop();

    QDBusConnection m_connection;
    std::unique_ptr<Application> m_application;
    std::unique_ptr<CallQueue> m_calls;
    std::unique_ptr<ApplicationFront> m_front;
    QString m_instanceName;
    bool m_serving = false;
};
