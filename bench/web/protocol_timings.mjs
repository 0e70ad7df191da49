// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Timings of the page's measurement protocol in headless chromium (prints
// numbers, asserts none): a table of N rows imported into an empty store,
// then "Messwert übernehmen", "Zeile löschen" (the first row), "Rückgängig"
// and an import of 100 rows appended ("Anhängen" answered at once), each
// from the click (or the file chosen) to the frame that shows the status
// line's new text, with the store's lock, the IndexedDB transaction, the
// panel's refresh, the plot and the page's layout in the time (a file to
// import is made in the page before).
//
//   node bench/web/protocol_timings.mjs [--rounds N] [--rows N,...] [--uncertainty] [--phases MS]
//                                       [--pixel-ratio R] [SITE...]
//   (default 1 round, 2000 and 20000 rows, build/web/site; --uncertainty:
//   every row with its ΔI, so that the plot draws an error bar for each;
//   --phases MS: also the times at which the protocol's steps began and
//   ended in each run, kept in the page, printed for the runs over MS ms;
//   the steps are timed by wrapping the page's methods, which costs a little;
//   --pixel-ratio R: the screen's device pixels per CSS pixel, default 1:
//   the plot has R² as many pixels, its marks as many each)
//
// With several sites (e.g. the builds of two commits) each round measures
// every site in turn, so that they share the machine's load. Prints min
// and median of each measurement over all rounds, then how many runs of
// each site took more than 100 ms; and for each further site the runs'
// differences to the first site's runs of the same round and place in it
// (quartiles and median: the machine's load varies less within a pair).
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";

import { serveDirectory } from "../../web/static_server.mjs";
import { launchBrowser, ready } from "./page_bench.mjs";

const root = resolve(fileURLToPath(new URL(".", import.meta.url)), "../..");
const options = process.argv.slice(2);
let rounds = 1;
let sizes = [2000, 20000];
let uncertainty = false;
let phasesOver = null;  // print the steps of the runs longer than this (ms)
let pixelRatio = 1;
const directories = [];
for (let i = 0; i < options.length; ++i) {
  if (options[i] === "--rounds") rounds = Number(options[++i]);
  else if (options[i] === "--rows") sizes = options[++i].split(",").map(Number);
  else if (options[i] === "--uncertainty") uncertainty = true;
  else if (options[i] === "--phases") phasesOver = Number(options[++i]);
  else if (options[i] === "--pixel-ratio") pixelRatio = Number(options[++i]);
  else directories.push(options[i]);
}
if (directories.length === 0) directories.push(join(root, "build/web/site"));
const ACTIONS_PER_ROUND = 5;
const APPENDED_ROWS = 100;

const sites = [];
for (const directory of directories) {
  const { server, url } = await serveDirectory(directory);
  sites.push({ directory, server, url, results: new Map() });
}
const browser = await launchBrowser({
  defaultViewport: { width: 1600, height: 900, deviceScaleFactor: pixelRatio },
  protocolTimeout: 600000,
});

function note(site, name, value) {
  if (!site.results.has(name)) site.results.set(name, []);
  if (typeof value === "object") {
    (site.phases ??= []).push({ name, round: site.round, ...value });
    value = value.ms;
  }
  site.results.get(name).push(value);
}

// With --phases: the protocol's methods wrapped, each call's start and end
// (and an asynchronous one's settling) kept in window.benchPhases.
const watchPhases = (page) => page.evaluate(() => {
  window.benchPhases = [];
  const note = (label) => window.benchPhases.push([label, performance.now()]);
  const wrap = (object, name, label = name) => {
    const f = object[name];
    object[name] = function (...args) {
      note(`${label}<`);
      const result = f.apply(this, args);
      note(`${label}>`);
      if (typeof result?.then === "function") result.then(() => note(`${label} settled`));
      return result;
    };
  };
  const p = Form1.protocol;
  for (const name of ["Apply", "Refresh", "Prepare", "Import"]) wrap(p, name);
  for (const name of ["record", "importCsv", "remove", "undo", "step", "commit", "fillCopy", "viewHead", "viewRows"]) wrap(p.core, name);
  wrap(p.store, "stepInDatabase");
  wrap(p.store.pieces, "write", "pieces.write");
  wrap(p.plot, "draw", "plot.draw");
  wrap(p.plot, "prepare", "plot.prepare");
  wrap(p.rows, "ShowRows", "rows.ShowRows");
  const question = window.askQuestion;
  window.askQuestion = (...args) => { note("question"); return question(...args); };
});

// A series of `rows` readings, all different, in the exchange form.
function series(rows) {
  let text = `U in V;I in A;k${uncertainty ? ";ΔI in A" : ""}\n`;
  for (let i = 0; i < rows; ++i) {
    const voltage = 300 + (i % 1700);
    text += `${voltage};${(Math.sqrt(voltage / 1200) * 1.231).toFixed(3).replace(".", ",")};1${uncertainty ? ";0,008" : ""}\n`;
  }
  return text;
}

// Runs `act` in the page and waits until the status line changes: the milliseconds between.
// With --phases: {ms, phases}, the steps' times from the action on.
function timed(page, act) {
  return page.evaluate((act, phases) => new Promise((done) => {
    const status = document.getElementById("ProtocolStatus");
    const before = status.textContent;
    if (phases) window.benchPhases.length = 0;
    const t0 = performance.now();
    const finish = (ms) => done(phases ? { ms, phases: [...window.benchPhases, ["shown", t0 + ms]]
                                                           .map(([label, t]) => [label, Math.round((t - t0) * 10) / 10]) }
                                       : ms);
    // Written, and the frame that shows it drawn.
    const observer = new MutationObserver(() => {
      if (status.textContent === before) return;
      observer.disconnect();
      if (phases) window.benchPhases.push(["status written", performance.now()]);
      requestAnimationFrame(() => setTimeout(() => finish(performance.now() - t0), 0));
    });
    observer.observe(status, { childList: true, characterData: true, subtree: true });
    new Function(act)();
  }), act, phasesOver !== null);
}

// Makes the file `name` with `text` in the page, before the clock runs (its
// text as a script of the page would take as long to read as the import).
const prepare = (page, name, text) => page.evaluate((name, text) => {
  window.benchFile = new File([text], name, { type: "text/csv" });
}, name, text);

// The statement that chooses the file made by `prepare` for "CSV importieren"
// and answers the question, if one comes, with "Anhängen".
const importing = `{
  const answer = new MutationObserver(() => {
    const append = [...document.querySelectorAll("dialog.question[open] button")].find((b) => b.textContent === "Anhängen");
    if (append) { answer.disconnect(); append.click(); }
  });
  answer.observe(document.body, { childList: true, subtree: true, attributes: true });
  const input = document.getElementById("ProtocolImportFile");
  const files = new DataTransfer();
  files.items.add(window.benchFile);
  input.files = files.files;
  input.dispatchEvent(new Event("change"));
}`;

async function measure(site, rows, text) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  page.setDefaultTimeout(600000);
  await page.goto(`${site.url}?voltage=1200&current=1231&deflection=on&mode=ac&amplitude=200`);
  await ready(page);
  await page.evaluate(() => document.getElementById("ProtocolButton").click());
  await page.waitForFunction(() => document.querySelector("#ProtocolTable thead tr"), { timeout: 60000 });
  if (phasesOver !== null) await watchPhases(page);
  await prepare(page, `reihe-${rows}.csv`, text);
  note(site, `import into an empty table, ${rows} rows`, await timed(page, importing));
  const appended = series(APPENDED_ROWS);
  for (let i = 0; i < ACTIONS_PER_ROUND; ++i) {
    // A new current each time (the same reading twice would ask), shown before the click.
    await page.evaluate(() => new Promise((done) => {
      Form1.ScrollBar7.setPosition(Form1.ScrollBar7.position + 1);
      requestAnimationFrame(() => requestAnimationFrame(done));
    }));
    note(site, `record at ${rows} rows`, await timed(page, "document.getElementById('ProtocolRecord').click();"));
    await page.evaluate(() => new Promise((done) => {
      document.getElementById("ProtocolTable").scrollTop = 0;
      requestAnimationFrame(() => {
        document.querySelector("#ProtocolTable tbody tr:first-child").click();
        requestAnimationFrame(() => requestAnimationFrame(done));
      });
    }));
    note(site, `delete the first row at ${rows} rows`, await timed(page, "document.getElementById('ProtocolDelete').click();"));
    note(site, `undo the deletion at ${rows} rows`, await timed(page, "document.getElementById('ProtocolUndo').click();"));
    await prepare(page, `anhang-${i}.csv`, appended);
    note(site, `import of ${APPENDED_ROWS} rows appended at ${rows} rows`, await timed(page, importing));
  }
  await context.close();
}

const files = new Map(sizes.map((rows) => [rows, series(rows)]));
for (let round = 0; round < rounds; ++round) {
  for (const rows of sizes) {
    for (const site of sites) {
      site.round = round;
      await measure(site, rows, files.get(rows));
    }
  }
}

const sorted = (values) => [...values].sort((a, b) => a - b);
for (const name of sites[0].results.keys()) {
  console.log(name);
  for (const site of sites) {
    const s = sorted(site.results.get(name) ?? [NaN]);
    console.log(`  ${site.directory}: min ${s[0].toFixed(1)}, median ${s[Math.floor(s.length / 2)].toFixed(1)}, ` +
                `max ${s.at(-1).toFixed(1)} ms (${s.length} runs)`);
  }
}
for (const site of sites) {
  const runs = [...site.results.values()].flat();
  console.log(`${site.directory}: ${runs.filter((ms) => ms > 100).length} of ${runs.length} runs over 100 ms`);
}
for (const site of sites.slice(1)) {
  console.log(`${site.directory} minus ${sites[0].directory}, run by run (ms): lower quartile, median, upper quartile`);
  for (const [name, base] of sites[0].results) {
    const d = sorted((site.results.get(name) ?? []).map((ms, i) => ms - base[i]));
    const q = (f) => d[Math.floor((d.length - 1) * f)].toFixed(1);
    if (d.length > 0) console.log(`  ${name}: ${q(0.25)}, ${q(0.5)}, ${q(0.75)} (${d.length} pairs)`);
  }
}
if (phasesOver !== null) {
  for (const site of sites) {
    console.log(`${site.directory}: the steps of the runs over ${phasesOver} ms`);
    for (const run of site.phases.filter((run) => run.ms > phasesOver)) {
      console.log(`  ${run.ms.toFixed(1)} ms, ${run.name} (round ${run.round + 1}): ${run.phases.map(([label, t]) => `${label} ${t}`).join(", ")}`);
    }
  }
}
await browser.close();
for (const site of sites) site.server.close();
