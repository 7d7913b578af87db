// The last step of the browser build: takes the linker's program (its script
// minified) from LINKED and minifies the page's own script, then writes the service worker with the hash of the
// page's files, and each file's gzip and brotli forms beside it for servers
// that send them as they are (web/serve.mjs does). Without LINKED it only
// publishes DIR again.
//   node web/publish.mjs DIR [LINKED]
import { copyFileSync, readFileSync, writeFileSync, rmSync } from 'node:fs';
import { createHash } from 'node:crypto';
import { brotliCompressSync, constants } from 'node:zlib';
import zopfli from '@gfx/zopfli';
import { minify } from 'terser';

const kFiles = ['index.html', 'reedshot.js', 'reedshot.wasm', 'manifest.webmanifest', 'favicon.png', 'icon-192.png',
  'icon-512.png'];
const kPacked = /\.(html|js|wasm|webmanifest)$/;

const [dir, linked] = process.argv.slice(2);
if (linked) {
  copyFileSync(`${linked}/reedshot.wasm`, `${dir}/reedshot.wasm`);
  // The program's worker runs the script alone and talks only in messages: its global names are shortened too.
  const script = await minify(readFileSync(`${linked}/reedshot.js`, 'utf8'), { compress: true, mangle: true,
    toplevel: true });
  writeFileSync(`${dir}/reedshot.js`, script.code);
  const page = readFileSync(`${dir}/index.html`, 'utf8').split(/(?<=<script>)|(?=<\/script>)/);
  page[1] = (await minify(page[1], { compress: true, mangle: true })).code;
  writeFileSync(`${dir}/index.html`, page.join(''));
}
const hash = createHash('sha256');
for (const file of kFiles) hash.update(file).update('\0').update(readFileSync(`${dir}/${file}`));
const template = readFileSync(new URL('sw.js', import.meta.url), 'utf8');
writeFileSync(`${dir}/sw.js`, template.replace('@HASH@', hash.digest('hex').slice(0, 16))
  .replace('@FILES@', JSON.stringify(['./', ...kFiles])));

for (const file of [...kFiles, 'sw.js'].filter((f) => kPacked.test(f))) {
  const bytes = readFileSync(`${dir}/${file}`);
  const forms = {
    // Zopfli's deflate: slower to write, but a few percent smaller than zlib's.
    gz: await zopfli.gzipAsync(bytes, { numiterations: 15 }),
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
