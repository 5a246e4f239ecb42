#include "systeminfotool.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

SystemInfoTool::~SystemInfoTool() = default;

const QList<DesktopSystemInfoTool::Candidate> &DesktopSystemInfoTool::knownTools()
{
    static const QList<Candidate> tools = {
        { QStringLiteral("kinfocenter"), {}, QStringLiteral("KDE") },
        { QStringLiteral("gnome-control-center"),
          { QStringLiteral("info-overview") },
          QStringLiteral("GNOME") },
        { QStringLiteral("cinnamon-settings"), { QStringLiteral("info") }, QStringLiteral("X-Cinnamon") },
        { QStringLiteral("xfce4-about"), {}, QStringLiteral("XFCE") },
        { QStringLiteral("hardinfo"), {}, {} },
    };
    return tools;
}

QList<DesktopSystemInfoTool::Candidate> DesktopSystemInfoTool::candidatesFor(const QString &currentDesktop)
{
    const QStringList desktops = currentDesktop.split(u':', Qt::SkipEmptyParts);
    const auto ownRank = [&desktops](const Candidate &tool) {
        if (tool.desktop.isEmpty())
            return 1;
        return desktops.contains(tool.desktop, Qt::CaseInsensitive) ? 0 : 2;
    };
    QList<Candidate> ordered = knownTools();
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const Candidate &a, const Candidate &b) { return ownRank(a) < ownRank(b); });
    return ordered;
}

bool DesktopSystemInfoTool::start()
{
    for (const Candidate &tool : candidatesFor(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))) {
        const QString path = QStandardPaths::findExecutable(tool.program);
        if (!path.isEmpty() && QProcess::startDetached(path, tool.arguments))
            return true;
    }
    return false;
}
