// The browser edition in Debian's Chromium: layout, the mouse on the scroll
// bars, plots and their pixels at any ratio, labels, and what the program
// lets go of at its end. Keys, the plots' pixels, "Regresar" and "Salir"
// are in engines.test.mjs, in every engine.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import {
  browserSuite, canvasPixels, countColours, desktopLabels, desktopPixels, firstDifference, kExample, kPhased,
  kPlotBoxKeys, kUnscaledViewport, labelBoxes, open, openMain, pixelRows, setMetrics, setSliders,
} from './page.mjs';

const suite = browserSuite();
const text = (page, id) => page.locator(`#${id}`).textContent();
const focused = (page) => page.evaluate(() => document.activeElement.id);
const setSlider = (page, name, position) => page.evaluate(setSliders, { [name]: position });
// A zoom to a new pixel ratio, with the resize by a pixel that it brings.
const zoom = (page, ratio) => setMetrics(page, { ...kUnscaledViewport, width: kUnscaledViewport.width + 1, ratio });

describe('layout', () => {
  test('puts both windows and every control at twips / 15 CSS pixels', async () => {
    const page = await openMain(suite.browser);
    await page.click('#Form1-Command4');
    for (const [name, width, height] of [['Form2', 9030, 7785], ['Form1', 11115, 8115]]) {
      const places = await page.evaluate((n) => {
        const form = document.getElementById(n);
        form.hidden = false;
        const origin = form.getBoundingClientRect();
        const inner = { x: origin.x + form.clientLeft, y: origin.y + form.clientTop };
        const table = window.vorel.core.windowTable(n);
        return {
          client: [form.clientWidth, form.clientHeight],
          controls: table.controls.map((row) => {
            const r = document.getElementById(`${n}-${row.name}`).getBoundingClientRect();
            return { name: row.name, twips: row.twips, at: [r.x - inner.x, r.y - inner.y, r.width, r.height] };
          }),
        };
      }, name);
      assert.deepEqual(places.client, [width / 15, height / 15], name);
      assert.equal(places.controls.length, name === 'Form1' ? 28 : 6);
      for (const c of places.controls) {
        const { left, top, width: w, height: h } = c.twips;
        assert.deepEqual(c.at, [left / 15, top / 15, w / 15, h / 15], `${name}-${c.name}`);
      }
    }
    const fonts = await page.evaluate(() => ['Form1-Label5', 'Form1-Command3', 'Form2-Label1', 'Form2-Label3']
      .map((id) => getComputedStyle(document.getElementById(id))).map((s) => [s.fontSize, s.fontFamily]));
    assert.deepEqual(fonts.map(([size]) => size), ['10.6667px', '10.6667px', '24px', '21px']); // 8, 8, 18, 15.75 pt
    for (const [, family] of fonts) assert.match(family, /^Arial, "Liberation Sans", sans-serif$/);
  });
});

describe('keyboard', () => {
  test('steps with the arrows, pages in the track, and settles a dragged thumb on release, all by the main button only', async () => {
    const page = await openMain(suite.browser, { locale: 'en-US' });
    const bar = (part) => page.locator(`#Form1-HScroll7 .${part}`);
    // A right or middle press on an arrow, in the track or on the thumb
    // moves nothing.
    for (const button of ['right', 'middle']) {
      await bar('forward').click({ button });
      const [track, thumb] = [await bar('track').boundingBox(), await bar('thumb').boundingBox()];
      await page.mouse.click(track.x + track.width - 3, track.y + track.height / 2, { button });
      await page.mouse.move(thumb.x + thumb.width / 2, thumb.y + thumb.height / 2);
      await page.mouse.down({ button });
      await page.mouse.move(track.x + track.width, thumb.y + thumb.height / 2, { steps: 2 });
      await page.mouse.up({ button });
      assert.equal(await text(page, 'Form1-Label14'), '0', button);
    }
    await bar('forward').click();
    await bar('forward').click();
    assert.equal(await text(page, 'Form1-Label14'), '0.2');
    await bar('back').click();
    assert.equal(await text(page, 'Form1-Label14'), '0.1');
    const track = await bar('track').boundingBox();
    await page.mouse.click(track.x + track.width - 3, track.y + track.height / 2);
    assert.equal(await text(page, 'Form1-Label14'), '0.6'); // pages by 5
    const thumb = await bar('thumb').boundingBox();
    await page.mouse.move(thumb.x + thumb.width / 2, thumb.y + thumb.height / 2);
    await page.mouse.down();
    await page.mouse.move(track.x + track.width, thumb.y + thumb.height / 2, { steps: 5 });
    assert.equal(await text(page, 'Form1-Label14'), '0.6', 'no change while dragging');
    await page.mouse.up();
    assert.equal(await text(page, 'Form1-Label14'), '100');
  });
});

describe('the scroll bar', () => {
  // The bar's parts on screen, in CSS px; the arrows are found by place,
  // square at either end.
  const geometry = (page, name) => page.evaluate((id) => {
    const box = (e) => { const r = e.getBoundingClientRect(); return { left: r.left, right: r.right, width: r.width, top: r.top, height: r.height }; };
    const bar = document.getElementById(id);
    return { bar: box(bar), track: box(bar.querySelector('.track')), thumb: box(bar.querySelector('.thumb')) };
  }, `Form1-${name}`);
  const clickAt = (page, x, y) => page.mouse.click(x, y);
  const press = async (page, name, move) => {
    const { bar, track, thumb } = await geometry(page, name);
    const middle = bar.top + bar.height / 2;
    if (move === 'back arrow') return clickAt(page, bar.left + bar.height / 2, middle);
    if (move === 'forward arrow') return clickAt(page, bar.right - bar.height / 2, middle);
    if (move === 'track before the thumb') return clickAt(page, Math.floor((track.left + thumb.left) / 2), middle);
    if (move === 'track after the thumb') return clickAt(page, Math.floor((thumb.right + track.right) / 2), middle);
    await page.focus(`#Form1-${name}`);
    return page.keyboard.press(move);
  };
  const inside = ({ track, thumb }) => thumb.left >= track.left && thumb.right <= track.right;

  test('keeps the value within its range under every key, arrow and page at either end', async () => {
    const page = await openMain(suite.browser);
    // slider, its maximum, its readout and the readout's texts at either end
    const sliders = [['HScroll1', 50, 'Label3', '0', '50'], ['HScroll4', 100, 'Label8', '0', '10'],
      ['HScroll7', 1000, 'Label14', '0', '100']];
    // from where (min, max, or 2 steps from an end), the move, to which end
    const moves = [
      ['min', 'ArrowLeft', 'min'], ['min', 'ArrowUp', 'min'], ['min', 'PageUp', 'min'], ['min', 'Home', 'min'],
      ['min', 'back arrow', 'min'],
      ['max', 'ArrowRight', 'max'], ['max', 'ArrowDown', 'max'], ['max', 'PageDown', 'max'], ['max', 'End', 'max'],
      ['max', 'forward arrow', 'max'],
      ['min + 2', 'PageUp', 'min'], ['max - 2', 'PageDown', 'max'],
    ];
    for (const [name, maximum, readout, low, high] of sliders) {
      const pages = name === 'HScroll4' ? moves.filter(([from]) => from === 'min' || from === 'max') : moves;
      for (const [from, move, to] of pages) {
        await setSlider(page, name, { min: 0, max: maximum, 'min + 2': 2, 'max - 2': maximum - 2 }[from]);
        await press(page, name, move);
        assert.equal(await text(page, `Form1-${readout}`), to === 'min' ? low : high, `${name} at ${from}: ${move}`);
        assert.ok(inside(await geometry(page, name)), `${name} at ${from}: ${move}`);
      }
    }
    // A page in the track from 2 steps off an end, where there is room for it.
    for (const [from, move, expected] of [[2, 'track before the thumb', '0'], [48, 'track after the thumb', '50']]) {
      await setSlider(page, 'HScroll1', from);
      await press(page, 'HScroll1', move);
      assert.equal(await text(page, 'Form1-Label3'), expected, `HScroll1 at ${from}: ${move}`);
    }
  });

  test("keeps the thumb inside the track, as long as the desktop's rule makes it", async () => {
    const page = await openMain(suite.browser);
    // The desktop's thumb takes the page's share of the track, truncated,
    // and never less than a grip (10 px here).
    const cases = [
      // slider, its maximum, the bar's width, the thumb's length
      ['HScroll1', 50, 81, 10], ['HScroll4', 100, 81, 10], ['HScroll7', 1000, 81, 10], // as laid out
      ['HScroll1', 50, 403, 33], // a track of 369: 369 × 5 / 55 = 33.5
      ['HScroll4', 100, 2034, 19], // 2000 × 1 / 101 = 19.8
    ];
    for (const [name, maximum, width, length] of cases) {
      await page.evaluate(([id, w]) => { document.getElementById(id).style.width = `${w}px`; }, [`Form1-${name}`, width]);
      for (const value of [0, maximum / 2, maximum]) {
        await setSlider(page, name, value);
        await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
        const g = await geometry(page, name);
        const what = `${name} ${width} px wide at ${value}`;
        assert.equal(g.track.width, width - 2 * g.bar.height, what);
        assert.equal(g.thumb.width, length, what);
        assert.ok(inside(g), what);
        if (value === 0) assert.equal(g.thumb.left, g.track.left, what);
        if (value === maximum) assert.equal(g.thumb.right, g.track.right, what);
      }
    }
  });

  test('moves a grabbed thumb from where it was, and settles it on the nearest position', async () => {
    const page = await openMain(suite.browser);
    await setSlider(page, 'HScroll4', 50); // the thumb 19 px into a free run of 37
    const start = (await geometry(page, 'HScroll4')).thumb;
    const [x, y] = [start.left + start.width / 2, start.top + start.height / 2];
    // Pressed and released where it is, it stays.
    await page.mouse.click(x, y);
    assert.equal(await text(page, 'Form1-Label8'), '5');
    assert.deepEqual((await geometry(page, 'HScroll4')).thumb, start);
    // Dragged 5 px on, it follows the pointer; on release 24 / 37 of the
    // way, 64.9, settles on 65.
    await page.mouse.down();
    await page.mouse.move(x + 5, y, { steps: 5 });
    assert.equal((await geometry(page, 'HScroll4')).thumb.left, start.left + 5);
    assert.equal(await text(page, 'Form1-Label8'), '5', 'no change while dragging');
    await page.mouse.up();
    assert.equal(await text(page, 'Form1-Label8'), '6,5');
  });

  test('takes the focus when any of its parts is pressed', async () => {
    const page = await openMain(suite.browser);
    await setSlider(page, 'HScroll4', 50);
    for (const part of ['back arrow', 'forward arrow', 'track before the thumb', 'track after the thumb', 'thumb']) {
      await page.focus('#Form1-Picture1');
      if (part === 'thumb') {
        const { thumb } = await geometry(page, 'HScroll4');
        await clickAt(page, thumb.left + thumb.width / 2, thumb.top + thumb.height / 2);
      } else {
        await press(page, 'HScroll4', part);
      }
      assert.equal(await focused(page), 'Form1-HScroll4', part);
    }
  });

  test('in forced colours, dark and light, has its track\'s edge, a filled thumb, arrows pointing their way and its focus marker', async () => {
    // Chromium's two themes: ButtonText (X), ButtonFace (.) and Highlight on the page (o).
    for (const [colorScheme, X, face, o] of [['dark', [255, 255, 255], [0, 0, 0], [0, 184, 204]], ['light', [0, 0, 0], [255, 255, 255], [55, 51, 109]]]) {
      const page = await openMain(suite.browser, { device: { forcedColors: 'active', colorScheme } });
      await setSlider(page, 'HScroll1', 20);
      await page.keyboard.press('Tab'); // from the plot box
      const bar = await pixelRows(page, '#Form1-HScroll1', { X, '.': face, o });
      // The marker above it, and its rows 0, 4 and 8: the edge; each glyph's first row, at its base only; the middle.
      assert.deepEqual([bar[0].includes('o'), ...[2, 6, 10].map((y) => bar[y].slice(2, -2))], [true, 'X'.repeat(81),
        'X.........X.....X................XXXXXXXX.......................X.....X.........X',
        'X.....XXXXX.....X................XXXXXXXX.......................X.....XXXXX.....X'], colorScheme);
    }
  });
});

describe('plots', () => {
  test('draw each of the five in its colours, and the guard keeps the picture', async () => {
    const page = await openMain(suite.browser);
    await page.evaluate(setSliders, kExample);
    // What each plot says is heard through a screen reader, in the Orca check.
    const expected = { Command1: 'blue', Command2: 'green', Command6: 'blue green', Command5: 'red', Command3: 'blue green red' };
    for (const [button, colours] of Object.entries(expected)) {
      await page.click(`#Form1-${button}`);
      const counts = countColours(await canvasPixels(page));
      for (const colour of ['blue', 'green', 'red'])
        assert.equal(counts[colour] > 400, colours.includes(colour), `${button} ${colour}: ${counts[colour]}`);
      assert.ok(counts.black > 800, `the frame: ${counts.black}`);
    }
    // The browser's language gives the separator of the texts the core writes.
    await setSlider(page, 'HScroll7', 5);
    await page.click('#Form1-Command1');
    assert.equal(await text(page, 'Form1-Picture1-description'),
      `Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 0,5. Onda 1: mínimo 0,0 en t = 0,0; máximo 9,6 en t = 0,5. ${kPlotBoxKeys}`);
    const before = await canvasPixels(page);
    await setSlider(page, 'HScroll3', 0); // ω1 = 0: the guard fails
    await page.click('#Form1-Command3');
    assert.deepEqual(await canvasPixels(page), before);
    // The core keeps it too: the box shown again from the core's pixels.
    await page.evaluate(() => window.vorel.title.m_form1.Picture1.show());
    assert.deepEqual(await canvasPixels(page), before);
    assert.match(await text(page, 'Form1-Picture1-description'), /máximo 9,6 en t = 0,5\. Alt/);
  });

  // Some browsers tell of a zoom only by a resize: there the resolution
  // query stays silent.
  const silentResolution = () => {
    const real = window.matchMedia.bind(window);
    const silent = (media) => ({ media, matches: false, onchange: null, addEventListener() {}, removeEventListener() {},
      addListener() {}, removeListener() {} });
    window.matchMedia = (query) => (/resolution/.test(query) ? silent(query) : real(query));
  };
  for (const [told, init] of [['the resolution query', undefined], ['a resize only', silentResolution]]) {
    test(`keep the picture and draw it again, not plot it again, when the pixel ratio changes, told by ${told}`, async () => {
      const page = await openMain(suite.browser, { ratio: 2, init });
      await page.evaluate(setSliders, kPhased);
      await page.click('#Form1-Command3');
      const sharp = await canvasPixels(page);
      assert.deepEqual([sharp.width, sharp.height], [1418, 794]);
      assertSamePixels(sharp, desktopPixels('All', kPhased, 2), await labelBoxes(page), 'at ratio 2');
      // A plot run again would take the slider's new place.
      await setSlider(page, 'HScroll1', 30);
      await zoom(page, 1);
      await page.waitForFunction(() => document.querySelector('#Form1-Picture1 canvas').width === 709);
      assertSamePixels(await canvasPixels(page), desktopPixels('All', kPhased), await labelBoxes(page), 'after the change');
      const css = await page.evaluate(() => getComputedStyle(document.querySelector('#Form1-Picture1 canvas')).width);
      assert.equal(css, '709px');
      });
  }
});

describe('labels', () => {
  // The ink of each label, the box of the pixels that writing it changed,
  // against the desktop's, drawn by Qt in the program's font. The two font
  // engines round differently: within 1 px at ratio 1, 2 device px at 2,
  // and a fifth more or less ink.
  test('of the example lie where the desktop puts them, at ratios 1 and 2', async () => {
    const texts = ['30.0', '18.0', '6.0', '-6.0', '-18.0', '-30.0',
      '0.0', '1.0', '2.0', '3.0', '4.0', '5.0', '6.0', '7.0', '8.0', '9.0', '10.0'];
    const misplaced = [];
    for (const [ratio, tolerance] of [[1, 1], [2, 2]]) {
      const page = await openMain(suite.browser, { ratio, locale: 'en-US' });
      await page.evaluate(setSliders, kExample);
      const web = await labelInk(page, 'Command3');
      const desktop = desktopLabels('All', kExample, ratio);
      assert.deepEqual(web.map((label) => label.text), texts);
      assert.deepEqual(desktop.map((label) => label.text), texts);
      web.forEach((w, i) => {
        const d = desktop[i];
        const edges = [w.x - d.x, w.y - d.y, w.x + w.width - d.x - d.width, w.y + w.height - d.y - d.height];
        if (w.width === 0 || edges.some((e) => Math.abs(e) > tolerance) || Math.abs(w.ink - d.ink) > d.ink / 5) {
          misplaced.push(`ratio ${ratio}, "${w.text}": ${[w.x, w.y, w.width, w.height, w.ink]} against ${[d.x, d.y, d.width, d.height, d.ink]}`);
        }
      });
      }
    assert.deepEqual(misplaced, []);
  });

  // A label's blend over white is worked out once; over any other pixel,
  // for each pixel: the two must agree. A white that is not quite opaque
  // takes the second way and keeps its own alpha.
  test('blend the same over white as over any other pixel', async () => {
    const page = await openMain(suite.browser, { ratio: 2 });
    const rows = await page.evaluate(() => {
      const core = window.vorel.core;
      const { pointer, width, height, ratio } = core.picture();
      const words = new Uint32Array(core.HEAPU8.buffer, pointer, width * 80);
      words.fill(0xffffffff, 0, width * 40);
      words.fill(0xfeffffff, width * 40);
      core.drawText(pointer, width, height, ratio, 10, 0, '-18.0', 0);
      core.drawText(pointer, width, height, ratio, 10, 40, '-18.0', 0);
      let [inked, differ] = [0, 0];
      for (let p = 0; p < width * 40; ++p) {
        if (words[p] !== 0xffffffff) ++inked;
        if ((words[p] & 0xffffff) !== (words[p + width * 40] & 0xffffff) || words[p + width * 40] >>> 24 !== 0xfe) ++differ;
      }
      return { inked, differ };
    });
    assert.ok(rows.inked > 50, `${rows.inked} pixels inked`);
    assert.equal(rows.differ, 0);
  });
});

// Presses a button of the main window and gives the box, in device pixels,
// of the pixels that each label changed, as the plot wrote them, and how
// much ink it laid: each pixel's largest change of a channel, summed.
async function labelInk(page, button) {
  return page.evaluate((id) => {
    const core = window.vorel.core;
    const draw = core.drawText;
    const inks = [];
    core.drawText = (pointer, width, height, ratio, x, y, text, colour) => {
      const before = core.HEAPU8.slice(pointer, pointer + width * height * 4);
      draw(pointer, width, height, ratio, x, y, text, colour);
      const after = new Uint32Array(core.HEAPU8.buffer, pointer, width * height);
      const was = new Uint32Array(before.buffer);
      let [left, top, right, bottom, ink] = [width, height, -1, -1, 0];
      for (let p = 0; p < was.length; ++p) {
        if (was[p] === after[p]) continue;
        let change = 0;
        for (let shift = 0; shift < 24; shift += 8) change = Math.max(change, Math.abs(((was[p] >>> shift) & 255) - ((after[p] >>> shift) & 255)));
        ink += change / 255;
        const column = p % width;
        const row = (p - column) / width;
        left = Math.min(left, column);
        right = Math.max(right, column);
        top = Math.min(top, row);
        bottom = Math.max(bottom, row);
      }
      if (right < 0) [left, top, right, bottom] = [0, 0, -1, -1];
      inks.push({ x: left, y: top, width: right - left + 1, height: bottom - top + 1, ink: Math.round(ink * 10) / 10, text });
    };
    document.getElementById(`Form1-${id}`).click();
    core.drawText = draw;
    return inks;
  }, button);
}

describe('the windows', () => {
  test('"Salir" after the main window lets go of the page', async () => {
    // Counts the size watchers alive in the page.
    const countWatchers = () => {
      const alive = (window.sizeWatchers = new Set());
      window.ResizeObserver = class extends ResizeObserver {
        observe(...args) { alive.add(this); super.observe(...args); }
        disconnect() { alive.delete(this); super.disconnect(); }
      };
    };
    const page = await openMain(suite.browser, { init: countWatchers });
    assert.equal(await page.evaluate(() => window.sizeWatchers.size), 7); // the sliders
    await page.click('#Form1-Command4');
    await page.click('#Form2-Command2');
    assert.equal(await page.locator('#Form1, #Form2').count(), 0);
    assert.equal(await page.evaluate(() => window.sizeWatchers.size), 0);
    // Nor does the plot box still follow the pixel ratio.
    await zoom(page, 2);
    await page.waitForFunction(() => window.devicePixelRatio === 2);
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    assert.equal(await page.evaluate(() => window.vorel.core.picture().ratio), 1);
  });
});

// Every channel of every pixel outside the label boxes, where the two text
// engines may differ.
function assertSamePixels(web, desktop, boxes, what) {
  assert.equal(firstDifference(web, desktop, boxes), null, what);
}
