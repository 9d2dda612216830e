// The windows' tables, which both front ends build from: a fault here shows
// in both at once.
#include "forms/forms.h"
#include "params/sliders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
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

struct ControlRow {
    const char *name;
    const char *text; // nullptr: a picture or the plot box, which show no text
    Twips where;
    int tabIndex;
};

// Every control as the user meets it, control by control.
void expectControls(const Window &window, int width, int height, const std::vector<ControlRow> &rows)
{
    EXPECT_EQ(window.clientWidth, width);
    EXPECT_EQ(window.clientHeight, height);
    ASSERT_EQ(window.controls.size(), rows.size());
    for (const ControlRow &row : rows) {
        SCOPED_TRACE(row.name);
        const Control *c = find(window, row.name);
        ASSERT_NE(c, nullptr);
        if (row.text) {
            EXPECT_EQ(c->text, row.text);
        }
        EXPECT_EQ(std::tie(c->where.left, c->where.top, c->where.width, c->where.height),
                  std::tie(row.where.left, row.where.top, row.where.width, row.where.height));
        EXPECT_EQ(c->tabIndex, row.tabIndex);
    }
}

// The names of the controls that take the focus, in the order Tab visits them.
std::vector<std::string_view> tabOrder(const Window &window)
{
    std::vector<const Control *> focusable;
    for (const Control &c : window.controls)
        if (c.kind == Kind::Slider || c.kind == Kind::Button || c.kind == Kind::PlotBox)
            focusable.push_back(&c);
    std::sort(focusable.begin(), focusable.end(), [](auto a, auto b) { return a->tabIndex < b->tabIndex; });
    std::vector<std::string_view> names;
    for (const Control *c : focusable)
        names.push_back(c->name);
    return names;
}

TEST(form1_table, places_every_control_with_its_text_and_tab_index)
{
    expectControls(kForm1, 11115, 8115, {
        {"Label1", "Amplitud 1", {120, 360, 855, 255}, 1}, {"HScroll1", "", {1320, 360, 1215, 255}, 3},
        {"Label3", "0", {2760, 360, 855, 255}, 5}, {"Label5", "Frecuencia 1", {3840, 360, 975, 255}, 7},
        {"HScroll3", "", {5040, 360, 1215, 255}, 9}, {"Label7", "0", {6480, 360, 855, 255}, 11},
        {"Label9", "Fase 1", {7560, 360, 735, 255}, 13}, {"HScroll5", "", {8520, 360, 1215, 255}, 15},
        {"Label11", "0", {9960, 360, 855, 255}, 17}, {"Label2", "Amplitud 2", {120, 840, 855, 255}, 2},
        {"HScroll2", "", {1320, 840, 1215, 255}, 4}, {"Label4", "0", {2760, 840, 855, 255}, 6},
        {"Label6", "Frecuencia 2", {3840, 840, 975, 255}, 8}, {"HScroll4", "", {5040, 840, 1215, 255}, 10},
        {"Label8", "0", {6480, 840, 855, 255}, 12}, {"Label10", "Fase 2", {7560, 840, 735, 255}, 14},
        {"HScroll6", "", {8520, 840, 1215, 255}, 16}, {"Label12", "0", {9960, 840, 855, 255}, 18},
        {"Label13", "Rango", {240, 1440, 735, 255}, 23}, {"HScroll7", "", {1320, 1440, 1215, 255}, 24},
        {"Label14", "0", {2760, 1440, 855, 255}, 25}, {"Command1", "Onda 1", {3840, 1440, 975, 375}, 19},
        {"Command2", "Onda 2", {5040, 1440, 975, 375}, 20}, {"Command6", "Vorel 1 y 2", {6240, 1440, 975, 375}, 27},
        {"Command5", "Resultante", {7440, 1440, 975, 375}, 26}, {"Command3", "Todas", {8640, 1440, 975, 375}, 21},
        {"Command4", "Regresar", {9840, 1440, 1095, 375}, 22}, {"Picture1", nullptr, {120, 2040, 10695, 6015}, 0},
    });
    EXPECT_EQ(tabOrder(kForm1), (std::vector<std::string_view>{
        "Picture1", "HScroll1", "HScroll2", "HScroll3", "HScroll4", "HScroll5", "HScroll6",
        "Command1", "Command2", "Command3", "Command4", "HScroll7", "Command5", "Command6"}));
}

TEST(form2_table, places_every_control_with_its_text_and_tab_index)
{
    expectControls(kForm2, 9030, 7785, {
        {"Image1", nullptr, {3120, 240, 2430, 2130}, kNoTabIndex},
        {"Label2", "Laboratorio Escolar de Física de las Ondas", {1680, 2760, 5415, 1455}, 1},
        {"Label1", " Sistema de Simulación para la Interferencia de Vorel", {1560, 4560, 5655, 855}, 0},
        {"Label3", "Por el Taller de Ondas.", {2400, 5760, 4095, 495}, 2},
        {"Command1", "Continuar", {840, 6600, 2895, 615}, 3}, {"Command2", "Salir", {5160, 6600, 2895, 615}, 4},
    });
    EXPECT_EQ(tabOrder(kForm2), (std::vector<std::string_view>{"Command1", "Command2"}));
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
