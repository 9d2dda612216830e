// Chromium (Debian's) through playwright-core, launched as the other
// browser tests launch it.
import { launch as launchChromium } from '../page.mjs';
import { EnginePage, callText, kViewport } from './index.mjs';

export async function launch() {
  const browser = await launchChromium();
  return {
    name: 'chromium',
    version: browser.version(),
    supportsInit: true,
    async open(url, { init } = {}) {
      const context = await browser.newContext({ viewport: kViewport, deviceScaleFactor: 1, locale: 'es-ES' });
      const page = await context.newPage();
      const errors = [];
      page.on('pageerror', (error) => errors.push(error.message));
      if (init) await page.addInitScript(init);
      await page.goto(url);
      return new ChromiumPage(page, errors);
    },
    close: () => browser.close(),
  };
}

class ChromiumPage extends EnginePage {
  constructor(page, errors) {
    super();
    this.page = page;
    this.pageErrors = errors;
  }

  evaluate(fn, ...args) { return this.page.evaluate(callText(fn, args)); }
  click(selector) { return this.page.click(selector); }
  press(key) { return this.page.keyboard.press(key); }
  async errors() { return this.pageErrors.slice(); }
  close() { return this.page.context().close(); }
}
