#include "controlpacing_p.h"
#include "controlproperties.h"
#include "countingdelayservice.h"
#include "errorrecord.h"
#include "propertybag.h"
#include "xglowlabel.h"
#include "xgradprogress.h"
#include "xshplabel.h"

#include <QApplication>
#include <QMetaProperty>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using namespace Lustrel;

namespace {

std::unique_ptr<Control> make(const QString &progId, QWidget *parent = nullptr)
{
    return std::unique_ptr<Control>(createControl(progId, parent));
}

// A value of the property's type that differs from `current`.
QVariant otherValue(const QMetaProperty &property, const QVariant &current)
{
    switch (property.typeId()) {
    case QMetaType::Bool:
        return !current.toBool();
    case QMetaType::Int:
        return current.toInt() == 1 ? 0 : 1;
    case QMetaType::UInt:
        return QVariant::fromValue(quint32(0x00336699));
    case QMetaType::QString:
        return current.toString() + QStringLiteral(" changed");
    case QMetaType::QFont: {
        QFont font = current.value<QFont>();
        font.setPointSize(font.pointSize() + 7);
        font.setBold(!font.bold());
        return font;
    }
    default:
        return current;
    }
}

// Properties that cannot keep just any value: XGradProgress.ForeColor always reads 0 and is
// not saved, Value needs Min and Max set first.
bool keepsAnyValue(const QString &progId, const QString &property)
{
    return !(progId == QLatin1String("Lustrel.XGradProgress") &&
             (property == u"ForeColor" || property == u"Value"));
}

} // namespace

class TestControlFrame : public QObject
{
    Q_OBJECT

public Q_SLOTS:
    // Appends the name of the signal that called it to the event list under test.
    void record()
    {
        if (!m_raised)
            return;
        const QMetaMethod signal = sender()->metaObject()->method(senderSignalIndex());
        m_raised->append(QString::fromLatin1(signal.name()));
    }

private:
    QStringList *m_raised = nullptr;

private Q_SLOTS:
    void shouldCreateEachControlByProgIdAndByClassId_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("className");
        QTest::newRow("step marker") << "Lustrel.XShpLabel"
                                     << "Lustrel::XShpLabel";
        QTest::newRow("glowing caption") << "Lustrel.XGlowLabel"
                                         << "Lustrel::XGlowLabel";
        QTest::newRow("progress bar") << "Lustrel.XGradProgress"
                                      << "Lustrel::XGradProgress";
    }
    void shouldCreateEachControlByProgIdAndByClassId()
    {
        QFETCH(QString, progId);
        QFETCH(QString, className);
        QWidget host;
        Control *byName = createControl(progId, &host);
        QVERIFY(byName);
        QCOMPARE(byName->widget()->metaObject()->className(), className);
        QCOMPARE(byName->widget()->parentWidget(), &host);
        QCOMPARE(byName->progId(), progId);

        const QUuid id = byName->classId();
        QVERIFY(!id.isNull());
        std::unique_ptr<Control> byId(createControl(id));
        QVERIFY(byId);
        QCOMPARE(byId->widget()->metaObject()->className(), className);
        std::unique_ptr<Control> byIdText(createControl(id.toString()));
        QVERIFY(byIdText);
        QCOMPARE(byIdText->progId(), progId);
    }

    void shouldGiveEveryClassItsOwnFixedId()
    {
        const QList<ControlClass> classes = controlClasses();
        QCOMPARE(classes.size(), 3);
        QSet<QUuid> ids;
        for (const ControlClass &kind : classes)
            ids.insert(kind.classId);
        QCOMPARE(ids.size(), 3);
        QCOMPARE(XGradProgress::staticClassId(),
                 QUuid(QStringLiteral("{ffa77584-b6fb-4edf-aae0-ad3233126835}")));
    }

    void shouldCreateNothingForAnUnknownName_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("empty") << "";
        QTest::newRow("other library") << "Other.XShpLabel";
        QTest::newRow("unknown class id") << "{00000000-0000-0000-0000-000000000001}";
        QTest::newRow("null class id") << "{00000000-0000-0000-0000-000000000000}";
    }
    void shouldCreateNothingForAnUnknownName()
    {
        QFETCH(QString, id);
        QCOMPARE(createControl(id), nullptr);
    }

    void shouldResolveExplicitColoursAsRedGreenBlue()
    {
        QPalette palette;
        QCOMPARE(resolveOleColor(0x000000FF, palette), QColor(255, 0, 0));
        QCOMPARE(resolveOleColor(0x00FF0000, palette), QColor(0, 0, 255));
        QCOMPARE(resolveOleColor(oleColorFromRgb(1, 2, 3), palette), QColor(1, 2, 3));
        QCOMPARE(oleColorFromQColor(QColor(0x12, 0x34, 0x56)), OleColor(0x00563412));
        QVERIFY(!resolveOleColor(0x800000FF, palette).isValid());
    }

    // Each control paints a scheme colour from the palette in force; two palettes give two
    // pictures while the stored value stays the scheme colour.
    void shouldDrawSchemeColoursFromThePaletteAtPaintTime_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QPoint>("probe");
        QTest::addColumn<int>("role");
        QTest::newRow("bar, unfilled part") << "Lustrel.XGradProgress"
                                            << "BackColor" << QPoint(50, 10) << int(QPalette::Button);
        QTest::newRow("caption background") << "Lustrel.XGlowLabel"
                                            << "BackColor" << QPoint(95, 25) << int(QPalette::Button);
        QTest::newRow("marker fill") << "Lustrel.XShpLabel"
                                     << "FillColor" << QPoint(50, 5) << int(QPalette::Highlight);
    }
    void shouldDrawSchemeColoursFromThePaletteAtPaintTime()
    {
        QFETCH(QString, progId);
        QFETCH(QString, property);
        QFETCH(QPoint, probe);
        QFETCH(int, role);
        auto control = make(progId);
        QWidget *widget = control->widget();
        widget->resize(100, 30);
        if (auto *bar = qobject_cast<XGradProgress *>(widget)) {
            bar->setMax(100);
            bar->setValue(0); // all unfilled
        }
        const QVariant stored = widget->property(property.toLatin1());

        for (const QColor &scheme : { QColor(10, 200, 30), QColor(200, 20, 90) }) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::ColorRole(role), scheme);
            widget->setPalette(palette);
            const QImage picture = widget->grab().toImage();
            QCOMPARE(picture.pixelColor(probe), scheme);
            QCOMPARE(widget->property(property.toLatin1()), stored);
        }
        QVERIFY(isSystemColor(stored.toUInt()));
    }

    // Every put announces the property by its key name, also a put of the value it already has.
    void shouldAnnounceEveryPutByName_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::newRow("step marker") << "Lustrel.XShpLabel";
        QTest::newRow("glowing caption") << "Lustrel.XGlowLabel";
        QTest::newRow("progress bar") << "Lustrel.XGradProgress";
    }
    void shouldAnnounceEveryPutByName()
    {
        QFETCH(QString, progId);
        auto control = make(progId);
        QObject *widget = control->widget();
        if (auto *bar = qobject_cast<XGradProgress *>(widget))
            bar->setMax(100);
        QSignalSpy spy(widget, SIGNAL(propertyChanged(QString)));
        const QMetaObject *meta = widget->metaObject();
        QVERIFY(meta->propertyCount() - meta->propertyOffset() >= 10);
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            const QString name = QString::fromLatin1(property.name());
            spy.clear();
            QVERIFY(property.write(widget, property.read(widget)));
            QCOMPARE(spy.size(), 1);
            QCOMPARE(spy.first().first().toString(), name);
        }
    }

    // Every Integer property refuses a value beyond 16 bits with the overflow error, keeping its
    // old value and announcing nothing.
    void shouldRefuseIntegersBeyond16Bits_data() { shouldAnnounceEveryPutByName_data(); }
    void shouldRefuseIntegersBeyond16Bits()
    {
        QFETCH(QString, progId);
        auto control = make(progId);
        QObject *widget = control->widget();
        QSignalSpy spy(widget, SIGNAL(propertyChanged(QString)));
        const QMetaObject *meta = widget->metaObject();
        int checked = 0;
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (property.typeId() != QMetaType::Int || property.name() == QByteArray("Interval"))
                continue; // Interval is a Long
            for (const int value : { 32768, -32769 }) {
                const QVariant before = property.read(widget);
                try {
                    property.write(widget, value);
                    QFAIL(property.name());
                } catch (const Failure &failure) {
                    QCOMPARE(failure.number(), int(ErrorNumber::Overflow));
                }
                QCOMPARE(property.read(widget), before);
            }
            ++checked;
        }
        QVERIFY(checked >= 4);
        QCOMPARE(spy.size(), 0);
    }

    void shouldWriteNoKeysForAControlAtItsDefaults_data() { shouldAnnounceEveryPutByName_data(); }
    void shouldWriteNoKeysForAControlAtItsDefaults()
    {
        QFETCH(QString, progId);
        QWidget host;
        auto control = make(progId, &host);
        control->InitProperties();
        MemoryPropertyBag bag;
        control->WriteProperties(bag);
        QCOMPARE(bag.keys(), QStringList());
    }

    void shouldLoadEveryDefaultFromAnEmptyBag_data() { shouldAnnounceEveryPutByName_data(); }
    void shouldLoadEveryDefaultFromAnEmptyBag()
    {
        QFETCH(QString, progId);
        QWidget host;
        auto fresh = make(progId, &host);
        fresh->InitProperties();
        auto loaded = make(progId, &host);
        // Move every property away from its default, then load an empty bag.
        QObject *widget = loaded->widget();
        const QMetaObject *meta = widget->metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (keepsAnyValue(progId, QString::fromLatin1(property.name())))
                property.write(widget, otherValue(property, property.read(widget)));
        }
        QVERIFY(ownProperties(widget) != ownProperties(fresh->widget()));
        loaded->ReadProperties(MemoryPropertyBag());
        QCOMPARE(ownProperties(widget), ownProperties(fresh->widget()));
    }

    // Saved with every property changed, reloaded into a new control: equal, and every key
    // written in the control's fixed order.
    void shouldReloadWhatItSaved_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("step marker") << "Lustrel.XShpLabel"
                                     << QStringList { "ForeColor",
                                                      "Enabled",
                                                      "Font",
                                                      "BorderStyle",
                                                      "BorderColor",
                                                      "BorderWidth",
                                                      "Caption",
                                                      "FillColor",
                                                      "FillStyle",
                                                      "DisabledBorderColor",
                                                      "DisabledBorderStyle",
                                                      "DisabledBorderWidth",
                                                      "DisabledFillColor",
                                                      "DisabledFillStyle",
                                                      "DisabledFont",
                                                      "DisabledForeColor" };
        QTest::newRow("glowing caption")
            << "Lustrel.XGlowLabel"
            << QStringList { "BackColor",   "ForeColor", "Enabled",    "Font",    "BackStyle",
                             "BorderStyle", "Alignment", "Appearance", "Caption", "Interval" };
        QTest::newRow("progress bar")
            << "Lustrel.XGradProgress"
            << QStringList { "BackColor", "Enabled", "Font", "BackStyle",   "BorderStyle", "Appearance",
                             "EndColor",  "Min",     "Max",  "Orientation", "Value",       "StartColor" };
    }
    void shouldReloadWhatItSaved()
    {
        QFETCH(QString, progId);
        QFETCH(QStringList, keys);
        QWidget host;
        auto original = make(progId, &host);
        original->InitProperties();
        QObject *widget = original->widget();
        const QMetaObject *meta = widget->metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (keepsAnyValue(progId, QString::fromLatin1(property.name())))
                QVERIFY(property.write(widget, otherValue(property, property.read(widget))));
        }
        if (auto *bar = qobject_cast<XGradProgress *>(widget)) {
            bar->setMin(-5);
            bar->setMax(300);
            bar->setValue(250);
        }
        MemoryPropertyBag bag;
        original->WriteProperties(bag);
        QCOMPARE(bag.keys(), keys);

        auto reloaded = make(progId, &host);
        reloaded->ReadProperties(bag);
        QCOMPARE(ownProperties(reloaded->widget()), ownProperties(widget));
    }

    // A newly placed control starts from InitProperties; a loaded one keeps what the bag says,
    // even where that differs from what InitProperties would give.
    void shouldTellPlacingFromLoading()
    {
        QWidget host;
        XShpLabel placed(&host);
        placed.setCaption(QStringLiteral("3"));
        placed.setEnabled(false);
        placed.setFillColor(0x000000FF);
        placed.setDisabledBorderWidth(4);
        placed.InitProperties();
        QCOMPARE(placed.FillColor(), SystemColor::ActiveTitleBar);
        QCOMPARE(placed.DisabledBorderWidth(), 1);
        // The caption and the enabled state are not its own fields: they stay.
        QCOMPARE(placed.Caption(), QStringLiteral("3"));
        QCOMPARE(placed.Enabled(), false);

        XGradProgress bar(&host);
        bar.setStartColor(0x0000FF00);
        bar.setMax(10);
        bar.setEndColor(7);
        bar.InitProperties();
        QCOMPARE(bar.Max(), 0);
        QCOMPARE(bar.EndColor(), OleColor(0));
        QCOMPARE(bar.StartColor(), OleColor(0x0000FF00)); // the panel keeps its setting

        MemoryPropertyBag bag;
        bag.setValue(QStringLiteral("Max"), 10);
        bag.setValue(QStringLiteral("StartColor"), 0x00FF00);
        XGradProgress loaded(&host);
        loaded.ReadProperties(bag);
        QCOMPARE(loaded.Max(), 10);
        QCOMPARE(loaded.StartColor(), OleColor(0x00FF00));
    }

    void shouldLeaveOutOnlyValuesEqualToTheirDefault()
    {
        MemoryPropertyBag bag;
        bag.WriteProperty(QStringLiteral("A"), 1, 0);
        bag.WriteProperty(QStringLiteral("B"), 0, 0);
        bag.WriteProperty(QStringLiteral("C"), QStringLiteral("x"), QString());
        QCOMPARE(bag.keys(), (QStringList { "A", "C" }));
        bag.WriteProperty(QStringLiteral("A"), 0, 0); // back to its default: the old value goes
        QCOMPARE(bag.keys(), QStringList { "C" });
        QCOMPARE(bag.ReadProperty(QStringLiteral("A"), 42), QVariant(42));
        QCOMPARE(bag.ReadProperty(QStringLiteral("C"), QString()), QVariant(QStringLiteral("x")));
    }

    // A saved value that does not fit its property fails the load at that key; the keys read
    // before it stay loaded.
    void shouldFailALoadAtAValueThatDoesNotFit_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("Integer too large") << "Lustrel.XGradProgress"
                                           << "Max" << QVariant(40000) << 6;
        QTest::newRow("Integer not a number") << "Lustrel.XShpLabel"
                                              << "BorderWidth" << QVariant("wide") << 13;
        QTest::newRow("colour beyond 32 bits") << "Lustrel.XGradProgress"
                                               << "StartColor" << QVariant(1e10) << 6;
        QTest::newRow("interval the timer refuses") << "Lustrel.XGlowLabel"
                                                    << "Interval" << QVariant(70000) << 380;
        QTest::newRow("border the panel refuses") << "Lustrel.XGradProgress"
                                                  << "BorderStyle" << QVariant(2) << 380;
    }
    void shouldFailALoadAtAValueThatDoesNotFit()
    {
        QFETCH(QString, progId);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(int, error);
        auto control = make(progId);
        MemoryPropertyBag bag;
        bag.setValue(QStringLiteral("Enabled"), false); // read before every key under test
        bag.setValue(key, value);
        try {
            control->ReadProperties(bag);
            QFAIL("the load should fail");
        } catch (const Failure &failure) {
            QCOMPARE(failure.number(), error);
        }
        QCOMPARE(control->widget()->property("Enabled").toBool(), false);
    }

    // In a form editor a refused put returns and leaves the property as it was, so the editor
    // never reads back, and never saves, a value the form cannot load at run time. Outside it the
    // same put fails, keeping what it did before the failing step.
    void shouldLeaveARefusedDesignPutAsItWas_data()
    {
        QTest::addColumn<bool>("designMode");
        QTest::newRow("in a form editor") << true;
        QTest::newRow("in a running program") << false;
    }
    void shouldLeaveARefusedDesignPutAsItWas()
    {
        QFETCH(bool, designMode);
        XGradProgress bar;
        bar.resize(100, 20);
        bar.setDesignMode(designMode);
        bar.setMax(100);
        bar.setValue(50);
        const float coverLeft = bar.coverLeft();

        const auto refused = [&](auto &&put) {
            try {
                put();
                return false;
            } catch (const Failure &) {
                return true;
            }
        };
        QCOMPARE(refused([&] { bar.setBorderStyle(7); }), !designMode);
        QCOMPARE(bar.BorderStyle(), 1);
        QCOMPARE(refused([&] { bar.setValue(101); }), !designMode); // above Max
        QCOMPARE(bar.Value(), designMode ? 50 : 101);
        QCOMPARE(bar.coverLeft(), coverLeft);
        QVERIFY(!refused([&] { bar.setValue(100); })); // the boundary itself is taken
        QCOMPARE(bar.Value(), 100);

        // Range puts never fail at run time; in the editor they must keep the Value loadable.
        QCOMPARE(refused([&] { bar.setMax(99); }), false);
        QCOMPARE(bar.Max(), designMode ? 100 : 99);
        QCOMPARE(refused([&] { bar.setMin(100); }), false);
        QCOMPARE(bar.Min(), designMode ? 0 : 100);
    }

    // A control keeps its own Enabled flag inside a disabled window or frame, and saves that.
    void shouldReadAndSaveItsOwnEnabledFlagUnderADisabledParent_data()
    {
        shouldAnnounceEveryPutByName_data();
    }
    void shouldReadAndSaveItsOwnEnabledFlagUnderADisabledParent()
    {
        QFETCH(QString, progId);
        QWidget frame;
        auto control = make(progId, &frame);
        QWidget *widget = control->widget();
        frame.setEnabled(false);
        QVERIFY(!widget->isEnabled());
        QCOMPARE(widget->property("Enabled").toBool(), true);
        MemoryPropertyBag bag;
        control->WriteProperties(bag);
        QVERIFY(!bag.keys().contains(QStringLiteral("Enabled")));

        widget->setProperty("Enabled", false);
        frame.setEnabled(true);
        QCOMPARE(widget->property("Enabled").toBool(), false);
        control->WriteProperties(bag);
        QCOMPARE(bag.value(QStringLiteral("Enabled")), QVariant(false));
    }

    // Events in the order the platform sends them for a double click: press, release, the
    // double-click press, release.
    void shouldRaiseClickOnceForADoubleClick_data() { shouldAnnounceEveryPutByName_data(); }
    void shouldRaiseClickOnceForADoubleClick()
    {
        QFETCH(QString, progId);
        auto control = make(progId);
        QWidget *widget = control->widget();
        widget->resize(60, 30);
        QStringList raised;
        connect(widget, SIGNAL(Click()), this, SLOT(record()));
        connect(widget, SIGNAL(DblClick()), this, SLOT(record()));
        connect(widget, SIGNAL(MouseDown(qint16, qint16, float, float)), this, SLOT(record()));
        connect(widget, SIGNAL(MouseUp(qint16, qint16, float, float)), this, SLOT(record()));

        const QPoint at(20, 10);
        const auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
            QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
            QCoreApplication::sendEvent(widget, &event);
        };
        m_raised = &raised;
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        send(QEvent::MouseButtonDblClick, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        QCOMPARE(raised, (QStringList { "MouseDown", "MouseUp", "Click", "DblClick", "MouseUp" }));

        raised.clear(); // the next click clicks again
        send(QEvent::MouseButtonPress, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, Qt::NoButton);
        QCOMPARE(raised, (QStringList { "MouseDown", "MouseUp", "Click" }));
        m_raised = nullptr;
    }

    // The marker and the caption take the keyboard when clicked in a window, so their key
    // events fire; the progress bar never takes it.
    void shouldRaiseKeyEventsOnceClickedInAWindow_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<bool>("takesKeys");
        QTest::newRow("step marker") << "Lustrel.XShpLabel" << true;
        QTest::newRow("glowing caption") << "Lustrel.XGlowLabel" << true;
        QTest::newRow("progress bar") << "Lustrel.XGradProgress" << false;
    }
    void shouldRaiseKeyEventsOnceClickedInAWindow()
    {
        QFETCH(QString, progId);
        QFETCH(bool, takesKeys);
        QWidget window;
        auto *button = new QPushButton(QStringLiteral("OK"), &window);
        button->setGeometry(0, 0, 60, 30);
        auto control = make(progId, &window);
        QWidget *widget = control->widget();
        widget->setGeometry(0, 40, 60, 30);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        button->setFocus();

        QSignalSpy keyDown(widget, SIGNAL(KeyDown(qint16, qint16)));
        QSignalSpy keyPress(widget, SIGNAL(KeyPress(qint16)));
        QSignalSpy keyUp(widget, SIGNAL(KeyUp(qint16, qint16)));
        QVERIFY(keyDown.isValid() && keyPress.isValid() && keyUp.isValid());
        QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(30, 15));
        QCOMPARE(widget->hasFocus(), takesKeys);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
        QCOMPARE(keyDown.size(), takesKeys ? 1 : 0);
        QCOMPARE(keyPress.size(), takesKeys ? 1 : 0);
        QCOMPARE(keyUp.size(), takesKeys ? 1 : 0);
        if (takesKeys) {
            QCOMPARE(keyDown.first().at(0).value<qint16>(), qint16('B'));
            QCOMPARE(keyPress.first().at(0).value<qint16>(), qint16('b'));
        }
    }

    // Methods a host calls by name.
    void shouldLetAHostCallTheMethodsByName_data() { shouldAnnounceEveryPutByName_data(); }
    void shouldLetAHostCallTheMethodsByName()
    {
        QFETCH(QString, progId);
        auto control = make(progId);
        QVERIFY(QMetaObject::invokeMethod(control->widget(), "Refresh"));
        auto *bar = qobject_cast<XGradProgress *>(control->widget());
        if (!bar)
            return;
        CountingDelayService delay;
        ControlPacing::setDelayService(*bar, &delay);
        bar->setMax(10);
        qint32 result = -1;
        QVERIFY(QMetaObject::invokeMethod(bar, "IncreaseTo", Q_RETURN_ARG(qint32, result), Q_ARG(qint32, 4)));
        QCOMPARE(result, 0);
        QCOMPARE(bar->Value(), 4);
        QCOMPARE(delay.pauses.size(), 5);
    }

    void shouldReadColoursSavedSignedOrUnsigned()
    {
        MemoryPropertyBag bag;
        bag.setValue(QStringLiteral("BackColor"), qint32(0x8000000D));
        bag.setValue(QStringLiteral("ForeColor"), quint32(0x80000012));
        XGlowLabel label;
        label.ReadProperties(bag);
        QCOMPARE(label.BackColor(), SystemColor::Highlight);
        QCOMPARE(label.ForeColor(), SystemColor::ButtonText);
    }

    // Every scheme entry comes from its own palette role, read from a palette whose roles all
    // differ, so two entries swapped or one left out show. Entry 0x19 has no colour. The
    // inactive title bar entries (0x03, 0x13, 0x1C) are blends made readable, checked by the
    // step marker's contrast test.
    void shouldTakeEachSchemeEntryFromItsPaletteRole_data()
    {
        QTest::addColumn<quint32>("entry");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("role");
        const int active = QPalette::Active;
        const struct
        {
            quint32 entry;
            QPalette::ColorRole role;
        } roles[] = {
            { 0x00, QPalette::Button },
            { 0x01, QPalette::Dark },
            { 0x02, QPalette::Highlight },
            { 0x04, QPalette::Base },
            { 0x05, QPalette::Base },
            { 0x06, QPalette::Shadow },
            { 0x07, QPalette::Text },
            { 0x08, QPalette::Text },
            { 0x09, QPalette::HighlightedText },
            { 0x0A, QPalette::Window },
            { 0x0B, QPalette::Window },
            { 0x0C, QPalette::Dark },
            { 0x0D, QPalette::Highlight },
            { 0x0E, QPalette::HighlightedText },
            { 0x0F, QPalette::Button },
            { 0x10, QPalette::Dark },
            { 0x12, QPalette::ButtonText },
            { 0x14, QPalette::Light },
            { 0x15, QPalette::Shadow },
            { 0x16, QPalette::Midlight },
            { 0x17, QPalette::ToolTipText },
            { 0x18, QPalette::ToolTipBase },
            { 0x1A, QPalette::Link },
            { 0x1B, QPalette::Highlight },
            { 0x1D, QPalette::Highlight },
            { 0x1E, QPalette::Window },
        };
        for (const auto &r : roles)
            QTest::addRow("0x%02X", r.entry) << r.entry << active << int(r.role);
        QTest::addRow("0x11 grey text") << quint32(0x11) << int(QPalette::Disabled) << int(QPalette::Text);
        QTest::addRow("0x19 none") << quint32(0x19) << active << -1;
        QTest::addRow("0x1F none") << quint32(0x1F) << active << -1;
    }
    void shouldTakeEachSchemeEntryFromItsPaletteRole()
    {
        QFETCH(quint32, entry);
        QFETCH(int, group);
        QFETCH(int, role);
        QPalette palette;
        int shade = 0;
        for (const int g : { QPalette::Active, QPalette::Disabled, QPalette::Inactive }) {
            for (int r = 0; r < QPalette::NColorRoles; ++r)
                palette.setColor(QPalette::ColorGroup(g), QPalette::ColorRole(r), QColor(shade++, 7, 9));
        }
        const QColor resolved = resolveOleColor(0x80000000u | entry, palette);
        if (role < 0)
            QVERIFY(!resolved.isValid());
        else
            QCOMPARE(resolved, palette.color(QPalette::ColorGroup(group), QPalette::ColorRole(role)));
    }

    // A stored value at the very edge of what its property takes loads; one step beyond fails.
    void shouldLoadUpToTheEdgeOfARangeAndNoFurther_data()
    {
        QTest::addColumn<QString>("progId");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("error");
        QTest::addColumn<QVariant>("loaded");
        const QString bar = QStringLiteral("Lustrel.XGradProgress");
        const QString caption = QStringLiteral("Lustrel.XGlowLabel");
        QTest::newRow("largest colour, unsigned")
            << bar << "StartColor" << QVariant(4294967295.0) << 0 << QVariant(quint32(0xFFFFFFFF));
        QTest::newRow("just above the largest colour")
            << bar << "StartColor" << QVariant(4294967296.0) << 6 << QVariant();
        QTest::newRow("smallest colour, signed")
            << bar << "StartColor" << QVariant(-2147483648.0) << 0 << QVariant(quint32(0x80000000));
        QTest::newRow("just below the smallest colour")
            << bar << "StartColor" << QVariant(-2147483649.0) << 6 << QVariant();
        QTest::newRow("longest interval") << caption << "Interval" << QVariant(65535) << 0 << QVariant(65535);
        QTest::newRow("just above the longest interval")
            << caption << "Interval" << QVariant(65536) << 380 << QVariant();
        QTest::newRow("negative interval") << caption << "Interval" << QVariant(-1) << 380 << QVariant();
        QTest::newRow("largest Integer") << bar << "Max" << QVariant(32767) << 0 << QVariant(32767);
        QTest::newRow("just above the largest Integer") << bar << "Max" << QVariant(32768) << 6 << QVariant();
        QTest::newRow("smallest Integer") << bar << "Min" << QVariant(-32768) << 0 << QVariant(-32768);
        QTest::newRow("just below the smallest Integer")
            << bar << "Min" << QVariant(-32769) << 6 << QVariant();
    }
    void shouldLoadUpToTheEdgeOfARangeAndNoFurther()
    {
        QFETCH(QString, progId);
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(int, error);
        QFETCH(QVariant, loaded);
        auto control = make(progId);
        MemoryPropertyBag bag;
        bag.setValue(key, value);
        int raised = 0;
        try {
            control->ReadProperties(bag);
        } catch (const Failure &failure) {
            raised = failure.number();
        }
        QCOMPARE(raised, error);
        if (error == 0)
            QCOMPARE(control->widget()->property(key.toLatin1()).toLongLong(), loaded.toLongLong());
    }
};

QTEST_MAIN(TestControlFrame)
#include "tst_controlframe.moc"
