// The real program driven over D-Bus: quorvex runs on a private bus with settings of its own,
// and this test, as a client in another process, calls the members on its real windows.

#include "automationserver.h"
#include "privatebus.h"
#include "serverprocess.h"
#include "temporarysettings.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

namespace {

const QString Interface = QStringLiteral("Quorvex._Application");
const QString Properties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int Patience = 30000; // ms: the program starting or running on a loaded machine

// The program, started on the given environment, stopped with the object.
using Program = ServerProcess;
const QString ProgramPath = QStringLiteral(QUORVEX_PROGRAM);

QDBusVariant variantOf(const QDBusMessage &reply)
{
    return qvariant_cast<QDBusVariant>(reply.arguments().value(0));
}

} // namespace

class TestProgramBus : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporarySettings> m_settings;
    std::unique_ptr<PrivateBus> m_bus;
    std::unique_ptr<Program> m_program;
    QTemporaryDir m_files;

    QDBusConnection bus() const { return m_bus->connection(); }

    // Starts a program and waits until it serves under its own name.
    bool startProgram(std::unique_ptr<Program> &program)
    {
        program = std::make_unique<Program>(ProgramPath, m_bus->environment());
        if (!program->process().waitForStarted(Patience))
            return false;
        const QString name = program->instanceName();
        return QTest::qWaitFor([&] { return bus().interface()->isServiceRegistered(name).value(); },
                               Patience);
    }

    // Calls go to the process's own name, so a program started by another test cannot answer.
    QDBusMessage message(const QString &interface, const QString &member, const QVariantList &arguments,
                         const Program &program)
    {
        QDBusMessage call = QDBusMessage::createMethodCall(program.instanceName(),
                                                           AutomationServer::objectPath(), interface, member);
        call.setArguments(arguments);
        return call;
    }
    QDBusMessage call(const QString &member, const QVariantList &arguments = {})
    {
        return bus().call(message(Interface, member, arguments, *m_program), QDBus::Block, Patience);
    }
    QDBusMessage get(const QString &property)
    {
        return bus().call(message(Properties, QStringLiteral("Get"), { Interface, property }, *m_program),
                          QDBus::Block, Patience);
    }
    QVariant value(const QString &property) { return variantOf(get(property)).variant(); }
    QDBusMessage set(const QString &property, const QVariant &value)
    {
        return bus().call(message(Properties, QStringLiteral("Set"),
                                  { Interface, property, QVariant::fromValue(QDBusVariant(value)) },
                                  *m_program),
                          QDBus::Block, Patience);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_settings = std::make_unique<TemporarySettings>(); // before the bus: children inherit it
        m_bus = std::make_unique<PrivateBus>();
        QVERIFY2(m_bus->isRunning(), qPrintable(m_bus->error()));
        QVERIFY(m_files.isValid());
        QVERIFY(startProgram(m_program));
    }

    void cleanupTestCase()
    {
        m_program.reset();
        m_bus.reset();
        m_settings.reset();
    }

    void shouldBeTheProgramsOwnProcess()
    {
        QCOMPARE(value(QStringLiteral("ProcID")).toLongLong(), m_program->pid());
        QCOMPARE(bus().interface()->serviceOwner(AutomationServer::serviceName()).value(),
                 bus().interface()->serviceOwner(m_program->instanceName()).value());
    }

    // What is written reads back, as the member's own D-Bus type.
    void shouldReadBackWhatWasWritten_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QVariant>("read");
        QTest::newRow("AllowUI false is ignored") << "AllowUI" << QVariant(false) << QVariant(true);
        QTest::newRow("AllowUI true") << "AllowUI" << QVariant(true) << QVariant(true);
        QTest::newRow("MemoryName") << "MemoryName" << QVariant(QStringLiteral("Vault sync"))
                                    << QVariant(QStringLiteral("Vault sync"));
        QTest::newRow("MemoryName empty") << "MemoryName" << QVariant(QString()) << QVariant(QString());
        QTest::newRow("PassLength -8 writes 8")
            << "PassLength" << QVariant::fromValue(qint16(-8)) << QVariant::fromValue(qint16(8));
        QTest::newRow("PassLength 24")
            << "PassLength" << QVariant::fromValue(qint16(24)) << QVariant::fromValue(qint16(24));
        QTest::newRow("Seed 0 is a seed of the user")
            << "Seed" << QVariant::fromValue(qint16(0)) << QVariant::fromValue(qint16(0));
        QTest::newRow("Seed -5 is the system's")
            << "Seed" << QVariant::fromValue(qint16(-5)) << QVariant::fromValue(qint16(-1));
        QTest::newRow("Seed 1234") << "Seed" << QVariant::fromValue(qint16(1234))
                                   << QVariant::fromValue(qint16(1234));
        QTest::newRow("NonPrintableChars true") << "NonPrintableChars" << QVariant(true) << QVariant(true);
        QTest::newRow("NonPrintableChars true again")
            << "NonPrintableChars" << QVariant(true) << QVariant(true);
        QTest::newRow("NonPrintableChars false") << "NonPrintableChars" << QVariant(false) << QVariant(false);
        QTest::newRow("SymbolChars true") << "SymbolChars" << QVariant(true) << QVariant(true);
        QTest::newRow("SymbolChars false") << "SymbolChars" << QVariant(false) << QVariant(false);
        QTest::newRow("Visible false") << "Visible" << QVariant(false) << QVariant(false);
        QTest::newRow("Visible true") << "Visible" << QVariant(true) << QVariant(true);
    }

    void shouldReadBackWhatWasWritten()
    {
        QFETCH(QString, property);
        QFETCH(QVariant, written);
        QFETCH(QVariant, read);
        const QDBusMessage reply = set(property, written);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        QCOMPARE(value(property), read);
    }

    void shouldKeepTheSeedBoxWhenTheSystemSeedIsChosen()
    {
        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(qint16(321))).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(qint16(-5))).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(value(QStringLiteral("Seed")).toInt(), -1);
        // Choosing the user's seed again without a value shows the box as it was kept.
        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(qint16(321))).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(value(QStringLiteral("Seed")).toInt(), 321);
    }

    void shouldShowAndHideTheWindow()
    {
        QCOMPARE(set(QStringLiteral("Visible"), false).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(call(QStringLiteral("Show")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(value(QStringLiteral("Visible")).toBool(), true);
        QCOMPARE(call(QStringLiteral("Show")).type(), QDBusMessage::ReplyMessage);
        QCOMPARE(value(QStringLiteral("Visible")).toBool(), true);
    }

    void shouldFailWithTheErrorNumber_data()
    {
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("written");
        QTest::addColumn<QString>("errorName");
        QTest::addColumn<QString>("errorText");
        QTest::newRow("PassLength -32768")
            << "PassLength" << QVariant::fromValue(qint16(-32768)) << "Quorvex.Error.Overflow"
            << "Error 6: Overflow (source: Quorvex)";
        QTest::newRow("Seed 40000") << "Seed" << QVariant::fromValue(qint32(40000))
                                    << "Quorvex.Error.Overflow"
                                    << "Error 6: Overflow (source: Quorvex)";
        QTest::newRow("PassLength as letters")
            << "PassLength" << QVariant(QStringLiteral("twelve")) << "Quorvex.Error.TypeMismatch"
            << "Error 13: Type mismatch (source: Quorvex)";
    }

    void shouldFailWithTheErrorNumber()
    {
        QFETCH(QString, property);
        QFETCH(QVariant, written);
        QFETCH(QString, errorName);
        QFETCH(QString, errorText);
        const QVariant before = value(property);
        const QDBusMessage reply = set(property, written);
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), errorName);
        QCOMPARE(reply.errorMessage(), errorText);
        QCOMPARE(value(property), before);
    }

    // One call over 63 MiB left the program deaf for good: libdbus stopped reading until the
    // call was freed, and could not start again from the thread that freed it.
    void shouldGoOnAnsweringAfterAVeryLargeCall()
    {
        // Bytes where a Boolean belongs: quick to make, and refused without being read.
        QCOMPARE(set(QStringLiteral("AllowUI"), QByteArray(63 * 1024 * 1024 + 1, 'x')).errorName(),
                 QStringLiteral("Quorvex.Error.TypeMismatch"));
        QCOMPARE(value(QStringLiteral("ProcID")).toLongLong(), m_program->pid());
    }

    // Any process could take a name over by asking to replace its owner, then receive the
    // clients' Save paths and hand them passwords of its own.
    void shouldKeepItsNamesFromAProcessThatAsksToReplaceIt()
    {
        QDBusConnection intruder =
            QDBusConnection::connectToBus(m_bus->address(), QStringLiteral("intruder"));
        for (const QString &name : { AutomationServer::serviceName(), m_program->instanceName() }) {
            const auto taken =
                intruder.interface()->registerService(name, QDBusConnectionInterface::ReplaceExistingService,
                                                      QDBusConnectionInterface::DontAllowReplacement);
            QCOMPARE(taken.value(), QDBusConnectionInterface::ServiceNotRegistered);
            QCOMPARE(qint64(bus().interface()->servicePid(name).value()), m_program->pid());
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("intruder"));
    }

    // A password holding character 0 reached the client cut short at it, without a word.
    void shouldNeverReturnAPasswordCutShort()
    {
        set(QStringLiteral("NonPrintableChars"), true);
        set(QStringLiteral("PassLength"), QVariant::fromValue(qint16(40)));
        set(QStringLiteral("Seed"), QVariant::fromValue(qint16(19))); // character 0 fourth
        for (const QString &member : { QStringLiteral("Generate"), QStringLiteral("Copy") }) {
            const QDBusMessage reply = call(member);
            QCOMPARE(reply.errorName(), QStringLiteral("Quorvex.Error.TextNotCarried"));
            QCOMPARE(reply.errorMessage(),
                     QStringLiteral("Error -2147220203: %1 ran, but the text it returns holds character 0 at "
                                    "position 4 of 40, which a D-Bus string cannot carry; rather than cut it "
                                    "short, it is not sent. (source: Quorvex)")
                         .arg(member));
        }
        set(QStringLiteral("NonPrintableChars"), false);
    }

    void shouldGenerateTheSamePasswordsFromTheSameSeed()
    {
        QCOMPARE(set(QStringLiteral("PassLength"), QVariant::fromValue(qint16(-12))).type(),
                 QDBusMessage::ReplyMessage);
        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(qint16(1234))).type(),
                 QDBusMessage::ReplyMessage);
        const QDBusMessage first = call(QStringLiteral("Generate"));
        QVERIFY2(first.type() == QDBusMessage::ReplyMessage, qPrintable(first.errorMessage()));
        const QString password = first.arguments().value(0).toString();
        QCOMPARE(password.size(), 12);
        QCOMPARE(call(QStringLiteral("Generate")).arguments().value(0).toString(), password);
        // The first password is what Copy hands out too.
        QCOMPARE(call(QStringLiteral("Copy")).arguments().value(0).toString(), password);

        QCOMPARE(set(QStringLiteral("Seed"), QVariant::fromValue(qint16(4321))).type(),
                 QDBusMessage::ReplyMessage);
        const QString other = call(QStringLiteral("Generate")).arguments().value(0).toString();
        QCOMPARE(other.size(), 12);
        QVERIFY(other != password);
        m_generated = other;
    }

    // A save replaced a named pipe with a password file and answered success; a relative name
    // was taken from the program's working folder, not the client's.
    void shouldFailASaveItCannotMake_data()
    {
        QTest::addColumn<QString>("name"); // in the test's folder unless "relative"; "pipe" is made first
        QTest::addColumn<QString>("errorName");
        QTest::addColumn<QString>("errorStart");
        const auto row = [](const char *name, const char *errorName, const char *errorStart) {
            QTest::newRow(name) << name << QStringLiteral("Quorvex.Error.") + errorName << errorStart;
        };
        row("missing/passwords.txt", "PathNotFound", "Error 76: ");
        row("relative", "BadFileName",
            "Error 52: The file name \"relative\" is relative: give an absolute path");
        row("pipe", "PathFileAccessError", "Error 75: ");
    }

    void shouldFailASaveItCannotMake()
    {
        QFETCH(QString, name);
        QFETCH(QString, errorName);
        QFETCH(QString, errorStart);
        const QString file = name == QLatin1String("relative") ? name : m_files.filePath(name);
        if (name == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        const QDBusMessage reply = call(QStringLiteral("Save"), { file, QStringLiteral("Work") });
        QCOMPARE(reply.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(reply.errorName(), errorName);
        QVERIFY2(reply.errorMessage().startsWith(errorStart), qPrintable(reply.errorMessage()));
        QVERIFY(reply.errorMessage().contains(QDir::toNativeSeparators(file)));
        QVERIFY(!QFileInfo(file).isFile());
    }

    // The file is written without a dialog; the notice that follows it is a real message box,
    // which keeps this call, and any call after it, waiting. Nothing can close it from here,
    // so this test comes last.
    void shouldSaveTheGivenFileAndHoldCallsWhileItsNoticeIsOpen()
    {
        QVERIFY(!m_generated.isEmpty());
        const QString file = m_files.filePath(QStringLiteral("passwords.txt"));
        QDBusPendingCallWatcher save(bus().asyncCall(
            message(Interface, QStringLiteral("Save"), { file, QStringLiteral("Work accounts") }, *m_program),
            Patience));
        const QByteArray expected =
            "Generated by Talvore Mintara 2.0\r\nWork accounts\r\nNumber of passwords: 1\r\n\r\n" +
            m_generated.toUtf8() + "\r\n";
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), Patience);
        QFile written(file);
        QTRY_COMPARE_WITH_TIMEOUT(written.size(), qint64(expected.size()), Patience);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), expected);
        QCOMPARE(written.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);

        QDBusPendingCallWatcher length(
            bus().asyncCall(message(Properties, QStringLiteral("Get"),
                                    { Interface, QStringLiteral("PassLength") }, *m_program),
                            Patience));
        // A call refused before it is queued is answered at once, and after the program has
        // taken in the read sent before it; twice, so a read that was served has come back.
        for (int round = 0; round < 2; ++round)
            QCOMPARE(set(QStringLiteral("ProcID"), 1).errorName(),
                     QStringLiteral("org.freedesktop.DBus.Error.PropertyReadOnly"));
        QVERIFY(!save.isFinished());
        QVERIFY(!length.isFinished());
        QCOMPARE(m_program->process().state(), QProcess::Running);
    }

    void shouldEndAtOnceWhenNothingIsUnsaved()
    {
        std::unique_ptr<Program> fresh;
        QVERIFY(startProgram(fresh));
        const QDBusMessage ended =
            bus().call(message(Interface, QStringLiteral("Terminate"), {}, *fresh), QDBus::Block, Patience);
        QCOMPARE(ended.type(), QDBusMessage::ErrorMessage);
        QCOMPARE(ended.errorName(), QStringLiteral("org.freedesktop.DBus.Error.NoReply"));
        QVERIFY(fresh->process().waitForFinished(Patience));
        QCOMPARE(fresh->process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(fresh->process().exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!bus().interface()->isServiceRegistered(fresh->instanceName()).value(),
                                 Patience);
    }

    void shouldBeStartedByTheBusFromItsActivationFile()
    {
        PrivateBus activating(QStringLiteral(QUORVEX_PROGRAM_SERVICE_DIR));
        QVERIFY2(activating.isRunning(), qPrintable(activating.error()));
        QDBusConnection client = activating.connection();
        QDBusConnectionInterface *daemon = client.interface();
        QVERIFY(!daemon->isServiceRegistered(AutomationServer::serviceName()).value());

        QDBusMessage get =
            QDBusMessage::createMethodCall(AutomationServer::serviceName(), AutomationServer::objectPath(),
                                           Properties, QStringLiteral("Get"));
        get.setArguments({ Interface, QStringLiteral("ProcID") });
        const QDBusMessage reply = client.call(get, QDBus::Block, Patience);
        QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
        const qint64 pid = variantOf(reply).variant().toLongLong();
        QCOMPARE(qint64(daemon->servicePid(AutomationServer::serviceName()).value()), pid);
        QVERIFY(daemon->isServiceRegistered(AutomationServer::instanceServiceName(pid)).value());

        client.call(QDBusMessage::createMethodCall(AutomationServer::serviceName(),
                                                   AutomationServer::objectPath(), Interface,
                                                   QStringLiteral("Terminate")),
                    QDBus::Block, Patience);
        QTRY_VERIFY_WITH_TIMEOUT(!daemon->isServiceRegistered(AutomationServer::serviceName()).value(),
                                 Patience);
    }

    void shouldStartWithoutASessionBus()
    {
        QProcessEnvironment environment = m_bus->environment();
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        environment.remove(QStringLiteral("DISPLAY")); // no bus started for the display either
        QTemporaryDir runtime; // no bus socket in it
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        Program alone(ProgramPath, environment, QProcess::SeparateChannels);
        QVERIFY(alone.process().waitForStarted(Patience));

        const QByteArray warning =
            "Quorvex: automation is not available: Not connected to the D-Bus session bus";
        QByteArray errors;
        QTRY_VERIFY_WITH_TIMEOUT((errors += alone.process().readAllStandardError()).contains(warning),
                                 Patience);
        // It goes on to show its window rather than ending.
        QVERIFY(!alone.process().waitForFinished(2000));
        QCOMPARE(alone.process().state(), QProcess::Running);
        errors += alone.process().readAllStandardError();
        QCOMPARE(errors.count("automation"), 1);
        QVERIFY2(!errors.contains("qt.svg"), errors.constData()); // its icons are all there
    }

private:
    QString m_generated;
};

QTEST_GUILESS_MAIN(TestProgramBus)
#include "tst_programbus.moc"
