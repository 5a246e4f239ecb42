#include "controlpacing_p.h"
#include "countingdelayservice.h"
#include "errorof.h"
#include "errorrecord.h"
#include "paintcounter.h"
#include "propertybag.h"
#include "xgradprogress.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace Lustrel;

namespace {

// A bar whose frame is 1000 pixels wide inside its single-line border.
void placeBar(XGradProgress &bar, int min, int max)
{
    bar.InitProperties();
    bar.resize(1002, 20);
    bar.setMin(min);
    bar.setMax(max);
}

} // namespace

class TestXGradProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shouldPlaceTheCoverFromValue_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("width");
        QTest::newRow("a quarter") << 0 << 100 << 25 << 250.f << 750.f;
        QTest::newRow("full") << 0 << 100 << 100 << 1000.f << 0.f;
        QTest::newRow("empty") << 0 << 100 << 0 << 0.f << 1000.f;
        QTest::newRow("a third, single precision")
            << 0 << 3 << 1 << float(1.0 / 3 * 1000) << float(2.0 / 3 * 1000);
        QTest::newRow("negative range") << -200 << -100 << -150 << 500.f << 500.f;
        QTest::newRow("below Min: starts left of the bar") << 0 << 100 << -10 << -100.f << 1100.f;
        QTest::newRow("widest range that fits") << -16384 << 16383 << 16383 << 1000.f << 0.f;
    }
    void shouldPlaceTheCoverFromValue()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, value);
        QFETCH(float, left);
        QFETCH(float, width);
        XGradProgress bar;
        placeBar(bar, min, max);
        QCOMPARE(bar.innerWidth(), 1000);
        bar.setValue(value);
        QCOMPARE(bar.coverLeft(), left);
        QCOMPARE(bar.coverWidth(), width);
    }

    // The edge lies at the nearest whole pixel.
    void shouldPaintFilledUpToValueAndUnfilledAfter_data()
    {
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("edge"); // the first unfilled pixel
        QTest::newRow("a quarter") << 100 << 25 << 250;
        QTest::newRow("two thirds, 666.67") << 3 << 2 << 667;
    }
    void shouldPaintFilledUpToValueAndUnfilledAfter()
    {
        QFETCH(int, max);
        QFETCH(int, value);
        QFETCH(int, edge);
        XGradProgress bar;
        placeBar(bar, 0, max);
        bar.setStartColor(0x000000FF); // red
        bar.setBackColor(0x00FF0000); // blue
        bar.setValue(value);
        const QImage picture = bar.grab().toImage();
        QCOMPARE(picture.pixelColor(1 + edge - 1, 10), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(1 + edge, 10), QColor(Qt::blue));
        QCOMPARE(picture.pixelColor(1 + 999, 10), QColor(Qt::blue));
    }

    void shouldShowStartColourAcrossANewBar()
    {
        XGradProgress bar;
        bar.resize(102, 20);
        bar.setStartColor(0x000000FF);
        QCOMPARE(bar.coverWidth(), 0.f);
        const QImage picture = bar.grab().toImage();
        QCOMPARE(picture.pixelColor(1, 10), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(100, 10), QColor(Qt::red));
    }

    // A failing put has stored and announced the value; the cover stays where it was.
    void shouldFailAPutItCannotDraw_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("Max equals Min") << 5 << 5 << 3 << int(ErrorNumber::DivisionByZero);
        QTest::newRow("Max equals Min equals Value") << 0 << 0 << 0 << int(ErrorNumber::Overflow);
        QTest::newRow("range beyond 16 bits") << -20000 << 20000 << 0 << int(ErrorNumber::Overflow);
        QTest::newRow("above Max") << 0 << 100 << 101 << int(ErrorNumber::InvalidPropertyValue);
    }
    void shouldFailAPutItCannotDraw()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, value);
        QFETCH(int, error);
        XGradProgress bar;
        placeBar(bar, -30, 300);
        bar.setValue(0);
        const float left = bar.coverLeft();
        const float width = bar.coverWidth();
        bar.setMin(min);
        bar.setMax(max);
        QSignalSpy spy(&bar, &XGradProgress::propertyChanged);
        QCOMPARE(errorOf([&] { bar.setValue(value); }), error);
        QCOMPARE(bar.Value(), value);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().first().toString(), QStringLiteral("Value"));
        QCOMPARE(bar.coverLeft(), left);
        QCOMPARE(bar.coverWidth(), width);
    }

    void shouldStepOneUnitAtATimeWithAPauseEach_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("puts");
        QTest::newRow("40 to 100") << 40 << 100 << 61;
        QTest::newRow("never backwards") << 40 << 30 << 0;
        QTest::newRow("same value redraws once") << 40 << 40 << 1;
        QTest::newRow("from a full bar to below it") << 100 << 99 << 0;
    }
    void shouldStepOneUnitAtATimeWithAPauseEach()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, puts);
        XGradProgress bar;
        CountingDelayService delay;
        ControlPacing::setDelayService(bar, &delay);
        placeBar(bar, 0, 100);
        bar.setValue(from);
        const float left = bar.coverLeft();
        QSignalSpy spy(&bar, &XGradProgress::propertyChanged);
        QList<int> valuesSeen;
        delay.duringPause = [&] {
            valuesSeen.append(bar.Value());
        };

        QCOMPARE(bar.IncreaseTo(to), 0);
        QCOMPARE(spy.size(), puts);
        QCOMPARE(delay.pauses, QList<qint32>(puts, 1));
        QList<int> expected;
        for (int v = from; v <= to; ++v)
            expected.append(v);
        QCOMPARE(valuesSeen, expected);
        if (puts == 0)
            QCOMPARE(bar.coverLeft(), left);
        else
            QCOMPARE(bar.coverLeft(), float(to * 10));
    }

    void shouldStopAtTheFirstFailingStep()
    {
        XGradProgress bar;
        CountingDelayService delay;
        ControlPacing::setDelayService(bar, &delay);
        placeBar(bar, 0, 32767);
        bar.setValue(32765);
        QCOMPARE(errorOf([&] { bar.IncreaseTo(40000); }), int(ErrorNumber::Overflow));
        QCOMPARE(bar.Value(), 32767);
        QCOMPARE(delay.pauses.size(), 3); // 32765, 32766, 32767

        delay.pauses.clear();
        placeBar(bar, 0, 10);
        bar.setValue(8);
        QCOMPARE(errorOf([&] { bar.IncreaseTo(12); }), int(ErrorNumber::InvalidPropertyValue));
        QCOMPARE(bar.Value(), 11);
        QCOMPARE(bar.coverLeft(), 1000.f); // drawn up to 10
        QCOMPARE(delay.pauses.size(), 3);
    }

    void shouldStopSafelyWhenTheBarIsClosedDuringAPause()
    {
        auto *bar = new XGradProgress;
        CountingDelayService delay;
        ControlPacing::setDelayService(*bar, &delay);
        placeBar(*bar, 0, 100);
        delay.duringPause = [&] {
            if (delay.pauses.size() == 3)
                delete bar;
        };
        QPointer<XGradProgress> watch(bar);
        QCOMPARE(bar->IncreaseTo(50), 0);
        QVERIFY(watch.isNull());
        QCOMPARE(delay.pauses.size(), 3);
    }

    void shouldKeepTheCoverWhenValueIsLoaded()
    {
        XGradProgress bar;
        placeBar(bar, 0, 100);
        MemoryPropertyBag bag;
        bag.setValue(QStringLiteral("Max"), 100);
        bag.setValue(QStringLiteral("Value"), 50);
        bar.ReadProperties(bag);
        QCOMPARE(bar.Value(), 50);
        QCOMPARE(bar.coverWidth(), 0.f);
    }

    void shouldKeepTheCoverOnResizeAndOnMinMaxPuts()
    {
        XGradProgress bar;
        placeBar(bar, 0, 100);
        bar.setValue(25);
        bar.resize(502, 20);
        bar.setMax(50);
        bar.setMin(10);
        QCOMPARE(bar.coverLeft(), 250.f);
        QCOMPARE(bar.coverWidth(), 750.f);
        bar.setValue(30); // the next put uses the new frame and range
        QCOMPARE(bar.coverLeft(), 250.f);
        QCOMPARE(bar.coverWidth(), 250.f);
    }

    void shouldRaiseMouseEventsWithTheirArguments()
    {
        XGradProgress bar;
        bar.resize(100, 20);
        QSignalSpy down(&bar, &XGradProgress::MouseDown);
        QSignalSpy click(&bar, &XGradProgress::Click);
        QTest::mouseClick(&bar, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, QPoint(30, 7));
        QCOMPARE(down.size(), 1);
        QCOMPARE(down.first().at(0).value<qint16>(), qint16(2));
        QCOMPARE(down.first().at(1).value<qint16>(), qint16(3));
        QCOMPARE(down.first().at(2).toFloat(), 30.f);
        QCOMPARE(down.first().at(3).toFloat(), 7.f);
        QCOMPARE(click.size(), 0); // only the left button clicks
        QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(30, 7));
        QCOMPARE(click.size(), 1);

        QSignalSpy keyDown(&bar, &XGradProgress::KeyDown);
        QSignalSpy keyPress(&bar, &XGradProgress::KeyPress);
        QTest::keyClick(&bar, 'A', Qt::ShiftModifier);
        QCOMPARE(keyDown.size(), 2); // Shift, then A
        QCOMPARE(keyDown.first().at(0).value<qint16>(), qint16(16));
        QCOMPARE(keyDown.last().at(0).value<qint16>(), qint16(65));
        QCOMPARE(keyDown.last().at(1).value<qint16>(), qint16(1));
        QCOMPARE(keyPress.first().at(0).value<qint16>(), qint16('A'));
    }

    // Each step of IncreaseTo asks for a repaint, which the event loop that runs during its
    // pause delivers, so the bar moves while it steps.
    void shouldRepaintDuringTheStepsPause()
    {
        PaintCounter counter;
        XGradProgress bar;
        CountingDelayService delay;
        ControlPacing::setDelayService(bar, &delay);
        placeBar(bar, 0, 100);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        bar.installEventFilter(&counter);
        QList<bool> repainted;
        delay.duringPause = [&] {
            const int before = counter.paints;
            repainted.append(QTest::qWaitFor([&] { return counter.paints > before; }, 2000));
        };
        bar.IncreaseTo(3);
        QCOMPARE(repainted, QList<bool>(4, true));
    }
};

QTEST_MAIN(TestXGradProgress)
#include "tst_xgradprogress.moc"
