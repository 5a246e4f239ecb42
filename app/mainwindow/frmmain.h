#pragma once

#include "eventyield.h"
#include "stepguide.h"

#include <QWidget>
#include <array>
#include <functional>

class ActivityGate;
class AdvancedDialogHost;
class AdvancedOptions;
class DelayService;
class FileDialogService;
class HelpLauncher;
class PasswordComposer;
class PasswordList;
class Prompter;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class RandomSource;
class SpinButtons;

namespace Lustrel {
class XGlowLabel;
class XGradProgress;
class XShpLabel;
} // namespace Lustrel

// What the main window works with besides the gate; all of it outlives the window.
struct MainWindowServices
{
    AdvancedOptions &options;
    AdvancedDialogHost &advancedDialog;
    Prompter &prompter;
    RandomSource &random;
    DelayService &delay;
    FileDialogService &fileDialogs;
    HelpLauncher *help = nullptr;
    // Milliseconds from any fixed point, pacing the run; empty: a monotonic clock.
    std::function<qint64()> clock = {};
};

// The program's one main window: the two numbers of a batch, the buttons that generate, copy
// and save, the password list, and the five-step guide that follows the keyboard focus.
// Constructing it loads it (the Advanced Options window comes into being hidden); closing it
// asks about unsaved passwords and, unless cancelled, ends the program through unloaded().
class frmMain : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString MemoryName READ memoryName WRITE setMemoryName)

public:
    // A run and every modal question hold `gate` busy while they last.
    frmMain(ActivityGate &gate, const MainWindowServices &services, QWidget *parent = nullptr);
    ~frmMain() override;

    // The caller's name, set by an automation client; the tips read it when they are rebuilt,
    // the hand-off every time.
    QString memoryName() const { return m_memoryName; }
    void setMemoryName(const QString &name) { m_memoryName = name; }

    // The text of the password length box.
    QString passLengthText() const;
    void setPassLengthText(const QString &text);

    // The host of the Advanced Options window.
    AdvancedDialogHost &advancedDialog() { return m_advancedDialog; }
    // Where the window's questions and notices go.
    Prompter &prompter() { return m_prompter; }

    // The batch run. Reports its own failures; returns the first password of a completed run,
    // or an empty text when it stopped early. Refused (empty result, nothing changes) while a
    // run is already going.
    QString Generate();
    // Offers the first password to the companion application, then puts the selected passwords
    // on the clipboard; returns the first password. Failures are raised, not shown.
    QString Copy();
    // Writes every password to a file, asking for the file and the description when they are
    // empty and filling them in. False when the user cancelled the file dialog. Failures are
    // raised, not shown.
    bool Save(QString &fileName, QString &description);
    // Closes the window as its close button does. False when the user cancelled at the
    // question about unsaved passwords; true when the program is ending.
    bool Terminate();
    // Shows the window without making it modal; a shown window stays shown.
    void showWindow();

    // Whether a run is in progress.
    bool isRunning() const { return m_running; }
    // Passwords made by a completed run and not saved since.
    bool passwordsUnsaved() const { return m_passwordsUnsaved; }
    // The pauses the last run asked for, in total: the least time it could take.
    qint64 lastRunPacingMs() const { return m_lastRunPacingMs; }
    // The step guide's state.
    const StepGuide &stepGuide() const { return m_guide; }

    // Rebuilds the tips from MemoryName; they show from the next step change on.
    void RefreshTips();
    // Shows the current step: its title and tip, the counter, the highlight, the step buttons;
    // with `setFocus` the focus goes to the step's control.
    void ShowStep(bool setFocus);
    // Sets the list's horizontal scroll range to its widest entry.
    void UpdateListScrollWidth();

Q_SIGNALS:
    // The About button was clicked; the gate is held busy while the receivers run.
    void aboutRequested();
    // The window closed for good: the program ends.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void createLayout();
    void connectEvents();
    void load();

    // The run's three phases; each traps its own failures. False when the run stops.
    bool runPhase(int phase, const std::function<void()> &body);
    void restoreAfterRun();
    bool stopRequested() const { return m_stopRequested; }
    void AddPassword(const QString &password);

    void cmdGenerate_Click();
    void cmdCopy_Click();
    // False when the save failed (and the failure was shown).
    bool cmdSave_Click();
    void cmdAdvanced_Click();
    void cmdHelp_Click();
    void moveStep(int delta);
    void stepControlFocused(int step);
    void HighlightStep(qint16 step, bool on);
    void setBold(QWidget *widget, bool bold);
    bool mayUnload();
    void finishUnload();
    // Runs `body`, showing a failure as `operation`'s; false when it failed.
    bool showFailure(const QString &operation, const std::function<void()> &body);

    ActivityGate &m_gate;
    AdvancedOptions &m_options;
    AdvancedDialogHost &m_advancedDialog;
    Prompter &m_prompter;
    RandomSource &m_random;
    DelayService &m_delay;
    FileDialogService &m_fileDialogs;
    HelpLauncher *m_help;
    std::function<qint64()> m_clock;
    EventYield m_yield;
    PasswordComposer *m_composer = nullptr;

    QString m_memoryName;
    StepGuide m_guide;
    std::array<QWidget *, StepGuide::StepCount> m_stepControls {};
    bool m_passwordsUnsaved = false;
    qint64 m_lastRunPacingMs = 0;
    bool m_running = false;
    bool m_stopRequested = false;
    bool m_compositionFailed = false;
    bool m_closeAfterRun = false;
    bool m_unloading = false;
    qint16 m_highlighted = 0;
    bool m_unloaded = false;
    bool m_shownOnce = false;

    // Controls, named as the window names them.
    QWidget *Picture1 = nullptr;
    QLabel *imgLogo = nullptr;
    Lustrel::XGlowLabel *XGlowLabel1 = nullptr;
    QWidget *Frame1 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblStepCount = nullptr;
    QLabel *lblNumSteps = nullptr;
    QWidget *Shape2 = nullptr;
    std::array<Lustrel::XShpLabel *, StepGuide::StepCount> slbSteps {};
    QLabel *lblTipsTitle = nullptr;
    QLabel *lblTips = nullptr;
    QPushButton *cmdPrevStep = nullptr;
    QPushButton *cmdNextStep = nullptr;
    QLabel *lblNumPasswords = nullptr;
    QLineEdit *txtNumPass = nullptr;
    SpinButtons *udNumPass = nullptr;
    std::array<QLabel *, 2> lblPassLenLabels {};
    QLineEdit *txtPassLen = nullptr;
    SpinButtons *udPassLen = nullptr;
    QPushButton *cmdAdvanced = nullptr;
    QPushButton *cmdGenerate = nullptr;
    QGroupBox *Frame2 = nullptr;
    PasswordList *lstPassword = nullptr;
    Lustrel::XGradProgress *barGenProgress = nullptr;
    QCheckBox *chkAutoCopy = nullptr;
    QPushButton *cmdCopy = nullptr;
    QPushButton *cmdSave = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *cmdAbout = nullptr;
    QPushButton *cmdHelp = nullptr;
};
