// The drive folders in the browser's storage (IndexedDB, in the database and the entry format of
// emscripten's IDBFS, so that saves of earlier builds are found): brought in at the start and
// before the game opens a drive, written after every save.
//
// Several tabs share the storage. A tab writes only the files it changed since it last agreed
// with the storage, and removes a file only where the storage still holds the copy the tab knew;
// it brings in a file only where it changed nothing itself. So a hidden tab never writes its old
// copy of the drives back, and the last save is the one that stays. Only one tab plays at a time
// (a Web Lock): a second one says so and may take the game over, and the tab that lost it stops
// writing.
//
// A write is one transaction: a failed one leaves the storage as it was, and this tab's files are
// put back to what the storage holds, so that the game's failed save leaves the previous save.
'use strict';

(function () {
  const kestran = window.kestran;
  const DB_VERSION = 21;  // IDBFS's
  const STORE = 'FILE_DATA';
  const LOCK = 'kestran-game';
  const TAKE_OVER_FLAG = 'kestran-take-over';
  const STORAGE_NAME = 'the browser\'s storage for this page (IndexedDB)';
  const channel = typeof BroadcastChannel === 'function' ? new BroadcastChannel('kestran') : null;

  let fs = null;
  let root = '';
  let db = null;
  let mounted = false;   // the drives live in the browser's storage (else in memory only)
  let playing = true;    // this tab has the game; false once another tab took it over
  let syncing = Promise.resolve();
  let lastingAsked = false;
  // What this tab and the storage last agreed on: path -> {timestamp, mode, contents}.
  const known = new Map();
  // The files of the last write the storage refused, for the player to download instead.
  let refused = new Map();

  // --- IndexedDB ---

  function requested(request) {
    return new Promise((resolve, reject) => {
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => reject(request.error);
    });
  }

  function finished(transaction) {
    return new Promise((resolve, reject) => {
      transaction.oncomplete = () => resolve();
      transaction.onerror = transaction.onabort = () => reject(transaction.error || new Error('aborted'));
    });
  }

  async function database() {
    if (db) return db;
    const request = indexedDB.open(root, DB_VERSION);
    request.onupgradeneeded = () => {
      const store = request.result.objectStoreNames.contains(STORE)
        ? request.transaction.objectStore(STORE) : request.result.createObjectStore(STORE);
      if (!store.indexNames.contains('timestamp')) store.createIndex('timestamp', 'timestamp', { unique: false });
    };
    db = await requested(request);
    // The browser closes the database when its data is cleared under the page.
    db.onclose = () => {
      db = null;
      known.clear();
      problem('The game\'s saves were removed from ' + STORAGE_NAME + ' while the game was open. ' +
              'This tab writes its drives again at the next save.');
    };
    db.onversionchange = () => { db.close(); db = null; };
    return db;
  }

  async function storedEntries() {
    const store = (await database()).transaction(STORE, 'readonly').objectStore(STORE);
    const range = IDBKeyRange.bound(root + '/', root + '/\uffff');
    const [keys, values] = await Promise.all([requested(store.getAllKeys(range)), requested(store.getAll(range))]);
    return new Map(keys.map((key, i) => [key, entryOf(values[i])]));
  }

  // --- the files in memory ---

  function entryOf(value) {
    if (!value) return undefined;
    return { timestamp: new Date(value.timestamp).getTime(), mode: value.mode, contents: value.contents };
  }

  function localEntries() {
    const entries = new Map();
    const pending = [root];
    while (pending.length) {
      const folder = pending.pop();
      for (const name of fs.readdir(folder)) {
        if (name === '.' || name === '..') continue;
        const path = folder + '/' + name;
        const stat = fs.stat(path);
        const isFolder = fs.isDir(stat.mode);
        if (isFolder) pending.push(path);
        entries.set(path, { timestamp: new Date(stat.mtime).getTime(), mode: stat.mode,
          contents: isFolder ? undefined : fs.readFile(path) });
      }
    }
    return entries;
  }

  // Two entries are the same file (folders: the same folder, whatever their times).
  function same(a, b) {
    if (!a || !b) return a === b;
    if (a.mode !== b.mode) return false;
    if (fs.isDir(a.mode)) return true;
    if (a.timestamp !== b.timestamp || a.contents.length !== b.contents.length) return false;
    return a.contents.every((byte, i) => byte === b.contents[i]);
  }

  function place(path, entry) {
    try {
      if (!entry) {
        const stat = fs.stat(path);
        if (fs.isDir(stat.mode)) fs.rmdir(path); else fs.unlink(path);
      } else if (fs.isDir(entry.mode)) {
        fs.mkdirTree(path, entry.mode);
      } else {
        fs.writeFile(path, entry.contents);
        fs.chmod(path, entry.mode);
        fs.utime(path, entry.timestamp, entry.timestamp);
      }
    } catch (e) {
      // A folder that still holds files stays; a file that is gone is gone.
    }
  }

  // Folders before their files, files before their folders when removed.
  const byDepth = (a, b) => a.split('/').length - b.split('/').length;

  // --- bringing in and writing out ---

  // Brings in what the storage holds that another tab wrote, where this tab changed nothing.
  async function pull() {
    const stored = await storedEntries();
    const local = localEntries();
    const paths = [...new Set([...stored.keys(), ...known.keys()])].sort(byDepth);
    for (const path of paths) {
      const theirs = stored.get(path);
      if (same(theirs, known.get(path)) || !same(local.get(path), known.get(path))) continue;
      if (!theirs) {
        place(path, undefined);
        known.delete(path);
      } else {
        place(path, theirs);
        known.set(path, theirs);
      }
    }
  }

  // Writes what this tab changed since it last agreed with the storage. On a failure the files
  // are put back as the storage holds them, and the error is thrown.
  async function push() {
    const local = localEntries();
    const changed = [...local].filter(([path, entry]) => !same(entry, known.get(path)));
    const removed = [...known].filter(([path]) => !local.has(path));
    if (!changed.length && !removed.length) return;
    try {
      if (!playing) throw Object.assign(new Error('the game is played in another tab'), { name: 'TakenOver' });
      const transaction = (await database()).transaction(STORE, 'readwrite');
      const store = transaction.objectStore(STORE);
      for (const [path, e] of changed) {
        store.put({ timestamp: new Date(e.timestamp), mode: e.mode, ...(e.contents ? { contents: e.contents } : {}) },
                  path);
      }
      for (const [path, mine] of removed) {
        const request = store.get(path);
        request.onsuccess = () => { if (same(entryOf(request.result), mine)) store.delete(path); };
      }
      await finished(transaction);
    } catch (error) {
      refused = new Map(changed.filter(([, e]) => e.contents));
      for (const [path] of changed.sort(byDepth).reverse()) place(path, known.get(path));
      for (const [path, mine] of removed.sort(byDepth)) place(path, mine);
      throw error;
    }
    refused = new Map();
    changed.forEach(([path, entry]) => known.set(path, entry));
    removed.forEach(([path]) => known.delete(path));
    if (channel) channel.postMessage({ type: 'stored' });
  }

  // Runs the storage's steps one after the other.
  function queued(step) {
    const run = () => step();
    const result = syncing.then(run, run);
    syncing = result.catch(() => {});
    return result;
  }

  // --- what the player is told ---

  function problem(text) {
    if (kestran.alert) kestran.alert(text, { download: true });
    else kestran.say(text, true);
  }

  function failureText(error) {
    const what = error && error.name === 'QuotaExceededError' ? 'is full'
      : 'refused it (' + ((error && (error.name + ': ' + error.message)) || 'no reason given') + ')';
    return 'The save could not be written: ' + STORAGE_NAME + ' ' + what + '. The previous save is as it was. ' +
           'Keep a copy of this game with "Download save".';
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
    if (lasting) kestran.say('This browser keeps the game\'s saves until you remove them.');
    else problem('This browser may clear the game\'s saves when it runs short of space: keep a copy with "Download save".');
  }

  // --- one player at a time ---

  // Resolves with whether this tab now holds the game's lock (held for the page's life).
  function lock(steal) {
    return new Promise((resolve) => {
      navigator.locks.request(LOCK, steal ? { steal: true } : { ifAvailable: true }, (held) => {
        resolve(!!held);
        return held ? new Promise(() => {}) : null;
      }).catch(lose);  // stolen by another tab
    });
  }

  function lose() {
    if (!playing) return;
    playing = false;
    document.documentElement.classList.add('taken-over');
    kestran.notice('The game went on in another tab: this tab no longer saves.', false, {
      label: 'Play here', name: 'take-over',
      run: () => {
        sessionStorage.setItem(TAKE_OVER_FLAG, '1');
        location.reload();
      },
    });
  }

  // Waits until this tab may play: at once when no other tab plays, else when the player takes
  // the game over from the other tab.
  async function claimGame() {
    if (!navigator.locks) return;
    const takeOver = sessionStorage.getItem(TAKE_OVER_FLAG) === '1';
    sessionStorage.removeItem(TAKE_OVER_FLAG);
    if (!takeOver && await lock(false)) return;
    if (!takeOver) {
      await new Promise((resolve) => kestran.notice(
        'The game is open in another tab. Playing here ends it there; its saves stay.', false,
        { label: 'Play here', name: 'take-over', run: resolve }));
    }
    if (channel) channel.postMessage({ type: 'taken' });
    await lock(true);
  }

  if (channel) {
    channel.onmessage = (e) => {
      if (e.data && e.data.type === 'taken' && playing && mounted) lose();
    };
  }

  kestran.storage = {
    // Mounts the drives at `rootPath` and brings in what the storage holds; false when the
    // browser keeps none for the page (the drives then live in memory, and the page says so).
    async mount(rootPath, FS) {
      fs = FS;
      root = rootPath;
      FS.mkdir(root);
      await claimGame();
      try {
        if (typeof indexedDB === 'undefined' || !indexedDB) throw new Error('no IndexedDB');
        await queued(pull);
        mounted = true;
      } catch (e) {
        mounted = false;
        problem('This browser keeps no storage for this page: saves last only until the page is closed. ' +
                'Keep a copy with "Download save".');
      }
      document.querySelectorAll('.drives button').forEach((b) => { b.disabled = false; });
      return mounted;
    },

    // Writes the drives' changes after the game (`bySave`) or a transfer changed them: 0 when
    // stored, else the error number for the program (-ENOSPC, -EIO).
    async persist(bySave) {
      if (!mounted) return 0;
      try {
        await queued(push);
      } catch (error) {
        if (playing) problem(failureText(error));
        return error && error.name === 'QuotaExceededError' ? -28 : -5;
      }
      if (bySave) {
        kestran.emit('saved', {});
        queueMicrotask(askForLastingStorage);
      }
      return 0;
    },

    // Brings in what other tabs stored, before the game opens a drive.
    async refresh() {
      if (!mounted || !playing) return;
      try {
        await queued(pull);
      } catch (e) {
        // The drives in memory are used as they are.
      }
    },

    // The bytes of the file `name` that the storage last refused (the newest save, where a
    // save was refused), or null.
    refusedFile(name) {
      const found = [...refused].find(([path]) => path.endsWith('/' + name));
      return found ? found[1].contents : null;
    },

    // The drive letters that have a folder.
    drives() {
      if (!fs) return [];
      try {
        return fs.readdir(root).filter((name) => /^[A-Z]$/.test(name)).sort();
      } catch (e) {
        return [];
      }
    },

    get playing() {
      return playing;
    },
  };

  // A hidden page may be ended without a word: what a transfer left unwritten is written. (A
  // save writes at once, and a failed write puts the files back, so this is seldom anything.)
  const flush = () => { if (mounted && playing) kestran.storage.persist(false); };
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') flush();
  });
  window.addEventListener('pagehide', flush);
})();
