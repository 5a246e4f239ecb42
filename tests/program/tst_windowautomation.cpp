// The real main window served on a private bus in this process, with the prompts, the save
// dialog and the pauses scripted, for the members whose course depends on a question answered
// or on what happens while they wait. The client is a second connection to the same bus.

#include "../mainwindow/mainwindowfixture.h"
#include "applicationtitle.h"
#include "automationserver.h"
#include "callqueue.h"
#include "gatedprompter.h"
#include "mainwindowautomation.h"
#include "privatebus.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

const QString Interface = QStringLiteral("Quorvex._Application");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString UnsavedQuestion =
    QStringLiteral("You have not save the generated password.\r\nDo you want to save it now?");
constexpr int Patience = 30000; // ms: a loaded machine

// Message boxes as the real ones behave: each runs a nested event loop, inside which the test
// may act once, before the scripted answer is given.
class ModalPrompter : public ScriptedPrompter
{
public:
    std::function<void()> whileOpen;

    MessageAnswer showMessage(const MessageRequest &request) override
    {
        QEventLoop box;
        QTimer::singleShot(0, &box, [this, &box] {
            if (const auto action = std::exchange(whileOpen, nullptr))
                action();
            box.quit();
        });
        box.exec();
        return ScriptedPrompter::showMessage(request);
    }
};

// The program's own assembly of window, prompts and server, over test doubles.
struct ServedWindow
{
    explicit ServedWindow(const QDBusConnection &connection)
        : server(target, gate, connection)
    { }

    TemporarySettings store;
    ModalPrompter boxes;
    ActivityGate gate;
    GatedPrompter prompter { boxes, gate };
    ScriptedRandomSource random { 7 };
    CountingClockDelay delay;
    ScriptedFileDialog files;
    AdvancedOptions options { prompter };
    AdvancedDialogHost host { options };
    frmMain window { gate, { options, host, prompter, random, delay, files, nullptr, [this] {
                                return delay.now;
                            } } };
    MainWindowAutomation target { window };
    AutomationServer server;

    QLineEdit *box(const char *name) const { return window.findChild<QLineEdit *>(QLatin1String(name)); }
    PasswordList *list() const { return window.findChild<PasswordList *>(QStringLiteral("lstPassword")); }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const MessageRequest &request : boxes.messages)
            texts << request.text;
        return texts;
    }
    // Runs `action` inside the next pause of a run, once.
    void onNextPause(std::function<void()> action)
    {
        auto once = std::make_shared<std::function<void()>>(std::move(action));
        delay.duringPause = [once] {
            if (const auto pending = std::exchange(*once, nullptr))
                pending();
        };
    }
};

QDBusVariant variantOf(const QDBusMessage &reply)
{
    return qvariant_cast<QDBusVariant>(reply.arguments().value(0));
}

} // namespace

class TestWindowAutomation : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<ServedWindow> f;
    QTemporaryDir m_files;

    QDBusConnection client() const
    {
        return QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("client"));
    }

    // A call from the client; its reply comes while the event loop runs.
    std::unique_ptr<QDBusPendingCallWatcher> send(const QString &interface, const QString &member,
                                                  const QVariantList &arguments = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(
            AutomationServer::instanceServiceName(QCoreApplication::applicationPid()),
            AutomationServer::objectPath(), interface, member);
        call.setArguments(arguments);
        return std::make_unique<QDBusPendingCallWatcher>(client().asyncCall(call, Patience));
    }
    std::unique_ptr<QDBusPendingCallWatcher> sendSet(const QString &property, const QVariant &value)
    {
        return send(Properties, QStringLiteral("Set"),
                    { Interface, property, QVariant::fromValue(QDBusVariant(value)) });
    }
    static QDBusMessage replyOf(QDBusPendingCallWatcher &call)
    {
        if (!QTest::qWaitFor([&] { return call.isFinished(); }, Patience))
            qWarning("no reply in time");
        return call.reply();
    }
    QDBusMessage callAndWait(const QString &member, const QVariantList &arguments = {})
    {
        return replyOf(*send(Interface, member, arguments));
    }
    QVariant get(const QString &property)
    {
        return variantOf(replyOf(*send(Properties, QStringLiteral("Get"), { Interface, property })))
            .variant();
    }
    // Lets the event loop turn over a round trip to the bus daemon, time enough for a call
    // that could be served to be served.
    void settle()
    {
        QDBusPendingCallWatcher ping(client().asyncCall(QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetId"))));
        if (!QTest::qWaitFor([&] { return ping.isFinished(); }, Patience))
            qWarning("the bus daemon did not answer in time");
    }
    // Makes passwords that are not saved yet.
    void generate(const QString &count = QStringLiteral("1"))
    {
        f->box("txtNumPass")->setText(count);
        const QDBusMessage reply = callAndWait(QStringLiteral("Generate"));
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QVERIFY(f->window.passwordsUnsaved());
    }
    QString fileIn(const QString &name) const { return m_files.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->error()));
        QVERIFY(client().isConnected());
        QVERIFY(m_files.isValid());
    }

    void init()
    {
        f = std::make_unique<ServedWindow>(m_bus->connection());
        QCOMPARE(f->server.start(), QString());
    }

    void cleanup() { f.reset(); }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        m_bus.reset();
    }

    void shouldAnswerTheUnsavedQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("chosenFile"); // at the save dialog; empty: cancelled
        QTest::addColumn<bool>("ends");
        QTest::newRow("Cancel keeps everything") << int(MessageAnswer::Cancel) << QString() << false;
        QTest::newRow("No ends without saving") << int(MessageAnswer::No) << QString() << true;
        QTest::newRow("Yes saves, then ends") << int(MessageAnswer::Yes) << "kept.txt" << true;
        QTest::newRow("Yes, the dialog cancelled, still ends")
            << int(MessageAnswer::Yes) << QString() << true;
    }

    void shouldAnswerTheUnsavedQuestion()
    {
        QFETCH(int, answer);
        QFETCH(QString, chosenFile);
        QFETCH(bool, ends);
        generate();
        f->boxes.answerNext(MessageAnswer(answer));
        const QString path = chosenFile.isEmpty() ? QString() : fileIn(chosenFile);
        f->files.chooseNext(chosenFile.isEmpty() ? std::nullopt : std::optional<QString>(path));
        f->boxes.typeNext(QStringLiteral("On the way out"));
        QSignalSpy unloaded(&f->window, &frmMain::unloaded);

        const auto terminate = send(Interface, QStringLiteral("Terminate"));
        if (ends) {
            QVERIFY(unloaded.wait(Patience));
            // The program is ending: the call stays unanswered, and so does any after it.
            const auto late =
                send(Properties, QStringLiteral("Get"), { Interface, QStringLiteral("Visible") });
            QTRY_COMPARE_WITH_TIMEOUT(f->server.calls().waiting(), 1, Patience);
            QVERIFY(!terminate->isFinished());
            QVERIFY(!late->isFinished());
        } else {
            const QDBusMessage reply = replyOf(*terminate);
            QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
            QCOMPARE(unloaded.count(), 0);
            QVERIFY(f->window.passwordsUnsaved());
            // Still served.
            QCOMPARE(get(QStringLiteral("Visible")).toBool(), false);
        }
        QCOMPARE(f->messageTexts().value(0), UnsavedQuestion);
        QCOMPARE(QFile::exists(fileIn(QStringLiteral("kept.txt"))), !chosenFile.isEmpty());
        QFile::remove(fileIn(QStringLiteral("kept.txt")));
    }

    void shouldEndWithoutAskingOnceSaved()
    {
        generate(QStringLiteral("3"));
        const QString file = fileIn(QStringLiteral("given.txt"));
        const QDBusMessage saved = callAndWait(QStringLiteral("Save"), { file, QStringLiteral("Work") });
        QCOMPARE(saved.arguments(), (QVariantList { true, file, QStringLiteral("Work") }));
        QFile written(file);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QStringList passwords = f->list()->entries();
        QCOMPARE(passwords.size(), 3);
        QCOMPARE(written.readAll(),
                 ("Generated by " + applicationTitle() + "\r\nWork\r\nNumber of passwords: 3\r\n\r\n" +
                  passwords.join(QStringLiteral("\r\n")) + "\r\n")
                     .toUtf8());
        QVERIFY(f->files.calls.isEmpty());
        QVERIFY(f->boxes.inputs.isEmpty());
        QCOMPARE(f->messageTexts().size(), 1); // the notice that it was saved

        QSignalSpy unloaded(&f->window, &frmMain::unloaded);
        send(Interface, QStringLiteral("Terminate"));
        QVERIFY(unloaded.wait(Patience));
        QCOMPARE(f->messageTexts().size(), 1);
    }

    void shouldSaveThroughTheDialogsWhenBothTextsAreEmpty_data()
    {
        QTest::addColumn<QString>("chosenFile"); // empty: the dialog cancelled
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("both asked") << "asked.txt"
                                    << "Typed" << true;
        QTest::newRow("description left empty") << "asked.txt" << QString() << true;
        QTest::newRow("dialog cancelled") << QString() << "Typed" << false;
    }

    void shouldSaveThroughTheDialogsWhenBothTextsAreEmpty()
    {
        QFETCH(QString, chosenFile);
        QFETCH(QString, typed);
        QFETCH(bool, saved);
        generate();
        const QString path = chosenFile.isEmpty() ? QString() : fileIn(chosenFile);
        f->files.chooseNext(chosenFile.isEmpty() ? std::nullopt : std::optional<QString>(path));
        f->boxes.typeNext(typed);
        const QDBusMessage reply = callAndWait(QStringLiteral("Save"), { QString(), QString() });
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QCOMPARE(reply.arguments(), (QVariantList { saved, path, saved ? typed : QString() }));
        QCOMPARE(f->files.calls.size(), 1);
        QCOMPARE(f->boxes.inputs.size(), saved ? 1 : 0);
        QCOMPARE(f->window.passwordsUnsaved(), !saved);
        if (saved)
            QVERIFY(QFile::remove(path));
    }

    // What the user typed into the length box reaches the client as the error of the read.
    void shouldFailTheLengthAsTheBoxHoldsIt_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("errorName");
        QTest::addColumn<QString>("errorText");
        QTest::newRow("letters") << "abc"
                                 << "Quorvex.Error.TypeMismatch"
                                 << "Error 13: Type mismatch (source: Quorvex)";
        QTest::newRow("40000") << "40000"
                               << "Quorvex.Error.Overflow"
                               << "Error 6: Overflow (source: Quorvex)";
        QTest::newRow("empty") << QString() << "Quorvex.Error.TypeMismatch"
                               << "Error 13: Type mismatch (source: Quorvex)";
    }

    void shouldFailTheLengthAsTheBoxHoldsIt()
    {
        QFETCH(QString, typed);
        QFETCH(QString, errorName);
        QFETCH(QString, errorText);
        f->box("txtPassLen")->setText(typed);
        const QDBusMessage reply =
            replyOf(*send(Properties, QStringLiteral("Get"), { Interface, QStringLiteral("PassLength") }));
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), errorName);
        QCOMPARE(reply.errorMessage(), errorText);
        QVERIFY(f->boxes.messages.isEmpty()); // the client is told, the user is not
        QCOMPARE(f->box("txtPassLen")->text(), typed);
    }

    // What a client asks that cannot be done fails with the kind and number of its cause; the
    // client is told, the user is not.
    void shouldFailAsItsCauseIs_data()
    {
        QTest::addColumn<QString>("member"); // "Set", a property and its value; "Save" and its texts
        QTest::addColumn<QVariantList>("arguments"); // %1: the folder of the test's files
        QTest::addColumn<QString>("errorName");
        QTest::addColumn<QString>("errorText");
        const QString cannot = QStringLiteral("The passwords could not be saved to \"%1");
        QTest::newRow("a switch set to a word")
            << "Set" << QVariantList { "NonPrintableChars", "maybe" } << "Quorvex.Error.TypeMismatch"
            << "Error 13: Type mismatch (source: Quorvex)";
        QTest::newRow("a length of ten billion")
            << "Set" << QVariantList { "PassLength", 1e10 } << "Quorvex.Error.Overflow"
            << "Error 6: Overflow (source: Quorvex)";
        QTest::newRow("a save into a missing folder")
            << "Save" << QVariantList { "%1/missing/p.txt", "d" } << "Quorvex.Error.PathNotFound"
            << "Error 76: " + cannot + "/missing/p.txt\": the folder does not exist. (source: frmMain.Save)";
        QTest::newRow("a save onto a folder")
            << "Save" << QVariantList { "%1", "d" } << "Quorvex.Error.PathFileAccessError"
            << "Error 75: " + cannot + "\": it is a folder. (source: frmMain.Save)";
        QTest::newRow("a save over a read-only file")
            << "Save" << QVariantList { "%1/read-only.txt", "d" } << "Quorvex.Error.PathFileAccessError"
            << "Error 75: " + cannot + "/read-only.txt\": the file is read-only. (source: frmMain.Save)";
    }

    void shouldFailAsItsCauseIs()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, errorName);
        QFETCH(QString, errorText);
        QFile readOnly(fileIn(QStringLiteral("read-only.txt")));
        if (!readOnly.exists())
            QVERIFY(readOnly.open(QIODevice::WriteOnly) && readOnly.setPermissions(QFileDevice::ReadOwner));
        for (QVariant &argument : arguments) {
            if (argument.typeId() == QMetaType::QString)
                argument = argument.toString().arg(m_files.path());
        }
        const QDBusMessage reply = replyOf(*(member == u"Set" ? sendSet(arguments[0].toString(), arguments[1])
                                                              : send(Interface, member, arguments)));
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), errorName);
        QCOMPARE(reply.errorMessage(), errorText.arg(m_files.path()));
        QVERIFY(f->boxes.messages.isEmpty());
    }

    void shouldShowTheScriptErrorWhenTheSeedDoesNotRead_data()
    {
        QTest::addColumn<QString>("seedText");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letters") << "seven"
                                 << "Script error: Seed (Quorvex)\rError Code: 13\rType mismatch";
        QTest::newRow("beyond an Integer") << "40000"
                                           << "Script error: Seed (Quorvex)\rError Code: 6\rOverflow";
    }

    void shouldShowTheScriptErrorWhenTheSeedDoesNotRead()
    {
        QFETCH(QString, seedText);
        QFETCH(QString, shown);
        QCOMPARE(replyOf(*sendSet(QStringLiteral("Seed"), QVariant::fromValue(qint16(7)))).type(),
                 QDBusMessage::ReplyMessage);
        f->host.dialog()->findChild<QLineEdit *>(QStringLiteral("txtSeed"))->setText(seedText);
        const QDBusMessage reply =
            replyOf(*send(Properties, QStringLiteral("Get"), { Interface, QStringLiteral("Seed") }));
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QCOMPARE(variantOf(reply).variant(), QVariant::fromValue(qint16(0)));
        QCOMPARE(f->boxes.messages.size(), 1);
        QCOMPARE(f->boxes.messages[0].text, shown);
        QCOMPARE(f->boxes.messages[0].title, applicationTitle());
        QCOMPARE(f->boxes.messages[0].icon, MessageIcon::Exclamation);
        QCOMPARE(f->boxes.messages[0].buttons, MessageButtons::Ok);
    }

    // A call that comes in while a message box is open waits for it to close, whether the box
    // belongs to another call or to something the user started.
    void shouldHoldACallWhileAMessageBoxIsOpen_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::newRow("the unsaved question of a call") << "Terminate";
        QTest::newRow("a message of a clicked run") << "cmdGenerate";
        QTest::newRow("the About box") << "cmdAbout";
    }

    void shouldHoldACallWhileAMessageBoxIsOpen()
    {
        QFETCH(QString, opener);
        const bool fromCall = opener == QStringLiteral("Terminate");
        std::unique_ptr<QDBusPendingCallWatcher> terminate;
        if (fromCall) {
            generate();
            f->boxes.answerNext(MessageAnswer::Cancel);
        }
        f->box("txtPassLen")->setText(QStringLiteral("abc")); // a clicked run stops with a message
        // A box of its own event loop in place of the About box, not gated by itself.
        connect(&f->window, &frmMain::aboutRequested, &f->window, [this] {
            f->boxes.showMessage(
                applicationMessage(QStringLiteral("About"), MessageButtons::Ok, MessageIcon::None));
        });
        std::unique_ptr<QDBusPendingCallWatcher> late;
        bool heldWhileOpen = false;
        f->boxes.whileOpen = [&] {
            late = sendSet(QStringLiteral("MemoryName"), QStringLiteral("late"));
            const bool arrived = QTest::qWaitFor([&] { return f->server.calls().waiting() == 1; }, Patience);
            settle();
            heldWhileOpen = arrived && f->server.calls().waiting() == 1 && !late->isFinished() &&
                f->window.memoryName().isEmpty();
        };
        if (fromCall)
            terminate = send(Interface, QStringLiteral("Terminate"));
        else
            QTimer::singleShot(0, f->window.findChild<QPushButton *>(opener), &QPushButton::click);

        QTRY_VERIFY_WITH_TIMEOUT(late != nullptr, Patience);
        QVERIFY(heldWhileOpen);
        const QDBusMessage reply = replyOf(*late);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QCOMPARE(f->window.memoryName(), QStringLiteral("late"));
        if (terminate)
            QCOMPARE(replyOf(*terminate).type(), QDBusMessage::ReplyMessage);
    }

    void shouldRefuseAClickDuringTheRunOfACall()
    {
        f->box("txtNumPass")->setText(QStringLiteral("4"));
        int pausesBefore = -1;
        int pausesAfter = -1;
        bool running = false;
        f->onNextPause([&] {
            running = f->window.isRunning();
            pausesBefore = int(f->delay.pauses.size());
            f->window.findChild<QPushButton *>(QStringLiteral("cmdGenerate"))->click();
            pausesAfter = int(f->delay.pauses.size());
        });
        const QDBusMessage reply = callAndWait(QStringLiteral("Generate"));
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QVERIFY(running);
        QCOMPARE(pausesAfter, pausesBefore); // the click ran nothing
        QCOMPARE(f->list()->count(), 4);
        QCOMPARE(reply.arguments().value(0).toString(), f->list()->entries().value(0));
        QVERIFY(f->boxes.messages.isEmpty());
    }

    void shouldHoldACallDuringAClickedRun()
    {
        f->box("txtNumPass")->setText(QStringLiteral("2"));
        std::unique_ptr<QDBusPendingCallWatcher> length;
        std::unique_ptr<QDBusPendingCallWatcher> run;
        const QString lengthBefore = f->box("txtPassLen")->text();
        bool held = false;
        f->onNextPause([&] {
            length = sendSet(QStringLiteral("PassLength"), QVariant::fromValue(qint16(-20)));
            run = send(Interface, QStringLiteral("Generate"));
            const bool arrived = QTest::qWaitFor([&] { return f->server.calls().waiting() == 2; }, Patience);
            settle();
            held = arrived && f->server.calls().waiting() == 2 && f->window.isRunning() &&
                f->box("txtPassLen")->text() == lengthBefore;
        });
        QStringList firstRun;
        f->window.findChild<QPushButton *>(QStringLiteral("cmdGenerate"))->click();
        firstRun = f->list()->entries();
        QVERIFY(held);
        QCOMPARE(firstRun.size(), 2);
        QCOMPARE(firstRun.value(0).size(), lengthBefore.toInt());

        // Served after the clicked run, in the order they came.
        QCOMPARE(replyOf(*length).type(), QDBusMessage::ReplyMessage);
        const QDBusMessage second = replyOf(*run);
        QVERIFY2(second.type() == QDBusMessage::ReplyMessage, qPrintable(second.errorMessage()));
        QCOMPARE(second.arguments().value(0).toString().size(), 20);
        QCOMPARE(f->list()->entries().value(0), second.arguments().value(0).toString());
    }
};

QTEST_MAIN(TestWindowAutomation)
#include "tst_windowautomation.moc"
