// Runs one plot command into the shared rasteriser, with no text drawer,
// and writes the picture's raw RGBA bytes to standard output: the desktop's
// side of the comparison with the browser's canvas.
//   rasterdump Wave1|Wave2|BothWaves|Resultant|All A1 A2 F1 F2 P1 P2 RANGE [RATIO]
#include "plot/commands.h"
#include "raster/rastercanvas.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

int main(int argc, char *argv[])
{
    using vorel::PlotCommand;
    const std::map<std::string, PlotCommand> commands{
        {"Wave1", PlotCommand::Wave1},         {"Wave2", PlotCommand::Wave2},
        {"BothWaves", PlotCommand::BothWaves}, {"Resultant", PlotCommand::Resultant},
        {"All", PlotCommand::All},
    };
    if (argc < 9 || !commands.contains(argv[1])) {
        std::fprintf(stderr, "usage: %s COMMAND A1 A2 F1 F2 P1 P2 RANGE [RATIO]\n", argv[0]);
        return 2;
    }
    auto position = [&](int i) { return static_cast<std::int16_t>(std::atoi(argv[i])); };
    const vorel::SliderPositions positions{position(2), position(3), position(4), position(5),
                                           position(6), position(7), position(8)};
    vorel::RasterCanvas canvas(argc > 9 ? std::atof(argv[9]) : 1.0);
    vorel::runPlotCommand(commands.at(argv[1]), canvas, positions);
    const vorel::PixelBuffer &pixels = canvas.pixels();
    std::fwrite(pixels.data(), sizeof(vorel::Pixel), static_cast<std::size_t>(pixels.width()) * pixels.height(), stdout);
    return 0;
}
