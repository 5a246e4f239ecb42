#include "qtinifile.h"

#include <QFile>
#include <QTemporaryDir>

namespace QtIniFile {

QSettings::SettingsMap read(const QByteArray &bytes)
{
    const QTemporaryDir fresh;
    const QString path = fresh.filePath(QStringLiteral("read.ini"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    file.close();
    const QSettings settings(path, QSettings::IniFormat);
    QSettings::SettingsMap values;
    for (const QString &key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

QByteArray written(const QSettings::SettingsMap &values)
{
    const QTemporaryDir fresh;
    const QString path = fresh.filePath(QStringLiteral("written.ini"));
    {
        QSettings settings(path, QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace QtIniFile
