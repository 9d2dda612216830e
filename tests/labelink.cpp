// Runs one plot command with the desktop's text drawer (Qt's font engine, in
// the program's font) and prints where each label's ink went: the box of
// the pixels that drawing the label changed, in device pixels, and how much
// ink it laid (each pixel's largest change of a channel, in whole pixels),
// one label a line as "x y width height ink text". The desktop's side of the
// browser tests' label comparison; run it with QT_QPA_PLATFORM=offscreen.
//   labelink Wave1|Wave2|BothWaves|Resultant|All A1 A2 F1 F2 P1 P2 RANGE [RATIO]
#include "imagecanvas.h"
#include "layout.h"
#include "plotargs.h"
#include "raster/rastercanvas.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

// Draws with the desktop's drawer and measures what each label changed.
class InkRecorder final : public vorel::TextDrawer {
public:
    InkRecorder() { m_drawer.setFont(QApplication::font()); }

    void drawText(vorel::PixelBuffer &pixels, int x, int y, std::string_view text, vorel::Colour colour) override
    {
        const std::vector<vorel::Pixel> before(pixels.data(), pixels.data() + pixels.width() * pixels.height());
        m_drawer.drawText(pixels, x, y, text, colour);
        int left = pixels.width(), top = pixels.height(), right = -1, bottom = -1;
        double ink = 0;
        for (int row = 0; row < pixels.height(); ++row) {
            for (int column = 0; column < pixels.width(); ++column) {
                const vorel::Pixel now = pixels.pixel(column, row);
                const vorel::Pixel was = before[static_cast<std::size_t>(row) * pixels.width() + column];
                if (now == was)
                    continue;
                int change = 0;
                for (int shift = 0; shift < 24; shift += 8)
                    change = std::max(change, std::abs(int((now >> shift) & 0xff) - int((was >> shift) & 0xff)));
                ink += change / 255.0;
                left = std::min(left, column);
                right = std::max(right, column);
                top = std::min(top, row);
                bottom = std::max(bottom, row);
            }
        }
        if (right < 0)
            left = top = 0, right = bottom = -1; // no ink: an empty box
        std::printf("%d %d %d %d %.1f %.*s\n", left, top, right - left + 1, bottom - top + 1, ink, int(text.size()),
                    text.data());
    }

private:
    QtTextDrawer m_drawer;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    useProgramFont();
    const std::optional<PlotArguments> arguments = plotArguments(argc, argv);
    if (!arguments)
        return 2;
    InkRecorder recorder;
    vorel::RasterCanvas canvas(arguments->ratio, &recorder);
    vorel::runPlotCommand(arguments->command, canvas, arguments->positions);
    canvas.pixels(); // the picture, labels and all, is drawn when it is asked for
    return 0;
}
