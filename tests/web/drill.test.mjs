// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The drill built for the browser, driven under Node as the page drives it: the page's object
// draws (here: keeps a list), keeps the time, answers questions and keeps what it is told to
// show; the presenter decides.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { loadDrill, startScreens } from '../../web/windows-json.mjs';

const module = await loadDrill(process.env.PIKOMARU_WEB_MODULE);

function page() {
  let x = 0, y = 0, colour = '', second = 0;
  return {
    printed: [], messages: [], said: [], focused: [], views: new Map(), ticks: [], beeps: 0,
    setCurrentX(v) { x = v; }, setCurrentY(v) { y = v; },
    setForeColor(r, g, b) { colour = `${r},${g},${b}`; },
    setFillColor() {}, setSolidFill() {}, roundRect() {}, fillSquare() {},
    print(text) { this.printed.push({ x, y, colour, text }); x = 0; y += 32; },
    textWidth(text) { return 16 * [...text].length; }, textHeight() { return 32; },
    keepArea() {}, restoreArea() {},
    timeOfDay() { const s = second++; return `10:${String(Math.floor(s / 60) % 60).padStart(2, '0')}:${String(s % 60).padStart(2, '0')}`; },
    inform(text) { this.messages.push(text); }, ask(text) { this.messages.push(text); },
    beep() { this.beeps++; },
    show(id, view) { this.views.set(id, view); },
    focus(id) { this.focused.push(id); },
    announce(text) { this.said.push(text); },
    tickEvery(ms) { this.ticks.push(ms); },
    markShown() {}, problemShown() {}, close() {},
    // The text printed last in black at (px, py).
    lastAt(px, py) {
      return this.printed.filter((p) => p.x === px && p.y === py && p.colour === '0,0,0').at(-1)?.text;
    },
  };
}

const listOf = (drill) => {
  const list = drill.controls();
  const controls = Array.from({ length: list.size() }, (_, i) => list.get(i));
  list.delete();
  return controls;
};

test('a problem played in the browser\'s build: printed where the desktop prints it, shown, said, ○ and the next problem', () => {
  const p = page();
  const drill = new module.Drill(p);
  drill.load(1024, 1);
  drill.showAll();
  assert.equal(p.focused.at(-1), 'Command1(0)');
  drill.click('Command1(0)');
  drill.click('Command10');
  assert.deepEqual(p.messages, ['レベルをきめてから、けっていボタンをおしてください。']);
  drill.click('Option2(2)');
  drill.click('Command10');
  assert.equal(p.lastAt(40, 140), 'ここをクリックしてください。');
  assert.equal(p.focused.at(-1), 'Row(0)');
  // A press on the first row, in pixels of the window: the surface takes it and opens the row.
  assert.equal(drill.press(108, 150, 1), 'taken');
  assert.equal(p.views.get('Text1(0)').shown, true);
  assert.equal(p.focused.at(-1), 'Text1(0)');
  const opened = p.views.get('Row(0)').name;
  const [, a, b] = opened.match(/^レベル 3 \( 1\) せいせき： (\d+) ＋ (\d+) ＝$/);
  const problem = `${a} ＋ ${b} ＝ `;
  assert.equal(p.lastAt(80, 160), problem);
  assert.deepEqual(p.views.get('Text1(0)').place, { left: 16 * [...problem].length + 90, top: 157, width: 125, height: 40 });

  const sum = String(Number(a) + Number(b));
  drill.type('Text1(0)', sum);
  assert.equal(drill.key('Enter'), true); // in the answer box: ﾁｪｯｸ
  assert.deepEqual(p.said, [opened, 'せいかい（1ばんめ）']);
  assert.equal(p.views.get('Text1(0)').description, 'せいかい');
  assert.deepEqual(p.printed.at(-1), { x: 50, y: 158, colour: '255,0,0', text: '○' });
  assert.equal(p.beeps, 1);
  assert.deepEqual(p.ticks, [50]);
  const five = listOf(drill).find((c) => c.parent === 'Picture6(0)' && c.caption === '5');
  drill.click(five.id); // waits for the mark
  assert.equal(drill.view('Text1(0)').text, sum);
  while (drill.holding() && p.ticks.at(-1) !== 0) drill.tick();
  assert.deepEqual(p.ticks, [50, 0]);
  assert.equal(p.lastAt(20, 80), 'レベル 3 ( 2)  せいせき：○');
  assert.equal(drill.view('Text1(0)').text, '5');
  assert.match(p.said[2], /^レベル 3 \( 2\) せいせき：○ \d+ ＋ \d+ ＝$/);
  assert.equal(drill.leavingAsks(), true);

  drill.click('Command8');
  drill.answer(true);
  assert.equal(p.views.get('Text1(0)').shown, false);
  assert.equal(p.views.get('Picture7').shown, true);
  assert.equal(drill.closing(), true);
  drill.delete();
});

test('the start screen the page shows before the drill has come, and its message boxes', () => {
  const start = startScreens(module);
  for (const layout of ['large', 'compact'])
    assert.deepEqual(start[layout].controls.map((c) => c.id), ['Command1(0)', 'Command1(1)', 'Command1(2)', 'Command1(3)', 'Command2']);
  assert.deepEqual([start.dialog.yes, start.dialog.no, start.dialog.ok, start.dialog.questionFocusYes], ['はい', 'いいえ', 'OK', false]);
});
