// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// Every control of the page as the drill says it shows: within the pupil's reach (shown, and in
// nothing hidden or inert) exactly when the drill says so, and where shown at its place, in its
// size of letters, with its name, description, text, colour and choice.
import assert from 'node:assert/strict';

export async function asPresented(page, when = '') {
  const wrong = await page.evaluate(() => {
    const { drill, complete, controls } = window.pikomaru;
    if (!complete) return [];
    const rgb = (c) => `rgb(${c[0]}, ${c[1]}, ${c[2]})`;
    const out = [];
    for (const [id, e] of controls.elements) {
      const v = drill.view(id);
      const differs = (what, seen, wanted) => { if (seen !== wanted) out.push(`${id} ${what}: ${seen} for ${wanted}`); };
      differs('within reach', e.checkVisibility() && !e.closest('[inert]'), drill.reachable(id));
      if (!v.shown) continue;
      const kind = controls.kindOf(id);
      const named = kind === 'option' ? e.querySelector('input') : e;
      for (const side of ['left', 'top', 'width', 'height']) differs(side, e.style[side], `${v.place[side]}px`);
      if (v.fontPixels) differs('letters', getComputedStyle(e).fontSize, `${v.fontPixels}px`);
      if (kind === 'picture') differs('name', named.alt, v.name);
      else if (kind !== 'label') differs('name', named.getAttribute('aria-label') ?? '', v.name);
      differs('description', named.getAttribute('aria-description') ?? '', v.description);
      if (kind === 'textbox') differs('text', e.value, v.text);
      if (kind === 'option') differs('chosen', named.checked, v.checked);
      if (v.back) differs('colour', getComputedStyle(e).backgroundColor, rgb(v.back));
    }
    return out;
  });
  assert.deepEqual(wrong, [], `the page against the drill ${when}`);
}
