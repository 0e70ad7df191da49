// SPDX-FileCopyrightText: 2026 The varek-em developers
// SPDX-License-Identifier: GPL-3.0-or-later
"use strict";
// The store's text in IndexedDB as pieces of whole lines, each an entry
// under a key of its own, listed in order under the core's piecesKey. A
// piece keeps its text as long as its key is listed: a change writes new
// pieces for the lines it changes (a reading: the last piece, which takes
// the new line; a deletion: the piece that held the row) and removes the
// pieces they replace, and the list; the other pieces are neither read
// again nor written. At 20,000 rows a change so puts a few kilobytes
// instead of a megabyte, and a tab that reads the same list as it wrote
// last reads nothing else. Everything happens in the transaction of the
// step (protocol_store.js): all of it is stored, or nothing.

class StorePieces {
  static LINES = 500;  // at most, a piece

  // listKey: the key of the list; pieceKey: the start of a piece's key.
  constructor(listKey, pieceKey) {
    this.listKey = listKey;
    this.pieceKey = pieceKey;
    this.known = new Map();  // key -> text of the pieces this tab has read or written
  }

  // Reads the listed pieces in the transaction's object store `entries`
  // (a piece this tab knows is not read again), then calls
  // done(text, pieces): their text (undefined without a list), and the
  // pieces [{key, text}] in order. A listed piece that is missing reads as
  // nothing: the store lost its rows.
  read(entries, list, done) {
    if (list === undefined) return done(undefined, []);
    let keys = [];
    try {
      keys = JSON.parse(list);
    } catch { /* not a list: no pieces */ }
    if (!Array.isArray(keys)) keys = [];
    const texts = new Map();
    const missing = keys.filter((key) => !this.known.has(key));
    const finish = () => {
      const pieces = keys.map((key) => ({ key, text: this.known.get(key) ?? texts.get(key) ?? "" }));
      done(pieces.map((piece) => piece.text).join(""), pieces);
    };
    if (missing.length === 0) return finish();
    let waiting = missing.length;
    for (const key of missing) {
      const request = entries.get(key);
      request.onsuccess = () => {
        if (typeof request.result === "string") texts.set(key, request.result);
        if (--waiting === 0) finish();
      };
    }
  }

  // Writes over `pieces` (as read) in `entries` the text that keeps their
  // first `head` and last `tail` lines and has the texts `middle` between:
  // the pieces wholly in those lines stay. Returns the list and the pieces
  // as they are once the transaction is complete.
  write(entries, pieces, { head, middle, tail }) {
    for (const piece of pieces) piece.lines ??= StorePieces.lines(piece.text);
    let first = 0;
    while (first < pieces.length && pieces[first].lines <= head) head -= pieces[first++].lines;
    // A piece not full before the changed lines takes them: readings fill the last piece.
    if (first > 0 && pieces[first - 1].lines < StorePieces.LINES) head += pieces[--first].lines;
    let last = pieces.length;  // pieces[last...] stay
    while (last > first && pieces[last - 1].lines <= tail) tail -= pieces[--last].lines;
    // The lines of the pieces rewritten that stay, before and after the middle.
    const rewritten = pieces.slice(first, last).map((piece) => piece.text).join("");
    const before = rewritten.slice(0, StorePieces.lineEnd(rewritten, head));
    const after = rewritten.slice(rewritten.length - StorePieces.lastLinesLength(rewritten, tail));
    const fresh = StorePieces.split([before, ...middle, after]).map((part) => ({ key: this.newKey(), text: part }));
    for (const piece of fresh) entries.put(piece.text, piece.key);
    for (const piece of pieces.slice(first, last)) entries.delete(piece.key);
    const now = [...pieces.slice(0, first), ...fresh, ...pieces.slice(last)];
    const list = JSON.stringify(now.map((piece) => piece.key));
    entries.put(list, this.listKey);
    return { list, pieces: now };
  }

  // The pieces of the store as it is now, once written or read.
  remember(pieces) { this.known = new Map(pieces.map((piece) => [piece.key, piece.text])); }
  forget() { this.known.clear(); }

  newKey() {
    const [high, low] = crypto.getRandomValues(new Uint32Array(2));
    return `${this.pieceKey}${high.toString(16).padStart(8, "0")}${low.toString(16).padStart(8, "0")}`;
  }

  // Where the first `n` lines of `text` end.
  static lineEnd(text, n) {
    let end = 0;
    for (; n > 0; --n) end = text.indexOf("\n", end) + 1;
    return end;
  }

  // The length of the last `n` lines of `text` (which ends a line).
  static lastLinesLength(text, n) {
    let start = text.length;
    for (; n > 0; --n) start = text.lastIndexOf("\n", start - 2) + 1;
    return text.length - start;
  }

  static lines(text) {
    let count = 0;
    for (let at = text.indexOf("\n"); at >= 0; at = text.indexOf("\n", at + 1)) ++count;
    return count;
  }

  // The texts one after the other (each of whole lines) in parts of at
  // most LINES lines each. A part is cut from one text where it can be:
  // it keeps that text's form (a byte a character where the text has it).
  static split(texts) {
    const parts = [];
    let part = "", lines = 0;
    for (const text of texts) {
      for (let start = 0; start < text.length;) {
        let end = start;
        for (; lines < StorePieces.LINES && end < text.length; ++lines) {
          const line = text.indexOf("\n", end);
          end = line < 0 ? text.length : line + 1;
        }
        part += text.slice(start, end);
        start = end;
        if (lines === StorePieces.LINES) {
          parts.push(part);
          [part, lines] = ["", 0];
        }
      }
    }
    if (part) parts.push(part);
    return parts;
  }
}
