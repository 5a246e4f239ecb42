#include "countingdelayservice.h"
#include "errorof.h"
#include "errorrecord.h"
#include "propertybag.h"
#include "xglowlabel.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

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
        label.setDelayService(&delay);
        QSignalSpy announced(&label, &XGlowLabel::propertyChanged);
        for (int i = 0; i < ticks; ++i)
            label.Tick();
        QCOMPARE(label.glowState(), expected);
        QCOMPARE(label.ForeColor(), OleColor(expected.blue) << 16 | OleColor(expected.green) << 8);
        QCOMPARE(delay.pauses, QList<qint32>(ticks, 50));
        QCOMPARE(announced.size(), 0);
    }

    void shouldNeverStartATickInsideAnother()
    {
        XGlowLabel label;
        CountingDelayService delay;
        label.setDelayService(&delay);
        delay.duringPause = [&] {
            label.Tick();
        }; // the timer firing while the tick pauses
        label.Tick();
        QCOMPARE(delay.pauses.size(), 1);
        QCOMPARE(label.glowState(), (GlowState { 10, 0, 0, false }));
        delay.duringPause = nullptr;
        label.Tick();
        QCOMPARE(label.glowState(), (GlowState { 20, 0, 0, false }));
    }

    void shouldEndATickWhosePauseFailsAndGoOn()
    {
        XGlowLabel label;
        CountingDelayService delay;
        label.setDelayService(&delay);
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
        label->setDelayService(&delay);
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
        label.setDelayService(&delay);
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
        label.setDelayService(&delay);
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
        struct PaintCounter : QObject
        {
            int paints = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                paints += event->type() == QEvent::Paint;
                return false;
            }
        } counter;
        XGlowLabel label;
        CountingDelayService delay;
        label.setDelayService(&delay);
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
