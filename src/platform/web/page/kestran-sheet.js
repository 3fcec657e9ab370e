// The page on a touch screen, around the keys: a menu button that opens a sheet of the page's
// controls (saves, recordings, the screen reader's buttons) over the keys, never over the game;
// the controls of a recording being watched in view with the game; in portrait, the screen's
// newest lines and its prompt in a readable size in the room under the screen; and the page's
// alerts (about the storage), which the player may dismiss until something new is said.
//
// The controls keep their place in the page for a keyboard and a mouse: only on a touch screen
// are they moved into the sheet.
'use strict';

(function () {
  const kestran = window.kestran;
  const $ = (id) => document.getElementById(id);
  const bar = $('touch-keys');
  const fixedKeys = bar.querySelector('.fixed-keys');
  const LATEST_ROWS = 10;

  function element(tag, className, text) {
    const e = document.createElement(tag);
    if (className) e.className = className;
    if (text) e.textContent = text;
    return e;
  }

  // A button with a sign, and words that a narrow place leaves out (`name` is always told).
  function button(action, sign, words, run) {
    const b = element('button', 'key action', sign);
    b.type = 'button';
    b.dataset.action = action;
    b.setAttribute('aria-label', words);
    b.appendChild(element('span', 'words', ' ' + words));
    b.addEventListener('click', run);
    return b;
  }

  // --- the sheet ---

  const sheet = element('div', 'sheet');
  sheet.id = 'sheet';
  sheet.hidden = true;
  sheet.setAttribute('role', 'dialog');
  sheet.setAttribute('aria-label', 'Menu');
  const menuButton = button('menu', '☰', 'Menu', () => toggleSheet());
  menuButton.setAttribute('aria-expanded', 'false');
  menuButton.setAttribute('aria-controls', 'sheet');
  const closeButton = button('close-menu', '✕', 'Back to the game', () => toggleSheet(false));
  sheet.appendChild(closeButton);
  const SHEET_PARTS = ['.drives', '.recordings', '.reader'].map((selector) => document.querySelector(selector));
  const homes = SHEET_PARTS.map((part) => ({ parent: part.parentNode, next: part.nextSibling }));

  function toggleSheet(open = sheet.hidden) {
    sheet.hidden = !open;
    menuButton.setAttribute('aria-expanded', String(open));
    (open ? closeButton : menuButton).focus({ preventScroll: true });
    if (!open) kestran.focusGame();
  }

  // A control used from the sheet closes it, so that the game is in view for what it did.
  sheet.addEventListener('click', (e) => {
    const used = e.target.closest('button');
    if (used && used !== closeButton && !used.closest('.alert')) setTimeout(() => toggleSheet(false), 0);
  });

  // --- the watched recording's controls ---

  const replay = $('replay');
  const replayHome = { parent: replay.parentNode, next: replay.nextSibling };

  // --- the newest lines ---

  const latest = element('div', 'latest');
  latest.setAttribute('aria-hidden', 'true');  // the screen reader has the log of what the game says
  latest.lang = 'ja';

  // A row that asks the player something.
  const PROMPT = /して下さい|ますか|\([A-Z0-9]\/[A-Z0-9]\)|\(\d-\d\)/;

  // The newest rows (those that fit, the room cuts the oldest), and under them the prompt the
  // game waits at when it stands higher up.
  function showLatest(rows) {
    const lines = rows.map((row) => row.replace(/\s{2,}/g, '  ').trim()).filter((row) => row);
    const shown = lines.slice(-LATEST_ROWS);
    const prompt = [...lines].reverse().find((line) => PROMPT.test(line));
    const parts = shown.map((line) => element('div', '', line));
    if (prompt && !shown.includes(prompt)) parts.push(element('div', 'prompt', prompt));
    latest.replaceChildren(...parts);
  }

  // --- alerts ---

  const alertBox = element('div', 'alert');
  alertBox.setAttribute('role', 'alert');
  alertBox.hidden = true;
  const alertText = element('span', 'alert-text');
  const dismissed = new Set();
  alertBox.append(alertText,
    button('download-save', '⬇', 'Download save', downloadNewest),
    button('dismiss', '✕', 'Dismiss', () => {
      dismissed.add(alertText.textContent);
      alertBox.hidden = true;
    }));
  // Where the text is cut short (beside the keys), a tap shows it whole.
  alertText.addEventListener('click', () => alertBox.classList.toggle('whole'));

  // The save the storage refused, else the drive's.
  function downloadNewest() {
    const refused = kestran.storage.refusedFile('KSSAVE');
    if (!refused) {
      $('download').click();
      return;
    }
    kestran.download(new Blob([refused], { type: 'application/octet-stream' }), 'KSSAVE');
    kestran.say('The save the browser\'s storage refused is downloaded as KSSAVE.');
  }

  // Shows `text` until it is dismissed; a text once dismissed comes back only after another.
  kestran.alert = (text) => {
    if (alertText.textContent !== text) dismissed.clear();
    alertText.textContent = text;
    alertBox.hidden = dismissed.has(text);
  };

  // --- placing it all ---

  function place(touch) {
    SHEET_PARTS.forEach((part, i) => {
      if (touch) sheet.appendChild(part);
      else homes[i].parent.insertBefore(part, homes[i].next);
    });
    if (touch) {
      bar.prepend(latest);
      bar.appendChild(sheet);
      fixedKeys.appendChild(menuButton);
      latest.after(alertBox);
    } else {
      sheet.hidden = true;
      $('status').before(alertBox);
    }
    placeReplay(touch);
  }

  // With the keys only while a recording plays: its buttons type keys of their own.
  let watching = false;
  function placeReplay(touch) {
    if (touch && watching) bar.prepend(replay);
    else replayHome.parent.insertBefore(replay, replayHome.next);
  }

  // A page shown again (a rotation, a reload) shows the whole game, not where it was scrolled.
  if ('scrollRestoration' in history) history.scrollRestoration = 'manual';
  kestran.on('layout', ({ touch }) => {
    if (touch !== bar.contains(sheet)) place(touch);
    if (touch) window.scrollTo(0, 0);
  });
  kestran.on('screen', ({ rows }) => showLatest(rows));
  kestran.on('watch', ({ status }) => {
    if (watching === !!status) return;
    watching = !!status;
    placeReplay(bar.contains(sheet));
  });
  $('status').before(alertBox);
})();
