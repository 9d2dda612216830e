// A canvas that remembers every call, for checking what a plot draws.
#pragma once

#include "plot/canvas.h"
#include "plot/commands.h"

#include <optional>
#include <string>
#include <vector>

struct Call {
    enum Kind { Cls, Line, Print } kind;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::optional<vorel::Colour> colour; // none: the foreground colour
    std::string text;                    // Print: printed at (x1, y1)
};

class RecordingCanvas : public vorel::PlotCanvas {
public:
    void Cls() override { calls.push_back({Call::Cls, 0, 0, 0, 0, std::nullopt, {}}); }
    void Line(float x1, float y1, float x2, float y2) override
    {
        calls.push_back({Call::Line, x1, y1, x2, y2, std::nullopt, {}});
        m_x = x2;
        m_y = y2;
    }
    void Line(float x1, float y1, float x2, float y2, vorel::Colour colour) override
    {
        calls.push_back({Call::Line, x1, y1, x2, y2, colour, {}});
        m_x = x2;
        m_y = y2;
    }
    void Print(std::string_view text) override
    {
        calls.push_back({Call::Print, m_x, m_y, m_x, m_y, std::nullopt, std::string(text)});
    }

    // The curve segments of one colour, in the order they were drawn.
    std::vector<Call> segments(vorel::Colour colour) const
    {
        std::vector<Call> result;
        for (const Call &c : calls)
            if (c.kind == Call::Line && c.colour == colour)
                result.push_back(c);
        return result;
    }
    std::vector<Call> coloured() const
    {
        std::vector<Call> result;
        for (const Call &c : calls)
            if (c.kind == Call::Line && c.colour)
                result.push_back(c);
        return result;
    }
    std::vector<Call> prints() const
    {
        std::vector<Call> result;
        for (const Call &c : calls)
            if (c.kind == Call::Print)
                result.push_back(c);
        return result;
    }
    std::vector<std::string> printedTexts() const
    {
        std::vector<std::string> result;
        for (const Call &c : prints())
            result.push_back(c.text);
        return result;
    }

    std::vector<Call> calls;

private:
    float m_x = 0, m_y = 0;
};

// What a plot command draws for slider positions given as A1, A2, ω1·10,
// ω2·10, φ1·100, φ2·100, T·10.
inline RecordingCanvas recordPlot(vorel::PlotCommand command, vorel::SliderPositions positions)
{
    RecordingCanvas canvas;
    vorel::runPlotCommand(command, canvas, positions);
    return canvas;
}
