// The one harness of the browser tests: the names and settings they share,
// the one-file page opened in Debian's Chromium, headless, from disk or
// served, and the few moves the tests share, on either side of the page.
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { join } from 'node:path';
import { after, afterEach, before } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const root = fileURLToPath(new URL('../..', import.meta.url));
export const pagePath = process.env.VOREL_WEB_PAGE ?? join(root, 'build/web/vorel.html');
export const pageUrl = pathToFileURL(pagePath).href;
const rasterDump = process.env.VOREL_RASTERDUMP ?? join(root, 'build/test/tests/rasterdump');
const labelInk = process.env.VOREL_LABELINK ?? join(root, 'build/test/tests/labelink');

// What the user sees, written here and not taken from the program: the
// sliders with their readouts, in the order of the plot's parameters; the
// plot buttons as they stand on the window, with the command each runs;
// each window's tab order from its first control, as on the desktop.
export const kSliders = ['HScroll1', 'HScroll2', 'HScroll3', 'HScroll4', 'HScroll5', 'HScroll6', 'HScroll7'];
export const kReadouts = ['Label3', 'Label4', 'Label7', 'Label8', 'Label11', 'Label12', 'Label14'];
export const kPlotButtons = { Command1: 'Wave1', Command2: 'Wave2', Command6: 'BothWaves', Command5: 'Resultant', Command3: 'All' };
export const kTitleOrder = ['Form2-Command1', 'Form2-Command2'];
export const kMainOrder = ['Picture1', 'HScroll1', 'HScroll2', 'HScroll3', 'HScroll4', 'HScroll5', 'HScroll6', 'Command1',
  'Command2', 'Command3', 'Command4', 'HScroll7', 'Command5', 'Command6'].map((name) => `Form1-${name}`);
export const kCaption = 'Interferencia de Vorel. Por el Taller de Ondas.';
export const kEndLine = 'El programa ha terminado. Vuelva a cargar la página para empezar de nuevo.';
export const kCanvas = '#Form1-Picture1 canvas';
export const kPlotBoxKeys = 'Alt+T: modo de audio. Intro: escuchar. Flechas: recorrer.';

// The road of the example: A1 = 20, A2 = 10, ω1 = 1, ω2 = 2, T = 10.
export const kExample = { HScroll1: 20, HScroll2: 10, HScroll3: 10, HScroll4: 20, HScroll7: 100 };
// The example with the waves out of phase, φ1 = 1.57, φ2 = 0.5: a phase
// taken from the wrong slider, or dropped, moves a curve.
export const kPhased = { ...kExample, HScroll5: 157, HScroll6: 50 };
// A dense plot: both amplitudes at the top, ω1 = 10, ω2 = 7.3, φ1 = 10,
// φ2 = 3.14, T = 100.
export const kDense = { HScroll1: 50, HScroll2: 50, HScroll3: 100, HScroll4: 73, HScroll5: 1000, HScroll6: 314, HScroll7: 1000 };

// The flags these machines need: root, no GPU, a closed network. Playwright
// gives each launch a fresh profile.
export async function launch() {
  return chromium.launch({
    executablePath: process.env.VOREL_CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// One Chromium for a file's tests: launched before them and closed after;
// whatever contexts a test opened are closed when it ends, failed or not.
// suite.browser is the browser once the tests run.
export function browserSuite() {
  const suite = { browser: null };
  before(async () => { suite.browser = await launch(); });
  afterEach(async () => { await Promise.all(suite.browser?.contexts().map((context) => context.close()) ?? []); });
  after(async () => { await suite.browser?.close(); });
  return suite;
}

// The window is scaled to fit the viewport, and with a mouse never below 1:
// in this one both windows stay at scale 1 (the title window fits it
// exactly; the main window is taller and the page scrolls a little).
export const kUnscaledViewport = { width: 800, height: 537 };

// A fresh page in a context of its own, on the file or at url, with every
// request it makes and every uncaught error written down; init runs in the
// page before its own script. device may give a viewport, a touch screen
// and so on, as Playwright's contexts take; with clock, the page's timers
// and clocks are Playwright's, which the test then stops and moves on at
// will (page.clock); slowdown makes the machine that many times slower.
// Unless ready is false, it waits for the core.
export async function open(browser, {
  url = pageUrl, ratio = 1, locale = 'es-ES', init, device = {}, clock = false, slowdown, ready = true,
} = {}) {
  const context = await browser.newContext({
    deviceScaleFactor: ratio, locale, viewport: kUnscaledViewport, ...device,
  });
  const page = await context.newPage();
  if (init) await page.addInitScript(init);
  if (clock) await page.clock.install();
  if (slowdown) await (await context.newCDPSession(page)).send('Emulation.setCPUThrottlingRate', { rate: slowdown });
  page.requests = [];
  page.errors = [];
  page.on('request', (request) => page.requests.push(request.url()));
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.goto(url);
  if (ready) await page.waitForFunction(() => window.vorel);
  return page;
}

// The page, gone on to the main window with "Continuar".
export async function openMain(browser, options) {
  const page = await open(browser, options);
  await page.click('#Form2-Command1');
  return page;
}

// The page on http://127.0.0.1, with the path of every request written down.
export async function serve(path = pagePath) {
  const asked = [];
  const server = createServer((request, response) => {
    asked.push(request.url);
    if (request.url !== '/') {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(readFileSync(path));
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  return { url: `http://127.0.0.1:${server.address().port}/`, asked, close: () => server.close() };
}

// A finger, through the browser's own touch input; the page needs a touch
// screen (device.hasTouch).
export async function finger(page) {
  const cdp = await page.context().newCDPSession(page);
  const send = (type, points) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: points });
  const touch = {
    down: (x, y) => send('touchStart', [{ x, y, id: 1 }]),
    move: (x, y) => send('touchMove', [{ x, y, id: 1 }]),
    up: () => send('touchEnd', []),
    tap: async (x, y) => { await touch.down(x, y); await touch.up(); },
  };
  return touch;
}

// The screen as a resize or the browser's zoom leaves it: width and height
// in CSS px, and the pixel ratio. Headless Chromium tells media queries of
// an emulated ratio only with a resize: a zoom changes the width too.
export async function setMetrics(page, { width, height, ratio }) {
  page.cdp ??= await page.context().newCDPSession(page);
  await page.cdp.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: ratio, mobile: false });
}

// Runs in the page: the core is loaded after the first paint; waits for it.
export function ready() {
  return new Promise((resolve, reject) => {
    const start = Date.now();
    (function poll() {
      if (window.vorel && window.vorel.core && window.vorel.title) resolve(true);
      else if (Date.now() - start > 20000) reject(new Error('the page never got ready'));
      else setTimeout(poll, 20);
    })();
  });
}

// Runs in the page: moves sliders with their keys from the start to their
// positions, { HScroll1: 20, ... }: Home, Page Down while a page fits, then
// Right. The keys go to each slider as events in one call, which is far
// quicker than real key presses one by one. Called outside the page, as
// setSliders(page, positions) (web/tools/screenshots.mjs does), it runs
// itself in the page.
export function setSliders(positions, outside) {
  if (typeof window === 'undefined') return positions.evaluate(setSliders, outside);
  for (const name of Object.keys(positions)) {
    const slider = window.vorel.title.m_form1[name];
    const press = (key) => slider.element.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
    press('Home');
    let at = slider.minimum;
    for (; slider.pageStep > 1 && positions[name] - at >= slider.pageStep; at += slider.pageStep) press('PageDown');
    for (; at < positions[name]; ++at) press('ArrowRight');
  }
}

// Runs in the page, on the main window: puts the sliders at the positions
// and plots them with every curve ("Todas").
export function plotAll(positions) {
  const form = window.vorel.title.m_form1;
  for (const name of Object.keys(positions)) form[name].setValue(positions[name]);
  form.Command3_Click();
}

// Runs in the page, on the main window, before its first sound: the plot
// box's own speakers play into an offline audio context at 48 kHz, as many
// machines' outputs run, which heardSound() renders. Each sound started is
// kept in window.played as [its length, its rate, its sample 10000 in
// hundred-thousandths], and each stop as 'stop'; window.soundFails makes
// the output refuse to play.
export function recordSound() {
  const Offline = window.OfflineAudioContext || window.webkitOfflineAudioContext;
  window.played = [];
  window.AudioContext = function Speakers() {
    const context = new Offline(1, 48000 * 6, 48000);
    window.speakers = context;
    // An offline context runs only when it renders; Firefox's has no resume.
    context.resume = () => Promise.resolve();
    const { createBuffer, createBufferSource } = context;
    context.createBuffer = (...args) => {
      if (window.soundFails) throw new Error('no output');
      return createBuffer.apply(context, args);
    };
    context.createBufferSource = () => {
      const source = createBufferSource.call(context);
      const { start, stop } = source;
      source.start = (...args) => {
        const { buffer } = source;
        window.played.push([buffer.length, buffer.sampleRate, Math.round(buffer.getChannelData(0)[10000] * 1e5)]);
        return start.apply(source, args);
      };
      source.stop = (...args) => {
        window.played.push('stop');
        return stop.apply(source, args);
      };
      return source;
    };
    return context;
  };
}

// Runs in the page, after recordSound: renders what reached the speakers'
// output and gives back each sound heard, a tenth of a second of silence
// (below 1/200 of full scale) from the next, as [its length in hundredths
// of a second, its frequency in hertz over the whole periods between its
// first and last rising zero crossing, its level (its peak) in hundredths
// of full scale].
export async function heardSound() {
  const rendered = await window.speakers.startRendering();
  const s = rendered.getChannelData(0);
  const rate = rendered.sampleRate;
  const runs = [];
  for (let i = 0; i < s.length; ++i) {
    if (Math.abs(s[i]) < 0.005) continue;
    const run = runs[runs.length - 1];
    if (run && i - run.end < rate / 10) run.end = i + 1;
    else runs.push({ start: i, end: i + 1 });
  }
  return runs.map(({ start, end }) => {
    let peak = 0;
    const rising = [];
    for (let i = start; i < end; ++i) {
      peak = Math.max(peak, Math.abs(s[i]));
      if (i > start && s[i - 1] < 0 && s[i] >= 0) rising.push(i);
    }
    const periods = (rising.length - 1) / ((rising[rising.length - 1] - rising[0]) / rate);
    return [Math.round((end - start) / rate * 100), Math.round(periods), Math.round(peak * 100)];
  });
}

// Runs in the page: a key's own repeat while it is held down, sent to the
// focused element: 'Enter', 'Alt+t'.
export function holdKey(key) {
  const alt = key.startsWith('Alt+');
  const name = alt ? key.slice(4) : key;
  const code = name.length === 1 ? `Key${name.toUpperCase()}` : name;
  document.activeElement.dispatchEvent(new KeyboardEvent('keydown', {
    key: name, code, altKey: alt, repeat: true, bubbles: true, cancelable: true,
  }));
}

// Runs in the page: a canvas's pixels as base64, far quicker to carry than
// an array of numbers; the browser's own encoder makes it.
export function canvasBase64(selector) {
  const canvas = document.querySelector(selector);
  const bytes = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
  return new Promise((resolve, reject) => {
    const reader = new FileReader();
    reader.onload = () => resolve({
      width: canvas.width, height: canvas.height, base64: reader.result.slice(reader.result.indexOf(',') + 1),
    });
    reader.onerror = () => reject(reader.error);
    reader.readAsDataURL(new Blob([bytes]));
  });
}

export function fromBase64({ width, height, base64 }) {
  return { width, height, data: new Uint8Array(Buffer.from(base64, 'base64')) };
}

// The plot box's pixels as RGBA bytes, with its size.
export async function canvasPixels(page) {
  return fromBase64(await page.evaluate(canvasBase64, kCanvas));
}

// A PNG's pixels as RGBA bytes, with its size, decoded by the page.
export async function decodePng(page, png) {
  return fromBase64(await page.evaluate(async (base64) => {
    const image = new Image();
    image.src = `data:image/png;base64,${base64}`;
    await image.decode();
    const canvas = document.createElement('canvas');
    [canvas.width, canvas.height] = [image.width, image.height];
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const bytes = context.getImageData(0, 0, image.width, image.height).data;
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return { width: image.width, height: image.height, base64: btoa(binary) };
  }, png.toString('base64')));
}

// The screen's pixels of an element and 2 CSS px round it, at scale 1, as a
// text a row: each pixel the letter of its colour in palette, { X: [r, g, b] },
// to within 2 in each channel, else a space.
export async function pixelRows(page, selector, palette) {
  const { x, y, width: w, height: h } = await page.locator(selector).boundingBox();
  const { width, data } = await decodePng(page, await page.screenshot({ clip: { x: x - 2, y: y - 2, width: w + 4, height: h + 4 } }));
  const letter = (i) => Object.keys(palette).find((l) => palette[l].every((c, k) => Math.abs(c - data[i + k]) <= 2)) ?? ' ';
  return Array.from({ length: h + 4 }, (_, row) => Array.from({ length: width }, (_, col) => letter((row * width + col) * 4)).join(''));
}

export async function labelBoxes(page) {
  return page.evaluate(() => window.vorel.title.m_form1.Picture1.labelBoxes);
}

// Pixels of each curve colour and of black (axes, ticks, text).
export function countColours({ data }) {
  const counts = { blue: 0, green: 0, red: 0, black: 0 };
  for (let i = 0; i < data.length; i += 4) {
    const [r, g, b] = [data[i], data[i + 1], data[i + 2]];
    if (r === 0 && g === 0 && b === 225) counts.blue++;
    else if (r === 0 && g === 225 && b === 0) counts.green++;
    else if (r === 225 && g === 0 && b === 0) counts.red++;
    else if (r === 0 && g === 0 && b === 0) counts.black++;
  }
  return counts;
}

// The desktop's rasteriser, run natively on the same settings.
export function desktopPixels(command, positions, ratio = 1) {
  return new Uint8Array(execFileSync(rasterDump, dumpArguments(command, positions, ratio), { maxBuffer: 64 << 20 }));
}

// Where the desktop's labels put their ink, drawn by Qt's font engine in
// the program's font: [{ x, y, width, height, ink, text }] in device pixels,
// ink in whole pixels' worth.
export function desktopLabels(command, positions, ratio = 1) {
  const out = execFileSync(labelInk, dumpArguments(command, positions, ratio), {
    encoding: 'utf8', env: { ...process.env, QT_QPA_PLATFORM: 'offscreen' }, stdio: ['ignore', 'pipe', 'ignore'],
  });
  return out.trim().split('\n').map((line) => {
    const [x, y, width, height, ink, text] = line.split(' ');
    return { x: +x, y: +y, width: +width, height: +height, ink: +ink, text };
  });
}

function dumpArguments(command, positions, ratio) {
  return [command, ...kSliders.map((n) => String(positions[n] ?? 0)), String(ratio)];
}

// Which pixels of a picture lie in the label boxes, where the browser's and
// the desktop's text engines may differ: 1 for each. It stands alone, so
// that it may run in the page as well, as text.
export function labelMask(width, height, boxes) {
  const inLabel = new Uint8Array(width * height);
  for (const { x, y, width: w, height: h } of boxes) {
    for (let row = Math.max(0, y); row < Math.min(height, y + h); ++row) {
      inLabel.fill(1, row * width + Math.max(0, x), row * width + Math.min(width, x + w));
    }
  }
  return inLabel;
}

// Every channel of every pixel outside the label boxes: null when the
// browser's and the desktop's pictures agree, else where they first differ.
// The boxes cover less than a tenth of the picture; a comparison that would
// look at less is itself a difference.
export function firstDifference(web, desktop, boxes) {
  if (web.data.length !== desktop.length) return `${web.data.length} bytes in the canvas, ${desktop.length} on the desktop`;
  const { width, height } = web;
  const inLabel = labelMask(width, height, boxes);
  let compared = 0;
  for (let p = 0; p < width * height; ++p) {
    if (inLabel[p]) continue;
    for (let c = 0; c < 4; ++c) {
      if (web.data[p * 4 + c] !== desktop[p * 4 + c]) return `pixel (${p % width}, ${Math.floor(p / width)}) differs`;
    }
    ++compared;
  }
  return compared > width * height * 0.9 ? null : `only ${compared} pixels outside the labels`;
}
