#include "temporarysettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    const QDateTime before = QFileInfo(file).lastModified();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(content);
    file.flush();
    // Qt keeps what it read of a settings file while its size and time stay the same: a change
    // of equal size within the same millisecond would go unseen by the next read.
    if (before.isValid() && QFileInfo(file.fileName()).lastModified() <= before)
        file.setFileTime(before.addSecs(1), QFileDevice::FileModificationTime);
}
