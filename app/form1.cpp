#include "form1.h"

#include "accessibility.h"
#include "commandbutton.h"
#include "plotbox.h"
#include "scrollbar.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLocale>

using vorel::PlotCommand;
using vorel::Quantity;

namespace {

constexpr int kClientWidth = 11115; // twips
constexpr int kClientHeight = 8115;

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
    setUpWindow(this, toPixels(kClientWidth, kClientHeight));

    Label1 = captionLabel("Label1", "Amplitud 1", {120, 360, 855, 255}, 1);
    HScroll1 = slider("HScroll1", 1, {1320, 360, 1215, 255}, 3);
    Label3 = readoutLabel("Label3", {2760, 360, 855, 255}, 5);
    Label5 = captionLabel("Label5", "Frecuencia 1", {3840, 360, 975, 255}, 7);
    HScroll3 = slider("HScroll3", 3, {5040, 360, 1215, 255}, 9);
    Label7 = readoutLabel("Label7", {6480, 360, 855, 255}, 11);
    Label9 = captionLabel("Label9", "Fase 1", {7560, 360, 735, 255}, 13);
    HScroll5 = slider("HScroll5", 5, {8520, 360, 1215, 255}, 15);
    Label11 = readoutLabel("Label11", {9960, 360, 855, 255}, 17);

    Label2 = captionLabel("Label2", "Amplitud 2", {120, 840, 855, 255}, 2);
    HScroll2 = slider("HScroll2", 2, {1320, 840, 1215, 255}, 4);
    Label4 = readoutLabel("Label4", {2760, 840, 855, 255}, 6);
    Label6 = captionLabel("Label6", "Frecuencia 2", {3840, 840, 975, 255}, 8);
    HScroll4 = slider("HScroll4", 4, {5040, 840, 1215, 255}, 10);
    Label8 = readoutLabel("Label8", {6480, 840, 855, 255}, 12);
    Label10 = captionLabel("Label10", "Fase 2", {7560, 840, 735, 255}, 14);
    HScroll6 = slider("HScroll6", 6, {8520, 840, 1215, 255}, 16);
    Label12 = readoutLabel("Label12", {9960, 840, 855, 255}, 18);

    Label13 = captionLabel("Label13", "Rango", {240, 1440, 735, 255}, 23);
    HScroll7 = slider("HScroll7", 7, {1320, 1440, 1215, 255}, 24);
    Label14 = readoutLabel("Label14", {2760, 1440, 855, 255}, 25);
    Command1 = button("Command1", "Onda 1", {3840, 1440, 975, 375}, 19);
    Command2 = button("Command2", "Onda 2", {5040, 1440, 975, 375}, 20);
    Command6 = button("Command6", "Vorel 1 y 2", {6240, 1440, 975, 375}, 27);
    Command5 = button("Command5", "Resultante", {7440, 1440, 975, 375}, 26);
    Command3 = button("Command3", "Todas", {8640, 1440, 975, 375}, 21);
    Command4 = button("Command4", "Regresar", {9840, 1440, 1095, 375}, 22);

    Picture1 = new PlotBox(this);
    place(Picture1, "Picture1", {120, 2040, 10695, 6015}, 0);
    Picture1->setAccessibleName(QStringLiteral("Gráfica"));

    describeSlider(Label1, HScroll1, Label3);
    describeSlider(Label2, HScroll2, Label4);
    describeSlider(Label5, HScroll3, Label7);
    describeSlider(Label6, HScroll4, Label8);
    describeSlider(Label9, HScroll5, Label11);
    describeSlider(Label10, HScroll6, Label12);
    describeSlider(Label13, HScroll7, Label14);

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
}

QLabel *Form1::captionLabel(const char *name, const char *text, Twips where, int tabIndex)
{
    auto *label = new QLabel(QString::fromUtf8(text), this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(label, name, where, tabIndex);
    return label;
}

QLabel *Form1::readoutLabel(const char *name, Twips where, int tabIndex)
{
    auto *label = new QLabel(QStringLiteral("0"), this);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setLineWidth(1);
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    place(label, name, where, tabIndex);
    return label;
}

ScrollBar *Form1::slider(const char *name, int number, Twips where, int tabIndex)
{
    const vorel::SliderSpec &spec = vorel::slider(number);
    auto *bar = new ScrollBar(this);
    bar->setRange(spec.minimum, spec.maximum);
    bar->setSingleStep(spec.singleStep);
    bar->setPageStep(spec.pageStep);
    bar->setValue(spec.minimum);
    place(bar, name, where, tabIndex);
    return bar;
}

CommandButton *Form1::button(const char *name, const char *text, Twips where, int tabIndex)
{
    auto *button = new CommandButton(QString::fromUtf8(text), this);
    place(button, name, where, tabIndex);
    return button;
}

// A screen reader names the slider after its caption and reads the value
// as the readout shows it.
void Form1::describeSlider(QLabel *caption, ScrollBar *slider, QLabel *readout)
{
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
    if (vorel::runPlotCommand(command, Picture1->canvas(), positions, decimalSeparator()))
        Picture1->setAccessibleDescription(
            QString::fromStdString(vorel::describePlot(command, positions, decimalSeparator())));
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

// Closing only hides this window here; Qt then destroys it, and the next
// "Continuar" builds a fresh one.
void Form1::Form_Unload(bool & /*cancel*/) { returnToTitle(); }

// Hide first, then show: the two windows are never visible together.
void Form1::returnToTitle()
{
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
