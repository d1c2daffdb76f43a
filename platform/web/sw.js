// Keeps the page's files so that the game plays offline. The store is named after the build:
// a new build installs its own store on the next visit and the old one is deleted.
const STORE = 'wirbelbox-@WIRBELBOX_BUILD_ID@';
const FILES = ['./', @WIRBELBOX_PAGE_FILES@];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(STORE)
                      .then((store) => store.addAll(FILES.map((f) => new Request(f, {cache: 'reload'}))))
                      .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
                      .then((stores) => Promise.all(stores.filter((s) => s.startsWith('wirbelbox-') && s !== STORE)
                                                        .map((s) => caches.delete(s))))
                      .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') {
    return;
  }
  event.respondWith(caches.open(STORE)
                        .then((store) => store.match(event.request, {ignoreSearch: true}))
                        .then((kept) => kept || fetch(event.request)));
});
