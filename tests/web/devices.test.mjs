// The browser edition on the screens of a class, in Chromium's emulation:
// the window fits and is scaled, a finger reaches every part of a scroll
// bar, a held arrow repeats as on the desktop, and a held Enter presses once.
import assert from 'node:assert/strict';
import { describe, test } from 'node:test';
import { browserSuite, canvasPixels, decodePng, finger, kExample, open, openMain, plotAll } from './page.mjs';

const suite = browserSuite();

// The main window is 743 x 543 CSS px with its border, the title window
// 604 x 521; the margin around the window is 8 px. Scales worked out by
// hand from those: the largest that fits, never below 1 with a mouse.
const kDevices = [
  { name: 'iPad landscape', width: 1024, height: 768, ratio: 2, touch: true, scale: 1.3567 },
  { name: 'iPad portrait', width: 768, height: 1024, ratio: 2, touch: true, scale: 1.0121 },
  { name: 'phone landscape', width: 844, height: 390, ratio: 3, touch: true, scale: 0.6888 },
  { name: 'phone portrait', width: 390, height: 844, ratio: 3, touch: true, scale: 0.5034 },
  { name: 'folding phone cover', width: 280, height: 653, ratio: 3, touch: true, scale: 0.3553 },
  { name: 'projector', width: 1920, height: 1080, ratio: 1, touch: false, scale: 1.9595 },
  { name: 'laptop at 200 %', width: 683, height: 384, ratio: 2, touch: false, scale: 1 },
];

// With clock, the page's time stands still until the test moves it on:
// a tap or a hold lasts exactly as long as the test says, however loaded
// the machine.
async function openOn(device, { clock = false } = {}) {
  const page = await open(suite.browser, {
    ratio: device.ratio, clock, init: device.init,
    device: {
      viewport: { width: device.width, height: device.height },
      hasTouch: device.touch, isMobile: device.touch,
    },
  });
  if (clock) await page.clock.pauseAt(await page.evaluate(() => Date.now() + 1000));
  return page;
}

// The window's box on the screen and the page's scrolling.
function placeOf(page, id) {
  return page.evaluate((windowId) => {
    const r = document.getElementById(windowId).getBoundingClientRect();
    const root = document.documentElement;
    return {
      left: r.left + scrollX, top: r.top + scrollY, right: r.right + scrollX, bottom: r.bottom + scrollY,
      width: r.width, scrollX, scrollY,
      scrollWidth: root.scrollWidth, scrollHeight: root.scrollHeight,
      viewWidth: root.clientWidth, viewHeight: root.clientHeight,
    };
  }, id);
}

const bar = (name) => `window.vorel.title.m_form1.${name}`;
const value = (page, name) => page.evaluate(`${bar(name)}.value`);
const setValue = (page, name, v) => page.evaluate(`${bar(name)}.setValue(${v})`);
const partBox = (page, name, part) => page.evaluate(`(() => {
  const r = ${bar(name)}.${part}.getBoundingClientRect();
  return { left: r.left, top: r.top, width: r.width, height: r.height,
           x: r.left + r.width / 2, y: r.top + r.height / 2 };
})()`);

// The side of the largest square of screen pixels in which every touch
// reaches the bar and is taken by the given part.
async function touchSquare(page, name, part) {
  return page.evaluate(([barName, wanted]) => {
    const scrollBar = window.vorel.title.m_form1[barName];
    const box = scrollBar.element.getBoundingClientRect();
    const [x0, y0] = [Math.floor(box.left) - 40, Math.floor(box.top) - 40];
    const [w, h] = [Math.ceil(box.width) + 80, Math.ceil(box.height) + 80];
    const side = new Uint16Array(w * h);
    let best = 0;
    for (let j = 0; j < h; ++j) {
      for (let i = 0; i < w; ++i) {
        const [x, y] = [x0 + i + 0.5, y0 + j + 0.5];
        const hit = document.elementFromPoint(x, y);
        const taker = hit && hit.closest('.scrollbar') && scrollBar.constructor.takerAt(x, y, true);
        const takes = taker && taker.bar === scrollBar && taker.part === wanted;
        if (!takes) continue;
        const up = j > 0 ? side[(j - 1) * w + i] : 0;
        const left = i > 0 ? side[j * w + i - 1] : 0;
        const diagonal = i > 0 && j > 0 ? side[(j - 1) * w + i - 1] : 0;
        side[j * w + i] = 1 + Math.min(up, left, diagonal);
        best = Math.max(best, side[j * w + i]);
      }
    }
    return best;
  }, [name, part]);
}

// How many device pixels of the plot on the screen differ from the canvas's
// own, inside two pixels' edge, as the two best lie over each other; the
// screenshot covers the page only, so the viewport is first scrolled to the
// plot.
async function screenAgainstCanvas(page) {
  await page.evaluate(() => document.querySelector('#Form1-Picture1 canvas').scrollIntoView());
  // The clip is taken on whole CSS pixels; the canvas starts on a whole
  // device pixel within it.
  const box = await page.evaluate(() => {
    const r = document.querySelector('#Form1-Picture1 canvas').getBoundingClientRect();
    const [left, top] = [Math.floor(r.left), Math.floor(r.top)];
    const [right, bottom] = [Math.min(Math.floor(r.right), innerWidth), Math.min(Math.floor(r.bottom), innerHeight)];
    return {
      clip: { x: left, y: top, width: right - left, height: bottom - top },
      dx: Math.round((r.left - left) * devicePixelRatio), dy: Math.round((r.top - top) * devicePixelRatio),
    };
  });
  const screen = await decodePng(page, await page.screenshot({ clip: box.clip, scale: 'device' }));
  const own = await canvasPixels(page);
  const { dx, dy } = box;
  // The compositor may place it a device pixel off where the layout says.
  let differing = Infinity;
  for (const [ox, oy] of [[0, 0], [0, 1], [1, 0], [1, 1], [0, -1], [-1, 0], [-1, -1], [1, -1], [-1, 1]]) {
    let count = 0;
    for (let y = 2; y < Math.min(screen.height - dy - oy, own.height) - 2; ++y) {
      for (let x = 2; x < Math.min(screen.width - dx - ox, own.width) - 2; ++x) {
        const [a, b] = [((y + dy + oy) * screen.width + x + dx + ox) * 4, (y * own.width + x) * 4];
        if (screen.data[a] !== own.data[b] || screen.data[a + 1] !== own.data[b + 1] || screen.data[a + 2] !== own.data[b + 2]) ++count;
      }
    }
    differing = Math.min(differing, count);
    if (differing === 0) break;
  }
  return { differing };
}

// A tap at the centre of an element.
async function tap(page, touch, selector) {
  const box = await page.locator(selector).boundingBox();
  await touch.tap(box.x + box.width / 2, box.y + box.height / 2);
}

describe('on every device', () => {
  for (const device of kDevices) {
    test(`${device.name}: the window fits at scale ${device.scale} and every target is within reach`, async (t) => {
      const page = await openOn(device);
      const title = await placeOf(page, 'Form2');
      if (device.touch) await tap(page, await finger(page), '#Form2-Command1');
      else await page.keyboard.press('Enter'); // "Continuar" has the focus
      assert.equal(await page.isVisible('#Form1'), true);
      const main = await placeOf(page, 'Form1');
      // Opening the main window scrolled nothing.
      assert.deepEqual([main.scrollX, main.scrollY], [0, 0]);
      assert.ok(Math.abs(main.width / 743 - device.scale) < 0.0005, `scale ${main.width / 743}`);

      for (const place of [title, main]) {
        if (device.scale > 1 || device.touch) {
          // Centred, inside the viewport, and nothing to scroll.
          assert.ok(place.left >= 8 && place.top >= 8, JSON.stringify(place));
          assert.ok(place.right <= place.viewWidth - 7.5 && place.bottom <= place.viewHeight - 7.5, JSON.stringify(place));
          assert.ok(Math.abs(place.left + place.right - place.viewWidth) <= 1, 'centred across');
          assert.ok(Math.abs(place.top + place.bottom - place.viewHeight) <= 1, 'centred down');
          assert.ok(place.scrollWidth <= place.viewWidth && place.scrollHeight <= place.viewHeight, 'no scrolling');
        } else {
          // Zoomed in with a mouse, the window stays at scale 1 and the page
          // scrolls to every part of it.
          assert.ok(place.left >= 0 && place.top >= 0, JSON.stringify(place));
          assert.ok(place.scrollWidth >= place.right && place.scrollHeight >= place.bottom, JSON.stringify(place));
        }
      }

      // The plot box is drawn at the scale times the pixel ratio, and the
      // screen shows its pixels one for one: sharp, in their own colours.
      const ratio = await page.evaluate(() => window.vorel.core.picture().ratio);
      assert.ok(Math.abs(ratio - device.scale * device.ratio) < 0.001, `ratio ${ratio}`);
      await page.evaluate(plotAll, kExample);
      assert.deepEqual(await screenAgainstCanvas(page), { differing: 0 });

      // On screen, the arrows are 17 px times the scale, and with a finger
      // every part of the bar takes a touch within 24 x 24 px.
      const arrow = await partBox(page, 'HScroll3', 'forward');
      assert.ok(Math.abs(arrow.width - 17 * device.scale) < 0.01 && Math.abs(arrow.height - 17 * device.scale) < 0.01);
      if (device.touch) {
        await setValue(page, 'HScroll3', 50);
        const squares = {
          back: await touchSquare(page, 'HScroll3', 'back'),
          forward: await touchSquare(page, 'HScroll3', 'forward'),
          thumb: await touchSquare(page, 'HScroll3', 'thumb'),
        };
        await setValue(page, 'HScroll3', 0);
        squares.trackAfterThumb = await touchSquare(page, 'HScroll3', 'track');
        await setValue(page, 'HScroll3', 100);
        squares.trackBeforeThumb = await touchSquare(page, 'HScroll3', 'track');
        t.diagnostic(`touch squares (px): ${JSON.stringify(squares)}`);
        // Below a scale of 1 there is no room for five such squares: a bar
        // is 81 px long times the scale, and rows of bars lie 32 px times
        // the scale apart.
        // There the rooms still leave no part smaller than an arrow looks.
        const reachable = device.scale >= 1 ? 24 : Math.floor(17 * device.scale);
        for (const [part, side] of Object.entries(squares)) assert.ok(side >= reachable, `${part}: ${side} < ${reachable}`);
      }
      assert.deepEqual(page.errors, []);
    });
  }
});

// Safari 12 has no Pointer Events and no ResizeObserver, and its media
// queries take listeners only by addListener.
const kSafari12 = {
  ...kDevices[1], name: 'iPad portrait without Pointer Events (Safari 12)',
  init: () => {
    delete window.PointerEvent;
    delete window.ResizeObserver;
    for (const name of ['addEventListener', 'removeEventListener']) {
      Object.defineProperty(MediaQueryList.prototype, name, { value: undefined });
    }
  },
};

test('turning a tablet fits the window again and draws the kept plot at the new scale', async () => {
  const page = await openOn(kDevices[0]);
  await tap(page, await finger(page), '#Form2-Command1');
  await page.evaluate(plotAll, kExample);
  // Only a new plot would write the description again.
  await page.evaluate(() => { window.vorel.title.m_form1.Picture1.description.textContent = 'kept'; });
  await page.setViewportSize({ width: 768, height: 1024 });
  await page.waitForFunction(() => Math.abs(window.vorel.core.picture().ratio - 2 * 1.0121) < 0.001);
  const main = await placeOf(page, 'Form1');
  assert.ok(Math.abs(main.width / 743 - 1.0121) < 0.0005, `scale ${main.width / 743}`);
  assert.equal(await page.evaluate(() => window.vorel.title.m_form1.Picture1.description.textContent), 'kept');
  assert.deepEqual(await screenAgainstCanvas(page), { differing: 0 });
  const colours = new Set();
  const pixels = await canvasPixels(page);
  for (let i = 0; i < pixels.data.length; i += 4) colours.add(pixels.data[i] * 65536 + pixels.data[i + 1] * 256 + pixels.data[i + 2]);
  for (const colour of [0x0000e1, 0x00e100, 0xe10000]) assert.ok(colours.has(colour), colour.toString(16));
});

describe('a finger', () => {
  for (const device of [...kDevices.filter((d) => d.touch), kSafari12]) {
    test(`${device.name}: taps an arrow, the track and a button, and drags the thumb`, async () => {
      const page = await openOn(device, { clock: true });
      const touch = await finger(page);
      await tap(page, touch, '#Form2-Command1');
      assert.equal(await page.isVisible('#Form1'), true);

      const forward = await partBox(page, 'HScroll3', 'forward');
      await touch.tap(forward.x, forward.y);
      assert.equal(await value(page, 'HScroll3'), 1);
      assert.equal(await page.textContent('#Form1-Label7'), '0,1');

      // On a phone a finger's room around one bar lies over the next row;
      // still, a touch on the edge of an arrow steps that arrow's own bar.
      // Where an arrow is smaller on screen than a finger (all but the iPad
      // in landscape), its room reaches past its edge: so does a touch just
      // off the edge, in the gap between the rows, which the other bar's
      // room may cover too.
      const edges = (upper, lower) => [[upper, (box) => box.top + box.height - 0.5], [lower, (box) => box.top + 0.5]]
        .concat(17 * device.scale > 22 ? [] : [[upper, (box) => box.top + box.height + 1], [lower, (box) => box.top - 1]]);
      for (const [upper, lower] of [['HScroll5', 'HScroll6'], ['HScroll2', 'HScroll7']]) {
        for (const [name, edge] of edges(upper, lower)) {
          const other = name === upper ? lower : upper;
          const before = [await value(page, name), await value(page, other)];
          const arrow = await partBox(page, name, 'forward');
          await touch.tap(arrow.x, edge(arrow));
          assert.deepEqual([await value(page, name), await value(page, other)], [before[0] + 1, before[1]],
            `a touch on the edge of ${name}'s forward arrow`);
        }
      }

      // Past the end of the track, by the forward arrow, it pages.
      await setValue(page, 'HScroll1', 0);
      const track = await partBox(page, 'HScroll1', 'track');
      await touch.tap(track.left + track.width - 2, track.y);
      const page1 = await value(page, 'HScroll1');
      assert.ok(page1 > 0 && page1 <= 5, `${page1}`);

      // The thumb follows the finger; the value settles on release.
      const thumb = await partBox(page, 'HScroll4', 'thumb');
      const free = track.width - thumb.width;
      await touch.down(thumb.x, thumb.y);
      await touch.move(thumb.x + free * 0.2, thumb.y);
      await touch.move(thumb.x + free * 0.4, thumb.y);
      assert.equal(await page.textContent('#Form1-Label8'), '0');
      await touch.up();
      const dragged = await value(page, 'HScroll4');
      assert.ok(Math.abs(dragged - 40) <= 2, `${dragged}`);
      assert.notEqual(await page.textContent('#Form1-Label8'), '0');

      // A quick flick on a thumb is no fling for the browser, which would
      // swallow the next tap anywhere as the one that stops it.
      const flicked = await partBox(page, 'HScroll5', 'thumb');
      await touch.down(flicked.x, flicked.y);
      await touch.move(flicked.x + 30, flicked.y);
      await touch.up();
      // Wave 2 of its own, so that the resultant cannot lie exactly on wave 1.
      await page.evaluate(() => {
        const form = window.vorel.title.m_form1;
        form.HScroll2.setValue(10);
        form.HScroll7.setValue(100);
      });
      // By a bar whose reach grows past it, a tap 1 px inside "Onda 2" or the plot box goes to them.
      const [onda2, plot] = [await page.locator('#Form1-Command2').boundingBox(), await page.locator('#Form1-Picture1').boundingBox()];
      await touch.tap(onda2.x + onda2.width / 2, onda2.y + device.scale);
      assert.match(await page.textContent('#Form1-Picture1-description'), /^Onda 2, en verde\. Valores de -10 a 10; tiempo de 0 a 10\./);
      await touch.tap((await partBox(page, 'HScroll7', 'track')).x, plot.y + device.scale);
      assert.equal(await page.evaluate(() => document.activeElement.id), 'Form1-Picture1');
      await tap(page, touch, '#Form1-Command3');
      const pixels = await canvasPixels(page);
      const colours = new Set();
      for (let i = 0; i < pixels.data.length; i += 4) colours.add(pixels.data[i] * 65536 + pixels.data[i + 1] * 256 + pixels.data[i + 2]);
      for (const colour of [0x0000e1, 0x00e100, 0xe10000]) assert.ok(colours.has(colour), colour.toString(16));
      // Buttons take a tap at once, with no wait for a double tap.
      assert.equal(await page.evaluate(() => getComputedStyle(document.getElementById('Form1-Command3')).touchAction),
        'manipulation');
      assert.deepEqual(page.errors, []);
    });
  }
});

describe('holding', () => {
  test('an arrow repeats after 500 ms, then every 50 ms: 22 steps in 1.5 s; the track stops under the finger', async () => {
    const page = await openOn(kDevices[0], { clock: true });
    const touch = await finger(page);
    await tap(page, touch, '#Form2-Command1');
    const forward = await partBox(page, 'HScroll5', 'forward');
    await touch.down(forward.x, forward.y);
    // Held for so long (ms), it has stepped so often.
    let held = 0;
    for (const [time, steps] of [[0, 1], [499, 1], [500, 2], [549, 2], [550, 3], [1000, 12], [1500, 22]]) {
      await page.clock.runFor(time - held);
      held = time;
      const moved = await value(page, 'HScroll5');
      assert.ok(Math.abs(moved - steps) <= (time === 1500 ? 1 : 0), `${moved} steps after ${time} ms`);
    }
    await touch.up();
    await page.clock.runFor(500);
    const released = await value(page, 'HScroll5');
    assert.ok(Math.abs(released - 22) <= 1, `${released}`);

    // On a busy machine the repeat's timer may come late: let go then, the
    // arrow still takes every step due, at 0, 500, 550 ... 1050 ms.
    await setValue(page, 'HScroll5', 0);
    await touch.down(forward.x, forward.y);
    await page.clock.runFor(400);
    await page.evaluate(() => {
      const now = performance.now.bind(performance);
      performance.now = () => now() + 650; // 1050 ms held, the timer not yet run
    });
    await touch.up();
    assert.equal(await value(page, 'HScroll5'), 13);

    // Held on the track near its end, the thumb pages there and stops.
    const track = await partBox(page, 'HScroll2', 'track');
    const at = track.left + track.width * 0.75;
    await touch.down(at, track.y);
    await page.clock.runFor(1500);
    await touch.up();
    const thumb = await partBox(page, 'HScroll2', 'thumb');
    assert.ok(thumb.left <= at && at < thumb.left + thumb.width, JSON.stringify({ thumb, at }));
    assert.ok(await value(page, 'HScroll2') < 50);
  });

  // For a finger and a mouse, as on the desktop: held 600 ms, wobbled 8 px
  // below for 1 s (off a phone's arrow, not off its room: 20 steps more),
  // slid 60 px below for 1 s, back for 1 s (a step at once, 11 more from
  // 500 ms on). HScroll7 pages by 5.
  for (const device of [kDevices[3], kDevices[5]]) {
    test(`${device.name}: slid off an arrow or the track, the steps stop; back on, they go on`, async () => {
      const page = await openOn(device, { clock: true });
      const pointer = device.touch ? await finger(page) : { move: (x, y) => page.mouse.move(x, y), up: () => page.mouse.up(),
        down: (x, y) => page.mouse.move(x, y).then(() => page.mouse.down()) };
      await (device.touch ? tap(page, pointer, '#Form2-Command1') : page.click('#Form2-Command1'));
      for (const [name, part, values] of [['HScroll5', 'forward', [4, 24, 24, 36]], ['HScroll7', 'track', [20, 120, 120, 180]]]) {
        const box = await partBox(page, name, part);
        const x = part === 'track' ? box.left + box.width - 2 : box.x;
        const seen = [];
        for (const [move, time, below] of [['down', 600, 0], ['move', 1000, 8], ['move', 1000, 60], ['move', 1000, 0]]) {
          await pointer[move](x, box.y + below);
          await page.clock.runFor(time);
          seen.push(await value(page, name));
        }
        await pointer.up();
        assert.deepEqual(seen, values, `${name} ${part}`);
      }
    });
  }

  test('Enter held on a button presses it once', async () => {
    const page = await openMain(suite.browser);
    await page.evaluate(() => {
      window.clicks = 0;
      document.addEventListener('click', () => { window.clicks += 1; }, true);
    });
    await page.focus('#Form1-Command4');
    for (let i = 0; i < 6; ++i) await page.keyboard.down('Enter');
    await page.keyboard.up('Enter');
    assert.equal(await page.evaluate(() => window.clicks), 1);
    assert.equal(await page.isVisible('#Form2'), true);
    assert.equal(await page.isVisible('#Form1'), false);
  });
});
