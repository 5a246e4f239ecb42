#pragma once

#include "olecolor.h"

#include <QList>
#include <QPixmap>
#include <QPointer>
#include <QString>

class LogoSurface;

// Paints a vertical banner on a surface: a gradient in horizontal bands from the start colour at
// the bottom to the end colour at the top, an optional 16 by 16 icon centred near the bottom,
// and the caption written upwards along the left edge above it. Colours are OLE colour values;
// scheme colours (0x800000nn) are looked up in the surface's palette each time it paints.
class cLogo
{
public:
    // Start colour black, end colour the button face, no surface.
    cLogo();

    // The images the icon is taken from; empty for none. No redraw.
    void setImageList(const QList<QPixmap> &images);
    // The image to draw; only indexes above 0 draw one. No redraw.
    void setIconIndex(qint32 index);

    // The text along the left edge. No redraw.
    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);

    // The surface to paint on, or none. No redraw. A surface that is a QObject is forgotten when
    // it is destroyed; any other must outlive its attachment.
    void setDrawingObject(LogoSurface *surface);

    // Colour at the bottom. Setting another value repaints at once when a surface is attached;
    // setting the value it already has does nothing.
    Lustrel::OleColor StartColor() const { return m_startColor; }
    void setStartColor(Lustrel::OleColor color);
    // Colour at the top, set the same way.
    Lustrel::OleColor EndColor() const { return m_endColor; }
    void setEndColor(Lustrel::OleColor color);

    // Paints the banner and refreshes the surface. A failure (no surface, nothing to paint on,
    // a zero height) ends the drawing where it is, silently; what was painted stays.
    void Draw();

private:
    LogoSurface *drawingObject() const;
    void paint();

    QString m_caption;
    Lustrel::OleColor m_startColor = 0;
    Lustrel::OleColor m_endColor = Lustrel::SystemColor::ButtonFace;
    QList<QPixmap> m_images;
    qint32 m_iconIndex = 0;
    LogoSurface *m_surface = nullptr;
    QPointer<QObject> m_surfaceObject;
    bool m_surfaceIsObject = false;
};
