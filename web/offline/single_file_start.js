// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// How the single-file edition (varek-em.html) starts, in place of the site's
// site_start.js. A page from a file may load nothing from its folder, and a
// worker made from a Blob may load nothing either (no importScripts, no
// fetch of another Blob): so everything comes from the page's own text.
// make_offline.mjs puts before this script
//   VarekEmbedded   the text of picture_worker.js (the module's code inside)
//                   and the bytes of both modules (base64), by their site file names
//   createVarekProtocol   the protocol's module (varek_protocol.js)
/* global VarekEmbedded, createVarekProtocol: writable */

// The picture workers: the simulation's bytes and picture_worker.js in one text.
const pictureWorkerUrl = URL.createObjectURL(new Blob([
  "self.varekModule = { wasmBinary: Uint8Array.from(atob(",
  JSON.stringify(VarekEmbedded["varek.wasm"]), "), (c) => c.charCodeAt(0)) };\n",
  VarekEmbedded["picture_worker.js"],
], { type: "text/javascript" }));
window.startPictureWorker = () => new Worker(pictureWorkerUrl);
window.pictureWorker = window.startPictureWorker();

// The protocol's module instantiates its bytes from the page.
createVarekProtocol = ((create) => (options = {}) => create({
  wasmBinary: Uint8Array.from(atob(VarekEmbedded["varek_protocol.wasm"]), (c) => c.charCodeAt(0)),
  ...options,
}))(createVarekProtocol);
