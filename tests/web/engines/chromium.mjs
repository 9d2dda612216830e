// Chromium (Debian's) through playwright-core, launched and opened as the
// other browser tests do it.
import { launch as launchChromium, open } from '../page.mjs';
import { EnginePage, kViewport } from './index.mjs';

export async function launch() {
  const browser = await launchChromium();
  return {
    name: 'chromium',
    version: browser.version(),
    supportsInit: true,
    async open(url, { init } = {}) {
      const page = await open(browser, { url, init, device: { viewport: kViewport }, ready: false });
      return new ChromiumPage(page, page.errors);
    },
    close: () => browser.close(),
  };
}

class ChromiumPage extends EnginePage {
  press(key) { return this.page.keyboard.press(key); }
  close() { return this.page.context().close(); }
}
