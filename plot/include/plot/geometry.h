// The fixed geometry of every plot, in canvas units. Nothing here depends on
// the size of the window.
#pragma once

namespace vorel {

inline constexpr int kCanvasWidth = 10500;
inline constexpr int kCanvasHeight = 6000;

// The plot region: time 0 to T across, upper bound to lower bound down.
inline constexpr int kPlotLeft = 500;
inline constexpr int kPlotRight = 10000;
inline constexpr int kPlotTop = 500;
inline constexpr int kPlotBottom = 5500;
inline constexpr int kPlotWidth = kPlotRight - kPlotLeft;   // 9500
inline constexpr int kPlotHeight = kPlotBottom - kPlotTop;  // 5000

// The time axis runs across the middle whatever the value bounds.
inline constexpr int kTimeAxisY = 3000;

inline constexpr int kValueTickCount = 6;
inline constexpr int kValueTickSpacing = 1000;
inline constexpr int kTimeTickCount = 11;
inline constexpr int kTimeTickSpacing = 950;
inline constexpr int kTickLength = 50;

// Labels start at fixed anchors, whatever their length.
inline constexpr int kValueLabelX = 100;
inline constexpr int kLabelOffset = 100;

} // namespace vorel
