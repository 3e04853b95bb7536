// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// What the browser prints: the chosen level's paper worksheet, not a picture of the screen. The
// drill places every text and box of its A4 pages in millimetres; the print style sheet shows
// only #Worksheet. With no level chosen, the printed page says to choose one.

// Fills #Worksheet (made at the first print) with `sheet`'s pages, or with `note` for none.
export function fillWorksheet(sheet, families, note) {
  let root = document.getElementById('Worksheet');
  if (!root) {
    root = document.createElement('div');
    root.id = 'Worksheet';
    root.translate = false;
    document.body.append(root);
  }
  if (!sheet) {
    const said = document.createElement('p');
    said.className = 'note';
    said.textContent = note;
    root.replaceChildren(said);
    return;
  }
  const pages = Array.from({ length: sheet.pages }, () => {
    const page = document.createElement('div');
    page.className = 'page';
    page.style.width = `${sheet.width}mm`;
    page.style.height = `${sheet.height}mm`;
    return page;
  });
  for (const item of sheet.items) {
    const e = document.createElement('div');
    e.className = item.kind;
    for (const side of ['left', 'top', 'width', 'height']) e.style[side] = `${item[side]}mm`;
    if (item.kind === 'text') {
      e.textContent = item.text;
      e.style.fontFamily = families[item.family];
      e.style.fontSize = `${item.points}pt`;
      e.style.fontWeight = item.bold ? 'bold' : 'normal';
      if (item.right) e.style.justifyContent = 'flex-end';
    }
    pages[item.page].append(e);
  }
  root.replaceChildren(...pages);
}
