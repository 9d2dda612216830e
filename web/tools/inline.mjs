// Makes the one-file page: the compiled core, the page's ES modules and the
// picture go inline into page.html, so that the file runs from disk with no
// server and asks the network for nothing.
//   node inline.mjs --page page.html --glue vorel_web.js --wasm vorel_web.wasm
//                   --picture picture.png --out vorel.html module.js...
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';

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
const wasm = readFileSync(option('--wasm')).toString('base64');
const picture = readFileSync(option('--picture')).toString('base64');
const out = option('--out');

// The modules become one module script, in one scope: their top-level names
// share it, and the imports between them are already satisfied by the order.
const modules = args.map((file) => {
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

// A "</script" inside inlined code would end the script element early.
const safe = (code) => code.replace(/<\/script/gi, '<\\/script');

const html = page
  .replace('<!--CORE-->', () => `<script id="vorel-core" type="application/wasm-base64">${wasm}</script>\n`
                                + `<script>${safe(glue)}</script>`)
  .replace('<!--MODULES-->', () => `<script type="module">\n${safe(modules)}\n</script>`)
  .replace('PICTURE_DATA_URI', () => `data:image/png;base64,${picture}`);
mkdirSync(dirname(out), { recursive: true });
writeFileSync(out, html);
