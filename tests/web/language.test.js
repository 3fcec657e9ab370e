// The languages of the page: the game in English for an English browser and from the language
// control (remembered, and at once while the title shows); the page's own texts in the game's
// language.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');

let session;

before(async () => {
  session = await h.launch();
});

after(async () => {
  if (session) await session.close();
});

const browserIn = (...languages) => (page) =>
  page.evaluateOnNewDocument((list) => Object.defineProperty(navigator, 'languages', { get: () => list }), languages);
const readButton = (page) => page.$eval('[data-action="read-screen"]', (b) => b.textContent);
const chosen = (page) => page.$eval('[data-action="language"]', (s) => s.value);

async function newHero(page) {
  await h.typeKeys(page, 'n');
  return (await h.pageStatus(page)).screenText;
}

test('an English browser plays in English; the control chooses Japanese for the next start, or at once at the title', async () => {
  const game = await h.openGame(session, 3, { language: null, beforeLoad: browserIn('en-GB', 'ja') });
  const { page } = game;
  assert.match(await newHero(page), /Creating a new character\./);
  assert.equal(await readButton(page), 'Read the screen (Alt+R)');
  assert.equal(await chosen(page), 'en');
  // The log speaks English too, its symbols in English words.
  await h.typeKeys(page, 'TARO{Enter}');
  const [lang, said] = await page.$eval('#reader-log p:last-child', (p) => [p.lang, p.textContent]);
  assert.equal(lang, 'en');
  assert.match(said, /Is this all right\? \(Y or N\)\u2060?$/);

  await page.select('[data-action="language"]', 'ja');
  assert.match(await page.$eval('#status', (s) => s.textContent), /Japanese next time/);
  await page.reload();
  await h.waitForProgram(page);
  assert.match(await newHero(page), /キャラクターを作成します/);
  assert.equal(await chosen(page), 'ja');
  assert.equal(await readButton(page), '画面を読む (Alt+R)');

  await page.reload();
  await h.waitForProgram(page);
  await Promise.all([page.waitForNavigation(), page.select('[data-action="language"]', 'en')]);
  await h.waitForProgram(page);
  assert.match(await newHero(page), /Creating a new character\./);
  assert.equal(await readButton(page), 'Read the screen (Alt+R)');
  await game.close();
});

test('a Japanese browser gets the game and the page in Japanese', async () => {
  const game = await h.openGame(session, 3, { language: null, beforeLoad: browserIn('ja-JP', 'en') });
  const { page } = game;
  assert.match(await newHero(page), /キャラクターを作成します/);
  assert.equal(await readButton(page), '画面を読む (Alt+R)');
  assert.equal(await page.$eval('#reader-log', (log) => log.lang), 'ja');
  await game.close();
});
