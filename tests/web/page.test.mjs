// page.test.mjs - vantorel.html in Debian's Chromium, end to end, against
// vantorel-host for the same session: the commands pane against its stdout,
// the saved scene against --save, the changes against --diff, the table
// against --list --json, the canvas against the pictures the host writes.
// Every case runs with every request but the page's own refused and counted.
//
//   node page.test.mjs CASE PAGE.html VANTOREL-HOST PLUGIN PANEL-POINTS
//
// Real scenes come from VANTOREL_SHARED_SCENES (default ../shared/scenes
// beside the repository); the case that uses them skips when they are absent.
import fs from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

import { check, main, readPng, same, scratch } from './harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '../..');
const fixtures = path.join(repo, 'tests/scenefile/fixtures');
const shared = process.env.VANTOREL_SHARED_SCENES || path.resolve(repo, '../shared/scenes');
const PITCH = 16;  // the list's row pitch in panel pixels

const lines = (text) => text.split('\n').filter((l) => l !== '');
const transcriptOf = (stderr) => lines(stderr).filter((l) => /^(result|error|info): /.test(l)).map((l) => l + '\n').join('');
const quoted = (name) => '"' + name.replace(/\\/g, '\\\\').replace(/"/g, '\\"') + '"';

// The table as vantorel-host --list --json gives it, in the page's cells.
function expectedRows(host, scene) {
  const r = host.run(['--scene', scene, '--list', '--json']);
  same(r.status, 0, 'vantorel-host --list --json ' + scene + ' exit status (' + r.stderr + ')');
  const star = (l, channel) => (l.animated.includes(channel) ? '*' : '');
  return JSON.parse(r.stdout).lights.map((l) => [
    l.name, l.type + star(l, 'type'), l.intensityPercent, l.color.join(' ') + star(l, 'color'),
    l.shadow + star(l, 'shadow'), l.range, (l.rangeLimited ? 'yes' : 'no') + star(l, 'limited'),
    star(l, 'intensity'), star(l, 'range'),
  ]);
}

function checkRows(shown, expected, what) {
  same(shown.length, expected.length, what + ': the number of rows in the table');
  shown.forEach((cells, i) => {
    const e = expected[i];
    const row = what + ', row ' + (i + 1) + ' (' + cells.join(' | ') + ')';
    same(cells[0], e[0], row + ': name');
    same(cells[1], e[1], row + ': type');
    same(cells[2].endsWith('%' + e[7]), true, row + ': intensity ends in %' + e[7]);
    check(Math.abs(parseFloat(cells[2]) - e[2]) < 0.051, row + ': intensity, --list says ' + e[2]);
    same(cells[3], e[3], row + ': colour');
    same(cells[4], e[4], row + ': shadow');
    check(Math.abs(parseFloat(cells[5]) - e[5]) < 0.051 && cells[5].endsWith(e[8]), row + ': range, --list says ' + e[5]);
    same(cells[6], e[6], row + ': limited');
  });
}

// One edit session on an opened scene file, by hand in the page and by
// script on the command line: the first light clicked, its intensity typed,
// the light type changed, OK. The commands, the saved bytes and the changes
// must be the command line's.
async function editAndSave(t, page, scene) {
  const name = path.basename(scene);
  checkRows(await page.rows(), expectedRows(t.host, scene), name);
  const points = t.host.points(scene);
  const first = JSON.parse(t.host.run(['--scene', scene, '--list', '--json']).stdout).lights[0].name;
  const panel = await page.run(points);
  const top = points.rows[0];
  check(top, name + ': panel-points shows no row');
  await panel.clickAt(top.x, top.y);
  await panel.setField('Intensity', '42.5');
  await panel.click('lighttype.1');
  await panel.ok();

  const script = 'click ' + quoted(first) + '\nintensity 42.5\nlighttype Point\nok\n';
  const cli = t.host.run(['--scene', scene], { script });
  same(cli.status, 0, name + ': vantorel-host exit status (' + cli.stderr + ')');
  same(await page.commands(), cli.stdout, name + ': the commands pane against vantorel-host\'s stdout');
  same(await page.transcript(), transcriptOf(cli.stderr), name + ': the transcript against vantorel-host\'s stderr');

  // The page of changes: the warnings --diff gives on stderr, then its diff
  // (without the CRs of a CRLF file).
  const diff = t.host.run(['--scene', scene, '--diff'], { script });
  const warnings = lines(diff.stderr).filter((l) => l.startsWith('vantorel-host: warning: '))
    .map((l) => l.slice('vantorel-host: '.length) + '\n').join('');
  await page.button('Show changes').click();
  same(await page.text('#changes'), warnings + diff.stdout.replace(/\r/g, ''), name + ': Show changes against --diff');

  const out = path.join(scratch, 'saved-' + name);
  const saved = t.host.run(['--scene', scene, '--save', out], { script });
  same(saved.status, 0, name + ': vantorel-host --save exit status (' + saved.stderr + ')');
  const d = await page.download(() => page.button('Save scene').click());
  same(d.name, name, name + ': the downloaded file\'s name');
  check(d.bytes.equals(fs.readFileSync(out)), name + ': the downloaded scene differs from what --save writes (' +
    d.bytes.length + ' bytes against ' + fs.statSync(out).size + ')');
  check(!d.bytes.equals(fs.readFileSync(scene)), name + ': the saved scene is the file as it was; no edit reached it');
}

// One session by real input, as a user makes it: rows clicked, a prefix
// typed as keys, Intensity typed and Return, the drag button dragged, a type
// and a shadow chosen, copy, another row, paste, OK. The commands must be
// those of the same session written as a script, and of the recording.
async function byHand(t, page, scene) {
  const args = scene ? ['--scene', scene] : [];
  const names = (await page.rows()).map((cells) => cells[0]);
  check(names.length >= 3, 'a session by hand needs three lights');
  const clickLine = (i) => {
    const occurrence = names.slice(0, i + 1).filter((n) => n === names[i]).length;
    return 'click ' + quoted(names[i]) + (occurrence > 1 ? ' ' + occurrence : '');
  };
  const points = t.host.points(scene || undefined);
  const panel = await page.run(points);
  const row = (i) => points.rows[i];
  const letter = names[2][0];
  check(/^[A-Za-z]$/.test(letter), 'the third light\'s name starts with no letter: ' + names[2]);

  await panel.clickAt(row(0).x, row(0).y);
  await panel.press(letter);
  await panel.setField('Intensity', '75');
  // The drag button: pressed, moved right 4 and then 12 pixels, released
  // (the script's distances count the other way: -12 raises by 1.2 %).
  const d = panel.at('drag');
  const at = (x) => [panel.box.x + (x + 0.5) * panel.scale, panel.box.y + (d.y + 0.5) * panel.scale];
  await page.page.mouse.move(...at(d.x));
  await page.page.mouse.down();
  await page.page.mouse.move(...at(d.x + 4));
  await page.page.mouse.move(...at(d.x + 12));
  await page.page.mouse.up();
  await panel.idle();
  await panel.click('lighttype.3');
  await panel.click('shadow.0');
  await panel.click('copy');
  await panel.clickAt(row(1).x, row(1).y);
  await panel.click('paste');
  await panel.ok();

  const script = [clickLine(0), 'key ' + letter, 'intensity 75', 'drag -4 -12', 'lighttype Linear', 'shadow Off', 'copy',
    clickLine(1), 'paste', 'ok'].join('\n') + '\n';
  const cli = t.host.run(args, { script });
  same(cli.status, 0, 'vantorel-host on the session by hand (' + cli.stderr + ')\n' + script);
  same(await page.commands(), cli.stdout, (scene || 'the built-in scene') + ': the commands pane against the session as a script\n' + script);
  check(cli.stdout.includes('LinearLight') && cli.stdout.includes('ShadowType 0'), 'the session sent no type or shadow:\n' + cli.stdout);

  const rec = await page.download(() => page.button('Download recording').click());
  const file = path.join(scratch, 'by-hand-' + rec.name);
  fs.writeFileSync(file, rec.bytes);
  const replay = t.host.run([...args, '--script', file]);
  same(replay.stdout, cli.stdout, 'the recording replayed against the session as a script:\n' + rec.bytes);
  return script;
}

const cases = {
  // The built-in scene: a light clicked with the real mouse, a value typed, OK.
  async 'built-in'(t) {
    const page = await t.open('?zoom=1');
    same(JSON.stringify((await page.rows())[0]), JSON.stringify(['Key', 'Spot', '100.0%', '255 242 217', 'Raytrace', '12.5', 'yes']),
      'the built-in scene\'s first row');
    const panel = await page.run(t.host.points());
    await panel.click('row:Key');
    await panel.setField('Intensity', '50');
    await panel.ok();
    const cli = t.host.run([], { script: 'click "Key"\nintensity 50\nok\n' });
    same(await page.commands(), cli.stdout, 'the commands pane against vantorel-host\'s stdout');
    check(cli.stdout.includes('LightIntensity 0.500000'), 'vantorel-host sent no LightIntensity 0.5: ' + cli.stdout);
    same(await page.transcript(), transcriptOf(cli.stderr), 'the transcript against vantorel-host\'s stderr');
    same((await page.rows())[0][2], '50.0%', 'Key\'s intensity in the table after OK');
    // The built-in scene has no file: Save is not offered, and the page says why.
    check(await page.button('Save scene').isDisabled(), 'Save scene is offered for the built-in scene');
    check(/no file to save to/.test(await page.text('#save-note')), 'no note says why the built-in scene cannot be saved');
  },

  // A session by real input on the built-in scene and, when they are there,
  // on a real scene, whose download must be --save's bytes.
  async 'by-hand'(t) {
    const page = await t.open('?zoom=1');
    await byHand(t, page, null);
    if (!fs.existsSync(shared)) {
      console.log('by-hand: ' + shared + ' is absent; the session ran on the built-in scene only');
      return;
    }
    const scene = path.join(shared, 'light-study-01.lws');
    const real = await t.open('?zoom=1');
    await real.openScene(scene);
    const script = await byHand(t, real, scene);
    const out = path.join(scratch, 'by-hand-saved.lws');
    const saved = t.host.run(['--scene', scene, '--save', out], { script });
    same(saved.status, 0, 'vantorel-host --save (' + saved.stderr + ')');
    const d = await real.download(() => real.button('Save scene').click());
    check(d.bytes.equals(fs.readFileSync(out)), 'the downloaded scene differs from what --save writes');
  },

  // A committed scene file (CRLF, LWSC 8, animated values) through "Open scene…".
  async fixture(t) {
    const page = await t.open();
    const scene = path.join(fixtures, 'v8-crlf.lws');
    await page.openScene(scene);
    check((await page.message()).startsWith('Opened v8-crlf.lws: LWSC 8, 3 lights.'), 'open message: ' + await page.message());
    await editAndSave(t, page, scene);
  },

  // The real scenes, one after the other in one page, through "Open scene…".
  async 'real-scenes'(t) {
    if (!fs.existsSync(shared)) throw { skip: shared + ' is absent (set VANTOREL_SHARED_SCENES to the real scenes)' };
    const scenes = fs.readdirSync(shared).filter((f) => f.endsWith('.lws')).sort();
    check(scenes.length > 0, 'no .lws file in ' + shared);
    const page = await t.open();
    for (const f of scenes) {
      await page.openScene(path.join(shared, f));
      check((await page.message()).startsWith('Opened ' + f), f + ': ' + await page.message());
      await editAndSave(t, page, path.join(shared, f));
    }
  },

  // A dropped file opens as a picked one does.
  async drop(t) {
    const page = await t.open();
    const scene = path.join(fixtures, 'v5.lws');
    await page.dropScene(scene);
    check((await page.message()).startsWith('Opened v5.lws'), 'after the drop: ' + await page.message());
    checkRows(await page.rows(), expectedRows(t.host, scene), 'v5.lws dropped');
  },

  // At ?zoom=1 the canvas holds the picture the host writes, pixel for
  // pixel: the top W x H of the canvas (below it the window's status line)
  // against a snapshot of the same state, RGBA (the picture has no alpha:
  // 255 on both sides).
  async pixels(t) {
    const page = await t.open('?zoom=1');
    const points = t.host.points();
    const panel = await page.run(points);
    const steps = [
      ['click "Fill"', () => panel.click('row:Fill')],
      ['lighttype Area', () => panel.click('lighttype.4')],
      ['shadow ShadowMap', () => panel.click('shadow.2')],
    ];
    let script = '';
    const shown = [];
    for (const [i, [action, act]] of steps.entries()) {
      await act();
      shown.push(await panel.pixels());
      script += action + '\nsnapshot ' + path.join(scratch, 'snap-' + i + '.png') + '\n';
    }
    await panel.cancel();
    const cli = t.host.run([], { script: script + 'cancel\n' });
    same(cli.status, 0, 'vantorel-host with snapshots (' + cli.stderr + ')');
    for (const [i, [action]] of steps.entries()) {
      const want = readPng(path.join(scratch, 'snap-' + i + '.png'));
      const got = shown[i];
      same(got.width, want.width, 'after ' + action + ': the canvas width against the picture');
      check(got.height >= want.height, 'after ' + action + ': the canvas is lower than the picture');
      let differ = 0, firstAt = '';
      for (let k = 0; k < want.rgba.length; ++k) {
        if (got.rgba[k] !== want.rgba[k]) {
          if (!differ++) firstAt = 'pixel (' + ((k >> 2) % want.width) + ', ' + Math.floor((k >> 2) / want.width) + ')';
        }
      }
      same(differ, 0, 'after ' + action + ': canvas bytes that differ from the snapshot (first at ' + firstAt + ')');
    }
  },

  // ?zoom=2: the canvas keeps the picture's own pixels and CSS shows each
  // as 2 x 2, unsmoothed.
  async zoom(t) {
    const page = await t.open('?zoom=2');
    await page.run(t.host.points());
    const seen = await page.page.locator('#panel').evaluate((c) => ({
      width: c.width, css: c.getBoundingClientRect().width, rendering: getComputedStyle(c).imageRendering,
      zoom: c.dataset.zoom,
    }));
    same(seen.width, t.host.points().get('size').x, 'the canvas width at ?zoom=2');
    same(seen.css, seen.width * 2, 'the canvas\'s CSS width at ?zoom=2');
    same(seen.rendering, 'pixelated', 'the canvas\'s image-rendering');
    const bad = await t.open('?zoom=9');
    check((await bad.message()).includes('?zoom=9 is not a whole number from 1 to 8'), 'no word on ?zoom=9: ' + await bad.message());
  },

  // Cancel, and Escape with no field being edited, send nothing and change
  // nothing; Escape while a field is edited only drops the edit.
  async 'cancel-escape'(t) {
    const page = await t.open();
    const scene = path.join(fixtures, 'v8.lws');
    await page.openScene(scene);
    const before = await page.rows();
    let panel = await page.run(t.host.points(scene));
    await panel.click('row:Sun');
    await panel.setField('Intensity', '5');
    await panel.cancel();
    same(await page.commands(), '', 'the commands pane after Cancel');
    same(await page.transcript(), 'result: 0\n', 'the transcript after Cancel');
    same(JSON.stringify(await page.rows()), JSON.stringify(before), 'the table after Cancel');
    check(/cancelled/.test(await page.text('#commands-caption')), 'the caption after Cancel: ' + await page.text('#commands-caption'));

    panel = await page.run(t.host.points(scene));
    await panel.click('row:Sun');
    await panel.click('Intensity');
    await panel.type('7');
    await panel.press('Escape');  // drops the edit; the panel stays open
    check(await page.page.locator('#panel-box').isVisible(), 'Escape in a field closed the panel');
    await panel.press('Escape');
    await panel.closed();
    same(await page.commands(), '', 'the commands pane after Escape');
    same(JSON.stringify(await page.rows()), JSON.stringify(before), 'the table after Escape');
    const cli = t.host.run(['--scene', scene], { script: 'click "Sun"\nintensity 5\ncancel\n' });
    same(cli.stdout, '', 'vantorel-host\'s stdout after cancel');
    // Nothing to save: a save writes the file as it was read.
    const d = await page.download(() => page.button('Save scene').click());
    check(d.bytes.equals(fs.readFileSync(scene)), 'a save after Cancel changed the file');
  },

  // The plug-in stays loaded: what is copied in one run is pasted in the next.
  async 'copy-paste'(t) {
    const page = await t.open();
    const points = t.host.points();
    let panel = await page.run(points);
    await panel.click('row:Key');
    await panel.click('copy');
    await panel.ok();
    panel = await page.run(points);
    await panel.click('row:Fill');
    await panel.click('paste');
    await panel.ok();
    const cli = t.host.run([], { script: 'click "Key"\ncopy\nclick "Fill"\npaste\nok\n' });
    same(await page.commands(), cli.stdout, 'the second run\'s commands against one session that copies and pastes');
    // Every value but the limited range, which no Layout command sets.
    const rows = await page.rows();
    same(JSON.stringify(rows[1].slice(1, 6)), JSON.stringify(rows[0].slice(1, 6)), 'Fill\'s values after pasting Key\'s');
  },

  // A malformed or unreadable file: the command line's message, and the open scene stays.
  async malformed(t) {
    const page = await t.open();
    const good = path.join(fixtures, 'v8.lws');
    await page.openScene(good);
    const rows = await page.rows();
    const bad = path.join(fixtures, 'bad-number.lws');
    const cli = t.host.run(['--scene', 'bad-number.lws', '--list'], { cwd: fixtures });
    same(cli.status, 2, 'vantorel-host on a malformed scene');
    const error = lines(cli.stderr)[0];
    check(error.startsWith('bad-number.lws:7: error: '), 'vantorel-host\'s message: ' + cli.stderr);
    for (const open of [(f) => page.openScene(f), (f) => page.dropScene(f)]) {
      await open(bad);
      const message = await page.message();
      check(message.includes(error), 'the page\'s message lacks the command line\'s "' + error + '": ' + message);
      check(message.includes('v8.lws stays open'), 'the message does not say the open scene stays: ' + message);
      check(await page.page.locator('#message.error').count() === 1, 'the message is not shown as an error');
      same(JSON.stringify(await page.rows()), JSON.stringify(rows), 'the table after a malformed file');
      same(await page.text('#scene-name'), '(v8.lws)', 'the scene named after a malformed file');
      await page.openScene(good);  // the next attempt's message differs from this one
    }
    // Not a scene at all.
    const picture = path.join(repo, 'docs/panel.png');
    const notScene = t.host.run(['--scene', 'panel.png', '--list'], { cwd: path.dirname(picture) });
    await page.openScene(picture);
    check((await page.message()).includes(lines(notScene.stderr)[0]), 'a picture as a scene: ' + await page.message() +
      '\nvantorel-host: ' + notScene.stderr);
  },

  // Unsaved edits: leaving asks, opening another scene asks, and a save ends both.
  async unsaved(t) {
    const page = await t.open();
    const scene = path.join(fixtures, 'v8.lws');
    await page.openScene(scene);
    const panel = await page.run(t.host.points(scene));
    await panel.click('row:Sun');
    await panel.setField('Intensity', '5');
    await panel.ok();
    await page.openScene(path.join(fixtures, 'v5.lws'));
    check(await page.page.locator('#question-box').isVisible(), 'opening another scene with unsaved edits did not ask');
    check(/unsaved edit/.test(await page.text('#question')), 'the question: ' + await page.text('#question'));
    await page.button('Keep editing').click();
    same(await page.text('#scene-name'), '(v8.lws)', 'the scene after "Keep editing"');
    check((await page.rows())[0][2].startsWith('5.0%'), 'the edit after "Keep editing": ' + (await page.rows())[0][2]);

    let dialogs = 0;
    page.page.on('dialog', (d) => {
      if (d.type() === 'beforeunload') ++dialogs;
      d.dismiss();  // stay
    });
    await page.page.close({ runBeforeUnload: true });
    await page.page.waitForTimeout(300);
    same(dialogs, 1, 'beforeunload questions when leaving with unsaved edits');
    check(!page.page.isClosed(), 'the page closed although leaving was refused');

    await page.download(() => page.button('Save scene').click());
    await page.page.close({ runBeforeUnload: true });
    await page.page.waitForEvent('close', { timeout: 5000 }).catch(() => {});
    same(dialogs, 1, 'beforeunload questions after the save');
    check(page.page.isClosed(), 'the page did not close after the save');
  },

  // "Download recording": the last run by hand as a script that
  // vantorel-host --script replays with the same stdout.
  async recording(t) {
    const page = await t.open();
    check(await page.button('Download recording').isDisabled(), 'Download recording is offered before any run');
    const scene = path.join(fixtures, 'v8.lws');
    await page.openScene(scene);
    const panel = await page.run(t.host.points(scene));
    await panel.click('row:Bulb');
    await panel.setField('Intensity', '33');
    await panel.click('shadow.2');
    await panel.click('row:Key');
    await panel.click('copy');
    await panel.click('row:Sun');
    await panel.click('paste');
    await panel.ok();
    const d = await page.download(() => page.button('Download recording').click());
    same(d.name, 'v8-session-1.vts', 'the recording\'s file name');
    const file = path.join(scratch, d.name);
    fs.writeFileSync(file, d.bytes);
    const cli = t.host.run(['--scene', scene, '--script', file]);
    same(cli.status, 0, 'vantorel-host replaying the recording (' + cli.stderr + ')\n' + d.bytes);
    same(cli.stdout, await page.commands(), 'the replay\'s stdout against the commands pane');
    check(cli.stdout.includes('ShadowType 2'), 'the replay lost the shadow edit:\n' + d.bytes);
  },

  // "Run script…": a script file played on the open scene, with what the
  // command line shows for it: commands, transcript, exit status.
  async 'run-script'(t) {
    const page = await t.open();
    const scene = path.join(fixtures, 'v8.lws');
    await page.openScene(scene);
    const play = async (name, text) => {
      fs.writeFileSync(path.join(scratch, name), text);
      const before = await page.message();
      const [chooser] = await Promise.all([page.page.waitForEvent('filechooser'), page.button('Run script…').click()]);
      await chooser.setFiles(path.join(scratch, name));
      await page.page.waitForFunction((b) => document.getElementById('message').textContent !== b, before);
      const cli = t.host.run(['--scene', scene, '--script', name], { cwd: scratch });
      same(await page.commands(), cli.stdout, name + ': the commands pane against vantorel-host\'s stdout');
      const shownTranscript = await page.transcript();
      same(shownTranscript, lines(cli.stderr).filter((l) => !l.startsWith('vantorel-host: ')).map((l) => l + '\n').join(''),
        name + ': the transcript against vantorel-host\'s stderr');
      check((await page.text('#exit-status')).startsWith('Exit status ' + cli.status + ' '),
        name + ': exit status ' + cli.status + ', the page says: ' + await page.text('#exit-status'));
      return cli;
    };
    const failed = await play('check.vts', 'click Sun\nintensity 30\nok\nexpect field intensity 31\n');
    same(failed.status, 1, 'vantorel-host on a failing expectation');
    check((await page.rows())[0][2].startsWith('120.0%'), 'a failed script changed the table: ' + (await page.rows())[0][2]);
    const typo = await play('typo.vts', 'clik Sun\n');
    same(typo.status, 2, 'vantorel-host on a script it cannot read');
    const good = await play('edit.vts', 'click Sun\nintensity 30\nshadow Off\nok\n');
    same(good.status, 0, 'vantorel-host on a good script');
    check((await page.rows())[0][2].startsWith('30.0%'), 'the table after the script: ' + (await page.rows())[0][2]);
  },
  // Scenes with more lights than the table puts in at once: every row
  // comes, in order, once; a scene opened while the rows of the one before
  // are still coming in shows only its own; no cell's text is cut short.
  async 'big-table'(t) {
    const write = (name, n, label) => {
      const out = ['LWSC\n3\n\nFirstFrame 1\nLastFrame 60\n\n'];
      for (let i = 1; i <= n; ++i) {
        const lightName = i === 2 ? 'A much longer name than the others, WWW MMM ' + label : label + ' ' + i;
        out.push('AddLight\nLightName ' + lightName + '\nShowLight 1 5\nLightMotion\nNumChannels 1\nChannel 0\n' +
          '{ Envelope\n  1\n  Key 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n\nLightColor 1 0.9 0.8\nLightIntensity ' +
          (i % 7) * 0.5 + '\nLightType ' + (i % 5) + '\nShadowType ' + (i % 3) + '\nShadowColor 0 0 0\n\n');
      }
      const file = path.join(scratch, name);
      fs.writeFileSync(file, out.join(''));
      return file;
    };
    const first = write('first-20000.lws', 20000, 'Light');
    const second = write('second-2500.lws', 2500, 'Lamp');
    const page = await t.open();
    // The second dropped as soon as the first is open, while its rows still come.
    const busy = await page.page.evaluate(async (scenes) => {
      const drop = (s) => {
        const dt = new DataTransfer();
        dt.items.add(new File([s.text], s.name));
        window.dispatchEvent(new DragEvent('drop', { dataTransfer: dt, cancelable: true }));
      };
      const message = document.getElementById('message');
      const opened = (name) => new Promise((resolve) => new MutationObserver((_, o) => {
        if (!message.textContent.startsWith('Opened ' + name)) return;
        o.disconnect();
        resolve(document.getElementById('lights').hasAttribute('aria-busy'));
      }).observe(message, { childList: true, characterData: true, subtree: true }));
      const first = opened(scenes[0].name);
      drop(scenes[0]);
      const busy = await first;
      const second = opened(scenes[1].name);
      drop(scenes[1]);
      await second;
      return busy;
    }, [first, second].map((f) => ({ name: path.basename(f), text: fs.readFileSync(f, 'latin1') })));
    check(busy, 'the table of 20000 lights was complete at once: nothing to interrupt');
    checkRows(await page.rows(), expectedRows(t.host, second), 'second-2500.lws opened while the first filled');
    await page.openScene(first);
    const rows = await page.rows();
    same(rows.length, 20000, 'first-20000.lws: rows in the table');
    same(rows.map((r) => r[0]).filter((n, i) => n !== (i === 1 ? rows[1][0] : 'Light ' + (i + 1))).join(', '), '',
      'first-20000.lws: rows out of order or repeated');
    const cut = await page.page.locator('#lights tr').evaluateAll((trs) => trs.slice(0, 12).flatMap((tr) =>
      Array.from(tr.cells).filter((c) => c.scrollWidth > c.clientWidth).map((c) => c.textContent)));
    same(JSON.stringify(cut), '[]', 'cells whose text is cut short');
  },
};

main(cases);
