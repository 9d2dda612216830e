// Whether there is a graphical session to show the windows in. Decided
// before Qt starts, because Qt aborts without one and its message reads
// like a broken installation.
#pragma once

#include <functional>

inline constexpr char kNoSessionMessage[] =
    "vorel: necesita una sesión gráfica (X11 o Wayland) para mostrar sus ventanas.";

// A reading of the environment, such as std::getenv.
using EnvironmentLookup = std::function<const char *(const char *name)>;

// True with an X11 or Wayland display, or with a platform chosen on the
// command line (-platform or --platform) or in QT_QPA_PLATFORM: whoever
// chooses one, such as offscreen, knows where the windows go.
bool hasGraphicalSession(int argc, const char *const *argv, const EnvironmentLookup &environment);
