#include "accessibletree.h"
#include "errorof.h"
#include "xglowlabel.h"
#include "xgradprogress.h"
#include "xshplabel.h"

#include <QAccessible>
#include <QTest>

using namespace Lustrel;

class TestControlAccessibility : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Made the way a host makes them, by name, with nothing of the program's own set up: the
    // library brings the interfaces. A caption names its control, unless the host named it.
    void shouldSpeakForEachControl_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hostName");
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name");
        const int bar = QAccessible::ProgressBar;
        const int button = QAccessible::Button;
        const int text = QAccessible::StaticText;
        QTest::newRow("bar") << "XGradProgress" << QString() << QString() << bar << QString();
        QTest::newRow("new marker") << "XShpLabel" << QString() << QString() << button << "Label1";
        QTest::newRow("marker, by a new caption") << "XShpLabel"
                                                  << "3" << QString() << button << "3";
        QTest::newRow("marker named by the host") << "XShpLabel"
                                                  << "3"
                                                  << "Step" << button << "Step";
        QTest::newRow("glowing caption, by its text") << "XGlowLabel"
                                                      << "Talvore" << QString() << text << "Talvore";
        QTest::newRow("glowing caption named by the host") << "XGlowLabel"
                                                           << "Talvore"
                                                           << "Maker" << text << "Maker";
    }
    void shouldSpeakForEachControl()
    {
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QString, hostName);
        QFETCH(int, role);
        QFETCH(QString, name);
        QWidget host;
        Control *control = createControl("Lustrel." + kind, &host);
        QVERIFY(control);
        QAccessibleInterface *face = AccessibleTree::of(control->widget());
        control->widget()->setAccessibleName(hostName);
        if (!caption.isEmpty())
            control->widget()->setProperty("Caption", caption);
        QCOMPARE(int(face->role()), role);
        QCOMPARE(face->text(QAccessible::Name), name);
        QCOMPARE(face->valueInterface() != nullptr, role == int(QAccessible::ProgressBar));
    }

    void shouldTellTheBarsValueRangeAndShare_data()
    {
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("share");
        QTest::newRow("negative range") << -200 << -100 << -150 << "50%";
        QTest::newRow("two thirds, never rounded up") << 0 << 3 << 2 << "66%";
        QTest::newRow("below Min reads empty") << 0 << 100 << -10 << "0%";
        QTest::newRow("widest range") << -16384 << 16383 << 16383 << "100%";
        QTest::newRow("no range, no share") << 5 << 5 << 5 << "";
    }
    void shouldTellTheBarsValueRangeAndShare()
    {
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(int, value);
        QFETCH(QString, share);
        XGradProgress bar;
        bar.setMin(min);
        bar.setMax(max);
        errorOf([&] { bar.setValue(value); }); // with no range the put fails, having stored the value
        QAccessibleValueInterface *values = AccessibleTree::of(&bar)->valueInterface();
        QCOMPARE(values->currentValue().toInt(), value);
        QCOMPARE(values->minimumValue().toInt(), min);
        QCOMPARE(values->maximumValue().toInt(), max);
        QCOMPARE(AccessibleTree::of(&bar)->text(QAccessible::Value), share);
        values->setCurrentValue(min); // only the host moves the bar
        QCOMPARE(bar.Value(), value);
    }

    // The lit marker is the current step; a dark one reads as unavailable. A disabled window
    // around it greys every marker but leaves the current one current.
    void shouldTellWhichMarkerIsCurrent_data()
    {
        QTest::addColumn<bool>("lit");
        QTest::addColumn<bool>("windowEnabled");
        QTest::addColumn<bool>("disabled");
        QTest::newRow("lit") << true << true << false;
        QTest::newRow("dark") << false << true << true;
        QTest::newRow("lit in a disabled window") << true << false << true;
    }
    void shouldTellWhichMarkerIsCurrent()
    {
        QFETCH(bool, lit);
        QFETCH(bool, windowEnabled);
        QFETCH(bool, disabled);
        QWidget window;
        auto *marker = new XShpLabel(&window);
        marker->setEnabled(lit);
        window.setEnabled(windowEnabled);
        const QAccessible::State state = AccessibleTree::of(marker)->state();
        QCOMPARE(bool(state.active), lit);
        QCOMPARE(bool(state.disabled), disabled);
    }
};

QTEST_MAIN(TestControlAccessibility)
#include "tst_controlaccessibility.moc"
