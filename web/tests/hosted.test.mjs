// SPDX-License-Identifier: MIT
// The page as a school's web host serves it (build-web/web/site/, over
// HTTP from localhost): Chromium finds it installable, and once visited it
// opens and calculates with the network cut off. It asks no other host for
// anything.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { dirname, extname, join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '../..');
const pagePath = resolve(top, process.env.TRESSIN_PAGE ?? 'build-web/web/tressin.html');
const site = join(dirname(pagePath), 'site');
const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json' };

describe('the page on a web host', () => {
  let server;
  let origin;
  let browser;
  before(async () => {
    server = createServer((req, res) => {
      const path = new URL(req.url, 'http://x').pathname;
      const name = path === '/' ? 'index.html' : path.slice(1);
      try {
        const body = readFileSync(join(site, name));
        res.writeHead(200, { 'Content-Type': types[extname(name)] ?? 'application/octet-stream' }).end(body);
      } catch {
        res.writeHead(404).end();
      }
    });
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    origin = `http://localhost:${server.address().port}`;
    browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
    });
  });
  after(async () => { await browser?.close(); server?.close(); });

  test('installable, then offline it still opens and calculates', async () => {
    const page = await browser.newPage();
    const requests = [];
    page.on('request', (r) => { if (!r.url().startsWith('data:')) requests.push(r.url()); });
    const cdp = await page.createCDPSession();
    await page.goto(`${origin}/`);
    await page.waitForSelector('html[data-ready="true"]');
    await page.evaluate(() => navigator.serviceWorker.ready);
    const manifest = await cdp.send('Page.getAppManifest');
    assert.deepEqual(manifest.errors, []);
    const parsed = JSON.parse(manifest.data);
    assert.equal(parsed.display, 'standalone');
    assert.match(parsed.short_name, /\p{Script=Han}/u, 'a Japanese short name');
    assert.deepEqual(parsed.icons.map((i) => `${i.sizes} ${i.purpose}`), ['192x192 any', '512x512 any', '512x512 maskable']);
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(installabilityErrors, []);
    assert.ok(await page.$('link[rel="apple-touch-icon"]'));

    await cdp.send('Network.enable');
    await cdp.send('Network.emulateNetworkConditions', { offline: true, latency: 0, downloadThroughput: 0, uploadThroughput: 0 });
    await page.reload();
    await page.waitForSelector('html[data-ready="true"]');
    for (const [name, text] of [['Text1(0)', '333'], ['Text1(1)', '60'], ['Text1(2)', '1'], ['Combo3', '分']]) {
      await page.$eval(`[id="${name}"]`, (el, t) => { el.value = t; }, text);
    }
    await page.click('[id="Command3"]');
    assert.equal(await page.$eval('[id="Text2"]', (el) => el.value), '3265.61445');
    assert.deepEqual(requests.filter((r) => !r.startsWith(`${origin}/`)), [], 'asks no other host');
    await page.close();
  });
});
