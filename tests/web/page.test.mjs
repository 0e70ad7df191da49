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

  test("pictures drawn again from kept paths and from neighbours computed in idle time equal varek-render's",
       async () => {
    const heavy = { current: 1000, mode: "ac", amplitude: 10, deflection: "on" };
    await open("?voltage=51&current=1000&mode=ac&amplitude=10&deflection=on");
    // A line step down and back (kept), then of the current up and back.
    for (const [id, key] of [["ScrollBar4", "ArrowLeft"], ["ScrollBar4", "ArrowRight"],
                             ["ScrollBar7", "ArrowRight"], ["ScrollBar7", "ArrowLeft"]]) {
      await page.focus(`#${id}`);
      await new Promise((done) => setTimeout(done, 300));  // the worker computes the neighbours
      await page.keyboard.press(key);
      await ready();
      const voltage = await position("ScrollBar4"), current = await position("ScrollBar7");
      await assertPicturesEqual({ ...heavy, voltage, current }, { signal: true });
    }
    assert.deepEqual([await position("ScrollBar4"), await position("ScrollBar7")], [51, 1000]);
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
    await open("?voltage=12OO&current=1&coil=ja&side=5&mode=");
    const notice = await page.$eval("#Notices", (e) => e.textContent);
    for (const [name, text, start] of [["voltage", "12OO", "1200"], ["coil", "ja", "off"], ["side", "5", "-25"],
                                       ["mode", "", "dc"]]) {
      const tool = spawnSync(renderer, [`--${name}`, text, "--out", join(work, "bad.png")], { encoding: "utf8" });
      const sentence = tool.stderr.replace(/^varek-render: /, "").replace(/ Mehr dazu .*\n$/, "");
      assert.match(sentence, new RegExp(`^Ungültiger Wert „${text}“ für „${name}“: erwartet wird .+\\.$`));
      const line = `${sentence} Startwert ${start} verwendet.`;
      assert.ok(notice.includes(line), `notice lacks: ${line}\n${notice}`);
    }
    assert.deepEqual([await value("Edit1"), await value("Edit5")], ["1200", "0,001"]);
    await assertPicturesEqual({ current: 1 });
  });
});

describe("pages", () => {
  test("Daten covers the settings with the data picture; Schließen uncovers them", async () => {
    await open("?deflection=on");
    await click("Button6");
    assert.ok(await shown("Panel10"));
    assert.ok(await page.$eval("#Image2", (img) => img.complete && img.naturalWidth === 531));
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
  const lastRow = () => page.$$eval("#ProtocolTable tbody tr", (rows) => [...rows.at(-1).cells].map((c) => c.textContent));

  test("from a fresh start to a recorded reading at 900 V with at most 30 keys", async () => {
    const focus = focusCurrent(900);
    await open();
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
// picture with every pixel an n x n square of the same colour. Returns n, or
// 0 where the device has fewer pixels than the picture (then it is reduced).
let shots = 0;
async function assertSceneShownWhole() {
  const shown = await page.$eval("#PaintBox1Slot > .pixel-view", (view) => {
    window.scrollTo(0, 0);
    const { x, y, width, height } = view.getBoundingClientRect();
    return { x, y, width, height, ratio: devicePixelRatio };
  });
  if (shown.width * shown.ratio < 720) return 0;
  const factor = Math.round(shown.width * shown.ratio / 720);
  const shot = join(work, `shown${++shots}.png`);
  await page.screenshot({ path: shot, clip: { x: shown.x, y: shown.y, width: 720 * factor / shown.ratio,
                                              height: 440 * factor / shown.ratio } });
  const { width, rgba } = readPng(shot);
  assert.equal(width, 720 * factor, "the screenshot has the shown picture's device pixels");
  const picture = await canvasPixels(page, "PaintBox1");
  let wrong = 0;
  for (let y = 0; y < 440 * factor; ++y) {
    for (let x = 0; x < 720 * factor; ++x) {
      const i = (y * width + x) * 4, j = (Math.floor(y / factor) * 720 + Math.floor(x / factor)) * 4;
      if (rgba[i] !== picture[j] || rgba[i + 1] !== picture[j + 1] || rgba[i + 2] !== picture[j + 2]) ++wrong;
    }
  }
  assert.equal(wrong, 0, `device pixels differing from the picture at ${factor}x (ratio ${shown.ratio})`);
  return factor;
}

describe("devices", () => {
  // [name, CSS width, height, device pixel ratio, touch, device pixels per
  // scene pixel]; 1280 x 720 at 1.5 is a 1920 x 1080 screen at 150 % browser
  // zoom. Only 1366 x 657 has fewer device pixels than the window needs:
  // there the scene is reduced (0).
  const devices = [
    ["phone", 390, 844, 3, true, 1], ["tablet", 768, 1024, 2, true, 2], ["small laptop", 1024, 768, 1, false, 1],
    ["laptop", 1280, 720, 1, false, 1], ["maximised browser", 1366, 657, 1, false, 0],
    ["projector", 1920, 1080, 1, false, 1], ["150 % zoom", 1280, 720, 1.5, false, 1],
    ["retina", 1280, 800, 2, false, 2],
  ];
  for (const [name, width, height, ratio, touch, wholeFactor] of devices) {
    test(`${name} ${width} x ${height} at ${ratio}: fits, works by ${touch ? "touch" : "mouse"}, shows whole pixels`,
         async () => {
      await onDevice({ width, height, deviceScaleFactor: ratio, isMobile: touch, hasTouch: touch }, async () => {
        await page.goto(base);
        await ready();
        assert.equal(await page.evaluate(() => document.documentElement.classList.contains("touch")), touch);
        assert.ok(await noSideScroll(), "no horizontal scrolling on the information page");
        await press("#Button14", touch);
        assert.ok(await noSideScroll(), "no horizontal scrolling in the window");
        await assertPicturesEqual({});
        if (touch) {
          const small = await page.evaluate(() => [...document.querySelectorAll(
              "#Form1 button, #Form1 input, #Form1 [role=slider], #Form1 a")].filter((e) => e.checkVisibility())
              .map((e) => [e.id || e.textContent, (e.closest("label") ?? e).getBoundingClientRect()])
              .filter(([, box]) => box.width < 44 || box.height < 44).map(([id]) => id));
          assert.deepEqual(small, [], "touch targets smaller than 44 x 44");
        }
        await press("#AblenkEin", touch);
        await press("#Wechselspannung", touch);
        await hold("#ScrollBar4 > .thumb", touch, { dx: -60 });
        const voltage = await position("ScrollBar4");
        assert.ok(voltage < 1200, `the thumb moved (${voltage})`);
        await hold("#ScrollBar7 > .arrow.up", touch, { ms: 800 });
        const current = await position("ScrollBar7");
        assert.ok(current > 1, `holding the arrow repeats (${current})`);
        await assertPicturesEqual({ deflection: "on", mode: "ac", voltage, current }, { signal: true });
        assert.equal(await assertSceneShownWhole(), wholeFactor);
        if (process.env.VAREK_SHOTS) {
          await page.screenshot({ path: join(process.env.VAREK_SHOTS, `${name.replace(/\W+/g, "-")}.png`), fullPage: true });
        }
      });
    });
  }
});

describe("accessibility and links", () => {
  const violations = () => axeViolations(page);

  test("axe finds nothing on the information page, the window, deflection with the protocol, the data page",
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
