// A static file server on 127.0.0.1 for the browser tests: the page's folder
// with the types a browser needs (the .wasm as application/wasm), and, per
// test, replies that stand in for a broken server (a file cut short, one
// missing).
'use strict';
const fs = require('fs');
const http = require('http');
const path = require('path');

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.wasm': 'application/wasm',
};

// serve(dir) -> Promise<{url, close(), replace(name, bytes|null)}>; null
// makes the file missing (404), bytes stand in for its contents.
function serve(dir) {
  const replaced = new Map();
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '') || 'index.html';
    const file = path.join(dir, path.normalize(name));
    let body = null;
    if (replaced.has(name)) body = replaced.get(name);
    else if (file.startsWith(dir) && fs.existsSync(file) && fs.statSync(file).isFile()) body = fs.readFileSync(file);
    if (body === null) {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found');
      return;
    }
    response.writeHead(200, {
      'Content-Type': TYPES[path.extname(name)] || 'application/octet-stream',
      'Content-Length': body.length,
      'Cache-Control': 'no-store',
    });
    response.end(body);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => server.close(done)),
        replace: (name, bytes) => replaced.set(name, bytes),
        restore: (name) => replaced.delete(name),
      });
    });
  });
}

module.exports = { serve };
