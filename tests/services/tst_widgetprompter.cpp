#include "helplauncher.h"
#include "keywitness.h"
#include "widgetprompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

namespace {

// Once the next modal dialog is up, hands it to `act` (which closes it) after noting it.
template<typename Act>
void whenModalAppears(Act act)
{
    QTimer::singleShot(0, qApp, [act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog) {
            QTimer::singleShot(10, qApp, [act] { whenModalAppears(act); });
            return;
        }
        act(dialog);
    });
}

void clickButton(QWidget *dialog, QMessageBox::StandardButton which)
{
    auto *box = qobject_cast<QMessageBox *>(dialog);
    QVERIFY(box);
    QVERIFY(box->button(which));
    box->button(which)->click();
}

} // namespace

class TestWidgetPrompter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldReturnTheButtonTheUserClicks_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<int>("click");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("ok") << MessageButtons::Ok << int(QMessageBox::Ok) << MessageAnswer::Ok;
        QTest::newRow("yes") << MessageButtons::YesNo << int(QMessageBox::Yes) << MessageAnswer::Yes;
        QTest::newRow("no") << MessageButtons::YesNo << int(QMessageBox::No) << MessageAnswer::No;
        QTest::newRow("cancel of three")
            << MessageButtons::YesNoCancel << int(QMessageBox::Cancel) << MessageAnswer::Cancel;
        QTest::newRow("no of three") << MessageButtons::YesNoCancel << int(QMessageBox::No)
                                     << MessageAnswer::No;
        QTest::newRow("cancel of two")
            << MessageButtons::OkCancel << int(QMessageBox::Cancel) << MessageAnswer::Cancel;
    }
    void shouldReturnTheButtonTheUserClicks()
    {
        QFETCH(MessageButtons, buttons);
        QFETCH(int, click);
        QFETCH(MessageAnswer, answer);
        WidgetPrompter prompter;
        QString shownText;
        QString shownTitle;
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        whenModalAppears([&](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            shownText = box->text();
            shownTitle = box->windowTitle();
            shownIcon = box->icon();
            clickButton(dialog, QMessageBox::StandardButton(click));
        });
        MessageRequest request;
        request.text = QStringLiteral("First line\r\nSecond line\rThird line");
        request.title = QStringLiteral("Title");
        request.buttons = buttons;
        request.icon = MessageIcon::Exclamation;
        QCOMPARE(prompter.showMessage(request), answer);
        QCOMPARE(shownText, QStringLiteral("First line\nSecond line\nThird line"));
        QCOMPARE(shownTitle, QStringLiteral("Title"));
        QCOMPARE(shownIcon, QMessageBox::Warning);
    }

    void shouldKeepTheBoxOpenWhenHelpIsClicked()
    {
        HelpLauncher help;
        WidgetPrompter prompter(&help);
        int rounds = 0;
        whenModalAppears([&](QWidget *dialog) {
            ++rounds;
            auto *box = qobject_cast<QMessageBox *>(dialog);
            box->button(QMessageBox::Help)->click();
            whenModalAppears([&](QWidget *again) {
                ++rounds;
                clickButton(again, QMessageBox::Ok);
            });
        });
        MessageRequest request;
        request.text = QStringLiteral("Error");
        request.helpFile = QStringLiteral("advanced_options.htm");
        QCOMPARE(prompter.showMessage(request), MessageAnswer::Ok);
        QCOMPARE(rounds, 2);
        QVERIFY(help.window() && help.window()->isVisible());
        help.window()->close();
    }

    void shouldOfferNoHelpButtonWithoutAPage()
    {
        HelpLauncher help;
        WidgetPrompter prompter(&help);
        bool hasHelp = true;
        whenModalAppears([&](QWidget *dialog) {
            hasHelp = qobject_cast<QMessageBox *>(dialog)->button(QMessageBox::Help) != nullptr;
            clickButton(dialog, QMessageBox::Ok);
        });
        MessageRequest request;
        request.text = QStringLiteral("Error");
        prompter.showMessage(request);
        QVERIFY(!hasHelp);
    }

    // The boxes used to be modal to the whole program, so the help their Help button opened
    // could not be read, scrolled or closed until the box was gone.
    void shouldLeaveTheHelpWindowUsableWhileAPromptIsOpen_data()
    {
        QTest::addColumn<bool>("input");
        QTest::newRow("message") << false;
        QTest::newRow("input box") << true;
    }
    void shouldLeaveTheHelpWindowUsableWhileAPromptIsOpen()
    {
        QFETCH(bool, input);
        HelpLauncher help;
        QVERIFY(help.ShowHelpTopic(QStringLiteral("main_dialog_box.htm")) != 0);
        QWidget owner;
        owner.show();
        WidgetPrompter prompter(&help);
        prompter.setParentWindow(&owner);
        KeyWitness helpKeys(help.window());
        KeyWitness ownerKeys(&owner);
        helpKeys.type();
        QVERIFY(helpKeys.presses > 0); // the witness sees keys at all

        bool checked = false;
        whenModalAppears([&](QWidget *dialog) {
            const auto close = qScopeGuard([dialog] { qobject_cast<QDialog *>(dialog)->reject(); });
            helpKeys.type();
            QVERIFY(helpKeys.presses > 0);
            ownerKeys.type();
            QCOMPARE(ownerKeys.presses, 0); // the owner waits for the answer
            QCOMPARE(dialog->parentWidget(), &owner);
            QCOMPARE(dialog->windowModality(), Qt::WindowModal);
            checked = true;
        });
        if (input)
            prompter.askText({ QStringLiteral("Prompt"), QStringLiteral("Title"), {} });
        else
            prompter.showMessage(
                applicationMessage(QStringLiteral("Text"), MessageButtons::Ok, MessageIcon::Exclamation));
        QVERIFY(checked);
        help.window()->close();
    }

    // A question asked while a modal window of the program is up (the Advanced Options window
    // asking about its symbols) belongs to that window, which must not stay usable behind it.
    void shouldAskOverTheProgramsModalWindow()
    {
        QWidget owner;
        owner.show();
        QDialog options(&owner);
        options.setWindowModality(Qt::WindowModal);
        options.show();
        WidgetPrompter prompter;
        prompter.setParentWindow(&owner);
        QCOMPARE(prompter.owner(), &options);
        KeyWitness optionsKeys(&options);
        bool checked = false;
        whenModalAppears([&](QWidget *dialog) {
            const auto close = qScopeGuard([dialog] { qobject_cast<QDialog *>(dialog)->reject(); });
            optionsKeys.type();
            QCOMPARE(optionsKeys.presses, 0);
            QCOMPARE(dialog->parentWidget(), &options);
            checked = true;
        });
        prompter.showMessage(
            applicationMessage(QStringLiteral("Text"), MessageButtons::Ok, MessageIcon::Exclamation));
        QVERIFY(checked);
        options.close();
        QCOMPARE(prompter.owner(), &owner);
    }

    void shouldReturnTypedTextOrNothingWhenCancelled()
    {
        WidgetPrompter prompter;
        whenModalAppears([](QWidget *dialog) {
            auto *input = qobject_cast<QInputDialog *>(dialog);
            QCOMPARE(input->textValue(), QStringLiteral("start"));
            input->setTextValue(QStringLiteral("typed"));
            input->accept();
        });
        QCOMPARE(
            prompter.askText({ QStringLiteral("Prompt"), QStringLiteral("Title"), QStringLiteral("start") }),
            std::optional<QString>(QStringLiteral("typed")));

        whenModalAppears([](QWidget *dialog) { qobject_cast<QInputDialog *>(dialog)->reject(); });
        QCOMPARE(prompter.askText({ QStringLiteral("Prompt"), QStringLiteral("Title"), {} }), std::nullopt);
    }
};

QTEST_MAIN(TestWidgetPrompter)
#include "tst_widgetprompter.moc"
