// The worker's side of the browser platform: frames, sound and the page's
// state go to and come from the page (web/index.html) as messages
// (platform/web/web_worker.js keeps what the page said), and the store is
// kept in the browser's storage from here.
mergeInto(LibraryManager.library, {
  // What the page said, and what it says from now on. The page's events come
  // while the game is asleep in a wait, and go to it at once.
  $reedshotPage__deps: ['$reedshotStore', '$reedshotWeb'],
  $reedshotPage: {
    config: {},  // the worker's name, as the page starts it
    clock: { running: false, time: 0, at: 0, rate: 0 },
    hidden: false,
    muted: false,
    player: null,        // the port to the page's audio worklet
    playedThere: false,  // the page has played buffers itself
    messageOpen: false,
    takeOver: null,      // asks the tab holding the store to leave it
    code: undefined,     // the compiled program from the page (null: fetch it here)
    onCode: null,
    post: function(message, transfer) { postMessage(message, transfer || []); },
    receive: function(event) {
      var page = reedshotPage, m = event.data;
      switch (m.what) {
        case 'pointer':
          if (Module['calledRun']) Module[m.touch ? '_reedshot_touch' : '_reedshot_mouse'].apply(null, m.args);
          break;
        case 'key':
          if (!Module['calledRun']) break;
          var code = Module['_reedshot_key_text'](0), name = Module['_reedshot_key_text'](1);
          stringToUTF8(m.code, code, 32);
          stringToUTF8(m.key, name, 32);
          Module['_reedshot_key'](m.down, code, name, m.repeat, m.ctrl, m.alt);
          break;
        case 'focusLost':
          if (Module['calledRun']) Module['_reedshot_focus_lost']();
          break;
        case 'visible':
          page.hidden = m.hidden;
          // Hidden or left: a commit not yet seen is handed over now, and
          // what was played until now is counted.
          if (m.hidden && Module['calledRun']) reedshotStore.flush();
          reedshotWeb.report();
          break;
        case 'clock': page.clock = m.clock; break;
        case 'muted':
          page.muted = m.muted;
          reedshotWeb.report();
          break;
        case 'player': page.player = event.ports[0]; break;
        case 'alerted': page.messageOpen = false; break;
        case 'takeOver': if (page.takeOver) page.takeOver(); break;
        case 'code':
          page.code = m.module;
          if (page.onCode) page.onCode();
          break;
        case 'playAgain': if (Module['calledRun']) Module['_reedshot_play_again'](); break;
      }
    },
  },
  $reedshotPage__postset: 'reedshotPage.config = JSON.parse(self.name || "{}"); ' +
    'reedshotPage.muted = !!reedshotPage.config.muted; self.onmessage = reedshotPage.receive;',

  $reedshotWeb__deps: ['$reedshotPage'],
  $reedshotWeb: {
    stats: { buffers: 0, loudBuffers: 0, ahead: 0, underruns: 0, copies: 0, copyFailures: 0 },
    sent: '',    // the stats as the page last heard them
    pointer: 0,  // the pointer's shape the page shows
    // Only changes go to the page. The mute they were counted under goes
    // with them: once the page sees it, nothing played before it is unsaid.
    report: function() {
      var web = reedshotWeb;
      web.stats.muted = reedshotPage.muted;
      var now = JSON.stringify(web.stats);
      if (now === web.sent) return;
      web.sent = now;
      reedshotPage.post({ what: 'stats', stats: web.stats });
    },
  },

  reedshot_now_ms: function() { return performance.now(); },

  // Milliseconds of the wall clock: each visit starts somewhere else.
  reedshot_start_tick: function() { return Date.now() >>> 0; },

  // The changed parts of the frame, in one buffer handed over to the page,
  // which puts them on its canvas.
  reedshot_present__deps: ['$reedshotPage'],
  reedshot_present: function(ptr, width, parts, count, lit) {
    var rects = [], bytes = 0, i, row;
    for (i = 0; i < count; i++) {
      var at = (parts >> 2) + i * 4, rect = HEAP32.subarray(at, at + 4);
      rects.push([rect[0], rect[1], rect[2], rect[3]]);
      bytes += rect[2] * rect[3] * 4;
    }
    var pixels = new Uint8Array(bytes), to = 0;
    rects.forEach(function(r) {
      for (row = 0; row < r[3]; row++, to += r[2] * 4) {
        var from = ptr + ((r[1] + row) * width + r[0]) * 4;
        pixels.set(HEAPU8.subarray(from, from + r[2] * 4), to);
      }
    });
    reedshotPage.post({ what: 'frame', rects: rects, pixels: pixels.buffer, lit: lit }, [pixels.buffer]);
  },

  // The audio context's clock, from the page's last reading of it; until
  // sound is allowed the schedule runs on the wall clock.
  reedshot_audio_now__deps: ['$reedshotPage'],
  reedshot_audio_now: function() {
    var clock = reedshotPage.clock;
    var now = performance.timeOrigin + performance.now();
    return clock.running ? clock.time + (now - clock.at) / 1000 : now / 1000;
  },

  reedshot_audio_running__deps: ['$reedshotPage'],
  reedshot_audio_running: function() { return reedshotPage.clock.running ? 1 : 0; },

  // Straight to the page's audio worklet once it runs there; before that, or
  // where the browser has no worklets or plays at another rate, the page
  // plays the buffer itself.
  reedshot_audio_play__deps: ['$reedshotWeb', '$reedshotPage'],
  reedshot_audio_play: function(ptr, bytes, channels, rate, when) {
    var page = reedshotPage, web = reedshotWeb;
    var frames = (bytes / channels) | 0;
    // Muted, the schedule runs on without building anything to play.
    if (!frames || page.muted) return;
    var data = HEAPU8.slice(ptr, ptr + frames * channels), loud = false;
    for (var i = 0; i < data.length && !loud; i++) loud = data[i] !== 128;
    web.stats.buffers++;
    if (loud) web.stats.loudBuffers++;
    if (page.player && page.clock.rate === rate) {
      page.player.postMessage([Math.round(when * rate), channels, data], [data.buffer]);
      return;
    }
    page.playedThere = true;
    page.post({ what: 'sound', when: when, channels: channels, rate: rate, data: data }, [data.buffer]);
  },

  reedshot_audio_stop__deps: ['$reedshotPage'],
  reedshot_audio_stop: function() {
    var page = reedshotPage;
    if (page.player) page.player.postMessage(0);
    if (page.playedThere) page.post({ what: 'hush' });
  },

  // The store's files live in memory in /data and are kept in IndexedDB, in
  // the layout of emscripten's IDBFS that earlier builds used (database
  // "/data", one record per file), so earlier visits' stores are found. Only
  // the tab holding the store's lock reads or writes it; a copy is one
  // transaction, started when the game has committed a change and when the
  // page is hidden or left.
  $reedshotStore__deps: ['$FS', '$reedshotWeb', '$reedshotPage'],
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
      // A page without storage (turned off) keeps none here either.
      if (typeof indexedDB === 'undefined' || !reedshotPage.config.storage) return store.unusable(done);
      if (navigator.storage && navigator.storage.persist) navigator.storage.persist().catch(function() {});
      store.open(function(db) {
        if (!db) return store.unusable(done);
        try {
          var objects = db.transaction('FILE_DATA', 'readonly').objectStore('FILE_DATA');
          var keys = objects.getAllKeys(), values = objects.getAll();
          values.onsuccess = function() {
            var files = [];
            keys.result.forEach(function(path, i) {
              var entry = values.result[i];
              if (!store.kept(path)) return;
              store.known[path] = true;
              if (entry && entry.contents) files.push([path, entry.contents]);
            });
            // Written once the program's memory is there (the file system
            // looks at it), which may be after this: the code compiles meanwhile.
            addOnPreRun(function() { files.forEach(function(file) { FS.writeFile(file[0], file[1]); }); });
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

    // The game committed a change (platform/web/web_host.cpp asks). It goes
    // at once, beside a copy under way (the browser keeps their order): the
    // page may close any moment, and the worker with it.
    change: function() {
      var store = reedshotStore;
      store.changed = true;
      if (!store.retry) store.copy();
    },

    // The page is hidden or left: what waits goes now.
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
      if (++store.failures === 1) reedshotPage.post({ what: 'storeFailing' });
      if (store.failures >= 5) {
        store.stopped = true;
      } else if (!store.retry) {
        store.retry = setTimeout(function() { store.retry = 0; store.copy(); }, 500 << (store.failures - 1));
      }
    },

    // onOwned() once this tab holds the store; before that, when another tab
    // holds it, onWaiting(takeOver): takeOver() asks that tab to save and
    // stop, and onOwned follows once it has (or has closed). onLeft() when
    // another tab took it.
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
        // In line for it meanwhile: a tab closing (or reloading) lets it go
        // only once its worker has stopped, a moment later.
        navigator.locks.request(store.lockName, hold);
        onWaiting(function() {
          if (store.channel) store.channel.postMessage('take-over');
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

  reedshot_message_box__deps: ['$reedshotPage'],
  reedshot_message_box: function(text, caption) {
    reedshotPage.messageOpen = true;
    reedshotPage.post({ what: 'alert', text: UTF8ToString(caption) + '\n\n' + UTF8ToString(text) });
  },

  reedshot_message_open__deps: ['$reedshotPage'],
  reedshot_message_open: function() { return reedshotPage.messageOpen ? 1 : 0; },

  reedshot_stats__deps: ['$reedshotWeb'],
  reedshot_stats: function(ahead, underruns) {
    var web = reedshotWeb;
    web.stats.ahead = ahead;
    web.stats.underruns = underruns;
    web.report();
  },

  reedshot_page_hidden__deps: ['$reedshotPage'],
  reedshot_page_hidden: function() { return reedshotPage.hidden ? 1 : 0; },

  reedshot_trace_wanted__deps: ['$reedshotPage'],
  reedshot_trace_wanted: function() { return reedshotPage.config.trace ? 1 : 0; },

  reedshot_start_hunt__deps: ['$reedshotPage'],
  reedshot_start_hunt: function() { return reedshotPage.config.hunt ? 1 : 0; },

  reedshot_set_pointer__deps: ['$reedshotWeb', '$reedshotPage'],
  reedshot_set_pointer: function(crosshair) {
    if (crosshair === reedshotWeb.pointer) return;
    reedshotWeb.pointer = crosshair;
    reedshotPage.post({ what: 'pointer', crosshair: crosshair });
  },

  reedshot_ended__deps: ['$reedshotStore', '$reedshotPage'],
  reedshot_ended: function() {
    if (reedshotStore.leaving) return reedshotStore.leaving();
    reedshotPage.post({ what: 'ended' });
  },
});
