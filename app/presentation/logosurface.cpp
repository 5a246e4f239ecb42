#include "logosurface.h"

#include <QPaintEvent>
#include <QPainter>

LogoSurface::~LogoSurface() = default;

LogoPicture::LogoPicture(QWidget *parent)
    : QWidget(parent)
{
    // The canvas covers the whole box, so nothing behind it needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

LogoPicture::~LogoPicture() = default;

std::unique_ptr<QPainter> LogoPicture::beginPaint()
{
    fitCanvas();
    if (m_canvas.isNull())
        return {};
    auto painter = std::make_unique<QPainter>(&m_canvas);
    if (!painter->isActive())
        return {};
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->setFont(font());
    return painter;
}

void LogoPicture::paintEvent(QPaintEvent *event)
{
    fitCanvas();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_canvas, event->rect());
}

void LogoPicture::fitCanvas()
{
    if (m_canvas.size() == size())
        return;
    // A larger box shows button face where nothing has been painted yet; what was painted stays.
    QImage canvas(size(), QImage::Format_RGB32);
    if (!canvas.isNull()) {
        canvas.fill(palette().color(QPalette::Button));
        if (!m_canvas.isNull()) {
            QPainter painter(&canvas);
            painter.drawImage(0, 0, m_canvas);
        }
    }
    m_canvas = canvas;
}
