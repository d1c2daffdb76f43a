// The page's side of the game's event handling: one event at a time. Every event goes through
// Module.wbRun; while a synchronous sound plays, events wait and run when it has ended: the input
// in order, and a timer's tick only once no input waits, as Windows delivers its timer messages
// (so a release made during a sound comes before the tick that fell due meanwhile).
Module.wbQueue = [];
Module.wbPending = 0;
Module.wbRun = function (event, tick = false) {
  if (Module.wbPending > 0 || Module.wbQueue.length > 0) {
    Module.wbQueue.push({event, tick});
    return;
  }
  event();
};
Module.wbDrain = function () {
  while (Module.wbPending === 0 && Module.wbQueue.length > 0) {
    const input = Module.wbQueue.findIndex((waiting) => !waiting.tick);
    Module.wbQueue.splice(Math.max(input, 0), 1)[0].event();
  }
};
// Browsers start audio only after a gesture: a press of the mouse on the block, or the end of a
// touch on it (a touch screen grants the gesture only when the finger lifts).
Module.wbStartAudio = function () {
  if (!Module.wbAudio) {
    const audio = new AudioContext();
    // Between sounds the output is kept fed with a constant far below the least step of a 16-bit
    // device: WebKit's GStreamer sink otherwise lets the stream run dry in silence and cuts the
    // start of the next sound while it catches up.
    const feed = new ConstantSourceNode(audio, {offset: 2 ** -20});
    feed.connect(audio.destination);
    feed.start();
    Module.wbAudio = audio;
  }
  // Until the output runs (opening it may take a browser a moment), a sound waits for it
  // rather than go unheard (wb_play).
  if (Module.wbAudio.state === 'suspended' && !Module.wbStarting) {
    Module.wbStarting = Module.wbAudio.resume().catch(() => {}).finally(() => {
      Module.wbStarting = null;
    });
  }
};
// Fits the form into the viewport: scaled as a whole to the largest size that fits, never above
// its own, and centred on whole pixels so that its edges stay sharp. Pointer positions are
// divided by Module.wbScale.
Module.wbFit = function (form) {
  const fit = () => {
    const width = form.offsetWidth;
    const height = form.offsetHeight;
    const scale = Math.min(1, innerWidth / width, innerHeight / height);
    Module.wbScale = scale;
    form.style.transform = scale < 1 ? `scale(${scale})` : '';
    form.style.left = `${Math.max(0, Math.floor((innerWidth - width * scale) / 2))}px`;
    form.style.top = `${Math.max(0, Math.floor((innerHeight - height * scale) / 2))}px`;
  };
  addEventListener('resize', fit);
  fit();
};
// A long press or a right click opens no menu over the game.
document.addEventListener('contextmenu', (e) => e.preventDefault());
// Offline play: the service worker keeps this build's files. It is registered after the game's
// first frame, since its downloads would hold that frame up.
Module.postRun = [() => requestAnimationFrame(() => setTimeout(() => {
  if (navigator.serviceWorker) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
}))];
