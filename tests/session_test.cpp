#include "session.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct SessionCase {
    const char *name;
    std::map<std::string, std::string> environment;
    std::vector<const char *> arguments; // after the program's name
    bool hasSession;
    friend void PrintTo(const SessionCase &c, std::ostream *os) { *os << c.name; }
};

class graphical_session : public ::testing::TestWithParam<SessionCase> {};

TEST_P(graphical_session, needs_a_display_or_a_chosen_platform)
{
    const SessionCase &c = GetParam();
    std::vector<const char *> argv{"vorel"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const auto lookup = [&](const char *name) -> const char * {
        const auto found = c.environment.find(name);
        return found == c.environment.end() ? nullptr : found->second.c_str();
    };
    EXPECT_EQ(hasGraphicalSession(int(argv.size()), argv.data(), lookup), c.hasSession);
}

INSTANTIATE_TEST_SUITE_P(cases, graphical_session, ::testing::Values(
    SessionCase{"nothing", {{"HOME", "/root"}}, {}, false},
    SessionCase{"x11", {{"DISPLAY", ":0"}}, {}, true},
    SessionCase{"wayland", {{"WAYLAND_DISPLAY", "wayland-0"}}, {}, true},
    SessionCase{"empty_display", {{"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}}, {}, false},
    SessionCase{"platform_variable", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, true},
    SessionCase{"empty_platform_variable", {{"QT_QPA_PLATFORM", ""}}, {}, false},
    SessionCase{"platform_option", {}, {"-platform", "offscreen"}, true},
    SessionCase{"double_dash_option", {}, {"--platform", "vnc"}, true},
    SessionCase{"option_without_platform", {}, {"-platform"}, false},
    SessionCase{"platform_as_a_plain_word", {}, {"offscreen", "-platform"}, false},
    SessionCase{"other_option", {}, {"-style", "fusion"}, false}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
