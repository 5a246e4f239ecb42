#include "controlpacing_p.h"
#include "countingdelayservice.h"
#include "errorof.h"
#include "errorrecord.h"
#include "paintcounter.h"
#include "propertybag.h"
#include "xglowlabel.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using namespace Lustrel;

using GlowState = XGlowLabel::GlowState;
Q_DECLARE_METATYPE(GlowState)

class TestXGlowLabel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldPulseThroughTheExactSequence_data()
    {
        QTest::addColumn<int>("ticks");
        QTest::addColumn<GlowState>("expected");
        QTest::newRow("tick 1") << 1 << GlowState { 10, 0, 0, false };
        QTest::newRow("tick 25: blue ramped up") << 25 << GlowState { 250, 0, 0, false };
        QTest::newRow("tick 26: blue clamps, green starts") << 26 << GlowState { 255, 10, 0, false };
        QTest::newRow("tick 51: green clamps, third starts") << 51 << GlowState { 255, 255, 10, false };
        QTest::newRow("tick 75") << 75 << GlowState { 255, 255, 250, false };
        QTest::newRow("tick 76: all full, turns") << 76 << GlowState { 255, 255, 255, true };
        QTest::newRow("tick 77") << 77 << GlowState { 245, 255, 255, true };
        QTest::newRow("tick 101") << 101 << GlowState { 5, 255, 255, true };
        QTest::newRow("tick 102") << 102 << GlowState { 0, 245, 255, true };
        QTest::newRow("tick 127") << 127 << GlowState { 0, 0, 245, true };
        QTest::newRow("tick 152: all zero, turns") << 152 << GlowState { 0, 0, 0, false };
        QTest::newRow("tick 153: a new pulse") << 153 << GlowState { 10, 0, 0, false };
        QTest::newRow("tick 304: two whole pulses") << 304 << GlowState { 0, 0, 0, false };
    }
    void shouldPulseThroughTheExactSequence()
    {
        QFETCH(int, ticks);
        QFETCH(GlowState, expected);
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        QSignalSpy announced(&label, &XGlowLabel::propertyChanged);
        for (int i = 0; i < ticks; ++i)
            label.Tick();
        QCOMPARE(label.glowState(), expected);
        QCOMPARE(label.ForeColor(), OleColor(expected.blue) << 16 | OleColor(expected.green) << 8);
        QCOMPARE(delay.pauses, QList<qint32>(ticks, 50));
        QCOMPARE(announced.size(), 0);
    }

    // The timer fires during a tick's own pause: that beat waits for the tick to end and then
    // runs, never inside it; beats within one pause make one tick.
    void shouldDeferATickThatFallsInsideAnotherPause()
    {
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        GlowState seenDuringPause;
        bool fired = false;
        delay.duringPause = [&] {
            if (std::exchange(fired, true))
                return;
            label.Tick();
            label.Tick();
            seenDuringPause = label.glowState();
        };
        label.Tick();
        QCOMPARE(seenDuringPause, (GlowState { 10, 0, 0, false })); // not nested
        QCOMPARE(delay.pauses.size(), 1);

        QTRY_COMPARE(delay.pauses.size(), 2); // run as soon as the tick ended
        QCOMPARE(label.glowState(), (GlowState { 20, 0, 0, false }));
        QCoreApplication::processEvents();
        QCOMPARE(delay.pauses.size(), 2);
    }

    // With the real timer and real 50 ms pauses, Interval 50 gives one tick per 50 ms. Losing
    // the beat that falls in each pause would halve that; the bound sits between the two.
    void shouldTickOncePerIntervalWithTheRealTimer()
    {
        struct TimedDelayService : DelayService
        {
            int pauses = 0;
            void Pause(qint32 milliseconds) override
            {
                ++pauses;
                DelayService::Pause(milliseconds);
            }
        } delay;
        XGlowLabel label;
        ControlPacing::setDelayService(label, &delay);
        QElapsedTimer clock;
        clock.start();
        label.setInterval(50);
        constexpr int Ticks = 24;
        QTRY_VERIFY_WITH_TIMEOUT(delay.pauses >= Ticks, 20000);
        const qint64 elapsed = clock.elapsed();
        label.setInterval(0);
        // Full speed takes about 1200 ms, half speed about 2400 ms.
        QVERIFY2(elapsed < Ticks * 75,
                 qPrintable(QStringLiteral("%1 ticks took %2 ms").arg(Ticks).arg(elapsed)));
    }

    // A beat that comes while the thread waits in a nested loop, such as the bar's pause, is
    // skipped: a tick there would hold that wait for 50 ms, beat after beat. A modal window's
    // loop is where the program waits for the user, and the pulse goes on there.
    void shouldTickOnlyOutsideAnotherWait_data()
    {
        QTest::addColumn<bool>("nested");
        QTest::addColumn<bool>("modal");
        QTest::addColumn<bool>("ticks");
        QTest::newRow("the program's own loop") << false << false << true;
        QTest::newRow("another wait inside it") << true << false << false;
        QTest::newRow("a modal window inside it") << true << true << true;
    }
    void shouldTickOnlyOutsideAnotherWait()
    {
        QFETCH(bool, nested);
        QFETCH(bool, modal);
        QFETCH(bool, ticks);
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        label.setInterval(1);

        qsizetype ticked = -1;
        std::function<void()> quitInnermost;
        // Lets the innermost loop run for 40 beats of 1 ms, counting the ticks, then ends it.
        const auto measure = [&] {
            const qsizetype before = delay.pauses.size();
            auto *probe = new QTimer;
            auto beats = std::make_shared<int>(0);
            connect(probe, &QTimer::timeout, probe, [&, probe, beats, before] {
                if (++*beats < 40)
                    return;
                ticked = delay.pauses.size() - before;
                probe->stop();
                probe->deleteLater();
                quitInnermost();
            });
            probe->start(1);
        };
        QEventLoop program;
        QMetaObject::invokeMethod(
            &program,
            [&] {
                if (!nested) {
                    quitInnermost = [&] {
                        program.quit();
                    };
                    measure();
                    return;
                }
                if (modal) {
                    QDialog dialog;
                    dialog.setModal(true);
                    quitInnermost = [&] {
                        dialog.reject();
                    };
                    QMetaObject::invokeMethod(&dialog, measure, Qt::QueuedConnection);
                    dialog.exec();
                } else {
                    QEventLoop pause;
                    quitInnermost = [&] {
                        pause.quit();
                    };
                    QMetaObject::invokeMethod(&pause, measure, Qt::QueuedConnection);
                    pause.exec();
                }
                program.quit();
            },
            Qt::QueuedConnection);
        program.exec();
        QVERIFY(ticked >= 0);
        QCOMPARE(ticked > 0, ticks);
    }

    void shouldPulseOnlyOutsideDesignMode_data()
    {
        QTest::addColumn<bool>("designMode");
        QTest::newRow("in a running program") << false;
        QTest::newRow("in a form editor") << true;
    }
    void shouldPulseOnlyOutsideDesignMode()
    {
        QFETCH(bool, designMode);
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        label.setDesignMode(designMode);
        label.setInterval(1);
        QCOMPARE(label.Interval(), 1);
        QTimer probe;
        QSignalSpy probeTicks(&probe, &QTimer::timeout);
        probe.start(1);
        QTRY_VERIFY(probeTicks.size() >= 20);
        if (!designMode)
            QTRY_VERIFY(!delay.pauses.isEmpty());
        else
            QCOMPARE(delay.pauses.size(), 0);

        MemoryPropertyBag bag; // a design loaded in the editor does not pulse either
        bag.setValue(QStringLiteral("Interval"), 1);
        XGlowLabel loaded;
        ControlPacing::setDelayService(loaded, &delay);
        loaded.setDesignMode(designMode);
        loaded.ReadProperties(bag);
        probeTicks.clear();
        QTRY_VERIFY(probeTicks.size() >= 20);
        if (!designMode)
            QTRY_VERIFY(loaded.glowState() != GlowState {});
        else
            QCOMPARE(loaded.glowState(), GlowState {});
    }

    void shouldEndATickWhosePauseFailsAndGoOn()
    {
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        delay.duringPause = [] {
            raiseError(ErrorNumber::InternalError, QStringLiteral("Utility.DelayService"));
        };
        QCOMPARE(errorOf([&] { label.Tick(); }), int(ErrorNumber::InternalError));
        QCOMPARE(label.ForeColor(), OleColor(10) << 16); // the colour was set before the pause
        delay.duringPause = nullptr;
        label.Tick();
        QCOMPARE(label.glowState().blue, qint16(20));
    }

    void shouldSurviveBeingClosedDuringATick()
    {
        auto *label = new XGlowLabel;
        CountingDelayService delay;
        ControlPacing::setDelayService(*label, &delay);
        delay.duringPause = [&] {
            delete label;
        };
        QPointer<XGlowLabel> watch(label);
        label->Tick();
        QVERIFY(watch.isNull());
    }

    void shouldTickOnTheTimerOnlyWhileIntervalIsAboveZero()
    {
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        QCOMPARE(label.Interval(), 0);
        label.setInterval(1);
        QTRY_VERIFY(delay.pauses.size() >= 3);

        label.setInterval(0);
        const GlowState frozen = label.glowState();
        const OleColor colour = label.ForeColor();
        const qsizetype ticks = delay.pauses.size();
        // Let a faster timer run several times: the caption's own must not run again.
        QTimer probe;
        QSignalSpy probeTicks(&probe, &QTimer::timeout);
        probe.start(1);
        QTRY_VERIFY(probeTicks.size() >= 5);
        QCOMPARE(delay.pauses.size(), ticks);
        QCOMPARE(label.glowState(), frozen);
        QCOMPARE(label.ForeColor(), colour);

        label.setInterval(1); // the pulse goes on from where it stood
        QTRY_VERIFY(delay.pauses.size() > ticks);
        QVERIFY(label.glowState().blue > frozen.blue || label.glowState().green > frozen.green);
    }

    void shouldRefuseAnIntervalTheTimerCannotTake_data()
    {
        QTest::addColumn<qint32>("interval");
        QTest::newRow("negative") << -1;
        QTest::newRow("above 65535") << 65536;
    }
    void shouldRefuseAnIntervalTheTimerCannotTake()
    {
        QFETCH(qint32, interval);
        XGlowLabel label;
        label.setInterval(50);
        QSignalSpy spy(&label, &XGlowLabel::propertyChanged);
        QCOMPARE(errorOf([&] { label.setInterval(interval); }), int(ErrorNumber::InvalidPropertyValue));
        QCOMPARE(label.Interval(), 50);
        QCOMPARE(spy.size(), 0);
    }

    void shouldShowAForeColourPutOnlyUntilTheNextTick()
    {
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        label.Tick();
        label.setForeColor(0x000000FF);
        QCOMPARE(label.ForeColor(), OleColor(0x000000FF));
        label.Tick();
        QCOMPARE(label.ForeColor(), OleColor(20) << 16);

        MemoryPropertyBag bag; // a save writes the pulse colour
        label.WriteProperties(bag);
        QCOMPARE(bag.value(QStringLiteral("ForeColor")), QVariant(qint32(20) << 16));
    }

    void shouldCentreTheTextAcrossTheWholeWidth()
    {
        XGlowLabel label;
        label.resize(300, 40);
        label.setCaption(QStringLiteral("IIII"));
        label.setForeColor(0); // black on the button face
        label.setBackColor(0x00FFFFFF);
        label.setAlignment(2);
        const QImage picture = label.grab().toImage();
        int left = picture.width();
        int right = -1;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixelColor(x, y).lightness() < 128) {
                    left = qMin(left, x);
                    right = qMax(right, x);
                }
            }
        }
        QVERIFY(right > left);
        QVERIFY2(qAbs((left + right) / 2 - 150) <= 2,
                 qPrintable(QStringLiteral("%1..%2").arg(left).arg(right)));
    }

    // Every tick shows its new colour: it asks for a repaint, which the event loop running
    // during the tick's pause delivers.
    void shouldRepaintDuringEveryTicksPause()
    {
        PaintCounter counter;
        XGlowLabel label;
        CountingDelayService delay;
        ControlPacing::setDelayService(label, &delay);
        label.resize(100, 30);
        label.show();
        QVERIFY(QTest::qWaitForWindowExposed(&label));
        label.installEventFilter(&counter);
        QList<bool> repainted;
        delay.duringPause = [&] {
            const int before = counter.paints;
            repainted.append(QTest::qWaitFor([&] { return counter.paints > before; }, 2000));
        };
        for (int tick = 0; tick < 3; ++tick)
            label.Tick();
        QCOMPARE(repainted, QList<bool>(3, true));
    }
};

QTEST_MAIN(TestXGlowLabel)
#include "tst_xglowlabel.moc"
