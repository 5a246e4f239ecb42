#include "advancedoptions.h"
#include "advancedoptionsdialog.h"
#include "generationsettings.h"
#include "scriptedprompter.h"
#include "strengthlabel.h"
#include "temporarysettings.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

// The strength figure beside the password length of the Advanced Options window.
class tst_StrengthLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldFollowTheEditsOfTheWindow()
    {
        TemporarySettings store;
        ScriptedPrompter prompter;
        AdvancedOptions options(prompter);
        AdvancedOptionsDialog dialog(options);
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("lblStrength"));
        QVERIFY(label);
        // Same row as the length box.
        auto *length = dialog.findChild<QLineEdit *>(QStringLiteral("txtPassLen"));
        QCOMPARE(label->parentWidget(), length->parentWidget());
        QCOMPARE(label->text(), QStringLiteral("Strength: 58.7 bits"));

        length->setText(QStringLiteral("3"));
        QTRY_COMPARE(label->text(), QStringLiteral("Strength: 15.3 bits"));

        dialog.findChild<QLineEdit *>(QStringLiteral("txtNumSymbols"))->setText(QStringLiteral("x"));
        QTRY_COMPARE(label->text(), QStringLiteral("Strength: unknown"));
        QCOMPARE(label->toolTip(),
                 QStringLiteral("No password can be made: a character count is not a number."));

        length->setText(QStringLiteral("10"));
        options.settings().setUseDefault(false);
        options.settings().setUserSeed(QStringLiteral("4711"));
        QTRY_COMPARE(label->text(), QStringLiteral("Strength: at most 32 bits (user seed)"));
    }

    void shouldRecomputeOnceForABurstOfEdits()
    {
        GenerationSettings settings;
        settings.setPasswordLength(QStringLiteral("2"));
        settings.setNumSymbols(QStringLiteral("2"));
        for (const CharacterClass c :
             { CharacterClass::Uppercase, CharacterClass::Lowercase, CharacterClass::Digit })
            settings.setCount(c, QStringLiteral("0"));
        StrengthLabel label(settings);
        QCOMPARE(label.text(), QStringLiteral("Strength: 10.0 bits"));
        settings.setNonPrintableChars(1);
        settings.setExtendedSymbolChars(1);
        settings.setAllSymbolsSelected(false);
        // Still the old figure until the event loop has run.
        QCOMPARE(label.text(), QStringLiteral("Strength: 10.0 bits"));
        // 160 characters to draw from: 2 log2 160.
        QTRY_COMPARE(label.text(), QStringLiteral("Strength: 14.6 bits"));
    }

    void shouldBoundVeryLongPasswords()
    {
        GenerationSettings settings;
        for (const CharacterClass c : { CharacterClass::Uppercase, CharacterClass::Lowercase,
                                        CharacterClass::Digit, CharacterClass::Symbol })
            settings.setCount(c, QStringLiteral("5000"));
        settings.setPasswordLength(QStringLiteral("20000"));
        StrengthLabel label(settings);
        QVERIFY(label.text().startsWith(QStringLiteral("Strength: at least ")));
        QVERIFY(label.toolTip().contains(QStringLiteral(" lies between ")));
    }
};

QTEST_MAIN(tst_StrengthLabel)
#include "tst_strengthlabel.moc"
