#pragma once

#include "profilestore.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class AdvancedOptions;
class Prompter;

// The named profiles as the Advanced Options window offers them, without the window: the stored
// profiles, the one chosen last, and choosing, saving, renaming and deleting, each asking and
// telling through the prompter. Profiles are stored at once; OK and Cancel concern only the
// settings in the window.
class ProfileChoice : public QObject
{
    Q_OBJECT

public:
    ProfileChoice(AdvancedOptions &options, Prompter &prompter, QObject *parent = nullptr);

    // The stored profiles as last read, sorted by name.
    const QList<ProfileStore::Entry> &entries() const { return m_entries; }
    // The profile chosen or saved last in this window; empty before that.
    QString current() const { return m_current; }

    // Reads the profiles again; a store that cannot be read at all offers none.
    void reload();
    // Fills the record from the profile as if each value were typed, so the count rules run.
    // A profile that cannot be used is pointed out and changes nothing; false then.
    bool choose(const QString &name);
    // Asks for a name and stores the record's settings under it, asking before it replaces a
    // profile. False when cancelled or refused.
    bool saveAsNew();
    // Asks for a new name for the current profile.
    bool renameCurrent();
    // Asks, then deletes the current profile.
    bool deleteCurrent();

Q_SIGNALS:
    // The list or the current profile changed.
    void changed();

private:
    // Asks for a name until one may be used (see ProfileStore::nameProblem), and not another
    // profile's unless the user agrees to replace it. Nothing when cancelled.
    std::optional<QString> askName(const QString &prompt, const QString &title, const QString &start,
                                   const QString &own);
    // Runs a change of the store, after which `current` is the current profile; a failure is
    // reported as `operation`'s, and false.
    bool storeChange(const QString &operation, const std::function<void()> &change, const QString &current);
    void setCurrent(const QString &name);

    AdvancedOptions &m_options;
    Prompter &m_prompter;
    QList<ProfileStore::Entry> m_entries;
    QString m_current;
};
