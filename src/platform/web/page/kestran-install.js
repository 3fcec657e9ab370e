// The page as an installed game: the service worker (sw.js) keeps the page, the program and the
// font for starts without a network, the browser's offer to install the page is passed on to a
// button, and a new build is offered between games (on the title screen, or once the game has
// ended), never in the middle of one: the reload it needs would end the game.
'use strict';

(function () {
  const kestran = window.kestran;
  const { readScreen } = window.KestranScreenKeys;
  const offer = document.getElementById('offer');
  const installButton = document.getElementById('install');
  let registration = null;
  let betweenGames = false;
  let installPrompt = null;

  function newBuildWaiting() {
    return !!(registration && registration.waiting && navigator.serviceWorker.controller);
  }

  function showOffer() {
    if (!(newBuildWaiting() && betweenGames)) {
      offer.hidden = true;
      return;
    }
    if (!offer.hidden) return;
    const text = document.createElement('span');
    text.textContent = 'A new version is ready — ';
    const reload = document.createElement('button');
    reload.type = 'button';
    reload.dataset.action = 'update';
    reload.textContent = 'reload';
    reload.addEventListener('click', switchToNewBuild);
    offer.replaceChildren(text, reload);
    offer.hidden = false;
  }

  // The waiting build takes over, and the page starts again from it.
  function switchToNewBuild() {
    if (!newBuildWaiting()) return;
    navigator.serviceWorker.addEventListener('controllerchange', () => location.reload());
    registration.waiting.postMessage('take-over');
  }

  async function register() {
    if (!('serviceWorker' in navigator) || registration) return;
    try {
      registration = await navigator.serviceWorker.register('sw.js');
    } catch (e) {
      return;  // the page still runs, with the network
    }
    registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      if (worker) worker.addEventListener('statechange', showOffer);
    });
    showOffer();
  }

  function onScreen({ rows, lineInput }) {
    register();
    const title = readScreen(rows, lineInput).title;
    // Back on the title screen: a good moment to look for a new build.
    if (title && !betweenGames && registration) registration.update().catch(() => {});
    betweenGames = title;
    showOffer();
  }

  window.addEventListener('beforeinstallprompt', (e) => {
    e.preventDefault();
    installPrompt = e;
    installButton.hidden = false;
  });
  window.addEventListener('appinstalled', () => {
    installButton.hidden = true;
    installPrompt = null;
  });
  installButton.addEventListener('click', () => {
    if (!installPrompt) return;
    installPrompt.prompt();
    installPrompt = null;
    installButton.hidden = true;
  });

  // Registered once the game waits for its first key: the service worker's copies then come
  // from the browser's cache instead of a second download, and its work does not delay the
  // first screen.
  kestran.on('screen', onScreen);
  kestran.on('ended', () => {
    betweenGames = true;
    showOffer();
  });
})();
