// Serves the built page on 127.0.0.1 (no other address): the player's server for scripts/web.sh
// and the browser tests' server. Usage: node scripts/web_server.js DIR [PORT]  (PORT 0: any free)
//
// As a real server would: text and the program compressed with Brotli or gzip where the browser
// takes them, and every answer checked again on each use (an ETag and "no-cache"), so that a
// rebuilt page is never mixed with an old one while an unchanged file costs no second download.
// The build compresses the page's files once, as well as Brotli can (FILE.br and FILE.gz beside
// FILE: node scripts/web_server.js --compress FILE...); a file without them is compressed on
// the fly, more quickly and less well, and kept while it is unchanged.
'use strict';

const http = require('http');
const fs = require('fs');
const path = require('path');
const zlib = require('zlib');
const crypto = require('crypto');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.webmanifest': 'application/manifest+json',
  '.bin': 'application/octet-stream',
  '.png': 'image/png',
};
const COMPRESSED_TYPES = new Set(['.html', '.js', '.css', '.wasm', '.webmanifest', '.bin']);

const SUFFIXES = { br: '.br', gzip: '.gz' };
const brotli = (quality) => (data) => zlib.brotliCompressSync(data, {
  params: { [zlib.constants.BROTLI_PARAM_QUALITY]: quality, [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length },
});
const ON_THE_FLY = { br: brotli(5), gzip: (data) => zlib.gzipSync(data, { level: 9 }) };
const AT_BUILD = { br: brotli(11), gzip: (data) => zlib.gzipSync(data, { level: 9 }) };

// The encoding the browser takes that compresses best: Brotli, then gzip, else none.
function chooseEncoding(request, file) {
  if (!COMPRESSED_TYPES.has(path.extname(file))) return 'identity';
  const accepted = String(request.headers['accept-encoding'] || '')
    .split(',').map((part) => part.trim().split(';')).filter(([, q]) => !q || !/^q=0(\.0*)?$/.test(q.trim()))
    .map(([name]) => name.toLowerCase());
  return ['br', 'gzip'].find((name) => accepted.includes(name)) || 'identity';
}

// The build's compressed copy of `file`, if it is there and not older than the file.
function compressedAtBuild(file, encoding, stat) {
  try {
    const copy = file + SUFFIXES[encoding];
    return fs.statSync(copy).mtimeMs >= stat.mtimeMs ? fs.readFileSync(copy) : null;
  } catch (e) {
    return null;
  }
}

// The bytes of `file` in `encoding` and their ETag, kept while the file's size and time stay.
const kept = new Map();
function encodedFile(file, encoding, stat) {
  const key = `${file}\n${encoding}`;
  const stamp = `${stat.size}:${stat.mtimeMs}`;
  const entry = kept.get(key);
  if (entry && entry.stamp === stamp) return entry;
  const raw = fs.readFileSync(file);
  const data = encoding === 'identity' ? raw : compressedAtBuild(file, encoding, stat) || ON_THE_FLY[encoding](raw);
  const digest = crypto.createHash('sha256').update(raw).digest('base64url').slice(0, 22);
  const fresh = { stamp, data, etag: `"${digest}-${encoding}"` };
  kept.set(key, fresh);
  return fresh;
}

function serveFile(root, request, response) {
  if (request.method !== 'GET' && request.method !== 'HEAD') {
    response.writeHead(405, { Allow: 'GET, HEAD' }).end();
    return;
  }
  let name;
  try {
    name = decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname);
  } catch (e) {
    response.writeHead(400).end();
    return;
  }
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(root, path.normalize(name));
  if (!file.startsWith(root + path.sep)) {
    response.writeHead(403).end();
    return;
  }
  let entry;
  let encoding;
  try {
    const stat = fs.statSync(file);
    if (!stat.isFile()) throw new Error('not a file');
    encoding = chooseEncoding(request, file);
    entry = encodedFile(file, encoding, stat);
  } catch (e) {
    response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('not found\n');
    return;
  }
  const headers = {
    'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
    'Cache-Control': 'no-cache',
    ETag: entry.etag,
    Vary: 'Accept-Encoding',
  };
  const unchanged = String(request.headers['if-none-match'] || '').split(',').map((t) => t.trim()).includes(entry.etag);
  if (!unchanged) {
    if (encoding !== 'identity') headers['Content-Encoding'] = encoding;
    headers['Content-Length'] = entry.data.length;
  }
  // Set one by one, so that whoever listens to the server can read them.
  for (const [field, value] of Object.entries(headers)) response.setHeader(field, value);
  response.writeHead(unchanged ? 304 : 200);
  response.end(unchanged || request.method === 'HEAD' ? undefined : entry.data);
}

// Resolves with the server and the page's address once it listens.
function startServer(dir, port = 0) {
  const root = path.resolve(dir);
  const server = http.createServer((request, response) => serveFile(root, request, response));
  return new Promise((resolve, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      resolve({ server, url: `http://127.0.0.1:${server.address().port}/` });
    });
  });
}

module.exports = { startServer };

// Writes FILE.br and FILE.gz beside each of `files`.
function compressFiles(files) {
  for (const file of files) {
    const raw = fs.readFileSync(file);
    for (const encoding of Object.keys(AT_BUILD)) fs.writeFileSync(file + SUFFIXES[encoding], AT_BUILD[encoding](raw));
  }
}

if (require.main === module && process.argv[2] === '--compress') {
  compressFiles(process.argv.slice(3));
} else if (require.main === module) {
  const [dir, port] = process.argv.slice(2);
  if (!dir) {
    console.error('usage: node scripts/web_server.js DIR [PORT]');
    process.exit(2);
  }
  startServer(dir, Number(port || 8080)).then(
    ({ url }) => console.log(`KESTRAN is served at ${url} (Ctrl+C stops the server)`),
    (error) => {
      console.error(`web_server: ${error.message}`);
      process.exit(1);
    });
}
