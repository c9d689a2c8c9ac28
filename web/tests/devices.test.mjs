// SPDX-License-Identifier: MIT
// The page on the screens pupils have: Chromium emulating phones (360 x 640
// at 3x, 375 x 667 at 2x, 390 x 844 at 3x) and tablets (820 x 1180 at 2x),
// with touch, upright and on their sides. Held upright, a phone gets the
// window's rows filling its width, every control 44 px or more and text at
// 16 px; on its side, and on a tablet, the window fills the width or the
// height. Nowhere does the page scroll sideways or cut off a text; taps do
// what clicks do, turning the screen keeps what was typed, the focus and an
// open list or message, and the picture is drawn sharp at 2x and as before
// at 1x.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '../..');
const pagePath = resolve(top, process.env.TRESSIN_PAGE ?? 'build-web/web/tressin.html');
const desc = JSON.parse(readFileSync(join(dirname(pagePath), 'window.json'), 'utf8'));
const cases = JSON.parse(readFileSync(join(top, 'tests/ui/calculations.json'), 'utf8'));

// The smallest side a finger is given (in the window layout, on a small
// phone on its side, the window's 24 px boxes are 36 px: that layout stays).
const devices = [
  { name: 'small phone, upright', width: 360, height: 640, scale: 3, phone: true, finger: 44 },
  { name: 'phone, upright', width: 375, height: 667, scale: 2, phone: true, finger: 44 },
  { name: 'large phone, upright', width: 390, height: 844, scale: 3, phone: true, finger: 44 },
  { name: 'small phone, on its side', width: 640, height: 360, scale: 3, finger: 35 },
  { name: 'phone, on its side', width: 667, height: 375, scale: 2, finger: 36 },
  { name: 'large phone, on its side', width: 844, height: 390, scale: 3, finger: 44 },
  { name: 'tablet, portrait', width: 820, height: 1180, scale: 2, finger: 44 },
  { name: 'tablet, landscape', width: 1180, height: 820, scale: 2, finger: 44 },
];
const turned = (d) => ({ ...d, width: d.height, height: d.width, phone: false });

let browser;
before(async () => {
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    defaultViewport: null,  // each test's device metrics are its own
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
  });
});
after(async () => { await browser?.close(); });

async function emulate(cdp, device) {
  await cdp.send('Emulation.setDeviceMetricsOverride', {
    width: device.width, height: device.height, deviceScaleFactor: device.scale, mobile: device.touch !== false,
    screenOrientation: device.width > device.height
      ? { type: 'landscapePrimary', angle: 90 } : { type: 'portraitPrimary', angle: 0 },
  });
}
async function open(device) {
  const page = await browser.newPage();
  const cdp = await page.createCDPSession();
  await emulate(cdp, device);
  if (device.touch !== false) {
    await cdp.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
    await cdp.send('Emulation.setEmitTouchEventsForMouse', { enabled: true, configuration: 'mobile' });
  }
  await page.goto(pathToFileURL(pagePath).href);
  await page.waitForSelector('html[data-ready="true"]');
  page.cdp = cdp;  // the session whose device the page is on
  return page;
}
const value = (page, name) => page.$eval(`[id="${name}"]`, (el) => el.value);

// Every text a box, label or button shows, or may show, that does not fit
// it: a box's line, taller than its face's own, must hold the text's ink and
// lie inside the box (or the tail of a g is cut off at its inner edge); a
// unit box's text must fit beside its arrow, and the result box's the
// longest reason; a label's or a button's text must lie inside it.
const clipped = (page, texts) => page.evaluate((texts) => {
  const out = [];
  const ctx = document.createElement('canvas').getContext('2d');
  for (const el of document.querySelectorAll('#window > input, #window > button, #window > label')) {
    const s = getComputedStyle(el);
    const px = (v) => parseFloat(v) || 0;
    if (el.tagName !== 'INPUT') {
      const range = document.createRange();
      range.selectNodeContents(el);
      const [t, b] = [range.getBoundingClientRect(), el.getBoundingClientRect()];
      if (t.left < b.left - 0.5 || t.right > b.right + 0.5 || t.top < b.top - 0.5 || t.bottom > b.bottom + 0.5) {
        out.push(`${el.id}: "${el.textContent}" outside its box`);
      }
      continue;
    }
    ctx.font = `${s.fontWeight} ${s.fontSize} ${s.fontFamily}`;
    const height = el.clientHeight - px(s.paddingTop) - px(s.paddingBottom);
    const width = el.clientWidth - px(s.paddingLeft) - px(s.paddingRight);
    for (const text of [el.value, ...(texts[el.id] ?? [])]) {
      const m = ctx.measureText(text);
      const face = m.fontBoundingBoxAscent + m.fontBoundingBoxDescent;  // the line a "normal" height gives
      const line = s.lineHeight === 'normal' ? face : px(s.lineHeight);
      const baseline = (line - face) / 2 + m.fontBoundingBoxAscent;
      if (line > height + 0.5) out.push(`${el.id}: its line of ${line} px in ${height} px`);
      else if (baseline - m.actualBoundingBoxAscent < 0 || baseline + m.actualBoundingBoxDescent > line) {
        out.push(`${el.id}: "${text}" taller than its line`);
      }
      if (text !== el.value && m.width > width + 0.5) out.push(`${el.id}: "${text}" wider than ${width} px`);
    }
  }
  return out;
}, texts);
// What the unit boxes offer, and the result box's longest words.
const texts = Object.fromEntries(desc.controls.filter((c) => c.kind === 'combobox').map((c) => [c.name, c.items]));
texts.Text2 = [cases.failed.map((c) => c.reason).reduce((a, b) => (b.length > a.length ? b : a)), '-9.80665E+15'];

// Where the page puts its window and what a finger is given.
const layout = (page) => page.evaluate(() => {
  const w = document.getElementById('window');
  const sizes = {};
  for (const el of document.querySelectorAll('#window > input, #window > button')) {
    const r = el.getBoundingClientRect();
    sizes[el.id] = { side: Math.min(r.width, r.height), font: parseFloat(getComputedStyle(el).fontSize) * (r.height / el.offsetHeight) };
  }
  return { w: w.getBoundingClientRect().toJSON(), rows: getComputedStyle(w).display === 'grid',
    picture: getComputedStyle(w).backgroundImage.startsWith('url('),
    scrollW: document.documentElement.scrollWidth, vw: innerWidth, vh: innerHeight, sizes };
});

describe('tressin.html on phones and tablets', () => {
  for (const device of devices) {
    test(`${device.name}: ${device.phone ? 'rows filling the width' : 'the window filling the screen one way'}, ` +
      `no scrolling, ${device.finger} px for a finger, no text cut off`, async () => {
      const page = await open(device);
      const got = await layout(page);
      assert.ok(got.scrollW <= got.vw, `scrolls sideways: ${got.scrollW} > ${got.vw}`);
      assert.ok(got.w.left >= 0 && got.w.right <= got.vw && got.w.bottom <= got.vh, 'the whole window is on the screen');
      assert.equal(got.rows, Boolean(device.phone), 'the layout');
      assert.ok(got.picture, 'the picture behind the controls');
      if (device.phone) {
        assert.ok(Math.abs(got.w.width - (got.vw - 16)) < 1, `rows ${got.w.width} px wide in ${got.vw}`);
      } else {
        const fillsWidth = Math.abs(got.w.width - (got.vw - 16)) < 1;
        const fillsHeight = Math.abs(got.w.height - (got.vh - 16)) < 1;
        assert.ok(fillsWidth || fillsHeight, `window ${got.w.width} x ${got.w.height} in ${got.vw} x ${got.vh}`);
        assert.ok(Math.abs(got.w.width / got.w.height - desc.width / desc.height) < 0.01, 'keeps its proportions');
      }
      for (const [name, { side, font }] of Object.entries(got.sizes)) {
        assert.ok(side >= device.finger, `${name}: ${side} CSS px`);
        if (device.phone) assert.ok(font >= 16, `${name}: text of ${font} CSS px`);
      }
      assert.deepEqual(await clipped(page, texts), []);
      if (device.phone) {  // a unit list and a reference message fit on the screen
        await page.tap('[id="Combo3"]');
        const list = await page.$eval('#unit-list', (el) => el.getBoundingClientRect().toJSON());
        assert.ok(list.bottom <= got.vh && list.right <= got.vw && list.top >= 0, JSON.stringify(list));
        for (const option of await page.$$('#unit-list [role="option"]')) {
          assert.ok((await option.boundingBox()).height >= 44, 'an item big enough to tap');
        }
        await page.tap('[id="Command1"]');
        const box = await page.$eval('#message', (el) => el.getBoundingClientRect().toJSON());
        assert.ok(box.left >= 0 && box.right <= got.vw && box.bottom <= got.vh, JSON.stringify(box));
      }
      await page.close();
    });
  }

  const byName = (name) => devices.find((d) => d.name === name);
  // A pen's tap (Apple Pencil, a Chromebook's stylus), as the browser gets it.
  const penTap = async (page, selector) => {
    const box = await (await page.$(selector)).boundingBox();
    const at = { x: box.x + box.width / 2, y: box.y + box.height / 2, button: 'left', clickCount: 1, pointerType: 'pen' };
    // A pen is no mouse made into a finger.
    await page.cdp.send('Emulation.setEmitTouchEventsForMouse', { enabled: false });
    await page.cdp.send('Input.dispatchMouseEvent', { type: 'mousePressed', ...at });
    await page.cdp.send('Input.dispatchMouseEvent', { type: 'mouseReleased', ...at });
  };
  const fingerTap = (page, selector) => page.tap(selector);
  for (const [device, how, tap] of [[byName('tablet, portrait'), 'taps', fingerTap],
    [byName('small phone, upright'), 'taps', fingerTap], [byName('tablet, portrait'), 'a pen\'s taps', penTap]]) {
    test(`${device.name}: ${how} do what clicks do: a unit from its list, 参考 and its OK, 計算, 電力の話`, async () => {
      const page = await open(device);
      for (const [name, text] of [['Text1(0)', '333'], ['Text1(1)', '60'], ['Text1(2)', '1']]) {
        await page.$eval(`[id="${name}"]`, (el, t) => { el.value = t; }, text);
      }
      await tap(page, '[id="Combo3"]');
      assert.equal(await page.$eval('#unit-list', (el) => el.hidden), false, 'a tap on the unit box offers its items');
      const items = await page.$$eval('#unit-list [role="option"]', (els) => els.map((el) => el.textContent));
      assert.deepEqual(items, desc.controls.find((c) => c.name === 'Combo3').items);
      await tap(page, '#unit-list [role="option"]:nth-child(2)');
      assert.equal(await value(page, 'Combo3'), '分');
      assert.equal(await page.$eval('#unit-list', (el) => el.hidden), true);
      await tap(page, '[id="Command3"]');
      assert.equal(await value(page, 'Text2'), '3265.61445');
      await tap(page, '[id="Command1"]');
      assert.equal(await page.$eval('#message', (el) => el.open), true);
      await tap(page, '#message-ok');
      assert.equal(await page.$eval('#message', (el) => el.open), false);
      const opened = new Promise((done) => { browser.once('targetcreated', (t) => done(t.url())); });
      await tap(page, '[id="Command5"]');
      assert.match(await opened, /denryoku\.html$/);
      await page.close();
    });
  }

  test('the number keyboard, and the keys it lacks', async () => {
    const page = await open(byName('large phone, upright'));
    const boxes = await page.$$eval('#window > input', (els) => els.map((el) => [el.id, el.inputMode, el.enterKeyHint]));
    for (const [name, mode, hint] of boxes) {
      assert.equal(mode, desc.entries.includes(name) ? 'decimal' : '', name);
      assert.equal(hint, 'go', name);
    }
    await page.$eval('[id="Text1(1)"]', (el) => { el.value = ''; });
    await page.tap('[id="Text1(1)"]');
    assert.equal(await page.$eval('#keys', (el) => getComputedStyle(el).display), 'flex');
    await page.tap('#keys [data-text="-"]');
    await page.keyboard.type('2');
    await page.tap('#keys [data-text="e"]');
    await page.keyboard.type('1');
    assert.equal(await value(page, 'Text1(1)'), '-2e1');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'Text1(1)', 'the box keeps the focus');
    await page.keyboard.press('Enter');  // the keyboard's Go key
    assert.notEqual(await value(page, 'Text2'), '0');
    await page.close();
  });

  // Turned each way, every phone keeps what was typed, the focus, an open
  // list or message, and a box's mark and reason, in either layout.
  const turns = devices.filter((d) => d.phone).flatMap((d) => [[d, turned(d)], [turned(d), d]]);
  for (const [from, to] of turns) {
    test(`turning ${from.width} x ${from.height} to ${to.width} x ${to.height} keeps what the pupil has`, async () => {
      const page = await open(from);
      const typed = ['１２．５', 'abc', '1'];
      for (const [i, text] of typed.entries()) {
        await page.$eval(`[id="${desc.entries[i]}"]`, (el) => { el.value = ''; });
        await page.type(`[id="${desc.entries[i]}"]`, text);
      }
      await page.keyboard.press('Enter');
      const marked = () => page.$eval('[id="Text1(1)"]', (el) => [el.getAttribute('aria-invalid'), el.title,
        getComputedStyle(el).backgroundColor]);
      const before = await marked();
      assert.equal(before[0], 'true');
      const rows = () => page.$eval('#window', (el) => getComputedStyle(el).display === 'grid');
      for (const open of ['list', 'message']) {
        if (open === 'list') await page.tap('[id="Combo2"]'); else await page.tap('[id="Command2"]');
        await emulate(page.cdp, to);
        await page.waitForFunction((want) => (getComputedStyle(document.getElementById('window')).display === 'grid') === want,
          {}, Boolean(to.phone));
        assert.equal(await rows(), Boolean(to.phone));
        for (const [i, text] of typed.entries()) assert.equal(await value(page, desc.entries[i]), text);
        assert.deepEqual(await marked(), before, 'the mark and its reason');
        if (open === 'list') {
          const [shown, focus, under] = await page.evaluate(() => {
            const list = document.getElementById('unit-list').getBoundingClientRect();
            const box = document.getElementById('Combo2').getBoundingClientRect();
            return [!document.getElementById('unit-list').hidden, document.activeElement.id,
              Math.abs(list.top - box.bottom) < 1 || Math.abs(list.bottom - box.top) < 1];
          });
          assert.deepEqual([shown, focus, under], [true, 'Combo2', true], 'the list stays open by its box');
          await page.keyboard.press('Escape');
        } else {
          assert.equal(await page.$eval('#message', (el) => el.open), true, 'the message stays open');
          await page.tap('#message-ok');
          assert.equal(await page.evaluate(() => document.activeElement.id), 'Command2');
        }
        await emulate(page.cdp, from);
      }
      await page.close();
    });
  }

  // The picture is drawn from its vector form at every scale: at 2x it must
  // be the artwork drawn at 2x (far closer to it than the 1x one enlarged:
  // sharp), and at 1x, as on a desktop, the 1x artwork that the desktop
  // programs show (a mean difference of 1.5 in 255 cannot be seen).
  const pictures = [
    { scale: 2, touch: true, want: 'background@2x.png', against: 'background.png' },
    { scale: 1, touch: false, want: 'background.png' },
  ];
  for (const { scale, touch, want, against } of pictures) {
    test(`at ${scale}x the picture is ${want}`, async () => {
      // A screen just wide enough for the window at 1:1.
      const page = await open({ width: 428, height: 400, scale, touch });
      assert.equal(await page.$eval('#window', (el) => el.getBoundingClientRect().width), 412);
      await page.$eval('#window', (el) => { for (const c of el.children) c.style.visibility = 'hidden'; });
      const { data: shot } = await page.cdp.send('Page.captureScreenshot', { format: 'png' });  // in device pixels
      const art = (name) => `data:image/png;base64,${readFileSync(join(top, 'ui/art', name)).toString('base64')}`;
      const differences = await page.evaluate(async (shotUri, wantUri, againstUri, w, h) => {
        const pixels = async (uri, from = null) => {
          const img = new Image();
          img.src = uri;
          await img.decode();
          const canvas = new OffscreenCanvas(w, h);
          const ctx = canvas.getContext('2d');
          ctx.imageSmoothingEnabled = true;
          if (from) ctx.drawImage(img, from[0], from[1], w, h, 0, 0, w, h);  // the window's part, as shot
          else ctx.drawImage(img, 0, 0, w, h);  // the artwork, scaled to the same size
          return ctx.getImageData(0, 0, w, h).data;
        };
        const s = await pixels(shotUri, [8 * (w / 412), 8 * (w / 412)]);
        const mean = (other) => { let d = 0; for (let i = 0; i < s.length; i += 4) d += Math.abs(s[i] - other[i]); return d / (s.length / 4); };
        return { want: mean(await pixels(wantUri)), against: againstUri ? mean(await pixels(againstUri)) : null };
      }, `data:image/png;base64,${shot}`, art(want), against && art(against), 412 * scale, 203 * scale);
      assert.ok(differences.want < 1.5 && (!against || differences.want < differences.against / 2), JSON.stringify(differences));
      await page.close();
    });
  }
});
