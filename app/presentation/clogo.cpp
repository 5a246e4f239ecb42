#include "clogo.h"

#include "errorrecord.h"
#include "logosurface.h"
#include "numbers.h"

#include <QFontMetricsF>
#include <QPainter>
#include <array>
#include <cmath>

namespace {

using Channels = std::array<qint16, 3>;

// Red, green and blue of a colour value; a scheme entry the palette does not know counts as 0.
Channels channelsOf(Lustrel::OleColor color, const QPalette &palette)
{
    const QColor resolved = Lustrel::resolveOleColor(color, palette);
    if (!resolved.isValid())
        return { 0, 0, 0 };
    const QColor rgb = resolved.toRgb();
    return { qint16(rgb.red()), qint16(rgb.green()), qint16(rgb.blue()) };
}

// a * b / c rounded to the nearest whole number, halves away from zero.
int mulDiv(int a, int b, int c)
{
    return int(std::lround(double(a) * b / c));
}

// The caption's font at its size in pixels for the surface: the point size, rounded to a whole
// number, scaled to the surface's resolution. Bold, italic, underline and strike-out come with it.
QFont captionFontFor(const LogoSurface &surface)
{
    QFont font = surface.captionFont();
    if (font.pointSizeF() > 0) {
        const int points = Numbers::toInteger(font.pointSizeF());
        font.setPixelSize(qMax(1, mulDiv(points, surface.captionDpiY(), 72)));
    }
    return font;
}

} // namespace

cLogo::cLogo()
{
    setStartColor(0);
    setEndColor(Lustrel::SystemColor::ButtonFace);
}

void cLogo::setImageList(const QList<QPixmap> &images)
{
    m_images = images;
}

void cLogo::setIconIndex(qint32 index)
{
    m_iconIndex = index;
}

void cLogo::setCaption(const QString &caption)
{
    m_caption = caption;
}

void cLogo::setDrawingObject(LogoSurface *surface)
{
    m_surface = surface;
    m_surfaceObject = dynamic_cast<QObject *>(surface);
    m_surfaceIsObject = !m_surfaceObject.isNull();
}

LogoSurface *cLogo::drawingObject() const
{
    if (m_surfaceIsObject && m_surfaceObject.isNull())
        return nullptr;
    return m_surface;
}

void cLogo::setStartColor(Lustrel::OleColor color)
{
    if (color == m_startColor)
        return;
    m_startColor = color;
    if (drawingObject())
        Draw();
}

void cLogo::setEndColor(Lustrel::OleColor color)
{
    if (color == m_endColor)
        return;
    m_endColor = color;
    if (drawingObject())
        Draw();
}

void cLogo::Draw()
{
    runTrapped([this] { paint(); }, [](const ErrorRecord &) {});
}

void cLogo::paint()
{
    LogoSurface *surface = drawingObject();
    if (!surface)
        return;
    const QSize size = surface->pixelSize();
    const int height = size.height();
    const int width = size.width();
    const int band = qMax(1, height / 255);

    const QPalette palette = surface->schemePalette();
    const Channels start = channelsOf(m_startColor, palette);
    const Channels end = channelsOf(m_endColor, palette);
    std::array<double, 3> difference {};
    for (std::size_t i = 0; i < 3; ++i)
        difference[i] = double(end[i] - start[i]);

    std::unique_ptr<QPainter> painter = surface->beginPaint();
    if (!painter)
        return;

    // Each band takes the colour worked out after the band below it was filled, from the y of
    // that fill: so the two lowest bands both have the start colour, and the top row stops a
    // band or two short of the end colour. The last band lies partly or wholly above the top.
    Channels current = start;
    int bottom = height;
    for (int y = height; y >= 0; y -= band) {
        const int top = bottom - band;
        painter->fillRect(QRect(0, top, width, band), QColor(current[0], current[1], current[2]));
        bottom = top;
        for (std::size_t i = 0; i < 3; ++i)
            current[i] = Numbers::toInteger(double(height - y) * difference[i] / height + start[i]);
    }

    int textBottom = height - 2;
    if (!m_images.isEmpty() && m_iconIndex > 0) {
        if (m_iconIndex < m_images.size())
            painter->drawPixmap(QRect((width - 16) / 2, height - 18, 16, 16), m_images.at(m_iconIndex));
        textBottom = height - 20;
    }

    if (!m_caption.isEmpty()) {
        // The caption's top edge lies along x = 0 and it reads from textBottom upwards; its
        // colour and background are the surface's own.
        const QFont font = captionFontFor(*surface);
        painter->setFont(font);
        painter->translate(0, textBottom);
        painter->rotate(-90);
        painter->drawText(QPointF(0, QFontMetricsF(font, painter->device()).ascent()), m_caption);
    }

    painter.reset();
    surface->refresh();
}
