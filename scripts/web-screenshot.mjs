// web-screenshot.mjs - the picture of the page for the README: vantorel.html
// in headless Chromium, opened from disk with every other request refused,
// the built-in scene edited once (Key at 80%, OK, so that the commands pane
// and the table show a run), then the panel open again with Key and
// Spot Left selected.
//
//   node scripts/web-screenshot.mjs PAGE PANEL_POINTS PLUGIN OUT.png
//
// scripts/web-screenshot.sh finds the arguments; playwright-core comes from
// tests/web (npm ci there), the browser is Debian's (CHROMIUM to override).
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const root = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..');
const [pagePath, pointsProgram, plugin, out] = process.argv.slice(2);
if (!out) {
  console.error('usage: node scripts/web-screenshot.mjs PAGE PANEL_POINTS PLUGIN OUT.png');
  process.exit(2);
}
const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';
let chromium;
try {
  ({ chromium } = createRequire(path.join(root, 'tests/web/package.json'))('playwright-core'));
} catch {
  console.error('web-screenshot: playwright-core is missing; run: (cd tests/web && npm ci)');
  process.exit(2);
}

// Where each place of the panel is, in panel pixels (tests/window/panel-points).
const places = new Map();
for (const line of execFileSync(pointsProgram, [plugin], { encoding: 'utf8' }).split('\n')) {
  const [name, x, y] = line.split(' ');
  if (name) places.set(name, { x: Number(x), y: Number(y) });
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'vantorel-shot-'));
const pageUrl = pathToFileURL(path.resolve(pagePath)).href + '?zoom=1';
const context = await chromium.launchPersistentContext(profile, {
  executablePath: chromiumPath,
  headless: true,
  viewport: { width: 1180, height: 760 },
  deviceScaleFactor: 1,
  args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
    '--disable-sync', '--no-first-run'],
});
let status = 0;
try {
  const others = [];
  await context.route('**/*', (route) => {
    if (route.request().url() === pageUrl) return route.continue();
    others.push(route.request().url());
    return route.abort();
  });
  const page = context.pages()[0] || await context.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(e.message));
  await page.goto(pageUrl);
  await page.locator('#lights tbody tr').first().waitFor();

  // Once the module has taken the queued events and shown its frame.
  const idle = () => page.evaluate(() => new Promise((r) => requestAnimationFrame(() => setTimeout(r, 0))));
  async function openPanel() {
    await page.getByRole('button', { name: 'vantorel', exact: true }).click();
    await page.locator('#panel-box[open]').waitFor();
    await idle();
    const box = await page.locator('#panel').boundingBox();
    return async (name) => {
      const p = places.get(name);
      if (!p) throw new Error('panel-points names no place ' + name);
      await page.mouse.click(box.x + p.x + 0.5, box.y + p.y + 0.5);
      await idle();
    };
  }

  let click = await openPanel();
  await click('row:Key');
  await click('Intensity');
  for (let i = 0; i < 8; ++i) await page.keyboard.press('Backspace');
  await page.keyboard.type('80');
  await page.keyboard.press('Enter');
  await idle();
  await click('ok');
  await page.locator('#panel-box').waitFor({ state: 'hidden' });

  click = await openPanel();
  await click('row:Key');
  await click('row:Spot_Left');
  await page.mouse.move(0, 0);
  await idle();
  await page.screenshot({ path: out });
  if (others.length || problems.length) {
    console.error('web-screenshot: ' + [...others.map((u) => 'asked for ' + u), ...problems].join('; '));
    status = 1;
  }
} finally {
  await context.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
process.exit(status);
