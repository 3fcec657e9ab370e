// The page's start: the game draws its title while the browser's storage is still bringing in the
// drives, and a load typed at once waits for them and finds the save.
'use strict';

const { test, before, after } = require('node:test');
const assert = require('node:assert/strict');
const h = require('./harness.js');

const TOWN = 'nTARO{Enter}Y++x-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCYx';  // saved on drive C
const LOAD = 'LCYx';  // from the title: load from drive C, then the character sheet

let session;
before(async () => { session = await h.launch(); });
after(async () => { if (session) await session.close(); });

// Holds back every answer of the browser's storage for `ms`, as a slow phone's would come.
function slowStorage(ms) {
  const { set } = Object.getOwnPropertyDescriptor(IDBRequest.prototype, 'onsuccess');
  const open = IDBFactory.prototype.open;
  IDBFactory.prototype.open = function (...args) {
    const request = open.apply(this, args);
    Object.defineProperty(request, 'onsuccess', {
      set(f) { set.call(this, (e) => setTimeout(() => f.call(this, e), ms)); },
    });
    return request;
  };
}

test('the title comes before the drives are in, and a load typed at once waits for them', async () => {
  const game = await h.openGame(session, 7);
  const { page } = game;
  await h.typeKeys(page, TOWN);
  await page.evaluateOnNewDocument(slowStorage, 3000);
  await page.reload();
  await h.waitForProgram(page);
  const text = await h.screenText(page);
  assert.match(text, /NEW {2}GAME/);
  assert.equal(await page.evaluate(() => performance.getEntriesByName('kestran:drives mounted').length), 0,
               'the drives were in before the title: nothing was held back');
  await h.typeKeys(page, LOAD);
  assert.match(await h.screenText(page), /TARO/);
  assert.equal(await page.evaluate(() => performance.getEntriesByName('kestran:drives mounted').length), 1);
  await game.close();
});
