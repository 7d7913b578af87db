// Keeps the page's files for visits without a network. The build writes its
// files' hash below: a new build is a new service worker, installed on the
// next visit, which caches the new files and drops the old ones.
const kCache = 'reedshot-@HASH@';
const kFiles = @FILES@;

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kCache)
    .then((cache) => cache.addAll(kFiles.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((n) => n.startsWith('reedshot-') && n !== kCache).map((n) => caches.delete(n))))
    .then(() => self.clients.claim()));
});

// The page's own files from the cache (its address's query is the game's options), anything else as usual.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== location.origin) return;
  event.respondWith(caches.open(kCache)
    .then((cache) => cache.match(event.request, { ignoreSearch: true }))
    .then((hit) => hit ?? fetch(event.request)));
});
