// Firefox ESR (Debian's) through puppeteer-core over WebDriver BiDi. No
// browser is downloaded: the tests install with PUPPETEER_SKIP_DOWNLOAD and
// name Debian's binary.
import puppeteer from 'puppeteer-core';
import { EnginePage, kViewport } from './index.mjs';

export async function launch() {
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.VOREL_FIREFOX ?? '/usr/bin/firefox-esr',
    headless: true,
    defaultViewport: { ...kViewport, deviceScaleFactor: 1 },
    // The page takes its decimal separator from the browser's language.
    extraPrefsFirefox: { 'intl.accept_languages': 'es-ES', 'intl.locale.requested': 'es-ES' },
  });
  return {
    name: 'firefox',
    version: await browser.version(),
    supportsInit: true,
    async open(url, { init } = {}) {
      const page = await browser.newPage();
      const errors = [];
      page.on('pageerror', (error) => errors.push(error.message));
      if (init) await page.evaluateOnNewDocument(init);
      await page.goto(url);
      return new FirefoxPage(page, errors);
    },
    close: () => browser.close(),
  };
}

// Puppeteer's key names, but for the space bar, with chords such as Shift+Tab.
const kKeyNames = { Space: ' ' };

class FirefoxPage extends EnginePage {
  async press(key) {
    const keys = key.split('+').map((k) => kKeyNames[k] ?? k);
    const last = keys.pop();
    for (const modifier of keys) await this.page.keyboard.down(modifier);
    await this.page.keyboard.press(last);
    for (const modifier of keys.reverse()) await this.page.keyboard.up(modifier);
  }

  close() { return this.page.close(); }
}
