#include "xglowlabel.h"

#include "accessibility_p.h"
#include "colorcontrast_p.h"
#include "controlpacing_p.h"
#include "delayservice.h"
#include "errorrecord.h"
#include "inputevents_p.h"
#include "panelborder_p.h"
#include "propertybag.h"
#include "propertyvalues_p.h"

#include <QApplication>
#include <QBasicTimer>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScopeGuard>
#include <QThread>
#include <QTimerEvent>

namespace Lustrel {

using namespace PropertyValues;

namespace {

constexpr OleColor DefaultBackColor = SystemColor::ButtonFace;
constexpr OleColor DefaultForeColor = SystemColor::ButtonText;
constexpr qint16 DefaultBackStyle = 1;
constexpr qint16 DefaultBorderStyle = 0;
constexpr qint16 DefaultAlignment = 0;
constexpr qint16 DefaultAppearance = 1;
const QString DefaultCaption = QStringLiteral("Label1");
constexpr int PausePerTick = 50;

// An Integer first; of those the caption takes only the values it knows.
qint16 captionSetting(int value, int highest)
{
    const qint16 setting = toInteger(value);
    if (setting < 0 || setting > highest)
        raiseError(ErrorNumber::InvalidPropertyValue);
    return setting;
}

qint32 timerInterval(qint32 milliseconds)
{
    if (milliseconds < 0 || milliseconds > 65535)
        raiseError(ErrorNumber::InvalidPropertyValue);
    return milliseconds;
}

// Whether the thread is waiting inside a nested event loop other than a modal window's, such as
// another control's pause. A tick there would hold that wait for its own pause, and at one tick
// per Interval it would hold it beat after beat.
bool insideAnotherWait()
{
    const int outermost = QApplication::activeModalWidget() ? 2 : 1;
    return QThread::currentThread()->loopLevel() > outermost;
}

// What a caption with a see-through background stands on: the background of the nearest widget
// behind it that paints one.
QColor groundBehind(const QWidget *widget)
{
    for (const QWidget *behind = widget->parentWidget(); behind; behind = behind->parentWidget()) {
        if (behind->autoFillBackground() || behind->isWindow())
            return behind->palette().color(behind->backgroundRole());
    }
    return widget->palette().color(QPalette::Window);
}

// The whole-pixel steps around the text that its rim covers: a pixel wide for every 14 pixels of
// the letters' height, at least one. Wider, it fills the small letters' openings.
QList<QPoint> rimOffsets(const QFont &font)
{
    const int radius = qMax(1, QFontInfo(font).pixelSize() / 14);
    QList<QPoint> offsets;
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            if ((dx || dy) && dx * dx + dy * dy <= radius * radius + radius)
                offsets.append(QPoint(dx, dy));
        }
    }
    return offsets;
}

// Adds `step` to the counter chain, carrying into the next counter when one passes its end.
void advance(XGlowLabel::GlowState &state, int step)
{
    const int end = step > 0 ? 255 : 0;
    const auto pastEnd = [&](qint16 counter) {
        return step > 0 ? counter > 255 : counter < 0;
    };
    state.blue = qint16(state.blue + step);
    if (!pastEnd(state.blue))
        return;
    state.blue = qint16(end);
    state.green = qint16(state.green + step);
    if (!pastEnd(state.green))
        return;
    state.green = qint16(end);
    state.third = qint16(state.third + step);
    if (pastEnd(state.third))
        state.third = qint16(end);
}

} // namespace

class XGlowLabelPrivate
{
public:
    OleColor backColor = DefaultBackColor;
    OleColor foreColor = DefaultForeColor;
    qint16 backStyle = DefaultBackStyle;
    qint16 borderStyle = DefaultBorderStyle;
    qint16 alignment = DefaultAlignment;
    qint16 appearance = DefaultAppearance;
    QString caption = DefaultCaption;
    qint32 interval = 0;
    QBasicTimer timer;
    XGlowLabel::GlowState glow;
    // The pause inside a tick runs the event loop, where the timer fires again: that tick waits
    // for the running one to end instead of nesting in it.
    bool inTick = false;
    bool tickDeferred = false;
    bool tickQueued = false;
    DelayService *delayService = nullptr;
    InputEvents::ClickState clicks;

    // Runs the timer at the period of Interval, except in a form editor, where the pulse would
    // pause inside the editor.
    void applyInterval(XGlowLabel *label)
    {
        if (interval > 0 && !label->designMode()) {
            timer.start(interval, label);
        } else {
            timer.stop();
            tickDeferred = false;
        }
    }
};

QString XGlowLabel::staticProgId()
{
    return QStringLiteral("Lustrel.XGlowLabel");
}

QUuid XGlowLabel::staticClassId()
{
    return QUuid(0xdb0621e6, 0x7e08, 0x423e, 0x8f, 0x11, 0x6a, 0x9e, 0x14, 0xee, 0x33, 0xb4);
}

XGlowLabel::XGlowLabel(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<XGlowLabelPrivate>())
{
    setObjectName(QStringLiteral("XGlowLabel1"));
    // Clicking the caption gives it the keyboard, so its key events can fire.
    setFocusPolicy(Qt::ClickFocus);
}

XGlowLabel::~XGlowLabel() = default;

OleColor XGlowLabel::BackColor() const
{
    return d->backColor;
}

void XGlowLabel::setBackColor(OleColor color)
{
    d->backColor = color;
    Q_EMIT propertyChanged(QStringLiteral("BackColor"));
}

OleColor XGlowLabel::ForeColor() const
{
    return d->foreColor;
}

void XGlowLabel::setForeColor(OleColor color)
{
    d->foreColor = color;
    Q_EMIT propertyChanged(QStringLiteral("ForeColor"));
}

bool XGlowLabel::Enabled() const
{
    return ownEnabled(this);
}

void XGlowLabel::setEnabled(bool enabled)
{
    QWidget::setEnabled(enabled);
    Q_EMIT propertyChanged(QStringLiteral("Enabled"));
}

QFont XGlowLabel::Font() const
{
    return font();
}

void XGlowLabel::setFont(const QFont &font)
{
    applyFont(this, font);
    Q_EMIT propertyChanged(QStringLiteral("Font"));
}

int XGlowLabel::BackStyle() const
{
    return d->backStyle;
}

void XGlowLabel::setBackStyle(int style)
{
    put([&] {
        d->backStyle = captionSetting(style, 1);
        Q_EMIT propertyChanged(QStringLiteral("BackStyle"));
    });
}

int XGlowLabel::BorderStyle() const
{
    return d->borderStyle;
}

void XGlowLabel::setBorderStyle(int style)
{
    put([&] {
        d->borderStyle = captionSetting(style, 1);
        Q_EMIT propertyChanged(QStringLiteral("BorderStyle"));
    });
}

int XGlowLabel::Alignment() const
{
    return d->alignment;
}

void XGlowLabel::setAlignment(int alignment)
{
    put([&] {
        d->alignment = captionSetting(alignment, 2);
        Q_EMIT propertyChanged(QStringLiteral("Alignment"));
    });
}

int XGlowLabel::Appearance() const
{
    return d->appearance;
}

void XGlowLabel::setAppearance(int appearance)
{
    put([&] {
        d->appearance = captionSetting(appearance, 1);
        Q_EMIT propertyChanged(QStringLiteral("Appearance"));
    });
}

QString XGlowLabel::Caption() const
{
    return d->caption;
}

void XGlowLabel::setCaption(const QString &caption)
{
    d->caption = caption;
    Q_EMIT propertyChanged(QStringLiteral("Caption"));
    Accessibility::announceCaptionChange(this);
}

qint32 XGlowLabel::Interval() const
{
    return d->interval;
}

void XGlowLabel::setInterval(qint32 milliseconds)
{
    put([&] {
        d->interval = timerInterval(milliseconds);
        // Only the period changes: the pulse goes on from where it stands.
        d->applyInterval(this);
        Q_EMIT propertyChanged(QStringLiteral("Interval"));
    });
}

void XGlowLabel::Refresh()
{
    repaint();
}

void XGlowLabel::Tick()
{
    if (d->inTick) {
        d->tickDeferred = true;
        return;
    }
    d->inTick = true;
    const QPointer<XGlowLabel> alive(this);
    const auto endTick = qScopeGuard([&] {
        if (!alive) // the host may close the window during the pause
            return;
        d->inTick = false;
        if (std::exchange(d->tickDeferred, false))
            scheduleTick();
    });

    GlowState &glow = d->glow;
    if (!glow.falling) {
        advance(glow, 10);
        if (glow.blue == 255 && glow.green == 255 && glow.third == 255)
            glow.falling = true;
    } else {
        advance(glow, -10);
        if (glow.blue == 0 && glow.green == 0 && glow.third == 0)
            glow.falling = false;
    }
    d->foreColor = oleColorFromRgb(0, glow.green, glow.blue);
    update();

    DelayService &delay = d->delayService ? *d->delayService : DelayService::forCurrentThread();
    delay.Pause(PausePerTick);
}

void XGlowLabel::scheduleTick()
{
    if (std::exchange(d->tickQueued, true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            d->tickQueued = false;
            if (insideAnotherWait()) // skipped; the pulse goes on when that wait has ended
                return;
            // A tick has no caller to hand a failure to; it ends the tick and the next one
            // tries again.
            runTrapped([this] { Tick(); },
                       [](const ErrorRecord &error) {
                           qWarning("Lustrel.XGlowLabel: tick failed: error %d, %s", error.number,
                                    qPrintable(error.description));
                       });
        },
        Qt::QueuedConnection);
}

XGlowLabel::GlowState XGlowLabel::glowState() const
{
    return d->glow;
}

void ControlPacing::setDelayService(XGlowLabel &label, DelayService *service)
{
    label.d->delayService = service;
}

void XGlowLabel::InitProperties() { }

void XGlowLabel::ReadProperties(const PropertyBag &bag)
{
    d->backColor = readColor(bag, QStringLiteral("BackColor"), DefaultBackColor);
    d->foreColor = readColor(bag, QStringLiteral("ForeColor"), DefaultForeColor);
    QWidget::setEnabled(readBoolean(bag, QStringLiteral("Enabled"), true));
    applyFont(this, readFont(bag, QStringLiteral("Font"), ambientFont(this)));
    d->backStyle = captionSetting(readInteger(bag, QStringLiteral("BackStyle"), DefaultBackStyle), 1);
    d->borderStyle = captionSetting(readInteger(bag, QStringLiteral("BorderStyle"), DefaultBorderStyle), 1);
    d->alignment = captionSetting(readInteger(bag, QStringLiteral("Alignment"), DefaultAlignment), 2);
    d->appearance = captionSetting(readInteger(bag, QStringLiteral("Appearance"), DefaultAppearance), 1);
    d->caption = readText(bag, QStringLiteral("Caption"), DefaultCaption);
    d->interval = timerInterval(readLong(bag, QStringLiteral("Interval"), 0));
    d->applyInterval(this);
}

void XGlowLabel::WriteProperties(PropertyBag &bag) const
{
    writeColor(bag, QStringLiteral("BackColor"), d->backColor, DefaultBackColor);
    writeColor(bag, QStringLiteral("ForeColor"), d->foreColor, DefaultForeColor);
    writeBoolean(bag, QStringLiteral("Enabled"), ownEnabled(this), true);
    writeFont(bag, QStringLiteral("Font"), font(), ambientFont(this));
    writeInteger(bag, QStringLiteral("BackStyle"), d->backStyle, DefaultBackStyle);
    writeInteger(bag, QStringLiteral("BorderStyle"), d->borderStyle, DefaultBorderStyle);
    writeInteger(bag, QStringLiteral("Alignment"), d->alignment, DefaultAlignment);
    writeInteger(bag, QStringLiteral("Appearance"), d->appearance, DefaultAppearance);
    writeText(bag, QStringLiteral("Caption"), d->caption, DefaultCaption);
    writeLong(bag, QStringLiteral("Interval"), d->interval, 0);
}

QSize XGlowLabel::sizeHint() const
{
    const QSize text = fontMetrics().size(0, d->caption);
    const int border = 2 * panelBorderWidth(d->borderStyle);
    return { text.width() + border, text.height() + border };
}

void XGlowLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor background = resolveOleColor(d->backColor, palette());
    if (d->backStyle == 1 && background.isValid())
        painter.fillRect(rect(), background);
    const int border = panelBorderWidth(d->borderStyle);
    if (border)
        drawPanelBorder(painter, rect(), d->appearance, palette());

    // A disabled caption shows its text in the scheme's disabled text colour.
    const QColor text = isEnabled() ? resolveOleColor(d->foreColor, palette())
                                    : palette().color(QPalette::Disabled, QPalette::WindowText);
    if (!text.isValid())
        return;
    static constexpr Qt::Alignment horizontal[] = { Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter };
    const QRect area = rect().adjusted(border, border, -border, -border);
    const int flags = int(horizontal[d->alignment] | Qt::AlignTop) | Qt::TextWordWrap;

    // The pulse passes through colours that vanish on any one ground, cyan on white and black on
    // a dark scheme. Where the letters stand out more from a rim than from the ground, they get
    // one: an outline that follows them, so no plate shows behind the caption.
    const QColor ground = d->backStyle == 1 && background.isValid() ? background : groundBehind(this);
    const QColor rim = blackOrWhiteOn(ground);
    if (contrastRatio(text, rim) > contrastRatio(text, ground)) {
        painter.setPen(rim);
        for (const QPoint &offset : rimOffsets(font()))
            painter.drawText(area.translated(offset), flags, d->caption);
    }
    painter.setPen(text);
    painter.drawText(area, flags, d->caption);
}

void XGlowLabel::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != d->timer.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    if (designMode()) {
        d->timer.stop();
        return;
    }
    // The tick runs after this event has returned: a timer does not fire again while its own
    // event is being handled, so a tick paused in here would lose every beat of its pause.
    if (d->inTick)
        d->tickDeferred = true;
    else
        scheduleTick();
}

void XGlowLabel::mousePressEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseDown(this, event);
}

void XGlowLabel::mouseMoveEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseMove(this, event);
}

void XGlowLabel::mouseReleaseEvent(QMouseEvent *event)
{
    InputEvents::raiseMouseUp(this, event, d->clicks);
}

void XGlowLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    InputEvents::raiseDblClick(this, event, d->clicks);
}

void XGlowLabel::keyPressEvent(QKeyEvent *event)
{
    InputEvents::raiseKeyDown(this, event);
}

void XGlowLabel::keyReleaseEvent(QKeyEvent *event)
{
    InputEvents::raiseKeyUp(this, event);
}

} // namespace Lustrel
