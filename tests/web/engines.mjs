// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// One way to drive the page in Debian's three engines, so that a test written once runs in each:
// Chromium through playwright-core, Firefox ESR through puppeteer-core over WebDriver BiDi, and
// WebKitGTK's MiniBrowser through WebKitWebDriver, spoken to here over plain HTTP (W3C
// WebDriver). Every page, context and browser has the same few calls, named as Playwright's.
// Nothing here sleeps: each wait asks the page itself until the thing waited for is there.
import { spawn } from 'node:child_process';
import { EventEmitter } from 'node:events';
import { writeFile } from 'node:fs/promises';
import { request } from 'node:http';
import { createServer } from 'node:net';
import { launchChromium } from './serve.mjs';

export const engines = process.env.PIKOMARU_ENGINES?.split(',').map((e) => e.trim()).filter(Boolean)
  ?? ['chromium', 'firefox', 'webkit'];

// The longest any wait of a test waits, on a machine as busy as the test run makes it.
const kPatience = Number(process.env.PIKOMARU_PATIENCE ?? 60_000);

// An expression calling `fn` on `arg`, for any engine to evaluate.
const call = (fn, arg) => `(${fn})(${arg === undefined ? '' : JSON.stringify(arg)})`;

// An expression that waits in the page until `fn(arg)` is truthy and is that value. It asks
// again at each turn of the page's real timers (the test's clock may have stopped the page's).
function waiting(fn, arg, what) {
  return `new Promise((resolve, reject) => {
    const real = globalThis.testClock?.real ?? { setTimeout, Date };
    const until = real.Date.now() + ${kPatience};
    const check = () => {
      let value;
      try { value = ${call(fn, arg)}; } catch (error) { reject(error); return; }
      if (value) resolve(value);
      else if (real.Date.now() > until) reject(new Error(${JSON.stringify(`waited ${kPatience / 1000} s for ${what}`)}));
      else real.setTimeout.call(globalThis, check, 10);
    };
    check();
  })`;
}

// Where `css` is, the first element that matches it.
class Locator {
  constructor(page, css) {
    this.page = page;
    this.css = css;
  }

  evaluate(fn, arg) {
    return this.page.driver.evaluate(`((e) => e ? (${fn})(e, ${arg === undefined ? 'undefined' : JSON.stringify(arg)})
      : (() => { throw new Error(${JSON.stringify(`nothing matches ${this.css}`)}); })())(document.querySelector(${JSON.stringify(this.css)}))`);
  }

  count() {
    return this.page.evaluate((css) => document.querySelectorAll(css).length, this.css);
  }

  isVisible() {
    return this.page.evaluate((css) => Boolean(document.querySelector(css)?.checkVisibility({ visibilityProperty: true })), this.css);
  }

  async waitFor({ state = 'visible' } = {}) {
    const test = {
      attached: (css) => document.querySelector(css) !== null,
      detached: (css) => document.querySelector(css) === null,
      visible: (css) => Boolean(document.querySelector(css)?.checkVisibility({ visibilityProperty: true })),
      hidden: (css) => !document.querySelector(css)?.checkVisibility({ visibilityProperty: true }),
    }[state];
    await this.page.driver.evaluate(waiting(test, this.css, `${this.css} ${state}`));
  }

  boundingBox() {
    return this.page.evaluate((css) => {
      const e = document.querySelector(css);
      if (!e) return null;
      const { x, y, width, height } = e.getBoundingClientRect();
      return { x, y, width, height };
    }, this.css);
  }

  textContent() {
    return this.evaluate((e) => e.textContent);
  }

  getAttribute(name) {
    return this.evaluate((e, n) => e.getAttribute(n), name);
  }

  // A press of the mouse in the middle of the element, once it shows, brought into view.
  async click(options) {
    await this.waitFor();
    const box = await this.page.driver.evaluate(waiting((css) => {
      const e = document.querySelector(css);
      let b = e.getBoundingClientRect();
      if (b.left < 0 || b.top < 0 || b.right > innerWidth || b.bottom > innerHeight) {
        e.scrollIntoView({ block: 'nearest', inline: 'nearest' });
        b = e.getBoundingClientRect();
      }
      return b.width > 0 && b.height > 0 && { x: b.left + b.width / 2, y: b.top + b.height / 2 };
    }, this.css, `a box of ${this.css}`));
    await this.page.mouse.click(box.x, box.y, options);
  }
}

// One page of one engine, over its driver: evaluate(expression), goto, reload, input, viewport,
// screenshot and close.
class Page extends EventEmitter {
  constructor(driver) {
    super();
    this.driver = driver;
    driver.hear?.(this);
    this.closed = false;
    this.lastErrors = [];
    this.mouse = {
      click: (x, y, { button = 'left' } = {}) => driver.mouse('click', x, y, button),
      move: (x, y) => driver.mouse('move', x, y),
      down: ({ button = 'left' } = {}) => driver.mouse('down', null, null, button),
      up: ({ button = 'left' } = {}) => driver.mouse('up', null, null, button),
    };
    this.touchscreen = { tap: (x, y) => driver.tap(x, y) };
    this.keyboard = { press: (key) => driver.press(key), type: (text) => driver.type(text) };
  }

  // The engine's own page (Playwright's, puppeteer's, or the WebDriver window), for what only
  // one engine has.
  get raw() { return this.driver.raw; }
  goto(url) { return this.driver.goto(url); }
  reload() { return this.driver.reload(); }
  evaluate(fn, arg) { return this.driver.evaluate(call(fn, arg)); }
  waitForFunction(fn, arg) { return this.driver.evaluate(waiting(fn, arg, `${fn.name || 'a function'} of ${JSON.stringify(arg)}`)); }
  locator(css) { return new Locator(this, css); }
  setViewportSize({ width, height }) { return this.driver.viewport(width, height); }
  screenshot({ path }) { return this.driver.screenshot(path); }
  isClosed() { return this.closed; }

  // The page's uncaught errors, unhandled rejections and console errors so far (of the
  // collector served into the page); of a closed page, those it had when it was closed.
  async errors() {
    if (this.closed) return this.lastErrors;
    return (this.lastErrors = await this.driver.evaluate('globalThis.testErrors?.slice() ?? []'));
  }

  async close({ runBeforeUnload = false } = {}) {
    if (this.closed) return;
    await this.errors().catch(() => {});
    await this.driver.close(runBeforeUnload, this);
  }

  // Called by the driver when the page has gone.
  gone() {
    if (this.closed) return;
    this.closed = true;
    this.emit('close');
  }
}

// Chromium (Playwright's page beneath) and Firefox (puppeteer's, over WebDriver BiDi): their
// pages answer alike but for the keys and the viewport, given here for each.
function pageDriver(page, press, viewport) {
  return {
    raw: page,
    evaluate: (expression) => page.evaluate(expression),
    goto: (url) => page.goto(url),
    reload: () => page.reload(),
    mouse: (what, x, y, button) => (what === 'click' ? page.mouse.click(x, y, { button })
      : what === 'move' ? page.mouse.move(x, y) : page.mouse[what]({ button })),
    tap: (x, y) => page.touchscreen.tap(x, y),
    press,
    type: (text) => page.keyboard.type(text),
    viewport,
    screenshot: (path) => page.screenshot({ path }),
    hear(owner) {
      page.once('close', () => owner.gone());
      page.on('dialog', (dialog) => owner.emit('dialog', dialog));
    },
    close: (runBeforeUnload) => page.close({ runBeforeUnload }),
  };
}

function chromiumDriver(page) {
  return pageDriver(page, (key) => page.keyboard.press(key),
    (width, height) => page.setViewportSize({ width, height }));
}

// Firefox's keys take a key at a time, so a chord (Shift+Tab) is held and let go here.
function firefoxDriver(page) {
  const chord = async (key) => {
    const keys = key === '+' ? ['+'] : key.split('+');
    const main = keys.pop();
    for (const k of keys) await page.keyboard.down(k);
    await page.keyboard.press(main);
    for (const k of keys.reverse()) await page.keyboard.up(k);
  };
  return pageDriver(page, chord, (width, height) => page.setViewport({ width, height, hasTouch: page.touchable }));
}

async function launchPlaywright() {
  const browser = await launchChromium();
  return {
    raw: browser,
    lacks: {},
    async newContext(options = {}) {
      const context = await browser.newContext({ viewport: { width: 1024, height: 768 }, ...options });
      return {
        raw: context,
        newPage: async () => new Page(chromiumDriver(await context.newPage())),
        close: () => context.close(),
      };
    },
    close: () => browser.close(),
  };
}

async function launchPuppeteer() {
  const { default: puppeteer } = await import('puppeteer-core');
  // Headless: with a window, BiDi's Enter and Space reach a button only while the window has
  // the system's focus.
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.PIKOMARU_FIREFOX ?? '/usr/bin/firefox-esr',
    headless: true,
    // A tap is a tap however long a busy machine takes between its touch and its release: a
    // release later than Firefox's tap time (300 ms) or its long press clicks nothing.
    extraPrefsFirefox: { 'network.proxy.type': 0, 'app.update.enabled': false, 'browser.shell.checkDefaultBrowser': false,
      'apz.max_tap_time': 600000, 'ui.click_hold_context_menus.delay': 600000 },
  });
  return {
    raw: browser,
    lacks: {},
    async newContext({ viewport = { width: 1024, height: 768 }, hasTouch = false } = {}) {
      const context = await browser.createBrowserContext();
      return {
        raw: context,
        async newPage() {
          // Keys reach only the page that has the browser's focus: one page at a time of a
          // Firefox takes keys (a test runs two Firefoxes to play two pages at once).
          const page = await context.newPage();
          page.setDefaultTimeout(kPatience);
          page.touchable = hasTouch;
          await page.setViewport({ ...viewport, hasTouch });
          // In front: Firefox draws no frames for a page behind another.
          await page.bringToFront();
          return new Page(firefoxDriver(page));
        },
        close: () => context.close(),
      };
    },
    close: () => browser.close(),
  };
}

// --- WebKitGTK: MiniBrowser under WebKitWebDriver, on an X server of its own ---

const kWebKitKeys = {
  Enter: '\uE007', Tab: '\uE004', Escape: '\uE00C', Backspace: '\uE003', Delete: '\uE017', Shift: '\uE008',
  Control: '\uE009', Alt: '\uE00A', ArrowLeft: '\uE012', ArrowUp: '\uE013', ArrowRight: '\uE014',
  ArrowDown: '\uE015', Home: '\uE011', End: '\uE010', Space: ' ',
};

// A free port of this machine for the driver to listen on.
function freePort() {
  return new Promise((resolve, reject) => {
    const probe = createServer().once('error', reject).listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// An X server on a display it chooses itself; resolves once it reports the display, which it
// does when it takes connections.
function startXvfb() {
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1920x1400x24', '-nolisten', 'tcp', '-noreset'],
    { stdio: ['ignore', 'ignore', 'pipe', 'pipe'] });
  let log = '';
  xvfb.stderr.on('data', (d) => { log += d; });
  return new Promise((resolve, reject) => {
    let said = '';
    xvfb.stdio[3].on('data', (d) => {
      said += d;
      if (said.includes('\n')) resolve({ display: `:${said.trim()}`, process: xvfb });
    });
    xvfb.once('exit', (code) => reject(new Error(`Xvfb ended (${code}) before reporting a display: ${log}`)));
  });
}

function http(port, method, path, body) {
  return new Promise((resolve, reject) => {
    const data = body === undefined ? undefined : Buffer.from(JSON.stringify(body));
    const req = request({ host: '127.0.0.1', port, method, path, headers: data ? { 'Content-Type': 'application/json', 'Content-Length': data.length } : {} }, (res) => {
      const chunks = [];
      res.on('data', (c) => chunks.push(c));
      res.on('end', () => {
        const text = Buffer.concat(chunks).toString('utf8');
        let json = null;
        try { json = JSON.parse(text); } catch { /* not JSON */ }
        resolve({ status: res.statusCode, json, text });
      });
    });
    req.once('error', reject);
    req.end(data);
  });
}

// What this process started, ended with it however it ends: a test that fails before it closes
// its browser leaves no X server or driver behind.
const started = new Set();
process.once('exit', () => started.forEach((child) => child.kill()));
for (const [signal, number] of [['SIGINT', 2], ['SIGTERM', 15]]) {
  process.once(signal, () => process.exit(128 + number)); // the 'exit' above runs then too
}
const own = (child) => {
  started.add(child);
  child.once('exit', () => started.delete(child));
  return child;
};

async function launchWebKit() {
  const x = await startXvfb();
  own(x.process);
  const port = await freePort();
  const driver = own(spawn(process.env.PIKOMARU_WEBKITDRIVER ?? '/usr/bin/WebKitWebDriver', [`--port=${port}`],
    { stdio: ['ignore', 'ignore', 'inherit'], env: { ...process.env, DISPLAY: x.display } }));
  const ended = new Promise((resolve) => driver.once('exit', resolve));
  // The driver takes connections a moment after it starts: asked until it answers.
  for (const until = Date.now() + kPatience; ;) {
    const status = await http(port, 'GET', '/status').catch(() => null);
    if (status?.status === 200) break;
    if (driver.exitCode !== null || Date.now() > until) throw new Error('WebKitWebDriver did not answer');
    await new Promise((retry) => setTimeout(retry, 20));
  }
  const binary = process.env.PIKOMARU_MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
  const sessions = new Set();

  // One WebDriver session, one MiniBrowser: a context of its own (storage, service workers).
  async function newSession() {
    const made = await http(port, 'POST', '/session', {
      capabilities: { alwaysMatch: { browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary, args: ['--automation'] } } },
    });
    if (made.status !== 200) throw new Error(`no WebKit session: ${made.text}`);
    const id = made.json.value.sessionId;
    let current = null;
    const session = {
      id,
      async send(method, path, body, handle) {
        if (handle && handle !== current) {
          await session.send('POST', '/window', { handle });
          current = handle;
        }
        const r = await http(port, method, `/session/${id}${path}`, body);
        if (r.status !== 200) {
          const e = r.json?.value;
          throw new Error(`WebKit ${method} ${path}: ${e?.error ?? r.status} ${e?.message ?? r.text}`);
        }
        return r.json?.value;
      },
      async close() {
        sessions.delete(session);
        await http(port, 'DELETE', `/session/${id}`).catch(() => {});
      },
    };
    current = await session.send('GET', '/window');
    await session.send('POST', '/timeouts', { script: kPatience * 2, pageLoad: kPatience });
    sessions.add(session);
    return [session, current];
  }

  function webkitDriver(session, handle, touch) {
    const send = (method, path, body) => session.send(method, path, body, handle);
    const actions = (source, ...list) => send('POST', '/actions', { actions: [{ ...source, actions: list }] });
    const mouse = { type: 'pointer', id: 'mouse', parameters: { pointerType: 'mouse' } };
    const kButtons = { left: 0, middle: 1, right: 2 };
    const at = (x, y) => ({ type: 'pointerMove', duration: 0, origin: 'viewport', x: Math.round(x), y: Math.round(y) });
    const keyOf = (k) => kWebKitKeys[k] ?? kWebKitKeys[{ ' ': 'Space' }[k]] ?? k;
    const self = {
      handle,
      async evaluate(expression) {
        const r = await send('POST', '/execute/async', {
          script: `const done = arguments[arguments.length - 1];
            Promise.resolve().then(() => ${expression}).then((value) => done({ value: value === undefined ? null : value }),
              (error) => done({ error: String(error?.stack ?? error) }));`,
          args: [],
        });
        if (r.error) throw new Error(r.error);
        return r.value;
      },
      goto: (url) => send('POST', '/url', { url }),
      reload: () => send('POST', '/refresh', {}),
      mouse(what, x, y, button) {
        if (what === 'move') return actions(mouse, at(x, y));
        const b = { button: kButtons[button] };
        if (what === 'down') return actions(mouse, { type: 'pointerDown', ...b });
        if (what === 'up') return actions(mouse, { type: 'pointerUp', ...b });
        return actions(mouse, at(x, y), { type: 'pointerDown', ...b }, { type: 'pointerUp', ...b });
      },
      tap: (x, y) => actions({ type: 'pointer', id: 'finger', parameters: { pointerType: touch ? 'touch' : 'mouse' } },
        at(x, y), { type: 'pointerDown', button: 0 }, { type: 'pointerUp', button: 0 }),
      press(key) {
        const keys = (key === '+' ? ['+'] : key.split('+')).map(keyOf);
        return actions({ type: 'key', id: 'keys' }, ...keys.map((value) => ({ type: 'keyDown', value })),
          ...keys.reverse().map((value) => ({ type: 'keyUp', value })));
      },
      type: (text) => actions({ type: 'key', id: 'keys' },
        ...[...text].flatMap((value) => [{ type: 'keyDown', value }, { type: 'keyUp', value }])),
      // The window's outer size set until its inner one (the page's viewport) is as asked.
      async viewport(width, height) {
        for (let tries = 0; tries < 4; ++tries) {
          const [w, h] = await self.evaluate('[innerWidth, innerHeight]');
          if (w === width && h === height) return;
          const rect = await send('GET', '/window/rect');
          await send('POST', '/window/rect', { width: rect.width + width - w, height: rect.height + height - h });
          const resized = `new Promise((resolve) => {
            const real = globalThis.testClock?.real ?? { setTimeout };
            const check = () => (innerWidth === ${width} && innerHeight === ${height} ? resolve() : real.setTimeout.call(globalThis, check, 10));
            check(); real.setTimeout.call(globalThis, resolve, 2000);
          })`;
          await self.evaluate(resized);
        }
        const [w, h] = await self.evaluate('[innerWidth, innerHeight]');
        throw new Error(`WebKit's viewport is ${w}×${h} for ${width}×${height}`);
      },
      // Taken once the page has been drawn as it is now: WebKit takes what it last drew.
      async screenshot(path) {
        await self.evaluate(`new Promise((drawn) => {
          const frame = (globalThis.testClock?.real ?? globalThis).requestAnimationFrame.bind(globalThis);
          frame(() => frame(drawn));
        })`);
        await writeFile(path, Buffer.from(await send('GET', '/screenshot'), 'base64'));
      },
      // A classic WebDriver session has no prompt before the page goes. In its place the page
      // is given a cancelable beforeunload event: when it cancels it, that is the question the
      // browser would ask (a 'dialog' answered by accept or dismiss); then the window closes.
      async close(runBeforeUnload, owner) {
        const closeWindow = async () => {
          await send('DELETE', '/window').catch(() => {});
          owner.gone();
        };
        const asks = runBeforeUnload && await self.evaluate(`(() => {
          const event = new Event('beforeunload', { cancelable: true });
          dispatchEvent(event);
          return event.defaultPrevented;
        })()`);
        if (!asks) return closeWindow();
        owner.emit('dialog', { type: () => 'beforeunload', accept: closeWindow, dismiss: async () => {} });
      },
    };
    return self;
  }

  return {
    // What this engine's driver cannot give the page, and why, for a test to name what it leaves
    // out. WebKitGTK's driver gives a touch as a mouse's pointer (the page sees pointerType
    // 'mouse', no touch events).
    lacks: {
      buttons: "WebKitGTK's driver gives a right press as a left click, a middle press without its release",
      narrowerThan: [460, "MiniBrowser's window, with its toolbar, is not made narrower than about 450 pixels"],
    },
    async newContext({ viewport = { width: 1024, height: 768 }, hasTouch = false } = {}) {
      const [session, first] = await newSession();
      let unused = first;
      return {
        raw: session,
        async newPage() {
          const handle = unused ?? (await session.send('POST', '/window/new', { type: 'window' })).handle;
          unused = null;
          const driver = webkitDriver(session, handle, hasTouch);
          await driver.goto('about:blank');
          await driver.viewport(viewport.width, viewport.height);
          return new Page(driver);
        },
        close: () => session.close(),
      };
    },
    async close() {
      await Promise.all([...sessions].map((s) => s.close()));
      driver.kill();
      await ended;
      x.process.kill();
      await new Promise((resolve) => (x.process.exitCode !== null ? resolve() : x.process.once('exit', resolve)));
    },
  };
}

// The engine's browser, headless or on an X server of its own.
export function launch(engine) {
  const launcher = { chromium: launchPlaywright, firefox: launchPuppeteer, webkit: launchWebKit }[engine];
  if (!launcher) throw new Error(`no engine ${engine} (chromium, firefox, webkit)`);
  return launcher();
}
