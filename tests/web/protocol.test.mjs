// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The page's measurement protocol in headless chromium: recording and its
// refusals, two tabs on one store, damaged stores and a full storage, the
// import question, the files, hostile files against varek-auswertung, the
// view and plot plan against the desktop build's (protocol_digest), and the
// printed page.
//
//   node --test tests/web/protocol.test.mjs
//   VAREK_AUSWERTUNG       the varek-auswertung program
//   VAREK_PROTOCOL_DIGEST  the desktop build's protocol_digest (tests/web)
//   VAREK_SHOTS            a folder for screenshots to look at (optional)
//   and those of session.mjs
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import { existsSync, mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { after, afterEach, before, describe, test } from "node:test";

import { readPng } from "./png.mjs";
import { axeViolations, startSession, whenReady } from "./session.mjs";

const evaluator = process.env.VAREK_AUSWERTUNG;
const digest = process.env.VAREK_PROTOCOL_DIGEST;
const shots = process.env.VAREK_SHOTS;
const work = mkdtempSync(join(tmpdir(), "varek-protocol-"));
const STORE = "varek-messprotokoll";
const HEAD = "Kennung;U in V;I in A;k;Amplitude;Ablenkung;ΔI in A;in Auswertung\n";

let server, base, browser, page;
const pageErrors = [];
const watch = (p) => p.on("pageerror", (error) => pageErrors.push(error.message));

before(async () => {
  assert.ok(evaluator && existsSync(evaluator), "varek-auswertung not found: set VAREK_AUSWERTUNG");
  assert.ok(digest && existsSync(digest), "protocol_digest not found: set VAREK_PROTOCOL_DIGEST");
  ({ server, base, browser } = await startSession({ width: 1366, height: 768 }));
  page = await browser.newPage();
  watch(page);
});

afterEach(() => assert.deepEqual(pageErrors.splice(0), [], "errors on the page"));

after(async () => {
  await browser?.close();
  server?.close();
  rmSync(work, { recursive: true, force: true });
});

// ---- Driving the protocol ----------------------------------------------------

const reading = (voltage, current, amplitude, mode = "ac") =>
  `?voltage=${voltage}&current=${current}&deflection=on&mode=${mode}&amplitude=${amplitude}`;

// Opens the page (on `p`) with a prepared reading and the protocol shown.
async function openProtocol(query, p = page) {
  await p.bringToFront();  // a tab in the background draws nothing
  await p.goto(base + query);
  await whenReady(p);
  await p.click("#ProtocolButton");
  await p.waitForFunction(() => document.querySelector("#ProtocolTable thead tr"));
}

const rowCount = (p = page) => p.$$eval("#ProtocolTable tbody tr", (rows) => rows.length);
const showsRows = (n, p = page) => p.waitForFunction((count) =>
  document.querySelector("#ProtocolTable thead tr") &&
  document.querySelectorAll("#ProtocolTable tbody tr").length === count, { timeout: 10000, polling: 100 }, n);
const rowCells = () => page.$$eval("#ProtocolTable tbody tr",
    (rows) => rows.map((row) => [...row.cells].map((cell) => cell.textContent)));
const text = (id) => page.$eval(`#${id}`, (e) => e.textContent);
const statusMatches = (pattern) => page.waitForFunction((source) =>
  new RegExp(source).test(document.getElementById("ProtocolStatus").textContent), { timeout: 10000 }, pattern.source);
// The page's store: entries of the IndexedDB database "varek-em", object
// store "protokoll". op "get" reads one (null when missing), "put" writes
// one, "delete" removes one, "clear" removes them all.
const entries = (op, key, value, p = page) => p.evaluate((op, key, value) => new Promise((resolve, reject) => {
  const open = indexedDB.open("varek-em", 1);
  open.onupgradeneeded = () => open.result.createObjectStore("protokoll");
  open.onsuccess = () => {
    const transaction = open.result.transaction("protokoll", op === "get" ? "readonly" : "readwrite");
    const store = transaction.objectStore("protokoll");
    const request = op === "get" ? store.get(key) : op === "put" ? store.put(value, key)
                  : op === "delete" ? store.delete(key) : store.clear();
    transaction.oncomplete = () => {
      open.result.close();
      resolve(op === "get" ? request.result ?? null : null);
    };
    transaction.onabort = () => reject(transaction.error);
  };
}), op, key ?? null, value ?? null);
// The store's text: its pieces in the order of their list (or the whole
// text in one entry, as earlier versions of the page kept it); null when
// nothing is stored. Other keys: their entry.
async function stored(key = STORE, p = page) {
  const whole = await entries("get", key, null, p);
  if (whole !== null || key !== STORE) return whole;
  const list = await entries("get", `${STORE}.teile`, null, p);
  if (list === null) return null;
  const pieces = [];
  for (const piece of JSON.parse(list)) pieces.push(await entries("get", piece, null, p));
  return pieces.join("");
}

// The protocol opened on an empty store. When another tab opens it, the
// main tab leaves the page first (for a file of the same site, whose store
// the tests still read): it would take the emptied store for one that lost
// its rows and write them back.
async function openEmptyProtocol(query, p = page) {
  if (p !== page) await page.goto(base + "manifest.webmanifest");
  await openProtocol(query, p);
  await entries("clear", null, null, p);
  await openProtocol(query, p);
  await showsRows(0, p);
}

async function ctrl(key) {
  await page.keyboard.down("Control");
  await page.keyboard.press(key);
  await page.keyboard.up("Control");
}

async function upload(name, content) {
  const file = join(work, name);
  writeFileSync(file, content);
  await (await page.$("#ProtocolImportFile")).uploadFile(file);
  return file;
}

const question = () => page.waitForSelector("dialog.question[open]");

// Waits for a downloaded file in `folder`: there, not empty, and no longer growing.
async function downloaded(folder, name) {
  const file = join(folder, name);
  const size = () => (existsSync(file) ? statSync(file).size : 0);
  for (let wait = 0, last = -1; wait < 100; ++wait, await new Promise((r) => setTimeout(r, 100))) {
    if (size() > 0 && size() === last) break;
    last = size();
  }
  return readFileSync(file);
}

// ---- Tests ---------------------------------------------------------------------

describe("recording", () => {
  test("rows survive reloads and evaluate as varek-auswertung; 0 A and covered windows are refused", async () => {
    // [U in V, I in mA, amplitude, k, deflection]
    const rows = [[300, 615, 60, 1, "ac"], [800, 1004, 150, 1, "ac"], [300, 1230, 60, 2, "dc"]];
    for (const [i, [voltage, current, amplitude, order, mode]] of rows.entries()) {
      if (i === 0) await openEmptyProtocol("");
      await page.goto(base + reading(voltage, current, amplitude, mode));
      await whenReady(page);
      await ctrl("KeyM");
      await showsRows(i);
      await page.$eval("#ProtocolOrder", (e, k) => { e.value = String(k); }, order);
      await page.$eval("#ProtocolUncertainty", (e, k) => { e.value = k === 2 ? "12" : "0"; }, order);
      await page.click("#ProtocolRecord");
      await showsRows(i + 1);
    }
    // The panels lie over the right column and below the settings: the
    // window keeps its size and scale.
    const boxes = await page.evaluate(() => Object.fromEntries(["Form1", "Protocol", "ProtocolReadings"].map((id) => {
      const { x, y, width, height } = document.getElementById(id).getBoundingClientRect();
      return [id, { x, y, width, height }];
    })));
    const scale = boxes.Form1.width / 1004;
    assert.ok(Math.abs(boxes.Form1.height - 721 * scale) < 1, JSON.stringify(boxes));
    assert.ok(Math.abs(boxes.Protocol.x - boxes.Form1.x - 752 * scale) < 1, JSON.stringify(boxes));
    assert.ok(Math.abs(boxes.ProtocolReadings.y - boxes.Form1.y - 566 * scale) < 1, JSON.stringify(boxes));
    // and leave the scene, the coil current, the voltage and the way back in view.
    const covered = await page.evaluate(() => ["PaintBox1Slot", "ScrollBar7", "ScrollBar4", "ProtocolButton"]
        .filter((id) => {
          const { left, top, width, height } = document.getElementById(id).getBoundingClientRect();
          return !document.getElementById(id).contains(document.elementFromPoint(left + width / 2, top + height / 2));
        }));
    assert.deepEqual(covered, []);

    const cells = await rowCells();
    assert.deepEqual(cells.map((c) => c.slice(0, 6)), rows.map(([u, i, a, k, mode], n) =>
        [String(n + 1), String(u), (i / 1000).toFixed(3).replace(".", ","), k === 2 ? "12" : "–", String(k),
         `${a} ${mode === "ac" ? "~" : "="}`]));
    const csvFile = join(work, "reihe.csv");
    writeFileSync(csvFile, "U in V;I in A;k;ΔI in A\n" +
        rows.map(([u, i, , k]) => `${u};${String(i / 1000).replace(".", ",")};${k};${k === 2 ? "0,012" : ""}\n`).join(""));
    const printed = execFileSync(evaluator, [csvFile], { encoding: "utf8" }).trimEnd().split("\n");
    assert.deepEqual(cells.map((c) => c[7]),
                     printed.slice(0, 3).map((line) => line.match(/e\/m = (\S+) · 10¹¹ C\/kg$/)[1]));
    const summary = await text("ProtocolResult");
    assert.equal(summary, printed.slice(3).join("\n"));
    assert.match(summary.split("\n")[1],
                 /^Abweichung vom Literaturwert 1,75882 · 10¹¹ C\/kg: [+\u2212]\d+,\d\d % = \d+,\d σ: \S/);

    // The start-up current: refused, every row stays, also after a reload.
    await openProtocol("?deflection=on");
    await showsRows(3);
    await page.click("#ProtocolRecord");
    await statusMatches(/^Bei 0 A Spulenstrom gibt es keinen Fokus/);
    assert.deepEqual(await rowCells(), cells);
    await openProtocol("?deflection=on");
    await showsRows(3);
    assert.deepEqual(await rowCells(), cells);

    // Ctrl+Enter records from anywhere, but not under the information or the
    // data page. Their buttons lie under the open protocol: it is closed first.
    await ctrl("KeyM");
    await page.click("#Button6");
    await ctrl("Enter");
    await statusMatches(/^Die Seite „Daten“ verdeckt die Einstellungen/);
    await page.keyboard.press("Escape");
    await ctrl("KeyM");
    await page.click("#Button1");
    await ctrl("Enter");
    await page.waitForFunction(() => /Die Informationsseite verdeckt/.test(document.getElementById("Notices").textContent));
    assert.equal(await rowCount(), 3);

    // "Zeile löschen" takes the selected row; "Alle löschen" asks first, "Nein" being the default.
    await page.click("#Button14");
    await ctrl("KeyM");
    await page.click("#ProtocolTable tbody tr:nth-child(2)");
    await page.click("#ProtocolDelete");
    await showsRows(2);
    assert.equal(await text("ProtocolStatus"), "Messwert Nr. 2 gelöscht.");
    for (const [answer, left] of [["Enter", 2], ["Shift+Tab", 0]]) {
      await page.click("#ProtocolClear");
      await question();
      assert.equal(await page.$eval("dialog.question p", (p) => p.textContent),
                   "Alle 2 Messwerte löschen? „Rückgängig“ (Strg+Z) holt sie zurück.");
      if (answer === "Shift+Tab") {
        await page.keyboard.down("Shift");
        await page.keyboard.press("Tab");
        await page.keyboard.up("Shift");
      }
      await page.keyboard.press("Enter");
      await page.waitForFunction(() => !document.querySelector("dialog"));
      await showsRows(left);
    }
    assert.equal(await stored(), HEAD);
    // Ctrl+Z puts them back, once; then "Rückgängig" is disabled.
    await ctrl("KeyZ");
    await showsRows(2);
    assert.equal(await text("ProtocolStatus"), "2 Messwerte wiederhergestellt (Nr. 1 und 2).");
    assert.deepEqual((await rowCells()).map((row) => row.slice(1)), [cells[0], cells[2]].map((row) => row.slice(1)));
    assert.equal((await stored()).split("\n").length, 4, "header, two rows, the end");
    assert.ok(await page.$eval("#ProtocolUndo", (button) => button.disabled));
    if (shots) await page.screenshot({ path: join(shots, "protocol-undo.png") });

    // The same reading twice within a second asks first; "Nein" is the default.
    await openProtocol(reading(300, 615, 60));
    await showsRows(2);
    await page.evaluate(() => {
      document.getElementById("ProtocolRecord").click();
      document.getElementById("ProtocolRecord").click();
    });
    await question();
    assert.match(await page.$eval("dialog.question p", (p) => p.textContent), /^Diesen Messwert noch einmal übernehmen\?/);
    await page.keyboard.press("Enter");
    await page.waitForFunction(() => !document.querySelector("dialog"));
    await showsRows(3);
  });

  test("two tabs recording in turn and at once: every row in the store and on both screens", async () => {
    const second = await browser.newPage();
    watch(second);
    try {
      await openEmptyProtocol(reading(300, 615, 60));
      await openProtocol(reading(800, 1004, 150), second);
      const tabs = [page, second];
      for (let i = 0; i < 6; ++i) {
        const tab = tabs[i % 2];
        await tab.bringToFront();
        await tab.evaluate(() => Form1.ScrollBar7.setPosition(Form1.ScrollBar7.position + 1));  // not the same reading
        await tab.click("#ProtocolRecord");
        await showsRows(i + 1, tab);
      }
      // Both at the same moment, twice each, twice.
      for (const rows of [10, 14]) {
        await Promise.all(tabs.map((tab) => tab.evaluate(() => {
          for (let i = 0; i < 2; ++i) {
            Form1.ScrollBar7.setPosition(Form1.ScrollBar7.position + 1);
            document.getElementById("ProtocolRecord").click();
          }
        })));
        for (const tab of tabs) await showsRows(rows, tab);
      }
      const lines = (await stored()).trimEnd().split("\n").slice(1);
      assert.equal(lines.length, 14);
      assert.equal(new Set(lines.map((line) => line.split(";")[0])).size, 14, "an identity each");
      assert.deepEqual(lines.map((line) => line.split(";")[1]).sort(), [...Array(7).fill("300"), ...Array(7).fill("800")]);
    } finally {
      await second.close();
    }
  });
});

describe("store", () => {
  test("a damaged store keeps its good rows and is kept aside under a new key each time; a full storage is told; " +
       "the store of localStorage is taken over", async () => {
    const good = ["a1;300;0,615;1;60;Wechselspannung;;\n", "c3;800;1,004;1;150;Gleichspannung;0,005;\n"];
    // [stored text, rows kept, what the message names]
    const damaged = [
      [HEAD + good[0] + "b2;300;abc;1;60;;;\n" + good[1], 2, "Zeile 3: I = „abc“ ist keine Zahl"],
      [HEAD + good[0] + "b2;300;0,6\u00001;1;60;;;\n" + good[1], 2, "„0,6\\01“"],
      ["x".repeat(4_000_000), 0, "größer als 1 MB"],
    ];
    await openEmptyProtocol(reading(300, 615, 60));
    // Damaged as an earlier version of the page kept the store: whole, in one entry.
    const earlierStore = async (content) => {
      await entries("delete", `${STORE}.teile`);
      await entries("put", STORE, content);
    };
    for (const [n, [content, kept, named]] of damaged.entries()) {
      await earlierStore(content);
      // Damaged, not cut: its count of rows as whatever wrote it last counted them.
      await entries("put", `${STORE}.zeilen`, String(kept));
      await openProtocol(reading(300, 615, 60));
      await showsRows(kept);
      const key = `${STORE}.defekt-${n + 1}`;
      await statusMatches(new RegExp(`unter „${key.replace(/\./g, "\\.")}“`));
      assert.ok((await text("ProtocolStatus")).includes(named), await text("ProtocolStatus"));
      assert.equal(await stored(key), content, `${key} holds the damaged store as it was`);
      assert.equal(await stored(), HEAD + good.slice(0, kept).join(""));
    }
    assert.equal(await stored(`${STORE}.defekt-1`), damaged[0][0], "an earlier copy is never overwritten");

    // A full storage aborts the transaction (QuotaExceededError): a reading
    // is not stored, and a damaged store that cannot be kept aside stays as
    // it is, its good rows shown; the table says so each time. (Chromium's
    // quota override of the DevTools protocol leaves IndexedDB's quota as it is.)
    const storageFull = (full) => page.evaluate((full) => {
      window.realPut ??= IDBObjectStore.prototype.put;
      IDBObjectStore.prototype.put = !full ? window.realPut : function abortingPut(...args) {
        const request = window.realPut.apply(this, args);
        this.transaction.abort();
        return request;
      };
    }, full);
    await storageFull(true);
    await page.click("#ProtocolRecord");
    await statusMatches(/^Nicht gesichert: der Speicher des Browsers ist voll\. .*\nMesswert Nr\. 1 übernommen/);
    assert.equal(await rowCount(), 1, "the reading stays in the tab");
    assert.equal(await stored(), HEAD);
    await storageFull(false);
    await statusMatches(/^Gesichert/);  // tried again without a click
    assert.equal((await stored()).split("\n").length, 3, "header, the row, the end");
    await earlierStore(damaged[0][0]);
    await storageFull(true);
    await page.evaluate((key) => new BroadcastChannel(key).postMessage("changed"), STORE);  // as another tab
    await statusMatches(/zu voll, um es beiseitezulegen/);
    await showsRows(2);
    await storageFull(false);
    assert.equal(await stored(), damaged[0][0]);
    await page.evaluate(() => { IDBObjectStore.prototype.put = window.realPut; });

    // The table that earlier versions of the page kept in localStorage.
    await entries("clear");
    await page.evaluate((key) => localStorage.setItem(key, "U in V;I in A;k;Amplitude\n300;0,615;1;60\n"), STORE);
    await openProtocol(reading(300, 615, 60));
    await showsRows(1);
    assert.equal(await page.evaluate((key) => localStorage.getItem(key), STORE), null);
    assert.equal(await stored(), HEAD + "z2;300;0,615;1;60;;;\n");
  });
});

describe("store lost", () => {
  test("a store that lost rows behind the tab's back is kept aside and the tab's rows written back; " +
       "so is a table an older page wrote whole", async () => {
    await openEmptyProtocol(reading(300, 615, 60));
    for (const current of [615, 616]) {
      await page.evaluate((current) => Form1.ScrollBar7.setPosition(current), current);
      await page.click("#ProtocolRecord");
    }
    await showsRows(2);
    const cells = await rowCells();
    // Another tab clears the site's data (or the browser evicts it) and says so.
    await entries("clear");
    await page.evaluate((key) => new BroadcastChannel(key).postMessage("changed"), STORE);
    await statusMatches(/^Das gespeicherte Protokoll hat von außen Zeilen verloren \(0 statt 2\): .*„varek-messprotokoll\.defekt-1“/);
    assert.deepEqual(await rowCells(), cells);
    assert.equal((await stored()).split("\n").length, 4, "header, both rows, the end");
    assert.equal(await stored(`${STORE}.defekt-1`), "", "the store as it was found");
    // The page's own deletion is no loss: the next read takes the store as it is.
    await page.evaluate(() => document.querySelector("#ProtocolTable tbody tr").click());
    await page.click("#ProtocolDelete");
    await showsRows(1);
    await page.evaluate(() => Form1.protocol.Apply(0));
    assert.equal(await text("ProtocolStatus"), "Messwert Nr. 1 gelöscht.");

    // A tab of an older version of the page, still open, writes its table
    // whole, as it knows the store, with its own count: kept aside, not
    // taken as the store.
    const shown = await rowCells(), before = await stored();
    const older = HEAD + "q9;500;0,800;1;60;;;\nq8;600;0,880;1;60;;;\n";
    await entries("put", STORE, older);
    await entries("put", `${STORE}.zeilen`, "2");
    await page.evaluate((key) => new BroadcastChannel(key).postMessage("changed"), STORE);
    await statusMatches(/^Ein Tab mit einer älteren Fassung der Seite hat 2 Messwerte .*„varek-messprotokoll\.defekt-2“/);
    assert.deepEqual(await rowCells(), shown);
    assert.equal(await stored(`${STORE}.defekt-2`), older);
    assert.equal(await stored(), before, "the store as this tab wrote it");
    assert.equal(await entries("get", `${STORE}.zeilen`), "1");
    await entries("clear");
  });
});

describe("storage refused", () => {
  test("with IndexedDB refused the readings stay in the tab and are stored once it is there", async () => {
    const blocked = await browser.newPage();
    watch(blocked);
    await blocked.evaluateOnNewDocument(() => {
      window.storageRefused = sessionStorage.getItem("refused") === "1";
      const open = indexedDB.open.bind(indexedDB);
      indexedDB.open = (...args) => {
        if (window.storageRefused) throw new DOMException("refused", "SecurityError");
        return open(...args);
      };
    });
    await openEmptyProtocol(reading(300, 615, 60), blocked);
    await blocked.evaluate(() => sessionStorage.setItem("refused", "1"));
    await openProtocol(reading(300, 615, 60), blocked);
    const status = () => blocked.$eval("#ProtocolStatus", (e) => e.textContent);
    // Said once, as the page starts; each change then says that it waits.
    await blocked.waitForFunction(() => document.getElementById("ProtocolStatus").textContent !== "");
    assert.match(await status(), /^Nicht gesichert: der Browser erlaubt dieser Seite keinen Speicher\. .*„CSV exportieren …“\.$/);
    await blocked.click("#ProtocolRecord");
    await showsRows(1, blocked);
    assert.match(await status(), /^Messwert Nr\. 1 übernommen: .* \(noch nicht gesichert\)$/);
    if (shots) await blocked.screenshot({ path: join(shots, "protocol-storage-refused.png") });
    await blocked.evaluate(() => { window.storageRefused = true; });
    assert.equal(await stored(), null, "nothing stored while refused");
    await blocked.evaluate(() => { window.storageRefused = false; });
    await blocked.waitForFunction(() => /^Gesichert/.test(document.getElementById("ProtocolStatus").textContent),
                                  { timeout: 10000 });
    assert.match(await stored(), /^Kennung;.*\n[0-9a-f]{16};300;0,615;1;60;Wechselspannung;;\n$/);
    await blocked.close();
    await entries("clear");
  });
});

describe("files", () => {
  test("import asks in the page; CSV round trip with Amplitude; PNG and SVG; hostile files as varek-auswertung",
       async () => {
    await openEmptyProtocol(reading(300, 615, 60));
    await page.click("#ProtocolRecord");
    await showsRows(1);
    const withAmplitude = "U in V;I in A;k;Amplitude;Ablenkung;ΔI in A;in Auswertung\n800;1,004;1;150;Gleichspannung;0,005;\n" +
                          "1200;1,231;1;;;;nein\n500;0,900;1;100;;;\n";
    const without = "U in V;I in A;k\n300;0,615;1\n";

    await upload("ohne.csv", without);
    await question();
    assert.deepEqual(await page.$eval("dialog.question", (d) => [d.querySelector("h2").textContent,
                                                                d.querySelector("p").textContent,
                                                                [...d.querySelectorAll("button")].map((b) => b.textContent),
                                                                document.activeElement.textContent]),
                     ["Messprotokoll",
                      "„ohne.csv“ enthält 1 Messwert. Die Tabelle (1 Messwert) damit ersetzen oder sie anhängen?",
                      ["Ersetzen", "Anhängen", "Abbrechen"], "Abbrechen"]);
    for (let i = 0; i < 4; ++i) await page.keyboard.press("Tab");
    assert.ok(await page.evaluate(() => document.activeElement.closest("dialog") !== null), "Tab stays in the question");
    assert.deepEqual(await axeViolations(page), [], "the import question");
    if (shots) await page.screenshot({ path: join(shots, "import-question.png") });
    await page.keyboard.press("Escape");
    await page.waitForFunction(() => !document.querySelector("dialog"));
    assert.equal(await rowCount(), 1, "Escape is Abbrechen");

    await upload("reihe.csv", withAmplitude);
    await question();
    await page.click("dialog.question button:first-of-type");  // Ersetzen
    await showsRows(3);
    await statusMatches(/^3 Messwerte importiert aus „reihe\.csv“$/);
    const downloads = mkdtempSync(join(work, "downloads-"));
    const cdp = await page.createCDPSession();
    await cdp.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloads });
    await page.click("#ProtocolExport");
    assert.equal((await downloaded(downloads, "messprotokoll.csv")).toString(), withAmplitude);

    await upload("ohne.csv", without);
    await question();
    await page.click("dialog.question button:nth-of-type(2)");  // Anhängen
    await showsRows(4);
    assert.deepEqual((await rowCells()).map((row) => row[5]), ["150 =", "–", "100", "–"]);
    assert.deepEqual(await page.$$eval("#ProtocolTable tr.outlier", (rows) => rows.map((row) => row.cells[0].textContent)),
                     ["3"]);
    assert.match(await text("ProtocolWarnings"), /^Ausreißer Nr\. 3 \(markiert\)/);
    // The outlier and the row the file took out are left out; a check box takes the outlier in.
    assert.match(await text("ProtocolResult"), /\nNr\. 3 nicht berücksichtigt \(Ausreißer\); Nr\. 2 nicht berücksichtigt \(abgewählt\)$/);
    assert.deepEqual(await page.$$eval("#ProtocolTable tbody input", (boxes) => boxes.map((box) => box.checked)),
                     [true, false, false, true]);
    await page.click("#ProtocolTable tbody tr:nth-child(3) input");
    await statusMatches(/^Messwert Nr\. 3 in die Auswertung genommen\.$/);
    assert.match(await text("ProtocolResult"), /\nNr\. 2 nicht berücksichtigt \(abgewählt\)$/);
    await page.click("#ProtocolTable tbody tr:nth-child(3)");
    assert.deepEqual(await axeViolations(page), [], "four rows, one an outlier and selected");

    await page.click("#ProtocolPng");
    const png = join(downloads, "messprotokoll.png");
    await downloaded(downloads, "messprotokoll.png");
    assert.deepEqual([readPng(png).width, readPng(png).height], [1600, 1000]);
    await page.click("#ProtocolSvg");
    const svg = (await downloaded(downloads, "messprotokoll.svg")).toString();
    assert.deepEqual(await page.evaluate((source) => {
      const document = new DOMParser().parseFromString(source, "image/svg+xml");
      return [document.querySelector("parsererror") === null, document.querySelectorAll("circle").length,
              document.querySelector("title").textContent];
    }, svg), [true, 4, "Diagramm I² über k²·U mit Ausgleichsgerade"]);

    // Hostile files: the page refuses each with varek-auswertung's reason, and the table stays.
    const before = await rowCells();
    const hostile = [
      ["gross.csv", "U in V;I in A;k\n" + "1200;1,23;1\n".repeat(90_000)],
      ["escape.csv", "U in V;I in A;k\n1200;\u001b[31m1,23\r;1\n"],
      ["winzig.csv", "U in V;I in A;k\n1200;1e-200;1\n"],
      ["nan.csv", "U in V;I in A;k\n1200;nan(0x1);1\n"],
      ["riesig.csv", "U in V;I in A;k\n1e61;1,23;1\n"],
      ["vorzeichen.csv", "U in V;I in A;k;Amplitude\n+-5;1,23;1;\n"],
      ["kopf.csv", "Spannung;Strom\n1200;1,23\n"],
      ["utf16.csv", Buffer.from("\ufeffU in V;I in A;k\n1200;1,23;1\n", "utf16le")],
      ["zwei-marken.csv", "\ufeff\ufeffU in V;I in A;k\n1200;1,23;1\n"],
    ];
    for (const [name, content] of hostile) {
      const file = await upload(name, content);
      const refused = spawnSync(evaluator, [file], { encoding: "utf8" });
      assert.equal(refused.status, 2, name);
      const reason = refused.stderr.trimEnd().split(`„${file}“`).at(-1).replace(/^: /, "");
      await statusMatches(new RegExp(`^„${name.replace(".", "\\.")}“`));
      const status = await text("ProtocolStatus");
      assert.ok(status.startsWith(`„${name}“`) && status.includes(reason), `${name}: ${status} / ${reason}`);
      assert.deepEqual(await rowCells(), before, name);
    }
  });

  // The table that the import left.
  test("the page's view and plot plan are the desktop build's for the same table", async () => {
    const table = join(work, "store.csv");
    writeFileSync(table, await stored());
    const desktop = JSON.parse(execFileSync(digest, [table, "424", "196"], { encoding: "utf8" }));
    const shown = await page.evaluate(() => ({ view: Form1.protocol.core.view(), plot: Form1.protocol.core.plot(424, 196) }));
    assert.equal(desktop.view.rows.length, 4);
    assert.ok(desktop.plot.marks.some((mark) => mark.outlier));
    assert.deepEqual(shown, desktop);
  });
});

describe("print and screens", () => {
  // With the table that the import left.
  test("the printed page is the protocol alone, dark on white; the panel on a phone and at 1366 × 768", async () => {
    await page.emulateMediaType("print");
    assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll("button, input, [role=slider], canvas, a")]
        .filter((e) => e.checkVisibility()).map((e) => e.id || e.tagName)), [], "nothing interactive is printed");
    await page.emulateMediaType(null);
    if (shots) await page.screenshot({ path: join(shots, "protocol-1366x768.png") });
    const pdf = join(work, "protokoll.pdf");
    await page.pdf({ path: pdf, format: "A4" });
    const words = execFileSync("pdftotext", ["-layout", pdf, "-"], { encoding: "utf8" });
    for (const line of ["Messprotokoll: spezifische Ladung des Elektrons", "Spule: Windungszahl n = 2000",
                        "U in V", "e/m = (", "Abweichung vom Literaturwert", "Ausreißer Nr. 3", "k² · U in V"]) {
      assert.ok(words.includes(line), `printed page lacks ${line}`);
    }
    assert.match(words, /Datum: \d\d\.\d\d\.\d{4}, \d\d:\d\d Uhr/);
    execFileSync("pdftoppm", ["-png", "-r", "100", "-f", "1", "-l", "1", "-singlefile", pdf, join(work, "seite")]);
    const { rgba } = readPng(join(work, "seite.png"));
    let white = 0, dark = 0;
    for (let i = 0; i < rgba.length; i += 4) {
      const light = rgba[i] + rgba[i + 1] + rgba[i + 2];
      if (light > 3 * 245) ++white;
      else if (light < 3 * 80) ++dark;
    }
    assert.ok(white > 0.8 * rgba.length / 4 && dark > 500, `white ${white}, dark ${dark}`);
    if (shots) execFileSync("cp", [join(work, "seite.png"), join(shots, "printed-page.png")]);

    const phone = await browser.newPage();
    watch(phone);
    try {
      await phone.emulate({ viewport: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
                            userAgent: await browser.userAgent() });
      await openProtocol(reading(300, 615, 60), phone);
      await showsRows(4, phone);
      const small = await phone.evaluate(() => [...document.querySelectorAll("#Protocol button, #Protocol input")]
          .filter((e) => e.checkVisibility()).filter((e) => {
            const box = e.getBoundingClientRect();
            return box.width < 44 || box.height < 44;
          }).map((e) => e.id));
      assert.deepEqual(small, [], "touch targets smaller than 44 x 44");
      assert.ok(await phone.evaluate(() => document.documentElement.scrollWidth <= document.documentElement.clientWidth));
      const record = await phone.$("#ProtocolRecord");
      await record.scrollIntoView();
      const box = await record.boundingBox();
      await phone.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
      await showsRows(5, phone);
      if (shots) {
        await (await phone.$("#Protocol")).scrollIntoView();
        await phone.screenshot({ path: join(shots, "protocol-phone.png") });
      }
    } finally {
      await phone.close();
    }
  });
});

describe("many rows", () => {
  test("of 5,000 rows only those in sight are elements; scrolling shows their numbers, the keys reach the last", async () => {
    const rows = 5000;
    await openEmptyProtocol(reading(300, 615, 60));
    await upload("viele.csv", "U in V;I in A;k\n" +
        Array.from({ length: rows }, (_, i) => `${300 + (i % 1700)};${(1 + (i % 900) / 1000).toFixed(3).replace(".", ",")};1\n`).join(""));
    await statusMatches(/^5000 Messwerte importiert/);
    assert.equal(await page.$eval("#ProtocolTable table", (t) => t.getAttribute("aria-rowcount")), String(rows + 1));
    assert.ok(await rowCount() < 50, `${await rowCount()} rows are elements`);
    // The numbers of the rows wholly in sight below the titles, and each row's aria-rowindex.
    const inSight = () => page.evaluate(() => {
      const box = document.getElementById("ProtocolTable").getBoundingClientRect();
      const below = document.querySelector("#ProtocolTable th").getBoundingClientRect().bottom;  // sticky
      return [...document.querySelectorAll("#ProtocolTable tbody tr")].filter((row) => {
        const { top, bottom } = row.getBoundingClientRect();
        return top >= below - 1 && bottom <= box.bottom + 1;
      }).map((row) => [Number(row.cells[0].textContent), Number(row.getAttribute("aria-rowindex"))]);
    });
    const frame = () => page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
    for (const part of [0, 0.5, 1]) {
      await page.$eval("#ProtocolTable", (box, part) => { box.scrollTop = part * (box.scrollHeight - box.clientHeight); }, part);
      await frame();
      const shown = await inSight();
      assert.ok(shown.length >= 4, JSON.stringify(shown));
      const first = Math.round(part * (rows - shown.length)) + 1;
      assert.ok(Math.abs(shown[0][0] - first) <= 1, `at ${part}: ${JSON.stringify(shown)}`);
      assert.deepEqual(shown, shown.map((_, i) => [shown[0][0] + i, shown[0][0] + i + 1]), `at ${part}`);
    }
    if (shots) await page.screenshot({ path: join(shots, "protocol-5000-rows.png") });
    const selected = () => page.evaluate(() => {
      const table = document.querySelector("#ProtocolTable table");
      const row = document.getElementById(table.getAttribute("aria-activedescendant"));
      return row.getAttribute("aria-selected") === "true" ? Number(row.cells[0].textContent) : NaN;
    });
    await page.$eval("#ProtocolTable", (box) => { box.scrollTop = 0; });
    await page.focus("#ProtocolTable table");
    for (const [key, number] of [["ArrowDown", 1], ["ArrowDown", 2], ["End", rows], ["ArrowUp", rows - 1],
                                 ["ArrowDown", rows], ["ArrowDown", rows], ["Home", 1]]) {
      await page.keyboard.press(key);
      await frame();
      assert.equal(await selected(), number, key);
      assert.ok((await inSight()).some(([n]) => n === number), `${key}: row ${number} in sight`);
    }
    await page.keyboard.press("End");
    await page.click("#ProtocolDelete");
    await statusMatches(/^Messwert Nr\. 5000 gelöscht/);
    assert.equal(await selected(), rows - 1, "the row above is selected");
    assert.deepEqual(await axeViolations(page), [], "a long table");

    // The store in pieces: a deletion in the middle, a reading and the
    // deletion undone each write a few of them; read back whole after a reload.
    await page.evaluate(() => Form1.protocol.rows.SelectAt(1234));
    await page.click("#ProtocolDelete");
    await statusMatches(/^Messwert Nr\. 1235 gelöscht/);
    await page.click("#ProtocolRecord");
    await statusMatches(/^Messwert Nr\. 4999 übernommen/);
    await page.click("#ProtocolUndo");
    await statusMatches(/^Messwert Nr\. 1235 wiederhergestellt/);
    const view = () => page.evaluate(() => Form1.protocol.core.view().rows.map(({ id, cells }) => [id, ...cells]));
    const shown = await view();
    assert.equal(shown.length, rows);
    assert.ok(JSON.parse(await entries("get", `${STORE}.teile`)).length > 5, "the store is in pieces");
    const lines = (await stored()).split("\n");
    assert.equal(lines.shift(), HEAD.trimEnd());
    assert.equal(lines.pop(), "", "the last line ends");
    assert.deepEqual(lines.map((line) => line.split(";")[0]), shown.map(([id]) => id), "the store's rows as shown");
    await openProtocol(reading(300, 615, 60));
    assert.deepEqual(await view(), shown, "read back whole");
    await entries("clear");
  });

  test("thin lines of one path (the error bars, stroked at once) have the pixels of each stroked on its own; " +
       "those under marks are left out", async () => {
    await openEmptyProtocol(reading(300, 615, 60));
    await upload("balken.csv", "U in V;I in A;k;ΔI in A\n" + Array.from({ length: 3000 }, (_, i) =>
        `${300 + (i % 1700)};${(0.6 + (i % 900) / 500).toFixed(3).replace(".", ",")};1;0,0${10 + (i % 80)}\n`).join(""));
    await statusMatches(/^3000 Messwerte importiert/);
    const differing = await page.evaluate(() => {
      const lines = Form1.protocol.core.plotDrawing(424, 196).lineNumbers.slice();
      const draw = (together) => {
        const g = document.createElement("canvas").getContext("2d", PLOT_CONTEXT);
        [g.canvas.width, g.canvas.height] = [424, 196];
        g.fillStyle = "#fff";
        g.fillRect(0, 0, 424, 196);
        Object.assign(g, { lineCap: "round", lineWidth: 1, strokeStyle: "#003ca0" });
        g.beginPath();
        for (let i = 0; i < lines.length; i += PLOT_LINE_NUMBERS) {
          g.moveTo(lines[i], lines[i + 1]);
          g.lineTo(lines[i + 2], lines[i + 3]);
          if (!together) g.stroke(), g.beginPath();
        }
        g.stroke();
        return new Uint32Array(g.getImageData(0, 0, 424, 196).data.buffer);
      };
      const [apart, together] = [draw(false), draw(true)];
      return [apart.filter((pixel, i) => pixel !== together[i]).length, lines.length / PLOT_LINE_NUMBERS];
    });
    assert.ok(differing[1] > 9000, `${differing[1]} lines`);
    assert.equal(differing[0], 0, "pixels differ");

    // The plot leaves out the lines its marks hide (error bars shorter than
    // a mark): the same pixels as every line drawn and the marks laid over
    // them, at whole and uneven scales; the table's plot (marks overlapping,
    // bars reaching out of them and past the frame) and bars ending
    // everywhere about a mark's rim, a twentieth of a pixel apart, with marks
    // over one another across the picture's edges. The marks
    // laid by the core are those of each mark's stamp blended over the
    // picture here, one after the other (as the page's script laid them).
    const hidden = await page.evaluate(() => {
      // Each mark as a disc drawn by the canvas a quarter pixel off the
      // grid at most, its pixels laid over the picture: those it covers
      // whole as they are, the others blended with their coverage.
      const stamps = new Map();
      const stamped = (g, plan, scale) => {
        const out = new Uint32Array(g.getImageData(0, 0, g.canvas.width, g.canvas.height).data.buffer);
        const image = new ImageData(new Uint8ClampedArray(out.buffer), g.canvas.width);
        const marks = plan.markNumbers;
        for (let i = 0; i < marks.length; i += PLOT_MARK_NUMBERS) {
          const [x, y, radius, edgeWidth, fill, edge] = marks.subarray(i, i + PLOT_MARK_NUMBERS);
          const reach = Math.ceil((radius + edgeWidth / 2) * scale) + 1, size = 2 * reach + 2;
          const [left, top] = [Math.floor(x * scale), Math.floor(y * scale)];
          const [dx, dy] = [Math.round((x * scale - left) * 4) / 4, Math.round((y * scale - top) * 4) / 4];
          const key = [dx, dy, radius, edgeWidth, fill, edge, scale].join();
          if (!stamps.has(key)) {
            const s = document.createElement("canvas").getContext("2d", PLOT_CONTEXT);
            s.canvas.width = s.canvas.height = size;
            s.arc(reach + dx, reach + dy, radius * scale, 0, 2 * Math.PI);
            Object.assign(s, { fillStyle: plotColour(fill), strokeStyle: plotColour(edge), lineWidth: edgeWidth * scale });
            s.fill();
            s.stroke();
            stamps.set(key, new Uint32Array(s.getImageData(0, 0, size, size).data.buffer));
          }
          stamps.get(key).forEach((p, k) => {
            const [px, py, a] = [left - reach + (k % size), top - reach + Math.floor(k / size), p >>> 24];
            if (a === 0 || px < 0 || py < 0 || px >= g.canvas.width || py >= g.canvas.height) return;
            const o = py * g.canvas.width + px, d = out[o];
            const mix = (shift) => (((p >>> shift) & 255) * a + ((d >>> shift) & 255) * (255 - a) + 127) / 255 | 0;
            out[o] = 0xff000000 | (mix(16) << 16) | (mix(8) << 8) | mix(0);
          });
        }
        g.putImageData(image, 0, 0);
      };
      const compared = (plan, scale) => {
        const [width, height] = [Math.floor(plan.width * scale), Math.floor(plan.height * scale)];
        const pixels = (draw) => {
          const g = document.createElement("canvas").getContext("2d", PLOT_CONTEXT);
          [g.canvas.width, g.canvas.height] = [width, height];
          draw(g);
          return new Uint32Array(g.getImageData(0, 0, width, height).data.buffer);
        };
        const expected = pixels((g) => {
          drawPlotPlan(g, { ...plan, markNumbers: plan.markNumbers.subarray(0, 0) }, scale);
          stamped(g, plan, scale);
        });
        const drawn = pixels((g) => drawPlotPlan(g, plan, scale));
        const lines = plan.lineNumbers.length / PLOT_LINE_NUMBERS;
        const left = lines - plan.pixels.place(plan, scale, width, height).length / PLOT_LINE_NUMBERS;
        return { scale, differing: drawn.filter((pixel, i) => pixel !== expected[i]).length, left, lines };
      };
      const drawing = Form1.protocol.core.plotDrawing(424, 196);
      const table = { ...drawing, texts: [], markNumbers: drawing.markNumbers.slice(),
                      lineNumbers: drawing.lineNumbers.slice() };
      const look = [...table.markNumbers.subarray(2, PLOT_MARK_NUMBERS)];
      const marks = [], lines = [];
      for (let n = 0; n < 120; ++n) {
        const [x, y] = [12 + (n % 20) * 20.13, 12 + Math.floor(n / 20) * 30.27];
        marks.push(x, y, ...look);
        for (let k = -3; k <= 3; ++k) {
          const end = y + look[0] * (0.2 + ((n * 7 + k + 3) % 20) / 20);
          lines.push(x + k / 2, y, x + k / 2, end, 1, 0x003ca0, x + k / 2 - 1, end, x + k / 2 + 1, end, 1, 0xc00000);
        }
      }
      // and marks over one another reaching past the picture's edges.
      for (const [x, y] of [[1, 1], [2.3, 1.6], [423, 195], [422.2, 194.4], [-1.5, 90], [-0.7, 91.2], [212, 196.5],
                            [212.6, 195.8], [1, 1]]) {
        marks.push(x, y, ...look);
      }
      const rims = { ...table, markNumbers: Float64Array.from(marks), lineNumbers: Float64Array.from(lines) };
      return [table, rims].flatMap((plan) => [1, 1.0803, 1.5, 2].map((scale) => compared(plan, scale)));
    });
    for (const { scale, differing, left, lines } of hidden) {
      assert.ok(left > lines / 10 && left < lines * 0.9, `scale ${scale}: ${left} of ${lines} lines hidden`);
      assert.equal(differing, 0, `scale ${scale}: pixels differ`);
    }

    // The plan read where it lies in the core's memory, and that memory
    // growing while the marks are placed: the same picture as from a copy.
    const grown = await page.evaluate(() => {
      const m = Form1.protocol.core.m;
      const pixels = (plan) => {
        const g = document.createElement("canvas").getContext("2d", PLOT_CONTEXT);
        [g.canvas.width, g.canvas.height] = [424, 196];
        drawPlotPlan(g, plan, 1);
        return new Uint32Array(g.getImageData(0, 0, 424, 196).data.buffer);
      };
      const copied = Form1.protocol.core.plotDrawing(424, 196);
      const expected = pixels({ ...copied, markNumbers: copied.markNumbers.slice(), lineNumbers: copied.lineNumbers.slice() });
      const place = m._varek_plot_place;
      const before = m.HEAPU8.length;
      m._varek_plot_place = (...args) => {
        m._free(m._malloc(2 * m.HEAPU8.length));
        return place(...args);
      };
      try {
        const drawn = pixels(Form1.protocol.core.plotDrawing(424, 196));
        return { grew: m.HEAPU8.length > before, differing: drawn.filter((pixel, i) => pixel !== expected[i]).length };
      } finally {
        m._varek_plot_place = place;
      }
    });
    assert.ok(grown.grew, "the core's memory grew");
    assert.equal(grown.differing, 0, "pixels differ");
    await entries("clear");
  });
});
