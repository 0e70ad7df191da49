// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The page's side of the picture worker. At most one request is out at a
// time; while it runs, only the latest settings are kept, and they go out as
// soon as its picture arrives. A dragged thumb is thus followed at the rate
// the computations finish, and the last picture shows the last settings.
// The paths are integrated again only when a setting of the stage "paths"
// changed; a new picture scale (device pixels per picture pixel) only draws
// again. The worker gets the values in the order of the description's rows,
// choices as 1 or 0.

function sameSettings(a, b, keys = Object.keys(a)) {
  return a !== null && b !== null && keys.every((key) => a[key] === b[key]);
}

class PictureWorkerClient {
  constructor(worker, rows, { onScene, onSignal, onIdle, onError }) {
    this.worker = worker;
    this.rows = rows;
    this.physical = rows.filter((row) => row.stage === "paths").map((row) => row.name);
    this.callbacks = { onScene, onSignal, onIdle, onError };
    this.inFlight = null;      // settings of the request out, or null
    this.latest = null;        // settings in force
    this.computed = null;      // physical settings of the last computation sent
    this.shown = null;         // settings of the pictures on the page
    this.scale = 1;            // of the pictures asked for
    this.worker.onmessage = ({ data }) => this.receive(data);
    this.worker.onerror = (event) => onError(event.message || "Worker");
  }

  setSignalAxes(rgba) {
    const copy = rgba.slice().buffer;
    this.worker.postMessage({ type: "axes", pixels: copy }, [copy]);
  }

  // Asks for pictures of these settings (a copy is kept).
  show(settings) {
    this.latest = { ...settings, scale: this.scale };
    if (this.inFlight) return;
    if (sameSettings(this.latest, this.shown)) this.callbacks.onIdle();
    else this.send();
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
      this.worker.postMessage({ type: "link", parameters });
    });
  }

  stop() {
    this.worker.terminate();
    this.inFlight = null;
  }

  send() {
    const s = this.latest;
    const compute = !sameSettings(s, this.computed, this.physical);
    if (compute) this.computed = s;
    this.inFlight = s;
    const values = this.rows.map((row) => Number(s[row.name]));
    this.worker.postMessage({ type: "show", values, compute, scale: s.scale });
  }

  receive(data) {
    const picture = () => ({ width: data.width, height: data.height, rgba: new Uint8ClampedArray(data.pixels) });
    if (data.type === "signal") {
      this.callbacks.onSignal(picture());
    } else if (data.type === "scene") {
      this.callbacks.onScene(picture(), data.marks,
                             { hint: data.hint, screenHit: data.screenHit, tone: data.tone });
      this.shown = this.inFlight;
      this.inFlight = null;
      if (!sameSettings(this.latest, this.shown)) this.send();
      else this.callbacks.onIdle();
    } else if (data.type === "link") {
      this.linkRead(data.replies);
    } else if (data.type === "error") {
      this.linkRead?.([]);  // a link the core cannot read sets nothing
      this.callbacks.onError(data.message);
    }
  }
}
