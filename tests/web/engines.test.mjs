// The same scenarios in the three browser engines a class may have:
// Chromium, Firefox ESR and WebKitGTK (for Safari on an iPad). Each opens
// the one file from disk and is driven through tests/web/engines, with real
// clicks and keys; the plots are compared with the desktop's rasteriser.
// VOREL_ENGINES=firefox,webkit picks engines.
import assert from 'node:assert/strict';
import { after, afterEach, before, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { kEngines, launchEngine } from './engines/index.mjs';
import { desktopPixels, firstDifference, pagePath } from './page.mjs';

const engines = process.env.VOREL_ENGINES ? process.env.VOREL_ENGINES.split(',') : kEngines;
const url = pathToFileURL(pagePath).href;

// A1 = 20, A2 = 10, ω1 = 1, ω2 = 2, φ1 = 1.5, φ2 = 0.4, T = 10: two phases,
// neither zero, so that a phase taken from the wrong slider, or dropped,
// moves a curve.
const kSettings = { HScroll1: 20, HScroll2: 10, HScroll3: 10, HScroll4: 20, HScroll5: 150, HScroll6: 40, HScroll7: 100 };
const kButtons = { Command1: 'Wave1', Command2: 'Wave2', Command6: 'BothWaves', Command5: 'Resultant', Command3: 'All' };
const kCanvas = '#Form1-Picture1 canvas';

// Page-side helpers, passed to evaluate() as source: each stands alone.
function state() {
  const form1 = window.vorel.title.m_form1;
  const text = (id) => document.getElementById(id).textContent;
  const shown = (id) => {
    const element = document.getElementById(id);
    return !!element && !element.hidden && element.getClientRects().length > 0;
  };
  return {
    focus: document.activeElement.id,
    form1: shown('Form1'),
    form2: shown('Form2'),
    values: form1 ? ['HScroll1', 'HScroll2', 'HScroll3', 'HScroll4', 'HScroll5', 'HScroll6', 'HScroll7'].map((n) => form1[n].value) : [],
    readouts: form1 ? ['Label3', 'Label4', 'Label7', 'Label8', 'Label11', 'Label12', 'Label14'].map((n) => text(`Form1-${n}`)) : [],
  };
}
// The page loads its core after the first paint: wait for it.
function ready() {
  return new Promise((resolve, reject) => {
    const start = Date.now();
    (function poll() {
      if (window.vorel && window.vorel.core && window.vorel.title) resolve(true);
      else if (Date.now() - start > 20000) reject(new Error('the page never got ready'));
      else setTimeout(poll, 20);
    })();
  });
}
// Moves sliders with their keys (Home, Page Down, then Right), sent as
// events in one call: far quicker than one driver round trip per key.
function setSliders(positions) {
  for (const name of Object.keys(positions)) {
    const slider = window.vorel.title.m_form1[name];
    const press = (key) => slider.element.dispatchEvent(new KeyboardEvent('keydown', { key, bubbles: true }));
    press('Home');
    let at = slider.minimum;
    for (; slider.pageStep > 1 && positions[name] - at >= slider.pageStep; at += slider.pageStep) press('PageDown');
    for (; at < positions[name]; ++at) press('ArrowRight');
  }
}
function focus(id) { document.getElementById(id).focus(); }
function plotState() {
  const form1 = window.vorel.title.m_form1;
  const box = document.getElementById('Form1');
  return {
    ratio: window.vorel.core.picture().ratio,
    labelBoxes: form1.Picture1.labelBoxes,
    // The window on screen against its own size: 1 when not scaled.
    scale: box.getBoundingClientRect().width / box.offsetWidth,
  };
}

for (const engine of engines) {
  describe(engine, () => {
    let browser;
    let page;
    before(async () => { browser = await launchEngine(engine); });
    after(async () => { await browser?.close(); });
    // A failed test leaves its page open: close it before the next one.
    afterEach(async () => {
      await page?.close();
      page = null;
    });

    const openPage = async () => {
      page = await browser.open(url);
      await page.evaluate(ready);
      return page;
    };
    const assertNoErrors = async () => {
      assert.deepEqual(await page.errors(), [], 'page errors');
    };

    test('opens from file:// on the title screen, "Continuar" focused, with no error', async () => {
      await openPage();
      const now = await page.evaluate(state);
      assert.deepEqual([now.form2, now.form1, now.focus], [true, false, 'Form2-Command1']);
      assert.equal(await page.evaluate(() => document.getElementById('Form2-Command1').textContent.trim()), 'Continuar');
      await assertNoErrors();
    });

    test('keys: Tab on the title, Space and Enter press, a slider moves and shows its readout', async () => {
      await openPage();
      const focused = () => page.evaluate(() => document.activeElement.id);
      for (const [key, id] of [['Tab', 'Form2-Command2'], ['Tab', 'Form2-Command1'], ['Shift+Tab', 'Form2-Command2'], ['Shift+Tab', 'Form2-Command1']]) {
        await page.press(key);
        assert.equal(await focused(), id, key);
      }
      await page.press('Space');
      let now = await page.evaluate(state);
      assert.deepEqual([now.form1, now.form2, now.focus], [true, false, 'Form1-Picture1']);
      // The first three stops after the plot box are the first three sliders.
      for (let i = 0; i < 3; ++i) await page.press('Tab');
      assert.equal(await focused(), 'Form1-HScroll3');
      for (const [key, readout] of [['ArrowRight', '0,1'], ['ArrowRight', '0,2'], ['End', '10'], ['ArrowLeft', '9,9'], ['Home', '0'], ['PageDown', '0,1']]) {
        await page.press(key);
        now = await page.evaluate(state);
        assert.equal(now.readouts[2], readout, key);
      }
      assert.equal(await page.evaluate(() => document.getElementById('Form1-HScroll3').getAttribute('aria-valuenow')), '0.1');
      // Enter presses the focused button: "Regresar", then "Continuar",
      // which gives the focus back to the control that had it.
      await page.evaluate(focus, 'Form1-Command4');
      await page.press('Enter');
      now = await page.evaluate(state);
      assert.deepEqual([now.form1, now.form2, now.focus], [false, true, 'Form2-Command1']);
      await page.press('Enter');
      now = await page.evaluate(state);
      assert.deepEqual([now.form1, now.form2, now.focus, now.readouts[2]], [true, false, 'Form1-Command4', '0,1']);
      await assertNoErrors();
    });

    test('draws the five plots with the desktop\'s pixels outside the labels', async () => {
      await openPage();
      await page.click('#Form2-Command1');
      await page.evaluate(setSliders, kSettings);
      assert.deepEqual((await page.evaluate(state)).readouts, ['20', '10', '1', '2', '1,5', '0,4', '10']);
      for (const [button, command] of Object.entries(kButtons)) {
        await page.click(`#Form1-${button}`);
        const { ratio, labelBoxes, scale } = await page.evaluate(plotState);
        assert.equal(scale, 1, 'the window at its own size');
        assert.equal(labelBoxes.length, 17, button);
        const differs = firstDifference(await page.canvas(kCanvas), desktopPixels(command, kSettings, ratio), labelBoxes);
        assert.equal(differs, null, `${engine} ${button}`);
      }
      await assertNoErrors();
    });

    test('"Regresar" and "Continuar" keep the sliders and the picture', async () => {
      await openPage();
      await page.click('#Form2-Command1');
      await page.evaluate(setSliders, { HScroll1: 15, HScroll4: 35, HScroll6: 250, HScroll7: 40 });
      await page.click('#Form1-Command6');
      const before = await page.evaluate(state);
      const picture = await page.canvas(kCanvas);
      await page.click('#Form1-Command4');
      let now = await page.evaluate(state);
      assert.deepEqual([now.form1, now.form2, now.focus], [false, true, 'Form2-Command1']);
      await page.click('#Form2-Command1');
      now = await page.evaluate(state);
      // Whether a click focuses a button differs between engines.
      assert.deepEqual({ ...now, focus: null }, { ...before, focus: null });
      assert.deepEqual(now.readouts, ['15', '0', '0', '3,5', '0', '2,5', '4']);
      assert.deepEqual(await page.canvas(kCanvas), picture);
      await assertNoErrors();
    });

    test('"Salir" ends the program', async () => {
      await openPage();
      await page.click('#Form2-Command1');
      await page.click('#Form1-Command4');
      await page.click('#Form2-Command2');
      assert.deepEqual(await page.evaluate(() => [document.querySelectorAll('#Form1, #Form2').length, document.body.innerText.trim()]),
        [0, 'El programa ha terminado. Vuelva a cargar la página para empezar de nuevo.']);
      await assertNoErrors();
    });
  });
}

