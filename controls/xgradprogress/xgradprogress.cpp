#include "xgradprogress.h"

#include "accessibility_p.h"
#include "controlpacing_p.h"
#include "delayservice.h"
#include "errorrecord.h"
#include "inputevents_p.h"
#include "panelborder_p.h"
#include "propertybag.h"
#include "propertyvalues_p.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace Lustrel {

using namespace PropertyValues;

namespace {

constexpr OleColor DefaultBackColor = SystemColor::ButtonFace;
constexpr OleColor DefaultStartColor = SystemColor::Highlight;
constexpr qint16 DefaultBorderStyle = 1;
constexpr qint16 DefaultAppearance = 1;

// One side of the cover: part / span of the inner width. Both are Integer differences taken
// with the overflow test; the quotient is a double, the result a single as the panel keeps it.
float coverExtent(qint32 partMinuend, qint32 partSubtrahend, qint16 max, qint16 min, int width)
{
    const qint16 part = toInteger(qint64(partMinuend) - partSubtrahend);
    const qint16 span = toInteger(qint64(max) - min);
    if (span == 0)
        raiseError(part == 0 ? ErrorNumber::Overflow : ErrorNumber::DivisionByZero);
    return float(double(part) / double(span) * width);
}

// The cover's width for `value`; a bar cannot draw a value above Max (its cover panel takes no
// negative width).
float coverWidthFor(qint16 value, qint16 min, qint16 max, int width)
{
    const float coverWidth = coverExtent(max, value, max, min, width);
    if (coverWidth < 0)
        raiseError(ErrorNumber::InvalidPropertyValue);
    return coverWidth;
}

qint16 panelSetting(int value)
{
    // An Integer first; of those the frame panel knows only "none/flat" and "single/sunken".
    const qint16 setting = toInteger(value);
    if (setting != 0 && setting != 1)
        raiseError(ErrorNumber::InvalidPropertyValue);
    return setting;
}

} // namespace

class XGradProgressPrivate
{
public:
    OleColor backColor = DefaultBackColor;
    OleColor startColor = DefaultStartColor;
    OleColor endColor = 0;
    qint16 backStyle = 0;
    qint16 borderStyle = DefaultBorderStyle;
    qint16 appearance = DefaultAppearance;
    qint16 min = 0;
    qint16 max = 0;
    qint16 orientation = 0;
    qint16 value = 0;
    // A new bar has its cover folded away, so it shows StartColor across its width.
    float coverLeft = 0;
    float coverWidth = 0;
    DelayService *delayService = nullptr;
    InputEvents::ClickState clicks;

    // Fails as a Value put would with Min, Max and Value as they stand. A form editor checks
    // this after each range put, since the form it saves puts them again when it is loaded.
    void requireValueDrawable() const
    {
        coverWidthFor(value, min, max, 1);
        coverExtent(value, min, max, min, 1);
    }
};

QString XGradProgress::staticProgId()
{
    return QStringLiteral("Lustrel.XGradProgress");
}

QUuid XGradProgress::staticClassId()
{
    return QUuid(0xffa77584, 0xb6fb, 0x4edf, 0xaa, 0xe0, 0xad, 0x32, 0x33, 0x12, 0x68, 0x35);
}

XGradProgress::XGradProgress(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<XGradProgressPrivate>())
{
    setObjectName(QStringLiteral("XGradProgress1"));
}

XGradProgress::~XGradProgress() = default;

OleColor XGradProgress::BackColor() const
{
    return d->backColor;
}

void XGradProgress::setBackColor(OleColor color)
{
    d->backColor = color;
    Q_EMIT propertyChanged(QStringLiteral("BackColor"));
}

bool XGradProgress::Enabled() const
{
    return ownEnabled(this);
}

void XGradProgress::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    Q_EMIT propertyChanged(QStringLiteral("Enabled"));
}

QFont XGradProgress::Font() const
{
    return font();
}

void XGradProgress::setFont(const QFont &font)
{
    applyFont(this, font);
    Q_EMIT propertyChanged(QStringLiteral("Font"));
}

int XGradProgress::BackStyle() const
{
    return d->backStyle;
}

void XGradProgress::setBackStyle(int style)
{
    put([&] {
        d->backStyle = toInteger(style);
        Q_EMIT propertyChanged(QStringLiteral("BackStyle"));
    });
}

int XGradProgress::BorderStyle() const
{
    return d->borderStyle;
}

void XGradProgress::setBorderStyle(int style)
{
    put([&] {
        d->borderStyle = panelSetting(style);
        Q_EMIT propertyChanged(QStringLiteral("BorderStyle"));
    });
}

int XGradProgress::Appearance() const
{
    return d->appearance;
}

void XGradProgress::setAppearance(int appearance)
{
    put([&] {
        d->appearance = panelSetting(appearance);
        Q_EMIT propertyChanged(QStringLiteral("Appearance"));
    });
}

OleColor XGradProgress::EndColor() const
{
    return d->endColor;
}

void XGradProgress::setEndColor(OleColor color)
{
    d->endColor = color;
    Q_EMIT propertyChanged(QStringLiteral("EndColor"));
}

int XGradProgress::Min() const
{
    return d->min;
}

void XGradProgress::setMin(int value)
{
    put(*d, [&] {
        d->min = toInteger(value);
        if (designMode())
            d->requireValueDrawable();
        Q_EMIT propertyChanged(QStringLiteral("Min"));
    });
}

int XGradProgress::Max() const
{
    return d->max;
}

void XGradProgress::setMax(int value)
{
    put(*d, [&] {
        d->max = toInteger(value);
        if (designMode())
            d->requireValueDrawable();
        Q_EMIT propertyChanged(QStringLiteral("Max"));
    });
}

int XGradProgress::Orientation() const
{
    return d->orientation;
}

void XGradProgress::setOrientation(int orientation)
{
    put([&] {
        d->orientation = toInteger(orientation);
        Q_EMIT propertyChanged(QStringLiteral("Orientation"));
    });
}

int XGradProgress::Value() const
{
    return d->value;
}

void XGradProgress::setValue(int value)
{
    put(*d, [&] {
        const qint16 before = d->value;
        d->value = toInteger(value);
        Q_EMIT propertyChanged(QStringLiteral("Value"));
        if (d->value != before)
            Accessibility::announceValueChange(this, d->value);

        const int width = innerWidth();
        // Width before left edge: a failure in between leaves the new width with the old edge.
        d->coverWidth = coverWidthFor(d->value, d->min, d->max, width);
        update();
        d->coverLeft = coverExtent(d->value, d->min, d->max, d->min, width);
        if (designMode()) // a bar too narrow to show it must still refuse what the form cannot load
            d->requireValueDrawable();
    });
}

OleColor XGradProgress::ForeColor() const
{
    return 0;
}

void XGradProgress::setForeColor(OleColor)
{
    Q_EMIT propertyChanged(QStringLiteral("ForeColor"));
}

OleColor XGradProgress::StartColor() const
{
    return d->startColor;
}

void XGradProgress::setStartColor(OleColor color)
{
    d->startColor = color;
    Q_EMIT propertyChanged(QStringLiteral("StartColor"));
}

void XGradProgress::Refresh()
{
    update();
}

qint32 XGradProgress::IncreaseTo(qint32 newValue)
{
    const qint32 target = newValue;
    if (target < d->value)
        return 0;
    DelayService &delay = d->delayService ? *d->delayService : DelayService::forCurrentThread();
    const QPointer<XGradProgress> alive(this);
    for (qint64 count = d->value; count <= target; ++count) {
        setValue(int(count));
        delay.Pause(1);
        if (!alive) // the host closed the bar's window during the pause
            return 0;
    }
    return 0;
}

float XGradProgress::coverLeft() const
{
    return d->coverLeft;
}

float XGradProgress::coverWidth() const
{
    return d->coverWidth;
}

int XGradProgress::innerWidth() const
{
    return qMax(0, width() - 2 * panelBorderWidth(d->borderStyle));
}

void ControlPacing::setDelayService(XGradProgress &bar, DelayService *service)
{
    bar.d->delayService = service;
}

void XGradProgress::InitProperties()
{
    d->value = 0;
    d->backStyle = 0;
    d->endColor = 0;
    d->min = 0;
    d->max = 0;
    d->orientation = 0;
}

void XGradProgress::ReadProperties(const PropertyBag &bag)
{
    d->backColor = readColor(bag, QStringLiteral("BackColor"), DefaultBackColor);
    QWidget::setEnabled(readBoolean(bag, QStringLiteral("Enabled"), true));
    applyFont(this, readFont(bag, QStringLiteral("Font"), ambientFont(this)));
    d->backStyle = readInteger(bag, QStringLiteral("BackStyle"), 0);
    d->borderStyle = panelSetting(readInteger(bag, QStringLiteral("BorderStyle"), DefaultBorderStyle));
    d->appearance = panelSetting(readInteger(bag, QStringLiteral("Appearance"), DefaultAppearance));
    d->endColor = readColor(bag, QStringLiteral("EndColor"), 0);
    d->min = readInteger(bag, QStringLiteral("Min"), 0);
    d->max = readInteger(bag, QStringLiteral("Max"), 0);
    d->orientation = readInteger(bag, QStringLiteral("Orientation"), 0);
    // Stored only: the cover stays where it is until the next put.
    d->value = readInteger(bag, QStringLiteral("Value"), 0);
    d->startColor = readColor(bag, QStringLiteral("StartColor"), DefaultStartColor);
}

void XGradProgress::WriteProperties(PropertyBag &bag) const
{
    writeColor(bag, QStringLiteral("BackColor"), d->backColor, DefaultBackColor);
    writeBoolean(bag, QStringLiteral("Enabled"), ownEnabled(this), true);
    writeFont(bag, QStringLiteral("Font"), font(), ambientFont(this));
    writeInteger(bag, QStringLiteral("BackStyle"), d->backStyle, 0);
    writeInteger(bag, QStringLiteral("BorderStyle"), d->borderStyle, DefaultBorderStyle);
    writeInteger(bag, QStringLiteral("Appearance"), d->appearance, DefaultAppearance);
    writeColor(bag, QStringLiteral("EndColor"), d->endColor, 0);
    writeInteger(bag, QStringLiteral("Min"), d->min, 0);
    writeInteger(bag, QStringLiteral("Max"), d->max, 0);
    writeInteger(bag, QStringLiteral("Orientation"), d->orientation, 0);
    writeInteger(bag, QStringLiteral("Value"), d->value, 0);
    writeColor(bag, QStringLiteral("StartColor"), d->startColor, DefaultStartColor);
}

QSize XGradProgress::sizeHint() const
{
    return { 200, 18 };
}

void XGradProgress::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int border = panelBorderWidth(d->borderStyle);
    const QRect inner = rect().adjusted(border, border, -border, -border);
    // Colours resolve now, so scheme colours follow the palette in force at this paint.
    const QColor filled = resolveOleColor(d->startColor, palette());
    const QColor unfilled = resolveOleColor(d->backColor, palette());
    if (filled.isValid())
        painter.fillRect(inner, filled);
    // Whole pixels at both ends of the cover keep the edge between the two colours sharp.
    const int left = inner.left() + qRound(d->coverLeft);
    const int right = inner.left() + qRound(d->coverLeft + d->coverWidth);
    const QRect cover =
        QRect(QPoint(left, inner.top()), QPoint(right - 1, inner.bottom())).intersected(inner);
    if (unfilled.isValid() && !cover.isEmpty())
        painter.fillRect(cover, unfilled);
    if (border)
        drawPanelBorder(painter, rect(), d->appearance, palette());
}

void XGradProgress::mousePressEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseDown(this, event);
}

void XGradProgress::mouseMoveEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseMove(this, event);
}

void XGradProgress::mouseReleaseEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseUp(this, event, d->clicks);
}

void XGradProgress::mouseDoubleClickEvent(QMouseEvent *event)
{
    InputEvents::raiseDblClick(this, event, d->clicks);
}

void XGradProgress::keyPressEvent(QKeyEvent *event)
{
    InputEvents::raiseKeyDown(this, event);
}

void XGradProgress::keyReleaseEvent(QKeyEvent *event)
{
    InputEvents::raiseKeyUp(this, event);
}

} // namespace Lustrel
