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
    // The window may have moved to a screen of another pixel ratio, or the
    // scale changed: the kept picture is drawn again for it, not the plot.
    m_canvas.setFont(font());
    m_canvas.setRatio(devicePixelRatioF());

    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_canvas.view());
    // On the border, so the drawing area shows only what was plotted.
    drawFocusMarker(this, painter, rect());
}
