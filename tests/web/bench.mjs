// bench.mjs - how fast vantorel.html is in Debian's Chromium (headless, from
// disk), for docs/benchmarks.md. Not a test: it prints figures.
//
//   node tests/web/bench.mjs [PAGE.html]     (default build/web/vantorel.html)
//
// Figures, each a median of several tries:
//   load      navigation start to the table of lights shown (the page's
//             performance mark "vantorel:ready")
//   input     at 510 lights and ?zoom=2, a wheel notch over the panel's list
//             (it scrolls: the whole panel is drawn again) to the frame on the
//             canvas (its data-frames count goes up), in the page's own clock
//   open10    a generated 10 MB scene file from the file input's change
//             event to the page's message saying it is open
//   size      the page's bytes
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const pagePath = path.resolve(process.argv[2] || path.join(here, '../../build/web/vantorel.html'));
const { chromium } = await import('playwright-core');
const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'vantorel-bench-'));

// An LWSC 3 scene of n point lights "Light 1".."Light n"; pad: extra bytes
// of comment-free motion keys per light, to reach a size.
function scene(n, keysPerLight = 1) {
  const out = ['LWSC\n3\n\nFirstFrame 1\nLastFrame 60\n\n'];
  for (let i = 1; i <= n; ++i) {
    let keys = '';
    for (let k = 0; k < keysPerLight; ++k) keys += '  Key ' + k + ' 0 0 0 0 0 0 0 0\n';
    out.push('AddLight\nLightName Light ' + i + '\nShowLight 1 5\nLightMotion\nNumChannels 1\nChannel 0\n{ Envelope\n  ' +
      keysPerLight + '\n' + keys + '  Behaviors 1 1\n}\n\nLightColor 1 0.9 0.8\nLightIntensity 0.75\nLightType 1\n' +
      'ShadowType 1\nShadowColor 0 0 0\n\n');
  }
  return out.join('');
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  headless: true,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-first-run'],
});
const version = browser.version();
const url = pathToFileURL(pagePath).href;
async function fresh(query = '') {
  const context = await browser.newContext({ viewport: { width: 1600, height: 1200 } });
  await context.route('**/*', (r) => (r.request().url().startsWith('file:') ? r.continue() : r.abort()));
  const page = await context.newPage();
  await page.goto(url + query);
  await page.locator('#lights tbody tr').first().waitFor();
  return { context, page };
}
// ---- load ----
const loads = [];
for (let i = 0; i < 7; ++i) {
  const { context, page } = await fresh();
  loads.push(await page.evaluate(() => performance.getEntriesByName('vantorel:ready')[0].startTime));
  await context.close();
}

// ---- input to frame at 510 lights, zoom 2 ----
const lights510 = path.join(tmp, 'lights-510.lws');
fs.writeFileSync(lights510, scene(510));
const inputs = [];
{
  const { context, page } = await fresh('?zoom=2');
  const before = await page.locator('#message').textContent();
  await page.setInputFiles('#scene-file', lights510);
  await page.waitForFunction((b) => document.getElementById('message').textContent !== b, before);
  await page.getByRole('button', { name: 'vantorel', exact: true }).click();
  await page.locator('#panel-box[open]').waitFor();
  const times = await page.evaluate(async () => {
    const c = document.getElementById('panel');
    const r = c.getBoundingClientRect();
    const x = r.left + r.width * 0.2, y = r.top + r.height * 0.5;  // over the list
    const out = [];
    for (let i = 0; i < 60; ++i) {
      const frames = c.dataset.frames;
      const t0 = performance.now();
      const shown = new Promise((resolve) => {
        new MutationObserver((_, o) => { o.disconnect(); resolve(performance.now() - t0); })
          .observe(c, { attributes: true, attributeFilter: ['data-frames'] });
      });
      c.dispatchEvent(new WheelEvent('wheel', { clientX: x, clientY: y, deltaY: i % 20 < 10 ? 100 : -100, deltaMode: 0,
        bubbles: true, cancelable: true }));
      const ms = await Promise.race([shown, new Promise((r) => setTimeout(() => r(NaN), 1000))]);
      if (c.dataset.frames !== frames) out.push(ms);
      await new Promise((r) => setTimeout(r, 5));
    }
    return out;
  });
  inputs.push(...times);
  await context.close();
}

// ---- opening a 10 MB scene ----
const big = path.join(tmp, 'ten-megabytes.lws');
fs.writeFileSync(big, scene(2000, 200));
const bigBytes = fs.statSync(big).size;
const opens = [];
for (let i = 0; i < 3; ++i) {
  const { context, page } = await fresh();
  await page.evaluate(() => {
    const input = document.getElementById('scene-file');
    window.__open = new Promise((resolve) => {
      let t0 = 0;
      input.addEventListener('change', () => { t0 = performance.now(); }, { once: true, capture: true });
      new MutationObserver((_, o) => { o.disconnect(); resolve(performance.now() - t0); })
        .observe(document.getElementById('message'), { childList: true, characterData: true, subtree: true });
    });
  });
  await page.setInputFiles('#scene-file', big);
  opens.push(await page.evaluate(() => window.__open));
  const message = await page.locator('#message').textContent();
  if (!message.startsWith('Opened')) throw new Error('the 10 MB scene did not open: ' + message);
  await context.close();
}
await browser.close();
fs.rmSync(tmp, { recursive: true, force: true });

const ms = (x) => x.toFixed(1) + ' ms';
console.log('page         ' + pagePath);
console.log('browser      Chromium ' + version + ', ' + os.cpus().length + ' x ' + os.cpus()[0].model);
console.log('load         ' + ms(median(loads)) + ' median of ' + loads.length + ' (target <= 300 ms)');
console.log('input        ' + ms(median(inputs)) + ' median of ' + inputs.length + ' wheel notches, max ' +
  ms(Math.max(...inputs)) + ' (510 lights, zoom 2; target <= 5 ms)');
console.log('open 10 MB   ' + ms(median(opens)) + ' median of ' + opens.length + ' (' + bigBytes + ' bytes, 2000 lights; target <= 1000 ms)');
console.log('size         ' + fs.statSync(pagePath).size + ' bytes (target <= 2 MB)');
