// Serves the built page on 127.0.0.1 (no other address): the player's server for scripts/web.sh
// and the browser tests' server. Usage: node scripts/web_server.js DIR [PORT]  (PORT 0: any free)
'use strict';

const http = require('http');
const fs = require('fs');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.gz': 'application/octet-stream',  // unpacked by the page itself, never by the browser
  '.png': 'image/png',
};

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
  fs.readFile(file, (error, data) => {
    if (error) {
      response.writeHead(404, { 'Content-Type': 'text/plain; charset=utf-8' }).end('not found\n');
      return;
    }
    response.writeHead(200, {
      'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
      'Content-Length': data.length,
      'Cache-Control': 'no-store',  // a rebuilt page is never mixed with an old one
    });
    response.end(request.method === 'HEAD' ? undefined : data);
  });
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

if (require.main === module) {
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
