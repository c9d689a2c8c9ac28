// SPDX-License-Identifier: MIT
// The installed page's service worker: Workbox's precaching, bundled into
// site/sw.js at build time with the build's file list (web/worker.mjs).
//  * It answers only its own build's files, from what it keeps, so the page
//    opens at once whatever the network is doing; a folder's address is its
//    index.html, an address without .html its .html file, and query strings
//    are ignored. Every other request goes to the host untouched.
//  * Installing, it fetches each file from the host itself and checks it
//    against the hash its build gave it (subresource integrity); a redirect
//    the host makes (index.html to the folder, x.html to x) is followed and
//    the answer kept as a plain one. A host that answers the folder's address
//    but not its index.html gives the page from the folder's. One file that
//    cannot be had fails the whole install: the build kept before stays (a
//    file the new build shares with it is kept already, and not fetched).
//  * A new build is a new worker, installed in the background and used from
//    the next opening; the old build's files go when it takes over. A file
//    missing from what it keeps (storage cleared) is fetched again, checked,
//    and put back.
//  * Why a build could not be kept goes to the console, and to the pages it
//    may serve, which say it where no build is kept yet.
import { PrecacheController, PrecacheRoute } from 'workbox-precaching';
import { registerRoute } from 'workbox-routing';

const digest = async (bytes) =>
  `sha256-${btoa(String.fromCharCode(...new Uint8Array(await crypto.subtle.digest('SHA-256', bytes))))}`;
let trouble = [];  // [what, message] for each file this install could not have
const host = {
  // A host that answers a folder's address but not its index.html: the
  // page from the folder's, checked all the same.
  async requestWillFetch({ request }) {
    const url = new URL(request.url);
    if (!url.pathname.endsWith('/index.html')) return request;
    const probe = await fetch(url, { method: 'HEAD', cache: 'reload' }).catch(() => null);
    if (probe?.status !== 404) return request;
    return new Request(new URL('./', url), { integrity: request.integrity, cache: 'reload', credentials: 'same-origin' });
  },
  // A failed fetch: no such file, a file that is not the build's, or no answer.
  async fetchDidFail({ request }) {
    const { pathname } = new URL(request.url);
    try {
      const response = await fetch(request.url, { cache: 'reload' });
      if (!response.ok) {
        trouble.push(['missing', `${pathname}: the host answered ${response.status}`]);
        return;
      }
      const got = await digest(await response.arrayBuffer());
      if (got !== request.integrity) {
        trouble.push(['rewritten', `${pathname}: the host's file is not this build's (${got}, the build's is ` +
          `${request.integrity}); a host or network that rewrites files (minifying, injecting a banner) must leave these alone`]);
        return;
      }
    } catch { /* no answer at all */ }
    trouble.push(['unreachable', `${pathname}: the host did not answer`]);
  },
};

const precache = new PrecacheController({ plugins: [host] });
precache.addToCacheList(self.__WB_MANIFEST);

async function tell(what, message) {
  console.error(`Tressin: ${message}`);
  for (const client of await self.clients.matchAll({ includeUncontrolled: true })) {
    client.postMessage({ tressin: 'not-kept', what, message });
  }
}

self.addEventListener('install', (event) => {
  trouble = [];
  event.waitUntil(precache.install(event).then(() => self.skipWaiting(), async (e) => {
    const [first] = trouble;
    await tell(first?.[0] ?? 'unreachable', `this build could not be kept for offline use: ${
      trouble.map(([, m]) => m).join('; ') || e.message}`);
    throw e;
  }));
});

// This folder's caches as the first builds named them: by the folder, or
// (earlier still) for the whole site, holding this folder's page.
async function earlier(name) {
  if (name.startsWith(`tressin ${self.registration.scope} `)) return true;
  return name.startsWith('tressin-') && Boolean(await (await caches.open(name)).match(self.registration.scope));
}
self.addEventListener('activate', (event) => {
  precache.activate(event);
  event.waitUntil(caches.keys()
    .then(async (names) => Promise.all(names.map(async (n) => ((await earlier(n)) ? caches.delete(n) : undefined))))
    .then(() => self.clients.claim()));
});

registerRoute(new PrecacheRoute(precache, { directoryIndex: 'index.html', cleanURLs: true, ignoreURLParametersMatching: [/./] }));
