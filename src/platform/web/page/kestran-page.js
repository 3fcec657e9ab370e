// The page around the game: it checks that the browser has what the game needs, loads the
// program (kestran.js, kestran.wasm), and is the program's window (platform/web/browser): it
// draws the frames into the canvas, hands keys and typed text to the program, keeps the drive
// folders in the browser's storage (IndexedDB) and carries save files in and out.
'use strict';

(function () {
  const MAX_SAVE_SIZE = 1 << 20;  // as the game: a larger file is no save
  const SAVE_NAME = 'KSSAVE';
  const PREDECESSOR_NAME = 'VELDSAVE';

  const $ = (id) => document.getElementById(id);
  const screen = $('screen');
  const canvas = $('canvas');
  const caret = $('caret');
  const ime = $('ime');
  const notice = $('notice');
  const status = $('status');
  const driveSelect = $('drive');
  const buttons = [$('download'), $('upload'), $('upload-old')];

  // --- messages ---

  // A message over the screen, with a button when `action` is given.
  function showNotice(text, isError, action) {
    notice.textContent = text;
    notice.classList.toggle('error', !!isError);
    if (action) addNoticeButton(action);
    notice.hidden = false;
  }

  function addNoticeButton(action) {
    const button = document.createElement('button');
    button.type = 'button';
    button.textContent = action.label;
    button.addEventListener('click', action.run);
    notice.appendChild(button);
  }

  function say(text, isError) {
    status.textContent = text;
    status.classList.toggle('error', !!isError);
  }

  // --- what the browser must have ---

  function missingFeatures() {
    const missing = [];
    if (typeof WebAssembly !== 'object') missing.push('WebAssembly');
    if (typeof DecompressionStream !== 'function') missing.push('DecompressionStream (gzip)');
    if (typeof Promise !== 'function' || typeof fetch !== 'function') missing.push('fetch');
    if (!canvas.getContext || !canvas.getContext('2d')) missing.push('the 2D canvas');
    return missing;
  }

  // --- the canvas: integer scale in device pixels, so every frame pixel is a whole square ---

  const context = canvas.getContext && canvas.getContext('2d', { alpha: false });
  let cssScale = 1;  // CSS pixels per frame pixel

  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const full = document.fullscreenElement === screen;
    const reserve = full ? 0 : 180;  // the help line, the buttons and the status below
    const width = (full ? window.innerWidth : document.documentElement.clientWidth - 16) * ratio;
    const height = (window.innerHeight - reserve) * ratio;
    const scale = Math.max(1, Math.floor(Math.min(width / canvas.width, height / canvas.height)));
    cssScale = scale / ratio;
    canvas.style.width = canvas.width * cssScale + 'px';
    canvas.style.height = canvas.height * cssScale + 'px';
    placeCaret();
  }

  // --- the window's side for the program (Module.kestranPage) ---

  let wake = null;      // resolves the program's wait for input
  let waitTimer = 0;
  let cursor = { column: 0, row: 0, cellWidth: 8, cellHeight: 18, visible: false };
  let textInput = false;
  let focused = false;
  let running = false;  // the program runs and takes keys
  let ended = false;
  let fs = null;        // emscripten's FS, once the drives are mounted
  let persistent = false;
  let syncing = Promise.resolve();
  let font = null;
  let audio = null;
  let tones = 0;

  function wakeProgram(value) {
    if (!wake) return;
    const resolve = wake;
    wake = null;
    clearTimeout(waitTimer);
    resolve(value);
  }

  function placeCaret() {
    const left = cursor.column * cursor.cellWidth * cssScale;
    const top = cursor.row * cursor.cellHeight * cssScale;
    caret.style.left = left + 'px';
    caret.style.top = top + 'px';
    caret.style.width = Math.max(1, 2 * cssScale) + 'px';
    caret.style.height = cursor.cellHeight * cssScale + 'px';
    caret.hidden = !(cursor.visible && focused && running);
    ime.style.left = left + 'px';
    ime.style.top = top + 'px';
    ime.style.fontSize = Math.round(16 * cssScale) + 'px';
    ime.style.height = cursor.cellHeight * cssScale + 'px';
    sizeComposition();
  }

  // The composition's box: a double-width cell per character being composed.
  function sizeComposition() {
    const characters = ime.classList.contains('composing') ? Math.max(1, [...ime.value].length) : 0;
    ime.style.width = characters ? (characters * 2 * cursor.cellWidth + 2) * cssScale + 'px' : '1px';
  }

  // Keyboard focus goes to the text input during the line input (so that an input method can
  // work there), else to the screen itself.
  function focusTarget() {
    return textInput ? ime : screen;
  }

  function syncStorage(populate) {
    const run = () => new Promise((resolve) => fs.syncfs(populate, (error) => resolve(!error)));
    syncing = syncing.then(run, run);
    return syncing;
  }

  const page = {
    present(rgba, width, height, top, bottom) {
      if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        fit();
      }
      const view = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
      context.putImageData(new ImageData(view, width, height), 0, 0, 0, top, width, bottom - top);
    },

    cursor(column, row, cellWidth, cellHeight, visible) {
      cursor = { column, row, cellWidth, cellHeight, visible };
      placeCaret();
    },

    waitForInput(timeoutMs) {
      return new Promise((resolve) => {
        wake = resolve;
        if (timeoutMs >= 0) waitTimer = setTimeout(() => wakeProgram(0), timeoutMs);
      });
    },

    beep() {
      const AudioContext = window.AudioContext || window.webkitAudioContext;
      if (!AudioContext) return;
      try {
        audio = audio || new AudioContext();
        audio.resume();
        // 880 Hz for a tenth of a second, faded in and out so that it does not click.
        const t = audio.currentTime;
        const tone = audio.createOscillator();
        const gain = audio.createGain();
        tone.frequency.value = 880;
        gain.gain.setValueAtTime(0, t);
        gain.gain.linearRampToValueAtTime(0.25, t + 0.005);
        gain.gain.setValueAtTime(0.25, t + 0.095);
        gain.gain.linearRampToValueAtTime(0, t + 0.1);
        tone.connect(gain).connect(audio.destination);
        tone.start(t);
        tone.stop(t + 0.1);
        ++tones;
        // A silent audio device still costs CPU: it is suspended when no tone plays.
        tone.onended = () => {
          tone.disconnect();
          gain.disconnect();
          if (--tones === 0) audio.suspend();
        };
      } catch (e) {
        // No sound is no reason to stop the game.
      }
    },

    textInput(on, column, row) {
      const hadFocus = focused;
      textInput = on;
      cursor.column = column;
      cursor.row = row;
      placeCaret();
      ime.value = '';
      ime.classList.remove('composing');
      if (hadFocus) focusTarget().focus({ preventScroll: true });
    },

    message(title, text) {
      showNotice(title + '\n\n' + text, true, { label: 'OK', run: () => { notice.hidden = true; } });
    },

    async fetchFont() {
      try {
        const response = await fetch('kestran-font.bin.gz');
        if (!response.ok) throw new Error('HTTP ' + response.status);
        const unpacked = response.body.pipeThrough(new DecompressionStream('gzip'));
        font = new Uint8Array(await new Response(unpacked).arrayBuffer());
        return font.length;
      } catch (e) {
        showNotice('The font could not be loaded (' + e.message + ').\nReload the page to try again.', true);
        return 0;
      }
    },

    takeFont(pointer) {
      Module.HEAPU8.set(font, pointer);
      font = null;
    },

    async mountDrives(root, FS, IDBFS) {
      fs = FS;
      FS.mkdir(root);
      try {
        if (typeof indexedDB === 'undefined' || !indexedDB) throw new Error('no IndexedDB');
        FS.mount(IDBFS, {}, root);
        persistent = true;
        if (!(await syncStorage(true))) throw new Error('IndexedDB refused');
      } catch (e) {
        persistent = false;
        say('This browser keeps no storage for this page: saves last only until the page is closed.', true);
      }
      buttons.forEach((b) => { b.disabled = false; });
      notice.hidden = true;
      running = true;
      screen.focus({ preventScroll: true });
      return persistent ? 1 : 0;
    },

    async persist() {
      return !persistent || (await syncStorage(false)) ? 1 : 0;
    },

    seed() {
      const value = new URLSearchParams(location.search).get('seed');
      return value !== null && /^\d+$/.test(value) ? Number(value) : -1;
    },

    ended(exitStatus) {
      running = false;
      ended = true;
      textInput = false;
      placeCaret();
      const again = { label: 'Play again', run: () => location.reload() };
      if (notice.hidden) {
        showNotice(exitStatus === 0 ? 'The game has ended.' : 'The game stopped with an error.', exitStatus !== 0,
                   again);
      } else {
        // A message from the program, or about the start, stays in view.
        notice.querySelectorAll('button').forEach((b) => b.remove());
        addNoticeButton(again);
      }
    },
  };

  // --- calls into the program ---

  // Runs fn with the strings copied into the program's memory (as UTF-8 pointers).
  function withStrings(strings, fn) {
    const pointers = strings.map((s) => {
      const size = Module.lengthBytesUTF8(s) + 1;
      const pointer = Module._malloc(size);
      Module.stringToUTF8(s, pointer, size);
      return pointer;
    });
    try {
      return fn(...pointers);
    } finally {
      pointers.forEach((p) => Module._free(p));
    }
  }

  function modifiers(e) {
    return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0) | (e.metaKey ? 8 : 0);
  }

  // The results of kestran_key_down.
  const TAKEN = 1;
  const FULLSCREEN = 2;
  const COPY_TEXT = 3;
  const SCREENSHOT = 4;

  function onKeyDown(e) {
    if (!running || e.isComposing || e.keyCode === 229) return;  // the input method's own keys
    const result = withStrings([e.key, e.code], (key, code) => Module._kestran_key_down(key, code, modifiers(e)));
    if (!result) return;
    e.preventDefault();
    if (result === TAKEN) wakeProgram(1);
    if (result === FULLSCREEN && !e.repeat) toggleFullscreen();
    if (result === COPY_TEXT && !e.repeat) copyText();
    if (result === SCREENSHOT && !e.repeat) saveScreenshot();
  }

  function onKeyUp(e) {
    if (!running || e.isComposing) return;
    if (withStrings([e.key, e.code], (key, code) => Module._kestran_key_up(key, code, modifiers(e)))) {
      e.preventDefault();
      wakeProgram(1);
    }
  }

  function typeText(text) {
    if (!running || !text) return;
    withStrings([text], (pointer) => Module._kestran_text(pointer));
    wakeProgram(1);
  }

  function setFocus(gained) {
    if (focused === gained) return;
    focused = gained;
    placeCaret();
    if (!running) return;
    Module._kestran_focus(gained ? 1 : 0);
    wakeProgram(1);
  }

  // --- the window's own keys ---

  function toggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (screen.requestFullscreen) screen.requestFullscreen().catch(() => {});
  }

  function copyText() {
    const text = Module.UTF8ToString(Module._kestran_screen_text());
    if (!navigator.clipboard) {
      say('This browser gives the page no clipboard.', true);
      return;
    }
    navigator.clipboard.writeText(text).then(() => say('The screen\'s text is on the clipboard.'),
                                             () => say('The clipboard could not be written.', true));
  }

  function timestamp() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return d.getFullYear() + two(d.getMonth() + 1) + two(d.getDate()) + '-' + two(d.getHours()) +
           two(d.getMinutes()) + two(d.getSeconds());
  }

  function download(blob, name) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function saveScreenshot() {
    canvas.toBlob((blob) => {
      if (blob) download(blob, 'kestran-' + timestamp() + '.png');
    }, 'image/png');
  }

  // --- save files in and out ---

  function driveLetter() {
    return driveSelect.value;
  }

  function transferMessage() {
    return Module.UTF8ToString(Module._kestran_transfer_message());
  }

  function fetchSave(letter, name) {
    const found = withStrings([name], (pointer) => Module._kestran_fetch_save(letter.charCodeAt(0), pointer));
    if (!found) return null;
    const data = Module._kestran_transfer_data();
    return Module.HEAPU8.slice(data, data + Module._kestran_transfer_size());
  }

  function downloadSave() {
    const letter = driveLetter();
    const bytes = fetchSave(letter, SAVE_NAME);
    if (!bytes) {
      say(transferMessage() + ' Save in the game first (at the inn, or when a hero is made).', true);
      return;
    }
    download(new Blob([bytes], { type: 'application/octet-stream' }), SAVE_NAME);
    say('The save of drive ' + letter + ' is downloaded as ' + SAVE_NAME + '.');
  }

  let uploadName = SAVE_NAME;

  function chooseUpload(name) {
    uploadName = name;
    $('file').value = '';
    $('file').click();
  }

  async function upload(file, name) {
    const letter = driveLetter();
    if (file.size > MAX_SAVE_SIZE) {
      say(file.name + ' is larger than 1 MiB: it cannot be a save file. Nothing was changed.', true);
      return;
    }
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (e) {
      say(file.name + ' could not be read (' + e.message + '). Nothing was changed.', true);
      return;
    }
    if (fetchSave(letter, name) && !window.confirm('Replace the ' + name + ' on drive ' + letter + ' with ' +
                                                   file.name + '?')) {
      say('Nothing was changed.');
      return;
    }
    const data = Module._malloc(Math.max(1, bytes.length));
    Module.HEAPU8.set(bytes, data);
    const placed = withStrings([name], (pointer) =>
      Module._kestran_place_save(letter.charCodeAt(0), pointer, data, bytes.length));
    Module._free(data);
    if (!placed) {
      say(transferMessage() + ' Nothing was changed.', true);
      return;
    }
    if (!(await page.persist())) {
      Module._kestran_undo_place();
      say('The browser\'s storage refused ' + file.name + '. Nothing was changed.', true);
      return;
    }
    const next = name === SAVE_NAME ? 'load it with (L) on the title screen' : 'convert it with (D) on the title screen';
    say(file.name + ' is now ' + name + ' on drive ' + letter + ': ' + next + '.');
  }

  // The page's state for scripts that drive it (the browser tests): whether the program waits for
  // a key or has ended, and the screen's text.
  window.kestranStatus = () => ({
    waiting: wake !== null,
    ended,
    screenText: running ? Module.UTF8ToString(Module._kestran_screen_text()) : '',
  });

  // --- start ---

  function wire() {
    for (let c = 65; c <= 90; ++c) {
      const option = document.createElement('option');
      option.value = option.textContent = String.fromCharCode(c);
      driveSelect.appendChild(option);
    }
    driveSelect.value = 'C';

    screen.addEventListener('keydown', onKeyDown);
    screen.addEventListener('keyup', onKeyUp);
    screen.addEventListener('focusin', () => setFocus(true));
    screen.addEventListener('focusout', (e) => {
      if (!screen.contains(e.relatedTarget)) setFocus(false);
    });
    screen.addEventListener('mousedown', (e) => {
      if (e.target.tagName === 'BUTTON') return;
      e.preventDefault();
      focusTarget().focus({ preventScroll: true });
    });
    screen.addEventListener('focus', () => {
      if (textInput) ime.focus({ preventScroll: true });
    });

    // Text that comes without a key press the program took: an input method's result, a dead
    // key's character, a virtual keyboard's.
    ime.addEventListener('compositionstart', () => ime.classList.add('composing'));
    ime.addEventListener('compositionupdate', () => requestAnimationFrame(sizeComposition));
    ime.addEventListener('compositionend', (e) => {
      ime.classList.remove('composing');
      ime.value = '';
      sizeComposition();
      typeText(e.data);
    });
    ime.addEventListener('input', (e) => {
      if (e.isComposing || e.inputType !== 'insertText') return;
      ime.value = '';
      typeText(e.data);
    });

    // After a transfer the keys go back to the game.
    const backToGame = () => { if (running) focusTarget().focus({ preventScroll: true }); };
    $('download').addEventListener('click', () => {
      downloadSave();
      backToGame();
    });
    $('upload').addEventListener('click', () => chooseUpload(SAVE_NAME));
    $('upload-old').addEventListener('click', () => chooseUpload(PREDECESSOR_NAME));
    $('file').addEventListener('change', () => {
      const file = $('file').files[0];
      if (file) upload(file, uploadName).finally(backToGame);
    });

    window.addEventListener('resize', fit);
    document.addEventListener('fullscreenchange', fit);
    fit();
  }

  function start() {
    wire();
    const missing = missingFeatures();
    if (missing.length) {
      showNotice('This browser lacks what the game needs: ' + missing.join(', ') +
                 '.\nA current Chromium, Firefox or Safari runs it.', true);
      return;
    }
    window.Module = {
      kestranPage: page,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: (what) => {
        running = false;
        showNotice('The game stopped: ' + what, true, { label: 'Play again', run: () => location.reload() });
      },
    };
    const script = document.createElement('script');
    script.src = 'kestran.js';
    script.onerror = () => showNotice('The game\'s files could not be loaded. Reload the page to try again.', true);
    document.body.appendChild(script);
  }

  start();
})();
