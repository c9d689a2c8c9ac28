// SPDX-License-Identifier: MIT
// The page in WebKit, the engine of every browser on an iPad or iPhone:
// Debian's WebKitGTK MiniBrowser driven over WebDriver (WebKitWebDriver)
// in a virtual X server of its own, at a phone's and at a tablet's window
// size: the phone's rows, the calculation table, its announcement, the
// messages, the keyboard, the unit lists, the companion page, and no
// request off the disk.
import assert from 'node:assert/strict';
import { spawn } from 'node:child_process';
import { existsSync, readFileSync } from 'node:fs';
import { createServer } from 'node:net';
import { dirname, join, resolve } from 'node:path';
import { after, before, describe, test } from 'node:test';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { Builder, By, Key } from 'selenium-webdriver';
import { expected, pressKeys } from './unit_keys.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const top = resolve(here, '../..');
const pagePath = resolve(top, process.env.TRESSIN_PAGE ?? 'build-web/web/tressin.html');
const pageUrl = pathToFileURL(pagePath).href;
const desc = JSON.parse(readFileSync(join(dirname(pagePath), 'window.json'), 'utf8'));
const cases = JSON.parse(readFileSync(join(top, 'tests/ui/calculations.json'), 'utf8'));
const driverBinary = process.env.WEBKIT_WEBDRIVER ?? '/usr/bin/WebKitWebDriver';
const browserBinary = process.env.MINIBROWSER ?? '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const missing = [driverBinary, browserBinary].find((f) => !existsSync(f));
// CI has WebKit (scripts/setup.sh --test installs webkit2gtk-driver): there it must run.
const skip = missing && process.env.CI !== 'true' ? `no ${missing}` : false;

const freePort = () => new Promise((done) => {
  const probe = createServer().listen(0, '127.0.0.1', () => { const { port } = probe.address(); probe.close(() => done(port)); });
});

describe('tressin.html in WebKit', { skip }, () => {
  let server;
  let driver;
  before(async () => {
    assert.ok(!missing, `${missing} is missing: it comes with Debian's package webkit2gtk-driver`);
    const port = await freePort();
    server = spawn('xvfb-run', ['-a', '-s', '-screen 0 1280x1280x24', driverBinary, `--port=${port}`],
      { stdio: 'ignore', detached: true });
    for (let i = 0; i < 100; ++i) {  // until the driver answers
      try {
        if ((await fetch(`http://127.0.0.1:${port}/status`)).ok) break;
      } catch { /* not yet */ }
      await new Promise((r) => setTimeout(r, 100));
    }
    driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities({
      browserName: 'MiniBrowser', 'webkitgtk:browserOptions': { binary: browserBinary, args: ['--automation'] },
    }).build();
  });
  after(async () => {
    await driver?.quit();
    if (server) process.kill(-server.pid);
  });

  async function open(width, height) {
    await driver.manage().window().setRect({ width, height });
    await driver.get(pageUrl);
    await driver.wait(async () => (await driver.executeScript('return document.documentElement.dataset.ready')) === 'true', 10000);
  }
  const box = (name) => driver.findElement(By.css(`[id="${name}"]`));
  const value = (name) => driver.executeScript('return document.getElementById(arguments[0]).value', name);
  const focused = () => driver.executeScript('return document.activeElement.id');
  async function type(name, text) {
    await box(name).clear();
    if (text !== '') await box(name).sendKeys(text);  // WebKitWebDriver refuses to send no keys
  }
  async function calculate(entries, units) {
    for (const [i, text] of entries.entries()) {
      await type(desc.entries[i], text);
      await type(desc.units[i], units[i]);
    }
    await box(desc.units[2]).sendKeys(Key.ENTER);
    return value('Text2');
  }

  for (const [size, width, height, phone] of [['a phone', 390, 844, true], ['a tablet', 820, 1180, false]]) {
    test(`at ${size}'s size: ${phone ? 'rows filling the width, big enough for a finger' : 'the whole window'}, ` +
      'no sideways scrolling', async () => {
      await open(width, height);
      const got = await driver.executeScript(`const w = document.getElementById('window');
        const r = w.getBoundingClientRect();
        const controls = [...document.querySelectorAll('#window > input, #window > button')].map((el) => {
          const b = el.getBoundingClientRect();
          return [el.id, Math.min(b.width, b.height), parseFloat(getComputedStyle(el).fontSize)];
        });
        return { right: r.right, width: r.width, height: r.height, scroll: document.documentElement.scrollWidth, room: innerWidth,
          rows: getComputedStyle(w).display === 'grid', controls };`);
      assert.ok(got.scroll <= got.room, `scrolls sideways: ${got.scroll} > ${got.room}`);
      assert.ok(got.right <= got.room, `the window ends at ${got.right} of ${got.room}`);
      assert.equal(got.rows, phone, 'the layout');
      if (phone) {
        for (const [name, side, font] of got.controls) assert.ok(side >= 44 && font >= 16, `${name}: ${side} px, text ${font} px`);
      } else {
        assert.ok(Math.abs(got.width / got.height - desc.width / desc.height) < 0.01, 'keeps its proportions');
      }
    });
  }

  test('a result and a reason are announced: a status region holds them after 計算', async () => {
    await open(390, 844);
    const region = driver.findElement(By.id('spoken'));
    assert.equal(await region.getAriaRole(), 'status', "WebKit's accessibility role");
    for (const [entries, units] of [[['333', '60', '1'], ['m', 'kg', '分']], [['10', '2', '0'], ['m', 'kg', '秒']]]) {
      const shown = await calculate(entries, units);
      assert.equal((await driver.executeScript("return document.getElementById('spoken').textContent")).trim(), shown);
      assert.equal(await focused(), desc.units[2], 'the focus stays');
    }
  });

  test('the calculation table, typed and entered', async () => {
    await open(390, 844);
    for (const c of cases.computed) assert.equal(await calculate(c.entries, c.units), c.shown, c.name);
    for (const c of cases.failed) {
      assert.equal(await calculate(['10', '2', '1'], ['m', 'kg', '秒']), '196.133');
      assert.equal(await calculate(c.entries, c.units), c.reason, c.name);
      assert.equal(await box(c.marked).getAttribute('aria-invalid'), 'true', c.name);
    }
  });

  test('Tab follows the table; a unit from its list by the keyboard', async () => {
    await open(820, 1180);
    const want = desc.controls.filter((c) => c.kind !== 'label').map((c) => c.name);
    const order = [await focused()];
    for (let i = 1; i < want.length; ++i) {
      await driver.switchTo().activeElement().sendKeys(Key.TAB);
      order.push(await focused());
    }
    assert.deepEqual(order, want);
    await box('Combo3').sendKeys(Key.F4);
    assert.equal(await driver.findElement(By.id('unit-list')).isDisplayed(), true, 'F4 shows the unit list');
    await box('Combo3').sendKeys(Key.ARROW_DOWN, Key.ENTER);
    assert.equal(await value('Combo3'), '分');
  });

  test('keys in a unit box, as in the window', async () => {
    await open(820, 1180);
    const keys = { Enter: Key.ENTER, F4: Key.F4, Down: Key.ARROW_DOWN, Up: Key.ARROW_UP, Esc: Key.ESCAPE, Tab: Key.TAB };
    const got = await pressKeys(cases.keys, {
      run: (fn, args) => driver.executeScript(`return (${fn})(...arguments)`, ...args),
      press: (key) => driver.switchTo().activeElement().sendKeys(key.startsWith('text:') ? key.slice(5)
        : key.startsWith('Alt+') ? Key.chord(Key.ALT, keys[key.slice(4)]) : keys[key]),
    });
    assert.deepEqual(got, expected(cases.keys));
  });

  test('a unit from its list by a click on the arrow', async () => {
    await open(820, 1180);
    await driver.findElement(By.css('[id="Combo1"] + .drop')).click();
    await driver.findElement(By.css('#unit-list [role="option"]:nth-child(3)')).click();
    assert.equal(await value('Combo1'), 'km');
  });

  for (const [name, text] of Object.entries(desc.references)) {
    test(`reference message of ${name}, closed by its OK`, async () => {
      await open(390, 844);
      await box(name).click();
      const shown = await driver.executeScript(`const d = document.getElementById('message');
        return { open: d.open, title: document.getElementById('message-title').textContent,
          text: document.getElementById('message-text').textContent, focus: document.activeElement.id };`);
      assert.deepEqual(shown, { open: true, title: 'Tressin', text, focus: 'message-ok' });
      await driver.findElement(By.id('message-ok')).click();
      assert.equal(await driver.executeScript("return document.getElementById('message').open"), false);
      assert.equal(await focused(), name);
    });
  }

  test('電力の話 opens denryoku.html from beside the page', async () => {
    await open(820, 1180);
    const before = await driver.getAllWindowHandles();
    await box('Command5').click();
    await driver.wait(async () => (await driver.getAllWindowHandles()).length > before.length, 5000);
    const opened = (await driver.getAllWindowHandles()).find((h) => !before.includes(h));
    await driver.switchTo().window(opened);
    assert.equal(await driver.getCurrentUrl(), new URL('denryoku.html', pageUrl).href);
    await driver.close();
    await driver.switchTo().window(before[0]);
  });

  // WebDriver has no way to watch the network (Chromium's tests use its
  // DevTools protocol): the page's own record of what it loaded stands in.
  test('nothing is asked for off the disk', async () => {
    await open(390, 844);
    const loaded = await driver.executeScript(
      "return performance.getEntriesByType('resource').map((e) => e.name).concat(location.href)");
    assert.deepEqual(loaded.filter((url) => !url.startsWith('data:') && url !== pageUrl), []);
  });
});
