// SPDX-License-Identifier: MIT
// The web page as the calculation's view, like the desktop window Form1:
// it builds the controls from the window's description (exported at build
// time from the same control table and texts the window uses), and lets the
// core, compiled to WebAssembly, decide everything the window's core
// decides. The core reads the boxes and writes the result through `page`.
'use strict';
(() => {
  const desc = JSON.parse(document.getElementById('window-description').textContent);
  const win = document.getElementById('window');
  const dialog = document.getElementById('message');
  const controls = new Map();

  const fontStack = [desc.fontFamily, 'MS PGothic', 'IPAPGothic', 'IPA Pゴシック', 'Noto Sans CJK JP', 'sans-serif']
    .map((f) => (f === 'sans-serif' ? f : `"${f}"`)).join(', ');
  document.documentElement.style.setProperty('--font-stack', fontStack);
  win.style.setProperty('--label-colour', desc.colours.label);
  win.style.setProperty('--mark-colour', desc.colours.mark);
  win.style.backgroundColor = desc.colours.window;
  win.style.width = `${desc.width}px`;
  win.style.height = `${desc.height}px`;

  function build(c) {
    let el;
    switch (c.kind) {
      case 'label':
        el = document.createElement('label');
        el.textContent = c.text;
        break;
      case 'button':
        el = document.createElement('button');
        el.type = 'button';
        el.textContent = c.text;
        el.setAttribute('aria-label', c.text);
        break;
      default: {  // text box, or an editable unit box offering its items
        el = document.createElement('input');
        el.type = 'text';
        el.value = c.text;
        el.autocomplete = 'off';
        el.spellcheck = false;
        if (c.kind === 'combobox') {
          const list = document.createElement('datalist');
          list.id = `${c.name}-items`;
          for (const item of c.items) list.append(new Option(item, item));
          win.append(list);
          el.setAttribute('list', list.id);
        }
      }
    }
    el.id = c.name;
    el.className = c.kind;
    Object.assign(el.style, {
      left: `${c.left}px`, top: `${c.top}px`, width: `${c.width}px`, height: `${c.height}px`,
      font: `${c.font.bold ? 'bold ' : ''}${c.font.pt}pt ${fontStack}`,
    });
    if (c.tooltip) el.title = c.tooltip;
    if (c.accessibleName) el.setAttribute('aria-label', c.accessibleName);
    return el;
  }

  for (const c of desc.controls) {  // in tab order, so the DOM order is the tab order
    const el = build(c);
    controls.set(c.name, el);
    win.append(el);
  }
  for (const [label, box] of Object.entries(desc.buddies)) controls.get(label).htmlFor = box;
  const tooltips = new Map(desc.controls.map((c) => [c.name, c.tooltip]));

  // The calculation's view, called by the core.
  const page = {
    unitText: (row) => controls.get(desc.units[row]).value,
    entryText: (row) => controls.get(desc.entries[row]).value,
    setResultText: (text) => { controls.get('Text2').value = text; },
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
  const core = createTressinCore({ page });  // eslint-disable-line no-undef
  core.then(() => {
    performance.mark('tressin-ready');  // the first calculation is possible from here
    document.documentElement.dataset.ready = 'true';
  });

  const calculate = controls.get('Command3');
  calculate.classList.add('default');
  calculate.addEventListener('click', () => { core.then((m) => m._tressin_calculate()); });

  // Enter in any text or unit box presses 計算, as the window's default
  // button; not while an input method is still composing the text.
  for (const [, el] of controls) {
    if (el.tagName !== 'INPUT') continue;
    el.addEventListener('keydown', (e) => {
      if (e.key !== 'Enter' || e.isComposing || e.keyCode === 229) return;
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

  // On a screen narrower than the window, the whole window scales down.
  const frame = document.getElementById('frame');
  function fit() {
    const room = document.documentElement.clientWidth - 16;
    const scale = Math.min(1, room / desc.width);
    win.style.transform = scale < 1 ? `scale(${scale})` : '';
    frame.style.height = scale < 1 ? `${desc.height * scale}px` : '';
    frame.style.width = scale < 1 ? `${desc.width * scale}px` : '';
  }
  window.addEventListener('resize', fit);
  fit();

  controls.get(desc.entries[0]).focus();
})();
