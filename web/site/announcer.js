// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// What the drill has a screen reader say at once, in the live region: a new node each time, so
// that the same words twice are said twice; said one after another within one action.
export class Announcer {
  constructor(region) {
    this.region = region;
    this.announcing = false;
  }

  announce(text) {
    const said = document.createElement('p');
    said.textContent = text;
    if (this.announcing) this.region.append(said);
    else this.region.replaceChildren(said);
    this.announcing = true;
    queueMicrotask(() => { this.announcing = false; });
  }
}
