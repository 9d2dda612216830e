#include "focusmarker.h"

#include <QPainter>
#include <QPen>
#include <QWidget>

void drawFocusMarker(const QWidget *widget, QPainter &painter, const QRect &rect)
{
    if (!widget->hasFocus())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    QPen pen(widget->palette().color(QPalette::Highlight), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect.adjusted(1, 1, -2, -2));
    painter.restore();
}
