// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// A Web Worker that owns a simulation (the C++ model and renderer compiled
// to WebAssembly); the page runs a few of them (picture_worker_client.js).
// It tells the page when its module has started ("ready", with how many
// kept paths the page holds for all workers), then answers each message in
// turn:
//   ready    "ready" again: the page's scripts, come late, may have missed it
//   show     the scene picture (and the deflection plot where it is shown)
//            at the message's picture scale, as RGBA bytes ready for
//            ImageData with their size, the sentence that tells where the
//            end marks lie, the line under the settings, whether a mark lies
//            on the screen, the marks' tone, and the neighbours of the
//            settings (a step of the current or the voltage away, the
//            way on from `before` first); with the paths as bytes where
//            they were computed and the page did not bring them
//   prepare  the paths of other settings as bytes, computed in parts on a
//            simulation of their own (the scene shown stays); messages that
//            come meanwhile are answered between the parts
//   warm     a short warm-up of the engine's optimising tier (the worker
//            runs its first samples by itself as its module starts)
//   link     a link's parameters read as the command lines read them
//   axes     (no answer) the plot's axes picture
//   pixels   (no answer) the buffers of pictures the page has shown, to
//            take the next pictures' bytes: a dragged thumb asks for dozens
//            of pictures a second, each of a megabyte or more
//
// The build puts the module's code (varek.js: createVarek) before this file.
// The worker loads varek.wasm itself as it starts and compiles it while it
// arrives, without a word from the page: what the page hands a starting
// worker (a message, a stream's bytes) goes through the page's thread, which
// is busy building and laying out the page then (on a slow phone for half a
// second). The single-file edition puts the module's bytes
// (self.varekModule) before it all.

const SIGNAL = { width: 241, height: 50 };  // the axes picture

let varek = null;
const readyMessage = () => ({ type: "ready", kept: varek._varek_page_kept_results() });
const ready = createVarek(self.varekModule ?? {}).then((module) => {
  varek = module;
  varek._varek_create();
  postMessage(readyMessage());
  startUpWarmUp.port2.postMessage(null);
});

// As soon as the module has started, a light warm-up: the warm-up's first
// samples (varek_warm_up_on), 1,200 steps of a turning path in parts of 10
// samples, enough for V8 to queue the step's optimisation, which it compiles
// aside while the page is still being built; little of the processor's time
// that the building needs. Messages that come meanwhile are answered between
// the parts; a request for a picture or paths ends it. A "warm" message does
// the rest of the warm-up at once.
const WARM_UP_PART = 10;  // samples
let startUpParts = 4;
const startUpWarmUp = new MessageChannel();
startUpWarmUp.port1.onmessage = () => {
  if (startUpParts-- > 0 && !varek._varek_warm_up_on(WARM_UP_PART)) startUpWarmUp.port2.postMessage(null);
};

// The zero-ended UTF-8 text that the bridge left at `pointer`.
function textAt(pointer) {
  const bytes = new Uint8Array(varek.HEAPU32.buffer);
  return new TextDecoder().decode(bytes.subarray(pointer, bytes.indexOf(0, pointer)));
}

// Buffers given back by the page (see "pixels"), a few at most.
const SPARE_BUFFERS = 4;
const spareBuffers = [];

// The picture that the bridge left in the module's memory: a copy of its
// bytes, in a buffer given back where one has the size, and its size.
function picture(pointer) {
  const width = varek._varek_picture_width(), height = varek._varek_picture_height();
  const size = width * height * 4;
  const spare = spareBuffers.findIndex((buffer) => buffer.byteLength === size);
  const pixels = spare >= 0 ? spareBuffers.splice(spare, 1)[0] : new ArrayBuffer(size);
  new Uint8Array(pixels).set(new Uint8Array(varek.HEAPU32.buffer, pointer, size));
  return { width, height, pixels };
}

// Copies `bytes` (a Uint8Array) into the module's memory at `pointer`.
function writeBytes(pointer, bytes) {
  new Uint8Array(varek.HEAPU32.buffer, pointer, bytes.length).set(bytes);
}

// The axes picture, 241 x 50 RGBA bytes, becomes the plot's background.
function setSignalAxes(rgba) {
  const size = SIGNAL.width * SIGNAL.height * 4;
  writeBytes(varek._varek_signal_axes_rgba(), new Uint8Array(rgba, 0, Math.min(size, rgba.byteLength)));
  varek._varek_apply_signal_axes();
}

// Every setting in the order of the settings table, choices as 1 or 0: of
// the settings in force, or of those before the last change.
function setSettings(values, before = 0) {
  values.forEach((value, row) => varek._varek_set_setting(row, value, before));
}

// The kept paths of the settings in force as bytes, or null.
function packedPaths() {
  const at = varek._varek_pack_paths(), size = varek._varek_packed_size();
  return size === 0 ? null : new Uint8Array(varek.HEAPU32.buffer, at, size).slice().buffer;
}

// Bytes that packedPaths gave (in this worker or another) kept as the paths
// of the settings in force.
function keepPaths(paths) {
  writeBytes(varek._varek_paths_room(paths.byteLength), new Uint8Array(paths));
  if (!varek._varek_keep_paths()) throw new Error("Wege in falscher Form");
}

// The neighbours of the settings in force, each as every setting's value
// in the order of the settings table (rowCount of them).
function neighbours(rowCount) {
  const count = varek._varek_neighbours(), first = varek._varek_neighbour_values() / 4;
  const all = new Int32Array(varek.HEAPU32.buffer).subarray(first, first + count * rowCount);
  return Array.from({ length: count }, (_, i) => Array.from(all.subarray(i * rowCount, (i + 1) * rowCount)));
}

// values and before: settings (see setSettings); scale: device pixels per
// picture pixel; compute: the paths are not those of the last show;
// paths: their bytes, where the page keeps them.
function show({ id, values, before, compute, paths, scale }) {
  setSettings(values);
  setSettings(before, 1);
  varek._varek_set_picture_scale(scale);
  const reply = { type: "picture", id };
  const transfer = [];
  if (varek._varek_signal_shown()) {
    reply.signal = picture(varek._varek_draw_signal());
    transfer.push(reply.signal.pixels);
  }
  if (compute) {
    if (paths) keepPaths(paths);
    varek._varek_compute();
    if (!paths) reply.paths = packedPaths();
    if (reply.paths) transfer.push(reply.paths);
  }
  reply.scene = picture(varek._varek_render_scene());
  transfer.push(reply.scene.pixels);
  reply.marks = textAt(varek._varek_beam_marks());
  reply.hint = textAt(varek._varek_reading_hint());
  reply.screenHit = varek._varek_screen_hit() === 1;
  reply.tone = { hertz: varek._varek_tone_hertz(), met: varek._varek_tone_met() === 1 };
  reply.neighbours = neighbours(values.length);
  postMessage(reply, transfer);
}

// A neighbour is computed in parts of PART samples (a millisecond or two),
// the messages that came meanwhile answered between them: a picture asked
// for waits one part at most; one of the neighbour's own settings takes its
// computation over.
const PART = 100;
let preparing = null;  // the values of the neighbour under way
const nextPart = new MessageChannel();

function prepare({ values }) {
  setSettings(values);
  varek._varek_start_preparing();
  preparing = values;
  prepareOn();
}

function prepareOn() {
  if (!preparing) return;
  try {
    if (!varek._varek_prepare_on(PART)) {
      nextPart.port2.postMessage(null);
      return;
    }
    setSettings(preparing);
    postMessage({ type: "paths", values: preparing, paths: packedPaths() });
  } catch (error) {
    postMessage({ type: "error", message: String(error) });
  }
  preparing = null;
}
nextPart.port1.onmessage = prepareOn;

// A link's parameters [[name, text], ...], read by the program's core as the
// command lines read their flags: for each {value} (a choice 1 or 0) where it
// sets its setting, {notice} (a German sentence) where it does not.
function readLink(parameters) {
  const encoder = new TextEncoder();
  return parameters.map(([name, text]) => {
    const nameBytes = encoder.encode(name), bytes = encoder.encode(name + text);
    writeBytes(varek._varek_link_parameter(bytes.length), bytes);
    return varek._varek_read_link_parameter(nameBytes.length) ? { value: varek._varek_link_value() }
                                                              : { notice: textAt(varek._varek_link_notice()) };
  });
}

onmessage = async ({ data }) => {
  try {
    await ready;
    if (["show", "prepare", "warm"].includes(data.type)) startUpParts = 0;
    if (data.type === "ready") postMessage(readyMessage());
    else if (data.type === "axes") setSignalAxes(data.pixels);
    else if (data.type === "pixels") {
      spareBuffers.unshift(...data.buffers);
      spareBuffers.length = Math.min(spareBuffers.length, SPARE_BUFFERS);
    }
    else if (data.type === "show") show(data);
    else if (data.type === "prepare") prepare(data);
    else if (data.type === "warm") {
      varek._varek_warm_up_on(0x7fffffff);
      postMessage({ type: "warm" });
    }
    else if (data.type === "link") postMessage({ type: "link", replies: readLink(data.parameters) });
  } catch (error) {
    postMessage({ type: "error", message: String(error) });
  }
};
