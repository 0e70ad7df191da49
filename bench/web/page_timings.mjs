// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the web page in headless chromium (prints numbers, asserts none):
// bytes served on the first load, time to the first picture after a cold
// load (the start-up settings, and a prepared link to a heavy case), input to
// picture for key presses, and pictures per second while the voltage thumb
// is dragged, each for the cases below.
//
//   node bench/web/page_timings.mjs [--rounds N] [SITE...]   (default build/web/site)
//
// With several sites (e.g. the builds of two commits) each round measures
// every site in turn, so that they share the machine's load; every round
// starts from a fresh browser context (no cache). Prints min, median and max
// of each measurement over all rounds.
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

import { serveDirectory } from "../../web/static_server.mjs";

// Each key press changes 50 <-> 51 V; each drag goes over 50..80 V. The
// heavy cases turn in the field with every value non-zero; amplitude 0 has
// the same long paths on the axis.
const CASES = [
  ["50 V, 1000 mA, ac, amplitude 10 (heavy)", "?voltage=51&current=1000&mode=ac&amplitude=10&deflection=on", 50, 80],
  ["50 V, 2000 mA, ac, amplitude 5 (heavy)", "?voltage=51&current=2000&mode=ac&amplitude=5&deflection=on", 50, 80],
  ["50 V, ac, amplitude 0", "?voltage=51&mode=ac&amplitude=0&deflection=on", 50, 80],
];
const START_UP_DRAG = ["1200..1230 V, start-up settings", "?voltage=1200", 1200, 1230];
const PRESSES_PER_ROUND = 10;

const root = resolve(fileURLToPath(new URL(".", import.meta.url)), "../..");
const options = process.argv.slice(2);
let rounds = 1;
const siteDirectories = [];
for (let i = 0; i < options.length; ++i) {
  if (options[i] === "--rounds") rounds = Number(options[++i]);
  else siteDirectories.push(options[i]);
}
if (siteDirectories.length === 0) siteDirectories.push(join(root, "build/web/site"));

const sites = [];
for (const directory of siteDirectories) {
  const { server, url } = await serveDirectory(directory);
  const site = { directory, server, url, served: 0, results: new Map() };
  server.on("request", (_request, response) =>
    response.on("finish", () => { site.served += Number(response.getHeader("content-length") ?? 0); }));
  sites.push(site);
}

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
  args: ["--no-sandbox"],
  defaultViewport: { width: 1280, height: 1024 },
});

function record(site, name, unit, value) {
  if (!site.results.has(name)) site.results.set(name, { unit, values: [] });
  site.results.get(name).values.push(value);
}

// A page in a fresh context that notes the time of every scene picture.
async function freshPage() {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.evaluateOnNewDocument(() => {
    window.scenePictures = [];
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      if (this.canvas.id === "PaintBox1") window.scenePictures.push(performance.now());
      return put.apply(this, args);
    };
  });
  return { context, page };
}

const ready = (page) => page.waitForSelector("html[data-state=ready]", { timeout: 60000 });

// The voltage thumb tracked back and forth over a range, one tracking step
// every 3 ms from a timer in the page, for two seconds (the desktop
// benchmark's drag). Pictures are those put on PaintBox1 until the last
// settings are shown.
function drag(page, lowest, highest) {
  return page.evaluate((lowest, highest) => new Promise((done) => {
    const bar = window.Form1.ScrollBar4;
    const before = window.scenePictures.length;
    const t0 = performance.now();
    let direction = 1;
    const timer = setInterval(() => {
      if (performance.now() - t0 >= 2000) {
        clearInterval(timer);
        const wait = () => (document.documentElement.dataset.state === "ready"
            ? done((window.scenePictures.length - before) / ((window.scenePictures.at(-1) - t0) / 1000))
            : setTimeout(wait, 1));
        wait();
        return;
      }
      if (bar.position + direction > highest || bar.position + direction < lowest) direction = -direction;
      bar.setPosition(bar.position + direction);
    }, 3);
  }), lowest, highest);
}

async function measure(site) {
  const { url } = site;
  // Cold loads: the start-up settings, then a prepared link to a heavy case.
  for (const [name, query] of [["start-up settings", ""], [CASES[1][0], CASES[1][1]]]) {
    const { context, page } = await freshPage();
    site.served = 0;
    await page.goto(url + query, { waitUntil: "load" });
    await ready(page);
    record(site, `first picture after a cold load, ${name}`, "ms", await page.evaluate(() => window.scenePictures[0]));
    if (query === "") {
      record(site, "bytes served on a cold load", "bytes", site.served);
      // The same again in the running browser (the server sends every file again).
      await page.goto(url, { waitUntil: "load" });
      await ready(page);
      record(site, "first picture after a second load, start-up settings", "ms",
             await page.evaluate(() => window.scenePictures[0]));
    }
    await context.close();
  }

  const { context, page } = await freshPage();
  for (const [name, query] of CASES) {
    await page.goto(url + query);
    await ready(page);
    await page.focus("#ScrollBar4");
    for (let i = 0; i < PRESSES_PER_ROUND; ++i) {
      const before = await page.evaluate(() => window.scenePictures.length);
      const pressed = await page.evaluate(() => performance.now());
      await page.keyboard.press(i % 2 === 0 ? "ArrowLeft" : "ArrowRight");
      await ready(page);
      const shown = await page.evaluate((n) => window.scenePictures[n], before);
      record(site, `key press to picture, ${name}`, "ms", shown - pressed);
    }
  }
  for (const [name, query, lowest, highest] of [...CASES, START_UP_DRAG]) {
    await page.goto(url + query);
    await ready(page);
    record(site, `voltage drag, ${name}`, "pictures/s", await drag(page, lowest, highest));
  }
  await context.close();
}

for (let round = 0; round < rounds; ++round) {
  for (const site of sites) await measure(site);
}

const sorted = (values) => [...values].sort((a, b) => a - b);
const format = (value, unit) => (unit === "bytes" ? String(value) : value.toFixed(1));
for (const name of sites[0].results.keys()) {
  console.log(name);
  for (const site of sites) {
    const { unit, values } = site.results.get(name);
    const s = sorted(values);
    console.log(`  ${site.directory}: min ${format(s[0], unit)}, median ${format(s[Math.floor(s.length / 2)], unit)}, ` +
                `max ${format(s.at(-1), unit)} ${unit} (${s.length} runs)`);
  }
}

await browser.close();
for (const site of sites) site.server.close();
