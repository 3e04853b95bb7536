// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The drill's face in the browser: the start screen at once, then the drill itself, whose
// controls the page builds and shows as it is told, handing it every input. The page keeps what
// is the browser's: the zoom, the drawing, the dialog, the live region, the service worker and
// its updates.
import { Announcer } from './announcer.js';
import { Beeper } from './beeper.js';
import { Controls } from './build.js';
import { Messages } from './dialogs.js';
import { connect } from './input.js';
import { fillWorksheet } from './worksheet.js';

// The start screen comes with the page, as the drill builds it, with the font that travels with
// it for each of the design's; the drill, the surface and every font load once it shows.
const kStartScreen = JSON.parse(document.getElementById('StartScreen').textContent);
const kFamilies = kStartScreen.families;
// The page as one file (pikomaru.html): everything is inside it, opened as a file or not.
const kOneFile = document.documentElement.dataset.edition === 'one-file';
const kLeastMessagePixels = 16;
const kNotLoaded = 'ぴこまるを よみこめませんでした。\nネットワークに つながって いるか たしかめて、もう いちど おしてください。';
// What keeps the drill from running at all, for the teacher: a press cannot mend it.
const kNoWebAssembly = 'この ブラウザでは ぴこまるが うごきません。WebAssembly が つかえない せっていに なっています。\n' +
  '先生へ：ブラウザの せってい（がっこうの かんり せってい）で WebAssembly を ゆるすか、ほかの ブラウザで ひらいて ください。';
const kRefused = 'ぴこまるの プログラム（WebAssembly）が とめられました。\n' +
  "先生へ：この ページの サーバー（または がっこうの フィルター）が おくる Content-Security-Policy の script-src に 'wasm-unsafe-eval' を くわえて ください。";

const stage = document.getElementById('Form1');
const message = document.getElementById('Message');

// A Content-Security-Policy that refuses WebAssembly says so here, whatever the browser's error.
let refusedByPolicy = false;
document.addEventListener('securitypolicyviolation', (event) => {
  if (/^(wasm-)?eval$/.test(event.blockedURI)) refusedByPolicy = true;
});

class Face {
  constructor() {
    this.beeper = new Beeper();
    this.announcer = new Announcer(document.getElementById('Announce'));
    this.controls = new Controls(stage, kFamilies, kStartScreen.art);
    this.messages = new Messages(message, kStartScreen.dialog, (yes) => this.drill?.answer(yes),
      (id) => this.focus(id));
    connect(stage, this.controls, this);
    // Until the pupil's first key or press the focus is not drawn: the start screen shows as it
    // is designed.
    this.untouched = true;
    for (const type of ['keydown', 'pointerdown'])
      addEventListener(type, () => { this.untouched = false; }, { capture: true, once: true });
    addEventListener('resize', () => this.fit());
    // What the browser prints (Ctrl+P, its menu) is the chosen level's worksheet.
    addEventListener('beforeprint', () => fillWorksheet(this.complete ? this.drill.worksheet() : null, kFamilies,
      kStartScreen.noLevelToPrint));
    addEventListener('beforeunload', (event) => {
      if (this.complete && this.drill.leavingAsks()) event.preventDefault();
    });
  }

  // A fresh drill on an empty window: at the first visit, and after 「ぴこまる」おわり. The start
  // screen comes first, in its own font; the drill, every font and the rest of the window once
  // it is on the screen. An action meanwhile waits.
  async start() {
    this.drill?.delete();
    this.drill = null;
    this.timer = clearInterval(this.timer);
    this.controls.clear();
    this.complete = false;
    // The layout follows the width at the start, for the drill and the window alike.
    const width = innerWidth;
    const start = kStartScreen[width >= kStartScreen.largeFrom ? 'large' : 'compact'];
    this.setForm(start.form);
    await Promise.all(start.controls.map((c) => loadFont(this.controls.font(c.font ?? start.form.font), c.caption ?? '')));
    const views = new Map(start.controls.map((c) => [c.id, c.view]));
    this.controls.build(start.controls, (id) => views.get(id));
    this.fit();
    stage.classList.add('ready');
    const frame = new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
    this.completing = frame.then(() => this.loadTheRest(width));
    updates.whenSafe();
  }

  // A row open: the pupil is in the middle of a drill.
  rowOpen() {
    return this.complete && this.drill.leavingAsks();
  }

  setForm(form) {
    this.form = form;
    this.controls.form(form);
    message.style.fontFamily = kFamilies[form.messageFont.family];
  }

  // The drill, the surface and every font. Where they cannot be loaded (the network gone at a
  // first visit), the pupil is told, and the next press tries again; where the browser cannot
  // or may not run WebAssembly, the teacher is told why, in place of the window.
  loadTheRest(width) {
    this.failed = null;
    if (typeof WebAssembly !== 'object') return this.cannotRun(kNoWebAssembly);
    return loadDrill().then(
      ([module, { Surface }]) => this.buildRest(width, module, Surface),
      (error) => {
        const refused = refusedByPolicy || /Content.Security.Policy|unsafe-eval|blocked by CSP/i.test(String(error?.message ?? error));
        if (refused) return this.cannotRun(kRefused);
        this.failed = () => { this.completing = this.loadTheRest(width); };
        this.messages.show(kNotLoaded, false);
      });
  }

  cannotRun(text) {
    const notice = document.getElementById('Trouble');
    notice.textContent = text;
    notice.hidden = false;
    stage.hidden = true;
  }

  buildRest(width, module, Surface) {
    if (this.complete) return;
    this.module = module;
    this.drill = new module.Drill(this.page(Surface));
    this.drill.load(width, 1);
    this.setForm(this.drill.form());
    const list = this.drill.controls();
    const controls = Array.from({ length: list.size() }, (_, i) => list.get(i));
    list.delete();
    this.controls.build(controls, (id) => this.drill.view(id),
      (element, place, back, font) => new Surface(element, place, back, font));
    this.complete = true;
    this.fit();
    this.drill.showAll();
  }

  // The drill's seams and the events it sends the page.
  page(Surface) {
    return {
      ...Surface.methods(() => this.controls.surface),
      timeOfDay() {
        const now = new Date();
        return [now.getHours(), now.getMinutes(), now.getSeconds()]
          .map((n) => String(n).padStart(2, '0')).join(':');
      },
      inform: (text) => this.messages.show(text, false),
      ask: (text) => this.messages.show(text, true),
      beep: () => this.beeper.beep(),
      show: (id, view) => {
        this.controls.show(id, view);
        updates.whenSafeSoon();
      },
      focus: (id) => {
        if (this.messages.open) this.messages.focusLater(id);
        else this.focus(id);
      },
      announce: (text) => this.announcer.announce(text),
      tickEvery: (ms) => {
        this.timer = clearInterval(this.timer);
        if (ms > 0) this.timer = setInterval(() => this.drill.tick(), ms);
      },
      markShown: () => {},
      problemShown: () => {},
      // A page cannot close itself: the end of the program is a fresh start.
      close: () => setTimeout(() => this.start()),
    };
  }

  focus(id) {
    this.controls.focusable(id)?.focus(this.untouched ? { focusVisible: false } : {});
  }

  act(action) {
    if (this.complete) return action();
    this.failed?.();
    this.completing.then(() => this.complete && action());
  }

  // The whole window at the largest size that fits the page, in its middle.
  fit() {
    if (!this.form) return;
    const { width, height } = this.form;
    const zoom = Math.min(innerWidth / width, innerHeight / height);
    stage.style.transform = `scale(${zoom})`;
    stage.style.left = `${Math.max(0, (innerWidth - width * zoom) / 2)}px`;
    stage.style.top = `${Math.max(0, (innerHeight - height * zoom) / 2)}px`;
    // A message keeps a size a pupil can read on a phone, where the window is drawn small.
    message.style.setProperty('--message-size', `${Math.max(kLeastMessagePixels, this.form.messageFont.pixels * zoom)}px`);
    if (this.controls.surface?.setZoom(zoom * devicePixelRatio)) this.drill.redraw();
  }
}

// A font is decoration: one that cannot be had leaves its letters in the system's font.
function loadFont(font, text) {
  return document.fonts.load(font, text).catch(() => []);
}

let drillLoading = null;
function loadDrill() {
  drillLoading ??= Promise.all([
    import('./pikomaru.mjs').then(({ default: makeModule }) => makeModule()),
    import('./surface.js'),
    Promise.all(Object.values(kFamilies).map((f) => loadFont(`bold 16px ${f}`))),
  ]).catch((error) => {
    drillLoading = null;
    throw error;
  });
  return drillLoading;
}
// A new version installs beside the one running and waits. The page asks for one at every
// start, and hands over to it at the first moment no row is open (at the start screen, or once
// the pupil has finished with 終わる or 「ぴこまる」おわり), never in the middle of a drill; it
// then starts again in the new version.
class Updates {
  constructor() {
    this.asked = false; // this page told the new version to take over
    this.replaced = false; // another page did: this one runs a version no longer kept
    this.checking = false;
  }

  watch(registration) {
    this.registration = registration;
    registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      worker?.addEventListener('statechange', () => worker.state === 'installed' && this.whenSafe());
    });
    navigator.serviceWorker.addEventListener('controllerchange', () => {
      if (this.asked) location.reload();
      else if (this.controlled) this.replaced = true;
      this.whenSafe();
    });
    this.controlled = navigator.serviceWorker.controller !== null;
    registration.update().catch(() => {});
    this.whenSafe();
  }

  whenSafeSoon() {
    if (this.checking || !this.registration) return;
    this.checking = true;
    queueMicrotask(() => {
      this.checking = false;
      this.whenSafe();
    });
  }

  whenSafe() {
    if (globalThis.pikomaru?.rowOpen() !== false) return;
    if (this.replaced) {
      location.reload();
    } else if (this.registration?.waiting && this.registration.active && !this.asked) {
      this.asked = true;
      this.registration.waiting.postMessage('take over');
    }
  }
}

const updates = new Updates();
// The face, for the browser's console and the page's tests. Opened as a file, the page says
// why it cannot run (opened-as-file.js), wherever a browser would run this module all the same.
globalThis.pikomaru = new Face();
if (kOneFile || location.protocol !== 'file:') globalThis.pikomaru.start();

if ('serviceWorker' in navigator && location.protocol !== 'file:' && !kOneFile)
  navigator.serviceWorker.register('sw.js').then((registration) => updates.watch(registration), () => {});
