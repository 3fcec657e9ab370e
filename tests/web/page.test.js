// The browser page in headless Chromium: it shows what the window shows (pixel for pixel the
// native program's headless frames for the same seed and keys), keeps saves across a reload,
// carries save files in and out, refuses what cannot be a save, sits idle without using CPU,
// and says so where the browser lacks what the game needs or the program cannot be fetched; a browser
// without workers plays the same.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const h = require('./harness.js');

const SEED = 7;
const CREATION = 'nTARO{Enter}';  // the hero named, the first roll shown
const TOWN = `${CREATION}Y++x-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYx`;  // saved on drive C
const LABYRINTH = `${TOWN}M{Up}`;  // into the labyrinth and one step ahead
// Back up the stairs to the town, a night at the inn (10 gold) and the diary saved on drive C.
const SAVED_AT_INN = `${LABYRINTH}{Down}{Up}UIYYCYxx`;
const LOAD = 'LCYx';  // from the title: load from drive C, then the character sheet
const LOAD_TRAP_MESSAGE = 'デバイスもしくはセーブファイルが見つかりませんでした';

let session;
let work;

before(async () => {
  assert.ok(fs.existsSync(path.join(h.PAGE_DIR, 'kestran.wasm')), `no page built in ${h.PAGE_DIR}`);
  assert.ok(fs.existsSync(h.NATIVE), `no native program at ${h.NATIVE}`);
  session = await h.launch();
  work = h.temporaryFolder('kestran-web-test-');
});

after(async () => {
  if (session) await session.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

// The canvas against the native program's PNG of the same run; both kept for a look on failure.
async function assertSameFrame(page, keys, name, drives = path.join(work, name, 'drives')) {
  fs.mkdirSync(drives, { recursive: true });
  const expected = h.readPng(h.nativeRun(SEED, keys, drives, `${name}.png`));
  const actual = await h.canvasPixels(page);
  const difference = h.pictureDifference(actual, expected);
  if (difference) h.writePng(path.join(drives, '..', `${name}-page.png`), actual);
  assert.equal(difference, null, `${name}: the page differs from the headless frame (${work})`);
  await h.screenshot(page, name);
}

test('the canvas equals the headless frames: title, creation, town, a step into the labyrinth; the save survives a reload', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  await assertSameFrame(page, '', 'title');
  await h.typeKeys(page, CREATION);
  await assertSameFrame(page, CREATION, 'creation');
  await h.typeKeys(page, TOWN.slice(CREATION.length));
  await assertSameFrame(page, TOWN, 'town');
  await h.typeKeys(page, LABYRINTH.slice(TOWN.length));
  await assertSameFrame(page, LABYRINTH, 'labyrinth');
  await h.typeKeys(page, SAVED_AT_INN.slice(LABYRINTH.length));
  const drives = path.join(work, 'game', 'drives');
  await assertSameFrame(page, SAVED_AT_INN, 'saved-at-inn', drives);

  // The save is the native program's, byte for byte, and the page hands it out.
  const saved = await h.downloadSave(page);
  assert.ok(saved.bytes, `no save downloaded: ${saved.status}`);
  assert.deepEqual(saved.bytes, fs.readFileSync(path.join(drives, 'C', 'KSSAVE')));

  // A reload starts the program again, and the hero loads back from the browser's storage as
  // the inn left it.
  await page.reload();
  await h.waitForProgram(page);
  await h.typeKeys(page, LOAD);
  assert.match(await h.screenText(page), /TARO[^]*1990 G/);
  await assertSameFrame(page, LOAD, 'loaded', drives);
  await game.close();
});

test('text from an input method, and typed without a key press, enters as Shift-JIS as in the window', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  await h.typeKeys(page, 'n');  // the name entry: text input is on
  const cdp = await page.createCDPSession();
  await cdp.send('Input.imeSetComposition', { text: 'たろう', selectionStart: 3, selectionEnd: 3 });
  assert.equal(await page.$eval('#ime', (ime) => ime.classList.contains('composing')), true);
  await h.screenshot(page, 'composing');
  await cdp.send('Input.insertText', { text: '太郎' });  // the composition committed
  await h.waitForProgram(page);
  await page.keyboard.sendCharacter('ｱ');  // as a virtual keyboard or a dead key gives it
  await h.waitForProgram(page);
  await h.typeKeys(page, '{Enter}');
  await assertSameFrame(page, 'n太郎ｱ{Enter}', 'input-method');
  await game.close();
});

test('an upload of a damaged save is taken, and loading it shows the load trap\'s message', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  const damaged = path.join(work, 'damaged-save');
  fs.writeFileSync(damaged, 'this is no save\r\n\x1A');
  const status = await h.uploadFile(page, 'upload', damaged);
  assert.equal(status.error, false, status.text);
  assert.match(status.text, /^damaged-save はドライブ C の KSSAVE になりました: タイトル画面の \(L\) で読み込めます。$/);
  await h.typeKeys(page, 'LCY');
  assert.match(await h.screenText(page), new RegExp(LOAD_TRAP_MESSAGE));
  await h.screenshot(page, 'damaged-upload');
  await game.close();
});

test('an upload larger than a save can be is refused with a message and changes nothing', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  const good = path.join(work, 'good-save');
  fs.writeFileSync(good, 'first\r\n');
  assert.equal((await h.uploadFile(page, 'upload', good)).error, false);

  const large = path.join(work, 'large-save');
  fs.writeFileSync(large, Buffer.alloc((1 << 20) + 1, 0x41));
  page.on('dialog', (dialog) => dialog.accept());  // should the page ask to replace the save: yes
  const status = await h.uploadFile(page, 'upload', large);
  assert.equal(status.error, true);
  assert.match(status.text, /^large-save は 1 MiB より大きいのでセーブファイルではありません。何も変更しませんでした。$/);
  const kept = await h.downloadSave(page);
  assert.deepEqual(kept.bytes, fs.readFileSync(good));
  await game.close();
});

test('a drive without a save says so when its save is asked for', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  const none = await h.downloadSave(page);
  assert.equal(none.bytes, null);
  assert.match(none.status, /ドライブ C に KSSAVE はありません。/);
  await game.close();
});

test('a predecessor save uploaded is converted by the game', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  const predecessor = path.join(work, 'VELDSAVE');
  fs.writeFileSync(predecessor, 'not a save either');
  const status = await h.uploadFile(page, 'upload-old', predecessor);
  assert.match(status.text, /^VELDSAVE はドライブ C の VELDSAVE になりました: タイトル画面の \(D\) でコンバートできます。$/);
  // The game reads it (and finds it damaged): the upload reached the file the game converts.
  await h.typeKeys(page, 'DCY');
  assert.match(await h.screenText(page), new RegExp(LOAD_TRAP_MESSAGE));
  await game.close();
});

test('an idle page uses no CPU while the game waits for a key', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  const cdp = await page.createCDPSession();
  await cdp.send('Performance.enable');
  const busy = async () => {
    const { metrics } = await cdp.send('Performance.getMetrics');
    return metrics.find((m) => m.name === 'TaskDuration').value;
  };
  await new Promise((r) => setTimeout(r, 1000));  // the start's last work done
  const start = await busy();
  const idleSeconds = 3;
  await new Promise((r) => setTimeout(r, idleSeconds * 1000));
  const spent = (await busy()) - start;
  console.log(`idle page: ${(spent * 1000).toFixed(1)} ms of main-thread work in ${idleSeconds} s`);
  assert.ok(spent < 0.03 * idleSeconds, `the idle page worked ${spent} s in ${idleSeconds} s`);
  await game.close();
});

test('Ctrl+C breaks off the game as in the window, and the page says the game has ended', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  await h.typeKeys(page, '{Ctrl-C}');
  await assertSameFrame(page, '{Ctrl-C}', 'break');
  await h.typeKeys(page, 'x');
  const status = await h.pageStatus(page);
  assert.equal(status.ended, true);
  assert.match(await page.$eval('#notice', (n) => n.textContent), /ゲームが終了しました/);
  await game.close();
});

test('a browser without what the game needs is told so', async () => {
  const game = await h.openGame(session, SEED, {
    expectRunning: false,
    beforeLoad: (p) => p.evaluateOnNewDocument(() => { delete window.DecompressionStream; }),
  });
  const { page } = game;
  await page.waitForFunction(() => /ゲームに必要な機能がありません/.test(document.getElementById('notice').textContent));
  assert.match(await page.$eval('#notice', (n) => n.textContent), /必要な機能がありません: DecompressionStream。最新の/);
  await h.screenshot(page, 'missing-feature');
  await game.close();
});

test('a browser without workers fetches the program on the page, and plays the same', async () => {
  const game = await h.openGame(session, SEED, {
    beforeLoad: (p) => p.evaluateOnNewDocument(() => { delete window.Worker; }),
  });
  await h.typeKeys(game.page, CREATION);
  await assertSameFrame(game.page, CREATION, 'no-worker');
  await game.close();
});

test('a page whose program cannot be fetched says so instead of waiting', async () => {
  const pageDir = path.join(work, 'no-program');
  fs.cpSync(h.PAGE_DIR, pageDir, { recursive: true });
  for (const suffix of ['', '.br', '.gz']) fs.rmSync(path.join(pageDir, `kestran.wasm${suffix}`), { force: true });
  const broken = await h.launch(pageDir);
  try {
    const game = await h.openGame(broken, SEED, { expectRunning: false });
    await game.page.waitForFunction(() => /kestran\.wasm: HTTP 404/.test(document.getElementById('notice').textContent));
    await game.close();
  } finally {
    await broken.close();
  }
});
