// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The site's static server: started as a program, also through a symbolic
// link, it listens and serves a folder; it sends the build's compressed
// copies to a browser that accepts them.
//
//   node --test tests/web/static_server.test.mjs
import assert from "node:assert/strict";
import { spawn } from "node:child_process";
import { existsSync, mkdirSync, mkdtempSync, rmSync, symlinkSync, writeFileSync } from "node:fs";
import { get } from "node:http";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";
import { after, test } from "node:test";
import { brotliDecompressSync, gunzipSync } from "node:zlib";

import { writeCompressedCopies } from "../../web/offline/compressed_copies.mjs";
import { serveDirectory } from "../../web/static_server.mjs";

const server = fileURLToPath(new URL("../../web/static_server.mjs", import.meta.url));
const work = mkdtempSync(join(tmpdir(), "varek-server-"));
after(() => rmSync(work, { recursive: true, force: true }));

// Starts the server program and resolves to its address once it says it listens.
function startProgram(program, directory) {
  const child = spawn(process.execPath, [program, directory, "0"], { stdio: ["ignore", "pipe", "inherit"] });
  after(() => child.kill());
  return new Promise((done, fail) => {
    let said = "";
    child.stdout.on("data", (chunk) => {
      said += chunk;
      const address = said.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (address) done(address[0]);
    });
    child.on("exit", (code) => fail(new Error(`the server ended (${code}) before it listened`)));
    setTimeout(() => fail(new Error("the server did not listen within 10 s")), 10000).unref();
  });
}

test("the program listens when started through a symbolic link", async () => {
  const link = join(work, "server-link.mjs");
  writeFileSync(join(work, "index.html"), "<!doctype html><title>x</title>");
  symlinkSync(server, link);
  const url = await startProgram(link, work);
  const response = await fetch(url);
  assert.equal(response.status, 200);
  assert.equal(await response.text(), "<!doctype html><title>x</title>");
});

// The raw response: headers and the bytes as sent, not decoded.
function getRaw(url, headers) {
  return new Promise((done, fail) => {
    get(url, { headers }, (response) => {
      const chunks = [];
      response.on("data", (chunk) => chunks.push(chunk));
      response.on("end", () => done({ headers: response.headers, body: Buffer.concat(chunks) }));
    }).on("error", fail);
  });
}

test("compressed copies are sent by Accept-Encoding, with Vary, and decode to the file", async () => {
  const site = join(work, "compressed");
  mkdirSync(site);
  const script = Buffer.from("const x = 1;\n".repeat(500));
  const picture = Buffer.from("\xff\xd8".repeat(500), "latin1");
  writeFileSync(join(site, "page.js"), script);
  writeFileSync(join(site, "tiny.css"), "a{}");
  writeFileSync(join(site, "scene.jpg"), picture);
  writeFileSync(join(site, "gone.js.br"), "left from an earlier build");
  writeCompressedCopies(site);
  assert.ok(!existsSync(join(site, "gone.js.br")), "a copy without its file is removed");
  assert.ok(!existsSync(join(site, "scene.jpg.gz")) && !existsSync(join(site, "tiny.css.br")),
            "pictures and files that do not shrink get no copy");

  const { server, url } = await serveDirectory(site);
  after(() => server.close());
  const decode = { br: brotliDecompressSync, gzip: gunzipSync, undefined: (bytes) => bytes };
  const cases = [
    ["page.js", "gzip, deflate, br", "br", script],
    ["page.js", "gzip", "gzip", script],
    ["page.js", "br;q=0, gzip;q=0.5", "gzip", script],
    ["page.js", "identity", undefined, script],
    ["page.js", undefined, undefined, script],
    ["tiny.css", "br", undefined, Buffer.from("a{}")],
    ["scene.jpg", "br, gzip", undefined, picture],
  ];
  const tags = new Set();
  for (const [file, accept, encoding, content] of cases) {
    const { headers, body } = await getRaw(url + file, accept ? { "accept-encoding": accept } : {});
    const what = `${file} with ${accept}`;
    assert.equal(headers["content-encoding"], encoding, what);
    assert.equal(headers.vary, file.endsWith(".jpg") ? undefined : "Accept-Encoding", what);
    assert.equal(Number(headers["content-length"]), body.length, what);
    assert.deepEqual(decode[encoding](body), content, what);
    if (file === "page.js") tags.add(headers.etag);
  }
  assert.equal(tags.size, 3, "each encoding of a file has its own tag");
});
