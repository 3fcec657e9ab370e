// Playing by ear: what the game says, for a screen reader, in a live region beside the canvas
// (which assistive technology does not see). After every wait for a key the log takes the lines
// that are new on the screen since the wait before, in reading order, not a line that stayed;
// but where most lines of a column (the messages on the left, the menu and the figures from
// PANEL_COLUMN) are new, the game has written it anew and the whole column is read, so that a
// prompt in its old place is heard again. The corridor's words (the screen's accessible text)
// come first whenever the game says them, after each step or turn. The keys typed are not
// echoed, nor the line being typed (the text field speaks that): the game's answer is the news.
//
// Keys of the page, which the game leaves alone: Alt+R reads the whole screen, Alt+I the hero's
// status as the screen last showed it, Alt+W the corridor again; the buttons with data-action
// read-screen, read-status and describe do the same.
'use strict';

(function () {
  const kestran = window.kestran;
  const log = document.getElementById('reader-log');
  // The game keeps its menus and the hero's figures from this column: a row with a gap before
  // it is two lines, read apart.
  const PANEL_COLUMN = 55;
  const KEPT_ENTRIES = 30;

  let lines = [];  // the lines of the screen at the last wait, by row: [left, right]
  let words = '';
  let inputRow = null;  // the row where the game reads a line
  let typing = null;    // that row, once the first wait of the line has been told
  const status = { name: '', level: '', points: [], experience: '', companion: '' };

  // The cells a character takes on the screen: its Shift-JIS bytes.
  function cellsOf(ch) {
    const code = ch.codePointAt(0);
    return code < 0x80 || (code >= 0xff61 && code <= 0xff9f) ? 1 : 2;
  }

  // A row's lines, without their blanks at either end: the part before PANEL_COLUMN and the part
  // from there, when blanks part them; else the whole row and nothing.
  function splitRow(row) {
    const chars = Array.from(row || '');
    let column = 0;
    for (let i = 0; i < chars.length; ++i) {
      if (column === PANEL_COLUMN && i >= 2 && chars[i - 1] === ' ' && chars[i - 2] === ' ') {
        return [chars.slice(0, i).join('').trim(), chars.slice(i).join('').trim()];
      }
      column += cellsOf(chars[i]);
    }
    return [row ? row.trim() : '', ''];
  }

  function say(texts, language = 'ja') {
    if (!texts.length) return;
    const entry = document.createElement('div');
    entry.lang = language;
    for (const text of texts) {
      const line = document.createElement('p');
      line.textContent = text;
      entry.appendChild(line);
    }
    log.appendChild(entry);
    while (log.childElementCount > KEPT_ENTRIES) log.firstElementChild.remove();
  }

  // The exploration screen and a fight show the hero's figures from PANEL_COLUMN: the name on
  // row 1, HP, MP and TP on rows 5 to 7; the labyrinth adds the level (row 3) and the
  // experience (row 9); the companion stands under 仲間 (rows 12 and 13).
  function noteStatus(parts) {
    const right = (row) => (parts[row] ? parts[row][1] : '');
    if (!right(5).startsWith('HP')) return;
    status.name = right(1);
    status.points = [right(5), right(6), right(7)];
    if (right(3).startsWith('LV')) status.level = right(3);
    if (right(9).startsWith('EXP')) status.experience = right(9);
    status.companion = right(12) === '仲間' ? right(13) : '';
  }

  // Per column, whether most of its lines are new.
  function columnsWrittenAnew(parts) {
    return [0, 1].map((side) => {
      let shown = 0;
      let changed = 0;
      parts.forEach((row, r) => {
        if (!row[side] || (r === typing && side === 0)) return;
        ++shown;
        if (!lines[r] || lines[r][side] !== row[side]) ++changed;
      });
      return changed * 2 > shown;
    });
  }

  function onScreen(screen) {
    const parts = screen.rows.map(splitRow);
    const anew = columnsWrittenAnew(parts);
    const news = [];
    if (screen.wordsNew) news.push(screen.words);
    parts.forEach((row, r) => {
      row.forEach((text, side) => {
        const changed = !lines[r] || lines[r][side] !== text;
        if (text && (anew[side] || changed) && !(r === typing && side === 0)) news.push(text);
      });
    });
    lines = parts;
    typing = screen.lineInput ? inputRow : null;
    words = screen.words;
    noteStatus(parts);
    say(news);
  }

  function readScreen() {
    const all = [];
    if (words) all.push(words);
    for (const row of lines) all.push(...row.filter((text) => text));
    say(all);
  }

  function readStatus() {
    if (!status.name) {
      say(['The hero\'s figures show in the labyrinth and in fights; none yet.'], 'en');
      return;
    }
    const figures = [status.name, status.level, ...status.points, status.experience];
    if (status.companion) figures.push('仲間 ' + status.companion);
    say([figures.filter((text) => text).map((text) => text.replace(/ +/g, ' ')).join('、')]);
  }

  function describe() {
    if (words) say([words]);
    else say(['No corridor on this screen.'], 'en');
  }

  const ACTIONS = { 'read-screen': readScreen, 'read-status': readStatus, describe };
  const KEYS = { KeyR: readScreen, KeyI: readStatus, KeyW: describe };

  document.addEventListener('keydown', (e) => {
    const action = e.altKey && !e.ctrlKey && !e.metaKey && !e.shiftKey && KEYS[e.code];
    if (!action) return;
    e.preventDefault();
    e.stopPropagation();
    action();
  }, true);

  document.querySelectorAll('button[data-action]').forEach((button) => {
    const action = ACTIONS[button.dataset.action];
    if (!action) return;
    button.addEventListener('click', () => {
      action();
      kestran.focusGame();
    });
  });

  kestran.on('lineinput', ({ on, row }) => {
    inputRow = on ? row : null;
  });
  kestran.on('screen', onScreen);
})();
