// A plot canvas that draws straight into a pixel buffer, every call at the
// moment it comes, so that a later curve lies over an earlier one exactly as
// the plot orders them. It keeps the calls since the last Cls and can draw
// them again at another pixel ratio without running the plot again.
#pragma once

#include "plot/canvas.h"
#include "raster/pixels.h"

#include <string>
#include <string_view>
#include <vector>

namespace vorel {

// Text is drawn by the front end's own font engine, into the same pixels,
// at the moment Print comes.
class TextDrawer {
public:
    virtual ~TextDrawer() = default;
    // The text's top-left corner goes to the device pixel (x, y).
    virtual void drawText(PixelBuffer &pixels, int x, int y, std::string_view text, Colour colour) = 0;
};

struct DevicePoint {
    int x;
    int y;
    friend bool operator==(const DevicePoint &, const DevicePoint &) = default;
};

class RasterCanvas : public PlotCanvas {
public:
    // The plot box's drawing area: 709 × 397 logical pixels.
    static constexpr int kLogicalWidth = 709;
    static constexpr int kLogicalHeight = 397;

    explicit RasterCanvas(double ratio = 1.0, TextDrawer *textDrawer = nullptr);

    void Cls() override;
    void Line(float x1, float y1, float x2, float y2) override;
    void Line(float x1, float y1, float x2, float y2, Colour colour) override;
    void Print(std::string_view text) override;

    // Draws the calls since the last Cls again at another ratio; nothing
    // happens when the ratio is the one already drawn at.
    void setRatio(double ratio);
    void setTextDrawer(TextDrawer *textDrawer) { m_textDrawer = textDrawer; }

    const PixelBuffer &pixels() const { return m_pixels; }
    PixelBuffer &pixels() { return m_pixels; }
    double ratio() const { return m_pixels.ratio(); }

    // Lines are one logical pixel wide.
    static int lineWidth(double ratio);
    // Canvas units to the top-left device pixel of the pen: the edges of the
    // 10500 × 6000 scale land on the first and the last pixel row and
    // column, whole pen included.
    DevicePoint toDevice(float x, float y) const;
    // The same for any picture of the plot: device size and ratio.
    static DevicePoint toDevice(float x, float y, int deviceWidth, int deviceHeight, double ratio);

private:
    // One call since the last Cls, kept to draw it again at another ratio.
    struct Call {
        float x1, y1, x2, y2;
        Colour colour;
        int text; // index into m_texts for a Print, -1 for a Line
    };

    // The curve a Line continues when it starts where the last line of its
    // colour ended. Its last pixel is remembered with what lay under it, so
    // that a step that turns a corner can take that pixel back: a curve
    // stays one pixel thick, with no doubled pixels at its joints.
    static constexpr int kMaxPen = 8;
    struct Stroke {
        bool active = false;
        Colour colour = 0;
        float endX = 0, endY = 0;
        DevicePoint last{0, 0}, prev{0, 0};
        bool hasLast = false;
        bool hasPrev = false;
        bool lastOwned = false; // last was drawn by this stroke, with `under` saved
        unsigned used = 0;
        Pixel under[kMaxPen * kMaxPen];
    };

    void drawLine(float x1, float y1, float x2, float y2, Colour colour);
    void drawText(const std::string &text);
    void replay();
    void resetStrokes();
    Stroke &strokeFor(Colour colour, float x1, float y1);
    template <bool Clipped, int Pen>
    void trace(Stroke &stroke, DevicePoint a, DevicePoint b, Pixel pixel);
    // Pen is the pen's size when it is known at compile time, else 0.
    template <bool Clipped, int Pen> void plot(Stroke &stroke, DevicePoint p, Pixel pixel);
    template <bool Clipped, int Pen> bool stampIs(DevicePoint p, Pixel pixel) const;
    template <bool Clipped, int Pen> void saveStamp(DevicePoint p, Pixel *under) const;
    template <bool Clipped, int Pen> void restoreStamp(DevicePoint p, const Pixel *under);
    template <bool Clipped, int Pen> void stamp(DevicePoint p, Pixel pixel);
    void setScale();

    PixelBuffer m_pixels;
    TextDrawer *m_textDrawer;
    std::vector<Call> m_calls;
    std::vector<std::string> m_texts;
    float m_currentX = 0;
    float m_currentY = 0;
    int m_pen = 1;          // device pixels
    double m_scaleX = 0;    // device pixels per canvas unit
    double m_scaleY = 0;
    Stroke m_strokes[4];
    unsigned m_strokeClock = 0;
};

} // namespace vorel
