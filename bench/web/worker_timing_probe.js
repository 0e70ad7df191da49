// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// Appended to picture_worker.js in a copy of the site by worker_timeline.mjs
// (never part of the site): keeps in memory, for every message the worker
// answers, every part of a neighbour and every call of the module's
// functions below, when it began and ended (ms since the epoch, as the
// page's clock), so that timestamps cost no console and no message.
// probeIntegrate(row, value) integrates the last settings shown with one
// row of the settings (by its place in their table) changed on the idle
// simulation in one call and gives its time in ms (it
// ends the neighbour under way).
self.probeLog = [];
{
  const now = () => performance.timeOrigin + performance.now();
  const note = (what, start, extra) => self.probeLog.push({ what, start, end: now(), ...extra });
  const answer = self.onmessage;
  self.onmessage = async (event) => {
    const start = now();
    const { type, values } = event.data;
    if (type === "show") self.probeShown = values;
    await answer(event);
    note(type, start, { values: values?.slice(0, 2).join("/") });
  };
  const part = nextPart.port1.onmessage;
  nextPart.port1.onmessage = (event) => {
    const start = now();
    part(event);
    note("part", start);
  };
  const TIMED = ["compute", "render_scene", "pack_paths", "keep_paths", "neighbours", "prepare_on", "warm_up_on"];
  ready.then(() => {
    for (const name of TIMED) {
      // Called straight: the module's own wrapper replaces itself at its first call.
      const raw = varek.asm?.[`varek_${name}`] ?? varek[`_varek_${name}`];
      varek[`_varek_${name}`] = (...args) => {
        const start = now();
        const result = raw(...args);
        note(name, start);
        return result;
      };
    }
  });
  self.probeIntegrate = (row, value) => {
    const values = self.probeShown.slice();
    values[row] = value;
    setSettings(values);
    const start = performance.now();
    varek._varek_start_preparing();
    while (!varek._varek_prepare_on(0x7fffffff));
    return performance.now() - start;
  };
}
