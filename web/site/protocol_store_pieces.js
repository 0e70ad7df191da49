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

  // Writes `text` over `pieces` (as read) in `entries`: the pieces before
  // and after the lines that differ stay. Returns the list and the pieces
  // as they are once the transaction is complete.
  write(entries, text, pieces) {
    let start = 0, first = 0;
    while (first < pieces.length && text.startsWith(pieces[first].text, start)) start += pieces[first++].text.length;
    let end = text.length, last = pieces.length;  // pieces[last...] stay
    while (last > first) {
      const piece = pieces[last - 1].text, from = end - piece.length;
      if (from < start || !text.endsWith(piece, end) || (from > 0 && text[from - 1] !== "\n")) break;
      end = from;
      --last;
    }
    // A piece not full before the changed lines takes them: readings fill the last piece.
    if (first > 0 && StorePieces.lines(pieces[first - 1].text) < StorePieces.LINES) start -= pieces[--first].text.length;
    const fresh = StorePieces.split(text.slice(start, end)).map((part) => ({ key: this.newKey(), text: part }));
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

  static lines(text) {
    let count = 0;
    for (let at = text.indexOf("\n"); at >= 0; at = text.indexOf("\n", at + 1)) ++count;
    return count;
  }

  // `text` in parts of at most LINES lines each.
  static split(text) {
    const parts = [];
    for (let start = 0; start < text.length;) {
      let end = start;
      for (let n = 0; n < StorePieces.LINES && end < text.length; ++n) {
        const line = text.indexOf("\n", end);
        end = line < 0 ? text.length : line + 1;
      }
      parts.push(text.slice(start, end));
      start = end;
    }
    return parts;
  }
}
