#pragma once

#include <QDialog>
#include <array>

class AdvancedOptions;
class GenerationSettings;
class HelpLauncher;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SymbolButton;

// The "Advanced Options" window (objectName "frmAdvanced"): a view over AdvancedOptions on
// three pages, General (the seed), Symbols (the 32 symbol buttons and the extra characters)
// and Combination (the counts and the length). Every box edits the record as it is typed;
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

Q_SIGNALS:
    // OK passed the check and saved; `length` is the password length the main window takes.
    void lengthAccepted(const QString &length);

private:
    QWidget *createGeneralPage();
    QWidget *createSymbolsPage();
    QWidget *createCombinationPage();
    QLineEdit *createTextBox(const QString &name, QString (GenerationSettings::*read)() const,
                             void (GenerationSettings::*write)(const QString &),
                             void (GenerationSettings::*changed)(const QString &));
    void bindCheckBox(QCheckBox *box, int (GenerationSettings::*read)() const,
                      void (GenerationSettings::*write)(int), void (GenerationSettings::*changed)(int));
    void showUseDefault(bool useDefault);
    void showSymbol(int index, bool selected);
    void cmdOK_Click();

    AdvancedOptions &m_options;
    GenerationSettings &m_settings;
    HelpLauncher *m_help;
    std::array<SymbolButton *, 32> m_symbols {};
    std::array<QRadioButton *, 2> m_optSeed {};
    QLineEdit *m_txtSeed = nullptr;
    QPushButton *m_cmdSelSymbols = nullptr;
};
