// The page's side of the game's event handling: one event at a time. Every event goes through
// Module.wbRun; while a synchronous sound plays, events wait in order and run when it has ended.
Module.wbQueue = [];
Module.wbPending = 0;
Module.wbRun = function (event) {
  if (Module.wbPending > 0 || Module.wbQueue.length > 0) {
    Module.wbQueue.push(event);
    return;
  }
  event();
};
Module.wbDrain = function () {
  while (Module.wbPending === 0 && Module.wbQueue.length > 0) {
    Module.wbQueue.shift()();
  }
};
// Browsers start audio only after a gesture: the first press on the block is one.
Module.wbStartAudio = function () {
  if (!Module.wbAudio) {
    Module.wbAudio = new AudioContext();
  } else if (Module.wbAudio.state === 'suspended') {
    Module.wbAudio.resume();
  }
};
