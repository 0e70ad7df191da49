// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's tests share: the built site served on a free port, Debian's
// chromium headless, the page's readiness and axe-core's findings.
//
//   VAREK_SITE  the built site (default build/web/site)
//   CHROMIUM    the browser (default /usr/bin/chromium)
import assert from "node:assert/strict";
import { existsSync } from "node:fs";
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

import { serveDirectory } from "../../web/static_server.mjs";

export const root = resolve(fileURLToPath(new URL(".", import.meta.url)), "../..");
export const site = process.env.VAREK_SITE ?? join(root, "build/web/site");

// {server, base (the site's address), browser}.
export async function startSession(viewport = { width: 1280, height: 1024 }) {
  assert.ok(existsSync(join(site, "index.html")), `no site in ${site}: build the web preset first`);
  const { server, url } = await serveDirectory(site);
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
    defaultViewport: viewport,
  });
  return { server, base: url, browser };
}

// The pictures show the settings in force and nothing is pending.
export const whenReady = (page) => page.waitForSelector("html[data-state=ready]", { timeout: 30000 });

// axe-core's violations on the page, one line each.
export async function axeViolations(page) {
  await page.addScriptTag({ path: join(root, "node_modules/axe-core/axe.min.js") });
  const result = await page.evaluate(() => axe.run(document, { resultTypes: ["violations"] }));
  return result.violations.map((v) => `${v.impact} ${v.id}: ${v.nodes.map((n) => n.target.join(" ")).join(", ")}`);
}
