// The text field: a real text area over the cursor cell, where a desktop input method and a
// phone's own keyboard type. Its text goes to the program as it is committed: nothing while a
// composition is open, then the committed text (the program turns it into Shift-JIS, and where
// the game reads single keys folds the full-width letters a Japanese keyboard gives back to
// ASCII). The field is emptied after every commit, so the browser never edits text of its own.
//
// A `data-action="type"` button focuses the field within the tap that pressed it: a phone opens
// its keyboard only for a focus the player asked for.
'use strict';

(function () {
  const kestran = window.kestran;
  const ime = document.getElementById('ime');
  let cursor = { column: 0, row: 0, cellWidth: 8, cellHeight: 18, cssScale: 1 };

  const MIN_FONT_PX = 16;  // a phone's smallest readable size

  function place() {
    const scale = cursor.cssScale;
    ime.style.fontSize = Math.max(MIN_FONT_PX, Math.round(16 * scale)) + 'px';
    ime.style.height = Math.max(MIN_FONT_PX + 4, cursor.cellHeight * scale) + 'px';
    ime.style.top = cursor.row * cursor.cellHeight * scale + 'px';
    sizeComposition();
  }

  // The composition's box: as wide as its text, at the cursor, moved left where the screen's
  // right edge would cut it.
  function sizeComposition() {
    const scale = cursor.cssScale;
    const left = cursor.column * cursor.cellWidth * scale;
    if (!ime.classList.contains('composing')) {
      ime.style.width = '1px';
      ime.style.left = left + 'px';
      return;
    }
    ime.style.width = '1px';
    const room = ime.parentNode.clientWidth;
    const width = Math.min(room, ime.scrollWidth + 4);
    ime.style.width = width + 'px';
    ime.style.left = Math.max(0, Math.min(left, room - width)) + 'px';
  }

  function clear() {
    ime.value = '';
    ime.classList.remove('composing');
    sizeComposition();
  }

  // What a phone keyboard's editing keys mean to the game; they come as input events, often
  // without a key event the page could read.
  const EDITING_KEYS = {
    insertLineBreak: '{Enter}',
    insertParagraph: '{Enter}',
    deleteContentBackward: '{BS}',
    deleteContentForward: '{Del}',
  };

  function onBeforeInput(e) {
    if (e.isComposing || e.inputType === 'insertCompositionText') return;
    const key = EDITING_KEYS[e.inputType];
    const text = e.data || (e.dataTransfer && e.dataTransfer.getData('text/plain')) || '';
    if (!key && !/^insert/.test(e.inputType)) return;
    e.preventDefault();
    if (key) kestran.press(key);
    else kestran.type(text.replace(/[\r\n]+/g, ''));
  }

  // Browsers without `beforeinput` (and text a browser would not let the page cancel) end here.
  function onInput(e) {
    if (e.isComposing || ime.classList.contains('composing')) return;
    const text = ime.value;
    clear();
    if (e.inputType === 'insertText' || e.inputType === 'insertFromPaste') kestran.type(text);
  }

  function openKeyboard() {
    if (document.activeElement === ime && !kestran.lineInput) {
      ime.blur();
      kestran.focusGame();
      return;
    }
    ime.focus({ preventScroll: true });
  }

  kestran.on('cursor', (c) => {
    cursor = c;
    place();
  });
  kestran.on('lineinput', clear);
  ime.addEventListener('compositionstart', () => ime.classList.add('composing'));
  ime.addEventListener('compositionupdate', () => requestAnimationFrame(sizeComposition));
  ime.addEventListener('compositionend', (e) => {
    clear();
    kestran.type(e.data);
  });
  ime.addEventListener('beforeinput', onBeforeInput);
  ime.addEventListener('input', onInput);
  // A click, not a pointerdown: only the end of a tap lets a page open a phone's keyboard.
  document.addEventListener('click', (e) => {
    if (e.target.closest && e.target.closest('[data-action="type"]')) openKeyboard();
  });
})();
