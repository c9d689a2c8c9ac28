// SPDX-License-Identifier: MIT
// Puts the page together into one self-contained file: the HTML template,
// its CSS and script, the window's description, the WebAssembly core (as
// Emscripten's single-file script) and the artwork as data URIs. A
// Content-Security-Policy with the hashes of exactly these inline scripts
// and styles forbids everything else, any request to another host included.
import { createHash } from 'node:crypto';
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';

const here = dirname(fileURLToPath(import.meta.url));
const { values: args } = parseArgs({
  options: {
    window: { type: 'string' }, core: { type: 'string' }, background: { type: 'string' },
    'background-svg': { type: 'string' },
    icon: { type: 'string' }, description: { type: 'string' }, out: { type: 'string' },
  },
});
for (const name of ['window', 'core', 'background', 'background-svg', 'icon', 'description', 'out']) {
  if (!args[name]) throw new Error(`assemble: --${name} is missing`);
}

const read = (file) => readFileSync(file, 'utf8');
const dataUri = (file, type) => `data:${type};base64,${readFileSync(file).toString('base64')}`;
const sha256 = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;
// Inline text must not close its own element early.
const safeScript = (text) => text.replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '<\\!--');
const escapeHtml = (text) => text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');

const desc = JSON.parse(read(args.window));
const windowJson = JSON.stringify(desc).replace(/</g, '\\u003c');
const css = read(join(here, 'page.css'))
  .replace('@BACKGROUND@', dataUri(args.background, 'image/png'))
  .replace('@BACKGROUND_SVG@', dataUri(args['background-svg'], 'image/svg+xml'));
const core = safeScript(read(args.core).trim());
const page = safeScript(read(join(here, 'page.js')));
const csp = [
  "default-src 'none'",
  `script-src ${sha256(core)} ${sha256(page)} 'wasm-unsafe-eval'`,
  `style-src ${sha256(css)}`,
  'img-src data:',
  // The core's WebAssembly is inside the file, as a data: URI it reads back.
  'connect-src data:',
  "base-uri 'none'",
  "form-action 'none'",
].join('; ');

// What the page says when it cannot start, and what the keys under the
// window are, for a screen reader.
const words = {
  FAILURE: 'このブラウザーでは計算できません。WebAssemblyが使える最新のブラウザーで開いてください。',
  NO_SCRIPT: 'JavaScriptを有効にすると計算できます。',
  KEYS_LABEL: '記号の入力',
};
const fill = {
  ...words,
  CSP: csp, TITLE: escapeHtml(desc.title), DESCRIPTION: escapeHtml(args.description),
  ICON: dataUri(args.icon, 'image/png'), CSS: css, WINDOW: windowJson, CORE: core, PAGE: page,
};
// One pass, so no inserted text is itself searched for placeholders.
const html = read(join(here, 'page.html'))
  .replace(/<!-- SPDX[^>]*-->\n/, '')
  .replace(/@([A-Z]+)@/g, (whole, key) => (key in fill ? fill[key] : whole));
writeFileSync(args.out, html);
console.log(`assemble: ${args.out} (${html.length} characters)`);
