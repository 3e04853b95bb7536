// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The pupil's scenes of tests/scenes/scenes.json played on the page in one of Debian's browsers
// (PIKOMARU_ENGINE: chromium, firefox or webkit), as the window plays them on the desktop: real
// mouse, touch and keys at the controls' boxes (a point of the surface scaled by the page's zoom),
// the page's clock stopped at the scene's time of day and moved on only by the scene. What is
// looked at is what a pupil or a screen reader meets: ids, visibility, focus, texts, names and
// the live region.
//
// What each engine's input really is: Chromium and Firefox give the page touch events for a
// touch; WebKitGTK's driver gives a touch as a mouse's pointer. Leaving the page: Chromium and
// Firefox ask their own question before it goes; under WebKit's classic WebDriver the page is
// given a cancelable beforeunload event in its place (engines.mjs).
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, describe, test } from 'node:test';
import { axeClean } from './axe.mjs';
import { launch } from './engines.mjs';
import { asPresented } from './presented.mjs';
import { kClock, kErrors, serve } from './serve.mjs';

const kSite = process.env.PIKOMARU_SITE;
const kEngine = process.env.PIKOMARU_ENGINE ?? 'chromium';
const kScenes = JSON.parse(readFileSync(new URL('../scenes/scenes.json', import.meta.url), 'utf8'));
const kKeys = { Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight', Space: ' ' };

// Scenes played at once, each in a browser of its own: a browser gives the focus, and with it the
// keys, to one page at a time.
const kAtOnce = Number(process.env.PIKOMARU_CONCURRENCY ?? 2);

let browsers = [], server;
const free = [];
const waiting = [];
before(async () => {
  assert.ok(kSite, 'PIKOMARU_SITE names the built site folder');
  [server, ...browsers] = await Promise.all([serve(kSite, { scripts: [kClock, kErrors] }),
    ...Array.from({ length: kAtOnce }, () => launch(kEngine))]);
  free.push(...browsers);
});
after(async () => {
  await Promise.all(browsers.map((b) => b.close()));
  await server?.close();
});

async function withBrowser(use) {
  const browser = free.pop() ?? await new Promise((given) => waiting.push(given));
  try {
    return await use(browser);
  } finally {
    const next = waiting.shift();
    if (next) next(browser);
    else free.push(browser);
  }
}

// What the page shows of each id, as the window's scenes read it.
function look([what, ids]) {
  const of = {
    shown: (e) => e.checkVisibility({ visibilityProperty: true }),
    hidden: (e) => !e.checkVisibility({ visibilityProperty: true }),
    enabled: (e) => !(e.closest('[inert]') || e.matches(':disabled') || e.querySelector('input:disabled')),
    disabled: (e) => Boolean(e.closest('[inert]') || e.matches(':disabled') || e.querySelector('input:disabled')),
    name: (e) => e.getAttribute('aria-label') ?? e.textContent,
    text: (e) => e.value,
  }[what];
  return ids.map((id) => {
    const e = document.getElementById(id);
    return e ? of(e) : `${id} does not exist`;
  });
}

function state() {
  const dialog = document.querySelector('dialog[open]');
  return {
    focus: document.activeElement?.closest('[id]')?.id ?? 'nothing',
    message: dialog ? document.getElementById(dialog.getAttribute('aria-describedby')).textContent : null,
  };
}

// The start screen built afresh: a たしざん the scene has not marked, and no surface shown.
function restarted() {
  const fresh = document.getElementById('Command1(0)');
  return Boolean(fresh && !fresh.dataset.scene && !document.querySelector('#Form1 [id="Picture1"]:not([hidden])'));
}

class Scene {
  constructor(page) {
    this.page = page;
  }

  // Where the press at `point` of control `id` (its middle when none) lands, asked of the page in
  // one go; null when the control is not shown.
  at(id, point) {
    return this.page.evaluate(([id, point]) => {
      const e = document.getElementById(id);
      if (!e?.checkVisibility({ visibilityProperty: true })) return null;
      const box = e.getBoundingClientRect();
      if (!point) return [box.x + box.width / 2, box.y + box.height / 2];
      // The middle of the surface's pixel: its edge lies where a browser's rounding may put it
      // on either side.
      const scale = box.width / e.offsetWidth;
      return [box.x + (point[0] + 0.5) * scale, box.y + (point[1] + 0.5) * scale];
    }, [id, point ?? null]);
  }

  // Plays one step; what was seen instead, where it was not as the step expects.
  async play(step) {
    const [what, v] = Object.entries(step)[0];
    const page = this.page;
    if (what === 'press' || what === 'touch' || what === 'answer') {
      const id = what === 'answer' ? v[0].toUpperCase() + v.slice(1) : v;
      const p = await this.at(id, step.at);
      if (!p) return `${id} is not shown`;
      if (what === 'touch') await page.touchscreen.tap(...p);
      else await page.mouse.click(...p, { button: step.button ?? 'left' });
    } else if (what === 'key') {
      for (const key of v.split(' ')) await page.keyboard.press(kKeys[key] ?? key);
    } else if (what === 'type') {
      await page.keyboard.type(v);
    } else if (what === 'wait') {
      await page.evaluate((ms) => window.testClock.runFor(ms), v * 1000);
    } else if (what === 'said') {
      const lines = await page.evaluate(() => window.said.splice(0));
      if (JSON.stringify(lines) !== JSON.stringify(v)) return `said ${JSON.stringify(lines)}`;
    } else if (what === 'focus' || what === 'message') {
      const now = (await page.evaluate(state))[what];
      if (now !== v) return `the ${what} is ${JSON.stringify(now)}`;
    } else if (what === 'close') {
      // Leaving the page; a question it asks is answered as the step says.
      this.asked = false;
      const closed = new Promise((done) => page.once('close', done));
      const answered = new Promise((done) => page.once('dialog', async (dialog) => {
        this.asked = true;
        await (v === 'leave' ? dialog.accept() : dialog.dismiss());
        done();
      }));
      await page.close({ runBeforeUnload: true });
      await Promise.race([closed, answered]);
      if (this.asked && v === 'leave') await closed;
    } else if (what === 'asked') {
      if (this.asked !== v) return `asked: ${this.asked}`;
    } else if (what === 'closed') {
      // The page starts afresh a moment after the end: the clock runs for that moment.
      if (!page.isClosed()) {
        await page.evaluate(() => window.testClock.runFor(20));
        if (!(await page.waitForFunction(restarted).catch(() => false))) return 'the page has not started afresh';
      }
    } else {
      const ids = Array.isArray(v) ? v : Object.keys(v);
      const seen = await page.evaluate(look, [what, ids]);
      const wrong = ids.filter((id, i) => seen[i] !== (Array.isArray(v) ? true : v[id]));
      if (wrong.length) {
        return wrong.map((id) => (Array.isArray(v) ? `${id} is not ${what}` : `${id} is ${JSON.stringify(seen[ids.indexOf(id)])}`)).join('; ');
      }
    }
    return null;
  }
}

async function play(browser, scene) {
  const [width, height] = scene.screen;
  const touch = scene.steps.some((s) => 'touch' in s);
  const context = await browser.newContext({ viewport: { width, height }, hasTouch: touch });
  try {
    const page = await context.newPage();
    await page.goto(server.url);
    await page.locator('#Form1.ready').waitFor();
    // The time of day stands still at the scene's, half a second into its second (the browser
    // runs in Japan's time zone); the start screen's two frames, then the drill's loading, which
    // takes no time of the clock's: the problems are seeded within the scene's second, however
    // long the loading takes.
    await page.evaluate(async (time) => {
      window.testClock.setTime(time);
      await window.testClock.runFor(50);
    }, new Date(`2026-04-10T${scene.time}+09:00`).getTime() + 500);
    await page.locator('[id="Picture1"]').waitFor({ state: 'attached' });
    assert.equal(await page.evaluate(() => new Date().toTimeString().slice(0, 8)), scene.time);
    await page.evaluate(() => {
      document.getElementById('Command1(0)').dataset.scene = 'first';
      window.said = [];
      new MutationObserver((changes) => changes.forEach((c) => c.addedNodes.forEach((n) => window.said.push(n.textContent))))
        .observe(document.querySelector('[aria-live]'), { childList: true });
    });
    if (scene.window) {
      await page.evaluate(() => { window.resized = new Promise((done) => addEventListener('resize', done, { once: true })); });
      await page.setViewportSize({ width: scene.window[0], height: scene.window[1] });
      await page.evaluate(() => window.resized.then(() => true));
    }
    const played = new Scene(page);
    for (const [i, step] of scene.steps.entries()) {
      const seen = await played.play(step);
      assert.equal(seen, null, `step ${i + 1} ${JSON.stringify(step)}: ${seen}`);
      // And every control as the drill says it shows after each step, and nothing axe finds in
      // any state a step reaches: the page is the same in every engine, so axe looks at it in
      // Chromium alone and the other engines save its time (page.test.mjs runs it in each).
      if (!page.isClosed()) await asPresented(page, `after step ${i + 1}`);
      if (!page.isClosed() && kEngine === 'chromium') await axeClean(page, `${scene.name} after step ${i + 1}`);
    }
    assert.deepEqual(await page.errors(), []);
  } finally {
    await context.close();
  }
}

describe(`the scenes in ${kEngine}`, { concurrency: kAtOnce }, () => {
  for (const scene of kScenes) {
    test(scene.name, (t) => withBrowser((browser) => {
      // A press the engine's driver cannot give: the scene is left out, and said so.
      const buttons = scene.steps.some((s) => s.button && s.button !== 'left');
      if (buttons && browser.lacks.buttons) return t.skip(browser.lacks.buttons);
      return play(browser, scene);
    }));
  }
});
