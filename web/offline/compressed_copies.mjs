// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Brotli and gzip copies of the site's text and WebAssembly files, written
// beside them (index.html.br, index.html.gz), for servers that send a
// stored compressed copy to a browser that accepts it (web/static_server.mjs;
// nginx gzip_static/brotli_static; Apache with rewrite rules, see the README).
// Pictures are compressed already and get none.
import { readdirSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { extname, join } from "node:path";
import { brotliCompressSync, constants, gzipSync } from "node:zlib";

export const COMPRESSED = [
  { encoding: "br", suffix: ".br",
    compress: (bytes) => brotliCompressSync(bytes, {
      params: { [constants.BROTLI_PARAM_QUALITY]: constants.BROTLI_MAX_QUALITY,
                [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length } }) },
  { encoding: "gzip", suffix: ".gz", compress: (bytes) => gzipSync(bytes, { level: 9 }) },
];

export const COMPRESSIBLE = new Set([".html", ".js", ".mjs", ".css", ".json", ".svg", ".webmanifest", ".wasm"]);

export const isCompressedCopy = (file) => COMPRESSED.some(({ suffix }) => file.endsWith(suffix));

// Writes the copies for every compressible file under dir (a copy only where
// it is smaller) and removes copies whose file is gone or no longer gains.
export function writeCompressedCopies(dir) {
  const walk = (folder) => {
    for (const entry of readdirSync(folder, { withFileTypes: true })) {
      const path = join(folder, entry.name);
      if (entry.isDirectory()) walk(path);
      else if (isCompressedCopy(path)) {
        const original = path.slice(0, path.lastIndexOf("."));
        if (!COMPRESSIBLE.has(extname(original)) || !statSync(original, { throwIfNoEntry: false })) rmSync(path);
      } else if (COMPRESSIBLE.has(extname(path))) {
        const bytes = readFileSync(path);
        for (const { suffix, compress } of COMPRESSED) {
          const packed = compress(bytes);
          if (packed.length < bytes.length) writeFileSync(path + suffix, packed);
          else rmSync(path + suffix, { force: true });
        }
      }
    }
  };
  walk(dir);
}
