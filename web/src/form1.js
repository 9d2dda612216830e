// The main window: seven sliders with their readouts, the five plot buttons,
// "Regresar", and the plot box. Handlers keep the desktop's names and stay
// thin: the texts and the plots come from the core.
import { buildWindow, hideWindow, showWindow } from './window.js';

// The browser's language gives the decimal separator, as the desktop takes
// it from the user's regional settings.
export function decimalSeparator() {
  const parts = new Intl.NumberFormat(navigator.language).formatToParts(1.5);
  return parts.find((part) => part.type === 'decimal')?.value ?? '.';
}

export class Form1 {
  constructor(core, titleWindow) {
    this.core = core;
    this.m_titleWindow = titleWindow;
    this.table = core.windowTable('Form1');
    const { element, controls } = buildWindow(core, this.table, this);
    this.element = element;
    Object.assign(this, controls);
    for (const row of this.table.controls) {
      if (row.kind === 'slider') this.describeSlider(this[row.name], row.slider, '0');
    }
    document.body.append(element);
  }

  show() { showWindow(this, this.table.caption); }
  hide() { hideWindow(this); }

  HScroll1_Change() { this.showReadout(this.Label3, this.HScroll1, 1); }
  HScroll2_Change() { this.showReadout(this.Label4, this.HScroll2, 2); }
  HScroll3_Change() { this.showReadout(this.Label7, this.HScroll3, 3); }
  HScroll4_Change() { this.showReadout(this.Label8, this.HScroll4, 4); }
  HScroll5_Change() { this.showReadout(this.Label11, this.HScroll5, 5); }
  HScroll6_Change() { this.showReadout(this.Label12, this.HScroll6, 6); }
  HScroll7_Change() { this.showReadout(this.Label14, this.HScroll7, 7); }

  Command1_Click() { this.plot(this.core.PlotCommand.Wave1); }
  Command2_Click() { this.plot(this.core.PlotCommand.Wave2); }
  Command3_Click() { this.plot(this.core.PlotCommand.All); }
  Command5_Click() { this.plot(this.core.PlotCommand.Resultant); }
  Command6_Click() { this.plot(this.core.PlotCommand.BothWaves); }

  // Hide first, then show: the two windows are never visible together.
  Command4_Click() {
    this.hide();
    this.m_titleWindow.show();
  }

  showReadout(readout, slider, number) {
    const text = this.core.readoutText(number, slider.value, decimalSeparator());
    readout.element.textContent = text;
    this.describeSlider(slider, number, text);
  }

  // A screen reader reads the value in the readout's units and as the
  // readout shows it.
  describeSlider(slider, number, text) {
    const element = slider.element;
    element.setAttribute('aria-valuemin', this.core.parameterAt(number, slider.minimum));
    element.setAttribute('aria-valuemax', this.core.parameterAt(number, slider.maximum));
    element.setAttribute('aria-valuenow', this.core.parameterAt(number, slider.value));
    element.setAttribute('aria-valuetext', text);
  }

  plot(command) {
    const positions = {
      amplitude1: this.HScroll1.value, amplitude2: this.HScroll2.value,
      frequency1: this.HScroll3.value, frequency2: this.HScroll4.value,
      phase1: this.HScroll5.value, phase2: this.HScroll6.value,
      range: this.HScroll7.value,
    };
    this.Picture1.plot(command, positions, decimalSeparator());
  }
}
