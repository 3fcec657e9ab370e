// The touch keys: under the screen (portrait) or beside it (landscape), the keys the current
// screen asks for (read from its rows by KestranScreenKeys), the cursor keys as a d-pad in the
// labyrinth, Enter and Esc always, the phone's keyboard and a panel of every key one tap away.
//
// Every key is a <button data-key> in key-script notation with an accessible name in the game's
// own words, and types on `pointerdown` (no wait for the end of the tap, and the focus stays
// where it is) the key the finger came down on, unless the keys changed a moment before (or a
// burst of taps that began before goes on); a click that no pointer pressed (a keyboard, a screen reader) types it too. An
// action (the phone's keyboard, every key) acts on the click, at the end of the tap.
'use strict';

(function () {
  const kestran = window.kestran;
  const readScreen = window.KestranScreenKeys.screenReader();
  // A tap this soon after the keys changed was meant for the keys before: no one reacts faster.
  // Taps that go on at that pace are the same burst, meant for the keys before too.
  const SETTLE_MS = 150;
  const $ = (id) => document.getElementById(id);
  const bar = $('touch-keys');
  const contextKeys = $('context-keys');
  const dpad = $('dpad');
  const keyboard = $('keyboard');
  const typeButton = $('type-button');
  let shown = '';           // what the context keys show, to leave them alone when it is the same
  let otherDrives = false;  // the drive prompt's other letters are asked for
  let lastPointerPress = -Infinity;  // when a pointer last pressed a key
  let settledAt = -Infinity;         // from when a tap counts (the event clock)

  // What a named key's button shows.
  const CAPS = { '{BS}': '⌫', '{Left}': '←', '{Right}': '→', '{Up}': '↑', '{Down}': '↓', '{x0F}': 'Ctrl+O',
    '{Ctrl-C}': 'Ctrl+C', ' ': '␣' };

  function makeKey(key, label, name) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'key';
    button.dataset.key = key;
    button.setAttribute('aria-label', name || label);
    const cap = document.createElement('b');
    cap.textContent = CAPS[key] || key.replace(/^\{(.*)\}$/, '$1');
    button.appendChild(cap);
    if (label && label !== cap.textContent) {
      const text = document.createElement('span');
      text.textContent = label;
      button.appendChild(text);
    }
    return button;
  }

  function makeAction(action, label, name) {
    const button = document.createElement('button');
    button.type = 'button';
    button.className = 'key action';
    button.dataset.action = action;
    button.textContent = label;
    button.setAttribute('aria-label', name);
    return button;
  }

  // --- the keys of the current screen ---

  // The prompt of a line being read: the lowest row's words before the typed text.
  function linePrompt(rows) {
    const row = [...rows].reverse().find((r) => r.trim()) || '';
    return row.trim().split(/\s{2,}/)[0];
  }

  function lineInputKeys(rows) {
    const prompt = linePrompt(rows);
    typeButton.setAttribute('aria-label', prompt ? prompt + ': type with the keyboard' : 'Type with the keyboard');
    return [makeKey('{BS}', '', 'Backspace'), makeKey('{Left}', '', 'Left'), makeKey('{Right}', '', 'Right'),
      makeKey('{x0F}', 'ローマ字', 'ローマ字入力 (Ctrl+O)')];
  }

  // A key the screen asks for, named by the game's words for it (the choice, or the question).
  function screenKey(k) {
    return makeKey(k.key, k.label, k.key + ': ' + (k.question || k.label));
  }

  function driveKeys(keys) {
    const buttons = keys.map(screenKey);
    const others = kestran.storage.drives().some((letter) => !keys.some((k) => k.key === letter));
    if (!otherDrives && others) {
      buttons.push(makeAction('drives', 'Other', 'Other drives'));
      return buttons;
    }
    for (const letter of kestran.storage.drives()) {
      if (!keys.some((k) => k.key === letter)) buttons.push(makeKey(letter, letter, 'Drive ' + letter));
    }
    return buttons;
  }

  function showScreen(rows, lineInput) {
    const read = readScreen(rows, lineInput);
    if (!read.drive) otherDrives = false;
    const signature = JSON.stringify([read, otherDrives]);
    if (signature === shown) return;
    shown = signature;
    let buttons;
    if (read.lineInput) buttons = lineInputKeys(rows);
    else if (read.drive) buttons = driveKeys(read.keys);
    else buttons = read.keys.map(screenKey);
    contextKeys.replaceChildren(...buttons);
    settledAt = performance.now() + SETTLE_MS;
    // Keys without words (Y and N, digits, drive letters) in narrower columns.
    contextKeys.classList.toggle('answers', buttons.length > 0 && buttons.every((b) => b.childElementCount === 1));
    dpad.hidden = !read.cursorKeys;
    typeButton.classList.toggle('wanted', read.lineInput);
    bar.classList.toggle('any-key', read.anyKey);
  }

  // --- every key ---

  // In the order of the alphabet: a phone is too narrow for ten keys of a finger's width in a row.
  const KEYBOARD_ROWS = ['1234567890', 'ABCDEFGHIJKLMNOPQRSTUVWXYZ', '+-*/=.,:;!?\'"#$%&()<>@[]^_'];
  const NAMED = ['{Tab}', '{BS}', '{Del}', '{Ins}', '{Home}', '{End}', '{PgUp}', '{PgDn}', '{Up}', '{Down}',
    '{Left}', '{Right}', '{Ctrl-C}'];

  function fillKeyboard() {
    const close = makeAction('keyboard', '✕', 'Close the keyboard');
    const shift = makeAction('shift', 'a/A', 'Lower or upper case');
    const rows = KEYBOARD_ROWS.map((keys) => {
      const row = document.createElement('div');
      row.className = 'keyboard-row';
      for (const key of keys) row.appendChild(makeKey(key, key, key));
      return row;
    });
    const named = document.createElement('div');
    named.className = 'keyboard-row named';
    for (const key of NAMED) named.appendChild(makeKey(key, '', key.slice(1, -1)));
    named.appendChild(makeKey(' ', '', 'Space'));
    const functions = document.createElement('div');
    functions.className = 'keyboard-row named';
    for (let n = 1; n <= 12; ++n) functions.appendChild(makeKey(`{F${n}}`, '', `F${n}`));
    const controls = document.createElement('div');
    controls.className = 'keyboard-row';
    controls.append(shift, close);
    keyboard.replaceChildren(controls, ...rows, named, functions);
  }

  function toggleCase() {
    keyboard.querySelectorAll('button[data-key]').forEach((b) => {
      const key = b.dataset.key;
      if (!/^[A-Za-z]$/.test(key)) return;
      const other = key === key.toUpperCase() ? key.toLowerCase() : key.toUpperCase();
      b.dataset.key = other;
      b.firstChild.textContent = other;
      b.setAttribute('aria-label', other);
    });
  }

  function toggleKeyboard() {
    keyboard.hidden = !keyboard.hidden;
    bar.querySelectorAll('[data-action="keyboard"]').forEach((b) => b.setAttribute('aria-expanded', String(!keyboard.hidden)));
  }

  // --- taps ---

  function act(button) {
    const action = button.dataset.action;
    if (action === 'keyboard') toggleKeyboard();
    else if (action === 'shift') toggleCase();
    else if (action === 'drives') {
      otherDrives = true;
      showScreen(kestran.screen.rows, kestran.screen.lineInput);
    }
  }

  function onPointerDown(e) {
    const button = e.target.closest('button[data-key]');
    if (!button || e.button > 0) return;
    e.preventDefault();
    lastPointerPress = e.timeStamp;
    if (e.timeStamp >= settledAt || keyboard.contains(button)) kestran.press(button.dataset.key);
    else settledAt = e.timeStamp + SETTLE_MS;
  }

  function onClick(e) {
    const button = e.target.closest('button');
    if (!button) return;
    if (button.dataset.action) {
      act(button);
      return;
    }
    // The end of a tap whose key was typed at its start; the keys may have changed under the
    // finger since. A click from a keyboard or a screen reader has no pointer's detail.
    const endOfTap = e.detail > 0 && e.timeStamp - lastPointerPress < 2000;
    lastPointerPress = -Infinity;
    if (!endOfTap && button.dataset.key) kestran.press(button.dataset.key);
  }

  kestran.on('screen', ({ rows, lineInput }) => showScreen(rows, lineInput));
  // On a touch screen the page's messages sit with the keys, in sight.
  const status = $('status');
  const statusPlace = { parent: status.parentNode, next: status.nextSibling };
  kestran.on('layout', ({ touch }) => {
    bar.hidden = !touch;
    if (touch && status.parentNode !== bar) bar.prepend(status);
    if (!touch && status.parentNode === bar) statusPlace.parent.insertBefore(status, statusPlace.next);
  });
  kestran.on('ended', () => { bar.classList.add('ended'); });
  bar.addEventListener('pointerdown', onPointerDown);
  bar.addEventListener('click', onClick);
  fillKeyboard();
})();
