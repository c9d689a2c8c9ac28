// SPDX-License-Identifier: MIT
// The page as a school's web host serves it: build-web/web/site/ under a
// sub-folder (/school/tressin/) of a real HTTP server on localhost. Chromium
// finds it installable; once visited it opens and calculates from what its
// worker keeps, with the network cut off, the server gone or a host that
// never answers, and asks no other host for anything. Then a new build (made
// by the page's own build step from a changed source) is put on the host, as
// hosts send their files (max-age, or Last-Modified only on files that have
// been there a while), all at once or file by file: the second opening after
// it shows it, a page left open keeps what was typed, offline still works,
// and an update that cannot finish leaves the old build working, whole. At a
// site's root the worker leaves the school's other pages to the host; two
// copies on one site keep their own builds.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { appendFileSync, copyFileSync, cpSync, mkdirSync, mkdtempSync, readFileSync, readdirSync, rmSync, statSync, utimesSync }
  from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';
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
function buildSite(name, description = manifest.description, web = join(top, 'web')) {
  const out = join(scratch, name);
  mkdirSync(out);
  execFileSync(process.execPath, [join(web, 'assemble.mjs'), '--window', join(built, 'window.json'),
    '--core', join(built, 'tressin_core.js'), '--core-wasm', join(built, 'tressin_core.wasm'),
    '--background', join(top, 'ui/art/background.svg'), '--icon', join(top, 'ui/art/icon-32.png'),
    '--description', description, '--out', join(out, 'tressin.html'), '--site', join(out, 'site'),
    '--art', join(top, 'ui/art'), '--companion', join(top, 'ui/denryoku.html'),
    '--name', appName, '--short-name', manifest.short_name], { stdio: 'ignore' });
  const site = join(out, 'site');
  const files = readdirSync(site);
  const digest = (file) => createHash('sha256').update(readFileSync(join(site, file))).digest('base64');
  return { site, files, description, digests: new Map(files.map((f) => [f, digest(f)])),
    version: readFileSync(join(site, 'sw.js'), 'utf8').match(/\$\{prefix\}([0-9a-f]+)`/)[1] };
}
// The same build but for a change to the worker alone.
function buildWorkerChange(name) {
  const web = join(scratch, `${name}-web`);
  cpSync(join(top, 'web'), web, { recursive: true, filter: (f) => !f.includes('/tests') });
  appendFileSync(join(web, 'sw.js'), '// a change to the worker alone\n');
  return buildSite(name, manifest.description, web);
}
const cacheName = (build, scope) => `tressin ${scope} ${build.version}`;

// A static host: the folder's files under `at`, with Last-Modified from
// their times and 304 to a request that has them already, and either
// `Cache-Control: max-age=600` or no freshness of its own. `pages` are the
// school's other pages ({ path: [status, text, delay] }); `rewrite` changes
// a file on its way out, as some hosts do.
const servers = new Set();
function host(root, { maxAge, at = folder, pages = {}, rewrite }) {
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
    let name = path.startsWith(at) ? path.slice(at.length) : undefined;
    if (name === '' || name?.endsWith('/')) name += 'index.html';
    let stat;
    try { stat = statSync(join(root, name)); } catch { /* missing */ }
    if (!name || !stat?.isFile()) { res.writeHead(404, { 'Content-Type': types['.html'] }).end('<title>404</title>'); return; }
    const modified = new Date(Math.floor(stat.mtimeMs / 1000) * 1000);
    const headers = { 'Last-Modified': modified.toUTCString(), ...(maxAge ? { 'Cache-Control': 'max-age=600' } : {}) };
    const since = Date.parse(req.headers['if-modified-since'] ?? '');
    if (since >= modified.getTime()) { res.writeHead(304, headers).end(); return; }
    const bytes = readFileSync(join(root, name));
    res.writeHead(200, { ...headers, 'Content-Type': types[extname(name)] ?? 'application/octet-stream' })
      .end(rewrite ? rewrite(name, bytes) : bytes);
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
  workerOnly = buildWorkerChange('worker');
  assert.notEqual(old.version, fresh.version, 'a changed source makes a new version');
  assert.notEqual(old.version, workerOnly.version, 'so does a change to the worker alone');
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
      const bytes = await (await c.match(request)).arrayBuffer();
      const digest = new Uint8Array(await crypto.subtle.digest('SHA-256', bytes));
      out[name][new URL(request.url).pathname] = btoa(String.fromCharCode(...digest));
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
// Every cache of the folder at `scope` is one whole build: each of its
// files, and only its.
function assertWhole(caches, scope, ...allowed) {
  const path = new URL(scope).pathname;
  for (const [name, entries] of Object.entries(caches).filter(([n]) => n.startsWith(`tressin ${scope} `))) {
    const build = allowed.find((b) => cacheName(b, scope) === name);
    assert.ok(build, `a cache of no build: ${name} (${allowed.map((b) => b.version)})`);
    const want = { [path]: build.digests.get('index.html') };
    for (const f of build.files.filter((x) => x !== 'sw.js')) want[path + f] = build.digests.get(f);
    assert.deepEqual(entries, want, `${name} holds its build's files`);
  }
}
const ofScope = (caches, scope) => Object.keys(caches).filter((n) => n.startsWith(`tressin ${scope} `));
async function settledOn(tab, build, scope) {
  for (let i = 0; i < 100; ++i) {
    const caches = await kept(tab);
    if (ofScope(caches, scope).join() === cacheName(build, scope)) return caches;
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

describe('the page on a web host', () => {
  test('under a sub-folder: installable, and it still calculates offline and with the server gone', async () => {
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
    assert.ok(await tab.$('link[rel="apple-touch-icon"]'));

    await offline(tab);
    assert.equal(await visit(tab, url), old.description);
    assert.ok(await calculates(tab), 'offline');
    const companion = await tab.context.newPage();
    await companion.goto(`${url}denryoku.html`);
    assert.match(await companion.title(), /\S/, 'the companion page opens offline');
    await companion.close();
    await offline(tab, false);
    server.close();
    assert.equal(await visit(tab, url), old.description);
    assert.ok(await calculates(tab), 'with the server gone');
    assert.deepEqual(requests.filter((r) => !r.startsWith(url)), [], 'asks no other host');
    assert.deepEqual(tab.errors, []);
    await tab.context.close();
  });

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
        for (const [i, f] of order.entries()) {
          putUp(fresh, root, [f]);
          // Until every file is the new build's, the old one, whole.
          assert.equal(await visit(tab, url), old.description, f);
          assert.ok(await calculates(tab), `after ${f}`);
          await triedUpdate(tab);
          assertWhole(await kept(tab), url, old, fresh);
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

  const broken = [
    { what: 'a file missing', put: (root) => putUp(fresh, root, fresh.files.filter((f) => f !== 'icon-512.png')),
      lose: (root) => rmSync(join(root, 'icon-512.png')) },
    { what: 'the host gone half way', put: (root) => putUp(fresh, root),
      gone: (path) => path.endsWith('/manifest.webmanifest') },
    // Its files are the kept build's: a failure must not take their cache.
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
      // The browser tries the new worker; give it time to fail.
      for (let i = 0; i < 50 && !server.requests.some((p) => p.endsWith('/icon-512.png') || (gone && gone(p))); ++i) {
        await pause(200);
      }
      await pause(1000);
      assertWhole(await kept(tab), url, old);
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
    // Caches as earlier builds named them: this folder's, and another folder's.
    await tab.evaluate(async (here) => {
      await (await caches.open('tressin-0123456789abcdef')).put(here, new Response('an earlier build'));
      await (await caches.open('tressin-fedcba9876543210')).put(new URL('/elsewhere/', here).href, new Response('another copy'));
    }, url);
    putUp(fresh, root);
    // As a browser checks now and then while a page stays open.
    await tab.evaluate(async () => (await navigator.serviceWorker.ready).update());
    const left = await settledOn(tab, fresh, url);
    assertWhole(left, url, fresh);
    assert.deepEqual(Object.keys(left).filter((n) => n.startsWith('tressin-')), ['tressin-fedcba9876543210'],
      'an earlier build\'s cache of this folder goes, another folder\'s stays');
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

  test('two copies on one site: one updated, the other still opens offline', async () => {
    const root = hostFolder(old, ['a', 'b']);
    const server = await host(root, { maxAge: true, at: '/copies/' });
    const [a, b] = ['a', 'b'].map((c) => `${server.origin}/copies/${c}/`);
    const tab = await pupil(a);
    assert.equal(await visit(tab, b), old.description);
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

  test('a host that rewrites the page: not kept, and the console says which file and why', async () => {
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
    assert.deepEqual(await kept(tab), {});
    assert.ok(await calculates(tab), 'online, it still works');
    await context.close();
    server.close();
  });
});
