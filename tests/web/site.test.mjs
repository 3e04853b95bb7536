// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The site as a host serves it, in one engine (PIKOMARU_ENGINE): a new version reaching a class
// without ever interrupting a drill, an update that fails half-way, a font that cannot be had, a
// strict Content-Security-Policy, and the page in one file opened from a folder. The server is
// switched from one build to another as a host's deployment would; files are served with a
// day's max-age, as hosts do, so that a version made of the browser's old copies would show.
import assert from 'node:assert/strict';
import { execFile } from 'node:child_process';
import { cp, mkdtemp, rename, rm, symlink, unlink, writeFile } from 'node:fs/promises';
import { readdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { promisify } from 'node:util';
import { after, before, describe, test } from 'node:test';
import { launch } from './engines.mjs';
import { kErrors, serve } from './serve.mjs';

const kEngine = process.env.PIKOMARU_ENGINE ?? 'chromium';
const kSite = process.env.PIKOMARU_SITE;
const kSource = fileURLToPath(new URL('../..', import.meta.url));
const kCachedADay = { 'Cache-Control': 'max-age=86400' };
const kStrict = "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'";
const kSolve = { '＋': (a, b) => [a + b, 0], '÷': (a, b) => [Math.trunc(a / b), a % b] };

let browser, folder, scripts;
const builds = {};
before(async () => {
  assert.ok(kSite, 'PIKOMARU_SITE names the built site folder');
  folder = await mkdtemp(join(tmpdir(), 'pikomaru-site-'));
  // What the policy refused, heard from before the page's own scripts run.
  const violations = join(folder, 'test-violations.js');
  await writeFile(violations, "globalThis.testViolations = [];\naddEventListener('securitypolicyviolation', " +
    '(e) => testViolations.push(`${e.effectiveDirective} ${e.blockedURI}`));\n');
  scripts = [kErrors, violations];
  // The next version: the same drill with another note in its page, so that only index.html,
  // whose name stays, differs.
  builds.second = join(folder, 'second');
  const making = promisify(execFile)(process.env.PIKOMARU_PYTHON ?? 'python3', [join(kSource, 'web/make-site.py'),
    '--root', kSource, '--module', process.env.PIKOMARU_WEB_MODULE, '--node', process.execPath,
    '--out', builds.second, '--note', 'second']);
  [browser] = await Promise.all([launch(kEngine), making]);
  // The second version with one of its files missing from the server, and the first with a font.
  builds.broken = join(folder, 'broken');
  await cp(builds.second, builds.broken, { recursive: true });
  await unlink(join(builds.broken, readdirSync(builds.second).find((f) => /^style\..*\.css$/.test(f))));
  builds.fontless = join(folder, 'fontless');
  await cp(kSite, builds.fontless, { recursive: true });
  const fonts = join(builds.fontless, 'fonts');
  await unlink(join(fonts, readdirSync(fonts).find((f) => f.startsWith('pikomaru-pmincho.'))));
});
after(async () => {
  await browser?.close();
  if (folder) await rm(folder, { recursive: true, force: true });
});

// A server of `build`, switched to another build at once, as a deployment would switch it.
async function deployment(name, build, options = {}) {
  const link = join(folder, `served-${name}`);
  const deploy = async (to) => {
    await symlink(to, `${link}.next`);
    await rename(`${link}.next`, link);
  };
  await deploy(build);
  const server = await serve(link, { headers: kCachedADay, scripts, ...options });
  return { ...server, deploy };
}

// Runs `play` on a fresh page at `url` in a context of its own; the page must show no error.
async function withPage(url, play) {
  const context = await browser.newContext({ viewport: { width: 1024, height: 768 } });
  try {
    const page = await context.newPage();
    await page.goto(url);
    await page.locator('#Form1.ready').waitFor();
    await play(page);
    assert.deepEqual(await page.errors(), []);
  } finally {
    await context.close();
  }
}

const el = (page, id) => page.locator(`[id="${id}"]`);
const note = (page) => page.evaluate(() => document.querySelector('meta[name="pikomaru-build"]')?.content ?? 'first');

// Whether the service worker runs the page; where the engine keeps none under automation the
// test says so and goes no further.
async function controlled(page, t) {
  const has = await page.evaluate(() => 'serviceWorker' in navigator && navigator.serviceWorker.getRegistration()
    .then((r) => r ?? navigator.serviceWorker.register('sw.js')).then(() => true, () => false));
  if (!has) {
    t.diagnostic(`${kEngine} runs no service worker here: the updates are not tried in it`);
    t.skip(`no service worker in ${kEngine} under automation`);
    return false;
  }
  await page.waitForFunction(function workerControlsThePage() { return navigator.serviceWorker.controller !== null; });
  return true;
}

// Asks for a new version, as a browser does now and then, and says whether one installed.
const installs = (page) => page.evaluate(async () => {
  const registration = await navigator.serviceWorker.getRegistration();
  await registration.update().catch(() => {});
  const worker = registration.installing;
  if (worker) {
    await new Promise((settled) => worker.addEventListener('statechange', () => {
      if (worker.state !== 'installing') settled();
    }));
  }
  return registration.waiting !== null || (worker !== null && worker.state !== 'redundant');
});

// What the engine says of a page that went meanwhile: it reloaded, or it was reloaded again.
const kNavigated = /context|navigat|destroyed|unload|detached/i;

// The page once it has started again showing `wanted`, however many times it reloads first
// (reloaded here first where `reload`).
async function startedAs(page, wanted, reload = false) {
  if (reload) {
    await page.reload().catch((error) => {
      if (!kNavigated.test(String(error?.message))) throw error;
    });
  }
  const shows = (w) => window.pikomaru?.complete
    && (document.querySelector('meta[name="pikomaru-build"]')?.content ?? 'first') === w;
  for (;;) {
    try {
      return await page.waitForFunction(shows, wanted);
    } catch (error) {
      if (!kNavigated.test(String(error?.message))) throw error;
    }
  }
}

// Chooses a level, opens row 0 and answers its problem right on the keypad: a ○.
async function playRow(page, operation, option, decide) {
  for (const id of [`Command1(${operation})`, option, decide]) await el(page, id).click();
  await el(page, 'Row(0)').click();
  const problem = (row) => {
    const shown = /([0-9]+) ([＋÷]) ([0-9]+) ＝$/.exec(document.getElementById(row).getAttribute('aria-label'));
    return shown && [...shown];
  };
  const [, a, op, b] = await page.waitForFunction(problem, 'Row(0)');
  const [answer, remainder] = kSolve[op](Number(a), Number(b)).map(String);
  const press = async (digits) => { for (const d of digits) await el(page, `Command6(${d})`).click(); };
  await press(answer);
  if (remainder !== '0') {
    await el(page, 'Command9(0)').click();
    await press(remainder);
  }
  await el(page, 'Command5(0)').click();
  await page.waitForFunction(() => /せいせき：○/.test(document.getElementById('Row(0)').getAttribute('aria-label')));
}

describe(`the site in ${kEngine}`, () => {
  test('a new version waits while a row is open, shows once the pupil has finished with 終わる, and clears only the drill\'s old caches', async (t) => {
    const host = await deployment('updates', kSite);
    try {
      await withPage(host.url, async (page) => {
        if (!await controlled(page, t)) return;
        await page.evaluate(async () => {
          await (await caches.open('another app')).put('/other/x', new Response('x'));
          await (await caches.open(`pikomaru ${location.origin}/copy/ 0123456789ab`)).put('/copy/x', new Response('x'));
          window.sameLoad = true;
        });
        await playRow(page, 0, 'Option2(0)', 'Command10');
        await host.deploy(builds.second);
        assert.equal(await installs(page), true, 'the new version installs');
        await el(page, 'Command6(1)').click();
        assert.deepEqual([await page.evaluate(() => window.sameLoad), await note(page)], [true, 'first']);
        await el(page, 'Command8').click();
        await el(page, 'Yes').click();
        await startedAs(page, 'second');
        const [kept, ours] = await page.evaluate(async () => [await caches.keys(), `pikomaru ${location.origin}/ `]);
        const own = kept.filter((key) => key.startsWith(ours));
        assert.equal(own.length, 1, `one version of the drill kept: ${kept}`);
        assert.ok(kept.includes('another app') && kept.some((key) => key.includes('/copy/')), `others' caches kept: ${kept}`);
        await playRow(page, 0, 'Option2(0)', 'Command10');
      });
    } finally {
      await host.close();
    }
  });

  test('an update missing a file keeps the old version whole, and the next try gets the new one', async (t) => {
    const host = await deployment('failing', kSite);
    try {
      await withPage(host.url, async (page) => {
        if (!await controlled(page, t)) return;
        await host.deploy(builds.broken);
        assert.equal(await installs(page), false, 'a version with a file missing does not install');
        await startedAs(page, 'first', true);
        await el(page, 'Command1(0)').click();
        await el(page, 'Picture7').waitFor();
        await host.deploy(builds.second);
        await startedAs(page, 'second', true);
      });
    } finally {
      await host.close();
    }
  });

  test('a font that cannot be had leaves its letters in the system\'s font: the drill loads and installs', async (t) => {
    const host = await deployment('fontless', builds.fontless);
    try {
      await withPage(host.url, async (page) => {
        await playRow(page, 0, 'Option2(0)', 'Command10');
        await controlled(page, t);
      });
    } finally {
      await host.close();
    }
  });

  test('under a strict Content-Security-Policy the drill plays with nothing refused', async () => {
    const host = await serve(kSite, { headers: { 'Content-Security-Policy': kStrict }, scripts });
    try {
      await withPage(host.url, async (page) => {
        await playRow(page, 3, 'Option1(3)', 'Command3');
        assert.deepEqual(await page.evaluate(() => testViolations), []);
      });
    } finally {
      await host.close();
    }
  });

  test('pikomaru.html opened as a file: a row plays, the remainder of a division too', async () => {
    const file = pathToFileURL(join(kSite, 'pikomaru.html')).href;
    await withPage(file, (page) => playRow(page, 0, 'Option2(0)', 'Command10'));
    await withPage(file, async (page) => {
      await playRow(page, 3, 'Option1(3)', 'Command3');
      assert.equal(await page.locator('#Trouble').isVisible(), false);
    });
  });
});
