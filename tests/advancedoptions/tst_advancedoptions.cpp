#include "advancedoptions.h"
#include "scriptedprompter.h"
#include "temporarysettings.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

const QString SymbolNames = QStringLiteral("~`!@#$%^&*()-_+=|\\{}[]:;\"'<>,.?/");

QString countsOf(const GenerationSettings &settings)
{
    return QStringList({ settings.NumUppercaseChars(), settings.NumLowercaseChars(), settings.NumNumbers(),
                         settings.NumSymbols() })
        .join(u'/');
}

} // namespace

class TestAdvancedOptions : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TemporarySettings> m_store;
    ScriptedPrompter m_prompter;

    int m_copies = 0;

    // The store's file as QSettings' own reader reads it, from a copy under a name it has never
    // opened: for the file itself it would answer from what this process wrote, not from the disk.
    QSettings storeFile()
    {
        const QString copy = m_store->path() + QStringLiteral("/copy%1.conf").arg(++m_copies);
        QFile::copy(m_store->programSettingsFile(), copy);
        return QSettings(copy, QSettings::IniFormat);
    }
    QByteArray fileBytes() const
    {
        QFile file(m_store->programSettingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private Q_SLOTS:
    void init()
    {
        m_store = std::make_unique<TemporarySettings>();
        m_prompter = ScriptedPrompter();
    }
    void cleanup() { m_store.reset(); }

    void shouldStoreTheDefaultsAndUsableCountsOnTheFirstStart()
    {
        QVERIFY(!QFile::exists(m_store->programSettingsFile()));
        AdvancedOptions options(m_prompter);
        const GenerationSettings &settings = options.settings();
        QCOMPARE(countsOf(settings), QStringLiteral("2/2/2/4"));
        QCOMPARE(settings.PasswordLength(), QStringLiteral("10"));
        QVERIFY(options.rules().CanAdjustNumbers() && options.rules().CanAdjustLength());
        QVERIFY(m_prompter.messages.isEmpty());

        QSettings file = storeFile();
        QCOMPARE(file.childGroups(),
                 QStringList({ QStringLiteral("Password Length"), QStringLiteral("Seed"),
                               QStringLiteral("Symbols") }));
        QCOMPARE(file.value(QStringLiteral("Seed/UseDefault")).toInt(), 1);
        QCOMPARE(file.value(QStringLiteral("Seed/UserSeed")).toString(), QStringLiteral("0"));
        file.beginGroup(QStringLiteral("Symbols"));
        QCOMPARE(file.childKeys().size(), 32 + 2);
        for (const QString &key : file.childKeys())
            QCOMPARE(file.value(key).toInt(), key.endsWith(QStringLiteral("Chars")) ? 0 : 1);
        file.endGroup();
        file.beginGroup(QStringLiteral("Password Length"));
        QCOMPARE(file.childKeys().size(), 4); // no value for the length itself
        QCOMPARE(file.value(QStringLiteral("NumLowercaseChars")).toInt(), 2);
        QCOMPARE(file.value(QStringLiteral("NumUppercaseChars")).toInt(), 2);
        QCOMPARE(file.value(QStringLiteral("NumNumbers")).toInt(), 2);
        QCOMPARE(file.value(QStringLiteral("NumSymbols")).toInt(), 4);

        // The second start finds it all and writes nothing.
        const QByteArray before = fileBytes();
        AdvancedOptions second(m_prompter);
        QCOMPARE(countsOf(second.settings()), QStringLiteral("2/2/2/4"));
        QCOMPARE(fileBytes(), before);
    }

    void shouldLoadWhatWasSaved_data()
    {
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("length");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("caption");
        QTest::newRow("3/3/3/1, 16 symbols") << "3/3/3/1"
                                             << "10" << 16 << "Unselect All";
        QTest::newRow("fractions, 15 symbols") << "3/3/3/1.5"
                                               << "11" << 15 << "Select All";
        QTest::newRow("no symbols") << "1/1/1/0"
                                    << "3" << 0 << "Select All";
    }
    void shouldLoadWhatWasSaved()
    {
        QFETCH(QString, counts);
        QFETCH(QString, length);
        QFETCH(int, selected);
        QFETCH(QString, caption);
        {
            AdvancedOptions options(m_prompter);
            GenerationSettings &settings = options.settings();
            const QStringList parts = counts.split(u'/');
            settings.setNumUppercaseChars(parts[0]);
            settings.setNumLowercaseChars(parts[1]);
            settings.setNumNumbers(parts[2]);
            settings.setNumSymbols(parts[3]);
            for (int i = selected; i < 32; ++i)
                settings.setSymbolSelected(i, false);
            settings.setUseDefault(false);
            settings.setUserSeed(QStringLiteral("4711"));
            settings.setExtendedSymbolChars(1);
            options.SaveSettings();
        }
        AdvancedOptions options(m_prompter);
        const GenerationSettings &settings = options.settings();
        QCOMPARE(countsOf(settings),
                 counts.replace(QStringLiteral("1.5"), QStringLiteral("2"))); // 1.5 to even
        QCOMPARE(settings.PasswordLength(), length);
        QCOMPARE(settings.selectedSymbolCount(), selected);
        QCOMPARE(settings.SymbolSelected(0), selected > 0);
        QCOMPARE(options.selectSymbolsCaption(), caption);
        QCOMPARE(options.selectSymbolsToolTip(),
                 caption == QStringLiteral("Select All") ? QStringLiteral("Select all symbols")
                                                         : QStringLiteral("Unselect all symbols"));
        QVERIFY(!settings.UseDefault());
        QCOMPARE(settings.UserSeed(), QStringLiteral("4711"));
        QCOMPARE(settings.ExtendedSymbolChars(), 1);
        QCOMPARE(settings.NonPrintableChars(), 0);
        QVERIFY(m_prompter.messages.isEmpty());
    }

    void shouldKeepEachSymbolApartTheBackslashIncluded_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < 32; ++i)
            QTest::addRow("%d %c", i, SymbolNames[i].toLatin1()) << i;
    }
    void shouldKeepEachSymbolApartTheBackslashIncluded()
    {
        QFETCH(int, index);
        {
            AdvancedOptions options(m_prompter);
            options.settings().setSymbolSelected(index, false);
            options.SaveSettings();
        }
        AdvancedOptions options(m_prompter);
        QCOMPARE(options.settings().selectedSymbolCount(), 31);
        QVERIFY(!options.settings().SymbolSelected(index));
        QCOMPARE(storeFile().childGroups().size(), 3); // no value became a key of its own
    }

    void shouldStoreCountsRoundedHalfToEvenAndSkipThoseThatDoNotFit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::newRow("2.5 to 2") << "2.5" << 2;
        QTest::newRow("3.5 to 4") << "3.5" << 4;
        QTest::newRow("-2.5 to -2") << "-2.5" << -2;
        QTest::newRow("32767 fits") << "32767" << 32767;
        QTest::newRow("40000 kept out") << "40000" << 4;
        QTest::newRow("-32769 kept out") << "-32769" << 4;
        QTest::newRow("empty kept out") << "" << 4;
        QTest::newRow("letters kept out") << "abc" << 4;
    }
    void shouldStoreCountsRoundedHalfToEvenAndSkipThoseThatDoNotFit()
    {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        AdvancedOptions options(m_prompter); // first start: stores 2/2/2/4
        options.settings().setNumSymbols(typed);
        options.SaveSettings();
        QCOMPARE(storeFile().value(QStringLiteral("Password Length/NumSymbols")).toInt(), stored);
        QCOMPARE(storeFile().value(QStringLiteral("Password Length/NumNumbers")).toInt(), 2);
    }

    void shouldDeriveCountsThatAreMissingOrEmpty_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::newRow("counts empty") << QByteArray("NumSymbols=4") << QByteArray("NumSymbols=");
        QTest::newRow("one count missing") << QByteArray("NumSymbols=4") << QByteArray();
        QTest::newRow("no counts at all") << QByteArray("[Password%20Length]") << QByteArray("[Unrelated]");
    }
    void shouldDeriveCountsThatAreMissingOrEmpty()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        {
            AdvancedOptions options(m_prompter);
            options.settings().setNumUppercaseChars(QStringLiteral("3")); // 3/2/2/4, length 11
        }
        QByteArray file = fileBytes();
        QVERIFY(file.contains(from));
        m_store->writeProgramSettingsFile(file.replace(from, to));

        AdvancedOptions options(m_prompter);
        QCOMPARE(countsOf(options.settings()), QStringLiteral("2/2/2/4"));
        QCOMPARE(options.settings().PasswordLength(), QStringLiteral("10"));
        QVERIFY(m_prompter.messages.isEmpty());
    }

    void shouldReportABadValueAndStillLoadEverythingElse_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("named"); // the value and its group, as the report names them
        // Each damaged file differs in size from the saved one: the store rereads a file by its
        // time and size, and both may look unchanged within the same second.
        QTest::newRow("seed flag not a number")
            << QByteArray("UseDefault=0") << QByteArray("UseDefault=abc") << "Error #13\r\nType mismatch\r\n"
            << "\"UseDefault\" in the group \"Seed\"";
        QTest::newRow("check box value -1")
            << QByteArray("NonPrintableChars=0") << QByteArray("NonPrintableChars=-1")
            << "Error #380\r\nInvalid property value\r\n"
            << "\"NonPrintableChars\" in the group \"Symbols\"";
        QTest::newRow("check box value too large")
            << QByteArray("ExtendedSymbolChars=1") << QByteArray("ExtendedSymbolChars=70000")
            << "Error #6\r\nOverflow\r\n"
            << "\"ExtendedSymbolChars\" in the group \"Symbols\"";
        QTest::newRow("symbol flag not a number")
            << QByteArray("%7E=1") << QByteArray("%7E=yes") << "Error #13\r\nType mismatch\r\n"
            << "\"~\" in the group \"Symbols\"";
    }
    void shouldReportABadValueAndStillLoadEverythingElse()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QString, error);
        QFETCH(QString, named);
        {
            AdvancedOptions options(m_prompter);
            GenerationSettings &settings = options.settings();
            settings.setUseDefault(false);
            settings.setUserSeed(QStringLiteral("99"));
            settings.setSymbolSelected(3, false);
            settings.setExtendedSymbolChars(1);
            settings.setNumSymbols(QStringLiteral("1")); // 2/2/2/1, length 7
            options.SaveSettings();
        }
        QByteArray file = fileBytes();
        QVERIFY2(file.contains(from), file.constData());
        m_store->writeProgramSettingsFile(file.replace(from, to));

        AdvancedOptions options(m_prompter);
        const GenerationSettings &settings = options.settings();
        QCOMPARE(m_prompter.messages.size(), 1);
        const MessageRequest &report = m_prompter.messages.first();
        QCOMPARE(report.title, QStringLiteral("Error"));
        QVERIFY2(report.text.startsWith(error), qPrintable(report.text));
        QVERIFY2(report.text.contains(QStringLiteral("The value ") + named +
                                      QStringLiteral(" of the settings file \"") +
                                      m_store->programSettingsFile() + u'"'),
                 qPrintable(report.text));
        QVERIFY(report.text.endsWith(QStringLiteral("Caused in:\tfrmAdvanced.LoadSettings()\r\n")));

        // Everything around the bad value loaded, and the dialog keeps its length in step.
        QCOMPARE(settings.UserSeed(), QStringLiteral("99"));
        QVERIFY(!settings.SymbolSelected(3));
        QCOMPARE(settings.selectedSymbolCount(), 31);
        QCOMPARE(countsOf(settings), QStringLiteral("2/2/2/1"));
        QCOMPARE(settings.PasswordLength(), QStringLiteral("7"));
        QVERIFY(options.rules().CanAdjustNumbers() && options.rules().CanAdjustLength());

        // Saving again keeps the other settings.
        QVERIFY(options.VerifyInputAndSaveSettings());
        AdvancedOptions again(m_prompter);
        QCOMPARE(again.settings().UserSeed(), QStringLiteral("99"));
        QVERIFY(!again.settings().SymbolSelected(3));
        QCOMPARE(countsOf(again.settings()), QStringLiteral("2/2/2/1"));
    }

    void shouldShowStoredCountsThatCannotBeUsedAsTheyAre_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("counts");
        QTest::addColumn<QString>("length");
        QTest::newRow("letters") << QByteArray("abc") << "2/2/2/abc"
                                 << "10";
        QTest::newRow("too large for a count") << QByteArray("99999") << "2/2/2/99999"
                                               << "100005";
    }
    void shouldShowStoredCountsThatCannotBeUsedAsTheyAre()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, counts);
        QFETCH(QString, length);
        {
            AdvancedOptions first(m_prompter);
            first.settings();
        }
        m_store->writeProgramSettingsFile(fileBytes().replace("NumSymbols=4", "NumSymbols=" + stored));
        AdvancedOptions options(m_prompter);
        QCOMPARE(countsOf(options.settings()), counts);
        QCOMPARE(options.settings().PasswordLength(), length);
        QVERIFY(m_prompter.messages.isEmpty());
        // A save leaves the stored value alone rather than writing something it cannot hold.
        options.SaveSettings();
        QVERIFY(fileBytes().contains("NumSymbols=" + stored));
    }

    void shouldReloadTheStoreAfterAnUnload()
    {
        AdvancedOptions options(m_prompter);
        GenerationSettings &settings = options.settings();
        QSignalSpy unloaded(&options, &AdvancedOptions::unloaded);
        settings.setPasswordLength(QStringLiteral("14"));
        settings.setUserSeed(QStringLiteral("5"));
        options.unload();
        QCOMPARE(unloaded.count(), 1);
        // At once, for readers that keep their reference without asking again.
        QVERIFY(options.isLoaded());
        QCOMPARE(settings.PasswordLength(), QStringLiteral("10"));
        QCOMPARE(&options.settings(), &settings); // the same record, readers keep their reference
        QCOMPARE(countsOf(settings), QStringLiteral("2/2/2/4"));
        QCOMPARE(settings.UserSeed(), QStringLiteral("0"));
        // The program's end forgets without reloading, once.
        options.discard();
        options.discard();
        QCOMPARE(unloaded.count(), 2);
        QVERIFY(!options.isLoaded());
    }

    void shouldCheckTheRecordBeforeSavingIt_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("symbols");
        QTest::addColumn<int>("extended");
        QTest::addColumn<QList<MessageAnswer>>("answers");
        QTest::addColumn<int>("messages");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("counts"); // upper/lower/numbers/symbols afterwards
        QTest::addColumn<QString>("finalLength"); // the length afterwards
        QTest::addColumn<bool>("saved");

        using A = MessageAnswer;
        QTest::newRow("plain") << "12" << 32 << "" << 0 << QList<A>() << 0 << true << "3/3/3/3"
                               << "12" << true;
        QTest::newRow("zero length, No")
            << "0" << 32 << "" << 0 << QList<A> { A::No } << 1 << false << "0/0/0/0"
            << "0" << false;
        QTest::newRow("zero length, Yes")
            << "0" << 32 << "" << 0 << QList<A> { A::Yes } << 1 << true << "2/2/2/4"
            << "10" << true;
        QTest::newRow("negative length passes")
            << "-10" << 32 << "" << 0 << QList<A>() << 0 << true << "-2/-2/-2/-4"
            << "-10" << true;
        QTest::newRow("length not a number")
            << "ten" << 32 << "" << 0 << QList<A> {} << 1 << false << "4/4/4/2"
            << "ten" << false;
        QTest::newRow("length empty") << "" << 32 << "" << 0 << QList<A> {} << 1 << false << "4/4/4/2"
                                      << "" << false;
        QTest::newRow("no symbols, No")
            << "14" << 0 << "" << 0 << QList<A> { A::No } << 1 << true << "4/4/4/0"
            << "12" << true;
        QTest::newRow("no symbols, Yes")
            << "14" << 0 << "" << 0 << QList<A> { A::Yes } << 1 << true << "4/4/4/2"
            << "14" << true;
        QTest::newRow("no symbols, Cancel")
            << "14" << 0 << "" << 0 << QList<A> { A::Cancel } << 2 << false << "4/4/4/2"
            << "14" << false;
        QTest::newRow("no symbols, none wanted")
            << "12" << 0 << "0" << 1 << QList<A>() << 0 << true << "3/3/3/0"
            << "9" << true;
        QTest::newRow("some symbols, none wanted")
            << "12" << 5 << "0" << 0 << QList<A>() << 0 << true << "3/3/3/0"
            << "9" << true;
        QTest::newRow("no symbols, count not a number")
            << "14" << 0 << "x" << 0 << QList<A>() << 1 << false << "4/4/4/x"
            << "14" << false;
        // Dropping the symbols would leave a zero length: the length question comes back.
        QTest::newRow("no symbols, No, then zero length, No")
            << "2" << 0 << "" << 0 << QList<A> { A::No, A::No } << 2 << false << "0/0/0/0"
            << "0" << false;
        QTest::newRow("no symbols, No, then zero length, Yes, No")
            << "2" << 0 << "" << 0 << QList<A> { A::No, A::Yes, A::No } << 3 << true << "2/2/2/0"
            << "6" << true;
        QTest::newRow("exactly one symbol selected")
            << "14" << 1 << "" << 0 << QList<A>() << 0 << true << "4/4/4/2"
            << "14" << true;
        QTest::newRow("no symbols, count just above zero, No")
            << "14" << 0 << "0.5" << 0 << QList<A> { A::No } << 1 << true << "4/4/4/0"
            << "12" << true;
        QTest::newRow("no symbols, count below zero")
            << "14" << 0 << "-1" << 0 << QList<A>() << 0 << true << "4/4/4/-1"
            << "11" << true;
        // With several problems at once, the length is settled first: a length that is not a
        // number ends the check before symbols are asked about, and a length reset to 10 gives
        // the symbol count that the symbol question then sees.
        QTest::newRow("length not a number and no symbols")
            << "ten" << 0 << "" << 0 << QList<A>() << 1 << false << "4/4/4/2"
            << "ten" << false;
        QTest::newRow("zero length, Yes, then no symbols, No")
            << "0" << 0 << "" << 0 << QList<A> { A::Yes, A::No } << 2 << true << "2/2/2/0"
            << "6" << true;
        // A later refusal keeps what an earlier answer did, and stores none of it.
        QTest::newRow("zero length, Yes, then no symbols, Cancel")
            << "0" << 0 << "" << 0 << QList<A> { A::Yes, A::Cancel } << 3 << false << "2/2/2/4"
            << "10" << false;
    }
    void shouldCheckTheRecordBeforeSavingIt()
    {
        QFETCH(QString, length);
        QFETCH(int, selected);
        QFETCH(QString, symbols);
        QFETCH(int, extended);
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(int, messages);
        QFETCH(bool, ok);
        QFETCH(QString, counts);
        QFETCH(QString, finalLength);
        QFETCH(bool, saved);

        AdvancedOptions options(m_prompter);
        GenerationSettings &settings = options.settings();
        settings.setPasswordLength(QStringLiteral("14"));
        settings.setPasswordLength(length);
        if (!symbols.isEmpty())
            settings.setNumSymbols(symbols);
        for (int i = selected; i < 32; ++i)
            settings.setSymbolSelected(i, false);
        settings.setExtendedSymbolChars(extended);
        m_prompter.messages.clear();
        for (const MessageAnswer answer : answers)
            m_prompter.answerNext(answer);
        QVERIFY(QFile::remove(m_store->programSettingsFile()));

        QCOMPARE(options.VerifyInputAndSaveSettings(), ok);
        QCOMPARE(m_prompter.messages.size(), messages);
        QCOMPARE(countsOf(settings), counts);
        QCOMPARE(settings.PasswordLength(), finalLength);
        QCOMPARE(QFile::exists(m_store->programSettingsFile()), saved);
        if (saved) {
            AdvancedOptions stored(m_prompter);
            QCOMPARE(stored.settings().selectedSymbolCount(), settings.selectedSymbolCount());
        }
    }

    void shouldAskInTheExactWords()
    {
        AdvancedOptions options(m_prompter);
        GenerationSettings &settings = options.settings();
        settings.setPasswordLength(QStringLiteral("0"));
        m_prompter.answerNext(MessageAnswer::Yes);
        settings.setAllSymbolsSelected(false);
        m_prompter.answerNext(MessageAnswer::Cancel);
        QVERIFY(!options.VerifyInputAndSaveSettings());

        QCOMPARE(m_prompter.messages.size(), 3);
        const MessageRequest &zero = m_prompter.messages[0];
        QCOMPARE(zero.text,
                 QStringLiteral(
                     "You specified a password length of zero.\r\n\r\nDo you want to reset the password "
                     "length to the default value of 10 characters?\r\nIf you click \"Yes\", the password "
                     "length will be reset to 10 characters.\r\nIf you click \"No\", you would be allowed "
                     "to change the password length manually."));
        QCOMPARE(zero.buttons, MessageButtons::YesNo);
        QCOMPARE(zero.icon, MessageIcon::Exclamation);
        QCOMPARE(zero.title, QStringLiteral("Talvore Mintara 2.0"));

        const MessageRequest &noSymbols = m_prompter.messages[1];
        QCOMPARE(
            noSymbols.text,
            QStringLiteral("No symbols are selected but you want Mintara to generate passwords with symbols. "
                           "\r\n\r\nDo you want to generate passwords with symbols?\r\nIf you click \"Yes\", "
                           "all symbols would be selected and used.\r\nIf you click \"No\", the number of "
                           "symbols to be used would be set to zero.\r\nIf you click \"Cancel\", you will be "
                           "allowed to do the necessary adjustments."));
        QCOMPARE(noSymbols.buttons, MessageButtons::YesNoCancel);
        QCOMPARE(noSymbols.icon, MessageIcon::Exclamation);
        QCOMPARE(noSymbols.title, QStringLiteral("Talvore Mintara 2.0"));

        const MessageRequest &adjust = m_prompter.messages[2];
        QCOMPARE(
            adjust.text,
            QStringLiteral("If you want symbols to be generated, please select one or more symbols in the "
                           "Symbols page.\r\nIf you don't want symbols to be generated, please specify \"0\" "
                           "in the text box labelled \"Symbols:\" in the Combination page."));
        QCOMPARE(adjust.buttons, MessageButtons::Ok);
        QCOMPARE(adjust.icon, MessageIcon::Information);
        QCOMPARE(adjust.title, QStringLiteral("Talvore Mintara 2.0"));
    }

    void shouldPointOutALengthThatIsNotANumber()
    {
        AdvancedOptions options(m_prompter);
        options.settings().setPasswordLength(QStringLiteral("x"));
        m_prompter.messages.clear();
        QVERIFY(!options.VerifyInputAndSaveSettings());
        QCOMPARE(m_prompter.messages.size(), 1);
        QCOMPARE(m_prompter.messages[0].text,
                 QStringLiteral(
                     "Please enter the length of the password you want to generate (specify in the number "
                     "of characters)."));
        QCOMPARE(m_prompter.messages[0].buttons, MessageButtons::Ok);
        QCOMPARE(m_prompter.messages[0].icon, MessageIcon::Exclamation);
    }

    void shouldKeepTheCaptionWhenTheAnswerSelectsAllSymbols()
    {
        AdvancedOptions options(m_prompter);
        options.clickSelectSymbols(); // none selected, caption "Select All"
        m_prompter.answerNext(MessageAnswer::Yes);
        QVERIFY(options.VerifyInputAndSaveSettings());
        QCOMPARE(options.settings().selectedSymbolCount(), 32);
        QCOMPARE(options.selectSymbolsCaption(), QStringLiteral("Select All"));
    }

    // A number too large for the check to read is no expected input problem: it is reported,
    // naming the check, and nothing is saved.
    void shouldReportANumberItCannotReadNamingTheCheck_data()
    {
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("symbols");
        QTest::newRow("length") << "1e400"
                                << "";
        QTest::newRow("symbol count, no symbol selected") << "14"
                                                          << "1e400";
    }
    void shouldReportANumberItCannotReadNamingTheCheck()
    {
        QFETCH(QString, length);
        QFETCH(QString, symbols);
        AdvancedOptions options(m_prompter);
        GenerationSettings &settings = options.settings();
        settings.setPasswordLength(length);
        if (!symbols.isEmpty()) {
            settings.setNumSymbols(symbols);
            settings.setAllSymbolsSelected(false);
        }
        m_prompter.messages.clear();
        QVERIFY(QFile::remove(m_store->programSettingsFile()));
        QVERIFY(!options.VerifyInputAndSaveSettings());
        QCOMPARE(m_prompter.messages.size(), 1);
        const MessageRequest &report = m_prompter.messages.first();
        QVERIFY2(report.text.startsWith(QStringLiteral("Error #6\r\n")), qPrintable(report.text));
        QVERIFY(
            report.text.endsWith(QStringLiteral("Caused in:\tfrmAdvanced.VerifyInputAndSaveSettings()\r\n")));
        QVERIFY(!QFile::exists(m_store->programSettingsFile()));
    }
};

QTEST_GUILESS_MAIN(TestAdvancedOptions)
#include "tst_advancedoptions.moc"
