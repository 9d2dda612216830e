// Opens the one-file page in Debian's Chromium, headless, from disk, and
// offers the few moves the tests share.
import { execFileSync } from 'node:child_process';
import { join, resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const root = fileURLToPath(new URL('../..', import.meta.url));
export const pagePath = process.env.VOREL_WEB_PAGE ?? join(root, 'build/web/vorel.html');
const rasterDump = process.env.VOREL_RASTERDUMP ?? join(root, 'build/test/tests/rasterdump');
const labelInk = process.env.VOREL_LABELINK ?? join(root, 'build/test/tests/labelink');

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

// The window is scaled to fit the viewport, and with a mouse never below 1:
// in this one both windows stay at scale 1 (the title window fits it
// exactly; the main window is taller and the page scrolls a little).
export const kUnscaledViewport = { width: 800, height: 537 };

// A fresh page in a context of its own, with every request it makes
// written down; init runs in the page before its own script. device may
// give a viewport, a touch screen and so on, as Playwright's contexts take;
// with clock, the page's timers and clocks are Playwright's, which the test
// then stops and moves on at will (page.clock).
export async function open(browser, { ratio = 1, locale = 'es-ES', init, device = {}, clock = false } = {}) {
  const context = await browser.newContext({
    deviceScaleFactor: ratio, locale, viewport: kUnscaledViewport, ...device,
  });
  const page = await context.newPage();
  if (init) await page.addInitScript(init);
  if (clock) await page.clock.install();
  page.requests = [];
  page.errors = [];
  page.on('request', (request) => page.requests.push(request.url()));
  page.on('pageerror', (error) => page.errors.push(error.message));
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForFunction(() => window.vorel);
  return page;
}

export async function toMainWindow(page) {
  await page.click('#Form2-Command1');
}

// Moves a slider with its keys from the start to a position: Home, Page
// Down while a page fits, then Right. The keys go to the slider as events
// in one call, which is quicker than real key presses one by one.
export async function setSlider(page, name, position) {
  await page.evaluate(([n, p]) => {
    const slider = window.vorel.title.m_form1[n];
    const press = (key) => slider.element.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
    press('Home');
    let at = slider.minimum;
    for (; slider.pageStep > 1 && p - at >= slider.pageStep; at += slider.pageStep) press('PageDown');
    for (; at < p; ++at) press('ArrowRight');
  }, [name, position]);
}

export async function setSliders(page, positions) {
  for (const [name, position] of Object.entries(positions)) await setSlider(page, name, position);
}

// The canvas's pixels as RGBA bytes, with its size; they cross from the
// page as base64, which is far quicker than an array of numbers.
export async function canvasPixels(page) {
  const { width, height, base64 } = await page.evaluate(() => {
    const canvas = document.querySelector('#Form1-Picture1 canvas');
    const bytes = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return { width: canvas.width, height: canvas.height, base64: btoa(binary) };
  });
  return { width, height, data: new Uint8Array(Buffer.from(base64, 'base64')) };
}

// A new pixel ratio, as a browser zoom gives it: with a resize.
export async function emulateRatio(page, ratio) {
  const cdp = await page.context().newCDPSession(page);
  await cdp.send('Emulation.setDeviceMetricsOverride', {
    width: kUnscaledViewport.width + 1, height: kUnscaledViewport.height, deviceScaleFactor: ratio, mobile: false,
  });
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
  const order = ['HScroll1', 'HScroll2', 'HScroll3', 'HScroll4', 'HScroll5', 'HScroll6', 'HScroll7'];
  return [command, ...order.map((n) => String(positions[n] ?? 0)), String(ratio)];
}

// Every channel of every pixel outside the label boxes: null when the
// browser's and the desktop's pictures agree, else where they first differ.
// The boxes cover less than a tenth of the picture; a comparison that would
// look at less is itself a difference.
export function firstDifference(web, desktop, boxes) {
  if (web.data.length !== desktop.length) return `${web.data.length} bytes in the canvas, ${desktop.length} on the desktop`;
  const { width, height } = web;
  const inLabel = new Uint8Array(width * height);
  for (const { x, y, width: w, height: h } of boxes) {
    for (let row = Math.max(0, y); row < Math.min(height, y + h); ++row) inLabel.fill(1, row * width + Math.max(0, x), row * width + Math.min(width, x + w));
  }
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
