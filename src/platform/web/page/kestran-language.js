// The languages of the page: which language the game starts in, the control that chooses it, and
// the page's own texts in Japanese for a Japanese browser.
//
// The game's language is the one chosen with the control, remembered in the browser (localStorage
// 'kestran-language'); without a choice the browser's first language decides: Japanese for 'ja',
// English for any other. The program asks at its start (kestranPage.chosenLanguage,
// .browserLanguage), so a new choice reaches the game when it starts again: at once while the
// title screen shows, else at the next start. The page's own controls and messages are for the
// person at the browser and follow its language, also when they play the other language's game.
// They are written in English; in Japanese they are replaced where they appear, also when another
// module writes them later, as long as the whole text is one this table knows.
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
  }));

  function remembered() {
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
  kestran.language = { chosen: remembered, browser, current };

  // --- the page's own texts ---

  const attributes = ['aria-label', 'title', 'placeholder'];

  function translateNode(node) {
    if (node.nodeType === Node.TEXT_NODE) {
      const text = node.nodeValue.trim();
      const shown = japanese.get(text.replace(/\s+/g, ' '));
      if (shown) node.nodeValue = node.nodeValue.replace(text, shown);
      return;
    }
    if (node.nodeType !== Node.ELEMENT_NODE) return;
    for (const name of attributes) {
      const shown = node.hasAttribute(name) && japanese.get(node.getAttribute(name));
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
        location.reload();
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
  if (browser() === 'ja') showJapanese();
})();
