// SPDX-License-Identifier: MIT
// Size and readiness of the built page (a measurement, not a test): the
// file's size raw and gzip-compressed, and the time from navigation until
// the first calculation is possible, in headless Chromium opening the file
// from disk, median of N loads (default 20). Prints figures; asserts nothing.
import { readFileSync } from 'node:fs';
import { resolve } from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import puppeteer from 'puppeteer-core';

const file = resolve(process.argv[2] ?? 'build-web/web/tressin.html');
const loads = Number(process.argv[3] ?? 20);
const bytes = readFileSync(file);
const kb = (n) => `${(n / 1000).toFixed(1)} KB`;
console.log(`size: ${kb(bytes.length)} raw, ${kb(gzipSync(bytes, { level: 9 }).length)} gzip -9 (targets: < 250 KB, < 100 KB)`);

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync'],
});
const page = await browser.newPage();
const times = [];
for (let i = 0; i < loads; ++i) {
  await page.goto(`${pathToFileURL(file).href}?load=${i}`);
  await page.waitForSelector('html[data-ready="true"]');
  times.push(await page.evaluate(() => performance.getEntriesByName('tressin-ready')[0].startTime));
}
await browser.close();
times.sort((a, b) => a - b);
const median = (times[(loads - 1) >> 1] + times[loads >> 1]) / 2;
console.log(`ready for the first calculation: median ${median.toFixed(1)} ms over ${loads} loads ` +
  `(min ${times[0].toFixed(1)}, max ${times[loads - 1].toFixed(1)}; target < 100 ms)`);
