// The start: the core comes up, the title window shows, and from then on
// only the user's events run. window.vorel lets the tests and the benchmark
// reach the windows.
import { Form2 } from './form2.js';

const core = await createVorel();
const title = new Form2(core);
title.show();
window.vorel = { core, title };
requestAnimationFrame(() => requestAnimationFrame(() => performance.mark('vorel-title-painted')));
