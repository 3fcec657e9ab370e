// Where the renderer's time went until the title, from a Chromium performance trace of one visit
// (tools/bench_page.js --profile). Busy time of the page's main thread, split into the kinds of
// work the start is made of, and what the other threads of the page did (the WebAssembly
// compilation runs there); durations nest (a script's evaluation holds the calls it makes).
'use strict';

const TRACE_CATEGORIES = [
  'devtools.timeline', 'disabled-by-default-devtools.timeline', 'v8', 'v8.wasm', 'v8.execute',
  'blink.user_timing', 'loading', 'toplevel',
];

// Kinds of the main thread's work: a name, and a test of an event.
const KINDS = [
  ['parse HTML', (e) => e.name === 'ParseHTML'],
  ['style, layout, paint', (e) => /^(UpdateLayoutTree|Layout|PrePaint|Paint|Layerize|Commit)$/.test(e.name)],
  ['JS calls (events, timers)', (e) => e.name === 'FunctionCall' || e.name === 'TimerFire' || e.name === 'EventDispatch'],
  ['promise jobs (the program between its waits)', (e) => e.name === 'RunMicrotasks'],
  ['WebAssembly (main thread)', (e) => /wasm/i.test(e.name) || /wasm/.test(e.cat)],
  ['garbage collection', (e) => /^(MajorGC|MinorGC|V8\.GC_)/.test(e.name) || e.name === 'BlinkGC.AtomicPhase'],
  ['compile JS', (e) => e.name === 'v8.compile' || e.name === 'V8.CompileCode' || e.name === 'v8.parseOnBackground'],
];

function threadNames(events) {
  const names = new Map();
  for (const e of events) {
    if (e.ph === 'M' && e.name === 'thread_name') names.set(`${e.pid}:${e.tid}`, e.args.name);
  }
  return names;
}

// The page's main thread: the one that evaluated the page's first script.
function pageThread(events) {
  const first = events.find((e) => e.name === 'EvaluateScript' && /kestran-(page|load)\.js/.test(e.args?.data?.url || ''));
  return first ? `${first.pid}:${first.tid}` : null;
}

function summarizeTrace(trace, untilMs) {
  const events = (trace.traceEvents || trace).filter((e) => e.ts !== undefined);
  const main = pageThread(events);
  if (!main) return '  (the trace holds no evaluation of the page\'s script)';
  const start = events.find((e) => e.name === 'navigationStart' && `${e.pid}:${e.tid}` === main) ||
                events.filter((e) => `${e.pid}:${e.tid}` === main).reduce((a, b) => (a.ts < b.ts ? a : b));
  const end = start.ts + untilMs * 1000;
  const inTime = (e) => e.ph === 'X' && e.ts >= start.ts && e.ts < end && e.dur;
  const ms = (us) => (us / 1000).toFixed(1);
  const lines = [];
  const onMain = events.filter((e) => `${e.pid}:${e.tid}` === main && inTime(e));
  const busy = onMain.filter((e) => e.name === 'RunTask' || e.name === 'ThreadControllerImpl::RunTask')
    .reduce((sum, e) => sum + e.dur, 0);
  lines.push(`  main thread busy ${ms(busy)} of ${untilMs.toFixed(0)} ms until the title`);
  const scripts = onMain.filter((e) => e.name === 'EvaluateScript');
  for (const e of scripts) {
    lines.push(`    evaluate ${(e.args?.data?.url || '?').split('/').pop().padEnd(26)} at ${ms(e.ts - start.ts).padStart(7)} ` +
               `for ${ms(e.dur)} ms`);
  }
  for (const [kind, test] of KINDS) {
    const hits = onMain.filter(test);
    if (hits.length) lines.push(`    ${kind.padEnd(46)} ${ms(hits.reduce((s, e) => s + e.dur, 0)).padStart(7)} ms in ${hits.length}`);
  }
  // The other threads of the page's process: the compilation of the program among them.
  const names = threadNames(events);
  const pid = main.split(':')[0];
  const others = new Map();
  for (const e of events) {
    const thread = `${e.pid}:${e.tid}`;
    if (String(e.pid) !== pid || thread === main || !inTime(e) || !/wasm|compile/i.test(e.name)) continue;
    const key = `${names.get(thread) || thread}: ${e.name}`;
    others.set(key, (others.get(key) || 0) + e.dur);
  }
  for (const [key, dur] of [...others].sort((a, b) => b[1] - a[1]).slice(0, 6)) {
    lines.push(`    off the main thread, ${key.padEnd(40)} ${ms(dur).padStart(7)} ms`);
  }
  return lines.join('\n');
}

module.exports = { summarizeTrace, TRACE_CATEGORIES };
