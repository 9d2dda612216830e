// Runs one plot command into the shared rasteriser, with no text drawer,
// and writes the picture's raw RGBA bytes to standard output: the desktop's
// side of the comparison with the browser's canvas.
//   rasterdump Wave1|Wave2|BothWaves|Resultant|All A1 A2 F1 F2 P1 P2 RANGE [RATIO]
#include "plotargs.h"
#include "raster/rastercanvas.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    const std::optional<PlotArguments> arguments = plotArguments(argc, argv);
    if (!arguments)
        return 2;
    vorel::RasterCanvas canvas(arguments->ratio);
    vorel::runPlotCommand(arguments->command, canvas, arguments->positions);
    const vorel::PixelBuffer &pixels = canvas.pixels();
    std::fwrite(pixels.data(), sizeof(vorel::Pixel), static_cast<std::size_t>(pixels.width()) * pixels.height(), stdout);
    return 0;
}
