// Helpers shared by the window tests.
#pragma once

#include "imagecanvas.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWidget>

#include <initializer_list>
#include <utility>

template <typename T = QWidget>
T *control(const QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline void setSliders(const QWidget *window, std::initializer_list<std::pair<const char *, int>> values)
{
    for (const auto &[name, value] : values)
        control<QScrollBar>(window, name)->setValue(value);
}

// Whether a pixel of exactly this colour lies within `radius` pixels of the
// point of the canvas (in canvas units).
inline bool colourNear(const QImage &image, float x, float y, QRgb colour, int radius = 1)
{
    const vorel::DevicePoint p =
        vorel::RasterCanvas::toDevice(x, y, image.width(), image.height(), image.devicePixelRatio());
    const int cx = p.x;
    const int cy = p.y;
    for (int py = cy - radius; py <= cy + radius; ++py)
        for (int px = cx - radius; px <= cx + radius; ++px)
            if (image.valid(px, py) && image.pixel(px, py) == colour)
                return true;
    return false;
}

inline int countColour(const QImage &image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

inline constexpr QRgb kBlue = qRgb(0, 0, 225);
inline constexpr QRgb kGreen = qRgb(0, 225, 0);
inline constexpr QRgb kRed = qRgb(225, 0, 0);
