// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A small static file server for the built site, on 127.0.0.1 only.
//
//   node web/static_server.mjs DIRECTORY [PORT]   (PORT 0 or missing: any free port)
//
// Prints "http://127.0.0.1:PORT/" once it listens. The tests import
// serveDirectory() instead.
import { createReadStream } from "node:fs";
import { stat } from "node:fs/promises";
import { createServer } from "node:http";
import { extname, join, normalize, resolve, sep } from "node:path";
import { pathToFileURL } from "node:url";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript; charset=utf-8",
  ".mjs": "text/javascript; charset=utf-8",
  ".css": "text/css; charset=utf-8",
  ".wasm": "application/wasm",
  ".jpg": "image/jpeg",
  ".png": "image/png",
  ".json": "application/json",
  ".svg": "image/svg+xml",
  ".webmanifest": "application/manifest+json",
};

// Resolves to { server, url } once the server listens.
export function serveDirectory(directory, port = 0) {
  const root = resolve(directory);
  const server = createServer(async (request, response) => {
    try {
      const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
      let file = normalize(join(root, path));
      if (file !== root && !file.startsWith(root + sep)) throw new Error("outside the site");
      if ((await stat(file)).isDirectory()) file = join(file, "index.html");
      const { size, mtimeMs } = await stat(file);
      // Every use asks again ("no-cache"); a copy the browser has is confirmed
      // by its tag (304) rather than sent again, as the service worker asks.
      const tag = `"${size}-${Math.trunc(mtimeMs)}"`;
      response.setHeader("Cache-Control", "no-cache");
      response.setHeader("ETag", tag);
      if (request.headers["if-none-match"] === tag) return response.writeHead(304).end();
      response.setHeader("Content-Type", TYPES[extname(file)] ?? "application/octet-stream");
      response.setHeader("Content-Length", size);
      if (request.method === "HEAD") response.end();
      else createReadStream(file).on("error", () => response.destroy()).pipe(response);
    } catch {
      response.writeHead(404, { "Content-Type": "text/plain; charset=utf-8" }).end("Nicht gefunden\n");
    }
  });
  return new Promise((done, fail) => {
    server.once("error", fail);
    server.listen(port, "127.0.0.1", () =>
      done({ server, url: `http://127.0.0.1:${server.address().port}/` }));
  });
}

if (import.meta.url === pathToFileURL(process.argv[1]).href) {
  const [directory, port] = process.argv.slice(2);
  if (!directory) {
    console.error("usage: node web/static_server.mjs DIRECTORY [PORT]");
    process.exit(2);
  }
  const { url } = await serveDirectory(directory, Number(port ?? 0));
  console.log(`${url}  (Ende mit Strg+C)`);
}
