// A plot canvas that draws into a pixel buffer. It keeps the calls since the
// last Cls and draws the picture from them when the picture is looked at,
// after the plot has made all its calls, and again at another pixel ratio
// without running the plot again.
//
// The picture it draws, exactly:
// - A curve is a run of coloured or plain Line calls of one colour, each
//   starting exactly where the last Line of that colour ended (the same
//   canvas coordinates). A Line that starts anywhere else begins a new curve
//   of its colour. A Line of no length draws nothing and belongs to no curve:
//   it only moves the current position, so a label's anchor leaves no dot.
// - Each Line covers the pixels of an integer line between its ends, each
//   end taken to its pixel by toDevice: one pixel per step along the longer
//   axis, at each step the pixel nearest the exact line, a tie going towards
//   the end. Each of these pixels is the top-left corner of a pen one
//   logical pixel square.
//   Its curve's pixel path is the pixels of its Lines in order, a pixel that
//   repeats the one before counted once.
// - A staircase corner is a pixel of that path reached by a unit step along
//   one axis and left by a unit step along the other, unless the pixel
//   before it is itself such a corner. Corners are decided from the curve's
//   own path alone and left out: two steps become one diagonal step, so the
//   curve is one pixel thin. A pixel that the path passes more than once is
//   left out only where it is a corner.
// - The picture is white, with every call laid down over it in call order,
//   a later call over an earlier one: each Line its own pixels less its
//   curve's corners, each Print its text. Where two curves share a pixel,
//   the later call shows; where neither keeps a pixel, what lay under both
//   shows.
#pragma once

#include "plot/canvas.h"
#include "raster/pixels.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorel {

// Text is drawn by the front end's own font engine, into the same pixels,
// at its place in the order of the calls.
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

    // The picture is drawn again from the kept calls at the next look.
    void setRatio(double ratio);
    void setTextDrawer(TextDrawer *textDrawer);

    // The picture of the calls since the last Cls, drawn first if a call or
    // the ratio has changed since it was last drawn.
    PixelBuffer &pixels();
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
    // One call since the last Cls: a Line with length, or a Print.
    struct Call {
        float x1, y1, x2, y2;   // a Print's position in x1, y1
        Colour colour;
        std::int32_t text;      // index into m_texts for a Print, -1 for a Line
        std::uint16_t curve;    // a Line's slot in m_curves
        bool continues;         // a Line that goes on from the one before in its curve
        bool last;              // a Line that no later Line continues
    };
    // The curve of one colour that the next Line of that colour may continue.
    struct OpenCurve {
        Colour colour;
        float endX, endY;
        std::size_t lastCall;
    };
    // A curve's path as the picture is drawn: the last pixel, not yet laid
    // because whether it is a corner depends on the next one, and the pixel
    // before it.
    struct Path {
        DevicePoint before{0, 0}, pending{0, 0};
        bool hasBefore = false;
        bool beforeIsCorner = false;
        bool hasPending = false;
    };

    void drawPicture();
    void drawText(const Call &call);
    template <bool Clipped, int Pen> void drawLine(const Call &call, DevicePoint a, DevicePoint b, Path &path);
    template <bool Clipped, int Pen> void extend(Path &path, DevicePoint next, Pixel pixel);
    // The pen is a square of pen × pen device pixels with p at its top-left
    // corner; Pen is its size when known at compile time, else 0. Clipped
    // leaves out what falls outside the area.
    template <bool Clipped, int Pen> void stamp(DevicePoint p, Pixel pixel);
    void setScale();

    PixelBuffer m_pixels;
    TextDrawer *m_textDrawer;
    std::vector<Call> m_calls;
    std::vector<std::string> m_texts;
    std::vector<OpenCurve> m_curves;
    std::vector<Path> m_paths;
    float m_currentX = 0;
    float m_currentY = 0;
    int m_pen = 1;          // device pixels
    double m_scaleX = 0;    // device pixels per canvas unit
    double m_scaleY = 0;
    bool m_drawn = false;   // the pixels show the calls at the present ratio
};

} // namespace vorel
