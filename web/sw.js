// SPDX-License-Identifier: MIT
// The installed page's service worker.
//  * Installing, it keeps every file of the page's folder, fetched from the
//    host itself (the browser's HTTP cache would hand a new build the old
//    files) and each checked against the hash its build gave it: a cache
//    holds one whole build or nothing. A new build is a new cache (its name
//    is the files' hash); the old one goes once the new one is complete.
//  * Online, every file comes from the host, checked afresh, so a new build
//    shows at the first visit after it is put up; offline, or when the host
//    fails or is slow, from the build the worker kept.
'use strict';
const cache = 'tressin-@VERSION@';
const files = @FILES@;  // [address, integrity]
const patience = 5000;  // ms to wait for the host when a kept copy could answer

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cache)
    .then((c) => c.addAll(files.map(([url, integrity]) => new Request(url, { cache: 'reload', integrity }))))
    .then(() => self.skipWaiting(), (e) => caches.delete(cache).then(() => { throw e; })));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('tressin-') && n !== cache).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET') return;
  event.respondWith((async () => {
    // Revalidated with the host, whatever its caching headers promised.
    const network = fetch(request, { cache: 'no-cache' });
    network.catch(() => {});  // answered below
    const kept = await caches.open(cache).then(async (c) => await c.match(request, { ignoreSearch: true }) ??
      (request.mode === 'navigate' ? c.match('./') : undefined));
    const fresh = network.then((r) => (r.ok || r.type === 'opaqueredirect' || !kept ? r : kept),
      () => kept ?? Response.error());
    if (!kept) return fresh;
    return Promise.race([fresh, new Promise((done) => { setTimeout(() => done(kept), patience); })]);
  })());
});
