"use strict";
// The Web Worker that owns the simulation (the C++ model and renderer
// compiled to WebAssembly). It answers every "show" message with the
// deflection plot (when asked) and then the scene picture, both as RGBA
// pixels ready for ImageData.
importScripts("varek.js");

const SCENE = { width: 720, height: 440 };
const SIGNAL = { width: 241, height: 50 };

let varek = null;
const ready = createVarek().then((module) => {
  varek = module;
  varek._varek_create();
});

// The bitmaps hold 0x00RRGGBB; ImageData wants the bytes R, G, B, A, which a
// little-endian Uint32Array holds as 0xAABBGGRR.
function rgbaCopy(pointer, size) {
  const source = new Uint32Array(varek.HEAPU32.buffer, pointer, size.width * size.height);
  const rgba = new Uint32Array(source.length);
  for (let i = 0; i < source.length; ++i) {
    const p = source[i];
    rgba[i] = 0xff000000 | ((p & 0xff) << 16) | (p & 0xff00) | ((p >>> 16) & 0xff);
  }
  return rgba.buffer;
}

function setSignalAxes(rgba) {
  const pixels = new Uint32Array(rgba);
  const target = new Uint32Array(varek.HEAPU32.buffer, varek._varek_signal_axes_pixels(),
                                 SIGNAL.width * SIGNAL.height);
  for (let i = 0; i < target.length; ++i) {
    const p = pixels[i];
    target[i] = ((p & 0xff) << 16) | (p & 0xff00) | ((p >>> 16) & 0xff);
  }
  varek._varek_apply_signal_axes();
}

function show({ id, settings: s, compute, signal }) {
  varek._varek_set_settings(s.voltage, s.current, s.amplitude, s.deflectionOn, s.steady,
                            s.turnAxis, s.turnVertical, s.coilVisible, s.screenTransparent,
                            s.pathWidth);
  if (signal) {
    const plot = rgbaCopy(varek._varek_draw_signal(), SIGNAL);
    postMessage({ type: "signal", id, pixels: plot }, [plot]);
  }
  if (compute) varek._varek_compute();
  const scene = rgbaCopy(varek._varek_render_scene(), SCENE);
  postMessage({ type: "scene", id, pixels: scene }, [scene]);
}

onmessage = async ({ data }) => {
  try {
    await ready;
    if (data.type === "axes") setSignalAxes(data.pixels);
    else if (data.type === "show") show(data);
  } catch (error) {
    postMessage({ type: "error", message: String(error) });
  }
};
