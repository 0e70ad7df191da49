// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the page's own threads do right after the first picture of a heavy
// load (prints numbers, asserts none). Each round loads every site in turn
// in a new browser context with the first heavy case of page_timings.mjs,
// records a Chromium trace until WINDOW ms (default 200) after the first
// picture (no key is pressed) and sums, for each thread of the page's process, the thread
// time of its tasks in [first picture, first picture + WINDOW] by what they
// are: each trace event's own time (its thread time less that of the events
// inside it), named by the event and, where the trace says, the script's
// function, the event's type or the timer's. With --press, ArrowLeft on
// the voltage bar as soon as the page is ready, or --press-after MS later
// (as press_thread_time.mjs), and the window is from the press to its
// picture instead. Per site and thread, the top names' means over the
// rounds (ms of thread time) and in how many rounds each came.
// MORE_CATEGORIES=a,b adds trace categories (e.g.
// v8.wasm,disabled-by-default-v8.compile names the pools' compiling).
//
//   node bench/web/first_picture_window.mjs [--rounds N] [--settle MS] [--window MS] [--top N] [--press] [--press-after MS] [SITE...]
import { serveDirectory } from "../../web/static_server.mjs";
import { commandLine, launchBrowser, tracedFirstPress } from "./page_bench.mjs";

const CATEGORIES = ["toplevel", "devtools.timeline", "v8", "blink.user_timing", "disabled-by-default-devtools.timeline",
                    "disabled-by-default-v8.gc", "cc", "gpu", "blink",
                    ...(process.env.MORE_CATEGORIES?.split(",") ?? [])];

const argv = process.argv.slice(2);
const option = (name, fallback) => {
  const at = argv.indexOf(name);
  if (at < 0) return fallback;
  const value = Number(argv[at + 1]);
  argv.splice(at, 2);
  return value;
};
const windowMs = option("--window", 200);
const pressAt = argv.indexOf("--press");
const press = pressAt >= 0;
if (press) argv.splice(pressAt, 1);
const top = option("--top", 25);
const { rounds, settle, pressAfter, directories } = commandLine(argv);
const sites = [];
for (const directory of directories) sites.push({ directory, ...(await serveDirectory(directory)), rounds: [] });

const browser = await launchBrowser();

const trace = (site) => tracedFirstPress(browser, site.url, { settle, categories: CATEGORIES, press, pressAfter, after: windowMs + 100 });

const base = (url) => (url ? url.slice(url.lastIndexOf("/") + 1) : "");

function label(e) {
  const d = e.args?.data ?? {};
  if (e.name === "FunctionCall") return `FunctionCall ${d.functionName || "?"} (${base(d.url)}:${d.lineNumber ?? ""})`;
  if (e.name === "EventDispatch") return `EventDispatch ${d.type}`;
  if (e.name === "TimerFire") return `TimerFire`;
  if (e.name === "EvaluateScript") return `EvaluateScript ${base(d.url)}`;
  if (e.name === "v8.compile" || e.name === "v8.compileModule") return `${e.name} ${base(d.url ?? e.args?.fileName)}`;
  if (e.name === "MajorGC" || e.name === "MinorGC") return `${e.name} ${e.args?.type ?? ""}`;
  return e.name;
}

// Each complete event's own thread time within [from, to], by label, for
// each thread of the process `pid`: {thread name -> Map(label -> ms)}.
function ownTimes(events, pid, from, to) {
  const names = new Map(events.filter((e) => e.ph === "M" && e.name === "thread_name" && e.pid === pid)
                              .map((e) => [e.tid, e.args.name]));
  const byThread = new Map();
  for (const e of events) {
    if (e.pid !== pid || e.ph !== "X" || e.tdur === undefined || e.dur === undefined) continue;
    if (!byThread.has(e.tid)) byThread.set(e.tid, []);
    byThread.get(e.tid).push(e);
  }
  const result = new Map();
  for (const [tid, list] of byThread) {
    list.sort((a, b) => a.ts - b.ts || b.dur - a.dur);
    const own = new Map(list.map((e) => [e, e.tdur]));
    const stack = [];
    for (const e of list) {
      while (stack.length && stack.at(-1).ts + stack.at(-1).dur <= e.ts) stack.pop();
      if (stack.length && e.ts + e.dur <= stack.at(-1).ts + stack.at(-1).dur + 1) {
        own.set(stack.at(-1), own.get(stack.at(-1)) - e.tdur);
      }
      stack.push(e);
    }
    const sums = new Map();
    for (const [e, t] of own) {
      const overlap = Math.min(e.ts + e.dur, to) - Math.max(e.ts, from);
      if (overlap <= 0 && !(e.dur === 0 && e.ts >= from && e.ts < to)) continue;
      const part = e.dur > 0 ? Math.max(0, t) * overlap / e.dur : Math.max(0, t);
      sums.set(label(e), (sums.get(label(e)) ?? 0) + part / 1000);
    }
    const name = `${names.get(tid) ?? "?"}`;
    const into = result.get(name) ?? new Map();
    for (const [k, v] of sums) into.set(k, (into.get(k) ?? 0) + v);
    result.set(name, into);
  }
  return result;
}

function measure(events) {
  const pictures = events.filter((e) => e.cat?.includes("blink.user_timing") && e.name === "picture")
                         .sort((a, b) => a.ts - b.ts);
  const first = pictures[0];
  if (!press) return ownTimes(events, first.pid, first.ts, first.ts + windowMs * 1000);
  const mark = events.find((e) => e.cat?.includes("blink.user_timing") && e.name === "press");
  const pressed = pictures.find((e) => e.ts > mark.ts);
  return ownTimes(events, first.pid, mark.ts, pressed.ts);
}

for (let round = 0; round < rounds; ++round) {
  for (const site of sites) site.rounds.push(measure(await trace(site)));
}
await browser.close();
for (const site of sites) site.server.close();

for (const site of sites) {
  console.log(`${site.directory}: own thread time ${press ? "from the press to its picture" : `in ${windowMs} ms after the first picture`}, mean of ${rounds} rounds (ms)`);
  const threads = new Map();
  for (const r of site.rounds) {
    for (const [thread, sums] of r) {
      const t = threads.get(thread) ?? new Map();
      for (const [k, v] of sums) {
        const s = t.get(k) ?? { sum: 0, n: 0 };
        s.sum += v;
        s.n += 1;
        t.set(k, s);
      }
      threads.set(thread, t);
    }
  }
  for (const [thread, t] of [...threads].sort((a, b) => a[0].localeCompare(b[0]))) {
    const total = [...t.values()].reduce((a, s) => a + s.sum, 0) / rounds;
    if (total < 0.05) continue;
    console.log(`  ${thread}: ${total.toFixed(2)}`);
    const rows = [...t].sort((a, b) => b[1].sum - a[1].sum).slice(0, top);
    for (const [k, s] of rows) {
      if (s.sum / rounds < 0.02) continue;
      console.log(`    ${(s.sum / rounds).toFixed(2).padStart(7)}  ${s.n}/${rounds}  ${k}`);
    }
  }
}
