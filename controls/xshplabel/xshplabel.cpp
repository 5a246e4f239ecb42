#include "xshplabel.h"

#include "accessibility_p.h"
#include "inputevents_p.h"
#include "propertybag.h"
#include "propertyvalues_p.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>
#include <optional>

namespace Lustrel {

using namespace PropertyValues;

namespace {

// One of the two looks, or the settings the circle and caption were last given.
struct Look
{
    OleColor borderColor = 0;
    qint16 borderStyle = 0;
    qint16 borderWidth = 1;
    OleColor fillColor = 0;
    qint16 fillStyle = 0;
    OleColor foreColor = 0;
};

constexpr Look EnabledDefaults { 0, 0, 1, SystemColor::ActiveTitleBar, 0, SystemColor::ActiveTitleBarText };
constexpr Look DisabledDefaults {
    0, 0, 1, SystemColor::InactiveTitleBar, 0, SystemColor::InactiveTitleBarText
};

std::optional<Qt::PenStyle> penStyle(qint16 borderStyle)
{
    switch (borderStyle) {
    case 0:
        return Qt::NoPen;
    case 1:
    case 6: // solid, kept inside the box: every outline is drawn inside it here
        return Qt::SolidLine;
    case 2:
        return Qt::DashLine;
    case 3:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return std::nullopt;
    }
}

std::optional<Qt::BrushStyle> brushStyle(qint16 fillStyle)
{
    switch (fillStyle) {
    case 0:
        return Qt::SolidPattern;
    case 1:
        return Qt::NoBrush;
    case 2:
        return Qt::HorPattern;
    case 3:
        return Qt::VerPattern;
    case 4:
        return Qt::BDiagPattern;
    case 5:
        return Qt::FDiagPattern;
    case 6:
        return Qt::CrossPattern;
    case 7:
        return Qt::DiagCrossPattern;
    default:
        return std::nullopt;
    }
}

} // namespace

class XShpLabelPrivate
{
public:
    Look enabledLook = EnabledDefaults;
    Look disabledLook = DisabledDefaults;
    // Unset, the disabled caption follows the ambient font as Font does.
    std::optional<QFont> disabledFont;
    QString caption = QStringLiteral("Label1");
    QPointF captionTopLeft;
    // The font the caption box was centred for.
    QFont layoutFont;
    // What the circle and the caption show, as the last paint left them.
    Look applied = EnabledDefaults;
    QFont appliedFont;
    InputEvents::ClickState clicks;

    // Gives the parts the chosen look in order; a value a part cannot take ends it there.
    void apply(const Look &look, const QFont &font)
    {
        applied.borderColor = look.borderColor;
        if (!penStyle(look.borderStyle))
            return;
        applied.borderStyle = look.borderStyle;
        if (look.borderWidth < 1)
            return;
        applied.borderWidth = look.borderWidth;
        applied.fillColor = look.fillColor;
        if (!brushStyle(look.fillStyle))
            return;
        applied.fillStyle = look.fillStyle;
        appliedFont = font;
        applied.foreColor = look.foreColor;
    }

    // The caption box fits its text in the font it is centred for.
    QSizeF captionSize() const { return QFontMetricsF(layoutFont).size(0, caption); }

    // Centres the caption box, in `font`, in a control of `size`.
    void layoutParts(const QSize &size, const QFont &font)
    {
        layoutFont = font;
        const QSizeF box = captionSize();
        captionTopLeft = QPointF((size.width() - box.width()) / 2, (size.height() - box.height()) / 2);
    }
};

namespace {

// The caption font of the look the marker shows now.
QFont lookFont(const XShpLabel &marker)
{
    return marker.isEnabled() ? marker.font() : marker.DisabledFont();
}

} // namespace

QString XShpLabel::staticProgId()
{
    return QStringLiteral("Lustrel.XShpLabel");
}

QUuid XShpLabel::staticClassId()
{
    return QUuid(0x28243c80, 0xf875, 0x447c, 0x86, 0x0f, 0x58, 0x20, 0x1a, 0x5a, 0xeb, 0x99);
}

XShpLabel::XShpLabel(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<XShpLabelPrivate>())
{
    setObjectName(QStringLiteral("XShpLabel1"));
    // Clicking the marker gives it the keyboard, so its key events can fire.
    setFocusPolicy(Qt::ClickFocus);
    d->appliedFont = font();
    d->layoutParts(size(), font());
}

XShpLabel::~XShpLabel() = default;

OleColor XShpLabel::ForeColor() const
{
    return d->enabledLook.foreColor;
}

void XShpLabel::setForeColor(OleColor color)
{
    d->enabledLook.foreColor = color;
    Q_EMIT propertyChanged(QStringLiteral("ForeColor"));
}

bool XShpLabel::Enabled() const
{
    return ownEnabled(this);
}

void XShpLabel::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    Q_EMIT propertyChanged(QStringLiteral("Enabled"));
    Refresh();
}

QFont XShpLabel::Font() const
{
    return font();
}

void XShpLabel::setFont(const QFont &font)
{
    applyFont(this, font);
    Q_EMIT propertyChanged(QStringLiteral("Font"));
}

int XShpLabel::BorderStyle() const
{
    return d->enabledLook.borderStyle;
}

void XShpLabel::setBorderStyle(int style)
{
    put([&] {
        d->enabledLook.borderStyle = toInteger(style);
        Q_EMIT propertyChanged(QStringLiteral("BorderStyle"));
    });
}

OleColor XShpLabel::BorderColor() const
{
    return d->enabledLook.borderColor;
}

void XShpLabel::setBorderColor(OleColor color)
{
    d->enabledLook.borderColor = color;
    Q_EMIT propertyChanged(QStringLiteral("BorderColor"));
}

int XShpLabel::BorderWidth() const
{
    return d->enabledLook.borderWidth;
}

void XShpLabel::setBorderWidth(int width)
{
    put([&] {
        d->enabledLook.borderWidth = toInteger(width);
        Q_EMIT propertyChanged(QStringLiteral("BorderWidth"));
    });
}

QString XShpLabel::Caption() const
{
    return d->caption;
}

void XShpLabel::setCaption(const QString &caption)
{
    // The box keeps its top left corner and fits the new text; it is centred again only by
    // the next resize or show.
    d->caption = caption;
    Q_EMIT propertyChanged(QStringLiteral("Caption"));
    Accessibility::announceCaptionChange(this);
}

OleColor XShpLabel::FillColor() const
{
    return d->enabledLook.fillColor;
}

void XShpLabel::setFillColor(OleColor color)
{
    d->enabledLook.fillColor = color;
    Q_EMIT propertyChanged(QStringLiteral("FillColor"));
}

int XShpLabel::FillStyle() const
{
    return d->enabledLook.fillStyle;
}

void XShpLabel::setFillStyle(int style)
{
    put([&] {
        d->enabledLook.fillStyle = toInteger(style);
        Q_EMIT propertyChanged(QStringLiteral("FillStyle"));
    });
}

OleColor XShpLabel::DisabledBorderColor() const
{
    return d->disabledLook.borderColor;
}

void XShpLabel::setDisabledBorderColor(OleColor color)
{
    d->disabledLook.borderColor = color;
    Q_EMIT propertyChanged(QStringLiteral("DisabledBorderColor"));
}

int XShpLabel::DisabledBorderStyle() const
{
    return d->disabledLook.borderStyle;
}

void XShpLabel::setDisabledBorderStyle(int style)
{
    put([&] {
        d->disabledLook.borderStyle = toInteger(style);
        Q_EMIT propertyChanged(QStringLiteral("DisabledBorderStyle"));
    });
}

int XShpLabel::DisabledBorderWidth() const
{
    return d->disabledLook.borderWidth;
}

void XShpLabel::setDisabledBorderWidth(int width)
{
    put([&] {
        d->disabledLook.borderWidth = toInteger(width);
        Q_EMIT propertyChanged(QStringLiteral("DisabledBorderWidth"));
    });
}

OleColor XShpLabel::DisabledFillColor() const
{
    return d->disabledLook.fillColor;
}

void XShpLabel::setDisabledFillColor(OleColor color)
{
    d->disabledLook.fillColor = color;
    Q_EMIT propertyChanged(QStringLiteral("DisabledFillColor"));
}

int XShpLabel::DisabledFillStyle() const
{
    return d->disabledLook.fillStyle;
}

void XShpLabel::setDisabledFillStyle(int style)
{
    put([&] {
        d->disabledLook.fillStyle = toInteger(style);
        Q_EMIT propertyChanged(QStringLiteral("DisabledFillStyle"));
    });
}

QFont XShpLabel::DisabledFont() const
{
    return d->disabledFont.value_or(ambientFont(this));
}

void XShpLabel::setDisabledFont(const QFont &font)
{
    if (font == ambientFont(this))
        d->disabledFont.reset();
    else
        d->disabledFont = font;
    Q_EMIT propertyChanged(QStringLiteral("DisabledFont"));
}

OleColor XShpLabel::DisabledForeColor() const
{
    return d->disabledLook.foreColor;
}

void XShpLabel::setDisabledForeColor(OleColor color)
{
    d->disabledLook.foreColor = color;
    Q_EMIT propertyChanged(QStringLiteral("DisabledForeColor"));
}

void XShpLabel::Refresh()
{
    repaint();
}

QRectF XShpLabel::circleBox() const
{
    return QRectF(rect());
}

QRectF XShpLabel::captionBox() const
{
    return QRectF(d->captionTopLeft, d->captionSize());
}

void XShpLabel::InitProperties()
{
    d->enabledLook = EnabledDefaults;
    d->disabledLook = DisabledDefaults;
    applyFont(this, ambientFont(this));
    d->disabledFont.reset();
}

void XShpLabel::ReadProperties(const PropertyBag &bag)
{
    Look &on = d->enabledLook;
    Look &off = d->disabledLook;
    on.foreColor = readColor(bag, QStringLiteral("ForeColor"), EnabledDefaults.foreColor);
    QWidget::setEnabled(readBoolean(bag, QStringLiteral("Enabled"), true));
    applyFont(this, readFont(bag, QStringLiteral("Font"), ambientFont(this)));
    on.borderStyle = readInteger(bag, QStringLiteral("BorderStyle"), EnabledDefaults.borderStyle);
    on.borderColor = readColor(bag, QStringLiteral("BorderColor"), EnabledDefaults.borderColor);
    on.borderWidth = readInteger(bag, QStringLiteral("BorderWidth"), EnabledDefaults.borderWidth);
    d->caption = readText(bag, QStringLiteral("Caption"), QStringLiteral("Label1"));
    on.fillColor = readColor(bag, QStringLiteral("FillColor"), EnabledDefaults.fillColor);
    on.fillStyle = readInteger(bag, QStringLiteral("FillStyle"), EnabledDefaults.fillStyle);
    off.borderColor = readColor(bag, QStringLiteral("DisabledBorderColor"), DisabledDefaults.borderColor);
    off.borderStyle = readInteger(bag, QStringLiteral("DisabledBorderStyle"), DisabledDefaults.borderStyle);
    off.borderWidth = readInteger(bag, QStringLiteral("DisabledBorderWidth"), DisabledDefaults.borderWidth);
    off.fillColor = readColor(bag, QStringLiteral("DisabledFillColor"), DisabledDefaults.fillColor);
    off.fillStyle = readInteger(bag, QStringLiteral("DisabledFillStyle"), DisabledDefaults.fillStyle);
    const QFont disabledFont = readFont(bag, QStringLiteral("DisabledFont"), ambientFont(this));
    d->disabledFont.reset();
    if (disabledFont != ambientFont(this))
        d->disabledFont = disabledFont;
    off.foreColor = readColor(bag, QStringLiteral("DisabledForeColor"), DisabledDefaults.foreColor);
}

void XShpLabel::WriteProperties(PropertyBag &bag) const
{
    const Look &on = d->enabledLook;
    const Look &off = d->disabledLook;
    writeColor(bag, QStringLiteral("ForeColor"), on.foreColor, EnabledDefaults.foreColor);
    writeBoolean(bag, QStringLiteral("Enabled"), ownEnabled(this), true);
    writeFont(bag, QStringLiteral("Font"), font(), ambientFont(this));
    writeInteger(bag, QStringLiteral("BorderStyle"), on.borderStyle, EnabledDefaults.borderStyle);
    writeColor(bag, QStringLiteral("BorderColor"), on.borderColor, EnabledDefaults.borderColor);
    writeInteger(bag, QStringLiteral("BorderWidth"), on.borderWidth, EnabledDefaults.borderWidth);
    writeText(bag, QStringLiteral("Caption"), d->caption, QStringLiteral("Label1"));
    writeColor(bag, QStringLiteral("FillColor"), on.fillColor, EnabledDefaults.fillColor);
    writeInteger(bag, QStringLiteral("FillStyle"), on.fillStyle, EnabledDefaults.fillStyle);
    writeColor(bag, QStringLiteral("DisabledBorderColor"), off.borderColor, DisabledDefaults.borderColor);
    writeInteger(bag, QStringLiteral("DisabledBorderStyle"), off.borderStyle, DisabledDefaults.borderStyle);
    writeInteger(bag, QStringLiteral("DisabledBorderWidth"), off.borderWidth, DisabledDefaults.borderWidth);
    writeColor(bag, QStringLiteral("DisabledFillColor"), off.fillColor, DisabledDefaults.fillColor);
    writeInteger(bag, QStringLiteral("DisabledFillStyle"), off.fillStyle, DisabledDefaults.fillStyle);
    writeFont(bag, QStringLiteral("DisabledFont"), DisabledFont(), ambientFont(this));
    writeColor(bag, QStringLiteral("DisabledForeColor"), off.foreColor, DisabledDefaults.foreColor);
}

QSize XShpLabel::sizeHint() const
{
    // A circle that holds the caption with a little room around it.
    const QSizeF text = QFontMetricsF(font()).size(0, d->caption);
    const int side = qMax(24, qCeil(qMax(text.width(), text.height())) + 10);
    return { side, side };
}

void XShpLabel::paintEvent(QPaintEvent *)
{
    d->apply(isEnabled() ? d->enabledLook : d->disabledLook, lookFont(*this));
    if (d->appliedFont != d->layoutFont) // another font than the box was centred for
        d->layoutParts(size(), d->appliedFont);
    const Look &look = d->applied;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = circleBox();
    const qreal diameter = qMin(box.width(), box.height());
    QRectF circle(0, 0, diameter, diameter);
    circle.moveCenter(box.center());

    const Qt::PenStyle outline = penStyle(look.borderStyle).value_or(Qt::NoPen);
    const QColor outlineColor = resolveOleColor(look.borderColor, palette());
    QPen pen(Qt::NoPen);
    if (outline != Qt::NoPen && outlineColor.isValid()) {
        pen = QPen(outlineColor, look.borderWidth, outline);
        // Keep the whole stroke inside the box.
        circle.adjust(look.borderWidth / 2.0, look.borderWidth / 2.0, -look.borderWidth / 2.0,
                      -look.borderWidth / 2.0);
    }
    const QColor fillColor = resolveOleColor(look.fillColor, palette());
    const Qt::BrushStyle fill = brushStyle(look.fillStyle).value_or(Qt::NoBrush);
    painter.setPen(pen);
    painter.setBrush(fillColor.isValid() ? QBrush(fillColor, fill) : QBrush());
    if (circle.width() > 0)
        painter.drawEllipse(circle);

    const QColor textColor = resolveOleColor(look.foreColor, palette());
    if (textColor.isValid()) {
        painter.setFont(d->appliedFont);
        painter.setPen(textColor);
        painter.drawText(captionBox(), Qt::AlignLeft | Qt::AlignTop, d->caption);
    }
}

void XShpLabel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    d->layoutParts(size(), lookFont(*this));
}

void XShpLabel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    d->layoutParts(size(), lookFont(*this));
}

void XShpLabel::mousePressEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseDown(this, event);
}

void XShpLabel::mouseMoveEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseMove(this, event);
}

void XShpLabel::mouseReleaseEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseUp(this, event, d->clicks);
}

void XShpLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    InputEvents::raiseDblClick(this, event, d->clicks);
}

void XShpLabel::keyPressEvent(QKeyEvent *event)
{
    InputEvents::raiseKeyDown(this, event);
}

void XShpLabel::keyReleaseEvent(QKeyEvent *event)
{
    InputEvents::raiseKeyUp(this, event);
}

} // namespace Lustrel
