// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// The page's folder served as any plain web server would serve it, and Debian's Chromium to
// look at it: for the tests and the benchmark alike.
import { createReadStream } from 'node:fs';
import { stat } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';
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

// A static file server on a free port of this machine, sending `headers` beside each file (a
// host's Content-Security-Policy); close() really stops it, open connections included.
export async function serve(root, headers = {}) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    let file = join(root, path);
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
    createReadStream(file).pipe(response);
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
