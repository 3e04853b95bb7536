// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 ぴこまる developers
//
// Keeps the whole drill on the device after the first visit, so that it starts with no
// network. A new build has a new version: it takes over when no page of the old one is open,
// so that a page never mixes files of two versions.
const kCache = 'pikomaru-@VERSION@';
const kFiles = @FILES@;

self.addEventListener('install', (event) => {
  // Each file asked of the server again (unchanged ones cost a 304), so that a new version
  // never keeps an old file from the browser's own cache.
  const fresh = kFiles.map((file) => new Request(file, { cache: 'no-cache' }));
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(fresh)));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key !== kCache).map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(kCache)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((kept) => kept ?? fetch(event.request)));
});
