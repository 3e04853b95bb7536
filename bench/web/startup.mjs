#!/usr/bin/env node
// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The page's start-up as a pupil meets it, beside the least a page can show (floor.html): the
// time from navigation start to the first complete frame, and the bytes a first visit costs.
//
//   node bench/web/startup.mjs [--runs N] [--warmup N] [--site DIR] [--viewport WxH]
//                              [--network LATENCY_MS,MBIT_PER_S] [--brotli] [--cache-control VALUE]
//
// The folder built by `cmake --build --preset web` (build-web/web/site) is served from a local
// server started here, which counts what each response sends. Debian's Chromium runs headless;
// every run has a fresh browser context, so nothing is cached.
//
// Timing: page and floor alternate, each run with service workers blocked. The page's time is
// the first frame after #Form1 gets the class `ready`; the floor's, the first frame after
// DOMContentLoaded. A frame counts as done when a task posted from its requestAnimationFrame
// runs, that is after the frame's paint; first-contentful-paint is shown beside it as a check
// (the page shows nothing contentful before #Form1 is ready).
//
// Bytes: one more first visit with the service worker allowed, waited for until the worker is
// active (it is activated only once it has cached every file). What was fetched before the first
// frame is told apart from what came after (the worker, its precache, the icon).
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { isMainThread, parentPort, Worker, workerData } from 'node:worker_threads';
import zlib from 'node:zlib';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '../..');
const kPlaywright = path.join(root, 'tests/web/node_modules/playwright-core/index.mjs');
const kTargetRatio = 2;
const kTargetMs = 300;
const kTargetBytes = 1_000_000;
const kDone = 'pikomaru-bench: first frame done';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.woff2': 'font/woff2',
  '.svg': 'image/svg+xml',
  '.webmanifest': 'application/manifest+json',
  '.json': 'application/json',
  '.txt': 'text/plain; charset=utf-8',
};

function usage(message) {
  if (message) console.error(`startup.mjs: ${message}`);
  console.error('usage: node bench/web/startup.mjs [--runs N] [--warmup N] [--site DIR] [--viewport WxH]\n'
    + '                                [--network LATENCY_MS,MBIT_PER_S] [--brotli] [--cache-control VALUE]');
  process.exit(2);
}

function options(argv) {
  const o = {
    runs: 15, warmup: 2, site: path.join(root, 'build-web/web/site'),
    viewport: { width: 1280, height: 720 }, cacheControl: 'no-cache', network: null, brotli: false,
  };
  for (let i = 0; i < argv.length; ++i) {
    const [name, inline] = argv[i].split(/=(.*)/s);
    const value = () => inline ?? argv[++i] ?? usage(`${name} needs a value`);
    const count = (v) => (/^\d+$/.test(v) ? Number(v) : usage(`${name} takes a whole number`));
    if (name === '--runs') o.runs = Math.max(1, count(value()));
    else if (name === '--warmup') o.warmup = count(value());
    else if (name === '--site') o.site = path.resolve(value());
    else if (name === '--cache-control') o.cacheControl = value();
    else if (name === '--brotli') o.brotli = true;
    else if (name === '--network') {
      const m = /^(\d+(?:\.\d+)?),(\d+(?:\.\d+)?)$/.exec(value()) ?? usage('--network takes LATENCY_MS,MBIT_PER_S');
      o.network = { latency: Number(m[1]), mbits: Number(m[2]) };
    } else if (name === '--viewport') {
      const m = /^(\d+)x(\d+)$/.exec(value()) ?? usage('--viewport takes WIDTHxHEIGHT');
      o.viewport = { width: Number(m[1]), height: Number(m[2]) };
    } else if (name === '--help' || name === '-h') usage();
    else usage(`unknown option ${name}`);
  }
  return o;
}

// The server: the site's folder, and the floor at /floor.html. Files are read once and kept in
// memory, so the disk is not timed. Every response is written down with the bytes it sent, its
// body alone and on the wire with the headers. With `brotli`, it compresses as a static host
// would: every file but the fonts (WOFF2 is compressed already), to a browser that takes br.
// It runs in a thread of its own: on the driver's thread it would answer only between
// Playwright's own messages, which come thickest exactly while a page loads.
function serve(settings) {
  const worker = new Worker(new URL(import.meta.url), { workerData: { server: settings } });
  const ledger = [];
  let synced = null;
  worker.on('message', (m) => {
    if (m.response) ledger.push(m.response);
    else if (m.synced) synced?.();
  });
  return new Promise((resolve, reject) => {
    worker.once('error', reject);
    worker.once('message', ({ port }) => resolve({
      port,
      ledger,
      // Every response finished so far is in the ledger once this resolves.
      sync: () => new Promise((done) => { synced = done; worker.postMessage('sync'); }),
      close: () => worker.terminate(),
    }));
  });
}

function runServer({ site, floor, cacheControl, brotli = false }) {
  const ledger = { push: (response) => parentPort.postMessage({ response }) };
  parentPort.on('message', () => parentPort.postMessage({ synced: true }));
  const files = new Map();
  const read = (file) => {
    if (!files.has(file)) {
      let entry = null;
      try {
        const stat = fs.statSync(file);
        if (stat.isFile()) {
          entry = {
            body: fs.readFileSync(file),
            etag: `"${stat.size.toString(16)}-${Math.floor(stat.mtimeMs).toString(16)}"`,
            modified: stat.mtime.toUTCString(),
            type: kTypes[path.extname(file)] ?? 'application/octet-stream',
          };
          if (brotli && path.extname(file) !== '.woff2') entry.br = compress(entry.body);
        }
      } catch {
        // Not there: a 404.
      }
      files.set(file, entry);
    }
    return files.get(file);
  };
  const server = http.createServer((request, response) => {
    const arrived = performance.timeOrigin + performance.now();
    const socket = request.socket;
    const before = socket.bytesWritten;
    const url = new URL(request.url, 'http://localhost');
    let pathname = decodeURIComponent(url.pathname);
    let file = null;
    if (pathname === '/floor.html') {
      file = floor;
    } else {
      if (pathname.endsWith('/')) pathname += 'index.html';
      const candidate = path.join(site, path.normalize(pathname));
      if (candidate.startsWith(site + path.sep)) file = candidate;
    }
    const found = file && read(file);
    const br = found?.br && /\bbr\b/.test(request.headers['accept-encoding'] ?? '');
    const etag = found && (br ? found.etag.replace(/"$/, '-br"') : found.etag);
    const body = found && (br ? found.br : found.body);
    let sent = 0;
    if (!found) {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found');
    } else if (request.headers['if-none-match'] === etag) {
      response.writeHead(304, { ETag: etag, 'Cache-Control': cacheControl });
      response.end();
    } else {
      response.writeHead(200, {
        'Content-Type': found.type, 'Content-Length': body.length,
        ETag: etag, 'Last-Modified': found.modified, 'Cache-Control': cacheControl,
        ...(br ? { 'Content-Encoding': 'br' } : {}), ...(found.br ? { Vary: 'Accept-Encoding' } : {}),
      });
      response.end(request.method === 'HEAD' ? undefined : body);
      sent = request.method === 'HEAD' ? 0 : body.length;
    }
    response.on('finish', () => ledger.push({
      path: url.pathname, file: found ? file : null, status: response.statusCode, body: sent,
      wire: socket.bytesWritten - before, arrived,
    }));
  });
  server.listen(0, '127.0.0.1', () => parentPort.postMessage({ port: server.address().port }));
}

// Put into every page before its own scripts. It marks the moment the start screen is ready
// (the floor: DOMContentLoaded) and the end of the frame after it, and for the page the steps on
// the way: the wasm instantiated, the fonts asked for and loaded.
function probe(kDone) {
  const b = { marks: {} };
  window.__bench = b;
  const now = () => performance.now();
  // Told once, by a console message: the benchmark asks the page nothing before then, since
  // evaluating anything in it would take the page's own time.
  const finish = () => {
    if (b.marks.painted === undefined || b.marks.fcp === undefined || b.told) return;
    b.told = true;
    console.debug(kDone);
  };
  const afterNextFrame = () => requestAnimationFrame(() => {
    b.marks.frame = now();
    const channel = new MessageChannel();
    channel.port1.onmessage = () => { b.marks.painted = now(); finish(); };
    channel.port2.postMessage(0);
  });
  new PerformanceObserver((list) => {
    for (const e of list.getEntries()) if (e.name === 'first-contentful-paint') b.marks.fcp = e.startTime;
    finish();
  }).observe({ type: 'paint', buffered: true });

  if (location.pathname.endsWith('/floor.html')) {
    document.addEventListener('DOMContentLoaded', () => { b.marks.ready = now(); afterNextFrame(); }, { once: true });
    return;
  }
  const seen = () => {
    if (b.marks.ready !== undefined || !document.getElementById('Form1')?.classList.contains('ready')) return;
    watch.disconnect();
    b.marks.ready = now();
    afterNextFrame();
  };
  const watch = new MutationObserver(seen);
  watch.observe(document, { subtree: true, attributes: true, attributeFilter: ['class'] });
  // A start screen written into the page itself is ready as soon as it is parsed.
  document.addEventListener('DOMContentLoaded', seen, { once: true });
  for (const name of ['instantiateStreaming', 'instantiate']) {
    const original = WebAssembly[name];
    if (!original) continue;
    WebAssembly[name] = function (...args) {
      b.marks.wasmAsked ??= now();
      return original.apply(this, args).then((result) => { b.marks.wasmReady = now(); return result; });
    };
  }
  const load = FontFaceSet.prototype.load;
  FontFaceSet.prototype.load = function (...args) {
    b.marks.fontsAsked ??= now();
    return load.apply(this, args).then((result) => { b.marks.fontsLoaded = now(); return result; });
  };
}

// What the page recorded, once its first frame is done: the marks, the page's own performance
// marks if it sets any, when each file arrived, and which files were asked for before that frame.
async function collect(page) {
  return page.evaluate(() => {
    const navigation = performance.getEntriesByType('navigation')[0];
    const files = performance.getEntriesByType('resource').map((e) => ({
      path: new URL(e.name).pathname, start: e.startTime, end: e.responseEnd,
    }));
    files.unshift({ path: new URL(navigation.name).pathname, start: 0, end: navigation.responseEnd });
    const own = performance.getEntriesByType('mark').map((m) => ({ name: m.name, at: m.startTime }));
    return { marks: window.__bench.marks, own, files };
  });
}

// Resolves when the page says its first frame is done; a script error in the page, or no such
// frame in 30 s, is a failure.
function firstFrame(page) {
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`${page.url()}: no first frame in 30 s`)), 30_000);
    page.on('console', (message) => {
      if (message.text() === kDone) { clearTimeout(timer); resolve(); }
    });
    page.on('pageerror', (error) => { clearTimeout(timer); reject(error); });
  });
}

// One visit in a fresh context: nothing cached, no worker from before. With `network`, DevTools
// holds every response back by the latency and to the bandwidth.
async function visit(browser, url, { viewport, serviceWorkers, network = null }) {
  const context = await browser.newContext({ viewport, serviceWorkers });
  try {
    await context.addInitScript(probe, kDone);
    const page = await context.newPage();
    if (network) {
      const session = await context.newCDPSession(page);
      const bytesPerSecond = (network.mbits * 1e6) / 8;
      await session.send('Network.enable');
      await session.send('Network.emulateNetworkConditions', {
        offline: false, latency: network.latency, downloadThroughput: bytesPerSecond, uploadThroughput: bytesPerSecond,
      });
    }
    const done = firstFrame(page);
    await page.goto(url, { waitUntil: 'commit' });
    await done;
    const seen = await collect(page);
    if (serviceWorkers === 'allow') {
      // The worker becomes active only after its install has put every file in its cache.
      seen.cached = await page.evaluate(async () => {
        await navigator.serviceWorker.ready;
        let count = 0;
        for (const key of await caches.keys()) count += (await (await caches.open(key)).keys()).length;
        return count;
      });
    }
    return seen;
  } finally {
    await context.close();
  }
}

// The nearest-rank percentile: p90 of 15 runs is the 14th fastest.
function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.max(0, Math.ceil(p * sorted.length) - 1)];
}
const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};

function kind(pathname) {
  const ext = path.extname(pathname.endsWith('/') ? 'index.html' : pathname);
  if (ext === '.wasm') return 'wasm';
  if (ext === '.mjs' || ext === '.js') return 'JS';
  if (ext === '.woff2') return 'fonts';
  if (ext === '.svg') return 'images';
  return 'other';
}
const kKinds = ['wasm', 'JS', 'fonts', 'images', 'other'];

function compress(body) {
  return zlib.brotliCompressSync(body, {
    params: { [zlib.constants.BROTLI_PARAM_QUALITY]: 11, [zlib.constants.BROTLI_PARAM_SIZE_HINT]: body.length },
  });
}

// What a host that compresses would send of a file: WOFF2 as it is, the rest in brotli.
const brotliSizes = new Map();
function brotliSize(file) {
  if (!brotliSizes.has(file)) {
    const body = fs.readFileSync(file);
    brotliSizes.set(file, path.extname(file) === '.woff2' ? body.length : compress(body).length);
  }
  return brotliSizes.get(file);
}

// The first visit's responses, split into those asked for before the first frame (the first
// time each such file was served) and the rest.
function firstVisitBytes(responses, before) {
  const sum = () => ({
    body: 0, brotli: 0, wire: 0, requests: 0, byKind: Object.fromEntries(kKinds.map((k) => [k, 0])),
  });
  const paint = sum();
  const all = sum();
  const left = new Set(before);
  for (const r of [...responses].sort((a, b) => a.arrived - b.arrived)) {
    const add = (s) => {
      s.body += r.body;
      s.wire += r.wire;
      s.requests += 1;
      s.byKind[kind(r.path)] += r.body;
      if (r.body > 0) s.brotli += brotliSize(r.file);
    };
    if (left.delete(r.path)) add(paint);
    add(all);
  }
  return { paint, all };
}

// How busy the machine is without the benchmark: the share of CPU time not idle over a second.
async function cpuBusy() {
  const sample = () => os.cpus().reduce((sum, cpu) => {
    const t = cpu.times;
    return { idle: sum.idle + t.idle, all: sum.all + t.user + t.nice + t.sys + t.idle + t.irq };
  }, { idle: 0, all: 0 });
  const before = sample();
  await new Promise((resolve) => setTimeout(resolve, 1000));
  const after = sample();
  return 1 - (after.idle - before.idle) / Math.max(1, after.all - before.all);
}

const ms = (v) => (v === undefined ? '—' : v.toFixed(1));
const kb = (v) => (v / 1000).toFixed(1);
const pad = (text, width) => String(text).padStart(width);

async function main() {
  const o = options(process.argv.slice(2));
  if (!fs.existsSync(path.join(o.site, 'index.html'))) {
    console.error(`startup.mjs: no page in ${o.site}: build it with `
      + '`cmake --preset web && cmake --build --preset web`');
    process.exit(2);
  }
  if (!fs.existsSync(kPlaywright)) {
    console.error('startup.mjs: playwright-core is missing: run `npm ci` in tests/web');
    process.exit(2);
  }
  o.busy = await cpuBusy();
  // Chromium launched as the page's tests launch it.
  const { launchChromium } = await import(path.join(root, 'tests/web/serve.mjs'));
  const server = await serve({
    site: o.site, floor: path.join(here, 'floor.html'), cacheControl: o.cacheControl, brotli: o.brotli,
  });
  const browser = await launchChromium();
  const base = `http://127.0.0.1:${server.port}`;
  try {
    const timed = { viewport: o.viewport, serviceWorkers: 'block', network: o.network };
    const page = [];
    const floor = [];
    for (let run = 0; run < o.warmup + o.runs; ++run) {
      const p = await visit(browser, `${base}/`, timed);
      const f = await visit(browser, `${base}/floor.html`, timed);
      if (run >= o.warmup) {
        page.push(p);
        floor.push(f);
      }
    }

    await server.sync();
    const from = server.ledger.length;
    const first = await visit(browser, `${base}/`, { ...timed, serviceWorkers: 'allow' });
    const before = first.files.filter((f) => f.start < first.marks.painted).map((f) => f.path);
    await server.sync();
    const bytes = firstVisitBytes(server.ledger.slice(from), before);
    // The worker's list of files, to tell whether it cached them all.
    const worker = fs.readFileSync(path.join(o.site, 'sw.js'), 'utf8');
    const precached = /const kFiles = (\[[^\]]*\])/.exec(worker)?.[1];
    const expected = precached ? JSON.parse(precached).length : undefined;

    report(o, await browser.version(), page, floor, first, bytes, expected);
  } finally {
    await browser.close();
    await server.close();
  }
}

function report(o, version, page, floor, first, bytes, expected) {
  const painted = (runs) => runs.map((r) => r.marks.painted);
  const medianOf = (values) => median(values.filter((v) => v !== undefined));
  const pageMedian = median(painted(page));
  const pageP90 = percentile(painted(page), 0.9);
  const ratio = pageMedian / median(painted(floor));
  const met = (ok) => (ok ? 'met' : 'NOT met');
  const say = (...lines) => { for (const line of lines) console.log(line); };

  const network = o.network
    ? `${o.network.latency} ms latency, ${o.network.mbits} Mbit/s (DevTools emulation)` : 'loopback, unthrottled';
  say(
    `ぴこまる page start-up: ${o.runs} runs each after ${o.warmup} warm-up, alternating, `
      + `Chromium ${version} headless, ${o.viewport.width}×${o.viewport.height}`,
    `network: ${network}; bodies ${o.brotli ? 'in brotli where it helps' : 'as they are (uncompressed)'}`,
    `site: ${path.relative(process.cwd(), o.site) || '.'}; the ${os.cpus().length} cores were `
      + `${Math.round(o.busy * 100)}% busy the second before the runs`
      + `${o.busy > 0.15 ? ' (something else runs: the times are less sure)' : ''}`,
    '',
    'navigation start → first complete frame (ms)  median      p90   FCP median',
  );
  const timings = [['page   (#Form1 ready, next frame)', page], ['floor  (DOMContentLoaded, next frame)', floor]];
  for (const [name, runs] of timings) {
    say(name.padEnd(44) + pad(ms(median(painted(runs))), 8) + pad(ms(percentile(painted(runs), 0.9)), 9)
      + pad(ms(median(runs.map((r) => r.marks.fcp))), 13));
  }
  say(
    `${'page / floor (medians)'.padEnd(44)}${pad(ratio.toFixed(2), 8)}×`,
    `targets: page ≤ ${kTargetRatio}× floor ${met(ratio <= kTargetRatio)}; page < ${kTargetMs} ms `
      + `${met(pageMedian < kTargetMs)} (median), ${met(pageP90 < kTargetMs)} (p90)`,
    '',
    'where the page\'s time goes (median ms from navigation start)',
  );
  const received = (name) => medianOf(page.map((r) => r.files.find((f) => f.path.endsWith(name))?.end));
  const mark = (name) => medianOf(page.map((r) => r.marks[name]));
  const fonts = (r) => r.files.filter((f) => f.path.endsWith('.woff2')).map((f) => f.end);
  const steps = [
    ['index.html received', received('/')],
    ['main.js received', received('/main.js')],
    ['pikomaru.mjs received', received('/pikomaru.mjs')],
    ['main.js running (fonts asked for)', mark('fontsAsked')],
    ['pikomaru.wasm received', received('/pikomaru.wasm')],
    ['wasm instantiated', mark('wasmReady')],
    ['last font received', medianOf(page.map((r) => (fonts(r).length ? Math.max(...fonts(r)) : undefined)))],
    ['fonts loaded', mark('fontsLoaded')],
    ['#Form1 ready (window built)', mark('ready')],
    ['next frame\'s requestAnimationFrame', mark('frame')],
    ['next frame done', mark('painted')],
  ];
  for (const name of new Set(page.flatMap((r) => r.own.map((m) => m.name)))) {
    steps.push([`mark "${name}" (the page's own)`, medianOf(page.map((r) => r.own.find((m) => m.name === name)?.at))]);
  }
  steps.sort((a, b) => (a[1] ?? Infinity) - (b[1] ?? Infinity));
  for (const [name, value] of steps) say(`  ${name.padEnd(40)}${pad(ms(value), 8)}`);
  const floorMark = (name) => ms(median(floor.map((r) => r.marks[name])));
  say(
    `  (floor: floor.html received ${ms(median(floor.map((r) => r.files[0].end)))}, `
      + `DOMContentLoaded ${floorMark('ready')}, next frame done ${floorMark('painted')})`,
    '',
    `bytes on a first visit (cold cache, Cache-Control: ${o.cacheControl}; response bodies`
      + `${o.brotli ? ' as sent, in brotli' : ''}; kB = 1000 bytes)`,
  );
  const row = (name, a, b, note = '') => say(`  ${name.padEnd(18)}${pad(a, 12)} ${pad(b, 15)}${note}`);
  row('', 'first frame', 'with precache', '   (the latter with the service worker\'s install)');
  for (const k of kKinds) row(k, `${kb(bytes.paint.byKind[k])} kB`, `${kb(bytes.all.byKind[k])} kB`);
  row('total', `${kb(bytes.paint.body)} kB`, `${kb(bytes.all.body)} kB`);
  row('on the wire', `${kb(bytes.paint.wire)} kB`, `${kb(bytes.all.wire)} kB`, '   (with HTTP headers)');
  if (!o.brotli) {
    row('if in brotli', `${kb(bytes.paint.brotli)} kB`, `${kb(bytes.all.brotli)} kB`,
      '   (what a compressing host would send)');
  }
  row('requests', bytes.paint.requests, bytes.all.requests);
  say(
    `  service worker's cache: ${first.cached} of ${expected ?? '?'} files`,
    `target: under ${kb(kTargetBytes)} kB with fonts ${met(bytes.all.body < kTargetBytes)}`,
  );
}

// Run as a script it measures; imported, it lends its parts to a comparison of variants.
// In the server's thread, it serves.
if (!isMainThread && workerData?.server) runServer(workerData.server);
else if (process.argv[1] && import.meta.url === pathToFileURL(path.resolve(process.argv[1])).href) await main();

export { serve, visit, median, percentile, kPlaywright };
