// The windows' tables, which both front ends build from: a fault here shows
// in both at once.
#include "forms/forms.h"
#include "params/sliders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

using namespace vorel::forms;

namespace {

bool overlap(const Twips &a, const Twips &b)
{
    return a.left < b.left + b.width && b.left < a.left + a.width
        && a.top < b.top + b.height && b.top < a.top + a.height;
}

class window_table : public ::testing::TestWithParam<const Window *> {};

TEST_P(window_table, keeps_every_control_inside_the_window_and_apart)
{
    const Window &window = *GetParam();
    std::set<std::string_view> names;
    for (const Control &c : window.controls) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_TRUE(names.insert(c.name).second) << "name used twice";
        EXPECT_GE(c.where.left, 0);
        EXPECT_GE(c.where.top, 0);
        EXPECT_LE(c.where.left + c.where.width, window.clientWidth);
        EXPECT_LE(c.where.top + c.where.height, window.clientHeight);
        for (const Control &other : window.controls) {
            if (&other != &c) {
                EXPECT_FALSE(overlap(c.where, other.where)) << "overlaps " << other.name;
            }
        }
    }
}

TEST_P(window_table, uses_each_tab_index_once_from_zero)
{
    std::vector<int> indexes;
    for (const Control &c : GetParam()->controls) {
        if (c.tabIndex != kNoTabIndex)
            indexes.push_back(c.tabIndex);
    }
    std::sort(indexes.begin(), indexes.end());
    for (std::size_t i = 0; i < indexes.size(); ++i)
        EXPECT_EQ(indexes[i], static_cast<int>(i));
}

INSTANTIATE_TEST_SUITE_P(both, window_table, ::testing::Values(&kForm1, &kForm2),
                         [](const auto &info) { return std::string(info.param->name); });

TEST(form1_table, has_twenty_eight_tab_indexes)
{
    EXPECT_EQ(std::count_if(kForm1.controls.begin(), kForm1.controls.end(),
                            [](const Control &c) { return c.tabIndex != kNoTabIndex; }),
              28);
}

// Each slider has its caption to its left and its readout to its right, in
// its row, and the caption is the one the slider table gives it: a swapped
// number would put a readout beside the wrong slider.
TEST(form1_table, puts_caption_slider_and_readout_of_one_slider_in_a_row)
{
    for (int number = 1; number <= 7; ++number) {
        SCOPED_TRACE(number);
        const Control *bar = find(kForm1, "HScroll" + std::to_string(number));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->slider, number);
        const Control *caption = nullptr;
        const Control *readout = nullptr;
        for (const Control &c : kForm1.controls) {
            if (c.kind == Kind::Label && c.slider == number)
                (c.look == Look::Readout ? readout : caption) = &c;
        }
        ASSERT_NE(caption, nullptr);
        ASSERT_NE(readout, nullptr);
        EXPECT_EQ(caption->text, vorel::slider(number).caption);
        EXPECT_EQ(readout->text, "0");
        EXPECT_EQ(caption->where.top, bar->where.top);
        EXPECT_EQ(readout->where.top, bar->where.top);
        EXPECT_LT(caption->where.left, bar->where.left);
        EXPECT_GT(readout->where.left, bar->where.left);
    }
}

TEST(window_caption, ends_with_the_author_credit)
{
    EXPECT_EQ(kWindowCaption, std::string("Interferencia de Vorel. ") + std::string(kAuthorCredit));
    EXPECT_EQ(kAuthorCredit.back(), '.');
}

} // namespace
