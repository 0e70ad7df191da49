// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The Web Worker that owns the simulation (the C++ model and renderer
// compiled to WebAssembly). It answers every "show" message with the
// deflection plot (when asked) and then the scene picture, both drawn at the
// message's picture scale, as RGBA bytes ready for ImageData with their
// size, the scene with the sentence that tells where its end marks lie, the
// line under the settings and whether a mark lies on the screen.
//
// The module keeps the paths of the settings shown last. When no request
// has come for QUIET ms after a picture (a dragged thumb asks again within
// a few), the worker runs idle work, one computation at a time with a turn
// of the event loop between two, so that a new request waits for at most
// one of them: first, once, a short warm-up of the optimising tier, then
// the neighbours of the paths shown (a line step of the current or the
// voltage away, onwards first), which are then drawn at once.
//
// The single-file edition makes this worker from one text that brings the
// module (createVarek) and its bytes (self.varekModule) before this file.
if (typeof createVarek === "undefined") importScripts("varek.js");

const SIGNAL = { width: 241, height: 50 };  // the axes picture
const QUIET = 30;

let varek = null;
let warmedUp = false;
let idleWork = null;  // the timer of the next piece of idle work
const ready = createVarek(self.varekModule ?? {}).then((module) => {
  varek = module;
  varek._varek_create();
});

// The zero-ended UTF-8 text that the bridge left at `pointer`.
function textAt(pointer) {
  const bytes = new Uint8Array(varek.HEAPU32.buffer);
  return new TextDecoder().decode(bytes.subarray(pointer, bytes.indexOf(0, pointer)));
}

// The picture that the bridge left in the module's memory: a copy of its
// bytes and its size.
function picture(pointer) {
  const width = varek._varek_picture_width(), height = varek._varek_picture_height();
  return { width, height, pixels: new Uint8Array(varek.HEAPU32.buffer, pointer, width * height * 4).slice().buffer };
}

// The axes picture, 241 x 50 RGBA bytes, becomes the plot's background.
function setSignalAxes(rgba) {
  const size = SIGNAL.width * SIGNAL.height * 4;
  new Uint8Array(varek.HEAPU32.buffer, varek._varek_signal_axes_rgba(), size)
      .set(new Uint8Array(rgba, 0, Math.min(size, rgba.byteLength)));
  varek._varek_apply_signal_axes();
}

// values: every setting in the order of the settings table, choices as 1 or
// 0; scale: device pixels per picture pixel.
function show({ values, compute, scale }) {
  values.forEach((value, row) => varek._varek_set_setting(row, value));
  varek._varek_set_picture_scale(scale);
  if (varek._varek_signal_shown()) {
    const plot = picture(varek._varek_draw_signal());
    postMessage({ type: "signal", ...plot }, [plot.pixels]);
  }
  if (compute) varek._varek_compute();
  const scene = picture(varek._varek_render_scene());
  postMessage({ type: "scene", ...scene, marks: textAt(varek._varek_beam_marks()),
                hint: textAt(varek._varek_reading_hint()), screenHit: varek._varek_screen_hit() === 1,
                tone: { hertz: varek._varek_tone_hertz(), met: varek._varek_tone_met() === 1 } },
              [scene.pixels]);
  idleWork = setTimeout(idle, QUIET);
}

// One piece of idle work; the next after a turn of the event loop.
function idle() {
  idleWork = null;
  if (!warmedUp) varek._varek_warm_up();
  else if (!varek._varek_prepare_neighbour()) return;
  warmedUp = true;
  idleWork = setTimeout(idle, 0);
}

// A link's parameters [[name, text], ...], read by the program's core as the
// command lines read their flags: for each {value} (a choice 1 or 0) where it
// sets its setting, {notice} (a German sentence) where it does not.
function readLink(parameters) {
  const encoder = new TextEncoder();
  return parameters.map(([name, text]) => {
    const nameBytes = encoder.encode(name), bytes = encoder.encode(name + text);
    const at = varek._varek_link_parameter(bytes.length);
    new Uint8Array(varek.HEAPU32.buffer, at, bytes.length).set(bytes);
    return varek._varek_read_link_parameter(nameBytes.length) ? { value: varek._varek_link_value() }
                                                              : { notice: textAt(varek._varek_link_notice()) };
  });
}

onmessage = async ({ data }) => {
  clearTimeout(idleWork);
  idleWork = null;
  try {
    await ready;
    if (data.type === "axes") setSignalAxes(data.pixels);
    else if (data.type === "show") show(data);
    else if (data.type === "link") postMessage({ type: "link", replies: readLink(data.parameters) });
  } catch (error) {
    postMessage({ type: "error", message: String(error) });
  }
};
