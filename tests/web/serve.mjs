// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The page's folder served as any plain web server would serve it, and Debian's Chromium to
// look at it: for the tests and the benchmark alike.
import { createReadStream } from 'node:fs';
import { readFile, stat } from 'node:fs/promises';
import { createServer } from 'node:http';
import { basename, extname, join, normalize } from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

// Headless, and quiet on the network: this machine refuses Chromium's own connections.
export function launchChromium() {
  return chromium.launch({
    executablePath: process.env.PIKOMARU_CHROMIUM ?? '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

export const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.svg': 'image/svg+xml',
  '.woff2': 'font/woff2',
  '.webmanifest': 'application/manifest+json',
};

// The tests' own scripts for the page: its clock stood still, and what went wrong on it.
export const kClock = fileURLToPath(new URL('test-clock.js', import.meta.url));
export const kErrors = fileURLToPath(new URL('test-errors.js', import.meta.url));
const kScriptsPath = '/test-scripts/';

// A static file server on a free port of this machine, sending `headers` beside each file (a
// host's Content-Security-Policy); close() really stops it, open connections included. `scripts`
// (files of this machine) are served from the same origin and loaded by every HTML page first,
// before the page's own, so that a strict policy allows them. A plain object of headers alone
// is taken as { headers }.
export async function serve(root, options = {}) {
  const known = ['headers', 'scripts'];
  const { headers = {}, scripts = [] } = Object.keys(options).some((k) => known.includes(k)) ? options : { headers: options };
  const byName = new Map(scripts.map((file) => [basename(file), file]));
  const tags = scripts.map((file) => `<script src="${kScriptsPath}${basename(file)}"></script>`).join('');
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    let file = path.startsWith(kScriptsPath) ? byName.get(path.slice(kScriptsPath.length)) : join(root, path);
    try {
      if ((await stat(file)).isDirectory()) file = join(file, 'index.html');
      await stat(file);
    } catch {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, {
      'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream',
      'Cache-Control': 'no-cache',
      ...headers,
    });
    if (tags && extname(file) === '.html') {
      response.end((await readFile(file, 'utf8')).replace(/<head[^>]*>/i, (head) => head + tags));
    } else {
      createReadStream(file).pipe(response);
    }
  });
  await new Promise((listening, failed) => {
    server.once('error', failed);
    server.listen(0, '127.0.0.1', listening);
  });
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => new Promise((closed) => {
      server.close(closed);
      server.closeAllConnections();
    }),
  };
}
