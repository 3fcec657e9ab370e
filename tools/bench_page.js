// The browser page's budgets, measured in headless Chromium emulating a phone, against the page
// as scripts/web_server.js serves it (compressed, as a real server would):
//   1. bytes over the network for a first visit (the page, the program, the font, and the service
//      worker's copies of them), and for a second visit (from the service worker's cache);
//   2. time from the navigation to the first title frame with the CPU slowed 4x (a middling
//      phone), on a first and on a second visit;
//   3. time from a tap on an on-screen key to the changed canvas, median and worst of 50 taps
//      (the limit is one frame, 16.7 ms), and to the next frame the browser shows.
// Usage: node tools/bench_page.js   (after `bash scripts/test.sh web`, which builds the page and
// installs puppeteer-core in tests/web; KESTRAN_PAGE_DIR names another built page)
'use strict';

const path = require('node:path');
const h = require(path.join(__dirname, '..', 'tests', 'web', 'harness.js'));
const puppeteer = require(require.resolve('puppeteer-core', { paths: [path.join(__dirname, '..', 'tests', 'web')] }));

const DEVICE = 'Pixel 5';
const TAPS = 50;
const FRAME_MS = 1000 / 60;
// From the title into the labyrinth, where a turn redraws the whole corridor.
const TO_LABYRINTH = 'nTARO{Enter}Y++-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCY{Enter}M{Up}';

// Counts what the server sends: bytes on the wire (headers included) and the answers.
function meter(server) {
  const sockets = new Set();
  const answers = [];
  server.on('connection', (socket) => sockets.add(socket));
  server.on('request', (request, response) => {
    response.on('finish', () => answers.push({
      url: request.url, status: response.statusCode, encoding: response.getHeader('content-encoding') || '',
      length: Number(response.getHeader('content-length') || 0),
    }));
  });
  let start = 0;
  const total = () => [...sockets].reduce((sum, s) => sum + s.bytesWritten, 0);
  return {
    reset() {
      start = total();
      answers.length = 0;
    },
    read: () => ({ bytes: total() - start, answers: [...answers] }),
  };
}

// Before the page's scripts: notes when the first screen with the title is told to the modules.
function watchForTitle(page) {
  return page.evaluateOnNewDocument(() => {
    let hub;
    Object.defineProperty(window, 'kestran', {
      configurable: true,
      get: () => hub,
      set(value) {
        hub = value;
        hub.on('screen', ({ rows }) => {
          if (!window.benchTitleAt && rows.some((row) => row.includes('NEW  GAME'))) window.benchTitleAt = performance.now();
        });
      },
    });
  });
}

async function visit(context, url, throttled) {
  const page = await context.newPage();
  await page.emulate(puppeteer.KnownDevices[DEVICE]);
  await watchForTitle(page);
  const cdp = await page.createCDPSession();
  if (throttled) await cdp.send('Emulation.setCPUThrottlingRate', { rate: 4 });
  await page.goto(url);
  await page.waitForFunction(() => window.benchTitleAt, { timeout: 120000 });
  const titleMs = await page.evaluate(() => window.benchTitleAt);
  // The service worker has its copies once it controls the page.
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 120000 });
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  return { page, titleMs };
}

// Milliseconds from each tap's touch to the canvas drawn, and to the next frame after it.
async function tapLatencies(page) {
  await page.evaluate(() => {
    window.benchTaps = [];
    document.addEventListener('pointerdown', (e) => { window.benchTouch = e.timeStamp; }, true);
    window.kestran.on('frame', () => {
      const drawn = performance.now();
      const touch = window.benchTouch;
      requestAnimationFrame(() => window.benchTaps.push({ drawn: drawn - touch, shown: performance.now() - touch }));
    });
  });
  const keys = ['{Left}', '{Right}'];
  for (let i = 0; i < TAPS; ++i) {
    const count = await page.evaluate(() => window.benchTaps.length);
    await h.tapKey(page, keys[i % 2]);
    await page.waitForFunction((n) => window.benchTaps.length > n, { timeout: 10000 }, count);
  }
  return page.evaluate(() => window.benchTaps.slice(0, 50));
}

const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function report(name, { bytes, answers }) {
  console.log(`${name}: ${bytes} bytes (${kib(bytes)}) over the network, ${answers.length} answers`);
  for (const a of answers) {
    console.log(`  ${a.status} ${a.url.padEnd(26)} ${String(a.length).padStart(8)} ${a.encoding}`);
  }
}

async function main() {
  const session = await h.launch();
  try {
    const url = `${session.url}?seed=7`;
    const server = meter(session.server);

    // First and second visit with the CPU at full speed, for the bytes.
    let context = await session.browser.createBrowserContext();
    server.reset();
    const first = await visit(context, url, false);
    await new Promise((r) => setTimeout(r, 500));
    report('first visit', server.read());
    await first.page.close();
    server.reset();
    const second = await visit(context, url, false);
    await new Promise((r) => setTimeout(r, 500));
    report('second visit', server.read());

    // Tap latency, on the second visit's page (the program already warm, as in play).
    await h.typeKeys(second.page, TO_LABYRINTH);
    const taps = await tapLatencies(second.page);
    await context.close();

    // The first title frame with the CPU slowed 4x, on a fresh profile and then from the cache.
    context = await session.browser.createBrowserContext();
    const slowFirst = await visit(context, url, true);
    await slowFirst.page.close();
    const slowSecond = await visit(context, url, true);
    await context.close();

    console.log(`first title frame, CPU slowed 4x: first visit ${slowFirst.titleMs.toFixed(0)} ms, ` +
                `second visit ${slowSecond.titleMs.toFixed(0)} ms`);
    const drawn = taps.map((t) => t.drawn);
    const shown = taps.map((t) => t.shown);
    console.log(`tap to changed canvas (${taps.length} taps): median ${median(drawn).toFixed(1)} ms, ` +
                `worst ${Math.max(...drawn).toFixed(1)} ms (limit ${FRAME_MS.toFixed(1)} ms)`);
    if (process.env.KESTRAN_BENCH_VERBOSE) console.log(drawn.map((t) => t.toFixed(1)).join(' '));
    console.log(`tap to the next frame shown: median ${median(shown).toFixed(1)} ms, worst ${Math.max(...shown).toFixed(1)} ms`);
  } finally {
    await session.close();
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
