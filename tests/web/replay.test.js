// Recordings in the page: a #replay= link plays its game with the controls and hands it over on
// the native program's frame for the same keys; the session's recording, downloaded, replays
// headless to the page's screen, and its link plays the same game in a fresh browser context; a
// damaged link or a foreign file is refused with a message and changes nothing.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const h = require('./harness.js');

const SEED = 7;
const TOWN = 'nTARO{Enter}Y++x-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYx';  // saved on drive C
const LABYRINTH = `${TOWN}M{Up}{Right}`;

let session;
let work;

before(async () => {
  assert.ok(fs.existsSync(path.join(h.PAGE_DIR, 'kestran.wasm')), `no page built in ${h.PAGE_DIR}`);
  session = await h.launch();
  work = h.temporaryFolder('kestran-replay-test-');
});

after(async () => {
  if (session) await session.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

const { replayHash } = h;

async function watchState(page) {
  return page.$eval('#replay', (r) => (r.hidden ? null : document.getElementById('replay-state').textContent));
}

async function waitForState(page, pattern) {
  await page.waitForFunction((source) => {
    const r = document.getElementById('replay');
    return !r.hidden && new RegExp(source).test(document.getElementById('replay-state').textContent);
  }, { timeout: 30000 }, pattern.source);
}

async function control(page, key) {
  await page.click(`#replay button[data-key="${key}"]`);
}

// Waits until the player has the game: the controls gone, the program waiting for a key.
async function waitForTakeOver(page) {
  await page.waitForFunction(() => document.getElementById('replay').hidden, { timeout: 60000 });
  await h.waitForProgram(page);
}

async function statusLine(page) {
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
  return page.$eval('#status', (s) => ({ text: s.textContent, error: s.classList.contains('error') }));
}

function assertSamePicture(actual, expected, name) {
  const difference = h.pictureDifference(actual, expected);
  if (difference) h.writePng(path.join(work, `${name}-page.png`), actual);
  assert.equal(difference, null, `${name}: the canvas differs (${work})`);
}

test('a #replay= link plays with pause, step, back and speed, then hands over on the headless frame', async () => {
  const game = await h.openGame(session, 99, { hash: replayHash(`#seed ${SEED}\n${TOWN}`) });
  const { page } = game;
  await waitForState(page, /^キー \d+\/24 を再生中 \(毎秒 8 キー\)$/);
  await control(page, ' ');
  await waitForState(page, /一時停止中$/);
  const typed = Number((await watchState(page)).match(/キー (\d+)\//)[1]);
  await control(page, '{Right}');
  await control(page, '{Right}');
  await waitForState(page, new RegExp(`キー ${typed + 2}/24 で一時停止中`));
  await control(page, '{Left}');  // the game starts again and replays to there
  await waitForState(page, new RegExp(`キー ${typed + 1}/24 で一時停止中`));
  for (let i = 0; i < 3; ++i) await control(page, '+');
  await control(page, ' ');
  await waitForState(page, /毎秒 64 キー\)$/);
  await h.screenshot(page, 'replay-watching');
  await waitForTakeOver(page);
  const drives = path.join(work, 'link', 'drives');
  fs.mkdirSync(drives, { recursive: true });
  assertSamePicture(await h.canvasPixels(page), h.readPng(h.nativeRun(SEED, TOWN, drives, 'link.png')), 'link');
  assert.match((await statusLine(page)).text, /ここから続きを遊べます/);
  // The watched game saved on drive C, in a copy: the browser's storage has no save.
  assert.equal((await h.downloadSave(page)).bytes, null);
  await game.close();
});

test('a watched recording is read out as it plays, not only where it stops', async () => {
  const game = await h.openGame(session, 98, { hash: replayHash(`#seed ${SEED}\n${TOWN}`) });
  const { page } = game;
  await waitForTakeOver(page);
  // The bonus screen came and went at full speed, never at a wait without a time limit.
  assert.match(await page.$eval('#reader-log', (log) => log.textContent), /ボーナスポイントを振り分けて下さい/);
  await game.close();
});

test('the session\'s recording replays headless to the page\'s screen, and its link plays the same game afresh', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  await h.typeKeys(page, LABYRINTH);
  await page.click('[data-action="save-recording"]');
  let file = null;
  for (let i = 0; i < 1500 && !file; ++i) {  // up to 30 s on a machine loaded by the other tests
    // The name comes before the bytes: the download is taken once it holds them.
    file = fs.readdirSync(page.downloads)
      .find((name) => name.endsWith('.keys') && fs.statSync(path.join(page.downloads, name)).size > 0);
    if (!file) await new Promise((r) => setTimeout(r, 20));
  }
  assert.ok(file, 'no recording downloaded');
  const recording = path.join(page.downloads, file);
  assert.match(fs.readFileSync(recording, 'utf8'), new RegExp(`^#seed ${SEED}\n`));
  const dump = path.join(work, 'recorded.txt');
  execFileSync(h.NATIVE, ['--backend=headless', `--keys-file=${recording}`, `--drives=${path.join(work, 'recorded')}`,
    `--dump-text=${dump}`], { stdio: ['ignore', 'ignore', 'inherit'] });
  const rowsWithText = fs.readFileSync(dump, 'utf8').split('\n').filter((row) => row !== '').join('\n');
  assert.equal(rowsWithText, await h.screenText(page));
  const played = await h.canvasPixels(page);

  await page.click('[data-action="share-recording"]');
  await page.waitForFunction(() => !document.getElementById('share-link').hidden);
  const link = await page.$eval('#share-link', (field) => field.value);
  assert.ok(link.startsWith(session.url) && link.includes('#replay='), link);
  await game.close();

  const context = await session.browser.createBrowserContext();
  const fresh = await context.newPage();
  await fresh.setViewport({ width: 1400, height: 1100 });
  await fresh.goto(link);
  // An English browser that chose no language: the page's texts are English, whatever the
  // recording's language.
  await waitForState(fresh, /^watching key/);
  await control(fresh, '{End}');
  await waitForTakeOver(fresh);
  assertSamePicture(await h.canvasPixels(fresh), played, 'shared');
  await context.close();
});

test('a damaged link, a link without a seed and a foreign file are refused, and the game goes on as it was', async () => {
  for (const [hash, message] of [
    ['#replay=AAAA', /^リンクの記録を読めません: データが壊れています。ゲームはいつもどおり始まります。$/],
    ['#replay=%%%', /^リンクの記録を読めません: base64url ではありません。/],
    [replayHash('NCARL{Enter}'), /^リンクの記録は見られません: 始めに '#seed N' の行がありません。/],
    [replayHash('#seed 1\nNCARL').replace(/\.(.)/, (_, c) => '.' + (c === 'A' ? 'B' : 'A')),
      /^リンクの記録を読めません: データが壊れています \(チェックサムが一致しません\)。/],
    [replayHash(`#seed 1\n{Nonsense}`), /^リンクの記録は見られません: キースクリプト 2 行目: 知らないキー名 \{Nonsense\}。/],
  ]) {
    const game = await h.openGame(session, SEED, { hash });
    const { page } = game;
    const said = await statusLine(page);
    assert.equal(said.error, true, said.text);
    assert.match(said.text, message);
    assert.equal(await watchState(page), null);
    assert.equal(await page.evaluate(() => location.hash), '');
    const drives = path.join(work, 'refused', 'drives');
    fs.mkdirSync(drives, { recursive: true });
    assertSamePicture(await h.canvasPixels(page), h.readPng(h.nativeRun(SEED, '', drives, 'title.png')), 'refused');
    await game.close();
  }

  const game = await h.openGame(session, SEED);
  const { page } = game;
  await h.typeKeys(page, 'nTARO{Enter}');
  const before = await h.screenText(page);
  const picture = path.join(work, 'picture.keys');
  fs.writeFileSync(picture, Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0xff, 0x00]));
  const seedless = path.join(work, 'seedless.keys');
  fs.writeFileSync(seedless, 'nTARO{Enter}\n');
  for (const [file, message] of [[picture, /^picture.keys は記録ではありません: テキストではありません。/],
    [seedless, /^seedless.keys は見られません: 始めに '#seed N' の行がありません。/]]) {
    await page.evaluate(() => { document.getElementById('status').textContent = ''; });
    const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('[data-action="open-recording"]')]);
    await chooser.accept([file]);
    const said = await statusLine(page);
    assert.match(said.text, message);
    assert.match(said.text, /何も変更しませんでした。$/);
  }
  await h.waitForProgram(page);
  assert.equal(await h.screenText(page), before);
  await game.close();
});
