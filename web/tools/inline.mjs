// Makes the one-file page: the compiled core, the page's modules, the
// picture, the icon and the title window go inline into page.html, so that
// the file runs from disk with no server and asks the network for nothing.
//   node inline.mjs --page page.html --glue vorel_web.js --wasm vorel_web.wasm
//                   --picture picture.png --icon icon.png --out vorel.html
//                   --first fit.js module.js...
// The title window is written as markup from the windows' table in the
// core itself: the glue runs here under Node, and the page's own markup.js
// turns the table into HTML, so the page paints it before the core is even
// compiled, placed by the small first script in the page's head.
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { pathToFileURL } from 'node:url';
import vm from 'node:vm';

const args = process.argv.slice(2);
const option = (name) => {
  const i = args.indexOf(name);
  if (i < 0 || i + 1 >= args.length) throw new Error(`missing ${name}`);
  const value = args[i + 1];
  args.splice(i, 2);
  return value;
};
const page = readFileSync(option('--page'), 'utf8');
const glue = readFileSync(option('--glue'), 'utf8');
const wasmBytes = readFileSync(option('--wasm'));
const picture = readFileSync(option('--picture')).toString('base64');
const icon = readFileSync(option('--icon')).toString('base64');
const out = option('--out');
const firstFile = option('--first');

// The modules become one classic script, in one function's scope: their
// top-level names share it, and the imports between them are already
// satisfied by the order. A classic script runs where it stands, right
// after the title window's markup, so the title answers from the start.
// The module that places the first window runs on its own in the page's
// head, before the window is in the page, and hands what it exports to the
// other modules through one global.
const first = readFileSync(firstFile, 'utf8');
if (/^import\s/m.test(first)) fail(`${firstFile} runs first: it may import nothing`);
const firstNames = [...first.matchAll(/^export\s+(?:function|const|let|class)\s+(\w+)/gm)].map((m) => m[1]);
const firstGlobal = 'vorelFirst';

const modules = `const { ${firstNames.join(', ')} } = window.${firstGlobal};\n` + args.filter((file) => file !== firstFile).map((file) => {
  const source = readFileSync(file, 'utf8')
    .replace(/^import\s[^;]*;\s*$/gm, '')
    .replace(/^export\s+(default\s+)?/gm, '');
  return `// ${file.split('/').pop()}\n${source}`;
}).join('\n');
checkOneScope(modules);

// Two modules that declare the same top-level name would clash in the one
// scope. Parsed as a module, the joined script makes such a clash an error
// (a `var` would merge silently, so none may stand at the top level), and
// the build stops here rather than the page at its start.
function checkOneScope(code) {
  const top = code.match(/^var\s.*$/m);
  if (top) fail(`a top-level var would merge with a namesake: ${top[0]}`);
  const folder = mkdtempSync(join(tmpdir(), 'vorel-inline-'));
  const joined = join(folder, 'modules.mjs');
  writeFileSync(joined, code);
  let problem = '';
  try {
    execFileSync(process.execPath, ['--check', joined], { stdio: ['ignore', 'ignore', 'pipe'] });
  } catch (error) {
    problem = String(error.stderr);
  } finally {
    rmSync(folder, { recursive: true, force: true });
  }
  if (!problem) return;
  const line = Number(/modules\.mjs:(\d+)/.exec(problem)?.[1] ?? 0);
  const file = code.split('\n').slice(0, line).reverse().find((l) => /^\/\/ \S+\.js$/.test(l));
  fail(`the joined modules do not parse as one module${file ? ` (at ${file.slice(3)})` : ''}:\n${problem}`);
}

function fail(message) {
  console.error(`inline.mjs: ${message}`);
  process.exit(1);
}

// The title window's table, from the core that the page will run.
const sandbox = vm.createContext({ console, WebAssembly, Promise, TextDecoder, setTimeout, clearTimeout });
vm.runInContext(`${glue}\nthis.createVorel = createVorel;`, sandbox);
const core = await sandbox.createVorel({ wasmBinary: new Uint8Array(wasmBytes) });
const titleTable = core.windowTable('Form2');
const markup = await import(pathToFileURL(args.find((file) => file.endsWith('/markup.js'))).href);

// A "</script" inside inlined code would end the script element early, and
// "<!--" would change how the parser reads the rest of it.
const safe = (code) => code.replace(/<\/script/gi, '<\\/script').replace(/<!--/g, '<\\!--');
// Each script that runs is allowed by the hash of its text, and by nothing
// else: an injected script, or one made from text, is refused.
const hashes = [];
const script = (code) => {
  const text = safe(code);
  hashes.push(`'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`);
  return `<script>${text}</script>`;
};

// Every text is final before its hash is taken.
const pictureUri = `data:image/png;base64,${picture}`;
const withPicture = (text) => text.split('PICTURE_DATA_URI').join(pictureUri);
const title = `${withPicture(markup.windowHtml(titleTable))}\n`
  + `<script id="vorel-title-table" type="application/json">${safe(JSON.stringify(titleTable))}</script>`;
const { width, height } = markup.windowSize(titleTable);
const firstScript = script(`(function () {\n'use strict';\n${first.replace(/^export\s+/gm, '')}\n`
  + `window.${firstGlobal} = { ${firstNames.join(', ')} };\nfitFirstWindow(${width}, ${height});\n}());\n`);
const main = script(`(function () {\n'use strict';\n${withPicture(modules)}\n}());\n`);
// The glue is wrapped in a function that nothing calls before the title
// screen has painted: the engine only skims it while the page loads, and
// compiles it when the core is started.
const coreScripts = `${script(`function vorelGlue() {\n${glue}\nreturn createVorel;\n}\n`)}\n`
  + `<script id="vorel-core" type="application/wasm-base64">${wasmBytes.toString('base64')}</script>`;
const escapeText = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;');

const html = page
  .replace('<!--FIRST-->', () => firstScript)
  .replace('<!--TITLE-->', () => title)
  .replace('<!--MODULES-->', () => main)
  .replace('<!--CORE-->', () => coreScripts)
  .replace('WINDOW_CAPTION', () => escapeText(titleTable.caption))
  .replace('PROGRAM_FONT', () => `${titleTable.fontPoints}pt ${markup.fontStack(titleTable.fontFamily)}`)
  .replace('SCRIPT_HASHES', () => hashes.join(' '))
  .replace('ICON_DATA_URI', () => `data:image/png;base64,${icon}`);
mkdirSync(dirname(out), { recursive: true });
writeFileSync(out, html);
