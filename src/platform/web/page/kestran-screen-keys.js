// Which keys the current screen asks for, read from its 24 rows of text: the letter in
// parentheses of each choice ("(N) NEW  GAME", "逃げる(R)", "キャンプ (C)"), the answers of a
// question ("(Y/N)", "(L/R)", "(1-3)"), the digits of a numbered list ("( 0 )ダガー"), "+" and "-"
// where points are shared out, the drive letter at the drive prompt and the cursor keys in the
// labyrinth; at a question, not the choices of the menu it follows (known from the screens
// before it). Pure functions of the rows, so that they are the same in the page and in node; a
// screen misread costs only a missing or a needless key, never a wrong one typed.
'use strict';

(function (root) {
  // A choice's letter or digit in parentheses, half- or full-width: "(N)", "（C)".
  const CHOICE = /[(（]([A-Z0-9])[)）]/g;
  // A numbered list's entry: "( 0 )ダガー".
  const LIST_ENTRY = /\(\s+(\d)\s+\)/g;
  // A question's answers: "(Y/N)", "(L/R)", or a range of digits: "(0-9)".
  const ALTERNATIVES = /\(([A-Z])\/([A-Z])\)/;
  const RANGE = /\((\d)-(\d)\)/;
  // The same in Japanese and in English.
  const ANY_KEY = /何かキーを押|Press any key/;
  const POINTS = /「\+」と「-」|\+ and - move/;
  const CURSOR_KEYS = /カーソルキー|cursor keys/;
  const DRIVE_PROMPT = /デバイスを指定して下さい|Choose a drive/;
  const TITLE = /\(N\) NEW {2}GAME/;

  const collapse = (text) => text.replace(/\s+/g, ' ').trim();

  // The text a choice's letter names: what precedes it back to a gap of two or more blanks
  // ("所持金   800 G        持ち物を売る(S)" names "持ち物を売る"), or, when the letter opens its part
  // of the row, what follows it up to the next choice ("(N) NEW  GAME"). Null for a letter that
  // opens a year ("(C) 2026 ..." is a copyright line).
  function choiceLabel(row, start, end, nextStart) {
    const preceding = collapse(row.slice(0, start).split(/\s{2,}/).pop());
    if (preceding) return preceding;
    const following = collapse(row.slice(end, nextStart));
    return /^\d/.test(following) ? null : following;
  }

  function markersOf(row, pattern) {
    const found = [];
    pattern.lastIndex = 0;
    for (let m = pattern.exec(row); m; m = pattern.exec(row)) {
      found.push({ key: m[1], start: m.index, end: m.index + m[0].length, isList: pattern === LIST_ENTRY });
    }
    return found;
  }

  // The choices and list entries of one row, each {key, label}, left to right.
  function rowChoices(row) {
    const markers = [...markersOf(row, CHOICE), ...markersOf(row, LIST_ENTRY)].sort((a, b) => a.start - b.start);
    const choices = [];
    markers.forEach((m, i) => {
      const next = i + 1 < markers.length ? markers[i + 1].start : row.length;
      const label = m.isList ? collapse(row.slice(m.end, next)) : choiceLabel(row, m.start, m.end, next);
      if (label !== null) choices.push({ key: m.key, label: label || m.key });
    });
    return choices;
  }

  // The answers of the question on `row`, or null: [{key, label}], the label being the question.
  function rowQuestion(row) {
    const question = collapse(row.replace(/\(([A-Z])\/([A-Z])\)|\((\d)-(\d)\)|\(?(何かキーを押|Press any key).*$/, ''));
    const alternatives = ALTERNATIVES.exec(row);
    if (alternatives) return [alternatives[1], alternatives[2]].map((key) => ({ key, label: key, question }));
    const range = RANGE.exec(row);
    if (range) {
      const answers = [];
      for (let d = Number(range[1]); d <= Number(range[2]); ++d) answers.push({ key: String(d), label: String(d), question });
      return answers;
    }
    return null;
  }

  // What the screen asks for: `keys` ({key, label, question?} in key-script notation, in the
  // screen's order, each key once), `anyKey` (any key goes on: Enter answers), `cursorKeys` (the
  // labyrinth's walk), `drive` (the drive prompt: C, others on request), `title` (the title
  // screen: no game is under way), `lineInput` (the game reads a line of text).
  // The lowest row that asks a question or waits for any key, or -1.
  function lowestQuestion(rows) {
    let found = -1;
    rows.forEach((row, i) => {
      if (ANY_KEY.test(row) || ALTERNATIVES.test(row) || RANGE.test(row)) found = i;
    });
    return found;
  }

  // `answered` (a Set of row numbers, optional): rows of a menu already answered, whose choices
  // are left out.
  function readScreen(rows, lineInput, answered) {
    const result = { keys: [], anyKey: false, cursorKeys: false, drive: false, lineInput: !!lineInput, title: false };
    if (!Array.isArray(rows)) return result;
    // Only the lowest question counts: one above it has been answered already.
    const questionRow = lowestQuestion(rows);
    const seen = new Set();
    const add = (entry) => {
      if (seen.has(entry.key)) return;
      seen.add(entry.key);
      result.keys.push(entry);
    };
    if (questionRow >= 0) {
      result.anyKey = ANY_KEY.test(rows[questionRow]);
      (rowQuestion(rows[questionRow]) || []).forEach(add);
    }
    rows.forEach((row, i) => {
      if (typeof row !== 'string' || (answered && answered.has(i))) return;
      if (POINTS.test(row)) {
        add({ key: '+', label: '+' });
        add({ key: '-', label: '-' });
      }
      if (DRIVE_PROMPT.test(row)) {
        result.drive = true;
        add({ key: 'C', label: 'C' });
      }
      if (CURSOR_KEYS.test(row)) result.cursorKeys = true;
      if (TITLE.test(row)) result.title = true;
      rowChoices(row).forEach(add);
    });
    return result;
  }

  // Reads screens one after another. A question (Y/N, 1-3) that appears under rows which were
  // on the screen already belongs to a menu answered there: those rows' choices are left out
  // for as long as the question is asked.
  function screenReader() {
    let previous = null;
    let asked = null;  // {row, text, answered}
    return (rows, lineInput) => {
      const row = Array.isArray(rows) ? lowestQuestion(rows) : -1;
      if (row < 0 || !rowQuestion(rows[row])) {
        asked = null;
      } else if (!asked || asked.row !== row || asked.text !== rows[row]) {
        asked = { row, text: rows[row], answered: new Set() };
        rows.forEach((r, i) => {
          if (previous && i !== row && r.trim() && previous[i] === r) asked.answered.add(i);
        });
      }
      previous = rows;
      return readScreen(rows, lineInput, asked ? asked.answered : undefined);
    };
  }

  const api = { readScreen, screenReader };
  if (typeof module === 'object' && module.exports) module.exports = api;
  else root.KestranScreenKeys = api;
})(typeof window === 'object' ? window : globalThis);
