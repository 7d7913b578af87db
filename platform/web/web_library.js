// The page's side of the browser platform: painting the canvas, Web Audio,
// copying the store to the browser's storage and the page's messages. The
// page (web/index.html) sets up Module.canvas, the store's folder and input.
mergeInto(LibraryManager.library, {
  $reedshotWeb: {
    stats: { frames: 0, firstFrameMs: 0, buffers: 0, loudBuffers: 0, ahead: 0, underruns: 0, copies: 0,
             copyFailures: 0 },
    sources: [],
    hush: function() {
      reedshotWeb.sources.forEach(function(source) { try { source.stop(); } catch (e) {} });
      reedshotWeb.sources = [];
    },
  },
  // The page hushes what is already scheduled when it is hidden.
  $reedshotWeb__postset: 'Module["reedshotStats"] = reedshotWeb.stats; Module["reedshotHush"] = reedshotWeb.hush;',

  reedshot_now_ms: function() { return performance.now(); },

  // Milliseconds of the wall clock: each visit starts somewhere else.
  reedshot_start_tick: function() { return Date.now() >>> 0; },

  reedshot_present__deps: ['$reedshotWeb'],
  reedshot_present: function(ptr, width, height, lit) {
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, ptr, width * height * 4);
    Module['canvas'].getContext('2d').putImageData(new ImageData(pixels, width, height), 0, 0);
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
    var ctx = Module['reedshotAudio'];
    var frames = (bytes / channels) | 0;
    // Muted, the schedule runs on without building anything to play.
    if (!ctx || !frames || Module['reedshotMuted']) return;
    var buffer = ctx.createBuffer(channels, frames, rate), loud = false;
    for (var ch = 0; ch < channels; ch++) {
      var out = buffer.getChannelData(ch);
      for (var i = 0; i < frames; i++) {
        var v = HEAPU8[ptr + i * channels + ch];
        if (v !== 128) loud = true;
        out[i] = (v - 128) / 128;
      }
    }
    var source = ctx.createBufferSource();
    source.buffer = buffer;
    source.connect(Module['reedshotOut'] || ctx.destination);
    source.onended = function() {
      var at = reedshotWeb.sources.indexOf(source);
      if (at >= 0) reedshotWeb.sources.splice(at, 1);
    };
    reedshotWeb.sources.push(source);
    source.start(when);
    reedshotWeb.stats.buffers++;
    if (loud) reedshotWeb.stats.loudBuffers++;
  },

  reedshot_audio_stop__deps: ['$reedshotWeb'],
  reedshot_audio_stop: function() { reedshotWeb.hush(); },

  reedshot_store_copy__deps: ['$FS'],
  reedshot_store_copy: function() {
    FS.syncfs(false, function(error) { Module['_reedshot_store_copied'](error ? 0 : 1); });
  },

  reedshot_message_box: function(text, caption) {
    alert(UTF8ToString(caption) + '\n\n' + UTF8ToString(text));
  },

  reedshot_stats__deps: ['$reedshotWeb'],
  reedshot_stats: function(ahead, underruns, copies, copyFailures) {
    var stats = reedshotWeb.stats;
    stats.ahead = ahead;
    stats.underruns = underruns;
    stats.copies = copies;
    stats.copyFailures = copyFailures;
  },

  reedshot_page_hidden: function() { return document.hidden ? 1 : 0; },

  reedshot_trace_wanted: function() { return Module['reedshotTrace'] ? 1 : 0; },

  reedshot_start_hunt: function() { return /[?&]hunt\b/.test(location.search) ? 1 : 0; },

  reedshot_set_pointer: function(crosshair) { Module['canvas'].style.cursor = crosshair ? 'crosshair' : ''; },

  reedshot_ended: function() {
    if (Module['onGameEnded']) Module['onGameEnded']();
  },
});
