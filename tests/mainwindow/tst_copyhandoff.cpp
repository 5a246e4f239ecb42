#include "handoffchannel.h"
#include "mainwindowfixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMimeData>
#include <QProcess>
#include <QTest>

namespace {

const QString Question = QStringLiteral("Do you want to copy the generated password to Sealmoor?");

// The companion stand-in, started for one test and stopped with it.
class CompanionProcess
{
public:
    explicit CompanionProcess(const QStringList &arguments = {})
    {
        m_process.start(QStringLiteral(SEALMOOR_COMPANION), arguments);
    }
    ~CompanionProcess()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

    // Waits until the companion owns its name.
    bool waitReady()
    {
        if (!m_process.waitForStarted(5000))
            return false;
        while (!m_output.contains("ready\n")) {
            if (!m_process.waitForReadyRead(10000))
                return false;
            m_output += m_process.readAllStandardOutput();
        }
        return HandoffChannel::companionRunning();
    }
    // The calls taken so far, as (exchange, text).
    QList<QPair<QString, QString>> calls()
    {
        // The companion writes a call out before it answers it, so it is in the pipe by now.
        m_process.waitForReadyRead(0);
        m_output += m_process.readAllStandardOutput();
        QList<QPair<QString, QString>> taken;
        for (const QByteArray &line : m_output.split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() == 3 && fields[0] == "WriteText")
                taken.append({ QString::fromUtf8(QByteArray::fromPercentEncoding(fields[1])),
                               QString::fromUtf8(QByteArray::fromPercentEncoding(fields[2])) });
        }
        return taken;
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

} // namespace

class TestCopyHandoff : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    void selectRows(const QList<int> &rows)
    {
        f->list()->clearSelection();
        for (const int row : rows)
            f->list()->item(row)->setSelected(true);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QDBusConnection::sessionBus().isConnected())
            QSKIP("needs a session bus (run under dbus-run-session)");
        QVERIFY(!HandoffChannel::companionRunning());
    }
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    void shouldCopyWithoutAskingWhileTheCompanionIsAway()
    {
        f->window.show();
        f->generate(QStringLiteral("3"));
        selectRows({ 0, 2 });
        const QStringList entries = f->list()->entries();

        QCOMPARE(f->window.Copy(), entries[0]);

        QVERIFY(f->prompter.messages.isEmpty());
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->text(), entries[0] + "\r\n" + entries[2] + "\r\n");
        QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
        QCOMPARE(f->window.stepGuide().CurrentStep(), qint16(f->window.isActiveWindow() ? 5 : 1));
    }

    void shouldOfferTheFirstPasswordToTheCompanion_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QString>("memoryName");
        QTest::addColumn<bool>("handedOver");

        QTest::newRow("no keeps it here") << "3" << MessageAnswer::No << "Mail" << false;
        QTest::newRow("yes hands entry 0 over") << "3" << MessageAnswer::Yes << "Mail" << true;
        QTest::newRow("yes without a caller name") << "2" << MessageAnswer::Yes << "" << true;
        QTest::newRow("yes with an empty list hands over nothing")
            << "-1" << MessageAnswer::Yes << "Mail" << true;
    }
    void shouldOfferTheFirstPasswordToTheCompanion()
    {
        QFETCH(QString, count);
        QFETCH(MessageAnswer, answer);
        QFETCH(QString, memoryName);
        QFETCH(bool, handedOver);
        CompanionProcess companion;
        QVERIFY(companion.waitReady());
        f->generate(count);
        const QStringList entries = f->list()->entries();
        if (entries.size() > 1)
            selectRows({ 1 }); // the hand-off takes entry 0 whatever the selection
        f->window.setMemoryName(memoryName);
        f->prompter.answerNext(answer);

        const QString result = f->window.Copy();

        QCOMPARE(result, entries.value(0));
        QCOMPARE(f->prompter.messages.size(), 1);
        QCOMPARE(f->prompter.messages[0].text, Question);
        QCOMPARE(f->prompter.messages[0].buttons, MessageButtons::YesNo);
        QCOMPARE(f->prompter.messages[0].icon, MessageIcon::Question);
        QList<QPair<QString, QString>> expected;
        if (handedOver)
            expected.append({ memoryName, entries.value(0) });
        QCOMPARE(companion.calls(), expected);
        QCOMPARE(QGuiApplication::clipboard()->text(), entries.size() > 1 ? entries[1] + "\r\n" : QString());
    }

    void shouldShowAFailedHandoffFromTheButtonAndCarryOn()
    {
        CompanionProcess companion({ QStringLiteral("--fail") });
        QVERIFY(companion.waitReady());
        f->window.show();
        f->generate(QStringLiteral("2"));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        f->prompter.answerNext(MessageAnswer::Yes);

        QTest::mouseClick(f->button("cmdCopy"), Qt::LeftButton);

        QCOMPARE(f->prompter.messages.size(), 2);
        const QString report = f->prompter.messages[1].text;
        QVERIFY2(report.contains(u"The exchange is closed.") && report.contains(u"frmMain.Copy()"),
                 qPrintable(report));
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("before")); // stopped at the failing step
        QVERIFY(f->window.isVisible());
        QCOMPARE(companion.calls().size(), 1);
    }

    // D-Bus cut a password short at its character 0 (and turns half a surrogate pair into "?"),
    // and the companion took what was left.
    void shouldNeverHandOverAPasswordCutShort()
    {
        CompanionProcess companion;
        QVERIFY(companion.waitReady());
        HandoffChannel channel;
        channel.OpenByName(QStringLiteral("Mail"));
        for (const QString &text :
             { QStringLiteral("ab%1c").arg(QChar(0)), QStringLiteral("a%1").arg(QChar(0xD800)) }) {
            ErrorRecord error;
            runTrapped([&] { channel.WriteText(text); }, [&](const ErrorRecord &e) { error = e; });
            QCOMPARE(error.number, ErrorNumber::HandoffFailed);
            QVERIFY2(error.description.contains(u"which cannot travel over D-Bus"),
                     qPrintable(error.description));
        }
        QVERIFY(companion.calls().isEmpty());
    }

    void shouldRaiseAFailedHandoffToAnAutomationCaller()
    {
        CompanionProcess companion({ QStringLiteral("--fail") });
        QVERIFY(companion.waitReady());
        f->generate(QStringLiteral("1"));
        f->prompter.answerNext(MessageAnswer::Yes);
        QCOMPARE(errorOf([this] { f->window.Copy(); }), ErrorNumber::HandoffFailed);
    }
};

QTEST_MAIN(TestCopyHandoff)
#include "tst_copyhandoff.moc"
