// SPDX-License-Identifier: MIT
// The built page, opened from disk in headless Chromium with the network
// off, driven by keyboard and mouse as a person would. It is checked
// against the window's own description (exported from the control table)
// and the window's calculation table.
//
//   TRESSIN_PAGE=build-web/web/tressin.html node --test web/tests
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { dirname, join, resolve } from 'node:path';
import { after, afterEach, before, beforeEach, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { expected, pressKeys, puppeteerKeys } from './unit_keys.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '../..');
const pagePath = resolve(top, process.env.TRESSIN_PAGE ?? 'build-web/web/tressin.html');
const pageUrl = pathToFileURL(pagePath).href;
const desc = JSON.parse(readFileSync(join(dirname(pagePath), 'window.json'), 'utf8'));
const cases = JSON.parse(readFileSync(join(top, 'tests/ui/calculations.json'), 'utf8'));
const byName = new Map(desc.controls.map((c) => [c.name, c]));

let browser;
let page;
let problems;  // console errors, page errors and requests that left the page

before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--allow-file-access-from-files'],
  });
});
after(async () => { await browser?.close(); });

async function open(width = 640) {
  problems = [];
  page = await browser.newPage();
  await page.emulateNetworkConditions({ offline: true, download: 0, upload: 0, latency: 0 });
  await page.setViewport({ width, height: 400 });
  page.on('console', (m) => { if (m.type() === 'error') problems.push(`console: ${m.text()}`); });
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('request', (r) => {
    const url = r.url();
    if (!url.startsWith('data:') && url !== pageUrl) problems.push(`request: ${url}`);
  });
  await page.goto(pageUrl);
  await page.waitForSelector('html[data-ready="true"]');
}

const value = (name) => page.$eval(`[id="${name}"]`, (el) => el.value);
const focused = () => page.evaluate(() => document.activeElement?.id ?? '');

async function fill(entries, units) {
  for (const [i, text] of entries.entries()) {
    for (const name of [desc.entries[i], desc.units[i]]) {
      await page.$eval(`[id="${name}"]`, (el) => { el.value = ''; });
    }
    await page.type(`[id="${desc.entries[i]}"]`, text);
    await page.type(`[id="${desc.units[i]}"]`, units[i]);
  }
}

describe('tressin.html', () => {
  beforeEach(async () => { await page?.close(); await open(); });
  afterEach(() => { assert.deepEqual(problems, [], 'console errors or requests that left the page'); });

  test('title, size and every control where the table puts it', async () => {
    assert.equal(await page.title(), 'Kobrel');
    assert.deepEqual([desc.width, desc.height], [412, 203]);
    // A few rows worked out by hand, so the export itself is checked too.
    assert.deepEqual(['left', 'top', 'width', 'height'].map((k) => byName.get('Text1(0)')[k]), [64, 24, 209, 25]);
    assert.deepEqual(['left', 'top', 'width', 'height'].map((k) => byName.get('Command3')[k]), [312, 160, 81, 25]);
    const boxes = await page.evaluate(() => {
      const origin = document.getElementById('window').getBoundingClientRect();
      return [...document.getElementById('window').children].filter((el) => !('aux' in el.dataset)).map((el) => {
        const r = el.getBoundingClientRect();
        return { name: el.id, left: r.left - origin.left, top: r.top - origin.top, width: r.width, height: r.height };
      });
    });
    assert.deepEqual(boxes.map((b) => b.name), desc.controls.map((c) => c.name));
    for (const b of boxes) {
      const c = byName.get(b.name);
      assert.deepEqual([b.left, b.top, b.width, b.height], [c.left, c.top, c.width, c.height], b.name);
    }
    const origin = await page.$eval('#window', (el) => [el.offsetWidth, el.offsetHeight]);
    assert.deepEqual(origin, [412, 203]);
  });

  test('initial texts, unit lists, focus and accessible names', async () => {
    assert.equal(await focused(), 'Text1(0)');
    for (const c of desc.controls) {
      const got = await page.$eval(`[id="${c.name}"]`, (el) => ({
        text: el.tagName === 'INPUT' ? el.value : el.textContent,
        items: el.getAttribute('role') === 'combobox' ? (() => {  // the list its arrow opens
          el.nextElementSibling.click();
          const shown = [...document.querySelectorAll('#unit-list [role="option"]')].map((o) => o.textContent);
          el.nextElementSibling.click();
          return shown;
        })() : [],
        label: el.getAttribute('aria-label') ?? '',
        title: el.title,
      }));
      assert.equal(got.text, c.text, c.name);
      assert.deepEqual(got.items, c.items, c.name);
      assert.equal(got.title, c.tooltip, c.name);
      if (c.kind === 'button') assert.equal(got.label, c.text, c.name);
      else if (c.accessibleName) assert.equal(got.label, c.accessibleName, c.name);
    }
    const names = await page.evaluate(async () => {
      const out = {};
      for (const el of document.querySelectorAll('label[for]')) out[el.id] = el.htmlFor;
      return out;
    });
    assert.deepEqual(names, desc.buddies);
  });

  test('keys in a unit box, as in the window: Enter in an open list only picks', async () => {
    assert.deepEqual(await pressKeys(cases.keys, puppeteerKeys(page)), expected(cases.keys));
  });

  test('Tab follows the table, skipping the labels', async () => {
    const want = desc.controls.filter((c) => c.kind !== 'label').map((c) => c.name);
    const order = [await focused()];
    for (let i = 1; i < want.length; ++i) {
      await page.keyboard.press('Tab');
      order.push(await focused());
    }
    assert.deepEqual(order, want);
  });

  for (const c of cases.computed) {
    test(`calculation: ${c.name}`, async () => {
      await fill(c.entries, c.units);
      await page.keyboard.press('Enter');  // in the last unit box
      assert.equal(await value('Text2'), c.shown);
    });
  }

  test('Enter in each box calculates, and 計算 can be clicked', async () => {
    await fill(['333', '60', '1'], ['m', 'kg', '分']);
    for (const name of [...desc.entries, ...desc.units, 'Text2']) {
      await page.$eval('[id="Text2"]', (el) => { el.value = ''; });
      await page.focus(`[id="${name}"]`);
      await page.keyboard.press('Enter');
      assert.equal(await value('Text2'), '3265.61445', name);
    }
    await page.$eval('[id="Text2"]', (el) => { el.value = ''; });
    await page.click('[id="Command3"]');
    assert.equal(await value('Text2'), '3265.61445');
  });

  test('unit boxes keep what is typed exactly', async () => {
    for (const typed of ['M', 'ｍ', 'km ', '時間']) {
      await page.$eval('[id="Combo1"]', (el) => { el.value = ''; });
      await page.type('[id="Combo1"]', typed);
      await page.keyboard.press('Enter');
      assert.equal(await value('Combo1'), typed);
    }
  });

  for (const c of cases.failed) {
    test(`failure: ${c.name}`, async () => {
      await fill(['10', '2', '1'], ['m', 'kg', '秒']);
      await page.keyboard.press('Enter');
      assert.equal(await value('Text2'), '196.133');
      await fill(c.entries, c.units);
      const before = await focused();
      await page.keyboard.press('Enter');
      assert.equal(await value('Text2'), c.reason);
      const mark = await page.$eval(`[id="${c.marked}"]`, (el) => ({
        problem: el.dataset.problem, title: el.title, invalid: el.getAttribute('aria-invalid'),
        colour: getComputedStyle(el).backgroundColor,
      }));
      assert.ok(mark.problem, 'marked with a problem');
      assert.ok(mark.title.endsWith(mark.problem), mark.title);
      assert.equal(mark.invalid, 'true');
      assert.equal(mark.colour, 'rgb(255, 214, 214)');
      assert.equal(await focused(), before);
      for (const [i, text] of c.entries.entries()) assert.equal(await value(desc.entries[i]), text);

      await fill(['10', '2', '1'], ['m', 'kg', '秒']);
      await page.keyboard.press('Enter');
      assert.equal(await value('Text2'), '196.133');
      assert.equal(await page.$$eval('[aria-invalid]', (els) => els.length), 0);
      assert.equal(await page.$eval(`[id="${c.marked}"]`, (el) => el.title), byName.get(c.marked).tooltip);
    });
  }

  for (const [name, text] of Object.entries(desc.references)) {
    test(`reference message of ${name}`, async () => {
      await page.click(`[id="${name}"]`);
      const shown = await page.evaluate(() => ({
        open: document.getElementById('message').open,
        modal: document.getElementById('message').matches(':modal'),
        title: document.getElementById('message-title').textContent,
        text: document.getElementById('message-text').textContent,
        focus: document.activeElement.id,
        buttons: [...document.querySelectorAll('#message button')].map((b) => b.textContent),
      }));
      assert.deepEqual(shown, { open: true, modal: true, title: 'Tressin', text, focus: 'message-ok', buttons: ['OK'] });
      await page.keyboard.press(name === 'Command2' ? 'Escape' : 'Enter');
      assert.equal(await page.$eval('#message', (el) => el.open), false);
      assert.equal(await focused(), name);
    });
  }

  test('the reference messages are the window\'s, byte for byte', () => {
    assert.equal(desc.references.Command1, '持ち上げる高さです\r\n富士山の標高：3776m\r\n東京タワーの高さ：333m\r\n地球一周：40000km');
    assert.equal(desc.references.Command2, '持ち上げる物の重さです\r\n一円玉：1g\r\nあなたの体重：???kg');
    assert.equal(desc.references.Command4, '持ち上げることにかかる時間です\r\n公衆電話十円で話す：1分\r\n');
  });

  // Every number the companion page and the worksheet give as the
  // calculator's is what it computes: the result box's text where they quote
  // it, to the digits they give where they say 約; and each comparison they
  // draw with the power before it: from the table of appliances (…およそ N 台分),
  // or as a share of an electric power (約 N %).
  for (const doc of ['ui/denryoku.html', 'docs/ja/worksheet.html']) {
    test(`${doc} states what the calculator computes`, async () => {
      const text = readFileSync(join(top, doc), 'utf8');
      const spans = /<span class="(lift|times|share)[^"]*" data-(?:entries="([^"]+)" data-units="([^"]+)"(?: data-shows="([^"]+)")?|of="([^"]+)"|watts="([^"]+)")>([^<]*)<\/span>/g;
      let power;
      let checked = 0;
      for (const [, kind, entries, units, shows, appliance, watts, stated] of text.matchAll(spans)) {
        if (kind === 'lift') {
          await fill(entries.split(' '), units.split(' '));
          await page.click('[id="Command3"]');
          const shown = await value('Text2');
          if (shows !== undefined) {
            assert.equal(shown, shows, `${entries} ${units}`);
            assert.equal(stated, shows);
          } else {
            const [, number] = stated.match(/^約 ([\d.]+) W$/) ?? [, stated];
            assert.equal(Number(shown).toFixed(number.split('.')[1]?.length ?? 0), number, `${entries} ${units}`);
          }
          power = Number(shown);
        } else if (kind === 'times') {
          const rated = Number(text.match(new RegExp(`<td>${appliance}</td><td class="n">約 (\\d+) W</td>`))[1]);
          const [, times] = stated.match(new RegExp(`^${appliance}およそ (\\d+) 台分$`));
          assert.equal(Math.round(power / rated), Number(times), stated);
        } else {  // the share of an electric power that the lift is
          const [, percent] = stated.match(/^約 (\d+) %$/);
          assert.equal(Math.round((power / Number(watts)) * 100), Number(percent), stated);
        }
        ++checked;
      }
      assert.ok(checked >= 4, `only ${checked} numbers found in ${doc}`);
    });
  }

  test('電力の話 opens denryoku.html from beside the page in a new tab', async () => {
    const opened = new Promise((done) => {
      browser.once('targetcreated', (t) => done(t.url()));
    });
    await page.click('[id="Command5"]');
    assert.equal(await opened, new URL('denryoku.html', pageUrl).href);
  });

  test('a narrow screen scales the whole window down', async () => {
    await page.close();
    await open(300);
    const r = await page.$eval('#window', (el) => el.getBoundingClientRect().width);
    assert.ok(r <= 300 && r > 250, `window is ${r} px wide`);
    const button = await page.$eval('[id="Command3"]', (el) => el.getBoundingClientRect().right);
    assert.ok(button <= 300, `計算 ends at ${button}`);
  });

  test('served by a static web host, it works the same', async () => {
    const folder = dirname(pagePath);
    const server = createServer((req, res) => {
      const name = new URL(req.url, 'http://x').pathname.slice(1);
      try {
        res.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(readFileSync(join(folder, name)));
      } catch {
        res.writeHead(404).end();
      }
    });
    await new Promise((done) => server.listen(0, '127.0.0.1', done));
    const url = `http://127.0.0.1:${server.address().port}/tressin.html`;
    const served = await browser.newPage();
    const requests = [];
    served.on('request', (r) => { if (!r.url().startsWith('data:')) requests.push(r.url()); });
    try {
      await served.goto(url);
      await served.waitForSelector('html[data-ready="true"]');
      for (const [name, text] of [['Text1(0)', '333'], ['Text1(1)', '60'], ['Text1(2)', '1'], ['Combo3', '分']]) {
        await served.$eval(`[id="${name}"]`, (el) => { el.value = ''; });
        await served.type(`[id="${name}"]`, text);
      }
      await served.keyboard.press('Enter');
      assert.equal(await served.$eval('[id="Text2"]', (el) => el.value), '3265.61445');
      assert.deepEqual(requests.filter((r) => !r.endsWith('/favicon.ico')), [url]);
    } finally {
      await served.close();
      server.close();
    }
  });

  // What a screen reader hears after 計算, without the focus moving: the
  // live region's text in Chromium's accessibility tree, each time anew.
  test('every result and reason is announced, the focus staying', async () => {
    const cdp = await page.createCDPSession();
    const heard = async () => {
      const { nodes } = await cdp.send('Accessibility.getFullAXTree');
      const region = nodes.find((n) => n.role?.value === 'status' &&
        n.properties?.some((p) => p.name === 'live' && p.value.value === 'polite'));
      assert.ok(region, 'a polite live region');
      return nodes.filter((n) => region.childIds?.includes(n.nodeId)).map((n) => n.name?.value ?? '').join('');
    };
    const said = [];
    for (const c of [cases.computed[1], cases.failed[5], cases.failed[5], cases.computed[0]]) {
      await fill(c.entries, c.units);
      await page.keyboard.press('Enter');
      assert.equal(await focused(), desc.units[2]);
      said.push(await heard());
      assert.equal(said.at(-1).trim(), await value('Text2'));
    }
    assert.notEqual(said[1], said[2], 'the same reason twice is a new announcement');
  });

  for (const [width, height] of [[640, 400], [375, 667]]) {
    test(`in forced colours (${width} x ${height}), every control, its arrow and the focus ring can be seen`, async () => {
      await page.setViewport({ width, height });
      const cdp = await page.createCDPSession();
      await cdp.send('Emulation.setEmulatedMedia', { features: [{ name: 'forced-colors', value: 'active' }] });
      assert.equal(await page.evaluate(() => matchMedia('(forced-colors: active)').matches), true);
      await page.evaluate(() => document.activeElement.blur());
      // The pixels of a part of the screen, and how many stand out from its commonest colour.
      const shot = async (rect) => {
        const png = await page.screenshot({ clip: rect, encoding: 'base64' });
        return page.evaluate(async (uri) => {
          const img = new Image();
          img.src = uri;
          await img.decode();
          const canvas = new OffscreenCanvas(img.width, img.height);
          const ctx = canvas.getContext('2d');
          ctx.drawImage(img, 0, 0);
          return [...ctx.getImageData(0, 0, img.width, img.height).data];
        }, `data:image/png;base64,${png}`);
      };
      const standOut = (px) => {
        const counts = new Map();
        for (let i = 0; i < px.length; i += 4) counts.set(px[i], (counts.get(px[i]) ?? 0) + 1);
        const common = [...counts].sort((a, b) => b[1] - a[1])[0][0];
        let n = 0;
        for (let i = 0; i < px.length; i += 4) if (Math.abs(px[i] - common) > 128) ++n;
        return n;
      };
      const rects = await page.evaluate(() => [...document.querySelectorAll('#window > input, #window > button, #window > .drop')]
        .map((el) => { const r = el.getBoundingClientRect(); return [el.id || `${el.previousElementSibling.id}'s arrow`, r.x, r.y, r.width, r.height]; }));
      const unfocused = new Map();
      for (const [name, x, y, w, h] of rects) {
        const around = { x: x - 2, y: y - 2, width: w + 4, height: h + 4 };
        unfocused.set(name, [around, await shot(around)]);
        // An arrow is the sign inside its area, not the line beside it.
        const seen = name.endsWith('arrow') ? await shot({ x: x + 3, y: y + 3, width: w - 5, height: h - 6 }) : unfocused.get(name)[1];
        assert.ok(standOut(seen) >= 8, `${name} can be seen`);
      }
      // Through the window by Tab, as the keyboard shows the focus.
      await page.focus(`[id="${desc.entries[0]}"]`);
      for (let i = 0; i < unfocused.size - desc.units.length; ++i) {
        const name = await focused();
        const [around, before] = unfocused.get(name);
        const after = await shot(around);
        let changed = 0;
        for (let k = 0; k < before.length; k += 4) if (Math.abs(before[k] - after[k]) > 64) ++changed;
        assert.ok(changed >= around.width, `${name}'s focus ring can be seen (${changed} pixels)`);
        await page.keyboard.press('Tab');
      }
    });
  }

  test('a Content-Security-Policy allows nothing from elsewhere', async () => {
    const csp = await page.$eval('meta[http-equiv="Content-Security-Policy"]', (el) => el.content);
    assert.match(csp, /default-src 'none'/);
    assert.doesNotMatch(csp, /https?:|unsafe-inline/);
  });
});

// Browsers that lack something the page uses: it still starts where it can,
// and says so in Japanese where it cannot, with the window drawn either way.
describe('tressin.html where something is missing', () => {
  const starts = [
    { lacking: 'Uint8Array.fromBase64 (older engines)', remove: () => { delete Uint8Array.fromBase64; }, ready: 'true' },
    { lacking: 'WebAssembly', remove: () => { delete window.WebAssembly; }, ready: 'failed', shown: '#failure' },
    // As Chrome and Edge before 115 (109: the last for Windows 7 and 8.1) refuse it.
    { lacking: 'compiling more than 4 KB on the main thread', remove: () => {
      const Module = WebAssembly.Module;
      WebAssembly.Module = function (bytes) {
        if (bytes.byteLength > 4096) throw new RangeError('WebAssembly.Module(): Buffer size is over 4KB. Use WebAssembly.compile, or compile on a worker thread.');
        return new Module(bytes);
      };
    }, ready: 'true' },
    // The newest things the page uses, missing in browsers older than it names.
    { lacking: '<dialog> (Safari before 15.4, Firefox before 98)', remove: () => { delete window.HTMLDialogElement; },
      ready: 'failed', shown: '#failure' },
    { lacking: 'Element.replaceChildren (Chrome and Edge before 86)', remove: () => { delete Element.prototype.replaceChildren; },
      ready: 'failed', shown: '#failure' },
    { lacking: 'JavaScript', script: false, ready: undefined, shown: '#no-script' },
  ];
  for (const { lacking, remove, script = true, ready, shown } of starts) {
    test(`without ${lacking}`, async () => {
      const tab = await browser.newPage();
      if (remove) await tab.evaluateOnNewDocument(remove);
      await tab.setJavaScriptEnabled(script);
      await tab.goto(pageUrl);
      if (ready) await tab.waitForSelector(`html[data-ready="${ready}"]`);
      const got = await tab.evaluate((sel) => ({
        ready: document.documentElement.dataset.ready,
        message: sel ? document.querySelector(sel)?.checkVisibility() && document.querySelector(sel).textContent : '',
        controls: [...document.querySelectorAll('#window > input, #window > button')].filter((el) => el.checkVisibility()).length,
      }), shown ?? '');
      assert.equal(got.ready, ready);
      assert.equal(got.controls, desc.controls.filter((c) => c.kind !== 'label').length, 'the window is drawn');
      if (shown) {
        assert.match(got.message, /[ぁ-んァ-ン一-龯]/, 'says so in Japanese');
      } else {
        await tab.click('[id="Command3"]');  // calculates: the result box shows the reasons for the zeros
        assert.notEqual(await tab.$eval('[id="Text2"]', (el) => el.value), '0');
      }
      await tab.close();
    });
  }

  test('a core that fails after the start says so, and keeps what was typed', async () => {
    const tab = await browser.newPage();
    await tab.goto(pageUrl);
    await tab.waitForSelector('html[data-ready="true"]');
    await tab.$eval('[id="Text1(0)"]', (el) => { el.value = '333'; });
    // The core's next text from its memory throws, as a broken core would.
    await tab.evaluate(() => { TextDecoder.prototype.decode = () => { throw new Error('broken'); }; });
    await tab.click('[id="Command3"]');
    const got = await tab.evaluate(() => ({
      message: document.getElementById('broken').checkVisibility() && document.getElementById('broken').textContent,
      typed: document.getElementById('Text1(0)').value, result: document.getElementById('Text2').value,
    }));
    assert.match(got.message, /[ぁ-んァ-ン一-龯]/, 'says so in Japanese');
    assert.deepEqual([got.typed, got.result], ['333', '0']);
    await tab.close();
  });
});
