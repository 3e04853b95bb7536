// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// axe-core over what the page shows: WCAG 2.x A and AA and axe's best practices, none found.
// Each state is checked once per browser: what is on the screen is its key, so a check after
// every step of every scene costs only the states not seen before.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const kSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
// axe's own text as the body of a plain function, so that every engine runs it as it runs any
// function a test hands it, through its driver: not a script the page's Content-Security-Policy
// could refuse, nor code the page makes from a string. Its timers are the real ones, also where
// the test's clock (test-clock.js) holds the page's still.
const install = new Function(`const { setTimeout, clearTimeout } = globalThis.testClock?.real ?? globalThis;
${kSource}
return typeof window.axe;`);
const kTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];

const checked = new Set();

// What the page shows, as one string: the browser, the layout, each control shown (and '-' where
// out of reach), the question's answers, the focus's kind and the notice.
function stateOf() {
  const within = (e) => e.checkVisibility({ visibilityProperty: true });
  const controls = [...document.querySelectorAll('#Form1 [id]')].filter(within)
    .map((e) => `${e.id}${e.closest('[inert]') || e.matches(':disabled') ? '-' : ''}`);
  const dialog = document.querySelector('dialog[open]');
  const answers = dialog ? [...dialog.querySelectorAll('button')].filter(within).map((b) => b.id) : [];
  const focus = document.activeElement ?? document.body;
  const kind = `${focus.closest('dialog, #Form1')?.id ?? 'page'} ${focus.tagName} ${focus.className} ${focus.type ?? ''}`;
  // The layout, and whether the window shows below its design size (see run below).
  const form = document.getElementById('Form1');
  const small = form?.offsetWidth ? form.getBoundingClientRect().width < form.offsetWidth : false;
  const trouble = document.getElementById('Trouble');
  return JSON.stringify([navigator.userAgent, form?.style.width, form?.style.height, small,
    controls, answers, kind, Boolean(trouble && within(trouble))]);
}

// Runs axe in the page once it is there; its findings as plain data. The window zooms as one to
// fit the screen, every target with it: the targets' size (24 pixels, WCAG 2.2) is held to where
// the window shows at its design size or larger.
function run(tags) {
  const form = document.getElementById('Form1');
  const small = form?.offsetWidth ? form.getBoundingClientRect().width < form.offsetWidth : false;
  const rules = { 'target-size': { enabled: !small } };
  return window.axe.run(document, { runOnly: { type: 'tag', values: tags }, rules, resultTypes: ['violations'] })
    .then((r) => r.violations.map((v) => ({ id: v.id, help: v.help, targets: v.nodes.map((n) => n.target.join(' ')) })));
}

export async function axeClean(page, when = '') {
  const key = await page.evaluate(stateOf);
  if (checked.has(key)) return;
  checked.add(key);
  if ((await page.evaluate(() => typeof window.axe)) === 'undefined') await page.evaluate(install);
  const found = await page.evaluate(run, kTags);
  const said = found.map((v) => `${v.id} (${v.help}) at ${v.targets.join(', ')}`);
  assert.deepEqual(said, [], `axe ${when}`);
}
