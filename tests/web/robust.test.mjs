// What a school's machine may do to the browser edition: any language tag,
// a strict content policy from disk and over http, no scripts at all, an
// old engine's syntax, a slow start with "Continuar" pressed early, and a
// handler that fails.
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { after, before, describe, test } from 'node:test';
import { pathToFileURL } from 'node:url';
import { launch, open, pagePath, setSlider, setSliders, toMainWindow } from './page.mjs';

let browser;
before(async () => { browser = await launch(); });
after(async () => { await browser?.close(); });

const text = (page, selector) => page.locator(selector).textContent();
const kEndLine = 'El programa ha terminado. Vuelva a cargar la página para empezar de nuevo.';

// The browser's languages as a session may report them.
const languages = (list, first) => `(() => {
  Object.defineProperty(Navigator.prototype, 'languages', { get: () => ${JSON.stringify(list)} });
  Object.defineProperty(Navigator.prototype, 'language', { get: () => ${JSON.stringify(first)} });
})();`;

// Every breach of the content policy the page sees, from its start.
const kWatchPolicy = `window.violations = [];
document.addEventListener('securitypolicyviolation', (e) => window.violations.push(e.violatedDirective + ' ' + e.blockedURI));`;

// Holds the core's compilation until the test lets it go.
const kHoldCore = `(() => {
  const instantiate = WebAssembly.instantiate;
  let release;
  const held = new Promise((done) => { release = done; });
  window.releaseCore = () => release();
  WebAssembly.instantiate = (...args) => held.then(() => instantiate.apply(WebAssembly, args));
})();`;

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
    test(`${JSON.stringify(list)} gives "${separator}" and a working program`, async () => {
      const page = await open(browser, { init: languages(list, first) });
      await toMainWindow(page);
      await setSliders(page, { HScroll1: 20, HScroll3: 25, HScroll7: 5 });
      assert.equal(await text(page, '#Form1-Label7'), `2${separator}5`);
      assert.equal(await page.getAttribute('#Form1-HScroll3', 'aria-valuetext'), `2${separator}5`);
      assert.equal(await page.getAttribute('#Form1-HScroll3', 'aria-valuenow'), '2.5');
      await page.click('#Form1-Command1');
      assert.equal(await text(page, '#Form1-Picture1-description'),
        `Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 0${separator}5.`);
      assert.deepEqual(page.errors, []);
      await page.context().close();
    });
  }

  test('a readout that fails leaves the slider, its readout and its ARIA values as they were', async () => {
    const page = await open(browser);
    await toMainWindow(page);
    await setSlider(page, 'HScroll3', 4);
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
    await page.context().close();
  });
});

describe('the strict policy', () => {
  // Opens the page at a URL, goes through every screen and every plot.
  async function useAll(url) {
    const context = await browser.newContext({ locale: 'es-ES' });
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(error.message));
    await page.addInitScript(kWatchPolicy);
    await page.goto(url);
    await page.waitForFunction(() => window.vorel);
    await toMainWindow(page);
    await setSliders(page, { HScroll1: 20, HScroll2: 10, HScroll3: 10, HScroll4: 20, HScroll7: 100 });
    for (const button of ['Command1', 'Command2', 'Command6', 'Command5', 'Command3']) await page.click(`#Form1-${button}`);
    await page.click('#Form1-Command4');
    assert.equal(await page.isVisible('#Form2'), true);
    return page;
  }

  test('lets the program run from file:// with no breach, and refuses a script without a hash', async () => {
    const page = await useAll(pathToFileURL(pagePath).href);
    assert.deepEqual(await page.evaluate(() => window.violations), []);
    assert.deepEqual(page.errors, []);
    const policy = await page.getAttribute('meta[http-equiv="Content-Security-Policy"]', 'content');
    assert.doesNotMatch(policy, /'unsafe-eval'/);
    assert.match(policy, /script-src ('sha256-[A-Za-z0-9+/]+=' )+'wasm-unsafe-eval';/);
    // The page's own code would meet the same refusal if it made code from
    // text: the run above had no breach, so it makes none.
    const injected = await page.evaluate(() => {
      const script = document.createElement('script');
      script.textContent = 'window.injected = true;';
      document.body.append(script);
      return window.injected === true;
    });
    assert.equal(injected, false);
    assert.deepEqual(await page.evaluate(() => window.violations), ['script-src-elem inline']);
    await page.context().close();
  });

  test('lets it run served over http from 127.0.0.1 with no breach and no other request', async () => {
    const server = await serve();
    try {
      const page = await useAll(server.url);
      assert.deepEqual(await page.evaluate(() => window.violations), []);
      assert.deepEqual(page.errors, []);
      assert.deepEqual(server.asked, ['/']);
      await page.context().close();
    } finally {
      server.close();
    }
  });
});

// The page on http://127.0.0.1, with every request it makes written down.
async function serve() {
  const asked = [];
  const server = createServer((request, response) => {
    asked.push(request.url);
    if (request.url !== '/') {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(readFileSync(pagePath));
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  return { url: `http://127.0.0.1:${server.address().port}/`, asked, close: () => server.close() };
}

// Firefox ESR through the engines' driver, where it is there. Firefox is
// the engine that asks for /favicon.ico when a page has no icon.
const kEngineDriver = new URL('./engines/index.mjs', import.meta.url);
describe('the strict policy in Firefox', { skip: !existsSync(kEngineDriver) && 'no engine driver' }, () => {
  // Page-side steps, passed as source: each stands alone.
  function ready() {
    return new Promise((resolve, reject) => {
      const start = Date.now();
      (function poll() {
        if (window.vorel) resolve(true);
        else if (Date.now() - start > 20000) reject(new Error('the page never got ready'));
        else setTimeout(poll, 20);
      })();
    });
  }
  function setExample() {
    const form = window.vorel.title.m_form1;
    const positions = { HScroll1: 20, HScroll2: 10, HScroll3: 10, HScroll4: 20, HScroll7: 100 };
    for (const name of Object.keys(positions)) form[name].setValue(positions[name]);
  }
  function inject() {
    const script = document.createElement('script');
    script.textContent = 'window.injected = true;';
    document.body.append(script);
    return window.injected === true;
  }
  function violations() {
    return window.policyViolations.map((v) => v.directive);
  }

  test('lets the program run from file:// and over http with no breach, and refuses a script without a hash', async () => {
    const { launchEngine, recordPolicyViolations } = await import(kEngineDriver.href);
    const firefox = await launchEngine('firefox');
    const server = await serve();
    try {
      for (const url of [pathToFileURL(pagePath).href, server.url]) {
        const page = await firefox.open(url, { init: recordPolicyViolations });
        await page.evaluate(ready);
        await page.click('#Form2-Command1');
        await page.evaluate(setExample);
        for (const button of ['Command1', 'Command2', 'Command6', 'Command5', 'Command3', 'Command4']) {
          await page.click(`#Form1-${button}`);
        }
        assert.deepEqual(await page.evaluate(violations), [], url);
        assert.deepEqual(await page.errors(), [], url);
        // Firefox reports the refusal as a page error too.
        assert.equal(await page.evaluate(inject), false, url);
        assert.deepEqual(await page.evaluate(violations), ['script-src-elem'], url);
        await page.close();
      }
      assert.deepEqual(server.asked, ['/']);
    } finally {
      server.close();
      await firefox.close();
    }
  });
});

describe('the page', () => {
  test('without scripts shows only its Spanish line', async () => {
    const context = await browser.newContext({ javaScriptEnabled: false });
    const page = await context.newPage();
    await page.goto(pathToFileURL(pagePath).href);
    assert.equal((await page.locator('body').innerText()).trim(),
      'El programa necesita JavaScript para funcionar. Actívelo en el navegador y vuelva a cargar la página.');
    assert.equal(await page.isVisible('#Form2'), false);
    await context.close();
  });

  test('carries the desktop\'s icon, and only ES2017 in its scripts', async () => {
    const html = readFileSync(pagePath, 'utf8');
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
    const page = await open(browser);
    await toMainWindow(page);
    assert.equal(await page.getAttribute('#vorel-announce', 'aria-live'), 'polite');
    await setSliders(page, { HScroll1: 20, HScroll3: 10, HScroll7: 100 });
    await page.click('#Form1-Command1');
    const said = 'Onda 1, en azul. Valores de -20 a 20; tiempo de 0 a 10.';
    assert.equal(await text(page, '#vorel-announce'), said);
    // ω2 = 0: "Onda 2" refuses, and nothing new is said.
    const line = await page.evaluate(() => (window.firstLine = document.querySelector('#vorel-announce p')) !== null);
    assert.ok(line);
    await page.click('#Form1-Command2');
    assert.equal(await page.evaluate(() => document.querySelector('#vorel-announce p') === window.firstLine), true);
    // The same plot again is said again, as a new line.
    await page.click('#Form1-Command1');
    assert.equal(await page.evaluate(() => document.querySelector('#vorel-announce p') === window.firstLine), false);
    assert.equal(await text(page, '#vorel-announce'), said);
    await page.context().close();
  });
});

describe('a slow start', () => {
  async function openHeld(init) {
    const context = await browser.newContext({ locale: 'es-ES' });
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(error.message));
    await page.addInitScript(kHoldCore);
    if (init) await page.addInitScript(init);
    await page.goto(pathToFileURL(pagePath).href);
    return page;
  }

  test('paints the title window from the file\'s own markup before the core', async () => {
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
    await page.context().close();
  });

  // On a slow machine the parser may stop to paint before any script after
  // the title's markup has run: the title must be painted fitted even then,
  // and not jump once a script places it.
  test('paints the title where it stays, on a machine four times slower', async () => {
    const context = await browser.newContext({ viewport: { width: 800, height: 600 } });
    for (let run = 0; run < 3; ++run) {
      const page = await context.newPage();
      await (await context.newCDPSession(page)).send('Emulation.setCPUThrottlingRate', { rate: 4 });
      await page.goto(pathToFileURL(pagePath).href);
      await page.waitForFunction(() => performance.getEntriesByName('vorel-core-ready').length > 0);
      const shifts = await page.evaluate(() => new Promise((done) => {
        new PerformanceObserver((list) => done(list.getEntries().map((e) => e.value)))
          .observe({ type: 'layout-shift', buffered: true });
        setTimeout(() => done([]), 300);
      }));
      assert.deepEqual(shifts, [], `run ${run}: the title moved after it was painted`);
      await page.close();
    }
    await context.close();
  });

  test('opens the main window once the core is ready after an early "Continuar", pressed once or twice', async () => {
    for (const presses of [1, 2]) {
      const page = await openHeld();
      for (let i = 0; i < presses; ++i) await page.keyboard.press('Enter');
      assert.equal(await page.isVisible('#Form2'), true);
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
      assert.deepEqual(page.errors, []);
      await page.context().close();
    }
  });

  // As an engine does whose content policy knows no 'wasm-unsafe-eval'.
  test('says so, and waits for nothing, when the browser refuses the core', async () => {
    const context = await browser.newContext({ locale: 'es-ES' });
    const page = await context.newPage();
    await page.addInitScript(() => {
      WebAssembly.instantiate = () => Promise.reject(new WebAssembly.CompileError('Wasm code generation disallowed'));
    });
    await page.goto(pathToFileURL(pagePath).href);
    await page.waitForSelector('#Form2', { state: 'detached' });
    assert.equal((await page.locator('body').innerText()).trim(),
      'Este navegador no puede ejecutar el programa: no permite WebAssembly.');
    await context.close();
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
      await p.context().close();
    }
  });
});
