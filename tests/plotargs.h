// The command line that the desktop's dump programs share:
//   PROGRAM Wave1|Wave2|BothWaves|Resultant|All A1 A2 F1 F2 P1 P2 RANGE [RATIO]
// with the seven slider positions in that order, as the browser tests give them.
#pragma once

#include "plot/commands.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

struct PlotArguments {
    vorel::PlotCommand command;
    vorel::SliderPositions positions;
    double ratio;
};

// Says how to call the program and gives nothing when the line is not one.
inline std::optional<PlotArguments> plotArguments(int argc, char *argv[])
{
    using vorel::PlotCommand;
    const std::map<std::string, PlotCommand> commands{
        {"Wave1", PlotCommand::Wave1},         {"Wave2", PlotCommand::Wave2},
        {"BothWaves", PlotCommand::BothWaves}, {"Resultant", PlotCommand::Resultant},
        {"All", PlotCommand::All},
    };
    if (argc < 9 || !commands.contains(argv[1])) {
        std::fprintf(stderr, "usage: %s COMMAND A1 A2 F1 F2 P1 P2 RANGE [RATIO]\n", argv[0]);
        return std::nullopt;
    }
    auto position = [&](int i) { return static_cast<std::int16_t>(std::atoi(argv[i])); };
    return PlotArguments{commands.at(argv[1]),
                         {position(2), position(3), position(4), position(5), position(6), position(7), position(8)},
                         argc > 9 ? std::atof(argv[9]) : 1.0};
}
