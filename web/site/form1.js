// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// TForm1 in the page: the controls, their handlers, start-up and end.
//
// The settings live in the controls. Every handler updates its readout or
// panel and then asks for pictures of the settings now in force; the worker
// integrates again only when a physical setting changed. <html data-state>
// is "ready" while the pictures show the settings in force and nothing is
// pending, "busy" otherwise.

const byId = (id) => document.getElementById(id);

function setPageState(state) { document.documentElement.dataset.state = state; }

// The coil current in A from the position in mA, in the general number
// format: no trailing zeros, no separator for whole amperes, decimal comma.
function coilCurrentText(milliamperes) {
  const whole = String(Math.trunc(milliamperes / 1000));
  const thousandths = String(milliamperes % 1000).padStart(3, "0").replace(/0+$/, "");
  return thousandths === "" ? whole : `${whole},${thousandths}`;
}

function putPixels(canvas, rgba) {
  canvas.getContext("2d").putImageData(new ImageData(rgba, canvas.width, canvas.height), 0, 0);
}

// The pixels of a decoded picture as the browser draws it.
function picturePixels(image) {
  const canvas = document.createElement("canvas");
  canvas.width = image.naturalWidth;
  canvas.height = image.naturalHeight;
  const context = canvas.getContext("2d", { willReadFrequently: true });
  context.drawImage(image, 0, 0);
  return context.getImageData(0, 0, canvas.width, canvas.height).data;
}

class TForm1 {
  constructor(start) {
    // Controls are built from their initial values (the prepared settings);
    // no handler is attached yet, so none runs.
    const positions = {
      ScrollBar1: start.turnAxis, ScrollBar2: start.turnVertical, ScrollBar3: start.amplitude,
      ScrollBar4: start.voltage, ScrollBar7: start.current,
    };
    for (const [id, position] of Object.entries(positions)) {
      byId(id).dataset.position = String(position);
      this[id] = new ScrollBar(byId(id));
    }
    for (const id of ["Edit1", "Edit5", "Edit7", "Edit8", "CheckBox1", "CheckBox5", "AblenkEin",
                      "AblenkAus", "Gleichspannung", "Wechselspannung", "RadioButton1",
                      "RadioButton2", "Panel1", "Panel4", "Panel10", "Panel11", "PaintBox1",
                      "PaintBox2", "Image3", "Notice", "Form1", "Closed"]) {
      this[id] = byId(id);
    }
    this.deflection = new RadioGroup([this.AblenkEin, this.AblenkAus]);
    this.deflection.select(start.deflectionOn ? this.AblenkEin : this.AblenkAus);
    this.voltageKind = new RadioGroup([this.Gleichspannung, this.Wechselspannung]);
    this.voltageKind.select(start.steady ? this.Gleichspannung : this.Wechselspannung);
    this.pathWidth = new RadioGroup([this.RadioButton1, this.RadioButton2]);
    this.pathWidth.select(start.pathWidth === 2 ? this.RadioButton2 : this.RadioButton1);
    this.CheckBox5.checked = start.coilVisible;
    this.CheckBox1.checked = start.screenTransparent;
    this.Panel11.hidden = !start.deflectionOn;

    this.pictures = new PictureWorkerClient(window.pictureWorker, {
      onScene: (rgba) => putPixels(this.PaintBox1, rgba),
      onSignal: (rgba) => putPixels(this.PaintBox2, rgba),
      onIdle: () => { if (!this.ended) setPageState("ready"); },
      onError: (message) => this.addNotice(`Die Rechnung kann nicht laufen: ${message}`),
    });
    this.attachHandlers();
    this.FormCreate();
  }

  attachHandlers() {
    for (const id of ["ScrollBar1", "ScrollBar2", "ScrollBar3", "ScrollBar4", "ScrollBar7"]) {
      this[id].onChange = () => this[`${id}Change`]();
    }
    this.deflection.on(this.AblenkEin, () => this.AblenkEinClick());
    this.deflection.on(this.AblenkAus, () => this.AblenkAusClick());
    this.voltageKind.on(this.Gleichspannung, () => this.Refresh());
    this.voltageKind.on(this.Wechselspannung, () => this.Refresh());
    this.pathWidth.on(this.RadioButton1, () => this.Refresh());
    this.pathWidth.on(this.RadioButton2, () => this.Refresh());
    this.CheckBox5.addEventListener("change", () => this.Refresh());
    this.CheckBox1.addEventListener("change", () => this.Refresh());
    const clicks = {
      Button3: () => this.Button3Click(), Button5: () => this.Button5Click(),
      Button1: () => this.Button1Click(), Button14: () => this.Button14Click(),
      Button6: () => this.Button6Click(), Button7: () => this.Button7Click(),
      Button2: () => this.Button2Click(),
    };
    for (const [id, handler] of Object.entries(clicks)) byId(id).addEventListener("click", handler);
  }

  FormCreate() {
    this.Edit5.value = coilCurrentText(this.ScrollBar7.position);
    this.Edit1.value = String(this.ScrollBar4.position);
    this.Edit7.value = String(this.ScrollBar1.position);
    this.Edit8.value = String(-this.ScrollBar2.position);
  }

  // The settings in force, as the controls hold them.
  Settings() {
    return {
      voltage: this.ScrollBar4.position,
      current: this.ScrollBar7.position,
      amplitude: this.ScrollBar3.position,
      deflectionOn: this.AblenkEin.checked,
      steady: this.Gleichspannung.checked,
      turnAxis: this.ScrollBar1.position,
      turnVertical: this.ScrollBar2.position,
      coilVisible: this.CheckBox5.checked,
      screenTransparent: this.CheckBox1.checked,
      pathWidth: this.RadioButton2.checked ? 2 : 1,
    };
  }

  // Pictures for the settings in force: the signal (when shown) and the
  // scene; the paths are integrated again if a physical setting changed.
  Refresh() {
    if (this.ended) return;
    setPageState("busy");
    this.pictures.show(this.Settings());
    this.protocol?.ShowAdvice();
  }

  ScrollBar1Change() { this.Edit7.value = String(this.ScrollBar1.position); this.Refresh(); }
  ScrollBar2Change() { this.Edit8.value = String(-this.ScrollBar2.position); this.Refresh(); }
  ScrollBar4Change() { this.Edit1.value = String(this.ScrollBar4.position); this.Refresh(); }
  ScrollBar7Change() { this.Edit5.value = coilCurrentText(this.ScrollBar7.position); this.Refresh(); }
  ScrollBar3Change() { this.Refresh(); }
  AblenkEinClick() { this.Panel11.hidden = false; this.Refresh(); }
  AblenkAusClick() { this.Panel11.hidden = true; this.Refresh(); }

  Button3Click() { this.ScrollBar1.setPosition(0); this.ScrollBar2.setPosition(-90); }
  Button5Click() { this.ScrollBar1.setPosition(0); this.ScrollBar2.setPosition(0); }

  // The information page covers everything else; nothing under it can be reached.
  ShowInformation(shown) {
    this.Panel4.hidden = !shown;
    for (const child of this.Form1.children) if (child !== this.Panel4) child.inert = shown;
  }
  Button1Click() { this.ShowInformation(true); byId("Button14").focus(); }
  Button14Click() { this.ShowInformation(false); this.Refresh(); }

  // The data page covers the experiment settings.
  Button6Click() { this.Panel10.hidden = false; this.Panel1.inert = true; }
  Button7Click() { this.Panel10.hidden = true; this.Panel1.inert = false; }

  // "ENDE": the computation stops at once (the worker is ended) and a short
  // closing page replaces the window.
  Button2Click() {
    this.ended = true;
    this.pictures.stop();
    this.Form1.hidden = true;
    this.Closed.hidden = false;
    byId("Restart").focus();
    setPageState("ready");
  }

  addNotice(text) {
    this.Notice.textContent += (this.Notice.textContent ? "\n" : "") + text;
    this.Notice.hidden = false;
  }

  // The axes picture, decoded by the browser, becomes the plot's background.
  async Start(notices, prepared) {
    for (const text of notices) this.addNotice(text);
    this.ShowInformation(!prepared);
    try {
      await this.Image3.decode();
      const axes = picturePixels(this.Image3);
      putPixels(this.PaintBox2, axes);
      this.pictures.setSignalAxes(axes);
    } catch (error) {
      this.addNotice(`Das Achsenbild fehlt: ${error.message}`);
    }
    this.Refresh();
  }
}

window.addEventListener("DOMContentLoaded", () => {
  const { settings, notices, prepared } = settingsFromQuery(location.search);
  window.Form1 = new TForm1(settings);
  window.Form1.protocol = new Protocol(window.Form1);
  window.Form1.Start(notices, prepared);
});
