// The last plot for the ear: walked along point by point with the keys,
// each point said in numbers, and each curve played as the wave it is.
// Both front ends hand on what this decides; neither decides anything.
#pragma once

#include "params/sliders.h"
#include "plot/commands.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorel {

// What the plot box says of its keys, after the description of its plot.
inline constexpr std::string_view kPlotBoxKeys = "Alt+T: modo de audio. Intro: escuchar. Flechas: recorrer.";
inline constexpr std::string_view kAudioModeOn = "Modo de audio activado.";
inline constexpr std::string_view kAudioModeOff = "Modo de audio desactivado.";
inline constexpr std::string_view kNoPlot = "No hay gráfico.";
inline constexpr std::string_view kNoSoundOutput = "No hay salida de sonido.";

// The plot box's description: its plot's, if it has one, then its keys.
std::string plotBoxDescription(std::string_view plotText);

// The sound of a plot: each curve it drew, in drawing order, for
// kCurveSeconds, with kGapSeconds of silence between curves and a linear
// fade of kFadeSeconds at each end of each. A second of sound stands for
// 2π·44 units of plot time, so a wave of angular frequency ω sounds at
// 44·ω Hz; a value of 100, the largest sum of two waves, is full scale.
inline constexpr int kSoundRate = 44100; // samples a second, mono
inline constexpr double kCurveSeconds = 1.5;
inline constexpr double kGapSeconds = 0.25;
inline constexpr double kFadeSeconds = 0.010;
inline constexpr double kHertzPerAngularFrequency = 44.0;
inline constexpr double kFullScale = 100.0;

std::vector<float> plotSound(PlotCommand command, const SliderPositions &positions);

// What the plot box's keys mean while it has the focus.
enum class PlotKey {
    AudioMode,    // Alt+T
    Forward,      // Right: T/100 on
    Back,         // Left
    TickForward,  // Page Down: T/10 on
    TickBack,     // Page Up
    Start,        // Home: t = 0
    End,          // End: t = T
    Play,         // Enter, Space, H
    Stop,         // Escape
};

struct KeyAnswer {
    bool handled = false; // false: the key does what it always did
    std::string say;      // said to the user when not empty
    bool play = false;    // play sound(), from its start, in place of what plays
    bool stop = false;    // stop what plays
};

// The audio mode of one main window's plot box, and its trace point. The
// mode starts off, and while it is off every key but Alt+T is left alone.
class AudioTrace {
public:
    // A plot drew: the keys now walk along it and play it, whatever the
    // sliders do afterwards.
    void plotted(PlotCommand command, const SliderPositions &positions);

    // held: the key's own repeat while it is held down. A held Alt+T or
    // play key counts once, rather than toggling or restarting on and on.
    KeyAnswer key(PlotKey key, std::string_view decimalSeparator = ".", bool held = false);

    bool on() const { return m_on; }
    // The sound of the last plot; empty before the first.
    std::vector<float> sound() const;

private:
    struct Plot {
        PlotCommand command;
        SliderPositions positions;
    };

    std::string pointText(std::string_view decimalSeparator) const;

    static constexpr int kPointSteps = 100; // a Right moves T/100, a tick 10 of them

    bool m_on = false;
    std::optional<Plot> m_plot;
    std::optional<int> m_point; // in hundredths of T, unset until a key after the plot
};

} // namespace vorel
