// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the first key press after a load spends its time (prints numbers,
// asserts none). Each site is copied to a temporary folder with
// worker_timing_probe.js appended to its picture worker, which keeps its
// timestamps in memory; the page's side is timed in the page. Each round
// loads every site in turn with the first heavy case of page_timings.mjs,
// presses ArrowLeft on the voltage bar as soon as the page is ready (51 ->
// 50 V; --press-after MS later), and prints for that press:
//   key      from the press to the page's keydown (the browser's delivery)
//   ask      from the keydown to the page's request to the worker
//   wait     from the request until the worker takes it (a part under way)
//   worker   the worker's answer, of it computing the paths and rendering
//   back     from the worker's answer to the page receiving it
//   draw     from then to the picture on the page
// (the worker's clock and the page's may differ by a few ms: wait and back
// may be off by that much, their sum not), then when the first four
// neighbours were computed after the first picture (those of the settings
// loaded and, after the press, of the settings pressed to, by any worker),
// when a second worker started and was ready (where the page starts one),
// and the time of one integration of a setting never computed (the
// settings shown at 45 V)
// at once after the press and again 2.5 s later, in the worker itself: what
// the first moments after a load cost the same computation. Each site's
// values of all rounds follow its median.
//
//   node bench/web/worker_timeline.mjs [--rounds N] [--settle MS] [--press-after MS] [SITE...]   (default build/web/site)
import { appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { fileURLToPath } from "node:url";

import { serveDirectory } from "../../web/static_server.mjs";
import { HEAVY_QUERY, commandLine, launchBrowser, pause, printRounds, ready, settledPage } from "./page_bench.mjs";

const here = fileURLToPath(new URL(".", import.meta.url));
const LATER = 2500;  // ms
const NEIGHBOURS = 4;

const { rounds, settle, pressAfter, directories } = commandLine();

const temporary = mkdtempSync(join(tmpdir(), "worker-timeline-"));
const sites = [];
for (const [index, directory] of directories.entries()) {
  const copy = join(temporary, String(index));
  cpSync(directory, copy, { recursive: true });
  // The server would send the unchanged compressed copies.
  rmSync(join(copy, "picture_worker.js.br"), { force: true });
  rmSync(join(copy, "picture_worker.js.gz"), { force: true });
  appendFileSync(join(copy, "picture_worker.js"), readFileSync(join(here, "worker_timing_probe.js")));
  sites.push({ directory, ...(await serveDirectory(copy)), rounds: [] });
}

const browser = await launchBrowser();

async function measure(site) {
  const { context, page } = await settledPage(browser, settle);
  await page.evaluateOnNewDocument(() => {
    const now = () => performance.timeOrigin + performance.now();
    window.pageLog = { pictures: [], keys: [], asked: [], came: [], started: [], ready: [] };
    document.addEventListener("keydown", () => window.pageLog.keys.push(now()), true);
    window.Worker = class extends Worker {
      constructor(...args) {
        super(...args);
        window.pageLog.started.push(now());
        const index = window.pageLog.started.length - 1;
        this.addEventListener("message", ({ data }) => {
          if (data.type === "picture") window.pageLog.came.push(now());
          if (data.type === "ready") window.pageLog.ready[index] ??= now();
        });
      }

      postMessage(message, transfer) {
        if (message?.type === "show") window.pageLog.asked.push(now());
        super.postMessage(message, transfer);
      }
    };
    const put = CanvasRenderingContext2D.prototype.putImageData;
    CanvasRenderingContext2D.prototype.putImageData = function (...args) {
      if (this.canvas.id === "PaintBox1") window.pageLog.pictures.push(now());
      return put.apply(this, args);
    };
  });
  await page.goto(site.url + HEAVY_QUERY);
  await ready(page);
  await pause(pressAfter);
  await page.focus("#ScrollBar4");
  const pressed = await page.evaluate(() => performance.timeOrigin + performance.now());
  await page.keyboard.press("ArrowLeft");
  await ready(page);
  const worker = page.workers()[0];
  const voltageRow = await page.evaluate(() => window.Form1.pictures.rows.findIndex((row) => row.name === "voltage"));
  const atOnce = await worker.evaluate((row) => self.probeIntegrate(row, 45), voltageRow);
  await pause(LATER);
  const later = await worker.evaluate((row) => self.probeIntegrate(row, 45), voltageRow);
  const log = await worker.evaluate(() => self.probeLog);
  // Neighbours come from every worker (a second one may compute only them).
  const logs = await Promise.all(page.workers().map((w) => w.evaluate(() => self.probeLog ?? [])));
  const { pictures, keys, asked, came, started, ready: readyAt } = await page.evaluate(() => window.pageLog);
  await context.close();

  const after = (list) => list.find((t) => t >= pressed);
  const show = log.filter((e) => e.what === "show").at(-1);  // the press's: none came after it
  const within = (name) => log.filter((e) => e.what === name && e.start >= show.start && e.end <= show.end)
                              .reduce((sum, e) => sum + e.end - e.start, 0);
  const prepared = logs.flatMap((each) => each.filter((e) => e.what === "pack_paths" && e.start > pictures[0] &&
                                                           !each.some((s) => s.what === "show" && s.start <= e.start && e.end <= s.end)))
                       .sort((a, b) => a.end - b.end);
  return {
    "pressed after the first picture": pressed - pictures[0],
    "key to picture": after(pictures) - pressed,
    key: after(keys) - pressed,
    ask: after(asked) - after(keys),
    wait: show.start - after(asked),
    worker: show.end - show.start,
    "  computing": within("compute"),
    "  rendering": within("render_scene"),
    back: after(came) - show.end,
    draw: after(pictures) - after(came),
    ...Object.fromEntries(Array.from({ length: NEIGHBOURS }, (_, i) => [`neighbour ${i + 1} computed after the first picture`,
                                                                         (prepared[i]?.end ?? NaN) - pictures[0]])),
    "second worker started after the first picture": (started[1] ?? NaN) - pictures[0],
    "second worker ready after the first picture": (readyAt[1] ?? NaN) - pictures[0],
    "integration of 45 V at once after the press": atOnce,
    [`integration of 45 V ${LATER / 1000} s later`]: later,
  };
}

for (let round = 0; round < rounds; ++round) {
  for (const site of sites) site.rounds.push(await measure(site));
}
await browser.close();
for (const site of sites) site.server.close();
rmSync(temporary, { recursive: true, force: true });

printRounds(sites, { label: (name) => `${name} (ms)` });
