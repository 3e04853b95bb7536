// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The page's clock, stood still for a test: the time of day, timers, animation frames and
// performance.now move only when the test says `testClock.runFor(ms)`, the same way in every
// browser. Served into the page ahead of its own scripts.
(() => {
  const real = {
    Date, setTimeout, setInterval, clearTimeout, clearInterval, requestAnimationFrame, cancelAnimationFrame,
  };
  const kFrame = 16;
  let base = real.Date.now();
  let elapsed = 0;
  let next = 1;
  const timers = new Map();
  const add = (fn, delay, args, every, frame) => {
    const wait = Math.max(0, Number(delay) || 0);
    const id = next++;
    if (typeof fn === 'function') timers.set(id, { fn, at: elapsed + wait, args, every: every ? Math.max(1, wait) : 0, frame });
    return id;
  };
  const remove = (id) => { timers.delete(id); };

  function FakeDate(...args) {
    if (!new.target) return new real.Date(base + elapsed).toString();
    return new real.Date(...(args.length ? args : [base + elapsed]));
  }
  FakeDate.prototype = real.Date.prototype;
  FakeDate.now = () => base + elapsed;
  FakeDate.parse = real.Date.parse;
  FakeDate.UTC = real.Date.UTC;
  globalThis.Date = FakeDate;
  globalThis.setTimeout = (fn, delay, ...args) => add(fn, delay, args, false, false);
  globalThis.setInterval = (fn, delay, ...args) => add(fn, delay, args, true, false);
  globalThis.clearTimeout = remove;
  globalThis.clearInterval = remove;
  // Frames on a 60 Hz grid, as a screen draws them.
  globalThis.requestAnimationFrame = (fn) => add(fn, kFrame - (elapsed % kFrame), [], false, true);
  globalThis.cancelAnimationFrame = remove;
  performance.now = () => elapsed;

  // A task of the real event loop, so that what a timer started (promises, events) goes on
  // before the next timer runs, as between two real tasks.
  const channel = new MessageChannel();
  const waiting = [];
  channel.port1.onmessage = () => waiting.shift()();
  const yieldTask = () => new Promise((done) => {
    waiting.push(done);
    channel.port2.postMessage(null);
  });

  globalThis.testClock = {
    real,
    // Sets the time of day; timers keep their distance from now.
    setTime(time) { base = time - elapsed; },
    async runFor(ms) {
      const end = elapsed + ms;
      for (;;) {
        let first = null;
        for (const [id, t] of timers) if (t.at <= end && (!first || t.at < first[1].at)) first = [id, t];
        if (!first) break;
        const [id, t] = first;
        elapsed = t.at;
        if (t.every) t.at += t.every;
        else timers.delete(id);
        t.fn.apply(globalThis, t.frame ? [elapsed] : t.args);
        await yieldTask();
      }
      elapsed = end;
    },
  };
})();
