// Leaving the page (the back button, closing the tab) while the game has progress since its last
// save asks first. Progress is a key the game took anywhere but at the title or a message that
// waits for any key: a save, the title and such a message leave nothing to lose.
'use strict';

(function () {
  const kestran = window.kestran;
  const { readScreen } = window.KestranScreenKeys;
  let unsaved = false;
  let calm = true;  // the screen before this one left nothing to lose by a key

  kestran.on('screen', ({ rows, changed }) => {
    const read = readScreen(rows, false);
    if (read.title) unsaved = false;
    else if (changed && !calm) unsaved = true;
    calm = read.title || read.anyKey;
  });
  kestran.on('saved', () => {
    unsaved = false;
    calm = true;
  });
  kestran.on('ended', () => { unsaved = false; });

  window.addEventListener('beforeunload', (e) => {
    if (!unsaved || !kestran.storage.playing) return;
    e.preventDefault();
    e.returnValue = '';
  });
})();
