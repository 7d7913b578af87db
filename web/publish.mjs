// The last step of the browser build: writes the service worker with the
// hash of the page's files, and each file's gzip and brotli forms beside it
// for servers that send them as they are (web/serve.mjs does).
//   node web/publish.mjs DIR
import { readFileSync, writeFileSync, rmSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { brotliCompressSync, constants, gzipSync } from 'node:zlib';

const kFiles = ['index.html', 'reedshot.js', 'reedshot.wasm', 'manifest.webmanifest', 'favicon.png', 'icon-192.png',
  'icon-512.png'];
const kPacked = /\.(html|js|wasm|webmanifest)$/;

const dir = process.argv[2];
const hash = createHash('sha256');
for (const file of kFiles) hash.update(file).update('\0').update(readFileSync(`${dir}/${file}`));
const template = readFileSync(new URL('sw.js', import.meta.url), 'utf8');
writeFileSync(`${dir}/sw.js`, template.replace('@HASH@', hash.digest('hex').slice(0, 16))
  .replace('@FILES@', JSON.stringify(['./', ...kFiles])));

for (const file of [...kFiles, 'sw.js'].filter((f) => kPacked.test(f))) {
  const bytes = readFileSync(`${dir}/${file}`);
  const forms = {
    gz: gzipSync(bytes, { level: 9 }),
    br: brotliCompressSync(bytes, {
      params: { [constants.BROTLI_PARAM_QUALITY]: 11, [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length },
    }),
  };
  for (const [suffix, packed] of Object.entries(forms)) {
    // A packed form no smaller than the file would only cost the server a choice.
    if (packed.length < bytes.length) writeFileSync(`${dir}/${file}.${suffix}`, packed);
    else rmSync(`${dir}/${file}.${suffix}`, { force: true });
  }
}
