// The touch keys' reading of the screen (kestran-screen-keys.js), in node: the keys and the
// game's words for them on screens of the golden runs, and over the whole game played to its
// end, every key that changed the screen is one the screen's keys offered.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const { execFileSync } = require('node:child_process');
const fs = require('node:fs');
const path = require('node:path');
const { readScreen, screenReader } = require('../../src/platform/web/page/kestran-screen-keys.js');

const REPLAY = path.join(__dirname, '..', 'replay');

// The waits of a trace: {key, rows}.
function waits(text) {
  const lines = text.split('\n');
  const found = [];
  for (let i = 0; i < lines.length; ++i) {
    const head = /^@@ \d+ (.*)$/.exec(lines[i]);
    if (!head) continue;
    found.push({ key: head[1], rows: lines.slice(i + 1, i + 25) });
    i += 24;
  }
  return found;
}

function traceOf(name) {
  return waits(fs.readFileSync(path.join(REPLAY, name, 'expected.trace'), 'utf8'));
}

// The first screen of a golden run that shows `pattern`.
function screenOf(name, pattern) {
  const wait = traceOf(name).find((w) => w.rows.some((row) => pattern.test(row)));
  assert.ok(wait, `${name} shows no ${pattern}`);
  return wait.rows;
}

// The keys of that screen as the page reads it, having seen the run's screens before it.
function readInRun(name, pattern) {
  const read = screenReader();
  for (const { rows } of traceOf(name)) {
    const keys = read(rows);
    if (rows.some((row) => pattern.test(row))) return keys;
  }
  assert.fail(`${name} shows no ${pattern}`);
}

const keysOf = (read) => read.keys.map((k) => `${k.key}=${k.label}`);

test('the keys of a handful of screens, named in the game\'s words', () => {
  const title = readScreen(screenOf('town_new_game', /NEW {2}GAME/));
  assert.deepEqual(keysOf(title), ['N=NEW GAME', 'L=DATA LORD', 'D=CONVERT']);  // not the (C) of the copyright
  assert.equal(title.title, true);

  const shop = readScreen(screenOf('town_shop_shelves', /欲しい物を数字キー/));
  assert.deepEqual(keysOf(shop).slice(0, 2), ['0=ダガー ST 0 50 G', '1=ショートソード ST 15 100 G']);
  assert.deepEqual(keysOf(shop).slice(10), ['N=次の棚を見る', 'F=前の棚を見る', 'I=持ち物を鑑定する', 'S=持ち物を売る', 'E=店を出る']);

  const bonus = readScreen(screenOf('town_new_game', /「\+」と「-」/));
  assert.deepEqual(keysOf(bonus), ['+=+', '-=-']);

  // The lowest question takes only its answers: the drive prompt, the bonus points' keys and the
  // fight's menu above it are done with.
  const drive = readInRun('town_new_game', /ドライブでよろしいですか/);
  assert.deepEqual(keysOf(drive), ['Y=Y', 'N=N']);
  assert.equal(drive.keys[0].question, 'Cドライブでよろしいですか？');
  assert.equal(readScreen(screenOf('town_new_game', /デバイスを指定/)).drive, true);
  assert.deepEqual(keysOf(readInRun('town_new_game', /これでよろしいですか/)), ['Y=Y', 'N=N']);
  const fight = readInRun('fight_companion_cynthia', /武器で攻撃しますか/);
  assert.deepEqual([keysOf(fight), fight.cursorKeys], [['Y=Y', 'N=N'], false]);

  // A question answered above a message that waits for any key is no longer asked.
  const answered = readScreen(screenOf('dungeon_chests_three_ways', /捨てました/));
  assert.deepEqual(keysOf(answered), []);
  assert.equal(answered.anyKey, true);

  const labyrinth = readScreen(screenOf('dungeon_walk_stairs_and_home', /上に上がる/));
  assert.deepEqual(keysOf(labyrinth), ['U=上に上がる', 'C=キャンプ']);
  assert.equal(labyrinth.cursorKeys, true);

  const elevator = readScreen(screenOf('dungeon_elevator', /フロアーを指定/));
  assert.deepEqual(keysOf(elevator), ['1=1', '2=2', '3=3', 'N=やっぱりやめる']);

  const hands = readScreen(screenOf('camp_equip_two_handed', /\(L\/R\)/));
  assert.deepEqual(keysOf(hands).slice(0, 2), ['L=L', 'R=R']);

  assert.deepEqual(readScreen(undefined).keys, []);
  assert.deepEqual(readScreen(Array(24).fill('')).keys, []);
});

test('over the whole game, every key that changed the screen was on the screen\'s keys', () => {
  const game = path.join(REPLAY, 'whole_game_to_the_master');
  const missed = [];
  let checked = 0;
  for (const packed of ['expected.trace.tar.xz', 'expected.2.trace.tar.xz']) {
    const text = execFileSync('tar', ['-xJOf', path.join(game, packed)], { maxBuffer: 1 << 26 }).toString('utf8');
    const run = waits(text);
    const read = screenReader();
    for (let i = 0; i + 1 < run.length; ++i) {
      const { key, rows } = run[i];
      const keys = read(rows, rows.some((row) => /名前を入力して下さい/.test(row)));
      if (run[i + 1].rows.join('\n') === rows.join('\n')) continue;  // a key the game ignored
      ++checked;
      const offered = keys.anyKey || keys.lineInput || key === '{Enter}' || key === '{Esc}' ||
        (keys.cursorKeys && /^\{(Up|Down|Left|Right)\}$/.test(key)) ||
        keys.keys.some((k) => k.key === key.toUpperCase());
      if (!offered) missed.push(`${packed} ${key}:\n${rows.join('\n')}`);
    }
  }
  assert.ok(checked > 10000, `only ${checked} keys`);
  assert.deepEqual(missed.slice(0, 3), []);
});

test('every screen of the English golden runs offers the keys its Japanese screen offers', () => {
  const offered = (rows) => {
    const read = readScreen(rows);
    return [...read.keys.map((k) => k.key), read.anyKey && 'any', read.drive && 'drive', read.cursorKeys && 'walk'].join(' ');
  };
  for (const name of ['town_new_game', 'town_shop_shelves', 'fight_win_and_level_up', 'camp_potions']) {
    const japanese = traceOf(name);
    const english = traceOf(`english_${name}`);
    assert.equal(english.length, japanese.length, name);
    japanese.forEach((wait, i) => assert.equal(offered(english[i].rows), offered(wait.rows), `${name}, wait ${i + 1}`));
  }
});
