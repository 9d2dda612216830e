// A plot canvas that draws into a pixel buffer. It lays the calls' pixels
// as they come, the common Lines a few hundred at a time, and keeps the
// calls since the last Cls, so that it can draw the same picture again at
// another pixel ratio without running the plot again.
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
    [[gnu::flatten]] void Line(float x1, float y1, float x2, float y2, Colour colour) override;
    void Print(std::string_view text) override;

    // The picture is drawn again from the kept calls at the next look.
    void setRatio(double ratio);
    void setTextDrawer(TextDrawer *textDrawer);

    // The picture of the calls since the last Cls. Looking costs nothing
    // unless the ratio or the text drawer has changed since the calls were
    // laid: then it is drawn again from them first.
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
    // A call since the last Cls, as kept: a Line that goes on from where the
    // last Line of its colour ended keeps its end alone; any other comes
    // after a record of its start; a Print keeps its position and text.
    struct Record {
        float x, y;
        std::uint32_t word;     // the kind in the top byte; a Line's colour, a Print's index in m_texts
    };
    static constexpr std::uint32_t kLineTo = 0, kStart = 1u << 24, kPrint = 2u << 24;
    struct LineCall {
        float x1, y1, x2, y2;
        Colour colour;
    };
    // How a curve's path reached its last pixel: by a unit step along one
    // axis, or otherwise (a diagonal step, or none); Other also when that
    // pixel cannot be a corner because the one before it is.
    enum class Step : std::uint8_t { Other, AlongX, AlongY };
    // Whether the last pixel of a Line is a corner, once the next step of
    // its curve has told.
    enum class Joint : std::uint8_t { NoCorner, Corner, Undecided };
    static constexpr std::size_t kNoCurve = std::size_t(-1);
    // The curve of one colour that the next Line of that colour may continue.
    // Its last pixel may be a corner, which only the curve's next step can
    // tell: until then it is laid as though it were none, with what lay
    // under it kept, and taken back if it turns out to be one.
    struct Curve {
        Colour colour;
        Pixel pixel;
        float endX, endY;       // canvas units
        DevicePoint end;        // the last pixel of its path
        Step into;
        bool provisional;       // the last pixel is laid, and `under` holds what it covered
        bool printedOver;       // a text was drawn since, perhaps over it
        std::uint32_t joint;    // the last pixel in m_joints; 0 is one that cannot be a corner
        std::uint64_t layer;    // the order of the provisional pixels still laid
        std::size_t follower;   // the curve whose Line came after this one's the last time
        std::vector<Pixel> under; // a pen's square of pixels
        bool endInside;         // its end as the Lines waiting will leave it lies inside the area
    };
    // A Line that goes on from its curve inside the area, not laid yet: the
    // common Lines are laid a few hundred at a time, in order, so that the
    // plot's arithmetic and the pixels' stores each run in a loop of their
    // own. Anything else that draws, and any look, lays them first.
    struct Waiting {
        std::uint32_t curve;    // in m_curves
        DevicePoint to;
    };
    static constexpr std::size_t kWaitingRoom = 256;
    [[gnu::noinline, gnu::flatten]] void layWaiting();
    template <int Pen> void layWaitingWith();

    // Any Line but the common one that Line itself takes: kept and drawn.
    [[gnu::noinline]] void addLine(float x1, float y1, float x2, float y2, Colour colour);
    [[gnu::always_inline]] void keep(Record record);
    [[gnu::noinline]] void growRecords();
    void printText(std::size_t index, float x, float y);
    // Known: each Line's last pixel is laid or left out as the drawing
    // before, at the same ratio, found it to be.
    void redraw(bool known);
    // joint: where the Line's last pixel goes in m_joints, found by a first
    // drawing, read by a known one.
    void draw(const LineCall &line, std::uint32_t &joint, bool known);
    // Streaming: a Line as it comes, neither finding corners for a later
    // drawing nor knowing them.
    template <bool Clipped, int Pen, bool Streaming = false>
    void drawLine(Curve &curve, bool continues, DevicePoint a, DevicePoint b, std::uint32_t &joint, bool known);
    // Lays the curve's last pixel once more, unless it is known to be a
    // corner; while that is not known, as a provisional pixel.
    template <int Pen> [[gnu::always_inline]] void coverEnd(Curve &curve, Joint joint);
    template <bool Clipped, int Pen> [[gnu::always_inline]] void layEnd(Curve &curve, Joint joint);
    template <bool Clipped, int Pen> void takeBack(Curve &curve);
    // The pen is a square of pen × pen device pixels with p at its top-left
    // corner; Pen is its size when known at compile time, else 0. Clipped
    // leaves out what falls outside the area.
    template <bool Clipped, int Pen> void stamp(DevicePoint p, Pixel pixel);
    void setScale();

    PixelBuffer m_pixels;
    TextDrawer *m_textDrawer;
    std::vector<Record> m_records;          // the first m_recordCount of them
    std::size_t m_recordCount = 0;
    std::size_t m_recordRoom = 0;           // m_records.size()
    std::vector<std::string> m_texts;
    std::vector<Curve> m_curves;
    std::vector<Joint> m_joints;
    std::vector<std::uint32_t> m_lineJoints; // each kept Line's, by a first drawing
    bool m_findingCorners = false;           // in that first drawing
    std::uint64_t m_layers = 0;
    std::size_t m_last = kNoCurve;           // the curve of the last Line
    std::size_t m_predicted = kNoCurve;      // the curve of the next one, most likely
    float m_currentX = 0;
    float m_currentY = 0;
    int m_pen = 1;          // device pixels
    int m_right = 0;        // the last device column and row a pen fits in whole
    int m_bottom = 0;
    double m_scaleX = 0;    // device pixels per canvas unit
    double m_scaleY = 0;
    // The pixels do not show the calls: the ratio or the text drawer has
    // changed, or a text lies over a pixel taken back. The next look draws
    // the picture again from the calls.
    bool m_stale = false;
    Waiting m_waiting[kWaitingRoom];
    std::size_t m_waitingCount = 0;
};

} // namespace vorel
