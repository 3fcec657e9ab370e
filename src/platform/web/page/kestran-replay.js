// Recordings of games. The program records the session (the seed and every key it took); the
// page saves that recording as a key script (data-action="save-recording") or shares it as a link
// (data-action="share-recording"): the page's address with "#replay=" and the script's UTF-8 text,
// raw-deflated and base64url-encoded, then "." and the text's CRC-32 (base64url of its four bytes,
// high first), so that a link changed on its way is refused rather than played as another game. A link, or a key script opened from a file
// (data-action="open-recording", which makes the link and loads it), is watched: the program
// types its keys at a human pace, the controls here pause, step, change the speed and seek, and
// the player takes the game over where it ends. What cannot be read or watched is refused with a
// message, and nothing changes.
'use strict';

(function () {
  const kestran = window.kestran;
  const $ = (id) => document.getElementById(id);
  const PREFIX = '#replay=';
  const MAX_RECORDING = 4 << 20;  // bytes of text; a whole game is under 100 KB
  const say = (text, isError) => kestran.say(text, isError);

  // --- links ---

  function toBase64Url(bytes) {
    let binary = '';
    for (let i = 0; i < bytes.length; i += 0x8000) binary += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }

  function fromBase64Url(text) {
    if (!/^[A-Za-z0-9_-]+$/.test(text) || text.length % 4 === 1) throw new Error('it is not base64url');
    return Uint8Array.from(atob(text.replace(/-/g, '+').replace(/_/g, '/')), (c) => c.charCodeAt(0));
  }

  // The bytes `stream` gives, refused beyond `limit` (a small link may unpack to a great deal).
  async function readLimited(stream, limit) {
    const reader = stream.getReader();
    const parts = [];
    let size = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      size += value.length;
      if (size > limit) {
        reader.cancel();
        throw new Error('it unpacks to more than a recording holds');
      }
      parts.push(value);
    }
    const bytes = new Uint8Array(size);
    parts.reduce((at, part) => (bytes.set(part, at), at + part.length), 0);
    return bytes;
  }

  function decodeText(bytes) {
    const text = new TextDecoder('utf-8', { fatal: true }).decode(bytes);
    if (text.includes('\0')) throw new Error('it is not text');
    return text;
  }

  const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
  });

  function checksum(bytes) {
    let crc = 0xffffffff;
    for (const byte of bytes) crc = CRC_TABLE[(crc ^ byte) & 0xff] ^ (crc >>> 8);
    crc = (crc ^ 0xffffffff) >>> 0;
    return toBase64Url(Uint8Array.of(crc >>> 24, (crc >>> 16) & 0xff, (crc >>> 8) & 0xff, crc & 0xff));
  }

  async function linkOf(script) {
    const packed = new Blob([script]).stream().pipeThrough(new CompressionStream('deflate-raw'));
    const text = new TextEncoder().encode(script);
    return location.origin + location.pathname + PREFIX + toBase64Url(await readLimited(packed, Infinity)) + '.' +
           checksum(text);
  }

  async function scriptOfLink(link) {
    const [encoded, sum, ...rest] = link.split('.');
    const packed = new Blob([fromBase64Url(encoded)]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
    let bytes;
    try {
      bytes = await readLimited(packed, MAX_RECORDING);
    } catch (e) {
      throw e instanceof TypeError ? new Error('its data is damaged') : e;
    }
    if (sum === undefined || rest.length) throw new Error('it carries no checksum');
    if (checksum(bytes) !== sum) throw new Error('its data is damaged (the checksum does not match)');
    try {
      return decodeText(bytes);
    } catch (e) {
      throw new Error('it is not a key script\'s text');
    }
  }

  // A recording that cannot be watched: said, and forgotten by the address, so that a reload
  // starts the game as usual too.
  function refuse(text) {
    say(text + ' The game starts as usual.', true);
    history.replaceState(null, '', location.pathname + location.search);
  }

  // The recording the address names, decoded once; the program asks for it as it starts.
  const addressed = (async () => {
    if (!location.hash.startsWith(PREFIX)) return null;
    if (typeof DecompressionStream !== 'function') {
      refuse('This browser cannot unpack the link\'s recording.');
      return null;
    }
    try {
      return await scriptOfLink(location.hash.slice(PREFIX.length));
    } catch (e) {
      refuse('The link\'s recording cannot be read: ' + e.message + '.');
      return null;
    }
  })();
  kestran.replayScript = () => addressed;
  kestran.on('replayrefused', ({ why }) => refuse('The link\'s recording cannot be watched: ' + why + '.'));

  // --- watching ---

  const controls = $('replay');
  const state = $('replay-state');
  let watched = false;

  kestran.on('watch', ({ status }) => {
    controls.hidden = !status;
    state.textContent = status.split(' | ')[0];
    if (status) watched = true;
    else if (watched) say('The game is yours: play on from here.');
  });

  // The controls are the watcher's keys (key-script notation), typed as the keyboard types them.
  controls.addEventListener('click', (e) => {
    const button = e.target.closest('button[data-key]');
    if (!button) return;
    kestran.press(button.dataset.key);
    kestran.focusGame();
  });

  $('replay-goto').addEventListener('keydown', (e) => {
    if (e.key !== 'Enter') return;
    e.preventDefault();
    const key = e.target.value.trim();
    if (/^\d{1,9}$/.test(key)) kestran.press(key + '{Enter}');
    e.target.value = '';
    kestran.focusGame();
  });

  // --- the session's recording ---

  function recording() {
    return window.Module && Module._kestran_recording ? Module.UTF8ToString(Module._kestran_recording()) : '';
  }

  function saveRecording() {
    const text = recording();
    if (!text) {
      say('Nothing is recorded yet: the game has not started.', true);
      return;
    }
    kestran.download(new Blob([text], { type: 'text/plain' }), 'kestran-' + kestran.timestamp() + '.keys');
    say('This game\'s recording is downloaded. Open it here with "Watch a recording", or watch it with ' +
        'kestran --watch=FILE.');
  }

  async function shareRecording() {
    const text = recording();
    if (!text) {
      say('Nothing is recorded yet: the game has not started.', true);
      return;
    }
    const link = await linkOf(text);
    const field = $('share-link');
    field.value = link;
    field.hidden = false;
    try {
      await navigator.clipboard.writeText(link);
      say('A link that plays this game is on the clipboard.');
    } catch (e) {
      field.select();
      say('The link that plays this game is below: copy it from there.');
    }
  }

  // A key script from a file: watched by way of its link, so that a reload watches it again.
  async function openRecording(file) {
    const nothing = ' Nothing was changed.';
    if (file.size > MAX_RECORDING) {
      say(file.name + ' is too large to be a recording.' + nothing, true);
      return;
    }
    let text;
    try {
      text = decodeText(new Uint8Array(await file.arrayBuffer()));
    } catch (e) {
      say(file.name + ' is not a recording: it is not text.' + nothing, true);
      return;
    }
    if (!window.Module || !Module._kestran_recording_problem) {
      say('The game has not started yet: open the recording once it has.', true);
      return;
    }
    const problem = kestran.withStrings([text], (p) => Module.UTF8ToString(Module._kestran_recording_problem(p)));
    if (problem) {
      say(file.name + ' cannot be watched: ' + problem + '.' + nothing, true);
      return;
    }
    location.hash = (await linkOf(text)).slice(location.origin.length + location.pathname.length);
    location.reload();
  }

  const fileInput = $('recording-file');
  fileInput.addEventListener('change', () => {
    if (fileInput.files.length) openRecording(fileInput.files[0]);
  });
  document.addEventListener('click', (e) => {
    const button = e.target.closest && e.target.closest('button[data-action]');
    if (!button) return;
    const action = button.dataset.action;
    if (action === 'save-recording') saveRecording();
    else if (action === 'share-recording') shareRecording();
    else if (action === 'open-recording') {
      fileInput.value = '';
      fileInput.click();
    }
  });
})();
