// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// What the page prints, read back from Chromium's PDF with poppler's pdftotext: the chosen
// level's worksheet, the drill's own problems for the seed in its corner and their answers on
// the second page; with no level chosen, a note saying to choose one.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import { launchChromium, serve } from './serve.mjs';

const kSite = process.env.PIKOMARU_SITE;

// Each page's text, blanks evened out.
function pagesOf(pdf) {
  const file = join(mkdtempSync(join(tmpdir(), 'pikomaru-print-')), 'printed.pdf');
  writeFileSync(file, pdf);
  return execFileSync('pdftotext', ['-layout', file, '-'], { encoding: 'utf8' })
    .split('\f').filter((p) => p.trim()).map((p) => p.replace(/[ \u3000]+/g, ' '));
}

test('printing gives the chosen level\'s worksheet with its answers, or a note to choose one', async () => {
  const [browser, server] = await Promise.all([launchChromium(), serve(kSite)]);
  try {
    const page = await browser.newPage({ viewport: { width: 1366, height: 768 } });
    await page.goto(server.url);
    await page.waitForFunction(() => window.pikomaru?.complete);
    const [note] = pagesOf(await page.pdf({ preferCSSPageSize: true }));
    assert.match(note, /レベルをきめてから、いんさつしてください。/);

    // わりざん L07, a level with あまり, chosen on its panel.
    for (const id of ['Command1(3)', 'Option1(6)']) await page.locator(`[id="${id}"]`).click();
    const printed = pagesOf(await page.pdf({ preferCSSPageSize: true }));
    assert.equal(printed.length, 2);
    const seed = Number(printed[0].match(/シード (\d+)/)[1]);
    const sheet = await page.evaluate((s) => window.pikomaru.module.worksheet(4, 7, 0, s).problems, seed);
    assert.equal(sheet.length, 10);
    const asked = (p) => `(${p.number}) ${p.text.trim()}`.replace(/\s+/g, ' ');
    for (const p of sheet) {
      assert.ok(printed[0].includes(`${asked(p)} あまり`), `page 1 has ${asked(p)}`);
      assert.ok(printed[1].includes(`${asked(p)} ${p.answer} あまり ${p.remainder}`), `page 2 answers ${asked(p)}`);
    }
    assert.match(printed[1], /こたえ/);
  } finally {
    await browser.close();
    await server.close();
  }
});
