// A plain static file server for the browser build, on 127.0.0.1 only: no
// special headers, as any file host would serve the page. A file's packed
// form beside it (FILE.br, FILE.gz) is sent instead when the browser takes it.
//   node web/serve.mjs [DIR] [PORT]     (PORT 0: any free port)
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize, resolve } from 'node:path';

const kTypes = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};
const kEncodings = [['br', '.br'], ['gzip', '.gz']];

// The encodings an Accept-Encoding header allows (q=0 refuses one).
export function accepted(header = '') {
  const allowed = new Set();
  for (const part of header.split(',')) {
    const [name, ...params] = part.trim().toLowerCase().split(';');
    const q = params.map((p) => p.trim()).find((p) => p.startsWith('q='));
    if (name && !(q && Number(q.slice(2)) === 0)) allowed.add(name);
  }
  return allowed;
}

async function firstReadable(file, encodings) {
  for (const [encoding, suffix] of kEncodings) {
    if (!encodings.has(encoding) && !encodings.has('*')) continue;
    try {
      return { body: await readFile(file + suffix), encoding };
    } catch {
      // no packed form of this kind: try the next
    }
  }
  return { body: await readFile(file) };
}

export function serve(dir, port = 0) {
  const root = resolve(dir);
  const server = createServer(async (request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const { body, encoding } = await firstReadable(file, accepted(request.headers['accept-encoding']));
      const headers = { 'Content-Type': kTypes[extname(file)] ?? 'application/octet-stream', Vary: 'Accept-Encoding' };
      if (encoding) headers['Content-Encoding'] = encoding;
      response.writeHead(200, headers);
      response.end(body);
    } catch {
      response.writeHead(404, { 'Content-Type': 'text/plain' }).end('not found\n');
    }
  });
  return new Promise((done, fail) => {
    server.once('error', fail);
    server.listen(port, '127.0.0.1', () => done(server));
  });
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const server = await serve(process.argv[2] ?? 'build/web', Number(process.argv[3] ?? 8080));
  console.log(`Reedshot is served at http://127.0.0.1:${server.address().port}/ (Ctrl+C stops)`);
}
