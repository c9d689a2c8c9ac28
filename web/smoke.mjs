// SPDX-License-Identifier: MIT
// A smoke check of a built page: its core (Emscripten's script and the
// WebAssembly, as the page carries them) run in node with a stand-in for
// the page's boxes, through one calculation that gives a number and one
// that gives a reason; once with the WebAssembly instantiated at once, as
// most browsers let the page do, and once in the background, as Chrome and
// Edge before 115 make it. The build stops on a page that cannot calculate,
// which a newer Emscripten can make without an error of its own.
import { runInNewContext } from 'node:vm';

const scriptOf = (html, pattern, what) => {
  const found = html.match(pattern)?.[1];
  if (found === undefined) throw new Error(`smoke check: the page has no ${what}`);
  return found;
};

export async function smokeCheck(html) {
  const wasm = Buffer.from(scriptOf(html, /<script type="application\/octet-stream" id="core-wasm">([^<]*)<\/script>/,
    'WebAssembly'), 'base64');
  const core = [...html.matchAll(/<script>([\s\S]*?)<\/script>/g)].map((m) => m[1])
    .find((s) => s.includes('createTressinCore'));
  if (!core) throw new Error('smoke check: the page has no core script');
  const atOnce = (imports, ready) => {
    const module = new WebAssembly.Module(wasm);
    const instance = new WebAssembly.Instance(module, imports);
    ready(instance, module);
    return instance.exports;  // what a newer Emscripten takes as the exports, as the page gives it
  };
  const inTheBackground = (imports, ready) => {
    WebAssembly.instantiate(wasm, imports).then((r) => ready(r.instance, r.module));
    return {};
  };
  for (const instantiateWasm of [atOnce, inTheBackground]) await smokeOne(core, instantiateWasm);
}

async function smokeOne(core, instantiateWasm) {
  const create = runInNewContext(`${core}\n;createTressinCore`, { console, TextDecoder, TextEncoder, WebAssembly });
  const boxes = { entries: [], units: [], result: null, marked: [] };
  const page = {
    unitText: (row) => boxes.units[row],
    entryText: (row) => boxes.entries[row],
    setResultText: (text) => { boxes.result = text; },
    clearMarks: () => { boxes.marked = []; },
    mark: (name) => { boxes.marked.push(name); },
  };
  const module = await create({ page, instantiateWasm });
  const calculate = (entries, units) => {
    Object.assign(boxes, { entries, units, result: null });
    module._tressin_calculate();
    return boxes.result;
  };
  // Tokyo Tower (333 m) climbed with 60 kg in one minute.
  const power = calculate(['333', '60', '1'], ['m', 'kg', '分']);
  if (power !== '3265.61445') {
    throw new Error(`smoke check (${instantiateWasm.name}): 333 m, 60 kg, 1 分 gave ${JSON.stringify(power)}`);
  }
  const reason = calculate(['333', '60', '0'], ['m', 'kg', '分']);
  if (!reason || reason === power || boxes.marked.length === 0) {
    throw new Error(`smoke check: a time of 0 gave ${JSON.stringify(reason)}, marking ${JSON.stringify(boxes.marked)}`);
  }
}
