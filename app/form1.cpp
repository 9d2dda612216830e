#include "form1.h"

#include "accessibility.h"
#include "announcer.h"
#include "commandbutton.h"
#include "plotbox.h"
#include "scrollbar.h"
#include "plot/trace.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>

using vorel::PlotCommand;
using vorel::Quantity;

namespace forms = vorel::forms;

namespace {

std::string decimalSeparator()
{
    return QLocale().decimalPoint().toStdString();
}

std::int16_t position(const ScrollBar *slider)
{
    // The ranges stop at 1000, well inside 16 bits.
    return static_cast<std::int16_t>(slider->value());
}

} // namespace

Form1::Form1(QWidget *titleWindow) : m_titleWindow(titleWindow)
{
    installAccessibleInterfaces();
    setAttribute(Qt::WA_DeleteOnClose);
    setUpWindow(this, toPixels(forms::kForm1.clientWidth, forms::kForm1.clientHeight));

    for (const forms::Control &control : forms::kForm1.controls) {
        if (QWidget *widget = build(control))
            place(widget, control);
    }

    Label1 = child<QLabel>(this, "Label1");
    Label2 = child<QLabel>(this, "Label2");
    Label3 = child<QLabel>(this, "Label3");
    Label4 = child<QLabel>(this, "Label4");
    Label5 = child<QLabel>(this, "Label5");
    Label6 = child<QLabel>(this, "Label6");
    Label7 = child<QLabel>(this, "Label7");
    Label8 = child<QLabel>(this, "Label8");
    Label9 = child<QLabel>(this, "Label9");
    Label10 = child<QLabel>(this, "Label10");
    Label11 = child<QLabel>(this, "Label11");
    Label12 = child<QLabel>(this, "Label12");
    Label13 = child<QLabel>(this, "Label13");
    Label14 = child<QLabel>(this, "Label14");
    HScroll1 = child<ScrollBar>(this, "HScroll1");
    HScroll2 = child<ScrollBar>(this, "HScroll2");
    HScroll3 = child<ScrollBar>(this, "HScroll3");
    HScroll4 = child<ScrollBar>(this, "HScroll4");
    HScroll5 = child<ScrollBar>(this, "HScroll5");
    HScroll6 = child<ScrollBar>(this, "HScroll6");
    HScroll7 = child<ScrollBar>(this, "HScroll7");
    Command1 = child<CommandButton>(this, "Command1");
    Command2 = child<CommandButton>(this, "Command2");
    Command3 = child<CommandButton>(this, "Command3");
    Command4 = child<CommandButton>(this, "Command4");
    Command5 = child<CommandButton>(this, "Command5");
    Command6 = child<CommandButton>(this, "Command6");
    Picture1 = child<PlotBox>(this, "Picture1");

    for (const forms::Control &control : forms::kForm1.controls) {
        if (control.kind == forms::Kind::Slider)
            describeSlider(control.slider);
    }

    m_announcer = new Announcer(this);
    applyTabOrder(this);

    connect(HScroll1, &ScrollBar::valueChanged, this, &Form1::HScroll1_Change);
    connect(HScroll2, &ScrollBar::valueChanged, this, &Form1::HScroll2_Change);
    connect(HScroll3, &ScrollBar::valueChanged, this, &Form1::HScroll3_Change);
    connect(HScroll4, &ScrollBar::valueChanged, this, &Form1::HScroll4_Change);
    connect(HScroll5, &ScrollBar::valueChanged, this, &Form1::HScroll5_Change);
    connect(HScroll6, &ScrollBar::valueChanged, this, &Form1::HScroll6_Change);
    connect(HScroll7, &ScrollBar::valueChanged, this, &Form1::HScroll7_Change);
    connect(Command1, &CommandButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &CommandButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &CommandButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &CommandButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &CommandButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &CommandButton::clicked, this, &Form1::Command6_Click);
    connect(Picture1, &PlotBox::keyDown, this, &Form1::Picture1_KeyDown);
}

QWidget *Form1::build(const forms::Control &control)
{
    switch (control.kind) {
    case forms::Kind::Label:
        return control.look == forms::Look::Readout ? readoutLabel(control) : captionLabel(control);
    case forms::Kind::Slider:
        return slider(control);
    case forms::Kind::Button:
        return new CommandButton(toQString(control.text), this);
    case forms::Kind::PlotBox: {
        auto *box = new PlotBox(this);
        box->setAccessibleName(toQString(control.text));
        box->setAccessibleDescription(QString::fromStdString(vorel::plotBoxDescription({})));
        box->setToolTip(toQString(vorel::kPlotBoxKeys));
        return box;
    }
    case forms::Kind::Picture:
        break; // only the title window has one
    }
    return nullptr;
}

QLabel *Form1::captionLabel(const forms::Control &control)
{
    auto *label = new QLabel(toQString(control.text), this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel *Form1::readoutLabel(const forms::Control &control)
{
    auto *label = new QLabel(toQString(control.text), this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

ScrollBar *Form1::slider(const forms::Control &control)
{
    const vorel::SliderSpec &spec = vorel::slider(control.slider);
    auto *bar = new ScrollBar(this);
    bar->setRange(spec.minimum, spec.maximum);
    bar->setSingleStep(spec.singleStep);
    bar->setPageStep(spec.pageStep);
    bar->setValue(spec.minimum);
    return bar;
}

// A screen reader names the slider after its caption and reads the value
// as the readout shows it.
void Form1::describeSlider(int number)
{
    auto *slider = child<ScrollBar>(this, "HScroll" + std::to_string(number));
    QLabel *caption = nullptr;
    QLabel *readout = nullptr;
    for (const forms::Control &control : forms::kForm1.controls) {
        if (control.kind == forms::Kind::Label && control.slider == number)
            (control.look == forms::Look::Readout ? readout : caption) = child<QLabel>(this, control.name);
    }
    slider->setAccessibleName(caption->text());
    slider->setAccessibleDescription(readout->text());
    caption->setBuddy(slider);
    readout->setBuddy(slider);
}

void Form1::showReadout(QLabel *readout, ScrollBar *slider, Quantity quantity)
{
    const QString text = QString::fromStdString(vorel::readoutText(quantity, position(slider), decimalSeparator()));
    readout->setText(text);
    slider->setAccessibleDescription(text);
}

void Form1::plot(PlotCommand command)
{
    const vorel::SliderPositions positions{
        position(HScroll1), position(HScroll2), position(HScroll3), position(HScroll4),
        position(HScroll5), position(HScroll6), position(HScroll7),
    };
    vorel::PlotValues values;
    if (!vorel::runPlotCommand(command, Picture1->canvas(), positions, decimalSeparator(), &values))
        return;
    m_audioTrace.plotted(command, positions);
    const std::string words = vorel::describePlot(command, positions, decimalSeparator(), &values);
    // The box is described by its plot and its keys when it takes the
    // focus; the words are said at once, wherever the focus is.
    Picture1->setAccessibleDescription(QString::fromStdString(vorel::plotBoxDescription(words)));
    say(words);
}

void Form1::say(const std::string &text) { m_announcer->say(QString::fromStdString(text)); }

void Form1::setSoundOutput(std::unique_ptr<SoundOutput> output) { m_sound = std::move(output); }

SoundOutput &Form1::soundOutput()
{
    if (!m_sound)
        m_sound = makeSpeakers();
    return *m_sound;
}

void Form1::HScroll1_Change() { showReadout(Label3, HScroll1, Quantity::Amplitude); }
void Form1::HScroll2_Change() { showReadout(Label4, HScroll2, Quantity::Amplitude); }
void Form1::HScroll3_Change() { showReadout(Label7, HScroll3, Quantity::AngularFrequency); }
void Form1::HScroll4_Change() { showReadout(Label8, HScroll4, Quantity::AngularFrequency); }
void Form1::HScroll5_Change() { showReadout(Label11, HScroll5, Quantity::Phase); }
void Form1::HScroll6_Change() { showReadout(Label12, HScroll6, Quantity::Phase); }
void Form1::HScroll7_Change() { showReadout(Label14, HScroll7, Quantity::TimeRange); }

void Form1::Command1_Click() { plot(PlotCommand::Wave1); }
void Form1::Command2_Click() { plot(PlotCommand::Wave2); }
void Form1::Command3_Click() { plot(PlotCommand::All); }
void Form1::Command5_Click() { plot(PlotCommand::Resultant); }
void Form1::Command6_Click() { plot(PlotCommand::BothWaves); }

void Form1::Command4_Click() { returnToTitle(); }

void Form1::Picture1_KeyDown(QKeyEvent *event)
{
    const std::optional<vorel::PlotKey> key = plotKeyOf(*event);
    if (!key)
        return;
    const vorel::KeyAnswer answer = m_audioTrace.key(*key, decimalSeparator(), event->isAutoRepeat());
    if (!answer.handled)
        return;
    event->accept();
    if (answer.stop && m_sound)
        m_sound->stop();
    if (answer.play && !soundOutput().play(m_audioTrace.sound(), vorel::kSoundRate))
        say(std::string(vorel::kNoSoundOutput));
    else if (!answer.say.empty())
        say(answer.say);
}

// Closing only hides this window here; Qt then destroys it, and the next
// "Continuar" builds a fresh one.
void Form1::Form_Unload(bool & /*cancel*/) { returnToTitle(); }

// Leaving the window silences it. Hide first, then show: the two windows
// are never visible together.
void Form1::returnToTitle()
{
    if (m_sound)
        m_sound->stop();
    hide();
    if (m_titleWindow)
        m_titleWindow->show();
}

void Form1::closeEvent(QCloseEvent *event)
{
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
    if (!cancel)
        emit unloaded();
}
