// The page around the game: it checks that the browser has what the game needs, loads the
// program (kestran.js, kestran.wasm), and is the program's window (platform/web/browser): it
// draws the frames into the canvas and hands keys and typed text to the program.
//
// The page's other parts (the touch keys, the text field, the storage, the save transfers, the
// installation) are modules of their own that meet here, in `window.kestran`:
//   kestran.on(type, listener)  listener(detail) for each event of that type:
//     'started'    the program runs and takes keys
//     'screen'     after every wait for a key (and while a recording is watched, after every
//                  change): {rows (the 24 rows of text), lineInput (the game
//                  reads a line), changed (the rows differ from the last event's), words (the
//                  screen's words for a screen reader: the corridor described, or ''), wordsNew
//                  (the game has said them since the last event, also when they read the same)}
//     'frame'      the canvas has been drawn: {top, bottom} in frame pixels
//     'cursor'     where the text cursor is: {column, row, cellWidth, cellHeight, visible, cssScale}
//     'lineinput'  the game starts or stops reading a line: {on, column, row}
//     'layout'     the page has been fitted to the screen: {touch, portrait}
//     'ended'      the program has ended: {status}
//     'watch'      the state of a recording being watched: {status} ('' once the player plays)
//     'replayrefused'  the recording the address names cannot be watched: {why}
//     'saved'      the game's save has been stored
//   kestran.press(script)  types keys in key-script notation ("N", "{Enter}"); false if unread
//   kestran.type(text)     types text as an input method commits it
//   kestran.screen         {rows, lineInput, words} as the last 'screen' event told them
//   kestran.say(text, isError), kestran.focusGame(), kestran.download(blob, name), kestran.timestamp()
//   kestran.notice(text, isError, action)  a message over the screen, with a button for action
//   kestran.replayScript   set by a module: resolves with the recording to watch, or null
'use strict';

(function () {
  const $ = (id) => document.getElementById(id);
  const screen = $('screen');
  const canvas = $('canvas');
  const caret = $('caret');
  const ime = $('ime');
  const notice = $('notice');
  const status = $('status');

  // --- the hub the page's modules meet at ---

  const hub = new EventTarget();
  const kestran = {
    on(type, listener) {
      hub.addEventListener(type, (e) => listener(e.detail));
    },
    emit(type, detail) {
      hub.dispatchEvent(new CustomEvent(type, { detail }));
    },
  };
  window.kestran = kestran;

  // --- messages ---

  // A message over the screen, with a button when `action` ({label, run, name}: name is the
  // button's data-action) is given.
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
    if (action.name) button.dataset.action = action.name;
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
    // The recordings that links carry come packed.
    if (typeof DecompressionStream !== 'function') missing.push('DecompressionStream');
    if (typeof Promise !== 'function' || typeof fetch !== 'function') missing.push('fetch');
    if (!canvas.getContext || !canvas.getContext('2d')) missing.push('the 2D canvas');
    return missing;
  }

  // --- the canvas ---
  //
  // The frame is drawn into an unseen canvas of its own size and from there into the visible
  // canvas at a whole-number multiple, pixels as squares; CSS fits that to the screen. With a
  // keyboard and a mouse the screen is shown at the largest whole number of device pixels per
  // frame pixel, so every pixel is sharp; on a touch screen it fills the width (portrait) or the
  // height (landscape) and the browser smooths the last step.

  const context = canvas.getContext && canvas.getContext('2d', { alpha: false });
  const frame = document.createElement('canvas');
  frame.width = canvas.width;
  frame.height = canvas.height;
  const frameContext = frame.getContext && frame.getContext('2d', { alpha: false });
  const touchMedia = window.matchMedia ? window.matchMedia('(pointer: coarse)') : { matches: false };
  const TOUCH_BAR_SIZE = 232;   // CSS pixels kept for the touch keys beside or under the screen
  const DESKTOP_RESERVE = 180;  // the help line, the buttons and the status below the screen
  const MAX_MULTIPLE = 4;
  let cssScale = 1;  // CSS pixels per frame pixel
  let multiple = 1;  // canvas pixels per frame pixel

  function viewportSize() {
    const v = window.visualViewport;
    return { width: document.documentElement.clientWidth, height: v ? v.height : window.innerHeight };
  }

  // CSS pixels per frame pixel that the screen may take.
  function screenScale(touch, portrait) {
    const ratio = window.devicePixelRatio || 1;
    const { width, height } = viewportSize();
    if (document.fullscreenElement === screen) {
      return Math.min(window.innerWidth / frame.width, window.innerHeight / frame.height);
    }
    if (touch) {
      const w = portrait ? width : width - TOUCH_BAR_SIZE;
      const h = portrait ? height - TOUCH_BAR_SIZE : height;
      return Math.max(0.25, Math.min(w / frame.width, h / frame.height));
    }
    const deviceScale = Math.min((width - 16) * ratio / frame.width, (height - DESKTOP_RESERVE) * ratio / frame.height);
    return Math.max(1, Math.floor(deviceScale)) / ratio;
  }

  function fit() {
    const touch = touchMedia.matches;
    const { width, height } = viewportSize();
    // The phone's keyboard shortens the visible part, not the way the phone is held.
    const orientation = window.screen.orientation && window.screen.orientation.type;
    const portrait = touch && orientation ? orientation.startsWith('portrait') : height >= width;
    document.documentElement.classList.toggle('touch', touch);
    document.documentElement.classList.toggle('portrait', touch && portrait);
    document.documentElement.style.setProperty('--viewport-height', height + 'px');
    cssScale = screenScale(touch, portrait);
    const deviceScale = cssScale * (window.devicePixelRatio || 1);
    const wanted = Math.min(MAX_MULTIPLE, Math.max(1, Math.ceil(deviceScale - 0.01)));
    canvas.style.width = frame.width * cssScale + 'px';
    canvas.style.height = frame.height * cssScale + 'px';
    // Smoothing only where the canvas is made smaller; a larger one keeps its pixels square.
    canvas.style.imageRendering = deviceScale >= wanted - 0.01 ? 'pixelated' : 'auto';
    if (wanted !== multiple || canvas.width !== frame.width * wanted) {
      multiple = wanted;
      canvas.width = frame.width * multiple;
      canvas.height = frame.height * multiple;
      drawRows(0, frame.height);
    }
    placeCaret();
    kestran.emit('layout', { touch, portrait });
  }

  function drawRows(top, bottom) {
    context.imageSmoothingEnabled = false;
    context.drawImage(frame, 0, top, frame.width, bottom - top, 0, top * multiple, canvas.width, (bottom - top) * multiple);
  }

  // --- the window's side for the program (Module.kestranPage) ---

  let wake = null;      // resolves the program's wait for input
  let waitTimer = 0;
  let cursor = { column: 0, row: 0, cellWidth: 8, cellHeight: 18, visible: false };
  let textInput = false;
  let focused = false;
  let running = false;  // the program runs and takes keys
  let ended = false;
  let rows = [];
  let rowsChanged = false;
  let words = '';
  let wordsNew = false;
  let watching = false;  // a recording plays: its keys come at timed waits
  let font = null;
  let presented = false;  // the program has drawn its first frame
  let drives = null;      // resolves with 1 once the drives are in the browser's storage, 0 in memory only
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
    caret.style.left = cursor.column * cursor.cellWidth * cssScale + 'px';
    caret.style.top = cursor.row * cursor.cellHeight * cssScale + 'px';
    caret.style.width = Math.max(1, 2 * cssScale) + 'px';
    caret.style.height = cursor.cellHeight * cssScale + 'px';
    caret.hidden = !(cursor.visible && focused && running);
    kestran.emit('cursor', { ...cursor, cssScale });
  }

  // Keyboard focus goes to the text field during the line input (so that an input method can
  // work there), else to the screen itself.
  function focusTarget() {
    return textInput ? ime : screen;
  }

  // Tells the page's modules about the screen; never while the program is in the middle of its
  // call to the page, since a module may answer with keys.
  function tellScreen() {
    const detail = { rows, lineInput: textInput, changed: rowsChanged, words, wordsNew };
    rowsChanged = false;
    wordsNew = false;
    queueMicrotask(() => kestran.emit('screen', detail));
  }

  const page = {
    present(rgba, width, height, top, bottom) {
      if (!presented) {
        presented = true;
        performance.mark('kestran:first frame');
      }
      if (frame.width !== width || frame.height !== height) {
        frame.width = width;
        frame.height = height;
        fit();
      }
      const view = new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, width * height * 4);
      frameContext.putImageData(new ImageData(view, width, height), 0, 0, 0, top, width, bottom - top);
      drawRows(top, bottom);
      kestran.emit('frame', { top, bottom });
    },

    cursor(column, row, cellWidth, cellHeight, visible) {
      cursor = { column, row, cellWidth, cellHeight, visible };
      placeCaret();
    },

    screen(text) {
      rows = text.split('\n').slice(0, 24);
      rowsChanged = true;
    },

    words(text) {
      words = text;
      wordsNew = text !== '';
    },

    waitForInput(timeoutMs) {
      // A watched recording's keys come while the program waits with a time limit, so there
      // every change is told as well, for the screen reader to follow the game.
      if (timeoutMs < 0 || (watching && (rowsChanged || wordsNew))) tellScreen();
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
      kestran.emit('lineinput', { on, column, row });
      if (hadFocus) focusTarget().focus({ preventScroll: true });
    },

    message(title, text) {
      showNotice(title + '\n\n' + text, true, { label: 'OK', run: () => { notice.hidden = true; } });
    },

    // The font has been coming in since the page's start (kestran-load.js).
    async fetchFont() {
      try {
        font = await loading().font;
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

    // The game starts while its drives come in from the browser's storage.
    startDrives(root, FS, IDBFS) {
      drives = kestran.storage.mount(root, FS, IDBFS).then((persistent) => {
        performance.mark('kestran:drives mounted');
        return persistent ? 1 : 0;
      }, () => 0);
      notice.hidden = true;
      running = true;
      screen.focus({ preventScroll: true });
      queueMicrotask(() => kestran.emit('started', {}));
    },

    drivesMounted() {
      return drives;
    },

    persist() {
      return kestran.storage.persist(true);
    },

    refresh() {
      return kestran.storage.refresh();
    },

    replayScript() {
      return kestran.replayScript ? kestran.replayScript() : Promise.resolve(null);
    },

    replayRefused(why) {
      queueMicrotask(() => kestran.emit('replayrefused', { why }));
    },

    watchStatus(text) {
      watching = text !== '';
      queueMicrotask(() => kestran.emit('watch', { status: text }));
    },

    // The language the player chose (kestran-language.js), or ''; the browser's ('ja' or 'en').
    chosenLanguage() {
      return kestran.language ? kestran.language.chosen() : '';
    },

    browserLanguage() {
      return kestran.language ? kestran.language.browser() : 'ja';
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
      queueMicrotask(() => kestran.emit('ended', { status: exitStatus }));
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

  function setFocus(gained) {
    if (focused === gained) return;
    focused = gained;
    placeCaret();
    if (!running) return;
    Module._kestran_focus(gained ? 1 : 0);
    wakeProgram(1);
  }

  Object.assign(kestran, {
    press(script) {
      if (!running || !script) return false;
      const queued = withStrings([script], (pointer) => Module._kestran_press(pointer));
      if (queued) wakeProgram(1);
      return queued > 0;
    },
    type(text) {
      if (!running || !text) return;
      withStrings([text], (pointer) => Module._kestran_text(pointer));
      wakeProgram(1);
    },
    focusGame() {
      if (running) focusTarget().focus({ preventScroll: true });
    },
    say,
    notice: showNotice,
    download,
    timestamp,
    withStrings,
  });
  Object.defineProperties(kestran, {
    running: { get: () => running },
    lineInput: { get: () => textInput },
    // The screen as the last 'screen' event told it.
    screen: { get: () => ({ rows, lineInput: textInput, words }) },
  });

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
    frame.toBlob((blob) => {
      if (blob) download(blob, 'kestran-' + timestamp() + '.png');
    }, 'image/png');
  }

  // The page's state for scripts that drive it (the browser tests): whether the program waits for
  // a key or has ended, the screen's text, and how many canvas pixels a frame pixel takes.
  window.kestranStatus = () => ({
    waiting: wake !== null,
    ended,
    screenText: running ? Module.UTF8ToString(Module._kestran_screen_text()) : '',
    multiple,
  });

  // --- start ---

  function wire() {
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

    window.addEventListener('resize', fit);
    if (window.visualViewport) window.visualViewport.addEventListener('resize', fit);
    if (touchMedia.addEventListener) touchMedia.addEventListener('change', fit);
    document.addEventListener('fullscreenchange', fit);
    // The program may have started, and taken the focus, before the page was wired.
    if (screen.contains(document.activeElement)) setFocus(true);
    fit();
  }

  // What kestran-load.js started; a page whose first script did not come has nothing loading.
  function loading() {
    const failed = Promise.reject(new Error('the page\'s loader did not come'));
    failed.catch(() => {});
    return window.kestranLoading || { program: failed, font: failed };
  }

  // The program's instance, made from the module compiled while the page loaded.
  function instantiateWasm(imports, receive) {
    loading().program
      .then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
      .catch((e) => showNotice('The game could not be started (' + e.message + ').\nReload the page to try again.', true));
    return {};
  }

  // The program starts as soon as the page's scripts are in, before the page is laid out: its
  // title is drawn before the browser's first full layout. The page is wired to it once parsed.
  function prepareProgram() {
    const missing = missingFeatures();
    if (missing.length) {
      // kestran.js, which follows, then never makes the program's instance.
      window.Module = { noInitialRun: true, instantiateWasm: () => ({}) };
      document.addEventListener('DOMContentLoaded', () => showNotice(
        'This browser lacks what the game needs: ' + missing.join(', ') +
        '.\nA current Chromium, Firefox or Safari runs it.', true));
      return;
    }
    window.Module = {
      kestranPage: page,
      instantiateWasm,
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: (what) => {
        running = false;
        showNotice('The game stopped: ' + what, true, { label: 'Play again', run: () => location.reload() });
      },
    };
    window.addEventListener('error', (e) => {
      if (e.target && e.target.tagName === 'SCRIPT' && /kestran\.js$/.test(e.target.src)) {
        showNotice('The game\'s files could not be loaded. Reload the page to try again.', true);
      }
    }, true);
  }

  prepareProgram();
  document.addEventListener('DOMContentLoaded', wire);
})();
