// A static file server on 127.0.0.1 for the browser tests: the page's folder
// with the types a browser needs (the .wasm as application/wasm), files
// streamed from the disk (the frame comparison's run to a gigabyte), and, per
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
  '.json': 'application/json',
};

// serve(dir) -> Promise<{url, close(), replace(name, bytes|null)}>; null
// makes the file missing (404), bytes stand in for its contents.
function serve(dir) {
  const replaced = new Map();
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, 'http://x').pathname).replace(/^\/+/, '') || 'index.html';
    const file = path.join(dir, path.normalize(name));
    const type = TYPES[path.extname(name)] || 'application/octet-stream';
    const head = (length) => response.writeHead(200, {
      'Content-Type': type, 'Content-Length': length, 'Cache-Control': 'no-store' });
    const body = replaced.has(name) ? replaced.get(name) : null;
    if (body !== null) {
      head(body.length);
      response.end(body);
    } else if (!replaced.has(name) && file.startsWith(dir) && fs.existsSync(file) && fs.statSync(file).isFile()) {
      head(fs.statSync(file).size);
      fs.createReadStream(file).pipe(response);
    } else {
      response.writeHead(404, { 'Content-Type': 'text/plain' });
      response.end('not found');
    }
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
