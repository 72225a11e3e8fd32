// page.js - the page around the plug-in: the Layout stand-in's buttons, the
// table of lights and the panes, and the panel's canvas. What an event means
// is decided in the WebAssembly module (web/*.cpp, sim/); this file only
// queues the browser's events for it, presents its frames and shows its state.
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);

  // Event kinds and modifier bits as web/panel_driver.h and web_main.cpp number them.
  const Kind = { PointerDown: 1, PointerMove: 2, PointerUp: 3, PointerCancel: 4, Wheel: 5, KeyDown: 6, Close: 7 };
  const Mod = { Shift: 1, Ctrl: 2, Alt: 4, Meta: 8, AltGraph: 16 };
  const Opened = 0, Refused = 1, Asking = 2;

  // Keys the panel uses: the browser's own meaning of them (focus moves,
  // scrolling, going back, reloading) is stopped while the panel is open.
  const panelKeys = new Set([
    'Tab', 'Backspace', 'Delete', 'Enter', 'Escape', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown',
    'Home', 'End', 'PageUp', 'PageDown', 'Insert', 'F1', 'F2', 'F3', 'F4', 'F5', 'F6', 'F7', 'F8', 'F9', 'F10',
  ]);

  const canvas = $('panel');
  const panelBox = $('panel-box');
  const questionBox = $('question-box');
  const context = canvas.getContext('2d', { alpha: false });
  let image = null;
  let framesPresented = 0;

  let M = null;          // the module
  let running = false;   // the plug-in's panel is open (or about to)
  let state = null;      // the page session's state (web/page_json.h)
  let changesShown = false;
  let lastDownload = null;

  // ---- ?zoom=N: device pixels per panel pixel ----
  const zoomParameter = new URLSearchParams(location.search).get('zoom');
  let fixedZoom = 0;
  let zoomProblem = '';
  if (zoomParameter !== null) {
    if (/^[1-8]$/.test(zoomParameter)) fixedZoom = Number(zoomParameter);
    else zoomProblem = '?zoom=' + zoomParameter + ' is not a whole number from 1 to 8; the zoom is chosen from the window.';
  }
  const kMaxZoom = 4;  // panel pixels as at most 4 x 4 screen pixels, as the SDL window, per device pixel ratio

  // ---- the event queue the panel's driver waits on ----
  const queue = [];
  let wake = null;
  function push(event) {
    queue.push(event);
    if (wake) {
      const w = wake;
      wake = null;
      w();
    }
  }

  function modifiers(e) {
    let m = 0;
    if (e.shiftKey) m |= Mod.Shift;
    if (e.ctrlKey) m |= Mod.Ctrl;
    if (e.altKey) m |= Mod.Alt;
    if (e.metaKey) m |= Mod.Meta;
    if (e.getModifierState && e.getModifierState('AltGraph')) m |= Mod.AltGraph;
    return m;
  }

  // The pointer in the panel's own pixels, whatever the zoom.
  function at(e) {
    const r = canvas.getBoundingClientRect();
    return {
      x: Math.floor((e.clientX - r.left) * canvas.width / r.width),
      y: Math.floor((e.clientY - r.top) * canvas.height / r.height),
    };
  }

  // The module's side of the page (web_main.cpp calls these).
  const page = {
    eventQueued() {
      if (queue.length) return Promise.resolve();
      return new Promise((resolve) => { wake = resolve; });
    },
    takeEvent() { return queue.length ? queue.shift() : null; },
    present(rgb, width, height, title) {
      if (canvas.width !== width || canvas.height !== height || !image) {
        canvas.width = width;
        canvas.height = height;
        image = context.createImageData(width, height);
        image.data.fill(255);
      }
      const d = image.data;
      for (let i = 0, j = 0, n = width * height * 3; i < n; i += 3, j += 4) {
        d[j] = rgb[i];
        d[j + 1] = rgb[i + 1];
        d[j + 2] = rgb[i + 2];
      }
      context.putImageData(image, 0, 0);
      canvas.dataset.frames = String(++framesPresented);  // for tests and benchmarks
      fitZoom();
      if (!panelBox.open) {
        panelBox.setAttribute('aria-label', title);
        panelBox.showModal();
        fitZoom();
        canvas.focus();
      }
    },
    download(name, bytes) {
      if (lastDownload) URL.revokeObjectURL(lastDownload);
      lastDownload = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
      const a = document.createElement('a');
      a.href = lastDownload;
      a.download = name;
      document.body.appendChild(a);
      a.click();
      a.remove();
    },
  };

  // The largest zoom at which the panel fits the window, in whole device
  // pixels per panel pixel; the box is placed on whole device pixels.
  function fitZoom() {
    const w = canvas.width, h = canvas.height;
    const dpr = window.devicePixelRatio || 1;
    let zoom = fixedZoom;
    if (!zoom) {
      zoom = 1;
      for (let z = kMaxZoom * Math.max(1, Math.ceil(dpr)); z > 1; --z) {
        if (w * z / dpr <= window.innerWidth - 16 && h * z / dpr <= window.innerHeight - 16) {
          zoom = z;
          break;
        }
      }
    }
    canvas.style.width = (w * zoom / dpr) + 'px';
    canvas.style.height = (h * zoom / dpr) + 'px';
    canvas.dataset.zoom = String(zoom);
    const place = (room, size) => Math.max(0, Math.floor((room - size) / 2 * dpr) / dpr) + 'px';
    panelBox.style.left = place(window.innerWidth, w * zoom / dpr);
    panelBox.style.top = place(window.innerHeight, h * zoom / dpr);
  }

  // ---- the panel's input ----
  canvas.addEventListener('pointerdown', (e) => {
    if (!running || !e.isPrimary || e.button !== 0) return;
    e.preventDefault();
    canvas.focus();
    canvas.setPointerCapture(e.pointerId);
    push({ kind: Kind.PointerDown, ...at(e) });
  });
  canvas.addEventListener('pointermove', (e) => {
    if (!running || !e.isPrimary) return;
    const event = { kind: Kind.PointerMove, ...at(e) };
    // Moves not taken yet are replaced: only where the pointer is counts.
    if (queue.length && queue[queue.length - 1].kind === Kind.PointerMove) queue[queue.length - 1] = event;
    else push(event);
  });
  canvas.addEventListener('pointerup', (e) => {
    if (!running || !e.isPrimary || e.button !== 0) return;
    push({ kind: Kind.PointerUp, ...at(e) });
  });
  canvas.addEventListener('pointercancel', (e) => {
    if (running && e.isPrimary) push({ kind: Kind.PointerCancel, x: -1, y: -1 });
  });
  canvas.addEventListener('wheel', (e) => {
    if (!running) return;
    e.preventDefault();
    push({ kind: Kind.Wheel, ...at(e), deltaY: e.deltaY, deltaMode: e.deltaMode });
  }, { passive: false });
  canvas.addEventListener('contextmenu', (e) => { if (running) e.preventDefault(); });

  document.addEventListener('keydown', (e) => {
    if (!running || e.isComposing) return;
    const m = modifiers(e);
    const typing = [...e.key].length === 1 && (!(m & (Mod.Ctrl | Mod.Alt | Mod.Meta)) || (m & Mod.AltGraph));
    // Keys with Ctrl or Meta stay the browser's (Ctrl+W, Ctrl+T, ...); so do F11 and F12.
    // Select-all would select the page behind the panel: nothing the panel shows.
    const selectAll = (m & (Mod.Ctrl | Mod.Meta)) && e.key.toLowerCase() === 'a';
    if (panelKeys.has(e.key) || typing || selectAll) e.preventDefault();
    push({ kind: Kind.KeyDown, key: e.key, code: e.code, modifiers: m });
  }, true);
  // Closing the box without a key (a phone's back gesture) is the window's close button: Cancel.
  panelBox.addEventListener('cancel', (e) => {
    e.preventDefault();
    if (running) push({ kind: Kind.Close, x: 0, y: 0 });
  });
  window.addEventListener('resize', () => { if (panelBox.open) fitZoom(); });

  // ---- between runs ----
  function text(pointer) { return M.UTF8ToString(pointer); }
  function withString(s, use) {
    const size = M.lengthBytesUTF8(s) + 1;
    const p = M._malloc(size);
    if (!p) throw new Error('out of memory');
    M.stringToUTF8(s, p, size);
    try { return use(p); } finally { M._free(p); }
  }

  function cell(row, content, animated, className) {
    const td = document.createElement('td');
    td.setAttribute('role', 'cell');
    if (className) td.className = className;
    if (typeof content === 'string') td.append(content);
    else td.append(...content);
    if (animated) {
      const mark = document.createElement('span');
      mark.className = 'animated';
      mark.title = 'animated: the value shown is the one at time 0';
      mark.textContent = '*';
      td.append(mark);
    }
    row.append(td);
  }

  function rowElement(r) {
    const tr = document.createElement('tr');
    tr.setAttribute('role', 'row');
    const animated = new Set(r.animated);
    const swatch = document.createElement('span');
    swatch.className = 'swatch';
    swatch.style.backgroundColor = 'rgb(' + r.r + ', ' + r.g + ', ' + r.b + ')';
    cell(tr, r.name);
    cell(tr, r.type, animated.has('type'));
    cell(tr, r.intensity, animated.has('intensity'), 'number');
    cell(tr, [swatch, r.r + ' ' + r.g + ' ' + r.b], animated.has('color'));
    cell(tr, r.shadow, animated.has('shadow'));
    cell(tr, r.range, animated.has('range'), 'number');
    cell(tr, r.limited ? 'yes' : 'no', animated.has('limited'));
    return tr;
  }

  // The columns' widths: the widest text of each, header included, as the
  // browser draws it; each column takes a share of any room left, as a
  // table's do. Texts are measured once each (a scene repeats most of them).
  const measure = document.createElement('canvas').getContext('2d');
  function setColumns(rows) {
    const table = $('lights');
    const cellStyle = getComputedStyle(table);
    const headStyle = getComputedStyle(table.tHead.rows[0].cells[0]);
    const em = parseFloat(cellStyle.fontSize);
    const padding = 2 * parseFloat(headStyle.paddingLeft) + 2;
    measure.font = cellStyle.font;
    const seen = new Map();
    const width = (text) => {
      let w = seen.get(text);
      if (w === undefined) seen.set(text, (w = measure.measureText(text).width));
      return w;
    };
    measure.font = headStyle.font;
    const widths = Array.from(table.tHead.rows[0].cells, (th) => measure.measureText(th.textContent).width);
    measure.font = cellStyle.font;
    const mark = measure.measureText('*').width * 1.2;  // bold
    const swatch = 1.3 * em + 2;
    for (const r of rows) {
      const texts = [r.name, r.type, r.intensity, r.r + ' ' + r.g + ' ' + r.b, r.shadow, r.range, r.limited ? 'yes' : 'no'];
      const marked = r.animated.length ? ['', 'type', 'intensity', 'color', 'shadow', 'range', 'limited'] : null;
      for (let i = 0; i < 7; ++i) {
        const w = width(texts[i]) + (i === 3 ? swatch : 0) + (marked && i && r.animated.includes(marked[i]) ? mark : 0);
        if (w > widths[i]) widths[i] = w;
      }
    }
    table.style.setProperty('--columns',
      widths.map((w) => { const px = Math.ceil(w + padding); return 'minmax(' + px + 'px, ' + px + 'fr)'; }).join(' '));
  }

  // Rows are put in a first batch at once (all of them in a scene of usual
  // size) and the rest in later tasks, so that a scene of thousands of lights
  // shows at once and the page stays responsive; the table is aria-busy
  // meanwhile. A newer table stops an older one's filling.
  const kFirstRows = 600, kMoreRows = 1500;
  let filling = 0;
  function showRows() {
    const rows = JSON.parse(text(M._vt_rows()));
    const table = $('lights');
    const generation = ++filling;
    setColumns(rows);
    let next = 0;
    const batch = (count) => {
      const body = document.createDocumentFragment();
      for (const end = Math.min(rows.length, next + count); next < end; ++next) body.append(rowElement(rows[next]));
      return body;
    };
    table.tBodies[0].replaceChildren(batch(kFirstRows));
    const more = () => {
      if (generation !== filling) return;
      table.tBodies[0].append(batch(kMoreRows));
      if (next < rows.length) setTimeout(more, 0);
      else table.removeAttribute('aria-busy');
    };
    if (next < rows.length) {
      table.setAttribute('aria-busy', 'true');
      setTimeout(more, 0);
    } else {
      table.removeAttribute('aria-busy');
    }
    $('animated-note').hidden = !rows.some((r) => r.animated.length);
  }

  // What the command line's exit status means for a script run (vantorel-host --help).
  const exitMeaning = {
    0: 'the session ran, whatever the panel\'s outcome',
    1: 'an expectation or an action of the script failed: the rest of the script was skipped and nothing was written',
    2: 'the script could not be read; nothing was run',
  };

  function runCaption(run) {
    if (!run.number) return 'The commands the plug-in sends on OK appear here.';
    const n = 'Run ' + run.number + (run.script ? ' (' + run.script + ')' : '') + ': ';
    if (run.script && run.exitStatus === 2) return n + 'not run.';
    if (run.outcome === 'ok') return n + 'OK, ' + run.commands.length + ' command(s) sent.';
    if (run.outcome === 'cancel') return n + 'cancelled; the plug-in sent no command.';
    return n + 'the panel did not open.';
  }

  function lines(list) { return list.map((l) => l + '\n').join(''); }

  function showChanges() {
    const c = JSON.parse(text(M._vt_changes()));
    $('changes-caption').textContent = c.title;
    const pre = $('changes');
    const body = document.createDocumentFragment();
    for (const line of c.lines) {
      const span = document.createElement('span');
      if (line.startsWith('warning:') || line.startsWith('error:')) span.className = 'warning';
      else if (line.startsWith('+++') || line.startsWith('---')) span.className = '';
      else if (line.startsWith('+')) span.className = 'added';
      else if (line.startsWith('-')) span.className = 'removed';
      else if (line.startsWith('@@')) span.className = 'hunk';
      span.textContent = line + '\n';
      body.append(span);
    }
    pre.replaceChildren(body);
    $('changes-box').hidden = false;
    changesShown = true;
  }

  function showState(rowsChanged) {
    state = JSON.parse(text(M._vt_state()));
    const message = $('message');
    message.textContent = state.status + (zoomProblem ? '\n' + zoomProblem : '');
    message.classList.toggle('error', state.statusIsError);
    const notes = $('save-notes');
    notes.replaceChildren(...state.saveNotes.map((n) => {
      const li = document.createElement('li');
      li.textContent = n;
      return li;
    }));
    notes.hidden = state.saveNotes.length === 0;
    $('scene-name').textContent = state.scene.builtIn ? '(the built-in scene)' : '(' + state.scene.name + ')';
    $('save-scene').disabled = !state.canSave;
    $('save-note').textContent = state.saveNote;
    $('save-note').hidden = state.canSave;
    $('commands-caption').textContent = runCaption(state.run);
    $('commands').textContent = lines(state.run.commands);
    $('transcript').textContent = lines(state.run.transcript);
    const exit = $('exit-status');
    exit.hidden = !state.run.script;
    exit.textContent = state.run.script ? 'Exit status ' + state.run.exitStatus + ' on the command line: ' +
      exitMeaning[state.run.exitStatus] + '.' : '';
    $('download-recording').disabled = !state.canRecord;
    if (rowsChanged) showRows();
    if (changesShown) showChanges();
  }

  function ask() {
    $('question').textContent = state.question;
    questionBox.showModal();
  }
  function answer(open) {
    if (questionBox.open) questionBox.close();
    M._vt_answer_open(open ? 1 : 0);
    showState(open);
  }
  $('question-yes').addEventListener('click', () => answer(true));
  $('question-no').addEventListener('click', () => answer(false));
  questionBox.addEventListener('cancel', (e) => {
    e.preventDefault();
    answer(false);
  });

  function refuse(name, why) {
    withString(name, (n) => withString(why, (w) => M._vt_refuse(n, w)));
    showState(false);
  }

  async function openFile(file) {
    if (running || !M) return;
    if (withString(file.name, (n) => M._vt_check_size(n, file.size)) === Refused) return showState(false);
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (err) {
      return refuse(file.name, 'cannot read the file (' + (err && err.message ? err.message : err) + '); choose it again');
    }
    if (running) return;
    const p = M._malloc(Math.max(1, bytes.length));
    if (!p) return refuse(file.name, 'there is not enough memory to open it here');
    let result;
    try {
      M.HEAPU8.set(bytes, p);
      result = withString(file.name, (n) => M._vt_open(n, p, bytes.length));
    } finally {
      M._free(p);
    }
    showState(result === Opened);
    if (result === Asking) ask();
  }

  async function runPlugin() {
    if (running || !M) return;
    running = true;
    queue.length = 0;
    try {
      await M.ccall('vt_run', 'number', [], [], { async: true });
    } finally {
      running = false;
      queue.length = 0;
      if (panelBox.open) panelBox.close();
      showState(true);
      $('run-plugin').focus();
    }
  }

  async function runScript(file) {
    if (running || !M) return;
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (err) {
      $('message').textContent = file.name + ': cannot read the file (' + (err && err.message ? err.message : err) + '); choose it again';
      $('message').classList.add('error');
      return;
    }
    if (running) return;
    const p = M._malloc(Math.max(1, bytes.length));
    if (!p) return;
    try {
      M.HEAPU8.set(bytes, p);
      withString(file.name, (n) => M._vt_run_script(n, p, bytes.length));
    } finally {
      M._free(p);
    }
    showState(true);
  }

  $('open-scene').addEventListener('click', () => $('scene-file').click());
  $('run-script').addEventListener('click', () => { if (!running && M) $('script-file').click(); });
  $('script-file').addEventListener('change', (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (file) runScript(file);
  });
  $('download-recording').addEventListener('click', () => {
    if (running || !M) return;
    M._vt_download_recording();
  });
  $('scene-file').addEventListener('change', (e) => {
    const file = e.target.files[0];
    e.target.value = '';
    if (file) openFile(file);
  });
  $('run-plugin').addEventListener('click', runPlugin);
  $('save-scene').addEventListener('click', () => {
    if (running || !M) return;
    M._vt_save();
    showState(false);
  });
  $('show-changes').addEventListener('click', () => {
    if (running || !M) return;
    showChanges();
    $('changes-box').scrollIntoView({ block: 'nearest' });
  });

  // A file dropped anywhere on the page opens it; never the browser's own
  // navigation to it, which would leave the page and its edits.
  const dropHint = $('drop-hint');
  const carriesFiles = (e) => e.dataTransfer && Array.from(e.dataTransfer.types || []).includes('Files');
  window.addEventListener('dragenter', (e) => {
    e.preventDefault();
    if (!running && M && carriesFiles(e)) dropHint.hidden = false;
  });
  window.addEventListener('dragover', (e) => {
    e.preventDefault();
    if (e.dataTransfer) e.dataTransfer.dropEffect = running || !M ? 'none' : 'copy';
  });
  window.addEventListener('dragleave', (e) => { if (!e.relatedTarget) dropHint.hidden = true; });
  window.addEventListener('drop', (e) => {
    e.preventDefault();
    dropHint.hidden = true;
    const file = e.dataTransfer && e.dataTransfer.files[0];
    if (file) openFile(file);
  });

  // Leaving with edits not saved, or with the panel open, asks first.
  window.addEventListener('beforeunload', (e) => {
    if (running || (state && state.unsaved > 0)) {
      e.preventDefault();
      e.returnValue = '';
    }
  });

  function stopped(what) {
    running = false;
    if (panelBox.open) panelBox.close();
    const message = $('message');
    message.textContent = 'The page stopped working (' + what + '). Reload it to go on; edits that were not saved are lost.';
    message.classList.add('error');
  }

  for (const b of document.querySelectorAll('.toolbar button')) b.disabled = true;
  createVantorel({ vantorelPage: page, onAbort: (what) => stopped(String(what)) }).then((module) => {
    M = module;
    M._vt_start();
    for (const b of document.querySelectorAll('.toolbar button')) b.disabled = false;
    showState(true);
    performance.mark('vantorel:ready');  // the table is shown (for benchmarks)
  }, (err) => stopped('it could not start: ' + (err && err.message ? err.message : err)));
})();
