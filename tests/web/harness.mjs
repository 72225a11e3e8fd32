// harness.mjs - what the browser tests share: Debian's Chromium driven by
// playwright-core on vantorel.html opened from disk, with every request
// other than the page itself refused and counted; the page's hooks (the file
// input, the buttons by name, the panel's canvas, the panes); vantorel-host
// run on the same session for what the page must match; and PNG decoding for
// the pictures.
import { execFileSync, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import zlib from 'node:zlib';

export const SKIP = 77;
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
// scripts/build.sh test sets this: there a missing page or browser is a failure.
const REQUIRED = process.env.VANTOREL_WEB_TESTS_REQUIRED === '1';

export function skip(why) {
  if (REQUIRED) {
    console.error('web test: FAILED: ' + why + ' (VANTOREL_WEB_TESTS_REQUIRED=1: the CI run needs it)');
    process.exit(1);
  }
  console.log('web test: skipped: ' + why);
  process.exit(SKIP);
}

export class Failure extends Error {}
export function check(ok, what) {
  if (!ok) throw new Failure(what);
}
export function same(actual, expected, what) {
  if (actual !== expected) {
    throw new Failure(what + '\n--- expected\n' + String(expected) + '\n--- seen\n' + String(actual));
  }
}

// A folder of this process's own, removed at exit.
export const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'vantorel-web-'));
process.on('exit', () => fs.rmSync(scratch, { recursive: true, force: true }));

// ---- vantorel-host ----

export class Host {
  constructor(program, plugin, points) {
    this.program = program;
    this.plugin = plugin;
    this.pointsProgram = points;
  }

  // Runs vantorel-host with args; script (text) becomes a file and goes in as --script.
  run(args, { script, cwd } = {}) {
    const all = ['--plugin', this.plugin, ...args];
    if (script !== undefined) {
      const file = path.join(scratch, 'session-' + Math.random().toString(36).slice(2) + '.vts');
      fs.writeFileSync(file, script);
      all.push('--script', file);
    }
    const r = spawnSync(this.program, all, { cwd, encoding: 'buffer', maxBuffer: 1 << 28 });
    return { status: r.status, stdout: r.stdout.toString('utf8'), stderr: r.stderr.toString('utf8'), raw: r.stdout };
  }

  // Where to click in the panel for a scene (tests/window/panel_points.cpp), at zoom 1.
  points(scene) {
    const args = [this.plugin, ...(scene ? ['--scene', scene] : [])];
    const map = new Map();
    map.rows = [];  // the list's visible rows in order (names may repeat)
    for (const line of execFileSync(this.pointsProgram, args, { encoding: 'utf8' }).split('\n')) {
      const [name, x, y] = line.split(' ');
      if (!name) continue;
      map.set(name, { x: Number(x), y: Number(y) });
      if (name.startsWith('row:')) map.rows.push({ x: Number(x), y: Number(y) });
    }
    return map;
  }
}

// ---- PNG (the host's pictures: 8-bit RGB or RGBA, not interlaced) ----

export function readPng(file) {
  const b = fs.readFileSync(file);
  check(b.subarray(0, 8).equals(Buffer.from([137, 80, 78, 71, 13, 10, 26, 10])), file + ' is not a PNG file');
  let width = 0, height = 0, channels = 0;
  const data = [];
  for (let at = 8; at < b.length;) {
    const size = b.readUInt32BE(at);
    const type = b.toString('latin1', at + 4, at + 8);
    const body = b.subarray(at + 8, at + 8 + size);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      check(body[8] === 8 && (body[9] === 2 || body[9] === 6) && body[12] === 0, file + ': not 8-bit RGB(A)');
      channels = body[9] === 2 ? 3 : 4;
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + size;
  }
  const raw = zlib.inflateSync(Buffer.concat(data));
  const stride = width * channels;
  const rgba = new Uint8Array(width * height * 4);
  let prev = new Uint8Array(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = Uint8Array.from(raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1)));
    for (let i = 0; i < stride; ++i) {
      const a = i >= channels ? line[i - channels] : 0, up = prev[i], c = i >= channels ? prev[i - channels] : 0;
      let add = 0;
      if (filter === 1) add = a;
      else if (filter === 2) add = up;
      else if (filter === 3) add = (a + up) >> 1;
      else if (filter === 4) {
        const p = a + up - c, pa = Math.abs(p - a), pb = Math.abs(p - up), pc = Math.abs(p - c);
        add = pa <= pb && pa <= pc ? a : pb <= pc ? up : c;
      }
      line[i] = (line[i] + add) & 255;
    }
    for (let x = 0; x < width; ++x) {
      for (let k = 0; k < 4; ++k) rgba[(y * width + x) * 4 + k] = k < channels ? line[x * channels + k] : 255;
    }
    prev = line;
  }
  return { width, height, rgba };
}

// ---- the browser and the page ----

export async function loadPlaywright() {
  if (!fs.existsSync(CHROMIUM)) skip(CHROMIUM + ' is missing (Debian: apt-get install chromium)');
  try {
    return (await import('playwright-core')).chromium;
  } catch {
    skip('playwright-core is not installed (run npm ci in tests/web)');
  }
  return null;
}

// The page opened from disk in a new headless Chromium with a profile of its
// own. Only the page itself may load: any other request is aborted and
// recorded in `others`, which close() asserts to be empty. The page's own
// downloads (blob: links it makes) are no requests off the machine.
export async function openPage(chromium, pagePath, query = '') {
  const profile = fs.mkdtempSync(path.join(scratch, 'profile-'));
  const pageUrl = pathToFileURL(path.resolve(pagePath)).href + query;
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: CHROMIUM,
    headless: true,
    acceptDownloads: true,
    viewport: { width: 1280, height: 900 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run'],
  });
  const others = [];
  const problems = [];
  const own = (url) => url === pageUrl || url.startsWith('blob:file://') || url.startsWith('blob:null/');
  await context.route('**/*', (route) => {
    if (own(route.request().url())) return route.continue();
    others.push(route.request().url());
    return route.abort();
  });
  const page = context.pages()[0] || await context.newPage();
  page.on('request', (r) => { if (!own(r.url()) && !others.includes(r.url())) others.push(r.url()); });
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));
  await page.goto(pageUrl);
  same(await page.title(), 'Vantorel', 'the page title');
  await page.locator('#lights tbody tr').first().waitFor();
  return new Page(page, context, others, problems);
}

export class Page {
  constructor(page, context, others, problems) {
    this.page = page;
    this.context = context;
    this.others = others;
    this.problems = problems;
  }

  async close() {
    await this.context.close();
    check(this.others.length === 0, 'the page asked for more than itself: ' + this.others.join(', '));
    check(this.problems.length === 0, this.problems.join('\n'));
  }

  button(name) { return this.page.getByRole('button', { name, exact: true }); }
  async text(selector) { return this.page.locator(selector).textContent(); }
  async message() { return this.text('#message'); }
  async commands() { return this.text('#commands'); }
  async transcript() { return this.text('#transcript'); }

  // The table of lights as shown: one array of cell texts per row.
  // A big scene's rows are still being put in while the table is aria-busy.
  async rows() {
    await this.page.waitForFunction(() => !document.getElementById('lights').hasAttribute('aria-busy'));
    return this.page.locator('#lights tbody tr').evaluateAll((trs) =>
      trs.map((tr) => Array.from(tr.cells, (td) => td.textContent)));
  }

  // Waits until the page has done what it was asked to do: its message
  // changed from `before`, or it asks a question.
  async settled(before) {
    await this.page.waitForFunction((b) => document.getElementById('message').textContent !== b ||
      document.getElementById('question-box').open, before);
  }

  // A scene file through the file input ("Open scene…"), as a user picks it.
  async openScene(file) {
    const before = await this.message();
    await this.page.setInputFiles('#scene-file', file);
    await this.settled(before);
  }

  // A scene file dropped on the page, as a file manager drops one.
  async dropScene(file) {
    const before = await this.message();
    const bytes = Array.from(fs.readFileSync(file));
    const name = path.basename(file);
    const transfer = await this.page.evaluateHandle(({ bytes, name }) => {
      const dt = new DataTransfer();
      dt.items.add(new File([new Uint8Array(bytes)], name));
      return dt;
    }, { bytes, name });
    await this.page.dispatchEvent('#lights', 'dragenter', { dataTransfer: transfer });
    await this.page.dispatchEvent('#lights', 'drop', { dataTransfer: transfer });
    await this.settled(before);
  }

  // Runs the plug-in: the panel's canvas, with clicks at the places panel-points names.
  async run(points) {
    await this.button('vantorel').click();
    await this.page.locator('#panel-box[open]').waitFor();
    const canvas = this.page.locator('#panel');
    const box = await canvas.boundingBox();
    const width = await canvas.evaluate((c) => c.width);
    return new Panel(this, points, box, box.width / width);
  }

  // The next download the page starts while `action` runs: its name and bytes.
  async download(action) {
    const [d] = await Promise.all([this.page.waitForEvent('download'), action()]);
    const file = path.join(scratch, 'download-' + Math.random().toString(36).slice(2));
    await d.saveAs(file);
    return { name: d.suggestedFilename(), bytes: fs.readFileSync(file) };
  }
}

export class Panel {
  constructor(page, points, box, scale) {
    this.owner = page;
    this.page = page.page;
    this.points = points;
    this.box = box;
    this.scale = scale;
  }

  at(name) {
    const p = this.points.get(name);
    check(p, 'panel-points gave no place named ' + name);
    return p;
  }

  // The real mouse in the middle of panel pixel (x, y).
  async clickAt(x, y) {
    await this.page.mouse.click(this.box.x + (x + 0.5) * this.scale, this.box.y + (y + 0.5) * this.scale);
    await this.idle();
  }
  async click(name) {
    const p = this.at(name);
    await this.clickAt(p.x, p.y);
  }
  async press(key) {
    await this.page.keyboard.press(key);
    await this.idle();
  }
  async type(text) {
    await this.page.keyboard.type(text);
    await this.idle();
  }
  // A number field's value replaced by typing: click it, erase, type, Return.
  async setField(name, text) {
    await this.click(name);
    for (let i = 0; i < 16; ++i) await this.page.keyboard.press('Backspace');
    await this.type(text);
    await this.press('Enter');
  }

  // Once the module has taken every queued event and presented its frame:
  // the events resume it in the page's own tasks, so a round trip after
  // the next animation frame is late enough.
  async idle() {
    await this.page.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0))));
  }

  async closed() {
    await this.page.locator('#panel-box').waitFor({ state: 'hidden' });
  }
  async ok() {
    await this.click('ok');
    await this.closed();
  }
  async cancel() {
    await this.click('cancel');
    await this.closed();
  }

  // The canvas's own pixels, RGBA (handed over as base64: a plain array of
  // a million numbers takes the browser half a minute to send).
  async pixels() {
    const d = await this.page.locator('#panel').evaluate((c) => {
      const px = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let bin = '';
      for (let i = 0; i < px.length; i += 0x8000) bin += String.fromCharCode.apply(null, px.subarray(i, i + 0x8000));
      return { width: c.width, height: c.height, base64: btoa(bin) };
    });
    return { width: d.width, height: d.height, rgba: new Uint8Array(Buffer.from(d.base64, 'base64')) };
  }
}

// Runs one named case of `cases` (an object of async functions taking a
// context), from the command line:
//   node FILE.mjs CASE PAGE.html VANTOREL-HOST PLUGIN PANEL-POINTS
// Exit status: 0 passed, 1 failed, 2 bad usage, 77 skipped.
export async function main(cases) {
  const [name, pagePath, hostPath, plugin, pointsPath] = process.argv.slice(2);
  if (!pointsPath || !cases[name]) {
    console.error('usage: node ' + path.basename(process.argv[1]) + ' CASE PAGE.html VANTOREL-HOST PLUGIN PANEL-POINTS');
    console.error('cases: ' + Object.keys(cases).join(' '));
    process.exit(2);
  }
  if (!fs.existsSync(pagePath)) skip(pagePath + ' is not built (scripts/build.sh web)');
  const chromium = await loadPlaywright();
  const host = new Host(hostPath, plugin, pointsPath);
  const opened = [];
  const t = {
    host,
    open: async (query = '') => {
      const p = await openPage(chromium, pagePath, query);
      opened.push(p);
      return p;
    },
  };
  try {
    await cases[name](t);
    for (const p of opened.splice(0)) await p.close();
    console.log('web test ' + name + ': passed');
  } catch (e) {
    for (const p of opened) await p.context.close().catch(() => {});
    if (e instanceof Failure) console.error('web test ' + name + ': FAILED: ' + e.message);
    else if (e && e.skip) skip(e.skip);
    else console.error('web test ' + name + ': FAILED with an exception: ' + (e && e.stack ? e.stack : e));
    process.exitCode = 1;
  }
}
