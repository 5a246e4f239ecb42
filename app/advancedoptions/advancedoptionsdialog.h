#pragma once

#include <QDialog>
#include <array>

class AdvancedOptions;
class GenerationSettings;
class HelpLauncher;
class ProfileChoice;
class QCheckBox;
class QComboBox;
class QLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class SymbolButton;

// The "Advanced Options" window (objectName "frmAdvanced"): a view over AdvancedOptions on
// three pages, General (the seed and the clipboard), Symbols (the 32 symbol buttons, the extra
// characters and the look-alikes) and Combination (the counts and the length), with the named
// profiles above them. Every box edits the record as it is typed;
// OK runs the check and, when it passes, emits lengthAccepted() and closes with Accepted.
// Cancel, Escape and closing the window close with Rejected and save nothing. Whoever shows
// it unloads the record when it closes (see AdvancedDialogHost).
class AdvancedOptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // Loads the record unless loaded; Help opens its page through `help` when given.
    explicit AdvancedOptionsDialog(AdvancedOptions &options, HelpLauncher *help = nullptr,
                                   QWidget *parent = nullptr);
    ~AdvancedOptionsDialog() override;

    // Stops following the record, for a window on its way out while the record lives on.
    void detach();

    // The help page of this window.
    static QString helpTopic() { return QStringLiteral("advanced_options.htm"); }

    // The profiles this window offers.
    ProfileChoice &profiles() { return *m_profiles; }

Q_SIGNALS:
    // OK passed the check and saved; `length` is the password length the main window takes.
    void lengthAccepted(const QString &length);

private:
    QLayout *createProfileRow();
    void showProfiles();
    QWidget *createGeneralPage();
    QWidget *createClipboardFrame(QWidget *page);
    QWidget *createSymbolsPage();
    QWidget *createCombinationPage();
    QLineEdit *createTextBox(const QString &name, QString (GenerationSettings::*read)() const,
                             void (GenerationSettings::*write)(const QString &),
                             void (GenerationSettings::*changed)(const QString &));
    void bindCheckBox(QCheckBox *box, int (GenerationSettings::*read)() const,
                      void (GenerationSettings::*write)(int), void (GenerationSettings::*changed)(int));
    void showUseDefault(bool useDefault);
    void showSymbol(int index, bool selected);
    void showClipboardClear(int seconds);
    void cmdOK_Click();

    AdvancedOptions &m_options;
    GenerationSettings &m_settings;
    HelpLauncher *m_help;
    std::array<SymbolButton *, 32> m_symbols {};
    std::array<QRadioButton *, 2> m_optSeed {};
    QLineEdit *m_txtSeed = nullptr;
    QPushButton *m_cmdSelSymbols = nullptr;
    ProfileChoice *m_profiles = nullptr;
    QComboBox *m_cboProfile = nullptr;
    QPushButton *m_cmdRenameProfile = nullptr;
    QPushButton *m_cmdDeleteProfile = nullptr;
    QCheckBox *m_chkClearClipboard = nullptr;
    QSpinBox *m_udClearSeconds = nullptr;
};
