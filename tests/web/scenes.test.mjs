// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The pupil's scenes of tests/scenes/scenes.json played on the page in Debian's Chromium, as the
// window plays them on the desktop: real mouse, touch and keys at the controls' boxes (a point of
// the surface scaled by the page's zoom), the clock stopped at the scene's time of day and moved
// on only by the scene. What is looked at is what a pupil or a screen reader meets: ids,
// visibility, focus, texts, names and the live region.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { after, before, describe, test } from 'node:test';
import { asPresented } from './presented.mjs';
import { launchChromium, serve } from './serve.mjs';

const kSite = process.env.PIKOMARU_SITE;
const kScenes = JSON.parse(readFileSync(new URL('../scenes/scenes.json', import.meta.url), 'utf8'));
const kKeys = { Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight', Space: ' ' };

let browser, server;
before(async () => {
  assert.ok(kSite, 'PIKOMARU_SITE names the built site folder');
  [browser, server] = await Promise.all([launchChromium(), serve(kSite)]);
});
after(async () => {
  await browser?.close();
  await server?.close();
});

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

  async at(id, point) {
    const element = this.page.locator(`[id="${id}"]`);
    if (!(await element.count()) || !(await element.isVisible())) return null;
    const box = await element.boundingBox();
    if (!point) return [box.x + box.width / 2, box.y + box.height / 2];
    const scale = box.width / (await element.evaluate((e) => e.offsetWidth));
    return [box.x + point[0] * scale, box.y + point[1] * scale];
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
      await page.clock.runFor(v * 1000);
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
        await page.clock.runFor(20);
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

async function play(scene) {
  const [width, height] = scene.screen;
  const touch = scene.steps.some((s) => 'touch' in s);
  const context = await browser.newContext({ viewport: { width, height }, hasTouch: touch, timezoneId: 'Asia/Tokyo' });
  try {
    // The time of day stands still at the scene's, half a second into its second.
    const time = new Date(`2026-04-10T${scene.time}+09:00`).getTime();
    await context.clock.install({ time });
    await context.clock.pauseAt(time + 500);
    const page = await context.newPage();
    const errors = [];
    page.on('pageerror', (e) => errors.push(e.message));
    await page.goto(server.url);
    await page.locator('#Form1.ready').waitFor();
    // The start screen's two frames, then the drill's loading, which takes no time of the clock's:
    // the problems are seeded within the scene's second, however long the loading takes.
    await page.clock.runFor(50);
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
      await page.evaluate(() => window.resized);
    }
    const played = new Scene(page);
    for (const [i, step] of scene.steps.entries()) {
      const seen = await played.play(step);
      assert.equal(seen, null, `step ${i + 1} ${JSON.stringify(step)}: ${seen}`);
      // And every control as the drill says it shows, after each step.
      if (!page.isClosed()) await asPresented(page, `after step ${i + 1}`);
    }
    assert.deepEqual(errors, []);
  } finally {
    await context.close();
  }
}

describe('the scenes in Chromium', { concurrency: 2 }, () => {
  for (const scene of kScenes) test(scene.name, () => play(scene));
});
