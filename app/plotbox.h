// The plot box: a sunken frame around a white drawing area that shows, and
// keeps, whatever the last plot drew into it.
#pragma once

#include "imagecanvas.h"

#include "plot/audiotrace.h"

#include <QFrame>

#include <optional>

class QKeyEvent;

// What a key on the plot box means to its audio trace, if anything: Alt+T,
// the arrows, Page Up and Down, Home and End, Enter, Space and H, Escape.
std::optional<vorel::PlotKey> plotKeyOf(const QKeyEvent &event);

class PlotBox : public QFrame {
    Q_OBJECT
public:
    explicit PlotBox(QWidget *parent = nullptr);

    // The surface to draw on; what is drawn shows at the next paint.
    vorel::PlotCanvas &canvas();
    // A copy of the picture as it is now.
    QImage image();

signals:
    // A key pressed while the box has the focus. The event comes ignored:
    // a handler that takes the key accepts it, else the box does with it
    // what any box does.
    void keyDown(QKeyEvent *event);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    ImageCanvas m_canvas;
};
