// SPDX-License-Identifier: MIT
// Size and readiness of the built page (a measurement, not a test):
//  - the file's size, raw and with gzip -9, and where the bytes go: each
//    part of the page, and the WebAssembly's largest functions (named from
//    the symbol map the build writes beside it);
//  - the time from navigation until the first calculation is possible, in
//    headless Chromium opening the file from disk, on a desktop's window and
//    on a phone held upright, median of N loads (default 20); and,
//    interleaved in the same run, the same for an empty page, which is the
//    browser's own share of that time on this machine;
//  - the installed page's time to the same point, its web host's folder on
//    a server here that answers, and on one that has stopped answering.
// Prints figures; asserts nothing.
import { mkdtempSync, readFileSync, rmSync, writeFileSync, existsSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, extname, join, resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const file = resolve(process.argv[2] ?? 'build-web/web/tressin.html');
const loads = Number(process.argv[3] ?? 20);
const kb = (n) => `${(n / 1000).toFixed(1)} KB`;
const gz = (data) => gzipSync(data, { level: 9 }).length;

const html = readFileSync(file, 'utf8');
console.log(`size: ${kb(Buffer.byteLength(html))} raw, ${kb(gz(html))} gzip -9 (target: gzip <= 30 KB)`);

// The parts, each measured alone (so their gzip sizes add up to a little
// more than the whole's).
const parts = [];
let rest = html;
const take = (name, pattern, group = 0) => {  // pattern: a regular expression, or the text itself
  const found = typeof pattern === 'string' ? (rest.includes(pattern) ? pattern : null) : rest.match(pattern)?.[group];
  if (!found) return;
  parts.push([name, found]);
  rest = rest.replace(found, () => '');
};
take('WebAssembly core, as base64', /<script type="application\/octet-stream" id="core-wasm">([^<]*)<\/script>/, 1);
take('window description (JSON)', /<script type="application\/json" id="window-description">([^<]*)<\/script>/, 1);
take('picture (SVG)', /url\("(data:image\/svg\+xml,[^"]*)"\)/, 1);
take('icon (PNG)', /<link rel="icon" href="([^"]*)"/, 1);
const scripts = [...rest.matchAll(/<script>([\s\S]*?)<\/script>/g)].map((m) => m[1]);
const script = (what) => scripts.find((s) => s.includes(what));
if (script('createTressinCore')) take("Emscripten's script", script('createTressinCore'));
if (script('window-description')) take('page script', script('window-description'));
if (script('HTMLDialogElement')) take("the old browser's check", script('HTMLDialogElement'));
take('style sheet', /<style>([\s\S]*?)<\/style>/, 1);
take('controls (HTML)', /<main[\s\S]*?<\/main>/);
parts.push(['the rest of the HTML', rest]);
for (const [name, text] of parts) {
  console.log(`  ${name.padEnd(28)} ${kb(Buffer.byteLength(text)).padStart(9)} raw ${kb(gz(text)).padStart(9)} gzip`);
}

// The web host's folder's service worker: Workbox's precaching and the
// build's list, loaded only on a web host, never with the page itself.
const worker = join(dirname(file), 'site', 'sw.js');
if (existsSync(worker)) {
  const bytes = readFileSync(worker);
  console.log(`service worker (site/sw.js): ${kb(bytes.length)} raw, ${kb(gz(bytes))} gzip`);
}

// The WebAssembly by function: the code section's bodies, largest first.
const wasmFile = join(dirname(file), 'tressin_core.wasm');
if (existsSync(wasmFile)) {
  const wasm = readFileSync(wasmFile);
  let at = 8;
  const leb = () => {
    let value = 0;
    for (let shift = 0; ; shift += 7) {
      const byte = wasm[at++];
      value += (byte & 0x7f) * 2 ** shift;
      if (byte < 0x80) return value;
    }
  };
  const sections = {};
  let imports = 0;
  const bodies = [];
  while (at < wasm.length) {
    const id = wasm[at++];
    const size = leb();
    const end = at + size;
    sections[id] = (sections[id] ?? 0) + size;
    if (id === 2) {  // imports: functions among them come first in the index space
      const skipName = () => { const length = leb(); at += length; };
      for (let n = leb(); n > 0; --n) {
        skipName();  // module
        skipName();  // field
        const kind = wasm[at++];
        if (kind === 0) { leb(); ++imports; } else if (kind === 1) { at += 1; const f = leb(); leb(); if (f & 1) leb(); } else if (kind === 2) { const f = leb(); leb(); if (f & 1) leb(); } else { at += 2; }
      }
    } else if (id === 10) {  // code
      for (let n = leb(), i = 0; i < n; ++i) {
        const bodySize = leb();
        bodies.push([imports + i, bodySize]);
        at += bodySize;  // (leb() has moved past the size itself)
      }
    }
    at = end;
  }
  const symbolsFile = join(dirname(file), 'tressin_core.js.symbols');
  const names = new Map();
  if (existsSync(symbolsFile)) {
    for (const line of readFileSync(symbolsFile, 'utf8').split('\n')) {
      const m = line.match(/^(\d+):(.*)$/);
      if (m) names.set(Number(m[1]), m[2].replace(/\\([0-9a-f]{2})/g, (_, h) => String.fromCharCode(parseInt(h, 16))));
    }
  }
  console.log(`WebAssembly: ${kb(wasm.length)} (${kb(gz(wasm))} gzip): code ${kb(sections[10] ?? 0)} in ${bodies.length} functions, data ${kb(sections[11] ?? 0)}`);
  for (const [index, size] of bodies.sort((a, b) => b[1] - a[1]).slice(0, 8)) {
    console.log(`  ${String(size).padStart(6)} B  ${(names.get(index) ?? `function ${index}`).slice(0, 100)}`);
  }
}

// Readiness, with an empty page's in the same run.
const scratch = mkdtempSync(join(tmpdir(), 'tressin-measure-'));
const empty = join(scratch, 'empty.html');
writeFileSync(empty, '<!DOCTYPE html><html><body><script>performance.mark("tressin-ready");' +
  'document.documentElement.dataset.ready = "true";</script></body></html>');
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
// A desktop's window, and a phone held upright (390 x 844 at 3x, by touch),
// each in a tab of its own, interleaved load by load.
const screens = [['a desktop (800 x 600)', null],
  ['a phone (390 x 844 at 3x)', { width: 390, height: 844, deviceScaleFactor: 3, mobile: true,
    screenOrientation: { type: 'portraitPrimary', angle: 0 } }]];
const tabs = [];
for (const [name, metrics] of screens) {
  const tab = await browser.newPage();
  if (metrics) {
    const cdp = await tab.createCDPSession();
    await cdp.send('Emulation.setDeviceMetricsOverride', metrics);
    await cdp.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  }
  tabs.push({ name, tab, times: { page: [], empty: [], paint: [] } });
}
for (let i = 0; i < loads; ++i) {
  for (const { tab, times } of tabs) {
    await tab.bringToFront();  // a tab behind another paints nothing
    // Each goes first every other time: the first load after a tab comes
    // to the front is the slower one.
    const pair = [['page', file], ['empty', empty]];
    for (const [name, path] of i % 2 ? pair.reverse() : pair) {
      await tab.goto(`${pathToFileURL(path).href}?load=${i}`);
      await tab.waitForSelector('html[data-ready="true"]');
      times[name].push(await tab.evaluate(() => performance.getEntriesByName('tressin-ready')[0].startTime));
      // The next load starts once this one has drawn its frame and the machine is quiet again.
      await tab.evaluate(() => new Promise((done) => { requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 50))); }));
      if (name === 'page') {
        await tab.waitForFunction(() => performance.getEntriesByName('first-contentful-paint').length > 0, { timeout: 5000 })
          .then(async () => times.paint.push(await tab.evaluate(() => performance.getEntriesByName('first-contentful-paint')[0].startTime)))
          .catch(() => {});
      }
    }
  }
}

// The installed page (the web host's folder, opened once so its worker keeps
// it), from a host that answers at once and from one that, once the page is
// installed, never answers again: each in a profile of its own, load by load.
const site = join(dirname(file), 'site');
const hosts = [];
if (existsSync(join(site, 'sw.js'))) {
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
    '.webmanifest': 'application/manifest+json' };
  for (const name of ['a host that answers', 'a host that never answers']) {
    const host = { name, hanging: false, times: [] };
    const server = createServer((req, res) => {
      if (host.hanging) return;
      const path = new URL(req.url, 'http://x').pathname.slice(1) || 'index.html';
      if (!existsSync(join(site, path))) { res.writeHead(404).end(); return; }
      res.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'application/octet-stream' }).end(readFileSync(join(site, path)));
    });
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    host.server = server;
    host.url = `http://localhost:${server.address().port}/`;
    host.context = await browser.createBrowserContext();
    host.tab = await host.context.newPage();
    await host.tab.goto(host.url);
    await host.tab.evaluate(async () => { await navigator.serviceWorker.ready; });
    host.hanging = name.includes('never');
    hosts.push(host);
  }
  for (let i = 0; i < loads; ++i) {
    for (const host of i % 2 ? [...hosts].reverse() : hosts) {
      await host.tab.bringToFront();
      await host.tab.goto(host.url);
      await host.tab.waitForSelector('html[data-ready="true"]');
      host.times.push(await host.tab.evaluate(() => performance.getEntriesByName('tressin-ready')[0].startTime));
      await host.tab.evaluate(() => new Promise((done) => { requestAnimationFrame(() => requestAnimationFrame(() => setTimeout(done, 50))); }));
    }
  }
  for (const host of hosts) {
    await host.context.close();
    host.server.closeAllConnections();
    host.server.close();
  }
}
await browser.close();
rmSync(scratch, { recursive: true });
const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return (s[(s.length - 1) >> 1] + s[s.length >> 1]) / 2;
};
const ms = (v) => `${v.toFixed(1)} ms`;
for (const { name, times } of tabs) {
  const p = times.page;
  console.log(`ready for the first calculation on ${name}: median ${ms(median(p))} over ${loads} loads ` +
    `(min ${ms(Math.min(...p))}, max ${ms(Math.max(...p))})`);
  console.log(`  an empty page, in the same run: median ${ms(median(times.empty))}; ` +
    `the page's own share: ${ms(median(p) - median(times.empty))} (target <= 15 ms)`);
  if (times.paint.length) console.log(`  first contentful paint: median ${ms(median(times.paint))}`);
}
for (const { name, times } of hosts) {
  console.log(`installed page, ready for the first calculation with ${name}: median ${ms(median(times))} ` +
    `(min ${ms(Math.min(...times))}, max ${ms(Math.max(...times))})`);
}
if (hosts.length === 2) {
  console.log(`  a host that never answers costs ${ms(median(hosts[1].times) - median(hosts[0].times))} (target <= 200 ms)`);
}
