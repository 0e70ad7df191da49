// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The offline parts of the browser edition, made from the built site by the
// web preset (web/CMakeLists.txt), after every other file of the site:
//
//   node web/offline/make_offline.mjs SITE OFFLINE DESKTOP_FILE
//
//   SITE/manifest.webmanifest  the web app manifest: the window's caption and
//                              colour from the description, the icons in SITE/icons
//   SITE/service_worker.js     service_worker.js of this folder, after the list
//                              of every file of the site and a hash of them all
//   OFFLINE/varek-em.html      the single-file edition: index.html with every
//                              script, style and picture of the site inside and
//                              the two modules' bytes in base64; it runs from file://
//   SITE/**.br, SITE/**.gz     Brotli and gzip copies of the site's text and
//                              WebAssembly files (compressed_copies.mjs), made
//                              last; the service worker does not list them
//
// DESKTOP_FILE: the desktop launcher (packaging/varek-em.desktop), whose
// German comment describes the program in the manifest too.
import { createHash } from "node:crypto";
import { mkdirSync, readdirSync, readFileSync, writeFileSync } from "node:fs";
import { extname, join, relative, sep } from "node:path";
import { fileURLToPath } from "node:url";
import vm from "node:vm";

import { isCompressedCopy, writeCompressedCopies } from "./compressed_copies.mjs";

const here = fileURLToPath(new URL(".", import.meta.url));

// The launcher's short name on a home screen (twelve characters show whole).
const SHORT_NAME = "e/m Elektron";

const MEDIA_TYPES = {
  ".jpg": "image/jpeg",
  ".png": "image/png",
  ".svg": "image/svg+xml",
};

// Every file under dir, as paths relative to it with "/", sorted; the
// compressed copies are the same files in another encoding and not counted.
function filesUnder(dir) {
  const found = [];
  const walk = (folder) => {
    for (const entry of readdirSync(folder, { withFileTypes: true })) {
      const path = join(folder, entry.name);
      if (entry.isDirectory()) walk(path);
      else if (!isCompressedCopy(path)) found.push(relative(dir, path).split(sep).join("/"));
    }
  };
  walk(dir);
  return found.sort();
}

// The window's description, as form1_description.js gives it to the page.
function readDescription(site) {
  const sandbox = { globalThis: {} };
  vm.runInNewContext(readFileSync(join(site, "form1_description.js"), "utf8"), sandbox);
  return sandbox.globalThis.Form1Description;
}

function manifest(description, site, desktopFile) {
  const comment = readFileSync(desktopFile, "utf8").match(/^Comment\[de\]=(.*)$/m);
  const size = (file) => Number(file.match(/-(\d+)\.png$/)?.[1] ?? Infinity);
  const icons = filesUnder(join(site, "icons")).sort((a, b) => size(a) - size(b)).map((file) => {
    const pixels = size(file);
    return { src: `icons/${file}`, sizes: pixels === Infinity ? "any" : `${pixels}x${pixels}`,
             type: MEDIA_TYPES[extname(file)] };
  });
  return {
    name: description.window.caption,
    short_name: SHORT_NAME,
    description: comment ? comment[1] : undefined,
    lang: "de",
    start_url: "index.html",
    scope: "./",
    display: "standalone",
    background_color: description.window.fill,
    theme_color: description.window.fill,
    icons,
  };
}

// The service worker: the list of the site's files (all but itself) and a
// hash of their names and contents before its code.
function serviceWorker(site) {
  const files = filesUnder(site).filter((file) => file !== "service_worker.js");
  const hash = createHash("sha256");
  for (const file of files) hash.update(file).update("\0").update(readFileSync(join(site, file))).update("\0");
  return "\"use strict\";\n// Made by web/offline/make_offline.mjs from the files of the site; not to be edited.\n" +
         `const SITE_FILES = ${JSON.stringify(files, null, 1)};\n` +
         `const SITE_VERSION = "${hash.digest("hex").slice(0, 16)}";\n` +
         readFileSync(join(here, "service_worker.js"), "utf8");
}

// ---- The single-file edition ----------------------------------------------

const dataUrl = (site, file) =>
  `data:${MEDIA_TYPES[extname(file)]};base64,${readFileSync(join(site, file)).toString("base64")}`;

// A script's text inside <script>: "</script" would end the element early
// and "<!--" would change how the rest is read; in a JavaScript string or
// comment, "<\/script" and "<\!--" mean the same.
const inlineScript = (text) =>
  `<script>\n${text.replace(/<\/script/gi, "<\\/script").replace(/<!--/g, "<\\!--")}\n</script>\n`;

// The description with every picture of the site as a data URL.
function descriptionScript(description, site) {
  const pictures = new Set(filesUnder(site).filter((file) => MEDIA_TYPES[extname(file)]));
  const json = JSON.stringify(description, (key, value) =>
    typeof value === "string" && pictures.has(value) ? dataUrl(site, value) : value);
  return `globalThis.Form1Description = ${json};`;
}

function singleFile(site, description) {
  const text = (file) => readFileSync(join(site, file), "utf8");
  const base64 = (file) => readFileSync(join(site, file)).toString("base64");
  const embedded = {
    "picture_worker.js": text("picture_worker.js"),
    "varek.wasm": base64("varek.wasm"),
    "varek_protocol.wasm": base64("varek_protocol.wasm"),
  };
  const start = inlineScript(`const VarekEmbedded = ${JSON.stringify(embedded).replace(/</g, "\\u003c")};`) +
                inlineScript(text("varek_protocol.js")) +
                inlineScript(readFileSync(join(here, "single_file_start.js"), "utf8"));
  const siteFiles = new Set(filesUnder(site));
  const attribute = (tag, name) => tag.match(new RegExp(`\\b${name}="([^"]*)"`))?.[1];
  const deferred = [];

  // The site's start, which page_scripts.mjs put inline, gives way to the
  // single file's.
  const siteStart = /<script data-file="site_start.js">[^]*?<\/script>\n?/;
  if (!siteStart.test(text("index.html"))) throw new Error("index.html: the site's start is missing");
  let html = text("index.html")
    .replace(siteStart, () => start)
    .replace(/<link\b[^>]*>\n?/g, (tag) => {
      const rel = attribute(tag, "rel"), href = attribute(tag, "href");
      if (rel === "stylesheet") return `<style>\n${text(href)}</style>\n`;
      if (rel === "icon") return tag.replace(href, dataUrl(site, href));
      if (rel === "preload") return "";  // the file is inside
      throw new Error(`index.html: no rule for ${tag}`);
    })
    .replace(/<script\b([^>]*)><\/script>\n?/g, (tag) => {
      const src = attribute(tag, "src");
      if (!/\bdefer\b/.test(tag)) throw new Error(`index.html: no rule for ${tag}`);
      // Deferred scripts run, in order, once the document is read: so do
      // inline scripts at the end of the body.
      deferred.push(src === "form1_description.js" ? descriptionScript(description, site) : text(src));
      return "";
    });
  const unresolved = [...html.matchAll(/\b(?:src|href)="([^"]*)"/g)].map((m) => m[1]).filter((v) => siteFiles.has(v));
  if (unresolved.length > 0) throw new Error(`index.html: not inlined: ${unresolved.join(", ")}`);
  html = html.replace("</body>", () => deferred.map(inlineScript).join("") + "</body>");
  return html.replace("<html", "<!-- The single-file edition of varek-em: the site in one file, for file:// " +
                      "and a USB stick.\n     Made by web/offline/make_offline.mjs; not to be edited. -->\n<html");
}

const [site, offline, desktopFile] = process.argv.slice(2);
if (!site || !offline || !desktopFile) {
  console.error("usage: node make_offline.mjs SITE OFFLINE DESKTOP_FILE");
  process.exit(2);
}
const description = readDescription(site);
writeFileSync(join(site, "manifest.webmanifest"), JSON.stringify(manifest(description, site, desktopFile), null, 2) + "\n");
writeFileSync(join(site, "service_worker.js"), serviceWorker(site));
mkdirSync(offline, { recursive: true });
writeFileSync(join(offline, "varek-em.html"), singleFile(site, description));
writeCompressedCopies(site);
