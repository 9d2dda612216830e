// The mark of the control that has the keyboard focus. Qt's styles draw
// none on a scroll bar or a drawing box, or only after a key has moved the
// focus; a keyboard user must always see where the keys go.
#pragma once

class QPainter;
class QRect;
class QWidget;

// Draws a dotted rectangle just inside `rect` when `widget` has the focus.
void drawFocusMarker(const QWidget *widget, QPainter &painter, const QRect &rect);
