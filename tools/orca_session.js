// A private desktop with a real screen reader, to hear the page as a blind player does: Xvfb, a
// session D-Bus, the AT-SPI bus, speech-dispatcher whose only output module writes each utterance
// and its language to a file (no sound card), Orca with the saved profile beside this file
// (orca-profile.json: a Japanese default voice, no echo of typed keys), and Chromium with its
// accessibility tree on, keys typed into it with xdotool as a keyboard would.
//
// Used by tests/web/orca.test.js; by hand, `node tools/orca_session.js URL` opens URL there and
// prints what Orca says until Ctrl+C (`DISPLAY=:N xdotool ...` types into it; the display is
// printed first). Everything started runs in a process group of its own, ended with the session
// or with the node process, whatever way that ends.
'use strict';

const { spawn, execFileSync } = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');

const NEEDED = ['Xvfb', 'dbus-daemon', 'speech-dispatcher', 'orca', 'chromium', 'xdotool'];
const FILES = ['/usr/libexec/at-spi-bus-launcher', '/usr/lib/speech-dispatcher-modules/sd_generic'];

function onPath(command) {
  return process.env.PATH.split(':').some((dir) => fs.existsSync(path.join(dir, command)));
}

// What is missing to bring a session up, for a test to skip with; empty when all is there.
function missing() {
  const out = NEEDED.filter((command) => !onPath(command)).concat(FILES.filter((file) => !fs.existsSync(file)));
  try {
    execFileSync('/usr/bin/python3', ['-c', 'import speechd, pyatspi'], { stdio: 'ignore' });
  } catch (e) {
    out.push('python3-speechd, python3-pyatspi');
  }
  return out;
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function until(what, test, ms) {
  for (const end = Date.now() + ms; Date.now() < end; await sleep(100)) {
    const value = test();
    if (value) return value;
  }
  throw new Error(`gave up waiting for ${what}`);
}

function writeSpeechConfig(dir, spokenFile) {
  fs.mkdirSync(path.join(dir, 'modules'), { recursive: true });
  fs.writeFileSync(path.join(dir, 'speechd.conf'), [
    `LogDir "${dir}"`,
    'AddModule "to-file" "sd_generic" "to-file.conf"',
    'DefaultModule to-file',
    'DefaultLanguage "ja"',
    // The module plays nothing, yet opens the sound device: ALSA's null device is always there.
    'AudioOutputMethod "alsa"',
    'AudioALSADevice "null"',
  ].join('\n') + '\n');
  fs.writeFileSync(path.join(dir, 'modules', 'to-file.conf'), [
    `GenericExecuteSynth "printf '%s\\\\t%s\\\\n' '$LANGUAGE' '$DATA' >> ${spokenFile}"`,
    // One line to an utterance: the module would cut a long one into pieces, through a character.
    'GenericMaxChunkLength 100000',
    'GenericLanguage "ja" "ja" "utf-8"',
    'GenericLanguage "en" "en" "utf-8"',
    'AddVoice "ja" "MALE1" "ja"',
    'AddVoice "en" "MALE1" "en"',
  ].join('\n') + '\n');
}

async function start(url) {
  const root = fs.mkdtempSync(path.join(os.tmpdir(), 'kestran-orca-'));
  const home = path.join(root, 'home');
  const run = path.join(root, 'run');
  const spokenFile = path.join(root, 'spoken.txt');
  fs.mkdirSync(path.join(home, '.local/share/orca'), { recursive: true });
  fs.mkdirSync(run, { mode: 0o700 });
  fs.copyFileSync(path.join(__dirname, 'orca-profile.json'), path.join(home, '.local/share/orca/user-settings.conf'));
  writeSpeechConfig(path.join(root, 'speechd'), spokenFile);
  fs.writeFileSync(spokenFile, '');
  const display = `:${90 + (process.pid % 400)}`;
  const env = {
    ...process.env, HOME: home, XDG_RUNTIME_DIR: run, XDG_CONFIG_HOME: path.join(home, '.config'),
    XDG_DATA_HOME: path.join(home, '.local/share'), DISPLAY: display,
    DBUS_SESSION_BUS_ADDRESS: `unix:path=${run}/bus`, SPEECHD_ADDRESS: `unix_socket:${run}/speechd.sock`,
    NO_AT_BRIDGE: '0', GTK_A11Y: '', LANG: 'C.UTF-8',
  };
  const children = [];
  const launch = (command, args) => {
    const child = spawn(command, args, { env, detached: true, stdio: ['ignore', 'ignore', 'ignore'] });
    children.push(child);
    return child;
  };
  const endAll = () => {
    for (const child of children.reverse()) {
      try {
        process.kill(-child.pid, 'SIGKILL');
      } catch (e) {
        // Already gone.
      }
    }
    children.length = 0;
  };
  // A signal ends node without its 'exit' listeners: it ends the session first.
  const onSignal = (signal) => {
    endAll();
    fs.rmSync(root, { recursive: true, force: true });
    process.kill(process.pid, signal);
  };
  const SIGNALS = ['SIGINT', 'SIGTERM', 'SIGHUP'];
  process.once('exit', endAll);
  SIGNALS.forEach((signal) => process.once(signal, onSignal));

  const session = {
    display,
    spokenFile,
    // What was spoken so far: {language, text} in order.
    spoken() {
      return fs.readFileSync(spokenFile, 'utf8').split('\n').filter((line) => line)
        .map((line) => ({ language: line.split('\t')[0], text: line.split('\t').slice(1).join('\t') }));
    },
    // Waits until the transcript has stayed still for `quietMs` (and has grown past `count`).
    async quiet(quietMs = 800, count = -1) {
      let seen = session.spoken().length;
      let still = Date.now();
      for (const end = Date.now() + 8000; Date.now() < end; await sleep(100)) {
        const now = session.spoken().length;
        if (now !== seen) [seen, still] = [now, Date.now()];
        if (seen > count && Date.now() - still >= quietMs) break;
      }
    },
    // Types keys (xdotool's names: "n", "Return", "alt+w") and gives what Orca said for them:
    // the transcript has grown and then stayed still for `quietMs`.
    async key(keys, quietMs = 800) {
      const before = session.spoken().length;
      execFileSync('xdotool', ['key', '--clearmodifiers', ...keys.split(' ')], { env });
      await session.quiet(quietMs, before);
      return session.spoken().slice(before);
    },
    until,
    close() {
      endAll();
      process.removeListener('exit', endAll);
      SIGNALS.forEach((signal) => process.removeListener(signal, onSignal));
      fs.rmSync(root, { recursive: true, force: true });
    },
  };
  try {
    launch('Xvfb', [display, '-screen', '0', '1280x1024x24', '-nolisten', 'tcp']);
    await until('the X server', () => fs.existsSync(`/tmp/.X11-unix/X${display.slice(1)}`), 10000);
    launch('dbus-daemon', ['--session', '--nofork', `--address=unix:path=${run}/bus`]);
    await until('the session bus', () => fs.existsSync(`${run}/bus`), 10000);
    launch('/usr/libexec/at-spi-bus-launcher', ['--launch-immediately']);
    launch('speech-dispatcher', ['-s', '-t', '0', '-C', path.join(root, 'speechd'), '-c', 'unix_socket',
      '-S', `${run}/speechd.sock`, '-P', `${run}/speechd.pid`]);
    await until('speech-dispatcher', () => fs.existsSync(`${run}/speechd.sock`), 10000);
    launch('orca', process.env.KESTRAN_ORCA_DEBUG ? ['--debug-file=' + process.env.KESTRAN_ORCA_DEBUG] : []);
    await until('Orca', () => session.spoken().length > 0, 20000);
    launch('chromium', ['--no-sandbox', '--force-renderer-accessibility', '--no-first-run', '--disable-gpu',
      '--no-default-browser-check', '--disable-background-networking', '--disable-component-update',
      `--user-data-dir=${path.join(root, 'chromium')}`, '--window-size=1280,1000', '--window-position=0,0', url]);
    const window = await until('the browser window', () => {
      try {
        return execFileSync('xdotool', ['search', '--onlyvisible', '--class', 'chromium'], { env }).toString().split('\n')[0];
      } catch (e) {
        return '';
      }
    }, 30000);
    execFileSync('xdotool', ['windowfocus', '--sync', window], { env });
  } catch (e) {
    session.close();
    throw e;
  }
  return session;
}

module.exports = { missing, start };

if (require.main === module) {
  (async () => {
    const lacking = missing();
    if (lacking.length) throw new Error(`missing: ${lacking.join(', ')} (bash scripts/deps.sh web)`);
    const session = await start(process.argv[2] || 'about:blank');
    console.log(`DISPLAY=${session.display}`);
    let shown = 0;
    for (;;) {
      const lines = session.spoken();
      lines.slice(shown).forEach(({ language, text }) => console.log(`${language}\t${text}`));
      shown = lines.length;
      await sleep(200);
    }
  })().catch((e) => {
    console.error(e.message);
    process.exit(1);
  });
}
