// Playing by ear: what the game says, for a screen reader, in a live region beside the canvas
// (which assistive technology does not see). After every wait for a key the log takes one entry,
// a single text node (a reader speaks several nodes of one insertion in an order of its own): the
// corridor's words when the game said them (after a step, a turn, or a step the wall refused),
// then the lines new since the wait before, the left column top to bottom before the right one,
// and a question or a request for a key last. A line that stayed is not told again; but where
// most lines of the left column are new, the game has written it anew and all of it is told, so
// that a prompt in its old place is heard again. The right column (the menu and the hero's
// figures from PANEL_COLUMN) tells only lines that differ from what its row showed last, so a
// fight's panel, drawn anew each round, says only the figures that moved. The keys typed are not
// echoed, nor the line being typed (the text field speaks that): the game's answer is the news.
//
// Readers speak a live text without its symbols and skip one that equals the last, so the log's
// text (never the screen) says the symbols the game relies on as words, and a repeat differs from
// the entry before by an invisible mark.
//
// Keys of the page, which the game leaves alone: Alt+R reads the whole screen, Alt+I the hero's
// status as the screen last showed it, Alt+W the corridor again, Alt+M goes to the page's
// controls (the notice's button once the game has ended); the buttons with data-action
// read-screen, read-status and describe do the same and give the game its focus back.
'use strict';

(function () {
  const kestran = window.kestran;
  const log = document.getElementById('reader-log');
  // The game keeps its menus and the hero's figures from this column: a row with a gap before
  // it is two lines, read apart.
  const PANEL_COLUMN = 55;
  const KEPT_ENTRIES = 30;
  // A line that asks the player something: said after the others.
  const PROMPT = /下さい|ですか|ますか|\(Y\/N\)|？|\?\s*$|Press any key/;
  // Tells a repeated entry from the one before for a reader that skips a text equal to the last.
  const REPEAT_MARK = '\u2060';

  let lines = [];  // the lines of the screen at the last wait, by row: [left, right]
  let panel = [];  // the right column's last text by row, kept across screens that blank it
  let words = '';
  let inputRow = null;  // the row where the game reads a line
  let typing = null;    // that row, once the first wait of the line has been told
  let lastEntry = '';
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

  // The log speaks the game's language (the page's own sentences follow it too).
  const language = () => (kestran.language ? kestran.language.current() : 'ja');
  const SYMBOL_WORDS = {
    ja: { or: 'か', of: 'の', to: 'から', plus: 'プラス', minus: 'マイナス' },
    en: { or: 'or', of: 'of', to: 'to', plus: 'plus', minus: 'minus' },
  };

  // The words a listener needs where the screen shows symbols: a reader drops "+", "-" and "/"
  // from live text, and a run of blanks is no pause worth hearing.
  function spoken(text) {
    const w = SYMBOL_WORDS[language()] || SYMBOL_WORDS.ja;
    return text
      .replace(/[-－=＝]{3,}/g, ' ')
      .replace(/\(([A-Z0-9])\s*\/\s*([A-Z0-9])\)/g, `($1 ${w.or} $2)`)
      .replace(/(\d+)\s*\/\s*(\d+)/g, `$1 ${w.of} $2`)
      .replace(/(\d+)-(\d+)/g, `$1 ${w.to} $2`)
      .replace(/[+＋]/g, ` ${w.plus} `)
      .replace(/(^|[^A-Za-z0-9])[-－](?=$|[^A-Za-z0-9])/g, `$1 ${w.minus} `)
      .replace(/\s+/g, ' ')
      .trim();
  }

  // A sentence of the page's own (written in English), in the page's language.
  const own = (english) => (kestran.language ? kestran.language.text(english) : english);

  // `texts` are the game's, or with `pageOwn` the page's own sentences.
  function say(texts, pageOwn = false) {
    const told = texts.map(pageOwn ? (text) => own(text.replace(/\s+/g, ' ').trim()) : spoken).filter((text) => text);
    if (!told.length) return;
    let text = told.join(' ');
    kestran.emit('said', { text, language: language() });
    if (text === lastEntry.replace(REPEAT_MARK, '')) text = lastEntry.endsWith(REPEAT_MARK) ? text : text + REPEAT_MARK;
    lastEntry = text;
    const entry = document.createElement('p');
    entry.lang = language();
    entry.textContent = text;
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

  // Whether most lines of the left column are new.
  function leftWrittenAnew(parts) {
    let shown = 0;
    let changed = 0;
    parts.forEach((row, r) => {
      if (!row[0] || r === typing) return;
      ++shown;
      if (!lines[r] || lines[r][0] !== row[0]) ++changed;
    });
    return changed * 2 > shown;
  }

  // The screen's news in reading order: the left column, the right one, then the prompts.
  function newsOf(parts) {
    const anew = leftWrittenAnew(parts);
    const left = parts.filter((row, r) => row[0] && r !== typing && (anew || !lines[r] || lines[r][0] !== row[0]));
    const right = parts.filter((row, r) => row[1] && panel[r] !== row[1]);
    const news = [...left.map((row) => row[0]), ...right.map((row) => row[1])];
    return [...news.filter((text) => !PROMPT.test(text)), ...news.filter((text) => PROMPT.test(text))];
  }

  function onScreen(screen) {
    const parts = screen.rows.map(splitRow);
    const news = newsOf(parts);
    if (screen.wordsNew && screen.words) news.unshift(screen.words);
    lines = parts;
    parts.forEach((row, r) => {
      if (row[1]) panel[r] = row[1];
    });
    typing = screen.lineInput ? inputRow : null;
    words = screen.words;
    noteStatus(parts);
    say(news);
  }

  function readScreen() {
    const left = lines.map((row) => row[0]).filter((text) => text);
    const right = lines.map((row) => row[1]).filter((text) => text);
    say([words, ...left, ...right].filter((text) => text));
  }

  function readStatus() {
    if (!status.name) {
      say(['The hero\'s figures show in the labyrinth and in fights; none yet.'], true);
      return;
    }
    const figures = [status.name, status.level, ...status.points, status.experience];
    if (status.companion) figures.push('仲間 ' + status.companion);
    say([figures.filter((text) => text).join(language() === 'ja' ? '、' : ', ')]);
  }

  function describe() {
    if (words) say([words]);
    else say(['No corridor on this screen.'], true);
  }

  // The page's controls: the notice's button when the game has ended or stopped, else the first
  // of the reader's buttons, from where Tab goes on through the page.
  function toPageControls() {
    const target = document.querySelector('#notice:not([hidden]) button') ||
                   document.querySelector('button[data-action="read-screen"]');
    if (!target) return;
    target.focus();
    // A reader may take the focus leaving the game's application silently: the log says where it is.
    say([`The page's controls: ${target.textContent.trim()}. Tab goes on; Enter presses it.`], true);
  }

  const ACTIONS = { 'read-screen': readScreen, 'read-status': readStatus, describe };
  const KEYS = { KeyR: readScreen, KeyI: readStatus, KeyW: describe, KeyM: toPageControls };

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
  // Where the keys go, before the first screen: a reader may not have told the focus yet.
  kestran.on('started', () => say([document.getElementById('screen-help').textContent], true));
  kestran.on('ended', ({ status: exitStatus }) => {
    const how = exitStatus === 0 ? 'The game has ended.' : 'The game stopped with an error.';
    say([how, 'Alt+M goes to the Play again button.'], true);
  });
})();
