#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// Lighthouse over the built page, as a phone and as a desktop see it: the four categories'
// scores and the loading's key figures.
//
//   node bench/web/lighthouse.mjs SITE_DIR [--runs N] [--only mobile|desktop]
//
// SITE_DIR is the folder the web build puts together (build-web/web/site); it is served here on
// 127.0.0.1 as any plain web server would serve it (tests/web/serve.mjs), and nothing is built.
// Debian's Chromium runs headless with the page tests' flags. Each form factor is run N times
// (3) in a fresh browser; the median run by performance score is shown.
import { existsSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { parseArgs } from 'node:util';
import * as chromeLauncher from 'chrome-launcher';
import lighthouse, { desktopConfig } from 'lighthouse';
import { serve } from '../../tests/web/serve.mjs';

const { values, positionals } = parseArgs({
  allowPositionals: true,
  options: { runs: { type: 'string', default: '3' }, only: { type: 'string' } },
});
const [site] = positionals;
const runs = Number(values.runs);
if (!site || !(runs >= 1) || (values.only && !['mobile', 'desktop'].includes(values.only))) {
  console.error('usage: node bench/web/lighthouse.mjs SITE_DIR [--runs N] [--only mobile|desktop]');
  process.exit(2);
}
if (!existsSync(join(site, 'index.html'))) {
  console.error(`${site} holds no index.html: build the page first (cmake --build --preset web)`);
  process.exit(2);
}

const kFlags = ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync'];
const kCategories = ['performance', 'accessibility', 'best-practices', 'seo'];
const kMetrics = {
  FCP: 'first-contentful-paint', LCP: 'largest-contentful-paint', TBT: 'total-blocking-time', CLS: 'cumulative-layout-shift',
};
const kForms = { mobile: undefined, desktop: desktopConfig };

async function audit(url, config) {
  const chrome = await chromeLauncher.launch({
    chromePath: process.env.PIKOMARU_CHROMIUM ?? '/usr/bin/chromium', chromeFlags: kFlags,
  });
  try {
    const result = await lighthouse(url, { port: chrome.port, logLevel: 'error', onlyCategories: kCategories }, config);
    return result.lhr;
  } finally {
    chrome.kill();
  }
}

const server = await serve(site);
try {
  const { version } = createRequire(import.meta.url)('lighthouse/package.json');
  console.log(`Lighthouse ${version}, ${runs} run(s) each, median by performance`);
  console.log(`${'form'.padEnd(8)}${kCategories.map((c) => c.padStart(15)).join('')}${Object.keys(kMetrics).map((m) => m.padStart(9)).join('')}`);
  for (const [form, config] of Object.entries(kForms)) {
    if (values.only && values.only !== form) continue;
    const lhrs = [];
    for (let i = 0; i < runs; ++i) lhrs.push(await audit(server.url, config));
    lhrs.sort((a, b) => a.categories.performance.score - b.categories.performance.score);
    const lhr = lhrs[Math.floor(lhrs.length / 2)];
    if (lhr.runtimeError) throw new Error(`${form}: ${lhr.runtimeError.message}`);
    const scores = kCategories.map((c) => String(Math.round(lhr.categories[c].score * 100)).padStart(15));
    const metrics = Object.values(kMetrics).map((m) => lhr.audits[m].displayValue.replace(/\s/g, ' ').padStart(9));
    console.log(`${form.padEnd(8)}${scores.join('')}${metrics.join('')}`);
    // What keeps a category from 100: each audit that scored below full, with its figure.
    for (const c of kCategories) {
      for (const ref of lhr.categories[c].auditRefs) {
        const a = lhr.audits[ref.id];
        if (ref.weight > 0 && a.score !== null && a.score < 1) {
          console.log(`  ${c}: ${a.id} ${Math.round(a.score * 100)}${a.displayValue ? ` (${a.displayValue})` : ''}`);
        }
      }
    }
  }
} finally {
  await server.close();
}
