// Makes the one-file page: the compiled core, the page's ES modules and the
// picture go inline into page.html, so that the file runs from disk with no
// server and asks the network for nothing.
//   node inline.mjs --page page.html --glue vorel_web.js --wasm vorel_web.wasm
//                   --picture picture.png --out vorel.html module.js...
import { readFileSync, writeFileSync, mkdirSync } from 'node:fs';
import { dirname } from 'node:path';

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

// The modules become one module script: each keeps its own top-level names,
// and the imports between them are already satisfied by the order.
const modules = args.map((file) => {
  const source = readFileSync(file, 'utf8')
    .replace(/^import\s[^;]*;\s*$/gm, '')
    .replace(/^export\s+(default\s+)?/gm, '');
  return `// ${file.split('/').pop()}\n${source}`;
}).join('\n');

// A "</script" inside inlined code would end the script element early.
const safe = (code) => code.replace(/<\/script/gi, '<\\/script');

const html = page
  .replace('<!--CORE-->', () => `<script id="vorel-core" type="application/wasm-base64">${wasm}</script>\n`
                                + `<script>${safe(glue)}</script>`)
  .replace('<!--MODULES-->', () => `<script type="module">\n${safe(modules)}\n</script>`)
  .replace('PICTURE_DATA_URI', () => `data:image/png;base64,${picture}`);
mkdirSync(dirname(out), { recursive: true });
writeFileSync(out, html);
