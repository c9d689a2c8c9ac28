// SPDX-License-Identifier: MIT
// The installed page's service worker.
//  * It answers only its own build's files, always from what it keeps, so
//    the page opens at once whatever the network is doing. Every other
//    request in its folder (a school's other pages, at the site's root) goes
//    to the host untouched, with the host's own answer.
//  * Installing, it keeps every file of its build, fetched from the host
//    itself (the browser's HTTP cache would hand a new build the old files)
//    and each checked against the hash its build gave it: a cache holds one
//    whole build or nothing. A file that is not the build's is named in the
//    console, and in the console of every page it serves.
//  * The browser looks for a new worker after each opening; a new build is
//    a new worker, installed in the background and used from the next
//    opening. Its cache is named by the worker's folder and by the hash of
//    everything the worker is (this file included), and it deletes only its
//    own folder's older caches, so two copies on one site live side by side.
'use strict';
const prefix = `tressin ${self.registration.scope} `;
const cache = `${prefix}@VERSION@`;
const files = @FILES@;  // [address, integrity]
const own = new Set(files.map(([url]) => new URL(url, self.registration.scope).href));

async function digest(bytes) {
  const hash = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
  return `sha256-${btoa(String.fromCharCode(...hash))}`;
}
// One file of the build, as the host has it now, or why it cannot be kept.
async function fetchChecked(url, integrity) {
  const response = await fetch(new Request(url, { cache: 'reload' }));
  if (!response.ok) throw new Error(`${url}: the host answered ${response.status}`);
  const got = await digest(await response.clone().arrayBuffer());
  if (got !== integrity) {
    throw new Error(`${url}: the host's file is not this build's (${got}, the build's is ${integrity}); ` +
      'a host or network that rewrites files (minifying, injecting a banner) must leave these alone');
  }
  return response;
}
async function tell(message) {
  console.error(`Tressin: ${message}`);
  for (const client of await self.clients.matchAll({ includeUncontrolled: true })) {
    client.postMessage({ tressin: 'not-kept', message });
  }
}

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    try {
      const got = await Promise.allSettled(files.map(([url, integrity]) => fetchChecked(url, integrity)));
      const failed = got.filter((r) => r.status === 'rejected').map((r) => r.reason.message);
      if (failed.length) throw new Error(failed.join('; '));
      const c = await caches.open(cache);
      await Promise.all(files.map(([url], i) => c.put(url, got[i].value)));
    } catch (e) {
      // This worker's cache is its own: no other worker has its name.
      await caches.delete(cache);
      await tell(`this build could not be kept for offline use: ${e.message}`);
      throw e;
    }
    await self.skipWaiting();
  })());
});

// An older cache of this folder's: one of this worker's own names, or one
// named as earlier builds named theirs ("tressin-…", for the whole site)
// that holds this folder's page.
async function older(name) {
  if (name.startsWith(prefix)) return name !== cache;
  return name.startsWith('tressin-') && Boolean(await (await caches.open(name)).match(own.values().next().value));
}

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then(async (names) => Promise.all((await Promise.all(names.map(older)))
      .map((old, i) => (old ? caches.delete(names[i]) : undefined))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const { request } = event;
  const url = new URL(request.url);
  url.search = url.hash = '';
  if (request.method !== 'GET' || !own.has(url.href)) return;
  event.respondWith(caches.open(cache)
    .then((c) => c.match(url.href))
    .then((kept) => kept ?? fetch(request)));  // the browser dropped the cache: the host still has it
});
