// SPDX-License-Identifier: MIT
// The same page in Firefox (Debian's firefox-esr, driven over WebDriver
// BiDi), opened from disk: the window's calculation table, the failure
// reasons, a reference message, and no error in the console. The full
// checks run in Chromium (page.test.mjs).
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { expected, pressKeys, puppeteerKeys } from './unit_keys.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '../..');
const pagePath = resolve(top, process.env.TRESSIN_PAGE ?? 'build-web/web/tressin.html');
const cases = JSON.parse(readFileSync(join(top, 'tests/ui/calculations.json'), 'utf8'));
const desc = JSON.parse(readFileSync(join(dirname(pagePath), 'window.json'), 'utf8'));
const firefox = process.env.FIREFOX ?? '/usr/bin/firefox-esr';

describe('tressin.html in Firefox', { skip: !existsSync(firefox) && `no ${firefox}` }, () => {
  let browser;
  let page;
  const errors = [];
  before(async () => {
    browser = await puppeteer.launch({ browser: 'firefox', executablePath: firefox, headless: true });
    page = await browser.newPage();
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
    await page.goto(pathToFileURL(pagePath).href);
    await page.waitForSelector('html[data-ready="true"]');
  });
  after(async () => {
    await browser?.close();
    assert.deepEqual(errors, []);
  });

  async function calculate(entries, units) {
    for (const [i, text] of entries.entries()) {
      for (const [name, typed] of [[desc.entries[i], text], [desc.units[i], units[i]]]) {
        await page.$eval(`[id="${name}"]`, (el) => { el.value = ''; });
        await page.type(`[id="${name}"]`, typed);
      }
    }
    await page.keyboard.press('Enter');
    return page.$eval('[id="Text2"]', (el) => el.value);
  }

  test('the calculation table', async () => {
    for (const c of cases.computed) assert.equal(await calculate(c.entries, c.units), c.shown, c.name);
    for (const c of cases.failed) {
      assert.equal(await calculate(['10', '2', '1'], ['m', 'kg', '秒']), '196.133');
      assert.equal(await calculate(c.entries, c.units), c.reason, c.name);
      assert.equal(await page.$eval(`[id="${c.marked}"]`, (el) => el.getAttribute('aria-invalid')), 'true', c.name);
    }
  });

  test('keys in a unit box, as in the window', async () => {
    assert.deepEqual(await pressKeys(cases.keys, puppeteerKeys(page)), expected(cases.keys));
  });

  test('a reference message in a modal dialog', async () => {
    await page.click('[id="Command4"]');
    assert.equal(await page.$eval('#message-text', (el) => el.textContent), desc.references.Command4);
    await page.keyboard.press('Escape');
    assert.equal(await page.$eval('#message', (el) => el.open), false);
    assert.equal(await page.evaluate(() => document.activeElement.id), 'Command4');
  });
});
