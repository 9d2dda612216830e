#include "scrollbar.h"

#include "focusmarker.h"

#include <QKeyEvent>
#include <QPainter>

ScrollBar::ScrollBar(QWidget *parent) : QScrollBar(Qt::Horizontal, parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setTracking(false);
    setContextMenuPolicy(Qt::NoContextMenu); // Qt's own menu speaks English
}

// Qt 6.4's horizontal scroll bar ignores Left and Right; the keys follow the
// scroll bars of other desktops: back with Left, Up and Page Up, forward
// with Right, Down and Page Down.
void ScrollBar::keyPressEvent(QKeyEvent *event)
{
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        action = SliderSingleStepSub;
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        action = SliderSingleStepAdd;
        break;
    case Qt::Key_PageUp:
        action = SliderPageStepSub;
        break;
    case Qt::Key_PageDown:
        action = SliderPageStepAdd;
        break;
    case Qt::Key_Home:
        action = SliderToMinimum;
        break;
    case Qt::Key_End:
        action = SliderToMaximum;
        break;
    default:
        QScrollBar::keyPressEvent(event);
        return;
    }
    triggerAction(action);
    event->accept();
}

void ScrollBar::paintEvent(QPaintEvent *event)
{
    QScrollBar::paintEvent(event);
    QPainter painter(this);
    drawFocusMarker(this, painter, rect());
}
