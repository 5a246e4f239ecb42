#pragma once

#include "../controls/countingdelayservice.h"
#include "activitygate.h"
#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "errorof.h"
#include "frmmain.h"
#include "manualalarmclock.h"
#include "passwordlist.h"
#include "scriptedfiledialog.h"
#include "scriptedprompter.h"
#include "scriptedrandomsource.h"
#include "temporarysettings.h"
#include "xgradprogress.h"

#include <QLineEdit>
#include <QPushButton>
#include <memory>

// Pauses that only count, and a clock that moves by them alone, so the work between pauses
// takes no time and the run's pacing asks for its pauses whole.
class CountingClockDelay : public CountingDelayService
{
public:
    qint64 now = 0;
    void Pause(qint32 milliseconds) override
    {
        now += qMax(0, milliseconds);
        CountingDelayService::Pause(milliseconds);
    }
};

// A main window over scripted prompts, file dialog and random source, with pauses that only
// count, a clock for the clipboard's clear that moves by hand, and its settings in a temporary
// store.
class MainWindowFixture
{
public:
    TemporarySettings store;
    ScriptedPrompter prompter;
    ActivityGate gate;
    ScriptedRandomSource random { 7 };
    CountingClockDelay delay;
    ScriptedFileDialog files;
    ManualAlarmClock alarm;
    AdvancedOptions options { prompter };
    AdvancedDialogHost host { options };
    frmMain window {
        gate, { options, host, prompter, random, delay, files, nullptr, [this] { return delay.now; }, &alarm }
    };

    template<typename T = QWidget>
    T *control(const QString &name) const
    {
        T *widget = window.findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QLineEdit *txtNumPass() const { return control<QLineEdit>(QStringLiteral("txtNumPass")); }
    QLineEdit *txtPassLen() const { return control<QLineEdit>(QStringLiteral("txtPassLen")); }
    PasswordList *list() const { return control<PasswordList>(QStringLiteral("lstPassword")); }
    Lustrel::XGradProgress *bar() const
    {
        return control<Lustrel::XGradProgress>(QStringLiteral("barGenProgress"));
    }
    QPushButton *button(const char *name) const { return control<QPushButton>(QLatin1String(name)); }

    // Runs Generate for `count` passwords.
    QString generate(const QString &count)
    {
        txtNumPass()->setText(count);
        return window.Generate();
    }
    // The texts of the messages shown so far.
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const MessageRequest &request : prompter.messages)
            texts << request.text;
        return texts;
    }
};
