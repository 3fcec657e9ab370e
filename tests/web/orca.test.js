// The page played by ear through a real screen reader: Orca reading Chromium on a private desktop
// (tools/orca_session.js), every utterance written to a file with its language. A short walk
// typed as a keyboard would: what Orca says after each key must be that key's news, in the
// screen's order, in Japanese, the question last, the symbols as words, a repeated step, a step
// into the wall and Alt+W twice each said again, and a game key after a reader button must reach
// the game. Skipped, saying what is missing, without Orca and its company.
'use strict';

const { test } = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');
const orca = require('../../tools/orca_session.js');
const { startServer } = require('../../scripts/web_server.js');

const lacking = orca.missing();
const skip = lacking.length ? `needs ${lacking.join(', ')} (bash scripts/deps.sh web)` : false;

test('Orca tells a walk from the title into the labyrinth, every screen in order and nothing twice without cause', { skip, timeout: 240000 }, async () => {
  const { server, url } = await startServer(h.PAGE_DIR, 0);
  const session = await orca.start(`${url}?seed=7&language=ja`);
  // What Orca said for the keys, as one line; every utterance in Japanese.
  const say = async (keys) => {
    const spoken = [];
    for (const key of keys.split(' ')) spoken.push(...(await session.key(key)));
    for (const { language, text } of spoken) assert.equal(language, 'ja', `spoken in ${language}: ${text}`);
    // A repeat's invisible mark goes to the voice too, which says nothing for it.
    return spoken.map(({ text }) => text.replace(/\u2060/g, '').trim()).join(' | ');
  };
  try {
    await session.until('the title read', () => session.spoken().some(({ text }) => /NEW GAME/.test(text)), 90000);
    await session.quiet();
    assert.match(await say('n'), /キャラクターを作成します 名前を入力して下さい/);
    assert.match(await say('T A R O Return'), /キャラクター名 TARO 筋力 .* これでよろしいですか[？?] ?\(Y か N\)$/);
    assert.match(await say('Y'), /「 プラス 」と「 マイナス 」でポイントの上下/);
    assert.match(await say('plus'), /^筋力 9 1 残りのボーナスポイント 16$/);
    await say('x minus plus Return Return Return Return Return Return Return Y Y C Y');
    assert.match(await say('x'), /ここはオディシスの街です .* どうしますか[？?]$/);
    // Alt+M to the page's controls, Tab to the next (the reader goes to browse mode), Enter on it:
    // the button acts, and the next key, M (a key of the reader's browse mode), is the game's again.
    assert.match(await say('alt+m'), /ページの操作: 画面を読む/);
    assert.match(await say('Tab'), /主人公の状態/);
    assert.match(await say('Return'), /主人公の数値は迷宮と戦闘で表示されます/);
    assert.match(await say('M'), /^東向き。前は.*ここに上り階段。 .*TARO/);
    const straight = '東向き。前は2歩以上続く。両側は壁。1歩先は両側が壁。';
    assert.equal(await say('Up'), straight);
    assert.equal(await say('Up'), straight);
    const wall = '北向き。前は壁。両側は横道。';
    assert.equal(await say('Left'), wall);
    assert.equal(await say('Up'), wall);
    assert.equal(await say('alt+w'), wall);
    assert.equal(await say('alt+w'), wall);
  } catch (e) {
    console.error(session.spoken().map(({ language, text }) => `${language}\t${text}`).join('\n'));
    throw e;
  } finally {
    session.close();
    server.close();
    server.closeAllConnections();
  }
});
