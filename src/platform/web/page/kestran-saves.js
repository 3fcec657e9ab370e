// Save files carried in and out of the drive folders by the page's buttons: the download of a
// drive's save, and the upload of a save or of a predecessor save for the game to convert.
'use strict';

(function () {
  const kestran = window.kestran;
  const MAX_SAVE_SIZE = 1 << 20;  // as the game: a larger file is no save
  const SAVE_NAME = 'KSSAVE';
  const PREDECESSOR_NAME = 'VELDSAVE';

  const $ = (id) => document.getElementById(id);
  const driveSelect = $('drive');
  const say = kestran.say;
  const withStrings = (...args) => kestran.withStrings(...args);

  function driveLetter() {
    return driveSelect.value;
  }

  function transferMessage() {
    return Module.UTF8ToString(Module._kestran_transfer_message());
  }

  function fetchSave(letter, name) {
    const found = withStrings([name], (pointer) => Module._kestran_fetch_save(letter.charCodeAt(0), pointer));
    if (!found) return null;
    const data = Module._kestran_transfer_data();
    return Module.HEAPU8.slice(data, data + Module._kestran_transfer_size());
  }

  function downloadSave() {
    const letter = driveLetter();
    const bytes = fetchSave(letter, SAVE_NAME);
    if (!bytes) {
      say(transferMessage() + ' Save in the game first (at the inn, or when a hero is made).', true);
      return;
    }
    kestran.download(new Blob([bytes], { type: 'application/octet-stream' }), SAVE_NAME);
    say('The save of drive ' + letter + ' is downloaded as ' + SAVE_NAME + '.');
  }

  let uploadName = SAVE_NAME;

  function chooseUpload(name) {
    uploadName = name;
    $('file').value = '';
    $('file').click();
  }

  async function upload(file, name) {
    const letter = driveLetter();
    if (file.size > MAX_SAVE_SIZE) {
      say(file.name + ' is larger than 1 MiB: it cannot be a save file. Nothing was changed.', true);
      return;
    }
    let bytes;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (e) {
      say(file.name + ' could not be read (' + e.message + '). Nothing was changed.', true);
      return;
    }
    const question = 'Replace the ' + name + ' on drive ' + letter + ' with ' + file.name + '?';
    if (fetchSave(letter, name) && !window.confirm(kestran.language ? kestran.language.text(question) : question)) {
      say('Nothing was changed.');
      return;
    }
    const data = Module._malloc(Math.max(1, bytes.length));
    Module.HEAPU8.set(bytes, data);
    const placed = withStrings([name], (pointer) =>
      Module._kestran_place_save(letter.charCodeAt(0), pointer, data, bytes.length));
    Module._free(data);
    if (!placed) {
      say(transferMessage() + ' Nothing was changed.', true);
      return;
    }
    // A refused write has put the drive back as the storage holds it, and said why.
    if ((await kestran.storage.persist(false)) !== 0) return;
    const next = name === SAVE_NAME ? 'load it with (L) on the title screen' : 'convert it with (D) on the title screen';
    say(file.name + ' is now ' + name + ' on drive ' + letter + ': ' + next + '.');
  }

  function wire() {
    for (let c = 65; c <= 90; ++c) {
      const option = document.createElement('option');
      option.value = option.textContent = String.fromCharCode(c);
      driveSelect.appendChild(option);
    }
    driveSelect.value = 'C';

    // After a transfer the keys go back to the game.
    $('download').addEventListener('click', () => {
      downloadSave();
      kestran.focusGame();
    });
    $('upload').addEventListener('click', () => chooseUpload(SAVE_NAME));
    $('upload-old').addEventListener('click', () => chooseUpload(PREDECESSOR_NAME));
    $('file').addEventListener('change', () => {
      const file = $('file').files[0];
      if (file) upload(file, uploadName).finally(kestran.focusGame);
    });
  }

  wire();
})();
