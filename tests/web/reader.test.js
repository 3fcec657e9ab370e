// Playing by ear in the page, as a screen reader gets it: the accessibility tree that Chromium
// builds. The canvas is not in it and the game's screen is an application that says where keys
// go; after each key the log takes one entry: the corridor's words first, then the lines that
// are new (not those that stayed), the question last, with the symbols as words; a repeated
// step, a step into the wall and the page's keys said twice are each a new entry that a reader
// does not take for a duplicate. A reader button gives the game its focus back; Alt+M leaves it.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');

const SEED = 7;
const TOWN = 'nTARO{Enter}Y++x-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYx';

let session;

before(async () => {
  session = await h.launch();
});

after(async () => {
  if (session) await session.close();
});

function texts(node, out = []) {
  if (node.role === 'StaticText' && node.name) out.push(node.name);
  for (const child of node.children || []) texts(child, out);
  return out;
}

// The log as the tree has it: its entries, each one text.
async function logEntries(page) {
  const log = await page.accessibility.snapshot({ root: await page.$('#reader-log'), interestingOnly: false });
  assert.equal(log.role, 'log');
  return (log.children || []).map((entry) => texts(entry).join('|').replace(/\u2060/g, ''));
}

async function newestEntry(page) {
  const entries = await logEntries(page);
  return entries[entries.length - 1] || '';
}

// Types `script` and gives the log's entries it brought.
async function play(page, script) {
  const before = (await logEntries(page)).length;
  await h.typeKeys(page, script);
  return (await logEntries(page)).slice(before);
}

test('the log says what each key brought in one entry, in reading order with the question last, symbols in words, repeats again', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  const tree = await page.accessibility.snapshot({ interestingOnly: false });
  const roles = [];
  (function walk(node) {
    roles.push(node.role);
    if (node.role === 'application') assert.match(node.description, /キーはゲームに届きます.*Alt\+M/);
    (node.children || []).forEach(walk);
  })(tree);
  assert.ok(!roles.includes('canvas') && !roles.includes('image'), `the canvas is in the tree: ${roles}`);
  assert.ok(roles.includes('application'));
  assert.equal(await page.$eval('#reader-log', (log) => log.lang), 'ja');
  assert.match(await newestEntry(page), /\(N\) NEW GAME/);

  assert.deepEqual(await play(page, 'n'), ['キャラクターを作成します 名前を入力して下さい']);
  const [roll] = await play(page, 'TARO{Enter}');
  assert.match(roll, /^キャラクター名 TARO 筋力 9 .* ボーナスポイント 17 これでよろしいですか？ ?\(Y か N\)$/);
  assert.match((await play(page, 'Y'))[0], /「 プラス 」と「 マイナス 」でポイントの上下/);
  assert.deepEqual(await play(page, '+'), ['筋力 9 1 残りのボーナスポイント 16']);

  const entry = (await play(page, `${TOWN.slice('nTARO{Enter}Y+'.length)}M`)).pop();
  assert.match(entry, /^東向き。前は.*ここに上り階段。 .*TARO .*HP 6\d の 6\d MP/);
  const straight = '東向き。前は2歩以上続く。両側は壁。1歩先は両側が壁。';
  assert.deepEqual(await play(page, '{Up}{Up}'), [straight, straight]);
  const facingTheWall = '北向き。前は壁。両側は横道。';
  assert.deepEqual(await play(page, '{Left}{Up}'), [facingTheWall, facingTheWall]);

  const before = (await logEntries(page)).length;
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyW');
  await page.keyboard.press('KeyW');
  await page.keyboard.press('KeyI');
  await page.keyboard.up('Alt');
  const entries = (await logEntries(page)).slice(before);
  assert.deepEqual(entries.slice(0, 2), [facingTheWall, facingTheWall]);
  assert.match(entries[2], /^TARO、LV 1、HP \d+ の \d+、MP/);
  const marks = await page.$$eval('#reader-log p', (ps) => ps.slice(-3, -1).map((p) => p.textContent));
  assert.notEqual(marks[0], marks[1], 'a repeat reads the same as the entry before to a reader');
  await page.click('button[data-action="describe"]');
  assert.equal(await newestEntry(page), facingTheWall);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'screen');
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyM');
  await page.keyboard.up('Alt');
  assert.equal(await page.evaluate(() => document.activeElement.dataset.action), 'read-screen');
  await game.close();
});
