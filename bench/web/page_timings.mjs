// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the web page in headless chromium (prints numbers, asserts none):
// bytes served on the first load, time to the first picture, the worst case
// from input to picture (50 V, alternating, amplitude 0), and pictures per
// second while the voltage thumb is dragged.
//
//   node bench/web/page_timings.mjs [SITE]   (default build/web/site)
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

import { serveDirectory } from "../../web/static_server.mjs";

const root = resolve(fileURLToPath(new URL(".", import.meta.url)), "../..");
const site = process.argv[2] ?? join(root, "build/web/site");
const { server, url } = await serveDirectory(site);
let served = 0;
server.on("request", (_request, response) =>
  response.on("finish", () => { served += Number(response.getHeader("content-length") ?? 0); }));

const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
  args: ["--no-sandbox"],
  defaultViewport: { width: 1280, height: 1024 },
});
const page = await browser.newPage();
// The time of every scene picture put on the page.
await page.evaluateOnNewDocument(() => {
  window.scenePictures = [];
  const put = CanvasRenderingContext2D.prototype.putImageData;
  CanvasRenderingContext2D.prototype.putImageData = function (...args) {
    if (this.canvas.id === "PaintBox1") window.scenePictures.push(performance.now());
    return put.apply(this, args);
  };
});
const ready = () => page.waitForSelector("html[data-state=ready]", { timeout: 60000 });
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

await page.goto(url, { waitUntil: "load" });
await ready();
const start = await page.evaluate(() => ({ first: window.scenePictures[0] }));
console.log(`first load: ${served} bytes served; first picture ${ms(start.first)} after navigation start`);
// The same again in the running browser (the server sends every file again).
await page.goto(url, { waitUntil: "load" });
await ready();
const again = await page.evaluate(() => window.scenePictures[0]);
console.log(`second load: first picture ${ms(again)} after navigation start`);

// Worst case: each key press changes 50 <-> 51 V and is answered by one picture.
await page.goto(`${url}?voltage=51&mode=ac&amplitude=0&deflection=on`);
await ready();
await page.focus("#ScrollBar4");
const latencies = [];
for (let i = 0; i < 20; ++i) {
  const before = await page.evaluate(() => window.scenePictures.length);
  const pressed = await page.evaluate(() => performance.now());
  await page.keyboard.press(i % 2 === 0 ? "ArrowLeft" : "ArrowRight");
  await ready();
  const shown = await page.evaluate((n) => window.scenePictures[n], before);
  latencies.push(shown - pressed);
}
console.log(`worst case (50/51 V, ac, amplitude 0), input to picture: median ${ms(median(latencies))}, ` +
            `max ${ms(Math.max(...latencies))} over ${latencies.length} presses`);

// The voltage thumb tracked back and forth over a range, one tracking step
// every 3 ms from a timer in the page, for two seconds (the desktop
// benchmark's drag). Pictures are those put on PaintBox1 until the last
// settings are shown.
async function drag(query, lowest, highest) {
  await page.goto(`${url}${query}`);
  await ready();
  return page.evaluate((lowest, highest) => new Promise((done) => {
    const bar = window.Form1.ScrollBar4;
    const before = window.scenePictures.length;
    const t0 = performance.now();
    let direction = 1, steps = 0;
    const timer = setInterval(() => {
      if (performance.now() - t0 >= 2000) {
        clearInterval(timer);
        const wait = () => (document.documentElement.dataset.state === "ready"
            ? done({ pictures: window.scenePictures.length - before, steps,
                     seconds: (window.scenePictures.at(-1) - t0) / 1000 })
            : setTimeout(wait, 1));
        wait();
        return;
      }
      if (bar.position + direction > highest || bar.position + direction < lowest) direction = -direction;
      bar.setPosition(bar.position + direction);
      ++steps;
    }, 3);
  }), lowest, highest);
}
for (const [name, query, lowest, highest] of [
  ["50..80 V, ac, amplitude 0", "?voltage=50&mode=ac&amplitude=0&deflection=on", 50, 80],
  ["1200..1230 V, start-up settings", "?voltage=1200", 1200, 1230]]) {
  const r = await drag(query, lowest, highest);
  console.log(`voltage drag ${name}: ${r.steps} tracking steps, ${r.pictures} pictures ` +
              `in ${r.seconds.toFixed(2)} s = ${(r.pictures / r.seconds).toFixed(1)} pictures/s`);
}

await browser.close();
server.close();
