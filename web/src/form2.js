// The title window: the title, the credits, the picture, and the way into
// the simulator or out of the program. It is painted from the page's
// markup and answers before the core is ready: a "Continuar" pressed before
// then opens the main window once the core comes, and only once.
import { Form1 } from './form1.js';
import { buildWindow, endProgram, hideWindow, showWindow, windowPlace } from './window.js';

export class Form2 {
  constructor(table) {
    this.core = null;
    this.table = table;
    const { element, controls } = buildWindow(null, table, this);
    this.element = element;
    Object.assign(this, controls);
    this.m_form1 = null;
    this.m_continueWaiting = false;
    if (!element.parentNode) windowPlace().append(element);
  }

  show() { showWindow(this, this.table.caption); }
  hide() { hideWindow(this); }

  coreReady(core) {
    this.core = core;
    if (!this.m_continueWaiting) return;
    this.m_continueWaiting = false;
    this.element.removeAttribute('aria-busy');
    this.Command1_Click();
  }

  // Hide first, then show; the main window is built on first use and kept.
  Command1_Click() {
    if (!this.core) {
      this.m_continueWaiting = true;
      this.element.setAttribute('aria-busy', 'true');
      return;
    }
    this.hide();
    if (!this.m_form1) this.m_form1 = new Form1(this.core, this);
    this.m_form1.show();
  }

  Command2_Click() {
    this.m_continueWaiting = false;
    endProgram();
  }
}
