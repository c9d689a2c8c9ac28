// SPDX-License-Identifier: MIT
// The web page as the calculation's view, like the desktop window Form1:
// its controls come from the window's description (exported at build time
// from the same control table and texts the window uses), and the core,
// compiled to WebAssembly, decides everything the window's core decides.
// The core reads the boxes and writes the result through `page`.
'use strict';
(() => {
  if (document.documentElement.dataset.ready === 'failed') return;  // too old a browser: it says so
  const desc = JSON.parse(document.getElementById('window-description').textContent);
  const win = document.getElementById('window');
  const dialog = document.getElementById('message');
  // The controls are in the page already, in tab order, drawn at build time
  // from the same description.
  const controls = new Map(desc.controls.map((c) => [c.name, document.getElementById(c.name)]));
  const byName = new Map(desc.controls.map((c) => [c.name, c]));
  const tooltips = new Map(desc.controls.map((c) => [c.name, c.tooltip]));

  // A screen reader speaks every new result or reason without the focus
  // moving: the text goes to a live region too (a box's value is not one),
  // told apart from the last one even when the same.
  const spoken = document.getElementById('spoken');
  // The calculation's view, called by the core.
  const page = {
    unitText: (row) => controls.get(desc.units[row]).value,
    entryText: (row) => controls.get(desc.entries[row]).value,
    setResultText: (text) => {
      controls.get('Text2').value = text;
      spoken.textContent = spoken.textContent === text ? `${text}\u00a0` : text;
    },
    clearMarks() {
      for (const [name, el] of controls) {
        if (!el.classList.contains('marked')) continue;
        el.classList.remove('marked');
        el.removeAttribute('aria-invalid');
        delete el.dataset.problem;
        if (tooltips.get(name)) el.title = tooltips.get(name); else el.removeAttribute('title');
      }
    },
    mark(name, problem, tooltip) {
      const el = controls.get(name);
      el.classList.add('marked');
      el.setAttribute('aria-invalid', 'true');
      el.dataset.problem = problem;
      el.title = tooltip;
    },
  };
  // A browser that cannot run the core says so, in the page.
  function failed() {
    document.getElementById('failure').hidden = false;
    document.documentElement.dataset.ready = 'failed';
  }
  // The core's WebAssembly, carried in the page as base64.
  function coreBinary() {
    const text = document.getElementById('core-wasm').textContent;
    if (Uint8Array.fromBase64) return Uint8Array.fromBase64(text);
    const bytes = atob(text);
    const binary = new Uint8Array(bytes.length);
    for (let i = 0; i < bytes.length; ++i) binary[i] = bytes.charCodeAt(i);
    return binary;
  }
  // Compiled at once where the browser allows it: a module this small is
  // ready sooner than through the event loop. Chrome and Edge before 115
  // (109 is the last for Windows 7 and 8.1) refuse that on the main thread
  // for more than 4 KB, with a RangeError: there it is compiled in the
  // background.
  function instantiateWasm(imports, ready) {
    const binary = coreBinary();
    // Emscripten takes what this returns as the exports: the instance's when
    // compiled here, nothing yet when the background compile will give them.
    try {
      const module = new WebAssembly.Module(binary);
      const instance = new WebAssembly.Instance(module, imports);
      ready(instance, module);
      return instance.exports;
    } catch (e) {
      if (!(e instanceof RangeError)) throw e;
      WebAssembly.instantiate(binary, imports).then((r) => ready(r.instance, r.module), failed);
    }
    return {};
  }
  let core;
  try {
    if (typeof WebAssembly !== 'object' || typeof createTressinCore !== 'function') throw new Error('no WebAssembly');
    core = Promise.resolve(createTressinCore({ page, instantiateWasm }));
  } catch (e) {
    core = Promise.reject(e);
  }
  core.then(() => {
    performance.mark('tressin-ready');  // the first calculation is possible from here
    document.documentElement.dataset.ready = 'true';
  }, failed);

  // Put on a web host with its manifest, the page keeps itself for offline use.
  // It opens from what the worker keeps; a new build arrives in the background
  // and is used from the next opening: a page already open says so in one
  // line, and never reloads under the pupil's typing.
  // Why it cannot be, in one line, where no build is kept yet; the console
  // says more, for whoever hosts it.
  const notKept = (why) => {
    const line = document.getElementById('not-kept');
    line.textContent = line.dataset[why];
    line.hidden = false;
  };
  if (document.querySelector('link[rel="manifest"]') && !window.isSecureContext) notKept('insecure');
  if (document.querySelector('link[rel="manifest"]') && 'serviceWorker' in navigator && window.isSecureContext) {
    const workers = navigator.serviceWorker;
    let kept = workers.controller;  // a worker that had a build when this page was shown
    workers.addEventListener('controllerchange', () => {
      if (kept) document.getElementById('updated').hidden = false;
      kept = workers.controller;
    });
    workers.addEventListener('message', (e) => {
      if (e.data?.tressin !== 'not-kept') return;
      console.error(`Tressin: ${e.data.message}`);
      if (!workers.controller && e.data.what !== 'unreachable') notKept(e.data.what);
    });
    // Each opening asks the host for a new build, in the background: not
    // every browser looks by itself after a visit, nor at once.
    workers.register('sw.js', { updateViaCache: 'none' })
      .then((registration) => registration.update().catch(() => {}),  // offline, or the host away: next time
        (e) => {  // it still works online
          console.error(`Tressin: the page cannot be kept for offline use: ${e.message}`);
          if (navigator.onLine) notKept('missing');
        });
  }

  // A core that fails later (it throws, or has aborted) says so too, and
  // leaves every box as it is.
  const calculate = controls.get('Command3');
  calculate.addEventListener('click', () => {
    core.then((m) => {
      try {
        m._tressin_calculate();
      } catch {
        document.getElementById('broken').hidden = false;
      }
    }, () => {});  // the page already says it cannot calculate
  });

  // Enter in any text or unit box presses 計算, as the window's default
  // button; not while an input method is still composing the text.
  for (const [, el] of controls) {
    if (el.tagName !== 'INPUT') continue;
    el.addEventListener('keydown', (e) => {
      // In an open unit list, Enter only picks the unit (below).
      if (e.key !== 'Enter' || e.isComposing || e.keyCode === 229 || el.getAttribute('aria-expanded') === 'true') return;
      e.preventDefault();
      calculate.click();
    });
  }

  // The reference messages, in a modal box titled with the product name.
  let opener = null;
  for (const [name, text] of Object.entries(desc.references)) {
    controls.get(name).addEventListener('click', (e) => {
      opener = e.currentTarget;
      document.getElementById('message-title').textContent = desc.applicationTitle;
      document.getElementById('message-text').textContent = text;
      dialog.showModal();
      document.getElementById('message-ok').focus();
    });
  }
  dialog.addEventListener('close', () => { if (opener) opener.focus(); opener = null; });

  controls.get('Command5').addEventListener('click', () => {
    window.open(new URL('denryoku.html', document.baseURI).href, '_blank', 'noopener');
  });

  // The unit boxes' lists, drawn by the page as the window's drop-down
  // boxes are: the same in every engine, with a sign that there is a list,
  // opened by a tap or a click on the box's arrow, by a tap on the box, or
  // by Alt+Down or F4 from the keyboard.
  const list = document.getElementById('unit-list');
  let listFor = null;
  let active = -1;
  const options = () => [...list.children];
  function highlight(i) {
    active = i;
    options().forEach((o, k) => o.setAttribute('aria-selected', String(k === i)));
    if (listFor) listFor.setAttribute('aria-activedescendant', i >= 0 ? `unit-option-${i}` : '');
  }
  function closeList() {
    if (!listFor) return;
    list.hidden = true;
    listFor.setAttribute('aria-expanded', 'false');
    listFor.removeAttribute('aria-activedescendant');
    listFor = null;
  }
  function choose(input, item) {
    input.value = item;
    input.dispatchEvent(new Event('input', { bubbles: true }));
    closeList();
    input.focus();
  }
  function openList(input) {
    const c = byName.get(input.id);
    list.replaceChildren(...c.items.map((item, i) => {
      const option = document.createElement('div');
      option.id = `unit-option-${i}`;
      option.setAttribute('role', 'option');
      option.textContent = item;
      option.addEventListener('pointerdown', (e) => e.preventDefault());  // the box keeps the focus
      option.addEventListener('click', () => choose(input, item));
      return option;
    }));
    list.hidden = false;
    listFor = input;
    place();
    input.setAttribute('aria-expanded', 'true');
    highlight(c.items.indexOf(input.value));
  }
  // Under its box, in the box's font, wherever the layout puts the box; above
  // it where the screen ends first.
  function place() {
    if (!listFor) return;
    const box = getComputedStyle(listFor);
    Object.assign(list.style, { left: `${listFor.offsetLeft}px`, top: `${listFor.offsetTop + listFor.offsetHeight}px`,
      width: `${listFor.offsetWidth}px`, fontFamily: box.fontFamily, fontSize: box.fontSize, fontWeight: box.fontWeight });
    const shown = list.getBoundingClientRect();
    if (shown.bottom > innerHeight && listFor.getBoundingClientRect().top > shown.height) {
      list.style.top = `${listFor.offsetTop - list.offsetHeight}px`;
    }
  }
  for (const c of desc.controls) {
    if (c.kind !== 'combobox') continue;
    const input = controls.get(c.name);
    const arrow = input.nextElementSibling;  // the box's arrow
    arrow.addEventListener('pointerdown', (e) => e.preventDefault());
    arrow.addEventListener('click', () => {
      if (listFor === input) closeList(); else openList(input);
      input.focus();
    });
    // A finger's or a pen's tap opens the list; a mouse clicks into the text.
    input.addEventListener('pointerup', (e) => { if (e.pointerType !== 'mouse' && listFor !== input) openList(input); });
    input.addEventListener('blur', closeList);
    input.addEventListener('input', () => { if (listFor === input) highlight(c.items.indexOf(input.value)); });
    input.addEventListener('keydown', (e) => {
      const open = listFor === input;
      if (((e.key === 'ArrowDown' || e.key === 'ArrowUp') && e.altKey) || e.key === 'F4') {
        e.preventDefault();
        if (open) closeList(); else openList(input);
      } else if ((e.key === 'ArrowDown' || e.key === 'ArrowUp') && !e.altKey && !e.isComposing) {
        // As in the window's drop-down boxes, open or closed: the next or the
        // previous unit, in the box at once, stopping at either end.
        e.preventDefault();
        const at = c.items.indexOf(input.value);
        const next = at < 0 ? 0 : Math.min(Math.max(at + (e.key === 'ArrowDown' ? 1 : -1), 0), c.items.length - 1);
        if (next !== at) {
          input.value = c.items[next];
          input.dispatchEvent(new Event('input', { bubbles: true }));
        }
      } else if (open && e.key === 'Enter' && !e.isComposing && e.keyCode !== 229) {
        e.preventDefault();
        e.stopImmediatePropagation();  // picks the unit; the next Enter calculates
        if (active >= 0) choose(input, c.items[active]); else closeList();
      } else if (open && e.key === 'Escape') {
        e.preventDefault();
        closeList();
      }
    });
  }

  // On a touch screen the number keyboard has no minus sign or exponent:
  // these keys, under the window, type what it lacks into the box.
  const keys = document.getElementById('keys');
  for (const key of keys.querySelectorAll('button')) {
    key.addEventListener('pointerdown', (e) => e.preventDefault());  // the box keeps the focus, and the keyboard
    key.addEventListener('click', () => {
      const box = document.activeElement;
      if (!box || !desc.entries.includes(box.id)) return;
      box.setRangeText(key.dataset.text, box.selectionStart, box.selectionEnd, 'end');
      box.dispatchEvent(new Event('input', { bubbles: true }));
    });
  }
  for (const name of desc.entries) {
    const box = controls.get(name);
    box.addEventListener('focus', () => { keys.dataset.for = name; });
    box.addEventListener('blur', () => { delete keys.dataset.for; });
  }

  // The window fills the screen of a tablet or a phone, up or down, in
  // either orientation; on a desktop it keeps its size unless the browser
  // is too small for it.
  const frame = document.getElementById('frame');
  const touch = matchMedia('(pointer: coarse)');
  const phone = matchMedia(desc.phoneQuery);
  let fitted = '';
  function fit() {
    // On a phone held upright the style sheet lays the controls out in rows.
    if (phone.matches) {
      fitted = '';
      win.style.transform = frame.style.width = frame.style.height = '';
      place();
      return;
    }
    const room = [document.documentElement.clientWidth - 16, window.innerHeight - 16];
    // An on-screen keyboard that only shortens the screen moves nothing.
    if (document.activeElement?.tagName === 'INPUT' && fitted.startsWith(`${room[0]}x`)) return;
    fitted = `${room[0]}x${room[1]}`;
    let scale = Math.min(room[0] / desc.width, room[1] / desc.height);
    if (!touch.matches) scale = Math.min(1, scale);
    scale = Math.max(scale, 0.1);
    win.style.transform = scale !== 1 ? `scale(${scale})` : '';
    // At 1:1 the frame takes the window's own size, and nothing is restyled.
    frame.style.width = scale !== 1 ? `${desc.width * scale}px` : '';
    frame.style.height = scale !== 1 ? `${desc.height * scale}px` : '';
    place();
  }
  window.addEventListener('resize', fit);
  touch.addEventListener?.('change', fit);
  phone.addEventListener?.('change', fit);
  fit();

  controls.get(desc.entries[0]).focus();
})();
