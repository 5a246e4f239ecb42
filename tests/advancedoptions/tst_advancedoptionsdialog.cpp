#include "accessibletree.h"
#include "advanceddialoghost.h"
#include "advancedoptions.h"
#include "advancedoptionsdialog.h"
#include "eventyield.h"
#include "generationsettings.h"
#include "helplauncher.h"
#include "keywitness.h"
#include "passwordcomposer.h"
#include "profilechoice.h"
#include "profilestore.h"
#include "randomsource.h"
#include "scriptedprompter.h"
#include "spinbuttons.h"
#include "symbolbutton.h"
#include "temporarysettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <functional>
#include <memory>
#include <utility>

namespace {

QString countsIn(QWidget *dialog)
{
    QStringList counts;
    for (const char *name : { "txtNumUppercase", "txtNumLowercase", "txtNumNumbers", "txtNumSymbols" })
        counts << dialog->findChild<QLineEdit *>(QLatin1String(name))->text();
    return counts.join(u'/');
}

} // namespace

class TestAdvancedOptionsDialog : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporarySettings> m_store;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<AdvancedOptions> m_options;
    std::unique_ptr<AdvancedDialogHost> m_host;

    template<typename T = QWidget>
    T *control(const QString &name)
    {
        T *widget = m_host->dialog()->findChild<T *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }
    SymbolButton *symbol(int index)
    {
        return control<SymbolButton>(QStringLiteral("cmdSymbol_%1").arg(index));
    }
    void click(const QString &name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }
    AdvancedOptionsDialog *shown()
    {
        AdvancedOptionsDialog *dialog = m_host->dialog();
        dialog->show();
        return dialog;
    }

private Q_SLOTS:
    void init()
    {
        m_store = std::make_unique<TemporarySettings>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_options = std::make_unique<AdvancedOptions>(*m_prompter);
        m_host = std::make_unique<AdvancedDialogHost>(*m_options);
    }
    void cleanup()
    {
        m_host.reset();
        m_options.reset();
        m_store.reset();
    }

    void shouldShowEveryControlWithItsCaptionAndTip_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("toolTip");
        QTest::newRow("OK") << "cmdOK"
                            << "&OK"
                            << "";
        QTest::newRow("Cancel") << "cmdCancel"
                                << "Cancel"
                                << "";
        QTest::newRow("Help") << "cmdHelp"
                              << "&Help"
                              << "";
        QTest::newRow("seed frame") << "fraSeed"
                                    << "Seed"
                                    << "";
        QTest::newRow("system time") << "optSeed_0"
                                     << "&Use current system time (recommended)"
                                     << "";
        QTest::newRow("user seed") << "optSeed_1"
                                   << "Let &me specify"
                                   << "";
        QTest::newRow("seed box") << "txtSeed"
                                  << "0"
                                  << "";
        QTest::newRow("instruction") << "Label1"
                                     << "Click the buttons below to select or unselect a symbol."
                                     << "";
        QTest::newRow("ampersand") << "cmdSymbol_8"
                                   << "&&"
                                   << "Click to unselect this symbol";
        QTest::newRow("backslash") << "cmdSymbol_17"
                                   << "\\"
                                   << "Click to unselect this symbol";
        QTest::newRow("non-printable") << "chkNonPrintChars"
                                       << "Allow &non-printable characters"
                                       << "";
        QTest::newRow("extended") << "chkSymbolChars"
                                  << "Allow extended &symbol characters"
                                  << "";
        QTest::newRow("look-alikes")
            << "chkLeaveOutLookAlikes"
            << "Leave out look-&alike characters"
            << "Leaves 0 O o 1 l I i | 5 S 2 Z 8 B ' ` \" and the extended characters that "
               "look like them out of the letters, digits and symbols";
        QTest::newRow("clipboard") << "chkClearClipboard"
                                   << "&Clear the clipboard after"
                                   << "";
        QTest::newRow("select all") << "cmdSelSymbols"
                                    << "Unselect All"
                                    << "Unselects all symbols";
        QTest::newRow("options frame") << "fraOptions"
                                       << "Options"
                                       << "";
        QTest::newRow("length") << "txtPassLen"
                                << "10"
                                << "Specify the password length in characters";
        QTest::newRow("length label") << "lblPassLenLabels_0"
                                      << "Password &length:"
                                      << "";
        QTest::newRow("length unit") << "lblPassLenLabels_1"
                                     << "characters"
                                     << "";
    }
    void shouldShowEveryControlWithItsCaptionAndTip()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, toolTip);
        QWidget *widget = control(name);
        QString text;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            text = button->text();
        else if (auto *label = qobject_cast<QLabel *>(widget))
            text = label->text();
        else if (auto *box = qobject_cast<QLineEdit *>(widget))
            text = box->text();
        else if (auto *frame = qobject_cast<QGroupBox *>(widget))
            text = frame->title();
        QCOMPARE(text, caption);
        QCOMPARE(widget->toolTip(), toolTip);
    }

    void shouldLayOutTheWindowAsItsParts()
    {
        AdvancedOptionsDialog *dialog = m_host->dialog();
        QCOMPARE(dialog->objectName(), QStringLiteral("frmAdvanced"));
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Advanced Options"));
        QVERIFY(!dialog->isVisible()); // made hidden
        auto *tabs = control<QTabWidget>(QStringLiteral("ssTab"));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("General"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Symbols"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Combination"));
        QVERIFY(control<QPushButton>(QStringLiteral("cmdOK"))->isDefault());
        QVERIFY(control<QRadioButton>(QStringLiteral("optSeed_0"))->isChecked());
        QVERIFY(!control(QStringLiteral("txtSeed"))->isEnabled());
        QCOMPARE(control<SpinButtons>(QStringLiteral("udPassLen"))->maximum(), 10000);
        for (const char *spin :
             { "udNumLowercase", "udNumUppercase", "udNumNumbers", "udNumSymbols", "udPassLen" })
            QVERIFY(control<SpinButtons>(QLatin1String(spin))->buddy());
        QCOMPARE(control<SpinButtons>(QStringLiteral("udNumSymbols"))->buddy()->objectName(),
                 QStringLiteral("txtNumSymbols"));

        // Four rows of eight, in table order.
        shown();
        tabs->setCurrentIndex(1);
        for (int i = 0; i < 32; ++i) {
            QCOMPARE(symbol(i)->y(), symbol(i % 8)->y() + (i / 8) * (symbol(8)->y() - symbol(0)->y()));
            QCOMPARE(symbol(i)->x(), symbol(i - i % 8)->x() + (i % 8) * (symbol(1)->x() - symbol(0)->x()));
        }
        QVERIFY(symbol(8)->y() > symbol(0)->y() && symbol(1)->x() > symbol(0)->x());
    }

    void shouldToggleASymbolAndBackOnTwoClicks()
    {
        shown();
        SymbolButton *button = symbol(5);
        const QColor selected = button->grab().toImage().pixelColor(button->width() / 2, 3);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!button->isSelected());
        QVERIFY(!m_options->settings().SymbolSelected(5));
        QCOMPARE(button->toolTip(), QStringLiteral("Click to select this symbol"));
        QCOMPARE(button->grab().toImage().pixelColor(button->width() / 2, 3),
                 button->palette().color(QPalette::Button));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isSelected());
        QVERIFY(m_options->settings().SymbolSelected(5));
        QCOMPARE(button->toolTip(), QStringLiteral("Click to unselect this symbol"));
        QCOMPARE(button->grab().toImage().pixelColor(button->width() / 2, 3), selected);
        QCOMPARE(selected, button->palette().color(QPalette::Highlight));
        QCOMPARE(control<QPushButton>(QStringLiteral("cmdSelSymbols"))->text(),
                 QStringLiteral("Unselect All"));
    }

    // A screen reader's toggle is a click: it goes through the settings, so the state it reads
    // back is the symbol's.
    void shouldToggleASymbolFromAScreenReaderThroughTheSettings()
    {
        shown();
        QAccessibleInterface *item = AccessibleTree::of(symbol(5));
        QVERIFY(item->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
        item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QVERIFY(!m_options->settings().SymbolSelected(5) && !item->state().checked);
        QCOMPARE(item->text(QAccessible::Description), QStringLiteral("Click to select this symbol"));
        m_options->settings().setSymbolSelected(5, true);
        QVERIFY(item->state().checked);
    }

    // Every control a user acts on has a name; the screen reader walk checks what each says.
    void shouldLeaveNoControlUnnamed()
    {
        QCOMPARE(AccessibleTree::unnamedControls(AccessibleTree::of(m_host->dialog())), QStringList());
    }

    // The full load used to set the button's text even when it ended early because nothing
    // was stored, so a first start showed "Unselect all symbols" instead of the window's own.
    void shouldKeepTheWindowsSelectAllTipUntilALoadReachesIt()
    {
        auto *selectAll = control<QPushButton>(QStringLiteral("cmdSelSymbols"));
        QCOMPARE(selectAll->text(), QStringLiteral("Unselect All"));
        QCOMPARE(selectAll->toolTip(), QStringLiteral("Unselects all symbols"));
        QCOMPARE(m_options->selectSymbolsToolTip(), QStringLiteral("Unselects all symbols"));

        m_host->unload(); // the first start has stored the record; the next load reads it
        selectAll = control<QPushButton>(QStringLiteral("cmdSelSymbols"));
        QCOMPARE(selectAll->text(), QStringLiteral("Unselect All"));
        QCOMPARE(selectAll->toolTip(), QStringLiteral("Unselect all symbols"));
    }

    void shouldSelectAllFromTenSelected()
    {
        m_options->settings().setAllSymbolsSelected(false);
        for (int i = 0; i < 10; ++i)
            m_options->settings().setSymbolSelected(i, true);
        m_options->SaveSettings();
        m_options->unload();

        shown();
        auto *selectAll = control<QPushButton>(QStringLiteral("cmdSelSymbols"));
        QCOMPARE(selectAll->text(), QStringLiteral("Select All"));
        QCOMPARE(selectAll->toolTip(), QStringLiteral("Select all symbols"));
        QVERIFY(!symbol(10)->isSelected());
        QCOMPARE(symbol(10)->toolTip(), QStringLiteral("Click to select this symbol"));
        QTest::mouseClick(selectAll, Qt::LeftButton);
        QCOMPARE(m_options->settings().selectedSymbolCount(), 32);
        for (int i = 0; i < 32; ++i)
            QVERIFY(symbol(i)->isSelected());
        QCOMPARE(symbol(10)->toolTip(), QStringLiteral("Click to unselect this symbol"));
        QCOMPARE(selectAll->text(), QStringLiteral("Unselect All"));
        QCOMPARE(selectAll->toolTip(), QStringLiteral("Unselect all symbols"));
    }

    void shouldEnableTheSeedBoxOnlyForTheUserSeed()
    {
        AdvancedOptionsDialog *dialog = shown();
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto *seed = control<QLineEdit>(QStringLiteral("txtSeed"));
        seed->setText(QStringLiteral("4242"));
        click(QStringLiteral("optSeed_1"));
        QVERIFY(seed->isEnabled());
        QVERIFY(seed->hasFocus());
        QVERIFY(!m_options->settings().UseDefault());
        click(QStringLiteral("optSeed_0"));
        QVERIFY(!seed->isEnabled());
        QCOMPARE(seed->text(), QStringLiteral("4242"));
        QVERIFY(m_options->settings().UseDefault());
    }

    void shouldKeepLengthAndCountsInStepWhileTyping()
    {
        shown();
        auto *length = control<QLineEdit>(QStringLiteral("txtPassLen"));
        length->selectAll();
        QTest::keyClicks(length, QStringLiteral("14"));
        QCOMPARE(countsIn(m_host->dialog()), QStringLiteral("4/4/4/2"));
        auto *upper = control<QLineEdit>(QStringLiteral("txtNumUppercase"));
        upper->selectAll();
        QTest::keyClicks(upper, QStringLiteral("5"));
        QCOMPARE(length->text(), QStringLiteral("15"));
        QCOMPARE(countsIn(m_host->dialog()), QStringLiteral("5/4/4/2"));

        QTest::mouseClick(
            control<SpinButtons>(QStringLiteral("udPassLen"))->findChild<QToolButton *>(QStringLiteral("up")),
            Qt::LeftButton);
        QCOMPARE(length->text(), QStringLiteral("16"));
        QCOMPARE(countsIn(m_host->dialog()), QStringLiteral("4/4/4/4"));
        QVERIFY(m_prompter->messages.isEmpty());
    }

    void shouldForgetTheEditsOnCancelAndReloadOnTheNextUse_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("closing the window") << 2;
    }
    void shouldForgetTheEditsOnCancelAndReloadOnTheNextUse()
    {
        QFETCH(int, how);
        QPointer<AdvancedOptionsDialog> first = shown();
        QSignalSpy accepted(m_host.get(), &AdvancedDialogHost::lengthAccepted);
        control<QLineEdit>(QStringLiteral("txtPassLen"))->setText(QStringLiteral("14"));
        click(QStringLiteral("cmdSymbol_0"));
        if (how == 0)
            click(QStringLiteral("cmdCancel"));
        else if (how == 1)
            QTest::keyClick(first, Qt::Key_Escape);
        else
            first->close();

        QVERIFY(!m_host->hasDialog());
        // The record itself holds the stored settings again, before anything asks for them.
        const GenerationSettings &record = m_options->settings();
        QCOMPARE(record.PasswordLength(), QStringLiteral("10"));
        QVERIFY(record.SymbolSelected(0));
        QTRY_VERIFY(first.isNull());
        QCOMPARE(accepted.count(), 0);

        AdvancedOptionsDialog *second = m_host->dialog();
        QCOMPARE(control<QLineEdit>(QStringLiteral("txtPassLen"))->text(), QStringLiteral("10"));
        QCOMPARE(countsIn(second), QStringLiteral("2/2/2/4"));
        QVERIFY(symbol(0)->isSelected());
    }

    // The composer keeps a reference to the record. A window opened and cancelled while a run
    // waits in the event loop used to leave its edits in the record for the rest of the run.
    void shouldGiveARunningCompositionTheStoredCountsAfterACancel()
    {
        GenerationSettings &record = m_options->settings();
        record.setPasswordLength(QStringLiteral("200"));
        QCOMPARE(countsIn(m_host->dialog()), QStringLiteral("50/50/50/50"));
        QVERIFY(m_options->VerifyInputAndSaveSettings());
        m_host->unload();

        // At the run's first look at the event loop the user opens the window, takes the
        // upper-case letters out and cancels.
        struct UserAtTheWindow : EventYield
        {
            UserAtTheWindow()
                : EventYield(0)
            { }
            std::function<void()> act;
            void yieldNow() override
            {
                if (act)
                    std::exchange(act, nullptr)();
            }
        } yield;
        bool cancelled = false;
        yield.act = [&] {
            AdvancedOptionsDialog *dialog = shown();
            QLineEdit *upper = dialog->findChild<QLineEdit *>(QStringLiteral("txtNumUppercase"));
            upper->setText(QStringLiteral("0"));
            QCOMPARE(m_options->settings().readCount(CharacterClass::Uppercase), 0.0);
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
            cancelled = true;
        };
        RandomSource random;
        random.SetSeed(11);
        PasswordComposer composer(m_options->settings(), random, *m_prompter, yield);
        const QString password = composer.GenerateOnePassword(QStringLiteral("200"));

        QVERIFY(cancelled);
        QVERIFY2(m_prompter->messages.isEmpty(), qPrintable(m_prompter->messages.value(0).text));
        QCOMPARE(password.size(), 200);
        const auto count = [&](char16_t from, char16_t to) {
            return std::count_if(password.cbegin(), password.cend(),
                                 [&](QChar c) { return c.unicode() >= from && c.unicode() <= to; });
        };
        QCOMPARE(count(u'A', u'Z'), 50);
        QCOMPARE(count(u'a', u'z'), 50);
        QCOMPARE(count(u'0', u'9'), 50);
    }

    void shouldSaveAndCloseOnOkAndShowTheEditsNextTime()
    {
        AdvancedOptionsDialog *dialog = shown();
        QSignalSpy accepted(m_host.get(), &AdvancedDialogHost::lengthAccepted);
        QSignalSpy finished(dialog, &QDialog::finished);
        control<QLineEdit>(QStringLiteral("txtPassLen"))->setText(QStringLiteral("14"));
        click(QStringLiteral("cmdSymbol_0"));
        QTest::keyClick(control(QStringLiteral("txtPassLen")), Qt::Key_Return); // OK is the default button

        QCOMPARE(accepted.count(), 1);
        QCOMPARE(accepted.first().first().toString(), QStringLiteral("14"));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
        QVERIFY(!m_host->hasDialog());

        AdvancedOptionsDialog *next = m_host->dialog();
        QCOMPARE(control<QLineEdit>(QStringLiteral("txtPassLen"))->text(), QStringLiteral("14"));
        QCOMPARE(countsIn(next), QStringLiteral("4/4/4/2"));
        QVERIFY(!symbol(0)->isSelected());
    }

    // Enter used to run OK wherever the focus was: on Cancel it saved the edits and closed.
    void shouldLetEnterActOnTheFocusedButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        for (const char *name : { "cmdCancel", "cmdHelp", "cmdSelSymbols", "cmdSymbol_3" }) {
            QTest::addRow("%s, Return", name) << QString::fromLatin1(name) << int(Qt::Key_Return);
            QTest::addRow("%s, Enter", name) << QString::fromLatin1(name) << int(Qt::Key_Enter);
        }
    }
    void shouldLetEnterActOnTheFocusedButton()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        HelpLauncher help;
        AdvancedDialogHost host(*m_options, &help);
        AdvancedOptionsDialog *dialog = host.dialog();
        dialog->show();
        QSignalSpy accepted(&host, &AdvancedDialogHost::lengthAccepted);
        QSignalSpy finished(dialog, &QDialog::finished);
        dialog->findChild<QLineEdit *>(QStringLiteral("txtPassLen"))->setText(QStringLiteral("14"));
        auto *target = dialog->findChild<QPushButton *>(button);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));

        QCOMPARE(accepted.count(), 0);
        if (button == u"cmdCancel") {
            QCOMPARE(finished.count(), 1);
            QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
            QCOMPARE(m_options->settings().PasswordLength(), QStringLiteral("10")); // nothing saved
            return;
        }
        QCOMPARE(finished.count(), 0);
        QVERIFY(dialog->isVisible());
        QCOMPARE(m_options->settings().PasswordLength(), QStringLiteral("14"));
        if (button == u"cmdHelp") {
            QVERIFY(help.window() && help.window()->isVisible());
        } else if (button == u"cmdSelSymbols") {
            QCOMPARE(m_options->settings().selectedSymbolCount(), 0);
        } else {
            QVERIFY(!m_options->settings().SymbolSelected(3));
            QCOMPARE(m_options->settings().selectedSymbolCount(), 31);
        }
    }

    void shouldStayOpenWithTheEditsWhenTheCheckFails()
    {
        AdvancedOptionsDialog *dialog = shown();
        QSignalSpy accepted(m_host.get(), &AdvancedDialogHost::lengthAccepted);
        control<QLineEdit>(QStringLiteral("txtPassLen"))->setText(QStringLiteral("14"));
        click(QStringLiteral("cmdSelSymbols")); // Unselect All, with 2 symbols wanted
        m_prompter->answerNext(MessageAnswer::Cancel);
        click(QStringLiteral("cmdOK"));

        QCOMPARE(m_prompter->messages.size(), 2); // the symbols question, then how to fix it
        QVERIFY(m_prompter->messages[0].text.startsWith(QStringLiteral("No symbols are selected")));
        QCOMPARE(accepted.count(), 0);
        QVERIFY(dialog->isVisible());
        QCOMPARE(m_host->dialog(), dialog);
        QCOMPARE(control<QLineEdit>(QStringLiteral("txtPassLen"))->text(), QStringLiteral("14"));
    }

    void shouldShowTheCheckBoxValuesIncludingGreyed()
    {
        m_options->settings().setNonPrintableChars(2);
        m_options->settings().setExtendedSymbolChars(1);
        auto *nonPrintable = control<QCheckBox>(QStringLiteral("chkNonPrintChars"));
        auto *extended = control<QCheckBox>(QStringLiteral("chkSymbolChars"));
        QCOMPARE(nonPrintable->checkState(), Qt::PartiallyChecked);
        QCOMPARE(extended->checkState(), Qt::Checked);
        shown();
        QTest::mouseClick(nonPrintable, Qt::LeftButton);
        QCOMPARE(m_options->settings().NonPrintableChars(), 1);
        QTest::mouseClick(nonPrintable, Qt::LeftButton);
        QCOMPARE(m_options->settings().NonPrintableChars(), 0); // plain on/off from then on
        QTest::mouseClick(extended, Qt::LeftButton);
        QCOMPARE(m_options->settings().ExtendedSymbolChars(), 0);
    }

    // Choosing a profile is typing its values: the counts come last, so the length is their sum
    // whatever length the profile holds. OK keeps the choice, Cancel the stored settings.
    void shouldFillTheWindowFromAProfileAsIfTyped_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }
    void shouldFillTheWindowFromAProfileAsIfTyped()
    {
        QFETCH(bool, ok);
        Profile profile;
        profile.length = 99; // not the counts' sum
        profile.counts = { 4, 5, 3, 4 };
        for (int i = 0; i < 32; ++i)
            profile.symbols[std::size_t(i)] = i < 5; // ~ ` ! @ #
        profile.leaveOutLookAlikes = true;
        profile.clipboardClearSeconds = 120;
        ProfileStore::write(QStringLiteral("Long"), profile);
        ProfileStore::write(QStringLiteral("Another"), profile);

        AdvancedOptionsDialog *dialog = shown();
        QSignalSpy accepted(m_host.get(), &AdvancedDialogHost::lengthAccepted);
        auto *profiles = control<QComboBox>(QStringLiteral("cboProfile"));
        QCOMPARE(profiles->currentIndex(), -1);
        QCOMPARE(profiles->itemText(0), QStringLiteral("Another"));
        QVERIFY(!control(QStringLiteral("cmdDeleteProfile"))->isEnabled());
        profiles->setCurrentIndex(1);
        Q_EMIT profiles->activated(1);

        QCOMPARE(countsIn(dialog), QStringLiteral("4/5/3/4"));
        QCOMPARE(control<QLineEdit>(QStringLiteral("txtPassLen"))->text(), QStringLiteral("16"));
        QVERIFY(control<QCheckBox>(QStringLiteral("chkLeaveOutLookAlikes"))->isChecked());
        QVERIFY(symbol(0)->isEnabled() && symbol(0)->isSelected());
        QVERIFY(!symbol(1)->isEnabled()); // the backquote, left out
        QVERIFY(!symbol(5)->isSelected());
        QVERIFY(control<QCheckBox>(QStringLiteral("chkClearClipboard"))->isChecked());
        QCOMPARE(control<QSpinBox>(QStringLiteral("udClearSeconds"))->value(), 120);
        QVERIFY(control(QStringLiteral("cmdDeleteProfile"))->isEnabled());

        click(ok ? QStringLiteral("cmdOK") : QStringLiteral("cmdCancel"));
        QCOMPARE(accepted.count(), ok ? 1 : 0);
        const GenerationSettings &stored = m_options->settings();
        QCOMPARE(stored.PasswordLength(), ok ? QStringLiteral("16") : QStringLiteral("10"));
        QCOMPARE(stored.LeaveOutLookAlikes(), ok);
        QCOMPARE(stored.ClipboardClearSeconds(), ok ? 120 : 0);
        QVERIFY(stored.UseDefault()); // the seed is never a profile's
        QCOMPARE(symbol(1)->isEnabled(), !ok);
    }

    // Names go through the prompter: an empty one and one over 200 characters are refused,
    // another profile's is replaced only when the user agrees, and every change reaches the
    // store at once.
    void shouldSaveRenameAndDeleteProfilesThroughThePrompter()
    {
        shown();
        ProfileChoice &profiles = m_host->dialog()->profiles();
        auto *box = control<QComboBox>(QStringLiteral("cboProfile"));
        control<QLineEdit>(QStringLiteral("txtPassLen"))->setText(QStringLiteral("14"));
        m_prompter->typeNext(QString());
        m_prompter->typeNext(QString(201, u'x'));
        m_prompter->typeNext(QStringLiteral("Web / mail"));
        click(QStringLiteral("cmdSaveProfile"));
        QCOMPARE(m_prompter->messages.size(), 2);
        QCOMPARE(m_prompter->messages[0].text, QStringLiteral("A profile needs a name."));
        QCOMPARE(m_prompter->messages[1].text,
                 QStringLiteral("A profile's name holds at most 200 characters."));
        QCOMPARE(ProfileStore::read(QStringLiteral("Web / mail")).counts,
                 (std::array<qint16, 4> { 4, 4, 4, 2 }));
        QCOMPARE(box->currentText(), QStringLiteral("Web / mail"));

        // Saved again under its own name: asked, refused, asked again, cancelled.
        control<QLineEdit>(QStringLiteral("txtPassLen"))->setText(QStringLiteral("20"));
        m_prompter->typeNext(QStringLiteral("Web / mail"));
        m_prompter->answerNext(MessageAnswer::No);
        click(QStringLiteral("cmdSaveProfile"));
        QCOMPARE(m_prompter->inputs.last().defaultText, QStringLiteral("Web / mail"));
        QCOMPARE(ProfileStore::read(QStringLiteral("Web / mail")).length, 14);
        m_prompter->typeNext(QStringLiteral("Web / mail"));
        m_prompter->answerNext(MessageAnswer::Yes);
        QVERIFY(profiles.saveAsNew());
        QCOMPARE(ProfileStore::read(QStringLiteral("Web / mail")).length, 20);

        const QString longest(200, u'm');
        m_prompter->typeNext(longest);
        click(QStringLiteral("cmdRenameProfile"));
        QCOMPARE(box->count(), 1);
        QCOMPARE(box->currentText(), longest);
        QCOMPARE(ProfileStore::read(longest).length, 20);

        m_prompter->answerNext(MessageAnswer::No);
        click(QStringLiteral("cmdDeleteProfile"));
        QCOMPARE(box->count(), 1);
        m_prompter->answerNext(MessageAnswer::Yes);
        click(QStringLiteral("cmdDeleteProfile"));
        QCOMPARE(box->count(), 0);
        QVERIFY(ProfileStore::readAll().isEmpty());
        QVERIFY(!control(QStringLiteral("cmdRenameProfile"))->isEnabled());
        click(QStringLiteral("cmdCancel")); // profiles are kept whatever closes the window
        QVERIFY(ProfileStore::readAll().isEmpty());
    }

    // Where the store cannot be written, a profile saved is reported as not kept, not listed.
    void shouldReportAProfileThatCannotBeStored()
    {
        QVERIFY(QDir().mkpath(m_store->programSettingsFile())); // a folder where the file belongs
        shown();
        QCOMPARE(m_prompter->messages.size(), 1); // the settings' load says so first
        m_prompter->typeNext(QStringLiteral("Work"));
        click(QStringLiteral("cmdSaveProfile"));
        QCOMPARE(m_prompter->messages.size(), 2);
        const QString report = m_prompter->messages[1].text;
        QVERIFY2(report.contains(u"not a regular file") &&
                     report.endsWith(QStringLiteral("Caused in:\tfrmAdvanced.SaveProfile()\r\n")),
                 qPrintable(report));
        QCOMPARE(control<QComboBox>(QStringLiteral("cboProfile"))->count(), 0);
        QVERIFY(!control(QStringLiteral("cmdDeleteProfile"))->isEnabled());
    }

    void shouldSetTheClipboardClearFromItsBoxes()
    {
        shown();
        auto *clear = control<QCheckBox>(QStringLiteral("chkClearClipboard"));
        auto *seconds = control<QSpinBox>(QStringLiteral("udClearSeconds"));
        QVERIFY(!clear->isChecked() && !seconds->isEnabled());
        QCOMPARE(std::pair(seconds->minimum(), seconds->maximum()), std::pair(10, 600));
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(m_options->settings().ClipboardClearSeconds(), 30);
        seconds->setValue(45);
        QCOMPARE(m_options->settings().ClipboardClearSeconds(), 45);
        QTest::mouseClick(clear, Qt::LeftButton);
        QCOMPARE(m_options->settings().ClipboardClearSeconds(), 0);
        QVERIFY(!seconds->isEnabled());
        seconds->setValue(50); // no clear while the box is clear
        QCOMPARE(m_options->settings().ClipboardClearSeconds(), 0);
    }

    void shouldOpenTheHelpPageOfTheWindow()
    {
        HelpLauncher help;
        AdvancedDialogHost host(*m_options, &help);
        QTest::mouseClick(host.dialog()->findChild<QPushButton *>(QStringLiteral("cmdHelp")), Qt::LeftButton);
        QVERIFY(help.window() && help.window()->isVisible());
        QCOMPARE(help.browser()->source().fileName(), QStringLiteral("advanced_options.htm"));
    }

    void shouldCloseTheWindowWhenTheRecordIsUnloadedElsewhere()
    {
        QPointer<AdvancedOptionsDialog> dialog = shown();
        m_host->unload();
        QVERIFY(!m_host->hasDialog());
        QVERIFY(!m_options->isLoaded());
        QTRY_VERIFY(dialog.isNull());
    }

    // The window used to be modal to the whole program, so the help its own Help button
    // opened could not be used until it closed.
    void shouldLeaveTheHelpWindowUsableWhileItIsOpen()
    {
        HelpLauncher help;
        AdvancedDialogHost host(*m_options, &help);
        QWidget owner;
        owner.show();
        KeyWitness ownerKeys(&owner);
        bool checked = false;
        QTimer::singleShot(0, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            const auto close = qScopeGuard([modal] { modal->close(); });
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("cmdHelp")), Qt::LeftButton);
            QVERIFY(help.window() && help.window()->isVisible());
            KeyWitness helpKeys(help.window());
            helpKeys.type();
            QVERIFY(helpKeys.presses > 0);
            ownerKeys.type();
            QCOMPARE(ownerKeys.presses, 0); // the main window still waits
            checked = true;
        });
        QVERIFY(!host.exec(&owner));
        QVERIFY(checked);
        help.window()->close();
    }

    void shouldShowModallyOverItsOwnerAndTellWhetherOkClosedIt()
    {
        QWidget owner;
        owner.show();
        m_options->settings().setPasswordLength(QStringLiteral("12")); // as the main window does first
        QTimer::singleShot(0, this, [] {
            QWidget *modal = QApplication::activeModalWidget();
            QVERIFY(modal);
            QCOMPARE(modal->objectName(), QStringLiteral("frmAdvanced"));
            QTest::mouseClick(modal->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        });
        QSignalSpy accepted(m_host.get(), &AdvancedDialogHost::lengthAccepted);
        QVERIFY(m_host->exec(&owner));
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(accepted.first().first().toString(), QStringLiteral("12"));
        QVERIFY(!m_host->hasDialog());

        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        QVERIFY(!m_host->exec(&owner));
        QCOMPARE(m_host->dialog()->findChild<QLineEdit *>(QStringLiteral("txtPassLen"))->text(),
                 QStringLiteral("12"));
    }
};

QTEST_MAIN(TestAdvancedOptionsDialog)
#include "tst_advancedoptionsdialog.moc"
