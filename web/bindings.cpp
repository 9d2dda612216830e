// The calls the page makes into the shared core: the windows' tables, the
// readout texts, the plot commands drawn by the shared rasteriser into
// pixels the page hands to putImageData, and the plot box's audio trace:
// what its keys say and the sound they play. Nothing here decides anything
// the desktop does not decide the same way.
#include "forms/forms.h"
#include "params/sliders.h"
#include "plot/audiotrace.h"
#include "plot/commands.h"
#include "plot/trace.h"
#include "raster/rastercanvas.h"

#include <emscripten/bind.h>
#include <emscripten/em_js.h>
#include <emscripten/emscripten.h>
#include <emscripten/val.h>

#include <cstdint>
#include <string>
#include <vector>

using emscripten::val;
namespace forms = vorel::forms;

// The page's text drawer (plotbox.js) writes the label with canvas text
// into the same pixels, so that a curve drawn later lies over it.
EM_JS(void, vorel_draw_text,
      (std::uint8_t *pixels, int width, int height, double ratio, int x, int y, const char *text, int colour), {
          Module["drawText"](pixels, width, height, ratio, x, y, UTF8ToString(text), colour);
      });

namespace {

class PageTextDrawer final : public vorel::TextDrawer {
public:
    void drawText(vorel::PixelBuffer &pixels, int x, int y, std::string_view text, vorel::Colour colour) override
    {
        const std::string copy(text);
        vorel_draw_text(reinterpret_cast<std::uint8_t *>(pixels.data()), pixels.width(), pixels.height(),
                        pixels.ratio(), x, y, copy.c_str(), static_cast<int>(colour));
    }
};

PageTextDrawer &textDrawer()
{
    static PageTextDrawer drawer;
    return drawer;
}

// The one plot box of the page; like the desktop's, it keeps its picture.
vorel::RasterCanvas &canvas()
{
    static vorel::RasterCanvas box(1.0, &textDrawer());
    return box;
}

std::string text(std::string_view s) { return std::string(s); }

val rect(const forms::Twips &t, int divisor)
{
    val r = val::object();
    r.set("left", t.left / divisor);
    r.set("top", t.top / divisor);
    r.set("width", t.width / divisor);
    r.set("height", t.height / divisor);
    return r;
}

const char *kindName(forms::Kind kind)
{
    switch (kind) {
    case forms::Kind::Label: return "label";
    case forms::Kind::Slider: return "slider";
    case forms::Kind::Button: return "button";
    case forms::Kind::Picture: return "picture";
    case forms::Kind::PlotBox: return "plotbox";
    }
    return "";
}

const char *lookName(forms::Look look)
{
    switch (look) {
    case forms::Look::Caption: return "caption";
    case forms::Look::Readout: return "readout";
    case forms::Look::Credit: return "credit";
    case forms::Look::Button: return "button";
    case forms::Look::Slider: return "slider";
    case forms::Look::Picture: return "picture";
    case forms::Look::PlotBox: return "plotbox";
    }
    return "";
}

// A window's table as plain objects, with every place and size both in
// twips and in CSS pixels (twips / 15).
val windowTable(const std::string &name)
{
    const forms::Window &window = name == forms::kForm1.name ? forms::kForm1 : forms::kForm2;
    val controls = val::array();
    for (const forms::Control &c : window.controls) {
        val control = val::object();
        control.set("name", text(c.name));
        control.set("kind", std::string(kindName(c.kind)));
        control.set("look", std::string(lookName(c.look)));
        control.set("text", text(c.text));
        control.set("twips", rect(c.where, 1));
        control.set("pixels", rect(c.where, forms::kTwipsPerPixel));
        control.set("tabIndex", c.tabIndex);
        control.set("fontPoints", c.fontPoints == forms::kDefaultFont ? forms::kProgramFontPoints : c.fontPoints);
        control.set("slider", c.slider);
        controls.call<void>("push", control);
    }
    val table = val::object();
    table.set("name", text(window.name));
    table.set("caption", text(forms::kWindowCaption));
    table.set("fontFamily", text(forms::kFontFamily));
    table.set("fontPoints", forms::kProgramFontPoints);
    table.set("clientWidth", window.clientWidth / forms::kTwipsPerPixel);
    table.set("clientHeight", window.clientHeight / forms::kTwipsPerPixel);
    table.set("controls", controls);
    return table;
}

val sliderSpec(int number)
{
    const vorel::SliderSpec &spec = vorel::slider(number);
    val s = val::object();
    s.set("caption", text(spec.caption));
    s.set("minimum", spec.minimum);
    s.set("maximum", spec.maximum);
    s.set("singleStep", spec.singleStep);
    s.set("pageStep", spec.pageStep);
    return s;
}

std::string readoutText(int number, int position, const std::string &separator)
{
    return vorel::readoutText(vorel::slider(number).quantity, static_cast<std::int16_t>(position), separator);
}

// The slider's value in its readout's units, for assistive technology.
double parameterAt(int number, int position)
{
    return vorel::valueAt(vorel::slider(number).quantity, static_cast<std::int16_t>(position));
}

// Draws the plot and gives back what it shows, in words, from the values
// it drew; nothing when its guard refused it.
std::string plot(vorel::PlotCommand command, const vorel::SliderPositions &positions, const std::string &separator)
{
    vorel::PlotValues values;
    if (!vorel::runPlotCommand(command, canvas(), positions, separator, &values))
        return {};
    return vorel::describePlot(command, positions, separator, &values);
}

// The picture as the page puts it: where its RGBA bytes start in the
// module's memory, and its size in device pixels.
val picture()
{
    vorel::PixelBuffer &pixels = canvas().pixels();
    val p = val::object();
    p.set("pointer", reinterpret_cast<std::uintptr_t>(pixels.data()));
    p.set("width", pixels.width());
    p.set("height", pixels.height());
    p.set("ratio", pixels.ratio());
    return p;
}

std::string plotBoxDescription(const std::string &plotText) { return vorel::plotBoxDescription(plotText); }

vorel::KeyAnswer audioKey(vorel::AudioTrace &trace, vorel::PlotKey key, const std::string &separator, bool held)
{
    return trace.key(key, separator, held);
}

// The last plot's sound as a view of the module's memory, which the page
// copies at once into the buffer it plays: the next call replaces it.
val traceSound(const vorel::AudioTrace &trace)
{
    static std::vector<float> samples;
    samples = trace.sound();
    return val(emscripten::typed_memory_view(samples.size(), samples.data()));
}

val audioTexts()
{
    val t = val::object();
    t.set("noSoundOutput", text(vorel::kNoSoundOutput));
    t.set("soundRate", vorel::kSoundRate);
    return t;
}

void setRatio(double ratio) { canvas().setRatio(ratio); }

// The plot box's drawing area in CSS pixels.
val logicalSize()
{
    val s = val::object();
    s.set("width", vorel::RasterCanvas::kLogicalWidth);
    s.set("height", vorel::RasterCanvas::kLogicalHeight);
    return s;
}

} // namespace

EMSCRIPTEN_BINDINGS(vorel)
{
    using namespace emscripten;
    enum_<vorel::PlotCommand>("PlotCommand")
        .value("Wave1", vorel::PlotCommand::Wave1)
        .value("Wave2", vorel::PlotCommand::Wave2)
        .value("BothWaves", vorel::PlotCommand::BothWaves)
        .value("Resultant", vorel::PlotCommand::Resultant)
        .value("All", vorel::PlotCommand::All);
    enum_<vorel::PlotKey>("PlotKey")
        .value("AudioMode", vorel::PlotKey::AudioMode)
        .value("Forward", vorel::PlotKey::Forward)
        .value("Back", vorel::PlotKey::Back)
        .value("TickForward", vorel::PlotKey::TickForward)
        .value("TickBack", vorel::PlotKey::TickBack)
        .value("Start", vorel::PlotKey::Start)
        .value("End", vorel::PlotKey::End)
        .value("Play", vorel::PlotKey::Play)
        .value("Stop", vorel::PlotKey::Stop);
    value_object<vorel::KeyAnswer>("KeyAnswer")
        .field("handled", &vorel::KeyAnswer::handled)
        .field("say", &vorel::KeyAnswer::say)
        .field("play", &vorel::KeyAnswer::play)
        .field("stop", &vorel::KeyAnswer::stop);
    class_<vorel::AudioTrace>("AudioTrace")
        .constructor<>()
        .function("plotted", &vorel::AudioTrace::plotted)
        .function("key", &audioKey)
        .function("on", &vorel::AudioTrace::on)
        .function("sound", &traceSound);
    value_object<vorel::SliderPositions>("SliderPositions")
        .field("amplitude1", &vorel::SliderPositions::amplitude1)
        .field("amplitude2", &vorel::SliderPositions::amplitude2)
        .field("frequency1", &vorel::SliderPositions::frequency1)
        .field("frequency2", &vorel::SliderPositions::frequency2)
        .field("phase1", &vorel::SliderPositions::phase1)
        .field("phase2", &vorel::SliderPositions::phase2)
        .field("range", &vorel::SliderPositions::range);
    function("windowTable", &windowTable);
    function("sliderSpec", &sliderSpec);
    function("readoutText", &readoutText);
    function("parameterAt", &parameterAt);
    function("plot", &plot);
    function("plotBoxDescription", &plotBoxDescription);
    function("audioTexts", &audioTexts);
    function("picture", &picture);
    function("setRatio", &setRatio);
    function("logicalSize", &logicalSize);
}
