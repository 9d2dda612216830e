// The plot box's drawing surface: a backing image that keeps the picture,
// so that nothing needs to redraw it when the window is covered or hidden.
#pragma once

#include "plot/canvas.h"
#include "plot/geometry.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QPolygonF>
#include <QString>

#include <vector>

class ImageCanvas final : public vorel::PlotCanvas {
public:
    // The inner area of the plot box in logical pixels.
    static constexpr QSize kLogicalSize{709, 397};

    explicit ImageCanvas(qreal devicePixelRatio = 1.0);

    // Takes effect at the next Cls, so a picture never changes half-drawn.
    void setDevicePixelRatio(qreal ratio) { m_requestedRatio = ratio; }
    void setFont(const QFont &font) { m_font = font; }

    void Cls() override;
    void Line(float x1, float y1, float x2, float y2) override;
    void Line(float x1, float y1, float x2, float y2, vorel::Colour colour) override;
    void Print(std::string_view text) override;

    // The picture with everything drawn so far.
    const QImage &image();

    // Canvas units to logical pixels of the image. The scale's edges land
    // on the first and the last pixel of the area, so that a line at
    // y = 6000 lies on the lower inner edge and is not lost.
    static QPointF toPixels(float x, float y)
    {
        return QPointF(x * (qreal(kLogicalSize.width() - 1) / vorel::kCanvasWidth),
                       y * (qreal(kLogicalSize.height() - 1) / vorel::kCanvasHeight));
    }

private:
    // Drawing is deferred until the picture is needed, and segments of one
    // colour that continue each other become one polyline: a plot of three
    // curves is then three polylines instead of 28 500 lines. Curves drawn
    // later still lie on top of earlier ones.
    struct Item {
        QRgb colour;
        QPolygonF points; // a stroke, or the anchor of a text
        QString text;     // empty for a stroke
        QPointF end;      // where a stroke ends, in canvas units
    };

    void addSegment(QPointF from, QPointF to, QRgb colour);
    void rasterise();

    QImage m_image;
    QFont m_font;
    qreal m_requestedRatio;
    QPointF m_current; // canvas units
    std::vector<Item> m_pending;
    std::size_t m_firstJoinable = 0; // nothing drawn before a text is extended
};
