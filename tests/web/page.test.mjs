// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The web page in headless chromium: the pictures equal varek-render's for the
// same settings pixel for pixel, prepared links and bad values, the data and
// closing pages, the tab order and the keyboard, and the measurement protocol
// against varek-auswertung.
//
//   node --test tests/web/page.test.mjs
//   VAREK_SITE     the built site (default build/web/site)
//   VAREK_RENDER   the varek-render program (default: the first build/*/tools/render/varek-render)
//   VAREK_AUSWERTUNG  the varek-auswertung program (default: next to varek-render)
//   CHROMIUM       the browser (default /usr/bin/chromium)
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import { after, afterEach, before, describe, test } from "node:test";
import puppeteer from "puppeteer-core";

import { serveDirectory } from "../../web/static_server.mjs";
import { readPng } from "./png.mjs";

const root = resolve(fileURLToPath(new URL(".", import.meta.url)), "../..");
const site = process.env.VAREK_SITE ?? join(root, "build/web/site");
const renderer = process.env.VAREK_RENDER ??
    readdirSync(join(root, "build")).map((d) => join(root, "build", d, "tools/render/varek-render"))
        .find(existsSync);
const evaluator = process.env.VAREK_AUSWERTUNG ??
    (renderer && join(renderer, "../../auswertung/varek-auswertung"));
const work = mkdtempSync(join(tmpdir(), "varek-web-"));

let server, base, browser, page;
const pageErrors = [];

before(async () => {
  assert.ok(existsSync(join(site, "index.html")), `no site in ${site}: build the web preset first`);
  assert.ok(renderer && existsSync(renderer), "varek-render not found: set VAREK_RENDER");
  ({ server, url: base } = await serveDirectory(site));
  browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    args: ["--no-sandbox"],
    defaultViewport: { width: 1280, height: 1024 },
  });
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

const ready = () => page.waitForSelector("html[data-state=ready]", { timeout: 30000 });

// Canvas pixels as RGBA bytes.
async function canvasPixels(id) {
  const base64 = await page.$eval(`#${id}`, (canvas) => {
    const bytes = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000) {
      text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    }
    return btoa(text);
  });
  return new Uint8Array(Buffer.from(base64, "base64"));
}

function differingPixels(a, b) {
  assert.equal(a.length, b.length, "picture sizes differ");
  let count = 0;
  for (let i = 0; i < a.length; i += 4) {
    if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) ++count;
  }
  return count;
}

// The scene (and the plot, with signal) on the page equal varek-render's for these flags.
let renders = 0;
async function assertPicturesEqual(flags, { signal = false } = {}) {
  const scene = join(work, `scene${++renders}.png`);
  const plot = join(work, `signal${renders}.png`);
  const args = [...Object.entries(flags).flatMap(([k, v]) => [`--${k}`, String(v)]), "--out", scene];
  execFileSync(renderer, signal ? [...args, "--signal-out", plot] : args);
  assert.equal(differingPixels(await canvasPixels("PaintBox1"), readPng(scene).rgba), 0,
               `scene differs from varek-render ${args.join(" ")}`);
  if (signal) {
    assert.equal(differingPixels(await canvasPixels("PaintBox2"), readPng(plot).rgba), 0,
                 `plot differs from varek-render ${args.join(" ")}`);
  }
}

const value = (id) => page.$eval(`#${id}`, (e) => e.value);
const shown = (id) => page.$eval(`#${id}`, (e) => e.checkVisibility());
const position = (id) => page.$eval(`#${id}`, (e) => Number(e.getAttribute("aria-valuenow")));

async function click(id) {
  await page.click(`#${id}`);
  await ready();
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

  test("bad values keep the start-up values and are named in a German notice", async () => {
    await open("?voltage=12OO&current=1&coil=ja&side=5&mode=");
    const notice = await page.$eval("#Notice", (e) => e.textContent);
    for (const line of ["Ungültiger Wert für »voltage«: »12OO«; Startwert 1200 verwendet.",
                        "Ungültiger Wert für »coil«: »ja«; Startwert off verwendet.",
                        "Ungültiger Wert für »side«: »5«; Startwert -25 verwendet.",
                        "Ungültiger Wert für »mode«: »«; Startwert dc verwendet."]) {
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
  test("Tab reaches every control in the window's order; each has a German name", async () => {
    await open("?deflection=on");
    const order = [
      ["ScrollBar1", "Drehung um die z-Achse in Grad"], ["ScrollBar2", "Drehung links-rechts in Grad"],
      ["Edit7", "Anzeige Drehung um die z-Achse in Grad"], ["Edit8", "Anzeige Drehung links-rechts in Grad"],
      ["CheckBox5", "Spule sichtbar"], ["Button5", "von der Seite"], ["Button3", "von vorne"],
      ["CheckBox1", "Schirm durchsichtig"], ["RadioButton1", "Dicke der Teilchenbahn 1"],
      ["RadioButton2", "Dicke der Teilchenbahn 2"], ["Button1", "Info"], ["Button2", "ENDE"],
      ["Button6", "Daten"], ["ScrollBar4", "Beschleunigungsspannung in V"],
      ["Edit1", "Anzeige Beschleunigungsspannung in V"], ["ScrollBar7", "Spulenstrom in A"],
      ["Edit5", "Anzeige Spulenstrom in A"], ["AblenkEin", "Ablenkspannung ein"],
      ["AblenkAus", "Ablenkspannung aus"], ["ScrollBar3", "Amplitude der Ablenkspannung"],
      ["Gleichspannung", "Gleichspannung"], ["Wechselspannung", "Wechselspannung"],
    ];
    const reached = [];
    for (let i = 0; i < order.length; ++i) {
      await page.keyboard.press("Tab");
      const id = await page.evaluate(() => document.activeElement.id);
      const node = await page.accessibility.snapshot({ root: await page.$(`#${id}`) });
      reached.push([id, node?.name]);
    }
    assert.deepEqual(reached, order);
  });

  test("scroll bars move with arrows, page keys, Home and End", async () => {
    await open("?voltage=1200");
    await page.focus("#ScrollBar4");
    const rows = [["ArrowRight", 1201], ["PageDown", 1211], ["ArrowLeft", 1210], ["PageUp", 1200],
                  ["Home", 50], ["ArrowUp", 50], ["End", 2000], ["ArrowDown", 2000]];
    for (const [key, expected] of rows) {
      await page.keyboard.press(key);
      await ready();
      assert.equal(await position("ScrollBar4"), expected, key);
      assert.equal(await value("Edit1"), String(expected), key);
    }
    await page.focus("#ScrollBar1");
    await page.keyboard.press("ArrowDown");
    await ready();
    assert.equal(await value("Edit7"), "6");
    await assertPicturesEqual({ voltage: 2000, turn: 6 });
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
});

describe("protocol", () => {
  const rowCells = () => page.$$eval("#ProtocolRows tbody tr",
      (rows) => rows.map((row) => [...row.cells].slice(0, 7).map((cell) => cell.textContent)));
  const showsRows = (count) => page.waitForFunction((n) => !document.getElementById("Protokoll").hidden &&
      document.querySelector("#ProtocolRows thead") &&
      document.querySelectorAll("#ProtocolRows tbody tr").length === n, {}, count);

  test("rows survive reloads, evaluate as varek-auswertung, export exactly, a damaged import changes nothing",
       async () => {
    assert.ok(evaluator && existsSync(evaluator), "varek-auswertung not found: set VAREK_AUSWERTUNG");
    // [U in V, I in mA, amplitude, k]
    const rows = [[300, 615, 60, 1], [800, 1004, 150, 1], [300, 1230, 60, 2]];
    for (const [i, [voltage, current, amplitude, order]] of rows.entries()) {
      await open(`?voltage=${voltage}&current=${current}&deflection=on&mode=ac&amplitude=${amplitude}`);
      if (i === 0) {
        await page.evaluate(() => localStorage.clear());
        await page.click("#ProtocolButton");
      } else {
        await page.keyboard.down("Control");
        await page.keyboard.press("KeyM");
        await page.keyboard.up("Control");
      }
      await showsRows(i);
      await page.$eval("#ProtocolOrder", (e, k) => { e.value = String(k); }, order);
      await page.click("#ProtocolRecord");
      await showsRows(i + 1);
    }
    assert.deepEqual(await Promise.all(["ProtocolButton", "PaintBox1"].map(async (id) => {
      const { x, y, width, height } = await (await page.$(`#${id}`)).boundingBox();
      return [x, y, width, height];
    })), [[760, 681, 225, 25], [8, 8, 720, 440]]);

    const cells = await rowCells();
    assert.deepEqual(cells.map((c) => c.slice(0, 5)), rows.map(([u, i, a, k], n) =>
        [String(n + 1), String(u), (i / 1000).toFixed(3).replace(".", ","), String(k), String(a)]));
    const csv = "U in V;I in A;k\n" +
        rows.map(([u, i, , k]) => `${u};${String(i / 1000).replace(".", ",")};${k}\n`).join("");
    const csvFile = join(work, "reihe.csv");
    writeFileSync(csvFile, csv);
    const printed = execFileSync(evaluator, [csvFile], { encoding: "utf8" }).trimEnd().split("\n");
    assert.deepEqual(cells.map((c) => c[6] + "e11"),
                     printed.slice(0, -1).map((line) => line.match(/e\/m = (\S+) C\/kg$/)[1]));
    const result = await page.$eval("#ProtocolResult", (e) => e.textContent);
    assert.equal(result.split("\n")[0], printed.at(-1));
    assert.match(result.split("\n")[1], /^Abweichung vom Literaturwert 1,75882e11 C\/kg: [+-]\d+,\d\d %$/);

    const downloads = mkdtempSync(join(work, "downloads-"));
    const cdp = await page.createCDPSession();
    await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
    await page.click("#ProtocolExport");
    const exported = join(downloads, "messprotokoll.csv");
    for (let wait = 0; wait < 100 && !existsSync(exported); ++wait) await new Promise((r) => setTimeout(r, 100));
    assert.equal(readFileSync(exported, "utf8"), csv);

    const damaged = join(work, "kaputt.csv");
    writeFileSync(damaged, "U in V;I in A;k\n1200;1,23;1\n800;1.004;1\n");
    await (await page.$("#ProtocolImportFile")).uploadFile(damaged);
    await page.waitForFunction(() => document.getElementById("ProtocolStatus").textContent.startsWith("kaputt"));
    assert.equal(await page.$eval("#ProtocolStatus", (e) => e.textContent),
                 "kaputt.csv, Zeile 3: I = \u201E1.004\u201C ist keine Zahl (erwartet z. B. 1,23). " +
                 "Die Tabelle bleibt, wie sie war.");
    assert.deepEqual(await rowCells(), cells);

    for (const answer of ["dismiss", "accept"]) {
      page.once("dialog", (dialog) => {
        assert.equal(dialog.message(), "Alle 3 Messwerte löschen? Das lässt sich nicht rückgängig machen.");
        dialog[answer]();
      });
      await page.click("#ProtocolClear");
      await showsRows(answer === "dismiss" ? 3 : 0);
    }
    assert.equal(await page.evaluate(() => localStorage.length), 0);
  });
});
