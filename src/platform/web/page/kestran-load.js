// The first of the page's scripts, in its head: it starts what takes longest before anything
// else is parsed, so that it overlaps the rest of the page's start - the program's code fetched
// and compiled as it streams in (a module the service worker answers with is then taken from the
// browser's code cache), and the font (which the server sends compressed).
// Both are fetched by a worker of their own: the page's own thread is busy parsing and laying out
// the page, and a download read there waits for it; the worker hands over the compiled module
// and the font's bytes as they are ready. A browser without workers (or one that cannot hand a
// module over) has them fetched here.
//
// window.kestranLoading.program  resolves with the compiled WebAssembly.Module
// window.kestranLoading.font     resolves with the font asset (Uint8Array)
// Each rejects with an Error that tells what failed; kestran-page.js says it to the player.
// Marks on the performance timeline ('kestran:...') tell the benchmark when each was ready.
'use strict';

(function () {
  function mark(name) {
    if (window.performance && performance.mark) performance.mark('kestran:' + name);
  }

  // The fetches, the same here and in the worker (which is given this function's text).
  function loader(scope, base) {
    async function fetched(file) {
      const response = await fetch(new URL(file, base));
      if (!response.ok) throw new Error(file + ': HTTP ' + response.status);
      return response;
    }
    return {
      // A server that names the file with another type gets the slower way: fetched again whole,
      // then compiled (the streaming compilation has used up the first answer).
      program: () => scope.WebAssembly.compileStreaming(fetched('kestran.wasm'))
        .catch(async () => scope.WebAssembly.compile(await (await fetched('kestran.wasm')).arrayBuffer())),
      font: async () => new Uint8Array(await (await fetched('kestran-font.bin')).arrayBuffer()),
    };
  }

  function here() {
    const load = loader(window, location.href);
    return { program: load.program(), font: load.font() };
  }

  // In the worker: each result posted as {name, value} or {name, error}.
  function worker(base) {
    const load = loader(self, base);
    for (const name of ['program', 'font']) {
      load[name]().then((value) => {
        try {
          self.postMessage({ name, value }, name === 'font' ? [value.buffer] : []);
        } catch (e) {
          self.postMessage({ name, error: 'cannot be handed over', handOver: true });
        }
      }, (e) => self.postMessage({ name, error: e.message }));
    }
  }

  function inWorker() {
    const source = 'const loader = ' + loader + ';\n(' + worker + ')(' + JSON.stringify(location.href) + ');';
    const url = URL.createObjectURL(new Blob([source], { type: 'text/javascript' }));
    const thread = new Worker(url);
    URL.revokeObjectURL(url);
    const settle = {};
    const results = {};
    for (const name of ['program', 'font']) {
      results[name] = new Promise((resolve, reject) => { settle[name] = { resolve, reject }; });
    }
    let fallback = null;
    thread.onmessage = ({ data }) => {
      if (data.handOver) {
        // This browser cannot post the result: the rest comes the usual way.
        fallback = fallback || here();
        fallback[data.name].then(settle[data.name].resolve, settle[data.name].reject);
      } else if (data.error !== undefined) {
        settle[data.name].reject(new Error(data.error));
      } else {
        settle[data.name].resolve(data.value);
      }
    };
    thread.onerror = (e) => {
      e.preventDefault();
      fallback = fallback || here();
      for (const name of ['program', 'font']) fallback[name].then(settle[name].resolve, settle[name].reject);
    };
    return results;
  }

  // A browser without these is told so by kestran-page.js; here it only must not fail.
  const canCompile = typeof WebAssembly === 'object' && typeof WebAssembly.compileStreaming === 'function';
  const canFetch = typeof fetch === 'function';
  const missing = () => Promise.reject(new Error('this browser cannot load it'));
  let started;
  if (!canCompile || !canFetch) {
    started = { program: missing(), font: missing() };
  } else {
    try {
      started = typeof Worker === 'function' && typeof Blob === 'function' ? inWorker() : here();
    } catch (e) {
      started = here();
    }
  }
  const loading = {
    program: started.program.then((module) => { mark('program compiled'); return module; }),
    font: started.font.then((font) => { mark('font in'); return font; }),
  };
  // Whoever needs them handles their failure; the promises are not left unheard before that.
  loading.program.catch(() => {});
  loading.font.catch(() => {});
  window.kestranLoading = loading;
})();
