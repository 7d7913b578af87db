// The program runs in a dedicated worker the page (web/index.html) starts:
// what it prints, its start and its end go to the page as messages. The
// store's lock is taken and the store read while the code compiles; the game
// starts once both are done.
Module['print'] = function(text) { postMessage({ what: 'print', text: text }); };
Module['printErr'] = function(text) { postMessage({ what: 'print', text: text, warn: true }); };
Module['onAbort'] = function(what) { postMessage({ what: 'abort', text: String(what) }); };
Module['onRuntimeInitialized'] = function() { postMessage({ what: 'running' }); };
// The page compiles the program while this script loads.
Module['instantiateWasm'] = function(imports, receive) {
  var page = reedshotPage;
  page.onCode = function() {
    var made = page.code ? WebAssembly.instantiate(page.code, imports).then(function(instance) {
      return { instance: instance, module: page.code };
    }) : WebAssembly.instantiateStreaming(fetch('reedshot.wasm'), imports);
    made.then(function(result) { receive(result.instance, result.module); }, abort);
  };
  if (page.code !== undefined) page.onCode();
  return {};
};
Module['preInit'] = [function() {
  var store = Module['reedshotStore'], page = reedshotPage;
  addRunDependency('store');
  store.claim(function() {
    page.post({ what: 'owned' });
    store.load(function(ok) {
      if (!ok) page.post({ what: 'noStorage' });
      removeRunDependency('store');
    });
  }, function(takeOver) {
    // Taken over, a reloaded page takes the game back at once.
    if (page.config.takeBack) return takeOver();
    page.takeOver = takeOver;
    page.post({ what: 'elsewhere' });
  }, function() {
    page.post({ what: 'left' });
  });
}];
