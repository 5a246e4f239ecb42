#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Starts the desktop's system-information tool, the window that tells what the computer is
// and runs.
class SystemInfoTool
{
public:
    virtual ~SystemInfoTool();

    // Starts the tool on its own; false when none is installed or none would start.
    virtual bool start() = 0;
};

// The tools the desktops ship, found on the PATH: the current desktop's own first, then the
// ones that suit any desktop, then the other desktops' tools.
class DesktopSystemInfoTool : public SystemInfoTool
{
public:
    struct Candidate
    {
        QString program;
        QStringList arguments;
        // The XDG_CURRENT_DESKTOP name it belongs to; empty for a tool that suits any desktop.
        QString desktop;
    };

    // Every known tool, in the order tried when the desktop is none of theirs.
    static const QList<Candidate> &knownTools();
    // The order they are tried on `currentDesktop`, a colon-separated XDG_CURRENT_DESKTOP value.
    static QList<Candidate> candidatesFor(const QString &currentDesktop);

    bool start() override;
};
