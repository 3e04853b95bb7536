// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The window's elements: each control the drill lists, made once as the element of its kind,
// and shown as the drill says (where, in what size of letters, with what name, text and colour).
export const rgb = (c) => `rgb(${c[0]}, ${c[1]}, ${c[2]})`;

export class Controls {
  constructor(stage, families, pictures) {
    this.stage = stage;
    this.families = families;
    this.pictures = pictures; // a picture's name → its file
    this.clear();
  }

  clear() {
    this.stage.replaceChildren();
    this.elements = new Map(); // id → element
    this.ids = new Map(); // element → id
    this.designs = new Map(); // id → the control as listed
    this.composing = new Set(); // boxes an input method is writing into
    this.surface = null;
  }

  font(f, pixels = f.pixels) {
    return `${f.bold ? 'bold ' : ''}${pixels}px ${this.families[f.family]}`;
  }

  // The window itself: its size, colour, letters and title.
  form(form) {
    const style = this.stage.style;
    style.width = `${form.width}px`;
    style.height = `${form.height}px`;
    style.background = rgb(form.back);
    style.font = this.font(form.font);
    document.title = form.caption.trim();
    document.body.style.background = rgb(form.back);
  }

  // Makes the controls not made yet, parents first, each shown as viewOf(id) says.
  build(controls, viewOf, makeSurface) {
    for (const c of controls) {
      if (this.elements.has(c.id)) continue;
      const element = this.make(c);
      element.id = c.id;
      if (c.back) element.style.background = rgb(c.back);
      (c.parent === null ? this.stage : this.elements.get(c.parent)).append(element);
      this.elements.set(c.id, element);
      this.ids.set(element, c.id);
      this.designs.set(c.id, c);
      const view = viewOf(c.id);
      if (c.kind === 'surface') this.surface = makeSurface(element, view.place, c.back, this.font(c.font));
      this.show(c.id, view);
    }
  }

  make(c) {
    switch (c.kind) {
      case 'button':
      case 'row': {
        const button = document.createElement('button');
        button.type = 'button';
        if (c.kind === 'row') button.className = 'row';
        else button.textContent = c.caption;
        return button;
      }
      case 'option': {
        const label = document.createElement('label');
        label.className = 'option';
        const radio = document.createElement('input');
        radio.type = 'radio';
        radio.name = c.parent;
        const caption = document.createElement('span');
        caption.textContent = c.caption;
        label.append(radio, caption);
        return label;
      }
      case 'textbox': {
        const box = document.createElement('input');
        box.className = 'box';
        Object.assign(box, { type: 'text', inputMode: 'numeric', autocomplete: 'off', spellcheck: false });
        box.setAttribute('autocapitalize', 'off');
        box.setAttribute('enterkeyhint', 'done');
        return box;
      }
      case 'label': {
        const label = document.createElement('div');
        label.className = 'label';
        label.textContent = c.caption;
        return label;
      }
      case 'picture': {
        const picture = document.createElement('img');
        // Fetched with the drill, not when first shown: a page never needs a file after it has
        // loaded, when another page may have handed over to a new version (sw.js).
        picture.src = this.pictures[c.art];
        picture.draggable = false;
        return picture;
      }
      default: { // the surface, a level panel, a keypad
        const box = document.createElement('div');
        box.setAttribute('role', 'group');
        return box;
      }
    }
  }

  element(id) {
    return this.elements.get(id);
  }

  // The element that takes the keyboard's focus for a control: an option's radio button.
  focusable(id) {
    const element = this.elements.get(id);
    return element?.querySelector('input') ?? element;
  }

  // The control an element belongs to, or null.
  idOf(target) {
    for (let e = target; e && e !== this.stage; e = e.parentElement) {
      const id = this.ids.get(e);
      if (id !== undefined) return id;
    }
    return null;
  }

  kindOf(id) {
    return this.designs.get(id)?.kind;
  }

  show(id, view) {
    const element = this.elements.get(id);
    const c = this.designs.get(id);
    if (!element) return;
    element.hidden = !view.shown;
    element.inert = !view.enabled;
    const { left, top, width, height } = view.place;
    Object.assign(element.style, { left: `${left}px`, top: `${top}px`, width: `${width}px`, height: `${height}px` });
    if (view.fontPixels) element.style.font = this.font(c.font, view.fontPixels);
    if (view.back) element.style.background = rgb(view.back);
    const named = c.kind === 'option' ? element.querySelector('input') : element;
    if (c.kind === 'picture') named.alt = view.name;
    else if (c.kind !== 'label') setOrRemove(named, 'aria-label', view.name);
    setOrRemove(named, 'aria-description', view.description);
    if (c.kind === 'option') named.checked = view.checked;
    if (c.kind === 'textbox' && element.value !== view.text && !this.composing.has(element)) {
      element.value = view.text;
      element.scrollLeft = element.scrollWidth; // the newest digit in sight, however long the number
    }
  }
}

function setOrRemove(element, attribute, value) {
  if (!value) element.removeAttribute(attribute);
  else if (element.getAttribute(attribute) !== value) element.setAttribute(attribute, value);
}
