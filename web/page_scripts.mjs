// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page's own scripts as one file, for the built site (web/CMakeLists.txt):
//
//   node web/page_scripts.mjs SOURCE_FOLDER SITE   writes SITE/page_scripts.js and SITE/index.html
//   node web/page_scripts.mjs SOURCE_FOLDER        prints the scripts it takes, one a line
//
// The scripts are the deferred ones that index.html names and that stand in
// SOURCE_FOLDER (web/site), in index.html's order: the build copies them into
// no other file. The built index.html names page_scripts.js in their place.
// A deferred script made by the build (form1_description.js, the window's
// description) stays a file of its own, before them. Over HTTP/1.1 a browser
// asks a host for at most six files at once; each further round costs a
// round trip, about 0,6 s on a slow mobile network.
//
// A script that index.html names without defer (site_start.js, which starts
// the picture worker) stands in the built index.html itself, as
// <script data-file="NAME">: the worker then starts while the page is read,
// not a round trip later, and the page's thread, busy building the page
// soon after, holds it up less.
import { existsSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { join } from "node:path";

const PAGE_SCRIPTS = "page_scripts.js";

const DEFERRED = /<script src="([^"]+)" defer><\/script>\n/g;
const PLAIN = /<script src="([^"]+)"><\/script>\n/g;

// { html, scripts, inlined }: index.html with the source folder's deferred
// scripts replaced by one and its other scripts put inline, and the names of
// both in order.
function bundledPage(html, sourceFolder) {
  const scripts = [];
  let at = -1;
  const rest = html.replace(DEFERRED, (tag, src, offset) => {
    if (!existsSync(join(sourceFolder, src))) return tag;
    // One run of them: the order of everything else stays as it was.
    if (scripts.length > 0 && at !== offset) throw new Error(`index.html: ${src} stands apart from the other scripts`);
    at = offset + tag.length;
    scripts.push(src);
    return scripts.length === 1 ? `<script src="${PAGE_SCRIPTS}" defer></script>\n` : "";
  });
  const inlined = [];
  const page = rest.replace(PLAIN, (tag, src) => {
    if (!existsSync(join(sourceFolder, src))) return tag;
    const text = readFileSync(join(sourceFolder, src), "utf8");
    if (/<\/script|<!--/i.test(text)) throw new Error(`${src} cannot stand inside <script>`);
    inlined.push(src);
    return `<script data-file="${src}">\n${text}</script>\n`;
  });
  return { html: page, scripts, inlined };
}

const [sourceFolder, site] = process.argv.slice(2);
const { html, scripts, inlined } = bundledPage(readFileSync(join(sourceFolder, "index.html"), "utf8"), sourceFolder);
if (!site) {
  console.log([...inlined, ...scripts].join("\n"));
} else {
  const text = scripts.map((src) => `// ---- ${src}\n${readFileSync(join(sourceFolder, src), "utf8")}`).join("\n");
  writeFileSync(join(site, PAGE_SCRIPTS), text);
  writeFileSync(join(site, "index.html"), html);
  // Copies of them from an earlier build would be listed by the service worker.
  for (const src of [...inlined, ...scripts]) rmSync(join(site, src), { force: true });
}
