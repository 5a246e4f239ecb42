#pragma once

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QSize>
#include <QWidget>
#include <memory>

class QPainter;

// Anything cLogo can paint on: it offers a painter, its size, the font the caption is written
// in and a refresh that shows what was painted.
class LogoSurface
{
public:
    virtual ~LogoSurface();

    // A painter on the surface, its pen the surface's text colour; none when the surface cannot
    // be painted now. Painting ends when the painter is destroyed.
    virtual std::unique_ptr<QPainter> beginPaint() = 0;
    // The size in pixels.
    virtual QSize pixelSize() const = 0;
    // The caption's font, and the vertical resolution its point size is measured against.
    virtual QFont captionFont() const = 0;
    virtual int captionDpiY() const = 0;
    // The desktop's colours, which scheme colour values resolve to.
    virtual QPalette schemePalette() const = 0;
    // Shows what was painted since the last refresh.
    virtual void refresh() = 0;
};

// A picture box for windows: it keeps what is painted on it until it is painted over, and
// starts out in the button face colour. The caption is written in its font and text colour.
class LogoPicture : public QWidget, public LogoSurface
{
    Q_OBJECT

public:
    explicit LogoPicture(QWidget *parent = nullptr);
    ~LogoPicture() override;

    // What the box shows: everything painted on it so far.
    QImage image() const { return m_canvas; }

    std::unique_ptr<QPainter> beginPaint() override;
    QSize pixelSize() const override { return size(); }
    QFont captionFont() const override { return font(); }
    int captionDpiY() const override { return logicalDpiY(); }
    QPalette schemePalette() const override { return palette(); }
    void refresh() override { update(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Makes the canvas the size of the box.
    void fitCanvas();

    QImage m_canvas;
};
