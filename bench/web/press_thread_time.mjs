// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How much of a core the picture worker gets at the first key press after a
// load (prints numbers, asserts none). Each round loads every site in turn
// in a new browser context with the first heavy case of page_timings.mjs,
// records a Chromium trace, presses ArrowLeft on the voltage bar as soon as
// the page is ready (51 -> 50 V; --press-after MS later), and prints, from
// the trace, for that press:
//   key to picture   from the press to the picture on the page
//   answer           the worker's answer to the press, as time on the clock
//                    and as the worker thread's own processor time (what
//                    its computation and picture cost, whatever the
//                    machine does beside it)
//   share            the second over the first: the part of a core the
//                    worker had while it answered
// and the processor time, from the press to its picture, of the page's
// other threads (the page's main thread, its compositor and pools: layout,
// garbage collection, compiling) and of the browser's other processes (the
// browser itself, the GPU process, its own pages), then the same for the
// answer to the first picture. Processes outside the browser (other jobs on
// the machine) do not show in the trace: the core time they took is what
// the share misses. Recording the trace costs processor time itself: the
// times on the clock here are not those of page_timings.mjs.
//
//   node bench/web/press_thread_time.mjs [--rounds N] [--settle MS] [--press-after MS] [SITE...]   (default build/web/site)
import { serveDirectory } from "../../web/static_server.mjs";
import { commandLine, launchBrowser, printRounds, tracedFirstPress } from "./page_bench.mjs";

// Those that time the tasks of every thread with their thread time, and the
// page's marks.
const CATEGORIES = ["toplevel", "devtools.timeline", "v8", "blink.user_timing", "disabled-by-default-devtools.timeline"];

const { rounds, settle, pressAfter, directories } = commandLine();
const sites = [];
for (const directory of directories) sites.push({ directory, ...(await serveDirectory(directory)), rounds: [] });

const browser = await launchBrowser();

const trace = (site) => tracedFirstPress(browser, site.url, { settle, pressAfter, categories: CATEGORIES });

// The outermost timed tasks of each thread, by "pid tid", in their order.
function outermostTasks(events) {
  const threads = new Map();
  for (const e of events.filter((e) => e.ph === "X" && e.tdur !== undefined).sort((a, b) => a.ts - b.ts || b.dur - a.dur)) {
    const key = `${e.pid} ${e.tid}`;
    const tasks = threads.get(key) ?? [];
    const last = tasks.at(-1);
    if (!last || e.ts >= last.ts + last.dur) tasks.push(e);
    threads.set(key, tasks);
  }
  return threads;
}

function measure(events) {
  const threadNames = new Map(events.filter((e) => e.ph === "M" && e.name === "thread_name")
                                    .map((e) => [`${e.pid} ${e.tid}`, e.args.name]));
  const marks = events.filter((e) => e.cat?.includes("blink.user_timing") && ["press", "picture"].includes(e.name))
                      .sort((a, b) => a.ts - b.ts);
  const pictures = marks.filter((e) => e.name === "picture");
  const press = marks.find((e) => e.name === "press");
  const pressed = pictures.find((e) => e.ts > press.ts);
  const pagePid = press.pid;
  const tasks = outermostTasks(events);
  const workerKey = [...tasks.keys()].find((key) => key.startsWith(`${pagePid} `) && threadNames.get(key) === "DedicatedWorker thread");
  const worker = tasks.get(workerKey);
  // The worker's task of the most thread time that began before the picture
  // it answered: the answer, with or without a computation, takes more than
  // a part of a neighbour (a millisecond at most).
  const answer = (from, to) => worker.filter((t) => t.ts >= from && t.ts < to).reduce((a, b) => (b.tdur > a.tdur ? b : a));
  const thread = (from, to, wanted) => {
    let sum = 0;
    for (const [key, list] of tasks) {
      if (key === workerKey || !wanted(key)) continue;
      for (const t of list) {
        const overlap = Math.min(t.ts + t.dur, to) - Math.max(t.ts, from);
        if (overlap > 0 && t.dur > 0) sum += (t.tdur * overlap) / t.dur;
      }
    }
    return sum / 1000;
  };
  const page = (key) => key.startsWith(`${pagePid} `);
  const figures = (label, first, from, to) => {
    const a = answer(first, to);
    return {
      [`${label}: answer on the clock (ms)`]: a.dur / 1000,
      [`${label}: answer, the worker's thread time (ms)`]: a.tdur / 1000,
      [`${label}: share of a core`]: a.tdur / a.dur,
      [`${label}: the page's other threads (ms)`]: thread(from, to, page),
      [`${label}: the browser's other processes (ms)`]: thread(from, to, (key) => !page(key)),
    };
  };
  const loadStart = Math.min(...worker.map((t) => t.ts));
  return {
    "pressed after the first picture (ms)": (press.ts - pictures[0].ts) / 1000,
    "key to picture (ms)": (pressed.ts - press.ts) / 1000,
    ...figures("press", press.ts, press.ts, pressed.ts),
    ...figures("first picture", loadStart, loadStart, pictures[0].ts),
  };
}

for (let round = 0; round < rounds; ++round) {
  for (const site of sites) site.rounds.push(measure(await trace(site)));
}
await browser.close();
for (const site of sites) site.server.close();

printRounds(sites, { digits: (name) => (name.includes("share") ? 2 : 1) });
