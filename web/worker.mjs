// SPDX-License-Identifier: MIT
// Writes the web host's folder's service worker, SITE/sw.js: web/sw.js with
// Workbox's precaching bundled in (Rollup, from the lock file's packages,
// production builds of them), and the folder's files listed in it by
// workbox-build's injectManifest, each with its revision and its SHA-256
// for the browser to check (subresource integrity).
//
//   node worker.mjs SITE
import { createHash } from 'node:crypto';
import { mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';
import nodeResolve from '@rollup/plugin-node-resolve';
import replace from '@rollup/plugin-replace';
import terser from '@rollup/plugin-terser';
import { rollup } from 'rollup';
import { injectManifest } from 'workbox-build';

const here = dirname(fileURLToPath(import.meta.url));
const site = process.argv[2];
if (!site) throw new Error('worker.mjs: say the folder (node worker.mjs SITE)');

const scratch = mkdtempSync(join(tmpdir(), 'tressin-worker-'));
try {
  const bundle = await rollup({
    input: join(here, 'sw.js'),
    plugins: [
      replace({ preventAssignment: true, values: { 'process.env.NODE_ENV': JSON.stringify('production') } }),
      nodeResolve({ browser: true }),
      terser({ format: { comments: /SPDX|@license/ } }),
    ],
  });
  const bundled = join(scratch, 'sw.js');
  await bundle.write({ file: bundled, format: 'iife' });
  await bundle.close();
  const integrity = (url) => `sha256-${createHash('sha256').update(readFileSync(join(site, url))).digest('base64')}`;
  const { count, size, warnings } = await injectManifest({
    swSrc: bundled,
    swDest: join(site, 'sw.js'),
    globDirectory: site,
    globPatterns: ['index.html', 'denryoku.html', 'manifest.webmanifest', '*.png'],
    manifestTransforms: [async (entries) => ({ manifest: entries.map((e) => ({ ...e, integrity: integrity(e.url) })) })],
  });
  if (warnings.length) throw new Error(`worker.mjs: ${warnings.join('; ')}`);
  console.log(`worker.mjs: ${site}/sw.js, ${count} files (${(size / 1000).toFixed(1)} KB) kept for offline use`);
} finally {
  rmSync(scratch, { recursive: true, force: true });
}
