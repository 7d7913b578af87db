// The page's side of the browser platform: painting the canvas, Web Audio,
// keeping the store in the browser's storage and the page's messages. The
// page (web/index.html) sets up Module.canvas, the store's folder and input.
mergeInto(LibraryManager.library, {
  $reedshotWeb: {
    stats: { frames: 0, firstFrameMs: 0, buffers: 0, loudBuffers: 0, ahead: 0, underruns: 0, copies: 0,
             copyFailures: 0 },
    sources: [],
    player: null,  // the worklet node, once it runs
    hush: function() {
      reedshotWeb.sources.forEach(function(source) { try { source.stop(); } catch (e) {} });
      reedshotWeb.sources = [];
      if (reedshotWeb.player) reedshotWeb.player.port.postMessage(0);
    },
    // Runs in the audio worklet's own scope, from its text. Each piece is
    // [first frame, channels, 8-bit samples], added in where the clock meets
    // it, as a buffer source would be; 0 drops every piece.
    playerScope: function() {
      registerProcessor('reedshot', class extends AudioWorkletProcessor {
        constructor() {
          super();
          var pieces = this.pieces = [];
          this.port.onmessage = function(event) {
            if (event.data) pieces.push(event.data); else pieces.length = 0;
          };
        }
        process(inputs, outputs) {
          var out = outputs[0], now = currentFrame, pieces = this.pieces;
          while (pieces.length && pieces[0][0] + pieces[0][2].length / pieces[0][1] <= now) pieces.shift();
          pieces.forEach(function(piece) {
            var at = piece[0], channels = piece[1], data = piece[2];
            var end = Math.min(at + data.length / channels, now + out[0].length);
            for (var f = Math.max(at, now); f < end; f++) {
              for (var ch = 0; ch < out.length; ch++) {
                out[ch][f - now] += (data[(f - at) * channels + ch % channels] - 128) / 128;
              }
            }
          });
          return true;
        }
      });
    },
    // One long-lived node plays every buffer: a source node per buffer costs
    // this thread far more. Until it is ready, or where the browser has no
    // worklets or plays at another rate, buffers go the per-node way.
    startPlayer: function(ctx, out) {
      var web = reedshotWeb;
      web.startPlayer = function() {};
      var code = URL.createObjectURL(new Blob(['(' + web.playerScope + ')()'], { type: 'text/javascript' }));
      ctx.audioWorklet.addModule(code).then(function() {
        web.player = new AudioWorkletNode(ctx, 'reedshot', { numberOfInputs: 0, outputChannelCount: [2] });
        web.player.connect(out);
      }, function() {});
    },
  },
  // The page hushes what is already scheduled when it is hidden.
  $reedshotWeb__postset: 'Module["reedshotStats"] = reedshotWeb.stats; Module["reedshotHush"] = reedshotWeb.hush;',

  reedshot_now_ms: function() { return performance.now(); },

  // Milliseconds of the wall clock: each visit starts somewhere else.
  reedshot_start_tick: function() { return Date.now() >>> 0; },

  // The frame's pixels stay in the game's memory; only the changed part of
  // them is put on the canvas. The image over them is made again only when
  // that memory has grown (and moved). A desynchronized canvas hands its
  // frames to the compositor itself: otherwise every present costs the page
  // a paint and a commit on this thread.
  reedshot_present__deps: ['$reedshotWeb'],
  reedshot_present: function(ptr, width, height, x, y, w, h, lit) {
    var web = reedshotWeb;
    if (!web.image || web.image.data.buffer !== HEAPU8.buffer || web.imagePtr !== ptr) {
      web.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, ptr, width * height * 4), width, height);
      web.imagePtr = ptr;
      web.context = Module['canvas'].getContext('2d', { desynchronized: true });
    }
    web.context.putImageData(web.image, 0, 0, x, y, w, h);
    var stats = reedshotWeb.stats;
    stats.frames++;
    if (!stats.firstFrameMs && lit) stats.firstFrameMs = performance.now();
  },

  // Until the first tap or key the page has no running audio context, and
  // the schedule runs on the wall clock.
  reedshot_audio_now: function() {
    var ctx = Module['reedshotAudio'];
    return ctx && ctx.state === 'running' ? ctx.currentTime : performance.now() / 1000;
  },

  reedshot_audio_running: function() {
    var ctx = Module['reedshotAudio'];
    return ctx && ctx.state === 'running' ? 1 : 0;
  },

  reedshot_audio_play__deps: ['$reedshotWeb'],
  reedshot_audio_play: function(ptr, bytes, channels, rate, when) {
    var ctx = Module['reedshotAudio'], web = reedshotWeb;
    var frames = (bytes / channels) | 0;
    // Muted, the schedule runs on without building anything to play.
    if (!ctx || !frames || Module['reedshotMuted']) return;
    var out = Module['reedshotOut'] || ctx.destination, data = HEAPU8.slice(ptr, ptr + frames * channels), loud = false;
    for (var i = 0; i < data.length && !loud; i++) loud = data[i] !== 128;
    web.stats.buffers++;
    if (loud) web.stats.loudBuffers++;
    if (ctx.audioWorklet && ctx.sampleRate === rate) web.startPlayer(ctx, out);
    if (web.player && ctx.sampleRate === rate) {
      web.player.port.postMessage([Math.round(when * rate), channels, data], [data.buffer]);
      return;
    }
    var buffer = ctx.createBuffer(channels, frames, rate);
    for (var ch = 0; ch < channels; ch++) {
      var samples = buffer.getChannelData(ch);
      for (i = 0; i < frames; i++) samples[i] = (data[i * channels + ch] - 128) / 128;
    }
    var source = ctx.createBufferSource();
    source.buffer = buffer;
    source.connect(out);
    source.onended = function() {
      var at = web.sources.indexOf(source);
      if (at >= 0) web.sources.splice(at, 1);
    };
    web.sources.push(source);
    source.start(when);
  },

  reedshot_audio_stop__deps: ['$reedshotWeb'],
  reedshot_audio_stop: function() { reedshotWeb.hush(); },

  // The store's files live in memory in /data and are kept in IndexedDB, in
  // the layout of emscripten's IDBFS that earlier builds used (database
  // "/data", one record per file), so earlier visits' stores are found. Only
  // the tab holding the store's lock reads or writes it; a copy is one
  // transaction, started when the game has committed a change and when the
  // page is hidden or left.
  $reedshotStore__deps: ['$FS', '$reedshotWeb'],
  $reedshotStore: {
    dir: '/data',
    lockName: 'reedshot-store',
    owned: false,
    db: null,
    changed: false,  // a change not yet on its way
    inFlight: 0,
    failures: 0,     // in a row
    retry: 0,        // the timer of the next try
    stopped: false,  // given up for this visit
    channel: null,
    known: {},       // paths that may have a record: one whose file is gone is deleted

    // Calls done(db), or done(null) when storage is blocked or refused.
    open: function(done) {
      var store = reedshotStore;
      if (store.db) return done(store.db);
      var request;
      try {
        request = indexedDB.open(store.dir, 21);
      } catch (e) {
        return done(null);
      }
      request.onupgradeneeded = function() {
        var db = request.result;
        if (!db.objectStoreNames.contains('FILE_DATA')) {
          db.createObjectStore('FILE_DATA').createIndex('timestamp', 'timestamp', { unique: false });
        }
      };
      request.onsuccess = function() {
        store.db = request.result;
        // Another page upgrading the database must not wait for this one.
        store.db.onversionchange = function() { store.db.close(); store.db = null; };
        done(store.db);
      };
      request.onerror = function(event) { event.preventDefault(); done(null); };
      request.onblocked = function() { done(null); };
    },

    // Brings the stored files into /data; done(false) when storage cannot be used.
    load: function(done) {
      var store = reedshotStore;
      try { FS.mkdir(store.dir); } catch (e) {}
      if (typeof indexedDB === 'undefined') return store.unusable(done);
      if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(function() {});
      store.open(function(db) {
        if (!db) return store.unusable(done);
        try {
          var objects = db.transaction('FILE_DATA', 'readonly').objectStore('FILE_DATA');
          var keys = objects.getAllKeys(), values = objects.getAll();
          values.onsuccess = function() {
            keys.result.forEach(function(path, i) {
              var entry = values.result[i];
              if (!store.kept(path)) return;
              store.known[path] = true;
              if (entry && entry.contents) FS.writeFile(path, entry.contents);
            });
            done(true);
          };
          values.transaction.onabort = function() { store.unusable(done); };
        } catch (e) {
          store.unusable(done);
        }
      });
    },

    unusable: function(done) {
      reedshotStore.stopped = true;
      done(false);
    },

    // A file of the store's own: a rollback journal only lives inside a transaction.
    kept: function(path) {
      var dir = reedshotStore.dir + '/';
      return typeof path === 'string' && path.indexOf(dir) === 0 && path.indexOf('/', dir.length) < 0 &&
             !/-journal$/.test(path);
    },

    // The game committed a change (platform/web/web_host.cpp asks).
    change: function() {
      var store = reedshotStore;
      store.changed = true;
      if (!store.inFlight && !store.retry) store.copy();
    },

    // The page is hidden or left: what waits goes now, beside a copy under way.
    flush: function() {
      if (Module['_reedshot_store_poll']) Module['_reedshot_store_poll']();
      if (reedshotStore.changed) reedshotStore.copy();
    },

    busy: function() {
      var store = reedshotStore;
      return store.inFlight > 0 || (store.changed && store.owned && !store.stopped);
    },

    copy: function() {
      var store = reedshotStore, stats = reedshotWeb.stats;
      if (!store.owned || store.stopped) return;
      clearTimeout(store.retry);
      store.retry = 0;
      store.changed = false;
      // The files as they are now: the game is between transactions whenever the page runs.
      var files = {};
      FS.readdir(store.dir).forEach(function(name) {
        var path = store.dir + '/' + name, node = FS.stat(path);
        if (FS.isFile(node.mode) && store.kept(path)) {
          files[path] = { timestamp: node.mtime, mode: node.mode, contents: FS.readFile(path) };
        }
      });
      store.inFlight++;
      var settled = false;
      function end(ok) {
        if (settled) return;
        settled = true;
        store.inFlight--;
        if (ok) {
          store.failures = 0;
          stats.copies++;
          if (store.changed && !store.inFlight) store.copy();
        } else {
          stats.copyFailures++;
          store.failed();
        }
      }
      store.open(function(db) {
        if (!db) return end(false);
        try {
          var tx = db.transaction('FILE_DATA', 'readwrite'), objects = tx.objectStore('FILE_DATA');
          tx.oncomplete = function() { end(true); };
          // A refused put aborts the transaction (no preventDefault), and a
          // full quota aborts it at the commit: either way it ends here.
          tx.onabort = function() { end(false); };
          Object.keys(store.known).forEach(function(path) { if (!files[path]) objects.delete(path); });
          Object.keys(files).forEach(function(path) {
            store.known[path] = true;
            objects.put(files[path], path);
          });
          // Committed now, not after a round trip: the page may be closing.
          if (tx.commit) tx.commit();
        } catch (e) {
          store.db = null;
          end(false);
        }
      });
    },

    // Tries again later, each wait twice the last, then gives up; the page
    // says once that progress is not being kept.
    failed: function() {
      var store = reedshotStore;
      store.changed = true;
      if (++store.failures === 1 && Module['onStoreFailing']) Module['onStoreFailing']();
      if (store.failures >= 5) {
        store.stopped = true;
      } else if (!store.retry) {
        store.retry = setTimeout(function() { store.retry = 0; store.copy(); }, 500 << (store.failures - 1));
      }
    },

    // onOwned() once this tab holds the store; before that, when another tab
    // holds it, onWaiting(takeOver): takeOver() asks that tab to save and
    // stop, and onOwned follows once it has. onLeft() when another tab took it.
    claim: function(onOwned, onWaiting, onLeft) {
      var store = reedshotStore;
      if (!navigator.locks) {
        store.owned = true;
        return onOwned();
      }
      if (typeof BroadcastChannel === 'function') {
        store.channel = new BroadcastChannel(store.lockName);
        store.channel.onmessage = function(event) {
          if (event.data === 'take-over' && store.owned) store.leave(onLeft);
        };
      }
      function hold() {
        store.owned = true;
        return new Promise(function(release) {
          store.release = release;
          onOwned();
        });
      }
      navigator.locks.request(store.lockName, { ifAvailable: true }, function(lock) {
        if (lock) return hold();
        onWaiting(function() {
          if (store.channel) store.channel.postMessage('take-over');
          navigator.locks.request(store.lockName, hold);
        });
      });
    },

    // The game saves and ends; the lock goes once the last copy is done. A
    // game that has not started yet never starts in this tab.
    leave: function(onLeft) {
      var store = reedshotStore;
      store.leaving = function() {
        store.owned = false;
        store.release();
        onLeft();
      };
      if (!Module['calledRun']) addRunDependency('left');
      if (!Module['calledRun'] || !Module['_reedshot_close']()) store.leaving();
    },
  },
  $reedshotStore__postset: 'Module["reedshotStore"] = reedshotStore;',

  reedshot_store_change__deps: ['$reedshotStore'],
  reedshot_store_change: function() { reedshotStore.change(); },

  reedshot_store_busy__deps: ['$reedshotStore'],
  reedshot_store_busy: function() { return reedshotStore.busy() ? 1 : 0; },

  reedshot_message_box: function(text, caption) {
    alert(UTF8ToString(caption) + '\n\n' + UTF8ToString(text));
  },

  reedshot_stats__deps: ['$reedshotWeb'],
  reedshot_stats: function(ahead, underruns) {
    var stats = reedshotWeb.stats;
    stats.ahead = ahead;
    stats.underruns = underruns;
  },

  reedshot_page_hidden: function() { return document.hidden ? 1 : 0; },

  reedshot_trace_wanted: function() { return Module['reedshotTrace'] ? 1 : 0; },

  reedshot_start_hunt: function() { return /[?&]hunt\b/.test(location.search) ? 1 : 0; },

  reedshot_set_pointer: function(crosshair) { Module['canvas'].style.cursor = crosshair ? 'crosshair' : ''; },

  reedshot_ended__deps: ['$reedshotStore'],
  reedshot_ended: function() {
    if (reedshotStore.leaving) return reedshotStore.leaving();
    if (Module['onGameEnded']) Module['onGameEnded']();
  },
});
