// The browser page's budgets, measured in headless Chromium emulating a phone (Pixel 5), against
// the page as scripts/web_server.js serves it (compressed, as a real server would):
//   1. bytes over the network for a first visit (the page, the program, the font, and the service
//      worker's copies of them), and for a second visit (from the service worker's cache);
//   2. time from the navigation to the first title frame with the CPU slowed 4x (a middling
//      phone), on a first visit (a fresh profile) and on a second one, with the page's own marks
//      of its start (program compiled, font, drives) beside it; median and spread of --runs;
//   3. time from a tap on an on-screen key to the changed canvas with the CPU slowed 4x, median and
//      worst of 50 taps, for turns in the labyrinth and for screen changes in the town (the
//      limit is one frame, 16.7 ms), and to the next frame the browser shows; beside it the part
//      before the page's handler runs, and that part on a page of one button (the browser's own).
// With --profile it also records Chromium's performance trace of a slowed first and second visit
// and tells where the main thread's time went until the title.
// Usage: node tools/bench_page.js [--runs=N] [--profile] [--starts-only]   (after `bash scripts/test.sh web`, which
// builds the page and installs puppeteer-core in tests/web; KESTRAN_PAGE_DIR names another page)
'use strict';

const os = require('node:os');
const path = require('node:path');
const h = require(path.join(__dirname, '..', 'tests', 'web', 'harness.js'));
const puppeteer = require(require.resolve('puppeteer-core', { paths: [path.join(__dirname, '..', 'tests', 'web')] }));
const { summarizeTrace, TRACE_CATEGORIES } = require('./bench_page_trace.js');

const DEVICE = 'Pixel 5';
const SLOWDOWN = 4;
const TAPS = 50;
const FRAME_MS = 1000 / 60;
const BUDGET = { firstVisitMs: 1000, secondVisitMs: 700, tapMedianMs: 8, tapWorstMs: FRAME_MS, firstVisitBytes: 473 * 1024 };
// From the title into the town, and on into the labyrinth, where a turn redraws the whole corridor.
const TO_TOWN = 'nTARO{Enter}Y++-+{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}{Enter}YYCY{Enter}';
const TO_LABYRINTH = 'M{Up}';
// The guild and back: each tap draws another screen.
const TOWN_TAPS = ['G', 'E'];
const TURN_TAPS = ['{Left}', '{Right}'];

function option(name, fallback) {
  const found = process.argv.find((a) => a === `--${name}` || a.startsWith(`--${name}=`));
  if (!found) return fallback;
  return found.includes('=') ? found.slice(found.indexOf('=') + 1) : true;
}

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

// The page's own marks of its start and when its big files had come, in ms from the navigation.
function startMarks(page) {
  return page.evaluate(() => {
    const marks = {};
    for (const m of performance.getEntriesByType('mark')) if (m.name.startsWith('kestran:')) marks[m.name.slice(8)] = m.startTime;
    for (const r of performance.getEntriesByType('resource')) {
      const file = r.name.split('/').pop();
      if (/^kestran(\.wasm|\.js|-font\.bin(\.gz)?)$/.test(file)) marks[`${file} in`] = r.responseEnd;
    }
    const paint = performance.getEntriesByName('first-contentful-paint')[0];
    if (paint) marks['first paint'] = paint.startTime;
    return marks;
  });
}

async function visit(context, url, slowdown, trace) {
  const page = await context.newPage();
  await page.emulate(puppeteer.KnownDevices[DEVICE]);
  await watchForTitle(page);
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: slowdown });
  if (trace) await page.tracing.start({ categories: TRACE_CATEGORIES });
  await page.goto(url);
  await page.waitForFunction(() => window.benchTitleAt, { timeout: 120000 });
  const titleMs = await page.evaluate(() => window.benchTitleAt);
  const traced = trace ? summarizeTrace(JSON.parse(Buffer.from(await page.tracing.stop()).toString('utf8')), titleMs) : null;
  const marks = await startMarks(page);
  // The service worker has its copies once it controls the page.
  await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: 120000 });
  return { page, cdp, titleMs, marks, traced };
}

// Milliseconds from each tap's touch to the canvas drawn, and to the next frame after it.
async function tapLatencies(page, keys) {
  await page.evaluate(() => {
    window.benchTaps = [];
    if (window.benchListening) return;
    window.benchListening = true;
    document.addEventListener('pointerdown', (e) => {
      window.benchTouch = e.timeStamp;
      window.benchHandled = performance.now();
    }, true);
    window.kestran.on('frame', () => {
      const drawn = performance.now();
      const touch = window.benchTouch;
      const handled = window.benchHandled;
      if (touch === undefined) return;
      window.benchTouch = undefined;  // one measure per tap: the first frame it changed
      requestAnimationFrame(() => window.benchTaps.push({
        drawn: drawn - touch, shown: performance.now() - touch, waited: handled - touch,
      }));
    });
  });
  for (let i = 0; i < TAPS; ++i) {
    const count = await page.evaluate(() => window.benchTaps.length);
    await h.tapKey(page, keys[i % keys.length]);
    await page.waitForFunction((n) => window.benchTaps.length > n, { timeout: 10000 }, count);
  }
  return page.evaluate((n) => window.benchTaps.slice(0, n), TAPS);
}

const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;
const sorted = (values) => [...values].sort((a, b) => a - b);
const median = (values) => sorted(values)[Math.floor(values.length / 2)];
const load = () => os.loadavg().map((l) => l.toFixed(2)).join(' ');
const spread = (values) => `median ${median(values).toFixed(0)} ms [${sorted(values).map((v) => v.toFixed(0)).join(' ')}]`;
let allMet = true;

function verdict(met) {
  allMet = allMet && met;
  return met ? 'within budget' : 'OVER BUDGET';
}

function report(name, { bytes, answers }) {
  console.log(`${name}: ${bytes} bytes (${kib(bytes)}) over the network, ${answers.length} answers`);
  for (const a of answers) {
    console.log(`  ${a.status} ${a.url.padEnd(26)} ${String(a.length).padStart(8)} ${a.encoding}`);
  }
}

function reportTaps(name, taps) {
  const drawn = taps.map((t) => t.drawn);
  const shown = taps.map((t) => t.shown);
  const waited = taps.map((t) => t.waited);
  const met = median(drawn) <= BUDGET.tapMedianMs && Math.max(...drawn) <= BUDGET.tapWorstMs;
  console.log(`${name} (${taps.length} taps, CPU slowed ${SLOWDOWN}x, load ${load()}): tap to changed canvas ` +
              `median ${median(drawn).toFixed(1)} ms, worst ${Math.max(...drawn).toFixed(1)} ms ` +
              `(budget ${BUDGET.tapMedianMs} / ${BUDGET.tapWorstMs.toFixed(1)}): ${verdict(met)}; ` +
              `of it before the page's handler: median ${median(waited).toFixed(1)} ms; ` +
              `to the next frame shown: median ${median(shown).toFixed(1)} ms, worst ${Math.max(...shown).toFixed(1)} ms`);
  if (process.env.KESTRAN_BENCH_VERBOSE) console.log(drawn.map((t) => t.toFixed(1)).join(' '));
}

// The marks of each run, as medians.
function reportMarks(name, runs) {
  const names = [...new Set(runs.flatMap((r) => Object.keys(r.marks)))];
  const at = names.map((n) => [n, median(runs.filter((r) => n in r.marks).map((r) => r.marks[n]))]);
  at.sort((a, b) => a[1] - b[1]);
  console.log(`  ${name}, medians: ` + at.map(([n, ms]) => `${n} ${ms.toFixed(0)}`).join(', '));
}

// The browser's own share of a tap: from the touch to a handler on a page of one button, slowed
// as the game's page is. No tap on any page is seen sooner.
async function tapFloor(session) {
  const context = await session.browser.createBrowserContext();
  const page = await context.newPage();
  await page.emulate(puppeteer.KnownDevices[DEVICE]);
  await page.setContent('<button id="key" style="width:6em;height:3em">key</button>');
  await page.evaluate(() => {
    window.benchTaps = [];
    document.addEventListener('pointerdown', (e) => window.benchTaps.push(performance.now() - e.timeStamp), true);
  });
  const cdp = await page.createCDPSession();
  await cdp.send('Emulation.setCPUThrottlingRate', { rate: SLOWDOWN });
  for (let i = 0; i < TAPS; ++i) {
    await new Promise((r) => setTimeout(r, 50));
    await h.tap(page, '#key');
  }
  await page.waitForFunction((n) => window.benchTaps.length >= n, {}, TAPS);
  const waited = await page.evaluate(() => window.benchTaps);
  console.log(`a page of one button (${TAPS} taps, CPU slowed ${SLOWDOWN}x): tap to its handler ` +
              `median ${median(waited).toFixed(1)} ms, worst ${Math.max(...waited).toFixed(1)} ms`);
  await context.close();
}

async function measureBytesAndTaps(session, url) {
  const server = meter(session.server);
  const context = await session.browser.createBrowserContext();
  server.reset();
  const first = await visit(context, url, 1, false);
  await new Promise((r) => setTimeout(r, 500));
  const firstBytes = server.read();
  report('first visit', firstBytes);
  console.log(`  ${kib(firstBytes.bytes)} (budget ${kib(BUDGET.firstVisitBytes)}): ` +
              `${verdict(firstBytes.bytes <= BUDGET.firstVisitBytes)}`);
  await first.page.close();
  server.reset();
  const second = await visit(context, url, 1, false);
  await new Promise((r) => setTimeout(r, 500));
  report('second visit', server.read());

  // Taps on the second visit's page (the program already warm, as in play).
  await h.typeKeys(second.page, TO_TOWN);
  await second.cdp.send('Emulation.setCPUThrottlingRate', { rate: SLOWDOWN });
  reportTaps('screen changes in the town', await tapLatencies(second.page, TOWN_TAPS));
  await second.cdp.send('Emulation.setCPUThrottlingRate', { rate: 1 });
  await h.typeKeys(second.page, TO_LABYRINTH);
  await second.cdp.send('Emulation.setCPUThrottlingRate', { rate: SLOWDOWN });
  reportTaps('turns in the labyrinth', await tapLatencies(second.page, TURN_TAPS));
  await context.close();
  await tapFloor(session);
}

// Each run in a browser of its own with a new profile, used as a phone's browser is: not a private
// window, so that the second visit has the compiled scripts the browser keeps (a private
// window keeps none, and no player plays in one for long).
async function measureStarts(runs) {
  const first = [];
  const second = [];
  const loadBefore = load();
  for (let i = 0; i < runs; ++i) {
    const own = await h.launch();
    try {
      const context = own.browser.defaultBrowserContext();
      const url = `${own.url}?seed=7`;
      const cold = await visit(context, url, SLOWDOWN, false);
      await cold.page.close();
      second.push(await visit(context, url, SLOWDOWN, false));
      first.push(cold);
    } finally {
      await own.close();
    }
  }
  const firstMs = first.map((r) => r.titleMs);
  const secondMs = second.map((r) => r.titleMs);
  console.log(`first title frame, CPU slowed ${SLOWDOWN}x, ${runs} runs (load ${loadBefore} before, ${load()} after):`);
  console.log(`  first visit ${spread(firstMs)} (budget ${BUDGET.firstVisitMs}): ${verdict(median(firstMs) <= BUDGET.firstVisitMs)}`);
  reportMarks('first visit', first);
  console.log(`  second visit ${spread(secondMs)} (budget ${BUDGET.secondVisitMs}): ${verdict(median(secondMs) <= BUDGET.secondVisitMs)}`);
  reportMarks('second visit', second);
}

async function profile(session, url) {
  const context = await session.browser.createBrowserContext();
  for (const name of ['first visit', 'second visit']) {
    const run = await visit(context, url, SLOWDOWN, true);
    console.log(`profile of a ${name}, CPU slowed ${SLOWDOWN}x (load ${load()}): title at ${run.titleMs.toFixed(0)} ms`);
    console.log(run.traced);
    await run.page.close();
  }
  await context.close();
}

async function main() {
  const runs = Math.max(1, Number(option('runs', 5)));
  const session = await h.launch();
  try {
    const url = `${session.url}?seed=7`;
    if (option('profile', false)) await profile(session, url);
    if (!option('starts-only', false)) await measureBytesAndTaps(session, url);
    await measureStarts(runs);
  } finally {
    await session.close();
  }
  process.exitCode = allMet ? 0 : 1;
}

main().catch((error) => {
  console.error(error);
  process.exit(2);
});
