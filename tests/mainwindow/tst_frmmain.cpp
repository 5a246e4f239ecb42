#include "accessibletree.h"
#include "clipboardclearer.h"
#include "controlpacing_p.h"
#include "darkpalette.h"
#include "mainwindowfixture.h"
#include "spinbuttons.h"
#include "xglowlabel.h"
#include "xshplabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace {

const QString CountMessage =
    QStringLiteral("Please enter the number of passwords you want to generate in the text box.");
const QString LengthMessage = QStringLiteral(
    "Please enter the length of the password you want to generate (specify in the number of characters).");
const QString SeedMessage = QStringLiteral("Please enter a seed (specify as integer).");
const QString UnsavedQuestion =
    QStringLiteral("You have not save the generated password.\r\nDo you want to save it now?");

// Contrast ratio as the web's accessibility guidelines define it.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &color) {
        const auto linear = [](double channel) {
            return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) +
            0.0722 * linear(color.blueF());
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (qMax(first, second) + 0.05) / (qMin(first, second) + 0.05);
}

// What letters of exactly `text` are read against: the colour most often found two pixels out
// from their edges, a rim drawn around them or else the ground.
QColor colourAroundText(const QImage &image, const QColor &text)
{
    QHash<QRgb, int> seen;
    const QRgb ink = text.rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            for (const QPoint step : { QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1) }) {
                const QPoint at(x, y), out = at + 2 * step;
                if (image.rect().contains(out) && image.pixel(at) == ink && image.pixel(at + step) != ink &&
                    image.pixel(out) != ink)
                    ++seen[image.pixel(out)];
            }
        }
    }
    const auto most = std::max_element(seen.cbegin(), seen.cend());
    return most == seen.cend() ? QColor() : QColor::fromRgb(most.key());
}

bool isBold(const QWidget *widget)
{
    return widget->font().bold();
}

// Fails the pause after `after` pauses of at least `atLeast` ms, by running `action` inside it.
std::function<void()> onPause(CountingDelayService &delay, int after, qint32 atLeast,
                              std::function<void()> action)
{
    auto seen = std::make_shared<int>(0);
    return [&delay, after, atLeast, seen, action] {
        if (delay.pauses.constLast() >= atLeast && ++*seen == after)
            action();
    };
}

// Raises error 5 from the draw numbered `failAt` on.
class FailingRandomSource : public ScriptedRandomSource
{
public:
    int failAt = 1;
    int drawsMade = 0;
    qint32 RandomBetween(qint32 low, qint32 high) override
    {
        if (++drawsMade >= failAt)
            raiseError(ErrorNumber::InvalidArgument, QStringLiteral("RandomSource"));
        return ScriptedRandomSource::RandomBetween(low, high);
    }
};

} // namespace

class TestFrmMain : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowFixture> f;

    QString stepTitle() const { return f->control<QLabel>(QStringLiteral("lblTipsTitle"))->text(); }
    QString stepTip() const { return f->control<QLabel>(QStringLiteral("lblTips"))->text(); }
    QList<int> litCircles() const
    {
        QList<int> lit;
        for (int index = 0; index < 5; ++index) {
            if (f->control<Lustrel::XShpLabel>(QStringLiteral("slbSteps_%1").arg(index))->Enabled())
                lit << index + 1;
        }
        return lit;
    }
    // Which of the highlighted labels and buttons are bold, as step numbers.
    QList<int> boldSteps() const
    {
        QList<int> bold;
        if (isBold(f->control<QLabel>(QStringLiteral("lblNumPasswords"))))
            bold << 1;
        const bool first = isBold(f->control<QLabel>(QStringLiteral("lblPassLenLabels_0")));
        if (first != isBold(f->control<QLabel>(QStringLiteral("lblPassLenLabels_1"))))
            bold << -2; // the two length labels always go together
        if (first)
            bold << 2;
        if (isBold(f->button("cmdGenerate")))
            bold << 3;
        if (isBold(f->button("cmdCopy")))
            bold << 4;
        return bold;
    }
    void showActive()
    {
        f->window.show();
        f->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f->window));
    }

private Q_SLOTS:
    void init() { f = std::make_unique<MainWindowFixture>(); }
    void cleanup() { f.reset(); }

    // ---- load and the step guide ----

    void shouldOpenWithEveryControlAsPlaced()
    {
        QCOMPARE(f->window.windowTitle(), QStringLiteral("Talvore Mintara 2.0"));
        QCOMPARE(f->txtNumPass()->text(), QStringLiteral("1"));
        QCOMPARE(f->txtPassLen()->text(), f->options.settings().PasswordLength());
        QVERIFY(!f->button("cmdCopy")->isEnabled());
        QVERIFY(f->control<QCheckBox>(QStringLiteral("chkAutoCopy"))->isChecked());
        QVERIFY(f->button("cmdGenerate")->isDefault());
        QCOMPARE(f->control<Lustrel::XGradProgress>(QStringLiteral("barGenProgress"))->Max(), 100);
        QVERIFY(f->bar()->isHidden());
        QCOMPARE(f->control<Lustrel::XGlowLabel>(QStringLiteral("XGlowLabel1"))->Caption(),
                 QStringLiteral("Talvore"));
        QCOMPARE(f->control<Lustrel::XGlowLabel>(QStringLiteral("XGlowLabel1"))->Interval(), 50);
        QCOMPARE(f->button("cmdAdvanced")->toolTip(), QStringLiteral("Advanced Options"));
        QCOMPARE(f->button("cmdSave")->toolTip(), QStringLiteral("Save"));
        QCOMPARE(f->button("cmdAbout")->toolTip(), QStringLiteral("About"));
        QVERIFY(!f->button("cmdSave")->icon().isNull());
        QVERIFY(!f->control<QLabel>(QStringLiteral("imgLogo"))->pixmap().isNull());
        QGuiApplication::clipboard()->setText(QStringLiteral("before")); // Copy keys, no passwords
        QTest::keySequence(f->list(), QKeySequence(Qt::CTRL | Qt::Key_C));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        const QFontMetrics listFont = f->list()->fontMetrics(); // fixed pitch: l, I, 1 as wide as W
        QCOMPARE(listFont.horizontalAdvance(QStringLiteral("lI1|O0")),
                 listFont.horizontalAdvance(QStringLiteral("WWWWWW")));
        QVERIFY(f->host.hasDialog());
        QVERIFY(f->host.dialog()->isHidden());
        QCOMPARE(f->control<SpinButtons>(QStringLiteral("udNumPass"))->buddy(), f->txtNumPass());
        QCOMPARE(f->control<SpinButtons>(QStringLiteral("udPassLen"))->maximum(), 10000);
        QSignalSpy about(&f->window, &frmMain::aboutRequested);
        QTest::mouseClick(f->button("cmdAbout"), Qt::LeftButton);
        QCOMPARE(about.count(), 1);
    }

    // The steps not yet reached are muted, but their numbers still read clearly.
    void shouldKeepTheOtherStepsReadable_data()
    {
        QTest::addColumn<QPalette>("palette");
        QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::WindowText, Qt::white);
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::ButtonText, Qt::white);
        QTest::newRow("light") << QPalette();
        QTest::newRow("dark") << dark;
    }
    void shouldKeepTheOtherStepsReadable()
    {
        QFETCH(QPalette, palette);
        f->window.setPalette(palette);
        for (int index = 1; index < 5; ++index) {
            const auto *marker = f->control<Lustrel::XShpLabel>(QStringLiteral("slbSteps_%1").arg(index));
            QVERIFY(!marker->Enabled());
            const QColor text = Lustrel::resolveOleColor(marker->DisabledForeColor(), marker->palette());
            const QColor fill = Lustrel::resolveOleColor(marker->DisabledFillColor(), marker->palette());
            QVERIFY2(contrast(text, fill) >= 4.5,
                     qPrintable(QStringLiteral("%1 on %2: %3:1")
                                    .arg(text.name(), fill.name())
                                    .arg(contrast(text, fill), 0, 'f', 2)));
        }
    }

    // Every control a user acts on has a name; the screen reader walk checks what each says.
    void shouldLeaveNoControlUnnamed()
    {
        QCOMPARE(AccessibleTree::unnamedControls(AccessibleTree::of(&f->window)), QStringList());
    }

    // Large bold letters read at 3:1. The pulse goes from black to cyan, so on any one ground
    // some of its colours vanish: cyan on white, black on a dark scheme.
    void shouldKeepTheCaptionReadableAtEveryPhaseWithoutAPlate_data()
    {
        QTest::addColumn<QPalette>("palette");
        QTest::newRow("light") << QPalette();
        QTest::newRow("dark") << darkPalette();
    }
    void shouldKeepTheCaptionReadableAtEveryPhaseWithoutAPlate()
    {
        QFETCH(QPalette, palette);
        f->window.setPalette(palette);
        auto *glow = f->control<Lustrel::XGlowLabel>(QStringLiteral("XGlowLabel1"));
        QVERIFY(glow->font().bold() && QFontInfo(glow->font()).pointSizeF() >= 14);
        glow->setInterval(0); // the phases come one by one from here
        Lustrel::ControlPacing::setDelayService(*glow, &f->delay);
        QWidget *banner = f->control(QStringLiteral("Picture1"));
        const QColor ground = banner->palette().color(banner->backgroundRole());
        for (int phase = 1; phase <= 152; ++phase) {
            glow->Tick();
            const QImage shown = banner->grab(glow->geometry()).toImage();
            const QColor text = Lustrel::resolveOleColor(glow->ForeColor(), glow->palette());
            const QColor around = colourAroundText(shown, text);
            const double ratio = around.isValid() ? contrast(text, around) : 0; // 0: no letters
            QVERIFY2(ratio >= 3.0, qPrintable(QStringLiteral("phase %1: %2:1").arg(phase).arg(ratio)));
            for (const QPoint &corner : { shown.rect().topLeft(), shown.rect().bottomRight() })
                QCOMPARE(shown.pixelColor(corner), ground); // no plate behind the letters
        }
    }

    void shouldShowStepOneAtLoad()
    {
        QCOMPARE(stepTitle(), QStringLiteral("Number of passwords"));
        QCOMPARE(stepTip(),
                 QStringLiteral("Specify the number of passwords you want to generate (1 to 10,000)."));
        QCOMPARE(f->control<QLabel>(QStringLiteral("lblStepCount"))->text(), QStringLiteral("1."));
        QCOMPARE(f->control<QLabel>(QStringLiteral("lblNumSteps"))->text(), QStringLiteral("of 5"));
        QCOMPARE(litCircles(), QList<int> { 1 });
        QCOMPARE(boldSteps(), QList<int> { 1 });
        QVERIFY(!f->button("cmdPrevStep")->isEnabled());
        QVERIFY(f->button("cmdNextStep")->isEnabled());
    }

    void shouldWalkToTheLastStepAndBack()
    {
        showActive();
        for (int press = 0; press < 4; ++press)
            QTest::mouseClick(f->button("cmdNextStep"), Qt::LeftButton);
        QCOMPARE(f->window.stepGuide().CurrentStep(), qint16(5));
        QCOMPARE(stepTitle(), QStringLiteral("Finish"));
        QVERIFY(!f->button("cmdNextStep")->isEnabled());
        QVERIFY(f->button("cmdPrevStep")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), f->button("cmdClose"));
        QCOMPARE(litCircles(), QList<int> { 5 });
        QCOMPARE(boldSteps(), QList<int> {});

        QTest::mouseClick(f->button("cmdPrevStep"), Qt::LeftButton);
        QCOMPARE(f->window.stepGuide().CurrentStep(), qint16(4));
        QCOMPARE(litCircles(), QList<int> { 4 });
        QCOMPARE(boldSteps(), QList<int> { 4 });
        QCOMPARE(f->control<QLabel>(QStringLiteral("lblStepCount"))->text(), QStringLiteral("4."));
    }

    void shouldFollowTheFocus_data()
    {
        QTest::addColumn<int>("fromStep");
        QTest::addColumn<QString>("focused");
        QTest::addColumn<int>("expectedStep");

        QTest::newRow("length box while step 4") << 4 << "txtPassLen" << 2;
        QTest::newRow("count box while step 3") << 3 << "txtNumPass" << 1;
        QTest::newRow("generate while step 1") << 1 << "cmdGenerate" << 3;
        QTest::newRow("close while step 2") << 2 << "cmdClose" << 5;
        QTest::newRow("copy once enabled, from step 5") << 5 << "cmdCopy" << 4;
    }
    void shouldFollowTheFocus()
    {
        QFETCH(int, fromStep);
        QFETCH(QString, focused);
        QFETCH(int, expectedStep);
        showActive();
        f->button("cmdCopy")->setEnabled(true);
        for (int step = 1; step < fromStep; ++step)
            QTest::mouseClick(f->button("cmdNextStep"), Qt::LeftButton);
        QCOMPARE(f->window.stepGuide().CurrentStep(), qint16(fromStep));

        f->control(focused)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(f->window.stepGuide().CurrentStep(), qint16(expectedStep));
        QCOMPARE(litCircles(), QList<int> { expectedStep });
        QCOMPARE(boldSteps(), expectedStep == 5 ? QList<int> {} : QList<int> { expectedStep });
        QCOMPARE(f->button("cmdPrevStep")->isEnabled(), expectedStep != 1);
        QCOMPARE(f->button("cmdNextStep")->isEnabled(), expectedStep != 5);
    }

    void shouldNameTheCallerInTheLastTipsOnceRebuilt()
    {
        showActive();
        f->window.setMemoryName(QStringLiteral("Sealmoor"));
        f->button("cmdCopy")->setEnabled(true);
        f->button("cmdCopy")->setFocus();
        QCOMPARE(
            stepTip(),
            QStringLiteral("Click the Copy button to copy all of the selected passwords to the clipboard."));

        f->window.RefreshTips();
        f->button("cmdClose")->setFocus();
        QCOMPARE(stepTip(), QStringLiteral("Click the Close button to return to Sealmoor."));
        f->button("cmdCopy")->setFocus();
        QCOMPARE(stepTip(), QStringLiteral("Click the Copy button to copy the password to Sealmoor."));
    }

    // ---- the batch run ----

    void shouldRunAsTheCountAndTextsSay_data()
    {
        QTest::addColumn<bool>("earlierRun");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("seed"); // a null text keeps the seed from the system
        QTest::addColumn<int>("entries");
        QTest::addColumn<QString>("message"); // the start of the one message shown, if any
        QTest::addColumn<bool>("completed");

        QTest::newRow("count 1") << false << "1"
                                 << "10" << QString() << 1 << QString() << true;
        QTest::newRow("count 10000") << false << "10000"
                                     << "10" << QString() << 10000 << QString() << true;
        QTest::newRow("count 2.5 rounds down") << false << "2.5"
                                               << "10" << QString() << 2 << QString() << true;
        QTest::newRow("count 3.5 rounds down, not to even") << false << "3.5"
                                                            << "10" << QString() << 3 << QString() << true;
        QTest::newRow("count 0 empties the list")
            << true << "0"
            << "10" << QString() << 0 << "Error #11\r\nDivision by zero" << false;
        QTest::newRow("negative count completes empty") << false << "-3"
                                                        << "10" << QString() << 0 << QString() << true;
        QTest::newRow("count of letters empties the list") << true << "ten"
                                                           << "10" << QString() << 0 << CountMessage << false;
        QTest::newRow("count beyond 16 bits") << true << "40000"
                                              << "10" << QString() << 0 << "Error #6\r\nOverflow" << false;
        QTest::newRow("count 1e400") << true << "1e400"
                                     << "10" << QString() << 0 << "Error #6\r\nOverflow" << false;
        QTest::newRow("count of 99999") << true << "99999"
                                        << "10" << QString() << 0 << "Error #6\r\nOverflow" << false;
        QTest::newRow("length 1e400 keeps the list")
            << true << "3"
            << "1e400" << QString() << 2 << "Error #6\r\nOverflow" << false;
        QTest::newRow("length 99999 keeps the list")
            << true << "3"
            << "99999" << QString() << 2 << "Error #6\r\nOverflow" << false;
        QTest::newRow("length 10000") << false << "3"
                                      << "10000" << QString() << 3 << QString() << true;
        QTest::newRow("count pasted with a line break") << true << "3\n4"
                                                        << "10" << QString() << 0 << CountMessage << false;
        QTest::newRow("length of letters keeps the list")
            << true << "3"
            << "abc" << QString() << 2 << LengthMessage << false;
        QTest::newRow("seed of letters keeps the list") << true << "3"
                                                        << "10"
                                                        << "xyz" << 2 << SeedMessage << false;
        QTest::newRow("seed beyond 32 bits") << true << "3"
                                             << "10"
                                             << "3000000000" << 2 << "Error #6\r\nOverflow" << false;
    }
    void shouldRunAsTheCountAndTextsSay()
    {
        QFETCH(bool, earlierRun);
        QFETCH(QString, count);
        QFETCH(QString, length);
        QFETCH(QString, seed);
        QFETCH(int, entries);
        QFETCH(QString, message);
        QFETCH(bool, completed);

        if (earlierRun) {
            QVERIFY(!f->generate(QStringLiteral("2")).isEmpty());
            f->prompter.messages.clear();
        }
        const bool copyBefore = f->button("cmdCopy")->isEnabled();
        const bool unsavedBefore = f->window.passwordsUnsaved();
        if (!seed.isNull()) {
            f->options.settings().setUseDefault(false);
            f->options.settings().setUserSeed(seed);
        }
        f->txtPassLen()->setText(length);

        const QString result = f->generate(count);

        QCOMPARE(f->list()->count(), entries);
        QVERIFY(f->bar()->isHidden());
        QVERIFY(!f->list()->isHidden());
        QCOMPARE(f->gate.isIdle(), true);
        if (message.isEmpty()) {
            QCOMPARE(f->messageTexts(), QStringList());
        } else {
            QCOMPARE(f->prompter.messages.size(), 1);
            const MessageRequest &shown = f->prompter.messages[0];
            QVERIFY2(shown.text.startsWith(message), qPrintable(shown.text));
            if (message.startsWith(u"Error #")) {
                QVERIFY(shown.text.endsWith(QStringLiteral("Caused in:\tfrmMain.Generate()\r\n")));
            } else {
                QCOMPARE(shown.text, message);
                QCOMPARE(shown.title, QStringLiteral("Talvore Mintara 2.0"));
            }
            QCOMPARE(shown.icon, MessageIcon::Exclamation);
            QCOMPARE(shown.buttons, MessageButtons::Ok);
        }
        if (completed) {
            QCOMPARE(result, entries > 0 ? f->list()->item(0)->text() : QString());
            QVERIFY(f->button("cmdCopy")->isEnabled());
            QVERIFY(f->window.passwordsUnsaved());
            QCOMPARE(f->bar()->Value(), entries > 0 ? 100 : 0);
            for (const QString &password : f->list()->entries())
                QCOMPARE(password.size(), length.toInt());
        } else {
            QCOMPARE(result, QString());
            QCOMPARE(f->button("cmdCopy")->isEnabled(), copyBefore);
            QCOMPARE(f->window.passwordsUnsaved(), unsavedBefore);
        }
    }

    void shouldRepeatTheListForTheSameSeed()
    {
        f->options.settings().setUseDefault(false);
        f->options.settings().setUserSeed(QStringLiteral("1234"));
        f->generate(QStringLiteral("20"));
        const QStringList first = f->list()->entries();
        f->generate(QStringLiteral("20"));
        QCOMPARE(f->list()->entries(), first);
        QCOMPARE(f->random.seeds, (QList<qint32> { 1234, 1234 }));
        // Rounded down: neither to even nor toward zero.
        for (const char *seed : { "1233.5", "-0.5" }) {
            f->options.settings().setUserSeed(QLatin1String(seed));
            f->generate(QStringLiteral("1"));
        }
        QCOMPARE(f->random.seeds.mid(2), (QList<qint32> { 1233, -1 }));

        f->options.settings().setUseDefault(true);
        f->generate(QStringLiteral("1"));
        QCOMPARE(f->random.seeds.constLast(), 0);
    }

    void shouldHandTheWindowsLengthToTheSettingsBeforeTheCheck()
    {
        QCOMPARE(f->options.settings().PasswordLength(), QStringLiteral("10"));
        f->txtPassLen()->setText(QStringLiteral("12"));
        f->generate(QStringLiteral("3"));
        GenerationSettings &settings = f->options.settings();
        QCOMPARE(settings.PasswordLength(), QStringLiteral("12"));
        const double sum = *settings.countValue(CharacterClass::Uppercase) +
            *settings.countValue(CharacterClass::Lowercase) + *settings.countValue(CharacterClass::Digit) +
            *settings.countValue(CharacterClass::Symbol);
        QCOMPARE(sum, 12.0);
        for (const QString &password : f->list()->entries())
            QCOMPARE(password.size(), 12);
    }

    void shouldNotComposeFromEditsThrownAwayDuringARun()
    {
        // During the first pause someone edits the counts in the settings window and cancels.
        f->delay.duringPause = onPause(f->delay, 1, 100, [this] {
            GenerationSettings &settings = f->options.settings();
            settings.setNumLowercaseChars(QStringLiteral("0"));
            settings.setNumNumbers(QStringLiteral("0"));
            settings.setNumSymbols(QStringLiteral("0"));
            settings.setNumUppercaseChars(QStringLiteral("10"));
            f->host.unload();
        });
        f->generate(QStringLiteral("4"));
        const QStringList passwords = f->list()->entries();
        QCOMPARE(passwords.size(), 4);
        for (const QString &password : passwords.mid(1))
            QVERIFY2(password != password.toUpper(), qPrintable(password));
    }

    void shouldShowTheSettingsWhenTheCheckRefuses()
    {
        f->generate(QStringLiteral("2"));
        f->txtPassLen()->setText(QStringLiteral("0"));
        f->prompter.answerNext(MessageAnswer::No); // keep the zero length and fix it by hand
        bool shownModally = false;
        QTimer::singleShot(0, &f->window, [this, &shownModally] {
            shownModally = f->host.dialog()->isVisible() && f->host.dialog()->isModal();
            f->host.dialog()->reject();
        });

        QCOMPARE(f->window.Generate(), QString());

        QVERIFY(shownModally);
        QCOMPARE(f->prompter.messages.size(), 1);
        QVERIFY(f->prompter.messages[0].text.startsWith(u"You specified a password length of zero."));
        QCOMPARE(f->list()->count(), 0);
        QVERIFY(!f->list()->isHidden());
        QVERIFY(f->bar()->isHidden());
    }

    void shouldStartTheBarEmptyOnEveryRun()
    {
        f->generate(QStringLiteral("4"));
        QCOMPARE(f->bar()->Value(), 100);
        int valueWhenFirstShown = -1;
        f->delay.duringPause = [this, &valueWhenFirstShown] {
            if (valueWhenFirstShown < 0 && !f->bar()->isHidden())
                valueWhenFirstShown = f->bar()->Value();
        };
        f->generate(QStringLiteral("4"));
        QCOMPARE(valueWhenFirstShown, 0);
    }

    // The bar starts empty across its whole width, not at the width it had unseen: a count
    // that cannot be read leaves it on screen behind the message.
    void shouldShowTheBarEmptyAcrossTheList()
    {
        f->window.show();
        f->generate(QStringLiteral("abc"));
        QCOMPARE(f->messageTexts(), QStringList { CountMessage });
        QCOMPARE(f->bar()->width(), f->list()->width());
        QCOMPARE(f->bar()->coverLeft(), 0.0f);
        QVERIFY2(f->bar()->coverWidth() >= f->bar()->width() - 4,
                 qPrintable(QString::number(f->bar()->coverWidth())));
    }

    void shouldPaceEveryCountAlike_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("gap"); // after each password: 500 / count, rounded half to even
        QTest::addColumn<QList<int>>("progress"); // the bar during each of those pauses
        QTest::newRow("1") << "1" << 500 << QList<int> { 100 };
        QTest::newRow("3 rounds where truncation would not") << "3" << 167 << QList<int> { 33, 67, 100 };
        QTest::newRow("8 has ties, to even") << "8" << 62 << QList<int> { 12, 25, 38, 50, 62, 75, 88, 100 };
        QTest::newRow("10") << "10" << 50 << QList<int> { 10, 20, 30, 40, 50, 60, 70, 80, 90, 100 };
        QTest::newRow("1000") << "1000" << 0 << QList<int>();
        QTest::newRow("10000") << "10000" << 0 << QList<int>();
    }
    void shouldPaceEveryCountAlike()
    {
        QFETCH(QString, count);
        QFETCH(int, gap);
        QFETCH(QList<int>, progress);
        QList<int> longPauses; // the bar's own steps take 1 ms each
        QList<int> shown;
        f->delay.duringPause = [&] {
            if (f->delay.pauses.constLast() > 1) {
                longPauses << f->delay.pauses.constLast();
                shown << f->bar()->Value();
            }
        };
        f->generate(count);
        QCOMPARE(longPauses, QList<int>(progress.size(), gap) << 200);
        QCOMPARE(shown, progress + QList<int> { 100 });
        qint64 total = 0;
        for (const qint32 pause : f->delay.pauses)
            total += pause;
        // About half a second for the passwords, 200 ms at the end and two pauses per bar unit:
        // never ten seconds of 1 ms pauses for a big batch.
        QVERIFY2(total >= 200 && total <= 950, qPrintable(QString::number(total)));
        QCOMPARE(f->delay.pauses.constLast(), 200);
    }

    void shouldRefuseASecondRunWhileOneIsGoing()
    {
        f->window.show();
        QString nested = QStringLiteral("not called");
        f->delay.duringPause = onPause(f->delay, 1, 100, [this, &nested] {
            nested = f->window.Generate();
            QTest::mouseClick(f->button("cmdGenerate"), Qt::LeftButton);
            QTest::keyClick(f->txtNumPass(), Qt::Key_Return);
        });
        f->generate(QStringLiteral("4"));
        QCOMPARE(nested, QString());
        QCOMPARE(f->random.seeds.size(), 1);
        QCOMPARE(f->list()->count(), 4);
        QVERIFY(f->gate.isIdle());
    }

    void shouldHoldTheGateBusyWhileRunning()
    {
        bool busyDuringRun = false;
        f->delay.duringPause = [this, &busyDuringRun] {
            busyDuringRun = !f->gate.isIdle();
        };
        f->generate(QStringLiteral("2"));
        QVERIFY(busyDuringRun);
        QVERIFY(f->gate.isIdle());
    }

    void shouldRestTheGlowWhileRunning()
    {
        auto *glow = f->window.findChild<Lustrel::XGlowLabel *>(QStringLiteral("XGlowLabel1"));
        QVERIFY(glow);
        QCOMPARE(glow->Interval(), 50);
        QList<qint32> intervals;
        f->delay.duringPause = [glow, &intervals] {
            intervals << glow->Interval();
        };
        f->generate(QStringLiteral("2"));
        QVERIFY(!intervals.isEmpty());
        QVERIFY(std::all_of(intervals.cbegin(), intervals.cend(), [](qint32 i) { return i == 0; }));
        QCOMPARE(glow->Interval(), 50);
    }

    void shouldStopARunClosedMidwayAndThenUnload()
    {
        f->window.show();
        QSignalSpy unloaded(&f->window, &frmMain::unloaded);
        f->delay.duringPause = onPause(f->delay, 3, 10, [this] { f->window.close(); });

        QCOMPARE(f->generate(QStringLiteral("50")), QString());

        QCOMPARE(f->list()->count(), 3);
        QVERIFY(!f->window.isRunning());
        QVERIFY(!f->window.passwordsUnsaved());
        QCOMPARE(unloaded.count(), 0); // not while the run was still on the stack
        QTRY_COMPARE(unloaded.count(), 1);
        QVERIFY(f->window.isHidden());
        QVERIFY(f->prompter.messages.isEmpty());
    }

    void shouldStopAtTheFirstFailedPassword()
    {
        auto failing = std::make_unique<FailingRandomSource>();
        failing->failAt = 40;
        f.reset();
        // A window over the failing source, otherwise as the fixture makes it.
        TemporarySettings store;
        ScriptedPrompter prompter;
        ActivityGate gate;
        CountingDelayService delay;
        ScriptedFileDialog files;
        AdvancedOptions options(prompter);
        AdvancedDialogHost host(options);
        frmMain window(gate, { options, host, prompter, *failing, delay, files, nullptr });
        window.findChild<QLineEdit *>(QStringLiteral("txtNumPass"))->setText(QStringLiteral("100"));

        QCOMPARE(window.Generate(), QString());

        QCOMPARE(prompter.messages.size(), 1);
        QVERIFY(prompter.messages[0].text.contains(u"frmMain.GenerateOnePassword()"));
        auto *list = window.findChild<PasswordList *>(QStringLiteral("lstPassword"));
        QVERIFY(list->count() > 0 && list->count() < 10);
        QVERIFY(!list->isHidden());
        QVERIFY(window.findChild<Lustrel::XGradProgress *>(QStringLiteral("barGenProgress"))->isHidden());
        QVERIFY(!window.passwordsUnsaved());
    }

    void shouldSelectScrollAndCopyAfterTheButtonsRun()
    {
        f->window.show();
        f->txtNumPass()->setText(QStringLiteral("5"));
        f->txtPassLen()->setText(QStringLiteral("40"));
        QTest::mouseClick(f->button("cmdGenerate"), Qt::LeftButton);

        const QStringList made = f->list()->entries();
        QCOMPARE(f->list()->selectedEntries(), made);
        // A space and the entry, rounded to whole pixels.
        const auto width = [this](const QString &entry, const QFont &font) {
            return QFontMetricsF(font, f->list()).horizontalAdvance(u' ' + entry);
        };
        const auto widestNow = [this, &width] {
            int widest = 0;
            for (const QString &entry : f->list()->entries())
                widest = qMax(widest, qRound(width(entry, f->list()->font())));
            return widest;
        };
        const int widest = widestNow();
        QCOMPARE(f->list()->horizontalExtent(), widest);
        QVERIFY(f->list()->horizontalScrollBar()->maximum() + f->list()->viewport()->width() >= widest);
        // A bigger font widens the entries; the next update follows it. The widest entry ends
        // half a pixel or more into its last pixel in both fonts, where rounding and truncating
        // differ: measured as it is added, and again for the new font.
        QFont bigger = f->list()->font();
        bigger.setPointSizeF(bigger.pointSizeF() * 2);
        QString wide(50, u'W');
        const auto fraction = [&](const QFont &font) {
            return std::fmod(width(wide, font), 1.0);
        };
        while (wide.size() < 200 && qMin(fraction(f->list()->font()), fraction(bigger)) < 0.5)
            wide += u'W';
        f->list()->addEntry(wide);
        f->window.UpdateListScrollWidth();
        QCOMPARE(f->list()->horizontalExtent(), widestNow());
        f->list()->setFont(bigger);
        f->window.UpdateListScrollWidth();
        QVERIFY(widestNow() > widest);
        QCOMPARE(f->list()->horizontalExtent(), widestNow());
        QCOMPARE(QGuiApplication::clipboard()->text(), made.join(QStringLiteral("\r\n")) + "\r\n");
    }

    void shouldLeaveTheClipboardAloneWithoutAutoCopy()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        f->control<QCheckBox>(QStringLiteral("chkAutoCopy"))->setChecked(false);
        f->txtNumPass()->setText(QStringLiteral("2"));
        QTest::mouseClick(f->button("cmdGenerate"), Qt::LeftButton);
        QCOMPARE(f->list()->selectedEntries().size(), 2);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    }

    void shouldRunGenerateOnEnterInATextBox()
    {
        showActive();
        f->txtNumPass()->setText(QStringLiteral("3"));
        QTest::keyClick(f->txtNumPass(), Qt::Key_Return);
        QCOMPARE(f->list()->count(), 3);
        // Enter on a focused button is that button's.
        f->txtNumPass()->setText(QStringLiteral("1"));
        QTest::keyClick(f->button("cmdCopy"), Qt::Key_Return);
        QCOMPARE(f->list()->count(), 3);
    }

    void shouldLeaveAnAutomationRunUnselected()
    {
        f->generate(QStringLiteral("3"));
        QCOMPARE(f->list()->selectedEntries(), QStringList());
        QCOMPARE(f->window.Copy(), f->list()->entries().constFirst());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(data->data(QStringLiteral("x-kde-passwordManagerHint")), QByteArray("secret"));
    }

    // ---- the clipboard's clear ----

    // However Quorvex copied, the clipboard is cleared when the time is up or the window closes
    // before, never a moment early, and never when something else was copied meanwhile. The
    // list's Copy keys copy as the button does: the picked rows, not the view's current one.
    void shouldClearOnlyWhatItCopied_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("how"); // "again": the Copy button, and again 20 s later
        QTest::addColumn<int>("foreignCopy"); // 1: the clipboard tells at once, 2: only later
        QTest::addColumn<bool>("close");
        QTest::newRow("Copy button") << 30 << "button" << 0 << false;
        QTest::newRow("after a run, the soonest") << 10 << "run" << 0 << false;
        QTest::newRow("automation, the latest") << 600 << "automation" << 0 << false;
        QTest::newRow("copied again meanwhile") << 30 << "again" << 0 << false;
        QTest::newRow("Ctrl+C, two rows picked") << 30 << "Ctrl+C" << 0 << false;
        QTest::newRow("Ctrl+Insert, two rows picked") << 30 << "Ctrl+Ins" << 0 << false;
        QTest::newRow("a copy of something else") << 30 << "button" << 1 << false;
        QTest::newRow("a copy of something else, told late") << 30 << "button" << 2 << false;
        QTest::newRow("closed before the time") << 30 << "run" << 0 << true;
        QTest::newRow("closed after a copy of something else") << 30 << "run" << 2 << true;
        QTest::newRow("switched off") << 0 << "button" << 0 << false;
    }
    void shouldClearOnlyWhatItCopied()
    {
        QFETCH(int, seconds);
        QFETCH(QString, how);
        QFETCH(int, foreignCopy);
        QFETCH(bool, close);
        f->options.settings().setClipboardClearSeconds(seconds);
        f->window.show();
        QClipboard *clipboard = QGuiApplication::clipboard();
        auto *notice = f->control<QLabel>(QStringLiteral("lblClipboardClear"));
        f->txtNumPass()->setText(QStringLiteral("3"));
        QTest::mouseClick(f->button("cmdGenerate"), Qt::LeftButton);
        if (how == u"automation")
            f->window.Copy();
        else if (how != u"run")
            QTest::mouseClick(f->button("cmdCopy"), Qt::LeftButton);
        if (how == u"again") {
            f->alarm.advance(20000);
            QTest::mouseClick(f->button("cmdCopy"), Qt::LeftButton);
        }
        if (how.startsWith(u"Ctrl+")) {
            f->list()->setCurrentRow(1, QItemSelectionModel::Deselect); // the first and last stay picked
            clipboard->clear();
            QTest::keySequence(f->list(), QKeySequence(how));
        }
        const QStringList picked = f->list()->selectedEntries();
        QCOMPARE(picked.size(), how.startsWith(u"Ctrl+") ? 2 : 3);
        const QString copied = picked.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        QCOMPARE(clipboard->text(), copied);
        QCOMPARE(clipboard->mimeData()->data(QStringLiteral("x-kde-passwordManagerHint")),
                 QByteArray("secret"));
        const QString due = f->alarm.now().addSecs(seconds).time().toString(QStringLiteral("mm:ss"));
        QCOMPARE(notice->isVisibleTo(&f->window), seconds > 0);
        QVERIFY2(!seconds ||
                     (notice->text().startsWith(u"Clipboard clears at ") && notice->text().contains(due)),
                 qPrintable(notice->text()));
        const QString mine = QStringLiteral("copied by the user");
        if (foreignCopy) {
            const QSignalBlocker late(foreignCopy == 2 ? clipboard : nullptr);
            clipboard->setText(mine);
        }
        QCOMPARE(notice->isVisibleTo(&f->window), seconds > 0 && foreignCopy != 1);

        const QString kept = foreignCopy ? mine : copied;
        f->alarm.advance(seconds * 1000 - 1);
        QCOMPARE(clipboard->text(), kept);
        if (close) {
            f->prompter.answerNext(MessageAnswer::No); // not saved
            f->window.close();
            QVERIFY(!f->window.isVisible());
        } else {
            f->alarm.advance(1);
        }
        QCOMPARE(clipboard->text(), seconds > 0 && !foreignCopy ? QString() : kept);
        QVERIFY(!notice->isVisibleTo(&f->window));
    }

    // ---- closing ----

    // A close during the button's run stops it and asks; kept, the window finishes the run's
    // work as after any other: everything selected, the scroll width, the copy.
    void shouldFinishTheButtonsRunWhenTheCloseIsCancelled_data()
    {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("cancel keeps the window") << MessageAnswer::Cancel;
        QTest::newRow("no closes it") << MessageAnswer::No;
    }
    void shouldFinishTheButtonsRunWhenTheCloseIsCancelled()
    {
        QFETCH(MessageAnswer, answer);
        const bool kept = answer == MessageAnswer::Cancel;
        f->window.show();
        f->generate(QStringLiteral("2")); // unsaved, so the close asks
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QSignalSpy unloaded(&f->window, &frmMain::unloaded);
        f->delay.duringPause = onPause(f->delay, 3, 10, [this] { f->window.close(); });
        f->prompter.answerNext(answer);
        f->txtNumPass()->setText(QStringLiteral("50"));

        QTest::mouseClick(f->button("cmdGenerate"), Qt::LeftButton);
        QTRY_COMPARE(unloaded.count(), kept ? 0 : 1);
        QCoreApplication::processEvents(); // nothing queued asks again

        QCOMPARE(f->messageTexts(), QStringList { UnsavedQuestion });
        QCOMPARE(f->window.isVisible(), kept);
        const QStringList entries = f->list()->entries();
        QCOMPARE(entries.size(), 3);
        QCOMPARE(f->list()->selectedEntries(), kept ? entries : QStringList());
        QCOMPARE(f->list()->horizontalExtent(), kept ? f->list()->widestEntryWidth() : 0);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 kept ? entries.join(QStringLiteral("\r\n")) + "\r\n" : QStringLiteral("before"));
    }

    void shouldAskAboutUnsavedPasswordsOnClose_data()
    {
        QTest::addColumn<MessageAnswer>("answer");
        QTest::addColumn<QString>("saveTo"); // empty: the file dialog is cancelled
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("dialogsShown");
        QTest::addColumn<int>("messagesShown");

        QTest::newRow("cancel keeps the window") << MessageAnswer::Cancel << QString() << false << 0 << 1;
        QTest::newRow("no closes without saving") << MessageAnswer::No << QString() << true << 0 << 1;
        QTest::newRow("yes saves, then closes even when the save is cancelled")
            << MessageAnswer::Yes << QString() << true << 1 << 1;
        QTest::newRow("yes saves, then closes")
            << MessageAnswer::Yes << QStringLiteral("passwords.txt") << true << 1 << 2;
        // The user wanted them kept: after the failure is shown they are still there.
        QTest::newRow("yes with a failed save keeps the window")
            << MessageAnswer::Yes << QStringLiteral("missing/passwords.txt") << false << 1 << 2;
    }
    void shouldAskAboutUnsavedPasswordsOnClose()
    {
        QFETCH(MessageAnswer, answer);
        QFETCH(QString, saveTo);
        QFETCH(bool, closes);
        QFETCH(int, dialogsShown);
        QFETCH(int, messagesShown);
        QTemporaryDir dir;
        f->window.show();
        f->generate(QStringLiteral("2"));
        QSignalSpy unloaded(&f->window, &frmMain::unloaded);
        f->prompter.answerNext(answer);
        if (!saveTo.isEmpty())
            f->files.chooseNext(dir.filePath(saveTo));

        QTest::mouseClick(f->button("cmdClose"), Qt::LeftButton);

        QCOMPARE(f->prompter.messages.size(), messagesShown);
        QCOMPARE(f->prompter.messages[0].text, UnsavedQuestion);
        QCOMPARE(f->prompter.messages[0].buttons, MessageButtons::YesNoCancel);
        QCOMPARE(f->prompter.messages[0].icon, MessageIcon::Question);
        QCOMPARE(f->prompter.messages[0].title, QStringLiteral("Talvore Mintara 2.0"));
        QCOMPARE(unloaded.count(), closes ? 1 : 0);
        QCOMPARE(f->window.isVisible(), !closes);
        QCOMPARE(f->files.calls.size(), dialogsShown);
        QCOMPARE(f->list()->count(), 2);
        QCOMPARE(f->host.hasDialog(), !closes);
    }

    void shouldCloseWithoutAskingWhenNothingIsUnsaved()
    {
        QSignalSpy unloaded(&f->window, &frmMain::unloaded);
        QVERIFY(f->window.Terminate());
        QCOMPARE(unloaded.count(), 1);
        QVERIFY(f->prompter.messages.isEmpty());
    }

    void shouldTerminateAHiddenWindowAfterAskingAllTheSame()
    {
        f->generate(QStringLiteral("1"));
        QVERIFY(f->window.isHidden());
        f->prompter.answerNext(MessageAnswer::Cancel);
        QVERIFY(!f->window.Terminate());
        QCOMPARE(f->prompter.messages.size(), 1);
        f->prompter.answerNext(MessageAnswer::No);
        QVERIFY(f->window.Terminate());
    }

    // ---- saving through the window ----

    void shouldSaveThroughTheDialogWithItsArguments()
    {
        QTemporaryDir dir;
        f->generate(QStringLiteral("3"));
        const QString path = dir.filePath(QStringLiteral("passwords.txt"));
        f->files.chooseNext(path);
        f->prompter.typeNext(QStringLiteral("Work accounts"));

        QString fileName;
        QString description;
        QVERIFY(f->window.Save(fileName, description));

        QCOMPARE(f->files.calls.size(), 1);
        const ScriptedFileDialog::Call &call = f->files.calls[0];
        QCOMPARE(call.fileName, QString());
        QCOMPARE(call.fileTitle, QString());
        QCOMPARE(call.confirmOverwrite, true);
        QCOMPARE(call.filter, QStringLiteral("Text files (*.txt):*.txt|All files (*.*):*.*"));
        QCOMPARE(call.filterIndex, 1);
        QCOMPARE(call.dialogTitle, QStringLiteral("Save Password To"));
        QCOMPARE(call.owner.data(), &f->window);
        QCOMPARE(call.options, 0);
        QCOMPARE(fileName, path);
        QCOMPARE(description, QStringLiteral("Work accounts"));
        QCOMPARE(f->prompter.inputs.size(), 1);
        QCOMPARE(f->prompter.inputs[0].prompt,
                 QStringLiteral("What description would you like to place in the text file?"));
        QCOMPARE(f->prompter.messages.constLast().text,
                 QStringLiteral("Successfuly saved password to file \"passwords.txt\"\r\n"
                                "Make sure you keep the file on a disk in a safe place!"));
        QCOMPARE(f->prompter.messages.constLast().icon, MessageIcon::Information);
        QVERIFY(!f->window.passwordsUnsaved());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray expected =
            "Generated by Talvore Mintara 2.0\r\nWork accounts\r\nNumber of passwords: 3\r\n\r\n" +
            f->list()->entries().join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
        QCOMPARE(file.readAll(), expected);
    }

    void shouldDoNothingWhenTheDialogIsCancelled()
    {
        f->generate(QStringLiteral("2"));
        QString fileName;
        QString description;
        QVERIFY(!f->window.Save(fileName, description));
        QVERIFY(f->prompter.inputs.isEmpty());
        QVERIFY(f->prompter.messages.isEmpty());
        QVERIFY(f->window.passwordsUnsaved());
    }

    void shouldNameTheCallersFileWhenNoDialogRan()
    {
        QTemporaryDir dir;
        QString fileName = dir.filePath(QStringLiteral("given.txt"));
        QString description = QStringLiteral("From a client");
        QVERIFY(f->window.Save(fileName, description));
        QVERIFY(f->files.calls.isEmpty());
        QVERIFY(f->prompter.inputs.isEmpty());
        QCOMPARE(f->prompter.messages.size(), 1);
        QVERIFY(f->prompter.messages[0].text.contains(u'"' + fileName + u'"'));
    }

    void shouldShowASaveFailureAndCarryOn()
    {
        QTemporaryDir dir;
        f->window.show();
        f->generate(QStringLiteral("2"));
        f->files.chooseNext(dir.filePath(QStringLiteral("missing/passwords.txt")));
        QSignalSpy unloaded(&f->window, &frmMain::unloaded);

        QTest::mouseClick(f->button("cmdSave"), Qt::LeftButton);

        QCOMPARE(f->prompter.messages.size(), 1);
        QVERIFY(f->prompter.messages[0].text.startsWith(u"Error #76"));
        QVERIFY(f->prompter.messages[0].text.contains(u"frmMain.Save()"));
        QVERIFY(f->prompter.inputs.isEmpty()); // no description asked for a file that cannot be written
        QVERIFY(f->window.passwordsUnsaved());
        QVERIFY(f->window.isVisible());
        QCOMPARE(unloaded.count(), 0);
    }
};

QTEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
