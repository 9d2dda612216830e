// The two windows as tables: every control's name, kind, text, place in
// twips, tab index, font and look. Both front ends, the desktop and the
// browser, build their windows from these tables and from nothing else.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace vorel::forms {

inline constexpr int kTwipsPerPixel = 15; // 96 DPI: twips become logical pixels

struct Twips {
    int left;
    int top;
    int width;
    int height;
};

enum class Kind { Label, Slider, Button, Picture, PlotBox };

enum class Look {
    Caption, // window background, no border, text aligned left
    Readout, // white, single-line border, text aligned left
    Credit,  // centred, wrapped at spaces, a font of its own
    Button,
    Slider,
    Picture, // an image at its natural size
    PlotBox, // sunken border, white drawing area
};

inline constexpr int kNoTabIndex = -1; // a picture never takes the focus
inline constexpr double kDefaultFont = 0; // the program's font: Arial 8 pt

struct Control {
    std::string_view name;
    Kind kind;
    Look look;
    // What the control shows; for the picture and the plot box, which show
    // no text, the name that assistive technology reads.
    std::string_view text;
    Twips where;
    int tabIndex;
    double fontPoints;
    // A slider's number in the slider table (1 for HScroll1); for a caption
    // or a readout, the number of the slider it stands beside; else 0.
    int slider;
};

struct Window {
    std::string_view name;
    int clientWidth; // twips
    int clientHeight;
    std::span<const Control> controls;
};

inline constexpr std::string_view kFontFamily = "Arial";
inline constexpr double kProgramFontPoints = 8;

inline constexpr std::string_view kAuthorCredit = "Por el Taller de Ondas.";
inline constexpr std::string_view kInstitutionCredit = "Laboratorio Escolar de Física de las Ondas";
inline constexpr std::string_view kWindowCaption = "Interferencia de Vorel. Por el Taller de Ondas.";

// The main window, row by row from the top, each row from left to right.
inline constexpr std::array<Control, 28> kForm1Controls{{
    {"Label1", Kind::Label, Look::Caption, "Amplitud 1", {120, 360, 855, 255}, 1, kDefaultFont, 1},
    {"HScroll1", Kind::Slider, Look::Slider, "", {1320, 360, 1215, 255}, 3, kDefaultFont, 1},
    {"Label3", Kind::Label, Look::Readout, "0", {2760, 360, 855, 255}, 5, kDefaultFont, 1},
    {"Label5", Kind::Label, Look::Caption, "Frecuencia 1", {3840, 360, 975, 255}, 7, kDefaultFont, 3},
    {"HScroll3", Kind::Slider, Look::Slider, "", {5040, 360, 1215, 255}, 9, kDefaultFont, 3},
    {"Label7", Kind::Label, Look::Readout, "0", {6480, 360, 855, 255}, 11, kDefaultFont, 3},
    {"Label9", Kind::Label, Look::Caption, "Fase 1", {7560, 360, 735, 255}, 13, kDefaultFont, 5},
    {"HScroll5", Kind::Slider, Look::Slider, "", {8520, 360, 1215, 255}, 15, kDefaultFont, 5},
    {"Label11", Kind::Label, Look::Readout, "0", {9960, 360, 855, 255}, 17, kDefaultFont, 5},

    {"Label2", Kind::Label, Look::Caption, "Amplitud 2", {120, 840, 855, 255}, 2, kDefaultFont, 2},
    {"HScroll2", Kind::Slider, Look::Slider, "", {1320, 840, 1215, 255}, 4, kDefaultFont, 2},
    {"Label4", Kind::Label, Look::Readout, "0", {2760, 840, 855, 255}, 6, kDefaultFont, 2},
    {"Label6", Kind::Label, Look::Caption, "Frecuencia 2", {3840, 840, 975, 255}, 8, kDefaultFont, 4},
    {"HScroll4", Kind::Slider, Look::Slider, "", {5040, 840, 1215, 255}, 10, kDefaultFont, 4},
    {"Label8", Kind::Label, Look::Readout, "0", {6480, 840, 855, 255}, 12, kDefaultFont, 4},
    {"Label10", Kind::Label, Look::Caption, "Fase 2", {7560, 840, 735, 255}, 14, kDefaultFont, 6},
    {"HScroll6", Kind::Slider, Look::Slider, "", {8520, 840, 1215, 255}, 16, kDefaultFont, 6},
    {"Label12", Kind::Label, Look::Readout, "0", {9960, 840, 855, 255}, 18, kDefaultFont, 6},

    {"Label13", Kind::Label, Look::Caption, "Rango", {240, 1440, 735, 255}, 23, kDefaultFont, 7},
    {"HScroll7", Kind::Slider, Look::Slider, "", {1320, 1440, 1215, 255}, 24, kDefaultFont, 7},
    {"Label14", Kind::Label, Look::Readout, "0", {2760, 1440, 855, 255}, 25, kDefaultFont, 7},
    {"Command1", Kind::Button, Look::Button, "Onda 1", {3840, 1440, 975, 375}, 19, kDefaultFont, 0},
    {"Command2", Kind::Button, Look::Button, "Onda 2", {5040, 1440, 975, 375}, 20, kDefaultFont, 0},
    {"Command6", Kind::Button, Look::Button, "Vorel 1 y 2", {6240, 1440, 975, 375}, 27, kDefaultFont, 0},
    {"Command5", Kind::Button, Look::Button, "Resultante", {7440, 1440, 975, 375}, 26, kDefaultFont, 0},
    {"Command3", Kind::Button, Look::Button, "Todas", {8640, 1440, 975, 375}, 21, kDefaultFont, 0},
    {"Command4", Kind::Button, Look::Button, "Regresar", {9840, 1440, 1095, 375}, 22, kDefaultFont, 0},

    {"Picture1", Kind::PlotBox, Look::PlotBox, "Gráfica", {120, 2040, 10695, 6015}, 0, kDefaultFont, 0},
}};

// The title window, from the top.
inline constexpr std::array<Control, 6> kForm2Controls{{
    {"Image1", Kind::Picture, Look::Picture, "Dibujo de dos ondas y de su suma", {3120, 240, 2430, 2130},
     kNoTabIndex, kDefaultFont, 0},
    {"Label2", Kind::Label, Look::Credit, kInstitutionCredit, {1680, 2760, 5415, 1455}, 1, 18, 0},
    // The title begins with a space.
    {"Label1", Kind::Label, Look::Credit, " Sistema de Simulación para la Interferencia de Vorel",
     {1560, 4560, 5655, 855}, 0, 18, 0},
    {"Label3", Kind::Label, Look::Credit, kAuthorCredit, {2400, 5760, 4095, 495}, 2, 15.75, 0},
    {"Command1", Kind::Button, Look::Button, "Continuar", {840, 6600, 2895, 615}, 3, kDefaultFont, 0},
    {"Command2", Kind::Button, Look::Button, "Salir", {5160, 6600, 2895, 615}, 4, kDefaultFont, 0},
}};

inline constexpr Window kForm1{"Form1", 11115, 8115, kForm1Controls};
inline constexpr Window kForm2{"Form2", 9030, 7785, kForm2Controls};

// The control of that name, or nullptr.
const Control *find(const Window &window, std::string_view name);

} // namespace vorel::forms
