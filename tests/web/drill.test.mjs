// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The drill built for the browser, driven under Node as a page would drive it: the page's
// object draws (here: keeps a list), keeps the time and answers questions; the flow decides.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { loadDrill } from '../../web/windows-json.mjs';

const module = await loadDrill(process.env.PIKOMARU_WEB_MODULE);

function page() {
  let x = 0, y = 0, colour = '', second = 0;
  return {
    printed: [], messages: [], said: [], beeps: 0,
    setCurrentX(v) { x = v; }, setCurrentY(v) { y = v; },
    setForeColor(r, g, b) { colour = `${r},${g},${b}`; },
    setFillColor() {}, setSolidFill() {}, roundRect() {}, fillSquare() {},
    print(text) { this.printed.push({ x, y, colour, text }); x = 0; y += 32; },
    textWidth(text) { return 16 * [...text].length; }, textHeight() { return 32; },
    keepArea() {}, restoreArea() {},
    timeOfDay() { const s = second++; return `10:${String(Math.floor(s / 60) % 60).padStart(2, '0')}:${String(s % 60).padStart(2, '0')}`; },
    inform(text) { this.messages.push(text); }, ask(text) { this.messages.push(text); },
    beep() { this.beeps++; },
    changed() {},
    announce(text) { this.said.push(text); },
    // The text printed last in black at (px, py).
    lastAt(px, py) {
      return this.printed.filter((p) => p.x === px && p.y === py && p.colour === '0,0,0').at(-1)?.text;
    },
  };
}

function settle(drill) {
  for (let i = 0; i < 100 && drill.holding(); i++) drill.tick();
  assert.equal(drill.holding(), false, 'the mark never ended');
}

test('a problem played in the browser\'s build: printed where the desktop prints it, ○ and the next problem', () => {
  const p = page();
  const drill = new module.Drill(p);
  drill.load(1024, 1);
  assert.equal(drill.screenWidth(), 1024);
  drill.chooseOperation(1);
  drill.decide(1);
  assert.deepEqual(p.messages, ['レベルをきめてから、けっていボタンをおしてください。']);
  drill.chooseLevel(1, 3);
  drill.decide(1);
  assert.equal(p.lastAt(40, 140), 'ここをクリックしてください。');
  drill.pressSurface(100, 100);
  let row = drill.view().rows[0];
  assert.equal(row.open, true);
  assert.equal(p.lastAt(20, 80), 'レベル 3 ( 1)  せいせき：');
  const [, a, b] = row.problem.match(/^(\d+) ＋ (\d+) ＝ $/);
  assert.equal(p.lastAt(80, 160), row.problem);
  assert.deepEqual(row.answerBox, { x: 16 * [...row.problem].length + 90, y: 157 });

  for (const digit of String(Number(a) + Number(b))) drill.pressKey(Number(digit));
  drill.check(1);
  assert.deepEqual(p.said, [row.spoken, 'せいかい（1ばんめ）']);
  assert.equal(drill.view().markRow, 1);
  assert.deepEqual(p.printed.at(-1), { x: 50, y: 158, colour: '255,0,0', text: '○' });
  assert.equal(p.beeps, 1);
  drill.pressKey(5); // waits for the mark
  assert.equal(drill.view().rows[0].answer, String(Number(a) + Number(b)));
  settle(drill);
  row = drill.view().rows[0];
  assert.equal(p.lastAt(20, 80), 'レベル 3 ( 2)  せいせき：○');
  assert.equal(row.answer, '5');
  assert.deepEqual(p.said.slice(2), [row.spoken]);
  assert.match(row.spoken, /^レベル 3 \( 2\) せいせき：○ \d+ ＋ \d+ ＝$/);

  drill.finish();
  drill.answer(true);
  assert.equal(drill.view().rows[0].open, false);
  assert.equal(drill.view().panel, 1);
  drill.exit();
  drill.answer(false);
  assert.equal(drill.view().ended, false);
  drill.delete();
});

test('the window a page builds: the compact layout below 1000 pixels, every control by its name', () => {
  const drill = new module.Drill(page());
  drill.load(800, 1);
  const windows = JSON.parse(module.windows());
  assert.equal(drill.screenWidth() >= windows.largeFrom, false);
  const window = windows.compact;
  const control = (id) => window.controls.find((c) => (c.index >= 0 ? `${c.name}(${c.index})` : c.name) === id);
  assert.deepEqual(window.client, { width: 800, height: 580 });
  assert.deepEqual(['left', 'top', 'width', 'height'].map((k) => control('Command1(1)')[k]), [110, 2, 96, 32]);
  assert.equal(control('Command1(1)').font.pixels, 21);
  assert.equal(control('Option2(15)').top, 490);
  assert.equal(control('Picture2').shown, false);
  assert.equal(control('Option1(24)').shown, false);
  assert.equal(control('Command6(12)').caption, '7');
  assert.equal(control('Command6(12)').parentIndex, 1);
  assert.equal(drill.rowCount(), 2);
  assert.equal(new Set(window.controls.map((c) => `${c.name}(${c.index})`)).size, window.controls.length);
  drill.delete();
});
