#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QSettings;

// A per-user hierarchical key-value store with a current key, laid over QSettings. Keys read as
// registry paths under the current-user root: "Software\<Organisation>\<Application>" is the
// settings file of that organisation and application (QSettings' native location, on Linux
// $XDG_CONFIG_HOME/<Organisation>/<Application>.conf), and deeper keys are groups inside it.
// Names may hold any character: '/' and '\' in a value or key name are stored escaped, so
// they never split a name into a path. Every failure raises an error; a key that does not
// exist raises ErrorNumber::KeyNotFound.
class RegistryKey
{
public:
    static constexpr quint32 CurrentUser = 0x80000001;
    static constexpr quint32 AllAccess = 0xF003F;

    RegistryKey();
    ~RegistryKey();
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;

    // Makes the root the current key.
    void EnterSubKey(quint32 root);
    // Makes the named subkey of the current key the current key; it must exist.
    void EnterSubKey(const QString &name);
    // Makes the key at the backslash-separated path under the root the current key.
    void OpenPath(const QString &path, quint32 root, quint32 access);
    // Creates the named subkey of the current key unless it exists; the current key stays.
    bool CreateSubKey(const QString &name);
    // The named value of the current key, or an empty variant when it is not there.
    QVariant GetValue(const QString &name) const;
    // Creates or replaces the named value of the current key.
    void SetValue(const QString &name, const QVariant &data);

    // The current key as a backslash-separated path, empty at the root.
    QString currentPath() const;

    // How a name is written into the store, and back.
    static QString escapedName(const QString &name);
    static QString unescapedName(const QString &escaped);

private:
    bool keyExists(const QStringList &path) const;
    QSettings &settings() const;
    void requireRoot() const;
    QString groupOf(const QStringList &path) const;

    bool m_atRoot = false;
    QStringList m_path;
    QSet<QString> m_created;
    mutable std::unique_ptr<QSettings> m_settings;
    mutable QStringList m_settingsFor;
};
