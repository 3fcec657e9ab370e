// The drive folders in the browser's storage (IndexedDB, through emscripten's IDBFS): brought in
// at the start, copied out after every save and whenever the page is hidden or left, and kept
// from the browser's clean-ups by asking for lasting storage once the game has saved.
//
// A copy never leaves half a save behind: every file is one entry of the store, written whole in
// one transaction, so a copy that breaks off leaves each save as it was before or as it is now.
'use strict';

(function () {
  const kestran = window.kestran;
  let fs = null;            // emscripten's FS, once the drives are mounted
  let mounted = false;      // the drives live in the browser's storage (else in memory only)
  let syncing = Promise.resolve();
  let lastingAsked = false;

  function sync(populate) {
    const run = () => new Promise((resolve) => fs.syncfs(populate, (error) => resolve(!error)));
    syncing = syncing.then(run, run);
    return syncing;
  }

  function offerDownload(text) {
    kestran.say(text, true);
    document.getElementById('download').classList.add('offered');
  }

  // Asks once, after the first save, that the browser keep the page's storage, and tells the
  // player what it answered.
  async function askForLastingStorage() {
    if (lastingAsked || !mounted) return;
    lastingAsked = true;
    const storage = navigator.storage;
    let lasting = false;
    try {
      lasting = !!(storage && storage.persist && (await storage.persisted() || await storage.persist()));
    } catch (e) {
      lasting = false;
    }
    if (lasting) {
      kestran.say('This browser keeps the game\'s saves until you remove them.');
    } else {
      offerDownload('This browser may clear the game\'s saves when it runs short of space: ' +
                    'keep a copy with "Download save".');
    }
  }

  // Copies the drives out when the page goes out of sight: a phone may end a hidden page
  // without a word.
  function flush() {
    if (mounted) sync(false);
  }

  kestran.storage = {
    // Mounts the browser's storage at `root` and brings in what it holds; false when the browser
    // keeps none for the page (the drives then live in memory, and the page says so).
    async mount(root, FS, IDBFS) {
      fs = FS;
      FS.mkdir(root);
      try {
        if (typeof indexedDB === 'undefined' || !indexedDB) throw new Error('no IndexedDB');
        FS.mount(IDBFS, {}, root);
        mounted = true;
        if (!(await sync(true))) throw new Error('IndexedDB refused');
      } catch (e) {
        mounted = false;
        offerDownload('This browser keeps no storage for this page: saves last only until the page is closed. ' +
                      'Keep a copy with "Download save".');
      }
      document.querySelectorAll('.drives button').forEach((b) => { b.disabled = false; });
      return mounted;
    },

    // Copies the drives into the browser's storage after the game (`bySave`) or a transfer
    // changed them; false when the browser refused.
    async persist(bySave) {
      if (!mounted) return true;
      const ok = await sync(false);
      if (ok && bySave) queueMicrotask(askForLastingStorage);
      return ok;
    },

    flush,
  };

  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') flush();
  });
  window.addEventListener('pagehide', flush);
})();
