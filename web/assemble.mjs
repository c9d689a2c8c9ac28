// SPDX-License-Identifier: MIT
// Puts the page together into one self-contained file: the HTML template,
// its CSS and script, the window's description, the core (Emscripten's
// script, and its WebAssembly as base64 text for the page to hand it) and
// the artwork as data URIs. A
// Content-Security-Policy with the hashes of exactly these inline scripts
// and styles forbids everything else, any request to another host included.
import { createHash } from 'node:crypto';
import { copyFileSync, mkdirSync, readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { parseArgs } from 'node:util';
import { smokeCheck } from './smoke.mjs';

const here = dirname(fileURLToPath(import.meta.url));
const { values: args } = parseArgs({
  options: {
    window: { type: 'string' }, core: { type: 'string' }, 'core-wasm': { type: 'string' },
    background: { type: 'string' },
    // The folder for a web host: the page that installs, with its manifest,
    // service worker, icons and companion page.
    site: { type: 'string' }, art: { type: 'string' }, companion: { type: 'string' },
    name: { type: 'string' }, 'short-name': { type: 'string' },
    icon: { type: 'string' }, description: { type: 'string' }, out: { type: 'string' },
  },
});
for (const name of ['window', 'core', 'core-wasm', 'background', 'icon', 'description', 'out',
  ...(args.site ? ['art', 'companion', 'name', 'short-name'] : [])]) {
  if (!args[name]) throw new Error(`assemble: --${name} is missing`);
}

const read = (file) => readFileSync(file, 'utf8');
const dataUri = (file, type) => `data:${type};base64,${readFileSync(file).toString('base64')}`;
// SVG as text compresses far better than as base64; only what a URL or the
// quoted CSS string around it cannot hold is escaped.
const svgDataUri = (file) => `data:image/svg+xml,${read(file).trim()
  .replace(/[%#<>"'\\\s]/g, (c) => (c === ' ' ? c : `%${c.charCodeAt(0).toString(16).toUpperCase().padStart(2, '0')}`))}`;
const sha256 = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;
// Inline text must not close its own element early.
const safeScript = (text) => text.replace(/<\/(script)/gi, '<\\/$1').replace(/<!--/g, '<\\!--');
const escapeHtml = (text) => text.replace(/&/g, '&amp;').replace(/"/g, '&quot;').replace(/</g, '&lt;');

const desc = JSON.parse(read(args.window));

// The window's controls as HTML, in tab order, with their places and fonts
// as CSS: the parser builds them, and the page's script only wires them up.
// (The policy below allows no style attributes, so places go in the sheet.)
const fontStack = [desc.fontFamily, 'MS PGothic', 'IPAPGothic', 'IPA Pゴシック', 'Noto Sans CJK JP', 'sans-serif']
  .map((f) => (f === 'sans-serif' ? f : `"${f}"`)).join(', ');
const cssId = (name) => `#${name.replace(/[^A-Za-z0-9_-]/g, (c) => `\\${c}`)}`;
const attributes = (list) => list.filter(([, v]) => v !== undefined && v !== false)
  .map(([k, v]) => (v === true ? ` ${k}` : ` ${k}="${escapeHtml(String(v))}"`)).join('');
function renderWindow() {
  const labelFor = new Map(Object.entries(desc.buddies));
  const html = [];
  const rules = [`:root { --font-stack: ${fontStack}; }`,
    `#window { width: ${desc.width}px; height: ${desc.height}px; background-color: ${desc.colours.window}; ` +
    `--label-colour: ${desc.colours.label}; --mark-colour: ${desc.colours.mark}; }`];
  for (const c of desc.controls) {
    const common = [['id', c.name], ['title', c.tooltip || undefined]];
    const named = (fallback) => ['aria-label', c.accessibleName || fallback];
    if (c.kind === 'label') {
      html.push(`<label${attributes([...common, named(undefined), ['class', 'label'], ['for', labelFor.get(c.name)]])}>` +
        `${escapeHtml(c.text)}</label>`);
    } else if (c.kind === 'button') {
      html.push(`<button type="button"${attributes([...common, named(c.text),
        ['class', c.name === 'Command3' ? 'button default' : 'button']])}>${escapeHtml(c.text)}</button>`);
    } else {  // a text box, or an editable unit box offering its items
      const combo = c.kind === 'combobox';
      html.push(`<input type="text"${attributes([...common, named(undefined), ['class', c.kind], ['value', c.text], ['autocomplete', 'off'],
        ['spellcheck', 'false'], ['autocapitalize', 'off'],
        ['enterkeyhint', 'go'],  // the on-screen keyboard's Enter calculates
        ['inputmode', desc.entries.includes(c.name) ? 'decimal' : undefined],
        ...(combo ? [['role', 'combobox'], ['aria-expanded', 'false'], ['aria-controls', 'unit-list'], ['aria-autocomplete', 'none']] : [])])}>`);
      // The sign that a unit box holds a list, and where a tap opens it.
      if (combo) html.push('<span class="drop" data-aux aria-hidden="true"></span>');
    }
    rules.push(`${cssId(c.name)} { left: ${c.left}px; top: ${c.top}px; width: ${c.width}px; height: ${c.height}px; ` +
      `font: ${c.font.bold ? 'bold ' : ''}${c.font.pt}pt var(--font-stack); }`);
    if (c.kind === 'combobox') {
      rules.push(`${cssId(c.name)} + .drop { left: ${c.left + c.width - 17}px; top: ${c.top + 1}px; height: ${c.height - 2}px; }`);
    }
  }
  html.push('<div id="unit-list" role="listbox" data-aux hidden></div>');
  return { html: html.join('\n'), css: rules.join('\n') };
}

// A phone held upright would give a finger 20 px of the window, so there
// the same controls go into the window's own rows, filling the width:
// where the window scaled to the screen's width would make its smallest
// control less than 44 px. Each row of the window (controls whose tops are
// within 10 px) is a row of a grid whose columns are those of its fullest
// row; a control spans from the column it starts in to the next control's.
// A label wider than the first column takes a line of its own above the
// rest of its row, which then starts at the first column.
function phoneLayout() {
  const targets = desc.controls.filter((c) => c.kind !== 'label');
  const smallest = Math.min(...targets.map((c) => Math.min(c.width, c.height)));
  const widest = Math.round((desc.width * 44 / smallest + 16) * 100) / 100;  // the frame's margins are 16 px
  const rows = [];
  for (const c of [...desc.controls].sort((a, b) => a.top - b.top)) {
    const row = rows.find((r) => Math.abs(r[0].top - c.top) <= 10);
    if (row) row.push(c); else rows.push([c]);
  }
  for (const r of rows) r.sort((a, b) => a.left - b.left);
  const fullest = rows.reduce((a, b) => (b.length > a.length ? b : a));
  const columnOf = (c) => Math.max(1, fullest.findLastIndex((f) => f.left <= c.left) + 1);
  const cells = [];
  let line = 1;
  for (const row of rows) {
    let rest = row;
    if (row[0].kind === 'label' && row[0].width > fullest[0].width) {
      cells.push([row[0], line++, 1, fullest.length + 1]);
      rest = row.slice(1);
    }
    const starts = rest.map((c, i) => (i === 0 && rest !== row ? 1 : columnOf(c)));
    rest.forEach((c, i) => cells.push([c, line, starts[i], starts[i + 1] ?? fullest.length + 1]));
    ++line;
  }
  const track = { textbox: 'minmax(0, 1fr)', combobox: '5em', label: 'max-content', button: 'max-content' };
  const rules = [`#frame > #window { grid-template-columns: ${fullest.map((c) => track[c.kind]).join(' ')}; }`];
  for (const [c, r, from, to] of cells) {
    rules.push(`${cssId(c.name)}${c.kind === 'combobox' ? `, ${cssId(c.name)} + .drop` : ''} { grid-area: ${r} / ${from} / ${r + 1} / ${to}; }`);
  }
  return { query: `(orientation: portrait) and (max-width: ${widest}px)`, css: rules.join('\n') };
}
const windowParts = renderWindow();
const phone = phoneLayout();
// The script asks the same question as the style sheet, without styling anything.
const windowJson = JSON.stringify({ ...desc, phoneQuery: phone.query }).replace(/</g, '\\u003c');
// The sheet's comments are for its readers, not for the page's bytes.
const css = `${read(join(here, 'page.css')).replace(/\/\*[\s\S]*?\*\/\n?/g, '').replace('@BACKGROUND@', svgDataUri(args.background))
  .replaceAll('@PHONE@', phone.query)}${windowParts.css}\n@media ${phone.query} {\n${phone.css}\n}\n`;
const core = safeScript(read(args.core).trim());
// The script's comments too: whole lines, and those after two spaces at a
// line's end with no quote in them.
const page = safeScript(read(join(here, 'page.js')).replace(/^\s*\/\/.*\n/gm, '').replace(/ {2}\/\/ [^'"`\n]*$/gm, ''));
function policy(hosted) {
  return [
    "default-src 'none'",
    `script-src ${sha256(oldBrowser)} ${sha256(core)} ${sha256(page)} 'wasm-unsafe-eval'`,
    `style-src ${sha256(css)}`,
    // Hosted, the manifest, its icons and the service worker come from the page's own folder.
    hosted ? "img-src data: 'self'" : 'img-src data:',
    ...(hosted ? ["manifest-src 'self'", "worker-src 'self'"] : []),
    "base-uri 'none'",
    "form-action 'none'",
  ].join('; ');
}

// What the page says when it cannot start, and what the keys under the
// window are, for a screen reader.
const words = {
  FAILURE: 'このブラウザーでは計算できません。Chrome か Edge（86 以降）、Safari（15.4 以降）、Firefox（98 以降）で開いてください。',
  BROKEN: '問題が起きたため、計算できなくなりました。入力した値はそのままです。ページを開き直してください。',
  NO_SCRIPT: 'JavaScriptを有効にすると計算できます。',
  UPDATED: '計算機が新しくなりました。ページを開き直すと、新しいものに切り替わります。',
  // Why the hosted page cannot be kept for offline use, where none is kept yet.
  REWRITTEN: 'このサーバーはページのファイルを書き換えて送っているため、オフラインでは使えません。',
  MISSING: 'サーバーにページのファイルがそろっていないため、オフラインでは使えません。',
  INSECURE: 'HTTPS で開いていないため、オフラインでは使えません。',
  KEYS_LABEL: '記号の入力',
};
// Before anything else, in the oldest script a browser reads: a browser that
// lacks what the page uses (the newest: <dialog>, Safari 15.4 and Firefox 98;
// Element.replaceChildren, Chrome and Edge 86) says so and runs no more of it.
const oldBrowser = "if (!(window.WebAssembly && window.HTMLDialogElement && Element.prototype.replaceChildren)) " +
  "{ document.getElementById('failure').hidden = false; document.documentElement.setAttribute('data-ready', 'failed'); }";
function assemblePage(hosted) {
  const fill = {
    ...words,
    CSP: policy(hosted), TITLE: escapeHtml(desc.title), DESCRIPTION: escapeHtml(args.description),
    ICON: dataUri(args.icon, 'image/png'), CSS: css, WINDOW: windowJson, CORE: core, PAGE: page, OLD_BROWSER: oldBrowser,
    CONTROLS: windowParts.html,
    CORE_WASM: readFileSync(args['core-wasm']).toString('base64'),
    INSTALL: hosted ? `<link rel="manifest" href="manifest.webmanifest">
<link rel="apple-touch-icon" href="apple-touch-icon.png">
<meta name="theme-color" content="${desc.colours.window}">
<meta name="apple-mobile-web-app-capable" content="yes">
<meta name="apple-mobile-web-app-title" content="${escapeHtml(args['short-name'])}">` : '',
  };
  // One pass, so no inserted text is itself searched for placeholders.
  return read(join(here, 'page.html'))
    .replace(/<!-- SPDX[^>]*-->\n/, '')
    .replace(/@([A-Z_]+)@/g, (whole, key) => (key in fill ? fill[key] : whole));
}
const html = assemblePage(false);
await smokeCheck(html);
writeFileSync(args.out, html);
console.log(`assemble: ${args.out} (${html.length} characters)`);

if (args.site) {
  mkdirSync(args.site, { recursive: true });
  const icons = ['icon-192.png', 'icon-512.png', 'icon-maskable-512.png', 'apple-touch-icon.png'];
  for (const icon of icons) copyFileSync(join(args.art, icon), join(args.site, icon));
  copyFileSync(args.companion, join(args.site, 'denryoku.html'));
  writeFileSync(join(args.site, 'index.html'), assemblePage(true));
  // No id: a copy's app is then its start URL, the copy's own folder (an id
  // of './' would be the site's root, the same app for every copy on a site).
  const manifest = {
    name: `${args.name} ${args.description}`, short_name: args['short-name'], lang: 'ja', dir: 'ltr',
    description: args.description, start_url: './', scope: './', display: 'standalone',
    theme_color: desc.colours.window, background_color: '#d4d0c8',
    icons: [
      { src: 'icon-192.png', sizes: '192x192', type: 'image/png', purpose: 'any' },
      { src: 'icon-512.png', sizes: '512x512', type: 'image/png', purpose: 'any' },
      { src: 'icon-maskable-512.png', sizes: '512x512', type: 'image/png', purpose: 'maskable' },
    ],
  };
  writeFileSync(join(args.site, 'manifest.webmanifest'), `${JSON.stringify(manifest, null, 2)}\n`);
  console.log(`assemble: ${args.site}/ (the page for a web host, installable; its worker comes from worker.mjs)`);
}
