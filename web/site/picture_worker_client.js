// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The page's side of the picture workers (picture_worker.js): a pool of
// them, each with a simulation of its own, so that a dragged thumb is
// followed at the rate of several computations at once.
//
// Settings asked for are numbered in the order they came. They go to an
// idle worker, the one whose paths are those of the settings if there is
// one (then it only draws again); while none is idle, only the latest wait.
// A picture is shown when it is newer than the one on the page, else
// dropped: the page never goes back to older settings. A computation under
// way runs to its end (ending a worker and starting another costs more), so
// its picture may come after a newer one and is then dropped.
//
// The paths that any worker computed come back as bytes and are kept here
// for all of them (as many as the workers say); settings whose paths are
// kept go out with them and are drawn at once by any worker.
//
// When nothing was asked for QUIET ms (a dragged thumb asks every few ms)
// and the pictures asked for are shown, the idle workers warm up their
// engine once (a worker that has computed paths leaving the axis already
// skips that at once), then compute the neighbours of the settings shown
// (a step of the current or the voltage away, as the worker names them)
// that are not kept, one each; with more than one worker, one stays free
// for the next request. The warm-up is not taken in parts: it comes first,
// while the user still looks at the first picture, not when a key may wait
// for it. A worker computes a neighbour in parts and takes a
// request between two of them, so settings asked for go to it too. The
// workers beyond the first start then too, after the first picture. Once
// all of them are idle for the first time, onSettled comes when nothing was
// asked for SETTLED ms: what can wait takes no time from the first changes.
//
// Messages that set something for later pictures (the plot's axes) go to
// every worker; everything a picture depends on goes with its request.
// A new picture scale (device pixels per picture pixel) only draws again.

// One worker for each core but one, at least one and at most four.
const PICTURE_WORKERS = Math.max(1, Math.min(4, (navigator.hardwareConcurrency || 1) - 1));
const QUIET = 30;
const SETTLED = 2000;

function sameSettings(a, b, keys = Object.keys(a)) {
  return a !== null && b !== null && keys.every((key) => a[key] === b[key]);
}

class PictureWorkerClient {
  // worker: the first picture worker, started with the page; startWorker():
  // another one.
  constructor(worker, startWorker, rows, { onScene, onSignal, onIdle, onSettled, onError }) {
    this.rows = rows;
    this.pathRows = rows.flatMap((row, index) => (row.stage === "paths" ? [index] : []));
    this.callbacks = { onScene, onSignal, onIdle, onSettled, onError };
    this.startWorker = startWorker;
    this.slots = [];
    this.addWorker(worker, true);
    this.latest = null;        // settings in force, with the scale
    this.latestNumber = 0;     // and their number
    this.waiting = false;      // whether the latest settings wait for a worker
    this.shown = null;         // settings of the pictures on the page
    this.shownNumber = 0;
    this.neighbours = [];      // of the settings shown
    this.last = null;          // {key, values} of the last paths asked for
    this.before = null;        // values of the paths asked for before them
    this.kept = new Map();     // paths' key -> bytes, used longest ago first
    this.keptMost = 0;
    this.preparing = new Set();
    this.quiet = false;
    this.quietTimer = null;
    this.settling = null;      // "timed" once the workers were idle, then "done"
    this.settleTimer = null;
    this.axes = null;
    this.scale = 1;            // of the pictures asked for
  }

  addWorker(worker, ready) {
    // job: a picture or the warm-up under way; preparing: the paths' key of
    // the neighbour under way (computed in parts: a picture asked for comes
    // between them).
    const slot = { worker, ready, job: null, preparing: null, paths: null, warmedUp: false };
    worker.onmessage = ({ data }) => this.receive(slot, data);
    worker.onerror = (event) => this.callbacks.onError(event.message || "Worker");
    // Its own "ready" may have come before the page's scripts: without the
    // number of kept paths, none were kept and the first neighbour was
    // computed over and over.
    worker.postMessage({ type: "ready" });
    if (this.axes) this.postAxes(slot);
    this.slots.push(slot);
  }

  setSignalAxes(rgba) {
    this.axes = rgba.slice();
    for (const slot of this.slots) this.postAxes(slot);
  }

  postAxes(slot) {
    const copy = this.axes.slice().buffer;
    slot.worker.postMessage({ type: "axes", pixels: copy }, [copy]);
  }

  // Asks for pictures of these settings (a copy is kept).
  show(settings) {
    this.latest = { ...settings, scale: this.scale };
    ++this.latestNumber;
    this.quiet = false;
    this.restartQuiet();
    if (this.settling === "timed") this.restartSettle();
    this.waiting = false;
    const running = this.slots.find((slot) => slot.job?.settings && sameSettings(this.latest, slot.job.settings));
    if (sameSettings(this.latest, this.shown)) {
      this.shownNumber = this.latestNumber;
      this.callbacks.onIdle();
    } else if (running) {
      running.job.number = this.latestNumber;
    } else {
      this.waiting = true;
      this.dispatch();
    }
  }

  // The pictures from now on at this scale; those shown are drawn again.
  setScale(scale) {
    if (scale === this.scale) return;
    this.scale = scale;
    if (this.latest) this.show(this.latest);
  }

  // A link's parameters [[name, text], ...] as the program's core reads them:
  // a promise of [{value} or {notice}, ...] (see picture_worker.js).
  readLink(parameters) {
    return new Promise((resolve) => {
      this.linkRead = resolve;
      this.slots[0].worker.postMessage({ type: "link", parameters });
    });
  }

  stop() {
    clearTimeout(this.quietTimer);
    clearTimeout(this.settleTimer);
    for (const slot of this.slots) slot.worker.terminate();
    this.slots = [];
  }

  restartQuiet() {
    clearTimeout(this.quietTimer);
    this.quietTimer = setTimeout(() => {
      this.quiet = true;
      this.dispatch();
    }, QUIET);
  }

  restartSettle() {
    clearTimeout(this.settleTimer);
    this.settleTimer = setTimeout(() => {
      this.settling = "done";
      this.callbacks.onSettled?.();
    }, SETTLED);
  }

  valuesOf(settings) {
    return this.rows.map((row) => Number(settings[row.name]));
  }

  pathKey(values) {
    return this.pathRows.map((row) => values[row]).join(" ");
  }

  keep(key, paths) {
    this.kept.delete(key);
    this.kept.set(key, paths);
    if (this.kept.size > this.keptMost) this.kept.delete(this.kept.keys().next().value);
  }

  recall(key) {
    const paths = this.kept.get(key);
    if (paths) this.keep(key, paths);
    return paths;
  }

  // Work for the idle workers: the settings waiting (also to a worker
  // computing a neighbour), else (when quiet) idle work; the other workers
  // start after the first picture.
  dispatch() {
    const free = this.slots.filter((slot) => slot.ready && !slot.job);
    if (this.waiting && free.length > 0) {
      const key = this.pathKey(this.valuesOf(this.latest));
      const slot = free.find((s) => s.paths === key) ?? free.find((s) => s.preparing === key) ?? free[0];
      this.send(slot);
      free.splice(free.indexOf(slot), 1);
    }
    const idle = free.filter((slot) => !slot.preparing);
    if (!this.quiet || this.shownNumber === 0) return;
    if (this.slots.length === 1 && PICTURE_WORKERS > 1) {
      for (let i = 1; i < PICTURE_WORKERS; ++i) this.addWorker(this.startWorker(), false);
    }
    // With more than one worker, the one holding the paths shown stays free
    // of neighbours for what is asked next.
    const shownKey = this.pathKey(this.valuesOf(this.shown));
    const spare = this.slots.length > 1 ? idle.find((s) => s.paths === shownKey) ?? idle[0] : null;
    for (const slot of idle) this.idleWork(slot, slot === spare);
    if (this.settling === null && !this.waiting &&
        this.slots.every((slot) => slot.ready && slot.warmedUp && !slot.job && !slot.preparing)) {
      this.settling = "timed";
      this.restartSettle();
    }
  }

  send(slot) {
    const settings = this.latest, values = this.valuesOf(settings), key = this.pathKey(values);
    if (key !== this.last?.key) {
      this.before = this.last?.values ?? values;
      this.last = { key, values };
    }
    const compute = slot.paths !== key;
    const paths = compute ? this.recall(key) : undefined;
    slot.paths = key;
    slot.job = { settings, number: this.latestNumber };
    this.waiting = false;
    slot.worker.postMessage({ type: "show", values, before: this.before, compute, paths, scale: settings.scale });
  }

  // A warm-up once, then (unless spare) a neighbour of the settings shown
  // that is not kept.
  idleWork(slot, spare) {
    if (!slot.warmedUp) {
      slot.job = { warmUp: true };
      slot.worker.postMessage({ type: "warm" });
      return;
    }
    if (spare) return;
    const next = this.neighbours.find((values) => {
      const key = this.pathKey(values);
      return !this.kept.has(key) && !this.preparing.has(key);
    });
    if (!next) return;
    slot.preparing = this.pathKey(next);
    this.preparing.add(slot.preparing);
    slot.worker.postMessage({ type: "prepare", values: next });
  }

  receive(slot, data) {
    const job = slot.job;
    if (data.type === "ready") {
      this.keptMost = data.kept;
      slot.ready = true;
    } else if (data.type === "picture") {
      slot.job = null;
      if (data.paths) this.keep(slot.paths, data.paths);
      if (job.number > this.shownNumber) this.showPicture(job, data);
      this.giveBack(slot, data);
    } else if (data.type === "paths") {
      const key = this.pathKey(data.values);
      this.preparing.delete(key);
      if (slot.preparing === key) slot.preparing = null;
      if (data.paths) this.keep(key, data.paths);
    } else if (data.type === "warm") {
      slot.job = null;
      slot.warmedUp = true;
    } else if (data.type === "link") {
      this.linkRead(data.replies);
    } else if (data.type === "error") {
      this.preparing.delete(slot.preparing);
      slot.preparing = null;
      slot.job = null;
      slot.paths = null;
      this.linkRead?.([]);  // a link the core cannot read sets nothing
      this.callbacks.onError(data.message);
    }
    this.dispatch();
  }

  // The pictures' buffers go back to their worker once shown (the canvas
  // has copied them) or dropped: it takes the next pictures' bytes into them.
  giveBack(slot, { scene, signal }) {
    const buffers = [scene.pixels, signal?.pixels].filter((buffer) => buffer?.byteLength > 0);
    slot.worker.postMessage({ type: "pixels", buffers }, buffers);
  }

  showPicture(job, data) {
    const picture = ({ width, height, pixels }) => ({ width, height, rgba: new Uint8ClampedArray(pixels) });
    this.shown = job.settings;
    this.shownNumber = job.number;
    this.neighbours = data.neighbours;
    if (data.signal) this.callbacks.onSignal(picture(data.signal));
    this.callbacks.onScene(picture(data.scene), data.marks,
                           { hint: data.hint, screenHit: data.screenHit, tone: data.tone });
    if (this.shownNumber === this.latestNumber) this.callbacks.onIdle();
  }
}
