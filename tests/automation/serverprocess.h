#pragma once

#include "automationserver.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// A program serving the Application object, started on the given environment (its session bus)
// and killed with the object if it still runs.
class ServerProcess
{
public:
    ServerProcess(const QString &program, const QProcessEnvironment &environment,
                  QProcess::ProcessChannelMode channels = QProcess::ForwardedChannels)
    {
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(channels);
        m_process.start(program, {});
    }
    ~ServerProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    ServerProcess(const ServerProcess &) = delete;
    ServerProcess &operator=(const ServerProcess &) = delete;

    qint64 pid() const { return m_process.processId(); }
    // The name the server owns alone, whoever holds the plain name.
    QString instanceName() const { return AutomationServer::instanceServiceName(pid()); }
    QProcess &process() { return m_process; }

private:
    QProcess m_process;
};
