// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The drill's face in the browser: the window built from the drill's own design tables, the
// pupil's actions handed to the drill, and what the drill decides put on the page.

// The start screen comes with the page, with the font that travels with it for each of the
// design's; the drill (with the whole window of both layouts), the surface and every font load
// once it shows.
const kStartScreen = JSON.parse(document.getElementById('StartScreen').textContent);
const kFamilies = kStartScreen.families;
const kMarkTickMs = 50; // how often the clock is looked at while a mark is shown
const kLeastMessagePixels = 16;
const kNotLoaded = 'ぴこまるを よみこめませんでした。\nネットワークに つながって いるか たしかめて、もう いちど おしてください。';
// What keeps the drill from running at all, for the teacher: a press cannot mend it.
const kNoWebAssembly = 'この ブラウザでは ぴこまるが うごきません。WebAssembly が つかえない せっていに なっています。\n' +
  '先生へ：ブラウザの せってい（がっこうの かんり せってい）で WebAssembly を ゆるすか、ほかの ブラウザで ひらいて ください。';
const kRefused = 'ぴこまるの プログラム（WebAssembly）が とめられました。\n' +
  "先生へ：この ページの サーバー（または がっこうの フィルター）が おくる Content-Security-Policy の script-src に 'wasm-unsafe-eval' を くわえて ください。";

const stage = document.getElementById('Form1');
const announcer = document.getElementById('Announce');
const message = document.getElementById('Message');

// A Content-Security-Policy that refuses WebAssembly says so here, whatever the browser's error.
let refusedByPolicy = false;
document.addEventListener('securitypolicyviolation', (event) => {
  if (/^(wasm-)?eval$/.test(event.blockedURI)) refusedByPolicy = true;
});

const rgb = (c) => `rgb(${c[0]}, ${c[1]}, ${c[2]})`;
const fontOf = (f) => `${f.bold ? 'bold ' : ''}${f.pixels}px ${kFamilies[f.family]}`;
const id = (name, index) => (index >= 0 ? `${name}(${index})` : name);

// Messages and questions in the page: はい / いいえ or OK, the program's title above.
class Messages {
  constructor(answer) {
    this.answer = answer;
    this.asking = false;
    for (const button of message.querySelectorAll('button'))
      button.addEventListener('click', () => this.close(button.value === 'yes'));
    message.addEventListener('cancel', (event) => { event.preventDefault(); this.close(false); });
  }

  show(text, asking) {
    this.asking = asking;
    document.getElementById('MessageCaption').textContent = this.caption;
    document.getElementById('MessageText').textContent = text;
    document.getElementById('Yes').hidden = !asking;
    document.getElementById('No').hidden = !asking;
    document.getElementById('Ok').hidden = asking;
    this.returnFocus = document.activeElement;
    message.showModal();
    document.getElementById(asking ? 'No' : 'Ok').focus();
  }

  close(yes) {
    if (!message.open) return;
    message.close();
    this.returnFocus?.focus?.();
    if (this.asking) this.answer(yes);
  }
}

// A short tone for the beep, once the page may make sound.
class Beeper {
  beep() {
    try {
      this.audio ??= new AudioContext();
      const tone = this.audio.createOscillator();
      const gain = this.audio.createGain();
      tone.frequency.value = 880;
      gain.gain.value = 0.15;
      tone.connect(gain).connect(this.audio.destination);
      tone.start();
      tone.stop(this.audio.currentTime + 0.12);
    } catch {
      // No sound on this device: the mark still shows.
    }
  }
}

class Face {
  constructor() {
    this.beeper = new Beeper();
    this.messages = new Messages((yes) => this.drill.answer(yes));
    addEventListener('resize', () => this.fit());
    document.addEventListener('keydown', (event) => this.key(event));
    // A button pressed by mouse or touch, a picture or a label leaves the keyboard's focus where
    // it was (in the answer box, mostly), as in the window.
    stage.addEventListener('mousedown', (event) => {
      if (event.target.closest('button, img, .label')) event.preventDefault();
    });
    // Any button presses on the surface, as on the desktop: the browser's menu has no place there.
    stage.addEventListener('contextmenu', (event) => {
      if (event.target.closest('#Picture1') && !event.target.matches('input')) event.preventDefault();
    });
    // Leaving the page while a row is open asks first, as closing the window does.
    addEventListener('beforeunload', (event) => {
      if (this.complete && this.drill.anyRowOpen()) event.preventDefault();
    });
  }

  // A fresh drill on an empty window: at the first visit, and after 「ぴこまる」おわり. The start
  // screen comes first, from the design alone, in its own font; the drill, every font and the
  // rest of the window (panels, the surface) once it is on the screen. An action meanwhile waits.
  async start(restarted = false) {
    this.drill?.delete();
    this.drill = null;
    this.timer = clearInterval(this.timer);
    stage.replaceChildren();
    this.controls = new Map();
    this.shown = null;
    this.composing = new Set();
    this.surface = null;
    this.complete = false;
    // The layout follows the width at the start, for the drill and the window alike.
    const width = innerWidth;
    const layout = width >= kStartScreen.largeFrom ? 'large' : 'compact';
    this.window = kStartScreen[layout];
    this.messages.caption = this.window.names.caption;
    const first = this.window.controls;
    await Promise.all(first.map((c) => document.fonts.load(fontOf(c.font ?? this.window.font), c.caption)));
    this.build(first);
    this.connectFirst();
    this.fit();
    stage.classList.add('ready');
    const frame = new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
    this.completing = frame.then(() => this.loadTheRest(width, layout));
    if (restarted) this.get('Command1', 0).focus();
  }

  // The drill, the surface and every font. Where they cannot be loaded (the network gone at a
  // first visit), the pupil is told, and the next press tries again; where the browser cannot
  // or may not run WebAssembly, the teacher is told why, in place of the window.
  loadTheRest(width, layout) {
    this.failed = null;
    if (typeof WebAssembly !== 'object') return this.cannotRun(kNoWebAssembly);
    return loadDrill().then(
      ([module, { Surface }]) => this.buildRest(width, JSON.parse(module.windows())[layout], module, Surface),
      (error) => {
        const refused = refusedByPolicy || /Content.Security.Policy|unsafe-eval|blocked by CSP/i.test(String(error?.message ?? error));
        if (refused) return this.cannotRun(kRefused);
        this.failed = () => { this.completing = this.loadTheRest(width, layout); };
        this.messages.show(kNotLoaded, false);
      });
  }

  cannotRun(text) {
    const notice = document.getElementById('Trouble');
    notice.textContent = text;
    notice.hidden = false;
    stage.hidden = true;
  }

  buildRest(width, window, module, Surface) {
    if (this.complete) return;
    this.window = window;
    message.style.fontFamily = kFamilies[window.messageFont.family];
    this.module = module;
    this.Surface = Surface;
    const page = {
      ...Surface.methods(() => this.surface),
      timeOfDay() {
        const now = new Date();
        return [now.getHours(), now.getMinutes(), now.getSeconds()]
          .map((n) => String(n).padStart(2, '0')).join(':');
      },
      inform: (text) => this.messages.show(text, false),
      ask: (text) => this.messages.show(text, true),
      beep: () => this.beeper.beep(),
      changed: () => this.changed(),
      announce: (text) => this.announce(text),
    };
    this.drill = new module.Drill(page);
    this.drill.load(width, 1);
    this.build(this.window.controls);
    // The keyboard goes through the rows one by one, as in the window: the row, its answer,
    // あまり and the remainder, its keypad, ﾁｪｯｸ.
    for (let r = 0; r < 3; ++r)
      this.get('Picture1').append(...['Row', 'Text1', 'Command9', 'Text2', 'Picture6', 'Command5'].map((name) => this.get(name, r)));
    this.nameForScreenReaders();
    this.connect();
    this.complete = true;
    this.fit();
    this.show();
  }

  act(action) {
    if (this.complete) return action();
    this.failed?.();
    this.completing.then(() => this.complete && action());
  }

  build(controls) {
    const w = this.window;
    stage.style.width = `${w.client.width}px`;
    stage.style.height = `${w.client.height}px`;
    stage.style.background = rgb(w.back);
    stage.style.font = fontOf(w.font);
    document.title = w.caption.trim();
    document.body.style.background = rgb(w.back);
    for (const c of controls) {
      if (this.controls.has(id(c.name, c.index))) continue;
      const parent = c.parent === 'Form1' ? stage : this.controls.get(id(c.parent, c.parentIndex));
      const element = this.make(c);
      element.id = id(c.name, c.index);
      Object.assign(element.style, {
        left: `${c.left}px`, top: `${c.top}px`, width: `${c.width}px`, height: `${c.height}px`,
      });
      if (c.back) element.style.background = rgb(c.back);
      if (c.font) element.style.font = fontOf(c.font);
      element.hidden = !c.shown;
      parent.append(element);
      this.controls.set(element.id, element);
    }
  }

  make(c) {
    const names = this.window.names;
    switch (c.kind) {
      case 'button': {
        const button = document.createElement('button');
        button.type = 'button';
        button.textContent = c.caption;
        return button;
      }
      case 'option': {
        const label = document.createElement('label');
        label.className = 'option';
        const radio = document.createElement('input');
        radio.type = 'radio';
        radio.name = c.name;
        radio.dataset.index = c.index;
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
        picture.loading = 'lazy'; // not on the start screen
        picture.src = `art/${c.art}`;
        picture.alt = c.spoken;
        picture.draggable = false;
        return picture;
      }
      case 'surface': {
        const surface = document.createElement('div');
        surface.setAttribute('role', 'group');
        surface.setAttribute('aria-label', names.surface);
        this.surface = new this.Surface(surface, c, fontOf(c.font));
        for (let r = 0; r < 3; ++r) {
          const row = document.createElement('button');
          row.type = 'button';
          row.className = 'row';
          row.id = `Row(${r})`;
          const f = this.window.frame;
          const top = f.spacing * r + f.top;
          Object.assign(row.style, {
            left: `${f.left}px`, top: `${top}px`, width: `${f.right - f.left}px`, height: `${f.bottom - f.top}px`,
          });
          row.hidden = true;
          surface.append(row);
        }
        return surface;
      }
      default: {
        const box = document.createElement('div');
        box.setAttribute('role', 'group');
        return box;
      }
    }
  }

  get(name, index = -1) {
    return this.controls.get(id(name, index)) ?? document.getElementById(id(name, index));
  }

  nameForScreenReaders() {
    const names = this.window.names;
    for (const panel of this.window.panels)
      this.get(panel.picture).setAttribute('aria-label', panel.caption + names.panelAfter);
    for (let r = 0; r < 3; ++r) {
      const which = this.module.rowName(r + 1);
      const label = (name, index, text) => this.get(name, index).setAttribute('aria-label', text + which);
      label('Text1', r, names.answer);
      label('Text2', r, names.remainder);
      label('Command9', r, names.remainderButton);
      label('Command7', r, names.erase);
      label('Command5', r, names.check);
      label('Picture6', r, names.keypad);
      for (const digit of this.get('Picture6', r).querySelectorAll('button'))
        if (/^\d$/.test(digit.textContent)) digit.setAttribute('aria-label', digit.textContent + which);
    }
  }

  listen(element, type, handler) {
    element.addEventListener(type, (event) => this.act(() => handler(event)));
  }

  // The start screen's buttons.
  connectFirst() {
    for (let i = 0; i < 4; ++i) this.listen(this.get('Command1', i), 'click', () => this.Command1_Click(i));
    this.listen(this.get('Command2'), 'click', () => this.Command2_Click());
  }

  // The pupil's actions, each handed to the drill; while a mark is shown the drill keeps them
  // and handles them after it, in order.
  connect() {
    const on = (element, type, handler) => this.listen(element, type, handler);
    const click = (name, index, handler) => on(this.get(name, index), 'click', handler);
    click('Command8', -1, () => this.Command8_Click());
    for (const c of this.window.controls)
      if (c.name === 'Command6') click('Command6', c.index, () => this.Command6_Click(c.index));
    for (const panel of this.window.panels) {
      for (let i = 0; i < panel.levels; ++i)
        on(this.get(panel.options, i).querySelector('input'), 'change', () => this[`${panel.options}_Click`](i));
      click(panel.decide, -1, () => this[`${panel.decide}_Click`]());
      click(panel.cancel, -1, () => this[`${panel.cancel}_Click`]());
    }
    // A press with any button, a touch or a pen opens a row as it goes down; the pictures and
    // the prompt take presses without passing them on.
    on(this.surface.canvas, 'pointerdown', (event) => this.Picture1_MouseDown(event));
    for (let r = 0; r < 3; ++r) {
      on(this.get('Row', r), 'pointerdown', (event) => this.Picture1_MouseDown(event));
      on(this.get('Row', r), 'click', (event) => {
        if (event.detail === 0) this.drill.openRow(r + 1); // the keyboard
      });
      click('Command7', r, () => this.Command7_Click(r));
      click('Command9', r, () => this.Command9_Click(r));
      click('Command5', r, () => this.Command5_Click(r));
      for (const [name, remainder] of [['Text1', false], ['Text2', true]]) this.connectBox(this.get(name, r), r, remainder);
    }
  }

  Command1_Click(index) { this.drill.chooseOperation(index + 1); }
  Option2_Click(index) { this.drill.chooseLevel(1, index + 1); }
  Option3_Click(index) { this.drill.chooseLevel(2, index + 1); }
  Option4_Click(index) { this.drill.chooseLevel(3, index + 1); }
  Option1_Click(index) { this.drill.chooseLevel(4, index + 1); }
  Command10_Click() { this.drill.decide(1); }
  Command12_Click() { this.drill.decide(2); }
  Command14_Click() { this.drill.decide(3); }
  Command3_Click() { this.drill.decide(4); }
  Command11_Click() { this.drill.cancel(1); }
  Command13_Click() { this.drill.cancel(2); }
  Command15_Click() { this.drill.cancel(3); }
  Command4_Click() { this.drill.cancel(4); }
  Command2_Click() { this.drill.exit(); }
  Command8_Click() { this.drill.finish(); }
  Picture1_MouseDown(event) { const p = this.surface.pointAt(event); this.drill.pressSurface(p.x, p.y); }
  Command6_Click(index) { this.drill.pressKey(index); }
  Command7_Click(index) { this.drill.erase(index + 1); }
  Command9_Click(index) { this.drill.chooseRemainder(index + 1, true); }
  Command5_Click(index) { this.drill.check(index + 1); }

  // A box takes typing as the desktop's does: each change hands the drill the box's whole text,
  // text an input method is still composing waits for its end, and Enter checks the row.
  connectBox(box, r, remainder) {
    const typed = () => this.drill.type(r + 1, remainder, box.value);
    box.addEventListener('focus', () => { if (!this.showing) this.drill.chooseRemainder(r + 1, remainder); });
    box.addEventListener('pointerdown', () => { if (document.activeElement === box) this.drill.chooseRemainder(r + 1, remainder); });
    box.addEventListener('compositionstart', () => this.composing.add(box));
    // While a mark is shown, what the pupil types waits for it, like every other action, and
    // then goes into the box as the drill has it by then (a wrong answer empties it).
    const later = (change) => this.drill.hold(() => {
      const row = this.drill.view().rows[r];
      box.value = change(remainder ? row.remainder : row.answer);
      typed();
    });
    box.addEventListener('compositionend', (event) => {
      this.composing.delete(box);
      if (this.drill.holding()) later((now) => now + event.data);
      else typed();
    });
    box.addEventListener('input', (event) => {
      if (!event.isComposing && !this.composing.has(box) && !this.drill.holding()) typed();
    });
    box.addEventListener('beforeinput', (event) => {
      if (!this.drill.holding() || event.isComposing) return;
      event.preventDefault();
      const { inputType, data } = event;
      if (inputType.startsWith('insert') && data) later((now) => now + data);
      else if (inputType === 'deleteContentBackward') later((now) => now.slice(0, -1));
    });
    box.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && !event.isComposing && event.keyCode !== 229) {
        event.preventDefault();
        this.Command5_Click(r);
      }
    });
  }

  // The arrow keys as on the desktop: in a level list ↑ ↓ choose the level above or below and
  // ← → the one in the other column; on a row ↑ ↓ move to the row above or below.
  key(event) {
    const target = event.target;
    const step = { ArrowUp: -1, ArrowDown: 1, ArrowLeft: -2, ArrowRight: 2 }[event.key];
    if (message.open || step === undefined || !this.complete) return;
    const panel = this.window.panels.find((p) => target.name === p.options);
    if (panel) {
      event.preventDefault();
      const i = Number(target.dataset.index);
      const to = i + (Math.abs(step) === 1 ? step : Math.sign(step) * panel.secondColumnFrom);
      const option = to >= 0 && to < panel.levels ? this.get(panel.options, to) : null;
      if (!option || option.hidden) return;
      option.querySelector('input').focus();
      option.querySelector('input').click();
      return;
    }
    if (Math.abs(step) !== 1) return;
    for (let r = 0; r < 3; ++r) {
      if (![this.get('Row', r), this.get('Text1', r), this.get('Text2', r)].includes(target)) continue;
      event.preventDefault();
      this.focusRow(r + 1 + step);
      return;
    }
  }

  focusRow(row) {
    if (row < 1 || row > this.drill.rowCount()) return;
    const target = this.drill.view().rows[row - 1].open ? this.get('Text1', row - 1) : this.get('Row', row - 1);
    if (!target.hidden) target.focus();
  }

  // The whole window at the largest size that fits the page, in its middle.
  fit() {
    if (!this.window) return;
    const { width, height } = this.window.client;
    const zoom = Math.min(innerWidth / width, innerHeight / height);
    stage.style.transform = `scale(${zoom})`;
    stage.style.left = `${Math.max(0, (innerWidth - width * zoom) / 2)}px`;
    stage.style.top = `${Math.max(0, (innerHeight - height * zoom) / 2)}px`;
    // A message keeps a size a pupil can read on a phone, where the window is drawn small.
    if (this.window.messageFont) message.style.setProperty('--message-size', `${Math.max(kLeastMessagePixels, this.window.messageFont.pixels * zoom)}px`);
    if (this.surface?.setZoom(zoom * devicePixelRatio)) this.drill.redraw();
  }

  // What the drill has a screen reader say at once, in the live region: a new node each time,
  // so that the same words twice are said twice; said one after another within one action.
  announce(text) {
    const said = document.createElement('p');
    said.textContent = text;
    if (this.announcing) announcer.append(said);
    else announcer.replaceChildren(said);
    this.announcing = true;
    queueMicrotask(() => { this.announcing = false; });
  }

  changed() {
    if (this.pending || !this.complete) return;
    this.pending = true;
    queueMicrotask(() => { this.pending = false; this.show(); });
  }

  // Puts the drill's view on the page.
  show() {
    const view = this.drill.view();
    const before = this.shown;
    this.showing = true;
    for (const panel of this.window.panels) {
      const element = this.get(panel.picture);
      const shown = view.panel === panel.operation;
      if (shown && element.hidden) {
        element.style.left = `${this.window.panelLeft}px`;
        element.style.top = `${view.panelTop}px`;
      }
      element.hidden = !shown;
      for (let i = 0; i < panel.levels; ++i)
        this.get(panel.options, i).querySelector('input').checked =
          view.chosenOperation === panel.operation && view.chosenLevel === i + 1;
    }
    const surface = this.get('Picture1');
    surface.hidden = !view.surfaceShown;
    surface.inert = view.panel !== 0; // under the panel: nothing there to reach
    surface.style.left = `${view.surfaceLeft}px`;
    surface.style.top = `${this.window.surfaceTop}px`;
    for (let r = 0; r < 3; ++r) this.showRow(view, r);
    this.showFocus(view, before);
    this.shown = view;
    this.showing = false;

    if (this.drill.holding() && !this.timer) this.timer = setInterval(() => this.drill.tick(), kMarkTickMs);
    else if (!this.drill.holding() && this.timer) this.timer = clearInterval(this.timer);
    // A page cannot close itself: the end of the program is a fresh start.
    if (view.ended) setTimeout(() => this.start(true));
  }

  showRow(view, r) {
    const row = view.rows[r];
    const names = this.window.names;
    const [answer, remainder] = [this.get('Text1', r), this.get('Text2', r)];
    for (const element of [answer, this.get('Command5', r), this.get('Picture6', r)]) element.hidden = !row.open;
    for (const element of [remainder, this.get('Command9', r)]) element.hidden = !row.remainderShown;
    const at = (element, p) => { element.style.left = `${p.x}px`; element.style.top = `${p.y}px`; };
    at(answer, row.answerBox);
    at(remainder, row.remainderBox);
    at(this.get('Command9', r), row.remainderButton);
    for (const [box, text] of [[answer, row.answer], [remainder, row.remainder]]) {
      if (box.value === text || this.composing.has(box)) continue;
      box.value = text;
      box.scrollLeft = box.scrollWidth; // the newest digit in sight, however long the number
    }
    const [active, inactive] = [this.window.activeBox, this.window.inactiveBox];
    answer.style.background = rgb(row.remainderActive ? inactive : active);
    remainder.style.background = rgb(row.remainderActive ? active : inactive);

    // The row as a screen reader hears it, as the drill says it.
    const button = this.get('Row', r);
    button.hidden = !(view.decided && view.surfaceShown && r < this.drill.rowCount());
    if (button.getAttribute('aria-label') !== row.spoken) button.setAttribute('aria-label', row.spoken);
    const mark = view.markRow === r + 1 ? (view.markRight ? names.right : names.wrong) : '';
    answer.setAttribute('aria-description', mark);
  }

  // The keyboard's focus follows the drill, as on the desktop: into a panel when it opens,
  // onto the first row when the rows appear, into a row's answer box when the row opens, gets
  // a new problem or its mark ends, and onto the box that turns pink.
  showFocus(view, before) {
    let focus = null;
    if (view.panel !== 0 && view.panel !== before?.panel) {
      const panel = this.window.panels[view.panel - 1];
      const chosen = view.chosenOperation === view.panel ? view.chosenLevel - 1 : 0;
      focus = this.get(panel.options, Math.max(0, chosen)).querySelector('input');
    } else if (view.surfaceShown && view.decided && !(before?.surfaceShown && before?.decided)) {
      focus = this.get('Row', 0);
    }
    for (let r = 0; r < 3 && view.panel === 0; ++r) { // not under a panel
      const now = view.rows[r], was = before?.rows[r];
      if (!now.open) continue;
      if (!was?.open || now.status !== was.status || (before.markRow === r + 1 && view.markRow === 0))
        focus = this.get('Text1', r);
      else if (now.remainderActive !== was.remainderActive)
        focus = this.get(now.remainderActive ? 'Text2' : 'Text1', r);
    }
    // Where the focus was on something that has gone (a panel closed, a row under a panel),
    // it goes to what the pupil would go on with.
    const lost = (element) => !element || element === document.body || element.closest('[hidden], [inert]');
    if (before && lost(document.activeElement) && !focus) {
      const row = view.rows.findIndex((r) => r.open);
      focus = view.panel !== 0 || !view.surfaceShown ? this.get('Command1', Math.max(0, view.panel - 1))
        : row >= 0 ? this.get('Text1', row) : this.get('Row', 0);
    }
    if (focus && !lost(focus) && document.activeElement !== focus && !message.open) focus.focus();
  }
}

let drillLoading = null;
function loadDrill() {
  drillLoading ??= Promise.all([
    import('./pikomaru.mjs').then(({ default: makeModule }) => makeModule()),
    import('./surface.js'),
    Promise.all(Object.values(kFamilies).map((f) => document.fonts.load(`bold 16px ${f}`))),
  ]).catch((error) => {
    drillLoading = null;
    throw error;
  });
  return drillLoading;
}
// The face, for the browser's console and the page's tests. Opened as a file, the page says
// why it cannot run (opened-as-file.js), wherever a browser would run this module all the same.
globalThis.pikomaru = new Face();
if (location.protocol !== 'file:') globalThis.pikomaru.start();

if ('serviceWorker' in navigator && location.protocol !== 'file:')
  navigator.serviceWorker.register('sw.js').catch(() => {});
