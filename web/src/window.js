// Builds a window from its table in the core: every control an element
// named after its window and itself, placed at twips / 15 CSS pixels, in
// the order of its tab index so that Tab follows the desktop. Events go to
// the handlers that the owner names after the control.
import { fitWindow, stopFitting } from './fit.js';
import { PlotBox } from './plotbox.js';
import { ScrollBar } from './scrollbar.js';

const kPicture = 'PICTURE_DATA_URI';

// What the controls watch outside themselves (the window's size and pixel
// ratio) lives until the program ends.
const programLife = new AbortController();

// The program's font in CSS: the table's family, then Liberation Sans, which
// has Arial's metrics where Arial is missing, then any sans-serif.
export function fontStack(family) {
  return `${family}, "Liberation Sans", sans-serif`;
}

export function buildWindow(core, table, owner) {
  const element = document.createElement('div');
  element.id = table.name;
  element.className = 'window';
  element.hidden = true;
  element.style.width = `${table.clientWidth}px`;
  element.style.height = `${table.clientHeight}px`;
  element.style.font = `${table.fontPoints}pt ${fontStack(table.fontFamily)}`;

  const byTabIndex = [...table.controls].sort((a, b) => order(a) - order(b));
  const controls = {};
  for (const row of byTabIndex) {
    const control = makeControl(core, table, row, owner);
    const id = `${table.name}-${row.name}`;
    control.element.id = id;
    const { left, top, width, height } = row.pixels;
    Object.assign(control.element.style, {
      left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px`,
      fontSize: `${row.fontPoints}pt`,
    });
    element.append(control.element);
    controls[row.name] = control;
  }
  // Assistive technology names a slider after the caption beside it.
  for (const row of table.controls) {
    if (row.kind !== 'slider') continue;
    const caption = table.controls.find((c) => c.look === 'caption' && c.slider === row.slider);
    controls[row.name].element.setAttribute('aria-labelledby', `${table.name}-${caption.name}`);
  }
  if (controls.Picture1) controls.Picture1.describeBy(`${table.name}-Picture1-description`);
  element.addEventListener('keydown', (event) => cycleFocus(element, event));
  return { element, controls };
}

// As in a desktop window, Tab from the last control comes back to the first.
function cycleFocus(element, event) {
  if (event.key !== 'Tab') return;
  const focusable = element.querySelectorAll('button, [tabindex="0"]');
  const [first, last] = [focusable[0], focusable[focusable.length - 1]];
  const to = event.shiftKey ? (document.activeElement === first ? last : null)
                            : (document.activeElement === last ? first : null);
  if (!to) return;
  event.preventDefault();
  to.focus();
}

// Controls that never take the focus go last.
function order(row) {
  return row.tabIndex < 0 ? Number.MAX_SAFE_INTEGER : row.tabIndex;
}

function makeControl(core, table, row, owner) {
  switch (row.kind) {
    case 'label': {
      const element = document.createElement('div');
      element.className = `label ${row.look}`;
      element.textContent = row.text;
      return { element };
    }
    case 'button': {
      const element = document.createElement('button');
      element.type = 'button';
      element.textContent = row.text;
      element.addEventListener('click', () => owner[`${row.name}_Click`]());
      // A held Enter presses once, as on the desktop: its repeats do nothing.
      element.addEventListener('keydown', (event) => {
        if (event.repeat && (event.key === 'Enter' || event.key === ' ')) event.preventDefault();
      });
      return { element };
    }
    case 'slider':
      return new ScrollBar(core.sliderSpec(row.slider), () => owner[`${row.name}_Change`](), programLife.signal);
    case 'picture': {
      const element = document.createElement('img');
      element.src = kPicture;
      element.alt = row.text;
      return { element };
    }
    case 'plotbox':
      return new PlotBox(core, row.text, { family: fontStack(table.fontFamily), points: table.fontPoints },
                         programLife.signal);
  }
  throw new Error(`no control of kind ${row.kind}`);
}

// A window shown again gives the focus back to the control that had it,
// and a window shown for the first time to the first in the tab order.
export function showWindow(form, caption) {
  form.element.hidden = false;
  fitWindow(form.element);
  document.title = caption;
  const first = form.element.querySelector('button, [tabindex="0"]');
  (form.lastFocus ?? first)?.focus({ preventScroll: true });
}

export function hideWindow(form) {
  if (form.element.contains(document.activeElement)) form.lastFocus = document.activeElement;
  form.element.hidden = true;
}

// Both windows go, and with them everything they watch; the page says how
// to begin again.
export function endProgram() {
  programLife.abort();
  stopFitting();
  const line = document.createElement('p');
  line.textContent = 'El programa ha terminado. Vuelva a cargar la página para empezar de nuevo.';
  document.body.replaceChildren(line);
}
