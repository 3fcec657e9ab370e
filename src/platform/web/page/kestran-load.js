// The first of the page's scripts, in its head: it starts what takes longest before anything
// else is parsed, so that it overlaps the rest of the page's start - the program's code fetched
// and compiled as it streams in (a module the service worker answers with is then taken from the
// browser's code cache), and the font (which the server sends compressed).
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

  async function fetched(file) {
    const response = await fetch(file);
    if (!response.ok) throw new Error(file + ': HTTP ' + response.status);
    return response;
  }

  async function compileProgram() {
    // A server that names the file with another type gets the slower way: fetched again whole,
    // then compiled (the streaming compilation has used up the first answer).
    const module = await WebAssembly.compileStreaming(fetched('kestran.wasm'))
      .catch(async () => WebAssembly.compile(await (await fetched('kestran.wasm')).arrayBuffer()));
    mark('program compiled');
    return module;
  }

  async function fetchFont() {
    const font = new Uint8Array(await (await fetched('kestran-font.bin')).arrayBuffer());
    mark('font in');
    return font;
  }

  // A browser without these is told so by kestran-page.js; here it only must not fail.
  const canCompile = typeof WebAssembly === 'object' && typeof WebAssembly.compileStreaming === 'function';
  const canFetch = typeof fetch === 'function';
  const missing = () => Promise.reject(new Error('this browser cannot load it'));
  const loading = {
    program: canCompile ? compileProgram() : missing(),
    font: canFetch ? fetchFont() : missing(),
  };
  // Whoever needs them handles their failure; the promises are not left unheard before that.
  loading.program.catch(() => {});
  loading.font.catch(() => {});
  window.kestranLoading = loading;
})();
