#include "session.h"

#include <string_view>

namespace {

bool isSet(const EnvironmentLookup &environment, const char *name)
{
    const char *value = environment(name);
    return value && *value;
}

} // namespace

bool hasGraphicalSession(int argc, const char *const *argv, const EnvironmentLookup &environment)
{
    if (isSet(environment, "DISPLAY") || isSet(environment, "WAYLAND_DISPLAY")
        || isSet(environment, "QT_QPA_PLATFORM"))
        return true;
    // Qt takes the platform from the argument that follows the option.
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string_view arg = argv[i];
        if ((arg == "-platform" || arg == "--platform") && *argv[i + 1])
            return true;
    }
    return false;
}
