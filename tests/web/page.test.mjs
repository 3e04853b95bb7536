// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The page in one of Debian's browsers (PIKOMARU_ENGINE: chromium, firefox or webkit), where the
// scenes cannot see: the devices' screens, either way up, taken by a finger, the browser's own
// menu, and offline after the first visit; and, in Chromium alone, what a screen reader gets from
// the accessibility tree, an input method, and a drill that cannot be loaded or run (Playwright's
// CDP session, routes and init scripts are Chromium's). Marks are waited for, never slept through;
// after each step every control is as the drill says.
import assert from 'node:assert/strict';
import { after, before, describe, test } from 'node:test';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { axeClean } from './axe.mjs';
import { launch } from './engines.mjs';
import { asPresented } from './presented.mjs';
import { kErrors, serve } from './serve.mjs';

const kSite = process.env.PIKOMARU_SITE;
const kEngine = process.env.PIKOMARU_ENGINE ?? 'chromium';
const kMarked = /^(せいかい|ちがう)　/;
const kSolve = {
  '＋': (a, b) => [a + b, 0], '－': (a, b) => [a - b, 0],
  '×': (a, b) => [a * b, 0], '÷': (a, b) => [Math.trunc(a / b), a % b],
};

let browser, server;
before(async () => {
  assert.ok(kSite, 'PIKOMARU_SITE names the built site folder');
  [browser, server] = await Promise.all([launch(kEngine), serve(kSite, { scripts: [kErrors] })]);
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// Runs `play` on the page in a fresh browser context; the page must log no error meanwhile.
async function withPage(options, play, url = server.url) {
  const context = await browser.newContext({ viewport: { width: 1024, height: 768 }, ...options });
  try {
    const page = await context.newPage();
    await page.goto(url);
    await page.locator('#Form1.ready').waitFor();
    await play(page);
    await asPresented(page);
    await axeClean(page, 'at the end of the test');
    assert.deepEqual(await page.errors(), []);
  } finally {
    await context.close();
  }
}

// A test of its own page.
const pageTest = (name, options, play) => test(name, () => withPage(options, play));

const el = (page, id) => page.locator(`[id="${id}"]`);
const nameOf = (page, r) => el(page, `Row(${r})`).getAttribute('aria-label');
const focused = (page) => page.evaluate(() => document.activeElement?.id);

// Chromium's accessibility tree of the page, as a screen reader gets it.
const sessions = new WeakMap();
async function accessibilityTree(page) {
  const raw = page.raw ?? page; // this layer's page, or Playwright's own
  if (!sessions.has(page)) sessions.set(page, await raw.context().newCDPSession(raw));
  return (await sessions.get(page).send('Accessibility.getFullAXTree')).nodes;
}

// The text of the live region in the accessibility tree.
async function heard(page) {
  const nodes = await accessibilityTree(page);
  const byId = new Map(nodes.map((n) => [n.nodeId, n]));
  const text = (n) => (n.role?.value === 'StaticText' ? n.name.value : (n.childIds ?? []).map((c) => text(byId.get(c))).join(''));
  return text(nodes.find((n) => n.properties?.some((p) => p.name === 'live' && p.value.value === 'assertive')));
}

// Row r's accessible name once it matches `pattern`.
async function rowName(page, r, pattern) {
  const named = ([id, source]) => new RegExp(source).test(document.getElementById(id).getAttribute('aria-label'));
  await page.waitForFunction(named, [`Row(${r})`, pattern.source]);
  await asPresented(page);
  return nameOf(page, r);
}

// The open row r as the pupil sees it: its problem's answer, the marks so far and which problem.
async function problem(page, r) {
  const name = await rowName(page, r, /^レベル .*＝$/);
  const [, n, marks, a, op, b] = name.match(/\(\s*(\d+)\) せいせき：(\S*) (\d+) ([＋－×÷]) (\d+) ＝$/);
  const [answer, remainder] = kSolve[op](Number(a), Number(b));
  return { n: Number(n), marks, answer: String(answer), remainder: String(remainder) };
}

// The key of row r's keypad that reads `d`.
const keyOf = (page, r, d) => page.evaluate(([r, d]) => [...document.getElementById(`Picture6(${r})`).querySelectorAll('[id]')]
  .find((key) => key.textContent === d).id, [r, d]);

// Presses the row's digits on its own keypad.
async function keypad(page, r, digits) {
  for (const d of digits) await el(page, await keyOf(page, r, d)).click();
}

// Presses by `press` with row r's name watched from just before, so that its mark is seen
// however briefly a busy machine lets the page show it; returns the name with the mark.
async function marked(page, r, press) {
  await page.evaluate((id) => {
    const row = document.getElementById(id);
    window.named?.disconnect();
    window.names = [];
    window.named = new MutationObserver(() => window.names.push(row.getAttribute('aria-label')));
    window.named.observe(row, { attributes: true, attributeFilter: ['aria-label'] });
  }, `Row(${r})`);
  await press();
  await asPresented(page);
  const seen = (source) => window.names.find((name) => new RegExp(source).test(name));
  await page.waitForFunction(seen, kMarked.source);
  return page.evaluate(seen, kMarked.source);
}

// Checks row r by `press`, waits out the mark and says whether it was せいかい.
async function check(page, r, press) {
  const name = await marked(page, r, press);
  await rowName(page, r, /^(?!せいかい　|ちがう　)/);
  return name.startsWith('せいかい');
}

async function choose(page, operation, option, decide) {
  for (const id of [`Command1(${operation})`, option, decide]) {
    await el(page, id).click();
    await asPresented(page);
  }
}

// Answers the message box; its text is what was asked, as a screen reader is given it: the
// description of the dialog that has the focus.
async function reply(page, button) {
  await page.locator('#Message[open]').waitFor();
  await asPresented(page);
  const dialog = (await accessibilityTree(page)).find((n) => n.role?.value === 'alertdialog' && !n.ignored);
  assert.ok(await page.evaluate(() => document.getElementById('Message').contains(document.activeElement)));
  await el(page, button).click();
  await page.locator('#Message[open]').waitFor({ state: 'detached' });
  await asPresented(page);
  return dialog.description?.value;
}

// One page at a time but in Chromium: Firefox draws no frames for a page in the background.
describe(`the page in ${kEngine}`, { concurrency: kEngine === 'chromium' }, () => {
  // A tablet either way up, a Chromebook, phones either way up; by touch where the engine has it
  // (WebKitGTK's driver gives a mouse's pointer in its place).
  test('the devices\' screens, either way up, and turned: every control inside, the drill taken and answered by a finger', async (t) => {
    const sizes = [[1180, 820], [820, 1180], [768, 1024], [1366, 768], [844, 390], [390, 844], [320, 568]];
    // A window narrower than the engine's narrowest is left out, and said so.
    const narrowest = browser.lacks.narrowerThan?.[0] ?? 0;
    const leftOut = (w, h, what) => {
      if (w >= narrowest) return false;
      t.diagnostic(`${what} ${w}×${h} left out: ${browser.lacks.narrowerThan[1]}`);
      return true;
    };
    // One after another: pages at once on a busy machine would only race the timeouts.
    for (const [width, height] of sizes) if (!leftOut(width, height, 'the screen')) await withPage({ viewport: { width, height }, isMobile: true, hasTouch: true }, async (page) => {
      // What shows of each control and message button, within the parents that clip it, lies
      // within w × h.
      const inside = async (w, h) => {
        const out = await page.evaluate(([w, h]) => [...document.querySelectorAll('#Form1 [id], #Message button')].filter((e) => {
          let [left, top, right, bottom] = [Infinity, Infinity, -Infinity, -Infinity];
          for (let a = e, first = true; a && a.id !== 'Form1'; a = a.parentElement, first = false) {
            if (!first && getComputedStyle(a).overflow === 'visible') continue;
            const b = a.getBoundingClientRect();
            [left, top, right, bottom] = first ? [b.left, b.top, b.right, b.bottom]
              : [Math.max(left, b.left), Math.max(top, b.top), Math.min(right, b.right), Math.min(bottom, b.bottom)];
          }
          return e.checkVisibility() && (left < -0.5 || top < -0.5 || right > w + 0.5 || bottom > h + 0.5);
        }).map((e) => e.id), [w, h]);
        assert.deepEqual(out, [], `outside ${w}×${h}`);
      };
      const tap = async (id) => {
        const b = await el(page, id).boundingBox();
        await page.touchscreen.tap(b.x + b.width / 2, b.y + b.height / 2);
      };
      // What the page got of the taps, for a tap that seems to go nowhere.
      await page.evaluate(() => {
        window.got = [];
        for (const type of ['pointerdown', 'pointerup', 'touchstart', 'touchend', 'click', 'contextmenu'])
          addEventListener(type, (e) => window.got.push(`${type} ${e.target.id || e.target.closest?.('[id]')?.id}`), true);
      });
      const shows = async (id) => {
        try {
          await el(page, id).waitFor();
        } catch (error) {
          throw new Error(`${error.message} at ${width}×${height}; the page got: ${(await page.evaluate(() => window.got)).join(', ')}`);
        }
      };
      await inside(width, height);
      await tap('Command1(0)');
      await shows('Picture7');
      await inside(width, height);
      await tap('Command10');
      await page.locator('#Message[open]').waitFor();
      await inside(width, height);
      await tap('Ok');
      await tap('Option2(0)');
      await tap('Command10');
      await shows('Row(0)');
      await inside(width, height);
      // The device turned: the window fits again.
      let [w, h] = [width, height];
      if (!leftOut(height, width, 'turned to')) {
        await page.evaluate(() => { window.turned = new Promise((done) => addEventListener('resize', done, { once: true })); });
        await page.setViewportSize({ width: height, height: width });
        await page.evaluate(() => window.turned.then(() => true));
        [w, h] = [height, width];
      }
      await tap('Row(1)');
      await shows('Text1(1)');
      await inside(w, h);
      const p = await problem(page, 1);
      for (const d of p.answer) await tap(await keyOf(page, 1, d));
      assert.match(await marked(page, 1, () => tap('Command5(1)')), /^せいかい　/);
      await inside(w, h);
    });
  });

  test('a press with the right button opens a row as it goes down, and no menu shows', (t) => (browser.lacks.buttons ? t.skip(browser.lacks.buttons) : withPage({}, async (page) => {
    await choose(page, 0, 'Option2(0)', 'Command10');
    await page.evaluate(() => addEventListener('contextmenu', (event) => { window.menu = !event.defaultPrevented; }));
    const b = await el(page, 'Row(0)').boundingBox();
    await page.mouse.move(b.x + b.width / 2, b.y + b.height / 2);
    await page.mouse.down({ button: 'right' });
    await el(page, 'Text1(0)').waitFor(); // the button still down
    await page.mouse.up({ button: 'right' });
    assert.equal(await page.evaluate(() => window.menu), false);
  })));

  test('offline after the first visit: the page starts from the service worker\'s copy', async () => {
    const own = await serve(kSite, { scripts: [kErrors] });
    try {
      await withPage({}, async (page) => {
        await page.evaluate(() => navigator.serviceWorker.ready);
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        await own.close();
        await assert.rejects(fetch(own.url));
        await page.reload();
        await page.locator('#Form1.ready').waitFor();
        await choose(page, 0, 'Option2(0)', 'Command10');
        await el(page, 'Row(0)').click();
        assert.match((await problem(page, 0)).answer, /^\d+$/);
      }, own.url);
    } finally {
      await own.close();
    }
  });
});

// What Chromium alone lets a test see or do: its accessibility tree and input method (CDP), a
// file made to fail (routes) and a script before the page's (init scripts).
describe('in Chromium alone: the accessibility tree, an input method, a drill that cannot be loaded or run', {
  concurrency: true, skip: kEngine !== 'chromium' && `Chromium's CDP, routes and init scripts are not ${kEngine}'s`,
}, () => {
  pageTest('a screen reader is given the mark from the live region, and each message as its dialog\'s description', {}, async (page) => {
    await el(page, 'Command1(0)').click();
    await el(page, 'Command10').click();
    assert.equal(await reply(page, 'Ok'), 'レベルをきめてから、けっていボタンをおしてください。');
    await choose(page, 0, 'Option2(2)', 'Command10');
    await el(page, 'Row(0)').click();
    const p = await problem(page, 0);
    await keypad(page, 0, p.answer + '1');
    assert.match(await marked(page, 0, () => el(page, 'Command5(0)').click()), /^ちがう　/);
    assert.equal(await heard(page), 'ちがう（1ばんめ）');
    await el(page, 'Command2').click();
    assert.equal(await reply(page, 'No'), '「ぴこまる」を　終わります。');
  });

  pageTest('with a Japanese input method: full-width digits, and Enter while composing ends the composition', {}, async (page) => {
    await choose(page, 2, 'Option4(1)', 'Command14');
    await el(page, 'Row(1)').click();
    const p = await problem(page, 1);
    const ime = await page.raw.context().newCDPSession(page.raw);
    const wide = [...p.answer].map((d) => String.fromCharCode(0xff10 + Number(d))).join('');
    await ime.send('Input.imeSetComposition', { text: wide, selectionStart: wide.length, selectionEnd: wide.length });
    await page.keyboard.press('Enter');
    await ime.send('Input.insertText', { text: wide });
    assert.equal(await el(page, 'Message').isVisible(), false);
    assert.equal(await check(page, 1, () => page.keyboard.press('Enter')), true);
    assert.equal(await focused(page), 'Text1(1)');
  });

  test('a drill that cannot be loaded: the pupil is told, and the next press tries again', async () => {
    const context = await browser.raw.newContext();
    try {
      const page = await context.newPage();
      await page.route('**/pikomaru.*.wasm', (route) => route.abort());
      await page.goto(server.url);
      await page.locator('#Form1.ready').waitFor();
      assert.match(await reply(page, 'Ok'), /^ぴこまるを よみこめませんでした。/);
      await page.unroute('**/pikomaru.*.wasm');
      await el(page, 'Command1(0)').click();
      await el(page, 'Picture7').waitFor();
    } finally {
      await context.close();
    }
  });

  test('where the drill cannot run the teacher is told why: opened as a file, no WebAssembly, a host\'s policy', async () => {
    const policy = (wasm) => serve(kSite, { headers: { 'Content-Security-Policy': `script-src 'self'${wasm ? " 'wasm-unsafe-eval'" : ''}` } });
    const [refusing, allowing] = await Promise.all([policy(false), policy(true)]);
    const context = await browser.raw.newContext();
    const open = async (url, before) => {
      const page = await context.newPage();
      await before?.(page);
      await page.goto(url);
      return page;
    };
    const notice = async (page) => {
      await page.locator('#Trouble').waitFor();
      assert.equal(await page.locator('#Form1').isVisible(), false);
      return page.locator('#Trouble').textContent();
    };
    try {
      assert.match(await notice(await open(pathToFileURL(join(kSite, 'index.html')).href)), /ウェブサーバー/);
      const none = await open(server.url, (page) => page.addInitScript(() => delete globalThis.WebAssembly));
      assert.match(await notice(none), /WebAssembly が つかえない/);
      assert.match(await notice(await open(refusing.url)), /script-src に 'wasm-unsafe-eval'/);
      const allowed = await open(allowing.url);
      await el(allowed, 'Command1(0)').click();
      await el(allowed, 'Picture7').waitFor();
    } finally {
      await context.close();
      await Promise.all([refusing.close(), allowing.close()]);
    }
  });
});
