#pragma once

#include "countrules.h"
#include "generationsettings.h"

#include <QObject>
#include <QString>

class Prompter;

// The advanced options as the rest of the program sees them, without any window: the one
// generation settings record, the rules that keep its counts in step, its load from and save
// to the store, and the state of the "Select All" button.
//
// The record lives as long as this object, so readers may keep a reference to it across
// unloads (a batch run reads it while the event loop runs). Unloading forgets the edits and
// reloads the record from the store at once, so such a reader goes on with the stored
// settings, as a freshly opened dialog would show them, never with edits thrown away.
class AdvancedOptions : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString selectSymbolsCaption READ selectSymbolsCaption NOTIFY selectSymbolsCaptionChanged)
    Q_PROPERTY(QString selectSymbolsToolTip READ selectSymbolsToolTip NOTIFY selectSymbolsCaptionChanged)
    Q_PROPERTY(bool loaded READ isLoaded NOTIFY loadedChanged)

public:
    explicit AdvancedOptions(Prompter &prompter, QObject *parent = nullptr);

    // The record, loaded first when it is not.
    GenerationSettings &settings();
    // The two re-entry flags of the count rules, and the rules themselves.
    CountRules &rules() { return m_rules; }
    // Where the window's questions and notices go.
    Prompter &prompter() { return m_prompter; }

    // Whether the record holds a load (and maybe edits) that has not been unloaded since.
    bool isLoaded() const { return m_loaded; }
    // Loads unless loaded; a dialog's start-up.
    void ensureLoaded();
    // Starts afresh: defaults, flags off, then LoadSettings.
    void load();
    // Forgets the edits and reloads the store. Emits unloaded() when it was loaded.
    void unload();
    // Forgets the edits without reloading, for the end of the program.
    void discard();

    // Reads the record from the store and brings length and counts in line. Nothing stored
    // yet, or only part of it: what is there loads, the rest keeps its defaults and is stored.
    // A value or line that cannot be used is reported as "frmAdvanced.LoadSettings()" once the
    // load has finished, naming it and its file; the others still load.
    void LoadSettings();
    // Writes the record to the store at once. A record that cannot reach the disk is reported
    // as "frmAdvanced.SaveSettings()" (which file, why), once until a save succeeds; the record
    // stays as it is in memory.
    void SaveSettings();

    // The gate before the record is used or stored: asks about a zero length and about
    // symbols wanted while none is selected, then saves. True when the record may be used.
    bool VerifyInputAndSaveSettings();

    // The "Select All" / "Unselect All" button, and its click.
    QString selectSymbolsCaption() const { return m_selectSymbolsCaption; }
    QString selectSymbolsToolTip() const { return m_selectSymbolsToolTip; }
    void clickSelectSymbols();

    // The tooltip of a symbol button in the given state.
    static QString symbolToolTip(bool selected);

Q_SIGNALS:
    void selectSymbolsCaptionChanged(const QString &caption);
    void loadedChanged(bool loaded);
    // The edits were forgotten; windows showing them go away.
    void unloaded();

private:
    bool verify();
    void setSelectSymbolsCaption(const QString &caption, const QString &toolTip);

    Prompter &m_prompter;
    GenerationSettings m_settings;
    CountRules m_rules;
    QString m_selectSymbolsCaption;
    QString m_selectSymbolsToolTip;
    bool m_loaded = false;
    // The store's last trouble the user was told about, so that it is told once.
    QString m_lastStoreReport;
};
