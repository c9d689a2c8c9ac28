// SPDX-License-Identifier: MIT
// The shared table of keys in a unit box (tests/ui/calculations.json), for
// any driver: `press(key)` presses one named key ("Down", "Alt+Down", ...)
// or types text ("text:分"); `run(fn, args)` runs a function in the page.
export function setUp(unit) {
  const set = (id, v) => { document.getElementById(id).value = v; };
  [['Text1(0)', '100'], ['Text1(1)', '60'], ['Text1(2)', '1'], ['Combo1', 'm'], ['Combo2', 'kg'], ['Text2', '']]
    .forEach(([id, v]) => set(id, v));
  document.getElementById('Text1(0)').focus();  // any list left open closes
  set('Combo3', unit);
  document.getElementById('Combo3').focus();
}
export function readBack() {
  return [document.getElementById('Combo3').value, document.getElementById('Text2').value];
}

export async function pressKeys({ rows }, { run, press }) {
  const got = [];
  for (const row of rows) {
    await run(setUp, [row.unit ?? '秒']);
    for (const key of row.keys) await press(key);
    const [shows, result] = await run(readBack, []);
    got.push({ name: row.name, shows, result });
  }
  return got;
}
export const expected = ({ rows }) => rows.map(({ name, shows, result }) => ({ name, shows, result }));

// Puppeteer's names for the table's keys (Chromium and Firefox alike).
export function puppeteerKeys(page) {
  const names = { Down: 'ArrowDown', Up: 'ArrowUp', Esc: 'Escape' };
  return {
    run: (fn, args) => page.evaluate(fn, ...args),
    async press(key) {
      if (key.startsWith('text:')) return page.keyboard.type(key.slice(5));
      const parts = key.split('+');
      const main = parts.pop();
      for (const m of parts) await page.keyboard.down(m);
      await page.keyboard.press(names[main] ?? main);
      for (const m of parts.reverse()) await page.keyboard.up(m);
    },
  };
}
