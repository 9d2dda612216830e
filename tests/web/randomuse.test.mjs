// A restless class in the browser: thousands of seeded random clicks, taps,
// drags, keys, held arrows, window resizes and pixel-ratio changes on the
// real page, checking after each one what must always hold; then a thousand
// plot-and-navigate cycles with the memory watched.
//   VOREL_RANDOM_SEED     replays a run (the seed is printed)
//   VOREL_RANDOM_ACTIONS  how many actions (20 000); a failure names the
//                         action it broke at, so a replay can stop there
//   VOREL_RANDOM_CYCLES   how many plot-and-navigate cycles (1000)
import assert from 'node:assert/strict';
import { test } from 'node:test';
import {
  browserSuite, canvasPixels, desktopPixels, finger, firstDifference, kEndLine, kExample, kMainOrder, kPlotButtons,
  kReadouts, kSliders, kTitleOrder, labelBoxes, labelMask, open, setMetrics, setSliders,
} from './page.mjs';

const kSeed = process.env.VOREL_RANDOM_SEED ? Number(process.env.VOREL_RANDOM_SEED) >>> 0
                                            : Math.floor(Math.random() * 2 ** 32) >>> 0;
const kActions = Number(process.env.VOREL_RANDOM_ACTIONS ?? 20000);
const kCycles = Number(process.env.VOREL_RANDOM_CYCLES ?? 1000);

// What the user must see, written from the sliders' table and not taken from
// the program: maximum, page step and the divisor of each slider's readout.
const kMaximum = [50, 50, 100, 100, 1000, 1000, 1000];
const kPageStep = [5, 5, 1, 1, 1, 1, 5];
const kDivisor = [1, 1, 10, 10, 100, 100, 10];
const kLocales = [['es-ES', ','], ['en-US', '.'], ['de-DE', ',']];
const kRatios = [1, 1.25, 1.5, 1.75, 2];
// Listeners and timers the page may hold beyond those it holds at rest.
const kListenerSlack = 8;
const kTimerBound = 8;

// A small fast generator of the test's own (mulberry32), so that a seed gives
// the same actions on any Node.
function generator(seed) {
  let a = seed >>> 0;
  const next = () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 2 ** 32;
  };
  const below = (n) => Math.floor(next() * n);
  return { next, below, pick: (list) => list[below(list.length)], chance: (p) => next() < p };
}

// Where a key moves slider i from value, as the desktop's scroll bar does;
// null for a key the slider ignores. Used in the page as well, as text.
function keyStep(i, value, key, maximum, pageStep) {
  const clamp = (v) => Math.min(maximum[i], Math.max(0, v));
  switch (key) {
    case 'ArrowLeft': case 'ArrowUp': return clamp(value - 1);
    case 'ArrowRight': case 'ArrowDown': return clamp(value + 1);
    case 'PageUp': return clamp(value - pageStep[i]);
    case 'PageDown': return clamp(value + pageStep[i]);
    case 'Home': return 0;
    case 'End': return maximum[i];
    default: return null;
  }
}

// The commands that pass their guard, written apart from the program's own.
function guardPasses(command, [a1, a2, f1, f2, , , range]) {
  if (range === 0) return false;
  if (command === 'Wave1') return a1 !== 0 && f1 !== 0;
  if (command === 'Wave2') return a2 !== 0 && f2 !== 0;
  return a1 + a2 !== 0 && f1 !== 0 && f2 !== 0;
}

// Two 32-bit hashes of every channel of every pixel outside the label
// boxes, and how many pixels they cover: the page's canvas and the desktop's
// picture are compared by these, which spares moving megabytes out of the
// page at every checkpoint. Used in the page as well, as text, with the
// mask of the label boxes (labelMask).
function pixelDigest(data, width, height, inLabel) {
  let a = 0x811c9dc5;
  let b = 0x12345678;
  let compared = 0;
  for (let p = 0; p < width * height; ++p) {
    if (inLabel[p]) continue;
    for (let c = p * 4; c < p * 4 + 4; ++c) {
      a = Math.imul(a ^ data[c], 0x01000193);
      b = Math.imul(b + data[c], 0x9e3779b1) ^ (b >>> 15);
    }
    ++compared;
  }
  return { width, height, compared, hash: `${(a >>> 0).toString(16)}.${(b >>> 0).toString(16)}` };
}

// Runs in the page before its own script: counts the listeners and timers
// the page holds, catches its errors, notes each plot click with the slider
// values at that moment, checks every invariant that can be read in the
// page, and runs batches of cheap synthetic actions.
function harness(config, keyStep, pixelDigest, labelMask) {
  const { separator, maximum, pageStep, divisor, sliders, readouts, endLine } = config;
  const add = EventTarget.prototype.addEventListener;
  const remove = EventTarget.prototype.removeEventListener;
  const listeners = new Set();
  const captureOf = (options) => (typeof options === 'boolean' ? options : Boolean(options && options.capture));
  const find = (target, type, listener, capture) => {
    for (const r of listeners) {
      if (r.target === target && r.type === type && r.listener === listener && r.capture === capture) return r;
    }
    return null;
  };
  // A listener added with `once` leaves the count when it runs, one with a
  // signal when the signal aborts; adding one twice adds nothing.
  EventTarget.prototype.addEventListener = function (type, listener, options) {
    const capture = captureOf(options);
    if (!listener || find(this, type, listener, capture)) return add.call(this, type, listener, options);
    const signal = options && typeof options === 'object' ? options.signal : undefined;
    if (signal && signal.aborted) return add.call(this, type, listener, options);
    const record = { target: this, type, listener, capture, actual: listener };
    if (options && typeof options === 'object' && options.once) {
      record.actual = function (event) {
        listeners.delete(record);
        return typeof listener === 'function' ? listener.call(this, event) : listener.handleEvent(event);
      };
    }
    listeners.add(record);
    if (signal) add.call(signal, 'abort', () => listeners.delete(record), { once: true });
    return add.call(this, type, record.actual, options);
  };
  EventTarget.prototype.removeEventListener = function (type, listener, options) {
    const record = find(this, type, listener, captureOf(options));
    if (!record) return remove.call(this, type, listener, options);
    listeners.delete(record);
    return remove.call(this, type, record.actual, options);
  };
  // The older way to follow a media query.
  const addListener = MediaQueryList.prototype.addListener;
  const removeListener = MediaQueryList.prototype.removeListener;
  MediaQueryList.prototype.addListener = function (listener) {
    if (listener && !find(this, 'legacy', listener, false)) listeners.add({ target: this, type: 'legacy', listener, capture: false });
    return addListener.call(this, listener);
  };
  MediaQueryList.prototype.removeListener = function (listener) {
    const record = find(this, 'legacy', listener, false);
    if (record) listeners.delete(record);
    return removeListener.call(this, listener);
  };

  const timers = new Map();
  const [setT, setI, clearT, clearI] = [window.setTimeout, window.setInterval, window.clearTimeout, window.clearInterval];
  window.setTimeout = function (callback, ms, ...args) {
    const id = setT.call(window, (...a) => {
      timers.delete(id);
      if (typeof callback === 'function') callback(...a);
    }, ms, ...args);
    timers.set(id, 'timeout');
    return id;
  };
  window.setInterval = function (callback, ms, ...args) {
    const id = setI.call(window, callback, ms, ...args);
    timers.set(id, 'interval');
    return id;
  };
  window.clearTimeout = function (id) { timers.delete(id); return clearT.call(window, id); };
  window.clearInterval = function (id) { timers.delete(id); return clearI.call(window, id); };

  // The last pointer events, for the report of a failure.
  const pointers = [];
  const downs = [];
  for (const type of ['pointerdown', 'pointerup', 'pointercancel']) {
    add.call(document, type, (e) => {
      if (type === 'pointerdown') downs.push({ x: e.clientX, y: e.clientY });
      pointers.push(`${type} ${e.pointerType} on ${e.target.id || e.target.className} at ${Math.round(e.clientX)},${Math.round(e.clientY)}`);
      if (pointers.length > 8) pointers.shift();
    }, true);
  }

  const errors = [];
  add.call(window, 'error', (event) => errors.push(`error: ${event.message}`));
  add.call(window, 'unhandledrejection', (event) => errors.push(`unhandled rejection: ${event.reason}`));

  const main = () => window.vorel && window.vorel.title && window.vorel.title.m_form1;
  const values = () => sliders.map((name) => main()[name].value);
  const clicks = [];
  add.call(document, 'click', (event) => {
    const match = /^Form1-(Command\d)$/.exec(event.target && event.target.id);
    if (match && match[1] !== 'Command4') clicks.push({ button: match[1], values: values() });
  }, true);

  const frame = () => new Promise((done) => requestAnimationFrame(() => done()));
  const visible = (element) => Boolean(element) && !element.hidden && element.getClientRects().length > 0;
  const text = (i, value) => (divisor[i] === 1 ? String(value) : String(value / divisor[i]).replace('.', separator));
  const number = (i, value) => String(divisor[i] === 1 ? value : value / divisor[i]);

  // Only listeners that can still run count: on window, document, media
  // queries and the like, or on an element still in the page.
  function liveListeners() {
    let count = 0;
    const byKind = {};
    for (const r of listeners) {
      if (r.target instanceof Node && r.target !== document && !r.target.isConnected) continue;
      ++count;
      const kind = `${r.target.id || r.target.constructor.name}:${r.type}`;
      byKind[kind] = (byKind[kind] || 0) + 1;
    }
    return { count, byKind };
  }

  // settled: the page has had frames to lay itself out since the last input.
  function check(settled) {
    const problems = [];
    const form1 = document.getElementById('Form1');
    const form2 = document.getElementById('Form2');
    const state = { errors: errors.splice(0), clicks: clicks.splice(0), downs: downs.splice(0), problems, timers: timers.size };
    const live = liveListeners();
    state.listeners = live.count;
    if (settled) state.listenersByKind = live.byKind;
    state.intervals = [...timers.values()].filter((kind) => kind === 'interval').length;
    if (!form1 && !form2) {
      state.window = 'ended';
      if (document.body.innerText.trim() !== endLine) problems.push(`the end shows "${document.body.innerText.trim()}"`);
      // The program has let go of the page: nothing it watched still calls it.
      const left = Object.keys(live.byKind).filter((kind) => !/^(Window|HTMLDocument):/.test(kind) || /:resize$/.test(kind));
      if (left.length) problems.push(`after the end the page still listens: ${left.join(', ')}`);
      return state;
    }
    const shown = [form1, form2].filter(visible);
    if (shown.length !== 1) problems.push(`${shown.length} windows visible`);
    state.window = visible(form1) ? 'main' : 'title';
    state.focus = document.activeElement ? document.activeElement.id : '';
    const root = document.documentElement;
    state.scrollable = root.scrollWidth > innerWidth || root.scrollHeight > innerHeight;
    if (!main()) return state;
    state.values = values();
    for (let i = 0; i < sliders.length; ++i) {
      const value = state.values[i];
      const element = document.getElementById(`Form1-${sliders[i]}`);
      const shownText = document.getElementById(`Form1-${readouts[i]}`).textContent;
      if (!Number.isInteger(value) || value < 0 || value > maximum[i]) problems.push(`${sliders[i]} is at ${value}`);
      if (shownText !== text(i, value)) problems.push(`${readouts[i]} shows "${shownText}" for ${sliders[i]} at ${value}`);
      const aria = ['aria-valuenow', 'aria-valuetext', 'aria-valuemin', 'aria-valuemax'].map((a) => element.getAttribute(a));
      const expected = [number(i, value), text(i, value), '0', number(i, maximum[i])];
      if (aria.join('|') !== expected.join('|')) problems.push(`${sliders[i]} at ${value} says ${aria.join('|')} to assistive technology`);
      // The thumb shows the value: its place along the free length of the
      // track is the value's place in the range, to a pixel.
      if (settled && state.window === 'main') {
        const thumb = element.querySelector('.thumb');
        const track = element.querySelector('.track');
        const free = track.clientWidth - thumb.offsetWidth;
        const at = value / maximum[i] * free;
        if (thumb.offsetLeft < 0 || thumb.offsetLeft > free || Math.abs(thumb.offsetLeft - at) > 1)
          problems.push(`${sliders[i]} at ${value} has its thumb at ${thumb.offsetLeft} of ${free} px`);
      }
    }
    const picture = window.vorel.core.picture();
    const canvas = document.querySelector('#Form1-Picture1 canvas');
    if (settled && (canvas.width !== picture.width || canvas.height !== picture.height))
      problems.push(`the canvas is ${canvas.width}x${canvas.height}, the picture ${picture.width}x${picture.height}`);
    state.ratio = picture.ratio;
    if (settled && state.window === 'main') {
      // The picture is drawn at the screen's pixel ratio, or at that ratio
      // times the window's scale where the window is scaled to fit; the
      // scale read from the laid-out box is good to a few parts in 10 000.
      const scale = canvas.getBoundingClientRect().width / canvas.offsetWidth;
      const ratios = [window.devicePixelRatio, window.devicePixelRatio * scale];
      if (!ratios.some((r) => Math.abs(r - picture.ratio) <= 0.002 * r))
        problems.push(`the picture is at ratio ${picture.ratio}, the screen at ${window.devicePixelRatio} and the window at scale ${scale}`);
    }
    return state;
  }

  // A part of a control to aim at, brought into view first as a user would
  // scroll to it: its box in the viewport's CSS pixels. A finger is aimed
  // by what the screen shows: after a scroll or for a touch, the box is
  // measured once frames have shown the page as it now is.
  // Where the page and its window are on the screen. A key that scrolls
  // the page scrolls it smoothly over some frames, and a window scaled to a
  // new size may take its time: the user aims once all has come to rest,
  // with no timer pending that may still move it.
  function geometry() {
    const shown = [document.getElementById('Form1'), document.getElementById('Form2')].filter(visible)[0];
    const r = shown ? shown.getBoundingClientRect() : {};
    return `${scrollX},${scrollY},${r.left},${r.top},${r.width},${r.height}`;
  }

  async function calm() {
    let last = geometry();
    for (let still = 0, f = 0; still < 2 && f < 60; ++f) {
      await frame();
      const now = geometry();
      still = now === last && ![...timers.values()].includes('timeout') ? still + 1 : 0;
      last = now;
    }
  }

  async function aim(id, part, touch, moving) {
    if (moving) await calm();
    downs.length = 0;
    const control = document.getElementById(id);
    const element = part ? control.querySelector(`.${part}`) : control;
    let r = element.getBoundingClientRect();
    const scroll = r.left < 0 || r.top < 0 || r.right > innerWidth || r.bottom > innerHeight;
    if (scroll) element.scrollIntoView({ block: 'center', inline: 'center' });
    for (let f = scroll ? 3 : touch ? 1 : 0; f > 0; --f) await frame();
    r = element.getBoundingClientRect();
    const box = { x: r.left, y: r.top, width: r.width, height: r.height };
    if (part === 'thumb' || part === 'track') {
      const t = (part === 'thumb' ? element : control.querySelector('.thumb')).getBoundingClientRect();
      const k = (part === 'track' ? element : control.querySelector('.track')).getBoundingClientRect();
      box.thumb = { x: t.left, width: t.width };
      box.track = { x: k.left, width: k.width };
    }
    return box;
  }

  // Cheap actions in one call: synthetic keys on a slider and clicks on a
  // button, each followed by the checks. Stops at the first broken one.
  function run(actions) {
    const batchClicks = [];
    for (let n = 0; n < actions.length; ++n) {
      const a = actions[n];
      let problem = null;
      if (a.kind === 'key') {
        const i = sliders.indexOf(a.slider);
        const element = document.getElementById(`Form1-${a.slider}`);
        const before = main()[a.slider].value;
        element.dispatchEvent(new KeyboardEvent('keydown', { key: a.key, bubbles: true, cancelable: true }));
        const expected = keyStep(i, before, a.key, maximum, pageStep);
        const now = main()[a.slider].value;
        if (now !== (expected === null ? before : expected)) problem = `${a.slider} went from ${before} to ${now}`;
      } else {
        document.getElementById(a.id).click();
      }
      const state = check(false);
      batchClicks.push(...state.clicks);
      if (problem) state.problems.unshift(problem);
      if (n === actions.length - 1 || state.problems.length || state.errors.length) {
        state.clicks = batchClicks;
        return { done: n + 1, state };
      }
    }
    return { done: 0, state: check(false) };
  }

  async function settle() {
    await calm();
    return check(true);
  }

  function digest() {
    const canvas = document.querySelector('#Form1-Picture1 canvas');
    const { data } = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height);
    const boxes = main().Picture1.labelBoxes;
    return { ...pixelDigest(data, canvas.width, canvas.height, labelMask(canvas.width, canvas.height, boxes)), boxes };
  }

  window.__randomUse = { check, run, aim, settle, digest, pointers, values: () => (main() ? values() : null) };
}

const suite = browserSuite();

// One page of the program with the harness in it, and what the test knows
// of it: the screen's size and ratio, the last state read, the last plot
// that passed its guard.
class Session {
  constructor(locale, separator) {
    this.locale = locale;
    this.separator = separator;
  }

  async start() {
    const config = { separator: this.separator, maximum: kMaximum, pageStep: kPageStep, divisor: kDivisor,
      sliders: kSliders, readouts: kReadouts, endLine: kEndLine };
    this.page = await open(suite.browser, {
      locale: this.locale, device: { hasTouch: true },
      init: `(${harness})(${JSON.stringify(config)}, ${keyStep}, ${pixelDigest}, ${labelMask})`,
    });
    this.finger = await finger(this.page);
    this.metrics = await this.page.evaluate(() => ({ width: innerWidth, height: innerHeight, ratio: devicePixelRatio }));
    this.lastPlot = null;
    this.baseListeners = null;
    this.state = await this.settle();
  }

  async close() { await this.page.context().close(); }

  async settle() { return this.page.evaluate(() => window.__randomUse.settle()); }
  async check() { return this.page.evaluate(() => window.__randomUse.check(false)); }
  // moving: the last action may have set the page scrolling, or shown the
  // other window, which is drawn in the next frame.
  async aim(id, part, input = 'mouse') {
    const moving = this.moving;
    this.moving = false;
    return this.page.evaluate(([i, p, t, m]) => window.__randomUse.aim(i, p, t, m), [id, part, input === 'touch', moving]);
  }

  // A new ratio comes with a resize by a pixel, as a browser's zoom gives it.
  async setMetrics(changes) {
    if ('ratio' in changes && !('width' in changes)) changes.width = this.metrics.width + (this.metrics.width % 2 ? -1 : 1);
    Object.assign(this.metrics, changes);
    await setMetrics(this.page, this.metrics);
  }
}

test(`random use: ${kActions} seeded actions keep every invariant`, { timeout: 30 * 60_000 }, async (t) => {
  const random = generator(kSeed);
  const [locale, separator] = random.pick(kLocales);
  console.log(`random use: seed ${kSeed}, ${kActions} actions, ${locale} - replay with VOREL_RANDOM_SEED=${kSeed}`);
  t.diagnostic(`seed ${kSeed}, ${kActions} actions, locale ${locale}`);
  const started = Date.now();
  const session = new Session(locale, separator);
  await session.start();
  const recent = [];
  const tally = {};
  const spent = {};
  const misdelivered = [];
  const references = new Map();
  let checkpoints = 0;
  let plots = 0;
  let restarts = 0;
  let maxListeners = 0;
  let maxTimers = 0;

  const fail = async (index, action, message) => {
    const pointers = await session.page.evaluate(() => window.__randomUse.pointers.concat(
      [`scroll ${scrollX},${scrollY} visual ${visualViewport.offsetLeft},${visualViewport.offsetTop} scale ${visualViewport.scale} inner ${innerWidth}x${innerHeight}`])).catch(() => []);
    const lines = recent.slice(-12).map(([n, a]) => `  ${n}: ${a}`).join('\n');
    assert.fail(`seed ${kSeed}, action ${index} (${action}): ${message}\nrecent actions:\n${lines}\n` +
      `screen ${JSON.stringify(session.metrics)}; last pointer events:\n${pointers.map((p) => `  ${p}`).join('\n')}\n` +
      `replay with VOREL_RANDOM_SEED=${kSeed} VOREL_RANDOM_ACTIONS=${index}\n` +
      `time so far: ${((Date.now() - started) / 1000).toFixed(1)} s, ${JSON.stringify(tally)} ${JSON.stringify(spent)}`);
  };

  // What every state read must show, beyond what the page checked itself.
  const take = async (index, action, state) => {
    if (state.errors.length) await fail(index, action, `page errors: ${state.errors.join('; ')}`);
    if (state.problems.length) await fail(index, action, state.problems.join('; '));
    for (const { button, values } of state.clicks) {
      if (guardPasses(kPlotButtons[button], values)) {
        session.lastPlot = { command: kPlotButtons[button], values };
        ++plots;
      }
    }
    // The count at rest is taken once the main window exists; it may not grow.
    if (session.baseListeners === null && state.values && state.listenersByKind) session.baseListeners = state.listeners;
    if (session.baseListeners !== null && state.listeners > session.baseListeners + kListenerSlack) {
      await fail(index, action, `${state.listeners} listeners, ${session.baseListeners} at rest: ${JSON.stringify(state.listenersByKind ?? {})}`);
    }
    if (state.timers > kTimerBound) await fail(index, action, `${state.timers} timers pending`);
    // A window just shown is drawn in the next frame: the user aims after it.
    if (session.state && state.window !== session.state.window) session.moving = true;
    maxListeners = Math.max(maxListeners, state.listeners);
    maxTimers = Math.max(maxTimers, state.timers);
    session.state = state;
  };


  // The plot box holds the last plot that passed its guard, as the desktop
  // draws it, outside the label boxes; a blank box before any.
  const checkpoint = async (index) => {
    const page = session.page;
    const t0 = performance.now();
    const state = await session.settle();
    await take(index, 'checkpoint', state);
    if (!state.values) return;
    const ratio = state.ratio;
    const plot = session.lastPlot ?? { command: 'All', values: [0, 0, 0, 0, 0, 0, 0] };
    const key = `${plot.command} ${plot.values} ${ratio}`;
    if (!references.has(key)) {
      if (references.size > 16) references.clear();
      const positions = Object.fromEntries(kSliders.map((name, i) => [name, plot.values[i]]));
      references.set(key, desktopPixels(plot.command, positions, ratio));
    }
    const desktop = references.get(key);
    const web = await page.evaluate(() => window.__randomUse.digest());
    if (web.boxes.length !== (session.lastPlot ? 17 : 0)) await fail(index, 'checkpoint', `${web.boxes.length} label boxes`);
    const expected = desktop.length === web.width * web.height * 4
      ? pixelDigest(desktop, web.width, web.height, labelMask(web.width, web.height, web.boxes)) : null;
    if (!expected || expected.hash !== web.hash || web.compared < web.width * web.height * 0.9) {
      // Only then the pixels themselves, to say where they differ.
      const differs = firstDifference(await canvasPixels(page), desktop, await labelBoxes(page)) ?? 'the digests differ';
      await fail(index, 'checkpoint', `${key}: ${differs}`);
    }
    ++checkpoints;
    spent.checkpoint = (spent.checkpoint ?? 0) + performance.now() - t0;
  };

  for (let index = 1; index <= kActions;) {
    if (session.state.window === 'ended') {
      await session.close();
      await session.start();
      ++restarts;
      recent.push([index, 'open the page again']);
      await take(index, 'open the page again', session.state);
      continue;
    }
    // Cheap synthetic actions gather into one call until a real one comes.
    const batch = [];
    let real = null;
    while (index + batch.length <= kActions && batch.length < 64) {
      const action = choose(random, session.state.window === 'main' ? 'main' : 'title');
      if (action.kind === 'key' || action.kind === 'click') {
        batch.push(action);
        if (action.kind === 'click' && !kPlotIds.has(action.id)) break; // the window changes
      } else {
        real = action;
        break;
      }
    }
    if (batch.length) {
      const t0 = performance.now();
      const { done, state: after } = await session.page.evaluate((a) => window.__randomUse.run(a), batch);
      for (let n = 0; n < done; ++n) recent.push([index + n, describe(batch[n])]);
      for (const a of batch.slice(0, done)) tally[a.kind] = (tally[a.kind] ?? 0) + 1;
      await take(index + done - 1, describe(batch[done - 1]), after);
      spent.batch = (spent.batch ?? 0) + performance.now() - t0;
      const crossed = Math.floor((index + done - 1) / 500) > Math.floor((index - 1) / 500);
      index += done;
      if (crossed) await checkpoint(index - 1);
      if (recent.length > 200) recent.splice(0, 100);
      // A failed batch has thrown; one that ended on a move to the other
      // window has no real action after it.
      if (!real || session.state.window === 'ended') continue;
    }
    if (!real || index > kActions) break;
    const before = session.state;
    const t0 = performance.now();
    const description = await perform(session, real, random, before);
    // Keys that the focused control leaves to the page scroll it, smoothly.
    if (before.scrollable && (real.kind === 'press' && /^(Arrow|Page|Home|End|Space)/.test(real.key) ||
                              real.kind === 'hold' && real.how === 'key')) {
      session.moving = true;
    }
    recent.push([index, description]);
    tally[real.kind] = (tally[real.kind] ?? 0) + 1;
    const after = real.settle ? await session.settle() : await session.check();
    await take(index, description, after);
    spent[real.kind] = (spent[real.kind] ?? 0) + performance.now() - t0;
    // Under load a touch now and then lands where the page was a frame
    // earlier (after a scroll): what it did then is checked by the
    // invariants only.
    const down = (real.downs ?? after.downs)[0];
    if (real.aimed && !(down && Math.abs(down.x - real.aimed[0]) <= 1.5 && Math.abs(down.y - real.aimed[1]) <= 1.5)) {
      misdelivered.push(`${index}: ${description}, pressed at ${down ? `${down.x},${down.y}` : 'nowhere'}`);
      real.expect = null;
    }
    if (real.expect && before.values && after.values) {
      const expected = real.expect(before, after);
      if (expected !== true) await fail(index, description, expected);
    }
    if (index % 500 === 0) await checkpoint(index);
    ++index;
  }
  await checkpoint(kActions);
  const seconds = (Date.now() - started) / 1000;
  const summary = `${kActions} actions in ${seconds.toFixed(1)} s: ${plots} plots passed their guard, ` +
    `${checkpoints} pixel checkpoints, ${restarts} restarts after "Salir", at most ${maxListeners} listeners ` +
    `(${session.baseListeners} at rest) and ${maxTimers} timers; ${misdelivered.length} presses landed off their aim ` +
    `${JSON.stringify(misdelivered.slice(0, 5))}; actions ${JSON.stringify(tally)}; ` +
    `ms ${JSON.stringify(Object.fromEntries(Object.entries(spent).map(([k, v]) => [k, Math.round(v)])))}`;
  console.log(`random use: ${summary}`);
  t.diagnostic(summary);
  if (kActions >= 2000) assert.ok(plots > kActions / 200, `only ${plots} plots`);
  assert.ok(misdelivered.length < 1 + kActions / 200, 'too many presses landed off their aim');
  await session.close();
});

const kHeapSlack = 256 * 1024;

test(`${kCycles} plot-and-navigate cycles keep the heap flat`, { timeout: 20 * 60_000 }, async (t) => {
  const started = Date.now();
  const session = new Session('es-ES', ',');
  await session.start();
  const { page } = session;
  const cdp = await page.context().newCDPSession(page);
  const centre = async (id) => {
    const box = await session.aim(id);
    return [box.x + box.width / 2, box.y + box.height / 2];
  };
  const continuar = await centre('Form2-Command1');
  await page.mouse.click(...continuar);
  await page.evaluate(setSliders, kExample);
  const plots = [];
  for (const name of Object.keys(kPlotButtons)) plots.push(await centre(`Form1-${name}`));
  const regresar = await centre('Form1-Command4');
  await page.mouse.click(...regresar);

  // Through the real mouse: "Continuar", a plot, "Regresar".
  const cycle = async (n) => {
    await page.mouse.click(...continuar);
    await page.mouse.click(...plots[n % plots.length]);
    await page.mouse.click(...regresar);
  };
  // After a full collection; the notes of the clicks are taken out first.
  const measure = async (cycles, snapshot) => {
    const state = await session.settle();
    assert.deepEqual(state.errors, []);
    assert.deepEqual(state.problems, []);
    assert.equal(state.window, 'title');
    assert.equal(state.clicks.length, cycles, 'every plot click reached its button');
    await cdp.send('HeapProfiler.collectGarbage');
    const { usedSize } = await cdp.send('Runtime.getHeapUsage');
    const facts = await page.evaluate(() => ({
      nodes: document.getElementsByTagName('*').length, core: window.vorel.core.HEAPU8.buffer.byteLength,
    }));
    return { used: usedSize, listeners: state.listeners, timers: state.timers, ...facts,
      own: snapshot ? await scriptHeap(cdp) : null };
  };

  const warmUp = Math.min(100, kCycles);
  for (let n = 0; n < warmUp; ++n) await cycle(n);
  const samples = [await measure(warmUp, true)];
  for (let n = warmUp; n < kCycles; n += 100) {
    const end = Math.min(kCycles, n + 100);
    for (let k = n; k < end; ++k) await cycle(k);
    samples.push(await measure(end - n, end === kCycles));
  }
  const [first, last] = [samples[0], samples.at(-1)];
  const grown = (kind) => (last.own.get(kind) ?? 0) - (first.own.get(kind) ?? 0);
  const ownGrowth = [...new Set([...first.own.keys(), ...last.own.keys()])].reduce((sum, k) => sum + grown(k), 0);
  const summary = `${kCycles} cycles in ${((Date.now() - started) / 1000).toFixed(1)} s; JS heap after each 100 ` +
    `(kB): ${samples.map((s) => (s.used / 1024).toFixed(1)).join(' ')}; the scripts' own objects ${ownGrowth >= 0 ? '+' : ''}${ownGrowth} ` +
    `bytes after the warm-up; ${last.nodes} elements, ${last.listeners} listeners, core memory ${last.core} bytes`;
  console.log(`random use: ${summary}`);
  t.diagnostic(summary);
  // What grows at all is the browser's: compiled code and its bounded
  // performance-timeline buffers (long tasks, long animation frames, layout
  // shifts, up to 150 or 200 entries each), some 40 kB in 1000 cycles on a
  // loaded machine and at most about 150 kB. One object, closure or string
  // kept per cycle is 16 bytes or more: the scripts' own share may not grow
  // by that much.
  assert.ok(last.used - first.used < kHeapSlack, `the heap grew by ${last.used - first.used} bytes`);
  const cycles = kCycles - warmUp;
  const kinds = [...new Set([...first.own.keys(), ...last.own.keys()])].filter((k) => grown(k) > 0)
    .sort((a, b) => grown(b) - grown(a)).slice(0, 8).map((k) => `${k} +${grown(k)}`);
  assert.ok(ownGrowth <= 16 * cycles, `the scripts' objects grew by ${ownGrowth} bytes in ${cycles} cycles: ${kinds.join(', ')}`);
  assert.deepEqual([last.nodes, last.listeners, last.timers, last.core], [first.nodes, first.listeners, first.timers, first.core]);
  // The last plot is still the desktop's.
  await page.mouse.click(...continuar);
  const command = Object.values(kPlotButtons)[(kCycles - 1) % 5];
  const ratio = await page.evaluate(() => window.vorel.core.picture().ratio);
  const differs = firstDifference(await canvasPixels(page), desktopPixels(command, kExample, ratio), await labelBoxes(page));
  assert.equal(differs, null);
  await session.close();
});

// The bytes of the scripts' own values in a heap snapshot, by kind and
// constructor: objects, closures, arrays, strings, numbers. Compiled code
// and the browser's native objects are left out.
async function scriptHeap(cdp) {
  const chunks = [];
  const take = ({ chunk }) => chunks.push(chunk);
  cdp.on('HeapProfiler.addHeapSnapshotChunk', take);
  await cdp.send('HeapProfiler.takeHeapSnapshot', { reportProgress: false });
  cdp.off('HeapProfiler.addHeapSnapshotChunk', take);
  const { snapshot, nodes, strings } = JSON.parse(chunks.join(''));
  const fields = snapshot.meta.node_fields;
  const types = snapshot.meta.node_types[0];
  const [type, name, size] = ['type', 'name', 'self_size'].map((f) => fields.indexOf(f));
  const own = new Set(['object', 'closure', 'array', 'string', 'concatenated string', 'sliced string', 'regexp', 'number', 'symbol', 'bigint']);
  const bytes = new Map();
  for (let i = 0; i < nodes.length; i += fields.length) {
    const kind = types[nodes[i + type]];
    if (!own.has(kind)) continue;
    const key = kind === 'object' || kind === 'closure' ? `${kind} ${strings[nodes[i + name]]}` : kind;
    bytes.set(key, (bytes.get(key) ?? 0) + nodes[i + size]);
  }
  return bytes;
}

const kPlotIds = new Set(Object.keys(kPlotButtons).map((name) => `Form1-${name}`));
const kSliderKeys = ['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'PageUp', 'PageDown', 'ArrowRight',
  'PageDown', 'Home', 'End', 'Enter', ' ', 'Escape', 'a'];
const kMainKeys = ['Tab', 'Shift+Tab', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'PageUp', 'PageDown',
  'Home', 'End', 'Space', 'Enter', 'Escape', 'ArrowRight', 'PageDown', 'Tab'];
const kTitleKeys = ['Tab', 'Shift+Tab', 'Escape', 'Space', 'Enter', 'Tab'];

// The next action for the window on screen. Synthetic keys and clicks are
// the cheap ones, run in batches; the rest go through the browser's input.
function choose(random, window) {
  const slider = random.pick(kSliders);
  const r = random.next() * 100;
  if (window === 'title') {
    if (r < 40) return { kind: 'click', id: 'Form2-Command1' };
    if (r < 56) return { kind: 'button', id: 'Form2-Command1', input: random.chance(0.75) ? 'mouse' : 'touch' };
    if (r < 86) return { kind: 'press', key: random.pick(kTitleKeys) };
    if (r < 89) return { kind: 'resize', width: 320 + random.below(1100), height: 300 + random.below(700), settle: true };
    if (r < 92) return { kind: 'ratio', ratio: random.pick(kRatios), settle: true };
    if (r < 95) return { kind: 'button', id: 'Form2-Command2', input: 'mouse' };
    return { kind: 'anywhere', x: random.next(), y: random.next() };
  }
  // About one action in eight goes through the browser's input, which waits
  // for frames; the rest are synthetic keys and clicks, run in batches.
  if (r < 72) return { kind: 'key', slider, key: random.pick(kSliderKeys) };
  if (r < 88) {
    let name = random.pick(['Command1', 'Command2', 'Command3', 'Command4', 'Command5', 'Command6']);
    // Regresar less often than the plots, or little would be plotted.
    if (name === 'Command4' && !random.chance(1 / 3)) name = 'Command3';
    return { kind: 'click', id: `Form1-${name}` };
  }
  if (r < 91.5) {
    return { kind: 'part', slider, part: random.pick(['back', 'forward', 'track']), side: random.next(),
      input: r < 90.3 ? 'mouse' : 'touch', settle: random.chance(0.05) };
  }
  if (r < 92.3) {
    let name = random.pick(['Command1', 'Command2', 'Command3', 'Command4', 'Command5', 'Command6']);
    if (name === 'Command4' && !random.chance(1 / 3)) name = 'Command5';
    return { kind: 'button', id: `Form1-${name}`, input: r < 92 ? 'mouse' : 'touch' };
  }
  if (r < 93.5) {
    return { kind: 'drag', slider, input: random.chance(0.75) ? 'mouse' : 'touch', to: random.pick(['end', 'start', 'inside', 'inside']),
      at: random.next(), steps: 1 + random.below(3), watch: random.chance(0.3),
      between: random.chance(0.15) ? random.pick(['key', 'resize', 'ratio']) : null,
      width: 320 + random.below(1100), height: 300 + random.below(700), ratio: random.pick(kRatios), settle: random.chance(0.2) };
  }
  if (r < 97.3) return { kind: 'press', key: random.pick(kMainKeys), settle: random.chance(0.05) };
  // Held short of the repeat's 500 ms delay: what a hold does until its
  // release is checked here, the repeat itself on Playwright's clock in
  // devices.test.mjs.
  if (r < 97.6) {
    return { kind: 'hold', slider, how: random.pick(['arrow', 'arrow', 'track', 'touch', 'key']), forward: random.chance(0.5),
      side: random.next(), ms: 50 + random.below(100), settle: true };
  }
  if (r < 98.2) return { kind: 'resize', width: 320 + random.below(1100), height: 300 + random.below(700), settle: true };
  if (r < 98.8) return { kind: 'ratio', ratio: random.pick(kRatios), settle: true };
  if (r < 99.5) return { kind: 'anywhere', x: random.next(), y: random.next() };
  return { kind: 'press', key: random.pick(['Tab', 'Shift+Tab']) };
}

function describe(a) {
  switch (a.kind) {
    case 'key': return `keydown ${JSON.stringify(a.key)} on ${a.slider}`;
    case 'click': return `click() on ${a.id}`;
    default: return `${a.kind} ${JSON.stringify(a, (k, v) => (k === 'kind' || k === 'expect' ? undefined : v))}`;
  }
}

const pause = (ms) => new Promise((done) => setTimeout(done, ms));
const step = (i, value, delta) => Math.min(kMaximum[i], Math.max(0, value + delta));
// A press that took long may have repeated: then any further move in the
// same direction is right too.
const kRepeatMs = 150;
function moved(i, before, now, delta, ms) {
  if (now === step(i, before, delta)) return true;
  return ms >= kRepeatMs && Math.sign(now - before) === Math.sign(delta) &&
    Math.abs(now - before) >= Math.abs(step(i, before, delta) - before);
}

// Does the action through the browser's input and sets what the state after
// it must show; returns its description.
async function perform(session, a, random, before) {
  const { page } = session;
  const mouse = page.mouse;
  const i = kSliders.indexOf(a.slider);
  const { finger: touch } = session;
  const centre = (box) => [box.x + box.width / 2, box.y + box.height / 2];
  switch (a.kind) {
    case 'part': {
      let part = a.part;
      const box = await session.aim(`Form1-${a.slider}`, part, a.input);
      let [x, y] = centre(box);
      let delta = part === 'back' ? -1 : 1;
      if (part === 'track') {
        // A point of the track off the thumb, on a side that has room; a
        // finger keeps clear of the thumb by more than half its width, or
        // it may take the thumb.
        const clear = a.input === 'touch' ? 13 : 1;
        const leftRoom = box.thumb.x - box.track.x - 1 - clear;
        const rightRoom = box.track.x + box.track.width - (box.thumb.x + box.thumb.width) - 1 - clear;
        const back = leftRoom >= 1 && (rightRoom < 1 || a.side < 0.5);
        if (leftRoom < 1 && rightRoom < 1) return 'track without room beside the thumb';
        x = back ? box.track.x + 1 + a.side * leftRoom : box.thumb.x + box.thumb.width + clear + a.side * rightRoom;
        delta = back ? -kPageStep[i] : kPageStep[i];
        part = back ? 'track before the thumb' : 'track after the thumb';
      }
      a.aimed = [x, y];
      const t0 = Date.now();
      if (a.input === 'mouse') await mouse.click(x, y);
      else await touch.tap(x, y);
      const ms = Date.now() - t0;
      a.expect = (b, after) => moved(i, b.values[i], after.values[i], delta, ms) ||
        `${a.slider} went from ${b.values[i]} to ${after.values[i]} for a ${a.input} on its ${part} (${ms} ms)`;
      return `${a.input} on the ${part} of ${a.slider} at ${x.toFixed(1)},${y.toFixed(1)}`;
    }
    case 'button': {
      const [x, y] = centre(await session.aim(a.id, undefined, a.input));
      a.aimed = [x, y];
      if (a.input === 'mouse') await mouse.click(x, y);
      else await touch.tap(x, y);
      const goes = { 'Form1-Command4': 'title', 'Form2-Command1': 'main', 'Form2-Command2': 'ended' }[a.id] ?? 'main';
      a.expect = (b, after) => (after.window === goes && (goes !== 'main' || String(after.values) === String(b.values))) ||
        `${a.id} left the ${after.window} window showing, sliders ${after.values}`;
      if (goes === 'ended') a.expect = () => true;
      return `${a.input} on ${a.id}`;
    }
    case 'drag': {
      const box = await session.aim(`Form1-${a.slider}`, 'thumb', a.input);
      const [x0, y] = centre(box);
      const { width } = session.metrics;
      const end = box.track.x + box.track.width;
      let x = a.to === 'end' ? end + 2 + a.at * 40 : a.to === 'start' ? box.track.x - 2 - a.at * 40 : box.track.x + a.at * box.track.width;
      x = Math.min(width - 1, Math.max(0, x));
      const down = a.input === 'mouse' ? async () => { await mouse.move(x0, y); await mouse.down(); }
                                       : () => touch.down(x0, y);
      const move = a.input === 'mouse' ? (to) => mouse.move(to, y) : (to) => touch.move(to, y);
      const up = a.input === 'mouse' ? () => mouse.up() : () => touch.up();
      a.aimed = [x0, y];
      await down();
      for (let s = 1; s <= a.steps; ++s) await move(x0 + (x - x0) * s / a.steps);
      let stillProblem = null;
      if (a.watch && !a.between) {
        // While the thumb moves, the value and its readout stay.
        const during = await session.check();
        a.downs = during.downs;
        if (String(during.values) !== String(before.values)) stillProblem = `the sliders moved during the drag: ${during.values}`;
        if (during.problems.length) stillProblem = during.problems.join('; ');
      }
      if (a.between === 'key') await page.keyboard.press(random.pick(['ArrowLeft', 'ArrowRight', 'End', 'Home']));
      if (a.between === 'resize') await session.setMetrics({ width: a.width, height: a.height });
      if (a.between === 'ratio') await session.setMetrics({ ratio: a.ratio });
      if (a.between) await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
      await up();
      a.expect = (b, after) => {
        if (stillProblem) return stillProblem;
        const now = after.values[i];
        if (a.between === 'resize' || a.between === 'ratio') return true; // the track moved under the pointer
        if (x >= end && now !== kMaximum[i]) return `${a.slider} at ${now} after a drag past the end of its track`;
        if (x <= box.track.x && now !== 0) return `${a.slider} at ${now} after a drag past the start of its track`;
        return true;
      };
      return `${a.input} drag of ${a.slider} from ${x0.toFixed(1)} to ${x.toFixed(1)} (track ${box.track.x.toFixed(1)} to ${end.toFixed(1)}) in ${a.steps} moves${a.between ? `, a ${a.between} between` : ''}`;
    }
    case 'press': {
      const focus = before.focus;
      const k = kSliders.findIndex((name) => focus === `Form1-${name}`);
      await page.keyboard.press(a.key);
      a.expect = (b, after) => {
        const order = focus.startsWith('Form1') ? kMainOrder : kTitleOrder;
        const at = order.indexOf(focus);
        if ((a.key === 'Tab' || a.key === 'Shift+Tab') && at >= 0) {
          const next = order[(at + (a.key === 'Tab' ? 1 : order.length - 1)) % order.length];
          if (after.focus !== next) return `the focus went from ${focus} to ${after.focus}`;
        }
        const clicks = (a.key === 'Enter' || a.key === 'Space') && /Command/.test(focus);
        if (!clicks && after.window !== b.window) return `the ${after.window} window shows`;
        if (k >= 0 && b.values && after.values) {
          const expected = keyStep(k, b.values[k], a.key, kMaximum, kPageStep) ?? b.values[k];
          if (after.values[k] !== expected) return `${kSliders[k]} went from ${b.values[k]} to ${after.values[k]}`;
        }
        return true;
      };
      return `key ${a.key} on ${focus || 'the page'}`;
    }
    case 'hold': {
      let delta = a.forward ? 1 : -1;
      const t0 = Date.now();
      if (a.how === 'key') {
        // As a keyboard repeats a held key, every 33 ms.
        const key = a.forward ? 'ArrowRight' : 'ArrowLeft';
        const k = kSliders.findIndex((name) => before.focus === `Form1-${name}`);
        await page.keyboard.down(key);
        let repeats = 0;
        for (; Date.now() - t0 < a.ms; ++repeats) { await pause(33); await page.keyboard.down(key); }
        await page.keyboard.up(key);
        a.expect = (b, after) => {
          if (k < 0) return true;
          const expected = step(k, b.values[k], delta * (1 + repeats));
          return after.values[k] === expected || `${kSliders[k]} went from ${b.values[k]} to ${after.values[k]} for ${1 + repeats} key downs`;
        };
      } else {
        const part = a.how === 'track' ? 'track' : a.forward ? 'forward' : 'back';
        const box = await session.aim(`Form1-${a.slider}`, part, a.how === 'touch' ? 'touch' : 'mouse');
        let [x, y] = centre(box);
        if (part === 'track') {
          const leftRoom = box.thumb.x - box.track.x - 2;
          const rightRoom = box.track.x + box.track.width - (box.thumb.x + box.thumb.width) - 2;
          if (leftRoom < 1 && rightRoom < 1) return 'hold on a track without room beside the thumb';
          const back = leftRoom >= 1 && (rightRoom < 1 || !a.forward);
          x = back ? box.track.x + 1 + a.side * leftRoom : box.thumb.x + box.thumb.width + 1 + a.side * rightRoom;
          delta = back ? -kPageStep[i] : kPageStep[i];
        }
        a.aimed = [x, y];
        if (a.how === 'touch') await touch.down(x, y);
        else { await mouse.move(x, y); await mouse.down(); }
        await pause(a.ms);
        if (a.how === 'touch') await touch.up();
        else await mouse.up();
        // Once let go, nothing moves any more.
        const released = await page.evaluate(() => window.__randomUse.values());
        await pause(80);
        const still = await page.evaluate(() => window.__randomUse.values());
        a.expect = (b, after) => {
          if (String(still) !== String(released)) return `the sliders kept moving after the release: ${released} then ${still}`;
          const [from, now] = [b.values[i], after.values[i]];
          const right = step(i, from, delta) === from ? now === from : Math.sign(now - from) === Math.sign(delta);
          return right || `${a.slider} went from ${from} to ${now} for a hold on its ${part}`;
        };
      }
      return `hold ${a.how} ${a.forward ? 'forward' : 'back'} on ${a.slider} for ${a.ms} ms (${Date.now() - t0} ms)`;
    }
    case 'resize':
      await session.setMetrics({ width: a.width, height: a.height });
      return `resize to ${a.width}x${a.height}`;
    case 'ratio':
      await session.setMetrics({ ratio: a.ratio });
      return `pixel ratio ${a.ratio}`;
    case 'anywhere': {
      const x = a.x * (session.metrics.width - 1);
      const y = a.y * (session.metrics.height - 1);
      await mouse.click(x, y);
      return `click at ${x.toFixed(1)},${y.toFixed(1)}`;
    }
  }
  throw new Error(`no action ${a.kind}`);
}

