// SPDX-License-Identifier: MIT
// The page as schools' web hosts serve it: build-web/web/site/ under a
// sub-folder (/school/tressin/) of a real HTTP server on localhost, with
// its Workbox service worker. Chromium finds it installable, one app per
// copy's folder; once visited it opens and calculates from what its worker
// keeps, with the network cut off, the server gone or a host that never
// answers, and asks no other host for anything. Hosts as schools have them:
// "pretty URLs" that redirect index.html to the folder and x.html to x (301
// and 308), the other way round, only the folder's address, only
// index.html, compressed answers: the page, index.html, the companion page
// and the home-screen start open online and offline. Then a new build (made
// by the page's own build step from a changed source) is put on the host, as
// hosts send their files (max-age, or Last-Modified only on files that have
// been there a while), all at once or file by file: the second opening after
// it shows it, a page left open keeps what was typed, offline still works,
// and an update that cannot finish leaves the old build working, whole. A
// kept file that is lost is fetched again. At a site's root the worker
// leaves the school's other pages to the host; two copies on one site keep
// their own builds. A host that rewrites a file is named in the console, and
// the page says in one line that it cannot be kept.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { appendFileSync, copyFileSync, cpSync, existsSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync,
  statSync, utimesSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import { brotliCompressSync, gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '../..');
const pagePath = resolve(top, process.env.TRESSIN_PAGE ?? 'build-web/web/tressin.html');
const built = dirname(pagePath);
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json' };
const folder = '/school/tressin/';
const scratch = mkdtempSync(join(tmpdir(), 'tressin-hosted-'));
const pause = (ms) => new Promise((done) => { setTimeout(done, ms); });

// The site as the build writes it, from the same inputs but `description`.
const manifest = JSON.parse(readFileSync(join(built, 'site/manifest.webmanifest'), 'utf8'));
const appName = manifest.name.slice(0, -(manifest.description.length + 1));  // "<name> <description>"
function buildSite(name, description = manifest.description) {
  const out = join(scratch, name);
  mkdirSync(out);
  const site = join(out, 'site');
  execFileSync(process.execPath, [join(top, 'web/assemble.mjs'), '--window', join(built, 'window.json'),
    '--core', join(built, 'tressin_core.js'), '--core-wasm', join(built, 'tressin_core.wasm'),
    '--background', join(top, 'ui/art/background.svg'), '--icon', join(top, 'ui/art/icon-32.png'),
    '--description', description, '--out', join(out, 'tressin.html'), '--site', site,
    '--art', join(top, 'ui/art'), '--companion', join(top, 'ui/denryoku.html'),
    '--name', appName, '--short-name', manifest.short_name], { stdio: 'ignore' });
  execFileSync(process.execPath, [join(top, 'web/worker.mjs'), site], { stdio: 'ignore' });
  return describeSite(site, description);
}
// What a build's worker keeps: each file's revision, and its digest.
function describeSite(site, description) {
  const files = readdirSync(site);
  const digest = (file) => createHash('sha256').update(readFileSync(join(site, file))).digest('base64');
  const entries = JSON.parse(readFileSync(join(site, 'sw.js'), 'utf8').match(/addToCacheList\((\[.*?\])\)/)[1]);
  return { site, files, description, digests: new Map(files.map((f) => [f, digest(f)])), entries };
}
// The same build but for a change to the worker alone.
function buildWorkerChange(name, build) {
  const site = join(scratch, name);
  cpSync(build.site, site, { recursive: true });
  appendFileSync(join(site, 'sw.js'), '\n// a change to the worker alone\n');
  return describeSite(site, build.description);
}
// Workbox names the one cache of a worker's folder by its scope.
const cacheName = (scope) => `workbox-precache-v2-${scope}`;

// A static host: the folder's files under `at`, with Last-Modified from
// their times and 304 to a request that has them already, and either
// `Cache-Control: max-age=600` or no freshness of its own. `pages` are the
// school's other pages ({ path: [status, text, delay] }); `rewrite` changes
// a file on its way out, as some hosts do. `addresses` is how the host
// answers a folder and its files:
//   plain         a folder's address and its index.html both give the page
//   pretty        index.html redirects to the folder, x.html to x (`redirect`: 301 or 308)
//   reverse       the folder redirects to its index.html, x to x.html
//   folder-only   the folder's address gives the page, index.html is not found
//   index-only    index.html gives the page, the folder's address is not found
// `compress` ('gzip' or 'br') sends every file compressed.
const servers = new Set();
function host(root, { maxAge, at = folder, pages = {}, rewrite, addresses = 'plain', redirect = 308, compress }) {
  const requests = [];
  const sockets = new Set();
  let gone = () => false;
  let hanging = false;
  const server = createServer((req, res) => {
    const path = new URL(req.url, 'http://x').pathname;
    requests.push(path);
    if (hanging) return;  // never answered
    if (gone(path)) { req.socket.destroy(); return; }
    if (pages[path]) {
      const [status, text, delay = 0] = pages[path];
      setTimeout(() => res.writeHead(status, { 'Content-Type': types['.html'] }).end(text), delay);
      return;
    }
    const notFound = () => res.writeHead(404, { 'Content-Type': types['.html'] }).end('<title>404</title>');
    const moved = (to) => res.writeHead(redirect, { Location: at + to }).end();
    let name = path.startsWith(at) ? path.slice(at.length) : undefined;
    if (name === undefined) { notFound(); return; }
    const isFolder = name === '' || name.endsWith('/');
    const html = !isFolder && !extname(name) && existsSync(join(root, `${name}.html`));
    if (addresses === 'pretty' && name.endsWith('index.html')) { moved(name.slice(0, -'index.html'.length)); return; }
    if (addresses === 'pretty' && name.endsWith('.html')) { moved(name.slice(0, -'.html'.length)); return; }
    if (addresses === 'reverse' && isFolder) { moved(`${name}index.html`); return; }
    if (addresses === 'reverse' && html) { moved(`${name}.html`); return; }
    if (addresses === 'folder-only' && name.endsWith('index.html')) { notFound(); return; }
    if (addresses === 'index-only' && isFolder) { notFound(); return; }
    if (isFolder) name += 'index.html';
    else if (html) name += '.html';
    let stat;
    try { stat = statSync(join(root, name)); } catch { /* missing */ }
    if (!stat?.isFile()) { notFound(); return; }
    const modified = new Date(Math.floor(stat.mtimeMs / 1000) * 1000);
    const headers = { 'Last-Modified': modified.toUTCString(), ...(maxAge ? { 'Cache-Control': 'max-age=600' } : {}) };
    const since = Date.parse(req.headers['if-modified-since'] ?? '');
    if (since >= modified.getTime()) { res.writeHead(304, headers).end(); return; }
    let bytes = readFileSync(join(root, name));
    if (rewrite) bytes = rewrite(name, bytes);
    if (compress && (req.headers['accept-encoding'] ?? '').includes(compress)) {
      bytes = compress === 'br' ? brotliCompressSync(bytes) : gzipSync(bytes);
      Object.assign(headers, { 'Content-Encoding': compress, Vary: 'Accept-Encoding' });
    }
    res.writeHead(200, { ...headers, 'Content-Type': types[extname(name)] ?? 'application/octet-stream' }).end(bytes);
  });
  server.on('connection', (s) => { sockets.add(s); s.on('close', () => sockets.delete(s)); });
  servers.add(server);
  return new Promise((done) => server.listen(0, '127.0.0.1', () => done({
    origin: `http://localhost:${server.address().port}`, requests,
    // From the first request that `when` picks, the host answers nothing more.
    goneFrom(when) { let away = false; gone = (p) => (away ||= when(p)); },
    hang() { hanging = true; },
    close() { for (const s of sockets) s.destroy(); server.close(); servers.delete(server); },
  })));
}

// Puts a build's files on the host, in this order, as a copy does.
function putUp(build, root, files = build.files) {
  for (const f of files) copyFileSync(join(build.site, f), join(root, f));
}
// A folder that has held `build` for twenty minutes (in each of `copies`).
function hostFolder(build, copies = ['']) {
  const root = mkdtempSync(join(scratch, 'host-'));
  const then = new Date(Date.now() - 20 * 60 * 1000);
  for (const copy of copies) {
    cpSync(build.site, join(root, copy), { recursive: true });
    for (const f of build.files) utimesSync(join(root, copy, f), then, then);
  }
  return root;
}

let browser;
let old;
let fresh;
let workerOnly;
before(async () => {
  old = buildSite('old');
  fresh = buildSite('new', `${manifest.description}（新版）`);
  workerOnly = buildWorkerChange('worker', old);
  const revision = (b) => b.entries.find((e) => e.url === 'index.html').revision;
  assert.notEqual(revision(old), revision(fresh), 'a changed source makes a new revision');
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
  });
});
after(async () => {
  await browser?.close();
  for (const server of servers) server.close();
  rmSync(scratch, { recursive: true, force: true });
});

// One visit of a pupil: the page opened anew, ready to calculate.
async function visit(tab, url) {
  await tab.goto(url);
  await tab.waitForSelector('html[data-ready="true"]');
  return tab.$eval('meta[name="description"]', (el) => el.content);
}
async function calculates(tab) {
  for (const [name, text] of [['Text1(0)', '333'], ['Text1(1)', '60'], ['Text1(2)', '1'], ['Combo3', '分']]) {
    await tab.$eval(`[id="${name}"]`, (el, t) => { el.value = t; }, text);
  }
  await tab.click('[id="Command3"]');
  return (await tab.$eval('[id="Text2"]', (el) => el.value)) === '3265.61445';
}
// What the worker keeps: for each of its caches, the digest of every file.
const kept = (tab) => tab.evaluate(async () => {
  const out = {};
  for (const name of await caches.keys()) {
    const c = await caches.open(name);
    out[name] = {};
    for (const request of await c.keys()) {
      const response = await c.match(request);
      if (!response) continue;  // gone since the listing: a worker taking over
      const bytes = await response.arrayBuffer();
      const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
      const url = new URL(request.url);
      out[name][url.pathname + url.search] = btoa(String.fromCharCode(...digest));
    }
  }
  return out;
});
// The browser's look for a new worker, as it makes after a visit, done now
// and waited for to the end of the new worker's install, or its failure.
const triedUpdate = (tab) => tab.evaluate(async () => {
  const registration = await navigator.serviceWorker.ready;
  await registration.update().catch(() => {});
  while (registration.installing) await new Promise((done) => { setTimeout(done, 50); });
});
// What a build's worker keeps for the folder at `scope`: each file under
// Workbox's key (its address and revision), with its digest.
function keysOf(build, scope) {
  const path = new URL(scope).pathname;
  return Object.fromEntries(build.entries.map((e) => [`${path}${e.url}?__WB_REVISION__=${e.revision}`,
    build.digests.get(e.url)]));
}
// The folder's cache holds the whole of `build`: each file, as the build
// made it (and, unless `only` is false, nothing else: no older build's).
function assertWhole(caches, scope, build, only = true) {
  const entries = caches[cacheName(scope)] ?? {};
  const want = keysOf(build, scope);
  if (only) {
    assert.deepEqual(entries, want, `${cacheName(scope)} holds its build's files`);
  } else {
    for (const [key, digest] of Object.entries(want)) assert.equal(entries[key], digest, `${key} is kept, whole`);
  }
}
const sorted = (entries) => JSON.stringify(Object.entries(entries).sort());
async function settledOn(tab, build, scope) {
  const want = sorted(keysOf(build, scope));
  for (let i = 0; i < 100; ++i) {
    const caches = await kept(tab);
    if (sorted(caches[cacheName(scope)] ?? {}) === want) return caches;
    await pause(200);
  }
  return kept(tab);
}
// A pupil's first visit, in a browser profile of its own (the first test's
// in the browser's own profile, which alone can install pages).
async function pupil(url, own = true) {
  const context = own ? await browser.createBrowserContext() : browser.defaultBrowserContext();
  const tab = await context.newPage();
  tab.context = own ? context : { newPage: () => context.newPage(), close: () => tab.close() };
  tab.errors = [];
  tab.on('console', (m) => { if (m.type() === 'error') tab.errors.push(m.text()); });
  assert.equal(await visit(tab, url), old.description);
  await tab.evaluate(() => navigator.serviceWorker.ready);
  assertWhole(await settledOn(tab, old, url), url, old);
  return tab;
}
const offline = async (tab, cut = true) => {
  const cdp = await tab.createCDPSession();
  await cdp.send('Network.enable');
  await cdp.send('Network.emulateNetworkConditions', { offline: cut, latency: 0, downloadThroughput: 0, uploadThroughput: 0 });
  return cdp;
};

// The app Chromium installs a page's folder as: its app id.
const appId = async (tab) => (await (await tab.createCDPSession()).send('Page.getAppId')).appId;
// The page, and the companion page, opened from `url` (the page's folder).
async function opens(tab, url) {
  for (const address of ['', 'index.html', new URL(manifest.start_url, url).href.slice(url.length)]) {
    assert.equal(await visit(tab, url + address), old.description, `${address || 'the folder'} opens`);
    assert.ok(await calculates(tab), `${address || 'the folder'} calculates`);
  }
  for (const address of ['denryoku.html', 'denryoku']) {
    const response = await tab.goto(url + address);
    assert.equal(await tab.title(), '電力の話', `${address} opens the companion page`);
    assert.ok(response.ok());
  }
}

describe('the page on a web host', () => {
  test('under a sub-folder: installable as an app of its folder, and it still calculates offline and with the server gone', async () => {
    const root = hostFolder(old);
    const server = await host(root, { maxAge: true });
    const url = server.origin + folder;
    const tab = await pupil(url, false);
    const requests = [];
    tab.on('request', (r) => { if (!r.url().startsWith('data:')) requests.push(r.url()); });
    const scope = await tab.evaluate(async () => (await navigator.serviceWorker.ready).scope);
    assert.equal(scope, url, 'the worker is the folder\'s only');
    const cdp = await tab.createCDPSession();
    const got = await cdp.send('Page.getAppManifest');
    assert.deepEqual(got.errors, []);
    const parsed = JSON.parse(got.data);
    assert.equal(parsed.display, 'standalone');
    assert.match(parsed.short_name, /\p{Script=Han}/u, 'a Japanese short name');
    assert.deepEqual(parsed.icons.map((i) => `${i.sizes} ${i.purpose}`), ['192x192 any', '512x512 any', '512x512 maskable']);
    assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
    assert.equal(await appId(tab), url, 'the app is the folder\'s');
    assert.ok(await tab.$('link[rel="apple-touch-icon"]'));

    await offline(tab);
    await opens(tab, url);
    await offline(tab, false);
    server.close();
    assert.equal(await visit(tab, url), old.description);
    assert.ok(await calculates(tab), 'with the server gone');
    assert.deepEqual(requests.filter((r) => !r.startsWith(server.origin)), [], 'asks no other host');
    assert.deepEqual(tab.errors, []);
    await tab.context.close();
  });

  // Hosts as schools and teachers have them: first visited where the host
  // gives the page, then every way in, online and offline.
  const hosts = [
    { kind: '"pretty URLs", 308 (Cloudflare Pages)', addresses: 'pretty', redirect: 308 },
    { kind: '"pretty URLs", 301', addresses: 'pretty', redirect: 301 },
    { kind: 'index.html for the folder, x.html for x (301)', addresses: 'reverse', redirect: 301 },
    { kind: 'the folder\'s address only', addresses: 'folder-only' },
    { kind: 'index.html only (no folder index)', addresses: 'index-only', first: 'index.html' },
    { kind: 'gzip', compress: 'gzip' },
    { kind: 'brotli', compress: 'br' },
  ];
  for (const { kind, first = '', ...how } of hosts) {
    test(`a host with ${kind}: the page, index.html, the companion page and the home-screen start, online and offline`, async () => {
      const server = await host(hostFolder(old), { maxAge: true, ...how });
      const url = server.origin + folder;
      const context = await browser.createBrowserContext();
      const tab = await context.newPage();
      assert.equal(await visit(tab, url + first), old.description);
      await tab.evaluate(() => navigator.serviceWorker.ready);
      assertWhole(await settledOn(tab, old, url), url, old);
      await opens(tab, url);
      await offline(tab);
      await opens(tab, url);
      await context.close();
      server.close();
    });
  }

  test('with a host that never answers, it opens and calculates from what it keeps', async () => {
    const server = await host(hostFolder(old), { maxAge: true });
    const url = server.origin + folder;
    const tab = await pupil(url);
    server.hang();
    const asked = server.requests.length;
    for (let i = 0; i < 2; ++i) {
      assert.equal(await visit(tab, url), old.description);
      assert.ok(await calculates(tab));
    }
    // Nothing waited for the host: at most the browser's own look for a new worker went to it.
    assert.deepEqual(server.requests.slice(asked).filter((p) => p !== `${folder}sw.js`), []);
    await tab.context.close();
    server.close();
  });

  test('what it keeps, lost (storage cleared) while the worker stays, comes back at the next opening online', async () => {
    const server = await host(hostFolder(old), { maxAge: true });
    const url = server.origin + folder;
    const tab = await pupil(url);
    await tab.evaluate(async () => { for (const name of await caches.keys()) await caches.delete(name); });
    assert.equal(await visit(tab, url), old.description, 'online, from the host');
    await offline(tab);
    assert.equal(await visit(tab, url), old.description, 'offline again');
    assert.ok(await calculates(tab));
    await tab.context.close();
    server.close();
  });

  // The new build on the host, and visits counted until the page shows it.
  const updates = [
    { host: 'max-age=600', maxAge: true },
    { host: 'Last-Modified only', maxAge: false },
    { host: 'max-age=600', maxAge: true, fileByFile: true },
    { host: 'Last-Modified only', maxAge: false, fileByFile: true },
  ];
  for (const { host: kind, maxAge, fileByFile } of updates) {
    test(`a new build put up ${fileByFile ? 'file by file' : 'at once'} (${kind}) shows by the second opening after`, async () => {
      const root = hostFolder(old);
      const server = await host(root, { maxAge });
      const url = server.origin + folder;
      const tab = await pupil(url);
      if (fileByFile) {
        // The worker first, the worst order: it finds the old files at first.
        const order = ['sw.js', ...fresh.files.filter((f) => f !== 'sw.js')];
        for (const f of order) {
          putUp(fresh, root, [f]);
          // Until every file is the new build's, the old one, whole.
          assert.equal(await visit(tab, url), old.description, f);
          assert.ok(await calculates(tab), `after ${f}`);
          await triedUpdate(tab);
          if (f !== order.at(-1)) assertWhole(await kept(tab), url, old, false);
        }
      } else {
        putUp(fresh, root);
      }
      // The first opening may still be the kept build, which the browser
      // updates in the background; from the second on, the new one.
      const shown = [];
      for (let i = 0; i < 3; ++i) {
        shown.push(await visit(tab, url));
        await settledOn(tab, fresh, url);
      }
      assert.ok([old.description, fresh.description].includes(shown[0]));
      assert.deepEqual(shown.slice(1), Array(2).fill(fresh.description), 'openings after the new build');
      assertWhole(await settledOn(tab, fresh, url), url, fresh);
      await offline(tab);
      assert.equal(await visit(tab, url), fresh.description, 'offline after the update');
      assert.ok(await calculates(tab));
      await tab.context.close();
      server.close();
    });
  }

  // (A file the new build shares with the old is kept already: only a changed one is fetched.)
  const broken = [
    { what: 'a changed file missing', put: (root) => putUp(fresh, root, fresh.files.filter((f) => f !== 'manifest.webmanifest')),
      lose: (root) => rmSync(join(root, 'manifest.webmanifest')) },
    { what: 'the host gone half way', put: (root) => putUp(fresh, root),
      gone: (path) => path.endsWith('/manifest.webmanifest') },
    // Its files are the kept build's: a new worker must keep them whole.
    { what: 'the worker alone changed, a file missing', put: (root) => putUp(workerOnly, root),
      lose: (root) => rmSync(join(root, 'icon-512.png')) },
  ];
  for (const { what, put, lose, gone } of broken) {
    test(`an update that cannot finish (${what}) leaves the old build working, whole`, async () => {
      const root = hostFolder(old);
      const server = await host(root, { maxAge: true });
      const url = server.origin + folder;
      const tab = await pupil(url);
      put(root);
      lose?.(root);
      if (gone) server.goneFrom(gone);
      await tab.goto(url).catch(() => {});  // with the host gone, the kept page answers
      await tab.waitForSelector('html[data-ready="true"]');
      await triedUpdate(tab);
      assertWhole(await kept(tab), url, old, false);
      server.close();
      await offline(tab);
      assert.equal(await visit(tab, url), old.description, 'the host gone, the old build opens');
      assert.ok(await calculates(tab));
      await tab.context.close();
    });
  }

  test('a page open while an update arrives keeps what was typed; the next opening shows the new build', async () => {
    const root = hostFolder(old);
    const server = await host(root, { maxAge: true });
    const url = server.origin + folder;
    const tab = await pupil(url);
    await tab.$eval('[id="Text1(0)"]', (el) => { el.value = ''; });
    await tab.type('[id="Text1(0)"]', '１２．５');
    await tab.evaluate(() => { window.stayed = true; });
    // Caches as the first builds named them: this folder's, and another folder's.
    await tab.evaluate(async (here) => {
      await (await caches.open(`tressin ${here} 0123456789abcdef`)).put(here, new Response('an earlier build'));
      await (await caches.open('tressin-0123456789abcdef')).put(here, new Response('an earlier build'));
      await (await caches.open('tressin-fedcba9876543210')).put(new URL('/elsewhere/', here).href, new Response('another copy'));
    }, url);
    putUp(fresh, root);
    // As a browser checks now and then while a page stays open.
    await tab.evaluate(async () => (await navigator.serviceWorker.ready).update());
    const left = await settledOn(tab, fresh, url);
    assertWhole(left, url, fresh);
    assert.deepEqual(Object.keys(left).filter((n) => n.startsWith('tressin')), ['tressin-fedcba9876543210'],
      'the first builds\' caches of this folder go, another folder\'s stays');
    await tab.waitForSelector('#updated:not([hidden])');  // one line says a new build is there
    assert.deepEqual(await tab.evaluate(() => [window.stayed, document.getElementById('Text1(0)').value,
      document.querySelector('meta[name="description"]').content]), [true, '１２．５', old.description]);
    const next = await tab.context.newPage();
    assert.equal(await visit(next, url), fresh.description);
    await tab.context.close();
    server.close();
  });

  test('at a site\'s root, the school\'s other pages stay the host\'s: a 404, a slow page', async () => {
    const pages = { '/news/a.html': [200, '<title>news</title>'], '/slow/b.html': [200, '<title>slow</title>', 2000] };
    const server = await host(hostFolder(old), { maxAge: true, at: '/', pages });
    const url = `${server.origin}/`;
    const tab = await pupil(url);
    for (const [path, status, title] of [['/news/a.html', 200, 'news'], ['/news/missing.html', 404, '404'],
      ['/slow/b.html', 200, 'slow'], ['/index.html?from=news', 200, await tab.title()]]) {
      const response = await tab.goto(server.origin + path);
      assert.deepEqual([response.status(), await tab.title(), response.fromServiceWorker()],
        [status, title, path.startsWith('/index.html')], path);
    }
    await offline(tab);
    await assert.rejects(tab.goto(`${server.origin}/news/a.html`), 'offline, another page is not the calculator');
    await tab.context.close();
    server.close();
  });

  test('two copies on one site: two apps, one updated, the other still opens offline', async () => {
    const root = hostFolder(old, ['a', 'b']);
    const server = await host(root, { maxAge: true, at: '/copies/' });
    const [a, b] = ['a', 'b'].map((c) => `${server.origin}/copies/${c}/`);
    const tab = await pupil(a);
    assert.equal(await appId(tab), a);
    assert.equal(await visit(tab, b), old.description);
    assert.equal(await appId(tab), b, 'another app, of its own folder');
    await settledOn(tab, old, b);
    putUp(fresh, join(root, 'a'));
    await visit(tab, a);
    assertWhole(await settledOn(tab, fresh, a), a, fresh);
    assertWhole(await settledOn(tab, old, b), b, old);
    await offline(tab);
    assert.equal(await visit(tab, b), old.description);
    assert.ok(await calculates(tab));
    await tab.context.close();
    server.close();
  });

  test('a host that rewrites the page: not kept; the console says which file and why, the page in one line', async () => {
    const banner = (name, bytes) => (name === 'index.html' ? Buffer.concat([bytes, Buffer.from('<!-- banner -->')]) : bytes);
    const server = await host(hostFolder(old), { maxAge: true, rewrite: banner });
    const url = server.origin + folder;
    const context = await browser.createBrowserContext();
    const tab = await context.newPage();
    const errors = [];
    tab.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    await visit(tab, url);
    for (let i = 0; i < 50 && !errors.length; ++i) await pause(200);
    assert.match(errors.join('\n'), /index\.html: the host's file is not this build's \(sha256-.*rewrites files/);
    await tab.waitForSelector('#not-kept:not([hidden])');
    assert.match(await tab.$eval('#not-kept', (el) => el.textContent), /書き換え.*オフラインでは使えません/);
    assert.deepEqual(Object.values(await kept(tab)).filter((entries) => Object.keys(entries).length), [],
      'nothing kept');
    assert.ok(await calculates(tab), 'online, it still works');
    await context.close();
    server.close();
  });
});
