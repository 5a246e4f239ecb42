#pragma once

#include <QString>
#include <memory>

class AutomationTarget;
class ProcessIdQuery;
class QAbstractButton;
class QCheckBox;
class QLineEdit;
class QWidget;

// The automation object "Application": every member as a client sees it, acting on the main
// window and its hidden Advanced Options window through an AutomationTarget. It keeps no state
// of its own (AllowUI is ignored). Failures are raised as Failure for the caller to hand to the
// client; only reading Seed traps its own. What a member changed before it failed stays changed.
class Application
{
public:
    explicit Application(AutomationTarget &target);
    ~Application();
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    // Accepted and ignored; always reads true.
    bool AllowUI() const { return true; }
    void setAllowUI(bool allow);

    // The id of the process that owns the main window: this one.
    qint32 ProcID();

    // The caller's name kept on the main window; writing it leaves the step guide alone.
    QString MemoryName() const;
    void setMemoryName(const QString &name);

    // The main window's length box: read as an Integer; written with the absolute value.
    qint16 PassLength() const;
    void setPassLength(qint16 length);

    // -1 while the seed comes from the system, else the seed box read as an Integer; a box that
    // does not read shows "Script error: Seed (...)" and gives 0. Writing a negative value
    // chooses the system seed and keeps the box; 0 and up choose the user seed and write it.
    qint16 Seed();
    void setSeed(qint16 seed);
    // As Seed reads, but a box that does not read raises its error instead of showing it.
    qint16 readSeed();

    // The two character switches of the Advanced Options window.
    bool NonPrintableChars();
    void setNonPrintableChars(bool allow);
    bool SymbolChars();
    void setSymbolChars(bool allow);

    // Whether the main window is shown.
    bool Visible() const;
    void setVisible(bool visible);

    // The main window's operations, with all their messages.
    QString Generate();
    QString Copy();
    // A file name given must be absolute; an empty one is asked for in the save dialog.
    bool Save(QString &fileName, QString &description);
    // False when the user cancelled the unsaved-passwords question; true when the program ends.
    bool Terminate();
    void Show();

private:
    QWidget *advancedWindow();
    template<typename T>
    T *advancedControl(const char *name);
    bool readCheckBox(const char *name);
    void writeCheckBox(const char *name, bool checked);

    AutomationTarget &m_target;
    std::unique_ptr<ProcessIdQuery> m_processIdQuery;
};
