// The few drawing operations that plotting needs from the plot box, named as
// the box names them. Coordinates are canvas units: 10500 across, 6000 down,
// origin at the top-left corner, y growing downwards.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorel {

// A 24-bit colour number: red + 256·green + 65536·blue.
using Colour = std::uint32_t;

constexpr Colour rgb(int red, int green, int blue)
{
    return static_cast<Colour>(red) + 256u * static_cast<Colour>(green)
         + 65536u * static_cast<Colour>(blue);
}

constexpr int redOf(Colour c) { return static_cast<int>(c & 0xffu); }
constexpr int greenOf(Colour c) { return static_cast<int>((c >> 8) & 0xffu); }
constexpr int blueOf(Colour c) { return static_cast<int>((c >> 16) & 0xffu); }

// Each curve has one component at 225, not 255.
inline constexpr Colour kWave1Colour = rgb(0, 0, 225);
inline constexpr Colour kWave2Colour = rgb(0, 225, 0);
inline constexpr Colour kResultantColour = rgb(225, 0, 0);

class PlotCanvas {
public:
    virtual ~PlotCanvas() = default;

    // Clears the whole drawing area to the background colour.
    virtual void Cls() = 0;
    // Draws in the foreground colour; the current position becomes (x2, y2).
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
    // The same in the given colour.
    virtual void Line(float x1, float y1, float x2, float y2, Colour colour) = 0;
    // Draws the text with its top-left corner at the current position.
    virtual void Print(std::string_view text) = 0;

protected:
    PlotCanvas() = default;
    PlotCanvas(const PlotCanvas &) = default;
    PlotCanvas &operator=(const PlotCanvas &) = default;
};

} // namespace vorel
