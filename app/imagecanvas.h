// The plot box's drawing surface on the desktop: the shared rasteriser draws
// the lines into its pixels, and Qt's font engine writes the labels into the
// same pixels, each at its moment in the drawing order.
#pragma once

#include "plot/geometry.h"
#include "raster/rastercanvas.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QSize>

#include <memory>
#include <string>
#include <vector>

// Draws a label with QPainter into a QImage that wraps the canvas's pixels.
// One painter serves every label for as long as the pixels stay where they
// are: opening a painter for each label cost more than the labels.
//
// The tick labels repeat from plot to plot, each over the same white and
// the same ticks: a label keeps the box of pixels around its ink as they
// were before and after Qt drew it, and the same label at the same place
// over the same pixels is copied from there, the font engine not asked.
class QtTextDrawer final : public vorel::TextDrawer {
public:
    void setFont(const QFont &font);
    void drawText(vorel::PixelBuffer &pixels, int x, int y, std::string_view text,
                  vorel::Colour colour) override;

private:
    struct KeptLabel {
        std::string text;
        int x, y;
        vorel::Colour colour;
        QRect box; // device pixels, inside the picture
        std::vector<vorel::Pixel> before, after; // the box, row by row
    };
    // The box that holds every pixel the text can touch.
    QRect inkBox(const vorel::PixelBuffer &pixels, int x, int y, const QString &text) const;
    void forgetLabels() { m_kept.clear(); }

    QFont m_font;
    QImage m_image; // never copied, so the painter writes into the pixels themselves
    std::unique_ptr<QPainter> m_painter;
    qreal m_ascent = 0;
    std::vector<KeptLabel> m_kept; // for the font, the picture's size and ratio of m_image
};

class ImageCanvas final : public vorel::RasterCanvas {
public:
    // The inner area of the plot box in logical pixels.
    static constexpr QSize kLogicalSize{kLogicalWidth, kLogicalHeight};

    explicit ImageCanvas(qreal devicePixelRatio = 1.0);
    ImageCanvas(const ImageCanvas &) = delete;
    ImageCanvas &operator=(const ImageCanvas &) = delete;

    void setFont(const QFont &font) { m_text.setFont(font); }

    // The pixels as an image, without a copy: valid until the ratio changes
    // or the canvas goes.
    QImage view();
    // A copy of the picture as it is now.
    QImage image() { return view().copy(); }

private:
    QtTextDrawer m_text;
};

// The pixels of a buffer as an image, without a copy.
QImage wrapPixels(vorel::PixelBuffer &pixels);
