#pragma once

#include "errorrecord.h"

#include <QObject>
#include <QString>
#include <array>
#include <optional>

// The four kinds of character a password is made of, in the order the composer numbers them.
enum class CharacterClass { Uppercase = 0, Lowercase = 1, Digit = 2, Symbol = 3 };

// What the password composer produces: the length, how many characters of each class go into
// one password, which of the 32 symbols may appear, whether control and extended characters
// join them, and how the random source is seeded. Length, counts and seed are kept as the text
// the user typed; what a count reads as (or the error reading it raises) is worked out when it
// is set, so readers that ask for a count at every draw stay cheap.
class GenerationSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(
        QString PasswordLength READ PasswordLength WRITE setPasswordLength NOTIFY passwordLengthChanged)
    Q_PROPERTY(QString NumUppercaseChars READ NumUppercaseChars WRITE setNumUppercaseChars NOTIFY
                   numUppercaseCharsChanged)
    Q_PROPERTY(QString NumLowercaseChars READ NumLowercaseChars WRITE setNumLowercaseChars NOTIFY
                   numLowercaseCharsChanged)
    Q_PROPERTY(QString NumNumbers READ NumNumbers WRITE setNumNumbers NOTIFY numNumbersChanged)
    Q_PROPERTY(QString NumSymbols READ NumSymbols WRITE setNumSymbols NOTIFY numSymbolsChanged)
    Q_PROPERTY(int NonPrintableChars READ NonPrintableChars WRITE setNonPrintableChars NOTIFY
                   nonPrintableCharsChanged)
    Q_PROPERTY(int ExtendedSymbolChars READ ExtendedSymbolChars WRITE setExtendedSymbolChars NOTIFY
                   extendedSymbolCharsChanged)
    Q_PROPERTY(bool UseDefault READ UseDefault WRITE setUseDefault NOTIFY useDefaultChanged)
    Q_PROPERTY(QString UserSeed READ UserSeed WRITE setUserSeed NOTIFY userSeedChanged)
    Q_PROPERTY(bool LeaveOutLookAlikes READ LeaveOutLookAlikes WRITE setLeaveOutLookAlikes NOTIFY
                   leaveOutLookAlikesChanged)
    Q_PROPERTY(int ClipboardClearSeconds READ ClipboardClearSeconds WRITE setClipboardClearSeconds NOTIFY
                   clipboardClearSecondsChanged)

public:
    static constexpr int SymbolCount = 32;
    // The clipboard is cleared this many seconds after a copy at the soonest and the latest.
    static constexpr int ClipboardClearMinimum = 10;
    static constexpr int ClipboardClearMaximum = 600;

    // One entry of the fixed symbol table: the character it adds to the pool and the caption
    // of its button (the ampersand's caption doubles it, a single one marks an access key).
    struct Symbol
    {
        QChar character;
        QString caption;
    };

    explicit GenerationSettings(QObject *parent = nullptr);

    // Puts every field back to what a fresh record holds, notifying each field that changes.
    void resetToDefaults();
    // Takes every field of `other`, notifying each field that changes.
    void copyFrom(const GenerationSettings &other);

    // The 32 symbols, index 0 to 31.
    static const std::array<Symbol, SymbolCount> &SymbolTable();

    // Characters per password; the sum of the counts when they agree.
    QString PasswordLength() const { return m_passwordLength; }
    void setPasswordLength(const QString &text);

    // The count of one class as typed, and as it reads (nothing when it does not read).
    QString count(CharacterClass characterClass) const;
    std::optional<double> countValue(CharacterClass characterClass) const;
    // The count as a number, or the error a fresh read of its text raises: 13 for text that is
    // not a number, 6 for a number too large for a double.
    double readCount(CharacterClass characterClass) const
    {
        const CountField &field = m_counts[std::size_t(characterClass)];
        if (field.error) [[unlikely]]
            throw Failure(*field.error);
        return field.value;
    }
    // Changes whenever any count's text does, so a reader may keep what it read until then.
    quint64 countsRevision() const { return m_countsRevision; }
    void setCount(CharacterClass characterClass, const QString &text);

    QString NumUppercaseChars() const { return count(CharacterClass::Uppercase); }
    void setNumUppercaseChars(const QString &text) { setCount(CharacterClass::Uppercase, text); }
    QString NumLowercaseChars() const { return count(CharacterClass::Lowercase); }
    void setNumLowercaseChars(const QString &text) { setCount(CharacterClass::Lowercase, text); }
    QString NumNumbers() const { return count(CharacterClass::Digit); }
    void setNumNumbers(const QString &text) { setCount(CharacterClass::Digit, text); }
    QString NumSymbols() const { return count(CharacterClass::Symbol); }
    void setNumSymbols(const QString &text) { setCount(CharacterClass::Symbol, text); }

    // Whether symbol `index` (0..31) may appear; raises error 9 for an index outside the table.
    bool SymbolSelected(int index) const;
    void setSymbolSelected(int index, bool selected);
    void setAllSymbolsSelected(bool selected);
    int selectedSymbolCount() const;

    // Check box values: 0 clear, 1 checked, 2 greyed; any other value raises error 380.
    // A non-zero value adds codes 0..31, resp. 128..255, to the symbol pool.
    int NonPrintableChars() const { return m_nonPrintableChars; }
    void setNonPrintableChars(int value);
    int ExtendedSymbolChars() const { return m_extendedSymbolChars; }
    void setExtendedSymbolChars(int value);

    // true: seed from the operating system; false: seed from UserSeed.
    bool UseDefault() const { return m_useDefault; }
    void setUseDefault(bool useDefault);
    QString UserSeed() const { return m_userSeed; }
    void setUserSeed(const QString &text);

    // Whether the look-alike characters are left out of every class, the symbols included.
    bool LeaveOutLookAlikes() const { return m_leaveOutLookAlikes; }
    void setLeaveOutLookAlikes(bool leaveOut);
    // The characters left out while LeaveOutLookAlikes is set: those that many fonts draw alike
    // (0 O o, 1 l I i |, 5 S, 2 Z, 8 B), the quotes and backquote, and the extended characters
    // drawn like one of them. Control characters are never among them.
    static const QString &LookAlikeCharacters();

    // Seconds after a copy at which the clipboard is cleared, 0 for never; otherwise
    // ClipboardClearMinimum..ClipboardClearMaximum, anything else raises error 380.
    int ClipboardClearSeconds() const { return m_clipboardClearSeconds; }
    void setClipboardClearSeconds(int seconds);
    static bool isClipboardClearSeconds(int seconds)
    {
        return seconds == 0 || (seconds >= ClipboardClearMinimum && seconds <= ClipboardClearMaximum);
    }

    // The characters a symbol position draws from: the selected symbols in table order, then
    // codes 0..31, then codes 128..255 as their Windows-1252 characters, less the look-alikes
    // while they are left out. Built once per change; keep a copy (not the reference) across
    // anything that may change the selection.
    const QString &symbolPool() const;
    // The characters one class draws from, in order: A-Z, a-z, 0-9 or the symbol pool, less the
    // look-alikes while they are left out.
    const QString &classPool(CharacterClass characterClass) const;
    // Whether symbol `index` cannot appear whatever its selection: a look-alike left out.
    bool isSymbolLeftOut(int index) const;
    // The selected symbols that can appear: all of them unless look-alikes are left out.
    int usableSymbolCount() const;
    // A check box's value (0 to 2); anything else raises error 380.
    static int checkBoxValue(int value);

Q_SIGNALS:
    void passwordLengthChanged(const QString &text);
    void numUppercaseCharsChanged(const QString &text);
    void numLowercaseCharsChanged(const QString &text);
    void numNumbersChanged(const QString &text);
    void numSymbolsChanged(const QString &text);
    // Any of the four counts changed.
    void countChanged(CharacterClass characterClass, const QString &text);
    void symbolSelectedChanged(int index, bool selected);
    void nonPrintableCharsChanged(int value);
    void extendedSymbolCharsChanged(int value);
    void useDefaultChanged(bool useDefault);
    void userSeedChanged(const QString &text);
    void leaveOutLookAlikesChanged(bool leaveOut);
    void clipboardClearSecondsChanged(int seconds);

private:
    struct CountField
    {
        explicit CountField(const QString &typed = {});

        QString text;
        double value = 0;
        std::optional<ErrorRecord> error;
    };

    void invalidatePool() { m_poolValid = false; }

    QString m_passwordLength = QStringLiteral("10");
    std::array<CountField, 4> m_counts;
    quint64 m_countsRevision = 1;
    std::array<bool, SymbolCount> m_symbolSelected;
    int m_nonPrintableChars = 0;
    int m_extendedSymbolChars = 0;
    bool m_useDefault = true;
    QString m_userSeed = QStringLiteral("0");
    bool m_leaveOutLookAlikes = false;
    int m_clipboardClearSeconds = 0;
    mutable QString m_pool;
    mutable bool m_poolValid = false;
};
