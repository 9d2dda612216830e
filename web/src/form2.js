// The title window: the title, the credits, the picture, and the way into
// the simulator or out of the program.
import { Form1 } from './form1.js';
import { buildWindow, endProgram, hideWindow, showWindow } from './window.js';

export class Form2 {
  constructor(core) {
    this.core = core;
    this.table = core.windowTable('Form2');
    const { element, controls } = buildWindow(core, this.table, this);
    this.element = element;
    Object.assign(this, controls);
    this.m_form1 = null;
    document.body.append(element);
  }

  show() { showWindow(this, this.table.caption); }
  hide() { hideWindow(this); }

  // Hide first, then show; the main window is built on first use and kept.
  Command1_Click() {
    this.hide();
    this.m_form1 ??= new Form1(this.core, this);
    this.m_form1.show();
  }

  Command2_Click() { endProgram(); }
}
