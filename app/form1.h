// The main window: seven parameter sliders with their readouts, the five
// plot buttons, "Regresar", and the plot box.
#pragma once

#include "layout.h"
#include "params/sliders.h"
#include "plot/audiotrace.h"
#include "plot/commands.h"
#include "soundoutput.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class Announcer;
class CommandButton;
class PlotBox;
class QKeyEvent;
class QLabel;
class ScrollBar;

class Form1 : public QWidget {
    Q_OBJECT
public:
    // "Regresar" and closing this window go back to titleWindow.
    explicit Form1(QWidget *titleWindow = nullptr);

    void HScroll1_Change();
    void HScroll2_Change();
    void HScroll3_Change();
    void HScroll4_Change();
    void HScroll5_Change();
    void HScroll6_Change();
    void HScroll7_Change();

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();

    void Picture1_KeyDown(QKeyEvent *event);

    void Form_Unload(bool &cancel);

    // Where the plot box plays; the speakers unless a test stands in.
    void setSoundOutput(std::unique_ptr<SoundOutput> output);

signals:
    // The window has been closed and is about to be destroyed.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *build(const vorel::forms::Control &control);
    QLabel *captionLabel(const vorel::forms::Control &control);
    QLabel *readoutLabel(const vorel::forms::Control &control);
    ScrollBar *slider(const vorel::forms::Control &control);

    void describeSlider(int number);
    void showReadout(QLabel *readout, ScrollBar *slider, vorel::Quantity quantity);
    void plot(vorel::PlotCommand command);
    void say(const std::string &text);
    SoundOutput &soundOutput();
    void returnToTitle();

    QPointer<QWidget> m_titleWindow;
    vorel::AudioTrace m_audioTrace;

    std::unique_ptr<SoundOutput> m_sound;
    Announcer *m_announcer;

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7;
    QLabel *Label8, *Label9, *Label10, *Label11, *Label12, *Label13, *Label14;
    ScrollBar *HScroll1, *HScroll2, *HScroll3, *HScroll4, *HScroll5, *HScroll6, *HScroll7;
    CommandButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6;
    PlotBox *Picture1;
};
