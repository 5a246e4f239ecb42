#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

class QSettings;

// A per-user hierarchical key-value store with a current key, laid over QSettings. Keys read as
// registry paths under the current-user root: "Software\<Organisation>\<Application>" is the
// settings file of that organisation and application ($XDG_CONFIG_HOME/<Organisation>/
// <Application>.conf), and deeper keys are groups inside it. Values are kept as plain text
// (SettingsFormat). Names may hold any character: '/' and '\' in a value or key name are stored
// escaped, so they never split a name into a path.
//
// One key serves one load or one save: what SetValue changes stays in memory until Flush writes
// it all at once, so the file holds either the record before the save or the one after it.
// Only a regular file is ever opened. What is written makes the folder and the file readable by
// their owner only (a stricter mode already set is kept); a write that fails leaves both as they
// were. Every failure raises an error; a key that does not exist raises ErrorNumber::KeyNotFound.
class RegistryKey
{
public:
    static constexpr quint32 CurrentUser = 0x80000001;
    static constexpr quint32 AllAccess = 0xF003F;
    // The store cannot be used as asked: above all the settings file is not a regular file, or
    // cannot be read or written. The description names the file and says why.
    static constexpr qint32 FileUnusable = qint32(0x80040000) + 29003;
    // A value's line in the file is damaged; the description names the value, its key and file.
    static constexpr qint32 ValueDamaged = qint32(0x80040000) + 29004;

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
    // The named value of the current key as its text, or an empty variant when it is not there.
    QVariant GetValue(const QString &name) const;
    // Creates or replaces the named value of the current key, in memory until Flush.
    void SetValue(const QString &name, const QVariant &data);
    // Writes every value set through this key to its file at once; nothing is written when
    // nothing changed.
    void Flush();

    // The current key as a backslash-separated path, empty at the root.
    QString currentPath() const;
    // The file the current key lives in, empty above the application's key.
    QString fileName() const;
    // The lines of the current file that could not be read, one text each, empty when whole.
    QStringList damage() const;
    // Keeps a copy of the current file as it is now beside it, named "<file>.damaged" and
    // readable by its owner only, in place of whatever had that name; returns the copy's name.
    QString keepCopy() const;

    // How a name is written into the store, and back.
    static QString escapedName(const QString &name);
    static QString unescapedName(const QString &escaped);

private:
    bool keyExists(const QStringList &path) const;
    QSettings &settings() const;
    QSettings &settingsFor(const QStringList &path) const;
    void requireRoot() const;
    QString groupOf(const QStringList &path) const;
    QString keyOf(const QString &name) const;

    bool m_atRoot = false;
    QStringList m_path;
    QSet<QString> m_created;
    bool m_changed = false;
    mutable std::unique_ptr<QSettings> m_settings;
    mutable QStringList m_settingsFor;
    mutable bool m_damaged = false;
};
