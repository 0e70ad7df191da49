// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// TForm1 in the page: the controls (built from the window's description),
// their handlers, start-up and end.
//
// The settings live in the controls. Every handler updates its readout or
// panel and then asks for pictures of the settings now in force; the worker
// integrates again only when a physical setting changed. <html data-state>
// is "ready" while the pictures show the settings in force and nothing is
// pending, "busy" otherwise.

const byId = (id) => document.getElementById(id);

function setPageState(state) { document.documentElement.dataset.state = state; }

// A decoded picture as the browser draws it: {width, height, rgba}.
function pictureOf(image) {
  const canvas = document.createElement("canvas");
  canvas.width = image.naturalWidth;
  canvas.height = image.naturalHeight;
  const context = canvas.getContext("2d", { willReadFrequently: true });
  context.drawImage(image, 0, 0);
  return { width: canvas.width, height: canvas.height, rgba: context.getImageData(0, 0, canvas.width, canvas.height).data };
}

// Copies text to the clipboard; false if the browser allows no way to.
async function copyText(text) {
  try {
    await navigator.clipboard.writeText(text);
    return true;
  } catch {
    const field = document.createElement("textarea");
    field.value = text;
    field.setAttribute("readonly", "");
    field.className = "visually-hidden";
    document.body.append(field);
    field.select();
    let copied = false;
    try { copied = document.execCommand("copy"); } catch { copied = false; }
    field.remove();
    return copied;
  }
}

class TForm1 {
  constructor(description) {
    this.Form1 = byId("Form1");
    this.description = description;
    this.settingRows = description.settings;
    ScrollBar.keyRules = description.keyRules.page;
    Object.assign(this, buildForm(description, this.Form1));
    for (const id of ["Notices", "Closed", "BeamMarks", "LinkButton", "LinkStatus", "Licence"]) this[id] = byId(id);
    this.screenHit = true;  // until the first picture tells
    this.sound = new MarkSound();
    document.title = description.window.caption;
    byId("Caption").textContent = description.window.caption;
    this.firstControl = byId(description.tabChain[0]);
    // Page-only controls: "Link kopieren" after the protocol's button, the
    // licence on the information page.
    this.ProtocolButton.after(this.LinkButton);
    this.Panel4.append(this.Licence);

    // Readouts show their scroll bar's position in its value format.
    this.readouts = description.controls.filter((row) => row.slider?.readout)
        .map((row) => ({ bar: this[row.name], edit: this[row.slider.readout] }));
    // Radio buttons form groups by their panel.
    const groups = new Map();
    for (const row of description.controls.filter((r) => r.kind === "radioButton")) {
      if (!groups.has(row.parent)) groups.set(row.parent, []);
      groups.get(row.parent).push(this[row.name]);
    }
    this.radioGroups = [...groups.values()].map((buttons) => new RadioGroup(buttons));
    // Each group's choices stand in one element that names the group.
    for (const [panel, buttons] of groups) {
      const group = document.createElement("div");
      group.className = "radio-group";
      group.setAttribute("role", "radiogroup");
      group.setAttribute("aria-label", description.keys.radioGroups[panel]);
      const choices = buttons.map((button) => button.closest("label"));
      choices[0].before(group);
      group.append(...choices);
    }
    this.keys = description.keys;
    this.layout = new PageLayout(description, this.Form1, this.views);

    this.pictures = new PictureWorkerClient(window.pictureWorker, window.startPictureWorker, description.settings, {
      onScene: (rgba, marks, line) => this.ShowScene(rgba, marks, line),
      onSignal: (picture) => this.viewOf.PaintBox2.put(picture),
      onIdle: () => {
        if (this.ended) return;
        this.FollowAddress();
        setPageState("ready");
        this.protocol?.LoadWhenIdle();
      },
      onSettled: () => window.keepSiteOffline?.(),
      onError: (message) => this.addNotice(`Die Rechnung kann nicht laufen: ${message}`),
    });
    // The scene and the plot are drawn at the scale the scene's slot is shown at.
    const scene = this.viewOf.PaintBox1;
    scene.onScale = (scale) => this.pictures.setScale(scale);
    this.pictures.setScale(scene.scale);
  }

  // The controls take these settings as their initial values: no handler
  // runs. A row's scroll bar takes the value as its position; its check box
  // or radio buttons show which is checked for it.
  Apply(s) {
    for (const row of this.settingRows) {
      const controls = row.controls.map((name) => this[name]);
      if (controls[0] instanceof ScrollBar) {
        controls[0].position = s[row.name];
        controls[0].placeParts();
        continue;
      }
      const checked = row.choice ? controls[s[row.name] ? 0 : 1] : controls[s[row.name] - row.lowest];
      for (const control of controls) control.checked = control === checked;
    }
    applyShownWhile(this.description.controls, this);
  }

  attachHandlers() {
    for (const name of ["ScrollBar1", "ScrollBar2", "ScrollBar3", "ScrollBar4", "ScrollBar7"]) {
      this[name].onChange = () => this[`${name}Change`]();
    }
    for (const group of this.radioGroups) {
      for (const button of group.buttons) group.on(button, () => (this[`${button.id}Click`] ?? this.Refresh).call(this));
    }
    this.CheckBox5.addEventListener("change", () => this.Refresh());
    this.CheckBox1.addEventListener("change", () => this.Refresh());
    this.ToneSwitch.addEventListener("change", () => this.sound.play(this.ToneSwitch.checked ? this.tone : null));
    for (const name of ["Button1", "Button2", "Button3", "Button5", "Button6", "Button7", "Button14"]) {
      this[name].addEventListener("click", () => this[`${name}Click`]());
    }
    this.LinkButton.addEventListener("click", () => this.CopyLink());
    // The fields beside the scroll bars take typed values: Enter or leaving
    // the field applies, Escape shows the value in force again.
    for (const { bar, edit } of this.readouts) {
      edit.readOnly = false;
      edit.inputMode = "decimal";
      edit.enterKeyHint = "done";
      edit.autocomplete = "off";
      // The core that reads the number loads with the protocol, after the
      // first picture; a field that takes the focus asks for it at once.
      edit.addEventListener("focus", () => { edit.select(); ProtocolModule.load(); });
      edit.addEventListener("change", () => this.TypeValue(bar, edit));
      edit.addEventListener("keydown", (event) => {
        if (event.ctrlKey || event.altKey || event.metaKey) return;
        if (event.key === "Enter") {
          event.preventDefault();
          // select() would take the focus back from where Tab moved it
          // while the value was being read.
          this.TypeValue(bar, edit).then(() => { if (document.activeElement === edit) edit.select(); });
        } else if (event.key === "Escape" && edit.value !== bar.text()) {
          event.preventDefault();
          this.ShowReadout(bar);
          edit.select();
        }
      });
    }
    document.addEventListener("keydown", (event) => {
      if (event.key === "F1" && !event.defaultPrevented) {
        event.preventDefault();
        showKeyHelp(this.keys);
        return;
      }
      if (event.key !== "Escape" || event.defaultPrevented) return;
      if (!this.Panel4.hidden) this.Button14Click();
      else if (!this.Panel10.hidden) this.Button7Click();
    });
    // The protocol panel widens the shown form.
    new MutationObserver(() => this.layout.update()).observe(this.Protocol, { attributeFilter: ["hidden"] });
  }

  FormCreate() {
    for (const { bar, edit } of this.readouts) edit.value = bar.text();
  }

  // The settings in force, as the controls hold them.
  Settings() {
    const settings = {};
    for (const row of this.settingRows) {
      const controls = row.controls.map((name) => this[name]);
      if (controls[0] instanceof ScrollBar) settings[row.name] = controls[0].position;
      else if (row.choice) settings[row.name] = controls[0].checked;
      else settings[row.name] = row.lowest + Math.max(0, controls.findIndex((control) => control.checked));
    }
    return settings;
  }

  // Pictures for the settings in force: the signal (when shown) and the
  // scene; the paths are integrated again if a physical setting changed.
  Refresh() {
    if (this.ended) return;
    setPageState("busy");
    this.addressBehind = true;
    this.pictures.show(this.Settings());
  }

  // The address follows the settings once the window is open, when their
  // pictures are shown: for each new address the browser does work of its
  // own (it fetches and decodes the page's icon again), and a dragged thumb
  // changes the settings every few milliseconds.
  FollowAddress() {
    if (!this.addressBehind || !this.Panel4.hidden) return;
    this.addressBehind = false;
    history.replaceState(null, "", queryFromSettings(this.Settings(), this.settingRows) + location.hash);
  }

  ShowScene(picture, marks, { hint, screenHit, tone }) {
    this.tone = tone;
    this.sound.play(this.ToneSwitch.checked ? tone : null);
    this.viewOf.PaintBox1.put(picture);
    if (this.BeamMarks.textContent !== marks) this.BeamMarks.textContent = marks;
    this.screenHit = screenHit;
    this.ShowHint(hint);
  }

  // The line under the settings; read out when it changes.
  ShowHint(text) {
    if (this.ReadingHint.textContent !== text) this.ReadingHint.textContent = text;
  }

  // A number typed into a scroll bar's field, read by the protocol's core:
  // the bar takes it, or the line under the settings says why not; the
  // field shows the value in force.
  async TypeValue(bar, edit) {
    const text = edit.value;
    if (text === bar.text()) return;
    const typed = (await ProtocolModule.load()).typedValue(text, bar);
    if (typed.position === undefined) this.ShowHint(typed.refusal);
    else bar.setPosition(typed.position);
    this.ShowReadout(bar);
  }

  ShowReadout(bar) {
    const readout = this.readouts.find((r) => r.bar === bar);
    readout.edit.value = bar.text();
  }

  ScrollBar1Change() { this.ShowReadout(this.ScrollBar1); this.Refresh(); }
  ScrollBar2Change() { this.ShowReadout(this.ScrollBar2); this.Refresh(); }
  ScrollBar4Change() { this.ShowReadout(this.ScrollBar4); this.Refresh(); }
  ScrollBar7Change() { this.ShowReadout(this.ScrollBar7); this.Refresh(); }
  ScrollBar3Change() { this.Refresh(); }

  Button3Click() { this.PutInPlaces("Button3"); }
  Button5Click() { this.PutInPlaces("Button5"); }

  // A view button puts the scroll bars where its row of the description says.
  PutInPlaces(button) {
    const row = this.description.controls.find((r) => r.name === button);
    for (const { slider, position } of row.places) this[slider].setPosition(position);
  }

  // The information page covers everything else; nothing under it but the
  // window's caption can be reached.
  ShowInformation(shown) {
    this.Panel4.hidden = !shown;
    for (const child of this.Form1.children) if (child !== this.Panel4 && child.id !== "Caption") child.inert = shown;
    this.layout.update();
  }
  // "Info" brings the page back and "Weiter" returns there; "Weiter" at
  // start leads to the first control of the window.
  Button1Click() {
    this.ShowInformation(true);
    this.informationOpener = this.Button1;
    this.Button14.focus();
  }
  Button14Click() {
    this.ShowInformation(false);
    this.Refresh();
    // The window from its top: in the column arrangement the scene, with
    // the first control beneath it.
    window.scrollTo(0, 0);
    (this.informationOpener ?? this.firstControl).focus();
    this.informationOpener = null;
  }

  // The data page covers the experiment settings.
  Button6Click() {
    this.Panel10.hidden = false;
    this.Panel1.inert = true;
    this.Button7.focus();
  }
  Button7Click() {
    this.Panel10.hidden = true;
    this.Panel1.inert = false;
    this.Button6.focus();
  }

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

  async CopyLink() {
    this.FollowAddress();
    const copied = await copyText(location.href);
    this.LinkStatus.textContent = copied ? "Link kopiert." : "";
    if (!copied) this.addNotice(`Der Link ließ sich nicht kopieren; hier ist er: ${location.href}`);
  }

  // A notice above everything, until it is closed.
  addNotice(text) {
    const notice = document.createElement("div");
    notice.className = "notice";
    notice.setAttribute("role", "alert");
    const message = document.createElement("p");
    message.textContent = text;
    const close = document.createElement("button");
    close.type = "button";
    close.textContent = "×";
    close.setAttribute("aria-label", "Hinweis schließen");
    close.addEventListener("click", () => notice.remove());
    notice.append(message, close);
    this.Notices.append(notice);
  }

  // The first picture is asked for before the page is laid out where its
  // scale is known without (the window arrangement) and the axes picture is
  // decoded already (index.html preloads it): the module's worker then
  // computes while the page is laid out (ShowInformation) and painted.
  Start(notices, prepared) {
    for (const text of notices) this.addNotice(text);
    const decoded = this.Image3.complete && this.Image3.naturalWidth > 0;
    const early = decoded && this.layout.expectScale();
    if (early) this.Begin();
    this.ShowInformation(!prepared);
    ScrollBar.layOut(this.description.controls.map((row) => this[row.name]).filter((c) => c instanceof ScrollBar));
    // As on the desktop, "Weiter" has the focus while the page is shown.
    if (!prepared) this.Button14.focus();
    if (!early) this.Begin(decoded ? null : this.Image3.decode());
  }

  // The axes picture, once `decoding` is done, becomes the plot's
  // background; then the first pictures are asked for.
  async Begin(decoding = null) {
    try {
      if (decoding) await decoding;
      const axes = pictureOf(this.Image3);
      this.viewOf.PaintBox2.put(axes);
      this.pictures.setSignalAxes(axes.rgba);
    } catch (error) {
      this.addNotice(`Das Achsenbild fehlt: ${error.message}`);
    }
    this.Refresh();
  }
}

window.addEventListener("DOMContentLoaded", async () => {
  if (!window.pictureWorker) return;  // opened from a file: site_start.js shows what to do instead
  const form = new TForm1(globalThis.Form1Description);
  const { settings, notices, prepared } = await settingsFromQuery(
      location.search, form.settingRows, form.Settings(), (parameters) => form.pictures.readLink(parameters));
  form.Apply(settings);
  form.attachHandlers();
  form.FormCreate();
  window.Form1 = form;
  form.protocol = new Protocol(form, globalThis.Form1Description);
  form.Start(notices, prepared);
});
