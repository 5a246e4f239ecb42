#include "accessibility_p.h"
#include "xglowlabel.h"
#include "xgradprogress.h"
#include "xshplabel.h"

#include <QAccessibleWidget>

namespace Lustrel::Accessibility {

namespace {

// What the three interfaces share: the control they speak for, as long as it is one.
template<typename Control>
class ControlAccessible : public QAccessibleWidget
{
public:
    ControlAccessible(Control *control, QAccessible::Role role)
        : QAccessibleWidget(control, role)
    { }

    // Invalid while the control is being destroyed, when only its QWidget part is left.
    bool isValid() const override { return QAccessibleWidget::isValid() && control(); }

protected:
    Control *control() const { return qobject_cast<Control *>(object()); }

    // The host's accessible name, or else the caption the control shows.
    QString nameOrCaption(QAccessible::Text text) const
    {
        const Control *shown = control();
        if (text == QAccessible::Name && shown && widget()->accessibleName().isEmpty())
            return shown->Caption();
        return QAccessibleWidget::text(text);
    }
};

class XGradProgressAccessible : public ControlAccessible<XGradProgress>, public QAccessibleValueInterface
{
public:
    explicit XGradProgressAccessible(XGradProgress *bar)
        : ControlAccessible(bar, QAccessible::ProgressBar)
    { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The value as the share of the range it fills, as a progress bar reads it out.
    QString text(QAccessible::Text text) const override
    {
        const XGradProgress *bar = control();
        if (text != QAccessible::Value || !bar)
            return QAccessibleWidget::text(text);
        const qint64 span = qint64(bar->Max()) - bar->Min();
        if (span <= 0)
            return {};
        const qint64 percent = (qint64(bar->Value()) - bar->Min()) * 100 / span;
        return QString::number(qBound(qint64(0), percent, qint64(100))) + u'%';
    }

    QVariant currentValue() const override { return control() ? control()->Value() : QVariant(); }
    // The bar shows how far a task is; only its host moves it.
    void setCurrentValue(const QVariant &) override { }
    QVariant maximumValue() const override { return control() ? control()->Max() : QVariant(); }
    QVariant minimumValue() const override { return control() ? control()->Min() : QVariant(); }
    QVariant minimumStepSize() const override { return 0; }
};

class XShpLabelAccessible : public ControlAccessible<XShpLabel>
{
public:
    explicit XShpLabelAccessible(XShpLabel *marker)
        : ControlAccessible(marker, QAccessible::Button)
    { }

    QString text(QAccessible::Text text) const override { return nameOrCaption(text); }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        // A lit marker is the current one among its row; "active" is how AT-SPI says
        // current for an element inside its container. Its own flag, so a marker in a
        // disabled window is still the current one.
        if (const XShpLabel *marker = control())
            state.active = marker->Enabled();
        return state;
    }
};

class XGlowLabelAccessible : public ControlAccessible<XGlowLabel>
{
public:
    explicit XGlowLabelAccessible(XGlowLabel *caption)
        : ControlAccessible(caption, QAccessible::StaticText)
    { }

    QString text(QAccessible::Text text) const override { return nameOrCaption(text); }
};

QAccessibleInterface *controlInterface(const QString &className, QObject *object)
{
    // Qt asks with each class name of the object, most derived first, so a subclass of a
    // control speaks as that control unless it brings an interface of its own.
    if (className == QLatin1String(XGradProgress::staticMetaObject.className()))
        return new XGradProgressAccessible(static_cast<XGradProgress *>(object));
    if (className == QLatin1String(XShpLabel::staticMetaObject.className()))
        return new XShpLabelAccessible(static_cast<XShpLabel *>(object));
    if (className == QLatin1String(XGlowLabel::staticMetaObject.className()))
        return new XGlowLabelAccessible(static_cast<XGlowLabel *>(object));
    return nullptr;
}

} // namespace

void installFactory()
{
    QAccessible::installFactory(controlInterface);
}

void announceCaptionChange(QWidget *control)
{
    if (!control->accessibleName().isEmpty())
        return;
    QAccessibleEvent event(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void announceValueChange(QWidget *bar, int value)
{
    QAccessibleValueChangeEvent event(bar, value);
    QAccessible::updateAccessibility(&event);
}

// In place as soon as the library is loaded, before any control exists, so that a program
// using the controls needs to do nothing for it.
Q_CONSTRUCTOR_FUNCTION(installFactory)

} // namespace Lustrel::Accessibility
