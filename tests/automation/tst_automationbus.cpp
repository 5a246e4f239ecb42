// The Application object as a client in another process sees it: a fake-target server runs on
// a private bus and this test calls every member over D-Bus.

#include "activitygate.h"
#include "automationerror.h"
#include "automationserver.h"
#include "errorrecord.h"
#include "faketarget.h"
#include "privatebus.h"
#include "profilestore.h"
#include "scriptedprompter.h"
#include "serverprocess.h"
#include "temporarysettings.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

const QString Interface = QStringLiteral("Quorvex._Application");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int Patience = 20000; // ms: a server process starting on a loaded machine

// A fake-target server process on the given bus.
std::unique_ptr<ServerProcess> startFakeServer(const PrivateBus &bus)
{
    return std::make_unique<ServerProcess>(QStringLiteral(AUTOMATION_FAKESERVER), bus.environment());
}

QDBusVariant variantOf(const QDBusMessage &reply)
{
    return qvariant_cast<QDBusVariant>(reply.arguments().value(0));
}

} // namespace

class TestAutomationBus : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<ServerProcess> m_server;

    QDBusConnection bus() const { return m_bus->connection(); }

    bool waitForName(const QString &name)
    {
        QDBusConnectionInterface *daemon = bus().interface();
        return QTest::qWaitFor([&] { return daemon->isServiceRegistered(name).value(); }, Patience);
    }

    QDBusMessage message(const QString &interface, const QString &member, const QVariantList &arguments,
                         const QString &service = AutomationServer::serviceName())
    {
        QDBusMessage call =
            QDBusMessage::createMethodCall(service, AutomationServer::objectPath(), interface, member);
        call.setArguments(arguments);
        return call;
    }
    QDBusMessage call(const QString &member, const QVariantList &arguments = {})
    {
        return bus().call(message(Interface, member, arguments), QDBus::Block, Patience);
    }
    QDBusMessage get(const QString &property)
    {
        return bus().call(message(Properties, QStringLiteral("Get"), { Interface, property }), QDBus::Block,
                          Patience);
    }
    QDBusMessage set(const QString &property, const QVariant &value)
    {
        return bus().call(message(Properties, QStringLiteral("Set"),
                                  { Interface, property, QVariant::fromValue(QDBusVariant(value)) }),
                          QDBus::Block, Patience);
    }
    QDBusPendingCall callLater(const QString &interface, const QString &member, const QVariantList &arguments)
    {
        return bus().asyncCall(message(interface, member, arguments), Patience);
    }
    // The test's own object in the server process.
    QVariant control(const QString &member, const QVariantList &arguments = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(m_server->instanceName(), QStringLiteral("/Test"),
                                                           QString(), member);
        call.setArguments(arguments);
        const QDBusMessage reply = bus().call(call, QDBus::Block, Patience);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qWarning() << "control call" << member << "failed:" << reply.errorMessage();
        return reply.arguments().value(0);
    }
    // The seed and character controls of the server's Advanced Options window.
    QVariantMap dialogState() { return qdbus_cast<QVariantMap>(control(QStringLiteral("Dialog"))); }
    QVariant dialog(const QString &field) { return dialogState().value(field); }

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->error()));
        QVERIFY(bus().isConnected());
        m_server = startFakeServer(*m_bus);
        QVERIFY(waitForName(m_server->instanceName()));
        QVERIFY(waitForName(AutomationServer::serviceName()));
    }

    void cleanupTestCase()
    {
        m_server.reset();
        m_bus.reset();
    }

    void shouldDescribeTheContractWithItsIdentities()
    {
        const QDBusMessage reply = bus().call(
            message(QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"), {}),
            QDBus::Block, Patience);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        const QString xml = reply.arguments().value(0).toString();
        QVERIFY(xml.contains(QStringLiteral("<interface name=\"Quorvex._Application\">")));
        QVERIFY(xml.contains(QStringLiteral("{3D8F0B6E-94A2-4C71-B5E8-0A2C7F19D6B3}")));
        QVERIFY(xml.contains(QStringLiteral("0x6003000A")));
        // Our own Properties handling must not make the standard interface appear twice.
        QCOMPARE(xml.count(QStringLiteral("<interface name=\"org.freedesktop.DBus.Properties\">")), 1);
    }

    void shouldReadEveryPropertyWithItsType_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("signature");
        QTest::newRow("AllowUI") << "AllowUI"
                                 << "b";
        QTest::newRow("ProcID") << "ProcID"
                                << "i";
        QTest::newRow("MemoryName") << "MemoryName"
                                    << "s";
        QTest::newRow("PassLength") << "PassLength"
                                    << "n";
        QTest::newRow("Seed") << "Seed"
                              << "n";
        QTest::newRow("NonPrintableChars") << "NonPrintableChars"
                                           << "b";
        QTest::newRow("SymbolChars") << "SymbolChars"
                                     << "b";
        QTest::newRow("Visible") << "Visible"
                                 << "b";
    }

    void shouldReadEveryPropertyWithItsType()
    {
        QFETCH(QString, property);
        QFETCH(QString, signature);
        const QDBusMessage reply = get(property);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(QString::fromLatin1(QDBusMetaType::typeToSignature(variantOf(reply).variant().metaType())),
                 signature);
    }

    void shouldReadAllPropertiesAtOnce()
    {
        const QDBusMessage reply =
            bus().call(message(Properties, QStringLiteral("GetAll"), { Interface }), QDBus::Block, Patience);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        const QVariantMap all = qdbus_cast<QVariantMap>(reply.arguments().value(0));
        QCOMPARE(all.size(), 8);
        QCOMPARE(all.value(QStringLiteral("ProcID")).toLongLong(), m_server->pid());
        QCOMPARE(all.value(QStringLiteral("PassLength")).metaType(), QMetaType::fromType<short>());
    }

    // GetAll, which introspection tools and GLib proxies send on their own, opened the seed's
    // message box and kept every later call waiting for a person.
    void shouldReadAllWithoutAMessageBox()
    {
        set(QStringLiteral("Seed"), QVariant::fromValue(qint16(7)));
        control(QStringLiteral("TypeSeed"), { QStringLiteral("seven") });
        control(QStringLiteral("TypePassLength"), { QStringLiteral("abc") });
        const QDBusMessage reply =
            bus().call(message(Properties, QStringLiteral("GetAll"), { Interface }), QDBus::Block, Patience);
        control(QStringLiteral("TypePassLength"), { QStringLiteral("10") });
        control(QStringLiteral("TypeSeed"), { QStringLiteral("7") });
        QVERIFY(!control(QStringLiteral("BoxOpen")).toBool());
        // What does not read is left out; reading it alone says why.
        QCOMPARE(qdbus_cast<QVariantMap>(reply.arguments().value(0)).keys(),
                 (QStringList { "AllowUI", "MemoryName", "NonPrintableChars", "ProcID", "SymbolChars",
                                "Visible" }));
    }

    void shouldGiveTheServersProcessId()
    {
        QCOMPARE(variantOf(get(QStringLiteral("ProcID"))).variant().toLongLong(), m_server->pid());
    }

    void shouldIgnoreAllowUI()
    {
        QCOMPARE(set(QStringLiteral("AllowUI"), false).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(variantOf(get(QStringLiteral("AllowUI"))).variant(), QVariant(true));
    }

    void shouldKeepTheCallersName()
    {
        QCOMPARE(set(QStringLiteral("MemoryName"), QStringLiteral("Vault sync")).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(control(QStringLiteral("MemoryName")).toString(), QStringLiteral("Vault sync"));
        QCOMPARE(variantOf(get(QStringLiteral("MemoryName"))).variant().toString(),
                 QStringLiteral("Vault sync"));
    }

    void shouldWriteTheAbsoluteLength_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative") << QVariant::fromValue(qint16(-8)) << "8";
        QTest::newRow("positive") << QVariant::fromValue(qint16(12)) << "12";
        QTest::newRow("zero") << QVariant::fromValue(qint16(0)) << "0";
        QTest::newRow("largest") << QVariant::fromValue(qint16(32767)) << "32767";
        QTest::newRow("smallest with a positive") << QVariant::fromValue(qint16(-32767)) << "32767";
        QTest::newRow("sent as int32") << QVariant::fromValue(qint32(-20)) << "20";
    }

    void shouldWriteTheAbsoluteLength()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(set(QStringLiteral("PassLength"), value).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(control(QStringLiteral("PassLengthText")).toString(), text);
        QCOMPARE(variantOf(get(QStringLiteral("PassLength"))).variant().toInt(), text.toInt());
    }

    void shouldFailTheLengthAsTheClientSeesIt_data()
    {
        QTest::addColumn<QString>("boxText"); // typed into the box first
        QTest::addColumn<QVariant>("written"); // then written, when valid
        QTest::addColumn<QString>("errorName");
        QTest::addColumn<QString>("errorText");
        QTest::newRow("-32768 has no absolute value")
            << "10" << QVariant::fromValue(qint16(-32768)) << "Quorvex.Error.Overflow"
            << "Error 6: Overflow (source: Quorvex)";
        QTest::newRow("int32 out of the Integer range")
            << "10" << QVariant::fromValue(qint32(40000)) << "Quorvex.Error.Overflow"
            << "Error 6: Overflow (source: Quorvex)";
        QTest::newRow("text that is no number")
            << "10" << QVariant(QStringLiteral("twelve")) << "Quorvex.Error.TypeMismatch"
            << "Error 13: Type mismatch (source: Quorvex)";
        QTest::newRow("box holding letters") << "abc" << QVariant() << "Quorvex.Error.TypeMismatch"
                                             << "Error 13: Type mismatch (source: Quorvex)";
        QTest::newRow("box holding 40000") << "40000" << QVariant() << "Quorvex.Error.Overflow"
                                           << "Error 6: Overflow (source: Quorvex)";
    }

    void shouldFailTheLengthAsTheClientSeesIt()
    {
        QFETCH(QString, boxText);
        QFETCH(QVariant, written);
        QFETCH(QString, errorName);
        QFETCH(QString, errorText);
        control(QStringLiteral("TypePassLength"), { boxText });
        const QDBusMessage reply = written.isValid() ? set(QStringLiteral("PassLength"), written)
                                                     : get(QStringLiteral("PassLength"));
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), errorName);
        QCOMPARE(reply.errorMessage(), errorText);
        // A write that fails leaves the box as it was.
        QCOMPARE(control(QStringLiteral("PassLengthText")).toString(), boxText);
    }

    void shouldChooseTheSystemSeedAndKeepTheBox()
    {
        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(qint16(123))).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(qint16(-5))).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(variantOf(get(QStringLiteral("Seed"))).variant().toInt(), -1);
        const QVariantMap shown = dialogState();
        QCOMPARE(shown.value(QStringLiteral("optSeed_0")).toBool(), true);
        QCOMPARE(shown.value(QStringLiteral("txtSeed")).toString(), QStringLiteral("123"));
        // The option's own handler ran: the box is disabled and the record uses the system seed.
        QCOMPARE(shown.value(QStringLiteral("txtSeedEnabled")).toBool(), false);
        QCOMPARE(shown.value(QStringLiteral("UseDefault")).toBool(), true);
        QCOMPARE(shown.value(QStringLiteral("DialogVisible")).toBool(), false);
    }

    void shouldChooseTheUserSeed_data()
    {
        QTest::addColumn<qint16>("seed");
        QTest::newRow("zero") << qint16(0);
        QTest::newRow("positive") << qint16(4711);
        QTest::newRow("largest") << qint16(32767);
    }

    void shouldChooseTheUserSeed()
    {
        QFETCH(qint16, seed);
        set(QStringLiteral("Seed"), QVariant::fromValue(qint16(-1)));
        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(seed)).type(), QDBusMessage::ReplyMessage);
        const QVariantMap shown = dialogState();
        QCOMPARE(shown.value(QStringLiteral("optSeed_1")).toBool(), true);
        QCOMPARE(shown.value(QStringLiteral("txtSeed")).toString(), QString::number(seed));
        QCOMPARE(shown.value(QStringLiteral("txtSeedEnabled")).toBool(), true);
        QCOMPARE(shown.value(QStringLiteral("UseDefault")).toBool(), false);
        QCOMPARE(shown.value(QStringLiteral("UserSeed")).toString(), QString::number(seed));
        QCOMPARE(variantOf(get(QStringLiteral("Seed"))).variant().toInt(), int(seed));
    }

    void shouldShowTheScriptErrorWhenTheSeedDoesNotRead()
    {
        set(QStringLiteral("Seed"), QVariant::fromValue(qint16(7)));
        control(QStringLiteral("TypeSeed"), { QStringLiteral("seven") });
        const int before = control(QStringLiteral("Messages")).toStringList().size();

        QDBusPendingCallWatcher seed(
            callLater(Properties, QStringLiteral("Get"), { Interface, QStringLiteral("Seed") }));
        QTRY_VERIFY_WITH_TIMEOUT(control(QStringLiteral("BoxOpen")).toBool(), Patience);
        const QStringList messages = control(QStringLiteral("Messages")).toStringList();
        QCOMPARE(messages.size(), before + 1);
        QCOMPARE(messages.last(),
                 QStringLiteral("Exclamation|Talvore Mintara 2.0|Script error: Seed (Quorvex)\r"
                                "Error Code: 13\rType mismatch"));
        QVERIFY(!seed.isFinished());

        control(QStringLiteral("Answer"), { QStringLiteral("Ok") });
        seed.waitForFinished();
        QVERIFY(!seed.isError());
        QCOMPARE(variantOf(seed.reply()).variant().toInt(), 0);
    }

    void shouldSwitchTheCharacterSets_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("box");
        QTest::newRow("NonPrintableChars") << "NonPrintableChars"
                                           << "chkNonPrintChars";
        QTest::newRow("SymbolChars") << "SymbolChars"
                                     << "chkSymbolChars";
    }

    void shouldSwitchTheCharacterSets()
    {
        QFETCH(QString, property);
        QFETCH(QString, box);
        for (bool twice : { true, true, false, false, true }) {
            QCOMPARE(set(property, twice).type(), QDBusMessage::ReplyMessage);
            QCOMPARE(variantOf(get(property)).variant().toBool(), twice);
            QCOMPARE(dialog(box).toInt(), int(twice ? Qt::Checked : Qt::Unchecked));
        }
    }

    void shouldShowAndHideTheWindow()
    {
        QCOMPARE(set(QStringLiteral("Visible"), false).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(variantOf(get(QStringLiteral("Visible"))).variant().toBool(), false);
        QCOMPARE(call(QStringLiteral("Show")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(variantOf(get(QStringLiteral("Visible"))).variant().toBool(), true);
        QCOMPARE(call(QStringLiteral("Show")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(set(QStringLiteral("Visible"), false).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(variantOf(get(QStringLiteral("Visible"))).variant().toBool(), false);
    }

    void shouldGenerateCopyAndSave()
    {
        set(QStringLiteral("PassLength"), QVariant::fromValue(qint16(16)));
        const QDBusMessage generated = call(QStringLiteral("Generate"));
        QCOMPARE(generated.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(generated.arguments(), QVariantList { QStringLiteral("first of 16") });

        const QDBusMessage copied = call(QStringLiteral("Copy"));
        QCOMPARE(copied.arguments(), QVariantList { QStringLiteral("first") });

        const QString file = QDir::tempPath() + QStringLiteral("/given.txt");
        const QDBusMessage saved = call(QStringLiteral("Save"), { file, QStringLiteral("Work accounts") });
        QCOMPARE(saved.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(saved.signature(), QStringLiteral("bss"));
        QCOMPARE(saved.arguments(), (QVariantList { true, file, QStringLiteral("Work accounts") }));
        QCOMPARE(control(QStringLiteral("Calls")).toStringList().last(),
                 QStringLiteral("Save(%1|Work accounts)").arg(file));
    }

    void shouldSaveWithBothTextsEmptyThroughTheDialogs()
    {
        const QDBusMessage saved = call(QStringLiteral("Save"), { QString(), QString() });
        QCOMPARE(saved.type(), QDBusMessage::ReplyMessage);
        QCOMPARE(control(QStringLiteral("Calls")).toStringList().last(), QStringLiteral("Save(|)"));
        // The texts come back as the dialogs filled them in.
        QCOMPARE(saved.arguments(),
                 (QVariantList { true, QDir::tempPath() + QStringLiteral("/chosen.txt"),
                                 QStringLiteral("typed description") }));
    }

    void shouldFailSaveAndCopyAsTheClientSeesIt()
    {
        const QDBusMessage missing =
            call(QStringLiteral("Save"), { QStringLiteral("/no/such/folder/file.txt"), QStringLiteral("x") });
        QCOMPARE(missing.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(missing.errorName(), QStringLiteral("Quorvex.Error.PathNotFound"));
        QCOMPARE(missing.errorMessage(), QStringLiteral("Error 76: Path not found (source: frmMain)"));

        control(QStringLiteral("FailNext"), { 7 });
        const QDBusMessage copy = call(QStringLiteral("Copy"));
        QCOMPARE(copy.errorName(), QStringLiteral("Quorvex.Error.OutOfMemory"));
        QCOMPARE(copy.errorMessage(), QStringLiteral("Error 7: Out of memory (source: frmMain)"));

        control(QStringLiteral("FailNext"), { 1004 });
        QCOMPARE(call(QStringLiteral("Copy")).errorName(), QStringLiteral("Quorvex.Error.Failed"));
        QCOMPARE(call(QStringLiteral("Copy")).type(), QDBusMessage::ReplyMessage); // failed once only
    }

    // Each kind a client can tell apart by the error's name, and numbers of no kind, beside
    // and far from them; the message carries number, description and source. 7 and 76 are
    // decided by shouldFailSaveAndCopyAsTheClientSeesIt.
    void shouldNameEveryKindOfFailure_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("description");
        const auto row = [](int number, const char *kind, const char *description = "") {
            QTest::addRow("%d %s", number, kind) << number << kind << QString::fromLatin1(description);
        };
        row(5, "InvalidArgument", "Invalid procedure call or argument");
        row(6, "Overflow", "Overflow");
        row(11, "DivisionByZero", "Division by zero");
        row(13, "TypeMismatch", "Type mismatch");
        row(51, "InternalError", "Internal error");
        row(52, "BadFileName");
        row(53, "FileNotFound");
        row(57, "DeviceIOError");
        row(61, "DiskFull");
        row(70, "PermissionDenied");
        row(74, "Failed"); // between kinds
        row(75, "PathFileAccessError");
        row(77, "Failed"); // after them
        row(380, "InvalidPropertyValue", "Invalid property value");
        row(int(ErrorNumber::KeyNotFound), "Failed", "The registry key does not exist"); // a component's own
        // Numbers of other components never share a kind's number.
        row(int(ErrorNumber::ProfileNotFound), "Failed");
        row(int(ErrorNumber::TextNotCarried), "TextNotCarried");
    }

    void shouldNameEveryKindOfFailure()
    {
        QFETCH(int, number);
        QFETCH(QString, kind);
        QFETCH(QString, description);
        control(QStringLiteral("FailNext"), { number });
        const QDBusMessage reply = call(QStringLiteral("Copy"));
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), QStringLiteral("Quorvex.Error.") + kind);
        QCOMPARE(reply.errorMessage(),
                 QStringLiteral("Error %1: %2 (source: frmMain)").arg(number).arg(description));
    }

    void shouldRefuseWhatTheInterfaceDoesNotHave()
    {
        const QDBusMessage unknown = get(QStringLiteral("Length"));
        QCOMPARE(unknown.errorName(), QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"));
        const QDBusMessage readOnly = set(QStringLiteral("ProcID"), 5);
        QCOMPARE(readOnly.errorName(), QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"));
        const QDBusMessage otherInterface =
            bus().call(message(Properties, QStringLiteral("Get"),
                               { QStringLiteral("org.example.Other"), QStringLiteral("Seed") }),
                       QDBus::Block, Patience);
        QCOMPARE(otherInterface.errorName(), QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"));
    }

    void shouldHoldACallThatArrivesDuringARun()
    {
        control(QStringLiteral("TypePassLength"), { QStringLiteral("10") });
        control(QStringLiteral("HoldRuns"), { true });
        QDBusPendingCallWatcher run(callLater(Interface, QStringLiteral("Generate"), {}));
        QTRY_VERIFY_WITH_TIMEOUT(control(QStringLiteral("Running")).toBool(), Patience);

        QStringList finished;
        QDBusPendingCallWatcher length(
            callLater(Properties, QStringLiteral("Set"),
                      { Interface, QStringLiteral("PassLength"),
                        QVariant::fromValue(QDBusVariant(QVariant::fromValue(qint16(20)))) }));
        QDBusPendingCallWatcher second(callLater(Interface, QStringLiteral("Generate"), {}));
        connect(&run, &QDBusPendingCallWatcher::finished, this, [&] { finished << QStringLiteral("run"); });
        connect(&length, &QDBusPendingCallWatcher::finished, this,
                [&] { finished << QStringLiteral("length"); });
        connect(&second, &QDBusPendingCallWatcher::finished, this,
                [&] { finished << QStringLiteral("second"); });

        QTRY_COMPARE_WITH_TIMEOUT(control(QStringLiteral("Waiting")).toInt(), 2, Patience);
        QCOMPARE(control(QStringLiteral("PassLengthText")).toString(), QStringLiteral("10"));
        control(QStringLiteral("HoldRuns"), { false });
        control(QStringLiteral("FinishRun"));

        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 3, Patience);
        QCOMPARE(finished, (QStringList { "run", "length", "second" }));
        // The run ended with the length it started with; the waiting write came after it.
        QCOMPARE(run.reply().arguments(), QVariantList { QStringLiteral("first of 10") });
        QCOMPARE(second.reply().arguments(), QVariantList { QStringLiteral("first of 20") });
    }

    // A run served from a posted event missed the bus messages sent right after its call, with
    // the GLib event loop, until another message woke it; then a blocking call timed out.
    void shouldKeepReadingTheBusDuringARunStartedByACall()
    {
        for (int i = 0; i < 100; ++i) {
            control(QStringLiteral("HoldRuns"), { true });
            QDBusPendingCallWatcher run(callLater(Interface, QStringLiteral("Generate"), {}));
            QTRY_VERIFY_WITH_TIMEOUT(control(QStringLiteral("Running")).toBool(), Patience);
            control(QStringLiteral("HoldRuns"), { false });
            control(QStringLiteral("FinishRun"));
            run.waitForFinished();
            QVERIFY2(!run.isError(), qPrintable(run.error().message()));
        }
    }

    void shouldHoldACallWhileAMessageBoxIsOpen()
    {
        control(QStringLiteral("SetUnsaved"), { true });
        QDBusPendingCallWatcher terminate(callLater(Interface, QStringLiteral("Terminate"), {}));
        QTRY_VERIFY_WITH_TIMEOUT(control(QStringLiteral("BoxOpen")).toBool(), Patience);

        QDBusPendingCallWatcher name(
            callLater(Properties, QStringLiteral("Set"),
                      { Interface, QStringLiteral("MemoryName"),
                        QVariant::fromValue(QDBusVariant(QStringLiteral("late"))) }));
        QTRY_COMPARE_WITH_TIMEOUT(control(QStringLiteral("Waiting")).toInt(), 1, Patience);
        QVERIFY(control(QStringLiteral("MemoryName")).toString() != QStringLiteral("late"));

        // Cancel at the unsaved question: Terminate returns normally and the process lives on.
        control(QStringLiteral("Answer"), { QStringLiteral("Cancel") });
        terminate.waitForFinished();
        QVERIFY2(!terminate.isError(), qPrintable(terminate.error().message()));
        name.waitForFinished();
        QVERIFY(!name.isError());
        QCOMPARE(control(QStringLiteral("MemoryName")).toString(), QStringLiteral("late"));
        QCOMPARE(m_server->process().state(), QProcess::Running);
        control(QStringLiteral("SetUnsaved"), { false });
    }

    // A call whose client gave up and left was still run once the message box closed: a length
    // set late, a Terminate that ended the program minutes after the script moved on.
    void shouldDropTheCallsOfACallerThatHasLeft()
    {
        control(QStringLiteral("SetUnsaved"), { true });
        QDBusPendingCallWatcher terminate(callLater(Interface, QStringLiteral("Terminate"), {}));
        QTRY_VERIFY_WITH_TIMEOUT(control(QStringLiteral("BoxOpen")).toBool(), Patience);
        const QStringList callsBefore = control(QStringLiteral("Calls")).toStringList();
        QString leaving;
        {
            QDBusConnection client =
                QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("leaving"));
            leaving = client.baseService();
            client.asyncCall(message(Properties, QStringLiteral("Set"),
                                     { Interface, QStringLiteral("PassLength"),
                                       QVariant::fromValue(QDBusVariant(QVariant::fromValue(qint16(33)))) }));
            client.asyncCall(message(Interface, QStringLiteral("Terminate"), {}));
            QTRY_COMPARE_WITH_TIMEOUT(control(QStringLiteral("Waiting")).toInt(), 2, Patience);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("leaving"));
        QTRY_VERIFY_WITH_TIMEOUT(!bus().interface()->isServiceRegistered(leaving).value(), Patience);

        control(QStringLiteral("Answer"), { QStringLiteral("Cancel") });
        terminate.waitForFinished();
        // Served in order: once this is answered, the calls before it were served or dropped.
        QCOMPARE(get(QStringLiteral("AllowUI")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(control(QStringLiteral("Calls")).toStringList(), callsBefore);
        control(QStringLiteral("SetUnsaved"), { false });
    }

    void shouldPassThePlainNameOnWhenItsOwnerEnds()
    {
        ServerProcess second(QStringLiteral(AUTOMATION_FAKESERVER), m_bus->environment());
        QVERIFY(waitForName(second.instanceName()));
        QDBusConnectionInterface *daemon = bus().interface();
        const QString firstOwner = daemon->serviceOwner(m_server->instanceName());
        const QString secondOwner = daemon->serviceOwner(second.instanceName());
        QCOMPARE(daemon->serviceOwner(AutomationServer::serviceName()).value(), firstOwner);

        // Terminate with nothing unsaved ends the process at once; the call gets no reply.
        const QDBusMessage ended = call(QStringLiteral("Terminate"));
        QCOMPARE(ended.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(ended.errorName(), QStringLiteral("org.freedesktop.DBus.Error.NoReply"));
        QVERIFY(m_server->process().waitForFinished(Patience));
        QCOMPARE(m_server->process().exitCode(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(daemon->serviceOwner(AutomationServer::serviceName()).value(), secondOwner,
                                  Patience);
        QCOMPARE(variantOf(get(QStringLiteral("ProcID"))).variant().toLongLong(), second.pid());
        QCOMPARE(call(QStringLiteral("Terminate")).errorName(),
                 QStringLiteral("org.freedesktop.DBus.Error.NoReply"));
        QVERIFY(second.process().waitForFinished(Patience));
    }

    void shouldBeStartedByTheBusFromItsActivationFile()
    {
        PrivateBus activating(QStringLiteral(AUTOMATION_SERVICE_DIR));
        QVERIFY2(activating.isRunning(), qPrintable(activating.error()));
        QDBusConnection client = activating.connection();
        QVERIFY(!client.interface()->isServiceRegistered(AutomationServer::serviceName()).value());

        QDBusMessage get =
            QDBusMessage::createMethodCall(AutomationServer::serviceName(), AutomationServer::objectPath(),
                                           Properties, QStringLiteral("Get"));
        get.setArguments({ Interface, QStringLiteral("ProcID") });
        const QDBusMessage reply = client.call(get, QDBus::Block, Patience);
        QCOMPARE(reply.type(), QDBusMessage::ReplyMessage);
        const qint64 pid = variantOf(reply).variant().toLongLong();
        QVERIFY(pid > 0);
        QCOMPARE(client.interface()->servicePid(AutomationServer::serviceName()).value(), uint(pid));

        QDBusMessage terminate =
            QDBusMessage::createMethodCall(AutomationServer::serviceName(), AutomationServer::objectPath(),
                                           Interface, QStringLiteral("Terminate"));
        client.call(terminate, QDBus::Block, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(
            !client.interface()->isServiceRegistered(AutomationServer::serviceName()).value(), Patience);
    }

    void shouldSayWhyItCannotServe()
    {
        TemporarySettings store;
        ScriptedPrompter prompter;
        ActivityGate gate;
        FakeTarget target(gate, prompter);

        AutomationServer unconnected(target, gate, QDBusConnection(QStringLiteral("nowhere")));
        QVERIFY(unconnected.start().startsWith(QStringLiteral("Not connected to the D-Bus session bus")));
        QVERIFY(!unconnected.isServing());

        // Another connection already holds this process's own name (as a process of the same id
        // in another PID namespace would): it still serves, and waits in line for the plain name.
        const QString own = AutomationServer::instanceServiceName(QCoreApplication::applicationPid());
        QVERIFY(bus().registerService(own));
        PrivateBus &privateBus = *m_bus;
        QDBusConnection second =
            QDBusConnection::connectToBus(privateBus.address(), QStringLiteral("second"));
        {
            AutomationServer refused(target, gate, second);
            QCOMPARE(refused.start(),
                     QStringLiteral("The bus refused the name %1: another process owns it; serving under "
                                    "Quorvex.Application alone")
                         .arg(own));
            QVERIFY(refused.isServing());
            QVERIFY(refused.ownsServiceName()); // its first owner has ended by now
        }
        QVERIFY(!second.objectRegisteredAt(AutomationServer::objectPath()));
        QVERIFY(bus().unregisterService(own));
        {
            AutomationServer serving(target, gate, second);
            QCOMPARE(serving.start(), QString());
            QVERIFY(serving.isServing());
            QVERIFY(serving.ownsServiceName());
        }
        QVERIFY(!bus().interface()->isServiceRegistered(own).value());
        QDBusConnection::disconnectFromBus(QStringLiteral("second"));
    }
};

QTEST_MAIN(TestAutomationBus)
#include "tst_automationbus.moc"
