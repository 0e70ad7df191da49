// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What the benchmarks of the first key press after a heavy load share
// (worker_timeline.mjs, press_thread_time.mjs): the case, their command
// line, the browser and the table of each site's values by round.
import { resolve } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

// The first heavy case of page_timings.mjs.
export const HEAVY_QUERY = "?voltage=51&current=1000&mode=ac&amplitude=10&deflection=on";

// [--rounds N] [SITE...]: the rounds (default 3) and the sites' folders
// (default build/web/site).
export function commandLine(options = process.argv.slice(2)) {
  let rounds = 3;
  const directories = [];
  for (let i = 0; i < options.length; ++i) {
    if (options[i] === "--rounds") rounds = Number(options[++i]);
    else directories.push(options[i]);
  }
  const here = fileURLToPath(new URL(".", import.meta.url));
  if (directories.length === 0) directories.push(resolve(here, "../../build/web/site"));
  return { rounds, directories };
}

export function launchBrowser() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
    defaultViewport: { width: 1280, height: 1024 },
  });
}

export const ready = (page) => page.waitForSelector("html[data-state=ready]", { timeout: 60000 });

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
