#include "helplauncher.h"
#include "widgetprompter.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
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
        request.text = QStringLiteral("First line\r\nSecond line");
        request.title = QStringLiteral("Title");
        request.buttons = buttons;
        request.icon = MessageIcon::Exclamation;
        QCOMPARE(prompter.showMessage(request), answer);
        QCOMPARE(shownText, QStringLiteral("First line\nSecond line"));
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
