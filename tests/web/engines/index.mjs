// One small way to drive the page in any of three browser engines, so that
// the same scenarios run in each:
//
//   const browser = await launchEngine('firefox');   // 'chromium', 'firefox', 'webkit'
//   const page = await browser.open(url, { init });   // a fresh page on url
//   await page.evaluate(fn, ...args)  // fn's source runs in the page with JSON args; its (awaited) result
//   await page.click(selector)        // a real click at the element's centre
//   await page.press(key)             // 'Tab', 'Shift+Tab', 'Enter', 'Space', 'ArrowRight', 'Home', ...
//   await page.canvas(selector)       // { width, height, data: RGBA bytes }, carried as base64
//   await page.errors()               // the page's uncaught errors so far, as texts
//   await page.close(); await browser.close();
//
// Each engine gives a viewport of kViewport CSS px at a device pixel ratio
// of 1: room for the main window (743 x 543 with its border) and the fitting
// margin, but not more, so that a page which scales its window to fit keeps
// it at scale 1 under a mouse.
//
// `init` (Chromium and Firefox only: classic WebDriver has no way to run a
// script before the page's own) is a function run in every new document
// before the page's scripts, e.g. to collect securitypolicyviolation events.
// browser.supportsInit tells whether the engine offers it; and in WebKit,
// errors() sees only the errors thrown after open() returned, for the same
// reason.

import { canvasBase64, fromBase64 } from '../page.mjs';

export const kViewport = { width: 756, height: 556 };
export const kEngines = ['chromium', 'firefox', 'webkit'];

export async function launchEngine(name) {
  switch (name) {
    case 'chromium': return (await import('./chromium.mjs')).launch();
    case 'firefox': return (await import('./firefox.mjs')).launch();
    case 'webkit': return (await import('./webkit.mjs')).launch();
    default: throw new Error(`no such engine: ${name}`);
  }
}

// An init for open(): keeps every content-policy violation the document
// reports, from its first script on, in window.policyViolations, e.g.
//   const page = await browser.open(url, { init: recordPolicyViolations });
//   assert.deepEqual(await page.evaluate(() => window.policyViolations), []);
export function recordPolicyViolations() {
  const seen = (window.policyViolations = []);
  document.addEventListener('securitypolicyviolation', (e) => {
    seen.push({ directive: e.effectiveDirective || e.violatedDirective, blocked: e.blockedURI, sample: e.sample });
  });
}

// What the engine pages share: the page's uncaught errors and the canvas
// read through evaluate(); Chromium's and Firefox's pages also share their
// evaluate, click and errors, on a Playwright or Puppeteer page.
export class EnginePage {
  constructor(page, errors) {
    this.page = page;
    this.pageErrors = errors;
  }

  evaluate(fn, ...args) { return this.page.evaluate(callText(fn, args)); }
  click(selector) { return this.page.click(selector); }
  async errors() { return this.pageErrors.slice(); }
  async canvas(selector) { return fromBase64(await this.evaluate(canvasBase64, selector)); }
}

// The source text evaluated for fn(...args): the protocols evaluate it as
// an expression, outside the page's content policy.
export function callText(fn, args) {
  return `(${fn.toString()})(...${JSON.stringify(args)})`;
}
