#include "imagecanvas.h"

#include "plot/geometry.h"
#include "vectorstate.h"

#include <QPainter>

QImage wrapPixels(vorel::PixelBuffer &pixels)
{
    // Red, green, blue, then an opaque byte: the buffer's own byte order.
    QImage image(reinterpret_cast<uchar *>(pixels.data()), pixels.width(), pixels.height(),
                 qsizetype(pixels.width()) * qsizetype(sizeof(vorel::Pixel)), QImage::Format_RGBX8888);
    image.setDevicePixelRatio(pixels.ratio());
    return image;
}

void QtTextDrawer::drawText(vorel::PixelBuffer &pixels, int x, int y, std::string_view text,
                            vorel::Colour colour)
{
    QImage image = wrapPixels(pixels);
    {
        QPainter painter(&image);
        painter.setFont(m_font);
        painter.setPen(QColor(vorel::redOf(colour), vorel::greenOf(colour), vorel::blueOf(colour)));
        const qreal ratio = pixels.ratio();
        painter.drawText(QPointF(x / ratio, y / ratio + painter.fontMetrics().ascent()),
                         QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    clearUpperVectorState(); // Qt's SIMD code may leave it dirty
}

ImageCanvas::ImageCanvas(qreal devicePixelRatio) : RasterCanvas(devicePixelRatio)
{
    setTextDrawer(&m_text);
}

QImage ImageCanvas::view()
{
    return wrapPixels(pixels());
}
