// What the browser tests share: the page served on 127.0.0.1, Debian's Chromium driven headless
// through puppeteer-core, key scripts typed into the page one key at a time (as the headless
// backend types them), the canvas read back, and the native program's headless runs that the
// page is compared with.
'use strict';

const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { PNG } = require('pngjs');
const puppeteer = require('puppeteer-core');
const { startServer } = require('../../scripts/web_server.js');

const REPO = path.resolve(__dirname, '../..');
const PAGE_DIR = process.env.KESTRAN_PAGE_DIR || path.join(REPO, 'build/web/page');
const NATIVE = process.env.KESTRAN_NATIVE || path.join(REPO, 'build/debug/src/kestran');
// Where page screenshots are written for a person to look at, when set.
const SHOTS = process.env.KESTRAN_WEB_SHOTS || '';

function temporaryFolder(prefix) {
  return fs.mkdtempSync(path.join(os.tmpdir(), prefix));
}

// --- the browser ---

async function launch(pageDir = PAGE_DIR) {
  const { server, url } = await startServer(pageDir, 0);
  const profile = temporaryFolder('kestran-chromium-');
  // Over a pipe rather than a socket: the browser ends when the pipe closes, so it goes with a
  // test process that is killed, as it goes with one that ends.
  const browser = await puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    pipe: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--user-data-dir=${profile}`],
  });
  return {
    url,
    browser,
    server,
    // Stops serving the page at once, open connections too, as a network that goes away.
    stopServer() {
      server.close();
      server.closeAllConnections();
    },
    async close() {
      await browser.close();
      this.stopServer();
      fs.rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Answers the page's question before it is left with unsaved progress (a reload in a test is
// meant); `page.leavingAsked` counts the questions.
function acceptLeaving(page) {
  page.leavingAsked = 0;
  page.on('dialog', (dialog) => {
    if (dialog.type() === 'beforeunload') ++page.leavingAsked;
    dialog.accept();
  });
}

// A page in a browser context of its own (storage and download folder of its own), opened at
// the game with `seed` (and the address's fragment `options.hash`, when given), in the game's
// language `options.language` ('ja' unless given; null: none chosen, the browser's).
async function openGame(session, seed, options = {}) {
  const downloads = temporaryFolder('kestran-download-');
  const context = await session.browser.createBrowserContext({
    downloadBehavior: { policy: 'allow', downloadPath: downloads },
  });
  const page = await context.newPage();
  acceptLeaving(page);
  page.downloads = downloads;
  await page.setViewport({ width: 1400, height: 1100 });  // the screen at twice its size
  page.on('pageerror', (e) => console.error('page error:', e.message));
  if (options.language !== null) await chooseLanguage(page, options.language || 'ja');
  if (options.beforeLoad) await options.beforeLoad(page);
  await page.goto(`${session.url}?seed=${seed}${options.hash || ''}`);
  if (options.expectRunning !== false) await waitForProgram(page);
  return {
    page,
    async close() {
      await context.close();
      fs.rmSync(downloads, { recursive: true, force: true });
    },
  };
}

// The game's language as the page's language control would have chosen it (remembered in the
// browser's storage), whatever the machine's locale; the page's own texts follow it too.
function chooseLanguage(page, language) {
  return page.evaluateOnNewDocument((code) => localStorage.setItem('kestran-language', code), language);
}

// A page in a browser context of its own as a phone shows it (puppeteer's device `device`, with
// touch), opened at the game with `seed`.
async function openPhone(session, seed, device = 'Pixel 5') {
  const context = await session.browser.createBrowserContext();
  const page = await context.newPage();
  acceptLeaving(page);
  page.on('pageerror', (e) => console.error('page error:', e.message));
  await page.emulate(puppeteer.KnownDevices[device]);
  await chooseLanguage(page, 'ja');
  await page.goto(`${session.url}?seed=${seed}`);
  await waitForProgram(page);
  return { page, context, close: () => context.close() };
}

// The keys ignore taps for this long after they change, as a player's would-be taps on the
// screen before.
const SETTLE_MS = 160;

// Taps the on-screen key that types `key` (key-script notation) with a finger once the keys have
// settled, and waits until the program waits again. Fails when the screen offers no such key.
async function tapKey(page, key) {
  await new Promise((r) => setTimeout(r, SETTLE_MS));
  await tap(page, `#touch-keys button[data-key=${JSON.stringify(key)}]`);
  await waitForProgram(page);
}

async function tap(page, selector) {
  const button = await page.$(selector);
  const box = button && (await button.boundingBox());
  if (!box) throw new Error(`no ${selector} in sight on this screen:\n${(await pageStatus(page)).screenText}`);
  await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
}

async function pageStatus(page) {
  return page.evaluate(() => window.kestranStatus());
}

// Waits until the program waits for a key (or has ended), seen twice in a row.
async function waitForProgram(page, timeoutMs = 30000) {
  const end = Date.now() + timeoutMs;
  let calm = 0;
  while (Date.now() < end) {
    const s = await page.evaluate(() => window.kestranStatus && window.kestranStatus());
    calm = s && (s.waiting || s.ended) ? calm + 1 : 0;
    if (calm >= 2) return s;
    await new Promise((r) => setTimeout(r, 20));
  }
  throw new Error('the program did not come to wait for a key');
}

// --- key scripts ---

const NAMED_KEYS = {
  enter: 'Enter', esc: 'Escape', bs: 'Backspace', tab: 'Tab', del: 'Delete', ins: 'Insert',
  up: 'ArrowUp', down: 'ArrowDown', left: 'ArrowLeft', right: 'ArrowRight', home: 'Home', end: 'End',
  pgup: 'PageUp', pgdn: 'PageDown',
};
for (let n = 1; n <= 12; ++n) NAMED_KEYS[`f${n}`] = `F${n}`;

// The keys of a script in the headless backend's notation (the subset the tests type), each a
// puppeteer key name, or 'Ctrl-C'.
function parseKeys(script) {
  const keys = [];
  for (let i = 0; i < script.length; ++i) {
    const c = script[i];
    if (c === '\n') continue;
    if (c !== '{') {
      keys.push(c);
      continue;
    }
    if (script[i + 1] === '{') {
      keys.push('{');
      ++i;
      continue;
    }
    const close = script.indexOf('}', i);
    const name = script.slice(i + 1, close).toLowerCase();
    if (name === 'ctrl-c') keys.push('Ctrl-C');
    else if (NAMED_KEYS[name]) keys.push(NAMED_KEYS[name]);
    else throw new Error(`the tests cannot type {${name}}`);
    i = close;
  }
  return keys;
}

// Types a script as a player would, waiting after each key until the program waits again.
async function typeKeys(page, script) {
  for (const key of parseKeys(script)) {
    if (key === 'Ctrl-C') {
      await page.keyboard.down('Control');
      await page.keyboard.press('c');
      await page.keyboard.up('Control');
    } else {
      await page.keyboard.press(key);
    }
    await waitForProgram(page);
  }
}

async function screenText(page) {
  return (await pageStatus(page)).screenText;
}

// --- pictures ---

// The frame's pixels as the canvas shows them: RGBA, 640 x 432. The canvas holds the frame at a
// whole-number multiple; each square of that many pixels must be of one colour.
async function canvasPixels(page) {
  const base64 = await page.evaluate(() => {
    const canvas = document.getElementById('canvas');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    let text = '';
    for (let i = 0; i < data.length; i += 0x8000) text += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
    return JSON.stringify({ width: canvas.width, height: canvas.height, multiple: window.kestranStatus().multiple,
      data: btoa(text) });
  });
  const { width, height, multiple, data } = JSON.parse(base64);
  return reduceMultiple({ width, height, data: Buffer.from(data, 'base64') }, multiple);
}

function reduceMultiple(picture, multiple) {
  if (multiple === 1) return picture;
  const width = picture.width / multiple;
  const height = picture.height / multiple;
  const data = Buffer.alloc(width * height * 4);
  for (let y = 0; y < picture.height; ++y) {
    for (let x = 0; x < picture.width; ++x) {
      const from = (y * picture.width + x) * 4;
      const to = (Math.floor(y / multiple) * width + Math.floor(x / multiple)) * 4;
      const first = x % multiple === 0 && y % multiple === 0;
      for (let c = 0; c < 4; ++c) {
        if (first) data[to + c] = picture.data[from + c];
        else if (data[to + c] !== picture.data[from + c]) throw new Error(`the canvas's pixel (${x}, ${y}) is not a whole square`);
      }
    }
  }
  return { width, height, data };
}

function readPng(file) {
  const png = PNG.sync.read(fs.readFileSync(file));
  return { width: png.width, height: png.height, data: png.data };
}

function writePng(file, picture) {
  const png = new PNG({ width: picture.width, height: picture.height });
  picture.data.copy(png.data);
  fs.writeFileSync(file, PNG.sync.write(png));
}

// Compares RGB, pixel for pixel. Null when equal, else what differs.
function pictureDifference(actual, expected) {
  if (actual.width !== expected.width || actual.height !== expected.height) {
    return `size ${actual.width}x${actual.height}, expected ${expected.width}x${expected.height}`;
  }
  let count = 0;
  let first = null;
  for (let i = 0; i < actual.data.length; i += 4) {
    if (actual.data[i] !== expected.data[i] || actual.data[i + 1] !== expected.data[i + 1] ||
        actual.data[i + 2] !== expected.data[i + 2]) {
      ++count;
      if (!first) first = `(${(i / 4) % actual.width}, ${Math.floor(i / 4 / actual.width)})`;
    }
  }
  return count ? `${count} pixels differ, the first at ${first}` : null;
}

async function screenshot(page, name) {
  if (!SHOTS) return;
  fs.mkdirSync(SHOTS, { recursive: true });
  await page.screenshot({ path: path.join(SHOTS, `${name}.png`) });
}

// --- the native program ---

// Runs the native program headless with `seed` and `keys` on the drive folders under `drives`;
// returns the path of the PNG of its last screen.
function nativeRun(seed, keys, drives, pngName = 'screen.png') {
  const png = path.join(drives, '..', pngName);
  execFileSync(NATIVE, ['--backend=headless', `--seed=${seed}`, `--drives=${drives}`, `--keys=${keys}`,
    `--dump-png=${png}`], { stdio: ['ignore', 'ignore', 'inherit'] });
  return png;
}

// The address fragment of a link that plays `script`: raw-deflated, base64url, and the CRC-32
// of the text.
function replayHash(script) {
  const text = Buffer.from(script, 'utf8');
  const sum = Buffer.alloc(4);
  sum.writeUInt32BE(zlib.crc32(text));
  return '#replay=' + zlib.deflateRawSync(text).toString('base64url') + '.' + sum.toString('base64url');
}

// --- the page's buttons ---

async function uploadFile(page, buttonId, file) {
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click(`#${buttonId}`)]);
  await chooser.accept([file]);
  await page.waitForFunction(() => document.getElementById('status').textContent !== '');
  return page.evaluate(() => {
    const status = document.getElementById('status');
    return { text: status.textContent, error: status.classList.contains('error') };
  });
}

// Clicks the download button; resolves with the bytes of the file the browser saved (null when
// none came) and the page's message.
async function downloadSave(page) {
  const file = path.join(page.downloads, 'KSSAVE');
  fs.rmSync(file, { force: true });
  await page.evaluate(() => { document.getElementById('status').textContent = ''; });
  await page.click('#download');
  const status = await page.evaluate(() => document.getElementById('status').textContent);
  const ok = !/There is no|はありません/.test(status);
  return { bytes: ok ? await downloaded(file) : null, status };
}

// The bytes of a file the browser downloads, once it has written them; null after five seconds.
async function downloaded(file) {
  const written = () => fs.existsSync(file) && fs.statSync(file).size > 0;
  for (let i = 0; i < 250 && !written(); ++i) await new Promise((r) => setTimeout(r, 20));
  return written() ? fs.readFileSync(file) : null;
}

module.exports = {
  NATIVE, PAGE_DIR, temporaryFolder, launch, openGame, openPhone, chooseLanguage, tapKey, tap, pageStatus, waitForProgram, parseKeys, typeKeys,
  screenText, canvasPixels, readPng, writePng, pictureDifference, screenshot, nativeRun, uploadFile,
  downloadSave, downloaded, replayHash, acceptLeaving,
};
