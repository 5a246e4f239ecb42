#pragma once

#include <QString>
#include <QTemporaryDir>

// Points the per-user settings store (QSettings' user path and $XDG_CONFIG_HOME, which child
// processes inherit) at a fresh temporary folder for as long as it lives, so tests never read
// or write the user's own settings.
class TemporarySettings
{
public:
    TemporarySettings();
    ~TemporarySettings();
    TemporarySettings(const TemporarySettings &) = delete;
    TemporarySettings &operator=(const TemporarySettings &) = delete;

    QString path() const { return m_dir.path(); }
    // The file the program's settings live in: <path>/Talvore Software/Mintara.conf.
    QString programSettingsFile() const;
    // Writes `content` as the program's settings file, as a damaged or hand-edited store.
    void writeProgramSettingsFile(const QByteArray &content) const;

private:
    QTemporaryDir m_dir;
};
