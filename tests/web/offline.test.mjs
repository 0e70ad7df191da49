// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The browser edition without a network, in headless chromium: the
// single-file edition from file:// (alone in a folder, as on a USB stick),
// the site reloaded offline from its service worker, the site opened from
// a file, the site's scripts as one file, and the service worker's cache name.
//
//   node --test tests/web/offline.test.mjs
//   VAREK_SITE     the built site (default build/web/site)
//   VAREK_OFFLINE  the single-file edition (default build/web/offline/varek-em.html)
//   VAREK_RENDER   the varek-render program (default: the first build/*/tools/render/varek-render)
//   CHROMIUM       the browser (default /usr/bin/chromium)
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { appendFileSync, copyFileSync, cpSync, existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync }
  from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { fileURLToPath, pathToFileURL } from "node:url";
import { after, afterEach, before, test } from "node:test";
import puppeteer from "puppeteer-core";

import { serveDirectory } from "../../web/static_server.mjs";
import { findRenderer, pictureCheck } from "./pictures.mjs";
import { whenReady } from "./session.mjs";

const root = resolve(fileURLToPath(new URL(".", import.meta.url)), "../..");
const site = process.env.VAREK_SITE ?? join(root, "build/web/site");
const singleFile = process.env.VAREK_OFFLINE ?? join(root, "build/web/offline/varek-em.html");
const renderer = findRenderer(root);
const work = mkdtempSync(join(tmpdir(), "varek-offline-"));
const checkPictures = pictureCheck(renderer, work);

const link = "?voltage=800&current=1500&deflection=on&mode=ac&coil=on";
const linkFlags = { voltage: 800, current: 1500, deflection: "on", mode: "ac", coil: "on" };

let browser, page;
const pageErrors = [];

before(async () => {
  assert.ok(existsSync(singleFile), `no ${singleFile}: build the web preset first`);
  assert.ok(renderer && existsSync(renderer), "varek-render not found: set VAREK_RENDER");
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
    defaultViewport: { width: 1280, height: 1024 },
  });
});

afterEach(async () => {
  await page?.close();
  page = null;
  assert.deepEqual(pageErrors.splice(0), [], "errors on the page");
});

after(async () => {
  await browser?.close();
  rmSync(work, { recursive: true, force: true });
});

async function newPage() {
  page = await browser.newPage();
  page.on("pageerror", (error) => pageErrors.push(error.message));
  page.on("console", (message) => { if (message.type() === "error") pageErrors.push(message.text()); });
}

// Records one row of the protocol with the settings in force and waits for it.
async function recordRow(rows) {
  if (await page.$eval("#Protocol", (e) => e.hidden)) await page.click("#ProtocolButton");
  await page.click("#ProtocolRecord");
  await page.waitForFunction((n) => document.querySelectorAll("#ProtocolTable tbody tr").length === n, {}, rows);
}

test("the single file, alone in a folder, runs from file:// with varek-render's pictures and its protocol",
     async () => {
  const stick = join(work, "stick");
  mkdirSync(stick);
  copyFileSync(singleFile, join(stick, "varek-em.html"));
  await newPage();
  const fetched = [];
  page.on("request", (request) => fetched.push(request.url()));
  const url = pathToFileURL(join(stick, "varek-em.html")).href;
  await page.goto(url + link);
  await whenReady(page);
  await checkPictures(page, linkFlags, { signal: true });

  await page.click("#Button6");  // Daten
  assert.match(await page.$eval("#Image2Text", (e) => e.checkVisibility() && e.textContent), /Windungszahl/,
               "the data page");
  await page.click("#Button7");

  // The protocol's module runs too, and its table stays in local storage.
  await page.evaluate(() => localStorage.clear());
  await recordRow(1);
  await page.reload();
  await whenReady(page);
  await recordRow(2);
  assert.deepEqual(await page.$$eval("#ProtocolTable tbody tr", (rows) => rows.map((r) => r.cells[1].textContent)),
                   ["800", "800"]);
  await page.evaluate(() => localStorage.clear());
  assert.deepEqual(fetched.filter((u) => !u.startsWith(url) && !/^(data|blob):/.test(u)), [],
                   "the single file loads nothing else");
});

test("the site, once loaded over http, reloads offline with the server gone and draws the same", async () => {
  const { server, url: base } = await serveDirectory(site);
  try {
    await newPage();
    await page.goto(base + "?deflection=on");
    await whenReady(page);
    await page.evaluate(() => navigator.serviceWorker.ready.then(() => undefined));
    const cdp = await page.createCDPSession();
    assert.deepEqual((await cdp.send("Page.getInstallabilityErrors")).installabilityErrors, [],
                     "the page can be installed");
  } finally {
    server.closeAllConnections();
    server.close();
  }
  await page.setOfflineMode(true);
  await page.reload();
  await whenReady(page);
  await checkPictures(page, { deflection: "on" }, { signal: true });
  await page.goto(base + link);
  await whenReady(page);
  await checkPictures(page, linkFlags, { signal: true });
  // The protocol's module is loaded only when it is opened: from the cache too.
  await page.evaluate(() => localStorage.clear());
  await recordRow(1);
  await page.evaluate(() => localStorage.clear());
});

test("the site opened from a file says in German what to do instead", async () => {
  await newPage();
  await page.goto(pathToFileURL(join(site, "index.html")).href + link);
  await page.waitForSelector("#FileNotice", { visible: true });
  assert.ok(await page.$eval("#Form1", (e) => e.hidden));
  const notice = await page.$eval("#FileNotice", (e) => e.textContent.replace(/\s+/g, " "));
  for (const words of ["Diese Seite ist als Datei geöffnet", "Einzeldatei-Ausgabe varek-em.html",
                       "scripts/web.sh serve"]) {
    assert.ok(notice.includes(words), `the notice lacks »${words}«: ${notice}`);
  }
});

test("the site's page asks for its scripts as one file, which holds every script of the page in order", () => {
  const named = [...readFileSync(join(site, "index.html"), "utf8").matchAll(/<script src="([^"]+)"/g)].map((m) => m[1]);
  assert.deepEqual(named, ["form1_description.js", "page_scripts.js"]);
  assert.ok(readFileSync(join(site, "index.html"), "utf8").includes(readFileSync(join(root, "web/site/site_start.js"), "utf8")),
            "index.html lacks site_start.js");
  const bundle = readFileSync(join(site, "page_scripts.js"), "utf8");
  const sources = join(root, "web/site");
  let at = 0;
  for (const [, src] of readFileSync(join(sources, "index.html"), "utf8").matchAll(/<script src="([^"]+)" defer>/g)) {
    if (!existsSync(join(sources, src))) continue;
    const found = bundle.indexOf(readFileSync(join(sources, src), "utf8"), at);
    assert.ok(found >= at, `page_scripts.js lacks ${src}, or has it out of order`);
    assert.ok(!existsSync(join(site, src)), `${src} stands in the site on its own too`);
    at = found;
  }
});

test("the service worker lists every file of the site, and any change to one renames its cache", () => {
  const copy = join(work, "site");
  cpSync(site, copy, { recursive: true });
  const make = () => {
    execFileSync("node", [join(root, "web/offline/make_offline.mjs"), copy, join(work, "offline"),
                          join(root, "packaging/varek-em.desktop")]);
    const text = readFileSync(join(copy, "service_worker.js"), "utf8");
    return { files: JSON.parse(text.match(/SITE_FILES = (\[[^\]]*\])/)[1]),
             version: text.match(/SITE_VERSION = "(\w+)"/)[1] };
  };
  const before = make();
  const filesIn = (dir, prefix = "") => readdirSync(dir, { withFileTypes: true }).flatMap((entry) =>
    entry.isDirectory() ? filesIn(join(dir, entry.name), `${prefix}${entry.name}/`) : [prefix + entry.name]);
  // The compressed copies are the same files again: listed they would be kept twice.
  const files = filesIn(copy).filter((f) => f !== "service_worker.js" && !/\.(br|gz)$/.test(f));
  assert.deepEqual(before.files, files.sort());
  assert.ok(files.includes("manifest.webmanifest") && files.includes("icons/varek-em.svg"));
  for (const file of [...files.filter((f) => /\.(html|js|css|wasm)$/.test(f)), "service_worker.js"]) {
    assert.ok(existsSync(join(copy, `${file}.br`)) && existsSync(join(copy, `${file}.gz`)), `copies of ${file}`);
  }
  appendFileSync(join(copy, "image3_signal_axes.jpg"), "\0");
  assert.notEqual(make().version, before.version);
});
