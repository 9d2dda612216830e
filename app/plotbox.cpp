#include "plotbox.h"

#include "focusmarker.h"

#include <QPainter>

PlotBox::PlotBox(QWidget *parent) : QFrame(parent), m_canvas(devicePixelRatioF())
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2); // 30 twips
    setFocusPolicy(Qt::StrongFocus);
    m_canvas.setFont(font());
}

vorel::PlotCanvas &PlotBox::canvas()
{
    update();
    return m_canvas;
}

QImage PlotBox::image()
{
    return m_canvas.image();
}

void PlotBox::paintEvent(QPaintEvent *event)
{
    // A plot started after the window moved to another screen is drawn at
    // that screen's pixel ratio.
    m_canvas.setDevicePixelRatio(devicePixelRatioF());
    m_canvas.setFont(font());

    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_canvas.image());
    // On the border, so the drawing area shows only what was plotted.
    drawFocusMarker(this, painter, rect());
}
