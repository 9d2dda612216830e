// The main window: seven sliders with their readouts, the five plot buttons,
// "Regresar", and the plot box. Handlers keep the desktop's names and stay
// thin: the texts, the plots and their sound come from the core.
import { speakers } from './sound.js';
import { announce, buildWindow, hideWindow, showWindow, windowPlace } from './window.js';

// The browser's language gives the decimal separator, as the desktop takes
// it from the user's regional settings: the first of the preferred
// languages that Intl accepts, else the point. A tag Intl refuses ("C" under
// a POSIX session, an empty one) is passed over, never thrown.
let kept = { tags: null, separator: '.' };

export function decimalSeparator() {
  const tags = [].concat(navigator.languages || [], navigator.language || []);
  const key = tags.join('\n');
  if (kept.tags !== key) kept = { tags: key, separator: firstSeparator(tags) };
  return kept.separator;
}

function firstSeparator(tags) {
  for (const tag of tags) {
    try {
      const decimal = new Intl.NumberFormat(tag).formatToParts(1.5).filter((part) => part.type === 'decimal')[0];
      if (decimal) return decimal.value;
    } catch (refused) {
      // Not a tag Intl takes, or no Intl here: the next one.
    }
  }
  return '.';
}

// What a key on the plot box means to its audio trace, if anything: Alt+T,
// the arrows, Page Up and Down, Home and End, Enter, Space and H, Escape.
// Alt+T is told by the key's place, since Alt changes the letter on a Mac.
function plotKeyOf(keys, event) {
  if (event.ctrlKey || event.metaKey) return null;
  if (event.altKey) {
    const t = event.code === 'KeyT' || event.key === 't' || event.key === 'T';
    return t && !event.shiftKey ? keys.AudioMode : null;
  }
  const named = {
    ArrowRight: keys.Forward, ArrowLeft: keys.Back, PageDown: keys.TickForward, PageUp: keys.TickBack,
    Home: keys.Start, End: keys.End, Enter: keys.Play, ' ': keys.Play, h: keys.Play, H: keys.Play,
    Escape: keys.Stop,
  };
  if (event.shiftKey && event.key !== 'H') return null;
  return Object.prototype.hasOwnProperty.call(named, event.key) ? named[event.key] : null;
}

export class Form1 {
  constructor(core, titleWindow) {
    this.core = core;
    this.m_titleWindow = titleWindow;
    // The plot box's audio mode and trace point live with this window.
    this.audioTrace = new core.AudioTrace();
    // Where the plot box plays: the speakers, unless a test stands in.
    this.sound = speakers();
    this.table = core.windowTable('Form1');
    const { element, controls } = buildWindow(core, this.table, this);
    this.element = element;
    Object.assign(this, controls);
    for (const row of this.table.controls) {
      if (row.kind === 'slider') this.describeSlider(this[row.name], row.slider, '0');
    }
    windowPlace().append(element);
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

  // Leaving the window silences it. Hide first, then show: the two windows
  // are never visible together.
  Command4_Click() {
    this.sound.stop();
    this.hide();
    this.m_titleWindow.show();
  }

  // The texts are all worked out before any is shown: if one fails, the
  // readout and the ARIA values stay as they were, and the slider goes back.
  showReadout(readout, slider, number) {
    const text = this.core.readoutText(number, slider.value, decimalSeparator());
    this.describeSlider(slider, number, text);
    readout.element.textContent = text;
  }

  // A screen reader reads the value in the readout's units and as the
  // readout shows it.
  describeSlider(slider, number, text) {
    const values = {
      'aria-valuemin': this.core.parameterAt(number, slider.minimum),
      'aria-valuemax': this.core.parameterAt(number, slider.maximum),
      'aria-valuenow': this.core.parameterAt(number, slider.value),
      'aria-valuetext': text,
    };
    for (const name of Object.keys(values)) slider.element.setAttribute(name, values[name]);
  }

  plot(command) {
    const positions = {
      amplitude1: this.HScroll1.value, amplitude2: this.HScroll2.value,
      frequency1: this.HScroll3.value, frequency2: this.HScroll4.value,
      phase1: this.HScroll5.value, phase2: this.HScroll6.value,
      range: this.HScroll7.value,
    };
    const said = this.Picture1.plot(command, positions, decimalSeparator());
    if (!said) return;
    this.audioTrace.plotted(command, positions);
    announce(said);
  }

  // Keys other than those of the audio trace, and all of them but Alt+T
  // while its mode is off, do what they always did.
  Picture1_KeyDown(event) {
    const key = plotKeyOf(this.core.PlotKey, event);
    if (key === null) return;
    const answer = this.audioTrace.key(key, decimalSeparator(), event.repeat);
    if (!answer.handled) return;
    event.preventDefault();
    if (key === this.core.PlotKey.AudioMode) this.Picture1.setAudioMode(this.audioTrace.on());
    if (answer.stop) this.sound.stop();
    const texts = this.core.audioTexts();
    if (answer.play && !this.sound.play(this.audioTrace.sound(), texts.soundRate)) announce(texts.noSoundOutput);
    else if (answer.say) announce(answer.say);
  }
}
