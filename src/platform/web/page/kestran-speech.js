// The browser's own voice for the log, for a player whose screen reader has no Japanese voice:
// off unless the player ticks #speak-log (the choice is kept in localStorage). Each entry the
// reader module says is spoken in a voice of its language (ja-JP for the game's words) and cuts
// short the one before, so the voice keeps up with the keys. Where the device has no voice of
// that language, the page's status line says so once (spoken too, by an English voice where there
// is one) and the log is not spoken, rather than spelled letter by letter in another language.
'use strict';

(function () {
  const kestran = window.kestran;
  const box = document.getElementById('speak-log');
  const KEPT_AS = 'kestran-speak-log';
  const VOICE_LANGUAGES = { ja: 'ja', en: 'en' };
  const synth = window.speechSynthesis;
  const missing = new Set();

  if (!box) return;
  if (!synth) {
    box.disabled = true;
    box.parentElement.title = 'This browser cannot speak.';
    return;
  }
  try {
    box.checked = localStorage.getItem(KEPT_AS) === 'on';
  } catch (e) {
    // Storage refused (a private window): the setting lasts for this page only.
  }

  box.addEventListener('change', () => {
    try {
      localStorage.setItem(KEPT_AS, box.checked ? 'on' : 'off');
    } catch (e) {
      // As above.
    }
    if (!box.checked) synth.cancel();
    missing.clear();
    kestran.focusGame();
  });

  function voiceFor(language) {
    const prefix = VOICE_LANGUAGES[language] || language;
    return synth.getVoices().find((voice) => voice.lang.toLowerCase().startsWith(prefix)) || null;
  }

  function speak(text, voice) {
    const utterance = new SpeechSynthesisUtterance(text);
    utterance.voice = voice;
    utterance.lang = voice.lang;
    synth.cancel();
    synth.speak(utterance);
  }

  kestran.on('said', ({ text, language }) => {
    if (!box.checked) return;
    const voice = voiceFor(language);
    if (voice) {
      speak(text, voice);
      return;
    }
    if (missing.has(language)) return;
    missing.add(language);
    const notice = `This device has no voice for the language "${language}"; the log is not spoken.`;
    kestran.say(notice);
    const english = voiceFor('en');
    if (english) speak(notice, english);
  });
})();
