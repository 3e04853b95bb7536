// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// Keeps the whole drill on the device after the first visit, so that it starts with no
// network. A new build has a new version: it installs beside the running one and waits until a
// page tells it to take over (when no row is open there), so that a page never mixes files of
// two versions.
//
// The drill's caches are named after this copy's place as well as its version: another app of
// the same origin, or another copy of the drill in another folder, keeps its own.
const kOwn = `pikomaru ${self.registration.scope} `;
const kCache = `${kOwn}@VERSION@`;
const kFiles = @FILES@;
// A font is decoration: one that cannot be had now is fetched when the page asks for it.
const kDecoration = /\.woff2$/;

self.addEventListener('install', (event) => {
  // Each file asked of the server again (unchanged ones cost a 304), so that a new version
  // never keeps an old file from the browser's own cache.
  const fresh = (file) => new Request(file, { cache: 'no-cache' });
  event.waitUntil(caches.open(kCache).then((cache) => Promise.all([
    cache.addAll(kFiles.filter((file) => !kDecoration.test(file)).map(fresh)),
    ...kFiles.filter((file) => kDecoration.test(file)).map((file) => cache.add(fresh(file)).catch(() => {})),
  ])));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key.startsWith(kOwn) && key !== kCache)
      .map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(kCache).then(async (cache) => {
    const kept = await cache.match(event.request, { ignoreSearch: true });
    if (kept) return kept;
    const response = await fetch(event.request);
    const file = new URL(event.request.url).pathname.slice(new URL(self.registration.scope).pathname.length);
    if (response.ok && kFiles.includes(file)) await cache.put(event.request, response.clone());
    return response;
  }));
});
