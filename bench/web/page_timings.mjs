// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the web page in headless chromium (prints numbers, asserts none):
// bytes sent (as sent, compressed where the browser accepts it) before the
// first picture and on the whole first load, time to the first picture after
// a cold load (the start-up settings, and a prepared link to a heavy case;
// the start-up settings also with the CPU slowed 4 times, as on a cheap
// phone, and with that on a Fast-3G network), the first key press to picture
// after a load (at once, and at a person's pace, 0.3 s after the first
// picture), input to picture for key presses, and pictures per second
// while the voltage thumb is dragged, each for the cases below. The page
// keeps the paths it computed and computes the neighbours of the settings
// in force in idle time, so the arrow keys back and forth soon show kept
// paths; the first page step (10 V) after a load goes where nothing may be
// kept yet, the next ones and the current stepped up one line at a time (as
// towards the focus) go on the way of the last change, the first neighbour
// computed.
//
//   node bench/web/page_timings.mjs [--rounds N] [--cores N] [--cpu N] [--cold] [--settle MS] [SITE...]
//   (default build/web/site)
//
// --cold measures the cold loads only (the first pictures and the bytes),
// a quicker run for many rounds.
// --cores N tells the pages that the machine has N cores (the page runs a
// picture worker for each core but one, at most four, so this sets their
// number; the machine's own cores are what they share). --cpu N slows the
// CPU N times for the key presses and the drags too. Each drag also gives
// the median time from a request to its picture in a worker (what one worker
// takes for a picture while the others run beside it); after the drags, the
// memory of each picture worker's module is printed (bytes). --settle MS:
// each fresh context's empty tab waits MS before the site is loaded, as in
// a browser that has its own pages loaded when the site is opened
// (page_bench.mjs settledPage); default 0.
//
// With several sites (e.g. the builds of two commits) each round measures
// every site in turn, so that they share the machine's load; every round
// starts from a fresh browser context (no cache). Prints min, median and max
// of each measurement over all rounds; with several sites also, for each
// site after the first, the median of its differences from the first site's
// values taken in the same round and place, and in how many of them it was
// lower: on a machine whose load changes, a steadier comparison than the
// two medians.
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { PredefinedNetworkConditions } from "puppeteer-core";

import { serveDirectory } from "../../web/static_server.mjs";
import { HEAVY_QUERY, launchBrowser, pause, ready, settledPage } from "./page_bench.mjs";

// Each key press changes 50 <-> 51 V; each drag goes over 50..80 V. The
// heavy cases turn in the field with every value non-zero; amplitude 0 has
// the same long paths on the axis.
const CASES = [
  ["50 V, 1000 mA, ac, amplitude 10 (heavy)", HEAVY_QUERY, 50, 80],
  ["50 V, 2000 mA, ac, amplitude 5 (heavy)", "?voltage=51&current=2000&mode=ac&amplitude=5&deflection=on", 50, 80],
  ["50 V, ac, amplitude 0", "?voltage=51&mode=ac&amplitude=0&deflection=on", 50, 80],
];
const START_UP_DRAG = ["1200..1230 V, start-up settings", "?voltage=1200", 1200, 1230];
const PRESSES_PER_ROUND = 10;
const PERSON_PACE = 300;  // ms from the first picture to a person's first key press

const root = resolve(fileURLToPath(new URL(".", import.meta.url)), "../..");
const options = process.argv.slice(2);
let rounds = 1, cores = null, cpu = 1, coldOnly = false, settle = 0;
const siteDirectories = [];
for (let i = 0; i < options.length; ++i) {
  if (options[i] === "--rounds") rounds = Number(options[++i]);
  else if (options[i] === "--cores") cores = Number(options[++i]);
  else if (options[i] === "--cpu") cpu = Number(options[++i]);
  else if (options[i] === "--cold") coldOnly = true;
  else if (options[i] === "--settle") settle = Number(options[++i]);
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

const browser = await launchBrowser();

function record(site, name, unit, value) {
  if (!site.results.has(name)) site.results.set(name, { unit, values: [] });
  site.results.get(name).values.push(value);
}

// A page in a fresh context that notes the time of every scene picture and
// the site's bytes sent until the first one (site.beforeFirstPicture); with
// the CPU slowed `slower` times.
async function freshPage(site, slower = cpu) {
  const { context, page } = await settledPage(browser, settle);
  if (slower !== 1) await page.emulateCPUThrottling(slower);
  if (cores !== null) {
    await page.evaluateOnNewDocument(
        (n) => Object.defineProperty(Navigator.prototype, "hardwareConcurrency", { get: () => n }), cores);
  }
  await page.exposeFunction("firstScenePicture", () => { site.beforeFirstPicture = site.served; });
  await page.evaluateOnNewDocument(() => {
    // The time from each request for a scene to its picture, per worker (a
    // worker answers in turn): what one worker takes for a picture.
    window.workerTimes = [];
    window.Worker = class extends Worker {
      constructor(...args) {
        super(...args);
        this.asked = [];
        this.addEventListener("message", ({ data }) => {
          if (data.type === "scene" || data.type === "picture") window.workerTimes.push(performance.now() - this.asked.shift());
        });
      }

      postMessage(message, transfer) {
        if (message?.type === "show") this.asked.push(performance.now());
        super.postMessage(message, transfer);
      }
    };
    window.scenePictures = [];
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      if (this.canvas.id === "PaintBox1" && window.scenePictures.push(performance.now()) === 1) {
        window.firstScenePicture();
      }
      return put.apply(this, args);
    };
  });
  return { context, page };
}

// The time to the first picture after a cold load of the start-up settings
// with the CPU slowed (a cheap phone) and on a slow network as well.
const SLOW_LOADS = [
  ["4x CPU", { cpu: 4 }],
  ["4x CPU, Fast 3G", { cpu: 4, network: PredefinedNetworkConditions["Fast 3G"] }],
];

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
    const { context, page } = await freshPage(site, 1);
    site.served = 0;
    await page.goto(url + query, { waitUntil: "load" });
    await ready(page);
    record(site, `first picture after a cold load, ${name}`, "ms", await page.evaluate(() => window.scenePictures[0]));
    if (query === "") {
      record(site, "bytes sent before the first picture", "bytes", site.beforeFirstPicture);
      // The rest of the load (the protocol's core in idle time) comes after.
      await pause(2000);
      record(site, "bytes sent on a cold load", "bytes", site.served);
      // The same again in the running browser (the server sends every file again).
      await page.goto(url, { waitUntil: "load" });
      await ready(page);
      record(site, "first picture after a second load, start-up settings", "ms",
             await page.evaluate(() => window.scenePictures[0]));
    }
    await context.close();
  }
  for (const [name, { cpu: slower, network }] of SLOW_LOADS) {
    const { context, page } = await freshPage(site, slower);
    if (network) await page.emulateNetworkConditions(network);
    await page.goto(url, { waitUntil: "load", timeout: 120000 });
    await ready(page);
    record(site, `first picture after a cold load, start-up settings, ${name}`, "ms",
           await page.evaluate(() => window.scenePictures[0]));
    await context.close();
  }
  if (coldOnly) return;

  // Key presses to picture: `keys` pressed on `control` one after the other,
  // each once the last picture is shown; the first counted as `first`. The
  // first key press after a load may find the integration's code not yet
  // optimised; each case's first press is counted on its own.
  const timeKeys = async (page, control, keys, first, rest) => {
    await page.focus(control);
    for (let i = 0; i < keys.length; ++i) {
      const before = await page.evaluate(() => window.scenePictures.length);
      const pressed = await page.evaluate(() => performance.now());
      await page.keyboard.press(keys[i]);
      await ready(page);
      const shown = await page.evaluate((n) => window.scenePictures[n], before);
      record(site, i === 0 && first ? first : rest, "ms", shown - pressed);
    }
  };
  for (const [name, query] of CASES) {
    const { context, page } = await freshPage(site);
    await page.goto(url + query);
    await ready(page);
    const backAndForth = Array.from({ length: PRESSES_PER_ROUND }, (_, i) => (i % 2 === 0 ? "ArrowLeft" : "ArrowRight"));
    await timeKeys(page, "#ScrollBar4", backAndForth, `first key press to picture after a load, ${name}`,
                   `key press to picture, ${name}`);
    await context.close();
    // The same first key press at a person's pace: 0.3 s after the first picture.
    const paced = await freshPage(site);
    await paced.page.goto(url + query);
    await ready(paced.page);
    await pause(PERSON_PACE);
    await timeKeys(paced.page, "#ScrollBar4", ["ArrowLeft"],
                   `first key press 0.3 s after the first picture, ${name}`, null);
    await paced.context.close();
    // A page step up at once after a load, to settings not computed before,
    // then more of them; then the current stepped up.
    const fresh = await freshPage(site);
    await fresh.page.goto(url + query);
    await ready(fresh.page);
    await timeKeys(fresh.page, "#ScrollBar4", Array(5).fill("PageUp"),
                   `first page step to picture after a load, ${name}`, `page step to picture, ${name}`);
    await timeKeys(fresh.page, "#ScrollBar7", Array(PRESSES_PER_ROUND).fill("ArrowRight"), null,
                   `current stepped up, key press to picture, ${name}`);
    await fresh.context.close();
  }
  const { context, page } = await freshPage(site);
  for (const [name, query, lowest, highest] of [...CASES, START_UP_DRAG]) {
    await page.goto(url + query);
    await ready(page);
    await page.evaluate(() => { window.workerTimes = []; });
    record(site, `voltage drag, ${name}`, "pictures/s", await drag(page, lowest, highest));
    const times = await page.evaluate(() => window.workerTimes.sort((a, b) => a - b));
    record(site, `voltage drag, ${name}: a worker's time per picture (median of the drag)`, "ms",
           times[Math.floor(times.length / 2)]);
  }
  for (const [index, worker] of page.workers().entries()) {
    const bytes = await worker.evaluate(() => (typeof varek === "undefined" || !varek ? 0 : varek.HEAPU32.buffer.byteLength));
    if (bytes > 0) record(site, `module memory of picture worker ${index + 1} after the drags`, "bytes", bytes);
  }
  await context.close();
}

for (let round = 0; round < rounds; ++round) {
  for (const site of sites) await measure(site);
}

const sorted = (values) => [...values].sort((a, b) => a - b);
const format = (value, unit) => (unit === "bytes" ? String(value) : value.toFixed(1));
for (const name of new Set(sites.flatMap((site) => [...site.results.keys()]))) {
  console.log(name);
  for (const site of sites.filter((s) => s.results.has(name))) {
    const { unit, values } = site.results.get(name);
    const s = sorted(values);
    console.log(`  ${site.directory}: min ${format(s[0], unit)}, median ${format(s[Math.floor(s.length / 2)], unit)}, ` +
                `max ${format(s.at(-1), unit)} ${unit} (${s.length} runs)`);
  }
  const first = sites[0].results.get(name)?.values;
  for (const site of sites.slice(1).filter((s) => s.results.get(name)?.values.length === first?.length)) {
    const { unit, values } = site.results.get(name);
    const differences = sorted(values.map((value, i) => value - first[i]));
    const lower = differences.filter((d) => d < 0).length;
    console.log(`  ${site.directory} - ${sites[0].directory}, paired: median ${format(differences[Math.floor(differences.length / 2)], unit)} ` +
                `${unit}, lower in ${lower} of ${differences.length}`);
  }
}

await browser.close();
for (const site of sites) site.server.close();
