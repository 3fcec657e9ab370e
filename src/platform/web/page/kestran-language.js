// The languages of the page: which language the game starts in, the control that chooses it, and
// the page's own texts in Japanese for a Japanese game.
//
// The game's language is the one chosen with the control, remembered in the browser (localStorage
// 'kestran-language'); without a choice the browser's first language decides: Japanese for 'ja',
// English for any other. The program asks at its start (kestranPage.chosenLanguage,
// .browserLanguage), so a new choice reaches the game when it starts again: at once while the
// title screen shows, else at the next start. The page's own controls and messages are in the
// language the game starts in, so that a page never mixes the two.
// They are written in English; in Japanese they are replaced where they appear, also when another
// module writes them later: a whole text this table knows, or else each of its sentences, a
// sentence with variable parts (a file name, a drive, a reason) by a pattern whose Japanese
// places the parts in its own order.
'use strict';

(function () {
  const kestran = window.kestran;
  const storageKey = 'kestran-language';

  const japanese = new Map(Object.entries({
    'Loading the game…': 'ゲームを読み込んでいます…',
    "KESTRAN: the game's screen": 'KESTRAN: ゲームの画面',
    'Text input': '文字の入力',
    'Keys of this screen': 'この画面のキー',
    '⌨ Type': '⌨ 入力',
    'Type with the keyboard': 'キーボードで入力',
    'All keys': 'すべてのキー',
    'Watching a recording': '記録を見ています',
    'To the start': '最初へ',
    'To the start (Home)': '最初へ (Home)',
    'Back a tenth': '10分の1戻る',
    'Back a tenth (PgUp)': '10分の1戻る (PgUp)',
    'Back one key': '1キー戻る',
    'Back one key (←)': '1キー戻る (←)',
    'Pause or go on': '一時停止・再開',
    'Pause and go on (Space)': '一時停止・再開 (Space)',
    'Forward one key': '1キー進む',
    'Forward one key (→)': '1キー進む (→)',
    'Forward a tenth': '10分の1進む',
    'Forward a tenth (PgDn)': '10分の1進む (PgDn)',
    'To the last key': '最後のキーへ',
    'To the last key (End)': '最後のキーへ (End)',
    'Half as fast (-)': '半分の速さ (-)',
    'Slower': '遅く',
    'Twice as fast (+)': '2倍の速さ (+)',
    'Faster': '速く',
    'Key': 'キー',
    'Go to key number': 'キーの番号へ移動',
    'Play from here': 'ここから遊ぶ',
    'Stop watching and play on (Esc)': '見るのをやめて続きを遊ぶ (Esc)',
    'Keys:': 'キー:',
    'as in the game;': 'はゲームのとおり。',
    'breaks off the game;': 'でゲームを中断。',
    "copies the screen's text;": 'で画面の文字をコピー。',
    'full screen. Click the screen if it does not take your keys.':
      'で全画面。キーが効かないときは画面をクリックして下さい。',
    'Screen reader': 'スクリーンリーダー',
    'Read the screen (Alt+R)': '画面を読む (Alt+R)',
    "Hero's status (Alt+I)": '主人公の状態 (Alt+I)',
    'Describe the corridor (Alt+W)': '通路を説明する (Alt+W)',
    'What the game says': 'ゲームのメッセージ',
    'Save files': 'セーブファイル',
    'Drive': 'ドライブ',
    'Download save (KSSAVE)': 'セーブをダウンロード (KSSAVE)',
    'Upload a save…': 'セーブをアップロード…',
    'Upload a predecessor save (VELDSAVE) to convert…': '前作のセーブ (VELDSAVE) をアップロードしてコンバート…',
    'Install the game': 'ゲームをインストール',
    'Recordings': '記録',
    "Save this game's recording": 'このゲームの記録を保存',
    'Copy a link to this game': 'このゲームへのリンクをコピー',
    'Watch a recording…': '記録を見る…',
    'A link that plays this game': 'このゲームを再生するリンク',
    'The game needs JavaScript.': 'このゲームには JavaScript が必要です。',
    'Play again': 'もう一度遊ぶ',
    'The game has ended.': 'ゲームが終了しました。',
    'The game stopped with an error.': 'ゲームはエラーで停止しました。',
    'A link that plays this game is on the clipboard.': 'このゲームを再生するリンクをクリップボードにコピーしました。',
    'Nothing is recorded yet: the game has not started.': 'まだ何も記録されていません: ゲームが始まっていません。',
    'Nothing was changed.': '何も変更しませんでした。',
    'The clipboard could not be written.': 'クリップボードに書き込めませんでした。',
    'The game has not started yet: open the recording once it has.':
      'ゲームがまだ始まっていません: 始まってから記録を開いて下さい。',
    'The game is yours: play on from here.': 'ここから続きを遊べます。',
    'The link that plays this game is below: copy it from there.':
      'このゲームを再生するリンクは下にあります: そこからコピーして下さい。',
    'This browser gives the page no clipboard.': 'このブラウザーではクリップボードが使えません。',
    'reload': '再読み込み',
    'Language': '言語',
    'The game starts in English next time.': '次に始めるときから英語になります。',
    'The game starts in Japanese next time.': '次に始めるときから日本語になります。',
    'Reload the page to try again.': 'ページを再読み込みして下さい。',
    'A current Chromium, Firefox or Safari runs it.': '最新の Chromium、Firefox、Safari で動きます。',
    'The game starts as usual.': 'ゲームはいつもどおり始まります。',
    "The game's files could not be loaded.": 'ゲームのファイルを読み込めませんでした。',
    "This browser cannot unpack the link's recording.": 'このブラウザーではリンクの記録を展開できません。',
    "The screen's text is on the clipboard.": '画面の文字をクリップボードにコピーしました。',
    "This game's recording is downloaded.": 'このゲームの記録をダウンロードしました。',
    'Open it here with "Watch a recording", or watch it with kestran --watch=FILE.':
      '「記録を見る」でここで開くか、kestran --watch=FILE で見られます。',
    "The save the browser's storage refused is downloaded as KSSAVE.":
      'ブラウザーの保存領域が受け付けなかったセーブを KSSAVE としてダウンロードしました。',
    "This browser keeps the game's saves until you remove them.":
      'このブラウザーはゲームのセーブを消すまで保存します。',
    'Save in the game first (at the inn, or when a hero is made).':
      '先にゲームの中でセーブして下さい (宿屋で、または主人公を作ったとき)。',
    'This tab writes its drives again at the next save.': 'このタブは次のセーブでドライブを書き直します。',
    'The previous save is as it was.': '前のセーブはそのままです。',
    'Keep a copy of this game with "Download save".': '「セーブをダウンロード」でこのゲームの控えを取って下さい。',
    'Keep a copy with "Download save".': '「セーブをダウンロード」で控えを取って下さい。',
    'The file is larger than 1 MiB: it cannot be a save file.': 'ファイルが 1 MiB より大きいのでセーブファイルではありません。',
    'That is no file name.': 'ファイル名ではありません。',
    'Watch a recording': '記録を見る',
    'Menu': 'メニュー',
    'Dismiss': '閉じる',
    'A new version is ready —': '新しい版があります —',
    'Download save': 'セーブをダウンロード',
    'Back to the game': 'ゲームに戻る',
    'Play here': 'ここで遊ぶ',
    'The game went on in another tab: this tab no longer saves.':
      'ゲームは別のタブで続いています: このタブはもうセーブしません。',
    'The game is open in another tab. Playing here ends it there; its saves stay.':
      'ゲームは別のタブで開いています。ここで遊ぶとそちらは終わります。セーブは残ります。',
    'Other drives': 'ほかのドライブ',
    'Close the keyboard': 'キーボードを閉じる',
    'Lower or upper case': '小文字・大文字',
    'No corridor on this screen.': 'この画面に通路はありません。',
    "The hero's figures show in the labyrinth and in fights; none yet.":
      '主人公の数値は迷宮と戦闘で表示されます。まだありません。',
    'Alt+M goes to the Play again button.': 'Alt+M で「もう一度遊ぶ」ボタンへ移ります。',
    "Keys go to the game, Tab too. What the game says appears in the log below the screen: Alt+R reads the screen, Alt+I the hero's status, Alt+W the corridor, Alt+M goes to the page's controls.":
      'キーはゲームに届きます (Tab も)。ゲームの言葉は画面の下のログに出ます: Alt+R で画面を読み、Alt+I で主人公の状態、Alt+W で通路、Alt+M でページの操作へ移ります。',
    "it names no seed (the '#seed N' line a recording begins with)": "始めに '#seed N' の行がありません",
    'its data is damaged': 'データが壊れています',
    'its data is damaged (the checksum does not match)': 'データが壊れています (チェックサムが一致しません)',
    'it is not base64url': 'base64url ではありません',
    'it unpacks to more than a recording holds': '展開すると記録の上限を超えます',
    'it is not text': 'テキストではありません',
    'it carries no checksum': 'チェックサムがありません',
    "it is not a key script's text": 'キースクリプトのテキストではありません',
  }));

  // Sentences with variable parts: the parts are the pattern's groups, $1, $2, ... in the Japanese.
  const storage = "the browser's storage for this page \\(IndexedDB\\)";
  const patterns = [
    [/^The game stopped: (.+)$/, 'ゲームが停止しました: $1'],
    [/^The page's controls: (.+)\. Tab goes on; Enter presses it\.$/, 'ページの操作: $1。Tab で次へ、Enter で押します。'],
    [/^The font could not be loaded \((.*)\)\.$/, 'フォントを読み込めませんでした ($1)。'],
    [/^This browser lacks what the game needs: (.+)\.$/, 'このブラウザーにはゲームに必要な機能がありません: $1。'],
    [/^The link's recording cannot be read: (.+)\.$/, 'リンクの記録を読めません: $1。'],
    [/^The link's recording cannot be watched: (.+)\.$/, 'リンクの記録は見られません: $1。'],
    [/^(.+) is too large to be a recording\.$/, '$1 は大きすぎて記録ではありません。'],
    [/^(.+) is not a recording: it is not text\.$/, '$1 は記録ではありません: テキストではありません。'],
    [/^(.+) cannot be watched: (.+)\.$/, '$1 は見られません: $2。'],
    [/^The save of drive (\S+) is downloaded as (\S+)\.$/, 'ドライブ $1 のセーブを $2 としてダウンロードしました。'],
    [/^(.+) is larger than 1 MiB: it cannot be a save file\.$/, '$1 は 1 MiB より大きいのでセーブファイルではありません。'],
    [/^(.+) is too large to be a save file\.$/, '$1 は大きすぎてセーブファイルではありません。'],
    [/^(.+) could not be read \((.*)\)\.$/, '$1 を読めませんでした ($2)。'],
    [/^The file could not be stored \((.*)\)\.$/, 'ファイルを保存できませんでした ($1)。'],
    [/^Replace the (\S+) on drive (\S+) with (.+)\?$/, 'ドライブ $2 の $1 を $3 で置き換えますか？'],
    [/^(.+) is now (\S+) on drive (\S+): load it with \(L\) on the title screen\.$/,
     '$1 はドライブ $3 の $2 になりました: タイトル画面の (L) で読み込めます。'],
    [/^(.+) is now (\S+) on drive (\S+): convert it with \(D\) on the title screen\.$/,
     '$1 はドライブ $3 の $2 になりました: タイトル画面の (D) でコンバートできます。'],
    [/^There is no drive (\S+)\.$/, 'ドライブ $1 はありません。'],
    [/^There is no (\S+) on drive (\S+)\.$/, 'ドライブ $2 に $1 はありません。'],
    [new RegExp(`^The game's saves were removed from ${storage} while the game was open\\.$`),
     'ゲームを開いている間に、このページのブラウザー保存領域 (IndexedDB) からセーブが消されました。'],
    [new RegExp(`^The save could not be written: ${storage} is full\\.$`),
     'セーブを書き込めませんでした: このページのブラウザー保存領域 (IndexedDB) がいっぱいです。'],
    [new RegExp(`^The save could not be written: ${storage} refused it \\((.*)\\)\\.$`),
     'セーブを書き込めませんでした: このページのブラウザー保存領域 (IndexedDB) が拒否しました ($1)。'],
    [/^This browser keeps no storage for this page: saves last only until the page is closed\.$/,
     'このブラウザーはこのページの保存領域を持ちません: セーブはページを閉じるまでしか残りません。'],
    [/^This browser may clear the game's saves when it runs short of space: keep a copy with "Download save"\.$/,
     'このブラウザーは空きが足りないとゲームのセーブを消すことがあります: 「セーブをダウンロード」で控えを取って下さい。'],
    [/^(.+): type with the keyboard$/, '$1: キーボードで入力'],
    [/^Drive (\S)$/, 'ドライブ $1'],
    [/^key script, line (\d+): (.+)$/, 'キースクリプト $1 行目: $2'],
    [/^unknown key name (.+)$/, '知らないキー名 $1'],
    [/^watching key (\d+)\/(\d+) at (\d+) keys\/s$/, 'キー $1/$2 を再生中 (毎秒 $3 キー)'],
    [/^watching key (\d+)\/(\d+), paused$/, 'キー $1/$2 で一時停止中'],
    [/^going to key (\d+)\/(\d+)$/, 'キー $1/$2 へ移動中'],
    [/^go to key (\d*)_\/(\d+) \(Enter\)$/, 'キー $1_/$2 へ移動 (Enter)'],
  ];

  // A part that is itself a known text (a reason the program gives) is shown in Japanese too.
  function sentence(text) {
    if (japanese.has(text)) return japanese.get(text);
    for (const [pattern, shown] of patterns) {
      const parts = text.match(pattern);
      if (parts) return shown.replace(/\$(\d)/g, (_, n) => sentence(parts[n]) ?? parts[n]);
    }
    return null;
  }

  // `text` in Japanese: whole, or sentence by sentence, a sentence no entry knows left as it is;
  // null when nothing of it is known.
  function toJapanese(text) {
    if (japanese.has(text)) return japanese.get(text);
    const parts = text.split(/(?<=[.!?])\s+/);
    const shown = parts.map((part) => sentence(part));
    if (parts.length < 2 || shown.every((part) => part === null)) return sentence(text);
    // Japanese sentences follow each other without a blank; an English one left as it is keeps it.
    return shown.reduce((joined, part, i) => {
      const next = part ?? parts[i];
      return i === 0 ? next : joined + (/[。？！]$/.test(joined) && part !== null ? '' : ' ') + next;
    }, '');
  }

  // A language named in the address (?language=ja or en) holds for this page only, as ?seed=N
  // does: a link can open the game in a language without changing the player's choice.
  function addressed() {
    const value = new URLSearchParams(location.search).get('language');
    return value === 'ja' || value === 'en' ? value : '';
  }

  function remembered() {
    const named = addressed();
    if (named) return named;
    try {
      const value = localStorage.getItem(storageKey);
      return value === 'ja' || value === 'en' ? value : '';
    } catch (e) {
      return '';
    }
  }

  function browser() {
    const list = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || ''];
    return /^ja(\b|[-_])/i.test(list[0] || '') ? 'ja' : 'en';
  }

  const current = () => remembered() || browser();
  // The page's text for `text`, in the language of the page (for what no element shows, such as a
  // question the browser asks).
  const text = (english) => (current() === 'ja' && toJapanese(english.replace(/\s+/g, ' '))) || english;
  kestran.language = { chosen: remembered, browser, current, text };

  // --- the page's own texts ---

  const attributes = ['aria-label', 'title', 'placeholder'];

  function translateNode(node) {
    if (node.nodeType === Node.TEXT_NODE) {
      const text = node.nodeValue.trim();
      const shown = text && toJapanese(text.replace(/\s+/g, ' '));
      if (shown) node.nodeValue = node.nodeValue.replace(text, shown);
      return;
    }
    if (node.nodeType !== Node.ELEMENT_NODE) return;
    for (const name of attributes) {
      const shown = node.hasAttribute(name) && toJapanese(node.getAttribute(name));
      if (shown) node.setAttribute(name, shown);
    }
    node.childNodes.forEach(translateNode);
  }

  function showJapanese() {
    document.documentElement.lang = 'ja';
    translateNode(document.body);
    new MutationObserver((changes) => {
      for (const change of changes) {
        if (change.type === 'childList') change.addedNodes.forEach(translateNode);
        else translateNode(change.target);
      }
    }).observe(document.body, { subtree: true, childList: true, characterData: true, attributes: true,
                                attributeFilter: attributes });
  }

  // --- the control ---

  function atTitle() {
    const rows = kestran.screen && kestran.screen.rows;
    return !rows || rows.some((row) => row.includes('(N) NEW  GAME'));
  }

  function addControl() {
    const section = document.createElement('section');
    section.className = 'language';
    const label = document.createElement('label');
    label.append('Language ');
    const select = document.createElement('select');
    select.dataset.action = 'language';
    for (const [code, name] of [['ja', '日本語'], ['en', 'English']]) select.add(new Option(name, code));
    select.value = current();
    select.addEventListener('change', () => {
      try {
        localStorage.setItem(storageKey, select.value);
      } catch (e) {
        // Without storage the choice lasts for this page only.
      }
      if (atTitle()) {
        // The choice outlasts an address that named a language.
        const address = new URL(location.href);
        address.searchParams.delete('language');
        location.replace(address.href);
      } else if (kestran.say) {
        kestran.say(select.value === 'en' ? 'The game starts in English next time.'
                                          : 'The game starts in Japanese next time.');
      }
    });
    label.append(select);
    section.append(label);
    const status = document.getElementById('status');
    status.parentNode.insertBefore(section, status);
  }

  addControl();
  const log = document.getElementById('reader-log');
  if (log) log.lang = current();
  if (current() === 'ja') showJapanese();
})();
