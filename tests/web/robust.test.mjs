// What a school's machine may do to the browser edition: any language tag,
// and a change of it, no scripts at all, an old engine's syntax, a slow
// start with "Continuar" pressed early, and a handler that fails. The
// strict content policy is tried in every engine, in engines.test.mjs.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { describe, test } from 'node:test';
import { browserSuite, kEndLine, kPlotBoxKeys, open, openMain, pagePath, setSliders } from './page.mjs';

const suite = browserSuite();
const text = (page, selector) => page.locator(selector).textContent();

// The browser's languages as a session may report them; the page's
// setLanguages(list, first) changes them, as a user does in the settings.
const languages = (list, first) => `(() => {
  let now = [${JSON.stringify(list)}, ${JSON.stringify(first)}];
  window.setLanguages = (...tags) => { now = tags; };
  Object.defineProperty(Navigator.prototype, 'languages', { get: () => now[0] });
  Object.defineProperty(Navigator.prototype, 'language', { get: () => now[1] });
})();`;

// Holds the core's compilation until the test lets it go.
const kHoldCore = `(() => {
  const instantiate = WebAssembly.instantiate;
  let release;
  const held = new Promise((done) => { release = done; });
  window.releaseCore = () => release();
  WebAssembly.instantiate = (...args) => held.then(() => instantiate.apply(WebAssembly, args));
})();`;

// Every change of the page's placing of its window made once the title
// window is in the page: painted in its place from the start, it never moves.
const kWatchPlace = `window.placedAfterTitle = [];
new MutationObserver((changes) => {
  if (!document.getElementById('Form2')) return;
  const root = document.documentElement;
  for (const change of changes) if (change.target === root) window.placedAfterTitle.push(change.oldValue + ' to ' + root.getAttribute('style'));
}).observe(document, { attributes: true, attributeFilter: ['style'], attributeOldValue: true, subtree: true });`;

describe('language settings', () => {
  // languages, language, the decimal separator
  const cases = [
    [['C'], 'C', '.'], // WebKitGTK under a POSIX session
    [[''], '', '.'],
    [[], '', '.'],
    [['es-ES'], 'es-ES', ','],
    [['es-419'], 'es-419', '.'],
    [['de-DE', 'en-US'], 'de-DE', ','],
    [['en-US'], 'en-US', '.'],
    [['ar-EG'], 'ar-EG', '٫'],
    [['C', 'de-DE'], 'C', ','], // the first that Intl accepts
  ];
  for (const [list, first, separator] of cases) {
    test(`${JSON.stringify(list)} gives "${separator}" and a working program, and a change of language a new one`, async () => {
      const page = await openMain(suite.browser, { init: languages(list, first) });
      await page.evaluate(setSliders, { HScroll1: 20, HScroll3: 25, HScroll7: 5 });
      assert.equal(await text(page, '#Form1-Label7'), `2${separator}5`);
      assert.equal(await page.getAttribute('#Form1-HScroll3', 'aria-valuetext'), `2${separator}5`);
      assert.equal(await page.getAttribute('#Form1-HScroll3', 'aria-valuenow'), '2.5');
      await page.click('#Form1-Command1');
      assert.equal(await text(page, '#Form1-Picture1-description'),
        `Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 0${separator}5. Onda 1: mínimo 0${separator}0 en t = 0${separator}0; `
        + `máximo 19${separator}0 en t = 0${separator}5. ${kPlotBoxKeys}`);
      // The next readout takes the language the browser has now.
      const [other, otherSeparator] = separator === ',' ? ['en-US', '.'] : ['de-DE', ','];
      await page.evaluate((tag) => window.setLanguages([tag], tag), other);
      await page.focus('#Form1-HScroll3');
      await page.keyboard.press('ArrowRight');
      assert.equal(await text(page, '#Form1-Label7'), `2${otherSeparator}6`);
      assert.deepEqual(page.errors, []);
    });
  }

  test('a readout that fails leaves the slider, its readout and its ARIA values as they were', async () => {
    const page = await openMain(suite.browser);
    await page.evaluate(setSliders, { HScroll3: 4 });
    const state = () => page.evaluate(() => {
      const bar = document.getElementById('Form1-HScroll3');
      return [window.vorel.title.m_form1.HScroll3.value, document.getElementById('Form1-Label7').textContent,
        bar.getAttribute('aria-valuenow'), bar.getAttribute('aria-valuetext'), bar.querySelector('.thumb').style.left];
    });
    const before = await state();
    assert.deepEqual(before.slice(0, 4), [4, '0,4', '0.4', '0,4']);
    // The readout's text comes first, then the ARIA values fail.
    await page.evaluate(() => {
      const core = window.vorel.core;
      const parameterAt = core.parameterAt;
      core.parameterAt = () => { core.parameterAt = parameterAt; throw new Error('no value'); };
    });
    await page.focus('#Form1-HScroll3');
    await page.keyboard.press('ArrowRight');
    assert.deepEqual(await state(), before);
    assert.deepEqual(page.errors, ['no value']);
    await page.keyboard.press('ArrowRight');
    assert.deepEqual((await state()).slice(0, 4), [5, '0,5', '0.5', '0,5']);
  });
});

describe('the page', () => {
  test('without scripts shows only its Spanish line', async () => {
    const page = await open(suite.browser, { device: { javaScriptEnabled: false }, ready: false });
    assert.equal((await page.locator('body').innerText()).trim(),
      'El programa necesita JavaScript para funcionar. Actívelo en el navegador y vuelva a cargar la página.');
    assert.equal(await page.isVisible('#Form2'), false);
  });

  test('is one file of at most 400 kB with a strict policy, the desktop\'s icon, and only ES2017 in its scripts', async () => {
    const html = readFileSync(pagePath, 'utf8');
    assert.ok(html.length <= 400_000, `${html.length} bytes`);
    // Scripts run by their hashes only; WebAssembly may be compiled, code
    // may not be made from text.
    const policy = /<meta http-equiv="Content-Security-Policy"\s+content="([^"]*)">/.exec(html)[1];
    assert.doesNotMatch(policy, /'unsafe-eval'/);
    assert.match(policy, /^default-src 'none'; script-src ('sha256-[A-Za-z0-9+/]+=' )+'wasm-unsafe-eval';/);
    const icon = /<link rel="icon" type="image\/png" sizes="32x32" href="data:image\/png;base64,([^"]+)">/.exec(html);
    assert.ok(icon, 'the icon link');
    assert.deepEqual(Buffer.from(icon[1], 'base64'), readFileSync(new URL('../../app/art/icon32.png', import.meta.url)));
    // Debian's acorn, which Emscripten needs anyway.
    const acorn = await import('/usr/share/nodejs/acorn/dist/acorn.mjs');
    const scripts = [...html.matchAll(/<script([^>]*)>([\s\S]*?)<\/script>/g)]
      .map(([, attributes, code]) => [(/type="([^"]*)"/.exec(attributes) || [])[1], code])
      .filter(([type]) => !type || type === 'module' || type === 'text/javascript');
    assert.equal(scripts.length, 3);
    for (const [type, code] of scripts) {
      assert.doesNotThrow(() => acorn.parse(code, { ecmaVersion: 2017, sourceType: type === 'module' ? 'module' : 'script' }));
    }
  });

  test('announces each plot that draws, politely, and stays silent when the guard refuses', async () => {
    const page = await openMain(suite.browser);
    assert.equal(await page.getAttribute('#vorel-announce', 'aria-live'), 'polite');
    await page.evaluate(setSliders, { HScroll1: 20, HScroll3: 10, HScroll7: 100 });
    await page.click('#Form1-Command1');
    const said = 'Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 10. Onda 1: mínimo -20,0 en t = 4,6; máximo 20,0 en t = 1,5.';
    assert.equal(await text(page, '#vorel-announce'), said);
    // ω2 = 0: "Onda 2" refuses, and nothing new is said.
    const line = await page.evaluate(() => (window.firstLine = document.querySelector('#vorel-announce p')) !== null);
    assert.ok(line);
    await page.click('#Form1-Command2');
    assert.equal(await page.evaluate(() => document.querySelector('#vorel-announce p') === window.firstLine), true);
    // The same plot again is said again, as a new line that a screen reader
    // does not take for the same message.
    await page.click('#Form1-Command1');
    assert.equal(await page.evaluate(() => document.querySelector('#vorel-announce p') === window.firstLine), false);
    assert.equal(await text(page, '#vorel-announce'), `${said}\u00a0`);
  });
});

describe('a slow start', () => {
  // init: what else runs in the page before its own scripts.
  const openHeld = (init) => open(suite.browser, { init: kHoldCore + kWatchPlace + (init ? `(${init})();` : ''), ready: false });

  test('paints the title window from the file\'s own markup before the core, placed where it stays', async () => {
    const html = readFileSync(pagePath, 'utf8');
    const before = [...html.slice(0, html.indexOf('id="Form2-Command1"')).matchAll(/<script[^>]*>([\s\S]*?)<\/script>/g)];
    assert.ok(before.length === 1 && before[0][1].length < 8000,
              'before the title window, only the small script that places it');
    const page = await openHeld();
    await page.waitForFunction(() => performance.getEntriesByName('vorel-title-painted').length > 0);
    assert.equal(await page.evaluate(() => window.vorel), undefined);
    assert.equal(await text(page, '#Form2-Label1'), ' Sistema de Simulación para la Interferencia de Vorel');
    assert.deepEqual([await text(page, '#Form2-Command1'), await text(page, '#Form2-Command2')], ['Continuar', 'Salir']);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'Form2-Command1');
    assert.deepEqual(await page.evaluate(() => window.placedAfterTitle), []);
    // Compiling the core waits until the screen shows the title.
    const [painted, started] = await page.evaluate(() => new Promise((done) => {
      const look = () => {
        const start = performance.getEntriesByName('vorel-core-start')[0];
        if (!start) { setTimeout(look, 10); return; }
        done([performance.getEntriesByName('first-contentful-paint')[0]?.startTime, start.startTime]);
      };
      look();
    }));
    assert.ok(painted > 0 && started >= painted, `first contentful paint at ${painted} ms, core started at ${started} ms`);
  });

  // On a slow machine the parser may stop to paint before any script after
  // the title's markup has run: the title must be painted fitted even then,
  // and not jump once a script places it.
  test('paints the title where it stays, on a machine four times slower', async () => {
    for (let run = 0; run < 3; ++run) {
      const page = await open(suite.browser, { device: { viewport: { width: 800, height: 600 } }, slowdown: 4, ready: false });
      await page.waitForFunction(() => performance.getEntriesByName('vorel-core-ready').length > 0);
      const shifts = await page.evaluate(() => new Promise((done) => {
        new PerformanceObserver((list) => done(list.getEntries().map((e) => e.value)))
          .observe({ type: 'layout-shift', buffered: true });
        setTimeout(() => done([]), 300);
      }));
      assert.deepEqual(shifts, [], `run ${run}: the title moved after it was painted`);
    }
  });

  test('opens the main window once the core is ready after an early "Continuar", pressed once or twice', async () => {
    for (const presses of [1, 2]) {
      const page = await openHeld();
      for (let i = 0; i < presses; ++i) await page.keyboard.press('Enter');
      assert.equal(await page.isVisible('#Form2'), true);
      // Busy, to the eye and to a screen reader, until the core comes.
      const busy = () => page.evaluate(() => {
        const title = document.getElementById('Form2');
        return [title.getAttribute('aria-busy'), getComputedStyle(title).cursor];
      });
      assert.deepEqual(await busy(), ['true', 'progress']);
      await page.evaluate(() => window.releaseCore());
      await page.waitForFunction(() => window.vorel);
      await page.waitForSelector('#Form1', { state: 'visible' });
      assert.equal(await page.isVisible('#Form2'), false);
      assert.equal(await page.locator('#Form1').count(), 1);
      assert.equal(await page.evaluate(() => document.activeElement.id), 'Form1-Picture1');
      // "Regresar" shows the title window, which stays.
      await page.click('#Form1-Command4');
      await page.evaluate(() => new Promise((done) => setTimeout(done, 100)));
      assert.deepEqual([await page.isVisible('#Form2'), await page.isVisible('#Form1')], [true, false]);
      assert.deepEqual(await busy(), [null, 'auto']);
      assert.deepEqual(page.errors, []);
      }
  });

  // As an engine does whose content policy knows no 'wasm-unsafe-eval'.
  test('says so, and waits for nothing, when the browser refuses the core', async () => {
    const page = await open(suite.browser, { ready: false, init: () => {
      WebAssembly.instantiate = () => Promise.reject(new WebAssembly.CompileError('Wasm code generation disallowed'));
    } });
    await page.waitForSelector('#Form2', { state: 'detached' });
    assert.equal((await page.locator('body').innerText()).trim(),
      'Este navegador no puede ejecutar el programa: no permite WebAssembly.');
  });

  // As the page loads, the core is then never started; while it compiles, it is let go.
  test('ends for good, with no error, on "Salir" as the page loads or after an early "Continuar"', async () => {
    const atLoad = await openHeld(() => document.addEventListener('DOMContentLoaded', () => document.getElementById('Form2-Command2').click()));
    const page = await openHeld();
    await page.click('#Form2-Command1');
    await page.click('#Form2-Command2');
    await page.evaluate(() => window.releaseCore());
    await page.waitForFunction(() => performance.getEntriesByName('vorel-core-ready').length > 0);
    for (const [p, started] of [[atLoad, 0], [page, 1]]) {
      await p.waitForFunction(() => performance.getEntriesByName('vorel-title-painted').length > 0);
      await p.evaluate(() => new Promise((done) => setTimeout(done, 300))); // past the wait for a paint
      assert.equal(await p.locator('#Form1, #Form2').count(), 0);
      assert.equal((await p.locator('body').innerText()).trim(), kEndLine);
      const core = await p.evaluate(() => [performance.getEntriesByName('vorel-core-start').length, typeof window.vorel]);
      assert.deepEqual([core, p.errors], [[started, 'undefined'], []]);
    }
  });
});
