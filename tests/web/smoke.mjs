// smoke.mjs - vantorel.html in a real browser, end to end: the page opened
// from disk in Debian's Chromium (headless, a new profile, no network), the
// plug-in run, a light clicked with the real mouse, OK pressed, and the
// "Layout commands" pane compared with what vantorel-host prints on stdout
// for the same session.
//
//   node smoke.mjs PAGE.html VANTOREL-HOST PANEL-POINTS PLUGIN
//
// PANEL-POINTS (tests/window/panel_points.cpp) says where the row of "Key"
// and OK are in the panel's picture. Exit status: 0 passed, 1 failed, 77
// skipped (no Chromium or no playwright-core: `npm ci` in tests/web).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const SKIP = 77;
const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';

function skip(why) {
  console.log('smoke: skipped: ' + why);
  process.exit(SKIP);
}
function fail(why) {
  console.error('smoke: FAILED: ' + why);
  process.exitCode = 1;
}

const [pagePath, hostPath, pointsPath, pluginPath] = process.argv.slice(2);
if (!pluginPath) {
  console.error('usage: node smoke.mjs PAGE.html VANTOREL-HOST PANEL-POINTS PLUGIN');
  process.exit(2);
}
if (!fs.existsSync(pagePath)) skip(pagePath + ' is not built (cmake --preset web && cmake --build --preset web)');
if (!fs.existsSync(CHROMIUM)) skip(CHROMIUM + ' is missing (Debian: apt-get install chromium)');
let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {
  skip('playwright-core is not installed (run npm ci in tests/web)');
}

// Where to click, in panel pixels at zoom 1.
const points = new Map();
for (const line of execFileSync(pointsPath, [pluginPath], { encoding: 'utf8' }).split('\n')) {
  const [name, x, y] = line.split(' ');
  if (name) points.set(name, { x: Number(x), y: Number(y) });
}
for (const p of ['row:Key', 'ok']) if (!points.has(p)) fail('panel-points gave no ' + p);

// What the command line prints for the same session on the same (built-in) scene.
const expected = execFileSync(hostPath, ['--plugin', pluginPath, '--script', '-'], {
  input: 'click "Key"\nok\n',
  encoding: 'utf8',
  stdio: ['pipe', 'pipe', 'pipe'],
});

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vantorel-smoke-'));
const pageUrl = pathToFileURL(path.resolve(pagePath)).href + '?zoom=1';
const context = await chromium.launchPersistentContext(profile, {
  executablePath: CHROMIUM,
  headless: true,
  viewport: { width: 1280, height: 900 },
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
         '--disable-sync', '--no-first-run'],
});
const others = [];
const problems = [];
try {
  // Only the page itself may be loaded; everything else is refused and counted.
  await context.route('**/*', (route) => {
    if (route.request().url() === pageUrl) return route.continue();
    others.push(route.request().url());
    return route.abort();
  });
  const page = context.pages()[0] || await context.newPage();
  page.on('request', (r) => { if (r.url() !== pageUrl) others.push(r.url()); });
  page.on('console', (m) => { if (m.type() === 'error') problems.push('console: ' + m.text()); });
  page.on('pageerror', (e) => problems.push('page error: ' + e.message));

  await page.goto(pageUrl);
  if (await page.title() !== 'Vantorel') fail('the title is "' + await page.title() + '"');
  await page.locator('#lights tbody tr').first().waitFor();

  await page.getByRole('button', { name: 'vantorel', exact: true }).click();
  const canvas = page.locator('#panel');
  await page.locator('#panel-box[open]').waitFor();
  const box = await canvas.boundingBox();
  const width = await canvas.evaluate((c) => c.width);
  const scale = box.width / width;
  const click = async (name) => {
    const p = points.get(name);
    await page.mouse.click(box.x + (p.x + 0.5) * scale, box.y + (p.y + 0.5) * scale);
  };
  await click('row:Key');
  await click('ok');
  await page.locator('#panel-box').waitFor({ state: 'hidden' });

  const shown = await page.locator('#commands').textContent();
  if (shown !== expected) {
    fail('the commands pane differs from vantorel-host\'s stdout.\n--- vantorel-host\n' + expected +
         '--- page\n' + shown);
  }
  if (!expected.includes('LightIntensity')) fail('vantorel-host sent no LightIntensity: ' + expected);
  const transcript = await page.locator('#transcript').textContent();
  if (!transcript.endsWith('result: 0\n')) fail('the transcript does not end in "result: 0": ' + transcript);
} finally {
  await context.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
if (others.length) fail('the page asked for more than itself: ' + others.join(', '));
if (problems.length) fail(problems.join('\n'));
if (!process.exitCode) console.log('smoke: passed (' + expected.split('\n').length + ' lines of commands)');
