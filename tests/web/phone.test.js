// The page on a phone (headless Chromium emulating one, with touch): a new player plays by taps
// and the phone's own keyboard from the title into the labyrinth, the canvas being the native
// program's frame for the same keys; the layouts fit portrait and landscape; the page installs,
// starts again with no network and finds the hero saved; a new build is offered between games.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const h = require('./harness.js');

const SEED = 7;
// The keys the taps below type, for the native program.
const WALK = 'Nケン{Enter}Y++-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCY{Enter}M{Up}';
const AFTER_NAME = ['Y', '+', '+', '-', '+', '{Enter}', '{Enter}', '{Enter}', '{Enter}', '{Enter}', '{Enter}', '{Enter}',
  'Y', 'Y', 'C', 'Y', '{Enter}', 'M', '{Up}'];

let session;
let work;
let phone;  // the page the walk leaves in the labyrinth, for the layouts and the offline start

before(async () => {
  session = await h.launch();
  work = h.temporaryFolder('kestran-phone-test-');
});

after(async () => {
  if (phone) await phone.close();
  if (session) await session.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

async function shot(page, name) {
  const file = path.join(process.env.KESTRAN_WEB_SHOTS || work, `${name}.png`);
  fs.mkdirSync(path.dirname(file), { recursive: true });
  await page.screenshot({ path: file });
}

// The keys in sight, each {key, action, label, width, height}.
function visibleKeys(page) {
  return page.$$eval('#touch-keys button', (buttons) => buttons.filter((b) => b.offsetParent).map((b) => {
    const box = b.getBoundingClientRect();
    return { key: b.dataset.key, action: b.dataset.action, label: b.getAttribute('aria-label'), width: box.width,
      height: box.height, bottom: box.bottom };
  }));
}

// Waits until the page has fitted itself to the viewport as it is now.
function fitted(page) {
  return page.waitForFunction(() => {
    const root = document.documentElement;
    const height = window.visualViewport ? window.visualViewport.height : window.innerHeight;
    return root.classList.contains('touch') && root.style.getPropertyValue('--viewport-height') === height + 'px' &&
      root.classList.contains('portrait') === height >= root.clientWidth;
  });
}

// Counts the page's requests for lasting storage.
function countPersistRequests(page) {
  return page.evaluateOnNewDocument(() => {
    window.persistRequests = 0;
    const persist = navigator.storage.persist.bind(navigator.storage);
    navigator.storage.persist = () => {
      ++window.persistRequests;
      return persist();
    };
  });
}

test('a new player on a phone plays by taps from the title, names the hero in katakana by composition, and steps into the labyrinth', async () => {
  // The browser's own profile, not a private one: a private window installs nothing.
  const page = await session.browser.newPage();
  phone = { page, close: () => page.close() };
  h.acceptLeaving(page);
  page.on('pageerror', (e) => console.error('page error:', e.message));
  await page.emulate(puppeteer.KnownDevices['Pixel 5']);
  await h.chooseLanguage(page, 'ja');
  await countPersistRequests(page);
  await page.goto(`${session.url}?seed=${SEED}`);
  await h.waitForProgram(page);

  const title = await visibleKeys(page);
  assert.deepEqual(title.filter((k) => k.key).map((k) => k.key), ['N', 'L', 'D', '{Enter}', '{Esc}']);
  assert.equal(title[0].label, 'N: NEW GAME');
  await h.tapKey(page, 'N');

  // The phone's keyboard opens for the tap on "type"; nothing reaches the game while the
  // composition is open.
  await h.tap(page, '[data-action="type"]');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'ime');
  const cdp = await page.createCDPSession();
  const before = await h.screenText(page);
  await cdp.send('Input.imeSetComposition', { text: 'けん', selectionStart: 2, selectionEnd: 2 });
  await shot(page, 'phone-composing');
  assert.equal(await h.screenText(page), before);
  await cdp.send('Input.insertText', { text: 'ケン' });
  await h.waitForProgram(page);
  assert.match(await h.screenText(page), /名前を入力して下さい {2}ケン$/);
  await h.tapKey(page, '{Enter}');

  assert.equal(await page.evaluate(() => window.persistRequests), 0);
  for (const key of AFTER_NAME) await h.tapKey(page, key);
  const drives = path.join(work, 'walk', 'drives');
  fs.mkdirSync(drives, { recursive: true });
  const difference = h.pictureDifference(await h.canvasPixels(page), h.readPng(h.nativeRun(SEED, WALK, drives)));
  assert.equal(difference, null, `the phone's canvas differs from the headless frame (${work})`);

  // The game saved the hero on the way: the page asked once for lasting storage, and says what
  // the browser answered (a headless browser does not grant it) and how to keep a copy.
  assert.equal(await page.evaluate(() => window.persistRequests), 1);
  assert.match(await page.$eval('.alert', (s) => s.textContent), /空きが足りないとゲームのセーブを消すことがあります.*セーブをダウンロード/);
});

test('portrait and landscape: the screen fills the width or the height, the keys are in reach and large enough', async () => {
  const { page } = phone;
  for (const device of ['Pixel 5', 'Pixel 5 landscape', 'iPhone 13 landscape', 'iPad Mini']) {
    await page.emulate(puppeteer.KnownDevices[device]);
    await fitted(page);
    const layout = await page.evaluate(() => {
      const canvas = document.getElementById('canvas').getBoundingClientRect().toJSON();
      const bar = document.getElementById('touch-keys').getBoundingClientRect().toJSON();
      const root = document.documentElement;
      return { width: root.clientWidth, height: window.innerHeight, scrollWidth: root.scrollWidth, canvas, bar };
    });
    const portrait = layout.height > layout.width;
    assert.ok(layout.scrollWidth <= layout.width, `${device}: the page scrolls sideways`);
    if (portrait) {
      assert.ok(Math.abs(layout.canvas.width - layout.width) < 1, `${device}: the screen does not fill the width`);
      assert.ok(layout.bar.top >= layout.canvas.bottom - 1, `${device}: the keys are not under the screen`);
    } else {
      assert.ok(layout.canvas.height > layout.height - 1 || layout.canvas.right > layout.width - 250,
                `${device}: the screen fills neither the height nor the room beside the keys`);
      assert.ok(layout.bar.left >= layout.canvas.right - 1, `${device}: the keys are not beside the screen`);
    }
    const keys = await visibleKeys(page);
    assert.deepEqual(keys.filter((k) => k.key).map((k) => k.key), ['C', '{Up}', '{Left}', '{Right}', '{Down}', '{Enter}', '{Esc}']);
    for (const k of keys) {
      assert.ok(k.width >= 44 && k.height >= 44, `${device}: ${k.label} is ${k.width}x${k.height}`);
      assert.ok(k.bottom <= layout.height + 1, `${device}: ${k.label} is out of sight`);
    }
    await shot(page, `phone-${device.replace(/ /g, '-')}`);
  }

  // The phone's keyboard takes the lower half: the keys move up with the visible part.
  await page.setViewport({ width: 393, height: 420, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  await fitted(page);
  for (const k of await visibleKeys(page)) assert.ok(k.bottom <= 421, `${k.label} is under the phone's keyboard`);
  await page.emulate(puppeteer.KnownDevices['Pixel 5']);
});

test('a full-width letter from a Japanese phone keyboard answers where the game reads single keys; romaji typing in a line', async () => {
  const game = await h.openPhone(session, SEED);
  const { page } = game;
  const commit = async (text) => {
    await page.keyboard.sendCharacter(text);  // as the phone's keyboard commits it
    await h.waitForProgram(page);
  };
  await h.tap(page, '[data-action="type"]');
  await commit('ｎ');
  assert.match(await h.screenText(page), /名前を入力して下さい$/);
  // In a line the full-width letter stays; Ctrl+O turns the letters typed after it into kana.
  await commit('Ａ');
  await h.tapKey(page, '{x0F}');
  for (const letter of 'kenn') await commit(letter);
  assert.match(await h.screenText(page), /名前を入力して下さい {2}Ａケン$/);
  await game.close();
});

test('a new build is offered on the title screen, not in the middle of a game, and the reload takes it', async () => {
  const copy = path.join(work, 'page');
  fs.cpSync(h.PAGE_DIR, copy, { recursive: true });
  const served = await h.launch(copy);
  try {
    const game = await h.openPhone(served, SEED);
    const { page } = game;
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    const oldCache = (await page.evaluate(() => caches.keys())).find((name) => name.startsWith('kestran-'));

    // A new build on the server, found while the game is under way (at the drive prompt of a load).
    const sw = path.join(copy, 'sw.js');
    fs.writeFileSync(sw, fs.readFileSync(sw, 'utf8').replace(/kestran-[0-9a-f]+/, 'kestran-0000000000000000'));
    for (const suffix of ['.br', '.gz']) fs.rmSync(sw + suffix, { force: true });
    await h.tapKey(page, 'L');
    await page.evaluate(() => navigator.serviceWorker.getRegistration().then((r) => r.update()));
    await page.waitForFunction(() => navigator.serviceWorker.getRegistration().then((r) => !!r.waiting));
    assert.equal(await page.$eval('#offer', (o) => o.hidden), true, 'offered in the middle of a game');

    // No save on drive C: the load fails and the game is back on the title screen.
    for (const key of ['C', 'Y', '{Enter}']) await h.tapKey(page, key);
    await page.waitForSelector('#offer:not([hidden])');
    assert.match(await page.$eval('#offer', (o) => o.textContent), /新しい版があります/);
    await shot(page, 'phone-update-offer');
    await Promise.all([page.waitForNavigation(), h.tap(page, '#offer [data-action="update"]')]);
    await h.waitForProgram(page);
    const caches = await page.evaluate(() => caches.keys());
    assert.ok(caches.includes('kestran-0000000000000000') && !caches.includes(oldCache), caches.join(', '));
    await game.close();
  } finally {
    await served.close();
  }
});

test('installable; with the server gone the page starts from its cache and the hero loads', async () => {
  const { page } = phone;
  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, []);
  const manifest = await cdp.send('Page.getAppManifest');
  assert.deepEqual(manifest.errors, []);
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null);

  session.stopServer();
  await page.reload();
  await h.waitForProgram(page);
  for (const key of ['L', 'C', 'Y']) await h.tapKey(page, key);
  assert.match(await h.screenText(page), /ロードしました/);
  await h.tapKey(page, '{Enter}');
  assert.match(await h.screenText(page), /ケン/);
  await shot(page, 'phone-offline-loaded');
});
