#include "temporarysettings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

TemporarySettings::TemporarySettings()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
}

TemporarySettings::~TemporarySettings()
{
    // Point the store somewhere harmless rather than back at the user's folder.
    const QString gone = m_dir.path() + QStringLiteral("/gone");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, gone);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, gone);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(gone));
}

QString TemporarySettings::programSettingsFile() const
{
    return m_dir.path() + QStringLiteral("/Talvore Software/Mintara.conf");
}

void TemporarySettings::writeProgramSettingsFile(const QByteArray &content) const
{
    QDir().mkpath(m_dir.path() + QStringLiteral("/Talvore Software"));
    QFile file(programSettingsFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}
