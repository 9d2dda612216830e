// Builds a window from its table in the core: every control an element
// named after its window and itself, placed at twips / 15 CSS pixels, in
// the order of its tab index so that Tab follows the desktop. Events go to
// the handlers that the owner names after the control. The title window
// comes already painted in the page: its elements are taken as they are.
import { fitWindow, stopFitting } from './fit.js';
import { controlShape, fontStack, inTabOrder, placeStyle, shapeElement, windowShape } from './markup.js';
import { PlotBox } from './plotbox.js';
import { ScrollBar } from './scrollbar.js';

// What the controls watch outside themselves (the window's size and pixel
// ratio) lives until the program ends. Engines without AbortController get
// a stand-in with the calls the controls make on its signal.
const programLife = typeof AbortController === 'function' ? new AbortController() : endSignal();

function endSignal() {
  const watchers = [];
  const signal = {
    aborted: false,
    addEventListener(type, watcher) { if (type === 'abort') watchers.push(watcher); },
    removeEventListener(type, watcher) {
      const at = watchers.indexOf(watcher);
      if (at >= 0) watchers.splice(at, 1);
    },
  };
  return {
    signal,
    abort() {
      if (signal.aborted) return;
      signal.aborted = true;
      for (const watcher of watchers.splice(0)) watcher();
    },
  };
}

// core may be null for a window of plain controls only, such as the title
// window, which works before the core is ready.
export function buildWindow(core, table, owner) {
  const painted = document.getElementById(table.name);
  const element = painted || shapeElement(windowShape(table));
  if (!painted) element.hidden = true;

  const controls = {};
  for (const row of inTabOrder(table.controls)) {
    const id = `${table.name}-${row.name}`;
    const control = painted ? { element: document.getElementById(id) } : makeControl(core, table, row, owner);
    // A control's stand-in lies where it does and takes its focus and keys
    // at times, as the plot box's does in its audio mode.
    const standIn = control.standIn;
    if (!painted) {
      control.element.id = id;
      Object.assign(control.element.style, placeStyle(row));
      if (standIn) {
        standIn.id = `${id}-stand-in`;
        Object.assign(standIn.style, placeStyle(row));
        element.append(standIn);
      }
      element.append(control.element);
    }
    // A key on a control goes to its owner's handler named after it.
    const keyDown = owner[`${row.name}_KeyDown`];
    for (const target of standIn ? [control.element, standIn] : [control.element]) {
      if (keyDown) target.addEventListener('keydown', (event) => keyDown.call(owner, event));
    }
    if (row.kind === 'button') {
      control.element.addEventListener('click', () => owner[`${row.name}_Click`]());
      // A held Enter or Space presses once, as on the desktop: its repeats do nothing.
      control.element.addEventListener('keydown', (event) => {
        if (event.repeat && (event.key === 'Enter' || event.key === ' ')) event.preventDefault();
      });
    }
    controls[row.name] = control;
  }
  // Assistive technology names a slider after the caption beside it.
  for (const row of table.controls) {
    if (row.kind !== 'slider') continue;
    const caption = table.controls.find((c) => c.look === 'caption' && c.slider === row.slider);
    controls[row.name].element.setAttribute('aria-labelledby', `${table.name}-${caption.name}`);
  }
  if (controls.Picture1) controls.Picture1.describeBy(`${table.name}-Picture1-description`);
  // A screen reader that jumps by headings finds each window by its own:
  // a window without a title of its own is headed, unseen, by its caption.
  if (!painted && !element.querySelector('h1')) {
    const heading = document.createElement('h1');
    heading.className = 'visually-hidden';
    heading.textContent = table.caption;
    element.prepend(heading);
  }
  element.addEventListener('keydown', (event) => cycleFocus(element, event));
  return { element, controls };
}

// As in a desktop window, Tab from the last control comes back to the first.
// A stand-in, out of the Tab order, moves on from its control's place.
function cycleFocus(element, event) {
  if (event.key !== 'Tab') return;
  const focusable = [...element.querySelectorAll('button, [tabindex="0"]')];
  const at = document.activeElement;
  const standingIn = at && at.id.endsWith('-stand-in') ? document.getElementById(at.id.slice(0, -'-stand-in'.length)) : null;
  const from = focusable.indexOf(standingIn || at);
  const wraps = event.shiftKey ? from === 0 : from === focusable.length - 1;
  if (from < 0 || !(wraps || standingIn)) return;
  event.preventDefault();
  focusable[(from + (event.shiftKey ? focusable.length - 1 : 1)) % focusable.length].focus();
}

function makeControl(core, table, row, owner) {
  const shape = controlShape(table, row);
  if (shape) return { element: shapeElement(shape) };
  switch (row.kind) {
    case 'slider':
      return new ScrollBar(core.sliderSpec(row.slider), () => owner[`${row.name}_Change`](), programLife.signal);
    case 'plotbox':
      return new PlotBox(core, row.text, { family: fontStack(table.fontFamily), points: table.fontPoints },
                         programLife.signal);
  }
  throw new Error(`no control of kind ${row.kind}`);
}

// The page's main landmark holds the windows; the page's end leaves only
// its closing line there.
export function windowPlace() {
  return document.querySelector('main') || document.body;
}

// A window shown again gives the focus back to the control that had it,
// and a window shown for the first time to the first in the tab order.
export function showWindow(form, caption) {
  form.element.hidden = false;
  fitWindow(form.element);
  document.title = caption;
  const to = form.lastFocus || form.element.querySelector('button, [tabindex="0"]');
  if (to) to.focus({ preventScroll: true });
}

export function hideWindow(form) {
  if (form.element.contains(document.activeElement)) form.lastFocus = document.activeElement;
  form.element.hidden = true;
}

// A plot that draws is said politely by the page's live region, as a
// sighted user sees the picture change. The line is a new node each time,
// so that the same plot twice is said twice; and since a screen reader
// takes a text that comes again at once for the same message (Orca drops
// it), a repeat ends in a no-break space, which nothing says.
export function announce(text) {
  const region = document.getElementById('vorel-announce');
  if (!region) return;
  const line = document.createElement('p');
  line.textContent = region.textContent === text ? `${text}\u00a0` : text;
  while (region.firstChild) region.removeChild(region.firstChild);
  region.appendChild(line);
}

// Once the program has ended, what was on its way to start it does not.
export function programEnded() {
  return programLife.signal.aborted;
}

// Both windows go, and with them everything they watch; the page says
// the line it is given (by default, how to begin again).
export function endProgram(text = 'El programa ha terminado. Vuelva a cargar la página para empezar de nuevo.') {
  programLife.abort();
  stopFitting();
  const line = document.createElement('p');
  line.textContent = text;
  const body = document.body;
  while (body.firstChild) body.removeChild(body.firstChild);
  const main = document.createElement('main');
  main.appendChild(line);
  body.appendChild(main);
}
