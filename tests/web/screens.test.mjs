// The screens as a user sees them, compared with approved pictures of the
// window alone: the title screen, the main screen after each plot, and the
// closing line, at pixel ratios 1 and 2, in Chromium with the fonts the
// scripts install. A failure writes the picture taken and its difference
// from the approved one to build/web-screens/. After a change that is meant,
//   VOREL_APPROVE=1 node --test tests/web/screens.test.mjs
// takes every picture again into tests/web/approved/: look at each before
// committing it.
import assert from 'node:assert/strict';
import { existsSync, mkdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { before, test } from 'node:test';
import { browserSuite, decodePng, kExample, open, setSliders } from './page.mjs';

const approvedFolder = fileURLToPath(new URL('approved', import.meta.url));
const failedFolder = fileURLToPath(new URL('../../build/web-screens', import.meta.url));
const approving = process.env.VOREL_APPROVE === '1';
// A channel may differ by this much, as text antialiasing does from one
// build of the font stack to the next; a missing line or glyph differs by far more.
const kTolerance = 48;

// One road through the program: each screen's name, how to get there
// from the one before, and what to take. Keys, not the mouse, so that the
// focused control shows its focus ring.
const kScreens = [
  ['title', [], '#Form2'],
  ['wave1', ['Enter', kExample, 'Command1'], '#Form1'],
  ['wave2', ['Command2'], '#Form1'],
  ['both', ['Command6'], '#Form1'],
  ['resultant', ['Command5'], '#Form1'],
  ['all', ['Command3'], '#Form1'],
  ['end', ['Command4', 'Tab', 'Enter'], 'main > p'], // "Regresar", then "Salir"
];

const suite = browserSuite();
before(() => rmSync(failedFolder, { recursive: true, force: true })); // no picture left from an earlier run

test('every screen looks as approved, at ratios 1 and 2', async () => {
  const failures = [];
  for (const ratio of [1, 2]) {
    const page = await open(suite.browser, { ratio });
    for (const [name, steps, selector] of kScreens) {
      for (const step of steps) {
        if (typeof step === 'object') await page.evaluate(setSliders, step);
        else if (step.startsWith('Command')) {
          await page.focus(`#Form1-${step}`);
          await page.keyboard.press('Enter');
        } else await page.keyboard.press(step);
      }
      const picture = await page.locator(selector).screenshot({ animations: 'disabled', caret: 'hide' });
      const file = `${name}-${ratio}x.png`;
      const approved = join(approvedFolder, file);
      if (approving) {
        mkdirSync(approvedFolder, { recursive: true });
        writeFileSync(approved, picture);
        continue;
      }
      if (!existsSync(approved)) {
        failures.push(`${file}: no approved picture`);
        writeFailed(file, picture);
        continue;
      }
      const result = await compare(page, readFileSync(approved), picture);
      if (result.differing > 0) {
        failures.push(`${file}: ${result.message}`);
        writeFailed(file, picture, result.difference);
      }
    }
  }
  assert.deepEqual(failures, [], `pictures taken and differences are in ${failedFolder}`);
});

function writeFailed(file, picture, difference) {
  mkdirSync(failedFolder, { recursive: true });
  writeFileSync(join(failedFolder, file), picture);
  if (difference) writeFileSync(join(failedFolder, file.replace(/\.png$/, '-difference.png')), difference);
}

// Both pictures are decoded by the browser; the difference shows the taken
// picture faded, with every pixel past the tolerance in magenta.
async function compare(page, approved, taken) {
  const [want, got] = [await decodePng(page, approved), await decodePng(page, taken)];
  if (want.width !== got.width || want.height !== got.height) {
    return { differing: 1, message: `${got.width} × ${got.height} against ${want.width} × ${want.height}` };
  }
  const shown = got.data;
  let differing = 0;
  for (let i = 0; i < shown.length; i += 4) {
    let delta = 0;
    for (let c = 0; c < 3; ++c) delta = Math.max(delta, Math.abs(shown[i + c] - want.data[i + c]));
    if (delta > kTolerance) {
      ++differing;
      shown.set([255, 0, 255, 255], i);
    } else {
      for (let c = 0; c < 3; ++c) shown[i + c] = 192 + (shown[i + c] >> 2);
    }
  }
  if (!differing) return { differing };
  // The browser encodes the difference as a PNG.
  const difference = await page.evaluate(({ width, height, base64 }) => {
    const canvas = document.createElement('canvas');
    [canvas.width, canvas.height] = [width, height];
    const bytes = Uint8ClampedArray.from(atob(base64), (c) => c.charCodeAt(0));
    canvas.getContext('2d').putImageData(new ImageData(bytes, width, height), 0, 0);
    return canvas.toDataURL('image/png').split(',')[1];
  }, { width: got.width, height: got.height, base64: Buffer.from(shown).toString('base64') });
  return { differing, message: `${differing} pixels differ`, difference: Buffer.from(difference, 'base64') };
}
