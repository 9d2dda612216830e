// The start. The title window is already in the page, painted from its
// markup: it answers at once. The core is compiled only after that first
// paint, and then the main window can be built. window.vorel lets the tests
// and the benchmark reach the windows once the core is there.
import { Form2 } from './form2.js';
import { endProgram, programEnded } from './window.js';

performance.mark('vorel-script');
const title = new Form2(JSON.parse(document.getElementById('vorel-title-table').textContent));
title.show();
performance.mark('vorel-title-built');
// The core is started once the screen shows the title (the browser's first
// contentful paint), so that compiling it does not hold that paint back.
// Where the browser does not report paints, the start of the frame after
// the one that painted the title is taken instead, and a paint that is
// never reported waits no longer than kPaintWait.
const kPaintWait = 100; // ms
requestAnimationFrame(() => requestAnimationFrame(() => {
  performance.mark('vorel-title-painted');
  afterFirstPaint(() => {
    // The rest of the page (the core's glue and its WebAssembly as text) is
    // read by then, as the parser goes on while the title shows.
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', startCore);
    else startCore();
  });
}));

function afterFirstPaint(then) {
  const painted = () => performance.getEntriesByName('first-contentful-paint').length > 0;
  const reported = typeof PerformanceObserver === 'function' && PerformanceObserver.supportedEntryTypes
    && PerformanceObserver.supportedEntryTypes.indexOf('paint') >= 0;
  if (!reported || painted()) {
    then();
    return;
  }
  let done = false;
  const once = () => {
    if (done) return;
    done = true;
    observer.disconnect();
    clearTimeout(timer);
    then();
  };
  const timer = setTimeout(once, kPaintWait);
  const observer = new PerformanceObserver(() => { if (painted()) once(); });
  observer.observe({ entryTypes: ['paint'] }); // `type` alone came later than paints
}

// A "Salir" may come before the core starts or while it compiles: then
// the core is not started, or is let go once compiled.
function startCore() {
  if (programEnded()) return;
  performance.mark('vorel-core-start');
  vorelGlue()({ wasmBinary: fromBase64(document.getElementById('vorel-core').textContent) }).then((core) => {
    performance.mark('vorel-core-ready');
    if (programEnded()) return;
    window.vorel = { core, title };
    title.coreReady(core);
  }, (error) => {
    if (programEnded()) return;
    // A browser that refuses WebAssembly (too old, or a policy that forbids
    // it) cannot run the program: say so rather than wait for ever.
    endProgram('Este navegador no puede ejecutar el programa: no permite WebAssembly.');
    throw error;
  });
}

function fromBase64(text) {
  if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
  const binary = atob(text);
  const bytes = new Uint8Array(binary.length);
  for (let i = 0; i < binary.length; ++i) bytes[i] = binary.charCodeAt(i);
  return bytes;
}
