// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A small static file server for the built site, on 127.0.0.1 only.
//
//   node web/static_server.mjs DIRECTORY [PORT]   (PORT 0 or missing: any free port)
//
// Prints "http://127.0.0.1:PORT/" once it listens. The tests import
// serveDirectory() instead. Where the build wrote a compressed copy beside a
// file (FILE.br, FILE.gz) and the browser accepts that encoding, the copy is
// sent, Brotli before gzip.
import { createReadStream, realpathSync } from "node:fs";
import { stat } from "node:fs/promises";
import { createServer } from "node:http";
import { extname, join, normalize, resolve, sep } from "node:path";
import { fileURLToPath } from "node:url";

import { COMPRESSED, COMPRESSIBLE } from "./offline/compressed_copies.mjs";

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

// The encodings an Accept-Encoding header allows (those with a q of 0 not).
function acceptedEncodings(header = "") {
  const accepted = new Set();
  for (const part of header.split(",")) {
    const [name, ...parameters] = part.trim().toLowerCase().split(";");
    const q = parameters.map((p) => p.trim().match(/^q=([\d.]+)$/)?.[1]).find((v) => v !== undefined);
    if (name && (q === undefined || Number(q) > 0)) accepted.add(name);
  }
  return accepted;
}

// The file to send for a request of file: { path, size, mtimeMs, encoding }.
async function chooseCopy(file, acceptEncoding) {
  const accepted = acceptedEncodings(acceptEncoding);
  for (const { encoding, suffix } of COMPRESSED) {
    if (!accepted.has(encoding)) continue;
    const copy = await stat(file + suffix).catch(() => null);
    if (copy?.isFile()) return { path: file + suffix, size: copy.size, mtimeMs: copy.mtimeMs, encoding };
  }
  const { size, mtimeMs } = await stat(file);
  return { path: file, size, mtimeMs, encoding: null };
}

// Resolves to { server, url } once the server listens.
export function serveDirectory(directory, port = 0) {
  const root = resolve(directory);
  const server = createServer(async (request, response) => {
    try {
      const path = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
      let file = normalize(join(root, path));
      if (file !== root && !file.startsWith(root + sep)) throw new Error("outside the site");
      if ((await stat(file)).isDirectory()) file = join(file, "index.html");
      const { path: sent, size, mtimeMs, encoding } = await chooseCopy(file, request.headers["accept-encoding"]);
      // Every use asks again ("no-cache"); a copy the browser has is confirmed
      // by its tag (304) rather than sent again, as the service worker asks.
      // Each encoding is a representation of its own, with its own tag.
      const tag = `"${size}-${Math.trunc(mtimeMs)}${encoding ? `-${encoding}` : ""}"`;
      response.setHeader("Cache-Control", "no-cache");
      response.setHeader("ETag", tag);
      if (COMPRESSIBLE.has(extname(file))) response.setHeader("Vary", "Accept-Encoding");
      if (request.headers["if-none-match"] === tag) return response.writeHead(304).end();
      response.setHeader("Content-Type", TYPES[extname(file)] ?? "application/octet-stream");
      if (encoding) response.setHeader("Content-Encoding", encoding);
      response.setHeader("Content-Length", size);
      if (request.method === "HEAD") response.end();
      else createReadStream(sent).on("error", () => response.destroy()).pipe(response);
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

// Started as a program, also through a symbolic link: Node resolves the link
// for this module's URL but leaves argv as it was typed.
function startedAsProgram() {
  try {
    return realpathSync(process.argv[1]) === fileURLToPath(import.meta.url);
  } catch {
    return false;
  }
}

if (startedAsProgram()) {
  const [directory, port] = process.argv.slice(2);
  if (!directory) {
    console.error("usage: node web/static_server.mjs DIRECTORY [PORT]");
    process.exit(2);
  }
  const { url } = await serveDirectory(directory, Number(port ?? 0));
  console.log(`${url}  (Ende mit Strg+C)`);
}
