// The start: the core comes up, the title window shows, and from then on
// only the user's events run. window.vorel lets the tests and the benchmark
// reach the windows.
import { Form2 } from './form2.js';
import { fontStack } from './window.js';

performance.mark('vorel-script');
const core = await createVorel({ wasmBinary: fromBase64(document.getElementById('vorel-core').textContent) });
performance.mark('vorel-core-ready');
// The page's own line at the end is in the program's font too.
const { fontFamily, fontPoints } = core.windowTable('Form2');
document.body.style.font = `${fontPoints}pt ${fontStack(fontFamily)}`;
const title = new Form2(core);
title.show();
performance.mark('vorel-title-built');
window.vorel = { core, title };
// The first callback comes before the frame that paints the title screen,
// the second at the start of the next one: by then the page has painted
// it. The browser's first contentful paint counts from when the screen
// shows that frame, which may come later.
requestAnimationFrame(() => requestAnimationFrame(() => performance.mark('vorel-title-painted')));

function fromBase64(text) {
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  return bytes;
}
