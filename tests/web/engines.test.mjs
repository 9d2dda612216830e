// The same scenarios in the three browser engines a class may have:
// Chromium, Firefox ESR and WebKitGTK (for Safari on an iPad). Each opens
// the one file from disk, or served, and is driven through tests/web/engines,
// with real clicks and keys; the plots are compared with the desktop's
// rasteriser. VOREL_ENGINES=firefox,webkit picks engines.
import assert from 'node:assert/strict';
import { after, afterEach, before, describe, test } from 'node:test';
import { kEngines, launchEngine, recordPolicyViolations } from './engines/index.mjs';
import {
  kCanvas, kCaption, kDense, kEndLine, kExample, kMainOrder, kPhased, kPlotBoxKeys, kPlotButtons, kReadouts, kSliders,
  kTitleOrder, desktopPixels, firstDifference, heardSound, holdKey, pageUrl, ready, recordSound, serve, setSliders,
} from './page.mjs';

const engines = process.env.VOREL_ENGINES ? process.env.VOREL_ENGINES.split(',') : kEngines;

// Page-side helpers, passed to evaluate() as source: each stands alone.
function state(sliders, readouts) {
  const form1 = window.vorel.title.m_form1;
  const text = (id) => document.getElementById(id).textContent;
  const shown = (id) => {
    const element = document.getElementById(id);
    return !!element && !element.hidden && element.getClientRects().length > 0;
  };
  return {
    focus: document.activeElement.id,
    title: document.title,
    form1: shown('Form1'),
    form2: shown('Form2'),
    values: form1 ? sliders.map((n) => form1[n].value) : [],
    readouts: form1 ? readouts.map((n) => text(`Form1-${n}`)) : [],
    valuesNow: form1 ? sliders.map((n) => document.getElementById(`Form1-${n}`).getAttribute('aria-valuenow')) : [],
    description: form1 ? text('Form1-Picture1-description') : '',
  };
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
// The refusal is reported by an event that comes a task later: waits for it.
function inject() {
  const reported = window.policyViolations.length;
  const script = document.createElement('script');
  script.textContent = 'window.injected = true;';
  document.body.append(script);
  const ran = window.injected === true;
  return new Promise((done) => {
    const start = Date.now();
    (function wait() {
      if (window.policyViolations.length > reported || Date.now() - start > 2000) done(ran);
      else setTimeout(wait, 10);
    })();
  });
}
function violations() { return window.policyViolations.map((v) => v.directive); }

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

    const openPage = async (url = pageUrl, options) => {
      await page?.close();
      page = await browser.open(url, options);
      await page.evaluate(ready);
      return page;
    };
    const stateNow = () => page.evaluate(state, kSliders, kReadouts);
    const focused = () => page.evaluate(() => document.activeElement.id);
    const assertNoErrors = async () => {
      assert.deepEqual(await page.errors(), [], 'page errors');
    };

    test('opens from file:// on the title screen, "Continuar" focused, with its caption and no error', async () => {
      await openPage();
      const now = await stateNow();
      assert.deepEqual([now.form2, now.form1, now.focus, now.title], [true, false, 'Form2-Command1', kCaption]);
      // The picture is read out by its text, not passed over.
      assert.deepEqual(await page.evaluate(() => [document.getElementById('Form2-Command1').textContent.trim(),
        document.querySelector('#Form2 img').alt]), ['Continuar', 'Dibujo de dos ondas y de su suma']);
      await assertNoErrors();
    });

    test('keys: Tab goes round each window both ways, only buttons press, and the keys move the sliders as the desktop', async () => {
      await openPage();
      // Tab from the last control comes back to the first, Shift+Tab from
      // the first to the last.
      const goRound = async (order) => {
        for (const id of [...order.slice(1), order[0]]) {
          await page.press('Tab');
          assert.equal(await focused(), id, 'Tab');
        }
        for (const id of [order.at(-1), order.at(-2)]) {
          await page.press('Shift+Tab');
          assert.equal(await focused(), id, 'Shift+Tab');
        }
      };
      await goRound(kTitleOrder);
      await page.press('Space');
      let now = await stateNow();
      assert.deepEqual([now.form1, now.form2, now.focus], [true, false, 'Form1-Picture1']);
      await goRound(kMainOrder);

      const rows = [
        // slider, keys, its readout's text after them
        ['HScroll3', ['ArrowRight'], '0,1'],
        ['HScroll3', ['End'], '10'],
        ['HScroll3', ['End', 'ArrowLeft', 'ArrowUp'], '9,8'],
        ['HScroll3', ['End', 'Home'], '0'],
        ['HScroll1', ['PageDown', 'PageDown', 'ArrowDown'], '11'],
        ['HScroll1', ['End', 'PageUp'], '45'],
        ['HScroll2', ['End'], '50'],
        ['HScroll5', Array(7).fill('ArrowRight'), '0,07'],
        ['HScroll6', ['End'], '10'],
        ['HScroll4', ['PageDown', 'PageDown'], '0,2'], // pages by 1
        ['HScroll7', ['PageDown'], '0,5'],
      ];
      for (const [slider, keys, readout] of rows) {
        await page.evaluate(focus, `Form1-${slider}`);
        for (const key of keys) await page.press(key);
        assert.equal((await stateNow()).readouts[kSliders.indexOf(slider)], readout, `${slider} ${keys}`);
      }
      const aria = await page.evaluate(() => {
        const e = document.getElementById('Form1-HScroll5');
        return ['role', 'aria-valuenow', 'aria-valuemin', 'aria-valuemax', 'aria-valuetext']
          .map((a) => e.getAttribute(a)).concat(document.getElementById(e.getAttribute('aria-labelledby')).textContent);
      });
      assert.deepEqual(aria, ['slider', '0.07', '0', '10', '0,07', 'Fase 1']);

      // No button is a default: on the plot box or a slider, Enter and Space
      // plot nothing and change no screen, even where a plot would pass its
      // guard.
      await page.evaluate(setSliders, kExample);
      const blank = await page.canvas(kCanvas);
      for (const id of ['Form1-Picture1', 'Form1-HScroll1']) {
        await page.evaluate(focus, id);
        for (const key of ['Enter', 'Space']) await page.press(key);
      }
      assert.deepEqual(await page.canvas(kCanvas), blank);
      now = await stateNow();
      assert.deepEqual([now.form1, now.form2, now.description, now.readouts[0]], [true, false, kPlotBoxKeys, '20']);

      // Enter presses the focused button: "Regresar", then "Continuar",
      // which gives the focus back to the control that had it.
      await page.evaluate(focus, 'Form1-Command4');
      await page.press('Enter');
      now = await stateNow();
      assert.deepEqual([now.form1, now.form2, now.focus], [false, true, 'Form2-Command1']);
      await page.press('Enter');
      now = await stateNow();
      assert.deepEqual([now.form1, now.form2, now.focus, now.readouts[0]], [true, false, 'Form1-Command4', '20']);
      await assertNoErrors();
    });

    test('draws the five plots, and a dense one, with the desktop\'s pixels outside the labels', async () => {
      await openPage();
      await page.click('#Form2-Command1');
      const rows = [
        // settings, their readouts, the buttons
        [kPhased, ['20', '10', '1', '2', '1,57', '0,5', '10'], Object.keys(kPlotButtons)],
        [kDense, ['50', '50', '10', '7,3', '10', '3,14', '100'], ['Command3']],
      ];
      for (const [settings, readouts, buttons] of rows) {
        await page.evaluate(setSliders, settings);
        assert.deepEqual((await stateNow()).readouts, readouts);
        for (const button of buttons) {
          await page.click(`#Form1-${button}`);
          const { ratio, labelBoxes, scale } = await page.evaluate(plotState);
          assert.equal(scale, 1, 'the window at its own size');
          assert.equal(labelBoxes.length, 17, button);
          const differs = firstDifference(await page.canvas(kCanvas), desktopPixels(kPlotButtons[button], settings, ratio), labelBoxes);
          assert.equal(differs, null, `${engine} ${button} at ${readouts}`);
        }
      }
      await assertNoErrors();
    });

    test('the plot box\'s audio mode: off, its keys do as before; on, they walk and play the last plot; the picture stays', async () => {
      await openPage();
      const headings = () => page.evaluate(() => [...document.querySelectorAll('main h1')]
        .filter((h) => h.closest('.window:not([hidden])')).map((h) => h.textContent));
      assert.deepEqual(await headings(), [' Sistema de Simulación para la Interferencia de Vorel']);
      await page.click('#Form2-Command1');
      assert.deepEqual(await headings(), [kCaption]);
      await page.evaluate(recordSound);
      const said = () => page.evaluate(() => document.getElementById('vorel-announce').textContent);
      // Each key and what is said after it; a held key comes as its own repeat.
      const walk = async (steps) => {
        for (const [key, text] of steps) {
          if (key.startsWith('held ')) await page.evaluate(holdKey, key.slice('held '.length));
          else await page.press(key);
          assert.equal(await said(), text, key);
        }
      };
      await page.evaluate(focus, 'Form1-Picture1');
      // The focus and the keys are the box's slider stand-in's while the mode is on.
      const focused = () => page.evaluate(() => document.activeElement.id);
      const on = 'Modo de audio activado.';
      await walk([['ArrowRight', ''], ['Alt+Shift+T', ''], ['Alt+t', on], ['held Alt+t', on],
        ['ArrowRight', 'No hay gráfico.'], ['Enter', 'No hay gráfico.\u00a0']]);
      assert.equal(await focused(), 'Form1-Picture1-stand-in');
      // A1 = 20, A2 = 10, ω1 = 1, ω2 = 2, φ1 = 1.57, φ2 = 0.5, T = 10.
      await page.evaluate(setSliders, kPhased);
      await page.click('#Form1-Command3');
      const picture = await page.canvas(kCanvas);
      await page.evaluate(focus, 'Form1-Picture1');
      const start = 't = 0,0: onda 1, 20,0; onda 2, 4,8; resultante, 24,8';
      const end = 't = 10,0: onda 1, -16,8; onda 2, 10,0; resultante, -6,8';
      await walk([['ArrowLeft', start], ['ArrowLeft', `${start}\u00a0`],
        ['PageDown', 't = 1,0: onda 1, 10,8; onda 2, 6,0; resultante, 16,8'], ['End', end], ['ArrowRight', `${end}\u00a0`]]);
      // The stand-in leaves by Tab and Shift+Tab from the box's place, and
      // the box, reached again, hands it the focus.
      for (const [key, id] of [['Tab', 'Form1-HScroll1'], ['Shift+Tab', 'Form1-Picture1-stand-in'],
        ['Shift+Tab', 'Form1-Command6'], ['Tab', 'Form1-Picture1-stand-in']]) {
        await page.press(key);
        assert.equal(await focused(), id, key);
      }
      // A plot that its guard refuses draws nothing, and the keys stay on the last.
      await page.evaluate(setSliders, { HScroll7: 0 });
      await page.click('#Form1-Command3');
      await page.evaluate(focus, 'Form1-Picture1');
      await walk([['ArrowLeft', 't = 9,9: onda 1, -17,8; onda 2, 9,9; resultante, -7,9'], ['Home', start],
        ['h', start], ['Escape', start]]);
      await page.evaluate(() => { window.soundFails = true; });
      await walk([['Space', 'No hay salida de sonido.'], ['Alt+t', 'Modo de audio desactivado.'],
        ['ArrowRight', 'Modo de audio desactivado.']]);
      assert.equal(await focused(), 'Form1-Picture1');
      // A sound started while one plays stops it; a held Enter starts none.
      await page.evaluate(() => { window.soundFails = false; });
      await walk([['Alt+t', on], ['Enter', on], ['held Enter', on], ['Enter', on]]);
      // What reached the output, each curve 1.5 s: wave 1 at 44 Hz and 0.2
      // of full scale, wave 2 at 88 Hz and 0.1, the resultant up to 0.28.
      assert.deepEqual(await page.evaluate(heardSound), [[150, 44, 20], [150, 88, 10], [150, 44, 28]]);
      await page.click('#Form1-Command4');
      // Three curves of 1.5 s and two gaps of 0.25 s, at 44.1 kHz; wave 1 first.
      const sound = [220500, 44100, 19795];
      assert.deepEqual(await page.evaluate(() => window.played), [sound, 'stop', sound, 'stop', sound, 'stop']);
      assert.deepEqual(await page.canvas(kCanvas), picture);
      await assertNoErrors();
    });

    test('"Regresar" and "Continuar" keep the main window as it was, with its focus, and put back the caption', async () => {
      await openPage();
      await page.click('#Form2-Command1');
      await page.evaluate(setSliders, { HScroll1: 15, HScroll4: 35, HScroll5: 3, HScroll6: 250, HScroll7: 40 });
      await page.click('#Form1-Command6');
      await page.evaluate(focus, 'Form1-Command4');
      const before = await stateNow();
      const picture = await page.canvas(kCanvas);
      // Whatever the page's title was, showing a window puts the caption back.
      await page.evaluate(() => { document.title = ''; });
      await page.press('Enter');
      let now = await stateNow();
      assert.deepEqual([now.form1, now.form2, now.focus, now.title], [false, true, 'Form2-Command1', kCaption]);
      await page.evaluate(() => { document.title = ''; });
      await page.press('Enter');
      // The focus it had, not the first control; the one main window.
      assert.deepEqual(await stateNow(), before);
      assert.deepEqual(before.readouts, ['15', '0', '0', '3,5', '0,03', '2,5', '4']);
      assert.equal(await page.evaluate(() => document.querySelectorAll('#Form1').length), 1);
      assert.deepEqual(await page.canvas(kCanvas), picture);
      await assertNoErrors();
    });

    test('"Salir" ends the program, from the start or after the main window, with its line in the program\'s font', async () => {
      for (const visitFirst of [false, true]) {
        await openPage();
        if (visitFirst) {
          await page.click('#Form2-Command1');
          await page.click('#Form1-Command4');
        }
        await page.click('#Form2-Command2');
        const end = await page.evaluate(() => {
          const style = getComputedStyle(document.querySelector('main > p'));
          return [document.querySelectorAll('#Form1, #Form2').length, document.body.innerText.trim(),
            style.fontFamily, parseFloat(style.fontSize).toFixed(2)];
        });
        // Arial at 8 points.
        assert.deepEqual(end, [0, kEndLine, 'Arial, "Liberation Sans", sans-serif', '10.67'], `visit first: ${visitFirst}`);
        await assertNoErrors();
      }
    });

    // WebDriver classic runs no script before the page's own: in WebKit the
    // record of breaches starts once the page is open.
    test('runs under its strict policy from file:// and served, asks for nothing but the page, and refuses a script without a hash', async () => {
      const server = await serve();
      try {
        for (const url of [pageUrl, server.url]) {
          await openPage(url, { init: browser.supportsInit ? recordPolicyViolations : undefined });
          if (!browser.supportsInit) await page.evaluate(recordPolicyViolations);
          await page.click('#Form2-Command1');
          await page.evaluate(setSliders, kExample);
          for (const button of [...Object.keys(kPlotButtons), 'Command4']) await page.click(`#Form1-${button}`);
          assert.deepEqual(await page.evaluate(violations), [], url);
          await assertNoErrors();
          // The page's own code would meet the same refusal if it made code
          // from text: the run above had no breach, so it makes none.
          assert.equal(await page.evaluate(inject), false, url);
          assert.deepEqual(await page.evaluate(violations), ['script-src-elem'], url);
        }
        assert.deepEqual(server.asked, ['/']);
      } finally {
        server.close();
      }
    });
  });
}
