// WebKitGTK through WebKitWebDriver (Debian's webkit2gtk-driver), which
// drives its MiniBrowser on an Xvfb display of our own. The client is the
// few W3C WebDriver commands the tests need, over fetch.
import { execFileSync, spawn } from 'node:child_process';
import { existsSync, mkdirSync, readdirSync } from 'node:fs';
import { createServer } from 'node:net';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { EnginePage, callText, kViewport } from './index.mjs';

const root = fileURLToPath(new URL('../../..', import.meta.url));
const kElement = 'element-6066-11e4-a52e-4f735466cecf';

// The driver's key codes (W3C WebDriver, "keyboard actions").
const kKeys = {
  Shift: '\uE008', Alt: '\uE00A', Tab: '\uE004', Enter: '\uE007', Space: '\uE00D', Escape: '\uE00C',
  PageUp: '\uE00E', PageDown: '\uE00F', End: '\uE010', Home: '\uE011',
  ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014', ArrowDown: '\uE015',
};

export function miniBrowserPath() {
  if (process.env.VOREL_MINIBROWSER) return process.env.VOREL_MINIBROWSER;
  for (const arch of readdirSync('/usr/lib')) {
    let dirs = [];
    try { dirs = readdirSync(join('/usr/lib', arch)).filter((d) => /^webkit2gtk-4\.\d+$/.test(d)).sort().reverse(); } catch { continue; }
    for (const d of dirs) {
      const path = join('/usr/lib', arch, d, 'MiniBrowser');
      if (existsSync(path)) return path;
    }
  }
  throw new Error('MiniBrowser not found: install webkit2gtk-driver');
}

// WebKitGTK takes the page's language from the C library's locale: under C
// or C.UTF-8 it reports "C", and an uninstalled locale falls back to that.
// Spanish, as the class's machines: the system's es_ES.UTF-8 if it has one,
// otherwise compiled once from Debian's locale sources into build/locale
// (no change to the system, nor root needed).
function spanishLocale() {
  const env = { LANG: 'es_ES.UTF-8', LC_ALL: 'es_ES.UTF-8', LANGUAGE: 'es_ES' };
  const installed = execFileSync('locale', ['-a'], { encoding: 'utf8' }).split('\n');
  if (installed.some((l) => /^es_ES\.utf-?8$/i.test(l))) return env;
  const dir = join(root, 'build/locale');
  if (!existsSync(join(dir, 'es_ES.UTF-8/LC_CTYPE'))) {
    mkdirSync(dir, { recursive: true });
    // localedef exits 1 on warnings that do not matter here.
    try { execFileSync('localedef', ['-i', 'es_ES', '-f', 'UTF-8', join(dir, 'es_ES.UTF-8')], { stdio: 'pipe' }); } catch (error) {
      if (!existsSync(join(dir, 'es_ES.UTF-8/LC_CTYPE'))) throw new Error(`localedef failed (package locales?): ${error.stderr}`);
    }
  }
  return { ...env, LOCPATH: dir };
}

// An X display of our own: Xvfb picks a free number and writes it to fd 3.
function startXvfb() {
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp'],
    { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
  let stderr = '';
  xvfb.stderr.on('data', (b) => { stderr += b; });
  return new Promise((resolve, reject) => {
    let out = '';
    xvfb.stdio[3].on('data', (b) => {
      out += b;
      if (out.includes('\n')) resolve({ process: xvfb, display: `:${out.trim()}` });
    });
    xvfb.on('exit', (code) => reject(new Error(`Xvfb exited with ${code}: ${stderr}`)));
    xvfb.on('error', reject);
  });
}

function freePort() {
  return new Promise((resolve, reject) => {
    const server = createServer();
    server.on('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

async function request(base, method, path, body) {
  const response = await fetch(base + path, {
    method, headers: { 'content-type': 'application/json; charset=utf-8' },
    body: body === undefined ? undefined : JSON.stringify(body),
  });
  const reply = await response.json();
  if (!response.ok) throw new Error(`WebDriver ${method} ${path}: ${reply.value?.error}: ${reply.value?.message}`);
  return reply.value;
}

export async function launch() {
  const children = [];
  const stop = () => { for (const child of children.reverse()) if (child.exitCode === null) child.kill(); };
  process.once('exit', stop);
  try {
    const x = await startXvfb();
    children.push(x.process);
    const port = await freePort();
    // Our display even inside a desktop session, Wayland's included.
    const env = { ...process.env, DISPLAY: x.display, GDK_BACKEND: 'x11', ...spanishLocale() };
    delete env.WAYLAND_DISPLAY;
    const driver = spawn(process.env.VOREL_WEBKITDRIVER ?? 'WebKitWebDriver', [`--port=${port}`], { env, stdio: 'ignore' });
    children.push(driver);
    const base = `http://127.0.0.1:${port}`;
    for (let tries = 0; ; ++tries) {
      try { if ((await request(base, 'GET', '/status')).ready) break; } catch (error) {
        if (tries > 100 || driver.exitCode !== null) throw error;
      }
      await new Promise((resolve) => setTimeout(resolve, 100));
    }
    const session = await request(base, 'POST', '/session', {
      capabilities: { alwaysMatch: { browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary: miniBrowserPath(), args: ['--automation'] } } },
    });
    const call = (method, path, body) => request(base, method, `/session/${session.sessionId}${path}`, body);
    await fitViewport(call);
    return {
      name: 'webkit',
      version: session.capabilities.browserVersion,
      supportsInit: false,
      async open(url, { init } = {}) {
        if (init) throw new Error('WebKit: no script can run before the page\'s own through classic WebDriver');
        await call('POST', '/url', { url });
        const page = new WebKitPage(call);
        await page.evaluate(watchErrors);
        return page;
      },
      async close() {
        try { await call('DELETE', ''); } finally { stop(); process.off('exit', stop); }
      },
    };
  } catch (error) {
    stop();
    process.off('exit', stop);
    throw error;
  }
}

// MiniBrowser's window has a tool bar: size the window so that what the page
// gets is the viewport asked for.
async function fitViewport(call) {
  const inner = () => call('POST', '/execute/sync', { script: 'return [innerWidth, innerHeight]', args: [] });
  let [width, height] = [kViewport.width, kViewport.height];
  for (let tries = 0; tries < 3; ++tries) {
    await call('POST', '/window/rect', { width, height });
    const [w, h] = await inner();
    if (w === kViewport.width && h === kViewport.height) return;
    width += kViewport.width - w;
    height += kViewport.height - h;
  }
  throw new Error(`WebKit: could not size the viewport to ${kViewport.width} x ${kViewport.height}`);
}

// Runs in the page: from now on, keeps its uncaught errors.
function watchErrors() {
  const errors = (window.__engineErrors = []);
  window.addEventListener('error', (e) => errors.push(e.message));
  window.addEventListener('unhandledrejection', (e) => errors.push(String(e.reason && e.reason.message || e.reason)));
}

class WebKitPage extends EnginePage {
  constructor(call) {
    super(null, null);
    this.call = call;
  }

  async evaluate(fn, ...args) {
    // The async form, so that a function may return a promise.
    const script = `const done = arguments[arguments.length - 1];
      Promise.resolve().then(() => ${callText(fn, args)})
        .then((value) => done({ value: value === undefined ? null : value }),
          (error) => done({ error: String(error && error.stack || error) }));`;
    const reply = await this.call('POST', '/execute/async', { script, args: [] });
    if (reply.error) throw new Error(`in the page: ${reply.error}`);
    return reply.value;
  }

  async click(selector) {
    const element = await this.call('POST', '/element', { using: 'css selector', value: selector });
    await this.call('POST', `/element/${element[kElement]}/click`, {});
  }

  async press(key) {
    const codes = key.split('+').map((k) => kKeys[k] ?? (k.length === 1 ? k : undefined));
    if (codes.includes(undefined)) throw new Error(`WebKit: no code for the key ${key}`);
    const actions = [...codes.map((value) => ({ type: 'keyDown', value })),
      ...codes.reverse().map((value) => ({ type: 'keyUp', value }))];
    await this.call('POST', '/actions', { actions: [{ type: 'key', id: 'keyboard', actions }] });
  }

  errors() { return this.evaluate(() => window.__engineErrors.slice()); }
  async close() { await this.call('POST', '/url', { url: 'about:blank' }); }
}
