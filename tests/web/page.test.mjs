// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The web page in headless chromium: the pictures equal varek-render's for the
// same settings pixel for pixel, prepared links and bad values, the data and
// closing pages, the tab order and the keyboard, every classroom device and
// accessibility. The protocol has tests of its own (protocol.test.mjs).
//
//   node --test tests/web/page.test.mjs
//   VAREK_RENDER   the varek-render program (default: the first build/*/tools/render/varek-render)
//   and those of session.mjs
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { existsSync, mkdtempSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, afterEach, before, describe, test } from "node:test";

import { canvasPixels, findRenderer, pictureCheck } from "./pictures.mjs";
import { readPng } from "./png.mjs";
import { axeViolations, root, startSession, whenReady } from "./session.mjs";

const renderer = findRenderer(root);
const work = mkdtempSync(join(tmpdir(), "varek-web-"));

let server, base, browser, page;
const pageErrors = [];

before(async () => {
  assert.ok(renderer && existsSync(renderer), "varek-render not found: set VAREK_RENDER");
  ({ server, base, browser } = await startSession());
  page = await browser.newPage();
  page.on("pageerror", (error) => pageErrors.push(error.message));
});

afterEach(() => assert.deepEqual(pageErrors.splice(0), [], "errors on the page"));

after(async () => {
  await browser?.close();
  server?.close();
  rmSync(work, { recursive: true, force: true });
});

async function open(query = "") {
  await page.goto(base + query);
  await ready();
}

const ready = () => whenReady(page);

const checkPictures = pictureCheck(renderer, work);
const assertPicturesEqual = (flags, options) => checkPictures(page, flags, options);

const value = (id) => page.$eval(`#${id}`, (e) => e.value);
const shown = (id) => page.$eval(`#${id}`, (e) => e.checkVisibility());
const position = (id) => page.$eval(`#${id}`, (e) => Number(e.dataset.position));
const lastRow = () => page.$$eval("#ProtocolTable tbody tr", (rows) => [...rows.at(-1).cells].map((c) => c.textContent));

async function click(id) {
  await page.click(`#${id}`);
  await ready();
}

// Where the description's key rule for `key` takes a scroll bar: a line, a
// page or to an end of its position, of the value its readout shows, or of
// its thumb (right is more; on a vertical bar, the shown value).
function afterKey(rules, slider, position, key) {
  const { direction, measure, reference } = rules.find((rule) => rule.key === key);
  const byValue = reference === "value" || (reference === "thumb" && slider.orientation === "vertical");
  const sign = byValue && slider.negated ? -direction : direction;
  const target = measure === "end" ? (sign > 0 ? slider.maximum : slider.minimum)
                                   : position + sign * (measure === "page" ? slider.pageStep : slider.lineStep);
  return Math.min(slider.maximum, Math.max(slider.minimum, target));
}

// The page loaded next is told that the machine has this many cores.
const tellCores = (cores) => page.evaluateOnNewDocument(
    (n) => Object.defineProperty(Navigator.prototype, "hardwareConcurrency", { get: () => n }), cores);

// Drags the thumb of a horizontal scroll bar by dx pixels in small moves.
async function dragThumb(id, dx) {
  const box = await (await page.$(`#${id} > .thumb`)).boundingBox();
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + dx, y, { steps: 20 });
  await page.mouse.up();
  await ready();
}

describe("pictures", () => {
  test("Weiter, Ein, Wechselspannung and a dragged thumb show varek-render's pictures", async () => {
    await open();
    assert.ok(await shown("Panel4"), "the information page is on top at start");
    assert.deepEqual(await Promise.all(["Edit5", "Edit1", "Edit7", "Edit8"].map(value)),
                     ["0", "1200", "5", "25"]);
    await click("Button14");
    assert.ok(!(await shown("Panel4")));
    await assertPicturesEqual({});
    await click("AblenkEin");
    await assertPicturesEqual({ deflection: "on" }, { signal: true });
    await click("Wechselspannung");
    await assertPicturesEqual({ deflection: "on", mode: "ac" }, { signal: true });
    await dragThumb("ScrollBar4", -120);
    const voltage = await position("ScrollBar4");
    assert.ok(voltage < 1200, `the drag moved the voltage (now ${voltage})`);
    assert.equal(await value("Edit1"), String(voltage));
    await assertPicturesEqual({ deflection: "on", mode: "ac", voltage }, { signal: true });
    await click("CheckBox5");
    await click("RadioButton2");
    await click("Button3");  // von vorne
    assert.deepEqual([await value("Edit7"), await value("Edit8")], ["0", "90"]);
    await assertPicturesEqual({ deflection: "on", mode: "ac", voltage, coil: "on", width: 2, turn: 0, side: -90 });
  });

  // Told two cores, the page runs one picture worker; told eight, four, which
  // pass the paths each computed on to the others.
  for (const cores of [2, 8]) {
    test(`pictures drawn again from kept paths and from neighbours computed in idle time equal varek-render's, ` +
         `${cores} cores`, async () => {
      const heavy = { current: 1000, mode: "ac", amplitude: 10, deflection: "on" };
      await onDevice({ width: 1280, height: 1024 }, async () => {
        await tellCores(cores);
        await open("?voltage=51&current=1000&mode=ac&amplitude=10&deflection=on");
        // A line step down and back (kept), then of the current up and back.
        for (const [id, key] of [["ScrollBar4", "ArrowLeft"], ["ScrollBar4", "ArrowRight"],
                                 ["ScrollBar7", "ArrowRight"], ["ScrollBar7", "ArrowLeft"]]) {
          await page.focus(`#${id}`);
          await new Promise((done) => setTimeout(done, 300));  // the workers compute the neighbours
          await page.keyboard.press(key);
          await ready();
          const voltage = await position("ScrollBar4"), current = await position("ScrollBar7");
          await assertPicturesEqual({ ...heavy, voltage, current }, { signal: true });
        }
        assert.deepEqual([await position("ScrollBar4"), await position("ScrollBar7")], [51, 1000]);
      });
    });
  }

  test("a picture asked for while the worker computes a neighbour in parts is that of its own settings, " +
       "also where it is that neighbour", async () => {
    const heavy = { mode: "ac", amplitude: 10, deflection: "on" };
    await onDevice({ width: 1280, height: 1024 }, async () => {
      await tellCores(2);
      await open("?voltage=51&current=1000&mode=ac&amplitude=10&deflection=on");
      // Once the worker is done with its idle work, the page forgets the
      // kept paths, has the first neighbour computed again, and asks at once
      // for that neighbour (the current's step up), then for the voltage's
      // step down while the next one (the current one more step up) is under
      // way; at last for that one, kept meanwhile.
      for (const [voltage, current, again] of [[51, 1001, true], [50, 1001, true], [51, 1002, false]]) {
        await page.waitForFunction(() => window.Form1.pictures.slots[0].warmedUp &&
                                          !window.Form1.pictures.slots[0].job &&
                                          !window.Form1.pictures.slots[0].preparing);
        await page.evaluate((voltage, current, again) => {
          const pictures = window.Form1.pictures;
          if (again) {
            pictures.kept.clear();
            pictures.idleWork(pictures.slots[0], false);
          }
          window.Form1.ScrollBar4.setPosition(voltage);
          window.Form1.ScrollBar7.setPosition(current);
        }, voltage, current, again);
        await ready();
        assert.deepEqual([await position("ScrollBar4"), await position("ScrollBar7")], [voltage, current]);
        await assertPicturesEqual({ ...heavy, voltage, current }, { signal: true });
      }
    });
  });

  test("four workers follow the current dragged quickly down and a turned view: the pictures never go back, " +
       "the last is varek-render's", async () => {
    const heavy = { voltage: 50, mode: "ac", amplitude: 10, deflection: "on" };
    await onDevice({ width: 1280, height: 1024 }, async () => {
      // Four picture workers, the others started after the first picture ...
      await tellCores(8);
      await open("?voltage=50&current=1000&mode=ac&amplitude=10&deflection=on");
      // ... and done with their idle work (the warm-up, the neighbours).
      await page.waitForFunction(() => window.Form1.pictures.slots.filter((slot) => slot.ready && !slot.job && !slot.preparing)
                                                                    .length === 4);
      // A quick drag from long paths to short ones: pictures of later
      // settings may be finished first.
      const currents = [990, 980, 970, 100, 90, 80, 70, 60, 50, 40, 30, 20, 10];
      const shownCurrents = await page.evaluate((currents) => new Promise((done) => {
        const form = window.Form1, shown = [];
        const showScene = form.ShowScene;
        form.ShowScene = (...args) => { shown.push(form.pictures.shown.current); showScene.apply(form, args); };
        const timer = setInterval(() => {
          form.ScrollBar7.setPosition(currents.shift());
          if (currents.length > 0) return;
          clearInterval(timer);
          const wait = () => (document.documentElement.dataset.state === "ready" ? done(shown) : setTimeout(wait, 5));
          wait();
        }, 4);
      }), currents);
      const current = await position("ScrollBar7");
      assert.equal(current, currents.at(-1));
      assert.equal(shownCurrents.at(-1), current);
      // The address, written once the pictures are shown, names the last settings.
      assert.match(await page.evaluate(() => location.search), new RegExp(`current=${current}(&|$)`));
      assert.ok(shownCurrents.every((c, i) => i === 0 || c < shownCurrents[i - 1]),
                `pictures went back: ${shownCurrents.join(" ")} mA`);
      const drawing = await page.evaluate(() => window.Form1.pictures.slots.filter((slot) => slot.paths).length);
      assert.ok(drawing > 1, `the drag was drawn by ${drawing} worker`);
      await assertPicturesEqual({ ...heavy, current }, { signal: true });
      // The view turned quickly: the paths shown, drawn at the last angle by
      // whichever worker was free.
      await page.evaluate(() => {
        for (let turn = 10; turn <= 60; turn += 10) window.Form1.ScrollBar1.setPosition(turn);
      });
      await ready();
      await assertPicturesEqual({ ...heavy, current, turn: 60 }, { signal: true });
    });
  });

  test("paths are kept also where the page's scripts come after its worker has started", async () => {
    const [serve] = server.listeners("request");
    server.removeAllListeners("request");
    server.on("request", (request, response) => {
      if (request.url.includes("page_scripts.js")) setTimeout(() => serve(request, response), 1500);
      else serve(request, response);
    });
    const context = await browser.createBrowserContext();  // nothing cached
    try {
      const late = await context.newPage();
      await late.goto(base + "?voltage=51&current=1000&mode=ac&amplitude=10&deflection=on");
      await whenReady(late);
      // The first picture's paths and a neighbour's.
      await late.waitForFunction(() => window.Form1.pictures.kept.size >= 2);
    } finally {
      await context.close();
      server.removeAllListeners("request");
      server.on("request", serve);
    }
  });

  test("a prepared link opens past the information page with its settings", async () => {
    await open("?voltage=800&current=1500&deflection=on&mode=ac&amplitude=150&turn=-30&side=-180" +
               "&coil=on&transparent=on&width=2");
    assert.ok(!(await shown("Panel4")));
    assert.ok(await shown("Panel11"));
    assert.deepEqual(await Promise.all(["Edit5", "Edit1", "Edit7", "Edit8"].map(value)),
                     ["1,5", "800", "-30", "180"]);
    await assertPicturesEqual({ voltage: 800, current: 1500, deflection: "on", mode: "ac", amplitude: 150,
                                turn: -30, side: -180, coil: "on", transparent: "on", width: 2 },
                              { signal: true });
  });

  test("bad values keep the start-up values and get the tools' German sentence", async () => {
    // A long value with a control character is quoted cut and escaped.
    const long = `\t${"1".repeat(30)}`;
    await open(`?voltage=12OO&current=1&coil=ja&side=5&mode=&amplitude=${encodeURIComponent(long)}`);
    const notice = await page.$eval("#Notices", (e) => e.textContent);
    for (const [name, text, start] of [["voltage", "12OO", "1200"], ["coil", "ja", "off"], ["side", "5", "-25"],
                                       ["mode", "", "dc"], ["amplitude", long, "200"]]) {
      const tool = spawnSync(renderer, [`--${name}`, text, "--out", join(work, "bad.png")], { encoding: "utf8" });
      const sentence = tool.stderr.replace(/^varek-render: /, "").replace(/ Mehr dazu .*\n$/, "");
      assert.match(sentence, new RegExp(`^Ungültiger Wert „[^\\t]{0,26}“ für „${name}“: erwartet wird .+\\.$`));
      const line = `${sentence} Startwert ${start} verwendet.`;
      assert.ok(notice.includes(line), `notice lacks: ${line}\n${notice}`);
    }
    assert.deepEqual([await value("Edit1"), await value("Edit5")], ["1200", "0,001"]);
    await assertPicturesEqual({ current: 1 });
  });
});

// A page's text fits its picture's place when nothing of it is cut off.
const fits = (id) => page.$eval(`#${id}`, (e) => e.checkVisibility() && e.scrollHeight <= e.clientHeight &&
                                               e.scrollWidth <= e.clientWidth);

describe("pages", () => {
  test("the explanation and the data are text in the pictures' places; no picture of text is fetched", async () => {
    const pictures = [];
    const listener = (request) => request.resourceType() === "image" && pictures.push(request.url());
    page.on("request", listener);
    await open();
    assert.ok(await fits("Image1Text"), "the explanation fits its place");
    await click("Button14");
    await click("Button6");
    assert.ok(await fits("Image2Text"), "the data fit their place");
    page.off("request", listener);
    assert.deepEqual(pictures.map((url) => url.replace(/^.*\//, "")).filter((file) => !file.startsWith("data:")),
                     ["image3_signal_axes.jpg"]);
  });

  test("Daten covers the settings with the data page; Schließen uncovers them", async () => {
    await open("?deflection=on");
    await click("Button6");
    assert.ok(await shown("Panel10"));
    assert.ok(await shown("Image2Text"));
    assert.ok(await page.$eval("#ScrollBar4", (e) => !e.contains(document.elementFromPoint(
        e.getBoundingClientRect().x + 5, e.getBoundingClientRect().y + 5))),
        "the data page covers the settings");
    await click("Button7");
    assert.ok(!(await shown("Panel10")));
    await assertPicturesEqual({ deflection: "on" }, { signal: true });
  });

  test("Info brings the information page back; ENDE shows the closing page", async () => {
    await open("?voltage=50&mode=ac&deflection=on&amplitude=0");
    await click("Button1");
    assert.ok(await shown("Panel4"));
    await page.keyboard.press("Tab");
    assert.ok(await page.evaluate(() => !document.getElementById("Form1").contains(document.activeElement) ||
                                        document.getElementById("Panel4").contains(document.activeElement)),
              "Tab reaches a control under the information page");
    await click("Button14");
    await click("Button2");
    assert.ok(!(await shown("Form1")));
    assert.equal(await page.$eval("#Closed h1", (e) => e.textContent), "Die Simulation ist beendet.");
  });
});

describe("keyboard", () => {
  test("Tab visits the description's chain of the controls shown; each has its German name", async () => {
    await open("?deflection=on");
    const { tabChain, controls } = await page.evaluate(() => globalThis.Form1Description);
    // A radio pair is one stop: its selected button.
    const expected = await page.evaluate((chain) => chain.filter((id) => {
      const element = document.getElementById(id);
      return element?.checkVisibility() && (element.type !== "radio" || element.checked);
    }), tabChain);
    assert.ok(expected.includes("ScrollBar3") && !expected.includes("Button14") && !expected.includes("Button7"),
              "the deflection's controls are shown, the pages' buttons are not");
    const names = new Map(controls.map((row) => [row.name, row.accessibleName ?? row.caption]));
    const reached = [];
    for (let i = 0; i < expected.length; ++i) {
      await page.keyboard.press("Tab");
      const id = await page.evaluate(() => document.activeElement.id || document.activeElement.outerHTML.slice(0, 80));
      const handle = await page.evaluateHandle(() => document.activeElement);
      const node = await page.accessibility.snapshot({ root: handle });
      reached.push([id, node?.name]);
    }
    assert.deepEqual(reached, expected.map((id) => [id, names.get(id)]));
  });

  test("scroll bars take the slider keys on their shown value; Right raises current and voltage", async () => {
    await open("?voltage=1200&current=0");
    const rows = [
      ["ScrollBar4", "ArrowRight", 1201, "1201 V"], ["ScrollBar4", "PageUp", 1211, "1211 V"],
      ["ScrollBar4", "ArrowLeft", 1210, "1210 V"], ["ScrollBar4", "PageDown", 1200, "1200 V"],
      ["ScrollBar4", "ArrowUp", 1201, "1201 V"], ["ScrollBar4", "Home", 50, "50 V"],
      ["ScrollBar4", "ArrowDown", 50, "50 V"], ["ScrollBar4", "End", 2000, "2000 V"],
      ["ScrollBar7", "ArrowRight", 1, "0,001 A"], ["ScrollBar7", "ArrowUp", 2, "0,002 A"],
      ["ScrollBar7", "PageUp", 12, "0,012 A"], ["ScrollBar7", "End", 3000, "3 A"],
      ["ScrollBar7", "PageDown", 2990, "2,99 A"],
      // The left-right bar shows its position negated: Right moves the thumb
      // right (the shown value down), Up raises the shown value.
      ["ScrollBar2", "ArrowRight", -24, "24 Grad"], ["ScrollBar2", "ArrowUp", -25, "25 Grad"],
      ["ScrollBar2", "End", -180, "180 Grad"], ["ScrollBar2", "Home", 0, "0 Grad"],
      ["ScrollBar1", "ArrowUp", 6, "6 Grad"],
    ];
    const { controls, keyRules } = await page.evaluate(() => globalThis.Form1Description);
    const sliders = new Map(controls.filter((row) => row.slider).map((row) => [row.name, row.slider]));
    for (const [id, key, expected, text] of rows) {
      assert.equal(afterKey(keyRules.page, sliders.get(id), await position(id), key), expected, `rule ${id} ${key}`);
      await page.focus(`#${id}`);
      await page.keyboard.press(key);
      await ready();
      assert.equal(await position(id), expected, `${id} ${key}`);
      assert.equal(await page.$eval(`#${id}`, (e) => e.getAttribute("aria-valuetext")), text, `${id} ${key}`);
    }
    assert.deepEqual(await page.$eval("#ScrollBar2", (e) => ["valuemin", "valuemax", "valuenow"].map(
        (a) => e.getAttribute(`aria-${a}`))), ["0", "180", "0"]);
    assert.deepEqual(await Promise.all(["Edit1", "Edit5", "Edit7", "Edit8"].map(value)), ["2000", "2,99", "6", "0"]);
    await assertPicturesEqual({ voltage: 2000, current: 2990, turn: 6, side: 0 });
  });

  test("arrow buttons take line steps, the trough page steps", async () => {
    await open("?current=0");
    await click("ScrollBar7 > .arrow.up");
    assert.equal(await value("Edit5"), "0,001");
    const bar = await (await page.$("#ScrollBar7")).boundingBox();
    await page.mouse.click(bar.x + bar.width - 30, bar.y + bar.height / 2);
    await ready();
    assert.equal(await value("Edit5"), "0,011");
    await click("ScrollBar7 > .arrow.down");
    assert.equal(await position("ScrollBar7"), 10);
    await assertPicturesEqual({ current: 10 });
  });

  // The current of the first focus as varek-focus finds it (in mA).
  const focusCurrent = (voltage) => Number(execFileSync(
      renderer.replace(/render\/varek-render$/, "focus/varek-focus"),
      ["--voltage", String(voltage), "--order", "1", "--amplitude", "200"]).toString().trim());
  const focused = () => page.evaluate(() => document.activeElement.id);

  test("from a fresh start to a recorded reading at 900 V with at most 30 keys", async () => {
    const focus = focusCurrent(900);
    await open();
    // The core that reads typed values, loaded before the first one.
    await page.evaluate(() => ProtocolModule.load().then(() => true));
    let presses = 0;
    const key = async (name, times = 1, modifier = "") => {
      for (let i = 0; i < times; ++i, ++presses) {
        if (modifier) await page.keyboard.down(modifier);
        await page.keyboard.press(name);
        if (modifier) await page.keyboard.up(modifier);
      }
    };
    const type = async (text) => { await page.keyboard.type(text); presses += text.length; };
    assert.equal(await focused(), "Button14");
    await key("Enter");  // "Weiter"
    await ready();
    assert.equal(await focused(), "ScrollBar7");
    await key("Tab", 3);
    await type("900");
    await key("Enter");
    await key("Tab");
    assert.equal(await focused(), "AblenkAus", "the pair's stop is its selected button");
    await key("ArrowUp");
    await key("Tab", 2);
    assert.equal(await focused(), "Gleichspannung");
    await key("ArrowDown");
    await key("Tab", 5, "Shift");
    assert.equal(await focused(), "Edit5");
    await type(String((focus - 2) / 1000).replace(".", ","));
    await key("Enter");
    await key("Tab", 1, "Shift");
    await key("ArrowRight", 2);
    await ready();
    const rows = await page.$$eval("#ProtocolTable tbody tr", (r) => r.length);
    await key("Enter", 1, "Control");
    await page.waitForFunction((n) => document.querySelectorAll("#ProtocolTable tbody tr").length === n + 1,
                               { timeout: 10000 }, rows);
    assert.ok(presses <= 30, `${presses} keys`);
    const titles = await page.$$eval("#ProtocolTable thead th", (cells) => cells.map((c) => c.textContent));
    const row = Object.fromEntries((await lastRow()).map((cell, i) => [titles[i], cell]));
    assert.deepEqual([row["U in V"], row["I in A"]], ["900", (focus / 1000).toFixed(3).replace(".", ",")]);
    assert.match(row.Amplitude, /~/, "Wechselspannung");
  });

  test("at 600 V the start amplitude hits the plates: the line says so, the reading is refused", async () => {
    await open("?voltage=600&current=900&deflection=on");
    assert.match(await page.$eval("#ReadingHint", (e) => e.textContent), /Ablenkplatten/);
    await page.focus("#Edit1");
    await page.keyboard.type("5000");
    await page.keyboard.press("Enter");
    // The first typed value waits for the core that reads it to load.
    await page.waitForFunction(() => /von 50 bis 2000 V/.test(document.getElementById("ReadingHint").textContent),
                               { timeout: 10000 });
    assert.equal(await value("Edit1"), "600");
    await page.keyboard.type("7");
    await page.keyboard.press("Escape");
    assert.equal(await value("Edit1"), "600");
    const ctrl = async (name) => {
      await page.keyboard.down("Control");
      await page.keyboard.press(name);
      await page.keyboard.up("Control");
    };
    await ctrl("m");
    await page.waitForSelector("#Protocol:not([hidden])");
    await ready();
    // The stored rows are read once the core has started; the table makes
    // the rows in sight once it is laid out (a frame later).
    await page.evaluate(() => Form1.protocol.Load());
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    const rows = await page.$$eval("#ProtocolTable tbody tr", (r) => r.length);
    await ctrl("Enter");
    await page.waitForFunction(() => /Ablenkplatten/.test(document.getElementById("ProtocolStatus").textContent),
                               { timeout: 10000 });
    assert.equal(await page.$$eval("#ProtocolTable tbody tr", (r) => r.length), rows, "no row");
  });

  test("Ton: higher towards the focus, another sound where the marks meet, silent without a mark", async () => {
    const focus = focusCurrent(900);
    await open(`?voltage=900&deflection=on&mode=ac&current=${focus - 60}`);
    await click("ToneSwitch");
    const tone = () => page.evaluate(() => ({ hertz: Form1.tone.hertz, sounding: Form1.sound.sounding,
                                              met: Form1.sound.met, marks: Form1.BeamMarks.textContent }));
    // The core that reads typed values, loaded before the first one.
    await page.evaluate(() => ProtocolModule.load().then(() => true));
    const typeInto = async (id, text) => {
      await page.focus(`#${id}`);
      await page.keyboard.type(text);
      await page.keyboard.press("Enter");
      await ready();
    };
    const far = await tone();
    await typeInto("Edit5", String(focus / 1000).replace(".", ","));
    const near = await tone();
    assert.ok(far.sounding && !far.met, JSON.stringify(far));
    assert.ok(near.hertz > far.hertz, `${far.hertz} Hz, then ${near.hertz} Hz`);
    assert.ok(near.sounding && near.met, JSON.stringify(near));
    await typeInto("Edit1", "600");
    assert.equal((await tone()).sounding, false, "no mark on the screen");
    await click("ToneSwitch");
    assert.equal((await tone()).sounding, false);
  });

  test("Ctrl with a page key steps coarsely, the amplitude speaks its range, F1 lists every key", async () => {
    await open("?deflection=on");
    await page.focus("#ScrollBar4");
    await page.keyboard.down("Control");
    await page.keyboard.press("PageUp");
    await page.keyboard.up("Control");
    assert.equal(await position("ScrollBar4"), 1300);
    assert.equal(await page.$eval("#ScrollBar3", (e) => e.getAttribute("aria-valuetext")), "200 von 300");
    assert.equal(await page.$eval("#AblenkEin", (e) => e.closest("[role=radiogroup]").getAttribute("aria-label")),
                 "Ablenkspannung");
    await page.keyboard.press("F1");
    const rows = await page.$$eval("#KeyHelp[open] tbody tr", (r) => r.map((row) => row.cells[0].textContent));
    assert.deepEqual(rows, await page.evaluate(() => Form1Description.keys.rows.map((r) => r.keys)));
    assert.ok(rows.includes("F1") && rows.includes("Strg+Eingabe"));
    if (process.env.VAREK_SHOTS) await page.screenshot({ path: join(process.env.VAREK_SHOTS, "page-f1.png") });
    await page.keyboard.press("Escape");
    assert.equal(await page.$("#KeyHelp"), null);
    assert.equal(await focused(), "ScrollBar4", "the focus returns");
    assert.ok(await page.evaluate(() => document.getElementById("Panel4").hidden), "Escape closed only the list");
  });
});

// ---- Every classroom device -------------------------------------------------

// Runs body on a page of its own with this viewport (touch emulated where asked).
async function onDevice(viewport, body) {
  const main = page;
  page = await browser.newPage();
  page.on("pageerror", (error) => pageErrors.push(error.message));
  try {
    await page.emulate({ viewport, userAgent: await browser.userAgent() });
    await body();
  } finally {
    await page.close();
    page = main;
  }
}

const noSideScroll = () => page.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth);

// Taps (touch) or clicks (mouse) the middle of an element.
async function press(selector, touch) {
  const element = await page.$(selector);
  await element.scrollIntoView();
  const box = await element.boundingBox();
  if (touch) await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
  else await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await ready();
}

// Holds a finger (or the mouse button) on an element for ms milliseconds,
// moving it by dx pixels on the way.
async function hold(selector, touch, { ms = 0, dx = 0 } = {}) {
  const element = await page.$(selector);
  await element.scrollIntoView();
  const box = await element.boundingBox();
  const x = box.x + box.width / 2, y = box.y + box.height / 2;
  const pointer = touch ? page.touchscreen : page.mouse;
  if (touch) await pointer.touchStart(x, y); else { await page.mouse.move(x, y); await page.mouse.down(); }
  for (let step = 1; step <= 10 && dx !== 0; ++step) {
    if (touch) await pointer.touchMove(x + dx * step / 10, y); else await page.mouse.move(x + dx * step / 10, y);
  }
  await new Promise((r) => setTimeout(r, ms));
  if (touch) await pointer.touchEnd(); else await page.mouse.up();
  await ready();
}

// The shown scene, taken from the screen in device pixels, is the canvas's
// picture with every pixel an n x n square of the same colour; shown 1:1, it
// is that canvas itself and the page keeps no copy. Returns n, or 0 where the
// device has fewer pixels than the picture (then it is reduced).
let shots = 0;
async function assertSceneShownWhole() {
  const shown = await page.$eval("#PaintBox1Slot", (slot) => {
    window.scrollTo(0, 0);
    const canvases = [...slot.querySelectorAll("canvas")].filter((c) => c.checkVisibility());
    const { x, y, width, height } = canvases[0].getBoundingClientRect();
    const picture = window.Form1.viewOf.PaintBox1.pictureSize();
    // Right of and below the picture, the shown canvas is clear.
    const { data } = canvases[0].getContext("2d").getImageData(0, 0, canvases[0].width, canvases[0].height);
    let beside = 0;
    for (let i = 3; i < data.length; i += 4) {
      const x = (i >> 2) % canvases[0].width, y = Math.floor((i >> 2) / canvases[0].width);
      if ((x >= picture.width || y >= picture.height) && data[i] !== 0) ++beside;
    }
    return { x, y, width, height, ratio: devicePixelRatio, pictureWidth: picture.width, pictureHeight: picture.height,
             shownIds: canvases.map((c) => c.id), pixels: [...slot.querySelectorAll("canvas")].map((c) => c.width * c.height),
             beside };
  });
  const { pictureWidth: w, pictureHeight: h } = shown;
  if (shown.width * shown.ratio < w) return 0;
  const factor = Math.round(shown.width * shown.ratio / w);
  if (factor === 1) {
    assert.deepEqual(shown.shownIds, ["PaintBox1"], "the scene's own canvas shown");
    assert.ok(shown.pixels.every((n, i) => i === 0 || n === 0), `an empty copy (${shown.pixels})`);
    assert.equal(shown.beside, 0, "pixels drawn beside the scene");
  }
  const shot = join(work, `shown${++shots}.png`);
  await page.screenshot({ path: shot });
  const { width, rgba } = readPng(shot);
  const left = Math.round(shown.x * shown.ratio), top = Math.round(shown.y * shown.ratio);
  const picture = await canvasPixels(page, "PaintBox1");
  let wrong = 0;
  for (let y = 0; y < h * factor; ++y) {
    for (let x = 0; x < w * factor; ++x) {
      const i = ((top + y) * width + left + x) * 4, j = (Math.floor(y / factor) * w + Math.floor(x / factor)) * 4;
      if (rgba[i] !== picture[j] || rgba[i + 1] !== picture[j + 1] || rgba[i + 2] !== picture[j + 2]) ++wrong;
    }
  }
  assert.equal(wrong, 0, `device pixels differing from the picture at ${factor}x (ratio ${shown.ratio})`);
  return factor;
}

// The visible buttons, choices, arrows and thumbs (in the column arrangement
// also the fields and the sliders) that a finger hits in less than 44 x 44
// pixels: the control's box, widened by its hit area (the ::before that
// form1.css gives it under a coarse pointer in the window arrangement).
const smallTargets = () => page.evaluate(() => [...document.querySelectorAll(
    "#Form1 :is(button, input[type=radio], input[type=checkbox], [role=slider] > *, a), " +
    ".column-layout #Form1 :is(input, [role=slider])")]
    .filter((e) => e.checkVisibility()).map((e) => {
      const target = e.closest("label") ?? e;
      const box = target.getBoundingClientRect(), area = getComputedStyle(target, "::before");
      const hit = area.position === "absolute" && area.content !== "none";
      return [e.id || e.className || e.textContent, Math.max(box.width, hit ? parseFloat(area.width) : 0),
              Math.max(box.height, hit ? parseFloat(area.height) : 0)];
    }).filter(([, width, height]) => width < 44 || height < 44).map(([id]) => id));

// The scene and the focused control lie wholly in the viewport.
const sceneAndFocusInView = () => page.evaluate(() => [document.getElementById("PaintBox1Slot"), document.activeElement]
    .every((e) => {
      const box = e.getBoundingClientRect();
      return box.top >= -1 && box.bottom <= innerHeight + 1 && box.left >= -1 && box.right <= innerWidth + 1;
    }));

// The ids of the controls whose middle is covered by another element.
const covered = (ids) => page.evaluate((ids) => ids.filter((id) => {
  const control = document.getElementById(id).closest(".at");
  const box = control.getBoundingClientRect();
  const hit = document.elementFromPoint(box.x + box.width / 2, box.y + box.height / 2);
  return !control.checkVisibility() || !control.contains(hit);
}), ids);

describe("devices", () => {
  // [name, CSS width, height, device pixel ratio, touch, column arrangement,
  // least CSS width of the scene, device pixels per scene picture pixel].
  // 1280 x 720 at 1.5 is a 1920 x 1080 screen at 150 % browser zoom, 960 x
  // 540 at 2 the same at 200 %. The scene is drawn at its slot's scale and
  // copied 1:1; only 1366 x 657 has fewer device pixels than the picture at
  // scale 1: there it is reduced (0).
  const devices = [
    ["phone", 390, 844, 3, true, true, 370, 1], ["phone landscape", 844, 390, 3, true, true, 440, 1],
    ["tablet", 768, 1024, 2, true, true, 740, 1], ["small laptop", 1024, 768, 1, false, false, 720, 1],
    ["laptop", 1280, 720, 1, false, false, 710, 1], ["maximised browser", 1366, 657, 1, false, false, 650, 0],
    ["projector", 1920, 1080, 1, false, false, 1000, 1], ["touch board", 1920, 1080, 1, true, false, 1000, 1],
    ["150 % zoom", 1280, 720, 1.5, false, false, 710, 1], ["200 % zoom", 960, 540, 2, false, true, 540, 1],
    ["retina", 1280, 800, 2, false, false, 790, 1],
  ];
  for (const [name, width, height, ratio, touch, column, sceneWidth, wholeFactor] of devices) {
    test(`${name} ${width} x ${height} at ${ratio}: ${column ? "column" : "window"}, works by ${touch ? "touch" : "mouse"}, ` +
         "the scene drawn at its scale", async () => {
      await onDevice({ width, height, deviceScaleFactor: ratio, isMobile: touch, hasTouch: touch }, async () => {
        await page.evaluateOnNewDocument(() => {
          window.layoutShift = 0;
          new PerformanceObserver((list) => {
            for (const e of list.getEntries()) if (!e.hadRecentInput) window.layoutShift += e.value;
          }).observe({ type: "layout-shift", buffered: true });
          // The scales the scene is asked for at.
          window.sceneScales = [];
          const post = Worker.prototype.postMessage;
          Worker.prototype.postMessage = function (message, ...rest) {
            if (message?.type === "show") window.sceneScales.push(message.scale);
            return post.call(this, message, ...rest);
          };
        });
        await page.goto(base);
        await ready();
        assert.equal(await page.evaluate(() => window.layoutShift), 0, "layout shift while the page loads");
        // Asked for before the page is laid out, the first picture is of the scale it is shown at.
        assert.deepEqual(await page.evaluate(() => window.sceneScales),
                         [await page.evaluate(() => window.Form1.viewOf.PaintBox1.scale)]);
        assert.equal(await page.evaluate(() => document.documentElement.classList.contains("column-layout")), column);
        assert.ok(await noSideScroll(), "no horizontal scrolling on the information page");
        if (!column) assert.ok(await fits("Image1Text"), "the explanation fits its place");
        await press("#Button14", touch);
        assert.ok(await noSideScroll(), "no horizontal scrolling in the window");
        assert.ok(await sceneAndFocusInView(), "after Weiter the scene and the first control are in view");
        await assertPicturesEqual({});
        assert.ok(await page.$eval("#PaintBox1Slot > .pixel-view", (e) => e.getBoundingClientRect().width) >= sceneWidth,
                  `the scene at least ${sceneWidth} pixels wide`);
        if (touch) assert.deepEqual(await smallTargets(), [], "touch targets smaller than 44 x 44");
        await press("#AblenkEin", touch);
        await press("#Wechselspannung", touch);
        await hold("#ScrollBar4 > .thumb", touch, { dx: -60 });
        const voltage = await position("ScrollBar4");
        assert.ok(voltage < 1200, `the thumb moved (${voltage})`);
        await hold("#ScrollBar7 > .arrow.up", touch, { ms: 800 });
        // From the foot of the page, the current's slider takes the focus.
        await page.evaluate(() => {
          document.activeElement.blur();
          window.scrollTo(0, document.documentElement.scrollHeight);
        });
        await page.focus("#ScrollBar7");
        for (const key of ["ArrowRight", "PageUp", "ArrowLeft"]) {
          await page.keyboard.press(key);
          await ready();
          assert.ok(await sceneAndFocusInView(), `the scene and the current in view after ${key}`);
        }
      const current = await position("ScrollBar7");
        assert.ok(current > 10, `holding the arrow repeats (${current})`);
        await assertPicturesEqual({ deflection: "on", mode: "ac", voltage, current }, { signal: true });
        assert.equal(await assertSceneShownWhole(), wholeFactor);
        if (!column) {
          // The protocol beside the form where the screen is wide enough
          // (projector and touch board at scale 1 or more): it covers none
          // of the view and deflection settings nor the line beneath them.
          await press("#ProtocolButton", touch);
          const [beside, scale] = await page.evaluate(() => [document.documentElement.classList.contains("protocol-beside"),
            Number(getComputedStyle(document.documentElement).getPropertyValue("--s"))]);
          if (width === 1920) assert.ok(beside && scale >= 1, `the protocol beside the form at scale ${scale}`);
          if (beside) {
            assert.deepEqual(await covered(["Panel2", "Panel8", "Panel7", "Panel3", "ScrollBar3", "Gleichspannung",
                                            "Wechselspannung", "PaintBox2", "ReadingHint", "ProtocolTable", "ProtocolPlot"]), []);
            assert.ok(await noSideScroll(), "no horizontal scrolling with the protocol beside the form");
          }
          await press("#ProtocolButton", touch);
        }
        if (process.env.VAREK_SHOTS) {
          await page.screenshot({ path: join(process.env.VAREK_SHOTS, `${name.replace(/\W+/g, "-")}.png`), fullPage: true });
        }
      });
    });
  }

  test("at 200 % browser zoom on 1920 x 1080 the readouts and labels are at least 1,8 times as tall", async () => {
    const sizes = [];
    for (const [width, height, ratio] of [[1920, 1080, 1], [960, 540, 2]]) {
      await onDevice({ width, height, deviceScaleFactor: ratio }, async () => {
        await page.goto(base + "?deflection=on");
        await ready();
        sizes.push(await page.evaluate(() => ["Edit5", "Edit1", "Label2", "Label1"].map(
            (id) => parseFloat(getComputedStyle(document.getElementById(id)).fontSize) * devicePixelRatio)));
      });
    }
    sizes[1].forEach((size, i) => assert.ok(size >= 1.8 * sizes[0][i], `${size} device pixels against ${sizes[0][i]}`));
  });

  test("a window made narrow, wide again and zoomed shows each scene whole, of its new scale", async () => {
    await onDevice({ width: 1280, height: 800, deviceScaleFactor: 3 }, async () => {
      await page.goto(base + "?deflection=on&voltage=700");
      await ready();
      for (const [width, height, deviceScaleFactor, factor] of [[1280, 800, 3, 1], [600, 900, 3, 1], [1280, 800, 3, 1],
                                                                 [600, 900, 1, 0], [1280, 800, 1.25, 1]]) {
        await page.setViewport({ width, height, deviceScaleFactor });
        // Two frames: the slot's new size is laid out and its view has heard of it.
        await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
        await page.waitForFunction(() => document.documentElement.dataset.state === "ready" &&
                                         window.Form1.pictures.shown?.scale === window.Form1.viewOf.PaintBox1.scale);
        await assertPicturesEqual({ deflection: "on", voltage: 700 });
        assert.equal(await assertSceneShownWhole(), factor, `${width} x ${height} at ${deviceScaleFactor}`);
      }
    });
  });

  // One reading on a phone, counted as a student makes it. The counting rule:
  // a tap is one touch tap; a typed value is two (the tap on the field, which
  // opens the number keyboard, and the keyboard's Enter; the digits are not
  // counted). Swipes that scroll the page are counted apart, one for every
  // four fifths of the screen's height the page must move to show the next
  // control wholly, and reported: the limit is on taps.
  test("phone 390 x 844: a new voltage to a recorded focus in at most 10 taps, step buttons beside the fields",
       async (t) => {
    const focusAt = (voltage) => Number(execFileSync(
        renderer.replace(/render\/varek-render$/, "focus/varek-focus"),
        ["--voltage", String(voltage), "--range"]).toString().trim().split(" ")[0]);
    const before = focusAt(1200), focus = focusAt(900);
    await onDevice({ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true }, async () => {
      // Where the previous reading left the student: 1200 V at its focus, recorded.
      await page.goto(`${base}?voltage=1200&current=${before}&deflection=on&mode=ac`);
      await ready();
      await press("#ProtocolButton", true);
      await press("#ProtocolRecord", true);
      await page.waitForFunction(() => /übernommen: U = 1200/.test(document.getElementById("ProtocolStatus").textContent),
                                 { timeout: 10000 });
      const rows = await page.$$eval("#ProtocolTable tbody tr", (r) => r.length);
      let taps = 0, swipes = 0;
      const box = (selector) => page.$eval(selector, (e) => {
        const { top, bottom, left, width, height } = e.getBoundingClientRect();
        return { top, bottom, x: left + width / 2, y: top + height / 2 };
      });
      // The swipes that bring a control wholly onto the screen, counted by
      // the rule above; the page is scrolled by that much at once (a swipe
      // in the emulation flings the page on by an unforeseeable length).
      // The scene stays at the top of the screen: what lies under it is not seen.
      const bringIntoView = async (selector) => {
        const { top, bottom } = await box(selector);
        const [above, height] = await page.evaluate(
            () => [document.getElementById("PaintBox1Slot").getBoundingClientRect().bottom, innerHeight]);
        const by = top < above ? top - above - 8 : bottom > height ? bottom - height + 8 : 0;
        swipes += Math.ceil(Math.abs(by) / ((height - above) * 4 / 5));
        await page.evaluate((y) => window.scrollBy(0, y), by);
      };
      const tap = async (selector) => {
        await bringIntoView(selector);
        const { x, y } = await box(selector);
        await page.touchscreen.tap(x, y);
        ++taps;
        await ready();
      };
      const typeInto = async (selector, text) => {
        await tap(selector);
        assert.equal(await page.$eval(selector, (e) => [e.inputMode, e.readOnly].join()), "decimal,false");
        await page.keyboard.type(text);
        await page.keyboard.press("Enter");
        ++taps;
        await page.waitForFunction((id, t) => document.getElementById(id).value === t, {}, selector.slice(1), text);
        await ready();
      };
      // How far the marks are from a focus (pixels apart plus the farther
      // one's distance from the centre), and whether they look like one dot
      // there: what the student sees, and what "Ton" makes heard.
      const marks = () => page.evaluate(() => {
        const numbers = (Form1.BeamMarks.textContent.match(/\d+/g) ?? []).map(Number);
        return { met: Form1.tone.met, distance: numbers.length ? numbers[0] + Math.max(...numbers.slice(1)) : Infinity };
      });
      await typeInto("#Edit1", "900");
      // I grows as the root of U: the student's estimate from the reading before.
      const estimate = Math.round(before * Math.sqrt(900 / 1200));
      await typeInto("#Edit5", String(estimate / 1000).replace(".", ","));
      // Fine steps of 1 mA towards the focus, turning where the marks part again.
      let step = "#CurrentUp1", other = "#CurrentDown1";
      for (let now = await marks(), turns = 0; !now.met && turns < 2;) {
        await tap(step);
        const next = await marks();
        if (next.distance > now.distance) [step, other, turns] = [other, step, turns + 1];
        now = next;
      }
      await tap("#ProtocolRecord");
      await page.waitForFunction((n) => document.querySelectorAll("#ProtocolTable tbody tr").length === n + 1,
                                 { timeout: 10000 }, rows);
      const titles = await page.$$eval("#ProtocolTable thead th", (cells) => cells.map((c) => c.textContent));
      const row = Object.fromEntries((await lastRow()).map((cell, i) => [titles[i], cell]));
      const current = Math.round(Number(row["I in A"].replace(",", ".")) * 1000);
      assert.equal(row["U in V"], "900");
      assert.match(row.Amplitude, /~/, "Wechselspannung");
      assert.ok(Math.abs(current - focus) <= 2, `recorded ${current} mA, the focus lies at ${focus} mA`);
      assert.ok(taps <= 10, `${taps} taps`);
      t.diagnostic(`${taps} taps, ${swipes} swipes`);
      // One tap is one step; held, a step button repeats its step.
      await tap("#CurrentUp1");
      assert.equal(await position("ScrollBar7"), current + 1);
      await hold("#VoltageDown10", true, { ms: 800 });
      const voltage = await position("ScrollBar4");
      assert.ok(voltage < 890 && voltage % 10 === 0, `held for 0.8 s: ${voltage} V`);
      if (process.env.VAREK_SHOTS) await page.screenshot({ path: join(process.env.VAREK_SHOTS, "phone-reading.png") });
    });
  });
});

describe("accessibility and links", () => {
  const violations = () => axeViolations(page);

  test("axe finds nothing on the information page, the window, deflection with the protocol, the data page, " +
       "after ENDE, on the phone",
       async () => {
    await open();
    assert.deepEqual(await violations(), [], "information page");
    await click("Button14");
    assert.deepEqual(await violations(), [], "window");
    await click("AblenkEin");
    await page.click("#ProtocolButton");
    await page.waitForFunction(() => document.querySelector("#ProtocolTable thead tr"));
    assert.deepEqual(await violations(), [], "deflection on, protocol open");
    await page.click("#ProtocolButton");
    await click("Button6");
    assert.deepEqual(await violations(), [], "data page");
    await click("Button7");
    await click("Button2");
    assert.deepEqual(await violations(), [], "after ENDE");
    await onDevice({ width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true }, async () => {
      await open();
      assert.deepEqual(await violations(), [], "the phone's start page");
      await click("Button14");
      assert.deepEqual(await violations(), [], "the phone's window");
    });
  });

  test("under forced colours the checked radio button is seen: Ein and Aus differ inside its box", async () => {
    const media = await page.createCDPSession();
    const forced = (value) => media.send("Emulation.setEmulatedMedia", { features: [{ name: "forced-colors", value }] });
    await forced("active");
    try {
      await open("?deflection=on");
      const indicator = async (state) => {
        const file = join(work, `forced-${state}.png`);
        await page.screenshot({ path: file, clip: await (await page.$("#AblenkEin")).boundingBox() });
        return readPng(file);
      };
      const checked = await indicator("ein");
      await click("AblenkAus");
      const unchecked = await indicator("aus");
      let differing = 0;
      for (let i = 0; i < checked.rgba.length; i += 4) {
        const d = Math.abs(checked.rgba[i] - unchecked.rgba[i]) + Math.abs(checked.rgba[i + 1] - unchecked.rgba[i + 1]) +
                  Math.abs(checked.rgba[i + 2] - unchecked.rgba[i + 2]);
        if (d > 96) differing += 1;
      }
      // The dot inside the ring, not a stray pixel.
      assert.ok(differing >= checked.rgba.length / 4 / 10, `${differing} pixels differ`);
    } finally {
      await forced("none");
    }
  });

  test("the pages' texts, formulas included, are in the page; the marks are told after each picture", async () => {
    await open();
    const information = await page.$eval("#Image1Text", (e) => e.textContent);
    for (const words of ["Versuchsanordnung", "Aufgabe", "Bedienung", "Auswertung", "Zentripetalkraft"]) {
      assert.ok(information.includes(words), words);
    }
    assert.equal(await page.$$eval("#Image1Text math", (m) => m.length), 5);
    assert.match(await page.$eval("#Image2Text", (e) => e.textContent), /Windungszahl\s*n=2000/);
    await open("?deflection=on&mode=ac&voltage=2000&amplitude=30&current=0&side=0&turn=0");
    const apart = await page.$eval("#BeamMarks", (e) => e.textContent);
    assert.match(apart, /^Die Marken liegen \d+ Pixel auseinander, je \d+ Pixel vom Mittelpunkt des Schirms\.$/);
    await page.focus("#ScrollBar7");
    await page.keyboard.press("End");
    await ready();
    assert.notEqual(await page.$eval("#BeamMarks", (e) => e.textContent), apart);
    assert.equal(await page.$eval("#BeamMarks", (e) => e.getAttribute("aria-live")), "polite");
  });

  // A student who hears the page and cannot see it: the accessibility tree
  // (what a screen reader reads: the focused control's name and value, the
  // live regions' texts) and key presses, nothing else. The page's state
  // "ready" only says when to listen. Four readings at four voltages, the
  // focus found by the live sentence on the marks; e/m from the result text.
  test("by ear alone: four readings at four voltages in at most 40 keys each, e/m within 1 %", async (t) => {
    const context = await browser.createBrowserContext();  // an empty protocol of its own
    const main = page;
    page = await context.newPage();
    page.on("pageerror", (error) => pageErrors.push(error.message));
    try {
      await page.goto(base);
      await ready();
      const client = await page.target().createCDPSession();
      const tree = async () => {
        const { nodes } = await client.send("Accessibility.getFullAXTree");
        const byId = new Map(nodes.map((node) => [node.nodeId, node]));
        const property = (node, name) => node.properties?.find((p) => p.name === name)?.value?.value;
        const text = (node) => node.role?.value === "StaticText" ? node.name?.value ?? ""
            : (node.childIds ?? []).map((id) => byId.get(id)).filter(Boolean).map(text).join("");
        const live = nodes.filter((node) => !node.ignored && property(node, "live")).map(text);
        const focused = nodes.filter((node) => property(node, "focused") && node.role?.value !== "RootWebArea").at(-1);
        const results = nodes.filter((node) => node.name?.value === "Ergebnis").map(text);
        return { live, focused: focused?.name?.value, value: focused?.value?.value, result: results[0] ?? "" };
      };
      let presses = 0;
      const key = async (name, modifier = "") => {
        if (modifier) await page.keyboard.down(modifier);
        await page.keyboard.press(name);
        if (modifier) await page.keyboard.up(modifier);
        ++presses;
        await ready();
      };
      // Tab or Shift+Tab until the control of that name has the focus.
      const goTo = async (name, modifier = "") => {
        for (let i = 0; (await tree()).focused !== name; ++i) {
          assert.ok(i < 12, `${name} not reached`);
          await key("Tab", modifier);
        }
      };
      // Types a number into the focused field; Enter applies it once the bar has it.
      const typeValue = async (text, bar) => {
        await page.keyboard.type(text);
        presses += text.length;
        await key("Enter");
        const wanted = Number(text.replace(",", "."));
        for (let i = 0; i < 100; ++i) {
          const { nodes } = await client.send("Accessibility.getFullAXTree");
          if (nodes.some((node) => node.role?.value === "slider" && node.name?.value === bar &&
                                   Number(node.value?.value) === wanted)) break;
          await new Promise((r) => setTimeout(r, 50));
        }
        await ready();
      };
      // How far the marks are from a focus as the live sentence tells it:
      // pixels apart plus the farther mark's pixels from the centre; no mark
      // on the screen: Infinity.
      const distance = async () => {
        const sentence = (await tree()).live.find((text) => /Marke/.test(text)) ?? "";
        if (/nicht auf dem Schirm/.test(sentence)) return Infinity;
        const numbers = (sentence.match(/\d+/g) ?? []).map(Number);
        return /zusammen/.test(sentence) ? numbers[0] ?? 0 : numbers[0] + Math.max(...numbers.slice(1));
      };
      const current = async () => Math.round(Number((await tree()).value) * 1000);
      // From the current bar: 1 mA steps while the marks come closer, in
      // the direction that brings them closer; back one step where they part.
      const fineTune = async () => {
        let now = await distance();
        for (const [ahead, back] of [["ArrowUp", "ArrowDown"], ["ArrowDown", "ArrowUp"]]) {
          let moved = false;
          for (;;) {
            await key(ahead);
            const next = await distance();
            if (next >= now) { await key(back); break; }
            now = next;
            moved = true;
          }
          if (moved || now <= 2) return;
        }
      };
      const record = async (voltage) => {
        await key("Enter", "Control");
        for (let i = 0; i < 100 && !(await tree()).live.some((t) => t.includes(`übernommen: U = ${voltage} V`)); ++i) {
          await new Promise((r) => setTimeout(r, 50));
        }
        assert.ok((await tree()).live.some((t) => t.includes(`übernommen: U = ${voltage} V`)), `reading at ${voltage} V`);
      };
      const counts = [];

      // The first reading at the start voltage: Weiter, deflection on,
      // alternating; the current raised in steps of 100 mA until the marks,
      // once on the screen, part again; the focus foreseen from the three
      // steps around the closest (the distance grows as the current leaves
      // the focus, alike on both sides), reached in steps of 10 mA.
      assert.equal((await tree()).focused, "Weiter");
      await key("Enter");
      await goTo("Ablenkspannung aus");
      await key("ArrowUp");
      await goTo("Gleichspannung");
      await key("ArrowDown");
      await goTo("Spulenstrom in A", "Shift");
      const step = async () => {
        await key("PageUp", "Control");
        return { at: await current(), distance: await distance() };
      };
      let [low, middle, high] = [null, { at: await current(), distance: await distance() }, await step()];
      while (!(low && low.distance > middle.distance && high.distance > middle.distance)) {
        [low, middle, high] = [middle, high, await step()];
      }
      await key("PageDown", "Control");
      const beyond = low.distance > high.distance ? 1 : -1;
      const foreseen = middle.at + beyond * 100 * middle.distance / (Math.max(low.distance, high.distance) - middle.distance);
      for (let n = Math.round((foreseen - middle.at) / 10); n !== 0; n -= Math.sign(n)) {
        await key(n > 0 ? "PageUp" : "PageDown");
      }
      await fineTune();
      const first = await current();
      await record(1200);
      counts.push(presses);

      // Three more: the voltage typed, the current foreseen from the first
      // reading (I grows as the root of U) typed, then tuned.
      for (const voltage of [900, 1500, 1800]) {
        presses = 0;
        await goTo("Anzeige Beschleunigungsspannung in V");
        await typeValue(String(voltage), "Beschleunigungsspannung in V");
        await goTo("Anzeige Spulenstrom in A", "Shift");
        const foreseen = Math.round(first * Math.sqrt(voltage / 1200));
        await typeValue(String(foreseen / 1000).replace(".", ","), "Spulenstrom in A");
        await goTo("Spulenstrom in A", "Shift");
        await fineTune();
        await record(voltage);
        counts.push(presses);
      }
      assert.ok(counts.every((n) => n <= 40), `presses per reading: ${counts.join(", ")}`);
      const result = (await tree()).result;
      const [, mantissa] = result.match(/e\/m = \(?(\d+,\d+)/) ?? [];
      assert.ok(mantissa, result);
      const specificCharge = Number(mantissa.replace(",", ".")) * 1e11;
      assert.ok(Math.abs(specificCharge / 1.75882e11 - 1) < 0.01, `${result} (presses ${counts.join(", ")})`);
      t.diagnostic(`keys per reading ${counts.join(", ")}; ${result.split("\n")[0]}`);
    } finally {
      await page.close();
      await context.close();
      page = main;
    }
  });

  test("the focus lands on a control after Weiter, Info, Daten, Schließen and Escape", async () => {
    await open();
    const focused = () => page.evaluate(() => document.activeElement.id);
    const first = await page.evaluate(() => globalThis.Form1Description.tabChain[0]);
    const rows = [
      [() => click("Button14"), first], [() => click("Button1"), "Button14"],
      [() => page.keyboard.press("Escape"), "Button1"], [() => click("Button6"), "Button7"],
      [() => page.keyboard.press("Escape"), "Button6"], [() => click("Button6"), "Button7"],
      [() => click("Button7"), "Button6"], [() => click("Button1"), "Button14"],
      [() => click("Button14"), "Button1"],
    ];
    for (const [action, expected] of rows) {
      await action();
      assert.equal(await focused(), expected, String(action));
    }
    assert.ok(await shown("Panel1") && !(await shown("Panel4")) && !(await shown("Panel10")));
  });

  test("any link opens the page; unknown names and long values give notices that wrap, stay on top and close",
       async () => {
    const long = "x".repeat(3000);
    const links = ["?toString=1", "?constructor=x", "?__proto__=1", "?hasOwnProperty=1", "?valueOf&voltage=800",
                   `?${long}=1`, `?turn=${long}`, "?__proto__[voltage]=5&prototype=1"];
    for (const link of links) {
      await open(link);
      assert.ok(await noSideScroll(), `page wider than the screen: ${link.slice(0, 40)}`);
      const notices = await page.$$eval("#Notices .notice", (n) => n.map((e) => e.textContent));
      assert.ok(notices.length >= 1, link.slice(0, 40));
      if (await shown("Panel4")) await click("Button14");
      assert.ok(await page.$eval("#PaintBox1", (c) => c.getContext("2d").getImageData(360, 220, 1, 1).data[3] === 255));
    }
    // Three notices over the open protocol: each is on top where it stands, and closes.
    await open("?a=1&b=2&c=3");
    await click("Button14");
    await page.click("#ProtocolButton");
    await page.waitForFunction(() => !document.getElementById("Protocol").hidden);
    const onTop = await page.$$eval("#Notices .notice", (notices) => notices.map((n) => {
      const box = n.getBoundingClientRect();
      return n.contains(document.elementFromPoint(box.x + 4, box.y + box.height / 2));
    }));
    assert.deepEqual(onTop, [true, true, true]);
    await page.click("#Notices .notice button");
    assert.equal(await page.$$eval("#Notices .notice", (n) => n.length), 2);
  });

  test("the address follows the settings; Link kopieren copies it", async () => {
    await open("?voltage=800");
    await page.focus("#ScrollBar7");
    await page.keyboard.press("PageUp");
    await ready();
    await click("CheckBox5");
    const address = await page.evaluate(() => location.search);
    assert.match(address, /voltage=800/);
    assert.match(address, /current=10\b/);
    assert.match(address, /coil=on/);
    await browser.defaultBrowserContext().overridePermissions(base, ["clipboard-read", "clipboard-write",
                                                                     "clipboard-sanitized-write"]);
    await click("LinkButton");
    await page.waitForFunction(() => document.getElementById("LinkStatus").textContent === "Link kopiert.");
    assert.equal(await page.evaluate(() => navigator.clipboard.readText()), base + address.replace(/^\?/, "?"));
    await open(address);
    assert.deepEqual([await value("Edit1"), await value("Edit5")], ["800", "0,01"]);
    assert.ok(await page.$eval("#CheckBox5", (e) => e.checked));
  });
});
