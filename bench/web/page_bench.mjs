// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's benchmarks share: the browser and a page's ready state;
// and what those of the first key press after a heavy load share
// (worker_timeline.mjs, press_thread_time.mjs, first_picture_window.mjs):
// the case, their command line, the settled fresh page, the traced press
// and the table of each site's values by round.
import { resolve } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

// The first heavy case of page_timings.mjs.
export const HEAVY_QUERY = "?voltage=51&current=1000&mode=ac&amplitude=10&deflection=on";

// [--rounds N] [--settle MS] [--press-after MS] [SITE...]: the rounds
// (default 3), the time a fresh context's empty tab waits before the site
// is loaded (default 0; see settledPage), the time from the page's ready
// state to the first key press (default 0: at once; a person takes a few
// tenths of a second) and the sites' folders (default build/web/site).
export function commandLine(options = process.argv.slice(2)) {
  let rounds = 3, settle = 0, pressAfter = 0;
  const directories = [];
  for (let i = 0; i < options.length; ++i) {
    if (options[i] === "--rounds") rounds = Number(options[++i]);
    else if (options[i] === "--settle") settle = Number(options[++i]);
    else if (options[i] === "--press-after") pressAfter = Number(options[++i]);
    else directories.push(options[i]);
  }
  const here = fileURLToPath(new URL(".", import.meta.url));
  if (directories.length === 0) directories.push(resolve(here, "../../build/web/site"));
  return { rounds, settle, pressAfter, directories };
}

export const pause = (ms) => new Promise((done) => setTimeout(done, ms));

// A new tab in a fresh browser context (no cache), after `settle` ms on
// its empty page. Headless Chromium loads its own pages for a new
// context's tab (two renderers of the browser's interface, thousands of
// modules): 0.3-0.9 s of processor time within the first second here,
// beside the site's load and its first key presses unless the tab waits;
// a person's browser has them loaded before the site is opened.
export async function settledPage(browser, settle) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await pause(settle);
  return { context, page };
}

// Headless Chromium; `options` replace or add to puppeteer's launch options.
export function launchBrowser(options = {}) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
    defaultViewport: { width: 1280, height: 1024 },
    ...options,
  });
}

export const ready = (page) => page.waitForSelector("html[data-state=ready]", { timeout: 60000 });

// The trace events (of these categories) of a heavy load of the site at
// `url` in a settled new tab, with the page's marks "picture" (each scene
// put on the page) and, if `press`, "press": ArrowLeft on the voltage bar
// `pressAfter` ms after the page is ready (51 -> 50 V), recorded until its
// picture is shown; then `after` ms more.
export async function tracedFirstPress(browser, url, { settle, categories, press = true, pressAfter = 0, after = 0 }) {
  const { context, page } = await settledPage(browser, settle);
  await page.evaluateOnNewDocument(() => {
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      if (this.canvas.id === "PaintBox1") performance.mark("picture");
      return put.apply(this, args);
    };
  });
  await page.tracing.start({ categories });
  await page.goto(url + HEAVY_QUERY);
  await ready(page);
  if (press) {
    await pause(pressAfter);
    await page.focus("#ScrollBar4");
    await page.evaluate(() => performance.mark("press"));
    await page.keyboard.press("ArrowLeft");
    await ready(page);
  }
  await pause(after);
  const events = JSON.parse(new TextDecoder().decode(await page.tracing.stop())).traceEvents;
  await context.close();
  return events;
}

// For each value (each site's rounds hold the same names), its line and
// under it each site's median (of the known values) and all its values.
export function printRounds(sites, { label = (name) => name, digits = () => 1 } = {}) {
  const median = (values) => {
    const known = values.filter((v) => !Number.isNaN(v)).sort((a, b) => a - b);
    return known.length === 0 ? NaN : known[Math.floor(known.length / 2)];
  };
  for (const name of Object.keys(sites[0].rounds[0])) {
    console.log(label(name));
    const places = digits(name);
    for (const site of sites) {
      const values = site.rounds.map((r) => r[name]);
      console.log(`  ${site.directory}: median ${median(values).toFixed(places)}  [${values.map((v) => v.toFixed(places)).join(" ")}]`);
    }
  }
}
