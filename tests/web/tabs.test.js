// The page on a 375x667 phone: two tabs never lose the last save; a second tab takes over; a
// refused save keeps the old one; fast taps stay on their screen; text and controls in reach.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const puppeteer = require('puppeteer-core');
const h = require('./harness.js');

const SEED = 7;
const PHONE = puppeteer.KnownDevices['iPhone 8'];  // 375x667
const ROLLED = 'Y++-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}Y';
const heroSaved = (name) => `N${name}{Enter}${ROLLED}YCY{Enter}`;

let session;
let work;

before(async () => {
  session = await h.launch();
  work = h.temporaryFolder('kestran-tabs-test-');
});

after(async () => {
  if (session) await session.close();
  if (work) fs.rmSync(work, { recursive: true, force: true });
});

async function openTab(context, options = {}) {
  const page = await context.newPage();
  h.acceptLeaving(page);
  await page.emulate(PHONE);
  // The Japanese game, whatever the browser's language, as the headless program plays it.
  await h.chooseLanguage(page, 'ja');
  if (options.withoutLocks) {
    await page.evaluateOnNewDocument(() => Object.defineProperty(Navigator.prototype, 'locks', { get: () => undefined }));
  }
  await page.goto(`${session.url}?seed=${SEED}`);
  if (options.expectRunning !== false) await h.waitForProgram(page);
  return page;
}

// Hides the page and shows it again, as a phone's tab switch does, and waits for its writes.
function hideAndShow(page) {
  return page.evaluate(async () => {
    for (const state of ['hidden', 'visible']) {
      Object.defineProperty(document, 'visibilityState', { value: state, configurable: true });
      document.dispatchEvent(new Event('visibilitychange'));
    }
    window.dispatchEvent(new Event('pagehide'));
    await window.kestran.storage.persist(false);
  });
}

// The save of drive C as the browser's storage holds it (Latin-1), or null.
function storedSave(page) {
  return page.evaluate(() => new Promise((resolve) => {
    indexedDB.open('/drives').onsuccess = ({ target: { result: db } }) => {
      db.transaction('FILE_DATA').objectStore('FILE_DATA').get('/drives/C/KSSAVE').onsuccess = ({ target }) => {
        resolve(target.result ? new TextDecoder('latin1').decode(target.result.contents) : null);
        db.close();
      };
    };
  }));
}

async function loadedHero(page) {
  await h.typeKeys(page, 'LCY{Enter}');
  const text = await h.screenText(page);
  await h.typeKeys(page, '{Enter}');
  return text;
}

// The boxes of the elements in sight; each must lie in the viewport and be 44 px high at least.
async function assertInView(page, selector) {
  const found = await page.$$eval(selector, (elements) => elements.filter((e) => e.offsetParent).map((e) => ({
    label: e.textContent.trim(), ...e.getBoundingClientRect().toJSON() })));
  assert.ok(found.length > 0, `no ${selector}`);
  for (const b of found) {
    assert.ok(b.top >= 0 && b.bottom <= PHONE.viewport.height + 0.5 && b.height >= 44, `"${b.label}": ${JSON.stringify(b)}`);
  }
  return found;
}

test('two tabs save in turn, hidden and shown in every order and reloaded: the last save is the one loaded', async () => {
  const context = await session.browser.createBrowserContext();
  const x = await openTab(context, { withoutLocks: true });
  const y = await openTab(context, { withoutLocks: true });
  await h.typeKeys(y, heroSaved('AKI'));
  await h.typeKeys(x, heroSaved('BEN'));
  for (const order of [[y, x], [y, y, x], [x, y]]) {
    for (const tab of order) await hideAndShow(tab);
  }
  assert.match(await storedSave(x), /BEN/);
  await y.reload();
  await h.waitForProgram(y);
  assert.equal(y.leavingAsked, 0, 'asked before leaving a saved game');
  assert.match(await loadedHero(y), /BEN/);
  await context.close();
});

test('a second tab is told and takes over; the first stops writing; a refused save keeps the old one and says why', async () => {
  const downloads = path.join(work, 'downloads');
  const context = await session.browser.createBrowserContext({
    downloadBehavior: { policy: 'allow', downloadPath: downloads },
  });
  const first = await openTab(context);
  await h.typeKeys(first, heroSaved('AKI'));
  const second = await openTab(context, { expectRunning: false });
  await second.waitForSelector('#notice [data-action="take-over"]');
  assert.match(await second.$eval('#notice', (n) => n.textContent), /ゲームは別のタブで開いています。/);
  await h.tap(second, '#notice [data-action="take-over"]');
  await h.waitForProgram(second);
  await first.waitForSelector('#notice [data-action="take-over"]');
  assert.match(await first.$eval('#notice', (n) => n.textContent), /ゲームは別のタブで続いています/);

  // The storage is full: the game says its save failed, the page names the storage and offers
  // the download, and drive C keeps AKI, in the storage and in the game's files.
  await second.evaluate(() => {
    window.realPut = IDBObjectStore.prototype.put;
    IDBObjectStore.prototype.put = () => { throw new DOMException('The quota has been exceeded.', 'QuotaExceededError'); };
  });
  await h.typeKeys(second, `NBEN{Enter}${ROLLED}`);
  // At the drive's confirmation the keys are its answers, not the drive prompt's C.
  await h.typeKeys(second, 'YC');
  assert.deepEqual(await second.$$eval('#context-keys button', (keys) => keys.map((k) => k.dataset.key)), ['Y', 'N']);
  await h.typeKeys(second, 'Y');
  assert.match(await h.screenText(second), /指定したデバイスが見つかりませんでした/);
  assert.match(await second.$eval('.alert:not([hidden])', (a) => a.textContent),
               /IndexedDB\) がいっぱいです。前のセーブはそのままです。「セーブをダウンロード」/);
  await h.screenshot(second, 'phone-storage-full');
  assert.match(await storedSave(second), /AKI/);
  // The download offered is the refused save, the hero who could not be stored.
  await h.tap(second, '.alert [data-action="download-save"]');
  assert.match(String(await h.downloaded(path.join(downloads, 'KSSAVE'))), /BEN/);
  await second.evaluate(() => { IDBObjectStore.prototype.put = window.realPut; });
  await h.typeKeys(second, '{Enter}');
  await second.reload();
  await h.waitForProgram(second);
  assert.equal(second.leavingAsked, 1, 'not asked before leaving a game with progress');
  assert.match(await loadedHero(second), /AKI/);
  await context.close();
});

test('on a 375x667 phone: fast taps stay on their screen; the name, the newest lines and every control are readable and in reach', async () => {
  const context = await session.browser.createBrowserContext();
  const page = await openTab(context);
  await h.tapKey(page, 'N');
  await h.tap(page, '[data-action="type"]');
  const cdp = await page.createCDPSession();
  await cdp.send('Input.imeSetComposition', { text: 'ゆうしゃ', selectionStart: 4, selectionEnd: 4 });
  // The box is fitted to the composition at the next frame.
  await page.waitForFunction(() => document.getElementById('ime').clientWidth > 1);
  const field = await page.$eval('#ime', (ime) => ({ font: getComputedStyle(ime).fontSize, width: ime.clientWidth,
    text: ime.scrollWidth, right: ime.getBoundingClientRect().right }));
  assert.ok(parseFloat(field.font) >= 16 && field.text <= field.width && field.right <= 375, JSON.stringify(field));
  // With the phone's keyboard open (the lower half), the composition stays in sight.
  await page.setViewport({ ...PHONE.viewport, height: 360 });
  await page.waitForFunction(() => document.documentElement.style.getPropertyValue('--viewport-height') === '360px');
  assert.ok(await page.$eval('#ime', (ime) => ime.getBoundingClientRect().bottom <= 360));
  await h.screenshot(page, 'phone-keyboard-open');
  await page.setViewport(PHONE.viewport);
  await cdp.send('Input.insertText', { text: 'ユウシャ' });
  await h.waitForProgram(page);
  await h.tapKey(page, '{Enter}');

  // Eight fast taps on Y at the roll's question: one answers it, the others meet keys that have
  // just changed, and the bonus points stay as they were.
  const yes = await (await page.$('#context-keys button[data-key="Y"]')).boundingBox();
  await new Promise((r) => setTimeout(r, 200));
  for (let i = 0; i < 8; ++i) await page.touchscreen.tap(yes.x + yes.width / 2, yes.y + yes.height / 2);
  await h.waitForProgram(page);
  const drives = path.join(work, 'taps', 'drives');
  fs.mkdirSync(drives, { recursive: true });
  const native = h.readPng(h.nativeRun(SEED, 'Nユウシャ{Enter}Y', drives));
  assert.equal(h.pictureDifference(await h.canvasPixels(page), native), null, 'the taps reached the bonus points');

  // Portrait: the newest lines under the screen, readable, with the game in full view above.
  const latest = await page.$eval('.latest', (l) => ({ font: parseFloat(getComputedStyle(l).fontSize),
    text: l.textContent, top: l.getBoundingClientRect().top,
    screenBottom: document.getElementById('canvas').getBoundingClientRect().bottom }));
  assert.ok(latest.font >= 14 && latest.top >= latest.screenBottom - 0.5, JSON.stringify(latest));
  assert.match(latest.text, /「\+」と「-」/);
  await h.screenshot(page, 'phone-portrait');

  // Every control from the menu, over the keys and not the game, without scrolling.
  await h.tap(page, '[data-action="menu"]');
  const canvasBottom = await page.$eval('#canvas', (c) => c.getBoundingClientRect().bottom);
  const controls = await assertInView(page, '#sheet button, #sheet select');
  assert.ok(controls.every((c) => c.top >= canvasBottom - 0.5), 'the menu covers the game');
  for (const action of ['download-save', 'share-recording', 'save-recording', 'open-recording', 'describe']) {
    assert.ok(await page.$(`#sheet [data-action="${action}"]`), `no ${action} in the menu`);
  }
  await h.screenshot(page, 'phone-menu');
  await h.tap(page, '[data-action="close-menu"]');

  // Every key never covers the game's rows.
  await h.tap(page, '#touch-keys [data-action="keyboard"]');
  const keyboardTop = await page.$eval('#keyboard', (k) => k.getBoundingClientRect().top);
  assert.ok(keyboardTop >= canvasBottom - 0.5, `every key covers the game from ${keyboardTop}`);

  // A rotation shows the whole game, however the page was scrolled.
  await page.evaluate(() => window.scrollTo(0, 300));
  await page.emulate(puppeteer.KnownDevices['iPhone 8 landscape']);
  await page.waitForFunction(() => !document.documentElement.classList.contains('portrait') && window.scrollY === 0);
  await h.screenshot(page, 'phone-landscape');

  // Watching a link: its controls in view with the game.
  await page.emulate(PHONE);
  await page.goto('about:blank');
  await page.goto(`${session.url}?seed=${SEED}${h.replayHash(`#seed ${SEED}\nNABC{Enter}Y`)}`);
  await page.waitForSelector('#replay:not([hidden])');
  await assertInView(page, '#replay button');
  await h.screenshot(page, 'phone-watching');
  await context.close();
});
