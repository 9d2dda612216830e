// A block of 32-bit pixels that the plot draws into and the front end shows:
// the desktop wraps the same memory in a QImage, the browser hands it to
// putImageData. Each pixel is four bytes in memory, red, green, blue and
// alpha, which both of them read without conversion.
#pragma once

#include "plot/canvas.h"

#include <bit>
#include <cstdint>
#include <vector>

namespace vorel {

static_assert(std::endian::native == std::endian::little,
              "pixels are written as red, green, blue, alpha bytes of a little-endian word");

using Pixel = std::uint32_t;

// A colour number is red + 256·green + 65536·blue: on a little-endian
// machine that is already the byte order red, green, blue.
constexpr Pixel toPixel(Colour colour) { return 0xff000000u | (colour & 0xffffffu); }
inline constexpr Pixel kWhitePixel = toPixel(rgb(255, 255, 255));
inline constexpr Pixel kBlackPixel = toPixel(rgb(0, 0, 0));

// Size in device pixels; the ratio says how many device pixels make one
// logical pixel. Rows follow each other without padding.
class PixelBuffer {
public:
    PixelBuffer(int logicalWidth, int logicalHeight, double ratio);

    // The device size for a logical size at a ratio, rounded to the nearest
    // pixel as the toolkits round it.
    static int deviceLength(int logicalLength, double ratio);

    // A ratio that is not a sensible positive number counts as 1, so that
    // the buffer never becomes empty or absurdly large.
    static double usableRatio(double ratio);

    // Keeps the logical size; the content is undefined until filled.
    void setRatio(double ratio);
    void fill(Pixel pixel);

    int logicalWidth() const { return m_logicalWidth; }
    int logicalHeight() const { return m_logicalHeight; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    double ratio() const { return m_ratio; }

    Pixel *data() { return m_pixels.data(); }
    const Pixel *data() const { return m_pixels.data(); }
    Pixel pixel(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }
    void setPixel(int x, int y, Pixel p) { m_pixels[static_cast<std::size_t>(y) * m_width + x] = p; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

private:
    int m_logicalWidth;
    int m_logicalHeight;
    int m_width = 0;
    int m_height = 0;
    double m_ratio = 1.0;
    std::vector<Pixel> m_pixels;
};

} // namespace vorel
