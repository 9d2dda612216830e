// Measures the browser edition in headless Chromium, in one run: "Todas"
// from the click to the pixels in the canvas against a bare JavaScript
// baseline in the same page (the same 3 × 9501 samples, three Canvas 2D
// polylines and the frame), at pixel ratios 1 and 2, and at ratio 1 in a
// 1920 × 1080 view (a projector, where the window is scaled by about 1.96);
// and the time from opening the file to the painted title screen, against a
// bare page in the same run, at CPU throttling 1 × and 4 × (a slow
// Chromebook): both as the browser's first contentful paint (when the
// screen shows it) and as the page's own mark, vorel-title-painted, set at
// the start of the frame after the one in which the page painted it; and
// the plot box's sound and trace steps in its audio mode.
//   node bench/web_bench.mjs [runs] [--todas] [--audio] [--opening]   (after scripts/web.sh and npm ci in tests/web)
// the flags pick the parts to measure (all without any), and --file F opens F instead of build/web/vorel.html
// (to set a variant against the bare page in the same run).
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { loadavg, tmpdir } from 'node:os';
import { resolve } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = fileURLToPath(new URL('..', import.meta.url));
const require = createRequire(resolve(root, 'tests/web/package.json'));
const { chromium } = require('playwright-core');
const args = process.argv.slice(2);
const flag = (name) => {
  const at = args.indexOf(name);
  if (at >= 0) args.splice(at, 1);
  return at >= 0;
};
const value = (name, fallback) => {
  const at = args.indexOf(name);
  return at >= 0 ? args.splice(at, 2)[1] : fallback;
};
// Each of --todas, --audio and --opening picks its part; none picks all.
const picked = ['--todas', '--audio', '--opening'].filter(flag);
const part = (name) => picked.length === 0 || picked.includes(name);
const url = pathToFileURL(resolve(value('--file', resolve(root, 'build/web/vorel.html')))).href;
const runs = Number(args[0] ?? 60);

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};

console.log(`load average at the start: ${loadavg().map((l) => l.toFixed(1)).join(', ')}`);
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

// Settings: A1 = 20, A2 = 10, ω1 = 1, ω2 = 2, T = 10 (the example), and a
// dense plot: A1 = A2 = 50, ω1 = 10, ω2 = 7.3, T = 100.
const cases = {
  example: { HScroll1: 20, HScroll2: 10, HScroll3: 10, HScroll4: 20, HScroll5: 0, HScroll6: 0, HScroll7: 100 },
  dense: { HScroll1: 50, HScroll2: 50, HScroll3: 100, HScroll4: 73, HScroll5: 0, HScroll6: 0, HScroll7: 1000 },
};

const todas = part('--todas');
if (todas) console.log(`== "Todas", click to pixels in the canvas (median of ${runs}, ms)`);
if (todas) console.log('ratio, view    case       vorel  baseline  vorel/baseline');
for (const [ratio, viewport] of !todas ? [] : [[1, [800, 600]], [2, [800, 600]], [1, [1920, 1080]]]) {
  const context = await browser.newContext({ deviceScaleFactor: ratio, viewport: { width: viewport[0], height: viewport[1] } });
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.vorel);
  await page.click('#Form2-Command1');
  for (const [name, settings] of Object.entries(cases)) {
    const result = await page.evaluate(([positions, count]) => {
      const form = window.vorel.title.m_form1;
      for (const [slider, p] of Object.entries(positions)) form[slider].setValue(p);
      const button = document.getElementById('Form1-Command3');
      const shown = document.querySelector('#Form1-Picture1 canvas').getContext('2d');

      // The baseline: what a page without our core would do at the least.
      // Device pixels per CSS pixel of the window: the screen's ratio times
      // the window's scale (about 1.96 in the projector's view).
      const ratio = window.vorel.core.picture().ratio;
      const bare = document.createElement('canvas');
      bare.width = shown.canvas.width;
      bare.height = shown.canvas.height;
      const ctx = bare.getContext('2d');
      const [A1, A2] = [positions.HScroll1, positions.HScroll2];
      const [w1, w2] = [positions.HScroll3 / 10, positions.HScroll4 / 10];
      const [p1, p2] = [positions.HScroll5 / 100, positions.HScroll6 / 100];
      const T = positions.HScroll7 / 10;
      const U = A1 + A2;
      const sx = (bare.width - 1) / 10500;
      const sy = (bare.height - 1) / 6000;
      const baseline = () => {
        ctx.setTransform(1, 0, 0, 1, 0, 0);
        ctx.fillStyle = '#fff';
        ctx.fillRect(0, 0, bare.width, bare.height);
        ctx.setTransform(sx, 0, 0, sy, 0, 0);
        ctx.lineWidth = 1 / sx;
        ctx.strokeStyle = '#000';
        ctx.beginPath();
        ctx.moveTo(500, 500); ctx.lineTo(500, 5500);
        ctx.moveTo(500, 3000); ctx.lineTo(10000, 3000);
        for (let y = 500; y <= 5500; y += 1000) { ctx.moveTo(450, y); ctx.lineTo(500, y); }
        for (let x = 500; x <= 10000; x += 950) { ctx.moveTo(x, 3000); ctx.lineTo(x, 3050); }
        ctx.stroke();
        ctx.setTransform(1, 0, 0, 1, 0, 0);
        ctx.fillStyle = '#000';
        ctx.font = `${8 * ratio}pt Arial, "Liberation Sans", sans-serif`;
        ctx.textBaseline = 'top';
        for (let y = 500; y <= 5500; y += 1000) ctx.fillText((U - (y - 500) / 5000 * 2 * U).toFixed(1), 100 * sx, (y - 100) * sy);
        for (let x = 500; x <= 10000; x += 950) ctx.fillText((T * (x - 500) / 9500).toFixed(1), (x - 100) * sx, 3100 * sy);
        const y1 = new Float32Array(9501), y2 = new Float32Array(9501), yR = new Float32Array(9501);
        for (let i = 0; i <= 9500; ++i) {
          const t = T * i / 9500;
          const s1 = A1 * Math.sin(p1 + w1 * t), s2 = A2 * Math.sin(p2 + w2 * t);
          y1[i] = 3000 - 2500 * s1 / U; y2[i] = 3000 - 2500 * s2 / U; yR[i] = Math.round(3000 - 2500 * (s1 + s2) / U);
        }
        ctx.setTransform(sx, 0, 0, sy, 0, 0);
        for (const [ys, colour] of [[y1, 'rgb(0,0,225)'], [y2, 'rgb(0,225,0)'], [yR, 'rgb(225,0,0)']]) {
          ctx.strokeStyle = colour;
          ctx.beginPath();
          ctx.moveTo(500, ys[0]);
          for (let i = 1; i <= 9500; ++i) ctx.lineTo(500 + i, ys[i]);
          ctx.stroke();
        }
        ctx.getImageData(0, 0, 1, 1); // the pixels are there
      };
      const ours = () => {
        button.click();
        shown.getImageData(0, 0, 1, 1);
      };
      const time = (f) => { const t0 = performance.now(); f(); return performance.now() - t0; };
      for (let i = 0; i < 5; ++i) { ours(); baseline(); }
      const a = [], b = [];
      for (let i = 0; i < count; ++i) { a.push(time(ours)); b.push(time(baseline)); }
      return { a, b };
    }, [settings, runs]);
    const [ours, base] = [median(result.a), median(result.b)];
    const view = `${ratio} ${viewport.join(' × ')}`;
    // The targets: at most 0.7 × the baseline at ratio 2 and in the projector's view.
    const aimed = ratio === 2 || viewport[0] === 1920;
    const verdict = !aimed ? '' : ours <= 0.7 * base ? '  (<= 0.7: met)' : '  (<= 0.7: not met)';
    console.log(`${view.padEnd(14)} ${name.padEnd(8)}  ${ours.toFixed(2).padStart(6)}  ${base.toFixed(2).padStart(8)}  ${(ours / base).toFixed(2).padStart(14)}${verdict}`);
  }
  await context.close();
}

// The plot box's audio mode with "Todas" drawn for T = 100: from the key
// to the samples handed to Web Audio (the first key also makes the audio
// context), and from a trace step's key to its text in the announcement.
if (part('--audio')) {
  const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
  const page = await context.newPage();
  await page.goto(url);
  await page.waitForFunction(() => window.vorel && window.vorel.core);
  await page.click('#Form2-Command1');
  const result = await page.evaluate(([positions, count]) => {
    const form = window.vorel.title.m_form1;
    for (const [slider, p] of Object.entries(positions)) form[slider].setValue(p);
    document.getElementById('Form1-Command3').click();
    const box = form.Picture1.element;
    const key = (name, more = {}) => box.dispatchEvent(new KeyboardEvent('keydown', { key: name, bubbles: true, cancelable: true, ...more }));
    key('t', { code: 'KeyT', altKey: true });
    const speakers = form.sound;
    let handed = 0;
    form.sound = { play: (samples, rate) => { handed = performance.now(); return speakers.play(samples, rate); }, stop: () => speakers.stop() };
    const play = [], step = [];
    for (let i = 0; i < count; ++i) {
      const t0 = performance.now();
      key('h');
      play.push(handed - t0);
      const t1 = performance.now();
      key(i % 2 ? 'ArrowLeft' : 'ArrowRight');
      if (document.getElementById('vorel-announce').textContent.startsWith('t = ')) step.push(performance.now() - t1);
    }
    speakers.stop();
    return { play, step };
  }, [{ ...cases.example, HScroll7: 1000 }, runs]);
  console.log();
  console.log(`== the plot box's audio mode, "Todas" with T = 100 (median of ${runs}, ms)`);
  console.log(`key to the samples handed to Web Audio: first ${result.play[0].toFixed(2)}, median ${median(result.play).toFixed(2)}, `
    + `largest ${Math.max(...result.play).toFixed(2)}`);
  console.log(`trace step, key to the announcement text: median ${median(result.step).toFixed(3)}, largest ${Math.max(...result.step).toFixed(3)}`);
  await context.close();
}

// A fresh context each time, so that nothing is cached between openings.
// A bare page with one line of text shows what the browser itself takes;
// the page with its scripts taken out (no script, no core) shows what
// the title screen itself takes, the least the page could reach. The three
// are interleaved, in an order that turns each time, with a pause before
// each opening so that the last one's processes have gone.
const folder = mkdtempSync(resolve(tmpdir(), 'vorel-bench-'));
const bare = resolve(folder, 'bare.html');
writeFileSync(bare, '<!DOCTYPE html><html lang="es"><meta charset="utf-8"><title>x</title><p>Interferencia de Vorel</p>');
const page = readFileSync(fileURLToPath(url), 'utf8');
const markupOnly = resolve(folder, 'markup.html');
writeFileSync(markupOnly, page.replace(/<script[\s\S]*?<\/script>/g, ''));
const targets = [['vorel', url], ['bare', pathToFileURL(bare).href], ['markup', pathToFileURL(markupOnly).href]];
for (const rate of part('--opening') ? [1, 4] : []) {
  const openings = { vorel: [], bare: [], markup: [] };
  const marks = { script: [], built: [], painted: [], core: [] };
  for (let i = 0; i < runs; ++i) {
    for (let k = 0; k < targets.length; ++k) {
      const [name, target] = targets[(i + k) % targets.length];
      await new Promise((done) => setTimeout(done, 300));
      const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
      const tab = await context.newPage();
      const cdp = await context.newCDPSession(tab);
      await cdp.send('Emulation.setCPUThrottlingRate', { rate });
      await tab.goto(target);
      await tab.waitForFunction((own) => performance.getEntriesByType('paint').some((e) => e.name === 'first-contentful-paint')
        && (!own || performance.getEntriesByName('vorel-core-ready').length > 0), name === 'vorel');
      const times = await tab.evaluate(() => Object.fromEntries(
        [...performance.getEntriesByType('paint'), ...performance.getEntriesByType('mark')].map((e) => [e.name, e.startTime])));
      openings[name].push(times['first-contentful-paint']);
      if (name === 'vorel') {
        marks.script.push(times['vorel-script']);
        marks.built.push(times['vorel-title-built']);
        marks.painted.push(times['vorel-title-painted']);
        marks.core.push(times['vorel-core-ready']);
      }
      await context.close();
    }
  }
  const [ours, base, markup] = [median(openings.vorel), median(openings.bare), median(openings.markup)];
  console.log();
  console.log(`== opening the file to the painted title screen, CPU throttling ${rate} × (median of ${openings.vorel.length}, ms)`);
  console.log(`first contentful paint, vorel.html (the title screen is its first content): ${ours.toFixed(1)}`);
  console.log(`first contentful paint, a bare page with one line of text:               ${base.toFixed(1)}`);
  console.log(`first contentful paint, the title's markup alone (no script, no core):   ${markup.toFixed(1)}`);
  console.log(`vorel / bare:                                                            ${(ours / base).toFixed(2)}`);
  console.log(`markup alone / bare:                                                     ${(markup / base).toFixed(2)}`);
  console.log(`title screen painted by the page, vorel.html (its vorel-title-painted mark): ${median(marks.painted).toFixed(1)}`);
  console.log(`vorel.html: script starts ${median(marks.script).toFixed(1)}, title screen built ${median(marks.built).toFixed(1)}, `
    + `core ready ${median(marks.core).toFixed(1)}`);
}
await browser.close();
console.log(`\nload average at the end: ${loadavg().map((l) => l.toFixed(1)).join(', ')}`);
