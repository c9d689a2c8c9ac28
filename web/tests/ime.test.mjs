// SPDX-License-Identifier: MIT
// The page typed into through the browser's own input-method interface, as
// a Japanese IME drives it: Chromium's DevTools protocol sets the
// composition (Input.imeSetComposition) and commits it (Input.insertText),
// and the keys the IME passes on arrive as it sends them (key code 229
// while it owns them). The same cases as the window's ibus-Mozc test.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { after, before, beforeEach, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '../..');
const pagePath = resolve(top, process.env.TRESSIN_PAGE ?? 'build-web/web/tressin.html');

describe('tressin.html with an input method', () => {
  let browser;
  let page;
  let ime;
  const errors = [];
  before(async () => {
    browser = await puppeteer.launch({
      executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
      headless: true,
      args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
    });
  });
  after(async () => { await browser?.close(); assert.deepEqual(errors, []); });
  beforeEach(async () => {
    await page?.close();
    page = await browser.newPage();
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    page.on('pageerror', (e) => errors.push(e.message));
    await page.goto(pathToFileURL(pagePath).href);
    await page.waitForSelector('html[data-ready="true"]');
    ime = await page.createCDPSession();
  });

  const value = (name) => page.$eval(`[id="${name}"]`, (el) => el.value);
  const focused = () => page.evaluate(() => document.activeElement?.id ?? '');
  async function focusEmpty(name) {
    await page.$eval(`[id="${name}"]`, (el) => { el.value = ''; el.focus(); });
  }
  const compose = (text) => ime.send('Input.imeSetComposition', { text, selectionStart: text.length, selectionEnd: text.length });
  // A key as the IME hands it on: 229 while the IME uses it, else its own code.
  async function key(type, key, code, keyCode) {
    await ime.send('Input.dispatchKeyEvent', { type, key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode });
  }
  // The IME's Enter: its keydown reaches the page while the composition is
  // still open, then the text is committed, then the key comes up.
  async function commitWithEnter(text, keyCode) {
    await key('rawKeyDown', 'Enter', 'Enter', keyCode);
    await ime.send('Input.insertText', { text });
    await key('keyUp', 'Enter', 'Enter', 13);
  }
  async function typeCommitted(name, preedits, keyCode = 229) {
    await focusEmpty(name);
    for (const p of preedits) await compose(p);
    await commitWithEnter(preedits.at(-1), keyCode);
    assert.equal(await value(name), preedits.at(-1));
  }
  async function fill(height, mass, time, timeUnit = '分') {
    for (const [name, text] of [['Text1(0)', height], ['Text1(1)', mass], ['Text1(2)', time], ['Combo3', timeUnit]]) {
      await page.$eval(`[id="${name}"]`, (el, t) => { el.value = t; }, text);
    }
  }

  for (const [how, keyCode] of [['key code 229', 229], ['isComposing', 13]]) {
    test(`the Enter that commits does not calculate (${how}); the next Enter does`, async () => {
      await fill('0', '60', '1');
      await typeCommitted('Text1(0)', ['３', '３３', '３３３'], keyCode);
      assert.equal(await value('Text2'), '0');
      await page.keyboard.press('Enter');
      assert.equal(await value('Text2'), '3265.61445');
    });
  }

  test('a unit converted from kana: ふん, then the chosen 分', async () => {
    await fill('333', '60', '1', '');
    await typeCommitted('Combo3', ['ふ', 'ふｎ', 'ふん', '分']);
    assert.equal(await value('Text2'), '0');
    await page.keyboard.press('Enter');
    assert.equal(await value('Text2'), '3265.61445');
  });

  for (const [box, fullWidth, ascii] of [['Text1(0)', '１２．５', '12.5'], ['Text1(1)', '−２', '-2'], ['Text1(1)', '－２', '-2']]) {
    test(`full-width ${fullWidth} computes like ${ascii}`, async () => {
      await fill('3', '3', '3', '秒');
      await page.$eval(`[id="${box}"]`, (el, t) => { el.value = t; }, ascii);
      await page.click('[id="Command3"]');
      const expected = await value('Text2');
      assert.notEqual(expected, '0');
      await page.$eval('[id="Text2"]', (el) => { el.value = '0'; });
      await typeCommitted(box, [fullWidth]);
      await page.keyboard.press('Enter');
      assert.equal(await value('Text2'), expected);
    });
  }

  test('Esc during a composition cancels it and changes nothing else', async () => {
    await focusEmpty('Text1(0)');
    await compose('４５');
    await key('rawKeyDown', 'Escape', 'Escape', 229);
    await compose('');
    await key('keyUp', 'Escape', 'Escape', 27);
    assert.equal(await value('Text1(0)'), '');
    assert.equal(await value('Text2'), '0');
    assert.equal(await focused(), 'Text1(0)');
  });

  // A cancelled composition must not come back when the box loses the focus.
  for (const leave of ['Tab', 'Shift+Tab', 'blur']) {
    test(`a cancelled composition stays cancelled after ${leave}`, async () => {
      await page.$eval('[id="Text1(1)"]', (el) => { el.value = '５０'; el.focus(); });
      await compose('９');
      await key('rawKeyDown', 'Escape', 'Escape', 229);
      await compose('');
      await key('keyUp', 'Escape', 'Escape', 27);
      if (leave === 'blur') await page.$eval('[id="Text1(1)"]', (el) => el.blur());
      else if (leave === 'Tab') await page.keyboard.press('Tab');
      else {
        await page.keyboard.down('Shift');
        await page.keyboard.press('Tab');
        await page.keyboard.up('Shift');
      }
      assert.notEqual(await focused(), 'Text1(1)');
      assert.equal(await value('Text1(1)'), '５０');
    });
  }

  test('Tab during a composition: committed once, and the focus moves on', async () => {
    await focusEmpty('Text1(0)');
    await compose('７８');
    // The IME commits what it holds and passes the Tab on.
    await ime.send('Input.insertText', { text: '７８' });
    await page.keyboard.press('Tab');
    assert.equal(await value('Text1(0)'), '７８');
    assert.equal(await focused(), 'Text1(1)');
    const all = await page.$$eval('input', (els) => els.map((el) => el.value).join('|'));
    assert.equal(all.split('７８').length - 1, 1, all);
    assert.equal(await value('Text2'), '0');
  });
});
