// The window shown fills the browser's window: scaled uniformly, centred,
// to the largest size that fits with a small margin. The layout inside
// stays at its twips / 15 places; only the whole window is scaled. With a
// mouse it never shrinks below its own size, so that the browser's zoom
// still magnifies it; on a touch screen it may, since pinch zoom magnifies
// there.

const kMargin = 8; // CSS px around the window, room for its shadow

let fitted = null;
let fittedScale = 1;
const watchers = [];
let coarseQuery = null;

// The scale of the window shown, 1 before any is shown.
export function windowScale() {
  return fittedScale;
}

export function isCoarsePointer() {
  return coarseQuery !== null ? coarseQuery.matches : matchMedia('(pointer: coarse)').matches;
}

// Calls back after every fit, with the scale; gives back the way to stop.
export function watchScale(callback) {
  watchers.push(callback);
  return () => {
    const at = watchers.indexOf(callback);
    if (at >= 0) watchers.splice(at, 1);
  };
}

// Called when a window is shown: from then on it is the one kept fitted.
export function fitWindow(element) {
  if (coarseQuery === null) startFitting();
  fitted = element;
  refit();
}

// Places the first window before any of it is in the page, from the size
// its table gives: the page runs this in its head, so that the window is
// painted fitted from its first paint, and measuring the viewport then
// lays out an empty page, which costs nothing.
export function fitFirstWindow(width, height) {
  place(width, height);
}

// The program has ended: nothing is left to fit.
export function stopFitting() {
  if (coarseQuery === null) return;
  window.removeEventListener('resize', refit);
  if (coarseQuery.removeEventListener) coarseQuery.removeEventListener('change', refit);
  else coarseQuery.removeListener(refit);
  coarseQuery = null;
  fitted = null;
  watchers.length = 0;
}

// The largest uniform scale at which a box of width x height fits the
// viewport inside the margin; never below 1 for a fine pointer.
export function fittingScale(width, height, viewportWidth, viewportHeight, coarse) {
  const fit = Math.min((viewportWidth - 2 * kMargin) / width, (viewportHeight - 2 * kMargin) / height);
  return coarse ? Math.max(fit, 0.1) : Math.max(fit, 1);
}

function startFitting() {
  coarseQuery = matchMedia('(pointer: coarse)');
  if (coarseQuery.addEventListener) coarseQuery.addEventListener('change', refit);
  else coarseQuery.addListener(refit); // Safari before 14
  window.addEventListener('resize', refit);
}

function refit() {
  if (!fitted || fitted.hidden) return;
  // The window's own size, its border included, before any scaling.
  place(fitted.offsetWidth, fitted.offsetHeight);
}

// The window shown is placed by the page's style from three properties of
// the root, so that the first one can be placed before it exists. Every
// window is placed by them, and only one is ever shown.
function place(width, height) {
  const coarse = isCoarsePointer();
  const root = document.documentElement;
  root.classList.toggle('coarse-pointer', coarse);
  fittedScale = fittingScale(width, height, root.clientWidth, root.clientHeight, coarse);
  // Centred where it fits; where it does not (a mouse and a large zoom),
  // from the margin, so that scrolling reaches every part of it.
  // On whole pixels, so that text and edges fall as they would unscaled.
  const left = Math.round(Math.max(kMargin, (root.clientWidth - width * fittedScale) / 2));
  const top = Math.round(Math.max(kMargin, (root.clientHeight - height * fittedScale) / 2));
  setRootProperty('--window-left', `${left}px`);
  setRootProperty('--window-top', `${top}px`);
  setRootProperty('--window-transform', fittedScale === 1 ? 'none' : `scale(${fittedScale})`);
  for (const callback of watchers.slice()) callback(fittedScale);
}

// Written only when it changes: a new value makes the whole page's style
// be worked out again.
function setRootProperty(name, value) {
  const style = document.documentElement.style;
  if (style.getPropertyValue(name) !== value) style.setProperty(name, value);
}
