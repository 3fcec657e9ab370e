// Playing by ear in the page, as a screen reader gets it: the accessibility tree that Chromium
// builds. The canvas is not in it; the log takes, after each key, the lines that are new and not
// those that stayed; the corridor's words with the facing on entering the labyrinth and after a
// turn; the page's keys and its describe button say the corridor again and the hero's status.
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

// The log as the tree has it: its entries, each the texts of its lines.
async function logEntries(page) {
  const log = await page.accessibility.snapshot({ root: await page.$('#reader-log'), interestingOnly: false });
  assert.equal(log.role, 'log');
  return (log.children || []).map((entry) => texts(entry));
}

async function newestEntry(page) {
  const entries = await logEntries(page);
  return entries[entries.length - 1] || [];
}

test('the log says what each key brought, the corridor in words with its facing, and what the page keys ask', async () => {
  const game = await h.openGame(session, SEED);
  const { page } = game;
  const tree = await page.accessibility.snapshot({ interestingOnly: false });
  const roles = [];
  (function walk(node) {
    roles.push(node.role);
    (node.children || []).forEach(walk);
  })(tree);
  assert.ok(!roles.includes('canvas') && !roles.includes('image'), `the canvas is in the tree: ${roles}`);
  assert.equal(await page.$eval('#reader-log', (log) => log.lang), 'ja');
  assert.ok((await newestEntry(page)).includes('(N) NEW GAME'));

  await h.typeKeys(page, 'n');
  let entry = await newestEntry(page);
  assert.ok(entry.includes('キャラクターを作成します') && entry.includes('名前を入力して下さい'), `${entry}`);
  assert.ok(!entry.includes('(N) NEW GAME') && !entry.includes('n'), `old lines or the key echoed: ${entry}`);

  await h.typeKeys(page, `${TOWN.slice(1)}M`);
  entry = await newestEntry(page);
  assert.match(entry[0], /^東向き。前は.*ここに上り階段。$/);
  assert.ok(entry.includes('TARO'));
  await h.typeKeys(page, '{Left}');
  entry = await newestEntry(page);
  assert.match(entry[0], /^北向き。/);
  assert.ok(!entry.includes('TARO'), `a line that stayed is said again: ${entry}`);

  const words = entry[0];
  await page.keyboard.down('Alt');
  await page.keyboard.press('KeyW');
  await page.keyboard.press('KeyI');
  await page.keyboard.up('Alt');
  const entries = await logEntries(page);
  assert.deepEqual(entries[entries.length - 2], [words]);
  assert.match(entries[entries.length - 1][0], /^TARO、LV 1、HP \d+\/ *\d+、MP/);
  await page.click('button[data-action="describe"]');
  assert.deepEqual(await newestEntry(page), [words]);
  await game.close();
});
