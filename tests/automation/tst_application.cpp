// The members of the automation object in process, on the real Advanced Options window.

#include "activitygate.h"
#include "advancedoptionsdialog.h"
#include "application.h"
#include "errorof.h"
#include "faketarget.h"
#include "scriptedprompter.h"
#include "temporarysettings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

class TestApplication : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporarySettings> m_store;
    std::unique_ptr<ScriptedPrompter> m_prompter;
    std::unique_ptr<ActivityGate> m_gate;
    std::unique_ptr<FakeTarget> m_target;
    std::unique_ptr<Application> m_application;

    template<typename T>
    T *control(const char *name)
    {
        T *widget = m_target->advancedDialog().dialog()->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

private Q_SLOTS:
    void init()
    {
        m_store = std::make_unique<TemporarySettings>();
        m_prompter = std::make_unique<ScriptedPrompter>();
        m_gate = std::make_unique<ActivityGate>();
        m_target = std::make_unique<FakeTarget>(*m_gate, *m_prompter);
        m_application = std::make_unique<Application>(*m_target);
    }

    void cleanup()
    {
        m_application.reset();
        m_target.reset();
        m_gate.reset();
        m_prompter.reset();
        m_store.reset();
    }

    void shouldReadTheLengthBoxAsAnInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("error");
        QTest::newRow("plain") << "12" << 12 << 0;
        QTest::newRow("blanks and sign") << " +7 " << 7 << 0;
        QTest::newRow("half to even") << "2.5" << 2 << 0;
        QTest::newRow("negative") << "-3" << -3 << 0;
        QTest::newRow("largest") << "32767" << 32767 << 0;
        QTest::newRow("too large") << "40000" << 0 << 6;
        QTest::newRow("letters") << "abc" << 0 << 13;
        QTest::newRow("empty") << "" << 0 << 13;
    }

    void shouldReadTheLengthBoxAsAnInteger()
    {
        QFETCH(QString, text);
        QFETCH(int, length);
        QFETCH(int, error);
        m_target->setPassLengthText(text);
        qint16 read = 0;
        QCOMPARE(errorOf([&] { read = m_application->PassLength(); }), error);
        QCOMPARE(int(read), length);
    }

    void shouldLeaveTheBoxAloneWhenTheLengthHasNoAbsoluteValue()
    {
        m_target->setPassLengthText(QStringLiteral("10"));
        m_target->calls.clear();
        QCOMPARE(errorOf([&] { m_application->setPassLength(-32768); }), ErrorNumber::Overflow);
        QCOMPARE(m_target->passLengthText(), QStringLiteral("10"));
        QVERIFY(m_target->calls.isEmpty());
    }

    void shouldRunTheOptionHandlerWhenTheSeedChoiceChanges()
    {
        auto *txtSeed = control<QLineEdit>("txtSeed");
        auto *userSeed = control<QRadioButton>("optSeed_1");
        QSignalSpy clicks(userSeed, &QRadioButton::clicked);
        QVERIFY(!txtSeed->isEnabled());

        m_application->setSeed(0);
        QCOMPARE(clicks.size(), 1);
        QVERIFY(txtSeed->isEnabled());
        QCOMPARE(txtSeed->text(), QStringLiteral("0"));
        QCOMPARE(m_target->options().settings().UseDefault(), false);

        // Choosing what is already chosen is no click.
        m_application->setSeed(99);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(m_target->options().settings().UserSeed(), QStringLiteral("99"));

        m_application->setSeed(-1);
        QVERIFY(control<QRadioButton>("optSeed_0")->isChecked());
        QVERIFY(!txtSeed->isEnabled());
        QCOMPARE(txtSeed->text(), QStringLiteral("99"));
        QCOMPARE(m_application->Seed(), qint16(-1));
        QVERIFY(m_prompter->messages.isEmpty());
    }

    // The seed box reads back as an Integer: a half goes to the even neighbour.
    void shouldReadTheSeedBoxAsAnInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("seed");
        QTest::newRow("6.5 down to 6") << "6.5" << 6;
        QTest::newRow("7.5 up to 8") << "7.5" << 8;
    }

    void shouldReadTheSeedBoxAsAnInteger()
    {
        QFETCH(QString, text);
        QFETCH(int, seed);
        m_application->setSeed(1);
        control<QLineEdit>("txtSeed")->setText(text);
        QCOMPARE(int(m_application->Seed()), seed);
        QVERIFY(m_prompter->messages.isEmpty());
    }

    void shouldReportASeedThatDoesNotRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters") << "abc"
                                 << "Script error: Seed (Quorvex)\rError Code: 13\rType mismatch";
        QTest::newRow("too large") << "40000"
                                   << "Script error: Seed (Quorvex)\rError Code: 6\rOverflow";
        QTest::newRow("empty") << ""
                               << "Script error: Seed (Quorvex)\rError Code: 13\rType mismatch";
    }

    void shouldReportASeedThatDoesNotRead()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        m_application->setSeed(5);
        control<QLineEdit>("txtSeed")->setText(text);
        QCOMPARE(m_application->Seed(), qint16(0));
        QCOMPARE(m_prompter->messages.size(), 1);
        const MessageRequest shown = m_prompter->messages.first();
        QCOMPARE(shown.text, message);
        QCOMPARE(shown.title, QStringLiteral("Talvore Mintara 2.0"));
        QCOMPARE(shown.icon, MessageIcon::Exclamation);
        QCOMPARE(shown.buttons, MessageButtons::Ok);
    }

    void shouldReadAGreyedCheckBoxAsTrue()
    {
        auto *box = control<QCheckBox>("chkSymbolChars");
        box->setTristate(true);
        box->setCheckState(Qt::PartiallyChecked);
        QVERIFY(m_application->SymbolChars());
        m_application->setSymbolChars(false);
        QCOMPARE(box->checkState(), Qt::Unchecked);
        QCOMPARE(m_target->options().settings().ExtendedSymbolChars(), 0);
        m_application->setNonPrintableChars(true);
        QCOMPARE(m_target->options().settings().NonPrintableChars(), 1);
    }

    void shouldReachTheDialogLoadedAfterAnUnload()
    {
        m_application->setNonPrintableChars(true);
        // An unload forgets the unsaved edit; the next member loads the window afresh.
        m_target->advancedDialog().unload();
        QCOMPARE(m_application->NonPrintableChars(), false);
        QVERIFY(m_target->advancedDialog().hasDialog());
        QVERIFY(!m_target->advancedDialog().dialog()->isVisible());
    }

    void shouldStoreTheCallersNameAndTheProcessId()
    {
        m_application->setMemoryName(QStringLiteral("Client"));
        QCOMPARE(m_target->memoryName(), QStringLiteral("Client"));
        QCOMPARE(m_application->MemoryName(), QStringLiteral("Client"));
        QCOMPARE(qint64(m_application->ProcID()), QCoreApplication::applicationPid());
        m_application->setAllowUI(false);
        QVERIFY(m_application->AllowUI());
    }
};

QTEST_MAIN(TestApplication)
#include "tst_application.moc"
