// SPDX-License-Identifier: MIT
// A picture of the web page after the sample calculation (333 m, 60 kg,
// 1 分), for the README, on a desktop, or on a phone or tablet (touch, at
// their device pixel ratio, a CSS pixel to a pixel in the picture):
//   node screenshot.mjs PAGE OUT.png [WIDTH HEIGHT SCALE]
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const [page_file, out, width, height, scale] = process.argv.slice(2);
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking', '--disable-sync'],
});
const page = await browser.newPage();
if (width) {
  await page.setViewport({ width: +width, height: +height, deviceScaleFactor: +scale, isMobile: true, hasTouch: true });
} else {
  await page.setViewport({ width: 428, height: 219 });
}
await page.goto(pathToFileURL(resolve(page_file)).href);
await page.waitForSelector('html[data-ready="true"]');
for (const [name, text] of [['Text1(0)', '333'], ['Text1(1)', '60'], ['Text1(2)', '1'], ['Combo3', '分']]) {
  await page.$eval(`[id="${name}"]`, (el) => { el.value = ''; });
  await page.type(`[id="${name}"]`, text);
}
await page.click('[id="Command3"]');
await page.focus('[id="Text1(0)"]');
await page.screenshot({ path: out, ...(width ? { clip: { x: 0, y: 0, width: +width, height: +height, scale: 1 / +scale } } : {}) });
await browser.close();
console.log(out);
