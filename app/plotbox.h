// The plot box: a sunken frame around a white drawing area that shows, and
// keeps, whatever the last plot drew into it.
#pragma once

#include "imagecanvas.h"

#include <QFrame>

class PlotBox : public QFrame {
    Q_OBJECT
public:
    explicit PlotBox(QWidget *parent = nullptr);

    // The surface to draw on; what is drawn shows at the next paint.
    vorel::PlotCanvas &canvas();
    // A copy of the picture as it is now.
    QImage image();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ImageCanvas m_canvas;
};
