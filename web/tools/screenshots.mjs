// Takes the README's pictures of the browser edition in headless Chromium:
// the title screen, and the main screen after "Todas".
//   node web/tools/screenshots.mjs docs     (after scripts/web.sh and npm ci in tests/web)
import { resolve } from 'node:path';
import { launch, open, setSliders } from '../../tests/web/page.mjs';

const folder = resolve(process.argv[2] ?? 'docs');
const browser = await launch();
const page = await open(browser);
await page.locator('#Form2').screenshot({ path: resolve(folder, 'web-title.png') });
await page.click('#Form2-Command1');
await setSliders(page, { HScroll1: 20, HScroll2: 10, HScroll3: 10, HScroll4: 20, HScroll7: 100 });
await page.click('#Form1-Command3');
await page.locator('#Form1').screenshot({ path: resolve(folder, 'web-main.png') });
await browser.close();
