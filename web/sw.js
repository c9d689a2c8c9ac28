// SPDX-License-Identifier: MIT
// The installed page's service worker: on the first visit it keeps every
// file of the page's folder, and from then on answers from what it kept, so
// the page opens and calculates with no network. A new build is a new
// cache (its name is the files' hash); the old one is removed.
'use strict';
const cache = 'tressin-@VERSION@';
const files = @FILES@;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cache).then((c) => c.addAll(files)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('tressin-') && n !== cache).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  event.respondWith(caches.open(cache).then(async (c) => {
    const kept = await c.match(event.request, { ignoreSearch: true }) ??
      (event.request.mode === 'navigate' ? await c.match('./') : undefined);
    return kept ?? fetch(event.request);
  }));
});
